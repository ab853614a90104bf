#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/TekiyouFormatter.h"

namespace kivo {
namespace {

std::string completion(const TekiyouFormatter& f, const char* kana)
{
  TekiyouPtr t = f.tekiyouForKana(kana);
  return t ? t->tekiyou() : std::string("(none)");
}

TEST(TekiyouFormatter, CompletesKanaWithTheAccountGroupsFirst)
{
  auto doc = test::makeFieldsTestDocument();
  TekiyouFormatter f(*doc);
  // Without accounts: the groups in the document's order ("その他" first here).
  EXPECT_EQ(completion(f, "TAXI"), "タクシー代");
  EXPECT_EQ(completion(f, "taxi"), "タクシー代");
  EXPECT_EQ(completion(f, "DEN"), "電話代");
  EXPECT_EQ(completion(f, "DENSYA"), "電車代");      // an equal kana before a beginning one
  EXPECT_EQ(completion(f, "JIMU"), "事務用品購入");  // stored kana in lower case
  EXPECT_EQ(completion(f, "ＪＩ"), "事務用品購入");
  EXPECT_EQ(completion(f, "XYZ"), "(none)");
  EXPECT_EQ(completion(f, "電車"), "(none)");
  EXPECT_EQ(completion(f, ""), "(none)");

  // The travel-expense account names the group searched first.
  f.setPrimeGroupNameToSearchFromFirstKamokuCode(100, 500);
  EXPECT_EQ(f.firstPrimeTekiyouGroupName(), "現金");
  EXPECT_EQ(f.secondPrimeTekiyouGroupName(), "旅費交通費");
  EXPECT_EQ(completion(f, "TAXI"), "タクシー代 出張");
  EXPECT_EQ(completion(f, "DEN"), "電車代");
  const std::vector<TekiyouGroupPtr> order = f.searchOrderedTekiyouGroupArray();
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0]->name(), "旅費交通費");

  f.setPrimeGroupNameToSearchFromFirstKamokuCode(std::nullopt, 777);
  EXPECT_EQ(f.firstPrimeTekiyouGroupName(), "");
  EXPECT_EQ(f.secondPrimeTekiyouGroupName(), "");
  EXPECT_EQ(completion(f, "TAXI"), "タクシー代");
}

TEST(TekiyouFormatter, AnyTextIsADescription)
{
  auto doc = test::makeFieldsTestDocument();
  TekiyouFormatter f(*doc);
  FieldValue v;
  ASSERT_TRUE(f.getObjectValue(v, "４月分 家賃", nullptr));
  EXPECT_EQ(v, FieldValue::text("４月分 家賃"));
  EXPECT_EQ(f.stringForObjectValue(v), "４月分 家賃");
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(1)), std::nullopt);
}

}  // namespace
}  // namespace kivo
