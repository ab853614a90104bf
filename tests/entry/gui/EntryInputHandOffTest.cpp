// Input types and sources of the entry columns, and the hand-off of a highlighted
// cell to its panel or picker, in the voucher window and a cash book, offscreen.
#include <QLineEdit>
#include <QTimer>

#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/gui/FormatterListWindow.h"
#include "fields/gui/InputHidukeController.h"
#include "fields/gui/InputKingakuController.h"
#include "fields/gui/ModalDriver.h"
#include "fields/gui/StopKeyDialog.h"

namespace kivo::test {
namespace {

using Row = FurikaedenpyouRow;

class EntryInputHandOffTest : public EntryWindowTest {
protected:
  void TearDown() override
  {
    for (const char* k :
         {KIVOInputTypeForDateKey, KIVOInputTypeForKamokuKey, KIVOInputTypeForKingakuKey, KIVOInputSourceForKingakuKey,
          KIVOInputTypeForHojyoKamokuKey, KIVOInputTypeForJigyoubuKey, KIVOInputTypeForTekiyouKey})
      UserDefaults::standardUserDefaults().removeObjectForKey(k);
    EntryWindowTest::TearDown();
  }

  // Types the key on the grid; the steps run in the panel or picker it opens.
  template <typename Window>
  void typeIntoHighlightedCell(EntryGridView* grid, char key, std::function<void(Window*)> steps)
  {
    whenModalWindowIsUp<Window>(steps);
    QTest::keyClick(grid, key);
    flush();
  }
};

TEST_F(EntryInputHandOffTest, ADigitInAPanelDateOpensTheDatePanelWhoseValueGoesIntoTheCell)
{
  UserDefaults::standardUserDefaults().setInteger(1, KIVOInputTypeForDateKey);
  FurikaedenpyouController* w = openVoucherWindow();
  EntryGridView* grid = w->denpyouView();
  ASSERT_EQ(grid->selectedMatrixId(), Row::DateMatrix);
  EXPECT_FALSE(grid->isEditing());  // highlighted only; the grid keeps the focus
  EXPECT_TRUE(grid->hasFocus());

  QString startText;
  QPoint panelAt;
  typeIntoHighlightedCell<InputHidukeController>(grid, '4', [&](InputHidukeController* p) {
    startText = p->textField()->text();
    panelAt = p->textField()->mapToGlobal(QPoint(0, p->textField()->height()));
    QTest::keyClicks(p->textField(), "/5");
    QTest::keyClick(p->textField(), Qt::Key_Tab);
  });
  // The account column is then typed into; a hand-off registers nothing.
  EXPECT_EQ(std::tuple(startText, w->denpyou().cell(0, Row::DateMatrix).dateValue(), grid->selectedMatrixId(),
                       grid->isEditing(), session->document().journal().size()),
            std::tuple(QStringLiteral("4"), Date(2024, 4, 5), int(Row::KarikataKamokuMatrix), true, size_t{0}));

  // Return keeps the selection; Escape leaves the cell as it was; Delete empties it.
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::DateMatrix);
  typeIntoHighlightedCell<InputHidukeController>(grid, '5', [](InputHidukeController* p) {
    QTest::keyClicks(p->textField(), "/6");
    QTest::keyClick(p->textField(), Qt::Key_Return);
  });
  EXPECT_EQ(w->denpyou().cell(0, Row::DateMatrix).dateValue(), Date(2024, 5, 6));
  EXPECT_EQ(grid->selectedMatrixId(), Row::DateMatrix);
  typeIntoHighlightedCell<InputHidukeController>(
      grid, '7', [](InputHidukeController* p) { QTest::keyClick(p->textField(), Qt::Key_Escape); });
  EXPECT_EQ(w->denpyou().cell(0, Row::DateMatrix).dateValue(), Date(2024, 5, 6));
  QTest::keyClick(grid, Qt::Key_Backspace);
  EXPECT_FALSE(w->denpyou().cell(0, Row::DateMatrix).isDate());
}

TEST_F(EntryInputHandOffTest, ALetterInAPickerAccountOpensThePickerAtTheCellAndWritesTheCode)
{
  UserDefaults::standardUserDefaults().setInteger(1, KIVOInputTypeForKamokuKey);
  FurikaedenpyouController* w = openVoucherWindow();
  EntryGridView* grid = w->denpyouView();
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::KarikataKamokuMatrix);
  ASSERT_FALSE(grid->isEditing());
  const QRect cell = grid->globalCellRect(0, Row::KarikataKamokuMatrix);

  QString search;
  QRect pickerFrame;
  typeIntoHighlightedCell<FormatterListWindow>(grid, 'G', [&](FormatterListWindow* p) {
    search = p->searchField()->text();
    pickerFrame = p->frameGeometry();
    QTest::keyClick(p->searchField(), Qt::Key_Return);
  });
  EXPECT_EQ(search, QStringLiteral("G"));
  EXPECT_LT((pickerFrame.topLeft() - cell.bottomLeft()).manhattanLength(), 120);
  // Return: the cell stays selected, highlighted.
  EXPECT_EQ(std::tuple(w->denpyou().cell(0, Row::KarikataKamokuMatrix), grid->selectedMatrixId(), grid->isEditing(),
                       session->document().journal().size()),
            std::tuple(FieldValue::code(kGenkin), int(Row::KarikataKamokuMatrix), false, size_t{0}));
}

TEST_F(EntryInputHandOffTest, AStoredSourceMeansTypingAndAnAsciiSourceBypassesTheInputMethod)
{
  UserDefaults& d = UserDefaults::standardUserDefaults();
  // The input type, the input source stored (nullptr: none), whether the amount cell
  // opens for editing and then with the input method on.
  const std::tuple<int, const char*, bool, bool> cases[] = {
      {1, nullptr, false, true}, {1, "en", true, false},   {1, "ja", true, true},
      {2, "en", true, false},    {2, nullptr, true, true},
  };
  FurikaedenpyouController* w = openVoucherWindow();
  EntryGridView* grid = w->denpyouView();
  for (const auto& [type, source, editing, inputMethod] : cases) {
    d.setInteger(type, KIVOInputTypeForKingakuKey);
    if (source)
      d.setString(QString::fromLatin1(source), KIVOInputSourceForKingakuKey);
    else
      d.removeObjectForKey(KIVOInputSourceForKingakuKey);
    // Read again on every selection change.
    for (Row::Column column : {Row::KarikataKingakuMatrix, Row::KashikataKingakuMatrix}) {
      w->deselectSelectedCellAndThenSelectDenpyouRow(0, column);
      EXPECT_EQ(grid->isEditing(), editing) << type << " " << (source ? source : "-");
      if (editing) {
        EXPECT_EQ(grid->fieldEditor()->testAttribute(Qt::WA_InputMethodEnabled), inputMethod)
            << type << " " << (source ? source : "-");
      }
    }
  }
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::TekiyouMatrix);
  EXPECT_TRUE(grid->fieldEditor()->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(EntryInputHandOffTest, TheCashBooksTwoAmountColumnsShareTheAmountSettings)
{
  using SRow = SuitoucyouRow;
  UserDefaults::standardUserDefaults().setInteger(1, KIVOInputTypeForKingakuKey);
  SuitoucyouController* w = openBook();
  EntryGridView* grid = w->suitoucyouView();
  for (SRow::Column column : {SRow::InKingakuMatrix, SRow::OutKingakuMatrix}) {
    w->deselectSelectedCellAndThenSelectSuitoucyouRow(0, column);
    EXPECT_FALSE(grid->isEditing()) << column;
    typeIntoHighlightedCell<InputKingakuController>(grid, '1', [](InputKingakuController* p) {
      QTest::keyClicks(p->textField(), "200");
      QTest::keyClick(p->textField(), Qt::Key_Return);
    });
    EXPECT_EQ(w->book().cell(0, column), FieldValue::amount(1200)) << column;
  }
  w->deselectSelectedCellAndThenSelectSuitoucyouRow(0, SRow::TekiyouMatrix);
  EXPECT_TRUE(grid->isEditing());
}

// Return and Enter on a highlighted cell open its column's panel or picker with
// nothing in it; a key that is neither a letter nor a digit opens nothing. A picker
// cancelled leaves the cell as it was; a choice goes into it.
TEST_F(EntryInputHandOffTest, ReturnAndEnterOnAHighlightedCellOpenItsPanelOrPickerEmpty)
{
  for (const char* k : {KIVOInputTypeForDateKey, KIVOInputTypeForKamokuKey, KIVOInputTypeForHojyoKamokuKey,
                        KIVOInputTypeForKingakuKey, KIVOInputTypeForJigyoubuKey, KIVOInputTypeForTekiyouKey})
    UserDefaults::standardUserDefaults().setInteger(1, k);
  FurikaedenpyouController* w = openVoucherWindow(makeBooks({.hojyoKamoku = true, .jigyoubu = true}));
  EntryGridView* grid = w->denpyouView();
  w->denpyou().setCell(0, Row::KarikataKamokuMatrix, FieldValue::code(kFutsuuYokin));
  w->denpyou().setCell(0, Row::KarikataKingakuMatrix, FieldValue::amount(500));

  // Types the key on the highlighted cell; answers the class of the window that came
  // up (closed with closeKey after typing) and the text it started with.
  const auto typeOnCell = [&](Row::Column column, Qt::Key key, const char* typed = "",
                              Qt::Key closeKey = Qt::Key_Escape) {
    w->deselectSelectedCellAndThenSelectDenpyouRow(0, column);
    EXPECT_FALSE(grid->isEditing());
    std::pair<QString, QString> opened;
    QTimer::singleShot(0, [&opened, typed, closeKey] {
      auto* d = qobject_cast<StopKeyDialog*>(activeModalWindow());
      if (!d) return;
      QLineEdit* field = d->findChild<QLineEdit*>();
      opened = {QString::fromLatin1(d->metaObject()->className()), field->text()};
      QTest::keyClicks(field, QString::fromLatin1(typed));
      QTest::keyClick(field, closeKey);
      if (d->isVisible()) QTest::keyClick(field, Qt::Key_Escape);
    });
    QTest::keyClick(grid, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    flush();
    EXPECT_EQ(activeModalWindow(), nullptr);
    return opened;
  };
  const std::tuple<Row::Column, Qt::Key, const char*> cases[] = {
      {Row::DateMatrix, Qt::Key_Return, "kivo::InputHidukeController"},
      {Row::DateMatrix, Qt::Key_Enter, "kivo::InputHidukeController"},
      {Row::KarikataKingakuMatrix, Qt::Key_Return, "kivo::InputKingakuController"},
      {Row::KarikataKamokuMatrix, Qt::Key_Enter, "kivo::KamokuFormatterListWindow"},
      {Row::KarikataHojyoKamokuMatrix, Qt::Key_Return, "kivo::HojyoKamokuFormatterListWindow"},
      {Row::KarikataJigyoubuMatrix, Qt::Key_Return, "kivo::JigyoubuFormatterListWindow"},
      {Row::TekiyouMatrix, Qt::Key_Enter, "kivo::TekiyouFormatterListWindow"},
      {Row::DateMatrix, Qt::Key_Slash, ""},
      {Row::KarikataKingakuMatrix, Qt::Key_Minus, ""},
      {Row::KarikataKamokuMatrix, Qt::Key_Slash, ""},
      {Row::KarikataKamokuMatrix, Qt::Key_Escape, ""},
  };
  for (const auto& [column, key, window] : cases) {
    SCOPED_TRACE(std::to_string(column) + " " + std::to_string(key));
    const std::pair<QString, QString> opened = typeOnCell(column, key);
    EXPECT_EQ(opened, std::pair(QString::fromLatin1(window), QString()));
    // Cancelled or never opened: the cells keep their values and their selection.
    EXPECT_EQ(std::tuple(w->denpyou().cell(0, Row::KarikataKamokuMatrix),
                         w->denpyou().cell(0, Row::KarikataKingakuMatrix), grid->selectedMatrixId(), grid->isEditing()),
              std::tuple(FieldValue::code(kFutsuuYokin), FieldValue::amount(500), int(column), false));
  }
  // A choice goes into the cell, which stays highlighted.
  typeOnCell(Row::KarikataKamokuMatrix, Qt::Key_Return, "100", Qt::Key_Return);
  EXPECT_EQ(std::tuple(w->denpyou().cell(0, Row::KarikataKamokuMatrix), grid->selectedMatrixId(), grid->isEditing()),
            std::tuple(FieldValue::code(kGenkin), int(Row::KarikataKamokuMatrix), false));
  typeOnCell(Row::KarikataKingakuMatrix, Qt::Key_Enter, "20", Qt::Key_Return);
  EXPECT_EQ(w->denpyou().cell(0, Row::KarikataKingakuMatrix), FieldValue::amount(20));
}

}  // namespace
}  // namespace kivo::test
