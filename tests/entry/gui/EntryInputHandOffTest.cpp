// Input types and sources of the entry columns, and the hand-off of a highlighted
// cell to its panel or picker, in the voucher window and a cash book, offscreen.
#include <QLineEdit>

#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/gui/FormatterListWindow.h"
#include "fields/gui/InputHidukeController.h"
#include "fields/gui/InputKingakuController.h"
#include "fields/gui/ModalDriver.h"

namespace kivo::test {
namespace {

using Row = FurikaedenpyouRow;

class EntryInputHandOffTest : public EntryWindowTest {
protected:
  void TearDown() override
  {
    for (const char* k : {KIVOInputTypeForDateKey, KIVOInputTypeForKamokuKey, KIVOInputTypeForKingakuKey,
                          KIVOInputSourceForKingakuKey, KIVOInputTypeForHojyoKamokuKey, KIVOInputTypeForTekiyouKey})
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
                        KIVOInputTypeForKingakuKey, KIVOInputTypeForTekiyouKey})
    UserDefaults::standardUserDefaults().setInteger(1, k);
  FurikaedenpyouController* w = openVoucherWindow(makeBooks({.hojyoKamoku = true}));
  EntryGridView* grid = w->denpyouView();
  w->denpyou().setCell(0, Row::KarikataKamokuMatrix, FieldValue::code(kFutsuuYokin));
  w->denpyou().setCell(0, Row::KarikataKingakuMatrix, FieldValue::amount(500));
  // The column and the key typed on it; what is then typed in the window that came up,
  // closed with Return (else cancelled); that window's class, and the account cell
  // after. The amount cell and the selection stay.
  const std::tuple<Row::Column, Qt::Key, const char*, const char*, int32_t> cases[] = {
      {Row::DateMatrix, Qt::Key_Return, "", "kivo::InputHidukeController", kFutsuuYokin},
      {Row::KarikataKingakuMatrix, Qt::Key_Enter, "", "kivo::InputKingakuController", kFutsuuYokin},
      {Row::KarikataKamokuMatrix, Qt::Key_Enter, "", "kivo::KamokuFormatterListWindow", kFutsuuYokin},
      {Row::KarikataHojyoKamokuMatrix, Qt::Key_Return, "", "kivo::HojyoKamokuFormatterListWindow", kFutsuuYokin},
      {Row::TekiyouMatrix, Qt::Key_Enter, "", "kivo::TekiyouFormatterListWindow", kFutsuuYokin},
      {Row::KarikataKamokuMatrix, Qt::Key_Slash, "", "", kFutsuuYokin},
      {Row::KarikataKamokuMatrix, Qt::Key_Return, "100", "kivo::KamokuFormatterListWindow", kGenkin},
  };
  for (const auto& [column, key, typed, window, account] : cases) {
    w->deselectSelectedCellAndThenSelectDenpyouRow(0, column);
    std::pair<QString, QString> opened;
    answerNextPanel(&opened, QString::fromLatin1(typed), *typed ? Qt::Key_Return : Qt::Key_Escape);
    QTest::keyClick(grid, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    flush();
    EXPECT_EQ(std::tuple(opened, w->denpyou().cell(0, Row::KarikataKamokuMatrix),
                         w->denpyou().cell(0, Row::KarikataKingakuMatrix), grid->selectedMatrixId(), grid->isEditing()),
              std::tuple(std::pair(QString::fromLatin1(window), QString()), FieldValue::code(account),
                         FieldValue::amount(500), int(column), false))
        << column << " " << key << " " << typed;
  }
}

// The letter or digit typed on a highlighted code or description cell begins the
// search of the picker it opens, also when that key alone names one entry (a code, the
// only reading with that first letter) or none: "111" is 売掛金, not 受取手形 (110)
// found by "11"; "2" in a sub-account or division cell is the second, not the first
// of the list.
TEST_F(EntryInputHandOffTest, TheKeyThatOpensAPickerBeginsItsSearchWhateverItMatches)
{
  for (const char* k : {KIVOInputTypeForKamokuKey, KIVOInputTypeForHojyoKamokuKey, KIVOInputTypeForTekiyouKey,
                        KIVOInputTypeForJigyoubuKey})
    UserDefaults::standardUserDefaults().setInteger(1, k);
  FurikaedenpyouController* w = openVoucherWindow(makeBooks({.hojyoKamoku = true, .jigyoubu = true}));
  EntryGridView* grid = w->denpyouView();
  // The column, its account beforehand (-1: none), the key typed on it, what is then
  // typed into the picker before Tab; the search the picker opened with, and the cell.
  const std::tuple<Row::Column, int32_t, char, const char*, const char*, FieldValue> cases[] = {
      {Row::KarikataKamokuMatrix, -1, '1', "11", "1", FieldValue::code(111)},
      {Row::KashikataKamokuMatrix, -1, '1', "03", "1", FieldValue::code(kFutsuuYokin)},
      {Row::KarikataHojyoKamokuMatrix, kFutsuuYokin, '2', "", "2", FieldValue::code(2)},
      {Row::KarikataJigyoubuMatrix, -1, '2', "", "2", FieldValue::code(2)},
      {Row::KashikataJigyoubuMatrix, -1, '1', "", "1", FieldValue::code(1)},
  };
  for (const auto& [column, account, key, typed, search, value] : cases) {
    SCOPED_TRACE(std::string(1, key) + typed);
    if (account != -1) w->denpyou().setCell(0, Row::KarikataKamokuMatrix, FieldValue::code(account));
    w->deselectSelectedCellAndThenSelectDenpyouRow(0, column);
    ASSERT_FALSE(grid->isEditing());
    QString opened;
    typeIntoHighlightedCell<FormatterListWindow>(grid, key, [&](FormatterListWindow* p) {
      opened = p->searchField()->text();
      QTest::keyClicks(p->searchField(), QString::fromLatin1(typed));
      QTest::keyClick(p->searchField(), Qt::Key_Tab);
      if (p->isVisible()) QTest::keyClick(p->searchField(), Qt::Key_Escape);  // nothing matched
    });
    EXPECT_EQ(opened, QString::fromLatin1(search));
    EXPECT_EQ(w->denpyou().cell(0, column), value);
  }

  // A description's key that begins no description's kana opens the picker with it
  // still, where the user sees that nothing matches; cancelled, the cell is as it was.
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::TekiyouMatrix);
  QString opened = QStringLiteral("not opened");
  typeIntoHighlightedCell<FormatterListWindow>(grid, 'z', [&](FormatterListWindow* p) {
    opened = p->searchField()->text();
    QTest::keyClick(p->searchField(), Qt::Key_Escape);
  });
  EXPECT_EQ(opened.toUpper(), QStringLiteral("Z"));
  EXPECT_EQ(w->denpyou().cell(0, Row::TekiyouMatrix).textValue(), "");
}

}  // namespace
}  // namespace kivo::test
