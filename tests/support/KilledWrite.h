// What a safe write killed before its commit leaves beside the file: its temporary,
// made by a child process that ends at once (as a kill ends it, running no clean-up)
// and dated an hour back unless asked otherwise.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/SafeFileWriter.h"

namespace kivo::test {

// The temporary's path, empty when the child could not make it.
inline std::string temporaryOfKilledWrite(const std::string& path, std::string_view bytes,
                                          std::string_view signature = {}, bool dateBack = true)
{
  int fds[2];
  if (::pipe(fds) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    SafeFileWriter out(path, std::string(signature));
    if (out.open() && out.write(bytes)) (void)!::write(fds[1], out.temporaryPath().data(), out.temporaryPath().size());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string temporary(4096, '\0');  // one write of less than a pipe's buffer arrives whole
  temporary.resize(static_cast<size_t>(std::max<ssize_t>(0, ::read(fds[0], temporary.data(), temporary.size()))));
  ::close(fds[0]);
  ::waitpid(child, nullptr, 0);
  if (!temporary.empty() && dateBack)
    std::filesystem::last_write_time(temporary, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  return temporary;
}

}  // namespace kivo::test
