#include <gtest/gtest.h>

#include "document/MyDocument.h"
#include "journal/Kanjyoumotocyou.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

constexpr int32_t kGenkin = test::kGenkin;
constexpr int32_t kYokin = test::kFutsuuYokin;
constexpr int32_t kUriage = test::kUriagedaka;
constexpr int32_t kShiire = test::kShoumouhinhi;
constexpr int32_t kKyuKamoku = 102;  // 当座預金, taken out of use, still holding entries
constexpr int64_t kMax = Kaisya::kMaxOutputAmountValue;

// The test books with 現金 50,000 brought forward, 普通預金 7,000 over its two
// sub-accounts, and 当座預金 out of use with 800.
class LedgerBooks : public ::testing::Test {
protected:
  void SetUp() override
  {
    constexpr int32_t all = Jigyoubu::kAllJigyoubuCode;
    doc.kamokuOfCode(kGenkin)->setStartBalance(50000, all);
    doc.kamokuOfCode(kGenkin)->setStartBalance(999, 1);  // a division's balance, which a ledger never reads
    KamokuPtr yokin = doc.kamokuOfCode(kYokin);
    yokin->setStartBalance(7000, all);
    yokin->hojyoKamokuArray()[0]->setStartBalance(4000, all);
    yokin->hojyoKamokuArray()[1]->setStartBalance(3000, all);
    doc.kamokuOfCode(kKyuKamoku)->setStartBalance(800, all);
    doc.kamokuOfCode(kKyuKamoku)->setIsActive(false);
  }

  ShiwakePtr add(Date date, int32_t no, int32_t kari, int32_t kashi, int64_t amount, int32_t kariHojyo = -1,
                 int32_t kashiHojyo = -1)
  {
    ShiwakePtr s = test::makeEntry(date, no, kari, kashi, amount);
    s->setKarikataHojyoKamokuCode(kariHojyo);
    s->setKashikataHojyoKamokuCode(kashiHojyo);
    doc.journal().append(s);
    return s;
  }

  std::vector<Motocyou> ledger(int32_t kamoku, int32_t hojyo, int32_t from, int32_t to)
  {
    return Kanjyoumotocyou::motocyouArray(doc, kamoku, hojyo, from, to);
  }

  std::unique_ptr<MyDocument> books = test::makeBooks({.hojyoKamoku = true});
  MyDocument& doc = *books;
};

using Rows = std::vector<std::string>;

// Each row as "kind|title|debit|credit|balance", the kind B for a balance row, T for a
// total, else the entry's voucher number, so the expectations read independently of
// positions in the sorted journal.
Rows rowsOf(const MyDocument& doc, const std::vector<Motocyou>& rows)
{
  Rows out;
  for (const Motocyou& m : rows) {
    const int32_t i = m.indexOfSortedShiwakeArray();
    const std::string kind = m.isShiwakeRow()             ? std::to_string(doc.journal().sortedByDate()[i]->denpyouNo())
                             : i == Motocyou::kBalanceRow ? "B"
                             : i == Motocyou::kTotalRow   ? "T"
                                                          : std::to_string(i);
    out.push_back(kind + "|" + m.title() + "|" + std::to_string(m.karikataKingaku()) + "|" +
                  std::to_string(m.kashikataKingaku()) + "|" + std::to_string(m.zandaka()));
  }
  return out;
}

TEST_F(LedgerBooks, PeriodBoundsDecideBetweenOpeningBalanceAndRowsAndSeveralLedgersFollowEachOther)
{
  // The cash ledger of the acceptance case: two April entries and one in May, with
  // entries that must stay out of it (other accounts, a pending cash-book row and a
  // regular-type voucher).
  add(Date(2024, 4, 5), 1, kGenkin, kUriage, 10000);
  add(Date(2024, 4, 10), 2, kShiire, kYokin, 999, -1, 1);
  add(Date(2024, 4, 20), 3, kShiire, kGenkin, 3000);
  add(Date(2024, 4, 25), 0, kGenkin, kUriage, 123456);  // pending, not registered
  add(Date::regularTypeDenpyouDate(), -1, kGenkin, kUriage, 777);
  add(Date(2024, 5, 10), 4, kGenkin, kUriage, 20000);
  add(Date::kessanSeiridukiDate(), 5, kShiire, kGenkin, 7000);
  add(Date(2025, 3, 31), 6, kGenkin, kUriage, 100);

  // From May: April only in the opening balance.
  EXPECT_EQ(rowsOf(doc, ledger(kGenkin, -1, 1, 1)),
            (Rows{"B|開始残高|0|0|57000", "4||0|0|77000", "T|　5月合計|20000|0|0", "T|　合計|20000|0|0"}));
  // April alone: later entries untouched.
  EXPECT_EQ(rowsOf(doc, ledger(kGenkin, -1, 0, 0)).back(), "T|　合計|10000|3000|0");
  // The closing-adjustment month alone: every real month in the opening balance.
  EXPECT_EQ(rowsOf(doc, ledger(kGenkin, -1, 12, 12)),
            (Rows{"B|開始残高|0|0|77100", "5||0|0|70100", "T|　決算整理月合計|0|7000|0", "T|　合計|0|7000|0"}));
  // The twelve real months leave the closing adjustment out.
  const Rows year = rowsOf(doc, ledger(kGenkin, -1, 0, 11));
  EXPECT_EQ(year[year.size() - 2], "T|　3月合計|100|0|0");
  EXPECT_EQ(year.back(), "T|　合計|30100|3000|0");
  // An account without any entry: exactly the opening balance and the total.
  EXPECT_EQ(rowsOf(doc, ledger(kKyuKamoku, -1, 0, 12)), (Rows{"B|開始残高|0|0|800", "T|　合計|0|0|0"}));
  // Indexes beyond the term are held to it instead of reading past the months.
  EXPECT_EQ(rowsOf(doc, ledger(kGenkin, -1, -4, 40)), rowsOf(doc, ledger(kGenkin, -1, 0, 12)));

  // Several ledgers follow each other and report progress.
  std::vector<Motocyou> rows(3);  // emptied first
  std::vector<std::string> names;
  const bool done = Kanjyoumotocyou::setKanjyoumotocyouArray(doc, rows, {{kGenkin, -1}, {-1, -1}, {kYokin, 1}}, 0, 12,
                                                             [&](int done, int total, const std::string& name) {
                                                               EXPECT_EQ(done, static_cast<int>(names.size()));
                                                               EXPECT_EQ(total, 3);
                                                               names.push_back(name);
                                                               return true;
                                                             });
  EXPECT_TRUE(done);
  EXPECT_EQ(names, (std::vector<std::string>{"現金", "", "普通預金 ／ みずほ銀行"}));
  ASSERT_EQ(rows.size(), 11u + 4u);  // the three rows there before are gone

  // Cancelling before the second ledger keeps the first one's rows and answers false.
  const bool cancelled = !Kanjyoumotocyou::setKanjyoumotocyouArray(
      doc, rows, {{kGenkin, -1}, {kYokin, 1}}, 0, 12, [](int done, int, const std::string&) { return done < 1; });
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(rows.size(), 11u);
}

TEST_F(LedgerBooks, GeneralLedgerTakesEverySubAccountAndSubLedgerOnlyItsOwn)
{
  add(Date(2024, 4, 1), 1, kYokin, kUriage, 100, 1);
  add(Date(2024, 4, 2), 2, kYokin, kUriage, 200, 2);
  add(Date(2024, 4, 3), 3, kShiire, kYokin, 50, -1, 1);
  add(Date(2024, 4, 4), 4, kYokin, kUriage, 10);  // no sub-account

  EXPECT_EQ(rowsOf(doc, ledger(kYokin, -1, 0, 12)),
            (Rows{"B|開始残高|0|0|7000", "1||0|0|7100", "2||0|0|7300", "3||0|0|7250", "4||0|0|7260",
                  "T|　4月合計|310|50|0", "T|　合計|310|50|0"}));
  const std::vector<Motocyou> a = ledger(kYokin, 1, 0, 12);
  EXPECT_EQ(rowsOf(doc, a),
            (Rows{"B|開始残高|0|0|4000", "1||0|0|4100", "3||0|0|4050", "T|　4月合計|100|50|0", "T|　合計|100|50|0"}));
  for (const Motocyou& m : a)
    EXPECT_EQ(std::pair(m.motocyouKamokuCode(), m.motocyouHojyoKamokuCode()), std::pair(kYokin, 1));
  EXPECT_EQ(rowsOf(doc, ledger(kYokin, 2, 0, 12))[1], "2||0|0|3200");
}

TEST_F(LedgerBooks, AccountsFoundByExactCodeActiveOrNotSetTheDirectionAndBothSidesMoveOneRow)
{
  add(Date(2024, 4, 1), 1, kGenkin, kUriage, 900);
  add(Date(2024, 4, 2), 2, kUriage, kGenkin, 100);
  EXPECT_EQ(rowsOf(doc, ledger(kUriage, -1, 0, 12))[2], "2||0|0|800");
  // An account that no account has counts as credit-natured with nothing brought forward.
  add(Date(2024, 4, 3), 3, 777, kGenkin, 40);
  EXPECT_EQ(rowsOf(doc, ledger(777, -1, 0, 12))[1], "3||0|0|-40");

  // 12 comes after 120 (貯蔵品, debit-natured, nothing brought forward) in the chart: a
  // lookup by the beginning of the code text would take 120's opening balance and nature.
  auto kubun = std::make_shared<KamokuKubun>();
  auto twelve = std::make_shared<Kamoku>();
  twelve->setCode(12);
  twelve->setIsKarikataKamoku(false);
  twelve->setStartBalance(5000, Jigyoubu::kAllJigyoubuCode);
  kubun->childrenKamoku().push_back(twelve);
  doc.rootKamokuKubun()->children().push_back(kubun);
  add(Date(2024, 4, 4), 4, 12, kUriage, 100);
  EXPECT_EQ(rowsOf(doc, ledger(12, -1, 0, 12))[1], "4||0|0|4900");

  // An account taken out of use keeps its opening balance and its nature.
  add(Date(2024, 4, 5), 5, kKyuKamoku, kUriage, 200);
  EXPECT_EQ(rowsOf(doc, ledger(kKyuKamoku, -1, 0, 12))[1], "5||0|0|1000");

  // An entry on both sides of an account is one row moved by both amounts.
  auto s = add(Date(2024, 4, 1), 6, kYokin, kYokin, 0, 1, 2);
  s->setKarikataKingaku(500);
  s->setKashikataKingaku(200);
  EXPECT_EQ(rowsOf(doc, ledger(kYokin, -1, 0, 12)),
            (Rows{"B|開始残高|0|0|7000", "6||0|0|7300", "T|　4月合計|500|200|0", "T|　合計|500|200|0"}));
  // The sub ledger of one side sees only that side.
  EXPECT_EQ(rowsOf(doc, ledger(kYokin, 2, 0, 12))[1], "6||0|0|2800");
}

TEST_F(LedgerBooks, BalancesAndSumsBeyondTheOutputLimitReadAsOverflowAndNeverWrap)
{
  // A balance that leaves the output limit stays beyond it.
  doc.kamokuOfCode(kKyuKamoku)->setStartBalance(kMax - 10, Jigyoubu::kAllJigyoubuCode);
  add(Date(2024, 4, 1), 101, kShiire, kKyuKamoku, 5);    // max - 15
  add(Date(2024, 4, 2), 102, kKyuKamoku, kUriage, 20);   // max + 5: past the limit
  add(Date(2024, 4, 3), 103, kShiire, kKyuKamoku, 100);  // frozen: stays max + 5
  const std::vector<Motocyou> balances = ledger(kKyuKamoku, -1, 0, 12);
  EXPECT_EQ((std::vector{balances[1].zandaka(), balances[2].zandaka(), balances[3].zandaka()}),
            (std::vector{kMax - 15, kMax + 5, kMax + 5}));
  EXPECT_EQ(doc.kaisya().outputStringOfMemoryKingaku(balances[3].zandaka()), "#Precision!");

  // A sum that reaches the limit and grows reads as overflow, not as the limit.
  constexpr int64_t kInputMax = Kaisya::kMaxInputAmountValue;  // 99,999,999,999
  int32_t no = 1;
  for (int i = 0; i < 10; ++i) add(Date(2024, 4, 1), no++, kGenkin, kUriage, kInputMax);
  add(Date(2024, 4, 2), no++, kGenkin, kUriage, 9);  // the April debit sum is exactly the limit
  std::vector<Motocyou> rows = ledger(kGenkin, -1, 0, 0);
  EXPECT_EQ(rows[rows.size() - 2].karikataKingaku(), kMax);  // still a true sum
  EXPECT_EQ(doc.kaisya().outputStringOfMemoryKingaku(rows.back().karikataKingaku()),
            doc.kaisya().displayStringOfMemoryKingaku(kMax));

  add(Date(2024, 4, 3), no++, kGenkin, kUriage, 1);  // now it has passed the limit
  add(Date(2024, 5, 1), no++, kGenkin, kUriage, 1);
  rows = ledger(kGenkin, -1, 0, 12);
  const Motocyou& april = rows[13];
  ASSERT_EQ(april.title(), "　4月合計");
  EXPECT_EQ(doc.kaisya().outputStringOfMemoryKingaku(april.karikataKingaku()), "#Precision!");
  EXPECT_EQ(april.kashikataKingaku(), 0);
  EXPECT_EQ(std::pair(rows[15].title(), rows[15].karikataKingaku()), std::pair(std::string("　5月合計"), int64_t{1}));
  EXPECT_EQ(doc.kaisya().outputStringOfMemoryKingaku(rows.back().karikataKingaku()), "#Precision!");

  // Amounts near the integer limit saturate instead of wrapping.
  add(Date(2024, 4, 1), 201, kYokin, kUriage, INT64_MAX);
  add(Date(2024, 4, 2), 202, kYokin, kUriage, INT64_MAX);
  add(Date(2024, 5, 1), 203, kYokin, kUriage, INT64_MAX);
  rows = ledger(kYokin, -1, 0, 12);
  for (const Motocyou& m : rows) {
    if (m.isShiwakeRow()) { EXPECT_GT(m.zandaka(), kMax); }
    EXPECT_GE(m.karikataKingaku(), 0);
  }
  EXPECT_GT(rows.back().karikataKingaku(), kMax);
}

TEST_F(LedgerBooks, OnlyTheLimitAboveStopsASumSoNegativeAmountsKeepItTrue)
{
  // Negative amounts (a file may hold them) take a month's sum and the period's
  // total below minus the limit and back: both stay true figures throughout.
  add(Date(2024, 4, 1), 1, kGenkin, kUriage, -kMax);
  add(Date(2024, 4, 2), 2, kGenkin, kUriage, -10);  // April: below minus the limit
  add(Date(2024, 4, 3), 3, kGenkin, kUriage, 20);   // and back: -max + 10
  add(Date(2024, 5, 1), 4, kGenkin, kUriage, -20);  // the total: -max - 10
  add(Date(2024, 6, 1), 5, kGenkin, kUriage, 30);   // and back: -max + 20
  const std::vector<Motocyou> rows = ledger(kGenkin, -1, 0, 12);
  std::vector<std::pair<std::string, int64_t>> sums;
  for (const Motocyou& m : rows)
    if (m.indexOfSortedShiwakeArray() == Motocyou::kTotalRow) sums.emplace_back(m.title(), m.karikataKingaku());
  EXPECT_EQ(sums, (std::vector<std::pair<std::string, int64_t>>{
                      {"　4月合計", -kMax + 10}, {"　5月合計", -20}, {"　6月合計", 30}, {"　合計", -kMax + 20}}));
}

}  // namespace
}  // namespace kivo
