// The password prompt of a protected document.
#include <QLineEdit>
#include <QPushButton>

#include "app/PasswordController.h"
#include "document/DocumentFile.h"
#include "platform/PasswordHash.h"
#include "support/AppTestFixture.h"

namespace kivo::test {
namespace {

using Kind = DocumentWindow::Kind;

class PasswordControllerTest : public AppTest {};

TEST_F(PasswordControllerTest, AWrongPasswordIsRefusedAndEachRightOneOpensTheDocumentWithItsRights)
{
  auto books = makeBooks();
  books->kaisya().setPassword(PasswordHash::hash(QStringLiteral("社長"), 1000));
  books->kaisya().setLimitedUserPassword(PasswordHash::hash(QStringLiteral("staff"), 1000));
  const QString file = path(QStringLiteral("protected.kivo"));
  ASSERT_TRUE(DocumentFile::writeToFile(*books, file.toStdString()).ok());
  const auto openProtected = [&] {
    DocumentSession* doc = app->documentController()->openDocumentWithContentsOfFile(file);
    flush();
    return doc;
  };
  const auto prompt = [](DocumentSession* doc) {
    return qobject_cast<PasswordController*>(doc->firstWindowControllerOfKind(Kind::Password));
  };
  const auto type = [](PasswordController* p, const QString& text) {
    p->passwordField()->setText(text);
    QTest::mouseClick(p->okButton(), Qt::LeftButton);
    flush();
  };
  struct Case {
    QString typed;
    bool limited;
  };
  for (const Case& c : {Case{QStringLiteral("社長"), false}, Case{QStringLiteral("staff"), true}}) {
    SCOPED_TRACE(c.typed.toStdString());
    DocumentSession* doc = openProtected();
    PasswordController* p = prompt(doc);
    ASSERT_NE(p, nullptr);
    const int beeps = AlertSheet::beepCountForTesting();
    for (const QString& wrong : {QStringLiteral("社長 "), QString(), QStringLiteral("STAFF")}) {
      type(p, wrong);
      EXPECT_EQ(prompt(doc), p);
      EXPECT_EQ(doc->documentInfoController(), nullptr);
      EXPECT_EQ(p->messageText(), QString::fromUtf8(PasswordController::kWrongPasswordMessage));
      EXPECT_TRUE(p->passwordField()->text().isEmpty());
    }
    EXPECT_EQ(AlertSheet::beepCountForTesting(), beeps + 3);

    type(p, c.typed);
    EXPECT_EQ(prompt(doc), nullptr);
    ASSERT_NE(doc->documentInfoController(), nullptr);
    EXPECT_TRUE(doc->documentInfoController()->isVisible());
    EXPECT_EQ(doc->wasOpenedByLimitedUserPassword(), c.limited);
    // The document stays open and unchanged.
    EXPECT_EQ(app->documentController()->documents().size(), 1u);
    EXPECT_FALSE(doc->isDocumentEdited());
    closeNow(doc);
  }
  // Cancelling closes the document.
  QTest::mouseClick(prompt(openProtected())->cancelButton(), Qt::LeftButton);
  flush();
  EXPECT_TRUE(app->documentController()->documents().empty());
}

}  // namespace
}  // namespace kivo::test
