// The Companies-Act statements of a small corporation, worked out by hand; and over
// generated journals, the balance sheet balances, the net profit is the trial
// balance's, and the statement of changes foots and closes on the balance sheet.
#include <gtest/gtest.h>

#include "statements/KaisyahouBooks.h"
#include "statements/KaisyahouRowCodes.h"

namespace kivo {
namespace {

using test::book;
using test::ChangeColumn;
using test::Line;
using test::linesOf;

constexpr int64_t kMax = 999'999'999'999LL;
constexpr int32_t kGroup = KaisyahouGroupRowCode;
constexpr int32_t kSection = KaisyahouSectionRowCode;
constexpr int32_t kSubtotal = KaisyahouSubtotalRowCode;
constexpr int32_t kTotal = KaisyahouTotalRowCode;
constexpr int32_t kTotalColumn = KaisyahouBlockTotalRowCode;
constexpr int32_t kLine = KaisyahouComputedRowCode;

TEST(KaisyahouHoukokusyoTest, TheFixtureCorporationRowByRowThenReasonsWithEntriesAndTreasuryStock)
{
  auto doc = test::makeKaisyahouBooks();
  test::bookFixtureTerm(*doc);
  const KaisyahouHoukokusyoStatements st = test::statementsOf(*doc, test::wholeTerm(*doc));

  // Sales 800,000; cost of sales 300,000 - 50,000 = 250,000; gross 550,000; SG&A
  // 200,000 + 100,000; operating = ordinary = pre-tax 250,000; tax 30,000; net 220,000.
  EXPECT_EQ(linesOf(st.taisyakuBalanceSonekiKeisanShisanArray),
            (std::vector<Line>{
                Line{kSection, "経常損益の部", 0}, Line{kGroup, "[営業損益の部]", 0}, Line{kGroup, "　[営業収益]", 0},
                Line{kGroup, "　　[売上高]", 0}, Line{300, "　　　売上高", 800'000},
                Line{kSubtotal, "　　　　売上高合計", 800'000}, Line{kGroup, "　[営業費用]", 0},
                Line{kGroup, "　　[売上原価]", 0}, Line{kLine, "　　　当期商品仕入高", 300'000},
                Line{kLine, "　　　期末商品棚卸高", 50'000}, Line{kSubtotal, "　　　　売上原価", 250'000},
                Line{kTotal, "　　　　売上総利益", 550'000}, Line{kGroup, "　　[販売費及び一般管理費]", 0},
                Line{kSubtotal, "　　　販売費及び一般管理費合計", 300'000}, Line{kTotal, "　　　　営業利益", 250'000},
                Line{kTotal, "　　　　経常利益", 250'000}, Line{kTotal, "　　　税引前当期利益", 250'000},
                Line{kSubtotal, "　　　法人税等", 30'000}, Line{kTotal, "　　　当期純利益", 220'000}}));
  EXPECT_EQ(linesOf(st.taisyakuBalanceHanbaihiShisanArray),
            (std::vector<Line>{Line{321, "給料手当", 200'000}, Line{344, "地代家賃", 100'000},
                               Line{kSubtotal, "　販売費及び一般管理費合計", 300'000}}));
  EXPECT_TRUE(st.taisyakuBalanceSeizouGenkaShisanArray.empty());
  EXPECT_EQ(std::tuple(st.toukiSonekiOfTaisyakuBalance, st.toukiSonekiOfSyuuryouZandaka), std::tuple(220'000, 220'000));
  EXPECT_EQ(linesOf(st.syuuryouZandakaSonekiKeisanShisanArray), linesOf(st.taisyakuBalanceSonekiKeisanShisanArray));

  // Assets: 現金 500,000, 普通預金 2,000,000 - 200,000 - 100,000 + 800,000 - 300,000 =
  // 2,200,000, 商品 50,000. Liabilities: the tax payable 30,000. Net assets: 資本金
  // 2,000,000, 繰越利益剰余金 500,000 + 220,000.
  std::vector<Line> left{Line{kSection, "資産の部", 0}, Line{kGroup, "[流動資産]", 2'750'000},
                         Line{100, "　現金", 500'000}, Line{103, "　普通預金", 2'200'000}, Line{115, "　商品", 50'000}};
  left.insert(left.end(), 7, Line{kLine, "", 0});
  left.push_back({kTotal, "　　　資産合計", 2'750'000});
  EXPECT_EQ(linesOf(st.taisyakuTaisyouShisannobuShisanArray), left);
  EXPECT_EQ(linesOf(st.taisyakuTaisyouFusainobuShisanArray),
            (std::vector<Line>{
                Line{kSection, "負債の部", 0}, Line{kGroup, "[流動負債]", 30'000}, Line{208, "　未払法人税等", 30'000},
                Line{kTotal, "　　　負債合計", 30'000}, Line{kSection, "純資産の部", 0},
                Line{kGroup, "[株主資本]", 2'720'000}, Line{kGroup, "　[資本金]", 2'000'000},
                Line{270, "　　資本金", 2'000'000}, Line{kGroup, "　[利益剰余金]", 720'000},
                Line{kGroup, "　　[その他利益剰余金]", 720'000}, Line{kGroup, "　　　繰越利益剰余金", 720'000},
                Line{kTotal, "　　　純資産合計", 2'720'000}, Line{kTotal, "　　　負債・純資産合計", 2'750'000}}));

  // Changes: no entry touches an equity account, so the one reason row is the profit.
  const auto& ks = st.kabunushiShihon;
  std::vector<std::string> labels;
  for (const auto& l : ks.rowLabels) labels.push_back(l.title);
  EXPECT_EQ(labels,
            (std::vector<std::string>{"前期末残高", "当期変動額", "当期純損益", "当期変動額合計", "当期末残高"}));
  EXPECT_EQ(ks.toukiSonekiRow, 2);
  EXPECT_EQ(test::columnsOf(ks),
            (std::vector<ChangeColumn>{{270, "　資本金", {2'000'000, 0, 0, 0, 2'000'000}},
                                       {kGroup, "　　　繰越利益剰余金", {500'000, 0, 220'000, 220'000, 720'000}},
                                       {kTotalColumn, "　利益剰余金合計", {500'000, 0, 220'000, 220'000, 720'000}},
                                       {kTotalColumn, "　株主資本合計", {2'500'000, 0, 220'000, 220'000, 2'720'000}},
                                       {kTotalColumn, "純資産合計", {2'500'000, 0, 220'000, 220'000, 2'720'000}}}));
  test::expectStatementsAgree(st, kMax);

  // Reasons with entries, and treasury stock, on the same books.
  {
    auto& reasons = doc->hendouReasonArray();
    for (const char* name : {"no reason", "当期純損益", "剰余金の配当", "自己株式の取得", "新株の発行",
                             "株主資本以外の項目の当期変動額(純額)"})
      reasons.push_back(std::make_shared<HendouReason>(name));
    book(*doc, Date(2024, 9, 30), "繰越利益剰余金", "未払配当金", 100'000)->setHendouReasonStr("剰余金の配当");
    book(*doc, Date(2024, 10, 31), "自己株式", "普通預金", 50'000)->setHendouReasonStr("自己株式の取得");
    // Neither a pending cash-book row nor a regular-type voucher counts anywhere.
    book(*doc, Date(2024, 11, 1), "普通預金", "資本金", 70'000)->setDenpyouNo(0);
    book(*doc, Date(2024, 11, 1), "普通預金", "資本金", 90'000)->setDenpyouNo(-3);
    for (const ShiwakePtr& s : doc->journal().entries())
      if (s->denpyouNo() <= 0) s->setHendouReasonStr("新株の発行");
    const KaisyahouHoukokusyoStatements st = test::statementsOf(*doc, test::wholeTerm(*doc));

    const auto& ks = st.kabunushiShihon;
    std::vector<std::string> labels;
    for (const auto& l : ks.rowLabels) labels.push_back(l.title);
    EXPECT_EQ(labels, (std::vector<std::string>{"前期末残高", "当期変動額", "当期純損益", "剰余金の配当",
                                                "自己株式の取得", "当期変動額合計", "当期末残高"}));
    EXPECT_EQ(ks.rowLabels[3].reason, reasons[2]);
    // 自己株式 is debit-natured: it reduces 株主資本合計, as on the balance sheet.
    EXPECT_EQ(test::columnsOf(ks),
              (std::vector<ChangeColumn>{
                  {270, "　資本金", {2'000'000, 0, 0, 0, 0, 0, 2'000'000}},
                  {kGroup, "　　　繰越利益剰余金", {500'000, 0, 220'000, -100'000, 0, 120'000, 620'000}},
                  {kTotalColumn, "　利益剰余金合計", {500'000, 0, 220'000, -100'000, 0, 120'000, 620'000}},
                  {279, "　自己株式", {0, 0, 0, 0, 50'000, 50'000, 50'000}},
                  {kTotalColumn, "　株主資本合計", {2'500'000, 0, 220'000, -100'000, -50'000, 70'000, 2'570'000}},
                  {kTotalColumn, "純資産合計", {2'500'000, 0, 220'000, -100'000, -50'000, 70'000, 2'570'000}}}));
    const std::vector<Line> right = linesOf(st.taisyakuTaisyouFusainobuShisanArray);
    for (const Line& l :
         {Line{210, "　未払配当金", 100'000}, Line{kGroup, "　[自己株式]", -50'000}, Line{279, "　　自己株式", 50'000},
          Line{kGroup, "[株主資本]", 2'570'000}, Line{kTotal, "　　　負債・純資産合計", 2'700'000}})
      EXPECT_EQ(std::count(right.begin(), right.end(), l), 1) << l.title;
    test::expectStatementsAgree(st, kMax);

    // The same assignment once the document has rebuilt its lists, and with an entry
    // moved to another reason in the list before its name was written back.
    doc->updateHendouReasonArray();
    EXPECT_EQ(test::columnsOf(test::statementsOf(*doc, test::wholeTerm(*doc)).kabunushiShihon), test::columnsOf(ks));
    ShiwakePtr moved = reasons[3]->shiwakeArray().at(0);
    reasons[3]->shiwakeArray().clear();
    reasons[2]->shiwakeArray().push_back(moved);
    const auto afterMove = test::statementsOf(*doc, test::wholeTerm(*doc)).kabunushiShihon;
    EXPECT_EQ(afterMove.rowLabels.size(), 6u);
    EXPECT_EQ(afterMove.columns[3].monthlyAmountArray(), (std::vector<int64_t>{0, 0, 0, 50'000, 50'000, 50'000}));
  }
}

TEST(KaisyahouHoukokusyoTest, AManufacturersCostReportHandsItsCostToTheIncomeStatement)
{
  auto doc = test::makeKaisyahouBooks(true);
  const Date kessan = Date::kessanSeiridukiDate();
  book(*doc, Date(2024, 5, 1), "材料仕入高", "買掛金", 400'000);
  book(*doc, Date(2024, 5, 31), "賃金", "普通預金", 200'000);
  book(*doc, Date(2024, 6, 30), "電力費", "普通預金", 50'000);
  book(*doc, Date(2024, 6, 30), "外注加工費", "普通預金", 30'000);
  book(*doc, kessan, "期首材料棚卸高", "原材料", 100'000);
  book(*doc, kessan, "原材料", "期末材料棚卸高", 120'000);
  book(*doc, kessan, "期首仕掛品棚卸高", "仕掛品", 20'000);
  book(*doc, kessan, "仕掛品", "期末仕掛品棚卸高", 10'000);
  const KaisyahouHoukokusyoStatements st = test::statementsOf(*doc, test::wholeTerm(*doc));

  // Materials 100,000 + 400,000 - 120,000 = 380,000; labour 200,000; expenses 50,000;
  // outsourcing 30,000; total 660,000; + 20,000 - 10,000 work in process = 670,000.
  const std::vector<Line> mc = linesOf(st.taisyakuBalanceSeizouGenkaShisanArray);
  ASSERT_EQ(mc.size(), 20u);
  EXPECT_EQ(std::vector<Line>(mc.begin(), mc.begin() + 10),
            (std::vector<Line>{Line{kGroup, "[材料費]", 0}, Line{600, "　期首材料棚卸高", 100'000},
                               Line{kLine, "　当期材料仕入高", 400'000}, Line{kTotalColumn, "　　合　　　計", 500'000},
                               Line{602, "　期末材料棚卸高", 120'000}, Line{kSubtotal, "　　当期材料費", 380'000},
                               Line{kGroup, "[労務費]", 0}, Line{610, "　賃金", 200'000},
                               Line{kSubtotal, "　　当期労務費", 200'000}, Line{kGroup, "[経費]", 0}}));
  EXPECT_EQ(std::vector<Line>(mc.begin() + 10, mc.end()),
            (std::vector<Line>{
                Line{620, "　電力費", 50'000}, Line{kSubtotal, "　　当期経費", 50'000}, Line{kGroup, "[外注加工費]", 0},
                Line{650, "　外注加工費", 30'000}, Line{kSubtotal, "　　当期外注加工費", 30'000},
                Line{kTotal, "　　　当期総製造費用", 660'000}, Line{kSubtotal, "　　　期首仕掛品棚卸高", 20'000},
                Line{kTotal, "　　　合　　　計", 680'000}, Line{kSubtotal, "　　　期末仕掛品棚卸高", 10'000},
                Line{kTotal, "　　　当期製品製造原価", 670'000}}));
  // No sales: the cost of sales is the products' cost, a gross loss of its size.
  const std::vector<Line> is = linesOf(st.taisyakuBalanceSonekiKeisanShisanArray);
  EXPECT_EQ(std::vector<Line>(is.begin(), is.begin() + 7),
            (std::vector<Line>{
                Line{kSection, "経常損益の部", 0}, Line{kGroup, "[営業損益の部]", 0}, Line{kGroup, "　[営業費用]", 0},
                Line{kGroup, "　　[売上原価]", 0}, Line{kLine, "　　　当期製品製造原価", 670'000},
                Line{kSubtotal, "　　　　売上原価", 670'000}, Line{kTotal, "　　　　売上総損失", 670'000}}));
  EXPECT_EQ(st.toukiSonekiOfTaisyakuBalance, -670'000);
  test::expectStatementsAgree(st, kMax);
}

TEST(KaisyahouHoukokusyoTest, WithoutProfitTheProfitRowShowsAZeroTheColumnTitlesAndANetLossReducesRetainedEarnings)
{
  // No profit: the 当期純損益 row shows a 0 under the retained earnings and the totals.
  auto doc = test::makeKaisyahouBooks();
  const KaisyahouHoukokusyoStatements st = test::statementsOf(*doc, test::wholeTerm(*doc));
  const int64_t shown = KabunushiShihonHendouBuilder::shownZeroAmount(kMax);
  std::vector<int64_t> row;
  for (const Shisan& c : st.kabunushiShihon.columns) row.push_back(c.monthlyAmountArray()[2]);
  EXPECT_EQ(row, (std::vector<int64_t>{0, shown, shown, shown, 0}));
  test::expectStatementsAgree(st, kMax);

  // The column titles for either printout.
  using Titles = std::vector<std::string>;
  KaisyahouHoukokusyoOptions o = test::wholeTerm(*doc);
  for (bool tate : {true, false}) {
    o.tateKabunushiShihonTitles = tate;
    const KaisyahouHoukokusyoStatements st = test::statementsOf(*doc, o);
    const Shisan& c = st.kabunushiShihon.columns.at(1);
    const Titles expected = tate ? Titles{"株主資本", "　利益剰余金", "　　その他利益剰余金", "　　　繰越利益剰余金"}
                                 : Titles{"株主資本", "利益剰余金", "その他利益剰余金", "繰越利益\n剰余金"};
    EXPECT_EQ((Titles{c.title(), c.title2(), c.title3(), c.title4()}), expected);
  }

  // A net loss on the same books reduces the retained earnings.
  book(*doc, Date(2024, 6, 25), "給料手当", "普通預金", 200'000);
  book(*doc, Date(2024, 8, 1), "雑損失", "現金", 10'000);
  const KaisyahouHoukokusyoStatements loss = test::statementsOf(*doc, test::wholeTerm(*doc));
  EXPECT_EQ(linesOf(loss.taisyakuBalanceSonekiKeisanShisanArray),
            (std::vector<Line>{
                Line{kSection, "経常損益の部", 0}, Line{kGroup, "[営業損益の部]", 0}, Line{kGroup, "　[営業費用]", 0},
                Line{kGroup, "　　[販売費及び一般管理費]", 0},
                Line{kSubtotal, "　　　販売費及び一般管理費合計", 200'000}, Line{kTotal, "　　　　営業損失", 200'000},
                Line{kGroup, "[営業外損益の部]", 0}, Line{kGroup, "　[営業外費用]", 0}, Line{437, "　　雑損失", 10'000},
                Line{kSubtotal, "　　　営業外費用合計", 10'000}, Line{kTotal, "　　　　経常損失", 210'000},
                Line{kTotal, "　　　税引前当期損失", 210'000}, Line{kTotal, "　　　当期純損失", 210'000}}));
  EXPECT_EQ(loss.toukiSonekiOfSyuuryouZandaka, -210'000);
  const std::vector<Line> right = linesOf(loss.taisyakuTaisyouFusainobuShisanArray);
  EXPECT_EQ(std::count(right.begin(), right.end(), Line{kGroup, "　　　繰越利益剰余金", 290'000}), 1);
  EXPECT_EQ(right.front(), (Line{kSection, "純資産の部", 0}));  // no liability: no 負債の部
  const auto& cols = loss.kabunushiShihon.columns;
  EXPECT_EQ(cols[1].monthlyAmountArray(), (std::vector<int64_t>{500'000, 0, -210'000, -210'000, 290'000}));
  test::expectStatementsAgree(loss, kMax);
}

TEST(KaisyahouHoukokusyoTest, BothBalanceSheetSidesEndOnOneLineAndSumsBeyondTheLimitCarryTheOverflowMark)
{
  // right: empty: both sides empty
  const Line blank{kLine, "", 0};
  const std::tuple<const char*, std::vector<std::pair<const char*, int64_t>>, std::vector<Line>> cases[] = {
      {"no asset with an amount", {{"資本金", 100}}, {}},
      {"the left side longer",
       {{"現金", 100}, {"普通預金", 100}, {"定期預金", 100}, {"売掛金", 100}, {"商品", 100}, {"資本金", 500}},
       {Line{kSection, "純資産の部", 0}, Line{kGroup, "[株主資本]", 500}, Line{kGroup, "　[資本金]", 500},
        Line{270, "　　資本金", 500}, blank, blank, Line{kTotal, "　　　純資産合計", 500},
        Line{kTotal, "　　　負債・純資産合計", 500}}},
      // Nothing on the right at all: blank rows stand for both totals.
      {"no liability and no net assets", {{"現金", 100}}, {Line{kSection, "純資産の部", 0}, blank, blank, blank}}};
  for (const auto& [name, opening, right] : cases) {
    SCOPED_TRACE(name);
    auto doc = test::makeTrialBooks(test::ChartKind::HoujinKaisyahou);
    for (const auto& [name, amount] : opening) test::kamokuNamed(*doc, name)->setStartBalance(amount, 99);
    const KaisyahouHoukokusyoStatements st = test::statementsOf(*doc, test::wholeTerm(*doc));
    EXPECT_EQ(linesOf(st.taisyakuTaisyouFusainobuShisanArray), right);
    EXPECT_EQ(st.taisyakuTaisyouShisannobuShisanArray.size(), right.size());
  }

  // Sums beyond the limit carry the overflow mark.
  auto doc = test::makeTrialBooks(test::ChartKind::HoujinKaisyahou);
  test::kamokuNamed(*doc, "現金")->setStartBalance(kMax - 1, 99);
  test::kamokuNamed(*doc, "資本金")->setStartBalance(kMax - 1, 99);
  book(*doc, Date(2024, 5, 1), "現金", "売上高", 5);
  book(*doc, Date(2024, 5, 2), "普通預金", "現金", 3);  // never brings it back
  const KaisyahouHoukokusyoStatements st = test::statementsOf(*doc, test::wholeTerm(*doc));
  const std::vector<Line> left = linesOf(st.taisyakuTaisyouShisannobuShisanArray);
  EXPECT_EQ(std::tuple(left[2], left.back().amount, st.taisyakuTaisyouFusainobuShisanArray.back().houkokusyoAmount()),
            std::tuple(Line{100, "　現金", kMax + 1}, kMax + 1, kMax + 1));
}

TEST(KaisyahouHoukokusyoTest, AShownColumnAndTheReuseOfTheBalancePass)
{
  auto doc = test::makeKaisyahouBooks();
  test::bookFixtureTerm(*doc);
  // Share options booked under a reason the list does not hold: no reason row counts
  // them, yet the column shows, since its closing balance is not 0.
  book(*doc, Date(2024, 9, 1), "普通預金", "新株予約権", 10'000)->setHendouReasonStr("消えた理由");
  KaisyahouHoukokusyo model;
  const KaisyahouHoukokusyoOptions o = test::wholeTerm(*doc);
  const auto& st = model.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, o);
  EXPECT_TRUE(model.didPostShiwakeArray());
  const ChangeColumn options = test::columnsOf(st.kabunushiShihon).at(4);
  EXPECT_EQ(options, (ChangeColumn{284, "新株予約権", {0, 0, 0, 0, 10'000}}));

  model.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, o);
  EXPECT_FALSE(model.didPostShiwakeArray());
  book(*doc, Date(2024, 9, 2), "現金", "売上高", 1);
  EXPECT_EQ(model.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, o).toukiSonekiOfTaisyakuBalance, 220'001);
  EXPECT_TRUE(model.didPostShiwakeArray());
  KaisyahouHoukokusyoOptions withStart = o;
  withStart.period.doAddStartBalanceToHoukokusyo = true;
  model.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, withStart);
  EXPECT_TRUE(model.didPostShiwakeArray());
}

// The period the statements sheets settle on each time they are shown, in a term of
// 2024-04-01 to 2025-03-31: first use (also of a term carried forward with its cover
// dates but no title), dates left from another term, an end before the start, and the
// closing-adjustment month, which stays wherever it stands.
TEST(KaisyahouHoukokusyoTest, TheSheetsKeepThePeriodInsideTheTerm)
{
  const Date kessan = Date::kessanSeiridukiDate();
  const Date first(2024, 4, 1), last(2025, 3, 31);
  struct Case {
    const char* what;
    bool shownBefore;
    Date start, end;
    Date settledStart, settledEnd;
    Date carriedCover = {};
  };
  const Case cases[] = {{"first use", false, Date(2023, 4, 1), Date(2023, 5, 1), first, kessan},
                        {"first use carried forward", false, first, kessan, first, kessan, first},
                        {"kept", true, Date(2024, 6, 1), Date(2024, 9, 30), Date(2024, 6, 1), Date(2024, 9, 30)},
                        {"the last term's dates", true, Date(2023, 4, 1), Date(2024, 3, 31), first, last},
                        {"end before start", true, Date(2024, 9, 1), Date(2024, 8, 31), Date(2024, 9, 1), last},
                        {"a day past the term", true, Date(2024, 4, 1), Date(2025, 4, 1), first, last},
                        {"closing month", true, kessan, kessan, kessan, kessan},
                        {"never chosen", true, Date(), Date(), first, kessan}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Kaisya k;
    k.setMonthOfTermArrayFrom(first, last);
    k.setDoUseWareki(true);
    if (c.shownBefore) {
      k.setTermStartDateOfHoukokusyoCover(Date(2023, 4, 1));
      k.setTitleOfHoukokusyo("第5期 決算報告書");
    }
    if (!c.carriedCover.isNull()) k.setTermStartDateOfHoukokusyoCover(c.carriedCover);
    k.setTermStartDateOfHoukokusyo(c.start);
    k.setTermEndDateOfHoukokusyo(c.end);
    const KaisyahouHoukokusyoPeriod p = KaisyahouHoukokusyoPeriod::settleKaisya(k, "決算報告書");
    EXPECT_EQ(std::tuple(p.startDate, p.endDate, k.termStartDateOfHoukokusyo(), k.termEndDateOfHoukokusyo()),
              std::tuple(c.settledStart, c.settledEnd, c.settledStart, c.settledEnd));
    // The cover: the term's dates in the company's era form on first use, else as kept.
    EXPECT_EQ(std::tuple(k.termStartDateOfHoukokusyoCover(), k.doUseWarekiForTermEndDateOfHoukokusyoCover(),
                         k.titleOfHoukokusyo()),
              c.shownBefore ? std::tuple(Date(2023, 4, 1), false, std::string("第5期 決算報告書"))
                            : std::tuple(first, true, std::string("決算報告書")));
  }
}

// --- over generated journals

struct Books {
  const char* name;
  bool seizou;
  int jigyoubuCount;
  bool withReasons;
};

void PrintTo(const Books& b, std::ostream* os) { *os << b.name; }

class KaisyahouHoukokusyoInvariantsTest : public ::testing::TestWithParam<Books> {};

TEST_P(KaisyahouHoukokusyoInvariantsTest, StatementsAgreeWithEachOtherAndTheTrialBalance)
{
  const Books& b = GetParam();
  auto doc = test::makeGeneratedTrialBooks(test::ChartKind::HoujinKaisyahou, b.seizou,
                                           {.shiwakeCount = 3000, .jigyoubuCount = b.jigyoubuCount}, 7);
  if (b.withReasons) {
    // Equity entries spread over reasons of the user's, some left without one.
    doc->updateHendouReasonArray();
    const char* names[] = {"剰余金の配当", "新株の発行", ""};
    for (const char* n : names)
      if (*n) doc->hendouReasonArray().push_back(std::make_shared<HendouReason>(n));
    for (const HendouReasonPtr& r : doc->hendouReasonArray()) r->shiwakeArray().clear();  // assigned by name below
    int i = 0;
    for (const ShiwakePtr& s : doc->journal().sortedByDate()) s->setHendouReasonStr(names[i++ % 3]);
    doc->hendouReasonArrayDidChange();
    doc->updateHendouReasonArray();
  }
  const int64_t max = doc->kaisya().maxOutputAmountValue();
  const Kaisya& k = doc->kaisya();
  const int32_t months = static_cast<int32_t>(k.monthArray().size());
  struct Period {
    int32_t from, to;
  };
  std::vector<int32_t> divisions{99};
  if (b.jigyoubuCount > 0) divisions.push_back(b.jigyoubuCount);
  for (int32_t j : divisions)
    for (Period p : {Period{0, months}, Period{3, 7}, Period{5, months}, Period{months, months}}) {
      SCOPED_TRACE("division " + std::to_string(j) + ", months " + std::to_string(p.from) + " to " +
                   std::to_string(p.to));
      KaisyahouHoukokusyoOptions o;
      o.period.startDate =
          p.from == months ? Date::kessanSeiridukiDate() : k.monthArray()[static_cast<size_t>(p.from)].startDate();
      o.period.endDate =
          p.to == months ? Date::kessanSeiridukiDate() : k.monthArray()[static_cast<size_t>(p.to)].endDate();
      const KaisyahouHoukokusyoStatements st = test::statementsOf(*doc, o, j);
      test::expectStatementsAgree(st, max);
      EXPECT_EQ(st.kabunushiShihon.rowLabels.size(), b.withReasons ? 8u : 6u);
      ASSERT_FALSE(st.taisyakuTaisyouShisannobuShisanArray.empty());
      // The trial balance's profit is the closing one, earned since the term's start:
      // the closing column's; the period column's is what it grew by in the period.
      const int64_t closing = test::trialBalanceProfit(*doc, "　当期純損益", j, p.to);
      EXPECT_EQ(st.toukiSonekiOfSyuuryouZandaka, closing);
      EXPECT_EQ(st.toukiSonekiOfTaisyakuBalance,
                p.from == 0 ? closing : closing - test::trialBalanceProfit(*doc, "　当期純損益", j, p.from - 1));
      for (const auto* rows : {&st.taisyakuBalanceSonekiKeisanShisanArray, &st.taisyakuTaisyouShisannobuShisanArray,
                               &st.taisyakuTaisyouFusainobuShisanArray, &st.taisyakuBalanceSeizouGenkaShisanArray})
        for (const Shisan& r : *rows) {
          EXPECT_EQ(r.jigyoubuCode(), j);
          EXPECT_TRUE(r.kamokuCode() > 0 || (r.kamokuCode() <= -401 && r.kamokuCode() >= -405) || r.kamokuCode() == -1)
              << r.title() << " " << r.kamokuCode();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(GeneratedBooks, KaisyahouHoukokusyoInvariantsTest,
                         ::testing::Values(Books{"plain", false, 0, false}, Books{"seizouDivisions", true, 3, false},
                                           Books{"reasons", false, 2, true}, Books{"seizouReasons", true, 0, true}),
                         [](const ::testing::TestParamInfo<Books>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kivo
