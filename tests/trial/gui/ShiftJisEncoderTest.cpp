#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/Kaisya.h"
#include "trial/Shisan.h"
#include "trial/gui/ShiftJisEncoder.h"

namespace kivo {
namespace {

std::string bytes(std::initializer_list<int> values)
{
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(ShiftJisEncoderTest, CodePage932Bytes)
{
  struct Case {
    const char* text;
    std::string expected;
  };
  const Case cases[] = {
      {"abc\\~09", "abc\\~09"},  // ASCII kept, backslash and tilde included
      {"現金", bytes({0x8C, 0xBB, 0x8B, 0xE0})},
      {"　", bytes({0x81, 0x40})},  // ideographic space
      {"～", bytes({0x81, 0x60})},  // U+FF5E, where plain Shift_JIS has U+301C
      {"－", bytes({0x81, 0x7C})},  // U+FF0D, where plain Shift_JIS has U+2212
      {"∥", bytes({0x81, 0x61})},   // U+2225, where plain Shift_JIS has U+2016
      {"￢", bytes({0x81, 0xCA})},  // U+FFE2, where plain Shift_JIS has U+00AC
      {"①", bytes({0x87, 0x40})},   // NEC special characters
      {"№", bytes({0x87, 0x82})},
      {"髙", bytes({0xFB, 0xFC})},  // IBM extension, preferred over the NEC-selected one
      {"ｱ", bytes({0xB1})},         // half-width katakana
      {"#Precision!", "#Precision!"},
  };
  for (const Case& c : cases) {
    std::string out = "x";
    ASSERT_TRUE(ShiftJisEncoder::encode(c.text, out)) << c.text;
    EXPECT_EQ(out, "x" + c.expected) << c.text;
  }
}

TEST(ShiftJisEncoderTest, RefusesWhatTheCodePageCannotHold)
{
  // WAVE DASH, DOUBLE VERTICAL LINE, MINUS SIGN, the yen sign, an emoji, a
  // character outside JIS, and malformed UTF-8.
  for (const char* text : {"〜", "‖", "−", "¥", "😀", "𠮷",
                           "a\xFF"
                           "b",
                           "\xE3\x81"}) {
    std::string out = "keep";
    EXPECT_FALSE(ShiftJisEncoder::encode(text, out)) << text;
    EXPECT_EQ(out, "keep");
  }
}

Shisan row(const std::string& title, int32_t code, int64_t kaishi, int64_t kari, int64_t kashi, int64_t syuuryou,
           double percent = 0.0, bool valid = false)
{
  Shisan r;
  r.setTitle(title);
  r.setKamokuCode(code);
  r.setKaishiZandaka(kaishi);
  r.setKarikataGoukei(kari);
  r.setKashikataGoukei(kashi);
  r.setSyuuryouZandaka(syuuryou);
  r.setPercent(percent);
  r.setIsValidPercent(valid);
  return r;
}

std::string readFile(const std::filesystem::path& p)
{
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(ShiftJisEncoderTest, ASmallTrialBalanceFileByteForByte)
{
  Kaisya kaisya;
  const std::vector<Shisan> rows = {
      row("現金", 100, -1000, 500, 300, -800, 40.0, true),
      row("売上高", ShisanHeadingRowCode, 0, 0, 0, 0),
      row("　資産合計", ShisanTotalRowCode, 0, 1'000'000'000'000LL, 0, 2000, 100.0, true),
  };
  const std::string genkin = bytes({0x8C, 0xBB, 0x8B, 0xE0});
  const std::string uriagedaka = bytes({0x94, 0x84, 0x8F, 0xE3, 0x8D, 0x82});
  const std::string shisangoukei = bytes({0x81, 0x40, 0x8E, 0x91, 0x8E, 0x59, 0x8D, 0x87, 0x8C, 0x76});
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kivo-sjis-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "shisan.txt").string();
  struct Case {
    ReportTextExporter::Kugiri kugiri;
    std::string expected;
  };
  const Case cases[] = {
      {ReportTextExporter::Kugiri::Tab, genkin + "\t-1000\t500\t300\t-800\t40.00\r" + uriagedaka + "\t\t\t\t\t\r" +
                                            shisangoukei + "\t0\t#Precision!\t0\t2000\t100.00\r"},
      {ReportTextExporter::Kugiri::Comma, genkin + ",-1000,500,300,-800,40.00\r" + uriagedaka + ",,,,,\r" +
                                              shisangoukei + ",0,#Precision!,0,2000,100.00\r"},
  };
  for (const Case& c : cases) {
    const ReportTextExporter e(kaisya, c.kugiri);
    ASSERT_TRUE(e.writeZandakaShisan(rows, file, ShiftJisEncoder::encoder(), nullptr).ok());
    EXPECT_EQ(readFile(file), c.expected);
  }
  // A caption the code page cannot hold stops the export; the file stays as it was.
  std::vector<Shisan> bad = rows;
  bad[2].setTitle("　資産〜合計");
  const auto result = ReportTextExporter(kaisya, ReportTextExporter::Kugiri::Tab)
                          .writeZandakaShisan(bad, file, ShiftJisEncoder::encoder(), nullptr);
  EXPECT_EQ(result.status, ReportTextExporter::Result::Status::Unencodable);
  EXPECT_EQ(result.lineNumber, 3);
  EXPECT_EQ(result.character, "〜");
  EXPECT_EQ(readFile(file), cases[1].expected);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kivo
