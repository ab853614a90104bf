#include <gtest/gtest.h>

#include <map>

#include "entry/FurikaedenpyouRegistrar.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using Row = FurikaedenpyouRow;
using test::kFutsuuYokin;
using test::kGenkin;
using test::kShoumouhinhi;
using test::kUriagedaka;

const Date kApr10(2024, 4, 10);

// An open window, recording what the document tells it about changed accounts.
class AccountsWindow : public DocumentWindow {
public:
  Kind windowKind() const override { return Kind::Suitoucyou; }
  void updateUI(bool) override {}
  void journalDidChangeAccounts(const ChangedAccounts& accounts) override { told.push_back(accounts); }
  std::vector<ChangedAccounts> told;
};

class Host : public DocumentHost {
public:
  void documentEditedChanged(bool) override {}
  void removeAllUndoActions() override { ++undoCleared; }
  int undoCleared = 0;
};

TEST(FurikaedenpyouRegistrar, ANewVoucherTakesTheCounterAndIsReplacedOrCopiedWhenRegisteredAgain)
{
  auto doc = test::makeBooks();
  Host host;
  doc->setHost(&host);
  Furikaedenpyou v(*doc);
  v.displayShiwakeOfDenpyouNo(doc->kaisya().minAvailableDenpyouNo());
  test::setRow(v, 0, kApr10, kGenkin, 1000, kUriagedaka, 1000, "売上");
  ASSERT_TRUE(v.isDenpyouAbleToSetShiwakeArray().ok);
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);

  ASSERT_EQ(doc->journal().size(), 1u);
  const Shiwake& s = *doc->journal()[0];
  EXPECT_EQ(std::tuple(s.denpyouNo(), s.date(), s.karikataKamokuCode(), s.kashikataKingaku(),
                       s.karikataHojyoKamokuCode(), s.tekiyou(), s.aiteKarikataKamokuCode(),
                       s.aiteKashikataKamokuCode(), doc->kaisya().minAvailableDenpyouNo()),
            std::tuple(1, kApr10, kGenkin, int64_t{1000}, -1, std::string("売上"), kGenkin, kUriagedaka, 2));
  // The refresh protocol ran: changed, undo cleared.
  EXPECT_EQ(std::tuple(doc->isDocumentEdited(), host.undoCleared, v.doesNeedToSetDenpyouToShiwakeArray()),
            std::tuple(true, 1, false));

  // Registering it again replaces its entries and leaves the counter.
  v.setCell(0, Row::TekiyouMatrix, FieldValue::text("売上（訂正）"));
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
  ASSERT_EQ(doc->journal().size(), 1u);
  EXPECT_EQ(std::pair(doc->journal()[0]->tekiyou(), doc->kaisya().minAvailableDenpyouNo()),
            std::pair(std::string("売上（訂正）"), 2));

  // Redated to the regular type, the ordinary voucher stays and a regular-type copy is added.
  v.displayShiwakeOfDenpyouNo(1);
  v.setCell(0, Row::DateMatrix, FieldValue::date(Date::regularTypeDenpyouDate()));
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
  std::vector<int32_t> numbers;
  for (const ShiwakePtr& e : doc->journal()) numbers.push_back(e->denpyouNo());
  EXPECT_EQ(numbers, (std::vector<int32_t>{-1, 1}));
  EXPECT_EQ(std::pair(v.displayingDenpyouNo(), v.cell(0, Row::DenpyouNoMatrix)), std::pair(-1, FieldValue::code(-1)));
}

TEST(FurikaedenpyouRegistrar, RegisteringAgainKeepsEachLinesChangeReason)
{
  auto doc = test::makeBooks();
  Furikaedenpyou v(*doc);
  const int32_t n = doc->kaisya().minAvailableDenpyouNo();
  v.displayShiwakeOfDenpyouNo(n);
  v.insertDenpyouRow(1);
  test::setRow(v, 0, kApr10, kGenkin, 1000, kUriagedaka, 1000, "一");
  test::setRow(v, 1, kApr10, kShoumouhinhi, 300, kGenkin, 300, "二");
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
  ASSERT_EQ(doc->journal().entries().size(), 2u);
  doc->journal()[0]->setHendouReasonStr("増資");
  doc->journal()[1]->setHendouReasonStr("剰余金の配当");

  // Edited: a new first line, the second line's description changed.
  v.displayShiwakeOfDenpyouNo(n);
  v.insertDenpyouRow(0);
  test::setRow(v, 0, kApr10, kFutsuuYokin, 50, kGenkin, 50, "新");
  v.setCell(2, Row::TekiyouMatrix, FieldValue::text("二（訂正）"));
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
  std::map<std::string, std::string> reasonOf;
  for (const ShiwakePtr& s : doc->journal().entries()) reasonOf[s->tekiyou()] = s->hendouReasonStr();
  EXPECT_EQ(reasonOf, (std::map<std::string, std::string>{{"新", ""}, {"一", "増資"}, {"二（訂正）", "剰余金の配当"}}));

  // A copy of the voucher is new entries: no reason carried over.
  v.duplicateDenpyou();
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
  for (const ShiwakePtr& s : doc->journal().entries()) {
    if (s->denpyouNo() != n) { EXPECT_EQ(s->hendouReasonStr(), "") << s->tekiyou(); }
  }
}

TEST(FurikaedenpyouRegistrar, ASideWithSeveralRowsRecordsSyokuchiAsTheOtherSide)
{
  auto doc = test::makeBooks({.hojyoKamoku = true, .jigyoubu = true});
  Furikaedenpyou v(*doc);
  v.displayShiwakeOfDenpyouNo(1);
  test::setRow(v, 0, kApr10, kGenkin, 1000, kUriagedaka, 600);
  test::setRow(v, 1, kApr10, -1, 0, kFutsuuYokin, 400);
  test::setRow(v, 2, kApr10, -1, 0, -1, 0);  // an empty last row makes no entry
  v.setCell(0, Row::KarikataJigyoubuMatrix, FieldValue::code(2));
  v.setCell(1, Row::KashikataHojyoKamokuMatrix, FieldValue::code(1));
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);

  ASSERT_EQ(doc->journal().size(), 2u);
  for (const ShiwakePtr& s : doc->journal()) {
    EXPECT_EQ(
        std::tuple(s->aiteKarikataKamokuCode(), s->aiteKarikataHojyoKamokuCode(), s->aiteKarikataJigyoubuCode(),
                   s->aiteKashikataKamokuCode(), s->aiteKashikataHojyoKamokuCode(), s->aiteKashikataJigyoubuCode()),
        std::tuple(kGenkin, -1, 2, Kamoku::kSyokuchiCode, -1, -1));
  }
  const Shiwake& second = *doc->journal()[1];
  EXPECT_EQ(std::tuple(second.karikataKamokuCode(), second.karikataKingaku(), second.kashikataHojyoKamokuCode()),
            std::tuple(-1, int64_t{0}, 1));
}

TEST(FurikaedenpyouRegistrar, RegularTypeVouchersTakeNegativeNumbersAndNeverACarriedOne)
{
  auto doc = test::makeBooks();
  const Date regular = Date::regularTypeDenpyouDate();
  auto registerRegular = [&] {
    Furikaedenpyou v(*doc);
    v.displayShiwakeOfDenpyouNo(doc->kaisya().minAvailableDenpyouNo());
    test::setRow(v, 0, regular, kShoumouhinhi, 3000, kGenkin, 3000);
    EXPECT_TRUE(v.isDenpyouAbleToSetShiwakeArray().ok);
    FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
    return v.displayingDenpyouNo();
  };
  EXPECT_EQ(registerRegular(), -1);
  EXPECT_EQ(registerRegular(), -2);
  // The ordinary counter is untouched.
  EXPECT_EQ(std::pair(doc->kaisya().minAvailableRegularTypeDenpyouNo(), doc->kaisya().minAvailableDenpyouNo()),
            std::pair(3, 1));

  // A counter pointing at a number in use (after it wrapped) moves to a free one.
  doc->kaisya().setMinAvailableRegularTypeDenpyouNo(2);
  EXPECT_EQ(registerRegular(), -3);
  EXPECT_EQ(doc->kaisya().minAvailableRegularTypeDenpyouNo(), 4);

  // Past 9999 the counter goes to the smallest free number.
  doc->kaisya().setMinAvailableRegularTypeDenpyouNo(9999);
  EXPECT_EQ(registerRegular(), -9999);
  EXPECT_EQ(doc->kaisya().minAvailableRegularTypeDenpyouNo(), 4);
}

TEST(FurikaedenpyouRegistrar, TheWindowsAreToldTheAccountsTouchedOldAndNew)
{
  auto doc = test::makeBooks();
  doc->journal().assign({test::makeEntry(Date(2024, 6, 1), 2, kFutsuuYokin, kShoumouhinhi, 9)});
  AccountsWindow window;
  doc->addWindow(&window);

  Furikaedenpyou v(*doc);
  v.displayShiwakeOfDenpyouNo(2);
  test::setRow(v, 0, kApr10, kGenkin, 10, kUriagedaka, 10);
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
  ASSERT_EQ(window.told.size(), 1u);
  for (int32_t k : {kGenkin, kUriagedaka, kFutsuuYokin, kShoumouhinhi}) EXPECT_TRUE(window.told[0].contains(k, -1));
  // A book whose pending last row is being typed keeps it last.
  EXPECT_TRUE(window.told[0].movePendingEntryLast);

  // A regular-type voucher touches no cash book.
  Furikaedenpyou r(*doc);
  r.displayShiwakeOfDenpyouNo(3);
  test::setRow(r, 0, Date::regularTypeDenpyouDate(), kGenkin, 10, kUriagedaka, 10);
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(r);
  EXPECT_EQ(window.told.size(), 1u);
}

}  // namespace
}  // namespace kivo
