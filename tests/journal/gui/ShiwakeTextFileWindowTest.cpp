#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QEvent>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <functional>
#include <future>
#include <thread>
#include <tuple>

#include "app/WindowCommands.h"
#include "document/gui/ProgressStateController.h"
#include "document/gui/ReportTextExportSheet.h"
#include "journal/gui/JournalWindowTest.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "journal/gui/ShiwakenikkiDisplayConditionController.h"
#include "platform/ModalSession.h"
#include "platform/ShiftJisEncoder.h"
#include "support/ShowWatch.h"
#include "support/TestDocuments.h"
#include "support/TypedAhead.h"

namespace kivo::test {
namespace {

class ShiwakeTextFileWindowTest : public JournalWindowTest {
protected:
  void TearDown() override
  {
    ReportTextExportSheet::setResponderForTesting({});
    ReportTextExportSheet::setCheckboxResponderForTesting({});
    JournalWindowTest::TearDown();
  }

  QString exportJournal(int32_t kugiriCode)
  {
    const QString file = path(QStringLiteral("journal%1.txt").arg(kugiriCode));
    ReportTextExportSheet::setResponderForTesting([&](int32_t, int32_t& kugiri) {
      kugiri = kugiriCode;
      return file;
    });
    openJournalOfEveryEntry()->saveToTextFile();
    flush();
    return file;
  }
};

TEST_F(ShiwakeTextFileWindowTest, ExportedJournalImportsIntoAnEmptyDocumentInCodePage932AndBadFilesAreRefused)
{
  openEntryBooks({.hojyoKamoku = true});
  registerVoucher(Date(2024, 5, 1), {{kFutsuuYokin, 1000, -1, 0, "㈱①～髙,\t\"x\"", 2},
                                     {kShoumouhinhi, 500, -1, 0, "", -1},
                                     {-1, 0, kUriagedaka, 1500, "売上"}});
  addCashBookEntry(Date(2024, 6, 3), kShoumouhinhi, kGenkin, 300, "文具");
  for (const int32_t kugiri : {0, 1}) {
    SCOPED_TRACE(kugiri);
    panelAnswer = exportJournal(kugiri);
    DocumentSession* target = app->documentController()->addDocument(makeBooks({.hojyoKamoku = true}));
    flush();
    ShiwakenikkiController::importShiwakeFromTextFile(target);
    flush();
    ASSERT_TRUE(alerts.empty()) << alerts.front().text.toStdString();
    const auto fields = [](const ShiwakePtr& s) {
      return std::tuple(s->date(), s->karikataKamokuCode(), s->karikataHojyoKamokuCode(), s->kashikataKingaku(),
                        s->aiteKarikataKamokuCode(), s->tekiyou());
    };
    const Journal::Entries& before = books().journal().sortedByDate();
    const Journal::Entries& after = target->document().journal().sortedByDate();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(fields(after[i]), fields(before[i])) << i;
    EXPECT_TRUE(target->document().isDocumentEdited());
  }

  // A refused import shows the line and leaves the document as it was. Its era date,
  // seven characters in eight bytes, reads.
  const size_t entries = books().journal().size();
  const int32_t counter = books().kaisya().minAvailableDenpyouNo();
  const QString file = path(QStringLiteral("bad.txt"));
  std::string data;
  ASSERT_TRUE(ShiftJisEncoder::encode(
      "1111\t\t平240501\t現金\t\"\"\t\"\"\t\t100\t売上高\t\"\"\t\"\"\t\t90\t\"\"\t3\t\r", data));
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data.data(), static_cast<qint64>(data.size()));
  f.close();
  panelAnswer = file;
  ShiwakenikkiController::importShiwakeFromTextFile(session);
  flush();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(lastAlert(), "取り込みを中止 / 1 行目の金額が正しくありません。");
  EXPECT_EQ(std::pair(books().journal().size(), books().kaisya().minAvailableDenpyouNo()), std::pair(entries, counter));

  // What is not a file is refused at once: a pipe nobody writes to (which once held
  // the program) and a link to /dev/zero (which it once read until memory ran out).
  const QString pipe = path(QStringLiteral("pipe.txt"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path(QStringLiteral("zero.txt"))));
  for (const QString& name : {QStringLiteral("pipe.txt"), QStringLiteral("zero.txt")}) {
    alerts.clear();
    panelAnswer = path(name);
    std::promise<void> done;
    std::thread writer([&pipe, finished = done.get_future()] {
      // Lets a reader that waits on the pipe go after a while.
      if (finished.wait_for(std::chrono::seconds(5)) == std::future_status::timeout)
        ::close(::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK));
    });
    ShiwakenikkiController::importShiwakeFromTextFile(session);
    done.set_value();
    writer.join();
    flush();
    ASSERT_EQ(alerts.size(), 1u) << name.toStdString();
    EXPECT_EQ(lastAlert(), QStringLiteral("取り込みを中止 / “%1”はファイルではないため取り込めません。").arg(name));
  }
}

TEST_F(ShiwakeTextFileWindowTest, StoredIntegerAmountsAreOfferedOnlyWithDecimalsAndTheChoiceIsKept)
{
  openEntryBooks();
  registerVoucher(Date(2024, 5, 1), kGenkin, kUriagedaka, 123456, "売上");
  std::vector<bool> offered;
  bool tick = true;
  ReportTextExportSheet::setCheckboxResponderForTesting([&](bool, bool enabled) {
    offered.push_back(enabled);
    return tick;
  });
  const auto exported = [&] {
    QFile f(exportJournal(0));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromLatin1(f.readAll());
  };
  EXPECT_TRUE(exported().contains("\t123456\t"));  // whole units: nothing to choose
  books().kaisya().setDecimalPrecision(2);
  EXPECT_TRUE(exported().contains("\t123456\t"));
  EXPECT_TRUE(UserDefaults::standardUserDefaults().boolForKey(KIVOExportTextSaveByLongLongKingakuKey));
  tick = false;
  EXPECT_TRUE(exported().contains("\t1234.56\t"));
  EXPECT_EQ(offered, (std::vector<bool>{false, true, true}));
}

// The import belongs to the window the user gave the command in (the journal, a
// ledger, the information window): its panel and its progress sheet are over that
// window, which has the keyboard again, and is main, once the panel closes (the panel
// cancelled, the file refused at its first line, or read), whichever window the
// window system activates as the panel or the alert closes.
TEST_F(ShiwakeTextFileWindowTest, ThePanelSheetAndKeyboardOfTheImportAreTheCommandingWindows)
{
  openEntryBooks({.hojyoKamoku = true, .jigyoubu = true});
  WindowCommands::installCommandHandlers(app.get());
  const auto writeFile = [this](const QString& name, const std::string& text) {
    std::string bytes;
    EXPECT_TRUE(ShiftJisEncoder::encode(text, bytes));
    QFile f(path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path(name);
  };
  const QString goodFile = writeFile(QStringLiteral("good.txt"), makeJournalText(20, 10));
  std::string bad = makeJournalText(20, 10);
  bad.replace(0, 4, "1234");
  const QString badFile = writeFile(QStringLiteral("bad.txt"), bad);

  ShiwakenikkiController* journal = openJournalOfEveryEntry();
  WindowController* ledger = openLedger(kGenkin);
  WindowController* info = session->documentInfoController();
  ProgressStateController* progress = session->progressStateController();
  QPointer<QWidget> sheetOver;  // where the progress sheet would show
  EventWatch watch(progress, QEvent::ParentChange, [&] {
    if (progress->parentWidget()) sheetOver = progress->parentWidget();
  });

  enum class Case { PanelCancelled, RefusedAtLine1, Read };
  for (WindowController* window : {static_cast<WindowController*>(journal), ledger, info}) {
    // The window the window system chooses as the panel or the alert closes.
    WindowController* other = window == info ? static_cast<WindowController*>(journal) : info;
    for (const Case c : {Case::PanelCancelled, Case::RefusedAtLine1, Case::Read}) {
      SCOPED_TRACE(::testing::Message() << window->windowTitle().toStdString() << ", case " << static_cast<int>(c));
      activate(window);
      ASSERT_EQ(app->mainWindowController(), window);
      panelAnswer = c == Case::PanelCancelled ? QString() : c == Case::RefusedAtLine1 ? badFile : goodFile;
      atPanel = [&] { activateAhead(other); };
      answer = [&](const AlertSheet::Alert&) {
        activateAhead(other);
        return 0;
      };
      sheetOver = nullptr;
      alerts.clear();
      const size_t entries = books().journal().size();
      app->performCommand(MainMenu::Command::ImportShiwakeFromTextFile, nullptr);
      flush();
      EXPECT_EQ(panelParent.data(), window);
      EXPECT_EQ(sheetOver.data(), c == Case::PanelCancelled ? nullptr : window);
      EXPECT_EQ(alerts.size(), c == Case::RefusedAtLine1 ? 1u : 0u);
      EXPECT_EQ(books().journal().size() - entries, c == Case::Read ? 20u : 0u);
      EXPECT_EQ(QApplication::activeWindow(), window);
      EXPECT_EQ(app->mainWindowController(), window);
    }
  }
  atPanel = {};
  answer = {};
}

// An Escape typed as the import's panel closes, before its sheet shows, on a machine
// slower than this one: the sheet shows once the import has lasted the delay, takes the
// Escape at once though the file is read to its end (or refused at its last line) right
// after, and the import changes nothing; the alert says it was cancelled, over the
// journal, which has the keyboard again as the sheet goes and after the alert.
TEST_F(ShiwakeTextFileWindowTest, AnEscapeTypedBeforeTheSheetShowsCancelsTheImport)
{
  openEntryBooks({.hojyoKamoku = true, .jigyoubu = true});
  WindowCommands::installCommandHandlers(app.get());
  const std::string text = makeJournalText(2000, 500);
  std::string bad = text;
  // The last line's credit account, one the chart does not have.
  const auto lastOf = [&bad](const char* name) {
    const size_t at = bad.rfind(name);
    return at == std::string::npos ? 0 : at;
  };
  const size_t credit = std::max(lastOf("\t現金\t"), lastOf("\t売上高\t"));
  bad.replace(credit, bad.find('\t', credit + 1) - credit, "\tどこにもない科目");
  ShiwakenikkiController* journal = openJournalOfEveryEntry();
  ProgressStateController* progress = session->progressStateController();
  for (const bool escape : {false, true})
    for (const std::string* file : {&text, static_cast<const std::string*>(&bad)}) {
      SCOPED_TRACE(testing::Message() << (file == &text ? "a file that reads whole" : "a file refused at its last line")
                                      << (escape ? ", Escape typed" : ", nothing typed"));
      std::string bytes;
      ASSERT_TRUE(ShiftJisEncoder::encode(*file, bytes));
      QFile f(path("escape.txt"));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(bytes.data(), static_cast<qint64>(bytes.size()));
      f.close();
      activate(journal);
      const size_t entries = books().journal().size();
      panelAnswer = path("escape.txt");
      if (escape) atPanel = [] { typeAheadToKeyboard(Qt::Key_Escape); };
      // The import's first moments take longer than the sheet's delay.
      progress->setCancelButtonEnabled(false);
      EventWatch slow(progress->cancelButton(), QEvent::EnabledChange,
                      [] { QThread::msleep(ModalSession::kShowDelay + 100); });
      alerts.clear();
      QPointer<QWidget> activeAtAlert;
      answer = [&activeAtAlert](const AlertSheet::Alert&) {
        activeAtAlert = QApplication::activeWindow();
        return 0;
      };
      app->performCommand(MainMenu::Command::ImportShiwakeFromTextFile, nullptr);
      atPanel = {};
      answer = {};
      flush();
      const bool read = !escape && file == &text;
      if (!read) { EXPECT_EQ(activeAtAlert.data(), journal); }
      EXPECT_EQ(books().journal().size() - entries, read ? 2000u : 0u);
      EXPECT_EQ(lastAlert(),
                escape ? QStringLiteral("取り込みを中止 / キャンセル ボタンがクリックされました。")
                : file == &text ? QString()
                                : QStringLiteral("取り込みを中止 / 2000 行目の貸方科目：どこにもない科目が無効です。"));
      EXPECT_EQ(QApplication::activeWindow(), journal);
    }
}

// The sheet due only once every line has been read: the import's first poll comes
// before the sheet's delay and lasts past it (what the machine does meanwhile), and no
// other comes before the last lines. The last poll, asked before anything is
// registered, shows the sheet, which takes the Escape typed as the panel closed: the
// import changes nothing.
TEST_F(ShiwakeTextFileWindowTest, AnEscapeTypedEarlyCancelsTheImportAtItsLastPoll)
{
  openEntryBooks({.hojyoKamoku = true, .jigyoubu = true});
  WindowCommands::installCommandHandlers(app.get());
  // Fewer lines than read between two polls.
  std::string bytes;
  ASSERT_TRUE(ShiftJisEncoder::encode(makeJournalText(200, 50), bytes));
  QFile f(path("last-poll.txt"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  f.close();
  ShiwakenikkiController* journal = openJournalOfEveryEntry();
  ProgressStateController* progress = session->progressStateController();
  for (const bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Escape typed" : "nothing typed");
    activate(journal);
    const size_t entries = books().journal().size();
    panelAnswer = f.fileName();
    if (escape) atPanel = [] { typeAheadToKeyboard(Qt::Key_Escape); };
    // As the import begins: due for its first poll, not yet for its sheet; that poll
    // then lasts past the sheet's delay.
    bool begun = false;
    progress->setCancelButtonEnabled(false);
    EventWatch slow(progress->cancelButton(), QEvent::EnabledChange, [&begun, progress] {
      if (begun || !progress->cancelButton()->isEnabled()) return;
      begun = true;
      QThread::msleep(ProgressStateController::kUpdateInterval + 50);
      QTimer::singleShot(0, [] { QThread::msleep(ModalSession::kShowDelay); });
    });
    bool sheetShown = false;
    ShowWatch shown(progress, [&sheetShown] { sheetShown = true; });
    alerts.clear();
    app->performCommand(MainMenu::Command::ImportShiwakeFromTextFile, nullptr);
    atPanel = {};
    flush();
    EXPECT_TRUE(sheetShown);
    EXPECT_EQ(books().journal().size() - entries, escape ? 0u : 200u);
    EXPECT_EQ(lastAlert(),
              escape ? QStringLiteral("取り込みを中止 / キャンセル ボタンがクリックされました。") : QString());
    EXPECT_EQ(QApplication::activeWindow(), journal);
  }
}

TEST(ShiftJisDecoder, RefusesUndefinedSequences)
{
  std::string out;
  EXPECT_TRUE(ShiftJisEncoder::decode("\x87\x40\x81\x60\xFB\xFC", out));
  EXPECT_EQ(out, "①～髙");
  EXPECT_FALSE(ShiftJisEncoder::decode("\x81", out));
  EXPECT_FALSE(ShiftJisEncoder::decode("\xA0\xFD", out));
}

}  // namespace
}  // namespace kivo::test
