#include <gtest/gtest.h>

#include "trial/Shisan.h"

namespace kivo {
namespace {

TEST(ShisanTest, ZeroAmountMonthsHoldOneTotalColumnMore)
{
  EXPECT_EQ(Shisan(0).monthlyAmountArray(), std::vector<int64_t>({0}));
  EXPECT_EQ(Shisan(3).monthlyAmountArray(), std::vector<int64_t>({0, 0, 0, 0}));
  const Shisan plain;
  EXPECT_TRUE(plain.monthlyAmountArray().empty());
  EXPECT_FALSE(plain.isValidPercent());
}

TEST(ShisanTest, TintedRowsAreHeadingsAndTotals)
{
  Shisan r;
  for (int32_t code : {ShisanHeadingRowCode, ShisanTotalRowCode}) {
    r.setKamokuCode(code);
    EXPECT_TRUE(r.isTotalRow()) << code;
  }
  for (int32_t code : {ShisanSubtotalRowCode, ToukiSonekiRowCode, 100}) {
    r.setKamokuCode(code);
    EXPECT_FALSE(r.isTotalRow()) << code;
  }
}

}  // namespace
}  // namespace kivo
