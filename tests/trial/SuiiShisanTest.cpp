#include <gtest/gtest.h>

#include "model/Kaisya.h"
#include "trial/SuiiShisan.h"
#include "trial/TrialBooks.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo {
namespace {

using test::addShiwake;
using test::ChartKind;
using test::codeOf;
using test::kamokuNamed;
using test::makeTrialBooks;
using test::rowTitled;
using Amounts = std::vector<int64_t>;

// Twelve months and the closing-adjustment month, by month index.
Amounts months(std::initializer_list<std::pair<int, int64_t>> values, int64_t fill = 0)
{
  Amounts a(13, fill);
  for (auto [m, v] : values) a[static_cast<size_t>(m)] = v;
  return a;
}
Amounts withTotal(Amounts a, int64_t total)
{
  a.push_back(total);
  return a;
}
Amounts withOpening(int64_t opening, const Amounts& a)
{
  Amounts out{opening};
  out.insert(out.end(), a.begin(), a.end());
  return out;
}
// Month-end balances from the opening balance and the movements.
Amounts runningFrom(int64_t opening, const Amounts& movements)
{
  Amounts out{opening};
  for (int64_t v : movements) out.push_back(out.back() + v);
  return out;
}

// An older-chart corporation: opening balances, an entry before the term, sales in
// April and September, a correction in the closing-adjustment month, and rows that
// never count.
class SuiiShisanFixtureTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    doc = makeTrialBooks(ChartKind::HoujinOlder);
    kamokuNamed(*doc, "現金")->setStartBalance(1000, 99);
    kamokuNamed(*doc, "資本金")->setStartBalance(1000, 99);
    const int32_t genkin = codeOf(*doc, "現金"), uriage = codeOf(*doc, "売上高"), shihon = codeOf(*doc, "資本金");
    addShiwake(*doc, Date(2024, 3, 15), genkin, shihon, 50);  // before the term: the opening balance
    addShiwake(*doc, Date(2024, 4, 10), genkin, uriage, 100);
    addShiwake(*doc, Date(2024, 9, 10), genkin, uriage, 20);
    addShiwake(*doc, Date::kessanSeiridukiDate(), uriage, genkin, 5);
    addShiwake(*doc, Date(2024, 5, 1), genkin, uriage, 7, -1, -3);  // regular-type voucher
    addShiwake(*doc, Date(2024, 6, 1), 999, uriage, 9);             // the sundry account has no row
  }
  std::unique_ptr<MyDocument> doc;
};

TEST_F(SuiiShisanFixtureTest, EveryColumnAsComputedByHandTheTotalFromTheOpeningWhenAskedAndOnePostingPerChange)
{
  SuiiShisan s(*doc);
  s.setSuiiShisanArryForJigyoubuCode(99, true);
  const Amounts sales = months({{0, 100}, {5, 20}, {12, -5}});
  const Amounts salesSundry = months({{0, 100}, {2, 9}, {5, 20}, {12, -5}});
  const auto& pl = s.sonekiKeisanShisanArray();
  EXPECT_EQ(rowTitled(pl, "　売上高").monthlyAmountArray(), withTotal(salesSundry, 124));
  EXPECT_EQ(rowTitled(pl, "　　売上高合計").monthlyAmountArray(), withTotal(salesSundry, 124));
  EXPECT_EQ(rowTitled(pl, "　当期損益").kamokuCode(), ShisanTotalRowCode);
  EXPECT_TRUE(rowTitled(pl, "売上高").monthlyAmountArray().empty());

  const auto& bs = s.taisyakuTaisyouShisanArray();
  const Amounts cash = runningFrom(1050, sales);
  EXPECT_EQ(rowTitled(bs, "現金").monthlyAmountArray(), cash);
  // The end of September, and after the closing-adjustment month.
  EXPECT_EQ(std::pair(cash[6], cash[13]), std::pair(int64_t{1170}, int64_t{1165}));
  EXPECT_EQ(rowTitled(bs, "資本金").monthlyAmountArray(), withOpening(1050, months({}, 1050)));
  const Amounts profit = runningFrom(0, salesSundry);
  EXPECT_EQ(rowTitled(bs, "当期未処分損益").monthlyAmountArray(), profit);
  EXPECT_EQ(rowTitled(bs, "（内 当期損益）").monthlyAmountArray(), profit);
  Amounts capital = profit;
  for (int64_t& v : capital) v += 1050;
  EXPECT_EQ(rowTitled(bs, "　資本の部合計").monthlyAmountArray(), capital);

  // What the window shows of it.
  const Kaisya& k = doc->kaisya();
  const auto text = [&](const std::vector<Shisan>& rows, const char* title, const char* column) {
    return SuiiShisan::cellText(k, rowTitled(rows, title), column, &rows == &bs);
  };
  EXPECT_EQ((std::vector<std::string>{text(bs, "現金", "kaishiZandaka"), text(bs, "現金", "month5"),
                                      text(bs, "現金", "kessanSeiriduki"), text(pl, "　売上高", "kessanSeiriduki"),
                                      text(pl, "　売上高", "goukei"), text(pl, "売上高", "month0"),
                                      text(pl, "　売上高", "month14"), text(pl, "　売上高", "monthx")}),
            (std::vector<std::string>{"1,050", "1,170", "1,165", "-5", "124", "", "", ""}));

  // The total starts at the opening balance only when that is asked for.
  kamokuNamed(*doc, "受取利息")->setStartBalance(3, 99);
  doc->setSortedKamokuArray();
  for (bool add : {true, false}) {
    s.setSuiiShisanArryForJigyoubuCode(99, add);
    const Amounts& a = rowTitled(s.sonekiKeisanShisanArray(), "　受取利息").monthlyAmountArray();
    EXPECT_EQ(a, withTotal(months({}), add ? 3 : 0));
  }

  // The journal is posted once per change of the books.
  test::addJigyoubu(*doc, 5);
  SuiiShisan again(*doc);
  EXPECT_TRUE(again.setSuiiShisanArryForJigyoubuCode(5, true));
  EXPECT_FALSE(again.setSuiiShisanArryForJigyoubuCode(99, true));
  addShiwake(*doc, Date(2024, 4, 11), codeOf(*doc, "現金"), codeOf(*doc, "売上高"), 1);
  EXPECT_TRUE(again.setSuiiShisanArryForJigyoubuCode(99, true));
  EXPECT_EQ(rowTitled(again.sonekiKeisanShisanArray(), "　売上高").monthlyAmountArray()[0], 101);
  kamokuNamed(*doc, "現金")->setStartBalance(2000, 99);
  doc->setSortedKamokuArray();
  EXPECT_TRUE(again.setSuiiShisanArryForJigyoubuCode(99, true));
}

TEST(SuiiShisanTest, SumsBeyondTheLimitShowTheOverflowTextOnTheirOwnSide)
{
  auto doc = makeTrialBooks(ChartKind::HoujinOlder);
  const int64_t max = doc->kaisya().maxOutputAmountValue();
  const int32_t genkin = codeOf(*doc, "現金"), yokin = codeOf(*doc, "普通預金"), kariire = codeOf(*doc, "短期借入金");
  addShiwake(*doc, Date(2024, 4, 1), genkin, kariire, max);
  addShiwake(*doc, Date(2024, 5, 1), yokin, kariire, max);
  // A loss beyond the limit: the capital total stays negative.
  const int32_t shoumou = codeOf(*doc, "消耗品費");
  addShiwake(*doc, Date(2024, 6, 1), shoumou, genkin, max);
  addShiwake(*doc, Date(2024, 6, 2), shoumou, yokin, max);
  SuiiShisan s(*doc);
  s.setSuiiShisanArryForJigyoubuCode(99, true);
  const auto& bs = s.taisyakuTaisyouShisanArray();
  const Kaisya& k = doc->kaisya();
  const Shisan& genyokin = rowTitled(bs, "　現預金合計");
  EXPECT_EQ(genyokin.monthlyAmountArray()[2], max + 1);  // end of May
  EXPECT_EQ(SuiiShisan::cellText(k, genyokin, "month1", true), "#Precision!");
  EXPECT_EQ(SuiiShisan::cellText(k, genyokin, "month0", true), "999,999,999,999");
  const Shisan& capital = rowTitled(bs, "　資本の部合計");
  EXPECT_LT(capital.monthlyAmountArray()[3], -max);  // June: the loss passed the limit
  EXPECT_EQ(SuiiShisan::cellText(k, capital, "month2", true), "#Precision!");
}

TEST(SuiiShisanTest, AnInactiveDivisionStillCountsInTheCompany)
{
  auto doc = makeTrialBooks(ChartKind::HoujinOlder);
  test::addJigyoubu(*doc, 1);
  test::addJigyoubu(*doc, 2, false);
  kamokuNamed(*doc, "現金")->setStartBalance(100, 1);
  kamokuNamed(*doc, "現金")->setStartBalance(300, 2);
  kamokuNamed(*doc, "資本金")->setStartBalance(400, 1);
  doc->setSortedKamokuArray();
  addShiwake(*doc, Date(2024, 6, 3), codeOf(*doc, "現金"), codeOf(*doc, "売上高"), 50, 2);
  SuiiShisan monthly(*doc);
  ZandakaShisanAssembly yearly(*doc);
  for (int32_t j : {1, 2, 99}) {
    SCOPED_TRACE(j);
    monthly.setSuiiShisanArryForJigyoubuCode(j, true);
    yearly.setZandakaShisanArrayForJigyoubuCode(j, 0, 12, false);
    const Amounts& cash = rowTitled(monthly.taisyakuTaisyouShisanArray(), "現金").monthlyAmountArray();
    const Shisan& year = rowTitled(yearly.taisyakuTaisyouShisanArray(), "現金");
    EXPECT_EQ(std::pair(cash.front(), cash.back()), std::pair(year.kaishiZandaka(), year.syuuryouZandaka()));
  }
  monthly.setSuiiShisanArryForJigyoubuCode(99, true);
  EXPECT_EQ(rowTitled(monthly.taisyakuTaisyouShisanArray(), "現金").monthlyAmountArray(),
            withOpening(400, months({{0, 400}, {1, 400}}, 450)));
}

}  // namespace
}  // namespace kivo
