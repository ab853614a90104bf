#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/KamokuFormatter.h"

namespace kivo {
namespace {

// What a typed text reads as: refused, a code (with the sub-account typed with it),
// or text handed back for the picker.
struct ReadCase {
  bool acceptSyokuchi;
  const char* typed;
  enum { Refused, Code, Text } outcome;
  int32_t code = -1;
  int32_t hojyo = -1;
};

TEST(KamokuFormatter, ReadsCodesNamesAndKana)
{
  auto doc = test::makeFieldsTestDocument();
  const ReadCase cases[] = {
      {false, "", ReadCase::Text},
      {false, "100", ReadCase::Code, 100},
      {false, " 100 ", ReadCase::Code, 100},
      {false, "１００", ReadCase::Code, 100},  // full-width digits
      {false, "1", ReadCase::Code, 100},       // the first code beginning with the digits
      {false, "11", ReadCase::Code, 110},
      {false, "111", ReadCase::Code, 111},
      {false, "530", ReadCase::Refused},  // inactive account
      {false, "999", ReadCase::Refused},
      {true, "999", ReadCase::Code, 999},
      {false, "諸口", ReadCase::Refused},
      {true, "諸口", ReadCase::Code, 999},
      {false, "現金", ReadCase::Code, 100},
      {false, "genkin", ReadCase::Code, 100},  // an equal kana wins over longer ones
      {false, "ＧＥＮＫＩＮ", ReadCase::Code, 100},
      {false, "GENKINK", ReadCase::Code, 199},
      {false, "TO", ReadCase::Code, 110},  // one kana begins with it
      {false, "GEN", ReadCase::Text},      // several: the picker chooses
      {false, "t", ReadCase::Text},
      {false, "ZAPPI", ReadCase::Refused},  // inactive
      {false, "XYZ", ReadCase::Refused},
      {false, "現", ReadCase::Refused},
      {false, "11001", ReadCase::Code, 110, 1},  // account and sub-account at once
      {false, "11010", ReadCase::Code, 110, 10},
      {false, "11003", ReadCase::Refused},  // inactive sub-account
      {false, "10001", ReadCase::Refused},  // account without sub-accounts
      {false, "12001", ReadCase::Code, 120, 1},
      {false, "123456", ReadCase::Refused},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.typed);
    KamokuFormatter f(*doc, c.acceptSyokuchi);
    FieldValue v = FieldValue::code(-7);
    std::string error;
    const bool ok = f.getObjectValue(v, c.typed, &error);
    switch (c.outcome) {
    case ReadCase::Refused:
      EXPECT_FALSE(ok);
      EXPECT_EQ(error, "一致する勘定科目がありません。");
      EXPECT_EQ(v, FieldValue::code(-7));
      break;
    case ReadCase::Code:
      EXPECT_TRUE(ok);
      EXPECT_EQ(v, FieldValue::code(c.code));
      EXPECT_EQ(f.inputedHojyoKamokuCode(), c.hojyo);
      break;
    case ReadCase::Text:
      EXPECT_TRUE(ok);
      EXPECT_EQ(v, FieldValue::text(c.typed));
      break;
    }
  }
}

TEST(KamokuFormatter, TypedSubAccountLastsUntilTheNextAcceptedInput)
{
  auto doc = test::makeFieldsTestDocument();
  KamokuFormatter f(*doc, false);
  FieldValue v;
  ASSERT_TRUE(f.getObjectValue(v, "11002", nullptr));
  EXPECT_EQ(f.inputedHojyoKamokuCode(), 2);
  EXPECT_FALSE(f.getObjectValue(v, "XYZ", nullptr));
  EXPECT_EQ(f.inputedHojyoKamokuCode(), 2);
  ASSERT_TRUE(f.getObjectValue(v, "110", nullptr));
  EXPECT_EQ(f.inputedHojyoKamokuCode(), -1);
}

TEST(KamokuFormatter, ShowsNamesOfExactCodes)
{
  auto doc = test::makeFieldsTestDocument();
  KamokuFormatter plain(*doc, false);
  KamokuFormatter sundry(*doc, true);
  EXPECT_EQ(plain.stringForObjectValue(FieldValue::code(100)), "現金");
  EXPECT_EQ(plain.stringForObjectValue(FieldValue::code(530)), "雑費");       // inactive, still shown
  EXPECT_EQ(plain.stringForObjectValue(FieldValue::code(10)), std::nullopt);  // no account 10
  EXPECT_EQ(plain.stringForObjectValue(FieldValue::code(-1)), std::nullopt);
  EXPECT_EQ(plain.stringForObjectValue(FieldValue::code(999)), std::nullopt);
  EXPECT_EQ(sundry.stringForObjectValue(FieldValue::code(999)), "諸口");
  EXPECT_EQ(plain.stringForObjectValue(FieldValue::text("GEN")), "GEN");
  EXPECT_EQ(plain.stringForObjectValue(FieldValue()), std::nullopt);

  // Every offered account reads back from the name it shows.
  for (const KamokuPtr& k : doc->codeSortedActiveKamokuArray()) {
    FieldValue v;
    ASSERT_TRUE(sundry.getObjectValue(v, *sundry.stringForObjectValue(FieldValue::code(k->code())), nullptr));
    EXPECT_EQ(v, FieldValue::code(k->code()));
  }
}

}  // namespace
}  // namespace kivo
