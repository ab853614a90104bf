#include <gtest/gtest.h>

#include "document/MyDocument.h"
#include "journal/ShiwakenikkiCondition.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

constexpr int32_t kGenkin = 100;
constexpr int32_t kYokin = 110;
constexpr int32_t kUriage = 400;
constexpr int32_t kShiire = 500;
constexpr int32_t kEither = ShiwakenikkiSubCondition::kEitherSide;
constexpr int32_t kKari = ShiwakenikkiSubCondition::kKarikataSide;
constexpr int32_t kKashi = ShiwakenikkiSubCondition::kKashikataSide;

using Numbers = std::vector<int32_t>;

// A small journal in stored order, not date order, with the rows no journal shows:
// a pending cash-book row (number 0) and a regular-type voucher (negative number).
class JournalBooks : public ::testing::Test {
protected:
  void SetUp() override
  {
    doc.kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
    for (int code : {1, 2}) test::addJigyoubu(doc, code, "");
    add(Date::kessanSeiridukiDate(), 5, kUriage, -1, kGenkin, -1, 300, "決算", 2, 2);
    add(Date(2024, 4, 1), 1, kGenkin, -1, kUriage, -1, 1000, "Apple Sales", 1, 1);
    add(Date(2024, 4, 2), 0, kGenkin, -1, kUriage, -1, 50, "Apple pending", 1, 1);
    add(Date(2024, 4, 15), 2, kYokin, 1, kGenkin, -1, 500, "apple pie", 2, 1);
    add(Date::regularTypeDenpyouDate(), -1, kGenkin, -1, kUriage, -1, 70, "apple regular", 1, 1);
    add(Date(2024, 5, 1), 3, kShiire, -1, kYokin, 2, 0, "ＡＢＣ商店", 1, 2);
    add(Date(2024, 6, 1), 4, kYokin, -1, kUriage, -1, 2000, "Pineapple", 2, 2);
    // One amount on the debit side only; no credit account.
    add(Date(2024, 7, 1), 6, kShiire, -1, -1, -1, 700, "", 1, -1);
  }

  ShiwakePtr add(Date date, int32_t no, int32_t kari, int32_t kariHojyo, int32_t kashi, int32_t kashiHojyo,
                 int64_t amount, const std::string& tekiyou, int32_t kariJigyoubu, int32_t kashiJigyoubu)
  {
    ShiwakePtr s = test::makeEntry(date, no, kari, kashi, amount);
    s->setKarikataHojyoKamokuCode(kariHojyo);
    s->setKarikataJigyoubuCode(kariJigyoubu);
    s->setKashikataHojyoKamokuCode(kashiHojyo);
    s->setKashikataJigyoubuCode(kashiJigyoubu);
    s->setTekiyou(tekiyou);
    doc.journal().append(s);
    return s;
  }

  ShiwakenikkiCondition cond;

  Numbers shown(bool marked = false)
  {
    Numbers out;
    for (const ShiwakePtr& s : cond.displayShiwakeArrayOfDocument(doc, marked).displayShiwakeArray)
      out.push_back(s->denpyouNo());
    return out;
  }

  MyDocument doc;
};

TEST_F(JournalBooks, EveryStageOffListsEntriesInDateOrderAndDateNumberAndAmountStagesNarrow)
{
  int ticks = 0;
  const auto result = cond.displayShiwakeArrayOfDocument(doc, false, [&] { ++ticks; });
  Numbers numbers;
  for (const ShiwakePtr& s : result.displayShiwakeArray) numbers.push_back(s->denpyouNo());
  // The closing adjustment last; no stage walked the list.
  EXPECT_EQ(std::tuple(numbers, result.totalCount, result.stateString(), ticks),
            std::tuple(Numbers{1, 2, 3, 4, 6, 5}, 6, std::string("6 個中 6 個の仕訳が条件に一致しました。"), 0));

  cond.setDenpyouNoConditionState(ShiwakenikkiCondition::kStateInside);
  cond.setDenpyouNoTo(4);
  const auto narrowed = cond.displayShiwakeArrayOfDocument(doc, false, [&] { ++ticks; });
  EXPECT_EQ(narrowed.stateString(), "6 個中 4 個の仕訳が条件に一致しました。");
  EXPECT_EQ(ticks, 1);  // entries 0 of a six-entry walk

  // The date stage keeps entries inside or outside the range.
  cond.setDenpyouNoConditionState(0);
  // Both bounds included; no end: through the closing month; no start: from the
  // term's first day.
  const std::tuple<int32_t, Date, Date, Numbers> dates[] = {
      {1, Date(2024, 4, 10), Date(2024, 5, 31), {2, 3}},
      {2, Date(2024, 4, 10), Date(2024, 5, 31), {1, 4, 6, 5}},
      {1, Date(2024, 4, 15), Date(2024, 4, 15), {2}},
      {1, Date(2024, 6, 1), Date(), {4, 6, 5}},
      {1, Date(), Date(2024, 4, 30), {1, 2}},
      {1, Date(), Date(), {1, 2, 3, 4, 6, 5}},
      {2, Date(), Date(), {}},
      {1, Date(2025, 3, 31), Date::kessanSeiridukiDate(), {5}},
  };
  for (const auto& [state, from, to, expected] : dates) {
    cond.setDateConditionState(state);
    cond.setDateFrom(from);
    cond.setDateTo(to);
    EXPECT_EQ(shown(), expected) << state << " " << from.toString() << " - " << to.toString();
  }

  // The number and amount stages keep values inside or outside the range.
  cond.setDateConditionState(0);
  // Numbers (0), then amounts (1). Numbers: -1 leaves the initial bounds, 1 to
  // 99999. Amounts: both amounts 0 pass when 0 is inside, a one-sided 700 is judged
  // by its one amount, no upper bound is the input limit, and there is no other
  // working state.
  const std::tuple<int, int32_t, int64_t, int64_t, Numbers> ranges[] = {
      {0, 1, 2, 4, {2, 3, 4}}, {0, 2, 2, 4, {1, 6, 5}},       {0, 1, -1, -1, {1, 2, 3, 4, 6, 5}},
      {0, 1, 5, -1, {6, 5}},   {0, 3, 6, 6, {1, 2, 3, 4, 5}}, {1, 1, 500, 1000, {1, 2, 6}},
      {1, 1, 0, 100, {3}},     {1, 1, 600, 800, {6}},         {1, 1, -1, -1, {1, 2, 3, 4, 6, 5}},
      {1, 1, 2000, -1, {4}},   {1, 2, 0, 5000, {}},
  };
  for (const auto& [amount, state, from, to, expected] : ranges) {
    cond.setDenpyouNoConditionState(amount ? 0 : state);
    cond.setDenpyouNoFrom(static_cast<int32_t>(amount ? -1 : from));
    cond.setDenpyouNoTo(static_cast<int32_t>(amount ? -1 : to));
    cond.setKingakuConditionState(amount ? state : 0);
    cond.setKingakuFrom(amount ? from : -1);
    cond.setKingakuTo(amount ? to : -1);
    EXPECT_EQ(shown(), expected) << amount << " " << state << " " << from << "-" << to;
  }
}

TEST_F(JournalBooks, AccountDivisionAndDescriptionStagesMatch)
{
  using Items = std::vector<ShiwakenikkiSubCondition>;
  // What, the state, the items, the entries shown; the items are divisions'.
  const std::tuple<const char*, int32_t, Items, Numbers, bool> cases[] = {
      {"either side", 1, {{kGenkin, -1, kEither}}, {1, 2, 5}, false},
      {"debit side", 1, {{kGenkin, -1, kKari}}, {1}, false},
      {"credit side", 1, {{kGenkin, -1, kKashi}}, {2, 5}, false},
      {"unknown side", 1, {{kGenkin, -1, 3}}, {}, false},
      {"any sub-account, or none", 1, {{kYokin, -1, kEither}}, {2, 3, 4}, false},
      {"one sub-account", 1, {{kYokin, 1, kEither}}, {2}, false},
      {"sub-account on the wrong side", 1, {{kYokin, 2, kKari}}, {}, false},
      {"or", 1, {{kGenkin, -1, kKari}, {kYokin, -1, kKashi}}, {1, 3}, false},
      {"and", 2, {{kYokin, -1, kEither}, {kUriage, -1, kKashi}}, {4}, false},
      {"and, nothing in common", 2, {{kGenkin, -1, kKari}, {kYokin, -1, kEither}}, {}, false},
      {"or without items", 1, {}, {}, false},
      {"and without items", 2, {}, {1, 2, 3, 4, 6, 5}, false},
      {"division, either side", 1, {{1, 0, kEither}}, {1, 2, 3, 6}, true},
      {"division, credit side", 1, {{1, 0, kKashi}}, {1, 2}, true},
      {"division, or", 1, {{2, 0, kKari}, {2, 0, kKashi}}, {2, 3, 4, 5}, true},
      {"division, and", 2, {{2, 0, kKari}, {1, 0, kKashi}}, {2}, true},
  };
  for (const auto& [what, state, items, expected, division] : cases) {
    cond.setKamokuConditionState(division ? 0 : state);
    cond.kamokuConditionArray() = division ? Items{} : items;
    cond.setJigyoubuConditionState(division ? state : 0);
    cond.jigyoubuConditionArray() = division ? items : Items{};
    EXPECT_EQ(shown(), expected) << what;
  }

  // Without active divisions the division stage is switched off for good.
  cond.setJigyoubuConditionState(1);
  cond.jigyoubuConditionArray() = {{1, 0, kKari}};
  for (const JigyoubuPtr& j : doc.jigyoubuArray()) j->setIsActive(false);
  EXPECT_EQ(shown(), (Numbers{1, 2, 3, 4, 6, 5}));
  EXPECT_EQ(cond.jigyoubuConditionState(), 0);
  EXPECT_TRUE(cond.jigyoubuConditionArray().empty());

  // The description stage: contains, begins, ends or equals, with and without case.
  const std::tuple<const char*, int32_t, bool, Numbers> texts[] = {
      {"apple", 1, true, {1, 2, 4}}, {"apple", 1, false, {2, 4}},  {"APPLE", 2, true, {1, 2}},
      {"apple", 2, false, {2}},      {"apple", 3, true, {4}},      {"apple", 4, true, {}},
      {"apple pie", 1, false, {2}},  // the whole description passes every state
      {"apple pie", 2, false, {2}},  {"apple pie", 3, false, {2}}, {"apple pie", 4, false, {2}},
      {"Apple PIE", 9, true, {2}},   {"Apple", 3, true, {4}},  // a beginning is not an ending
      {"ａｂｃ", 1, true, {3}},                                // full-width letters have case too
      {"ａｂｃ", 1, false, {}},      {"商店", 3, true, {3}},       {"決算", 4, false, {5}},
  };
  for (const auto& [text, state, caseInsensitive, expected] : texts) {
    cond.setTekiyouConditionState(state);
    cond.setTekiyou(text);
    cond.setDoCaseInsensitiveSearch(caseInsensitive);
    EXPECT_EQ(shown(), expected) << text << " " << state << " " << caseInsensitive;
  }
}

TEST_F(JournalBooks, StagesNarrowOneAnotherAndMarkedModeIgnoresThem)
{
  cond.setDateConditionState(1);
  cond.setDateTo(Date(2024, 6, 30));
  cond.setKamokuConditionState(1);
  cond.kamokuConditionArray() = {{kYokin, -1, kEither}};
  cond.setTekiyouConditionState(1);
  cond.setTekiyou("APPLE");
  EXPECT_EQ(shown(), (Numbers{2, 4}));
  // A second run reads what the first one left.
  const auto result = cond.displayShiwakeArrayOfDocument(doc, false);
  EXPECT_EQ(result.stateString(), "6 個中 2 個の仕訳が条件に一致しました。");

  // Marked mode shows only marked registered entries and ignores the stages.
  for (const ShiwakePtr& s : doc.journal())
    cond.setMarked(s, s->denpyouNo() == 5 || s->denpyouNo() == 2 || s->denpyouNo() <= 0);
  cond.setDenpyouNoConditionState(1);
  cond.setDenpyouNoFrom(3);
  EXPECT_EQ(shown(true), (Numbers{2, 5}));
}

}  // namespace
}  // namespace kivo
