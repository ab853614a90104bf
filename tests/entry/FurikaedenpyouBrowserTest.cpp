// What the voucher browser shows: the cards of a date, the dates around it and the
// voucher a number names.
#include <gtest/gtest.h>

#include "entry/FurikaedenpyouBrowser.h"
#include "support/TestBooks.h"

namespace kivo::test {
namespace {

using B = FurikaedenpyouBrowser;

class FurikaedenpyouBrowserTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    auto hidden = makeEntry(Date(2024, 4, 2), 9, kGenkin, kUriagedaka, 1);
    hidden->setDidCreateBeforeOpen(true);
    doc->journal().assign({
        makeEntry(Date(2024, 4, 1), 1, kGenkin, kUriagedaka, 10),            // 0
        makeCashEntry(Date(2024, 4, 2), 2, kGenkin, kUriagedaka, 5),         // 1
        makeEntry(Date(2024, 4, 2), 3, kGenkin, kUriagedaka, 10),            // 2
        makeEntry(Date(2024, 4, 2), 3, kShoumouhinhi, kGenkin, 3),           // 3
        hidden,                                                              // 4
        makeEntry(Date(2024, 4, 2), 4, kGenkin, kUriagedaka, 10),            // 5
        makeEntry(Date(2024, 4, 9), 5, kGenkin, kUriagedaka, 10),            // 6
        makeEntry(Date::kessanSeiridukiDate(), 6, kGenkin, kUriagedaka, 1),  // 7
    });
    for (int i = 0; i < 6; ++i) doc->journal().append(makeEntry(Date(2024, 5, 1), 7, kGenkin, kUriagedaka, i + 1));
  }

  std::unique_ptr<MyDocument> doc = makeBooks();
};

TEST_F(FurikaedenpyouBrowserTest, TheCardsOfADateAreItsVouchersAndTheDatesAroundSkipThoseWithout)
{
  // The date, the cards found.
  const std::pair<Date, std::vector<size_t>> cases[] = {
      {Date(2024, 4, 2), {2, 5}},  // no cash-book line, no hidden line
      {Date(2024, 4, 1), {0}},
      {Date::kessanSeiridukiDate(), {7}},
      {Date(2024, 4, 3), {}},
  };
  for (const auto& [date, cards] : cases) EXPECT_EQ(B::cardsOfDate(*doc, date), cards);
  // At most five rows.
  EXPECT_EQ(std::tuple(B::rowsOfCard(*doc, 2).size(), B::rowsOfCard(*doc, 8).size(), B::rowsOfCard(*doc, 99).size()),
            std::tuple(2u, 5u, 0u));

  // Previous and next dates skip dates without vouchers.
  using Cards = std::vector<size_t>;
  using D = std::optional<Date>;
  // Without cards or a date: next is the last voucher's date, previous the first's.
  EXPECT_EQ((std::vector{B::nextDate(*doc, Cards{2, 5}, std::nullopt), B::previousDate(*doc, Cards{2, 5}, std::nullopt),
                         B::previousDate(*doc, Cards{0}, std::nullopt), B::nextDate(*doc, {}, Date(2024, 4, 3)),
                         B::previousDate(*doc, {}, Date(2024, 4, 3)), B::nextDate(*doc, {}, std::nullopt),
                         B::previousDate(*doc, {}, std::nullopt)}),
            (std::vector<D>{Date(2024, 4, 9), Date(2024, 4, 1), std::nullopt, Date(2024, 4, 9), Date(2024, 4, 2),
                            Date(2024, 5, 1), Date(2024, 4, 1)}));
  EXPECT_EQ(B::firstIndexOfDenpyouNo(*doc, 4), 5u);
  EXPECT_EQ(B::firstIndexOfDenpyouNo(*doc, 2), std::nullopt);  // a cash-book entry
}

}  // namespace
}  // namespace kivo::test
