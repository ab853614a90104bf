// Books of a small corporation on the Companies-Act chart for the statement tests,
// and readers that turn statement rows into comparable lines.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "statements/KaisyahouHoukokusyo.h"
#include "trial/TrialBooks.h"

namespace kivo::test {

// The opening of the fixture: 現金 500,000, 普通預金 2,000,000, 資本金 2,000,000,
// 繰越利益剰余金 500,000.
inline std::unique_ptr<MyDocument> makeKaisyahouBooks(bool seizou = false)
{
  auto doc = makeTrialBooks(ChartKind::HoujinKaisyahou, seizou);
  kamokuNamed(*doc, "現金")->setStartBalance(500'000, 99);
  kamokuNamed(*doc, "普通預金")->setStartBalance(2'000'000, 99);
  kamokuNamed(*doc, "資本金")->setStartBalance(2'000'000, 99);
  kamokuNamed(*doc, "繰越利益剰余金")->setStartBalance(500'000, 99);
  return doc;
}

inline ShiwakePtr book(MyDocument& doc, Date date, const std::string& kari, const std::string& kashi, int64_t amount)
{
  return addShiwake(doc, date, codeOf(doc, kari), codeOf(doc, kashi), amount);
}

// The term's trading of the fixture: purchases and sales on account, salaries and
// rent from the bank, the receivable collected and the payable paid; then the
// closing adjustments: closing stock and the corporate tax payable.
inline void bookFixtureTerm(MyDocument& doc)
{
  book(doc, Date(2024, 5, 10), "仕入高", "買掛金", 300'000);
  book(doc, Date(2024, 6, 10), "売掛金", "売上高", 800'000);
  book(doc, Date(2024, 6, 25), "給料手当", "普通預金", 200'000);
  book(doc, Date(2024, 6, 30), "地代家賃", "普通預金", 100'000);
  book(doc, Date(2024, 7, 31), "普通預金", "売掛金", 800'000);
  book(doc, Date(2024, 7, 31), "買掛金", "普通預金", 300'000);
  book(doc, Date::kessanSeiridukiDate(), "商品", "期末商品棚卸高", 50'000);
  book(doc, Date::kessanSeiridukiDate(), "法人税、住民税及び事業税", "未払法人税等", 30'000);
}

inline KaisyahouHoukokusyoOptions wholeTerm(const MyDocument& doc)
{
  KaisyahouHoukokusyoOptions o;
  o.period = {doc.kaisya().termStartDate(), Date::kessanSeiridukiDate(), false};
  return o;
}

inline KaisyahouHoukokusyoStatements statementsOf(const MyDocument& doc, const KaisyahouHoukokusyoOptions& o,
                                                  int32_t jigyoubu = 99)
{
  return KaisyahouHoukokusyo::build(doc, KaisyahouHoukokusyoBalances::postShiwakeArray(doc, o.period), jigyoubu, o);
}

// One statement line: code, title, amount.
struct Line {
  int32_t code;
  std::string title;
  int64_t amount;
  friend bool operator==(const Line&, const Line&) = default;
  friend void PrintTo(const Line& l, std::ostream* os)
  {
    *os << "{" << l.code << ", " << l.title << ", " << l.amount << "}";
  }
};

inline std::vector<Line> linesOf(const std::vector<Shisan>& rows)
{
  std::vector<Line> out;
  for (const Shisan& r : rows) out.push_back({r.kamokuCode(), r.title(), r.houkokusyoAmount()});
  return out;
}

// A statement-of-changes column: its code, its last given title and its cells.
struct ChangeColumn {
  int32_t code;
  std::string title;
  std::vector<int64_t> cells;
  friend bool operator==(const ChangeColumn&, const ChangeColumn&) = default;
  friend void PrintTo(const ChangeColumn& c, std::ostream* os)
  {
    *os << "{" << c.code << ", " << c.title << ",";
    for (int64_t v : c.cells) *os << " " << v;
    *os << "}";
  }
};

inline std::vector<ChangeColumn> columnsOf(const KabunushiShihonHendouBuilder::Statement& s)
{
  std::vector<ChangeColumn> out;
  for (const Shisan& c : s.columns) {
    const std::string& t = !c.title4().empty()   ? c.title4()
                           : !c.title3().empty() ? c.title3()
                           : !c.title2().empty() ? c.title2()
                                                 : c.title();
    out.push_back({c.kamokuCode(), t, c.monthlyAmountArray()});
  }
  return out;
}

// The statements agree among themselves: both balance-sheet sides of one length and
// balancing; every column of the statement of changes foots (opening + total change
// = closing, the reason rows adding up to the total change); and its closing row
// equals the balance sheet's 株主資本, 繰越利益剰余金 and 純資産合計; its profit row is the
// period's profit.
inline void expectStatementsAgree(const KaisyahouHoukokusyoStatements& st, int64_t max)
{
  const auto& left = st.taisyakuTaisyouShisannobuShisanArray;
  const auto& right = st.taisyakuTaisyouFusainobuShisanArray;
  ASSERT_EQ(left.size(), right.size());
  if (left.empty()) return;
  EXPECT_EQ(std::tuple(left.back().title(), right.back().title(), left.back().houkokusyoAmount()),
            std::tuple("　　　資産合計", "　　　負債・純資産合計", right.back().houkokusyoAmount()));

  const auto& ks = st.kabunushiShihon;
  const size_t n = ks.rowLabels.size();
  for (const Shisan& c : ks.columns) {
    SCOPED_TRACE(c.title() + c.title2() + c.title3() + c.title4());
    ASSERT_EQ(c.monthlyAmountArray().size(), n);
    auto cell = [&](size_t i) { return KabunushiShihonHendouBuilder::amountOfCell(c.monthlyAmountArray()[i], max); };
    int64_t reasons = 0;
    for (size_t i = 2; i + 2 < n; ++i) reasons += cell(i);
    EXPECT_EQ(reasons, cell(n - 2));
    EXPECT_EQ(cell(0) + cell(n - 2), cell(n - 1));
  }
  auto cellOf = [&](const std::string& title, size_t row) -> std::optional<int64_t> {
    for (const Shisan& c : ks.columns)
      if (c.title() + c.title2() + c.title3() + c.title4() == title) return c.monthlyAmountArray()[row];
    return std::nullopt;
  };
  auto rightOf = [&](const std::string& title) -> int64_t {
    for (const Shisan& r : right)
      if (r.title() == title) return r.houkokusyoAmount();
    return 0;
  };
  const std::string kurikoshi = "株主資本　利益剰余金　　その他利益剰余金　　　繰越利益剰余金";
  EXPECT_EQ(cellOf("純資産合計", n - 1), rightOf("　　　純資産合計"));
  EXPECT_EQ(cellOf("株主資本　株主資本合計", n - 1), rightOf("[株主資本]"));
  EXPECT_EQ(cellOf(kurikoshi, n - 1), rightOf("　　　繰越利益剰余金"));
  // The profit row of retained earnings carries the profit of the period.
  const std::optional<int64_t> profit =
      ks.toukiSonekiRow < 0 ? std::nullopt : cellOf(kurikoshi, static_cast<size_t>(ks.toukiSonekiRow));
  EXPECT_EQ(profit ? KabunushiShihonHendouBuilder::amountOfCell(*profit, max) : 0, st.toukiSonekiOfTaisyakuBalance);
}

}  // namespace kivo::test
