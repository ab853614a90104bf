// The keys typed at once after the key that answers an alert, a question, a sheet or a
// panel, on an X display (CTest runs this suite under Xvfb; elsewhere it is skipped).
// The X server sends every key to the window that has the keyboard, and on a busy
// machine the answered window keeps it until the program has read the answer: the keys
// typed meanwhile are addressed to that window, which the program has hidden, or
// deleted, by the time it reads them. They reach the window that gets the keyboard
// back, in order.
#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <utility>

#include "platform/AlertSheet.h"
#include "platform/KeyRouting.h"
#include "platform/KeyboardReturn.h"
#include "platform/SheetController.h"
#include "platform/WindowController.h"
#include "support/DrawnOnScreen.h"
#include "support/OnceHidden.h"
#include "support/XDisplay.h"

namespace kivo {
namespace {

using test::FocusWatch;
using test::OnceHidden;
using test::XDisplay;

class ChoiceSheet : public SheetController {
public:
  ChoiceSheet() : ok(new QPushButton(QStringLiteral("OK"), this))
  {
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { endSheetWithSender(ok); });
  }
  QPushButton* ok;

protected:
  QAbstractButton* okButton() const override { return ok; }
};

// The modal window once it has the keyboard, or nullptr after five seconds.
QWidget* modalWithTheKeyboard()
{
  QWidget* modal = nullptr;
  const bool has = QTest::qWaitFor(
      [&] {
        modal = QApplication::activeModalWidget();
        return modal && QGuiApplication::focusWindow() == modal->windowHandle();
      },
      5000);
  return has ? modal : nullptr;
}

// A window whose field takes the keys, shown beside the scene's window.
QLineEdit* showBesideTheScene(QMainWindow& window, const QRect& screen)
{
  auto* field = new QLineEdit(&window);
  window.setCentralWidget(field);
  window.setGeometry(screen.x() + 500, screen.y() + 40, 300, 200);
  window.show();
  return field;
}

// The pointer in the screen's corner, over no window.
void movePointerOverNoWindow(const XDisplay& display, const QRect& screen)
{
  display.movePointerTo(static_cast<int16_t>(screen.right() - 2), static_cast<int16_t>(screen.bottom() - 2));
}

// A window whose field has the keyboard, and a window over it that can be answered.
struct Scene {
  enum class Kind { Alert, DeleteConfirmation, Question, Panel, Sheet };

  explicit Scene(const QRect& geometry) : field(new QLineEdit(&window))
  {
    window.setCentralWidget(field);
    window.setGeometry(geometry);
    window.show();
    hasTheKeyboard = KeyboardReturn::giveKeyboardTo(&window);
    field->setFocus();
  }

  // Shows the kind of window over the window and has `answer` answer it, once shown (a
  // question or a panel from within the loop it runs, deleted by its caller once it
  // has its answer, as the program's own are).
  void showAndAnswer(Kind kind, const std::function<void()>& answer)
  {
    switch (kind) {
    case Kind::Alert:
      AlertSheet::beginAlertSheet(&window, QStringLiteral("無効な仕訳"), QStringLiteral("説明"),
                                  [this] { answered = true; });
      answer();
      break;
    case Kind::DeleteConfirmation:
      AlertSheet::beginDeleteConfirmationSheet(&window, QStringLiteral("削除"), QStringLiteral("説明"),
                                               [this](bool) { answered = true; });
      answer();
      break;
    case Kind::Question:
      QTimer::singleShot(0, answer);
      AlertSheet::runQuestion(&window, QStringLiteral("保存しますか?"), QStringLiteral("説明"),
                              {QStringLiteral("保存"), QStringLiteral("キャンセル")}, 1);
      answered = true;
      break;
    case Kind::Panel: {
      QTimer::singleShot(0, answer);
      KeyboardReturn back(&window);
      auto panel = std::make_unique<QDialog>(&window);
      auto* ok = new QPushButton(QStringLiteral("OK"), panel.get());
      ok->setDefault(true);
      QObject::connect(ok, &QPushButton::clicked, panel.get(), &QDialog::accept);
      back.exec(*panel);
      panel.reset();
      answered = true;
      break;
    }
    case Kind::Sheet:
      sheet.beginSheet(&window, [this](int) { answered = true; });
      answer();
      break;
    }
  }

  // Answered, and the field holds the text, within three seconds.
  ::testing::AssertionResult endsWith(const QString& text) const
  {
    if (QTest::qWaitFor([&] { return answered && field->text() == text; }, 3000)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "answered " << answered << ", the field holds \""
                                         << field->text().toStdString() << "\"";
  }

  QMainWindow window;
  QLineEdit* field;
  ChoiceSheet sheet;
  bool hasTheKeyboard = false;
  bool answered = false;
};

// Return, then "1" and "2" typed at once: the X server addresses all three to the
// answered window, the last two read by the program only once it has handled the
// answer. They end in the field of the window the keyboard goes back to, for an alert
// sheet and a delete confirmation (their boxes deleted once answered), a question and a
// panel run to their answer (deleted by their caller), and a sheet (kept, hidden).
TEST(X11KeysTest, KeysTypedAtOnceAfterTheAnswerReachTheWindowThatGetsTheKeyboardBack)
{
  const XDisplay display;
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  const auto [returnKey, one, two] = display.keycodesOf({0xff0d, '1', '2'});
  ASSERT_TRUE(returnKey && one && two);

  using Kind = Scene::Kind;
  const std::pair<Kind, const char*> kinds[] = {{Kind::Alert, "an alert sheet"},
                                                {Kind::DeleteConfirmation, "a delete confirmation"},
                                                {Kind::Question, "a question"},
                                                {Kind::Panel, "a panel"},
                                                {Kind::Sheet, "a sheet"}};
  for (const auto& [kind, what] : kinds) {
    SCOPED_TRACE(what);
    Scene scene(QRect(0, 0, 400, 200));
    ASSERT_TRUE(scene.hasTheKeyboard);
    // Once the modal window has the keyboard: Return to it, and as the program reads
    // that Return, "1" and "2", which the X server addresses to it too.
    scene.showAndAnswer(kind, [&] {
      QWidget* modal = modalWithTheKeyboard();
      ASSERT_TRUE(modal);
      QWindow* handle = modal->windowHandle();
      new OnceHidden(modal, [&display, handle, one, two] {
        display.typeTo(handle, one);
        display.typeTo(handle, two);
      });
      display.typeTo(handle, returnKey);
    });
    EXPECT_TRUE(scene.endsWith(QStringLiteral("12")));
    EXPECT_EQ(QGuiApplication::focusWindow(), scene.window.windowHandle());
  }
}

// Keys typed on the keyboard as the answered window goes, the pointer over no window of
// the program's: the X server gives them to whichever window has the keyboard at that
// moment. The answered window hands the keyboard to its window before it goes, so they
// reach that window's field, and none falls to the screen's root window (without a
// window manager) or to the window manager's own.
TEST(X11KeysTest, KeysTypedAsTheAnsweredWindowGoesReachItsWindowWhereverThePointerIs)
{
  const XDisplay display;
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  const auto [returnKey, one, two] = display.keycodesOf({0xff0d, '1', '2'});
  ASSERT_TRUE(returnKey && one && two);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();

  using Kind = Scene::Kind;
  const std::pair<Kind, const char*> kinds[] = {{Kind::Alert, "an alert sheet"},
                                                {Kind::Question, "a question"},
                                                {Kind::Panel, "a panel"},
                                                {Kind::Sheet, "a sheet"}};
  for (const auto& [kind, what] : kinds) {
    SCOPED_TRACE(what);
    Scene scene(QRect(screen.x() + 40, screen.y() + 40, 400, 200));
    ASSERT_TRUE(scene.hasTheKeyboard);
    // Away from the window and its alert.
    movePointerOverNoWindow(display, screen);
    // Return on the keyboard once the modal window has it; "1" and "2" as the answer
    // hides that window.
    scene.showAndAnswer(kind, [&] {
      QWidget* modal = modalWithTheKeyboard();
      ASSERT_TRUE(modal);
      ASSERT_TRUE(test::waitUntilDrawn(modal));
      new OnceHidden(modal, [&display, one, two] {
        display.type(one);
        display.type(two);
      });
      display.type(returnKey);
    });
    EXPECT_TRUE(scene.endsWith(QStringLiteral("12")));
  }
}

// A name typed at once after the Return that chooses a menu's item, which opens a panel:
// the X server addresses the keys to the menu, which has the keyboard until the program
// has read the Return, and whose window goes as the menu closes, before the program
// reads them. They reach the panel's field, and the Return typed after them answers it.
TEST(X11KeysTest, KeysTypedAtOnceAfterTheMenuItemThatOpensAPanelReachThePanel)
{
  const XDisplay display;
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  const auto [returnKey, one, two] = display.keycodesOf({0xff0d, '1', '2'});
  ASSERT_TRUE(returnKey && one && two);

  Scene scene(QRect(0, 0, 400, 200));
  ASSERT_TRUE(scene.hasTheKeyboard);
  QMainWindow& window = scene.window;

  QMenu menu(&window);
  QAction* item = menu.addAction(QStringLiteral("テキストファイルに書き出す..."));
  bool answered = false;
  QString name;
  QObject::connect(item, &QAction::triggered, &window, [&] {
    KeyboardReturn back(&window);
    QDialog panel(&window);
    auto* nameField = new QLineEdit(&panel);
    auto* save = new QPushButton(QStringLiteral("保存"), &panel);
    save->setDefault(true);
    QObject::connect(save, &QPushButton::clicked, &panel, &QDialog::accept);
    QObject::connect(&panel, &QDialog::finished, &panel, [&] { name = nameField->text(); });
    // Given up on when the Return never reaches it.
    QTimer::singleShot(3000, &panel, &QDialog::reject);
    answered = back.exec(panel) == QDialog::Accepted;
  });

  // The Return read by the shown menu, and "1", "2" and Return typed at once after it,
  // which the X server addresses to the menu too, sent as it hides.
  struct ReturnWatch : QObject {
    bool eventFilter(QObject* menu, QEvent* event) override
    {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_Return && static_cast<QMenu*>(menu)->isVisible())
        read = true;
      if (event->type() == QEvent::Hide && read && typeAtOnce) std::exchange(typeAtOnce, nullptr)();
      return false;
    }
    bool read = false;
    std::function<void()> typeAtOnce;
  } watch;
  menu.installEventFilter(&watch);
  // A window manager may still take the keyboard from the window a moment after it had
  // it, settling the windows of the tests before, which closes the menu before it reads
  // the Return: the menu is opened again then.
  for (int attempt = 1; attempt <= 3 && !watch.read; ++attempt) {
    ASSERT_TRUE(KeyboardReturn::giveKeyboardTo(&window));
    menu.popup(window.mapToGlobal(QPoint(20, 20)));
    menu.setActiveAction(item);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu.isVisible() && menu.windowHandle(); }, 5000));
    const auto menuWindow = static_cast<xcb_window_t>(menu.windowHandle()->winId());
    watch.typeAtOnce = [&display, menuWindow, one, two, returnKey] {
      for (const xcb_keycode_t code : {one, two, returnKey}) display.typeTo(menuWindow, code);
    };
    display.typeTo(menuWindow, returnKey);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.read || !menu.isVisible(); }, 5000));
  }

  EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));
  EXPECT_EQ(name, QStringLiteral("12"));
  EXPECT_TRUE(scene.field->text().isEmpty()) << scene.field->text().toStdString();
}

// Keys the X server addressed to a window that has closed by the time the program reads
// them (on a busy machine, every key typed meanwhile): a window closed by the program
// (Ctrl+W), kept or deleted, and a menu closed by Escape. They reach the field of the
// window that gets the keyboard, in order, and none goes into the closed window.
TEST(X11KeysTest, KeysSentToAWindowThatHasClosedReachTheWindowThatGetsTheKeyboard)
{
  const XDisplay display;
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  const auto [escape, one, two] = display.keycodesOf({0xff1b, '1', '2'});
  ASSERT_TRUE(escape && one && two);

  enum class Closing { Kept, Deleted, Menu };
  for (const Closing closing : {Closing::Kept, Closing::Deleted, Closing::Menu}) {
    SCOPED_TRACE(static_cast<int>(closing));
    Scene scene(QRect(0, 0, 400, 200));
    ASSERT_TRUE(scene.hasTheKeyboard);
    scene.answered = true;  // nothing to answer here
    if (closing == Closing::Menu) {
      QMenu menu(&scene.window);
      menu.addAction(QStringLiteral("閉じる"));
      menu.popup(scene.window.mapToGlobal(QPoint(20, 20)));
      ASSERT_TRUE(QTest::qWaitFor([&] { return menu.isVisible() && menu.windowHandle(); }, 5000));
      QTest::qWait(50);
      // Escape and the keys after it, all sent to the menu before the program reads any.
      for (const xcb_keycode_t code : {escape, one, two}) display.typeTo(menu.windowHandle(), code);
      EXPECT_TRUE(scene.endsWith(QStringLiteral("12")));
      EXPECT_FALSE(menu.isVisible());
      continue;
    }
    auto other = std::make_unique<QMainWindow>();
    auto* otherField = new QLineEdit(other.get());
    other->setCentralWidget(otherField);
    other->setGeometry(420, 0, 300, 200);
    other->show();
    ASSERT_TRUE(KeyboardReturn::giveKeyboardTo(other.get()));
    otherField->setFocus();
    // "1" and "2" sent to the other window, then the program closes it before it reads
    // them.
    const auto id = static_cast<xcb_window_t>(other->windowHandle()->winId());
    display.typeTo(id, one);
    display.typeTo(id, two);
    other->close();
    if (closing == Closing::Deleted) other.reset();
    EXPECT_TRUE(scene.endsWith(QStringLiteral("12")));
    if (other) { EXPECT_EQ(otherField->text(), QString()); }
  }
}

// When the window that has the keyboard closes, the window that had it before gets it,
// as a window manager would give it, and without one too; what is typed next reaches it,
// wherever the pointer is. The keys typed as the window goes (its close read, its
// window not yet gone) reach it too: the keyboard goes from one window of the program's
// straight to the other, never to the root window or the window manager's own.
TEST(X11KeysTest, TheWindowThatHadTheKeyboardBeforeGetsItWhenOneClosesWithTheKeysTypedAsItGoes)
{
  const XDisplay display;
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  const auto [one, two, unused] = display.keycodesOf({'1', '2', '3'});
  ASSERT_TRUE(one && two);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();

  Scene scene(QRect(screen.x() + 40, screen.y() + 40, 400, 200));
  ASSERT_TRUE(scene.hasTheKeyboard);
  scene.answered = true;  // nothing to answer here
  QMainWindow other;
  showBesideTheScene(other, screen);
  ASSERT_TRUE(giveKeyboardAndSettle(display, &other));
  movePointerOverNoWindow(display, screen);
  other.close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == scene.window.windowHandle(); }, 3000));
  display.type(one);
  display.type(two);
  EXPECT_TRUE(scene.endsWith(QStringLiteral("12")));

  // A document window closed (Ctrl+W), and keys typed as it goes: the keyboard went on
  // to the window before, so they reach it too.
  WindowController document(nullptr);
  document.setGeometry(screen.x() + 500, screen.y() + 40, 300, 200);
  document.show();
  ASSERT_TRUE(giveKeyboardAndSettle(display, &document));
  new OnceHidden(&document, [&display, one, two] {
    display.type(one);
    display.type(two);
  });
  document.close();
  EXPECT_TRUE(scene.endsWith(QStringLiteral("1212")));
}

// An alert over a window in the background (the keyboard was on another window when it
// came): answered, the keyboard goes straight back to the window it is over, and the keys
// typed as it goes reach that window, not the one that had the keyboard before the alert;
// also when that other window had the keyboard again while the alert was up (a click
// there, then on the alert).
TEST(X11KeysTest, KeysTypedAsAnAlertOverAWindowInTheBackgroundGoesReachThatWindow)
{
  const XDisplay display;
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  const auto [returnKey, one, two] = display.keycodesOf({0xff0d, '1', '2'});
  ASSERT_TRUE(returnKey && one && two);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();

  for (const bool otherWindowInBetween : {false, true}) {
    SCOPED_TRACE(otherWindowInBetween ? "the other window in between" : "straight");
    Scene scene(QRect(screen.x() + 40, screen.y() + 40, 400, 200));
    ASSERT_TRUE(scene.hasTheKeyboard);
    QMainWindow other;
    QLineEdit* otherField = showBesideTheScene(other, screen);
    ASSERT_TRUE(giveKeyboardAndSettle(display, &other));
    movePointerOverNoWindow(display, screen);
    std::unique_ptr<FocusWatch> otherFocus;
    scene.showAndAnswer(Scene::Kind::Alert, [&] {
      QWidget* modal = modalWithTheKeyboard();
      ASSERT_TRUE(modal);
      ASSERT_TRUE(test::waitUntilDrawn(modal));
      if (otherWindowInBetween) {
        ASSERT_TRUE(giveKeyboardAndSettle(display, &other));
        ASSERT_TRUE(giveKeyboardAndSettle(display, modal));
      }
      otherFocus = std::make_unique<FocusWatch>(other.windowHandle());
      new OnceHidden(modal, [&display, one, two] {
        display.type(one);
        display.type(two);
      });
      display.type(returnKey);
    });
    EXPECT_TRUE(scene.endsWith(QStringLiteral("12")));
    EXPECT_EQ(otherField->text(), QString());
    ASSERT_TRUE(otherFocus);
    EXPECT_EQ(otherFocus->gains(), 0);
  }
}

// A window chosen in a menu (the ウインドウ menu's item of another document's window,
// chosen by Return) gets the keyboard and keeps it: the keys typed at once after the
// choice reach it, and no window takes the keyboard back as the menu closes.
TEST(X11KeysTest, AWindowChosenInAMenuGetsTheKeyboardAndTheKeysTypedAtOnce)
{
  const XDisplay display;
  if (!display.isThere()) GTEST_SKIP() << "not on an X display";
  const auto [returnKey, one, two] = display.keycodesOf({0xff0d, '1', '2'});
  ASSERT_TRUE(returnKey && one && two);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();

  Scene scene(QRect(screen.x() + 40, screen.y() + 40, 400, 200));
  ASSERT_TRUE(scene.hasTheKeyboard);
  scene.answered = true;  // nothing to answer here
  WindowController chosen(nullptr);
  QLineEdit* chosenField = showBesideTheScene(chosen, screen);
  ASSERT_TRUE(giveKeyboardAndSettle(display, &scene.window));
  movePointerOverNoWindow(display, screen);

  QMenu menu(&scene.window);
  QAction* item = menu.addAction(QStringLiteral("other"));
  QObject::connect(item, &QAction::triggered, &chosen, [&chosen] { chosen.showWindow(); });
  menu.popup(scene.window.mapToGlobal(QPoint(20, 20)));
  menu.setActiveAction(item);
  ASSERT_TRUE(QTest::qWaitFor([&] { return menu.isVisible() && menu.windowHandle(); }, 5000));
  QTest::qWait(50);
  ASSERT_TRUE(menu.isVisible()) << "closed before its Return";
  // Return on the keyboard, and "1" and "2" as the menu goes.
  new OnceHidden(&menu, [&display, one, two] {
    display.type(one);
    display.type(two);
  });
  display.type(returnKey);
  EXPECT_TRUE(QTest::qWaitFor([&] { return chosenField->text() == QStringLiteral("12"); }, 3000))
      << chosenField->text().toStdString();
  // Still its, a while on.
  QTest::qWait(300);
  EXPECT_EQ(QGuiApplication::focusWindow(), chosen.windowHandle());
  EXPECT_EQ(display.focus(), XDisplay::idOf(chosen.windowHandle()));
  EXPECT_EQ(scene.field->text(), QString());
}

}  // namespace
}  // namespace kivo
