// The new-document window: its refusals with their messages, and what the kind of
// company does to the other fields.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
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

TEST_F(NewDocumentControllerTest, RefusesTheTermWithItsMessageAndStaysOpen)
{
  // Which term is refused with which words is the settings' own test; here one of
  // each kind of refusal: a sheet, or a note beside the field.
  using Field = QLineEdit* (NewDocumentController::*)() const;
  struct Case {
    const char* start;
    const char* end;
    const char* message;  // nullptr: a note beside the field
    const char* note = nullptr;
    Field field = &NewDocumentController::termEndDateField;
    const char* name = "テスト商事";
  } cases[] = {
      {"2024/4/1", "2025/3/30", "期間の最終日は、月末日を指定してください。"},
      {"2024/4/1", "2024/3/31", nullptr, TermSettings::kEndBeforeStartNote},
      {"2024/4/1", "2025/3/31", nullptr, TermSettings::kEmptyNameNote, &NewDocumentController::nameField, "　"},
  };
  for (const Case& c : cases) {
    alerts.clear();
    const int beeps = AlertSheet::beepCountForTesting();
    window->houjinButton()->setChecked(true);
    window->nameField()->setText(QString::fromUtf8(c.name));
    fillTerm(c.start, c.end);
    window->okButton()->click();
    flush();
    if (c.message) {
      ASSERT_EQ(alerts.size(), 1u) << c.end;
      EXPECT_EQ(alerts[0].title, QStringLiteral("無効な日付"));
      EXPECT_EQ(alerts[0].text, QString::fromUtf8(c.message));
      EXPECT_TRUE(alerts[0].isSheet);
    } else {
      EXPECT_TRUE(alerts.empty());
      EXPECT_EQ(AlertSheet::beepCountForTesting(), beeps + 1) << c.note;
      EXPECT_EQ(FieldMessage::shownText(), QString::fromUtf8(c.note));
      EXPECT_EQ(FieldMessage::shownWidget(), (window->*c.field)()) << c.note;
    }
    EXPECT_EQ(doc->firstWindowControllerOfKind(Kind::NewDocument), window);
    EXPECT_TRUE(doc->document().kaisya().name().empty());
    EXPECT_FALSE(doc->documentInfoController());
  }
}

TEST_F(NewDocumentControllerTest, TheKindOfCompanyShapesTheFields)
{
  window->houjinButton()->setChecked(true);
  EXPECT_FALSE(window->kakeiboCheckbox()->isVisibleTo(window));
  EXPECT_TRUE(window->kaisyahouChartButton()->isVisibleTo(window));
  EXPECT_EQ(window->termNoKiTitleField()->text(), QStringLiteral("期"));
  EXPECT_EQ(window->termNoField()->text(), QStringLiteral("1"));

  fillTerm("2024/1/1", "2024/12/31");
  window->kojinButton()->setChecked(true);
  EXPECT_TRUE(window->kakeiboCheckbox()->isVisibleTo(window));
  EXPECT_FALSE(window->kaisyahouChartButton()->isVisibleTo(window));
  EXPECT_EQ(window->termNoKiTitleField()->text(), QStringLiteral("年度"));
  EXPECT_EQ(window->termNoField()->text(), QStringLiteral("2024"));
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
  EXPECT_FALSE(k.isHoujin());
  EXPECT_TRUE(k.isKakeibo());
  EXPECT_TRUE(k.doUseWareki());
  EXPECT_EQ(k.termYear(), "令和6");
  EXPECT_TRUE(doc->documentInfoController());
}

TEST_F(NewDocumentControllerTest, TheEndFollowsTheStartUntilTyped)
{
  window->termStartDateField()->setText(QStringLiteral("2024/10/1"));
  emit window->termStartDateField()->editingFinished();
  EXPECT_EQ(window->termEndDateField()->text(), QStringLiteral("2025/9/30"));
  window->termEndDateField()->setText(QStringLiteral("2025/3/31"));
  emit window->termEndDateField()->textEdited(QStringLiteral("2025/3/31"));
  window->termStartDateField()->setText(QStringLiteral("2024/11/1"));
  emit window->termStartDateField()->editingFinished();
  EXPECT_EQ(window->termEndDateField()->text(), QStringLiteral("2025/3/31"));
}

TEST_F(NewDocumentControllerTest, CancellingClosesTheDocument)
{
  window->cancelButton()->click();
  flush();
  EXPECT_TRUE(app->documentController()->documents().empty());
}

TEST_F(NewDocumentControllerTest, ReturnInAFieldPressesOK)
{
  fillTerm("2024/4/1", "2025/3/31");
  QTest::keyClick(window->nameField(), Qt::Key_Return);
  QTest::qWait(200);  // the default button's click is animated
  flush();
  EXPECT_EQ(doc->document().kaisya().name(), "テスト商事");
  EXPECT_FALSE(doc->firstWindowControllerOfKind(Kind::NewDocument));
  // The company-law chart unless chosen otherwise; the new books are yet to be saved.
  EXPECT_EQ(doc->document().rootKamokuKubun()->pListResource(), KamokuKubun::kKaisyahouChartName);
  EXPECT_TRUE(doc->isDocumentEdited());
  ASSERT_TRUE(infoOf(doc));
  EXPECT_TRUE(infoOf(doc)->isVisible());
}

TEST_F(NewDocumentControllerTest, PrecisionChartAndIndustryReachTheBooks)
{
  fillTerm("2024/4/1", "2025/3/31");
  window->decimalPrecisionPopUp()->setCurrentIndex(2);
  window->olderChartButton()->setChecked(true);
  window->seizouCheckbox()->setChecked(true);
  window->okButton()->click();
  flush();
  const MyDocument& books = doc->document();
  EXPECT_EQ(books.kaisya().decimalPrecision(), 2);
  EXPECT_TRUE(books.kaisya().isSeizou());
  EXPECT_EQ(books.rootKamokuKubun()->pListResource(), KamokuKubun::kOlderChartName);
  EXPECT_TRUE(books.kamokuOfCode(610)->isActive());
}

}  // namespace
}  // namespace kivo::test
