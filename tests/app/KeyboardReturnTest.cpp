// The keyboard after a panel that a command runs: whichever window the window system
// activates as the panel (or a confirmation or alert over it) closes, the window the
// command was given in has the keyboard again, and is main, before the work the
// command runs begins and after it. Every kind of panel the windows run, through the
// windows' own commands.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <tuple>

#include "app/DocumentInfoController.h"
#include "app/WindowCommands.h"
#include "document/gui/ProgressStateController.h"
#include "document/gui/ReportTextExportSheet.h"
#include "journal/ShiwakeTextReader.h"
#include "journal/gui/JournalWindowTest.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "journal/gui/ShiwakenikkiDisplayConditionController.h"
#include "platform/KeyboardReturn.h"
#include "platform/PrintOperation.h"
#include "support/TypedAhead.h"
#include "trial/gui/HojyozandakaIchiranController.h"
#include "trial/gui/SuiiShisanController.h"
#include "trial/gui/ZandakaShisanController.h"

namespace kivo::test {
namespace {

class KeyboardReturnTest : public JournalWindowTest {
protected:
  void SetUp() override
  {
    JournalWindowTest::SetUp();
    WindowCommands::installCommandHandlers(app.get());
  }
  void TearDown() override
  {
    ReportTextExportSheet::setResponderForTesting({});
    PrintOperation::setPrintPanelResponderForTesting({});
    PrintOperation::setPageSetupResponderForTesting({});
    JournalWindowTest::TearDown();
  }

  template <class W>
  W* openReport(MainMenu::Command command)
  {
    activate(session->documentInfoController());
    app->performCommand(command, nullptr);
    flush();
    for (DocumentWindowController* wc : session->windowControllers())
      if (auto* w = qobject_cast<W*>(wc)) return w;
    return nullptr;
  }

  // Runs the command in the window; while its panel is up, the window system makes
  // `other` the active window, as it may when the panel closes. Answers the window
  // that was active when the command's work first let the application handle events
  // (nullptr: the command ran no work).
  QWidget* runInWindow(WindowController* window, WindowController* other, const std::function<void()>& command)
  {
    activate(window);
    chosenByWindowSystem = other;
    QPointer<QWidget> activeAtWork;
    ProgressStateController* progress = session->progressStateController();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (progress->isRunningModalSession() && !activeAtWork) activeAtWork = QApplication::activeWindow();
    });
    watch.start(0);
    command();
    watch.stop();
    flush();
    chosenByWindowSystem = nullptr;
    return activeAtWork;
  }

  QPointer<QWidget> chosenByWindowSystem;

  // The windows whose commands run panels, over a document with an entry: the journal,
  // the ledger of 現金, the trial balance, the monthly trial balance and the
  // sub-account list (showing an account: it exports only one it shows).
  struct Windows {
    ShiwakenikkiController* journal;
    KanjyoumotocyouController* ledger;
    ZandakaShisanController* zandaka;
    SuiiShisanController* suii;
    HojyozandakaIchiranController* hojyo;
  };
  Windows openWindowsWithPanels()
  {
    openEntryBooks({.hojyoKamoku = true, .jigyoubu = true});
    registerVoucher(Date(2024, 4, 10), kGenkin, kUriagedaka, 800, "振替");
    Windows w{openJournalOfEveryEntry(), openLedger(kGenkin),
              openReport<ZandakaShisanController>(MainMenu::Command::ShowZandakaShisanWindow),
              openReport<SuiiShisanController>(MainMenu::Command::ShowSuiiShisanWindow),
              openReport<HojyozandakaIchiranController>(MainMenu::Command::ShowHojyozandakaIchiranWindow)};
    if (w.hojyo) {
      w.hojyo->setDisplayKamokuCode(kFutsuuYokin);
      w.hojyo->updateAfterSelectDisplayingJigyoubu();
    }
    return w;
  }
};

TEST_F(KeyboardReturnTest, TheWindowACommandWasGivenInHasTheKeyboardAfterItsPanel)
{
  const Windows w = openWindowsWithPanels();
  ASSERT_TRUE(w.zandaka && w.suii && w.hojyo);

  // Every panel: the file panels, the report export's panel, the print and page-setup
  // panels; the window system choosing another window as each closes.
  // How many panels each case ran.
  int panels = 0;
  const auto chooseOther = [this, &panels] {
    ++panels;
    if (chosenByWindowSystem) activateAhead(chosenByWindowSystem);
  };
  atPanel = chooseOther;
  answer = [&](const AlertSheet::Alert&) {
    if (chosenByWindowSystem) activateAhead(chosenByWindowSystem);
    return 0;
  };
  QString exportTo;
  ReportTextExportSheet::setResponderForTesting([&](int32_t, int32_t&) {
    chooseOther();
    return exportTo;
  });
  PrintOperation::setPrintPanelResponderForTesting([&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("print.pdf"));
    chooseOther();
    return true;
  });
  PrintOperation::setPageSetupResponderForTesting([&](QPageLayout&) {
    chooseOther();
    return true;
  });

  struct Case {
    const char* what;
    WindowController* window;
    WindowController* other;
    std::function<void()> command;
    bool runsWork;
  };
  const auto exportFrom = [&](WindowController* w, std::function<void()> save) {
    return [this, w, save, &exportTo] {
      // Over a file that is there already, as after a confirmation to replace it.
      exportTo = path(QStringLiteral("export-%1.txt").arg(w->windowTitle().size()));
      QFile(exportTo).open(QIODevice::WriteOnly);
      save();
    };
  };
  const auto perform = [this](MainMenu::Command command) {
    return [this, command] { app->performCommand(command, nullptr); };
  };
  const Case cases[] = {
      {"the journal's text export", w.journal, w.ledger, exportFrom(w.journal, [&w] { w.journal->saveToTextFile(); }),
       true},
      {"the ledger's text export", w.ledger, w.journal, exportFrom(w.ledger, [&w] { w.ledger->saveToTextFile(); }),
       true},
      {"the trial balance's text export", w.zandaka, w.ledger,
       exportFrom(w.zandaka, [&w] { w.zandaka->saveToTextFile(); }), true},
      {"the monthly trial balance's text export", w.suii, w.journal,
       exportFrom(w.suii, [&w] { w.suii->saveToTextFile(); }), true},
      {"the sub-account list's text export", w.hojyo, w.journal,
       exportFrom(w.hojyo, [&w] { w.hojyo->saveToTextFile(); }), false},
      {"a print to a PDF file", w.journal, w.ledger, perform(MainMenu::Command::Print), false},
      {"the page setup", w.ledger, w.journal, perform(MainMenu::Command::PageSetup), false},
      {"別名で保存", w.journal, w.ledger,
       [this] {
         panelAnswer = path("saved-as.kivo");
         app->performCommand(MainMenu::Command::SaveDocumentAs, nullptr);
       },
       false},
      {"開く, cancelled", w.ledger, w.journal,
       [this] {
         panelAnswer.clear();
         app->performCommand(MainMenu::Command::OpenDocument, nullptr);
       },
       false},
      {"開く, a file that is no document, and its alert", w.journal, w.ledger,
       [this] {
         panelAnswer = path("not-a-document.kivo");
         QFile f(panelAnswer);
         if (f.open(QIODevice::WriteOnly)) f.write("not a document");
         app->performCommand(MainMenu::Command::OpenDocument, nullptr);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    alerts.clear();
    panels = 0;
    QWidget* activeAtWork = runInWindow(c.window, c.other, c.command);
    EXPECT_EQ(panels, 1);
    if (c.runsWork) { EXPECT_EQ(activeAtWork, c.window); }
    EXPECT_EQ(QApplication::activeWindow(), c.window);
    EXPECT_EQ(app->mainWindowController(), c.window);
  }
  EXPECT_TRUE(QFile::exists(path("saved-as.kivo")));
  EXPECT_TRUE(QFile::exists(path("print.pdf")));
  atPanel = {};
  answer = {};
}

// Every alert a panel command raises, after its panel or instead of its work, shown as
// the user sees it and answered: though the window system gives the keyboard to no
// window as the alert closes (as without a window manager), the window the command was
// given in has it again, and is main.
TEST_F(KeyboardReturnTest, EveryAlertOfAPanelCommandGivesTheKeyboardBackToItsWindow)
{
  const Windows w = openWindowsWithPanels();
  ASSERT_TRUE(w.zandaka && w.suii && w.hojyo);

  // Every file lies in a folder that is not there.
  const QString missing = path("missing/");
  ReportTextExportSheet::setResponderForTesting([&](int32_t, int32_t&) { return missing + "export.txt"; });
  PrintOperation::setPrintPanelResponderForTesting([&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(missing + "print.pdf");
    return true;
  });
  QFile notADocument(path("not-a-document.kivo"));
  ASSERT_TRUE(notADocument.open(QIODevice::WriteOnly));
  notADocument.write("not a document");
  notADocument.close();
  QFile refused(path("refused.txt"));
  ASSERT_TRUE(refused.open(QIODevice::WriteOnly));
  refused.write("1234\n");
  refused.close();

  // The alerts as the user sees them, each answered with its default button.
  AlertSheet::setResponderForTesting({});
  QStringList answered;
  std::vector<std::unique_ptr<WindowSystemChoice>> choices;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box || !box->isVisible() || !box->defaultButton()) continue;
      answered << box->windowTitle();
      choices.push_back(std::make_unique<WindowSystemChoice>(box, nullptr));
      box->defaultButton()->click();
      return;
    }
  });
  user.start(5);

  const auto perform = [this](MainMenu::Command command) {
    return [this, command] { app->performCommand(command, nullptr); };
  };
  const std::tuple<const char*, WindowController*, std::function<void()>, QString> cases[] = {
      {"the journal's text export", w.journal, [&w] { w.journal->saveToTextFile(); }, "書き出せません"},
      {"the ledger's text export", w.ledger, [&w] { w.ledger->saveToTextFile(); }, "書き出せません"},
      {"the trial balance's text export", w.zandaka, [&w] { w.zandaka->saveToTextFile(); }, "書き出せません"},
      {"the monthly trial balance's text export", w.suii, [&w] { w.suii->saveToTextFile(); }, "書き出せません"},
      {"the sub-account list's text export", w.hojyo, [&w] { w.hojyo->saveToTextFile(); }, "書き出せません"},
      {"a print to a PDF file", w.ledger, perform(MainMenu::Command::Print), "PDF ファイルを保存できません"},
      {"別名で保存", w.journal,
       [&] {
         panelAnswer = missing + "saved-as.kivo";
         app->performCommand(MainMenu::Command::SaveDocumentAs, nullptr);
       },
       "保存できません"},
      {"開く, a file that is no document", w.ledger,
       [&] {
         panelAnswer = notADocument.fileName();
         app->performCommand(MainMenu::Command::OpenDocument, nullptr);
       },
       "書類を開けません"},
      {"the import, a file refused", w.journal,
       [&] {
         panelAnswer = refused.fileName();
         app->performCommand(MainMenu::Command::ImportShiwakeFromTextFile, nullptr);
       },
       QString::fromUtf8(ShiwakeTextReader::kTitle)},
  };
  for (const auto& [what, window, command, title] : cases) {
    SCOPED_TRACE(what);
    activate(window);
    answered.clear();
    command();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !answered.isEmpty() && !QApplication::activeModalWidget(); }, 3000));
    flush();
    EXPECT_EQ(answered, QStringList{title});
    EXPECT_EQ(QApplication::activeWindow(), window);
    EXPECT_EQ(app->mainWindowController(), window);
  }
  user.stop();
}

// The window system takes the request to activate the window and gives the keyboard to
// another window instead (its own choice as a panel and the confirmation over it go,
// made after the request): the window is asked for again, and has the keyboard.
TEST_F(KeyboardReturnTest, TheWindowIsAskedForAgainWhenTheKeyboardGoesElsewhere)
{
  openEntryBooks();
  ShiwakenikkiController* journal = openJournalOfEveryEntry();
  KanjyoumotocyouController* ledger = openLedger(kGenkin);
  activate(session->documentInfoController());
  // The first request comes to nothing; the keyboard then goes to the ledger.
  QWindow* handle = journal->windowHandle();
  handle->setFlag(Qt::WindowDoesNotAcceptFocus, true);
  QTimer::singleShot(50, [&] {
    handle->setFlag(Qt::WindowDoesNotAcceptFocus, false);
    activateAhead(ledger);
  });
  EXPECT_TRUE(KeyboardReturn::giveKeyboardTo(journal));
  EXPECT_EQ(QApplication::activeWindow(), journal);
  handle->setFlag(Qt::WindowDoesNotAcceptFocus, false);
}

}  // namespace
}  // namespace kivo::test
