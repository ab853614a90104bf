// The rest of a line typed at once after the key that closes a picker or an input
// panel, on a machine too busy to read it before that window has closed: the window
// system addresses those keys to the picker or panel, which had the keyboard when they
// were typed. They go on into the voucher or cash book, not into the closed window.
#include <QLineEdit>

#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/gui/FormatterListWindow.h"
#include "fields/gui/InputHidukeController.h"
#include "fields/gui/InputKingakuController.h"
#include "fields/gui/ModalDriver.h"
#include "support/OnceHidden.h"
#include "support/TypedAhead.h"

namespace kivo::test {
namespace {

using Row = FurikaedenpyouRow;

class EntryKeysAfterPanelTest : public EntryWindowTest {
protected:
  void TearDown() override
  {
    for (const char* k : {KIVOInputTypeForDateKey, KIVOInputTypeForKamokuKey, KIVOInputTypeForKingakuKey})
      UserDefaults::standardUserDefaults().removeObjectForKey(k);
    EntryWindowTest::TearDown();
  }

  // The key typed on the grid opens a picker or panel; once it is up, `typed` (Tab as
  // '\t', Return as '\r') is sent to it as the window system sends what is typed while it has the
  // keyboard, all read by the program only later. Answers the text its field held as
  // it closed; a picker or panel still there must not have taken a key since.
  // sentTo: the window the keys are addressed to; nullptr: the picker or panel.
  static QString typeThroughModal(EntryGridView* grid, Qt::Key key, const char* typed, QWindow* sentTo = nullptr)
  {
    QString atClose;
    QPointer<QLineEdit> field;
    QTimer::singleShot(0, [&] {
      auto* modal = qobject_cast<StopKeyDialog*>(activeModalWindow());
      if (!modal) {
        ADD_FAILURE() << "no picker or panel came up";
        return;
      }
      field = modal->findChild<QLineEdit*>();
      new OnceHidden(modal, [&] { atClose = field->text(); });
      // Never left hanging on a picker or panel the keys did not close.
      QTimer::singleShot(3000, modal, [modal] {
        if (!modal->isVisible()) return;
        ADD_FAILURE() << "still open with \"" << modal->findChild<QLineEdit*>()->text().toStdString() << "\"";
        modal->close();
      });
      QWindow* handle = sentTo ? sentTo : modal->windowHandle();
      for (const char* c = typed; *c; ++c) {
        if (*c == '\t')
          typeAheadKeyFor(handle, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        else if (*c == '\r')
          typeAheadKeyFor(handle, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        else
          typeAheadKeyFor(handle, static_cast<Qt::Key>(QChar(*c).toUpper().unicode()), Qt::NoModifier,
                          QString(QChar(*c)));
      }
    });
    QTest::keyClick(grid, key);
    flush();
    QTest::qWait(50);
    if (field) { EXPECT_EQ(field->text(), atClose) << "a key went into the closed window"; }
    return atClose;
  }
};

TEST_F(EntryKeysAfterPanelTest, AVoucherLineTypedOnAfterAPickerOrPanelClosesReachesTheNextCells)
{
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  FurikaedenpyouController* w = openVoucherWindow();
  EntryGridView* grid = w->denpyouView();
  const auto cell = [w](Row::Column c) { return w->denpyou().cell(0, c); };

  // The account picker (opened by Return, empty), closed by Tab; the amount typed in
  // place.
  defaults.setInteger(1, KIVOInputTypeForKamokuKey);
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::KarikataKamokuMatrix);
  const QString search = typeThroughModal(grid, Qt::Key_Return, "100\t1505\t");
  EXPECT_TRUE(QTest::qWaitFor([&] { return cell(Row::KarikataKingakuMatrix) == FieldValue::amount(1505); }, 2000))
      << "the picker";
  EXPECT_EQ(cell(Row::KarikataKamokuMatrix), FieldValue::code(kGenkin));
  EXPECT_EQ(search, QStringLiteral("100"));
  defaults.removeObjectForKey(KIVOInputTypeForKamokuKey);

  // The date panel, closed by Tab; the account and the amount typed in place.
  defaults.setInteger(1, KIVOInputTypeForDateKey);
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::DateMatrix);
  const QString date = typeThroughModal(grid, Qt::Key_4, "/5\t103\t2700\t");
  EXPECT_TRUE(QTest::qWaitFor([&] { return cell(Row::KarikataKingakuMatrix) == FieldValue::amount(2700); }, 2000))
      << "the date panel";
  EXPECT_EQ(std::tuple(cell(Row::DateMatrix).dateValue(), cell(Row::KarikataKamokuMatrix), date),
            std::tuple(Date(2024, 4, 5), FieldValue::code(kFutsuuYokin), QStringLiteral("4/5")));
  defaults.removeObjectForKey(KIVOInputTypeForDateKey);

  // The amount panel, closed by Tab; the account after it typed in place.
  defaults.setInteger(1, KIVOInputTypeForKingakuKey);
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::KarikataKingakuMatrix);
  const QString amount = typeThroughModal(grid, Qt::Key_1, "505\t300\t");
  EXPECT_TRUE(QTest::qWaitFor([&] { return cell(Row::KashikataKamokuMatrix) == FieldValue::code(kUriagedaka); }, 2000))
      << "the amount panel";
  EXPECT_EQ(std::tuple(cell(Row::KarikataKingakuMatrix), amount),
            std::tuple(FieldValue::amount(1505), QStringLiteral("1505")));

  // The picker, then the amount panel that the next key opens and the Tab after it
  // closes, then the credit account's picker opened by Return: a key after that Tab
  // waits until the voucher has taken the amount, instead of going into the closing
  // panel.
  defaults.setInteger(1, KIVOInputTypeForKamokuKey);
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::KarikataKamokuMatrix);
  typeThroughModal(grid, Qt::Key_Return, "336\t2505\t\r100\t");
  EXPECT_TRUE(QTest::qWaitFor([&] { return cell(Row::KashikataKamokuMatrix) == FieldValue::code(kGenkin); }, 2000))
      << "the picker and the amount panel";
  EXPECT_EQ(std::tuple(cell(Row::KarikataKamokuMatrix), cell(Row::KarikataKingakuMatrix)),
            std::tuple(FieldValue::code(kShoumouhinhi), FieldValue::amount(2505)));
}

// The window system's focus stays on the voucher while its pickers and panels run, so
// it addresses every key to the voucher: the keys typed after the one that closes a
// picker or panel go to the next cells only once the voucher has taken what was chosen,
// though they are read while the picker's run is still ending. The picker, the amount
// panel opened by the next key, and the credit account's picker opened by Return.
TEST_F(EntryKeysAfterPanelTest, KeysSentToTheVoucherAsItsPickersAndPanelsCloseReachTheNextCells)
{
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  FurikaedenpyouController* w = openVoucherWindow();
  EntryGridView* grid = w->denpyouView();
  const auto cell = [w](Row::Column c) { return w->denpyou().cell(0, c); };
  defaults.setInteger(1, KIVOInputTypeForKamokuKey);
  defaults.setInteger(1, KIVOInputTypeForKingakuKey);
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::KarikataKamokuMatrix);
  const QString search = typeThroughModal(grid, Qt::Key_Return, "336\t2505\t\r100\t", w->windowHandle());
  EXPECT_TRUE(QTest::qWaitFor([&] { return cell(Row::KashikataKamokuMatrix) == FieldValue::code(kGenkin); }, 2000))
      << "the picker and the amount panel";
  EXPECT_EQ(std::tuple(cell(Row::KarikataKamokuMatrix), cell(Row::KarikataKingakuMatrix), search),
            std::tuple(FieldValue::code(kShoumouhinhi), FieldValue::amount(2505), QStringLiteral("336")));
}

TEST_F(EntryKeysAfterPanelTest, ACashBookLineTypedOnAfterThePickerClosesReachesTheNextCells)
{
  using SRow = SuitoucyouRow;
  UserDefaults::standardUserDefaults().setInteger(1, KIVOInputTypeForKamokuKey);
  SuitoucyouController* w = openBook();
  EntryGridView* grid = w->suitoucyouView();
  const auto text = [grid](SRow::Column c) { return grid->delegate()->stringValue(0, c); };
  w->deselectSelectedCellAndThenSelectSuitoucyouRow(0, SRow::AiteKamokuMatrix);
  // The counterpart 売上高, the description, then the receipt it leads to.
  const QString search = typeThroughModal(grid, Qt::Key_Return, "300\tabc\t1505\t");
  EXPECT_TRUE(QTest::qWaitFor([&] { return text(SRow::InKingakuMatrix) == QStringLiteral("1,505"); }, 2000))
      << text(SRow::InKingakuMatrix).toStdString();
  EXPECT_EQ(std::tuple(w->book().cell(0, SRow::AiteKamokuMatrix), text(SRow::TekiyouMatrix), search),
            std::tuple(FieldValue::code(kUriagedaka), QStringLiteral("abc"), QStringLiteral("300")));
}

}  // namespace
}  // namespace kivo::test
