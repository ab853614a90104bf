// The list of open documents: new and untitled names, files that cannot be opened, and
// quitting with unsaved changes.
#include <QFile>

#include "document/DocumentFile.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/SuitoucyouController.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "support/AppTestFixture.h"
#include "support/CraftedDocumentFile.h"

namespace kivo::test {
namespace {

class DocumentControllerTest : public AppTest {};

TEST_F(DocumentControllerTest, UntitledDocumentsAreNumberedFromTheSecond)
{
  DocumentController* dc = app->documentController();
  for (const char* name : {"名称未設定", "名称未設定 2", "名称未設定 3"})
    EXPECT_EQ(dc->newDocument()->displayName(), QString::fromUtf8(name));
  EXPECT_EQ(dc->documents().size(), 3u);
}

// A newly opened document's information window never lies exactly over another
// open document's, also after one that stood before it was closed.
TEST_F(DocumentControllerTest, EachNewDocumentsInformationWindowTakesAFreeStep)
{
  DocumentController* dc = app->documentController();
  auto infoPos = [](DocumentSession* d) { return d->documentInfoController()->pos(); };
  DocumentSession* a = openBooks("甲");
  DocumentSession* b = openBooks("乙");
  EXPECT_NE(infoPos(a), infoPos(b));
  closeNow(a);
  DocumentSession* c = openBooks("丙");
  EXPECT_NE(infoPos(c), infoPos(b));
  DocumentSession* d = openBooks("丁");
  EXPECT_EQ(dc->documents().size(), 3u);
  EXPECT_NE(infoPos(d), infoPos(b));
  EXPECT_NE(infoPos(d), infoPos(c));
}

// No window of a document stands on a window of another open document (a step of
// the cascade between two documents' information windows put the second one's
// voucher window on the first one's cash book).
TEST_F(DocumentControllerTest, NoWindowOfADocumentStandsOnAnotherDocumentsWindow)
{
  std::vector<std::tuple<std::string, QPoint, QString>> placed;  // document, place and title of each window
  for (const std::string name : {"甲", "乙", "丙"}) {
    DocumentSession* doc = openBooks(name);
    for (WindowController* w : std::initializer_list<WindowController*>{
             doc->documentInfoController(), FurikaedenpyouController::showFurikaedenpyouWindow(doc),
             SuitoucyouController::showSuitoucyouWindow(doc, kGenkin, -1),
             ShiwakenikkiController::showShiwakenikkiWindow(doc)}) {
      flush();
      placed.emplace_back(name, w->pos(), w->windowTitle());
    }
  }
  for (const auto& [docA, a, titleA] : placed)
    for (const auto& [docB, b, titleB] : placed)
      if (docA < docB) {
        EXPECT_GE((a - b).manhattanLength(), 5) << titleA.toStdString() << " / " << titleB.toStdString();
      }
}

TEST_F(DocumentControllerTest, AFileThatCannotBeOpenedIsRefusedWithItsMessageAndQuittingAsksEachChangedDocument)
{
  const auto writeFile = [&](const char* name, const std::string& bytes) {
    QFile f(path(QString::fromUtf8(name)));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return f.fileName();
  };
  const std::string good = DocumentFile::dataOfDocument(*makeBooks());
  // A later format version, its checksum covering the header as such files do.
  const std::string newer = test::fileWithBody(std::string_view(good).substr(24), 99);
  std::string damaged = good;
  damaged[damaged.size() / 2] ^= 0x5a;

  struct Case {
    QString file;
    const char* title;
    const char* text;
    bool offersHelp;
  };
  const Case cases[] = {
      {writeFile("text.kivo", "not a document"), "書類を開けません",
       "このファイルは Kivosavan の書類ではないため開けません。", false},
      {writeFile("damaged.kivo", damaged), "書類を開けません", "書類ファイルが壊れているため開けません。", false},
      {path(QStringLiteral("missing.kivo")), "書類を開けません", "書類ファイルを読み込めませんでした。", false},
      {writeFile("newer.kivo", newer), "Kivosavan",
       "この書類は新しいバージョンの Kivosavan で保存されているため開けません。", true},
  };
  answer = [](const AlertSheet::Alert& a) { return static_cast<int>(a.buttons.size()) - 1; };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    alerts.clear();
    HelpWindow::discard();
    EXPECT_EQ(app->documentController()->openDocumentWithContentsOfFile(c.file), nullptr);
    EXPECT_TRUE(app->documentController()->documents().empty());
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].title, QString::fromUtf8(c.title));
    // The file is named, but for a newer version's, which points to help instead.
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(alerts[0].text, c.offersHelp ? text : QStringLiteral("“%1”\n%2").arg(QFileInfo(c.file).fileName(), text));
    // A newer version's file points to where a newer program is found.
    EXPECT_EQ(alerts[0].buttons.contains(QStringLiteral("ヘルプ")), c.offersHelp);
    if (c.offersHelp) { EXPECT_EQ(HelpWindow::sharedHelpWindow()->currentAnchor(), QStringLiteral("Download")); }
  }

  // Quitting asks each changed document; cancel keeps everything open.
  DocumentSession* a = openBooks("甲商事");
  DocumentSession* b = openBooks("乙商店");
  DocumentSession* c = openBooks("丙産業");
  a->updateChangeCount(MyDocument::ChangeType::Done);
  c->updateChangeCount(MyDocument::ChangeType::Done);

  // Don't save the first; cancel at the second: nothing closes.
  QStringList asked;
  answer = [&](const AlertSheet::Alert& alert) {
    asked << alert.title;
    return asked.size() == 1 ? 1 : 2;
  };
  EXPECT_FALSE(app->terminate());
  EXPECT_EQ(asked, (QStringList{QStringLiteral("書類“%1”に加えた変更を保存しますか?").arg(a->displayName()),
                                QStringLiteral("書類“%1”に加えた変更を保存しますか?").arg(c->displayName())}));
  EXPECT_EQ(app->documentController()->documents().size(), 3u);
  EXPECT_NE(b->documentInfoController(), nullptr);

  // Don't save either: everything closes.
  asked.clear();
  answer = [&](const AlertSheet::Alert& alert) {
    asked << alert.title;
    return 1;
  };
  EXPECT_TRUE(app->terminate());
  EXPECT_EQ(asked.size(), 2);
  flush();
  EXPECT_TRUE(app->documentController()->documents().empty());
}

}  // namespace
}  // namespace kivo::test
