// A document's life through its windows: the first window, saving, the question on
// closing, the lock against a second running program, the rows settled before a save,
// the controllers and frames the document keeps.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <optional>

#include "document/DocumentFile.h"
#include "document/gui/ProgressStateController.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "platform/DocumentLock.h"
#include "platform/PasswordHash.h"
#include "platform/WindowPlacement.h"
#include "support/AnotherUser.h"
#include "support/AppTestFixture.h"
#include "support/TestBooks.h"
#include "trial/gui/SuiiShisanController.h"

namespace kivo::test {
namespace {

using Kind = DocumentWindow::Kind;

class DocumentSessionTest : public AppTest {
protected:
  // Saves a document of the company to a file and answers its path.
  QString writeBooks(const QString& name, const std::function<void(MyDocument&)>& edit = {})
  {
    auto books = makeBooks();
    if (edit) edit(*books);
    const QString file = path(name);
    EXPECT_TRUE(DocumentFile::writeToFile(*books, file.toStdString()).ok());
    return file;
  }
};

TEST_F(DocumentSessionTest, TheFirstWindowFollowsTheCompanyAndThereIsOneWindowSetPerFile)
{
  struct Case {
    const char* what;
    std::function<void(MyDocument&)> edit;
    Kind firstWindow;
  };
  const Case cases[] = {
      {"no company yet", [](MyDocument& d) { d.kaisya().setName(""); }, Kind::NewDocument},
      {"a password", [](MyDocument& d) { d.kaisya().setPassword(PasswordHash::hash("pw", 1000)); }, Kind::Password},
      {"only a limited-user password",
       [](MyDocument& d) { d.kaisya().setLimitedUserPassword(PasswordHash::hash("pw", 1000)); }, Kind::Password},
      {"no password", nullptr, Kind::DocumentInfo},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DocumentSession* doc = app->documentController()->openDocumentWithContentsOfFile(
        writeBooks(QStringLiteral("first%1.kivo").arg(++n), c.edit));
    ASSERT_EQ(doc->windowControllers().size(), 1u);
    EXPECT_EQ(doc->windowControllers().front()->windowKind(), c.firstWindow);
    EXPECT_TRUE(doc->windowControllers().front()->isVisible());
  }

  // One window set per file.
  const QString file = writeBooks(QStringLiteral("once.kivo"));
  DocumentSession* first = app->documentController()->openDocumentWithContentsOfFile(file);
  StubWindow* journal = addStub(first, Kind::Shiwakenikki, QStringLiteral("仕訳日記帳"));
  activate(journal);
  const size_t windows = first->windowControllers().size(), documents = app->documentController()->documents().size();
  // The same file, named another way, brings the open document forward.
  DocumentSession* again =
      app->documentController()->openDocumentWithContentsOfFile(path(QStringLiteral("./sub/../once.kivo")));
  EXPECT_EQ(again, first);
  EXPECT_EQ(app->documentController()->documents().size(), documents);
  EXPECT_EQ(first->windowControllers().size(), windows);

  // Saving another document over the open file is refused.
  DocumentSession* other = openBooks("別会社");
  panelAnswer = file;
  EXPECT_FALSE(other->saveDocumentAs());
  ASSERT_FALSE(alerts.empty());
  EXPECT_EQ(alerts.back().title, QStringLiteral("保存できません"));
  EXPECT_TRUE(other->isUntitled());
}

TEST_F(DocumentSessionTest, SaveWritesTheFileClearsTheChangedMarkAndSettlesEveryEntryWindowFirst)
{
  DocumentSession* doc = openBooks();
  WindowController* info = doc->documentInfoController();
  doc->updateChangeCount(MyDocument::ChangeType::Done);
  // edited, untitled, window marked
  const auto state = [&] { return std::tuple(doc->isDocumentEdited(), doc->isUntitled(), info->isWindowModified()); };

  panelAnswer = path(QStringLiteral("no-such-folder/books.kivo"));
  EXPECT_FALSE(doc->saveDocument());
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].title, QStringLiteral("保存できません"));
  EXPECT_FALSE(alerts[0].text.isEmpty());
  EXPECT_EQ(state(), std::tuple(true, true, true));

  panelAnswer = path(QStringLiteral("books"));  // the suffix is added
  EXPECT_TRUE(doc->saveDocument());
  EXPECT_EQ(state(), std::tuple(false, false, false));
  EXPECT_EQ(doc->filePath(), path(QStringLiteral("books.kivo")));
  EXPECT_EQ(doc->displayName(), QStringLiteral("books"));
  EXPECT_EQ(info->windowTitle(), QStringLiteral("books[*]"));
  EXPECT_TRUE(doc->holdsLock());
  EXPECT_TRUE(QFileInfo::exists(doc->filePath()));  // its contents: the closing test below

  // Saving settles every entry window, not only the one in front; a cash book in the
  // background without a word.
  std::vector<std::string> log;
  StubWindow* ledger = addStub(doc, Kind::Kanjyoumotocyou, QStringLiteral("元帳"));
  StubWindow* book1 = addStub(doc, Kind::Suitoucyou, QStringLiteral("出納帳1"));
  StubWindow* voucher = addStub(doc, Kind::Furikaedenpyou, QStringLiteral("振替伝票"));
  StubWindow* book2 = addStub(doc, Kind::Suitoucyou, QStringLiteral("出納帳2"));
  StubWindow* report = addStub(doc, Kind::ZandakaShisan, QStringLiteral("試算表"));
  for (StubWindow* w : {ledger, book1, voucher, book2, report}) w->settleLog = &log;
  activate(report);  // the cash books are in the background

  doc->updateChangeCount(MyDocument::ChangeType::Done);
  EXPECT_TRUE(doc->saveDocument());
  EXPECT_EQ(log, (std::vector<std::string>{"振替伝票", "出納帳1 quietly", "出納帳2 quietly", "元帳"}));

  // One window that cannot settle its row stops the save, the cash book in front
  // among them: nothing is written.
  book2->settleAnswer = false;
  activate(book2);
  log.clear();
  doc->updateChangeCount(MyDocument::ChangeType::Done);
  const QDateTime before = QFileInfo(doc->filePath()).lastModified();
  EXPECT_FALSE(doc->saveDocument());
  EXPECT_EQ(log, (std::vector<std::string>{"振替伝票", "出納帳1 quietly", "出納帳2"}));
  EXPECT_TRUE(doc->isDocumentEdited());
  EXPECT_EQ(QFileInfo(doc->filePath()).lastModified(), before);

  // ... and keeps a window from closing. Closing one window leaves a cash book that
  // is neither in front nor the closing window as it is.
  log.clear();
  closeNow(report);
  EXPECT_NE(doc->zandakaShisanController(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"振替伝票", "出納帳2"}));
  book2->settleAnswer = true;
  log.clear();
  closeNow(report);
  EXPECT_EQ(doc->zandakaShisanController(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"振替伝票", "出納帳2", "元帳"}));
}

TEST_F(DocumentSessionTest, AFileOpenInAnotherRunningProgramCannotBeSavedOverAndClosingAChangedOneAsks)
{
  const QString file = writeBooks(QStringLiteral("shared.kivo"));
  QProcess other;
  other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
  ASSERT_TRUE(other.waitForStarted());
  QFile lock(DocumentLock::lockFilePath(file));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write(QStringLiteral("hanako\n%1\n%2\n2024-01-02T03:04:05\n")
                 .arg(QSysInfo::machineHostName(), QString::number(other.processId()))
                 .toUtf8());
  lock.close();

  DocumentSession* doc = app->documentController()->openDocumentWithContentsOfFile(file);
  // Told at once, naming who has it.
  ASSERT_EQ(alerts.size(), 1u);
  for (const QString& part : {QStringLiteral("hanako"), QString::number(other.processId())})
    EXPECT_TRUE(alerts[0].text.contains(part)) << part.toStdString();
  EXPECT_FALSE(doc->holdsLock());

  alerts.clear();
  doc->document().kaisya().setAddress("上書き");
  doc->updateChangeCount(MyDocument::ChangeType::Done);
  EXPECT_FALSE(doc->saveDocument());
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].title, QStringLiteral("保存できません"));
  for (const QString& part : {QStringLiteral("hanako"), QSysInfo::machineHostName()})
    EXPECT_TRUE(alerts[0].text.contains(part)) << part.toStdString();
  EXPECT_TRUE(doc->isDocumentEdited());
  DocumentFile::Result result;
  EXPECT_EQ(DocumentFile::readFromFile(file.toStdString(), &result)->kaisya().address(), "");

  // Once that program has ended, its lock is left behind and taken over.
  other.kill();
  other.waitForFinished();
  alerts.clear();
  EXPECT_TRUE(doc->saveDocument());
  EXPECT_TRUE(alerts.empty());
  EXPECT_EQ(DocumentFile::readFromFile(file.toStdString(), &result)->kaisya().address(), "上書き");
  EXPECT_TRUE(doc->holdsLock());
  // The save put a new file in place; the lock holds it by any name.
  const QString otherName = file + QStringLiteral(".link");
  ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(otherName).constData()), 0);
  DocumentLock byOtherName(otherName);
  EXPECT_EQ(byOtherName.tryLock(), DocumentLock::Result::HeldElsewhere);

  // A document that can have no lock opens with a word of it, which names the lock
  // file whatever stands in its way: a link or a folder in its place (for the user to
  // remove), or a folder the user may read but not write.
  enum class InTheWay { Link, Folder, FolderNotWritable };
  for (const InTheWay way : {InTheWay::Link, InTheWay::Folder, InTheWay::FolderNotWritable}) {
    SCOPED_TRACE(static_cast<int>(way));
    if (way == InTheWay::FolderNotWritable && ::geteuid() != 0) continue;  // a user other than the owner needed
    const QString folder = path(QStringLiteral("unlockable%1").arg(static_cast<int>(way)));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString unlockable = writeBooks(QFileInfo(folder).fileName() + QStringLiteral("/帳簿.kivo"));
    const QString lockFile = DocumentLock::lockFilePath(unlockable);
    if (way == InTheWay::Link) { ASSERT_TRUE(QFile::link(QStringLiteral("nowhere"), lockFile)); }
    if (way == InTheWay::Folder) { ASSERT_TRUE(QDir().mkpath(lockFile)); }
    if (way == InTheWay::FolderNotWritable) {  // the way there open to all, the books readable
      ASSERT_EQ(::chmod(QFile::encodeName(path(QString())).constData(), 0755), 0);
      ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
      ASSERT_EQ(::chmod(QFile::encodeName(unlockable).constData(), 0644), 0);
    }
    alerts.clear();
    DocumentSession* unlocked = nullptr;
    {
      std::optional<test::AsAnotherUserOnThisThread> reader;
      if (way == InTheWay::FolderNotWritable) reader.emplace(2002, 2002);
      unlocked = app->documentController()->openDocumentWithContentsOfFile(unlockable);
    }
    ASSERT_NE(unlocked, nullptr);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].title, QStringLiteral("この書類をロックできません"));
    EXPECT_TRUE(alerts[0].text.contains(QStringLiteral("ロックファイル“%1”を作れませんでした").arg(lockFile)))
        << alerts[0].text.toStdString();
    EXPECT_FALSE(unlocked->holdsLock());
    closeNow(unlocked);
  }

  // Closing a changed document asks first.
  struct Case {
    const char* button;
    bool closes;
    bool saved;
  };
  const Case cases[] = {{"キャンセル", false, false}, {"保存しない", true, false}, {"保存", true, true}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    const QString file = writeBooks(QStringLiteral("close%1.kivo").arg(++n));
    DocumentSession* doc = app->documentController()->openDocumentWithContentsOfFile(file);
    doc->document().kaisya().setAddress("変更後");
    doc->updateChangeCount(MyDocument::ChangeType::Done);
    alerts.clear();
    answer = [&](const AlertSheet::Alert& a) {
      return static_cast<int>(a.buttons.indexOf(QString::fromUtf8(c.button)));
    };
    closeNow(doc->documentInfoController());
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].title, QStringLiteral("書類“close%1”に加えた変更を保存しますか?").arg(n));
    EXPECT_EQ(alerts[0].buttons,
              (QStringList{QStringLiteral("保存"), QStringLiteral("保存しない"), QStringLiteral("キャンセル")}));
    const bool open = app->documentController()->documentForFilePath(file) != nullptr;
    EXPECT_EQ(open, !c.closes);
    DocumentFile::Result result;
    EXPECT_EQ(DocumentFile::readFromFile(file.toStdString(), &result)->kaisya().address() == "変更後", c.saved);
    // The lock file goes with the document.
    EXPECT_EQ(QFileInfo::exists(DocumentLock::lockFilePath(file)), open);
  }
  answer = nullptr;
}

TEST_F(DocumentSessionTest, ASaveThatWouldChangeWhoMayUseTheFileIsRefusedAndOffersAnotherName)
{
  if (::geteuid() != 0) GTEST_SKIP() << "only the super-user can save as another user";
  // User 2002 saves the books of user 2001, group 4000, in a folder open to everyone.
  const QString file = writeBooks(QStringLiteral("theirs.kivo"));
  ASSERT_EQ(::chmod(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), 0777), 0);
  ASSERT_EQ(::chown(QFile::encodeName(file).constData(), 2001, 4000), 0);
  DocumentSession* doc = app->documentController()->openDocumentWithContentsOfFile(file);
  doc->document().kaisya().setAddress("変更後");
  doc->updateChangeCount(MyDocument::ChangeType::Done);
  panelAnswer = path(QStringLiteral("mine.kivo"));
  // (the button chosen, whether the document is saved under another name)
  for (const auto& [button, savedElsewhere] : {std::pair("キャンセル", false), {"別名で保存...", true}}) {
    SCOPED_TRACE(button);
    alerts.clear();
    answer = [button = button](const AlertSheet::Alert& a) {
      return static_cast<int>(a.buttons.indexOf(QString::fromUtf8(button)));
    };
    bool saved = false;
    {
      const test::AsAnotherUserOnThisThread saver(2002, 2002);
      saved = doc->saveDocument();
    }
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(std::tuple(alerts[0].title, alerts[0].text, alerts[0].buttons),
              std::tuple(QStringLiteral("保存できません"),
                         QStringLiteral("書類を保存できませんでした。%1。前に保存した内容はそのまま残っています。"
                                        "変更を残すには別名で保存してください。")
                             .arg(QString::fromUtf8(SafeFileWriter::kOwnershipNotKeptText)),
                         QStringList{QStringLiteral("別名で保存..."), QStringLiteral("キャンセル")}));
    EXPECT_EQ(std::tuple(saved, doc->isDocumentEdited(), doc->filePath()),
              std::tuple(savedElsewhere, !savedElsewhere, savedElsewhere ? panelAnswer : file));
  }
  DocumentFile::Result result;
  EXPECT_EQ(std::pair(DocumentFile::readFromFile(file.toStdString(), &result)->kaisya().address(),
                      DocumentFile::readFromFile(panelAnswer.toStdString(), &result)->kaisya().address()),
            std::pair(std::string(), std::string("変更後")));
  answer = nullptr;
}

TEST_F(DocumentSessionTest, ClosingTheInformationWindowClosesTheDocumentWithWhatItOwnsWithoutAskingIfUnchanged)
{
  DocumentSession* doc = openBooks();
  ProgressStateController* progress = doc->progressStateController();
  EXPECT_EQ(doc->progressStateController(), progress);
  // Shown over one of the document's windows, it outlives that window, whose closing
  // does not ask even with the document changed.
  StubWindow* journal = addStub(doc, Kind::Shiwakenikki, QStringLiteral("仕訳日記帳"));
  doc->updateChangeCount(MyDocument::ChangeType::Done);
  progress->beginModalSession(journal);
  progress->endModalSession();
  closeNow(journal);
  EXPECT_TRUE(alerts.empty());
  EXPECT_EQ(doc->windowControllers().size(), 1u);
  EXPECT_EQ(doc->progressStateController(), progress);

  // Closing the information window closes the document with its other windows and
  // the controllers it owns.
  QPointer<StubWindow> trial = addStub(doc, Kind::ZandakaShisan, QStringLiteral("合計残高試算表"));
  QPointer<QObject> period = new QObject();
  doc->setOwnedController(DocumentSession::OwnedController::Period, period);
  QPointer<QObject> progressGuard = progress;
  doc->updateChangeCount(MyDocument::ChangeType::Cleared);
  closeNow(doc->documentInfoController());
  EXPECT_TRUE(alerts.empty());
  EXPECT_TRUE(app->documentController()->documents().empty());
  EXPECT_FALSE(trial);
  EXPECT_TRUE(period.isNull());
  EXPECT_TRUE(progressGuard.isNull());
}

TEST_F(DocumentSessionTest, WindowsCascadeByTheirMenuPositionAndTheDocumentRemembersTheFrame)
{
  DocumentSession* doc = openBooks();
  WindowController* info = doc->documentInfoController();
  const QPoint origin = info->windowFrameOriginWhenLoaded();
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  defaults.setDouble(333, KIVOZandakaShisanWindowWidthKey);
  defaults.setDouble(222, KIVOZandakaShisanWindowHeightKey);

  struct Sized : StubWindow {
    using StubWindow::StubWindow;
    const char* windowWidthDefaultsKey() const override { return KIVOZandakaShisanWindowWidthKey; }
    const char* windowHeightDefaultsKey() const override { return KIVOZandakaShisanWindowHeightKey; }
  };
  const auto addSized = [&] {
    auto* w = new Sized(doc, Kind::ZandakaShisan, QStringLiteral("合計残高試算表"), QStringLiteral("合計残高試算表"));
    doc->addWindowController(w);
    w->moveWindowToInitialPositionWithDisplay(true);
    return w;
  };
  Sized* trial = addSized();
  flush();
  // "合計残高試算表" is the sixth item of "伝票・帳票".
  EXPECT_EQ(trial->windowFrame(), QRect(origin + QPoint(21 * 6, 23 * 6), QSize(333, 222)));
  EXPECT_EQ(doc->windowFrame(Kind::ZandakaShisan), trial->windowFrame());

  // The user moves and resizes it; the next window of the kind takes that frame, and
  // the size is kept in the user defaults.
  trial->setWindowFrame(QRect(150, 160, 400, 300));
  flush();
  EXPECT_EQ(doc->windowFrame(Kind::ZandakaShisan), QRect(150, 160, 400, 300));
  EXPECT_EQ(defaults.doubleForKey(KIVOZandakaShisanWindowWidthKey), 400.0);
  closeNow(trial);
  EXPECT_EQ(addSized()->windowFrame(), QRect(150, 160, 400, 300));

  // Another document remembers nothing of it.
  DocumentSession* other = openBooks("別会社");
  EXPECT_EQ(other->windowFrame(Kind::ZandakaShisan).width(), 0);
}

// Every window placed lies within the screen's available area with its title bar and
// borders: ledgers as wide as the screen cascading, the monthly trial balance, a
// remembered frame partly past the edge, and the help window.
TEST_F(DocumentSessionTest, CascadedAndPlacedWindowsLieOnTheScreen)
{
  DocumentSession* doc = openBooks();
  const QRect screen = doc->documentInfoController()->screen()->availableGeometry();
  std::set<std::pair<int, int>> ledgerCorners;
  const auto expectOnScreen = [&](const std::string& what, const QWidget* w) {
    const QMargins m = WindowPlacement::frameMarginsOf(w);
    const QRect outer(w->pos(), w->size() + QSize(m.left() + m.right(), m.top() + m.bottom()));
    EXPECT_TRUE(w->isVisible() && screen.contains(outer))
        << what << " " << outer.x() << "," << outer.y() << " " << outer.width() << "x" << outer.height();
  };
  for (int32_t code : {kGenkin, kFutsuuYokin, kUriagedaka}) {
    const QWidget* ledger = KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(doc, code, -1);
    expectOnScreen("ledger " + std::to_string(code), ledger);
    EXPECT_TRUE(ledgerCorners.insert({ledger->x(), ledger->y()}).second);  // cascading off the others
  }
  expectOnScreen("monthly trial balance", SuiiShisanController::showSuiiShisanWindow(doc));

  const auto addTrial = [&] {
    auto* w =
        new StubWindow(doc, Kind::ZandakaShisan, QStringLiteral("合計残高試算表"), QStringLiteral("合計残高試算表"));
    doc->addWindowController(w);
    w->moveWindowToInitialPositionWithDisplay(true);
    return w;
  };
  StubWindow* trial = addTrial();
  trial->setWindowFrame(QRect(screen.bottomRight() - QPoint(100, 100), QSize(400, 300)));
  flush();
  closeNow(trial);
  expectOnScreen("remembered frame", addTrial());

  HelpWindow::showHelpAtAnchor(QString());
  flush();
  expectOnScreen("help", HelpWindow::sharedHelpWindow());
}

}  // namespace
}  // namespace kivo::test
