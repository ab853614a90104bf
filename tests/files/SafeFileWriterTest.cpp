#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "files/ReportTextExporter.h"
#include "files/SafeFileWriter.h"
#include "support/AccessControl.h"
#include "support/AnotherUser.h"
#include "support/KilledWrite.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

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
    fs::last_write_time(p, fs::file_time_type::clock::now() - 1h);
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
  const std::string books = path("books.kivo"), report = path("report.txt"), partial = "KIVOSAVN a partial save";
  std::ofstream(books) << "KIVOSAVN the books";
  // Young until dated back below, so that one write killed does not clear another's.
  const auto killed = [](const std::string& file, std::string_view bytes) {
    return test::temporaryOfKilledWrite(file, bytes, file.ends_with(".kivo") ? "KIVOSAVN" : "", false);
  };
  const auto named = [&](const std::string& name, std::string_view bytes) {
    writeOld(path(name), bytes);
    return path(name);
  };
  // A temporary's name for books.kivo with its last check digit changed, or its digits
  // (the sixteen before ".tmp") in capitals.
  const auto misnamed = [](bool capitals) {
    std::string name = SafeFileWriter::temporaryFileName("books.kivo", 255, 0xabcdef12);
    const auto digits = name.end() - 20;
    if (capitals)
      std::transform(digits, digits + 16, digits, [](char c) { return std::toupper(c); });
    else
      digits[15] = digits[15] == '0' ? '1' : '0';
    return name;
  };
  const std::string justBegun = killed(books, partial), inProgress = killed(books, partial),
                    linked = killed(books, partial);
  const int held = ::open(inProgress.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  fs::create_hard_link(linked, path("its-other-link"));
  const std::string symlink = path(SafeFileWriter::temporaryFileName("books.kivo", 255, 99));
  fs::create_symlink(named("pointed-to", "KIVOSAVN"), symlink);

  // Every file beside the two, and whether the next write of its file removes it.
  std::vector<std::tuple<const char*, std::string, bool>> files = {
      {"a killed save", killed(books, partial), true},
      {"a save killed before its first byte", killed(books, ""), true},
      {"a save killed after three bytes", killed(books, "KIV"), true},
      {"a killed export", killed(report, "1\t2\r3"), true},
      {"an export killed before its first byte", killed(report, ""), true},
      {"a note under an export's temporary's name",
       named(SafeFileWriter::temporaryFileName("report.txt", 255, 7), "my notes\nmore\r"), false},
      {"a line with no ending under an export's temporary's name",
       named(SafeFileWriter::temporaryFileName("report.txt", 255, 8), "my notes"), false},
      {"a file named as earlier versions named temporaries", named(".books.kivo.Ab12Cd", partial), false},
      {"a wrong check", named(misnamed(false), partial), false},
      {"check digits in capitals", named(misnamed(true), partial), false},
      {"a note under a temporary's name", named(SafeFileWriter::temporaryFileName("books.kivo", 255, 7), "my notes"),
       false},
      {"a save in progress", inProgress, false},
      {"a save just begun", justBegun, false},
      {"a leftover linked elsewhere", linked, false},
      {"a link named as a temporary", symlink, false},
      {"what the link points to", path("pointed-to"), false},
      {"a temporary of another file", killed(path("other.kivo"), partial), false},
  };
  // Another user's leftover is theirs to clear.
  if (::geteuid() == 0) {
    files.emplace_back("another user's leftover", killed(books, partial), false);
    ASSERT_EQ(::chown(std::get<1>(files.back()).c_str(), 4242, 4343), 0);
  }
  for (const auto& [what, p, removed] : files) {
    ASSERT_TRUE(fs::exists(fs::symlink_status(p))) << what;
    if (p != justBegun) fs::last_write_time(p, fs::file_time_type::clock::now() - 1h);
  }
  SafeFileWriter save(books, "KIVOSAVN");
  ASSERT_TRUE(save.open() && save.write("KIVOSAVN new") && save.commit()) << save.error();
  ASSERT_TRUE(ReportTextExporter::writeData(report, "1\t2\r").ok());
  ::close(held);
  for (const auto& [what, p, removed] : files) EXPECT_EQ(fs::exists(fs::symlink_status(p)), !removed) << what;
}

TEST_F(SafeFileWriterTest, ANewFileTakesTheModeTheUmaskGivesAndAReplacedOneKeepsItsOwn)
{
  const mode_t saved = ::umask(022);
  // A new file, and one removed while it was being written, take the umask's mode; one
  // replaced keeps its own, and its new contents are this user's alone until then.
  for (const auto& [mask, mode] : {std::pair(077u, 0600u), {002u, 0664u}}) {
    ::umask(mask);
    const std::string fresh = path("new" + std::to_string(mask)), gone = path("gone" + std::to_string(mask)),
                      kept = path("kept" + std::to_string(mask));
    std::ofstream(gone) << "old";
    std::ofstream(kept) << "old";
    ASSERT_EQ(::chmod(kept.c_str(), 0604), 0);
    SafeFileWriter a(fresh), b(gone), c(kept);
    ASSERT_TRUE(a.open() && b.open() && c.open() && c.write("new"));
    EXPECT_EQ(modeOf(c.temporaryPath()), 0600u);
    fs::remove(gone);
    ASSERT_TRUE(a.commit() && b.commit() && c.commit());
    EXPECT_EQ(std::tuple(modeOf(fresh), modeOf(gone), modeOf(kept)), std::tuple(mode, mode, 0604u)) << std::oct << mask;
  }
  ::umask(saved);
}

TEST_F(SafeFileWriterTest, AReplacedFileKeepsItsAclAndUserAttributesAndIsNeverMoreOpen)
{
  // In a folder whose default ACL lets another user and the owning group write what
  // is made there, as it lets the temporary.
  const std::string folder = path("shared");
  fs::create_directories(folder);
  if (!test::setAcl(folder, test::kDefaultAcl, 4242, 6) || ::setxattr(folder.c_str(), "user.note", "", 0, 0) != 0)
    GTEST_SKIP() << "no ACLs or user attributes here";
  // (the file, whether it has an ACL of its own, whether that cannot be given; what
  // it has after a write, where not what it had). Where the ACL cannot be given, the
  // owning group still only reads, and nobody's entry goes.
  const std::tuple<std::string, bool, bool, const char*> cases[] = {
      {"with its own ACL", true, false, ""},
      {"whose ACL cannot be given", true, true, "0640 user.note=kept"},
      {"without an ACL", false, false, ""},
  };
  for (const auto& [name, ownAcl, aclFails, after] : cases) {
    const std::string file = folder + "/" + name;
    std::ofstream(file) << "old";
    ASSERT_TRUE(ownAcl ? test::shareWithNobody(file)
                       : ::removexattr(file.c_str(), test::kAccessAcl) == 0 && ::chmod(file.c_str(), 0660) == 0);
    ASSERT_EQ(::setxattr(file.c_str(), "user.note", "kept", 4, 0), 0);
    const std::string before = test::accessOf(file);
    SafeFileWriter::Fault fault;
    fault.failToGiveAcl = aclFails;
    SafeFileWriter out(file, std::string(), &fault);
    ASSERT_TRUE(out.open() && out.write("new") && out.commit()) << out.error();
    EXPECT_EQ(test::accessOf(file), *after ? after : before) << name;
  }
}

TEST_F(SafeFileWriterTest, AWriteNeverChangesWhoMayReadOrWriteTheFileItReplaces)
{
  if (::geteuid() != 0) GTEST_SKIP() << "only the super-user can write as another user";
  // The books of user 2001 (or of the saver, 2002) in group 4000, which the saver is
  // not in unless said; the owner and user 2002 may write them, the group read them.
  // (what, the set-group folder's group (0: none), the file's owner and group, the
  // saver and its groups, whether the file is replaced)
  struct Case {
    const char* what;
    gid_t folderGroup;
    uid_t owner;
    gid_t group;
    uid_t saver;
    std::vector<gid_t> saverGroups;
    bool replaced;
  };
  const Case cases[] = {
      {"another user's file", 0, 2001, 4000, 2002, {2002}, false},
      {"another user's file in a group of the saver's", 0, 2001, 4000, 2002, {2002, 4000}, false},
      {"the saver's file in a group it is not in", 0, 2002, 4000, 2002, {2002}, false},
      {"the saver's file in a set-group folder of another group", 5000, 2002, 4000, 2002, {2002}, false},
      {"the saver's file in the set-group folder's group", 5000, 2002, 5000, 2002, {2002}, true},
      {"the saver's file in a group of the saver's", 0, 2002, 4000, 2002, {2002, 4000}, true},
      {"the super-user saving another user's file", 0, 2001, 4000, 0, {0}, true},
  };
  ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string folder = path("case" + std::to_string(++n)), file = folder + "/books.kivo";
    fs::create_directories(folder);
    ASSERT_EQ(::chown(folder.c_str(), 0, c.folderGroup), 0);
    ASSERT_EQ(::chmod(folder.c_str(), c.folderGroup ? 02777 : 0777), 0);
    std::ofstream(file) << "KIVOSAVN the old books";
    ASSERT_EQ(::chown(file.c_str(), c.owner, c.group), 0);
    if (!test::setAcl(file, test::kAccessAcl, 2002, 4) || ::setxattr(file.c_str(), "user.note", "kept", 4, 0) != 0)
      GTEST_SKIP() << "no ACLs or user attributes here";
    const std::string before = test::accessOf(file);

    const std::optional<std::string> said = test::asAnotherUser(c.saver, c.saverGroups, [&] {
      SafeFileWriter out(file, "KIVOSAVN");
      if (out.open() && out.write("KIVOSAVN the new books") && out.commit()) return std::string("replaced");
      return (out.ownershipNotKept() ? "refused: " : "failed: ") + out.reason();
    });
    ASSERT_TRUE(said.has_value());
    EXPECT_EQ(*said,
              c.replaced ? std::string("replaced") : "refused: " + std::string(SafeFileWriter::kOwnershipNotKeptText));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, test::accessOf(file)), std::tuple(c.owner, c.group, before));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              c.replaced ? "KIVOSAVN the new books" : "KIVOSAVN the old books");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  }

  // A text export refused so says why, and leaves the file as it was.
  const std::string report = path("case1/report.txt");
  std::ofstream(report) << "1\t2\r";
  ASSERT_EQ(::chown(report.c_str(), 2001, 4000), 0);
  const std::optional<std::string> said =
      test::asAnotherUser(2002, {2002}, [&] { return ReportTextExporter::writeData(report, "3\t4\r").message; });
  EXPECT_EQ(said,
            "ファイル「" + report + "」に書き出せませんでした（" + SafeFileWriter::kOwnershipNotKeptText + "）。");
}

}  // namespace
}  // namespace kivo
