#!/usr/bin/env bash
# Installs what the build and the checks need from Debian's packages (only what is
# missing) and configures and builds Kivosavan in ./build. Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

# clang, clang-format and libclang-rt-14-dev serve the checks of scripts/test.sh: the
# format check, the sanitizer build of the core tests and the fuzzer; valgrind its
# memory check of the window tests; xvfb and openbox the window tests on an X display,
# without a window manager and with one.
packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev libgtest-dev libbenchmark-dev
          qt6-base-dev qt6-base-dev-tools qt6-base-private-dev
          fonts-ipafont-gothic fonts-ipafont-mincho fonts-urw-base35 fonts-liberation
          poppler-utils xvfb xauth openbox qt6-translations-l10n valgrind libxcb1-dev libxcb-xtest0-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
cmake --build build -j "$(nproc)"
