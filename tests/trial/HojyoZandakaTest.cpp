// The sub-account balance list: 売掛金 with three customers kept by two divisions,
// every row worked out by hand; its total against the trial balance's row of the
// account, also with what no active sub-account holds; the printout's pages.
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "trial/HojyoZandaka.h"
#include "trial/HojyoZandakaBooks.h"
#include "trial/HojyozandakaIchiranPaginator.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo {
namespace {

using test::addJigyoubu;
using test::codeOf;
using test::kamokuNamed;

// Title, opening, debit, credit, closing, share ("--" when invalid).
using Row = std::tuple<std::string, int64_t, int64_t, int64_t, int64_t, std::string>;
using Rows = std::vector<Row>;

std::string share(const Shisan& r)
{
  if (!r.isValidPercent()) return "--";
  char text[32];
  std::snprintf(text, sizeof text, "%0.2f", r.percent());
  return text;
}

std::vector<Row> table(const std::vector<Shisan>& rows)
{
  std::vector<Row> out;
  for (const Shisan& r : rows)
    out.emplace_back(r.title(), r.kaishiZandaka(), r.karikataGoukei(), r.kashikataGoukei(), r.syuuryouZandaka(),
                     share(r));
  return out;
}

class HojyoZandakaTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    doc = test::makeHojyoZandakaBooks();
    urikake = kamokuNamed(*doc, "売掛金");
  }

  void entry(Date date, int32_t kariHojyo, int64_t amount, int32_t jigyoubu)
  {
    test::addHojyoShiwake(*doc, date, urikake->code(), kariHojyo, codeOf(*doc, "売上高"), -1, amount, jigyoubu);
  }

  // May (index 1) to August (index 4).
  std::vector<Shisan> list(int32_t jigyoubu, int32_t from = 1, int32_t to = 4)
  {
    return *HojyoZandaka::hojyoZandakaArray(*doc, {{jigyoubu, urikake->code()}}, from, to);
  }

  std::unique_ptr<MyDocument> doc;
  KamokuPtr urikake;
};

TEST_F(HojyoZandakaTest, EveryRowTheTotalAgainstTheTrialBalanceThePagesAndTheListsEdges)
{
  // entryOnNoSubAccount: 売掛金 50 in August, division 1, without a customer
  const std::tuple<int32_t, bool, Rows> cases[] = {
      {1, false,
       Rows{Row{"A商店", 1400, 0, 0, 1400, "35.90"}, Row{"B商店", 2000, 1000, 500, 2500, "64.10"},
            Row{"C商店", 0, 0, 0, 0, "0.00"}, Row{"合計", 3400, 1000, 500, 3900, "100.00"}}},
      {2, false,
       Rows{Row{"A商店", 500, 0, 300, 200, "28.57"}, Row{"B商店", 0, 0, 0, 0, "0.00"},
            Row{"C商店", 300, 200, 0, 500, "71.43"}, Row{"合計", 800, 200, 300, 700, "100.00"}}},
      // The company: the divisions' openings summed, never the stored 99 figures.
      {99, true,
       Rows{Row{"A商店", 1900, 0, 300, 1600, "34.41"}, Row{"B商店", 2000, 1000, 500, 2500, "53.76"},
            Row{"C商店", 300, 200, 0, 500, "10.75"}, Row{"補助科目なし", 0, 50, 0, 50, "1.08"},
            Row{"合計", 4200, 1250, 800, 4650, "100.00"}}}};
  for (const auto& [jigyoubu, entryOnNoSubAccount, expected] : cases) {
    SetUp();
    if (entryOnNoSubAccount) entry(Date(2024, 8, 1), -1, 50, 1);
    const std::vector<Shisan> rows = list(jigyoubu);
    EXPECT_EQ(table(rows), expected) << "division " << jigyoubu << (entryOnNoSubAccount ? " with" : "");
    for (const Shisan& r : rows)
      EXPECT_EQ(std::make_pair(r.jigyoubuCode(), r.kamokuCode()), std::make_pair(jigyoubu, urikake->code()));
    EXPECT_EQ(std::tuple(rows.back().hojyoKamokuCode(), rows[1].hojyoKamokuCode()),
              std::tuple(HojyoZandaka::kGoukeiRowCode, 2));
  }

  // The printout's pages, on the books as they were made.
  SetUp();
  const std::vector<Shisan> one = list(2);          // three customers and the total
  std::vector<Shisan> two = list(99, 4, 4);         // August alone
  two.insert(two.begin(), one.begin(), one.end());  // then the company's list
  using Kind = HojyozandakaIchiranPaginator::Row::Kind;
  const auto kinds = [](const HojyozandakaIchiranPaginator& p) {
    std::string out;
    for (const auto& r : p.printingShisanArray())
      out += r.kind == Kind::Heading ? 'H' : r.kind == Kind::Period ? 'P' : r.kind == Kind::Empty ? '.' : 'r';
    return out;
  };
  // With 6 lines an account fills its page exactly. With 5 the total would open the
  // next page alone: the last customer goes with it.
  const std::tuple<int, const char*> pageCases[] = {
      {10, "HPrrrr....HPrrrr...."}, {6, "HPrrrrHPrrrr"}, {5, "HPrr.HPrr.HPrr.HPrr."}};
  for (const auto& [rowsPerPage, pages] : pageCases) {
    HojyozandakaIchiranPaginator p(*doc, two, 1, 4, rowsPerPage);
    EXPECT_EQ(kinds(p), pages) << rowsPerPage;
    EXPECT_EQ(p.pageCount() * rowsPerPage, static_cast<int>(p.printingShisanArray().size()));
  }
  HojyozandakaIchiranPaginator p(*doc, two, 1, 4, 10);
  EXPECT_EQ(p.printingShisanArray()[0].shisan.title(), "勘定科目：　売掛金（事業部2）");
  EXPECT_EQ(p.printingShisanArray()[1].shisan.title(), "5月 〜 8月");
  // An account whose only row is its total prints heading, period and the total.
  const std::vector<Shisan> onlyTotal{one.back()};
  EXPECT_EQ(kinds(HojyozandakaIchiranPaginator(*doc, onlyTotal, 1, 4, 5)), "HPr..");
  EXPECT_EQ(std::make_tuple(p.lineOfRow(1), p.lineOfRow(2), p.lineOfRow(11)), std::make_tuple(2, 4, 2));

  // The edges of the list.
  // An account code no account has, and none at all: no rows.
  EXPECT_TRUE(HojyoZandaka::hojyoZandakaArray(*doc, {{99, -1}, {99, 998}}, 0, 12)->empty());
  // A division with nothing on the account: every share "--".
  addJigyoubu(*doc, 3);
  for (const Row& r : table(list(3))) EXPECT_EQ(std::get<5>(r), "--") << std::get<0>(r);
  // A share of nothing in a negative total reads 0.00, never -0.00.
  EXPECT_EQ(std::get<5>(table(list(2, 6, 8))[1]), "0.00");
  // A cancelled build gives nothing.
  const auto cancelled = HojyoZandaka::hojyoZandakaArray(
      *doc, {{1, urikake->code()}, {2, urikake->code()}}, 0, 12,
      [](int done, int total, const std::string& name) { return done == 0 && total == 2 && name == "売掛金"; });
  EXPECT_FALSE(cancelled);

  // A customer's debit total that stands on the output limit takes the next amount,
  // so that it reads as overflow, as the ledger and the trial balance read it.
  const int64_t max = doc->kaisya().maxOutputAmountValue();
  entry(Date(2024, 5, 1), 1, max, 1);
  entry(Date(2024, 5, 2), 1, 1, 1);
  EXPECT_EQ(std::get<2>(table(list(1))[0]), max + 1);

  // On fresh books, the total is the trial balance's row of the account for every division and the company.
  SetUp();
  const auto check = [&](const char* what, int32_t from, int32_t to) {
    ZandakaShisanAssembly trial(*doc);
    for (int32_t j : {1, 2, 99}) {
      trial.setZandakaShisanArrayForJigyoubuCode(j, from, to, false);
      const Shisan* account = nullptr;
      for (const Shisan& r : trial.taisyakuTaisyouShisanArray())
        if (r.kamokuCode() == urikake->code()) account = &r;
      ASSERT_NE(account, nullptr) << what;
      const Shisan goukei = list(j, from, to).back();
      EXPECT_EQ(std::make_tuple(goukei.kaishiZandaka(), goukei.karikataGoukei(), goukei.kashikataGoukei(),
                                goukei.syuuryouZandaka()),
                std::make_tuple(account->kaishiZandaka(), account->karikataGoukei(), account->kashikataGoukei(),
                                account->syuuryouZandaka()))
          << what << ", division " << j;
    }
  };
  check("customers only", 1, 4);
  // Entries without a customer, on a customer taken out of use, on a code no customer
  // has, and an opening balance of the account its customers do not make up.
  entry(Date(2024, 5, 8), -1, 50, 1);
  entry(Date(2024, 6, 8), 9, 60, 2);
  test::addHojyoKamoku(*urikake, 4, "D商店", false);
  entry(Date(2024, 4, 8), 4, 70, 2);
  urikake->setStartBalance(3100, 1);
  check("and what no customer holds", 1, 4);
  check("the whole term", 0, 12);
  check("the closing-adjustment month alone", 12, 12);
  const std::vector<Row> company = table(list(99));
  EXPECT_EQ(company[3], Row("補助科目なし", 170, 110, 0, 280, "5.74"));
}

}  // namespace
}  // namespace kivo
