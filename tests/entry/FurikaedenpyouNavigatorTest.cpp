#include <gtest/gtest.h>

#include <functional>

#include "entry/FurikaedenpyouNavigator.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using test::kGenkin;
using test::kUriagedaka;
using Nav = FurikaedenpyouNavigator;

// A journal in date order: a regular-type voucher, vouchers in April, May and July
// with cash-book entries, a pending entry and a hidden entry between them, and a
// closing-adjustment voucher.
std::unique_ptr<MyDocument> journal()
{
  auto doc = test::makeBooks();
  auto e = [](Date d, int32_t n, ShiwakeKind kind = ShiwakeKind::Furikaedenpyou) {
    return test::makeEntry(d, n, kGenkin, kUriagedaka, 1, kind);
  };
  auto hidden = e(Date(2024, 5, 3), 40);
  hidden->setDidCreateBeforeOpen(true);
  doc->journal().assign({
      e(Date::regularTypeDenpyouDate(), -1),
      e(Date(2024, 4, 1), 1),
      e(Date(2024, 4, 1), 1),
      e(Date(2024, 4, 2), 50, ShiwakeKind::Suitoucyou),
      e(Date(2024, 4, 5), 2),
      e(Date(2024, 4, 20), 0, ShiwakeKind::SuitoucyouNoAmount),
      e(Date(2024, 4, 30), 3),
      e(Date(2024, 5, 2), 4),
      hidden,
      e(Date(2024, 5, 20), 5),
      e(Date(2024, 7, 1), 6),
      e(Date(2024, 7, 9), 7),
      e(Date::kessanSeiridukiDate(), 8),
      e(Date::kessanSeiridukiDate(), 9),
  });
  return doc;
}

using Command = std::function<std::optional<int32_t>(const MyDocument&, int32_t)>;

TEST(FurikaedenpyouNavigator, TargetsOfEveryCommandTenStepsCountingVouchers)
{
  // What, the command, the number it starts from and the number it shows (none: stays).
  const std::optional<int32_t> none;
  const std::tuple<const char*, Command, int32_t, std::optional<int32_t>> cases[] = {
      {"next passes a cash-book entry", Nav::showNextDenpyou, 1, 2},
      {"next passes a pending entry", Nav::showNextDenpyou, 2, 3},
      {"next", Nav::showNextDenpyou, 3, 4},
      {"next passes a hidden entry", Nav::showNextDenpyou, 4, 5},
      {"next over an empty month", Nav::showNextDenpyou, 5, 6},
      {"next to the closing adjustment", Nav::showNextDenpyou, 7, 8},
      {"next within the closing adjustment", Nav::showNextDenpyou, 8, 9},
      {"next from a regular-type voucher", Nav::showNextDenpyou, -1, 1},
      {"next at the end", Nav::showNextDenpyou, 9, none},
      {"next of an unregistered voucher", Nav::showNextDenpyou, 77, none},
      {"previous", Nav::showPreviousDenpyou, 4, 3},
      {"previous reaches the regular type", Nav::showPreviousDenpyou, 1, -1},
      {"previous at the start", Nav::showPreviousDenpyou, -1, none},
      {"previous of an unregistered voucher: the last", Nav::showPreviousDenpyou, 77, 9},
      {"ten on", Nav::skipDenpyou, -1, 9},
      {"ten on stops at the last", Nav::skipDenpyou, 5, 9},
      {"ten on at the end", Nav::skipDenpyou, 9, none},
      {"ten back stops at the first", Nav::reverseSkipDenpyou, 6, -1},
      {"ten back of an unregistered voucher: tenth from the end", Nav::reverseSkipDenpyou, 77, -1},
      {"first", Nav::showStartDenpyou, 5, -1},
      {"first when shown", Nav::showStartDenpyou, -1, none},
      {"last", Nav::showEndDenpyou, 5, 9},
      {"last when shown", Nav::showEndDenpyou, 9, none},
      {"next month", Nav::showNextMonthDenpyou, 1, 4},
      {"next month skips an empty month", Nav::showNextMonthDenpyou, 5, 6},
      {"next month with no later month used: the closing adjustment", Nav::showNextMonthDenpyou, 6, 8},
      {"next month from a closing-adjustment voucher: the last of them", Nav::showNextMonthDenpyou, 8, 9},
      {"next month from the last of them", Nav::showNextMonthDenpyou, 9, none},
      {"next month from the regular type", Nav::showNextMonthDenpyou, -1, 1},
      {"month start", Nav::showPreviousMonthDenpyou, 3, 1},
      {"month start from the first of a month: previous month", Nav::showPreviousMonthDenpyou, 4, 1},
      {"month start over an empty month", Nav::showPreviousMonthDenpyou, 6, 4},
      {"month start of the first month: the first voucher", Nav::showPreviousMonthDenpyou, 1, -1},
      {"month start from the closing adjustment", Nav::showPreviousMonthDenpyou, 9, 8},
      {"month start from the first closing-adjustment voucher", Nav::showPreviousMonthDenpyou, 8, 6},
  };
  auto doc = journal();
  for (const auto& [name, command, from, to] : cases) EXPECT_EQ(command(*doc, from), to) << name;

  // Ten steps count vouchers, not entries.
  auto tens = test::makeBooks();
  for (int32_t n = 1; n <= 15; ++n)
    for (int line = 0; line < 2; ++line)
      tens->journal().append(test::makeEntry(Date(2024, 4, n), n, kGenkin, kUriagedaka, 1));
  EXPECT_EQ(Nav::skipDenpyou(*tens, 1), 11);
  EXPECT_EQ(Nav::reverseSkipDenpyou(*tens, 13), 3);
  EXPECT_EQ(Nav::reverseSkipDenpyou(*tens, 99), 6);  // 15 counts as the first
}

}  // namespace
}  // namespace kivo
