// Documents written by earlier builds, committed in tests/data/documents/v<format>/, read
// back with the figures they were written with. Each format version keeps its files:
// a change of the reader that loses an older file fails here even when the writer
// changed along with it.
//
// The files were made once by DISABLED_WriteGoldenFiles below (run it with
// --gtest_also_run_disabled_tests on the build of that format version).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "document/DocumentFile.h"
#include "setup/NewDocumentSettings.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(KIVO_TEST_DATA_DIR) / "documents";

std::string readAll(const fs::path& p)
{
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// --- the generator of the books -----------------------------------------------------

struct BookKind {
  const char* file;
  const char* name;
  bool isHoujin, isKakeibo, useKaisyahouChart, isSeizou, doUseWareki;
  int precision;
  Date start, end;
  int32_t expenseCode;  // a debit-natured expense account of the chart
};

const BookKind kKinds[] = {
    {"kaisyahou-corporation", "株式会社みどり商事", true, false, true, false, false, 0, Date(2024, 4, 1),
     Date(2025, 3, 31), 336},
    {"older-chart-manufacturer", "有限会社あおば製作所", true, false, false, true, true, 0, Date(2023, 1, 1),
     Date(2023, 12, 31), 311},
    {"sole-proprietor", "山田 太郎", false, false, true, false, false, 2, Date(2024, 1, 1), Date(2024, 12, 31), 311},
    {"household-book", "鈴木家", false, true, true, false, true, 0, Date(2024, 1, 1), Date(2024, 12, 31), 400},
};

ShiwakePtr line(Date date, int32_t no, int32_t kari, int32_t kashi, int64_t amount, const std::string& tekiyou,
                int32_t division = -1)
{
  auto s = std::make_shared<Shiwake>();
  s->setDate(date);
  s->setDenpyouNo(no);
  s->setKarikataKamokuCode(kari);
  s->setKashikataKamokuCode(kashi);
  s->setKarikataKingaku(amount);
  s->setKashikataKingaku(amount);
  s->setAiteKarikataKamokuCode(kashi);
  s->setAiteKashikataKamokuCode(kari);
  s->setTekiyou(tekiyou);
  s->setKarikataJigyoubuCode(division);
  s->setKashikataJigyoubuCode(division);
  return s;
}

std::unique_ptr<MyDocument> makeBooks(const BookKind& kind)
{
  auto doc = std::make_unique<MyDocument>();
  NewDocumentSettings settings;
  settings.term = {kind.name, kind.isHoujin, kind.isKakeibo, kind.isHoujin ? "7" : "2024", kind.start, kind.end};
  settings.isSeizou = kind.isSeizou;
  settings.doUseWareki = kind.doUseWareki;
  settings.decimalPrecision = kind.precision;
  settings.useKaisyahouChart = kind.useKaisyahouChart;
  settings.applyToDocument(*doc);

  // Divisions, two sub-accounts of cash, opening balances for the company and each division.
  const int divisions = kind.isKakeibo ? 0 : kind.isHoujin ? 2 : 1;
  const KamokuPtr cash = doc->kamokuOfCode(100), capital = doc->kamokuOfCode(270);
  cash->setStartBalance(1500000, 99);
  capital->setStartBalance(300000, 99);
  for (int j = 1; j <= divisions; ++j) {
    auto d = std::make_shared<Jigyoubu>();
    d->setCode(j);
    d->setName(j == 1 ? "本店" : "大阪支店");
    d->setKana(j == 1 ? "HONTEN" : "OOSAKA");
    d->setIsActive(true);
    doc->jigyoubuArray().push_back(d);
    cash->setStartBalance(300000 - 100000 * j, j);
    capital->setStartBalance(300000 - 100000 * j, j);
  }
  for (int h = 1; h <= 2; ++h) {
    auto sub = std::make_shared<HojyoKamoku>();
    sub->setCode(h);
    sub->setName(h == 1 ? "金庫" : "レジ");
    sub->setKana(h == 1 ? "KINKO" : "REJI");
    sub->setIsActive(true);
    sub->setParentKamokuCode(100);
    sub->setStartBalance(h * 400000, 99);
    cash->hojyoKamokuArray().push_back(sub);
  }
  doc->setRootKamokuKubun(doc->rootKamokuKubun());
  auto group = std::make_shared<TekiyouGroup>("日常");
  group->tekiyouArray().push_back(std::make_shared<Tekiyou>("売上計上", "URIAGE"));
  group->tekiyouArray().push_back(std::make_shared<Tekiyou>("消耗品の購入", "SHOUMOU"));
  doc->tekiyouGroupArray().insert(doc->tekiyouGroupArray().begin(), group);

  // A voucher every nine days: a sale into cash and an expense paid from the safe, in
  // the divisions by turns; every third one entered in the cash book.
  int32_t no = 1;
  for (Date d = kind.start; d <= kind.end; d = d.addingDays(9), ++no) {
    const int64_t sale = (10000 + no * 137) * (kind.precision == 2 ? 100 : 1) + no % 7;
    const int32_t j = divisions > 0 ? 1 + no % divisions : -1;
    auto a = line(d, no, 100, 300, sale, no % 2 ? "売上計上" : "現金売上　日計", j);
    auto b = line(d, no, kind.expenseCode, 100, sale / 3, "消耗品の購入", j);
    b->setKashikataHojyoKamokuCode(1);
    for (const ShiwakePtr& s : {a, b})
      if (no % 3 == 0) s->setKindOfShiwake(ShiwakeKind::Suitoucyou);
    doc->journal().registerVoucher(no, d, {a, b});
  }
  // Two regular-type vouchers, and a closing adjustment moving equity with its reason.
  for (int32_t n : {-1, -2}) {
    doc->journal().registerVoucher(
        n, Date::regularTypeDenpyouDate(),
        {n == -1 ? line(Date::regularTypeDenpyouDate(), -1, kind.expenseCode, 100, 5000, "家賃")
                 : line(Date::regularTypeDenpyouDate(), -2, 100, 300, 12000, "定期売上")});
  }
  doc->kaisya().setMinAvailableRegularTypeDenpyouNo(3);
  const int32_t equity = doc->kamokuOfCode(277) ? 277 : 270;
  auto dividend = line(Date::kessanSeiridukiDate(), no, equity, 100, 50000, "期末の振替");
  dividend->setHendouReasonStr(kind.isHoujin ? "剰余金の配当" : "元入金の追加");
  doc->journal().registerVoucher(no, Date::kessanSeiridukiDate(), {dividend});
  doc->updateHendouReasonArray();
  doc->hendouReasonArray().push_back(std::make_shared<HendouReason>(dividend->hendouReasonStr()));
  doc->hendouReasonArrayDidChange();
  doc->updateHendouReasonArray();
  for (int i = 0; i < 2; ++i) {
    auto bookmark = std::make_shared<Bookmark>();
    bookmark->setDenpyouNo(i == 0 ? 1 : no);
    bookmark->setName(i == 0 ? "月初の売上" : "期末の振替");
    bookmark->setIsActiveWithLimitedUserPassword(i == 0);
    doc->furikaedenpyouBookmarkArray().push_back(bookmark);
  }
  doc->kaisya().setMinAvailableDenpyouNo(no + 1);
  return doc;
}

// The closing balance of an account (or of one of its sub-accounts) for the company:
// the opening balance plus the year's amounts on its own side, less the other side's.
int64_t closingBalance(const MyDocument& doc, int32_t code, int32_t hojyo = 0)
{
  const KamokuPtr k = doc.kamokuOfCode(code);
  int64_t balance =
      hojyo ? k->hojyoKamokuArray()[hojyo - 1]->startBalanceOfJigyoubuCode(99) : k->startBalanceOfJigyoubuCode(99);
  const int sign = k->isKarikataKamoku() ? 1 : -1;
  for (const ShiwakePtr& s : doc.journal().entries()) {
    if (s->denpyouNo() == 0) continue;
    if (s->karikataKamokuCode() == code && (!hojyo || s->karikataHojyoKamokuCode() == hojyo))
      balance += sign * s->karikataKingaku();
    if (s->kashikataKamokuCode() == code && (!hojyo || s->kashikataHojyoKamokuCode() == hojyo))
      balance -= sign * s->kashikataKingaku();
  }
  return balance;
}

// What a bookkeeper checks first, in one line: the name, the counts of accounts,
// entries, divisions, bookmarks and change reasons, the debit total, the closing
// balances of cash, of its safe, of sales and of equity, the first bookmark and the
// last reason.
std::string figuresOf(const MyDocument& doc)
{
  int64_t debits = 0;
  for (const ShiwakePtr& s : doc.journal().entries()) debits += s->karikataKingaku();
  std::ostringstream out;
  out << doc.kaisya().name() << ' ' << doc.codeSortedKamokuArray().size() << ' ' << doc.journal().entries().size()
      << ' ' << doc.jigyoubuArray().size() << ' ' << doc.furikaedenpyouBookmarkArray().size() << ' '
      << doc.hendouReasonArray().size() << ' ' << debits << ' ' << closingBalance(doc, 100) << ' '
      << closingBalance(doc, 100, 1) << ' ' << closingBalance(doc, 300) << ' '
      << closingBalance(doc, doc.kamokuOfCode(277) ? 277 : 270) << ' '
      << doc.furikaedenpyouBookmarkArray().front()->name() << ' ' << doc.hendouReasonArray().back()->reasonString();
  return out.str();
}

// --- the files and what they hold; every book is kept in each format version -------

const uint32_t kVersions[] = {1, 2, 3};
const std::pair<const char*, const char*> kGoldenFiles[] = {
    {"kaisyahou-corporation",
     "株式会社みどり商事 209 85 2 2 4 771097 1809069 223986 540083 -50000 月初の売上 剰余金の配当"},
    {"older-chart-manufacturer",
     "有限会社あおば製作所 205 85 2 2 4 771097 1809069 223986 540083 -50000 月初の売上 剰余金の配当"},
    {"sole-proprietor", "山田 太郎 130 85 1 2 4 70461421 36654231 -17198595 52807826 250000 月初の売上 元入金の追加"},
    {"household-book", "鈴木家 51 85 0 2 4 771097 1809069 223986 540083 250000 月初の売上 元入金の追加"},
};

fs::path pathOf(uint32_t version, const char* file)
{
  return kGoldenDir / ("v" + std::to_string(version)) / (std::string(file) + ".kivo");
}

TEST(GoldenFileTest, EveryFileReadsBackWithItsFigures)
{
  for (uint32_t version : kVersions) {
    for (const auto& [file, figures] : kGoldenFiles) {
      SCOPED_TRACE(pathOf(version, file).string());
      DocumentFile::Result result;
      auto doc = DocumentFile::readFromFile(pathOf(version, file).string(), &result);
      ASSERT_TRUE(doc) << result.detail;
      EXPECT_EQ(figuresOf(*doc), figures);
      // Saved again, every version's file gives the current version's bytes of the
      // same books (for a current file: its own bytes).
      EXPECT_TRUE(DocumentFile::dataOfDocument(*doc) == readAll(pathOf(DocumentFile::kFormatVersion, file)));
    }
  }
}

TEST(GoldenFileTest, DamagedCopiesAreRefused)
{
  for (uint32_t version : kVersions) {
    const std::string bytes = readAll(pathOf(version, kGoldenFiles[0].first));
    for (size_t at : {size_t{9}, size_t{13}, size_t{21}, size_t{40}, bytes.size() / 2, bytes.size() - 1}) {
      std::string bad = bytes;
      bad[at] = static_cast<char>(bad[at] ^ 0x10);
      for (const std::string& copy : {bad, bytes.substr(0, at)}) {
        DocumentFile::Result r;
        EXPECT_FALSE(DocumentFile::documentFromData(copy, &r));
        EXPECT_EQ(r.status, DocumentFile::Status::Damaged) << "version " << version << " byte " << at;
      }
    }
  }
}

// Writes the files of the current format version and prints their figures.
TEST(GoldenFileTest, DISABLED_WriteGoldenFiles)
{
  const fs::path dir = kGoldenDir / ("v" + std::to_string(DocumentFile::kFormatVersion));
  fs::create_directories(dir);
  for (const BookKind& kind : kKinds) {
    auto doc = makeBooks(kind);
    ASSERT_TRUE(DocumentFile::writeToFile(*doc, (dir / (std::string(kind.file) + ".kivo")).string()).ok());
    std::printf("{\"%s\", \"%s\"},\n", kind.file, figuresOf(*doc).c_str());
  }
}

}  // namespace
}  // namespace kivo
