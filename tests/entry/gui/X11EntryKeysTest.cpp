// Lines typed into the voucher and the cash book on an X display (CTest runs this suite
// under Xvfb, without a window manager and with one; elsewhere it is skipped), the
// input panels and pickers on, the pointer over no window: the rest of the line typed
// on the keyboard the instant a picker or panel closes, as a very fast hand or a macro
// tool types. The window system's focus never leaves the voucher or cash book, so no
// key falls between two windows, and each cell gets what was typed for it.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <tuple>
#include <utility>

#include "app/AppController.h"
#include "app/WindowCommands.h"
#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/gui/StopKeyDialog.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "journal/gui/ShiwakenikkiDisplayConditionController.h"
#include "platform/KeyRouting.h"
#include "support/DrawnOnScreen.h"
#include "support/XDisplay.h"

namespace kivo::test {
namespace {

// Types the next part of a line on the keyboard each time a picker or an input panel
// hides.
class LineTyping : public QObject {
public:
  LineTyping(const XDisplay& display, std::deque<const char*> parts) : display_(display), parts_(std::move(parts))
  {
    qApp->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() == QEvent::Show && qobject_cast<StopKeyDialog*>(watched)) ++shown;
    if (event->type() == QEvent::Hide && qobject_cast<StopKeyDialog*>(watched) && !parts_.empty()) {
      const char* next = parts_.front();
      parts_.pop_front();
      untyped = untyped || !display_.typeText(next);
    }
    return false;
  }

  // Types the first part.
  void start()
  {
    const char* first = parts_.front();
    parts_.pop_front();
    untyped = untyped || !display_.typeText(first);
  }

  int shown = 0;  // pickers and panels
  bool untyped = false;

private:
  const XDisplay& display_;
  std::deque<const char*> parts_;
};

// The keys each window gets, counted while it lives.
class KeysEachWindowGets : public QObject {
public:
  KeysEachWindowGets() { qApp->installEventFilter(this); }
  ~KeysEachWindowGets() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType())
      ++counts[static_cast<QWidget*>(watched)->window()];
    return false;
  }
  std::map<QWidget*, int> counts;
};

class X11EntryKeysTest : public EntryWindowTest {
protected:
  void SetUp() override
  {
    EntryWindowTest::SetUp();
    for (const char* k : kPanels) UserDefaults::standardUserDefaults().setInteger(1, k);
  }
  void TearDown() override
  {
    for (const char* k : kPanels) UserDefaults::standardUserDefaults().removeObjectForKey(k);
    EntryWindowTest::TearDown();
  }

  // The window, away from the screen's corner, with the keyboard; the pointer in that
  // corner, over no window.
  bool placeWithTheKeyboard(QWidget* window)
  {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window->move(screen.topLeft() + QPoint(40, 40));
    display.movePointerTo(static_cast<int16_t>(screen.right() - 2), static_cast<int16_t>(screen.bottom() - 2));
    return giveKeyboardAndSettle(display, window);
  }

  static constexpr const char* kPanels[] = {KIVOInputTypeForDateKey, KIVOInputTypeForKamokuKey,
                                            KIVOInputTypeForKingakuKey};
  const XDisplay display;
};

// A voucher line: the date panel, the debit account's picker (its first digit opens it
// and begins its search), the amount panel, the credit account's picker and amount
// panel, each part typed as the window before it closes.
TEST_F(X11EntryKeysTest, AVoucherLineTypedAsItsPickersAndPanelsCloseFillsEachCell)
{
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  using Row = FurikaedenpyouRow;
  FurikaedenpyouController* w = openVoucherWindow();
  ASSERT_TRUE(placeWithTheKeyboard(w));
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::DateMatrix);
  const auto cell = [w](Row::Column c) { return w->denpyou().cell(0, c); };

  FocusWatch focus(w->windowHandle());
  LineTyping typing(display, {"4/5\t", "103\t", "2700\t", "300\t", "2700\t"});
  typing.start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return cell(Row::KashikataKingakuMatrix) == FieldValue::amount(2700); }, 5000));
  EXPECT_FALSE(typing.untyped);
  EXPECT_EQ(std::tuple(cell(Row::DateMatrix).dateValue(), cell(Row::KarikataKamokuMatrix),
                       cell(Row::KarikataKingakuMatrix), cell(Row::KashikataKamokuMatrix)),
            std::tuple(Date(2024, 4, 5), FieldValue::code(kFutsuuYokin), FieldValue::amount(2700),
                       FieldValue::code(kUriagedaka)));
  // Five pickers and panels came and went, and the voucher never lost the window
  // system's focus.
  EXPECT_EQ(std::pair(typing.shown, focus.losses()), std::pair(5, 0));
  EXPECT_EQ(display.focus(), XDisplay::idOf(w->windowHandle()));
  EXPECT_TRUE(QTest::qWaitFor([w] { return QGuiApplication::focusWindow() == w->windowHandle(); }, 1000));
}

// A cash-book line: the date panel, the counterpart's picker, the description typed in
// place and the receipt's amount panel.
TEST_F(X11EntryKeysTest, ACashBookLineTypedAsItsPickersAndPanelsCloseFillsEachCell)
{
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  using Row = SuitoucyouRow;
  SuitoucyouController* w = openBook();
  ASSERT_TRUE(placeWithTheKeyboard(w));
  w->deselectSelectedCellAndThenSelectSuitoucyouRow(0, Row::DateMatrix);
  EntryGridView* grid = w->suitoucyouView();
  const auto text = [grid](Row::Column c) { return grid->delegate()->stringValue(0, c); };

  FocusWatch focus(w->windowHandle());
  LineTyping typing(display, {"4/5\t", "300\t", "qac\t2505\t"});
  typing.start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return text(Row::InKingakuMatrix) == QStringLiteral("2,505"); }, 5000))
      << text(Row::InKingakuMatrix).toStdString();
  EXPECT_FALSE(typing.untyped);
  EXPECT_EQ(std::tuple(w->book().cell(0, Row::DateMatrix).dateValue(), w->book().cell(0, Row::AiteKamokuMatrix),
                       text(Row::TekiyouMatrix)),
            std::tuple(Date(2024, 4, 5), FieldValue::code(kUriagedaka), QStringLiteral("qac")));
  EXPECT_EQ(std::pair(typing.shown, focus.losses()), std::pair(3, 0));
  EXPECT_EQ(display.focus(), XDisplay::idOf(w->windowHandle()));
}

// しまう (Ctrl+M) on the voucher, and keys typed at once: the voucher goes from the
// screen, a window manager or none, and the keys reach the cash book under it, which
// gets the keyboard; none goes into the voucher the user no longer sees.
TEST_F(X11EntryKeysTest, KeysTypedAtOnceAfterMinimizingTheVoucherReachTheWindowUnderIt)
{
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  for (const char* k : kPanels) UserDefaults::standardUserDefaults().removeObjectForKey(k);
  SuitoucyouController* book = openBook();
  ASSERT_TRUE(placeWithTheKeyboard(book));
  FurikaedenpyouController* voucher = shown(FurikaedenpyouController::showFurikaedenpyouWindow(session));
  ASSERT_TRUE(placeWithTheKeyboard(voucher));
  KeysEachWindowGets keys;

  app->performCommand(MainMenu::Command::MinimizeWindow, nullptr);
  ASSERT_TRUE(display.typeText("qac"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return keys.counts[book] >= 3; }, 3000)) << keys.counts[book];
  EXPECT_EQ(keys.counts[voucher], 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !display.isViewable(voucher->windowHandle()); }, 3000));
  EXPECT_EQ(display.focus(), XDisplay::idOf(book->windowHandle()));
  EXPECT_EQ(QGuiApplication::focusWindow(), book->windowHandle());
  // Back from the ウインドウ menu, it has the keyboard again.
  voucher->showWindow();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == voucher->windowHandle(); }, 3000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return display.isViewable(voucher->windowHandle()); }, 3000));
}

// しまう, time after time: the window system's focus goes from the voucher straight to
// the cash book under it, never through no window (where a window manager told of the
// minimizing first puts it on its way), so no key typed then is lost.
TEST_F(X11EntryKeysTest, MinimizingTheVoucherHandsTheFocusStraightToTheWindowUnderIt)
{
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  SuitoucyouController* book = openBook();
  ASSERT_TRUE(placeWithTheKeyboard(book));
  FurikaedenpyouController* voucher = shown(FurikaedenpyouController::showFurikaedenpyouWindow(session));
  for (int time = 0; time < 5; ++time) {
    ASSERT_TRUE(placeWithTheKeyboard(voucher));
    FocusWatch screen = FocusWatch::ofTheScreen();
    app->performCommand(MainMenu::Command::MinimizeWindow, nullptr);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          return display.focus() == XDisplay::idOf(book->windowHandle()) &&
                 !display.isViewable(voucher->windowHandle());
        },
        3000));
    QTest::qWait(50);  // what the window manager does about it, done
    EXPECT_EQ(screen.timesOnNoWindow(), 0) << "time " << time;
    voucher->showWindow();
  }
}

// Runs the steps once in the next picker or input panel to come up, from within its own
// run (which the test's waits would otherwise never leave), once it has the keyboard
// within the program and is on the screen.
class InTheNextPicker : public QObject {
public:
  explicit InTheNextPicker(std::function<void(StopKeyDialog*)> steps) : steps_(std::move(steps))
  {
    qApp->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    auto* dialog = qobject_cast<StopKeyDialog*>(watched);
    if (event->type() != QEvent::Show || !dialog || !steps_) return false;
    QTimer::singleShot(0, dialog, [this, dialog = QPointer<StopKeyDialog>(dialog)] {
      if (!steps_) return;
      const std::function<void(StopKeyDialog*)> steps = std::exchange(steps_, nullptr);
      const bool ready = QTest::qWaitFor(
          [dialog] { return !dialog || QGuiApplication::focusWindow() == dialog->windowHandle(); }, 5000);
      if (ready && dialog && QTest::qWaitForWindowExposed(dialog)) {
        QTest::qWait(50);
        if (dialog) steps(dialog);
      }
      ran = true;
      // A fault found leaves it open: it ends, so that the test goes on.
      if (dialog && dialog->isVisible()) dialog->reject();
    });
    return false;
  }

  bool ran = false;

private:
  std::function<void(StopKeyDialog*)> steps_;
};

// A picker or an input panel open, and the keyboard taken by a click on the desktop or
// on another application's window: a click into the picker or panel (its field, its
// list, its title bar) gives it the keys again, and the rest of the line goes into it.
TEST_F(X11EntryKeysTest, AClickIntoAPickerOrPanelGivesItTheKeysAgain)
{
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  using Row = FurikaedenpyouRow;
  FurikaedenpyouController* w = openVoucherWindow();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const OtherApplication other(QRect(screen.right() - 260, screen.bottom() - 220, 200, 150));
  ASSERT_TRUE(QTest::qWaitFor([&] { return other.isViewable(); }, 5000));
  const xcb_window_t voucher = XDisplay::idOf(w->windowHandle());

  enum class Into { Field, List, TitleBar };
  struct Case {
    Row::Column column;
    const char* opening;
    Into into;
    const char* rest;
    FieldValue value;
  };
  const Case cases[] = {
      {Row::DateMatrix, "4", Into::Field, "/5\t", FieldValue::date(Date(2024, 4, 5))},
      {Row::KarikataKingakuMatrix, "2", Into::Field, "700\t", FieldValue::amount(2700)},
      {Row::KarikataKamokuMatrix, "1", Into::Field, "03\t", FieldValue::code(kFutsuuYokin)},
      {Row::KarikataKamokuMatrix, "3", Into::List, "00\t", FieldValue::code(kUriagedaka)},
      {Row::KarikataKamokuMatrix, "1", Into::TitleBar, "00\t", FieldValue::code(kGenkin)},
  };
  for (const bool desktop : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(desktop ? "the desktop, " : "another application, ") + c.opening + c.rest);
      ASSERT_TRUE(placeWithTheKeyboard(w));
      w->denpyou().setCell(0, c.column, FieldValue());
      w->deselectSelectedCellAndThenSelectDenpyouRow(0, c.column);
      bool noTitleBar = false;
      InTheNextPicker steps([&](StopKeyDialog* dialog) {
        // Away: the desktop (under no window), or the other application.
        if (desktop)
          display.clickAt(screen.bottomRight() - QPoint(2, 2));
        else
          other.click(display);
        // (the desktop takes none without a window manager)
        static_cast<void>(QTest::qWaitFor([&] { return display.focus() != voucher; }, 1000));
        QTest::qWait(100);
        // Back: a click into the picker or panel.
        QPoint at;
        if (c.into == Into::Field) {
          // At its end, where the caret stays after what was typed (an amount stands
          // on the right).
          auto* field = dialog->findChild<QLineEdit*>();
          at = field->mapToGlobal(QPoint(field->width() - 4, field->height() / 2));
        } else if (c.into == Into::List) {
          auto* list = dialog->findChild<QAbstractItemView*>();
          ASSERT_TRUE(list);
          at = list->viewport()->mapToGlobal(list->viewport()->rect().center());
        } else {
          noTitleBar = dialog->frameGeometry().top() >= dialog->geometry().top();
          if (noTitleBar) return;  // without a window manager
          at = QPoint(dialog->frameGeometry().center().x(),
                      (dialog->frameGeometry().top() + dialog->geometry().top()) / 2);
        }
        display.clickAt(at);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return display.focus() == voucher && QGuiApplication::focusWindow() == dialog->windowHandle(); },
            3000))
            << "the window system's focus is on " << display.focus() << ", the voucher is " << voucher;
        ASSERT_TRUE(display.typeText(c.rest));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 3000))
            << dialog->findChild<QLineEdit*>()->text().toStdString();
      });
      ASSERT_TRUE(display.typeText(c.opening));
      ASSERT_TRUE(QTest::qWaitFor([&] { return steps.ran && !StopKeyDialog::runningDialog(); }, 15000));
      if (noTitleBar) continue;
      EXPECT_TRUE(QTest::qWaitFor([&] { return w->denpyou().cell(0, c.column) == c.value; }, 1000))
          << w->denpyouView()->delegate()->stringValue(0, c.column).toStdString();
    }
  }
}

// The voucher's alert left up (「未登録の伝票」), the document window clicked, and the
// journal, a ledger or a cash book opened in front of it: Ctrl+W and Return typed at
// once close that window, and the Return, sent to it, never answers the voucher's
// alert: it stays up, and the voucher stays behind. Nor when the keyboard goes back to
// the alert itself, which had it before that window.
TEST_F(X11EntryKeysTest, AKeyForAWindowThatClosedNeverAnswersAnotherWindowsAlert)
{
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  const auto [returnKey, w, unused] = display.keycodesOf({0xff0d, 'w', 'x'});
  ASSERT_TRUE(returnKey && w);
  AlertSheet::setResponderForTesting({});
  FurikaedenpyouController* voucher = openVoucherWindow();
  ASSERT_TRUE(placeWithTheKeyboard(voucher));
  voucher->showFurikaedenpyouBookmarkWindow();
  QPointer<QMessageBox> alert;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        alert = voucher->findChild<QMessageBox*>();
        return alert && alert->isVisible() && QGuiApplication::focusWindow() == alert->windowHandle();
      },
      5000));
  ASSERT_TRUE(test::waitUntilDrawn(alert));
  WindowController* info = session->showDocumentInfoWindow();
  info->move(QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(100, 300));

  const std::pair<const char*, std::function<WindowController*()>> windows[] = {
      {"the journal", [&]() -> WindowController* { return ShiwakenikkiController::showShiwakenikkiWindow(session); }},
      {"a ledger",
       [&]() -> WindowController* {
         return KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(session, kGenkin, -1);
       }},
      {"a cash book",
       [&]() -> WindowController* { return SuitoucyouController::showSuitoucyouWindow(session, kGenkin, -1); }},
  };
  // The window that had the keyboard before the one opened: the document window (the
  // keyboard goes back there), or the alert itself (clicked, then the journal: the
  // keyboard goes back to the alert, which still takes no key sent to the journal).
  for (QWidget* before : {static_cast<QWidget*>(info), static_cast<QWidget*>(alert.data())}) {
    for (const auto& [what, open] : windows) {
      SCOPED_TRACE(std::string(what) + (before == info ? ", over the document window" : ", after the alert"));
      ASSERT_TRUE(alert);
      ASSERT_TRUE(giveKeyboardAndSettle(display, before));
      QPointer<WindowController> front = open();
      flush();
      // The journal asks what to show first.
      auto* conditions = session->ownedControllerAs<ShiwakenikkiDisplayConditionController>(
          DocumentSession::OwnedController::ShiwakenikkiDisplayCondition);
      if (conditions && conditions->isSheetAttached()) conditions->okButton()->click();
      ASSERT_TRUE(giveKeyboardAndSettle(display, front));
      // Both typed before the program reads either: the X server sends the Return to the
      // window that Ctrl+W closes.
      display.typeWithControl(w);
      display.type(returnKey);
      EXPECT_TRUE(QTest::qWaitFor([&] { return !front || !front->isVisible(); }, 3000));
      QTest::qWait(KeyRouting::kWaitForKeyboard + 200);
      ASSERT_TRUE(alert);
      EXPECT_TRUE(alert->isVisible());
    }
  }
  if (alert) alert->buttons().front()->click();
  flush();
}

// The voucher minimized while its date or amount panel or a picker is open (by the
// window manager's button, or the picker's own; without a window manager, by the
// program): the panel or picker ends as if cancelled, so that nothing typed after it
// goes into a window the user cannot see, and the information window answers clicks.
// The next panel opens on the screen, and the voucher stays there with it.
TEST_F(X11EntryKeysTest, APickerOrPanelWhoseWindowIsMinimizedEndsAsIfCancelled)
{
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  using Row = FurikaedenpyouRow;
  WindowCommands::installCommandHandlers(app.get());
  FurikaedenpyouController* w = openVoucherWindow();
  WindowController* info = session->showDocumentInfoWindow();
  info->move(QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(100, 520));
  QPushButton* voucherButton = nullptr;
  for (auto* b : info->findChildren<QPushButton*>())
    if (b->text() == QString::fromUtf8(MainMenu::kFurikaedenpyouItemTitle)) voucherButton = b;
  ASSERT_TRUE(voucherButton);

  const std::tuple<Row::Column, const char*, bool> cases[] = {
      {Row::KarikataKingakuMatrix, "1", false},
      {Row::DateMatrix, "4", false},
      {Row::KarikataKamokuMatrix, "1", false},
      {Row::KarikataKamokuMatrix, "1", true},
  };
  for (const auto& [column, opening, itself] : cases) {
    SCOPED_TRACE(std::string(opening) + (itself ? ", the picker minimized" : ", the voucher minimized") +
                 " in column " + std::to_string(column));
    w->showWindow();
    ASSERT_TRUE(placeWithTheKeyboard(w));
    w->denpyou().setCell(0, column, FieldValue());
    w->deselectSelectedCellAndThenSelectDenpyouRow(0, column);
    InTheNextPicker steps([&, itself = itself](StopKeyDialog* dialog) {
      QWidget* minimized = itself ? static_cast<QWidget*>(dialog) : w;
      if (XDisplay::hasWindowManager())
        display.minimizeByWindowManager(minimized->windowHandle());
      else
        minimized->showMinimized();
      EXPECT_TRUE(QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 3000));
      // Typed on, wherever the keyboard went.
      ASSERT_TRUE(display.typeText("\t200\t"));
      QTest::qWait(300);
    });
    ASSERT_TRUE(display.typeText(opening));
    ASSERT_TRUE(QTest::qWaitFor([&] { return steps.ran && !StopKeyDialog::runningDialog(); }, 15000));
    QTest::qWait(100);
    EXPECT_EQ(w->denpyou().cell(0, column), FieldValue());
    EXPECT_EQ(books().journal().size(), 0u);
    // A click on the information window's button acts: the voucher is back.
    ASSERT_TRUE(giveKeyboardAndSettle(display, info));
    display.clickAt(voucherButton->mapToGlobal(voucherButton->rect().center()));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          return QGuiApplication::focusWindow() == w->windowHandle() && display.isViewable(w->windowHandle()) &&
                 !w->isMinimized();
        },
        3000));
  }

  // The next panel, on the screen with the voucher.
  w->showWindow();
  ASSERT_TRUE(placeWithTheKeyboard(w));
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::KarikataKingakuMatrix);
  InTheNextPicker steps([&](StopKeyDialog* dialog) {
    QTest::qWait(200);
    EXPECT_TRUE(display.isViewable(dialog->windowHandle()));
    EXPECT_FALSE(dialog->isMinimized());
    EXPECT_TRUE(display.isViewable(w->windowHandle()));
    EXPECT_FALSE(w->isMinimized());
    ASSERT_TRUE(display.typeText("300\t"));
    EXPECT_TRUE(QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 3000));
  });
  ASSERT_TRUE(display.typeText("1"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return steps.ran && !StopKeyDialog::runningDialog(); }, 15000));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return w->denpyou().cell(0, Row::KarikataKingakuMatrix) == FieldValue::amount(1300); }, 1000));
}

// Without a window manager, a click on another document's voucher while a picker is open
// is ignored, and changes nothing: after Escape and しまう (Ctrl+M) the keys go to the
// window that had the keyboard before this voucher, not to the voucher clicked. The
// window the program gives the keyboard comes to the front, out from under that voucher,
// so the user sees where the keys go. (A window manager gives the keyboard to the window
// clicked, and brings it to the front, whatever the program does with the click.)
TEST_F(X11EntryKeysTest, AClickIgnoredWhileAPickerIsOpenChangesNothing)
{
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  if (XDisplay::hasWindowManager()) GTEST_SKIP() << "the window manager gives the keyboard to the window clicked";
  const auto [escape, m, unused] = display.keycodesOf({0xff1b, 'm', 'x'});
  ASSERT_TRUE(escape && m);
  const QPoint origin = QGuiApplication::primaryScreen()->geometry().topLeft();
  // The other document, its voucher partly over this document's information window.
  openDocument();
  DocumentSession* other = session;
  other->showDocumentInfoWindow()->move(origin + QPoint(0, 620));
  openDocument();
  WindowController* info = session->showDocumentInfoWindow();
  info->move(origin + QPoint(280, 280));
  FurikaedenpyouController* otherVoucher = shown(FurikaedenpyouController::showFurikaedenpyouWindow(other));
  otherVoucher->move(origin + QPoint(600, 330));
  otherVoucher->raise();
  // Its description typed in place: a key that reaches it opens no panel.
  otherVoucher->deselectSelectedCellAndThenSelectDenpyouRow(0, FurikaedenpyouRow::TekiyouMatrix);
  ASSERT_TRUE(giveKeyboardAndSettle(display, info));
  FurikaedenpyouController* voucher = shown(FurikaedenpyouController::showFurikaedenpyouWindow(session));
  ASSERT_TRUE(placeWithTheKeyboard(voucher));
  const QPoint onTheOtherVoucher = origin + QPoint(1100, 700);

  voucher->deselectSelectedCellAndThenSelectDenpyouRow(0, FurikaedenpyouRow::KarikataKamokuMatrix);
  InTheNextPicker steps([&](StopKeyDialog* dialog) {
    display.clickAt(onTheOtherVoucher);
    QTest::qWait(300);
    EXPECT_EQ(QGuiApplication::focusWindow(), dialog->windowHandle());
    display.type(escape);
    EXPECT_TRUE(QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 3000));
  });
  ASSERT_TRUE(display.typeText("1"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return steps.ran && !StopKeyDialog::runningDialog(); }, 15000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == voucher->windowHandle(); }, 3000));

  KeysEachWindowGets keys;
  display.typeWithControl(m);
  ASSERT_TRUE(display.typeText("qac"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return keys.counts[info] >= 3; }, 3000)) << keys.counts[info];
  EXPECT_EQ(keys.counts[otherVoucher], 0);
  EXPECT_EQ(display.focus(), XDisplay::idOf(info->windowHandle()));
  EXPECT_TRUE(display.isAbove(info->windowHandle(), otherVoucher->windowHandle()));
}

}  // namespace
}  // namespace kivo::test
