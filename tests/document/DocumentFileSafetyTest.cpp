// The document file under hostile and unlucky conditions: crafted files that pass the
// checksum, huge files, symbolic links, long names, leftovers of killed saves and
// saves by another user.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/DocumentFile.h"
#include "support/CraftedDocumentFile.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using Status = DocumentFile::Status;

class DocumentFileSafetyTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    dir_ = fs::temp_directory_path() / ("kivo-safety-" + std::to_string(::getpid()) + "-" +
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
  static void writeFile(const fs::path& p, std::string_view bytes)
  {
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  // A file of that size holding the bytes at its start and nothing (a hole) after.
  static void writeSparse(const fs::path& p, std::string_view head, uint64_t size)
  {
    writeFile(p, head);
    fs::resize_file(p, size);
  }
  static Status statusOf(std::string_view bytes)
  {
    DocumentFile::Result r;
    auto doc = DocumentFile::documentFromData(bytes, &r);
    EXPECT_FALSE(r.message.empty() && !doc);
    return r.status;
  }

  fs::path dir_;
};

TEST_F(DocumentFileSafetyTest, SaveThroughASymbolicLinkWritesItsTargetAndKeepsTheLink)
{
  auto doc = test::makeDocumentWithEveryRecord();
  const std::string saved = DocumentFile::dataOfDocument(*doc);
  fs::create_directories(dir_ / "real");
  struct Case {
    const char* link;
    const char* pointsTo;  // as written into the link
    const char* target;    // the file that must get the data
  };
  const Case cases[] = {
      {"abs.kivo", nullptr, "real/abs.kivo"},          // absolute (filled in below)
      {"rel.kivo", "real/rel.kivo", "real/rel.kivo"},  // relative to the link's folder
      {"chain.kivo", "rel2.kivo", "real/chain.kivo"},  // a link to a link
      {"dangling.kivo", "real/new.kivo", "real/new.kivo"},
  };
  fs::create_symlink("real/chain.kivo", dir_ / "rel2.kivo");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    const fs::path target = dir_ / c.target;
    if (std::string(c.target) != "real/new.kivo") writeFile(target, "old");
    fs::create_symlink(c.pointsTo ? fs::path(c.pointsTo) : target, dir_ / c.link);
    ASSERT_TRUE(DocumentFile::writeToFile(*doc, (dir_ / c.link).string()).ok());
    EXPECT_TRUE(fs::is_symlink(dir_ / c.link));
    EXPECT_TRUE(readAll(target) == saved) << "the target was not written";
  }
}

TEST_F(DocumentFileSafetyTest, OpeningBalancesLoadInTimeLinearInTheirNumber)
{
  // 200,000 balances of one account: a reader that searches its list for each one
  // takes seconds; one pass takes milliseconds.
  const std::string file = test::fileWithOpeningBalances(200000);
  const auto start = std::chrono::steady_clock::now();
  DocumentFile::Result r;
  auto doc = DocumentFile::documentFromData(file, &r);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_TRUE(doc) << r.detail;
  EXPECT_EQ(doc->codeSortedKamokuArray().front()->startBalanceArray().entries().size(), 200000u);
  EXPECT_EQ(doc->codeSortedKamokuArray().front()->startBalanceOfJigyoubuCode(1000 + 199999), 200000);
  EXPECT_LT(seconds, 2.0);
  // A division listed twice is not something the program writes.
  EXPECT_EQ(statusOf(test::fileWithOpeningBalances(3, true)), Status::Damaged);
}

TEST_F(DocumentFileSafetyTest, HugeFilesAreRefusedFromTheirHeader)
{
  const std::string doc = DocumentFile::dataOfDocument(*test::makeDocumentWithEveryRecord());
  std::string tooLarge = doc.substr(0, 24);
  const uint64_t hugeBody = (uint64_t{1} << 32) + 100;
  for (int i = 0; i < 8; ++i) tooLarge[12 + i] = static_cast<char>((hugeBody >> (8 * i)) & 0xFF);
  struct Case {
    const char* name;
    std::string head;
    uint64_t size;
    Status status;
  };
  const Case cases[] = {
      {"not-ours", "PK\x03\x04 not a document", uint64_t{3} << 30, Status::NotOurs},
      {"beyond-the-format", tooLarge, 24 + hugeBody, Status::Damaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeSparse(dir_ / c.name, c.head, c.size);
    const auto start = std::chrono::steady_clock::now();
    DocumentFile::Result r;
    EXPECT_FALSE(DocumentFile::readFromFile((dir_ / c.name).string(), &r));
    EXPECT_EQ(r.status, c.status) << r.detail;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.5);
  }
}

#if defined(__SANITIZE_ADDRESS__)
#define KIVO_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KIVO_UNDER_ASAN 1
#endif
#endif

// Exits 0 when the file is refused with a message in a process limited to 1 GB.
void readWithLimitedMemory(const std::string& path)
{
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = uint64_t{1} << 30;
  ::setrlimit(RLIMIT_AS, &limit);
  DocumentFile::Result r;
  auto doc = DocumentFile::readFromFile(path, &r);
  std::_Exit(!doc && r.status == Status::ReadFailed && !r.message.empty() ? 0 : 1);
}

TEST_F(DocumentFileSafetyTest, AFileLargerThanTheMemoryIsRefusedWithAMessage)
{
#ifdef KIVO_UNDER_ASAN
  GTEST_SKIP() << "address space limits do not work under AddressSanitizer";
#endif
  // A document header declaring a body of 1.5 GB, read in a process limited to 1 GB.
  std::string head = DocumentFile::dataOfDocument(*test::makeDocumentWithEveryRecord()).substr(0, 24);
  const uint64_t body = uint64_t{3} << 29;
  for (int i = 0; i < 8; ++i) head[12 + i] = static_cast<char>((body >> (8 * i)) & 0xFF);
  const fs::path path = dir_ / "large.kivo";
  writeSparse(path, head, 24 + body);
  EXPECT_EXIT(readWithLimitedMemory(path.string()), ::testing::ExitedWithCode(0), "");
}

TEST_F(DocumentFileSafetyTest, DatesAndTermsOutOfRangeAreRefusedAsDamaged)
{
  struct Case {
    const char* name;
    void (*damage)(MyDocument&);
  };
  const Case cases[] = {
      {"entry at the largest day number",
       [](MyDocument& d) { d.shiwakeArray().front()->setDate(Date::fromSerial(INT32_MAX)); }},
      {"entry before the first year",
       [](MyDocument& d) { d.shiwakeArray().front()->setDate(Date::fromSerial(INT32_MIN + 1)); }},
      {"entry in the year 10000", [](MyDocument& d) { d.shiwakeArray().back()->setDate(Date(10000, 1, 1)); }},
      {"report date", [](MyDocument& d) { d.kaisya().setTermEndDateOfHoukokusyo(Date::fromSerial(-1000000000)); }},
      {"term of 100,000 months",
       [](MyDocument& d) {
         std::vector<Month> months;
         for (int i = 0; i < 100000; ++i) {
           const Date s = Date(2024, 4, 1).addingMonths(i);
           months.emplace_back("月", s, s.addingMonths(1).addingDays(-1));
         }
         d.kaisya().setMonthArray(std::move(months));
       }},
      {"term of two years",
       [](MyDocument& d) { d.kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2026, 3, 31)); }},
      {"term before the first allowed day",
       [](MyDocument& d) { d.kaisya().setMonthOfTermArrayFrom(Date(1983, 4, 1), Date(1984, 3, 31)); }},
      {"months out of order",
       [](MyDocument& d) {
         std::vector<Month> months = d.kaisya().monthArray();
         std::swap(months[2], months[3]);
         d.kaisya().setMonthArray(std::move(months));
       }},
      {"month ending before it starts",
       [](MyDocument& d) {
         std::vector<Month> months = d.kaisya().monthArray();
         months[0].setEndDate(months[0].startDate().addingDays(-1));
         d.kaisya().setMonthArray(std::move(months));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto doc = test::makeDocumentWithEveryRecord();
    c.damage(*doc);
    EXPECT_EQ(statusOf(DocumentFile::dataOfDocument(*doc)), Status::Damaged);
  }
  // What the program does write still loads: an entry without a date (a cash book's
  // row being typed) and a household book's term that ends mid-month.
  auto doc = test::makeDocumentWithEveryRecord();
  doc->shiwakeArray().front()->setDate(Date());
  doc->kaisya().setMonthOfTermArrayFrom(Date(2024, 1, 25), Date(2025, 1, 24));
  EXPECT_EQ(statusOf(DocumentFile::dataOfDocument(*doc)), Status::Ok);
}

TEST_F(DocumentFileSafetyTest, ANameThatFitsCanBeSavedAgainAndAgain)
{
  std::string name;
  for (int i = 0; i < 83; ++i) name += "あ";  // 249 bytes
  const fs::path path = dir_ / (name + ".kivo");
  auto doc = test::makeDocumentWithEveryRecord();
  for (int i = 0; i < 2; ++i) {
    const DocumentFile::Result r = DocumentFile::writeToFile(*doc, path.string());
    ASSERT_TRUE(r.ok()) << r.detail;
  }
  DocumentFile::Result r;
  EXPECT_TRUE(DocumentFile::readFromFile(path.string(), &r)) << r.detail;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(DocumentFileSafetyTest, TemporariesLeftByKilledSavesAreRemovedOnOpenAndSave)
{
  auto doc = test::makeDocumentWithEveryRecord();
  std::string longName;
  for (int i = 0; i < 83; ++i) longName += "い";
  for (const std::string& name : {std::string("books.kivo"), longName + ".kivo"}) {
    for (const bool byOpen : {false, true}) {
      SCOPED_TRACE(byOpen ? "open" : "save");
      const fs::path path = dir_ / name;
      ASSERT_TRUE(DocumentFile::writeToFile(*doc, path.string()).ok());
      const std::string prefix = DocumentFile::temporaryFilePrefix(name, 255);
      const fs::path stale = dir_ / (prefix + "Ab12Cd");
      const fs::path busy = dir_ / (prefix + "Zz99Yy");
      const fs::path other = dir_ / ".another.kivo.Ab12Cd";
      for (const fs::path& p : {stale, busy, other}) {
        writeFile(p, "partial");
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(1));
      }
      // A save in progress in another process holds its temporary locked.
      const int busyFd = ::open(busy.c_str(), O_RDONLY);
      ASSERT_EQ(::flock(busyFd, LOCK_EX | LOCK_NB), 0);
      DocumentFile::Result r;
      if (byOpen)
        EXPECT_TRUE(DocumentFile::readFromFile(path.string(), &r));
      else
        EXPECT_TRUE(DocumentFile::writeToFile(*doc, path.string()).ok());
      ::close(busyFd);
      EXPECT_FALSE(fs::exists(stale));
      EXPECT_TRUE(fs::exists(busy));
      EXPECT_TRUE(fs::exists(other));
      fs::remove(busy);
      fs::remove(other);
    }
  }
}

TEST_F(DocumentFileSafetyTest, MessagesSayWhatHappened)
{
  auto doc = test::makeDocumentWithEveryRecord();
  const std::string keptText = "前に保存した内容はそのまま残っています";
  // The folder is gone: nothing remains, and the message must not say it does.
  fs::create_directories(dir_ / "gone");
  ASSERT_TRUE(DocumentFile::writeToFile(*doc, (dir_ / "gone" / "b.kivo").string()).ok());
  fs::remove_all(dir_ / "gone");
  DocumentFile::Result r = DocumentFile::writeToFile(*doc, (dir_ / "gone" / "b.kivo").string());
  EXPECT_EQ(r.status, Status::WriteFailed);
  EXPECT_EQ(r.message.find(keptText), std::string::npos) << r.message;
  // The file is there: it is kept, and the message says so.
  ASSERT_TRUE(DocumentFile::writeToFile(*doc, (dir_ / "b.kivo").string()).ok());
  const DocumentFile::WriteFault fault{10, false, false};
  r = DocumentFile::writeToFile(*doc, (dir_ / "b.kivo").string(), &fault);
  EXPECT_NE(r.message.find(keptText), std::string::npos) << r.message;

  // Damage to the version field or junk after the signature is damage, not a newer
  // program's file.
  const std::string data = DocumentFile::dataOfDocument(*doc);
  std::string version = data;
  version[11] = 0x40;
  std::string junk = "KIVOSAVN";
  for (int i = 0; i < 600; ++i) junk.push_back(static_cast<char>(i * 7 + 3));
  EXPECT_EQ(statusOf(version), Status::Damaged);
  EXPECT_EQ(statusOf(junk), Status::Damaged);
}

TEST_F(DocumentFileSafetyTest, ASaveKeepsTheOwnerGroupAndPermissions)
{
  if (::geteuid() != 0) GTEST_SKIP() << "needs to be able to give files away";
  auto doc = test::makeDocumentWithEveryRecord();
  const fs::path path = dir_ / "shared.kivo";
  ASSERT_TRUE(DocumentFile::writeToFile(*doc, path.string()).ok());
  ASSERT_EQ(::chown(path.c_str(), 4242, 4343), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0660), 0);
  ASSERT_TRUE(DocumentFile::writeToFile(*doc, path.string()).ok());
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4242u);
  EXPECT_EQ(st.st_gid, 4343u);
  EXPECT_EQ(st.st_mode & 07777, 0660u);
}

}  // namespace
}  // namespace kivo
