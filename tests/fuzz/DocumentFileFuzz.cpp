// Fuzz target of the document reader: any bytes must load or be refused with a
// message, never crash, hang or leak. Built with libFuzzer (KIVO_BUILD_FUZZ) and,
// without it, replayed over the corpus by ctest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/DocumentFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
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
  return 0;
}
