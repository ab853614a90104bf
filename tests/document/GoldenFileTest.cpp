// Documents written by earlier builds, committed in tests/data/documents/v<format>/, read
// back with the figures they were written with. Each format version keeps its files:
// a change of the reader that loses an older file fails here even when the writer
// changed along with it.
//
// Four books, one of each kind (a corporation on the company-law chart, a manufacturer
// on the older chart with the era calendar, a sole proprietor keeping two decimals, a
// household book), each with divisions where the kind has them, two sub-accounts of
// cash, opening balances, a year of vouchers partly entered in the cash book,
// regular-type vouchers, a closing adjustment with its change reason, and bookmarks.
// A new format version gets its files from DISABLED_WriteGoldenFiles below (run it with
// --gtest_also_run_disabled_tests on the build of that version): the previous version's
// files saved again, which the test below proves keeps their figures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "document/DocumentFile.h"

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

// Writes the files of the current format version from those of the latest one before it.
TEST(GoldenFileTest, DISABLED_WriteGoldenFiles)
{
  const uint32_t previous = std::end(kVersions)[-1];
  const fs::path dir = kGoldenDir / ("v" + std::to_string(DocumentFile::kFormatVersion));
  fs::create_directories(dir);
  for (const auto& golden : kGoldenFiles) {
    DocumentFile::Result result;
    auto doc = DocumentFile::readFromFile(pathOf(previous, golden.first).string(), &result);
    ASSERT_TRUE(doc) << result.detail;
    ASSERT_TRUE(DocumentFile::writeToFile(*doc, pathOf(DocumentFile::kFormatVersion, golden.first).string()).ok());
  }
}

}  // namespace
}  // namespace kivo
