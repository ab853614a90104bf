#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/JigyoubuFormatter.h"

namespace kivo {
namespace {

TEST(JigyoubuFormatter, ReadsActiveDivisions)
{
  auto doc = test::makeFieldsTestDocument();
  struct Case {
    bool acceptAll;
    const char* typed;
    bool ok;
    FieldValue value;
  };
  const Case cases[] = {
      {false, "", true, FieldValue::text("")},
      {false, "1", true, FieldValue::code(1)},  // the code itself, not 10 or 11
      {false, "01", true, FieldValue::code(1)},
      {false, "0", true, FieldValue::code(1)},  // else the first code beginning with it
      {false, "10", true, FieldValue::code(10)},
      {false, "3", false, {}},  // inactive
      {false, "03", false, {}},
      {false, "99", false, {}},
      {true, "99", true, FieldValue::code(99)},
      {true, "すべての事業部", true, FieldValue::code(99)},
      {false, "すべての事業部", false, {}},
      {false, "本社", true, FieldValue::code(1)},
      {false, "honsya", true, FieldValue::code(1)},
      {false, "SI", true, FieldValue::text("SI")},  // SITEN and SISYA
      {false, "SIT", true, FieldValue::code(10)},
      {false, "KYUUEIGYOU", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    JigyoubuFormatter f(*doc, c.acceptAll);
    FieldValue got;
    std::string error;
    EXPECT_EQ(f.getObjectValue(got, c.typed, &error), c.ok);
    if (c.ok)
      EXPECT_EQ(got, c.value);
    else
      EXPECT_EQ(error, "一致する事業部がありません。");
  }
}

TEST(JigyoubuFormatter, ShowsExactCodes)
{
  auto doc = test::makeFieldsTestDocument();
  JigyoubuFormatter f(*doc);
  EXPECT_FALSE(f.doAcceptAllJigyoubu());
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(99)), "すべての事業部");
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(1)), "本社");
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(3)), "旧営業所");  // inactive, still shown
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(4)), std::nullopt);
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(-1)), std::nullopt);
}

}  // namespace
}  // namespace kivo
