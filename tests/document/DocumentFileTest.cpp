#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <tuple>
#include <utility>

#include "document/DocumentFile.h"
#include "files/Crc32.h"
#include "model/ArchiveWriter.h"
#include "support/AccessControl.h"
#include "support/CraftedDocumentFile.h"
#include "support/KilledWrite.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using Status = DocumentFile::Status;

class DocumentFileTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    dir_ = fs::temp_directory_path() / ("kivo-docfile-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string readAll(const fs::path& p)
  {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static void writeFile(const fs::path& p, std::string_view bytes, uint64_t size = 0)
  {
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (size > bytes.size()) fs::resize_file(p, size);  // the rest a hole
  }
  static DocumentFile::Status statusOf(std::string_view bytes)
  {
    DocumentFile::Result r;
    auto doc = DocumentFile::documentFromData(bytes, &r);
    EXPECT_EQ(!doc, r.status != Status::Ok) << r.detail;
    EXPECT_FALSE(r.message.empty() && !doc);
    return r.status;
  }
  // The header of the document with the body size changed.
  std::string headerDeclaring(uint64_t bodySize) const
  {
    std::string head = data_.substr(0, 24);
    for (int i = 0; i < 8; ++i) head[12 + i] = static_cast<char>((bodySize >> (8 * i)) & 0xFF);
    return head;
  }
  size_t filesInDir() const
  {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
  const std::unique_ptr<MyDocument> doc_ = test::makeDocumentWithEveryRecord();
  const std::string data_ = DocumentFile::dataOfDocument(*doc_);
};

TEST_F(DocumentFileTest, EveryRecordKindRoundTripsAFailedSaveLeavesTheFileWholeAndDamageIsRefused)
{
  const std::string path = (dir_ / "books.kivo").string();
  ASSERT_TRUE(DocumentFile::writeToFile(*doc_, path).ok());

  DocumentFile::Result result;
  auto reopened = DocumentFile::readFromFile(path, &result);
  ASSERT_TRUE(reopened) << result.detail;
  EXPECT_EQ(DocumentFile::dataOfDocument(*reopened), readAll(path));

  // Spot-check what a bookkeeper would notice first.
  EXPECT_EQ(reopened->kaisya(), doc_->kaisya());
  ASSERT_EQ(reopened->journal().size(), doc_->journal().size());
  auto stored = [](const Shiwake& s) {
    ArchiveWriter w;
    s.encodeWithCoder(w);
    return w.data();
  };
  for (size_t i = 0; i < doc_->journal().size(); ++i)
    EXPECT_EQ(stored(*reopened->journal()[i]), stored(*doc_->journal()[i])) << "entry " << i;
  const KamokuPtr kamoku = reopened->codeSortedKamokuArray().front();
  EXPECT_EQ(std::tuple(kamoku->startBalanceOfJigyoubuCode(99), kamoku->startBalanceOfJigyoubuCode(2),
                       kamoku->hojyoKamokuArray().front()->startBalanceOfJigyoubuCode(99),
                       reopened->codeSortedKamokuArray()[5]->isActive(), reopened->jigyoubuArray().size(),
                       reopened->tekiyouGroupArray().size(), reopened->kaisya().noteOfKaisyahouHoukokusyo().size()),
            std::tuple(1500000, -20000, 12345, false, 3u, 2u, 16u));
  EXPECT_EQ(std::tuple(reopened->furikaedenpyouBookmarkArray().front()->name(),
                       reopened->hendouReasonArray()[1]->reasonString(),
                       reopened->subMenuItemArray().front()->representedObject()),
            std::tuple("月末の振替", "剰余金の配当", 2100));
  ASSERT_EQ(reopened->genkasyoukyakuShisanArray().size(), doc_->genkasyoukyakuShisanArray().size());
  for (size_t i = 0; i < doc_->genkasyoukyakuShisanArray().size(); ++i)
    EXPECT_EQ(*reopened->genkasyoukyakuShisanArray()[i], *doc_->genkasyoukyakuShisanArray()[i]) << "asset " << i;

  // A failed save, at any point, leaves the previous file whole.
  const std::string before = readAll(path);

  auto changed = test::makeDocumentWithEveryRecord();
  changed->kaisya().setName("変更後の会社");
  const int64_t size = static_cast<int64_t>(DocumentFile::dataOfDocument(*changed).size());
  std::vector<DocumentFile::WriteFault> faults;
  for (int64_t at = 0; at < size; at += std::max<int64_t>(1, size / 97)) faults.push_back({at, false, false});
  faults.insert(faults.end(), {{size - 1, false, false}, {-1, true, false}, {-1, false, true}});
  for (const DocumentFile::WriteFault& fault : faults) {
    const DocumentFile::Result r = DocumentFile::writeToFile(*changed, path, &fault);
    EXPECT_EQ(r.status, Status::WriteFailed) << "fault after " << fault.failAfterBytes;
    EXPECT_NE(r.message.find("前に保存した内容はそのまま残っています"), std::string::npos) << r.message;
    ASSERT_EQ(readAll(path), before) << "fault after " << fault.failAfterBytes;
    EXPECT_EQ(filesInDir(), 1u) << "a temporary file was left behind";
  }
  ASSERT_TRUE(DocumentFile::writeToFile(*changed, path).ok());
  EXPECT_EQ(DocumentFile::readFromFile(path, &result)->kaisya().name(), "変更後の会社");

  // Every truncation and every corrupted byte is refused. Behind a checksum that
  // holds, the check a large body passes before it is held (through windows of three
  // bytes) refuses what the reader refuses.
  auto checkedAsRead = [&](std::string_view body) {
    const auto readAt = [&](uint64_t from, char* out, size_t n) {
      if (from + n > body.size()) return false;
      std::memcpy(out, body.data() + from, n);
      return true;
    };
    return DocumentFile::checkBody(DocumentFile::kFormatVersion, body.size(), readAt, 3).status ==
           statusOf(test::fileWithBody(body, DocumentFile::kFormatVersion));
  };
  ASSERT_TRUE(checkedAsRead(std::string_view(data_).substr(24)));
  for (size_t at = 0; at < data_.size(); ++at) {
    // Too short to hold the signature: not ours; otherwise damaged.
    ASSERT_EQ(statusOf(std::string_view(data_).substr(0, at)), at < 8 ? Status::NotOurs : Status::Damaged) << at;
    std::string bad = data_;
    bad[at] = static_cast<char>(bad[at] ^ 0x5A);
    ASSERT_NE(statusOf(bad), Status::Ok) << "byte " << at;
    if (at >= 24) {
      ASSERT_TRUE(checkedAsRead(std::string_view(data_).substr(24, at - 24))) << at;
      ASSERT_TRUE(checkedAsRead(std::string_view(bad).substr(24))) << "byte " << at;
    }
  }

  // Refusals name their reason.
  // A later format version, with its checksum over the header; a body that claims a
  // newer document record, which the program must not guess at.
  const std::string newer = test::fileWithBody(std::string_view(data_).substr(24), 99);
  ArchiveWriter newerRecord;
  newerRecord.beginRecord("MyDocument", 7);
  // A damaged version field, or junk after the signature, is damage, not a newer
  // program's file.
  std::string version = data_, junk = "KIVOSAVN";
  version[11] = 0x40;
  for (int i = 0; i < 600; ++i) junk.push_back(static_cast<char>(i * 7 + 3));
  const std::pair<std::string, Status> cases[] = {
      {"", Status::NotOurs},
      {"<?xml version=\"1.0\"?><plist/>", Status::NotOurs},
      {newer, Status::NewerVersion},
      {test::fileWithBody(newerRecord.data(), DocumentFile::kFormatVersion), Status::NewerVersion},
      {data_ + "x", Status::Damaged},
      {version, Status::Damaged},
      {junk, Status::Damaged},
  };
  for (const auto& [bytes, status] : cases) EXPECT_EQ(statusOf(bytes), status);
  DocumentFile::Result r;
  EXPECT_FALSE(DocumentFile::readFromFile((dir_ / "missing.kivo").string(), &r));
  EXPECT_EQ(r.status, Status::ReadFailed);

  // The checksum is the standard CRC-32.
  EXPECT_EQ(Crc32::of("123456789"), 0xCBF43926u);
  EXPECT_EQ(Crc32::of(""), 0u);
  EXPECT_EQ(Crc32::of("56789", Crc32::of("1234")), 0xCBF43926u);
  // Long data (taken 64 bytes and more at a time) sums as its short pieces chained do.
  std::string bytes;
  for (uint32_t i = 0, x = 1; i < 1000; ++i) bytes.push_back(static_cast<char>((x = x * 1103515245 + 12345) >> 16));
  for (const size_t length : {64, 65, 127, 128, 200, 1000}) {
    uint32_t chained = 0;
    for (size_t at = 0; at < length; at += 7)
      chained = Crc32::of(bytes.substr(at, std::min<size_t>(7, length - at)), chained);
    EXPECT_EQ(Crc32::of(std::string_view(bytes).substr(0, length)), chained) << length;
  }
}

// A journal table made by hand, to be spoiled one way at a time.
struct JournalTable {
  // date, number, debit (account, sub, division, amount), credit (the same), the six
  // other-side codes, description, kind, reason, cash book (account, sub), flag.
  std::vector<int> widths = {4, 4, 2, 1, 1, 8, 2, 1, 1, 8, 2, 1, 1, 2, 1, 1, 1, 1, 1, 2, 1, 1};
  std::vector<int64_t> entry = {
      Date(2024, 5, 1).serial(), 7, 100, -1, 1, 5000, 101, -1, 1, 5000, 101, -1, 1, 100, -1, 1, 1, 0, 0, -1, -1, 0};
  std::vector<std::string> strings = {"", "売上"};
  uint32_t count = 2, records = 2;

  std::string bytes() const
  {
    ArchiveWriter w;
    w.beginRecord("ShiwakeTable", 0);
    w.writeUInt32(static_cast<uint32_t>(widths.size()));
    for (int width : widths) w.writeRaw(std::string(1, static_cast<char>(width)));
    w.writeUInt32(static_cast<uint32_t>(strings.size()));
    for (const std::string& text : strings) w.writeUInt32(static_cast<uint32_t>(text.size()));
    for (const std::string& text : strings) w.writeRaw(text);
    w.writeUInt32(count);
    for (uint32_t i = 0; i < records; ++i)
      for (size_t f = 0; f < widths.size(); ++f)
        w.writeRaw(std::string_view(reinterpret_cast<const char*>(&entry[f]), static_cast<size_t>(widths[f])));
    return w.takeData();
  }
};

// The document's body ending in a journal of `records` entries whose fields are a
// byte each. The records are not in it: they are the caller's to write after it.
std::string bodyBeforeEntries(std::string_view file, uint64_t records)
{
  JournalTable t;
  t.widths.assign(t.widths.size(), 1);
  t.strings = {""};
  t.count = static_cast<uint32_t>(records);
  t.records = 0;
  const std::string head = t.bytes();
  return test::bodyEndingInSection(file, KIVODataShiwakeTableKey, head, head.size() + records * t.widths.size());
}

// A record of bodyBeforeEntries's journal: a cash book's row being typed (number 0),
// without date, codes or amount, which the reader takes.
std::string entryRecord()
{
  JournalTable t;
  t.widths.assign(t.widths.size(), 1);
  t.entry.assign(t.entry.size(), 0);
  t.entry[17] = static_cast<int64_t>(ShiwakeKind::SuitoucyouNoAmount);
  t.strings = {""};
  t.count = t.records = 1;
  return t.bytes().substr(t.bytes().size() - t.widths.size());
}

// Writes `count` times `unit` through put, in pieces of about a megabyte.
void putRepeated(const test::BodyPut& put, std::string_view unit, uint64_t count)
{
  std::string piece;
  for (size_t i = 0; i < (size_t{1} << 20) / unit.size() + 1; ++i) piece.append(unit);
  const uint64_t perPiece = piece.size() / unit.size();
  for (; count >= perPiece; count -= perPiece) put(piece);
  put(std::string_view(piece).substr(0, static_cast<size_t>(count) * unit.size()));
}

// A document file at path whose journal is `records` entries of entryRecord(), then
// `last`, written out: gigabytes a reader must read and may hold.
void writeFileOfEntries(const std::string& path, std::string_view file, uint64_t records, std::string_view last = {})
{
  test::writeFileStreamed(path, [&](const test::BodyPut& put) {
    put(bodyBeforeEntries(file, records + (last.empty() ? 0 : 1)));
    putRepeated(put, entryRecord(), records);
    put(last);
  });
}

// The address space the process takes now, in bytes.
uint64_t addressSpaceInUse()
{
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmSize:", 0) == 0) return std::stoull(line.substr(7)) * 1024;
  return 0;
}

// Damage that only the checksum finds: one of its bits flipped.
void spoilChecksum(const std::string& path)
{
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  f.seekg(20);
  const char c = static_cast<char>(f.get());
  f.seekp(20);
  f.put(static_cast<char>(c ^ 1));
}

TEST_F(DocumentFileTest, TablesDatesAndTermsOutsideTheirRulesAreRefusedAndOpeningBalancesLoadInLinearTime)
{
  auto statusWith = [&](const JournalTable& t) {
    return statusOf(test::fileWithSection(data_, KIVODataShiwakeTableKey, t.bytes()));
  };
  ASSERT_EQ(statusWith(JournalTable{}), Status::Ok);
  const std::pair<const char*, void (*)(JournalTable&)> cases[] = {
      {"a field missing", [](JournalTable& t) { t.widths.pop_back(); }},
      {"a width of 0", [](JournalTable& t) { t.widths[1] = 0; }},
      {"a code eight bytes wide", [](JournalTable& t) { t.widths[2] = 8; }},
      {"no string table", [](JournalTable& t) { t.strings.clear(); }},
      {"more entries than records", [](JournalTable& t) { t.records = 1; }},
      {"a description out of the table", [](JournalTable& t) { t.entry[16] = 2; }},
      {"a date out of range", [](JournalTable& t) { t.entry[0] = INT32_MAX; }},
      {"a flag that is not 0 or 1", [](JournalTable& t) { t.entry[21] = 2; }},
      {"an account code of four digits", [](JournalTable& t) { t.entry[2] = 1000; }},
      {"a sub-account code of three digits", [](JournalTable& t) { t.entry[7] = 100; }},
      {"a division code below -1", [](JournalTable& t) { t.entry[4] = -2; }},
      {"an other-side account code of four digits", [](JournalTable& t) { t.entry[13] = 2000; }},
      {"a cash book of a four-digit account", [](JournalTable& t) { t.entry[19] = 1000; }},
      // Number 0 is a cash book's row being typed; no voucher is registered under it.
      {"a transfer-voucher line numbered 0", [](JournalTable& t) { t.entry[1] = 0; }},
      {"a record of zeros", [](JournalTable& t) { t.entry.assign(t.entry.size(), 0); }},
  };
  for (const auto& [what, spoil] : cases) {
    JournalTable t;
    spoil(t);
    EXPECT_EQ(statusWith(t), Status::Damaged) << what;
  }
  // A cash book's row being typed, of either cash-book kind, without a date, loads;
  // in the first format's journal of archived records alike.
  auto firstFormatWith = [&](const Shiwake& s) {
    ArchiveWriter w;
    w.writeCount(1);
    s.encodeWithCoder(w);
    return statusOf(
        test::fileWithBody(test::bodyEndingInSection(data_, KIVODataShiwakeArrayKey, w.data(), w.data().size()), 1));
  };
  EXPECT_EQ(firstFormatWith(Shiwake()), Status::Damaged);
  for (const ShiwakeKind kind : {ShiwakeKind::Suitoucyou, ShiwakeKind::SuitoucyouNoAmount}) {
    JournalTable t;
    t.entry.assign(t.entry.size(), 0);
    t.entry[17] = static_cast<int64_t>(kind);
    EXPECT_EQ(statusWith(t), Status::Ok);
    Shiwake pending;
    pending.setKindOfShiwake(kind);
    EXPECT_EQ(firstFormatWith(pending), Status::Ok);
  }

  // Opening balances load in time linear in their number.
  // 200,000 balances of one account: seconds for a reader that searches its list for
  // each one, milliseconds in one pass.
  const std::string file = test::fileWithOpeningBalances(200000);
  const auto start = std::chrono::steady_clock::now();
  DocumentFile::Result r;
  auto doc = DocumentFile::documentFromData(file, &r);
  ASSERT_TRUE(doc) << r.detail;
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.0);
  EXPECT_EQ(doc->kamokuOfCode(120)->hojyoKamokuOfCode(19)->startBalanceOfJigyoubuCode(19), 200000);
  // A division listed twice is not something the program writes.
  EXPECT_EQ(statusOf(test::fileWithOpeningBalances(3, true)), Status::Damaged);

  // Dates and terms out of range are refused as damaged.
  auto term = [](MyDocument& d, Date start, Date end) { d.kaisya().setMonthOfTermArrayFrom(start, end); };
  const std::pair<const char*, std::function<void(MyDocument&)>> damages[] = {
      {"entry at the largest day", [](MyDocument& d) { d.journal()[0]->setDate(Date::fromSerial(INT32_MAX)); }},
      {"report date", [](MyDocument& d) { d.kaisya().setTermEndDateOfHoukokusyo(Date::fromSerial(-1000000000)); }},
      {"term of 100,000 months",
       [](MyDocument& d) {
         std::vector<Month> months(100000, d.kaisya().monthArray()[0]);
         for (size_t i = 0; i < months.size(); ++i) months[i].setEndDate(months[i].startDate().addingDays(int(i)));
         d.kaisya().setMonthArray(std::move(months));
       }},
      {"term of two years", [&](MyDocument& d) { term(d, Date(2024, 4, 1), Date(2026, 3, 31)); }},
      {"term before the first allowed day", [&](MyDocument& d) { term(d, Date(1983, 4, 1), Date(1984, 3, 31)); }},
      {"months out of order",
       [](MyDocument& d) {
         std::vector<Month> months = d.kaisya().monthArray();
         std::swap(months[2], months[3]);
         d.kaisya().setMonthArray(std::move(months));
       }},
      // Codes beyond their digits: builders index tables by them, and an account
      // renumbered 2,000,000,000 once ended the program when its ledger was opened.
      {"account code 2,000,000,000", [](MyDocument& d) { d.kamokuOfCode(100)->setCode(2000000000); }},
      {"account code 1000", [](MyDocument& d) { d.kamokuOfCode(100)->setCode(1000); }},
      {"account code -2", [](MyDocument& d) { d.kamokuOfCode(100)->setCode(-2); }},
      {"merged into account 1000", [](MyDocument& d) { d.kamokuOfCode(100)->setGassanRepresentKamokuCode(1000); }},
      {"sub-account code 100", [](MyDocument& d) { d.kamokuOfCode(100)->hojyoKamokuArray().front()->setCode(100); }},
      {"sub-account of account 5000",
       [](MyDocument& d) { d.kamokuOfCode(100)->hojyoKamokuArray().front()->setParentKamokuCode(5000); }},
      {"division code 100", [](MyDocument& d) { d.jigyoubuArray().front()->setCode(100); }},
      {"opening balance of division 100", [](MyDocument& d) { d.kamokuOfCode(100)->setStartBalance(1, 100); }},
      {"sub-account balance of division -5",
       [](MyDocument& d) { d.kamokuOfCode(100)->hojyoKamokuArray().front()->setStartBalance(1, -5); }},
      // A code given twice, which no list editor makes: the trial balance would count
      // both accounts under one code and no longer balance.
      {"two accounts coded 100 in one category", [](MyDocument& d) { d.kamokuOfCode(101)->setCode(100); }},
      {"two accounts coded 100 in two categories",
       [](MyDocument& d) { d.codeSortedKamokuArray().back()->setCode(100); }},
      {"two sub-accounts of one account with one code",
       [](MyDocument& d) {
         auto& subs = d.kamokuOfCode(100)->hojyoKamokuArray();
         subs.push_back(std::make_shared<HojyoKamoku>(*subs.front()));
       }},
      {"two divisions with one code",
       [](MyDocument& d) { d.jigyoubuArray().push_back(std::make_shared<Jigyoubu>(*d.jigyoubuArray().back())); }},
  };
  for (const auto& [what, damage] : damages) {
    auto written = test::makeDocumentWithEveryRecord();
    damage(*written);
    EXPECT_EQ(statusOf(DocumentFile::dataOfDocument(*written)), Status::Damaged) << what;
  }
  // What the program does write still loads: an entry without a date (a cash book's
  // row being typed) and a household book's term that ends mid-month.
  // So do codes in range that name no account, sub-account or division.
  auto written = test::makeDocumentWithEveryRecord();
  written->journal().entries().front()->setDate(Date());
  term(*written, Date(2024, 1, 25), Date(2025, 1, 24));
  written->journal().entries().front()->setKarikataKamokuCode(998);
  written->journal().entries().front()->setKashikataJigyoubuCode(57);
  written->kamokuOfCode(100)->setStartBalance(7, 98);
  written->kamokuOfCode(100)->hojyoKamokuArray().front()->setStartBalance(7, -1);
  EXPECT_EQ(statusOf(DocumentFile::dataOfDocument(*written)), Status::Ok);
}

TEST_F(DocumentFileTest, ValuesNoWindowGivesAreRefusedAsDamagedAndTheirLimitsLoad)
{
  // The company record's own bounds are the record's tests'; one shows the reader refuses it.
  const std::pair<const char*, std::function<void(MyDocument&)>> damages[] = {
      {"voucher counter 0", [](MyDocument& d) { d.kaisya().setMinAvailableDenpyouNo(0); }},
      // A counter at or below a voucher of the journal made the next import, voucher or
      // cash-book row merge into the vouchers already there; no version leaves one.
      {"voucher counter 1 under vouchers from 1", [](MyDocument& d) { d.kaisya().setMinAvailableDenpyouNo(1); }},
      {"voucher counter on the highest voucher",
       [](MyDocument& d) { d.kaisya().setMinAvailableDenpyouNo(d.journal().highestDenpyouNo()); }},
      {"entry numbered past the counter's limit", [](MyDocument& d) { d.journal()[0]->setDenpyouNo(100000); }},
      {"entry numbered below the regular-type ones", [](MyDocument& d) { d.journal()[0]->setDenpyouNo(-10000); }},
      {"entry of a fourth kind", [](MyDocument& d) { d.journal()[0]->setKindOfShiwake(ShiwakeKind(3)); }},
      {"transfer-voucher line numbered 0", [](MyDocument& d) { d.journal()[0]->setDenpyouNo(0); }},
      {"bookmark on number INT32_MIN",
       [](MyDocument& d) { d.furikaedenpyouBookmarkArray()[0]->setDenpyouNo(INT32_MIN); }},
      {"cash-book shortcut digit 0",
       [](MyDocument& d) { d.kamokuOfCode(100)->setKeyEquivalentOfSuitoucyouSubMenu(0); }},
      {"sub-account shortcut digit 10",
       [](MyDocument& d) { d.kamokuOfCode(100)->hojyoKamokuArray()[0]->setKeyEquivalentOfSuitoucyouSubMenu(10); }},
      {"ledger shortcut of sub-account 100",
       [](MyDocument& d) { d.subMenuItemArray()[0]->setRepresentedObject(101000); }},
  };
  for (const auto& [what, damage] : damages) {
    auto written = test::makeDocumentWithEveryRecord();
    damage(*written);
    EXPECT_EQ(statusOf(DocumentFile::dataOfDocument(*written)), Status::Damaged) << what;
  }

  // The limits of what the windows give load, the counter used up past the last number.
  auto written = test::makeDocumentWithEveryRecord();
  written->journal()[0]->setDenpyouNo(99999);
  written->kaisya().setMinAvailableDenpyouNo(100000);
  written->journal()[1]->setDenpyouNo(-9999);
  written->journal()[1]->setKindOfShiwake(ShiwakeKind::SuitoucyouNoAmount);
  written->furikaedenpyouBookmarkArray()[0]->setDenpyouNo(-9999);
  written->kamokuOfCode(100)->setKeyEquivalentOfSuitoucyouSubMenu(9);
  written->subMenuItemArray()[0]->setRepresentedObject(100999);
  EXPECT_EQ(statusOf(DocumentFile::dataOfDocument(*written)), Status::Ok);
}

// --- hostile and unlucky conditions ------------------------------------------------

TEST_F(DocumentFileTest, SavesFollowLinksClearStaleTemporariesSayWhatRemainsAndKeepTheOwner)
{
  fs::create_directories(dir_ / "real");
  fs::create_symlink("real/chain.kivo", dir_ / "rel2.kivo");
  // (link, what it says, the file that must get the data)
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"abs.kivo", (dir_ / "real/abs.kivo").string(), "real/abs.kivo"},
      {"rel.kivo", "real/rel.kivo", "real/rel.kivo"},
      {"chain.kivo", "rel2.kivo", "real/chain.kivo"},
      {"dangling.kivo", "real/new.kivo", "real/new.kivo"},
  };
  for (const auto& [link, pointsTo, target] : cases) {
    if (link != "dangling.kivo") writeFile(dir_ / target, "old");
    fs::create_symlink(pointsTo, dir_ / link);
    ASSERT_TRUE(DocumentFile::writeToFile(*doc_, (dir_ / link).string()).ok());
    EXPECT_TRUE(fs::is_symlink(dir_ / link)) << link;
    EXPECT_TRUE(readAll(dir_ / target) == data_) << link;
  }

  // Temporaries left by killed saves are removed on open and on save.
  std::string longName;  // 249 bytes and ".kivo": fits, and so must its temporary
  for (int i = 0; i < 83; ++i) longName += "い";
  for (const std::string& name : {std::string("books.kivo"), longName + ".kivo"}) {
    for (const bool byOpen : {false, true}) {
      const fs::path path = dir_ / name;
      ASSERT_TRUE(DocumentFile::writeToFile(*doc_, path.string()).ok()) << name;
      // A save in progress in another process holds its temporary locked (before the
      // stale one is made, whose killed save would clear it).
      const std::string partial = data_.substr(0, data_.size() / 2);
      const fs::path busy = test::temporaryOfKilledWrite(path.string(), partial, "KIVOSAVN");
      const int busyFd = ::open(busy.c_str(), O_RDONLY);
      ASSERT_EQ(::flock(busyFd, LOCK_EX | LOCK_NB), 0);
      const fs::path stale = test::temporaryOfKilledWrite(path.string(), partial, "KIVOSAVN");
      const fs::path other = test::temporaryOfKilledWrite((dir_ / "another.kivo").string(), partial, "KIVOSAVN");
      ASSERT_TRUE(fs::exists(stale) && fs::exists(other));
      DocumentFile::Result r;
      EXPECT_TRUE(byOpen ? DocumentFile::readFromFile(path.string(), &r) != nullptr
                         : DocumentFile::writeToFile(*doc_, path.string()).ok());
      ::close(busyFd);
      EXPECT_FALSE(fs::exists(stale)) << byOpen;
      EXPECT_TRUE(fs::exists(busy) && fs::exists(other));
      fs::remove(busy);
      fs::remove(other);
    }
  }

  // A failed save into a folder that is gone does not say the old file remains.
  fs::create_directories(dir_ / "gone");
  ASSERT_TRUE(DocumentFile::writeToFile(*doc_, (dir_ / "gone" / "b.kivo").string()).ok());
  fs::remove_all(dir_ / "gone");
  DocumentFile::Result r = DocumentFile::writeToFile(*doc_, (dir_ / "gone" / "b.kivo").string());
  EXPECT_EQ(r.status, Status::WriteFailed);
  EXPECT_EQ(r.message.find("前に保存した内容はそのまま残っています"), std::string::npos) << r.message;
  // Nor one in place of a folder, or through a loop of links; each says why.
  fs::create_directories(dir_ / "folder.kivo");
  fs::create_symlink("loop2.kivo", dir_ / "loop1.kivo");
  fs::create_symlink("loop1.kivo", dir_ / "loop2.kivo");
  for (const auto& [name, why] : {std::pair("folder.kivo", "同じ名前のフォルダがあります"),
                                  std::pair("loop1.kivo", "シンボリックリンクが循環しています")}) {
    r = DocumentFile::writeToFile(*doc_, (dir_ / name).string());
    EXPECT_EQ(r.status, Status::WriteFailed) << name;
    EXPECT_EQ(r.message.find("前に保存した内容はそのまま残っています"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(why), std::string::npos) << r.message;
  }

  // A save keeps the file's ACL and user attributes: the owning group gets no more.
  const std::string shared = (dir_ / "acl.kivo").string();
  ASSERT_TRUE(DocumentFile::writeToFile(*doc_, shared).ok());
  EXPECT_TRUE(test::keepsAccess(shared, [&] { return DocumentFile::writeToFile(*doc_, shared).ok(); }));
  // A save keeps the owner, group and permissions.
  if (::geteuid() != 0) GTEST_SKIP() << "needs to be able to give files away";
  const fs::path path = dir_ / "shared.kivo";
  ASSERT_TRUE(DocumentFile::writeToFile(*doc_, path.string()).ok());
  ASSERT_EQ(::chown(path.c_str(), 4242, 4343), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0660), 0);
  ASSERT_TRUE(DocumentFile::writeToFile(*doc_, path.string()).ok());
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(std::make_tuple(st.st_uid, st.st_gid, st.st_mode & 07777), std::make_tuple(4242u, 4343u, 0660u));
}

// Exits 0 when the file is refused with a message, with the status given, in a process
// limited to that much address space (1 GB unless given).
void readWithLimitedMemory(const std::string& path, Status status = Status::ReadFailed,
                           uint64_t bytes = uint64_t{1} << 30)
{
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = bytes;
  ::setrlimit(RLIMIT_AS, &limit);
  DocumentFile::Result r;
  auto doc = DocumentFile::readFromFile(path, &r);
  std::_Exit(!doc && r.status == status && !r.message.empty() ? 0 : 1);
}

TEST_F(DocumentFileTest, HugeFilesAreRefusedFromTheirHeaderAndOneLargerThanTheMemoryWithAMessage)
{
  // What is not a regular file is refused at once: a pipe nobody writes to once
  // waited forever, a link to /dev/zero, a folder.
  ASSERT_EQ(::mkfifo((dir_ / "pipe.kivo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir_ / "zero.kivo");
  fs::create_directories(dir_ / "folder.kivo");
  for (const char* name : {"pipe.kivo", "zero.kivo", "folder.kivo"}) {
    const std::string path = (dir_ / name).string();
    DocumentFile::Result r;
    auto reading = std::async(std::launch::async, [&] { return DocumentFile::readFromFile(path, &r); });
    const bool waits = reading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout;
    if (waits) ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));  // lets the reader go
    EXPECT_FALSE(waits) << name;
    EXPECT_FALSE(reading.get()) << name;
    EXPECT_EQ(r.status, Status::ReadFailed) << name;
  }

  const uint64_t beyond = (uint64_t{1} << 32) + 100;
  writeFile(dir_ / "not-ours", "PK\x03\x04 not a document", uint64_t{3} << 30);
  writeFile(dir_ / "beyond-the-format", headerDeclaring(beyond), 24 + beyond);
  // Anyone can make a checksum hold: three gigabytes of zeros are refused from their
  // first bytes, which begin no document.
  test::writeFileAroundZeros((dir_ / "zeros").string(), {}, uint64_t{3} << 30);
  for (const auto& [name, status] :
       {std::pair("not-ours", Status::NotOurs), {"beyond-the-format", Status::Damaged}, {"zeros", Status::Damaged}}) {
    const auto start = std::chrono::steady_clock::now();
    DocumentFile::Result r;
    EXPECT_FALSE(DocumentFile::readFromFile((dir_ / name).string(), &r));
    EXPECT_EQ(r.status, status) << name;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.5) << name;
  }

  // In a process limited to 1 GB.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KIVO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(KIVO_ASAN)
  GTEST_SKIP() << "address space limits do not work under AddressSanitizer";
#endif
  // Its body is whole, 220 MB of entries that would take more than a gigabyte: only
  // the memory is wanting.
  writeFileOfEntries((dir_ / "large.kivo").string(), data_, uint64_t{10} << 20);
  EXPECT_EXIT(readWithLimitedMemory((dir_ / "large.kivo").string()), ::testing::ExitedWithCode(0), "");
}

TEST_F(DocumentFileTest, ALargeBodyIsCheckedBlockByBlockBeforeItIsHeldWhole)
{
  // Books of several years' lines in one file, more than is read whole at once: it
  // opens.
  test::GeneratedBooksSize size;
  size.shiwakeCount = 600000;
  size.denpyouCount = 99999;
  const std::string file = DocumentFile::dataOfDocument(*test::makeGeneratedBooks(size));
  ASSERT_GT(file.size(), uint64_t{17} << 20);
  const fs::path path = dir_ / "years.kivo";
  writeFile(path, file);
  DocumentFile::Result r;
  auto doc = DocumentFile::readFromFile(path.string(), &r);
  ASSERT_TRUE(doc) << r.detail;
  EXPECT_EQ(doc->journal().size(), 600000u);
  EXPECT_TRUE(DocumentFile::dataOfDocument(*doc) == file);

  // A byte changed in its first, a middle or its last block, or in the header's
  // version, and it is refused.
  for (const size_t at : {size_t{24}, file.size() / 2, file.size() - 1, size_t{8}}) {
    std::string damaged = file;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
    writeFile(path, damaged);
    EXPECT_FALSE(DocumentFile::readFromFile(path.string(), &r)) << at;
    EXPECT_EQ(r.status, Status::Damaged) << at;
  }

#if defined(__SANITIZE_ADDRESS__) || defined(KIVO_ASAN)
  GTEST_SKIP() << "address space limits do not work under AddressSanitizer";
#endif
  // Damage in a large body is refused holding a few blocks, not the body: in 48 MB
  // more than the process has. So is a body that holds no document although its
  // checksum holds, wherever the structure breaks.
  const uint64_t limit = addressSpaceInUse() + (uint64_t{48} << 20);
  const uint64_t half = uint64_t{1} << 29, entries = uint64_t{3} << 20;
  JournalTable spoilt;  // an entry whose flag is neither 0 nor 1
  spoilt.widths.assign(spoilt.widths.size(), 1);
  spoilt.entry.assign(spoilt.entry.size(), 0);
  spoilt.entry.back() = 2;
  const std::string badEntry = spoilt.bytes().substr(spoilt.bytes().size() - 22);
  ArchiveWriter newer;
  newer.beginRecord("MyDocument", 7);
  const std::function<void(const std::string&)> files[] = {
      // The header's checksum does not hold for half a gigabyte.
      [&](const std::string& p) { writeFile(p, headerDeclaring(half), 24 + half); },
      [&](const std::string& p) { test::writeFileAroundZeros(p, {}, uint64_t{3} << 30); },
      // The company's section, first read, is a gigabyte of zeros.
      [&](const std::string& p) {
        test::writeFileAroundZeros(p, test::bodyEndingInSection(data_, KIVODataKaisyaKey, {}, half * 2), half * 2);
      },
      // The last of 3 million entries (66 MB) is damaged.
      [&](const std::string& p) { writeFileOfEntries(p, data_, entries - 1, badEntry); },
  };
  for (size_t i = 0; i < std::size(files); ++i) {
    const std::string path = (dir_ / ("damaged-" + std::to_string(i) + ".kivo")).string();
    files[i](path);
    EXPECT_EXIT(readWithLimitedMemory(path, Status::Damaged, limit), ::testing::ExitedWithCode(0), "") << "file " << i;
    fs::remove(path);
  }
  // A newer document record is believed once the checksum holds, and is refused as
  // such without its body being held.
  test::writeFileAroundZeros((dir_ / "newer.kivo").string(), newer.data(), half);
  EXPECT_EXIT(readWithLimitedMemory((dir_ / "newer.kivo").string(), Status::NewerVersion, limit),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(DocumentFileTest, ALargeBodyIsRefusedHoldingAFewBlocksWhateverLengthsAndCountsItDeclares)
{
#if defined(__SANITIZE_ADDRESS__) || defined(KIVO_ASAN)
  GTEST_SKIP() << "address space limits do not work under AddressSanitizer";
#endif
  // Each body twice: damaged where only the checksum finds it, and as written, its
  // checksum holding and its structure failing only after all it declares.
  const uint64_t gigabyte = uint64_t{1} << 30;
  const uint32_t many = 3u << 20;
  ArchiveWriter named;  // the company's record, its name declared a gigabyte long
  named.beginRecord("Kaisya", Kaisya::kClassVersion);
  named.writeUInt32(static_cast<uint32_t>(gigabyte));
  // A section of `many` units between a start and an end.
  auto sectionOfMany = [&](const char* key, std::string_view start, std::string_view unit, std::string_view end = {}) {
    return [this, key, start, unit, end](const std::string& p, bool whole) {
      const uint64_t length = start.size() + uint64_t{many} * unit.size() + end.size() + (whole ? 0 : 1);
      test::writeFileStreamed(p, [&](const test::BodyPut& put) {
        put(test::bodyEndingInSection(data_, key, start, length));
        putRepeated(put, unit, many);
        put(end);
        if (!whole) put("x");
      });
    };
  };
  ArchiveWriter group, description, root, category, company, item;
  group.writeCount(1);
  group.beginRecord("TekiyouGroup", TekiyouGroup::kClassVersion);
  group.writeString("売上");
  group.writeBool(false);
  group.writeCount(many);
  Tekiyou("現金売上", "").encodeWithCoder(description);
  root.beginRecord("KamokuKubun", KamokuKubun::kClassVersion);
  for (int i = 0; i < 3; ++i) root.writeString("");
  root.writeCount(many);
  KamokuKubun().encodeWithCoder(category);
  ArchiveWriter noAccounts;
  noAccounts.writeCount(0);
  Kaisya kaisya = doc_->kaisya();
  kaisya.setRiekisyobunanKamokuArray({});
  kaisya.encodeWithCoder(company);  // its last field the count of appropriation items
  std::string companyStart = company.data().substr(0, company.data().size() - 4);
  companyStart.append(std::string_view(reinterpret_cast<const char*>(&many), 4));
  item.writeString("");
  item.writeInt64(0);
  // Each writes the body at the path, its structure whole or not.
  const std::pair<const char*, std::function<void(const std::string&, bool)>> files[] = {
      {"the body's first bytes declaring a text of 2 GB",
       [&](const std::string& p, bool) {
         ArchiveWriter w;
         w.writeUInt32(0x7FFFFFF0u);
         test::writeFileAroundZeros(p, w.data(), 2 * gigabyte);
       }},
      {"the company's name declared a gigabyte long",
       [&](const std::string& p, bool) {
         test::writeFileAroundZeros(
             p, test::bodyEndingInSection(data_, KIVODataKaisyaKey, named.data(), named.data().size() + gigabyte),
             gigabyte);
       }},
      {"3 million descriptions", sectionOfMany(KIVODataTekiyouGroupArrayKey, group.data(), description.data())},
      {"3 million account categories",
       sectionOfMany(KIVODataRootKamokuKubunKey, root.data(), category.data(), noAccounts.data())},
      {"3 million appropriation items", sectionOfMany(KIVODataKaisyaKey, companyStart, item.data())},
      {"3 million sections",
       [&](const std::string& p, bool whole) {
         test::writeFileStreamed(p, [&](const test::BodyPut& put) {
           std::string body = data_.substr(DocumentFile::kHeaderSize);
           const uint32_t count = 9 + many;
           std::memcpy(body.data() + 4 + std::strlen("MyDocument") + 4, &count, 4);
           put(body);
           std::string piece;
           for (uint32_t i = 0; i < many; ++i) {
             ArchiveWriter w;
             w.writeString("section " + std::to_string(i));
             w.writeUInt32(0);
             piece.append(w.data());
             if (piece.size() > (size_t{1} << 20)) put(std::exchange(piece, {}));
           }
           put(piece);
           if (!whole) put("x");
         });
       }},
      // Records no build writes, refused at the first.
      {"a gigabyte of journal records of zeros",
       [&](const std::string& p, bool) {
         const uint64_t records = gigabyte / 22;
         test::writeFileAroundZeros(p, bodyBeforeEntries(data_, records), records * 22);
       }},
  };
  const uint64_t limit = addressSpaceInUse() + (uint64_t{48} << 20);
  for (const auto& [what, write] : files) {
    for (const bool damaged : {true, false}) {
      const std::string path = (dir_ / "crafted.kivo").string();
      write(path, damaged);
      if (damaged) spoilChecksum(path);
      EXPECT_EXIT(readWithLimitedMemory(path, Status::Damaged, limit), ::testing::ExitedWithCode(0), "")
          << what << (damaged ? ", damaged" : "");
      fs::remove(path);
    }
  }
}

// Whose each asset's ordinary charge is comes back from the file, unless the record
// of it does not fit the assets read: then every charge reads as the user's, as in a
// file without it, and the document opens all the same.
TEST_F(DocumentFileTest, ChargesTheProgramSetReadBackAndARecordOfThemThatDoesNotFitLosesNothing)
{
  auto doc = DocumentFile::documentFromData(data_, nullptr);
  ASSERT_TRUE(doc);
  std::vector<GenkasyoukyakuShisanPtr>& assets = doc->genkasyoukyakuShisanArray();
  assets.push_back(std::make_shared<GenkasyoukyakuShisan>(*assets[0]));
  assets[2]->setFutsuuSyoukyakuhi(500'000);
  for (size_t i : {0, 2}) assets[i]->setIsFutsuuSyoukyakuhiSetByProgram(true);
  const auto record = [](std::vector<std::pair<bool, int64_t>> entries, int32_t version = 0) {
    ArchiveWriter w;
    w.beginRecord("FutsuuSyoukyakuhiSetByProgram", version);
    w.writeCount(entries.size());
    for (const auto& [set, charge] : entries) {
      w.writeBool(set);
      w.writeInt64(charge);
    }
    return w.data();
  };
  const std::string whole = record({{true, 600'000}, {false, -1}, {true, 500'000}});
  // the record in the file (empty: as written) → whose each charge reads as
  const std::pair<std::string, std::vector<bool>> cases[] = {
      {"", {true, false, true}},
      {record({{true, 600'000}, {false, -1}, {true, 1}}), {true, false, false}},  // the charge changed since
      {record({{true, 600'000}, {true, 500'000}}), {false, false, false}},        // another number of assets
      {whole.substr(0, whole.size() - 1), {false, false, false}},
      {record({{true, 600'000}, {false, -1}, {true, 500'000}}, 1), {false, false, false}},  // a later coding
  };
  const std::string file = DocumentFile::dataOfDocument(*doc);
  for (const auto& [bytes, marks] : cases) {
    const auto read = DocumentFile::documentFromData(
        bytes.empty() ? file : test::fileWithSection(file, KIVODataFutsuuSyoukyakuhiSetByProgramKey, bytes), nullptr);
    ASSERT_TRUE(read);
    std::vector<bool> byProgram;
    for (const GenkasyoukyakuShisanPtr& a : read->genkasyoukyakuShisanArray())
      byProgram.push_back(a->isFutsuuSyoukyakuhiSetByProgram());
    EXPECT_EQ(byProgram, marks) << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace kivo
