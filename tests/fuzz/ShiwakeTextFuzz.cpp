// Fuzz target of the journal text reader: any bytes must import whole or be
// refused with a message that leaves the document as it was, never crash, hang or
// leak. Built with libFuzzer (KIVO_BUILD_FUZZ) and, without it, replayed over its
// corpus by ctest. The fields go in as UTF-8, so that mutations reach the names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "journal/ShiwakeTextReader.h"
#include "support/TestBooks.h"

namespace {

bool decodeUtf8(std::string_view bytes, std::string& out)
{
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > bytes.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  out.append(bytes);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  // The books with sub-accounts and divisions, made once and again after an import
  // changed them.
  static std::unique_ptr<kivo::MyDocument> doc;
  if (!doc) {
    doc = kivo::test::makeBooks({.hojyoKamoku = true, .jigyoubu = true});
    doc->kaisya().setMinAvailableDenpyouNo(99990);
  }
  const size_t before = doc->journal().size();
  const int32_t counter = doc->kaisya().minAvailableDenpyouNo();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const kivo::ShiwakeTextReader::Result r = kivo::ShiwakeTextReader::importShiwake(*doc, bytes, decodeUtf8);
  if (!r.ok) {
    if (r.message.empty() || doc->journal().size() != before || doc->kaisya().minAvailableDenpyouNo() != counter)
      std::abort();
    return 0;
  }
  // What went in balances, and every voucher took a number below the limit.
  int64_t balance = 0;
  for (const kivo::ShiwakePtr& s : doc->journal()) {
    balance += s->karikataKingaku() - s->kashikataKingaku();
    if (s->denpyouNo() > kivo::Kaisya::kMaxDenpyouNo) std::abort();
  }
  if (balance != 0 || doc->journal().size() != before + r.entryCount) std::abort();
  if (r.entryCount > 0) doc.reset();
  return 0;
}
