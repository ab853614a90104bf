#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kivo
