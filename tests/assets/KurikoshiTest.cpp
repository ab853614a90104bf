#include <gtest/gtest.h>

#include <functional>

#include "assets/KurikoshiDocument.h"
#include "assets/KurikoshiSyori.h"
#include "assets/KurikoshiZandaka.h"
#include "document/DocumentFile.h"
#include "statements/Houkokusyo.h"
#include "statements/KaisyahouHoukokusyo.h"
#include "trial/TrialBooks.h"
#include "trial/ZandakaShisanPeriodSums.h"

namespace kivo::test {
namespace {

enum class Kind { Kaisyahou, Older, Kojin, Kakeibo };

struct Names {
  const char* equity;   // the account the result lands in
  const char* capital;  // the other opening credit
  const char* income;
  const char* expense;
};

Names namesOf(Kind kind)
{
  switch (kind) {
  case Kind::Kaisyahou: return {"繰越利益剰余金", "資本金", "売上高", "消耗品費"};
  case Kind::Older: return {"前期繰越利益", "資本金", "売上高", "消耗品費"};
  case Kind::Kojin: return {"元入金", "借入金", "売上高", "消耗品費"};
  case Kind::Kakeibo: return {"元入金", "クレジットカード", "給与", "食費"};
  }
  return {};
}

std::unique_ptr<MyDocument> makeBooks(Kind kind)
{
  auto doc = makeTrialBooks(kind == Kind::Kaisyahou ? ChartKind::HoujinKaisyahou
                            : kind == Kind::Older   ? ChartKind::HoujinOlder
                                                    : ChartKind::Kojin);
  doc->kaisya().setIsKakeibo(kind == Kind::Kakeibo);
  doc->kaisya().setTermNo(5);
  if (kind == Kind::Kakeibo) doc->setRootKamokuKubun(KamokuKubun::rootKamokuKubunForKaisya(doc->kaisya(), false));
  for (const KamokuPtr& k : doc->codeSortedKamokuArray()) k->setIsActive(true);
  return doc;
}

// Opening: 現金 1,000,000 = capital 500,000 + equity 500,000 in each division d; a
// year of sales 300,000 and expenses 80,000 (and, by kind, a dividend or the owner's
// drawings and contributions) in each.
void fillBooks(MyDocument& doc, Kind kind, int32_t d)
{
  const Names n = namesOf(kind);
  const int32_t cash = codeOf(doc, "現金");
  const int32_t opening = d < 0 ? Jigyoubu::kAllJigyoubuCode : d;
  kamokuNamed(doc, "現金")->setStartBalance(1'000'000, opening);
  kamokuNamed(doc, n.capital)->setStartBalance(500'000, opening);
  kamokuNamed(doc, n.equity)->setStartBalance(500'000, opening);
  addShiwake(doc, Date(2024, 5, 1), cash, codeOf(doc, n.income), 300'000, d);
  addShiwake(doc, Date(2024, 6, 1), codeOf(doc, n.expense), cash, 80'000, d);
  if (kind == Kind::Kaisyahou || kind == Kind::Older) {
    addShiwake(doc, Date(2024, 6, 30), codeOf(doc, n.equity), cash, 100'000, d);
  } else if (kind == Kind::Kojin) {
    addShiwake(doc, Date(2024, 7, 1), codeOf(doc, "事業主貸"), cash, 50'000, d);
    addShiwake(doc, Date(2024, 7, 2), cash, codeOf(doc, "事業主借"), 20'000, d);
  }
  // Rows that never count: an unregistered cash-book row and a regular-type voucher.
  const ShiwakePtr pending = addShiwake(doc, Date(2024, 8, 1), cash, codeOf(doc, n.income), 7'000, d, 0);
  pending->setDenpyouNo(0);
  pending->setKindOfShiwake(ShiwakeKind::Suitoucyou);
  addShiwake(doc, Date::regularTypeDenpyouDate(), codeOf(doc, n.expense), cash, 9'000, d, -3);
  doc.furikaedenpyouBookmarkArray().push_back(std::make_shared<Bookmark>());
  doc.furikaedenpyouBookmarkArray().back()->setDenpyouNo(-3);
  doc.furikaedenpyouBookmarkArray().push_back(std::make_shared<Bookmark>());
  doc.furikaedenpyouBookmarkArray().back()->setDenpyouNo(1);
}

// Sum of opening balances, debits positive, per division code.
std::map<int32_t, int64_t> openingTotals(const MyDocument& doc)
{
  std::map<int32_t, int64_t> totals;
  for (const KamokuPtr& k : doc.codeSortedKamokuArray())
    for (const StartBalance& b : k->startBalanceArray().entries())
      totals[b.jigyoubuCode] += k->isKarikataKamoku() ? b.balance : -b.balance;
  return totals;
}

std::unique_ptr<MyDocument> carryForward(const MyDocument& old)
{
  const KurikoshiZandaka z = KurikoshiZandaka::compute(old);
  EXPECT_FALSE(z.isRefused()) << z.message();
  TermSettings term = KurikoshiDocument::defaultTermSettings(old.kaisya());
  if (!term.isHoujin) term.termNoText = "2025";
  EXPECT_FALSE(term.check().isRefused());
  return KurikoshiDocument::make(old, z, term, false, 0);
}

struct Case {
  Kind kind;
  std::vector<int32_t> divisions;  // empty: none; an inactive division 9 also holds books
  int64_t equityPerDivision;       // the equity account's opening in each division
};

std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
  static const char* const names[] = {"Kaisyahou", "Older", "Kojin", "Kakeibo"};
  return std::string(names[static_cast<int>(info.param.kind)]) + (info.param.divisions.empty() ? "" : "WithDivisions");
}

class KurikoshiBooksTest : public ::testing::TestWithParam<Case> {};

TEST_P(KurikoshiBooksTest, NextTermOpensWithTheClosingBalanceSheet)
{
  const Case& c = GetParam();
  auto old = makeBooks(c.kind);
  std::vector<int32_t> used = c.divisions;
  for (int32_t d : c.divisions) addJigyoubu(*old, d);
  if (!used.empty()) {
    addJigyoubu(*old, 9, false);
    used.push_back(9);
  }
  for (int32_t d : used.empty() ? std::vector<int32_t>{-1} : used) fillBooks(*old, c.kind, d);
  const Names n = namesOf(c.kind);
  const ZandakaShisanPeriodSums oldSums = ZandakaShisanPeriodSums::post(*old, {});

  auto next = carryForward(*old);
  // Every division and the company figure balance.
  for (const auto& [code, total] : openingTotals(*next)) EXPECT_EQ(total, 0) << "division " << code;

  const int64_t divisions = static_cast<int64_t>(std::max<size_t>(used.size(), 1));
  const KamokuPtr equity = kamokuNamed(*next, n.equity);
  EXPECT_EQ(equity->startBalanceOfJigyoubuCode(99), c.equityPerDivision * divisions);
  for (int32_t d : used) EXPECT_EQ(equity->startBalanceOfJigyoubuCode(d), c.equityPerDivision) << d;
  if (c.kind == Kind::Kojin) {
    for (const char* owner : {"事業主貸", "事業主借"})
      EXPECT_TRUE(kamokuNamed(*next, owner)->startBalanceArray().isEmpty());
  }

  // The company record, the journal and the bookmarks of the new term.
  const Kaisya& k = next->kaisya();
  EXPECT_EQ(std::tuple(k.termStartDate(), k.termEndDate(), k.termStartDateOfHoukokusyoCover(),
                       k.isCreatedByKurikoshiFunction(), k.minAvailableDenpyouNo()),
            std::tuple(Date(2025, 4, 1), Date(2026, 3, 31), Date(2025, 4, 1), true, 1));
  EXPECT_EQ(k.isHoujin() ? std::to_string(k.termNo()) : k.termYear(), k.isHoujin() ? "6" : "2025");
  for (const ShiwakePtr& s : next->journal()) EXPECT_EQ(s->denpyouNo(), -3);
  EXPECT_EQ(next->journal().size(), static_cast<size_t>(divisions));
  ASSERT_EQ(next->furikaedenpyouBookmarkArray().size(), static_cast<size_t>(divisions));
  EXPECT_EQ(next->furikaedenpyouBookmarkArray().front()->denpyouNo(), -3);

  // Saved and reopened, the first month's trial balance opens with the old closing
  // balance sheet, and the next carry-forward works.
  DocumentFile::Result read;
  auto reopened = DocumentFile::documentFromData(DocumentFile::dataOfDocument(*next), &read);
  ASSERT_TRUE(reopened) << read.message;
  used.push_back(99);  // and the company column
  const auto firstMonth =
      ZandakaShisanPeriodSums::post(*reopened, ZandakaShisanPeriodSums::periodOfMonthIndexes(reopened->kaisya(), 0, 0));
  for (const KamokuPtr& acc : reopened->codeSortedKamokuArray())
    for (int32_t d : used) {
      const int64_t got = firstMonth.ofKamoku(acc->code(), d).kaishiZandaka;
      if (acc->name() == n.equity) {
        EXPECT_EQ(got, (d == 99 ? divisions : 1) * c.equityPerDivision);
      } else if (!(acc->type() & Kamoku::kTypeF)) {
        EXPECT_EQ(got, 0) << acc->name();
      } else if (acc->doSetEndBalanceToStartBalanceWhenKurikoshi()) {
        EXPECT_EQ(got, oldSums.ofKamoku(acc->code(), d).syuuryouZandaka) << acc->name() << " " << d;
      }
    }
  auto third = carryForward(*reopened);
  for (const auto& [code, total] : openingTotals(*third)) EXPECT_EQ(total, 0);
  EXPECT_EQ(kamokuNamed(*third, n.equity)->startBalanceOfJigyoubuCode(99), c.equityPerDivision * divisions);
}

// Corporation: 500,000 + (300,000 - 80,000) - 100,000 dividend = 620,000. Sole
// proprietor: 500,000 + 220,000 + 20,000 - 50,000 = 690,000. Household book:
// 500,000 + 220,000.
INSTANTIATE_TEST_SUITE_P(Kinds, KurikoshiBooksTest,
                         ::testing::Values(Case{Kind::Kaisyahou, {}, 620'000}, Case{Kind::Kaisyahou, {1, 2}, 620'000},
                                           Case{Kind::Older, {}, 620'000}, Case{Kind::Older, {1, 2}, 620'000},
                                           Case{Kind::Kojin, {}, 690'000}, Case{Kind::Kojin, {1, 2}, 690'000},
                                           Case{Kind::Kakeibo, {}, 720'000}, Case{Kind::Kakeibo, {1, 2}, 720'000}),
                         caseName);

// Each term's statements, under the period the statements sheet settles on, take in
// the closing entries (13/00) of that term, carried forward once and twice.
TEST(KurikoshiDocumentTest, NextTermsStatementsTakeInTheirClosingEntriesUnderTheSheetsPeriod)
{
  for (const Kind kind : {Kind::Kaisyahou, Kind::Older}) {
    SCOPED_TRACE(kind == Kind::Kaisyahou ? "Companies Act" : "older chart");
    std::unique_ptr<MyDocument> doc = makeBooks(kind);
    fillBooks(*doc, kind, -1);
    // The sheet was used in the first term: the period runs to the closing month.
    KaisyahouHoukokusyoPeriod::settleKaisya(doc->kaisya(), "決算報告書");
    // 1,000,000 + 300,000 - 80,000 - 100,000 dividend.
    int64_t cash = 1'120'000;
    for (int carried = 1; carried <= 2; ++carried) {
      SCOPED_TRACE(carried);
      doc = carryForward(*doc);
      ASSERT_TRUE(doc);
      const KaisyahouHoukokusyoPeriod period = KaisyahouHoukokusyoPeriod::settleKaisya(doc->kaisya(), "決算報告書");
      EXPECT_EQ(std::tuple(period.startDate, period.endDate, doc->kaisya().termEndDateOfHoukokusyoCover()),
                std::tuple(doc->kaisya().termStartDate(), Date::kessanSeiridukiDate(), doc->kaisya().termEndDate()));
      // A closing adjustment of the term, booked in the closing month.
      addShiwake(*doc, Date::kessanSeiridukiDate(), codeOf(*doc, "消耗品費"), codeOf(*doc, "現金"), 30'000);
      cash -= 30'000;
      const KaisyahouStatementArrays* st = nullptr;
      KaisyahouHoukokusyo kaisyahou;
      Houkokusyo older;
      if (kind == Kind::Kaisyahou)
        st = &kaisyahou.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, {period});
      else
        st = &older.setHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, period);
      ASSERT_FALSE(st->taisyakuTaisyouShisannobuShisanArray.empty());
      EXPECT_EQ(std::tuple(st->toukiSonekiOfTaisyakuBalance, st->toukiSonekiOfSyuuryouZandaka,
                           st->taisyakuTaisyouShisannobuShisanArray.back().houkokusyoAmount()),
                std::tuple(-30'000, -30'000, cash));
    }
  }
}

// The term number offered and the one taken when none is typed stop at the last one
// (9999 once made 10000, which the reader refuses); a typed one is taken as it is.
TEST(KurikoshiDocumentTest, TheLastTermNumberIsNeverPassedAndTheNextTermReadsBack)
{
  // old term, typed → next term
  for (const auto& [term, typed, next] : std::vector<std::tuple<int32_t, std::string, int32_t>>{
           {41, "", 42}, {9998, "", 9999}, {9999, "", 9999}, {9999, "9999", 9999}, {9999, "12", 12}}) {
    auto old = makeBooks(Kind::Older);
    fillBooks(*old, Kind::Older, -1);
    old->kaisya().setTermNo(term);
    TermSettings settings = KurikoshiDocument::defaultTermSettings(old->kaisya());
    const std::string offered = settings.termNoText;
    settings.termNoText = typed;
    const auto made = KurikoshiDocument::make(*old, KurikoshiZandaka::compute(*old), settings, false, 0);
    ASSERT_TRUE(made);
    DocumentFile::Result r;
    EXPECT_EQ(std::tuple(offered, made->kaisya().termNo(),
                         DocumentFile::documentFromData(DocumentFile::dataOfDocument(*made), &r) != nullptr),
              std::tuple(std::to_string(std::min(term + 1, 9999)), next, true))
        << term << " " << typed << " " << r.detail;
  }
}

// The next term keeps to the last day the document file holds (9999/12/31): the one
// offered ends there at the latest and reads back; after a term ending on that day
// there is none, and the carry-forward is refused before anything is handed over,
// marked, saved or closed.
TEST(KurikoshiDocumentTest, TheNextTermEndsByTheLastDayTheFileHoldsOrIsRefused)
{
  // the closing term → the next term offered (none: refused)
  const std::tuple<Date, Date, std::optional<std::pair<Date, Date>>> cases[] = {
      {Date(9998, 1, 1), Date(9998, 12, 31), std::pair(Date(9999, 1, 1), Date(9999, 12, 31))},
      {Date(9998, 4, 1), Date(9999, 3, 31), std::pair(Date(9999, 4, 1), Date(9999, 12, 31))},
      {Date(9999, 1, 1), Date(9999, 12, 31), std::nullopt},
  };
  for (const auto& [start, end, next] : cases) {
    SCOPED_TRACE(end.toString());
    auto old = makeBooks(Kind::Kaisyahou);
    fillBooks(*old, Kind::Kaisyahou, -1);
    old->kaisya().setMonthOfTermArrayFrom(start, end);
    const TermSettings term = KurikoshiDocument::defaultTermSettings(old->kaisya());
    EXPECT_EQ(KurikoshiDocument::hasNextTerm(old->kaisya()), next.has_value());
    int calls = 0;
    KurikoshiSyori::Steps steps;
    std::unique_ptr<MyDocument> made;
    steps.addNextDocument = [&](std::unique_ptr<MyDocument> d) { made = std::move(d), ++calls; };
    steps.saveOldDocument = [&] { return ++calls > 0; };
    steps.closeOldDocument = [&] { ++calls; };
    const auto r = KurikoshiSyori::run(*old, term, false, 0, steps);
    using S = KurikoshiSyori::Result::Status;
    if (!next) {
      EXPECT_EQ(
          std::tuple(r.status, r.termRefusal.field, r.termRefusal.message, calls, old->kaisya().hasDoneKurikoshi()),
          std::tuple(S::TermRefused, TermSettings::Field::StartDate, std::string(TermSettings::kTooLateStartMessage), 0,
                     false));
      continue;
    }
    EXPECT_EQ(std::tuple(term.startDate, term.endDate, term.check().isRefused(), r.status),
              std::tuple(next->first, next->second, false, S::Done));
    ASSERT_TRUE(made);
    DocumentFile::Result read;
    EXPECT_TRUE(DocumentFile::documentFromData(DocumentFile::dataOfDocument(*made), &read)) << read.detail;
  }
}

TEST(KurikoshiZandakaTest, LossOfOneDivisionGoesToTheLossAccountAndTheCompanyNets)
{
  auto doc = makeBooks(Kind::Kaisyahou);
  addJigyoubu(*doc, 1);
  addJigyoubu(*doc, 2);
  const int32_t cash = codeOf(*doc, "現金");
  addShiwake(*doc, Date(2024, 5, 1), cash, codeOf(*doc, "売上高"), 100, 1);
  addShiwake(*doc, Date(2024, 5, 1), codeOf(*doc, "消耗品費"), cash, 30, 2);
  kamokuNamed(*doc, "現金")->setStartBalance(100, 2);
  kamokuNamed(*doc, "資本金")->setStartBalance(100, 2);
  // A balance of a division the document lacks is carried under its own code.
  kamokuNamed(*doc, "現金")->setStartBalance(40, 57);
  kamokuNamed(*doc, "資本金")->setStartBalance(40, 57);
  const KurikoshiZandaka z = KurikoshiZandaka::compute(*doc);
  ASSERT_FALSE(z.isRefused());
  const int32_t p = codeOf(*doc, "繰越利益剰余金"), s = codeOf(*doc, "繰越損失金");
  EXPECT_EQ(
      std::tuple(z.startBalanceOfKamoku(p).balanceOfJigyoubuCode(1), z.startBalanceOfKamoku(s).balanceOfJigyoubuCode(2),
                 z.startBalanceOfKamoku(p).balanceOfJigyoubuCode(99),
                 z.startBalanceOfKamoku(s).balanceOfJigyoubuCode(99),
                 z.startBalanceOfKamoku(cash).balanceOfJigyoubuCode(57),
                 z.startBalanceOfKamoku(cash).balanceOfJigyoubuCode(99)),
      std::tuple(100, 30, 70, 0, 40, 210));
}

void removeKamokuNamed(MyDocument& doc, const std::string& name)
{
  for (const KamokuKubunPtr& kubun : doc.rootKamokuKubun()->children())
    std::erase_if(kubun->childrenKamoku(), [&](const KamokuPtr& k) { return k->name() == name; });
  doc.setRootKamokuKubun(doc.rootKamokuKubun());
}

TEST(KurikoshiZandakaTest, RefusesAndLeavesTheDocumentAlone)
{
  using Spoil = std::function<void(MyDocument&)>;
  const auto entry = [](const char* kari, const char* kashi, int64_t amount, int32_t division = -1) -> Spoil {
    return [=](MyDocument& d) { addShiwake(d, Date(2024, 9, 1), codeOf(d, kari), codeOf(d, kashi), amount, division); };
  };
  const auto without = [](const char* name) -> Spoil { return [=](MyDocument& d) { removeKamokuNamed(d, name); }; };
  const Spoil overdraw = entry("消耗品費", "現金", 2'000'000);
  const Spoil overdrawInOne = entry("消耗品費", "現金", 2'000'000, 1);
  const Spoil drawings = entry("事業主貸", "借入金", 5'000'000);
  using R = KurikoshiZandaka::Refusal;
  const Spoil twiceTheLimit = [](MyDocument& d) {
    for (int i = 0; i < 2; ++i)
      addShiwake(d, Date(2024, 9, 1), codeOf(d, "現金"), codeOf(d, "資本金"), 60'000'000'000LL);
  };
  const Spoil subAccountOfProfit = [](MyDocument& d) {
    addHojyoKamoku(*kamokuNamed(d, "繰越利益剰余金"), 1, "別途");
    d.setRootKamokuKubun(d.rootKamokuKubun());
  };
  // What, kind, divisions, spoil, refusal, and the kamoku, hojyoKamoku and jigyoubu of the first row.
  const std::tuple<const char*, Kind, bool, Spoil, KurikoshiZandaka::Refusal, std::vector<std::string>> cases[] = {
      {"negative cash", Kind::Kaisyahou, false, overdraw, R::EndBalance, {"現金", "--", "--"}},
      {"negative cash in a division", Kind::Kojin, true, overdrawInOne, R::EndBalance, {"現金", "--", "事業部1"}},
      {"beyond the input limit", Kind::Older, false, twiceTheLimit, R::EndBalance, {"現金", "--", "--"}},
      {"capital below zero", Kind::Kojin, false, drawings, R::StartBalance, {"元入金", "--", "--"}},
      {"no profit account", Kind::Kaisyahou, false, without("繰越利益剰余金"), R::MissingKamoku, {}},
      {"no capital account", Kind::Kakeibo, false, without("元入金"), R::MissingKamoku, {}},
      {"sub-account of the profit account", Kind::Kaisyahou, false, subAccountOfProfit, R::MissingKamoku, {}}};
  for (const auto& [what, kind, divisions, spoil, refusal, firstRow] : cases) {
    SCOPED_TRACE(what);
    auto doc = makeBooks(kind);
    if (divisions) addJigyoubu(*doc, 1);
    fillBooks(*doc, kind, divisions ? 1 : -1);
    spoil(*doc);
    const std::string before = DocumentFile::dataOfDocument(*doc);
    const KurikoshiZandaka z = KurikoshiZandaka::compute(*doc);
    EXPECT_EQ(std::tuple(z.refusal(), z.startBalanceOfKamoku(codeOf(*doc, "現金")).isEmpty(),
                         DocumentFile::dataOfDocument(*doc) == before),
              std::tuple(refusal, true, true));
    if (firstRow.empty()) continue;
    ASSERT_FALSE(z.invalidZandakaArray().empty());
    std::vector<std::string> cells;
    for (const char* column : {"kamoku", "hojyoKamoku", "jigyoubu"})
      cells.push_back(KurikoshiZandaka::cellText(*doc, z.invalidZandakaArray().front(), column));
    EXPECT_EQ(cells, firstRow);
  }
}

// The sequence: the new document is handed over before the old one is marked; the old
// one is closed only once saved, and a failed save takes its mark back.
TEST(KurikoshiSyoriTest, HandsOverTheNextDocumentFirstAndClosesTheOldOnlyOnceSaved)
{
  for (const bool saves : {true, false}) {
    SCOPED_TRACE(saves);
    auto old = makeBooks(Kind::Kaisyahou);
    fillBooks(*old, Kind::Kaisyahou, -1);
    std::vector<std::string> log;
    std::unique_ptr<MyDocument> next;
    KurikoshiSyori::Steps steps;
    const char* const phases[] = {"prepare", "post", "finish", "make"};
    steps.didStartPhase = [&](KurikoshiSyori::Phase p) { log.push_back(phases[static_cast<int>(p)]); };
    // The journal pass counts from 0 to the journal's entries.
    std::vector<size_t> posted;
    steps.didPostShiwake = [&](size_t done, size_t total) {
      posted.push_back(done);
      EXPECT_EQ(total, old->journal().size());
    };
    steps.addNextDocument = [&](std::unique_ptr<MyDocument> d) {
      log.push_back(old->kaisya().hasDoneKurikoshi() ? "add after mark" : "add");
      next = std::move(d);
    };
    steps.saveOldDocument = [&] {
      log.push_back(old->kaisya().hasDoneKurikoshi() && old->isDocumentEdited() ? "save marked" : "save");
      return saves;
    };
    steps.closeOldDocument = [&] { log.push_back("close"); };
    const auto r = KurikoshiSyori::run(*old, KurikoshiDocument::defaultTermSettings(old->kaisya()), false, 0, steps);
    using S = KurikoshiSyori::Result::Status;
    EXPECT_EQ(
        std::tuple(r.status, log, old->kaisya().hasDoneKurikoshi(), next != nullptr),
        saves ? std::tuple(S::Done,
                           std::vector<std::string>{"prepare", "post", "finish", "make", "add", "save marked", "close"},
                           true, true)
              : std::tuple(S::OldNotSaved,
                           std::vector<std::string>{"prepare", "post", "finish", "make", "add", "save marked"}, false,
                           true));
    EXPECT_EQ(posted, (std::vector<size_t>{0, 4}));  // five entries
  }

  // Balances that cannot be carried: nothing is handed over, saved or closed.
  auto old = makeBooks(Kind::Kaisyahou);
  fillBooks(*old, Kind::Kaisyahou, -1);
  addShiwake(*old, Date(2024, 9, 1), codeOf(*old, "消耗品費"), codeOf(*old, "現金"), 2'000'000);
  int calls = 0;
  KurikoshiSyori::Steps steps;
  steps.addNextDocument = [&](std::unique_ptr<MyDocument>) { ++calls; };
  steps.saveOldDocument = [&] { return ++calls > 0; };
  steps.closeOldDocument = [&] { ++calls; };
  const auto r = KurikoshiSyori::run(*old, KurikoshiDocument::defaultTermSettings(old->kaisya()), false, 0, steps);
  EXPECT_EQ(std::tuple(r.status, calls, old->kaisya().hasDoneKurikoshi()),
            std::tuple(KurikoshiSyori::Result::Status::Refused, 0, false));
}

}  // namespace
}  // namespace kivo::test
