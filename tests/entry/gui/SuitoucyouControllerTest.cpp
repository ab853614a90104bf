// The cash-book window driven through its grid and menus, offscreen: typing rows,
// the running balance, the pending entry, row removal with undo, the refresh from the
// voucher window, saving, switching books and the book's shortcut.
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QUndoStack>

#include "app/WindowCommands.h"
#include "document/DocumentFile.h"
#include "document/gui/ProgressStateController.h"
#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/gui/ModalDriver.h"
#include "journal/gui/CyouhyouTableView.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "platform/ModalSession.h"
#include "support/ShowWatch.h"
#include "support/SlowMachine.h"
#include "support/TypedAhead.h"
#include "trial/gui/ZandakaShisanController.h"

namespace kivo::test {
namespace {

using Row = SuitoucyouRow;

class SuitoucyouControllerTest : public EntryWindowTest {
protected:
  void TearDown() override
  {
    UserDefaults::standardUserDefaults().removeObjectForKey(KIVOSuitoucyouAutoSetItemAsAboveRowKey);
    AppTest::TearDown();
  }

  QLineEdit* editor(SuitoucyouController* w) { return w->suitoucyouView()->fieldEditor(); }
  QString cellText(SuitoucyouController* w, int row, Row::Column column)
  {
    return w->suitoucyouView()->delegate()->stringValue(row, column);
  }
  Row::Column selectedColumn(SuitoucyouController* w)
  {
    return static_cast<Row::Column>(w->suitoucyouView()->selectedMatrixId());
  }

  // Types each text into the edited cell and presses Tab; an empty text just Tabs on.
  // Tab leads from the description to the receipt or to the payment, as the
  // counterpart's nature says.
  void type(SuitoucyouController* w, std::initializer_list<const char*> texts)
  {
    for (const char* t : texts) typeInGrid(w->suitoucyouView(), QString::fromUtf8(t));
  }
  // Registers 4/15 現金 1,000 against 売上高, typed in the voucher window.
  FurikaedenpyouController* typeVoucher()
  {
    auto* voucher = shown(FurikaedenpyouController::showFurikaedenpyouWindow(session));
    for (const char* t : {"4/15", "100", "1000", "300", "1000", ""})
      typeInGrid(voucher->denpyouView(), QString::fromUtf8(t));
    return voucher;
  }
  void click(SuitoucyouController* w, int row, Row::Column column)
  {
    const QRect r = w->suitoucyouView()->cellRect(row, column);
    QTest::mouseClick(w->suitoucyouView()->viewport(), Qt::LeftButton, {}, r.center());
    flush();
  }
  // The journal entries numbered n.
  int countNumbered(int32_t n)
  {
    return static_cast<int>(std::count_if(books().journal().begin(), books().journal().end(),
                                          [n](const ShiwakePtr& s) { return s->denpyouNo() == n; }));
  }
};

TEST_F(SuitoucyouControllerTest, TheMenuItemOpensItsBookOnceAndTabCopiesFromAboveWhenSet)
{
  UserDefaults::standardUserDefaults().setBool(true, KIVOSuitoucyouAutoSetItemAsAboveRowKey);
  WindowCommands::installCommandHandlers(app.get());
  openDocument();
  WindowController* info = session->documentInfoController();
  activate(info);
  // The submenu is rebuilt whenever a window becomes main: look the item up afresh.
  const auto genkinMenuItem = [&]() -> QAction* {
    for (QAction* a : info->mainMenu()->suitoucyouMenu()->actions())
      if (a->data().toInt() == kGenkin) return a;
    return nullptr;
  };
  EXPECT_EQ(genkinMenuItem()->text(), QStringLiteral("現金"));
  genkinMenuItem()->trigger();
  flush();
  auto* w = qobject_cast<SuitoucyouController*>(session->suitoucyouControllerOfKamokuCode(kGenkin, -1));
  EXPECT_TRUE(w->windowTitle().startsWith(session->displayName() + QStringLiteral(" - 出納帳（現金）")));
  EXPECT_EQ(std::pair(w->numberOfSuitoucyouRows(), selectedColumn(w)), std::pair(1, Row::DateMatrix));
  ASSERT_EQ(books().journal().size(), 1u);
  // The pending row's entry; opening a book changes nothing.
  EXPECT_EQ(std::pair(books().journal()[0]->denpyouNo(), session->isDocumentEdited()), std::pair(0, false));
  genkinMenuItem()->trigger();
  flush();
  int bookWindows = 0;
  for (DocumentWindowController* wc : session->windowControllers())
    bookWindows += wc->windowKind() == DocumentWindow::Kind::Suitoucyou;
  EXPECT_EQ(bookWindows, 1);

  // With the setting on, Tab copies the date and counterpart from the row above.
  activate(w);
  type(w, {"4/10", "300", "売上", "10"});
  // The typed row reaches its entry; how a row becomes an entry is the registrar's.
  ASSERT_EQ(books().journal().size(), 2u);
  EXPECT_EQ(std::pair(books().journal()[0]->tekiyou(), session->isDocumentEdited()),
            std::pair(std::string("売上"), true));
  type(w, {"", ""});
  EXPECT_EQ(std::tuple(cellText(w, 1, Row::DateMatrix), cellText(w, 1, Row::AiteKamokuMatrix), selectedColumn(w)),
            std::tuple(QStringLiteral("04/10"), QStringLiteral("売上高"), Row::TekiyouMatrix));
}

TEST_F(SuitoucyouControllerTest, RemovingARowIsUndoneAtItsPlace)
{
  auto b = makeBooks();
  b->journal().assign({makeCashEntry(Date(2024, 4, 1), 1, kGenkin, kUriagedaka, 100),
                       makeCashEntry(Date(2024, 4, 2), 2, kShoumouhinhi, kGenkin, 30),
                       makeCashEntry(Date(2024, 4, 3), 3, kGenkin, kUriagedaka, 50)});
  b->kaisya().setMinAvailableDenpyouNo(4);
  const std::vector<ShiwakePtr> before = b->journal().entries();
  SuitoucyouController* w = openBook(std::move(b));
  click(w, 1, Row::TekiyouMatrix);  // leaving the empty pending row drops it
  ASSERT_EQ(w->numberOfSuitoucyouRows(), 3);
  EXPECT_EQ(books().journal().entries(), before);

  w->functionMenuAction(QStringLiteral("行の削除"))->trigger();
  // The row that followed is selected.
  EXPECT_EQ(std::tuple(w->numberOfSuitoucyouRows(), w->selectedSuitoucyouRow(), w->book().selectDenpyouNo(),
                       countNumbered(2)),
            std::tuple(2, 1, 3, 0));
  EXPECT_EQ(cellText(w, 1, Row::ZandakaMatrix), QStringLiteral("150"));
  ASSERT_TRUE(session->undoManager()->canUndo());
  EXPECT_EQ(session->undoManager()->undoText(), QStringLiteral("行の削除"));

  // Ctrl+Z typed in the cell, which has nothing of its own to take back, reaches the
  // document.
  pressUndoKey(w->suitoucyouView());
  EXPECT_EQ(books().journal().entries(), before);
  EXPECT_EQ(std::tuple(w->numberOfSuitoucyouRows(), w->selectedSuitoucyouRow(), cellText(w, 2, Row::ZandakaMatrix)),
            std::tuple(3, 1, QStringLiteral("120")));
  // Typing in the cell is the cell's to take back.
  QLineEdit* cell = w->suitoucyouView()->fieldEditor();
  const QString shown = cell->text();
  QTest::keyClick(cell, Qt::Key_End);
  QTest::keyClicks(cell, "9");
  pressUndoKey(w->suitoucyouView());
  EXPECT_EQ(cell->text(), shown);
}

TEST_F(SuitoucyouControllerTest, AVoucherTouchingTheAccountAppearsInTheOpenBook)
{
  SuitoucyouController* w = openBook();
  FurikaedenpyouController* voucher = typeVoucher();
  ASSERT_EQ(countNumbered(1), 1);

  // The pending row stays last; the book in the background waits to compute its
  // balances until it is main.
  EXPECT_EQ(std::tuple(w->numberOfSuitoucyouRows(), cellText(w, 0, Row::KindOfShiwakeMatrix),
                       w->book().row(1).denpyouNo, w->doNeedUpdateZandaka()),
            std::tuple(2, QStringLiteral("振伝"), 0, true));
  activate(w);
  EXPECT_EQ(std::pair(w->doNeedUpdateZandaka(), cellText(w, 0, Row::ZandakaMatrix)),
            std::pair(false, QStringLiteral("1,000")));

  // The voucher line is not edited here: typing on it shows the voucher, and it
  // cannot be removed.
  click(w, 0, Row::TekiyouMatrix);
  QTest::keyClicks(editor(w), QStringLiteral("x"));
  flush();
  EXPECT_EQ(std::pair(books().journal()[0]->tekiyou(), voucher->displayingDenpyouNo()), std::pair(std::string(), 1));
  activate(w);
  w->handleChooseRemoveSuitoucyouRow();
  ASSERT_FALSE(alerts.empty());
  EXPECT_EQ(std::pair(alerts.back().title, alerts.back().text),
            std::pair(QStringLiteral("削除エラー"), QStringLiteral("振替伝票で入力したものは削除できません。")));
  EXPECT_EQ(countNumbered(1), 1);
}

// A registered row whose amount was cleared, still in its cell, when a voucher
// touching the book is registered: the row cannot be written back, so it stays as
// typed, with the sheet at it, and the book shows the voucher once the row is mended.
TEST_F(SuitoucyouControllerTest, AnInvalidBackgroundEditStaysAsTypedWhenAVoucherIsRegistered)
{
  auto b = makeBooks();
  b->journal().assign({makeCashEntry(Date(2024, 4, 5), 1, kGenkin, kUriagedaka, 5000)});
  b->kaisya().setMinAvailableDenpyouNo(2);
  SuitoucyouController* w = openBook(std::move(b));
  w->deselectSelectedCellAndThenSelectSuitoucyouRow(0, Row::InKingakuMatrix);
  flush();
  ASSERT_TRUE(w->suitoucyouView()->isEditing());
  editor(w)->selectAll();
  QTest::keyClick(editor(w), Qt::Key_Delete);  // cleared, still in the cell
  ASSERT_TRUE(editor(w)->text().isEmpty());

  typeVoucher();
  ASSERT_EQ(countNumbered(2), 1);

  ASSERT_FALSE(alerts.empty());
  EXPECT_EQ(alerts.back().window.data(), static_cast<QWidget*>(w));
  // The amount as typed, not the old 5,000; the journal untouched.
  EXPECT_EQ(std::tuple(w->book().row(0).denpyouNo, w->book().selectedSuitoucyouRow(),
                       cellText(w, 0, Row::InKingakuMatrix), books().journal()[0]->karikataKingaku()),
            std::tuple(1, 0, QString(), int64_t{5000}));

  // Mended and written, the row and the voucher's line both show.
  activate(w);
  w->deselectSelectedCellAndThenSelectSuitoucyouRow(0, Row::InKingakuMatrix);
  type(w, {"4500"});
  // The voucher's line has come.
  EXPECT_EQ(std::pair(books().journal()[0]->karikataKingaku(), w->numberOfSuitoucyouRows()),
            std::pair(int64_t{4500}, 3));
}

TEST_F(SuitoucyouControllerTest, ABackgroundBooksTypedRowSurvivesASave)
{
  SuitoucyouController* w = openBook();
  type(w, {"4/20", "300", "売上"});
  editor(w)->selectAll();
  QTest::keyClicks(editor(w), QStringLiteral("4200"));  // still in the cell
  activate(session->documentInfoController());
  ASSERT_NE(app->mainWindowController(), w);

  const QString file = path(QStringLiteral("books.kivo"));
  ASSERT_TRUE(session->saveToPath(file));
  DocumentFile::Result result;
  std::unique_ptr<MyDocument> saved = DocumentFile::readFromFile(file.toStdString(), &result);
  ASSERT_TRUE(saved) << result.message;
  const auto found = std::find_if(saved->journal().begin(), saved->journal().end(),
                                  [](const ShiwakePtr& s) { return s->denpyouNo() == 1; });
  ASSERT_NE(found, saved->journal().end());
  EXPECT_EQ(std::pair((*found)->karikataKingaku(), (*found)->kashikataKamokuCode()),
            std::pair(int64_t{4200}, kUriagedaka));
  EXPECT_FALSE(session->isDocumentEdited());
  // The book in the background computed its balance under the document's progress
  // sheet.
  auto* progress = session->ownedControllerAs<ProgressStateController>(DocumentSession::OwnedController::ProgressState);
  EXPECT_EQ(std::pair(progress->progressFieldStringValue(), progress->isRunningModalSession()),
            std::pair(QStringLiteral("出納帳の残高を計算中..."), false));
  EXPECT_EQ(cellText(w, 0, Row::ZandakaMatrix), QStringLiteral("4,200"));
}

// A save settles the cash book in front as its "行を登録" does: an unfinished row shows
// its sheet and stops the save. A book in the background never stops it nor comes
// forward: a finished row is registered without a word, an unfinished one (new, or a
// registered row whose amount was cleared) stays as typed, the journal as registered.
TEST_F(SuitoucyouControllerTest, ASaveStopsOnlyForTheFrontBooksUnfinishedRow)
{
  enum class Typed { UnfinishedNewRow, ClearedAmount, FinishedNewRow };
  for (const bool inFront : {true, false}) {
    for (const Typed typed : {Typed::UnfinishedNewRow, Typed::ClearedAmount, Typed::FinishedNewRow}) {
      SCOPED_TRACE(testing::Message() << "in front " << inFront << ", typed " << static_cast<int>(typed));
      auto b = makeBooks({.jigyoubu = true});
      ShiwakePtr registered = makeCashEntry(Date(2024, 4, 5), 1, kFutsuuYokin, kUriagedaka, 5000);
      for (auto set : {&Shiwake::setKarikataJigyoubuCode, &Shiwake::setKashikataJigyoubuCode,
                       &Shiwake::setAiteKarikataJigyoubuCode, &Shiwake::setAiteKashikataJigyoubuCode})
        ((*registered).*set)(1);
      b->journal().assign({registered});
      b->kaisya().setMinAvailableDenpyouNo(2);
      SuitoucyouController* w = openBook(std::move(b), kFutsuuYokin);
      if (typed == Typed::ClearedAmount) w->deselectSelectedCellAndThenSelectSuitoucyouRow(0, Row::InKingakuMatrix);
      type(w, typed == Typed::ClearedAmount    ? std::initializer_list<const char*>{}
              : typed == Typed::FinishedNewRow ? std::initializer_list<const char*>{"4/20", "300", "売上", "1", "1"}
                                               : std::initializer_list<const char*>{"4/20", "300"});
      if (typed != Typed::UnfinishedNewRow) {  // the amount, still in its cell
        editor(w)->selectAll();
        if (typed == Typed::ClearedAmount)
          QTest::keyClick(editor(w), Qt::Key_Delete);
        else
          QTest::keyClicks(editor(w), QStringLiteral("4200"));
      }
      const int row = w->book().selectedSuitoucyouRow();
      WindowController* user = w;
      if (!inFront) user = shown(ZandakaShisanController::showZandakaShisanWindow(session));

      alerts.clear();
      panelAnswer = path(QStringLiteral("books%1%2.kivo").arg(inFront).arg(static_cast<int>(typed)));
      QTest::keyClick(user, Qt::Key_S, Qt::ControlModifier);
      flush();

      const bool unfinished = typed != Typed::FinishedNewRow;
      EXPECT_EQ(session->isDocumentEdited(), inFront && unfinished);
      if (inFront && unfinished) {
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(std::pair(alerts[0].window.data(), alerts[0].text),
                  std::pair(static_cast<QWidget*>(w),
                            QString::fromUtf8(typed == Typed::ClearedAmount ? "金額が入力されていません。"
                                                                            : "相手事業部が入力されていません。")));
      } else {
        EXPECT_TRUE(alerts.empty()) << alerts[0].text.toStdString();
        EXPECT_EQ(std::pair(app->mainWindowController(), QApplication::activeWindow()),
                  std::pair(user, static_cast<QWidget*>(user)));
        // The row as typed; the file holds the registered entry as it was and the
        // finished row numbered.
        EXPECT_EQ(std::pair(cellText(w, row, Row::AiteKamokuMatrix), cellText(w, row, Row::InKingakuMatrix)),
                  std::pair(QStringLiteral("売上高"), QString::fromUtf8(unfinished ? "" : "4,200")));
        std::unique_ptr<MyDocument> saved = DocumentFile::readFromFile(panelAnswer.toStdString(), nullptr);
        ASSERT_TRUE(saved);
        std::vector<std::pair<int32_t, int64_t>> numbered;
        for (const ShiwakePtr& s : saved->journal())
          if (s->denpyouNo() > 0) numbered.emplace_back(s->denpyouNo(), s->karikataKingaku());
        using Numbered = std::vector<std::pair<int32_t, int64_t>>;
        EXPECT_EQ(numbered, (unfinished ? Numbered{{1, 5000}} : Numbered{{1, 5000}, {2, 4200}}));
      }
      closeNow(session);
    }
  }
}

// Closing one window settles what goes with it and what is in front, each with its
// sheet: the closing book's own row (an unfinished one keeps the window open), the
// voucher, a ledger's cell being edited. A book behind keeps its unfinished row as
// typed, and stays open and behind. Closing the document or quitting settles it too.
TEST_F(SuitoucyouControllerTest, ClosingAWindowLeavesTheBooksBehindAsTyped)
{
  enum class Closing { BookWithoutRow, BooksUnfinishedRow, BooksFinishedRow, Voucher, LedgerEditingACell };
  const auto openWithABookBehind = [&] {
    auto b = makeBooks();
    b->journal().assign({makeCashEntry(Date(2024, 4, 5), 1, kGenkin, kUriagedaka, 5000)});
    b->kaisya().setMinAvailableDenpyouNo(2);
    SuitoucyouController* behind = openBook(std::move(b), kFutsuuYokin);
    type(behind, {"6/1", "300"});  // no amount
    return behind;
  };
  const auto asTyped = [&](SuitoucyouController* book) {
    return std::pair(cellText(book, 0, Row::DateMatrix), cellText(book, 0, Row::AiteKamokuMatrix));
  };
  // The window to close, and the numbered entries (date, amount) once it is closed.
  using Numbered = std::vector<std::pair<Date, int64_t>>;
  const std::pair<Date, int64_t> registered{Date(2024, 4, 5), 5000};
  const std::pair<Closing, Numbered> cases[] = {
      {Closing::BookWithoutRow, {registered}},
      {Closing::BooksUnfinishedRow, {registered}},
      {Closing::BooksFinishedRow, {registered, {Date(2024, 4, 20), 4200}}},
      {Closing::Voucher, {registered, {Date(2024, 4, 15), 1000}}},
      {Closing::LedgerEditingACell, {{Date(2024, 4, 3), 5000}}},
  };
  for (const auto& [closing, journal] : cases) {
    SCOPED_TRACE(static_cast<int>(closing));
    QPointer<SuitoucyouController> behind = openWithABookBehind();
    WindowController* w = nullptr;
    if (closing == Closing::Voucher) {
      auto* voucher = shown(FurikaedenpyouController::showFurikaedenpyouWindow(session));
      for (const char* t : {"4/15", "100", "1000", "300", "1000"})
        typeInGrid(voucher->denpyouView(), QString::fromUtf8(t));
      w = voucher;
    } else if (closing == Closing::LedgerEditingACell) {
      auto* ledger = shown(KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(session, kGenkin, -1));
      ledger->tableView()->selectRow(1);
      QTest::keyClick(ledger->tableView(), Qt::Key_Space);  // the date of the entry
      ledger->tableView()->findChild<QLineEdit*>()->selectAll();
      QTest::keyClicks(ledger->tableView()->findChild<QLineEdit*>(), QStringLiteral("4/3"));
      w = ledger;
    } else {
      auto* book = shown(SuitoucyouController::showSuitoucyouWindow(session, kGenkin, -1));
      if (closing != Closing::BookWithoutRow) {
        type(book, {"4/20", "300", "売上"});
        if (closing == Closing::BooksFinishedRow) QTest::keyClicks(editor(book), QStringLiteral("4200"));
      }
      w = book;
    }
    QPointer<WindowController> closed = w;
    alerts.clear();
    closeNow(w);

    const bool refused = closing == Closing::BooksUnfinishedRow;
    EXPECT_EQ(closed.isNull(), !refused);
    if (refused) {
      ASSERT_EQ(alerts.size(), 1u);
      EXPECT_EQ(std::pair(alerts[0].window.data(), alerts[0].text),
                std::pair(static_cast<QWidget*>(w), QStringLiteral("金額が入力されていません。")));
    } else {
      EXPECT_TRUE(alerts.empty()) << alerts[0].text.toStdString();
    }
    // What was typed in the closing window is in the journal.
    Numbered numbered;
    for (const ShiwakePtr& s : books().journal())
      if (s->denpyouNo() > 0) numbered.emplace_back(s->date(), s->karikataKingaku());
    EXPECT_EQ(numbered, journal);
    // The book behind: open, its row as typed, not brought forward.
    ASSERT_FALSE(behind.isNull());
    EXPECT_EQ(asTyped(behind), std::pair(QStringLiteral("06/01"), QStringLiteral("売上高")));
    EXPECT_NE(app->mainWindowController(), behind.data());
    EXPECT_NE(QApplication::activeWindow(), static_cast<QWidget*>(behind.data()));
    closeNow(session);
  }

  // Closing the document or quitting settles the book behind too, with its sheet.
  SuitoucyouController* behind = openWithABookBehind();
  activate(session->documentInfoController());
  for (const bool quitting : {false, true}) {
    SCOPED_TRACE(quitting ? "quitting" : "closing the document");
    alerts.clear();
    if (quitting)
      EXPECT_FALSE(app->terminate());
    else
      closeNow(session->documentInfoController());
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(std::pair(alerts[0].window.data(), alerts[0].text),
              std::pair(static_cast<QWidget*>(behind), QStringLiteral("金額が入力されていません。")));
    EXPECT_NE(session->documentInfoController(), nullptr);
  }
  closeNow(session);
}

// A book closed while another window is in front settles its own row as the book in
// front does: a finished row is registered before the window goes, an unfinished one
// keeps the book open with its alert.
TEST_F(SuitoucyouControllerTest, ABookClosedBehindAnotherWindowSettlesItsOwnRow)
{
  using Numbered = std::vector<std::pair<Date, int64_t>>;
  const std::pair<Date, int64_t> registered{Date(2024, 4, 5), 5000};
  // Whether the row has its amount; the numbered entries (date, amount) afterwards.
  const std::pair<bool, Numbered> cases[] = {
      {true, {registered, {Date(2024, 4, 20), 4200}}},
      {false, {registered}},
  };
  for (const auto& [finished, journal] : cases) {
    SCOPED_TRACE(finished ? "a finished row" : "an unfinished row");
    auto b = makeBooks();
    b->journal().assign({makeCashEntry(Date(2024, 4, 5), 1, kGenkin, kUriagedaka, 5000)});
    b->kaisya().setMinAvailableDenpyouNo(2);
    QPointer<SuitoucyouController> book = openBook(std::move(b));
    type(book, {"4/20", "300", "売上"});
    if (finished) QTest::keyClicks(editor(book), QStringLiteral("4200"));
    WindowController* front = shown(KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(session, kGenkin, -1));
    ASSERT_EQ(app->mainWindowController(), front);
    alerts.clear();
    closeNow(book.data());

    EXPECT_EQ(book.isNull(), finished);
    if (finished) {
      EXPECT_TRUE(alerts.empty()) << alerts[0].text.toStdString();
    } else {
      ASSERT_EQ(alerts.size(), 1u);
      EXPECT_EQ(std::pair(alerts[0].window.data(), alerts[0].text),
                std::pair(static_cast<QWidget*>(book.data()), QStringLiteral("金額が入力されていません。")));
      EXPECT_EQ(cellText(book, 1, Row::TekiyouMatrix), QStringLiteral("売上"));
    }
    Numbered numbered;
    for (const ShiwakePtr& s : books().journal())
      if (s->denpyouNo() > 0) numbered.emplace_back(s->date(), s->karikataKingaku());
    EXPECT_EQ(numbered, journal);
    closeNow(session);
  }
}

// Work in the window the user is in brings the books behind up to date: a sort by
// date in the book in front, a save from the ledger or the trial balance after a
// correction of an entry of a book behind, a voucher registered whose lines touch the
// books behind. However many books are behind, their work shows no window, the user's
// window stays main and active, and what the user types at once goes, in order, to the
// field the user is in.
TEST_F(SuitoucyouControllerTest, KeysTypedWhileTheBooksBehindAreBroughtUpToDateReachTheUsersField)
{
  constexpr int32_t kKoguchiGenkin = 101;  // 小口現金
  constexpr int32_t kTouzaYokin = 102;     // 当座預金
  enum class Work { SortInFrontBook, SaveFromLedger, SaveFromTrialBalance, RegisterVoucher };
  struct Book {
    int32_t kamoku;
    int32_t hojyo;
  };
  // Behind, in the order opened: 現金, 小口現金, 当座預金, 普通預金 (三井住友銀行).
  const Book books[] = {{kGenkin, -1}, {kKoguchiGenkin, -1}, {kTouzaYokin, -1}, {kFutsuuYokin, 2}};
  for (const Work work :
       {Work::SortInFrontBook, Work::SaveFromLedger, Work::SaveFromTrialBalance, Work::RegisterVoucher}) {
    for (const int behind : {1, 2, 4}) {
      SCOPED_TRACE(testing::Message() << "work " << static_cast<int>(work) << ", books behind " << behind);
      auto b = makeBooks({.hojyoKamoku = true});
      std::vector<ShiwakePtr> entries;
      int32_t no = 0;
      for (const Book& book : books) {
        entries.push_back(makeCashEntry(Date(2024, 4, 9 - no), no + 1, book.kamoku, kUriagedaka, 100 * (no + 1)));
        entries.back()->setKarikataHojyoKamokuCode(book.hojyo);
        entries.back()->setAiteKarikataHojyoKamokuCode(book.hojyo);
        ++no;
      }
      b->journal().assign(entries);
      b->kaisya().setMinAvailableDenpyouNo(no + 1);
      openDocument(std::move(b));
      std::vector<SuitoucyouController*> backgroundBooks;
      for (int i = 0; i < behind; ++i)
        backgroundBooks.push_back(
            shown(SuitoucyouController::showSuitoucyouWindow(session, books[i].kamoku, books[i].hojyo)));
      auto* genkinLedger =
          work == Work::SaveFromLedger || work == Work::SaveFromTrialBalance
              ? shown(KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(session, kGenkin, -1))
              : nullptr;
      if (genkinLedger) {
        // The date of the 現金 entry corrected in the ledger, for the 現金 book behind.
        genkinLedger->tableView()->selectRow(1);
        QTest::keyClick(genkinLedger->tableView(), Qt::Key_Space);
        typeReturnIn(genkinLedger->tableView()->findChild<QLineEdit*>(), QStringLiteral("4/3"));
        genkinLedger->tableView()->selectRow(1);
        panelAnswer = path(QStringLiteral("books.kivo"));
      }

      WindowController* user = nullptr;
      QString typed;                   // at once, as the work begins
      std::function<QString()> field;  // the text of the field the user is in
      switch (work) {
      case Work::SortInFrontBook: {
        SuitoucyouController* front = shown(SuitoucyouController::showSuitoucyouWindow(session, kFutsuuYokin, 1));
        type(front, {"4/10", "300"});
        click(front, front->book().selectedSuitoucyouRow(), Row::OutKingakuMatrix);
        user = front;
        typed = QStringLiteral("15000");
        typeAhead(front, typed);
        QTest::keyClick(front, Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
        field = [this, front] { return editor(front)->text(); };
        break;
      }
      case Work::SaveFromLedger:
        user = genkinLedger;
        typeAheadKey(genkinLedger->tableView(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        typed = QStringLiteral("4/22");
        typeAhead(genkinLedger, typed);
        QTest::keyClick(genkinLedger, Qt::Key_S, Qt::ControlModifier);
        field = [genkinLedger] {
          auto* edit = genkinLedger->tableView()->findChild<QLineEdit*>();
          return edit && edit->isVisible() ? edit->text() : QString();
        };
        break;
      case Work::SaveFromTrialBalance: {
        auto* trial = shown(ZandakaShisanController::showZandakaShisanWindow(session));
        trial->selectTextField(trial->displayingPeriodFromField());
        trial->selectedTableView()->setFocus();
        user = trial;
        // Down twice on the table, then Tab to the next period field.
        CyouhyouTableView* table = trial->selectedTableView();
        table->setCurrentIndex(table->model()->index(0, 0));
        typed = QStringLiteral("row 2, to");
        typeAheadKey(trial, Qt::Key_Down);
        typeAheadKey(trial, Qt::Key_Down);
        typeAheadKey(trial, Qt::Key_Tab);
        QTest::keyClick(trial, Qt::Key_S, Qt::ControlModifier);
        field = [trial, table] {
          const bool to = trial->selectedTextField() == trial->displayingPeriodToField();
          return QStringLiteral("row %1, %2").arg(table->currentIndex().row()).arg(to ? "to" : "from");
        };
        break;
      }
      case Work::RegisterVoucher: {
        auto* voucher = shown(FurikaedenpyouController::showFurikaedenpyouWindow(session));
        for (const char* t : {"4/15", "100", "1000", "300", "1000"})
          typeInGrid(voucher->denpyouView(), QString::fromUtf8(t));
        user = voucher;
        typed = QStringLiteral("4/16");
        typeAhead(voucher, typed);
        QTest::keyClick(voucher->denpyouView()->fieldEditor(), Qt::Key_Tab);  // registers the voucher
        field = [voucher] { return voucher->denpyouView()->fieldEditor()->text(); };
        break;
      }
      }
      flush();
      EXPECT_EQ(field(), typed);
      EXPECT_FALSE(session->progressStateController()->isVisible());
      EXPECT_EQ(std::pair(app->mainWindowController(), QApplication::activeWindow()),
                std::pair(user, static_cast<QWidget*>(user)));
      // The books behind were brought up to date all the same (a registered voucher
      // leaves them to when they come to the front).
      if (work != Work::RegisterVoucher) {
        for (SuitoucyouController* book : backgroundBooks)
          EXPECT_FALSE(cellText(book, 0, Row::ZandakaMatrix).isEmpty());
      }
      closeNow(session);
    }
  }
}

// Books behind brought up to date on a machine slower than this one, one after the
// other: the sheet shows once the work has lasted the delay, over the user's window and
// without its keyboard, and what the user typed at once, before and while it showed,
// goes on to the field the user is in (an amount, a description), which stays main and
// active.
TEST_F(SuitoucyouControllerTest, KeysTypedWhileABookBehindIsBroughtUpToDateSlowlyReachTheUsersField)
{
  constexpr int32_t kKoguchiGenkin = 101;  // 小口現金
  constexpr int kEntries = 2000;           // a book's steps outlast the delay on the slow machine
  struct Field {
    Row::Column column;
    const char* before;  // typed at once
    const char* while_;  // typed while the sheet shows
  };
  for (const int behind : {1, 2}) {
    for (const Field field : {Field{Row::OutKingakuMatrix, "15", "000"}, Field{Row::TekiyouMatrix, "12", "3"}}) {
      SCOPED_TRACE(testing::Message() << "books behind " << behind << ", column " << field.column);
      auto b = makeBooks({.hojyoKamoku = true});
      const std::vector<int32_t> books =
          behind == 1 ? std::vector<int32_t>{kGenkin} : std::vector<int32_t>{kGenkin, kKoguchiGenkin};
      std::vector<ShiwakePtr> entries;
      for (int i = 0; i < kEntries * behind; ++i)
        entries.push_back(makeCashEntry(Date(2024, 4, 1).addingDays(300 - i * 300 / (kEntries * behind)), i + 1,
                                        books[i % behind], kUriagedaka, 100));
      b->journal().assign(entries);  // newest first: the sort moves every one of them
      b->kaisya().setMinAvailableDenpyouNo(kEntries * behind + 1);
      openDocument(std::move(b));
      std::vector<SuitoucyouController*> backgroundBooks;
      for (const int32_t book : books)
        backgroundBooks.push_back(shown(SuitoucyouController::showSuitoucyouWindow(session, book, -1)));
      SuitoucyouController* front = shown(SuitoucyouController::showSuitoucyouWindow(session, kFutsuuYokin, 1));
      type(front, {"4/10", "300"});
      click(front, front->book().selectedSuitoucyouRow(), field.column);
      ProgressStateController* progress = session->progressStateController();
      bool sheetShown = false;
      ShowWatch watch(progress, [&] { sheetShown = true; });
      typeAhead(front, QString::fromUtf8(field.before));
      bool typedWhileShown = false;
      SlowMachine slow(3 * ModalSession::kShowDelay);
      slow.start([&](qint64) {
        if (progress->isVisible() && !typedWhileShown) {
          typedWhileShown = true;
          EXPECT_EQ(progress->windowModality(), Qt::NonModal);  // the user's window not blocked
          typeAhead(front, QString::fromUtf8(field.while_));
        }
      });
      QTest::keyClick(front, Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
      slow.stop();
      flush();
      EXPECT_TRUE(sheetShown);
      EXPECT_TRUE(typedWhileShown);
      EXPECT_EQ(editor(front)->text(), QString::fromUtf8(field.before) + QString::fromUtf8(field.while_));
      EXPECT_FALSE(progress->isVisible());
      EXPECT_EQ(std::pair(app->mainWindowController(), QApplication::activeWindow()),
                std::pair(static_cast<WindowController*>(front), static_cast<QWidget*>(front)));
      for (SuitoucyouController* book : backgroundBooks)
        EXPECT_FALSE(cellText(book, kEntries - 1, Row::ZandakaMatrix).isEmpty());
      closeNow(session);
    }
  }
}

TEST_F(SuitoucyouControllerTest, LeavingAnInvalidRowShowsItsSheetAndStays)
{
  auto b = makeBooks();
  b->journal().assign({makeCashEntry(Date(2024, 4, 1), 1, kGenkin, kUriagedaka, 100)});
  b->kaisya().setMinAvailableDenpyouNo(2);
  SuitoucyouController* w = openBook(std::move(b));
  ASSERT_EQ(w->selectedSuitoucyouRow(), 1);
  type(w, {"4/10", "300"});
  click(w, 0, Row::TekiyouMatrix);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(std::pair(alerts[0].title, alerts[0].text),
            std::pair(QStringLiteral("無効な仕訳"), QStringLiteral("金額が入力されていません。")));
  EXPECT_EQ(std::pair(w->selectedSuitoucyouRow(), selectedColumn(w)), std::pair(1, Row::InKingakuMatrix));

  // A registered row whose counterpart is emptied is not written back by "日付順に並び替え".
  alerts.clear();
  w->handleChooseRemoveSuitoucyouRow();  // the pending row goes
  click(w, 0, Row::AiteKamokuMatrix);
  editor(w)->selectAll();
  QTest::keyClick(editor(w), Qt::Key_Backspace);
  w->functionMenuAction(QStringLiteral("日付順に並び替え"))->trigger();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].text, QStringLiteral("相手科目が入力されていません。"));
  EXPECT_EQ(books().journal()[0]->kashikataKamokuCode(), kUriagedaka);
}

TEST_F(SuitoucyouControllerTest, TheShortcutDigitMovesToThisBookAndIntoTheMenu)
{
  auto b = makeBooks({.hojyoKamoku = true});
  b->kamokuOfCode(101)->setKeyEquivalentOfSuitoucyouSubMenu(3);
  SuitoucyouController* w = openBook(std::move(b), kFutsuuYokin, 1);
  EXPECT_TRUE(w->windowTitle().contains(QStringLiteral("出納帳（普通預金／みずほ銀行）")));
  EXPECT_EQ(w->shortcutMenu()->actions().size(), 9);
  w->shortcutMenu()->actions()[2]->trigger();  // which book keeps the digit is the model's
  EXPECT_EQ(std::tuple(w->shortcutMenu()->actions()[2]->isChecked(), w->shortcutMenu()->actions()[0]->isChecked(),
                       session->isDocumentEdited()),
            std::tuple(true, false, true));
  QAction* item = nullptr;
  for (QAction* a : w->mainMenu()->suitoucyouMenu()->actions())
    if (QMenu* sub = a->menu())
      for (QAction* s : sub->actions())
        if (s->data().toInt() == 2 * 1000 + kFutsuuYokin) item = s;
  EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_3));
}

TEST_F(SuitoucyouControllerTest, SwitchingBooksThroughTheHeader)
{
  auto b = makeBooks({.hojyoKamoku = true});
  ShiwakePtr bank = makeCashEntry(Date(2024, 4, 1), 1, kFutsuuYokin, kUriagedaka, 100);
  bank->setKarikataHojyoKamokuCode(2);
  bank->setAiteKarikataHojyoKamokuCode(2);
  b->journal().assign({bank});
  b->kaisya().setMinAvailableDenpyouNo(2);
  SuitoucyouController* w = openBook(std::move(b));
  // 現金 has no sub-account to choose.
  EXPECT_EQ(std::tuple(w->displayingKamokuField()->text(), w->selectDisplayingKamokuButton()->isEnabled(),
                       w->functionMenuAction(QStringLiteral("表示する勘定科目..."))->isEnabled(),
                       w->functionMenuAction(QStringLiteral("表示する補助科目..."))->isEnabled()),
            std::tuple(QStringLiteral("現金"), true, true, false));

  EXPECT_TRUE(w->switchToKamokuCode(kFutsuuYokin, 2));
  EXPECT_EQ(std::tuple(w->displayKamokuCode(), w->displayHojyoKamokuCode(), w->displayingHojyoKamokuField()->text(),
                       w->numberOfSuitoucyouRows(), cellText(w, 0, Row::InKingakuMatrix)),
            std::tuple(kFutsuuYokin, 2, QStringLiteral("三井住友銀行"), 2, QStringLiteral("100")));
  EXPECT_EQ(std::pair(w->selectDisplayingHojyoKamokuButton()->isEnabled(),
                      w->windowTitle().contains(QStringLiteral("出納帳（普通預金／三井住友銀行）"))),
            std::pair(true, true));

  // A book already open comes to the front; this window stays as it is.
  SuitoucyouController* genkin = shown(SuitoucyouController::showSuitoucyouWindow(session, kGenkin, -1));
  activate(w);
  EXPECT_TRUE(w->switchToKamokuCode(kGenkin, -1));
  EXPECT_EQ(w->displayKamokuCode(), kFutsuuYokin);
  EXPECT_NE(genkin, w);
  EXPECT_FALSE(w->switchToKamokuCode(kFutsuuYokin, 2));

  // With the counter used up, no row can be added, only the typed one registered.
  books().kaisya().setMinAvailableDenpyouNo(100000);
  w->validateMenuItems();
  for (const char* t : {"行の追加", "行の挿入", "行の複製"})
    EXPECT_FALSE(w->functionMenuAction(QString::fromUtf8(t))->isEnabled()) << t;
  EXPECT_TRUE(w->functionMenuAction(QStringLiteral("行を登録"))->isEnabled());
}

}  // namespace
}  // namespace kivo::test
