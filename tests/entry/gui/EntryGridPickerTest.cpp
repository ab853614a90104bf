// Return in a cell of an entry grid opens the picker of the cell's column, in the
// transfer-voucher window and in a cash book, offscreen.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/gui/FormatterListWindow.h"
#include "fields/gui/InputHidukeController.h"
#include "fields/gui/ModalDriver.h"
#include "fields/gui/StopKeyDialog.h"

namespace kivo::test {
namespace {

constexpr const char* kNone = "";
constexpr const char* kKamoku = "kivo::KamokuFormatterListWindow";
constexpr const char* kHojyoKamoku = "kivo::HojyoKamokuFormatterListWindow";
constexpr const char* kJigyoubu = "kivo::JigyoubuFormatterListWindow";
constexpr const char* kTekiyou = "kivo::TekiyouFormatterListWindow";

// A column, and the class of the picker Return opens there (kNone for none).
using PickerCase = std::pair<int, const char*>;

class EntryGridPickerTest : public EntryWindowTest {
protected:
  void SetUp() override
  {
    EntryWindowTest::SetUp();
    openDocument(makeBooks({.hojyoKamoku = true, .jigyoubu = true}));
  }

  // Presses Return in the grid's edited cell and answers the class of the picker that
  // came up, closed with closeKey; empty when none came up.
  QString pressReturn(EntryGridView* grid, Qt::Key closeKey = Qt::Key_Escape)
  {
    QString picked;
    QTimer::singleShot(0, [&picked, closeKey] {
      auto* picker = qobject_cast<FormatterListWindow*>(activeModalWindow());
      if (!picker) return;
      picked = QString::fromLatin1(picker->metaObject()->className());
      QTest::keyClick(picker->searchField(), closeKey);
    });
    EXPECT_TRUE(grid->isEditing()) << "no cell is being edited";
    QTest::keyClick(grid->fieldEditor(), Qt::Key_Return);
    flush();
    EXPECT_EQ(activeModalWindow(), nullptr);
    return picked;
  }
};

TEST_F(EntryGridPickerTest, ReturnInAVoucherOrCashBookCellOpensThePickerOfItsColumn)
{
  using Row = FurikaedenpyouRow;
  FurikaedenpyouController* w = shown(FurikaedenpyouController::showFurikaedenpyouWindow(session));
  // The credit side holds an account with sub-accounts: its sub-account cell picks
  // among them, and its account cell, filled, opens nothing.
  w->denpyou().setCell(0, Row::KashikataKamokuMatrix, FieldValue::code(kFutsuuYokin));
  const PickerCase cases[] = {
      {Row::DateMatrix, kNone},
      {Row::KarikataKamokuMatrix, kKamoku},
      {Row::KarikataKingakuMatrix, kNone},
      {Row::KarikataJigyoubuMatrix, kJigyoubu},
      {Row::KashikataKamokuMatrix, kNone},
      {Row::KashikataHojyoKamokuMatrix, kHojyoKamoku},
      {Row::KashikataKingakuMatrix, kNone},
      {Row::KashikataJigyoubuMatrix, kJigyoubu},
      {Row::TekiyouMatrix, kTekiyou},
  };
  for (const auto& [column, picker] : cases) {
    w->deselectSelectedCellAndThenSelectDenpyouRow(0, static_cast<Row::Column>(column));
    EXPECT_EQ(pressReturn(w->denpyouView()), QString::fromLatin1(picker)) << "column " << column;
    // Cancelled, the picker leaves the cell selected for typing.
    EXPECT_EQ(w->denpyouView()->selectedMatrixId(), column);
    EXPECT_TRUE(w->denpyouView()->isEditing()) << "column " << column;
  }
  EXPECT_TRUE(w->denpyou().cell(0, Row::KarikataKamokuMatrix).isNil());

  // A choice made with Tab goes into the cell and moves on, as Tab in the cell would.
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::KashikataHojyoKamokuMatrix);
  EXPECT_EQ(pressReturn(w->denpyouView(), Qt::Key_Tab), QString::fromLatin1(kHojyoKamoku));
  EXPECT_TRUE(w->denpyou().cell(0, Row::KashikataHojyoKamokuMatrix).isCode());
  EXPECT_EQ(w->denpyouView()->selectedMatrixId(), Row::KashikataKingakuMatrix);

  // The same in a cash book.
  using SRow = SuitoucyouRow;
  SuitoucyouController* book = shown(SuitoucyouController::showSuitoucyouWindow(session, kGenkin, -1));
  ASSERT_EQ(book->numberOfSuitoucyouRows(), 1);
  const PickerCase bookCases[] = {
      {SRow::DateMatrix, kNone},         {SRow::AiteKamokuMatrix, kKamoku},
      {SRow::TekiyouMatrix, kTekiyou},   {SRow::AiteJigyoubuMatrix, kJigyoubu},
      {SRow::JigyoubuMatrix, kJigyoubu}, {SRow::InKingakuMatrix, kNone},
      {SRow::OutKingakuMatrix, kNone},
  };
  for (const auto& [column, picker] : bookCases) {
    book->deselectSelectedCellAndThenSelectSuitoucyouRow(0, static_cast<SRow::Column>(column));
    EXPECT_EQ(pressReturn(book->suitoucyouView()), QString::fromLatin1(picker)) << "column " << column;
    EXPECT_EQ(book->suitoucyouView()->selectedMatrixId(), column);
    EXPECT_TRUE(book->suitoucyouView()->isEditing()) << "column " << column;
  }

  // A counterpart with sub-accounts: its filled account cell opens nothing, its
  // sub-account cell picks among them. A choice made with Return goes into the cell,
  // which stays selected.
  book->book().setCell(0, SRow::AiteKamokuMatrix, FieldValue::code(kFutsuuYokin));
  book->deselectSelectedCellAndThenSelectSuitoucyouRow(0, SRow::AiteKamokuMatrix);
  EXPECT_EQ(pressReturn(book->suitoucyouView()), QString());
  book->deselectSelectedCellAndThenSelectSuitoucyouRow(0, SRow::AiteHojyoKamokuMatrix);
  EXPECT_EQ(pressReturn(book->suitoucyouView(), Qt::Key_Return), QString::fromLatin1(kHojyoKamoku));
  EXPECT_TRUE(book->book().cell(0, SRow::AiteHojyoKamokuMatrix).isCode());
  EXPECT_EQ(book->suitoucyouView()->selectedMatrixId(), SRow::AiteHojyoKamokuMatrix);
}

// A picker or panel is a window of the window it serves, so that the window manager
// keeps it above that window: brought forward, that window hands the activation back,
// and its keys still go to the picker. Once closed, typing goes on in that window.
TEST_F(EntryGridPickerTest, PickersAndPanelsStayOverTheWindowTheyServe)
{
  using Row = FurikaedenpyouRow;
  UserDefaults::standardUserDefaults().setInteger(1, KIVOInputTypeForDateKey);
  FurikaedenpyouController* w = shown(FurikaedenpyouController::showFurikaedenpyouWindow(session));
  EntryGridView* grid = w->denpyouView();
  w->denpyou().setCell(0, Row::KarikataKamokuMatrix, FieldValue::code(kFutsuuYokin));
  // Return in the edited sub-account cell opens its picker, a digit on the highlighted
  // date cell the date panel.
  for (const auto& [column, key] :
       {std::pair(Row::KarikataHojyoKamokuMatrix, Qt::Key_Return), std::pair(Row::DateMatrix, Qt::Key_4)}) {
    SCOPED_TRACE(column);
    w->deselectSelectedCellAndThenSelectDenpyouRow(0, column);
    // The window it is a window of, whether the served window shows a sheet, whether it
    // is active again once that window is brought forward, the key typed there.
    std::tuple<QWindow*, bool, bool, QString> seen;
    whenModalWindowIsUp<StopKeyDialog>([&](StopKeyDialog* d) {
      const bool sheet = w->hasAttachedSheet();
      w->activateWindow();
      flush();
      const bool active = QApplication::activeWindow() == d;
      QTest::keyClick(w->windowHandle(), Qt::Key_7);
      seen = {d->windowHandle()->transientParent(), sheet, active, d->findChild<QLineEdit*>()->text().right(1)};
      QTest::keyClick(d, Qt::Key_Escape);
    });
    QTest::keyClick(grid->isEditing() ? static_cast<QWidget*>(grid->fieldEditor()) : grid, key);
    flush();
    EXPECT_EQ(seen, std::tuple(w->windowHandle(), false, true, QStringLiteral("7")));
    EXPECT_EQ(QApplication::activeWindow(), w);
  }
  // The document's panel is the window's only while it runs.
  auto* panel = session->ownedControllerAs<InputHidukeController>(OpenDocument::OwnedController::InputHiduke);
  EXPECT_EQ(panel ? panel->parentWidget() : w, nullptr);
  UserDefaults::standardUserDefaults().removeObjectForKey(KIVOInputTypeForDateKey);
}

}  // namespace
}  // namespace kivo::test
