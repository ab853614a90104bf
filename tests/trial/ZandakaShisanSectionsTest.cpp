// The trial balance's sections on small books of each kind of company, the reuse of
// its sums, and the text of its cells.
#include <gtest/gtest.h>

#include "trial/TrialBooks.h"
#include "trial/ZandakaShisan.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo {
namespace {

using test::addShiwake;
using test::ChartKind;
using test::codeOf;
using test::kamokuNamed;
using test::makeTrialBooks;
using test::rowTitled;

constexpr int64_t kMax = 999'999'999'999LL;
constexpr int32_t kHeading = ShisanHeadingRowCode;
constexpr int32_t kSubtotal = ShisanSubtotalRowCode;
constexpr int32_t kTotal = ShisanTotalRowCode;

bool hasRow(const std::vector<Shisan>& rows, const std::string& title)
{
  return std::any_of(rows.begin(), rows.end(), [&](const Shisan& r) { return r.title() == title; });
}

// The closing balances of the rows with the captions.
std::vector<int64_t> closing(const std::vector<Shisan>& rows, std::initializer_list<const char*> titles)
{
  std::vector<int64_t> out;
  for (const char* t : titles) out.push_back(rowTitled(rows, t).syuuryouZandaka());
  return out;
}

void expectNoLinkCodes(const ZandakaShisanAssembly& a)
{
  for (const auto* rows : {&a.seizouGenkaShisanArray(), &a.sonekiKeisanShisanArray(), &a.taisyakuTaisyouShisanArray()})
    for (const Shisan& r : *rows) {
      EXPECT_NE(r.kamokuCode(), ToukiSeihinSeizouGenkaRowCode) << r.title();
      EXPECT_NE(r.kamokuCode(), ToukiSonekiRowCode) << r.title();
      EXPECT_NE(r.kamokuCode(), ToukiMisyobunSonekiRowCode) << r.title();
    }
}

TEST(ZandakaShisanSectionsTest, CorporationOnTheOlderChart)
{
  auto doc = test::makeSmallTrialBooks(ChartKind::HoujinOlder);
  ZandakaShisanAssembly a(*doc);
  a.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, false);
  const auto& pl = a.sonekiKeisanShisanArray();
  // The opening stock account is shown with zeros, so purchases come with a subtotal (小計).
  EXPECT_EQ(closing(pl, {"　　売上高合計", "　　当期商品仕入高", "　　小　　　計", "　　売上原価", "　売上総損益",
                         "　営業損益", "　経常損益", "　当期損益", "　当期未処分損益"}),
            (std::vector<int64_t>{500, 200, 200, 200, 300, 200, 200, 200, 200}));
  EXPECT_EQ(std::tuple(rowTitled(pl, "　法人税等").kamokuCode(), rowTitled(pl, "　当期損益").kamokuCode(),
                       hasRow(pl, "　当期純損益")),
            std::tuple(codeOf(*doc, "法人税、住民税及び事業税"), kTotal, false));
  // Percent of sales: the sales total is 100 %, gross profit 60 %.
  EXPECT_TRUE(rowTitled(pl, "　売上総損益").isValidPercent());
  EXPECT_DOUBLE_EQ(rowTitled(pl, "　売上総損益").percent(), 60.0);
  EXPECT_FALSE(rowTitled(pl, "売上高").isValidPercent());
  // Every row carries the division.
  for (const Shisan& r : pl) EXPECT_EQ(r.jigyoubuCode(), 99);

  const auto& bs = a.taisyakuTaisyouShisanArray();
  EXPECT_EQ(closing(bs, {"現金", "　資産の部合計", "当期未処分損益", "（内 当期損益）", "　資本の部合計",
                         "　負債・資本の部合計"}),
            (std::vector<int64_t>{1200, 1200, 200, 200, 1200, 1200}));
  EXPECT_EQ(std::tuple(rowTitled(bs, "現金").karikataGoukei(), rowTitled(bs, "　資産の部合計").kaishiZandaka(),
                       rowTitled(bs, "　負債・資本の部合計").kaishiZandaka()),
            std::tuple(500, 1000, 1000));
  EXPECT_EQ(std::tuple(bs.back().title(), hasRow(bs, "前期繰越利益")), std::tuple("　負債・資本の部合計", false));
  // The profit stands where the first account of profit brought forward stands.
  size_t misyobun = 0, kurikoshi = 0;
  for (size_t i = 0; i < bs.size(); ++i) {
    if (bs[i].title() == "当期未処分損益") misyobun = i;
    if (bs[i].title() == "別途積立金") kurikoshi = i;
  }
  EXPECT_EQ(misyobun, kurikoshi + 1);
  expectNoLinkCodes(a);
  EXPECT_TRUE(a.seizouGenkaShisanArray().empty());
}

TEST(ZandakaShisanSectionsTest, CorporationOnTheCompaniesActChartBalancesUnderNetAssetsAndItsSumsAreReused)
{
  auto doc = test::makeSmallTrialBooks(ChartKind::HoujinKaisyahou);
  MyDocument& d = *doc;
  // Retained earnings brought forward, a subscription for new shares (part of the
  // capital surplus), own shares and a share option.
  for (const char* name : {"新株式申込証拠金", "自己株式", "新株予約権"}) kamokuNamed(d, name)->setIsActive(true);
  kamokuNamed(d, "現金")->setStartBalance(1000 + 300 + 50 - 40 + 70, 99);
  kamokuNamed(d, "繰越利益剰余金")->setStartBalance(300, 99);
  kamokuNamed(d, "新株式申込証拠金")->setStartBalance(50, 99);
  kamokuNamed(d, "自己株式")->setStartBalance(40, 99);
  kamokuNamed(d, "新株予約権")->setStartBalance(70, 99);
  ZandakaShisanAssembly a(d);
  a.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, true);
  const auto& pl = a.sonekiKeisanShisanArray();
  EXPECT_EQ(closing(pl, {"　売上総損益", "　当期純損益"}), (std::vector<int64_t>{300, 200}));
  EXPECT_FALSE(hasRow(pl, "　当期未処分損益"));
  const auto& bs = a.taisyakuTaisyouShisanArray();
  // Own shares: a debit account in a credit block.
  EXPECT_EQ(closing(bs, {"　負債合計", "　資本金合計", "　新株式申込拠出金合計", "　資本剰余金合計", "繰越損益",
                         "当期純損益合計", "　繰越利益剰余金合計", "　利益剰余金合計", "　自己株式合計",
                         "　株主資本合計", "　新株予約権合計", "　純資産合計", "　資産合計", "　負債・純資産合計"}),
            (std::vector<int64_t>{0, 1000, 50, 50, 300, 200, 500, 500, -40, 1000 + 50 + 500 - 40, 70,
                                  1000 + 50 + 500 - 40 + 70, 1580, 1580}));
  EXPECT_EQ(std::tuple(bs.back().title(), bs.back().isValidPercent(), bs.back().percent()),
            std::tuple("　負債・純資産合計", true, 100.0));
  // The accounts of retained earnings brought forward get no rows of their own.
  EXPECT_FALSE(hasRow(bs, "繰越利益剰余金"));
  expectNoLinkCodes(a);

  // The display sums are reused until the data change.
  ZandakaShisanAssembly reuse(d);
  const auto sales = [&] { return rowTitled(reuse.sonekiKeisanShisanArray(), "　　売上高合計"); };
  EXPECT_TRUE(reuse.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, false));
  EXPECT_EQ(sales().syuuryouZandaka(), 500);
  // The same period again: no second walk, the sections rebuilt all the same.
  EXPECT_FALSE(reuse.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, false));
  EXPECT_EQ(sales().syuuryouZandaka(), 500);
  // Another period walks: June alone opens on May's sale.
  EXPECT_TRUE(reuse.setZandakaShisanArrayForJigyoubuCode(99, 2, 2, false));
  EXPECT_EQ(std::tuple(sales().kashikataGoukei(), sales().kaishiZandaka()), std::tuple(0, 500));
  // A change of the journal makes the same period walk again.
  addShiwake(d, Date(2024, 6, 11), codeOf(d, "現金"), codeOf(d, "売上高"), 3);
  EXPECT_TRUE(reuse.setZandakaShisanArrayForJigyoubuCode(99, 2, 2, false));
  EXPECT_EQ(sales().kashikataGoukei(), 3);
  // So does a change of the accounts that the journal's invalidation does not cover.
  kamokuNamed(d, "現金")->setStartBalance(2000, 99);
  kamokuNamed(d, "資本金")->setStartBalance(2000, 99);
  d.setSortedKamokuArray();
  EXPECT_TRUE(reuse.setZandakaShisanArrayForJigyoubuCode(99, 2, 2, false));
  EXPECT_EQ(rowTitled(reuse.taisyakuTaisyouShisanArray(), "　資産合計").syuuryouZandaka(), 2000 + 500 - 200 + 3);
}

TEST(ZandakaShisanSectionsTest, SoleProprietorIncomeStatementRowByRow)
{
  auto doc = makeTrialBooks(ChartKind::Kojin);
  MyDocument& d = *doc;
  // 貸倒引当金繰入 carries group 7 here, so the 繰入額等 block lists it before
  // 専従者給与 (group 17) although its code is higher.
  kamokuNamed(d, "貸倒引当金繰入")->setGroup(7);
  kamokuNamed(d, "現金")->setStartBalance(1000, 99);
  kamokuNamed(d, "商品")->setStartBalance(100, 99);
  kamokuNamed(d, "貸倒引当金")->setStartBalance(50, 99);
  kamokuNamed(d, "元入金")->setStartBalance(1050, 99);
  const int32_t genkin = codeOf(d, "現金");
  addShiwake(d, Date(2024, 4, 1), codeOf(d, "期首商品棚卸高"), codeOf(d, "商品"), 30);
  addShiwake(d, Date(2024, 5, 1), genkin, codeOf(d, "売上高"), 500);
  addShiwake(d, Date(2024, 5, 2), genkin, codeOf(d, "雑収入"), 50);
  addShiwake(d, Date(2024, 6, 1), codeOf(d, "仕入高"), genkin, 200);
  addShiwake(d, Date(2024, 7, 1), codeOf(d, "通信費"), genkin, 100);
  addShiwake(d, Date(2024, 8, 1), codeOf(d, "貸倒引当金"), codeOf(d, "貸倒引当金戻入"), 10);
  addShiwake(d, Date(2024, 9, 1), codeOf(d, "専従者給与"), genkin, 40);
  addShiwake(d, Date(2025, 3, 31), codeOf(d, "貸倒引当金繰入"), codeOf(d, "貸倒引当金"), 5);
  addShiwake(d, Date::kessanSeiridukiDate(), codeOf(d, "商品"), codeOf(d, "期末商品棚卸高"), 20);
  ZandakaShisanAssembly a(d);
  a.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, true);

  // Title, code (0: the account's own, looked up by its name), closing balance; in two
  // halves, the gross profit closing the first.
  using Row = std::tuple<const char*, int32_t, int64_t>;
  const std::vector<std::vector<Row>> expected{
      {Row{"収入金額", kHeading, 0}, Row{"　売上高", 0, 500}, Row{"　雑収入", 0, 50},
       Row{"　　収入金額合計", kSubtotal, 550}, Row{"売上原価", kHeading, 0}, Row{"　期首商品棚卸高", 0, 30},
       Row{"　　期首商品棚卸高", kSubtotal, 30}, Row{"　仕入高", 0, 200}, Row{"　　当期商品仕入高", kSubtotal, 200},
       Row{"　　小　　　計", kSubtotal, 230}, Row{"　期末商品棚卸高", 0, 20}, Row{"　　期末商品棚卸高", kSubtotal, 20},
       Row{"　　売上原価", kSubtotal, 210}},
      {Row{"　売上総損益", kTotal, 340}, Row{"経費", kHeading, 0}, Row{"　通信費", 0, 100},
       Row{"　　経費合計", kSubtotal, 100}, Row{"　差引金額", kTotal, 240}, Row{"繰戻額等", kHeading, 0},
       Row{"　貸倒引当金戻入", 0, 10}, Row{"　　繰戻額等合計", kSubtotal, 10}, Row{"繰入額等", kHeading, 0},
       Row{"　貸倒引当金繰入", 0, 5}, Row{"　専従者給与", 0, 40}, Row{"　　繰入額等合計", kSubtotal, 45},
       Row{"　青色申告控除前所得", kTotal, 205}}};
  std::vector<Row> rows = expected[0];
  rows.insert(rows.end(), expected[1].begin(), expected[1].end());
  const auto& pl = a.sonekiKeisanShisanArray();
  ASSERT_EQ(pl.size(), rows.size());
  for (size_t i = 0; i < pl.size(); ++i) {
    const auto& [title, code, syuuryou] = rows[i];
    SCOPED_TRACE(title);
    EXPECT_EQ(std::tuple(pl[i].title(), pl[i].kamokuCode(), pl[i].syuuryouZandaka()),
              std::tuple(title, code != 0 ? code : codeOf(d, std::string(title).substr(3)), syuuryou));
  }
  EXPECT_DOUBLE_EQ(pl[1].percent(), 500.0 / 550.0 * 100.0);

  const auto& bs = a.taisyakuTaisyouShisanArray();
  EXPECT_EQ(closing(bs, {"青色申告控除前所得", "　資本の部合計"}), (std::vector<int64_t>{205, 1050 + 205}));
  EXPECT_EQ(std::tuple(hasRow(bs, "当期未処分損益"), bs.back().title()), std::tuple(false, "　負債・資本の部合計"));
  EXPECT_EQ(rowTitled(bs, "　資産の部合計").syuuryouZandaka(), bs.back().syuuryouZandaka());
  expectNoLinkCodes(a);
}

TEST(ZandakaShisanSectionsTest, ManufacturerWithoutCostAccountsGetsTwoZeroRows)
{
  auto doc = makeTrialBooks(ChartKind::HoujinOlder, true);
  ZandakaShisanAssembly a(*doc);
  a.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, false);
  const auto& mc = a.seizouGenkaShisanArray();
  ASSERT_EQ(mc.size(), 2u);
  // The second re-coded once handed on.
  for (size_t i = 0; i < 2; ++i)
    EXPECT_EQ(std::tuple(mc[i].title(), mc[i].kamokuCode(), mc[i].kaishiZandaka(), mc[i].karikataGoukei(),
                         mc[i].kashikataGoukei(), mc[i].syuuryouZandaka(), mc[i].isValidPercent()),
              std::tuple(i == 0 ? "　当期総製造費用" : "当期製品製造原価", ShisanTotalRowCode, 0, 0, 0, 0, false));
  // The income statement still receives the (zero) cost of goods manufactured.
  EXPECT_EQ(rowTitled(a.sonekiKeisanShisanArray(), "　　当期製品製造原価").syuuryouZandaka(), 0);
  expectNoLinkCodes(a);
}

TEST(ZandakaShisanSectionsTest, ManufacturingCostFlowsIntoCostOfSales)
{
  auto doc = makeTrialBooks(ChartKind::HoujinKaisyahou, true);
  MyDocument& d = *doc;
  for (const char* name : {"期首材料棚卸高", "材料仕入高", "期末材料棚卸高", "賃金", "電力費", "外注加工費",
                           "期首仕掛品棚卸高", "期末仕掛品棚卸高"})
    kamokuNamed(d, name)->setIsActive(true);
  const int32_t genkin = codeOf(d, "現金");
  kamokuNamed(d, "現金")->setStartBalance(10000, 99);
  kamokuNamed(d, "資本金")->setStartBalance(10000, 99);
  addShiwake(d, Date(2024, 4, 1), codeOf(d, "期首材料棚卸高"), genkin, 100);
  addShiwake(d, Date(2024, 5, 1), codeOf(d, "材料仕入高"), genkin, 1000);
  addShiwake(d, Date(2024, 5, 2), genkin, codeOf(d, "期末材料棚卸高"), 150);
  addShiwake(d, Date(2024, 6, 1), codeOf(d, "賃金"), genkin, 400);
  addShiwake(d, Date(2024, 6, 2), codeOf(d, "電力費"), genkin, 60);
  addShiwake(d, Date(2024, 6, 3), codeOf(d, "外注加工費"), genkin, 90);
  addShiwake(d, Date(2024, 7, 1), codeOf(d, "期首仕掛品棚卸高"), genkin, 20);
  addShiwake(d, Date(2024, 7, 2), genkin, codeOf(d, "期末仕掛品棚卸高"), 30);
  addShiwake(d, Date(2024, 8, 1), genkin, codeOf(d, "売上高"), 3000);
  ZandakaShisanAssembly a(d);
  a.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, true);
  const auto& mc = a.seizouGenkaShisanArray();
  EXPECT_EQ(mc.front().title(), "材料費");
  EXPECT_EQ(rowTitled(mc, "　期首材料棚卸高").kamokuCode(), codeOf(d, "期首材料棚卸高"));
  EXPECT_EQ(closing(mc, {"　当期材料仕入高", "　　合　　　計", "　　当期材料費", "　賃金", "　　当期労務費",
                         "　　当期経費", "　　当期外注加工費", "　当期総製造費用"}),
            (std::vector<int64_t>{1000, 1100, 950, 400, 400, 60, 90, 1500}));
  EXPECT_EQ(std::tuple(mc.back().title(), mc.back().syuuryouZandaka(), mc.back().percent()),
            std::tuple("当期製品製造原価", 1500 + 20 - 30, 100.0));
  EXPECT_EQ(closing(a.sonekiKeisanShisanArray(), {"　　当期製品製造原価", "　　売上原価", "　当期純損益"}),
            (std::vector<int64_t>{1490, 1490, 3000 - 1490}));
  const auto& bs = a.taisyakuTaisyouShisanArray();
  EXPECT_EQ(rowTitled(bs, "　資産合計").syuuryouZandaka(), bs.back().syuuryouZandaka());
  expectNoLinkCodes(a);
}

TEST(ZandakaShisanSectionsTest, ACappedSumShowsOverflowAndStaysFrozen)
{
  auto doc = makeTrialBooks(ChartKind::HoujinOlder);
  MyDocument& d = *doc;
  const int32_t genkin = codeOf(d, "現金");
  kamokuNamed(d, "完成工事高")->setIsActive(true);
  addShiwake(d, Date(2024, 5, 1), genkin, codeOf(d, "売上高"), 600'000'000'000LL);
  addShiwake(d, Date(2024, 5, 2), genkin, codeOf(d, "売上高"), 600'000'000'000LL);
  addShiwake(d, Date(2024, 5, 3), codeOf(d, "完成工事高"), genkin, 100);  // would bring the sum back in range
  ZandakaShisanAssembly a(d);
  a.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, true);
  const auto& pl = a.sonekiKeisanShisanArray();
  const Shisan& total = rowTitled(pl, "　　売上高合計");
  EXPECT_EQ(std::tuple(total.syuuryouZandaka(), d.kaisya().outputStringOfMemoryKingaku(total.syuuryouZandaka())),
            std::tuple(kMax + 1, "#Precision!"));
  // Every sum that contains it stays beyond the limit, and no percent is shown.
  EXPECT_EQ(closing(pl, {"　売上総損益", "　当期損益"}), (std::vector<int64_t>{kMax + 1, kMax + 1}));
  for (const Shisan& r : pl) EXPECT_FALSE(r.isValidPercent()) << r.title();
  EXPECT_EQ(rowTitled(a.taisyakuTaisyouShisanArray(), "　資本の部合計").syuuryouZandaka(), kMax + 1);
}

TEST(ZandakaShisanSectionsTest, HeadingsAndBlockTotalsAppearEvenWithoutAccounts)
{
  auto doc = makeTrialBooks(ChartKind::HoujinKaisyahou);
  ZandakaShisanAssembly a(*doc);
  a.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, true);
  const auto& pl = a.sonekiKeisanShisanArray();
  for (const char* title : {"販売費及び一般管理費", "　　販売費及び一般管理費合計", "営業外収益", "　　営業外収益合計",
                            "特別損失", "　　特別損失合計"})
    EXPECT_TRUE(hasRow(pl, title)) << title;
  EXPECT_EQ(rowTitled(pl, "　法人税等").kamokuCode(), ShisanSubtotalRowCode);  // no tax account can appear
  const auto& bs = a.taisyakuTaisyouShisanArray();
  EXPECT_EQ(rowTitled(bs, "　資産合計").syuuryouZandaka(), 0);
  EXPECT_EQ(std::tuple(hasRow(bs, "　固定資産合計"), hasRow(bs, "　負債合計"), hasRow(bs, "当期純損益合計"),
                       hasRow(bs, "繰越損益")),
            std::tuple(false, true, true, false));
  for (const Shisan& r : bs) EXPECT_FALSE(r.isValidPercent()) << r.title();
}

TEST(ZandakaShisanCellTextTest, CellsByColumn)
{
  Kaisya kaisya;
  Shisan heading;
  heading.setKamokuCode(ShisanHeadingRowCode);
  heading.setTitle("売上高");
  Shisan r;
  r.setKamokuCode(ShisanTotalRowCode);
  r.setTitle("　売上総損益");
  r.setKaishiZandaka(-1234567);
  r.setKarikataGoukei(999'999'999'999LL);
  r.setKashikataGoukei(1'000'000'000'000LL);
  r.setSyuuryouZandaka(0);
  r.setPercent(12.5);
  r.setIsValidPercent(true);
  using Case = std::tuple<const Shisan*, const char*, const char*>;
  for (const auto& [row, column, text] : std::vector<Case>{
           Case{&heading, "title", "売上高"}, Case{&heading, "kaishiZandaka", ""}, Case{&heading, "percent", ""},
           Case{&r, "title", "　売上総損益"}, Case{&r, "kaishiZandaka", "-1,234,567"},
           Case{&r, "karikataGoukei", "999,999,999,999"}, Case{&r, "kashikataGoukei", "#Precision!"},
           Case{&r, "syuuryouZandaka", "0"}, Case{&r, "percent", "12.50"}, Case{&r, "other", ""}})
    EXPECT_EQ(ZandakaShisanAssembly::cellText(kaisya, *row, column), text) << column;
  r.setIsValidPercent(false);
  EXPECT_EQ(ZandakaShisanAssembly::cellText(kaisya, r, "percent"), "--");
}

}  // namespace
}  // namespace kivo
