// Fuzz target of the document reader and of every report built from what it read:
// any bytes must load or be refused with a message, never crash, hang, leak,
// overflow or allocate without bound. Built with libFuzzer (KIVO_BUILD_FUZZ) and,
// without it, replayed over the corpus by ctest.
//
// Each input goes in twice: as it is (the header's checks), and as a body behind a
// valid header of the format version its own header names (any version byte is
// taken to one the program reads), so that every mutation past the checksum reaches
// the record decoders of that version's reader. What loads must save and load again
// to the same bytes; then the reports a user can open are built from it: the trial
// balance of the company and of every division, every ledger and sub-ledger, the
// sub-account lists, the statements of both forms with the appropriation of profit
// (for the term's result, and for a result of one unit, so that the items are added
// up even in books without a result), the asset register with each asset's figures,
// and the carry-forward with its defaults, the next term's document and its assets
// rolled forward.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "assets/GenkasyoukyakuShisanListPrintLines.h"
#include "assets/KurikoshiDocument.h"
#include "assets/KurikoshiZandaka.h"
#include "assets/ShisanSyoukyaku.h"
#include "assets/SyoukyakuKikan.h"
#include "document/DocumentFile.h"
#include "journal/Kanjyoumotocyou.h"
#include "statements/Houkokusyo.h"
#include "statements/KaisyahouHoukokusyo.h"
#include "statements/RiekiSyobunan.h"
#include "trial/HojyoZandaka.h"
#include "trial/ZandakaShisanAssembly.h"

namespace {

using namespace kivo;

void buildReports(MyDocument& doc)
{
  const auto months = static_cast<int32_t>(doc.kaisya().monthArray().size());
  ZandakaShisanAssembly trialBalance(doc);
  trialBalance.setZandakaShisanArrayForJigyoubuCode(Jigyoubu::kAllJigyoubuCode, 0, months, false);
  for (const JigyoubuPtr& j : doc.jigyoubuArray())
    if (j->isActive()) trialBalance.setZandakaShisanArrayForJigyoubuCode(j->code(), 0, months, false);

  std::vector<Kanjyoumotocyou::KamokuCodes> ledgers;
  std::vector<HojyoZandaka::KamokuCodes> lists;
  for (const KamokuPtr& k : doc.codeSortedKamokuArray()) {
    ledgers.push_back({k->code(), -1});
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray()) ledgers.push_back({k->code(), h->code()});
    if (!k->hojyoKamokuArray().empty()) lists.push_back({Jigyoubu::kAllJigyoubuCode, k->code()});
  }
  std::vector<Motocyou> rows;
  Kanjyoumotocyou::setKanjyoumotocyouArray(doc, rows, ledgers, 0, months, {});
  HojyoZandaka::hojyoZandakaArray(doc, lists, 0, months, {});

  const Kaisya& kaisya = doc.kaisya();
  const KaisyahouHoukokusyoPeriod period = KaisyahouHoukokusyoPeriod::ofKaisya(kaisya);
  Houkokusyo older;
  const int64_t result = older.setHoukokusyoShisanArrayForJigyoubuCode(doc, Jigyoubu::kAllJigyoubuCode, period)
                             .toukiMisyobunSonekiOfSyuuryouZandaka;
  for (const int64_t u : {result, int64_t{1}}) {
    const RiekiSyobunan appropriation(u, kaisya.riekisyobunanKamokuArray(), kaisya.maxOutputAmountValue());
    appropriation.check();
    appropriation.rows();
  }
  KaisyahouHoukokusyo kaisyahou;
  kaisyahou.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(doc, Jigyoubu::kAllJigyoubuCode, {period});

  for (int32_t rounding : {SyoukyakuKikan::RoundDown, SyoukyakuKikan::RoundHalfUp, SyoukyakuKikan::RoundUp}) {
    const SyoukyakuKikan kikan(doc.kaisya(), rounding);
    GenkasyoukyakuShisanListPrintLines::linesOfDocument(doc, kikan, 20);
    // The register's detail of each asset.
    for (const GenkasyoukyakuShisanPtr& a : doc.genkasyoukyakuShisanArray()) {
      int32_t kaitei = -1;
      ShisanSyoukyaku::sansyutuSyoukyakuhiForKaisya(*a, kikan, &kaitei);
      ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(*a, kikan);
      ShisanSyoukyaku::hosyouGaku(*a, kikan);
      ShisanSyoukyaku::zanzonKagaku(*a, kikan);
      ShisanSyoukyaku::zanzonGendoGaku(*a, kikan);
      ShisanSyoukyaku::keihisannyuugaku(*a, kikan);
    }
  }

  const KurikoshiZandaka zandaka = KurikoshiZandaka::compute(doc);
  TermSettings term = KurikoshiDocument::defaultTermSettings(doc.kaisya());
  if (!term.isHoujin && term.startDate) term.termNoText = std::to_string(term.startDate->year());
  if (!zandaka.isRefused() && !term.check().isRefused())
    KurikoshiDocument::make(doc, zandaka, term, false, SyoukyakuKikan::RoundHalfUp);
}

DocumentFile::Status readOnce(std::string_view bytes)
{
  DocumentFile::Result result;
  auto doc = DocumentFile::documentFromData(bytes, &result);
  if ((doc != nullptr) != result.ok()) std::abort();
  if (!doc && result.message.empty()) std::abort();
  if (!doc) return result.status;
  // What loaded must save and load again to the same bytes.
  const std::string again = DocumentFile::dataOfDocument(*doc);
  DocumentFile::Result second;
  auto reread = DocumentFile::documentFromData(again, &second);
  if (!reread || DocumentFile::dataOfDocument(*reread) != again) std::abort();
  buildReports(*doc);
  return result.status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const DocumentFile::Status asItIs = readOnce(bytes);
  const bool hasHeader = bytes.size() >= DocumentFile::kHeaderSize && bytes.substr(0, 8) == "KIVOSAVN";
  const std::string_view body = hasHeader ? bytes.substr(DocumentFile::kHeaderSize) : bytes;
  const uint32_t named = hasHeader ? static_cast<uint8_t>(bytes[8]) : DocumentFile::kFormatVersion;
  const uint32_t version =
      named >= 1 && named <= DocumentFile::kFormatVersion ? named : 1 + named % DocumentFile::kFormatVersion;
  std::string file = "KIVOSAVN";
  auto put = [&](uint64_t v, int n) {
    for (int i = 0; i < n; ++i) file.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put(version, 4);
  put(body.size(), 8);
  put(DocumentFile::checksumOf(std::string_view(file).substr(8, 12), body, version), 4);
  file.append(body);
  const DocumentFile::Status status = file != bytes ? readOnce(file) : asItIs;
  // The check a large file's body passes before it is held refuses what the reader
  // refuses and nothing else, read through windows of a few bytes so that values fall
  // across them.
  const auto readAt = [&](uint64_t at, char* out, size_t n) {
    if (at > body.size() || n > body.size() - at) return false;
    std::memcpy(out, body.data() + at, n);
    return true;
  };
  if (DocumentFile::checkBody(version, body.size(), readAt, 5).status != status) std::abort();
  return 0;
}
