// Documents written by earlier builds, committed in tests/data/documents/v<format>/, read
// back with the figures they were written with. Each format version keeps its files:
// a change of the reader that loses an older file fails here even when the writer
// changed along with it. Every version's files hold the same books, so each, saved
// again, gives the current version's bytes.
//
// Four books, one of each kind (a corporation on the company-law chart, a manufacturer
// on the older chart with the era calendar, a sole proprietor keeping two decimals, a
// household book), each with divisions where the kind has them, two sub-accounts of
// cash, opening balances, a year of vouchers partly entered in the cash books,
// regular-type vouchers, a closing adjustment (with its change reason where the chart
// has equity accounts), and bookmarks.
//
// makeBooks below enters them as a user does, so the books are ones the program itself
// writes (a test below holds it to the committed bytes). The version 1 files were
// written by it on the build of that version (676baf8); each later version's are the
// previous version's saved again by DISABLED_WriteGoldenFiles on that version's build
// (run it with --gtest_also_run_disabled_tests). Books that must change are made again
// the same way from version 1 up; DISABLED_MakeBooks writes them in the current version.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>
#include <vector>

#include "document/DocumentFile.h"
#include "entry/FurikaedenpyouBookmarks.h"
#include "entry/FurikaedenpyouRegistrar.h"
#include "entry/SuitoucyouRegistrar.h"
#include "setup/JigyoubuListEditor.h"
#include "setup/KamokuListEditor.h"
#include "setup/NewDocumentSettings.h"
#include "setup/TekiyouListEditor.h"
#include "statements/HendouReasonEditor.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(KIVO_TEST_DATA_DIR) / "documents";

std::string readAll(const fs::path& p)
{
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
// last reason ("-" without one).
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
      << doc.furikaedenpyouBookmarkArray().front()->name() << ' '
      << (doc.hendouReasonArray().empty() ? "-" : doc.hendouReasonArray().back()->reasonString());
  return out.str();
}

// --- the books, entered through the program's own settings, list editors, voucher
// window, cash books and change-reason editor, each check passing as the window asks

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

constexpr int32_t kCash = 100, kSales = 300, kCapital = 270, kSafe = 1, kTill = 2;

FieldValue codeOrNone(int32_t code) { return code < 0 ? FieldValue() : FieldValue::code(code); }

// One side of a voucher row: account, sub-account, division (-1 none).
struct Side {
  int32_t kamoku, hojyo, jigyoubu;
};

// A voucher typed in the voucher window and registered; answers its number.
int32_t enterVoucher(MyDocument& doc, Date date, const std::vector<std::tuple<Side, Side, int64_t, std::string>>& rows)
{
  using Row = FurikaedenpyouRow;
  Furikaedenpyou v(doc);
  v.setUpEditableMattrixArray();
  v.displayShiwakeOfDenpyouNo(doc.kaisya().minAvailableDenpyouNo());
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const auto& [kari, kashi, amount, tekiyou] = rows[static_cast<size_t>(i)];
    if (i >= v.numberOfDenpyouRows()) v.insertDenpyouRow(i);
    v.setCell(i, Row::DateMatrix, FieldValue::date(date));
    for (const auto& [side, codes] : {std::pair(Row::kKarikata, kari), std::pair(Row::kKashikata, kashi)}) {
      v.setCell(i, side.kamoku, codeOrNone(codes.kamoku));
      v.setCell(i, side.hojyoKamoku, codeOrNone(codes.hojyo));
      v.setCell(i, side.jigyoubu, codeOrNone(codes.jigyoubu));
      v.setCell(i, side.kingaku, FieldValue::amount(amount));
    }
    v.setCell(i, Row::TekiyouMatrix, FieldValue::text(tekiyou));
  }
  v.setDoesNeedToSetDenpyouToShiwakeArray(true);
  const FurikaedenpyouCheckResult check = v.isDenpyouAbleToSetShiwakeArray();
  EXPECT_TRUE(check.ok) << check.message;
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
  return v.displayingDenpyouNo();
}

// A receipt (in) or payment (out) typed in the cash book of the sub-account and
// registered, in the division on both sides.
void enterCashRow(MyDocument& doc, int32_t hojyo, Date date, int32_t aite, int32_t jigyoubu, int64_t in, int64_t out,
                  const std::string& tekiyou)
{
  using Row = SuitoucyouRow;
  Suitoucyou book(doc, kCash, hojyo);
  book.setUpEditableMattrixArray();
  book.removeUnregisteredDenpyouNoFromShiwakeArray();
  if (book.displayShiwake()) SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, {});
  const int r = book.numberOfSuitoucyouRows() - 1;
  book.setCell(r, Row::DateMatrix, FieldValue::date(date));
  book.setCell(r, Row::AiteKamokuMatrix, FieldValue::code(aite));
  book.setCell(r, Row::TekiyouMatrix, FieldValue::text(tekiyou));
  book.setCell(r, Row::AiteJigyoubuMatrix, codeOrNone(jigyoubu));
  book.setCell(r, Row::JigyoubuMatrix, codeOrNone(jigyoubu));
  book.setCell(r, in > 0 ? Row::InKingakuMatrix : Row::OutKingakuMatrix, FieldValue::amount(in > 0 ? in : out));
  const SuitoucyouCheckResult check = book.doAllSuitoucyouCellsHaveValidObjectValuesAtRow(r, 0);
  EXPECT_TRUE(check.ok) << check.message;
  EXPECT_EQ(SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, {}),
            SuitoucyouRegistrar::Result::Registered);
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
  EXPECT_FALSE(settings.check().isRefused());
  settings.applyToDocument(*doc);

  // Divisions: two for a corporation, one for a sole proprietor, none in a household.
  const int divisions = kind.isKakeibo ? 0 : kind.isHoujin ? 2 : 1;
  JigyoubuListEditor jigyoubu(*doc);
  for (int j = 1; j <= divisions; ++j) {
    jigyoubu.setName(j, j == 1 ? "本店" : "大阪支店");
    jigyoubu.setKana(j, j == 1 ? "HONTEN" : "OOSAKA");
    jigyoubu.setIsActive(j, true);
  }
  EXPECT_FALSE(jigyoubu.validate().isRefused());
  jigyoubu.writeBack(*doc);

  // Cash in a safe (sub-account 1) and a till (2), 400,000 and 800,000 yen for the
  // company, split between two divisions; capital the same. Amounts are in yen
  // whatever the decimal places kept.
  const int64_t yen = kind.precision == 2 ? 100 : 1;
  KamokuListEditor accounts(*doc);
  const int cash = accounts.indexOfKamokuCode(kCash);
  const int capital = accounts.indexOfKamokuCode(kCapital);
  for (const char* name : {"金庫", "レジ"}) {
    const int row = accounts.addHojyoKamoku(cash);
    accounts.setHojyoName(cash, row, name);
    accounts.setHojyoKana(cash, row, row == 0 ? "KINKO" : "REJI");
  }
  using Opening = std::tuple<int32_t, int64_t, int64_t>;  // division, safe, till
  const std::vector<Opening> openings =
      divisions == 2 ? std::vector<Opening>{{1, 300000, 500000}, {2, 100000, 300000}}
                     : std::vector<Opening>{{divisions ? 1 : KamokuListEditor::kAllJigyoubu, 400000, 800000}};
  for (const auto& [j, safe, till] : openings) {
    accounts.setHojyoStartBalance(cash, 0, j, safe * yen);
    accounts.setHojyoStartBalance(cash, 1, j, till * yen);
    accounts.setStartBalance(cash, j, (safe + till) * yen);
    accounts.setStartBalance(capital, j, (safe + till) * yen);
  }
  EXPECT_FALSE(accounts.validate().isRefused()) << accounts.validate().message;
  accounts.writeBack(*doc);
  doc->setSortedKamokuArray();

  TekiyouListEditor tekiyou(*doc);
  const int group = tekiyou.addGroup(doc->kamokuOfCode(kCash)->name());
  tekiyou.setKana(group, tekiyou.addTekiyou(group, "売上計上"), "URIAGE");
  tekiyou.setKana(group, tekiyou.addTekiyou(group, "消耗品の購入"), "SHOUMOU");
  EXPECT_FALSE(tekiyou.validate().isRefused());
  tekiyou.writeBack(*doc);

  // Every nine days a sale into the till and an expense paid from the safe, in the
  // divisions by turns: on two days of three one voucher of two rows, on the third
  // two rows of the cash books.
  int32_t first = 0;
  int day = 1;
  for (Date d = kind.start; d <= kind.end; d = d.addingDays(9), ++day) {
    const int64_t sale = (10000 + day * 137) * yen + day % 7;
    const int32_t j = divisions > 0 ? 1 + day % divisions : -1;
    const std::string saleText = day % 2 ? "売上計上" : "現金売上　日計";
    if (day % 3 == 0) {
      enterCashRow(*doc, kTill, d, kSales, j, sale, 0, saleText);
      enterCashRow(*doc, kSafe, d, kind.expenseCode, j, 0, sale / 3, "消耗品の購入");
    } else {
      const int32_t n = enterVoucher(*doc, d,
                                     {{{kCash, kTill, j}, {kSales, -1, j}, sale, saleText},
                                      {{kind.expenseCode, -1, j}, {kCash, kSafe, j}, sale / 3, "消耗品の購入"}});
      if (!first) first = n;
    }
  }
  // Two regular-type vouchers, and a closing adjustment taking equity out in cash.
  const int32_t j1 = divisions > 0 ? 1 : -1;
  enterVoucher(*doc, Date::regularTypeDenpyouDate(),
               {{{kind.expenseCode, -1, j1}, {kCash, kSafe, j1}, 5000 * yen, "家賃"}});
  enterVoucher(*doc, Date::regularTypeDenpyouDate(), {{{kCash, kTill, j1}, {kSales, -1, j1}, 12000 * yen, "定期売上"}});
  const int32_t equity = doc->kamokuOfCode(277) ? 277 : kCapital;
  const int32_t last = enterVoucher(*doc, Date::kessanSeiridukiDate(),
                                    {{{equity, -1, j1}, {kCash, kSafe, j1}, 50000 * yen, "期末の振替"}});
  if (doc->kamokuOfCode(equity)->isKabunushiShihonKamoku()) {
    doc->updateHendouReasonArray();
    HendouReasonEditor reasons(*doc);
    const HendouReasonPtr dividend = reasons.addReason();
    reasons.rename(dividend, "剰余金の配当");
    reasons.moveShiwake(doc->journal().entriesOfDenpyouNo(last).front(), dividend);
  }
  FurikaedenpyouBookmarks::storeBookmark(doc->furikaedenpyouBookmarkArray(), first, "月初の売上", true);
  FurikaedenpyouBookmarks::storeBookmark(doc->furikaedenpyouBookmarkArray(), last, "期末の振替", false);
  return doc;
}

// --- the files and what they hold; every book is kept in each format version -------

const uint32_t kVersions[] = {1, 2, 3};
const std::pair<const char*, const char*> kGoldenFiles[] = {
    {"kaisyahou-corporation",
     "株式会社みどり商事 209 85 2 2 4 771097 1509069 168986 540083 -50000 月初の売上 剰余金の配当"},
    {"older-chart-manufacturer", "有限会社あおば製作所 205 85 2 2 0 771097 1509069 168986 540083 -50000 月初の売上 -"},
    {"sole-proprietor", "山田 太郎 130 85 1 2 0 77094421 150897231 16901405 53995826 115000000 月初の売上 -"},
    {"household-book", "鈴木家 51 85 0 2 0 771097 1509069 168986 540083 1150000 月初の売上 -"},
};

fs::path pathOf(uint32_t version, const char* file)
{
  return kGoldenDir / ("v" + std::to_string(version)) / (std::string(file) + ".kivo");
}

TEST(GoldenFileTest, EveryFileReadsBackWithItsFiguresAndDamagedCopiesAreRefused)
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

  // Damaged copies are refused.
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

// The committed books are the generator's, entered as a user enters them: books the
// program itself writes, whose tests and trials show the program and not the data.
TEST(GoldenFileTest, EveryFileHoldsTheBooksTheProgramWritesWhenTheyAreEntered)
{
  for (const BookKind& kind : kKinds)
    EXPECT_TRUE(DocumentFile::dataOfDocument(*makeBooks(kind)) ==
                readAll(pathOf(DocumentFile::kFormatVersion, kind.file)))
        << kind.file;
}

// Writes the files of the current format version from those of the latest one before it.
TEST(GoldenFileTest, DISABLED_WriteGoldenFiles)
{
  // The latest version before the current one, whether or not kVersions lists it yet.
  const uint32_t previous = *std::find_if(std::rbegin(kVersions), std::rend(kVersions),
                                          [](uint32_t v) { return v < DocumentFile::kFormatVersion; });
  const fs::path dir = kGoldenDir / ("v" + std::to_string(DocumentFile::kFormatVersion));
  fs::create_directories(dir);
  for (const auto& golden : kGoldenFiles) {
    DocumentFile::Result result;
    auto doc = DocumentFile::readFromFile(pathOf(previous, golden.first).string(), &result);
    ASSERT_TRUE(doc) << result.detail;
    ASSERT_TRUE(DocumentFile::writeToFile(*doc, pathOf(DocumentFile::kFormatVersion, golden.first).string()).ok());
  }
}

// Writes the generator's books in the current format version and prints their figures.
TEST(GoldenFileTest, DISABLED_MakeBooks)
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
