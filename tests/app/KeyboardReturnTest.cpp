// The keyboard after a panel that a command runs: whichever window the window system
// activates as the panel (or a confirmation or alert over it) closes, the window the
// command was given in has the keyboard again, and is main, before the work the
// command runs begins and after it. Every kind of panel the windows run, through the
// windows' own commands.
#include <QAbstractButton>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
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

// Drives the panel a command brings up as the user types into it: the text of the
// folder, then `shown` into its file field, which brings up the field's completion list
// (a file of the folder begins so), then `rest` at once, as the window system sends it
// to that list while it has the keyboard (the first key of `rest` hides the list), and
// Return to the panel. Records the keys that reach the command's window once the panel
// is gone.
class PanelTyping : public QObject {
public:
  PanelTyping(QWidget* commandWindow, const char* fieldName, QString folder, QString shown, QString rest)
      : commandWindow_(commandWindow),
        fieldName_(fieldName),
        folder_(std::move(folder)),
        shown_(std::move(shown)),
        rest_(std::move(rest))
  {
    qApp->installEventFilter(this);
    QTimer::singleShot(0, this, [this] { type(); });
    // Whatever is still up 20 s on (the panel, an alert over it, a picker that keys
    // handed to another window opened there) is closed, so that a fault ends the test.
    QObject::connect(&cancel_, &QTimer::timeout, this, [] {
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) dialog->reject();
    });
    QTimer::singleShot(20000, this, [this] { cancel_.start(100); });
  }

  int keysToTheWindowAfterThePanel = 0;
  QString fieldAtReturn;

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (panelGone_ && event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == commandWindow_)
      ++keysToTheWindowAfterThePanel;
    return false;
  }

  // The text the field holds once every key has gone in: a Backspace takes back the
  // character before it.
  static QString typed(const QString& keys)
  {
    QString text;
    for (QChar c : keys)
      if (c == QLatin1Char('\b'))
        text.chop(1);
      else
        text += c;
    return text;
  }

private:
  static Qt::Key keyOf(QChar c)
  {
    return c == QLatin1Char('\b') ? Qt::Key_Backspace : static_cast<Qt::Key>(c.toUpper().unicode());
  }

  void type()
  {
    QDialog* panel = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          panel = qobject_cast<QDialog*>(QApplication::activeModalWidget());
          return panel && QApplication::activeWindow() == panel;
        },
        5000));
    const QPointer<QDialog> alive = panel;
    QObject::connect(panel, &QDialog::finished, this, [this] { panelGone_ = true; });
    auto* field = panel->findChild<QLineEdit*>(QString::fromUtf8(fieldName_));
    ASSERT_TRUE(field && field->isEnabled());
    field->setFocus();
    field->setText(folder_ + QLatin1Char('/'));
    for (QChar c : shown_) {
      typeAheadToKeyboard(keyOf(c), Qt::NoModifier, QString(c));
      QCoreApplication::processEvents();
    }
    QCompleter* completer = field->completer();
    ASSERT_NE(completer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([completer] { return completer->popup()->isVisible(); }, 10000))
        << "no completion list for " << field->text().toStdString();
    QWindow* list = completer->popup()->windowHandle();
    for (QChar c : rest_) typeAheadKeyFor(list, keyOf(c), Qt::NoModifier, QString(c));
    QTest::qWait(100);
    if (!alive) return;
    fieldAtReturn = field->text();
    // Once the list has gone, the window system sends the keys to the panel again.
    typeAheadKeyFor(panel->windowHandle(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  }

  QTimer cancel_;
  QPointer<QWidget> commandWindow_;
  const char* fieldName_;
  QString folder_;
  QString shown_;
  QString rest_;
  bool panelGone_ = false;
};

// A name typed into a panel goes into its field, every key in order, whatever its
// completion list does meanwhile: the file saved, written, opened or read is the one
// named, and nothing typed into the panel reaches the command's window afterwards.
// Every panel with a file field, through the windows' own commands.
TEST_F(KeyboardReturnTest, ANameTypedIntoAPanelGoesIntoItsFieldWhateverItsCompletionListDoes)
{
  const Windows w = openWindowsWithPanels();
  FilePanel::setResponderForTesting({});
  const QString folder = QFileInfo(path("x")).absolutePath();
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", QFile::encodeName(folder));
  const auto makeFile = [this](const QString& name, const QByteArray& contents) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contents);
  };
  makeFile("books-old.kivo", "not a document");
  makeFile("exp-old.txt", "old");
  makeFile("print-old.pdf", "old");
  makeFile("journal-old.txt", "1234\n");
  const auto filesNow = [&folder] { return QDir(folder).entryList(QDir::Files, QDir::Name); };

  struct Case {
    const char* what;
    WindowController* window;
    const char* field;
    QString shown;
    QString rest;
    std::function<void()> command;
    QString written;     // the file the command writes, if any
    QString alertTitle;  // the alert that shows the named file was read, if any
  };
  const auto perform = [this](MainMenu::Command command) {
    return [this, command] { app->performCommand(command, nullptr); };
  };
  const Case cases[] = {
      {"別名で保存",
       w.journal,
       "fileNameEdit",
       "books-",
       "new.kivo",
       perform(MainMenu::Command::SaveDocumentAs),
       "books-new.kivo",
       {}},
      {"the journal's text export",
       w.journal,
       "fileNameEdit",
       "exp-",
       "new.txt",
       [&w] { w.journal->saveToTextFile(); },
       "exp-new.txt",
       {}},
      {"a print to a PDF file",
       w.ledger,
       "filename",
       "print-",
       "new.pdf",
       perform(MainMenu::Command::Print),
       "print-new.pdf",
       {}},
      // A typing slip put right: the list goes at the slip and comes back once it is
      // taken back.
      {"開く",
       w.ledger,
       "fileNameEdit",
       "books-",
       "x\bold.kivo",
       perform(MainMenu::Command::OpenDocument),
       {},
       "書類を開けません"},
      {"the import",
       w.journal,
       "fileNameEdit",
       "journal-",
       "x\bold.txt",
       perform(MainMenu::Command::ImportShiwakeFromTextFile),
       {},
       QString::fromUtf8(ShiwakeTextReader::kTitle)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    activate(c.window);
    alerts.clear();
    const QStringList before = filesNow();
    PanelTyping typing(c.window, c.field, folder, c.shown, c.rest);
    c.command();
    flush();
    QTest::qWait(50);
    flush();
    EXPECT_EQ(typing.fieldAtReturn, folder + QLatin1Char('/') + PanelTyping::typed(c.shown + c.rest));
    QStringList added = filesNow();
    for (const QString& f : before) added.removeAll(f);
    EXPECT_EQ(added, c.written.isEmpty() ? QStringList{} : QStringList{c.written});
    if (!c.alertTitle.isEmpty()) {
      ASSERT_EQ(alerts.size(), 1u);
      EXPECT_EQ(alerts.front().title, c.alertTitle);
    }
    EXPECT_EQ(typing.keysToTheWindowAfterThePanel, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  qputenv("HOME", home);
}

// Keys typed ahead of a panel, right after the command's key, which the window system
// sends to the command's window until the panel has the keyboard (on a busy machine
// also once the panel shows): they go into the panel's field in order, Return
// included. A question never takes an answer typed before it showed.
TEST_F(KeyboardReturnTest, KeysTypedAheadOfAPanelGoIntoItButNeverAnswerAQuestion)
{
  openEntryBooks();
  registerVoucher(Date(2024, 4, 10), kGenkin, kUriagedaka, 800, "振替");
  ShiwakenikkiController* journal = openJournalOfEveryEntry();
  FilePanel::setResponderForTesting({});
  ReportTextExportSheet::setResponderForTesting({});
  AlertSheet::setResponderForTesting({});
  const QString folder = QFileInfo(path("x")).absolutePath();
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", QFile::encodeName(folder));
  // Typed into the journal, where the keyboard is when the command's key is read.
  const auto typeAheadIntoTheJournal = [journal](const QString& text) {
    for (QChar c : text)
      typeAheadKeyFor(journal->windowHandle(), static_cast<Qt::Key>(c.toUpper().unicode()), Qt::NoModifier, QString(c));
    typeAheadKeyFor(journal->windowHandle(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  };
  // A panel or question still up 5 s on is cancelled.
  QTimer cancel;
  QObject::connect(&cancel, &QTimer::timeout, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) dialog->reject();
  });

  // The panel asks before it writes over a file: yes.
  QTimer replace;
  QObject::connect(&replace, &QTimer::timeout, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && box->button(QMessageBox::Yes)) box->button(QMessageBox::Yes)->click();
  });
  replace.start(20);
  const std::tuple<const char*, QString, std::function<void()>> panels[] = {
      {"別名で保存", "typed-ahead.kivo", [this] { app->performCommand(MainMenu::Command::SaveDocumentAs, nullptr); }},
      {"the journal's text export", "typed-ahead.txt", [journal] { journal->saveToTextFile(); }},
      // Over a file of the folder, which its list selects as the name is typed.
      {"the journal's text export over a file", "exp.txt", [journal] { journal->saveToTextFile(); }},
  };
  QFile(path("exp.txt")).open(QIODevice::WriteOnly);
  for (const auto& [what, name, command] : panels) {
    SCOPED_TRACE(what);
    activate(journal);
    const QStringList before = QDir(folder).entryList(QDir::Files);
    QFile::remove(path(name));
    typeAheadIntoTheJournal(name);
    cancel.start(5000);
    command();
    flush();
    cancel.stop();
    EXPECT_TRUE(QFile::exists(path(name)));
    QStringList added = QDir(folder).entryList(QDir::Files);
    for (const QString& f : before) added.removeAll(f);
    added.removeAll(name);
    EXPECT_EQ(added, QStringList{});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::activeWindow(), journal);
  }
  replace.stop();

  // The export chosen in the journal's "機能" menu by its keys (Up to the last item,
  // Return) and the name typed at once: the menu has the keyboard until it closes, and
  // the window system sends it every key typed by then.
  {
    activate(journal);
    QMenu* menu = journal->mainMenu()->functionMenu();
    menu->popup(journal->mapToGlobal(QPoint(20, 20)));
    flush();
    ASSERT_TRUE(menu->isVisible());
    QWindow* list = menu->windowHandle();
    typeAheadKeyFor(list, Qt::Key_Up, Qt::NoModifier, {});
    typeAheadKeyFor(list, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    for (QChar c : QStringLiteral("from-menu.txt"))
      typeAheadKeyFor(list, static_cast<Qt::Key>(c.toUpper().unicode()), Qt::NoModifier, QString(c));
    typeAheadKeyFor(list, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    cancel.start(5000);
    flush();
    QTest::qWait(100);
    flush();
    cancel.stop();
    EXPECT_TRUE(QFile::exists(path("from-menu.txt")));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }

  // 仕訳の削除, and a Return typed ahead of its question: the question waits for its
  // answer, given once it shows.
  activate(journal);
  typeAheadIntoTheJournal({});
  QString shown;
  QTimer::singleShot(0, [&] {
    QTest::qWait(100);
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown = box->windowTitle();
    for (QAbstractButton* b : box->buttons())
      if (b->text() == QString::fromUtf8(AlertSheet::kCancelButton)) b->click();
  });
  cancel.start(5000);
  journal->removeDisplayingShiwake();
  flush();
  cancel.stop();
  EXPECT_EQ(shown, QStringLiteral("仕訳の削除"));
  EXPECT_EQ(books().journal().size(), 1u);
  qputenv("HOME", home);
}

// On a platform that delivers the input queued as a window shows (Qt's minimal platform
// does), the keys typed ahead of a panel are read before the panel's own loop runs.
// They wait for that loop: the Return among them answers a panel whose loop then ends,
// instead of one hidden before its loop started, which would then wait forever.
TEST_F(KeyboardReturnTest, KeysTypedAheadOfAPanelWaitForItsOwnLoop)
{
  class ReadingInputAsItShows : public QDialog {
  public:
    using QDialog::QDialog;

    void setVisible(bool visible) override
    {
      QDialog::setVisible(visible);
      if (visible) QCoreApplication::processEvents();
    }
  };
  QMainWindow window;
  auto* field = new QLineEdit(&window);
  window.setCentralWidget(field);
  window.show();
  QApplication::setActiveWindow(&window);
  field->setFocus();
  flush();
  ReadingInputAsItShows panel(&window);
  auto* layout = new QVBoxLayout(&panel);
  auto* name = new QLineEdit(&panel);
  auto* save = new QPushButton(QStringLiteral("保存"), &panel);
  layout->addWidget(name);
  layout->addWidget(save);
  save->setDefault(true);
  QObject::connect(save, &QPushButton::clicked, &panel, &QDialog::accept);
  for (QChar c : QStringLiteral("ab"))
    typeAheadKeyFor(window.windowHandle(), static_cast<Qt::Key>(c.toUpper().unicode()), Qt::NoModifier, QString(c));
  typeAheadKeyFor(window.windowHandle(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  // Never left waiting on a panel hidden before its loop ran.
  QTimer::singleShot(3000, &panel, [&panel] {
    if (!panel.isVisible()) panel.show();
    panel.reject();
  });
  int result = QDialog::Rejected;
  {
    KeyboardReturn back(&window);
    result = back.exec(panel);
  }
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(std::tuple(name->text(), field->text()), std::tuple(QStringLiteral("ab"), QString()));
}

// Every file panel is the program's own, whatever the desktop's platform theme offers:
// the keys typed ahead of a desktop's dialog went to the program's hidden panel.
TEST_F(KeyboardReturnTest, EveryFilePanelIsTheProgramsOwn)
{
  FilePanel::setResponderForTesting({});
  QMainWindow window;
  window.show();
  QApplication::setActiveWindow(&window);
  flush();
  for (const auto& run : std::vector<std::function<QString()>>{
           [&] { return FilePanel::runOpenPanel(&window); },
           [&] { return FilePanel::runSavePanel(&window, QStringLiteral("books")); },
           [&] { return FilePanel::runOpenTextFilePanel(&window, QStringLiteral("読み込む")); }}) {
    bool own = false;
    bool shown = false;
    QTimer::singleShot(0, [&] {
      auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!panel) return;
      shown = true;
      own = panel->testOption(QFileDialog::DontUseNativeDialog);
      panel->reject();
    });
    EXPECT_EQ(run(), QString());
    EXPECT_TRUE(shown);
    EXPECT_TRUE(own);
  }
}

// A panel or a question that a command waits for holds every window until it is
// answered: a click on another document's window does nothing, and no other window of
// the document can close it (which would delete the command's window, and the panel
// with it, while the command waits for the panel).
TEST_F(KeyboardReturnTest, APanelOrAQuestionACommandWaitsForHoldsEveryWindow)
{
  openEntryBooks();
  registerVoucher(Date(2024, 4, 10), kGenkin, kUriagedaka, 800, "振替");
  ShiwakenikkiController* journal = openJournalOfEveryEntry();
  const QPointer<QWidget> info = session->documentInfoController();
  DocumentSession* other = openBooks("別の会社");
  auto* otherInfo = qobject_cast<DocumentInfoController*>(other->documentInfoController());
  ASSERT_TRUE(journal && info && otherInfo);
  int ranForTheOther = 0;
  app->setCommandHandler(MainMenu::Command::ShowZandakaShisanWindow, [&](QAction*) { ++ranForTheOther; });
  otherInfo->validateCommandButtons();
  QAbstractButton* button = otherInfo->buttonOfCommand(MainMenu::Command::ShowZandakaShisanWindow);
  ASSERT_TRUE(button && button->isEnabled());
  // The panels and questions as the user sees them.
  ReportTextExportSheet::setResponderForTesting({});
  AlertSheet::setResponderForTesting({});

  const std::pair<const char*, std::function<void()>> commands[] = {
      {"the journal's text export", [journal] { journal->saveToTextFile(); }},
      {"the journal's 仕訳の削除", [journal] { journal->removeDisplayingShiwake(); }},
  };
  for (const auto& [what, command] : commands) {
    SCOPED_TRACE(what);
    activate(journal);
    bool held = false;
    QTimer::singleShot(0, [&] {
      QWidget* modal = nullptr;
      ASSERT_TRUE(QTest::qWaitFor(
          [&] {
            modal = QApplication::activeModalWidget();
            return modal && QApplication::activeWindow() == modal;
          },
          5000));
      // The click on the other document's window, and the document's information
      // window closed by its close box, while the panel or question is up.
      const auto shownWindows = [] {
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) shown += w->isVisible() ? 1 : 0;
        return shown;
      };
      const int shownBefore = shownWindows();
      clickAhead(button, button->rect().center());
      QWindowSystemInterface::handleCloseEvent<Queued>(info->windowHandle());
      QTest::qWait(50);
      // Nothing acted: no window came or went, and the panel or question is still the
      // one in front.
      held = ranForTheOther == 0 && info && info->isVisible() && journal->isVisible() &&
             shownWindows() == shownBefore && QApplication::activeModalWidget() == modal;
      if (held) {
        typeAheadKeyFor(modal->windowHandle(), Qt::Key_Escape, Qt::NoModifier, {});
        return;
      }
      // What came of the input is answered, so that the test goes on.
      for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i) {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
        QTest::qWait(20);
      }
    });
    command();
    flush();
    EXPECT_TRUE(held);
    EXPECT_EQ(ranForTheOther, 0);
    EXPECT_TRUE(info && info->isVisible());
    EXPECT_TRUE(journal->isVisible());
    EXPECT_EQ(books().journal().size(), 1u);
  }
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
