#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/ReportTextExporter.h"
#include "model/Kaisya.h"
#include "support/AccessControl.h"
#include "support/KilledWrite.h"
#include "trial/Shisan.h"
#include "trial/ShisanTextFields.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
constexpr int64_t kMax = 999'999'999'999LL;

// Passes text through, but refuses the WAVE DASH (U+301C), which code page 932
// cannot hold.
bool passThroughEncoder(std::string_view utf8, std::string& out)
{
  if (utf8.find("\xE3\x80\x9C") != std::string_view::npos) return false;
  out.append(utf8);
  return true;
}

Shisan row(const std::string& title, int32_t code, int64_t kaishi, int64_t kari, int64_t kashi, int64_t syuuryou)
{
  Shisan r;
  r.setTitle(title);
  r.setKamokuCode(code);
  r.setKaishiZandaka(kaishi);
  r.setKarikataGoukei(kari);
  r.setKashikataGoukei(kashi);
  r.setSyuuryouZandaka(syuuryou);
  return r;
}

std::string readFile(const fs::path& p)
{
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class ShisanTextFieldsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    dir = fs::temp_directory_path() / ("kivo-export-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    Shisan heading = row("売上高", ShisanHeadingRowCode, 0, 0, 0, 0);
    Shisan sales = row("　売上高", 300, -1200, kMax, kMax + 1, 5);
    sales.setPercent(12.5);
    sales.setIsValidPercent(true);
    Shisan total = row("　　売上高合計", ShisanSubtotalRowCode, 0, 0, 0, -(kMax + 1));
    rows = {heading, sales, total};
  }
  void TearDown() override { fs::remove_all(dir); }

  std::vector<std::string> filesInDir() const
  {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    return out;
  }

  std::vector<std::vector<std::string>> lines(const std::vector<Shisan>& shown) const
  {
    return ShisanTextFields(kaisya).zandakaShisanLines(shown);
  }

  fs::path dir;
  Kaisya kaisya;
  std::vector<Shisan> rows;
};

TEST_F(ShisanTextFieldsTest, TabAndCommaLinesWithFieldsQuotedAsNeeded)
{
  const std::string tab =
      "売上高\t\t\t\t\t\r"
      "　売上高\t-1200\t999999999999\t#Precision!\t5\t12.50\r"
      "　　売上高合計\t0\t0\t0\t#Precision!\t\r";
  const std::string comma =
      "売上高,,,,,\r"
      "　売上高,-1200,999999999999,#Precision!,5,12.50\r"
      "　　売上高合計,0,0,0,#Precision!,\r";
  for (auto [kugiri, expected] :
       {std::pair{ReportTextExporter::Kugiri::Tab, tab}, std::pair{ReportTextExporter::Kugiri::Comma, comma}}) {
    const ReportTextExporter e(kugiri);
    std::string data;
    ASSERT_TRUE(
        e.encodeLines(ShisanTextFields(kaisya).zandakaShisanLines(rows), passThroughEncoder, nullptr, data).ok());
    EXPECT_EQ(data, expected);
  }
  using K = ReportTextExporter::Kugiri;
  EXPECT_EQ(std::tuple(ReportTextExporter::kugiriOfCode(0), ReportTextExporter::kugiriOfCode(1),
                       ReportTextExporter::kugiriOfCode(7)),
            std::tuple(K::Tab, K::Comma, K::Comma));

  // Comma mode quotes the fields that need it.
  rows = {row("現金,小口", 100, 1, 2, 3, 4), row("say \"hi\"", 101, 0, 0, 0, 0), row("a\tb", 102, 0, 0, 0, 0)};
  std::string data;
  const ReportTextExporter quoting(ReportTextExporter::Kugiri::Comma);
  ASSERT_TRUE(
      quoting.encodeLines(ShisanTextFields(kaisya).zandakaShisanLines(rows), passThroughEncoder, nullptr, data).ok());
  EXPECT_EQ(data, "\"現金,小口\",1,2,3,4,\r\"say \"\"hi\"\"\",0,0,0,0,\ra\tb,0,0,0,0,\r");
  const ReportTextExporter plain(ReportTextExporter::Kugiri::Tab);
  ASSERT_TRUE(
      plain.encodeLines(ShisanTextFields(kaisya).zandakaShisanLines({rows[0]}), passThroughEncoder, nullptr, data)
          .ok());
  EXPECT_EQ(data, "現金,小口\t1\t2\t3\t4\t\r");
}

TEST_F(ShisanTextFieldsTest, WritesAndReplacesTheFileWithNothingLeftBesideUnlessTheCodePageCannotHoldIt)
{
  const fs::path file = dir / "shisan.txt";
  {
    std::ofstream old(file, std::ios::binary);
    old << "an older, longer file that must be replaced entirely";
  }
  // Text the code page cannot hold stops the export with a message and leaves the file.
  std::vector<Shisan> unencodable = rows;
  unencodable[1].setTitle("　売上〜返品");
  const ReportTextExporter comma(ReportTextExporter::Kugiri::Comma);
  const auto result = comma.writeLines(lines(unencodable), file.string(), passThroughEncoder, nullptr);
  EXPECT_EQ(
      std::tuple(result.status, result.lineNumber, result.text, result.character, readFile(file), filesInDir().size()),
      std::tuple(ReportTextExporter::Result::Status::Unencodable, 2, "　売上〜返品", "〜",
                 "an older, longer file that must be replaced entirely", 1u));
  EXPECT_NE(result.message.find("2行目"), std::string::npos);
  EXPECT_NE(result.message.find("　売上〜返品"), std::string::npos);

  const ReportTextExporter e(ReportTextExporter::Kugiri::Tab);
  ASSERT_TRUE(e.writeLines(lines({rows[1]}), file.string(), passThroughEncoder, nullptr).ok());
  EXPECT_EQ(readFile(file), "　売上高\t-1200\t999999999999\t#Precision!\t5\t12.50\r");
  EXPECT_EQ(filesInDir(), std::vector<std::string>({"shisan.txt"}));
  // An empty section gives an empty file.
  ASSERT_TRUE(e.writeLines(lines({}), file.string(), passThroughEncoder, nullptr).ok());
  EXPECT_EQ(fs::file_size(file), 0u);
}

TEST_F(ShisanTextFieldsTest, CancelWritesNothingAndAFailedWriteIsReported)
{
  const fs::path file = dir / "shisan.txt";
  int polls = 0;
  const ReportTextExporter e(ReportTextExporter::Kugiri::Tab);
  const auto result = e.writeLines(lines(rows), file.string(), passThroughEncoder, [&] { return ++polls < 2; });
  EXPECT_EQ(std::tuple(result.status, polls, result.message, filesInDir().size()),
            std::tuple(ReportTextExporter::Result::Status::Cancelled, 2, "", 0u));

  // A failed write is reported, with its reason in Japanese.
  const fs::path missing = dir / "missing" / "shisan.txt";
  const auto failed = e.writeLines(lines(rows), missing.string(), passThroughEncoder, nullptr);
  EXPECT_EQ(failed.status, ReportTextExporter::Result::Status::WriteFailed);
  EXPECT_EQ(failed.message,
            "ファイル「" + missing.string() + "」に書き出せませんでした（ファイルまたはフォルダが見つかりません）。");
  // A directory in the file's place: the rename fails and the temporary goes away.
  fs::create_directories(dir / "occupied" / "inside");
  const auto occupied = e.writeLines(lines(rows), (dir / "occupied").string(), passThroughEncoder, nullptr);
  EXPECT_EQ(occupied.status, ReportTextExporter::Result::Status::WriteFailed);
  EXPECT_NE(occupied.message.find("（同じ名前のフォルダがあります）"), std::string::npos) << occupied.message;
  EXPECT_EQ(filesInDir(), std::vector<std::string>({"occupied"}));
}

TEST_F(ShisanTextFieldsTest, AnExportIsWrittenAsADocumentIsSaved)
{
  const ReportTextExporter e(ReportTextExporter::Kugiri::Tab);
  const auto exportTo = [&](const fs::path& p) {
    return e.writeLines(lines(rows), p.string(), passThroughEncoder, nullptr);
  };
  // Through a link: the link stays, the file it names gets the lines.
  fs::create_directories(dir / "real");
  std::ofstream(dir / "real" / "target.txt") << "old";
  fs::create_symlink("real/target.txt", dir / "link.txt");
  ASSERT_TRUE(exportTo(dir / "link.txt").ok());
  EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
  EXPECT_NE(readFile(dir / "real" / "target.txt"), "old");
  // A name as long as the folder takes (its temporary is shortened), and what a killed
  // export of the same file left is removed; the user's own file of a name like the
  // temporaries of earlier versions stays.
  std::string longName(251, 'a');
  longName += ".txt";
  const fs::path leftover = test::temporaryOfKilledWrite((dir / "shisan.txt").string(), "1\t2\rpartial");
  ASSERT_FALSE(leftover.empty());
  const fs::path notes = dir / ".shisan.txt.notes1";
  std::ofstream(notes) << "the user's notes";
  fs::last_write_time(notes, fs::file_time_type::clock::now() - std::chrono::hours(1));
  for (const fs::path& p : {dir / longName, dir / "shisan.txt"}) EXPECT_TRUE(exportTo(p).ok()) << p;
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(fs::exists(notes));
  // A file shared through an ACL stays shared as it was.
  EXPECT_TRUE(test::keepsAccess((dir / "shisan.txt").string(), [&] { return exportTo(dir / "shisan.txt").ok(); }));
  // A private file of another user stays private and theirs.
  if (::geteuid() != 0) GTEST_SKIP() << "needs to be able to give files away";
  ASSERT_EQ(::chown((dir / "shisan.txt").c_str(), 4242, 4343), 0);
  ASSERT_EQ(::chmod((dir / "shisan.txt").c_str(), 0600), 0);
  ASSERT_TRUE(exportTo(dir / "shisan.txt").ok());
  struct stat st {};
  ASSERT_EQ(::stat((dir / "shisan.txt").c_str(), &st), 0);
  EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777), std::tuple(4242u, 4343u, 0600u));
}

}  // namespace
}  // namespace kivo
