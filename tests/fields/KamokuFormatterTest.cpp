#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/KamokuFormatter.h"

namespace kivo {
namespace {

TEST(KamokuFormatter, ReadsCodesNamesAndKanaAndShowsNames)
{
  auto doc = test::makeFieldsTestDocument();
  const auto code = [](int32_t c) { return std::optional(FieldValue::code(c)); };
  // What a typed text reads as: a code (with the sub-account typed with it), or text
  // handed back for the picker.
  const struct {
    bool acceptSyokuchi;
    const char* typed;
    std::optional<FieldValue> value;
    int32_t hojyo = -1;
  } cases[] = {
      {false, "", FieldValue::text("")},
      {false, "100", code(100)},
      {false, " 100 ", code(100)},
      {false, "１００", code(100)},  // full-width digits
      {false, "1", code(100)},       // the first code beginning with the digits
      {false, "11", code(110)},
      {false, "111", code(111)},
      {true, "999", code(999)},
      {true, "諸口", code(999)},
      {false, "現金", code(100)},
      {false, "genkin", code(100)},  // an equal kana wins over longer ones
      {false, "ＧＥＮＫＩＮ", code(100)},
      {false, "GENKINK", code(199)},
      {false, "TO", code(110)},                 // one kana begins with it
      {false, "GEN", FieldValue::text("GEN")},  // several: the picker chooses
      {false, "t", FieldValue::text("t")},
      {false, "11001", code(110), 1},  // account and sub-account at once
      {false, "11010", code(110), 10},
      {false, "12001", code(120), 1},
  };
  for (const auto& c : cases) {
    KamokuFormatter f(*doc, c.acceptSyokuchi);
    test::expectRead(f, c.typed, c.value, "一致する勘定科目がありません。");
    EXPECT_EQ(f.inputedHojyoKamokuCode(), c.hojyo) << c.typed;
  }
  // Refused: inactive accounts (雑費, ZAPPI) and sub-accounts, 諸口 unless asked for, a
  // sub-account of an account without any, and what matches nothing.
  KamokuFormatter f(*doc, false);
  for (const char* bad : {"530", "999", "諸口", "ZAPPI", "XYZ", "現", "11003", "10001", "123456"})
    test::expectRead(f, bad, std::nullopt, "一致する勘定科目がありません。");

  // A typed sub-account lasts until the next accepted input.
  FieldValue v;
  ASSERT_TRUE(f.getObjectValue(v, "11002", nullptr));
  EXPECT_EQ(f.inputedHojyoKamokuCode(), 2);
  EXPECT_FALSE(f.getObjectValue(v, "XYZ", nullptr));
  EXPECT_EQ(f.inputedHojyoKamokuCode(), 2);
  ASSERT_TRUE(f.getObjectValue(v, "110", nullptr));
  EXPECT_EQ(f.inputedHojyoKamokuCode(), -1);

  // Shown: names of exact codes (an inactive account's too, not account 10 for 100),
  // 諸口 only when asked for, and text as it is.
  KamokuFormatter sundry(*doc, true);
  const std::pair<FieldValue, std::optional<std::string>> shown[] = {
      {FieldValue::code(100), "現金"},      {FieldValue::code(530), "雑費"},       {FieldValue::code(10), std::nullopt},
      {FieldValue::code(-1), std::nullopt}, {FieldValue::code(999), std::nullopt}, {FieldValue::text("GEN"), "GEN"},
      {FieldValue(), std::nullopt}};
  for (const auto& [value, name] : shown) EXPECT_EQ(f.stringForObjectValue(value), name);
  EXPECT_EQ(sundry.stringForObjectValue(FieldValue::code(999)), "諸口");

  // Every offered account reads back from the name it shows.
  for (const KamokuPtr& k : doc->codeSortedActiveKamokuArray())
    test::expectRead(sundry, *sundry.stringForObjectValue(FieldValue::code(k->code())), FieldValue::code(k->code()));
}

}  // namespace
}  // namespace kivo
