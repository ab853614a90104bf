// Lines typed into the voucher and the cash book on an X display (CTest runs this suite
// under Xvfb, without a window manager and with one; elsewhere it is skipped), the
// input panels and pickers on, the pointer over no window: the rest of the line typed
// on the keyboard the instant a picker or panel closes, as a very fast hand or a macro
// tool types. The window system's focus never leaves the voucher or cash book, so no
// key falls between two windows, and each cell gets what was typed for it.
#include <gtest/gtest.h>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <deque>
#include <map>
#include <tuple>
#include <utility>

#include "app/AppController.h"
#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/gui/StopKeyDialog.h"
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
  // The keys each window gets.
  struct KeyCount : QObject {
    bool eventFilter(QObject* watched, QEvent* event) override
    {
      if (event->type() == QEvent::KeyPress && watched->isWidgetType())
        ++counts[static_cast<QWidget*>(watched)->window()];
      return false;
    }
    std::map<QWidget*, int> counts;
  } keys;
  qApp->installEventFilter(&keys);

  app->performCommand(MainMenu::Command::MinimizeWindow, nullptr);
  ASSERT_TRUE(display.typeText("qac"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return keys.counts[book] >= 3; }, 3000)) << keys.counts[book];
  EXPECT_EQ(keys.counts[voucher], 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !display.isViewable(voucher->windowHandle()); }, 3000));
  EXPECT_EQ(display.focus(), XDisplay::idOf(book->windowHandle()));
  EXPECT_EQ(QGuiApplication::focusWindow(), book->windowHandle());
  qApp->removeEventFilter(&keys);
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

}  // namespace
}  // namespace kivo::test
