#include <gtest/gtest.h>

#include "fields/FieldText.h"

namespace kivo {
namespace {

TEST(FieldText, FullWidthFormsReadAsAscii)
{
  const std::pair<const char*, const char*> cases[] = {
      {"１２３", "123"},        {"ＧＥＮｋｉｎ", "GENkin"}, {"４／１", "4/1"}, {"１，２３４．５", "1,234.5"},
      {"a　b", "a b"},          {"現金", "現金"},           {"－１", "-1"},    {"～", "~"},
      {"\xEF\xBC", "\xEF\xBC"},  // cut sequence kept
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(FieldText::halfWidth(in), out) << in;
  EXPECT_EQ(FieldText::normalizedInput("　１００ "), "100");
  EXPECT_EQ(FieldText::characterCount("a現金ｂ"), 4u);
}

}  // namespace
}  // namespace kivo
