#include <gtest/gtest.h>

#include "fields/AmountFormatter.h"
#include "fields/FieldsTestDocument.h"

namespace kivo {
namespace {

TEST(AmountFormatter, ReadsInputAmountsExactly)
{
  const char* negative = "マイナスの金額は入力できません。";
  const char* over = "入力できる金額の上限を超えています。";
  const char* invalid = "無効な金額です。";
  const auto amount = [](int64_t units) { return std::optional(FieldValue::amount(units)); };
  const struct {
    int precision;
    const char* typed;
    std::optional<FieldValue> value;  // nullopt: refused
    const char* error = "";
  } cases[] = {
      {0, "1234", amount(1234)},
      {0, "1,234", amount(1234)},
      {0, "１２３", amount(123)},
      {0, "0", amount(0)},
      {0, "99999999999", amount(99'999'999'999)},
      {0, "99,999,999,999", amount(99'999'999'999)},
      {0, "100000000000", std::nullopt, over},
      {0, "-1", std::nullopt, negative},
      {0, "1.5", std::nullopt, "小数点以下は入力できません。"},
      {0, "abc", std::nullopt, invalid},
      {0, ".", std::nullopt, invalid},
      // Above the limit however many digits, also past what 64 bits hold.
      {0, "9999999999999999", std::nullopt, over},
      {0, "99,999,999,999,999,999,999", std::nullopt, over},
      {0, "99999999999999999999999", std::nullopt, over},
      {0, "1e20", std::nullopt, invalid},
      {1, "1.5", amount(15)},
      {1, "1", amount(10)},
      {1, "1.55", std::nullopt, "小数点以下は1桁までです。"},
      {1, "9999999999.9", amount(99'999'999'999)},
      {1, "10000000000", std::nullopt, over},
      {2, "1.15", amount(115)},  // not 114.99999...
      {2, "0.29", amount(29)},
      {2, "4.35", amount(435)},
      {2, "1.155", std::nullopt, "小数点以下は2桁までです。"},
      {2, "1.150", std::nullopt, "小数点以下は2桁までです。"},
      {2, "999999999.99", amount(99'999'999'999)},
      {2, "1000000000", std::nullopt, over},
      {2, "12345678901234567.5", std::nullopt, over},
      {2, "", FieldValue::text("")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.precision);
    AmountFormatter f(c.precision);
    test::expectRead(f, c.typed, c.value, c.error);
  }
}

TEST(AmountFormatter, ShowsAndReadsBackAtEachPrecisionAndUnlimitedFieldsTakeSignedAmounts)
{
  // The decimal places, the stored units and their text.
  const std::tuple<int, int64_t, const char*> cases[] = {
      {0, 1'234'567, "1,234,567"},          {0, 0, "0"}, {1, 15, "1.5"}, {1, 0, "0.0"}, {2, 29, "0.29"},
      {2, 99'999'999'999, "999,999,999.99"}};
  for (const auto& [precision, units, shown] : cases) {
    AmountFormatter f(precision);
    EXPECT_EQ(f.stringForObjectValue(FieldValue::amount(units)), shown);
    test::expectRead(f, shown, FieldValue::amount(units));
  }

  // Unlimited fields take signed amounts.
  AmountFormatter f(2, AmountFormatter::Range::Unlimited);
  EXPECT_EQ(f.stringForObjectValue(FieldValue::amount(-115)), "-1.15");
  test::expectRead(f, "-1.15", FieldValue::amount(-115));
  test::expectRead(f, "1,000,000,000,000", FieldValue::amount(100'000'000'000'000));
  test::expectRead(f, "-123456789012345678", std::nullopt, "入力できる金額の上限を超えています。");
  EXPECT_TRUE(f.isPartialStringValid("-12"));
}

TEST(AmountFormatter, PartialStrings)
{
  // The decimal places, the partial text and whether it may be typed on.
  const std::tuple<int, const char*, bool> cases[] = {
      {0, "", true},           {0, "1,234", true},  {0, "12345678901", true}, {0, "123456789012", false},
      {0, "1.", false},        {0, "-1", false},    {0, "1a", false},         {0, "１２", true},
      {1, "1.", true},         {1, "1.5", true},    {1, "1.55", false},       {1, "12345678901", false},
      {2, "1.23", true},       {2, "1.234", false}, {2, "1.2.3", false},      {2, "123456789", true},
      {2, "1234567890", false}};
  for (const auto& [precision, text, ok] : cases) {
    AmountFormatter f(precision);
    EXPECT_EQ(f.isPartialStringValid(text), ok) << text << " at precision " << precision;
  }
}

}  // namespace
}  // namespace kivo
