#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "files/SafeFileWriter.h"
#include "support/KilledWrite.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

class SafeFileWriterTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    dir_ = fs::temp_directory_path() / ("kivo-safewrite-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static void writeOld(const std::string& p, std::string_view bytes)
  {
    std::ofstream(p, std::ios::binary) << bytes;
    fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  static unsigned modeOf(const std::string& p)
  {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  }

  fs::path dir_;
};

TEST_F(SafeFileWriterTest, AWriteRemovesWhatAKilledWriteLeftAndNeverAFileOfTheUser)
{
  const std::string books = path("books.kivo"), report = path("report.txt");
  std::ofstream(books) << "KIVOSAVN the books";
  const std::string bookBytes = "KIVOSAVN\x03\0\0\0 a partial save";
  // Every file beside the two that a write finds, made as said, and whether the next
  // write of its file may remove it.
  struct Case {
    const char* what;
    std::function<std::string()> make;
    bool removed;
  };
  int held = -1;
  std::vector<std::string> keptToo;  // what a case links to, which must stay
  const Case cases[] = {
      {"a killed save", [&] { return test::temporaryOfKilledWrite(books, bookBytes, "KIVOSAVN"); }, true},
      {"a save killed before its first byte", [&] { return test::temporaryOfKilledWrite(books, "", "KIVOSAVN"); },
       true},
      {"a save killed after three bytes", [&] { return test::temporaryOfKilledWrite(books, "KIV", "KIVOSAVN"); }, true},
      {"a killed export", [&] { return test::temporaryOfKilledWrite(report, "1\t2\n3", ""); }, true},
      // Files of the user, named like the temporaries of earlier versions (a dot, the
      // file's name, a dot and six characters), and copies of the books among them.
      {"the user's .books.kivo.backup", [&] { return path(".books.kivo.backup"); }, false},
      {"the user's copy .books.kivo.2024v1", [&] { return path(".books.kivo.2024v1"); }, false},
      {"the user's .report.txt.notes1", [&] { return path(".report.txt.notes1"); }, false},
      {"a leftover of the earlier naming", [&] { return path(".books.kivo.Ab12Cd"); }, false},
      // Named as ours but not vouched for by its check digits.
      {"a wrong check",
       [&] {
         std::string name = SafeFileWriter::temporaryFileName("books.kivo", 255, 0x12345678);
         name[name.size() - 5] = name[name.size() - 5] == '0' ? '1' : '0';
         return path(name);
       },
       false},
      {"check digits in capitals",
       [&] {
         std::string name = SafeFileWriter::temporaryFileName("books.kivo", 255, 0xabcdef12);
         for (char& c : name)
           if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
         return path(name);
       },
       false},
      // Named as ours, but what is in it is no document.
      {"a note under a temporary's name",
       [&] {
         const std::string p = path(SafeFileWriter::temporaryFileName("books.kivo", 255, 7));
         writeOld(p, "my notes");
         return p;
       },
       false},
      // Ours but not left: a write holds it, or it is a moment old.
      {"a save in progress",
       [&] {
         const std::string p = test::temporaryOfKilledWrite(books, bookBytes, "KIVOSAVN");
         held = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
         EXPECT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
         return p;
       },
       false},
      {"a save just begun", [&] { return test::temporaryOfKilledWrite(books, bookBytes, "KIVOSAVN", false); }, false},
      // Another name for it now belongs to someone: both stay.
      {"a leftover linked elsewhere",
       [&] {
         const std::string p = test::temporaryOfKilledWrite(books, bookBytes, "KIVOSAVN");
         keptToo.push_back(path("kept-link"));
         fs::create_hard_link(p, keptToo.back());
         return p;
       },
       false},
      {"a link named as a temporary",
       [&] {
         const std::string p = path(SafeFileWriter::temporaryFileName("books.kivo", 255, 99));
         keptToo.push_back(path("pointed-to"));
         writeOld(keptToo.back(), "KIVOSAVN");
         fs::create_symlink("pointed-to", p);
         return p;
       },
       false},
      {"a temporary of another file", [&] { return test::temporaryOfKilledWrite(path("other.kivo"), bookBytes); },
       false},
  };
  std::vector<std::string> made;
  for (const Case& c : cases) {
    const std::string p = c.make();
    ASSERT_FALSE(p.empty()) << c.what;
    if (!fs::exists(fs::symlink_status(p))) writeOld(p, bookBytes);
    made.push_back(p);
  }
  // Another user's leftover is theirs to clear.
  std::string othersLeftover;
  if (::geteuid() == 0) {
    othersLeftover = test::temporaryOfKilledWrite(books, bookBytes, "KIVOSAVN");
    ASSERT_EQ(::chown(othersLeftover.c_str(), 4242, 4343), 0);
  }

  for (const auto& [file, signature] : {std::pair(books, "KIVOSAVN"), std::pair(report, "")}) {
    SafeFileWriter out(file, signature);
    ASSERT_TRUE(out.open() && out.write("KIVOSAVN new") && out.commit()) << out.error();
  }
  ::close(held);
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(fs::exists(fs::symlink_status(made[i])), !cases[i].removed) << cases[i].what;
  for (const std::string& p : keptToo) EXPECT_TRUE(fs::exists(p)) << p;
  if (!othersLeftover.empty()) { EXPECT_TRUE(fs::exists(othersLeftover)); }
}

TEST_F(SafeFileWriterTest, ANewFileTakesTheModeTheUmaskGivesAndAReplacedOneKeepsItsOwn)
{
  const mode_t saved = ::umask(022);
  // (umask, what a new file gets)
  for (const auto& [mask, mode] : {std::pair(077u, 0600u), {027u, 0640u}, {022u, 0644u}, {002u, 0664u}}) {
    ::umask(mask);
    EXPECT_EQ(SafeFileWriter::newFileMode(), mode) << std::oct << mask;
    const std::string fresh = path("new-" + std::to_string(mask) + ".txt");
    SafeFileWriter out(fresh);
    ASSERT_TRUE(out.open() && out.write("lines"));
    EXPECT_EQ(modeOf(out.temporaryPath()), mode) << std::oct << mask;
    ASSERT_TRUE(out.commit());
    EXPECT_EQ(modeOf(fresh), mode) << std::oct << mask;

    // A file replaced keeps its mode; its contents are this user's alone until then.
    const std::string kept = path("kept-" + std::to_string(mask) + ".txt");
    std::ofstream(kept) << "old";
    ASSERT_EQ(::chmod(kept.c_str(), 0604), 0);
    SafeFileWriter again(kept);
    ASSERT_TRUE(again.open() && again.write("new"));
    EXPECT_EQ(modeOf(again.temporaryPath()), 0600u);
    ASSERT_TRUE(again.commit());
    EXPECT_EQ(modeOf(kept), 0604u);

    // One removed while it was being written becomes a new file.
    const std::string gone = path("gone-" + std::to_string(mask) + ".txt");
    std::ofstream(gone) << "old";
    SafeFileWriter late(gone);
    ASSERT_TRUE(late.open() && late.write("new"));
    fs::remove(gone);
    ASSERT_TRUE(late.commit());
    EXPECT_EQ(modeOf(gone), mode) << std::oct << mask;
  }
  ::umask(saved);
}

}  // namespace
}  // namespace kivo
