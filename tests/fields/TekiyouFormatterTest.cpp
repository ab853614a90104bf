#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/TekiyouFormatter.h"

namespace kivo {
namespace {

// The picker searches the groups of the voucher row's accounts first.
TEST(TekiyouFormatter, TheRowsAccountsGroupsAreSearchedFirst)
{
  auto doc = test::makeFieldsTestDocument();
  TekiyouFormatter f(*doc);
  std::vector<TekiyouGroupPtr> order = f.searchOrderedTekiyouGroupArray();
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0]->name(), "その他");  // the document's order

  f.setPrimeGroupNameToSearchFromFirstKamokuCode(100, 500);
  EXPECT_EQ(std::pair(f.firstPrimeTekiyouGroupName(), f.secondPrimeTekiyouGroupName()),
            (std::pair<std::string, std::string>("現金", "旅費交通費")));
  order = f.searchOrderedTekiyouGroupArray();
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0]->name(), "旅費交通費");

  f.setPrimeGroupNameToSearchFromFirstKamokuCode(std::nullopt, 777);
  EXPECT_EQ(f.firstPrimeTekiyouGroupName() + f.secondPrimeTekiyouGroupName(), "");
  EXPECT_EQ(f.searchOrderedTekiyouGroupArray()[0]->name(), "その他");

  // Any text is a description.
  test::expectRead(f, "４月分 家賃", FieldValue::text("４月分 家賃"));
  EXPECT_EQ(f.stringForObjectValue(FieldValue::text("４月分 家賃")), "４月分 家賃");
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(1)), std::nullopt);
}

}  // namespace
}  // namespace kivo
