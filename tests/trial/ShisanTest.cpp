#include <gtest/gtest.h>

#include "trial/Shisan.h"

namespace kivo {
namespace {

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
