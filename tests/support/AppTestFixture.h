// Window tests of the application shell: a fresh application delegate per test,
// alerts and file panels answered automatically, and stub windows that record what
// the document and the application ask of them.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppController.h"
#include "app/DocumentController.h"
#include "app/DocumentSession.h"
#include "document/gui/DocumentWindowController.h"
#include "platform/AlertSheet.h"
#include "platform/FilePanel.h"
#include "platform/HelpWindow.h"
#include "platform/MainMenu.h"
#include "platform/PrintFonts.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "platform/WindowController.h"
#include "support/TestBooks.h"

namespace kivo::test {

// A document window that stands in for the windows of later subsystems.
class StubWindow : public DocumentWindowController {
public:
  StubWindow(DocumentSession* document, Kind kind, QString menuTitle = {}, QString itemTitle = {})
      : DocumentWindowController(document, kind), menuTitle_(std::move(menuTitle)), itemTitle_(std::move(itemTitle))
  {
    resize(300, 200);
  }

  int recomputeCount = 0;
  bool settleAnswer = true;
  bool editingCell = false;
  bool printable = false;
  int printCount = 0;
  std::vector<std::string>* settleLog = nullptr;

  bool settleEditing() override
  {
    if (settleLog) settleLog->push_back(menuTitle_.toStdString());
    return settleAnswer;
  }
  void settleFinishedEditing() override
  {
    if (settleLog) settleLog->push_back(menuTitle_.toStdString() + " quietly");
  }
  bool isEditingCell() const override { return editingCell; }
  bool validatePrintMenuItem() const override { return printable; }
  void printDocument() override { ++printCount; }

protected:
  QString windowMenuTitle() const override { return menuTitle_; }
  QString denpyouAndCyouhyouItemTitle() const override { return itemTitle_; }
  void recomputeUI() override { ++recomputeCount; }

private:
  QString menuTitle_;
  QString itemTitle_;
};

class AppTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    QApplication::setQuitOnLastWindowClosed(false);
    ASSERT_TRUE(dir_.isValid());
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.setBool(true, KIVOAutoUpdateAllOutputWindowsKey);
    // The version history is shown only in the tests that launch afresh.
    QCoreApplication::setApplicationVersion(QStringLiteral("9.9.9"));
    defaults.setString(QStringLiteral("9.9.9"), KIVOKivosaVersionOfUsedLastTimeKey);
    AlertSheet::setResponderForTesting([this](const AlertSheet::Alert& alert) {
      alerts.push_back(alert);
      return answer ? answer(alert) : 0;
    });
    FilePanel::setResponderForTesting([this](FilePanel::Kind, const QString&, QWidget* parent) {
      panelParent = parent;
      if (atPanel) atPanel();
      return panelAnswer;
    });
    app = std::make_unique<AppController>();
  }

  void TearDown() override
  {
    app.reset();
    HelpWindow::discard();
    flush();
    AlertSheet::setResponderForTesting({});
    FilePanel::setResponderForTesting({});
    PrintFonts::setMissingFamiliesForTesting({});
    UserDefaults::standardUserDefaults().removeObjectForKey(KIVOAutoUpdateAllOutputWindowsKey);
  }

  // Runs pending events, deferred deletions included.
  static void flush()
  {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }

  // Closes a window or a document and lets the closing run its course.
  static void closeNow(auto* closable)
  {
    closable->close();
    flush();
  }

  // Makes the window the active one, as a click on it would.
  static void activate(WindowController* w)
  {
    w->showWindow();
    QApplication::setActiveWindow(w);
    flush();
  }

  // A document opened with its first window (the information window).
  DocumentSession* openBooks(const std::string& name = "テスト商事", bool houjin = true)
  {
    DocumentSession* doc = app->documentController()->addDocument(makeBooks({.name = name, .houjin = houjin}));
    flush();
    return doc;
  }

  StubWindow* addStub(DocumentSession* doc, DocumentWindow::Kind kind, const QString& title = {})
  {
    auto* w = new StubWindow(doc, kind, title);
    doc->addWindowController(w);
    w->showWindow();
    flush();
    return w;
  }

  // Runs the command from the event loop, as a menu item or its key does. The question
  // it asks is answered with the button of that title once it has the keyboard, as a
  // person sees it rather than through the test responder, and the program closes the
  // window, and deletes it, as soon as events run after the answer: in the wait for the
  // keyboard to come back to the window, while the command still runs for it.
  void answerAndCloseTheWindowDuringTheWait(WindowController* window, const QString& button,
                                            const std::function<void()>& command)
  {
    AlertSheet::setResponderForTesting({});
    const QPointer<WindowController> closing = window;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&poll, closing, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || QApplication::activeWindow() != box) return;
      poll.stop();
      QObject::connect(box, &QDialog::finished, [closing] {
        QMetaObject::invokeMethod(
            qApp,
            [closing] {
              if (!closing) return;
              closing->close();
              QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            },
            Qt::QueuedConnection);
      });
      for (QAbstractButton* b : box->buttons())
        if (b->text() == button) b->click();
    });
    poll.start();
    QEventLoop loop;
    QTimer::singleShot(0, [&loop, &command] {
      command();
      loop.quit();
    });
    loop.exec();
  }

  QString path(const QString& name) const { return dir_.filePath(name); }

  std::vector<AlertSheet::Alert> alerts;
  std::function<int(const AlertSheet::Alert&)> answer;
  QString panelAnswer;
  QPointer<QWidget> panelParent;  // the window the last panel was over
  std::function<void()> atPanel;  // what happens while a panel is up
  std::unique_ptr<AppController> app;
  QTemporaryDir dir_;
};

}  // namespace kivo::test
