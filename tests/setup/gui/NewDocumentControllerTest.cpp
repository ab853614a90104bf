// The new-document window: its refusals with their messages, and what the kind of
// company does to the other fields.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "SetupWindowTest.h"
#include "platform/FieldMessage.h"
#include "setup/TermSettings.h"
#include "setup/gui/NewDocumentController.h"

namespace kivo::test {
namespace {

class NewDocumentControllerTest : public SetupWindowTest {
protected:
  void SetUp() override
  {
    SetupWindowTest::SetUp();
    doc = app->documentController()->newDocument();
    flush();
    window = qobject_cast<NewDocumentController*>(doc->firstWindowControllerOfKind(Kind::NewDocument));
    ASSERT_TRUE(window);
    window->nameField()->setText(QStringLiteral("テスト商事"));
  }

  void fillTerm(const char* start, const char* end)
  {
    window->termStartDateField()->setText(QString::fromUtf8(start));
    window->termEndDateField()->setText(QString::fromUtf8(end));
  }

  DocumentSession* doc = nullptr;
  NewDocumentController* window = nullptr;
};

TEST_F(NewDocumentControllerTest, RefusesTheTermWithItsMessageAndStaysOpenUntilCancelled)
{
  // Which term is refused with which words is the settings' own test; here one of
  // each kind of refusal: a sheet, or a note beside the field.
  // Name, start, end, the message of the sheet (nullptr: a note beside the field),
  // the note and the field it stands beside.
  using Field = QLineEdit* (NewDocumentController::*)() const;
  const Field end = &NewDocumentController::termEndDateField, name = &NewDocumentController::nameField;
  const std::tuple<const char*, const char*, const char*, const char*, const char*, Field> cases[] = {
      {"テスト商事", "2024/4/1", "2025/3/30", "期間の最終日は、月末日を指定してください。", nullptr, end},
      {"テスト商事", "2024/4/1", "2024/3/31", nullptr, TermSettings::kEndBeforeStartNote, end},
      {"　", "2024/4/1", "2025/3/31", nullptr, TermSettings::kEmptyNameNote, name},
  };
  for (const auto& [typedName, start, endText, message, note, field] : cases) {
    alerts.clear();
    const int beeps = AlertSheet::beepCountForTesting();
    window->houjinButton()->setChecked(true);
    window->nameField()->setText(QString::fromUtf8(typedName));
    fillTerm(start, endText);
    window->okButton()->click();
    flush();
    if (message) {
      ASSERT_EQ(alerts.size(), 1u) << endText;
      EXPECT_EQ(std::tuple(alerts[0].title, alerts[0].text, alerts[0].isSheet),
                std::tuple(QStringLiteral("無効な日付"), QString::fromUtf8(message), true));
    } else {
      EXPECT_TRUE(alerts.empty());
      EXPECT_EQ(AlertSheet::beepCountForTesting(), beeps + 1) << note;
      EXPECT_EQ(FieldMessage::shownText(), QString::fromUtf8(note));
      EXPECT_EQ(FieldMessage::shownWidget(), (window->*field)()) << note;
    }
    EXPECT_EQ(doc->firstWindowControllerOfKind(Kind::NewDocument), window);
    EXPECT_EQ(std::pair(doc->document().kaisya().name(), doc->documentInfoController()),
              std::pair(std::string(), static_cast<DocumentWindowController*>(nullptr)));
  }
  // Cancelling closes the document.
  window->cancelButton()->click();
  flush();
  EXPECT_TRUE(app->documentController()->documents().empty());
}

TEST_F(NewDocumentControllerTest, TheKindOfCompanyShapesTheFields)
{
  // Household box and chart choice shown, the title and text of the term number.
  const auto fields = [this] {
    return std::tuple(window->kakeiboCheckbox()->isVisibleTo(window),
                      window->kaisyahouChartButton()->isVisibleTo(window), window->termNoKiTitleField()->text(),
                      window->termNoField()->text());
  };
  window->houjinButton()->setChecked(true);
  EXPECT_EQ(fields(), std::tuple(false, true, QStringLiteral("期"), QStringLiteral("1")));
  fillTerm("2024/1/1", "2024/12/31");
  window->kojinButton()->setChecked(true);
  EXPECT_EQ(fields(), std::tuple(true, false, QStringLiteral("年度"), QStringLiteral("2024")));
  // The era form shows the year as the era does.
  window->warekiCheckbox()->setChecked(true);
  EXPECT_EQ(window->termStartDateField()->text(), QStringLiteral("令和6/1/1"));
  EXPECT_EQ(window->termNoField()->text(), QStringLiteral("令和6"));
  // A household book keeps no manufacturing or construction accounts.
  window->seizouCheckbox()->setChecked(true);
  window->kakeiboCheckbox()->setChecked(true);
  EXPECT_FALSE(window->seizouCheckbox()->isChecked());
  EXPECT_FALSE(window->seizouCheckbox()->isEnabled());

  window->okButton()->click();
  flush();
  EXPECT_TRUE(alerts.empty());
  const Kaisya& k = doc->document().kaisya();
  EXPECT_EQ(std::tuple(k.isHoujin(), k.isKakeibo(), k.doUseWareki(), k.termYear()),
            std::tuple(false, true, true, std::string("令和6")));
  EXPECT_TRUE(doc->documentInfoController());
}

// The era box switched on and off shows the same term each way, four-digit era years too.
TEST_F(NewDocumentControllerTest, TheEraBoxSwitchedBackAndForthKeepsTheTerm)
{
  fillTerm("9999/1/1", "9999/12/31");
  QStringList shown;
  for (bool wareki : {true, false, true}) {
    window->warekiCheckbox()->setChecked(wareki);
    shown << window->termStartDateField()->text() + "〜" + window->termEndDateField()->text();
  }
  EXPECT_EQ(shown,
            (QStringList{"令和7981/1/1〜令和7981/12/31", "9999/1/1〜9999/12/31", "令和7981/1/1〜令和7981/12/31"}));
}

TEST_F(NewDocumentControllerTest, TheEndFollowsTheStartUntilTypedAndPrecisionChartAndIndustryReachTheBooks)
{
  window->termStartDateField()->setText(QStringLiteral("2024/10/1"));
  emit window->termStartDateField()->editingFinished();
  EXPECT_EQ(window->termEndDateField()->text(), QStringLiteral("2025/9/30"));
  window->termEndDateField()->setText(QStringLiteral("2025/3/31"));
  emit window->termEndDateField()->textEdited(QStringLiteral("2025/3/31"));
  window->termStartDateField()->setText(QStringLiteral("2024/11/1"));
  emit window->termStartDateField()->editingFinished();
  EXPECT_EQ(window->termEndDateField()->text(), QStringLiteral("2025/3/31"));

  fillTerm("2024/4/1", "2025/3/31");
  window->decimalPrecisionPopUp()->setCurrentIndex(2);
  window->olderChartButton()->setChecked(true);
  window->seizouCheckbox()->setChecked(true);
  window->okButton()->click();
  flush();
  const MyDocument& books = doc->document();
  EXPECT_EQ(
      std::tuple(books.kaisya().decimalPrecision(), books.kaisya().isSeizou(), books.kamokuOfCode(610)->isActive()),
      std::tuple(2, true, true));
  EXPECT_EQ(books.rootKamokuKubun()->pListResource(), KamokuKubun::kOlderChartName);
}

TEST_F(NewDocumentControllerTest, ReturnInAFieldPressesOK)
{
  fillTerm("2024/4/1", "2025/3/31");
  QTest::keyClick(window->nameField(), Qt::Key_Return);
  QTest::qWait(200);  // the default button's click is animated
  flush();
  // The company-law chart unless chosen otherwise; the new books are yet to be saved.
  EXPECT_EQ(std::tuple(doc->document().kaisya().name(), doc->document().rootKamokuKubun()->pListResource(),
                       doc->isDocumentEdited(), infoOf(doc)->isVisible()),
            std::tuple(std::string("テスト商事"), std::string(KamokuKubun::kKaisyahouChartName), true, true));
  EXPECT_FALSE(doc->firstWindowControllerOfKind(Kind::NewDocument));
}

// Escape cancels the window as its キャンセル button does, wherever the focus is; an
// open list of the combo box takes it first and only closes.
TEST_F(NewDocumentControllerTest, EscapeCancelsAsTheCancelButtonDoesWhereverTheFocusIs)
{
  for (int place = 0; place < 10; ++place) {
    if (place > 0) {
      doc = app->documentController()->newDocument();
      flush();
      window = qobject_cast<NewDocumentController*>(doc->firstWindowControllerOfKind(Kind::NewDocument));
    }
    activate(window);
    QComboBox* box = window->decimalPrecisionPopUp();
    QWidget* const places[] = {window->nameField(),      window->termStartDateField(),
                               window->termNoField(),    box,
                               window->houjinButton(),   window->olderChartButton(),
                               window->seizouCheckbox(), window->warekiCheckbox(),
                               window->okButton(),       box};
    places[place]->setFocus();
    if (place == 9) {  // the list open
      box->showPopup();
      QTest::keyClick(box->view(), Qt::Key_Escape);
      flush();
      EXPECT_EQ(std::tuple(box->view()->isVisible(), app->documentController()->documents().size()),
                std::tuple(false, size_t{1}));
    }
    QSignalSpy cancelled(window->cancelButton(), &QPushButton::clicked);
    QTest::keyClick(places[place], Qt::Key_Escape);
    flush();
    EXPECT_EQ(std::tuple(cancelled.count(), app->documentController()->documents().empty()), std::tuple(1, true))
        << place;
  }
}

}  // namespace
}  // namespace kivo::test
