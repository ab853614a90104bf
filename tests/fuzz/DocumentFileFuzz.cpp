// Fuzz target of the document reader: any bytes must load or be refused with a
// message, never crash, hang or leak. Built with libFuzzer (KIVO_BUILD_FUZZ) and,
// without it, replayed over the corpus by ctest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/DocumentFile.h"

namespace {

void readOnce(std::string_view bytes)
{
  kivo::DocumentFile::Result result;
  auto doc = kivo::DocumentFile::documentFromData(bytes, &result);
  if ((doc != nullptr) != result.ok()) std::abort();
  if (!doc && result.message.empty()) std::abort();
  if (doc) {
    // What loaded must save and load again to the same bytes.
    const std::string again = kivo::DocumentFile::dataOfDocument(*doc);
    kivo::DocumentFile::Result second;
    auto reread = kivo::DocumentFile::documentFromData(again, &second);
    if (!reread || kivo::DocumentFile::dataOfDocument(*reread) != again) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  readOnce(bytes);
  // The checksum stops almost every mutation at the door; to reach the record
  // decoders, the same bytes also go in as a body behind a valid header, of the file's
  // own version (the reader of each version) when it has one, else of the current one.
  const bool hasHeader = bytes.size() >= 24 && bytes.substr(0, 8) == "KIVOSAVN";
  const std::string_view body = hasHeader ? bytes.substr(24) : bytes;
  const uint32_t version = hasHeader && static_cast<uint8_t>(bytes[8]) == 1 ? 1 : kivo::DocumentFile::kFormatVersion;
  std::string file = "KIVOSAVN";
  auto put = [&](uint64_t v, int n) {
    for (int i = 0; i < n; ++i) file.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put(version, 4);
  put(body.size(), 8);
  put(kivo::DocumentFile::checksumOf(std::string_view(file).substr(8, 12), body, version), 4);
  file.append(body);
  readOnce(file);
  return 0;
}
