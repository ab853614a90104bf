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

ShiwakePtr line(Date date, int32_t no, int32_t kari, int32_t kashi, int64_t amount, const std::string& tekiyou)
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
  return s;
}

std::unique_ptr<MyDocument> makeBooks(const BookKind& kind)
{
  auto doc = std::make_unique<MyDocument>();
  NewDocumentSettings settings;
  settings.term.name = kind.name;
  settings.term.isHoujin = kind.isHoujin;
  settings.term.isKakeibo = kind.isKakeibo;
  settings.term.termNoText = kind.isHoujin ? "7" : "2024";
  settings.term.startDate = kind.start;
  settings.term.endDate = kind.end;
  settings.isSeizou = kind.isSeizou;
  settings.doUseWareki = kind.doUseWareki;
  settings.decimalPrecision = kind.precision;
  settings.useKaisyahouChart = kind.useKaisyahouChart;
  settings.applyToDocument(*doc);

  const int divisions = kind.isKakeibo ? 0 : kind.isHoujin ? 2 : 1;
  const char* divisionNames[] = {"本店", "大阪支店"};
  for (int j = 0; j < divisions; ++j) {
    auto d = std::make_shared<Jigyoubu>();
    d->setCode(j + 1);
    d->setName(divisionNames[j]);
    d->setKana(j == 0 ? "HONTEN" : "OOSAKA");
    d->setIsActive(true);
    doc->jigyoubuArray().push_back(d);
  }
  const KamokuPtr cash = doc->kamokuOfCode(100);
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
  cash->setStartBalance(1500000, 99);
  doc->kamokuOfCode(270)->setStartBalance(300000, 99);
  if (divisions > 0) {
    cash->setStartBalance(200000, 1);
    doc->kamokuOfCode(270)->setStartBalance(200000, 1);
  }
  if (divisions > 1) {
    cash->setStartBalance(100000, 2);
    doc->kamokuOfCode(270)->setStartBalance(100000, 2);
  }
  doc->setRootKamokuKubun(doc->rootKamokuKubun());

  auto group = std::make_shared<TekiyouGroup>("日常");
  group->tekiyouArray().push_back(std::make_shared<Tekiyou>("売上計上", "URIAGE"));
  group->tekiyouArray().push_back(std::make_shared<Tekiyou>("消耗品の購入", "SHOUMOU"));
  doc->tekiyouGroupArray().insert(doc->tekiyouGroupArray().begin(), group);

  // A voucher every nine days: a sale into cash (division by turns) and an expense
  // paid from the safe, two lines under one number; every third voucher is entered
  // in the cash book.
  int32_t no = 1;
  const int precisionScale = kind.precision == 2 ? 100 : 1;
  for (Date d = kind.start; d <= kind.end; d = d.addingDays(9), ++no) {
    const int64_t sale = (10000 + no * 137) * precisionScale + no % 7;
    auto a = line(d, no, 100, 300, sale, no % 2 ? "売上計上" : "現金売上　日計");
    auto b = line(d, no, kind.expenseCode, 100, sale / 3, "消耗品の購入");
    b->setKashikataHojyoKamokuCode(1);
    if (divisions > 0) {
      const int32_t j = 1 + no % divisions;
      a->setKarikataJigyoubuCode(j);
      a->setKashikataJigyoubuCode(j);
      b->setKarikataJigyoubuCode(j);
      b->setKashikataJigyoubuCode(j);
    }
    if (no % 3 == 0) {
      a->setKindOfShiwake(Shiwake::kSuitoucyou);
      b->setKindOfShiwake(Shiwake::kSuitoucyou);
    }
    doc->insertFurikaedenpyouShiwake(a);
    doc->insertFurikaedenpyouShiwake(b);
  }
  doc->kaisya().setMinAvailableDenpyouNo(no);
  // Two regular-type vouchers and a closing adjustment.
  doc->insertFurikaedenpyouShiwake(line(Date::regularTypeDenpyouDate(), -1, kind.expenseCode, 100, 5000, "家賃"));
  doc->insertFurikaedenpyouShiwake(line(Date::regularTypeDenpyouDate(), -2, 100, 300, 12000, "定期売上"));
  doc->kaisya().setMinAvailableRegularTypeDenpyouNo(3);
  // Equity movements with their reasons: a dividend from retained earnings where the
  // chart has them, an owner's contribution otherwise.
  const KamokuPtr equity = doc->kamokuOfCode(277) ? doc->kamokuOfCode(277) : doc->kamokuOfCode(270);
  auto dividend = line(Date::kessanSeiridukiDate(), no, equity->code(), 100, 50000, "期末の振替");
  dividend->setHendouReasonStr(kind.isHoujin ? "剰余金の配当" : "元入金の追加");
  doc->insertFurikaedenpyouShiwake(dividend);
  doc->updateHendouReasonArray();
  doc->hendouReasonArray().push_back(std::make_shared<HendouReason>(dividend->hendouReasonStr()));
  doc->setDoNeedUpdateHendouReasonArray(true);
  doc->setDidSortedShiwakeArrayUpdate(false);
  doc->updateHendouReasonArray();

  const char* marks[] = {"月初の売上", "期末の振替"};
  const int32_t markedNo[] = {1, no};
  for (int i = 0; i < 2; ++i) {
    auto bookmark = std::make_shared<Bookmark>();
    bookmark->setDenpyouNo(markedNo[i]);
    bookmark->setName(marks[i]);
    bookmark->setIsActiveWithLimitedUserPassword(i == 0);
    doc->furikaedenpyouBookmarkArray().push_back(bookmark);
  }
  doc->kaisya().setMinAvailableDenpyouNo(no + 1);
  return doc;
}

// --- the figures a bookkeeper checks ----------------------------------------------

// The closing balance of an account (sub-account 0: all of it) for the whole company:
// opening balance plus the year's amounts on its own side, less those on the other.
int64_t closingBalance(const MyDocument& doc, int32_t code, int32_t hojyo = 0)
{
  const KamokuPtr k = doc.kamokuOfCode(code);
  int64_t balance = k->startBalanceOfJigyoubuCode(99);
  if (hojyo > 0)
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray())
      if (h->code() == hojyo) balance = h->startBalanceOfJigyoubuCode(99);
  const int sign = k->isKarikataKamoku() ? 1 : -1;
  for (const ShiwakePtr& s : doc.shiwakeArray()) {
    if (s->denpyouNo() == 0) continue;
    if (s->karikataKamokuCode() == code && (hojyo == 0 || s->karikataHojyoKamokuCode() == hojyo))
      balance += sign * s->karikataKingaku();
    if (s->kashikataKamokuCode() == code && (hojyo == 0 || s->kashikataHojyoKamokuCode() == hojyo))
      balance -= sign * s->kashikataKingaku();
  }
  return balance;
}

struct Figures {
  std::string name;
  size_t accounts, entries, divisions, bookmarks, reasons;
  int64_t debitTotal, cash, cashInSafe, sales, equity;
  std::string firstBookmark, lastReason;
};

Figures figuresOf(const MyDocument& doc)
{
  Figures f{};
  f.name = doc.kaisya().name();
  f.accounts = doc.codeSortedKamokuArray().size();
  f.entries = doc.shiwakeArray().size();
  f.divisions = doc.jigyoubuArray().size();
  f.bookmarks = doc.furikaedenpyouBookmarkArray().size();
  f.reasons = doc.hendouReasonArray().size();
  for (const ShiwakePtr& s : doc.shiwakeArray()) {
    EXPECT_EQ(s->karikataKingaku(), s->kashikataKingaku());
    f.debitTotal += s->karikataKingaku();
  }
  f.cash = closingBalance(doc, 100);
  f.cashInSafe = closingBalance(doc, 100, 1);
  f.sales = closingBalance(doc, 300);
  f.equity = closingBalance(doc, doc.kamokuOfCode(277) ? 277 : 270);
  f.firstBookmark = doc.furikaedenpyouBookmarkArray().front()->name();
  f.lastReason = doc.hendouReasonArray().back()->reasonString();
  return f;
}

// --- the files and what they hold --------------------------------------------------

struct GoldenFile {
  uint32_t formatVersion;
  const char* file;
  Figures expected;
};

// clang-format off
const GoldenFile kGoldenFiles[] = {
    {1, "kaisyahou-corporation", {"株式会社みどり商事", 209, 85, 2, 2, 4, 771097, 1809069, 223986, 540083, -50000, "月初の売上", "剰余金の配当"}},
    {1, "older-chart-manufacturer", {"有限会社あおば製作所", 205, 85, 2, 2, 4, 771097, 1809069, 223986, 540083, -50000, "月初の売上", "剰余金の配当"}},
    {1, "sole-proprietor", {"山田 太郎", 130, 85, 1, 2, 4, 70461421, 36654231, -17198595, 52807826, 250000, "月初の売上", "元入金の追加"}},
    {1, "household-book", {"鈴木家", 51, 85, 0, 2, 4, 771097, 1809069, 223986, 540083, 250000, "月初の売上", "元入金の追加"}},
    {2, "kaisyahou-corporation", {"株式会社みどり商事", 209, 85, 2, 2, 4, 771097, 1809069, 223986, 540083, -50000, "月初の売上", "剰余金の配当"}},
    {2, "older-chart-manufacturer", {"有限会社あおば製作所", 205, 85, 2, 2, 4, 771097, 1809069, 223986, 540083, -50000, "月初の売上", "剰余金の配当"}},
    {2, "sole-proprietor", {"山田 太郎", 130, 85, 1, 2, 4, 70461421, 36654231, -17198595, 52807826, 250000, "月初の売上", "元入金の追加"}},
    {2, "household-book", {"鈴木家", 51, 85, 0, 2, 4, 771097, 1809069, 223986, 540083, 250000, "月初の売上", "元入金の追加"}},
};
// clang-format on

fs::path pathOf(uint32_t version, const char* file)
{
  return kGoldenDir / ("v" + std::to_string(version)) / (std::string(file) + ".kivo");
}

TEST(GoldenFileTest, EveryFileReadsBackWithItsFigures)
{
  for (const GoldenFile& g : kGoldenFiles) {
    SCOPED_TRACE(pathOf(g.formatVersion, g.file).string());
    const std::string bytes = readAll(pathOf(g.formatVersion, g.file));
    ASSERT_FALSE(bytes.empty());
    DocumentFile::Result result;
    auto doc = DocumentFile::documentFromData(bytes, &result);
    ASSERT_TRUE(doc) << result.detail;
    const Figures f = figuresOf(*doc);
    const Figures& e = g.expected;
    EXPECT_EQ(f.name, e.name);
    EXPECT_EQ(f.accounts, e.accounts);
    EXPECT_EQ(f.entries, e.entries);
    EXPECT_EQ(f.divisions, e.divisions);
    EXPECT_EQ(f.bookmarks, e.bookmarks);
    EXPECT_EQ(f.reasons, e.reasons);
    EXPECT_EQ(f.debitTotal, e.debitTotal);
    EXPECT_EQ(f.cash, e.cash);
    EXPECT_EQ(f.cashInSafe, e.cashInSafe);
    EXPECT_EQ(f.sales, e.sales);
    EXPECT_EQ(f.equity, e.equity);
    EXPECT_EQ(f.firstBookmark, e.firstBookmark);
    EXPECT_EQ(f.lastReason, e.lastReason);

    // A file of the current version saves to the same bytes; an older one saves in
    // the current form, which reads back to the same figures.
    const std::string saved = DocumentFile::dataOfDocument(*doc);
    if (g.formatVersion == DocumentFile::kFormatVersion) { EXPECT_TRUE(saved == bytes) << "saved bytes differ"; }
    auto again = DocumentFile::documentFromData(saved, &result);
    ASSERT_TRUE(again) << result.detail;
    EXPECT_EQ(figuresOf(*again).debitTotal, e.debitTotal);
    EXPECT_EQ(DocumentFile::dataOfDocument(*again), saved);
  }
}

TEST(GoldenFileTest, DamagedCopiesAreRefused)
{
  for (const GoldenFile& g : kGoldenFiles) {
    SCOPED_TRACE(g.file);
    const std::string bytes = readAll(pathOf(g.formatVersion, g.file));
    std::vector<std::string> copies;
    for (size_t at : {size_t{9}, size_t{13}, size_t{21}, size_t{40}, bytes.size() / 2, bytes.size() - 1}) {
      std::string bad = bytes;
      bad[at] = static_cast<char>(bad[at] ^ 0x10);
      copies.push_back(std::move(bad));
    }
    copies.push_back(bytes.substr(0, bytes.size() - 1));
    copies.push_back(bytes.substr(0, bytes.size() / 3));
    for (const std::string& bad : copies) {
      DocumentFile::Result r;
      EXPECT_FALSE(DocumentFile::documentFromData(bad, &r));
      EXPECT_EQ(r.status, DocumentFile::Status::Damaged) << r.detail;
    }
  }
}

// Writes the files of the current format version and prints their figures for the
// table above.
TEST(GoldenFileTest, DISABLED_WriteGoldenFiles)
{
  const fs::path dir = kGoldenDir / ("v" + std::to_string(DocumentFile::kFormatVersion));
  fs::create_directories(dir);
  for (const BookKind& kind : kKinds) {
    auto doc = makeBooks(kind);
    const std::string path = (dir / (std::string(kind.file) + ".kivo")).string();
    ASSERT_TRUE(DocumentFile::writeToFile(*doc, path).ok());
    const Figures f = figuresOf(*doc);
    std::printf("{%u, \"%s\", {\"%s\", %zu, %zu, %zu, %zu, %zu, %lld, %lld, %lld, %lld, %lld, \"%s\", \"%s\"}},\n",
                DocumentFile::kFormatVersion, kind.file, f.name.c_str(), f.accounts, f.entries, f.divisions,
                f.bookmarks, f.reasons, static_cast<long long>(f.debitTotal), static_cast<long long>(f.cash),
                static_cast<long long>(f.cashInSafe), static_cast<long long>(f.sales), static_cast<long long>(f.equity),
                f.firstBookmark.c_str(), f.lastReason.c_str());
  }
}

}  // namespace
}  // namespace kivo
