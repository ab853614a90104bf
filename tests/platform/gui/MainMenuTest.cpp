#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWindow>
#include <set>
#include <utility>
#include <vector>

#include "platform/MainMenu.h"

namespace kivo {
namespace {

using Command = MainMenu::Command;

MainMenu::Item item(const QString& title, QVariant data, std::vector<MainMenu::Item> children = {})
{
  MainMenu::Item i;
  i.title = title;
  i.command = Command::ShowSuitoucyouWindow;
  i.representedObject = std::move(data);
  i.children = std::move(children);
  return i;
}

class RecordingHandler : public MainMenu::Handler {
public:
  void performCommand(Command c, QAction* sender) override { performed.push_back({c, sender->data()}); }
  bool validateCommand(Command c, QAction*) override { return enabled.count(c) > 0; }
  std::set<Command> enabled;
  std::vector<std::pair<Command, QVariant>> performed;
};

TEST(MainMenuTest, ItemsAreEnabledByTheHandlerSendItTheirCommandAndGetThisSystemsKeys)
{
  QMainWindow window;
  RecordingHandler handler;
  MainMenu menu(window.menuBar(), &handler);
  handler.enabled = {Command::SaveDocument, Command::ShowSuitoucyouWindow};
  menu.setSuitoucyouItems(
      {item(QStringLiteral("現金"), 100), item(QStringLiteral("普通預金"), {}, {item(QStringLiteral("本店"), 2101)})});
  menu.validateMenuItems();
  EXPECT_TRUE(menu.action(Command::SaveDocument)->isEnabled());
  EXPECT_FALSE(menu.action(Command::OpenDocument)->isEnabled());
  EXPECT_TRUE(menu.suitoucyouMenu()->isEnabled());

  menu.suitoucyouMenu()->actions()[1]->menu()->actions()[0]->trigger();
  menu.suitoucyouMenu()->actions()[0]->trigger();
  ASSERT_EQ(handler.performed.size(), 2u);
  EXPECT_EQ(handler.performed[0], std::make_pair(Command::ShowSuitoucyouWindow, QVariant(2101)));
  EXPECT_EQ(handler.performed[1], std::make_pair(Command::ShowSuitoucyouWindow, QVariant(100)));

  // Rebuilt, not added to; an empty list leaves the submenu disabled. (The window
  // menu's items are the application's test's.)
  menu.setSuitoucyouItems({});
  EXPECT_TRUE(menu.suitoucyouMenu()->actions().isEmpty());
  EXPECT_FALSE(menu.suitoucyouMenu()->isEnabled());

  // Stored key equivalents become this system's keys.
  struct Case {
    const char* key;
    uint32_t mask;
    QKeySequence expected;
  };
  const uint32_t cmd = MainMenu::kCommandKeyMask, ctrl = MainMenu::kControlKeyMask, opt = MainMenu::kAlternateKeyMask,
                 shift = MainMenu::kShiftKeyMask;
  const Case cases[] = {
      {"3", cmd, QKeySequence(Qt::CTRL | Qt::Key_3)},
      {"3", ctrl | cmd, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_3)},
      {"p", cmd | opt, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P)},
      {"K", cmd | shift, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K)},
      {"", cmd, QKeySequence()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(MainMenu::keySequenceForKeyEquivalent(QString::fromUtf8(c.key), c.mask), c.expected);
  }
}

// A key runs its item's command whenever the item would be enabled on its menu: the
// items are validated as the key reaches the window, however long ago they last were
// (the window's own "機能" items too, which the window validates as their menu opens).
// A key a field takes for itself stays the field's.
TEST(MainMenuTest, AKeyFindsItsItemValidatedAsItsMenuWouldBe)
{
  QMainWindow window;
  RecordingHandler handler;
  MainMenu menu(window.menuBar(), &handler);
  auto* field = new QLineEdit(&window);
  window.setCentralWidget(field);
  auto* own = menu.functionMenu()->addAction(QStringLiteral("行の削除"));
  own->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  menu.functionMenu()->setEnabled(true);
  bool ownEnabled = false;
  int ownRan = 0;
  QObject::connect(menu.functionMenu(), &QMenu::aboutToShow, [&] { own->setEnabled(ownEnabled); });
  QObject::connect(own, &QAction::triggered, [&] { ++ownRan; });
  window.show();
  QApplication::setActiveWindow(&window);
  QCoreApplication::processEvents();
  menu.validateMenuItems();
  emit menu.functionMenu()->aboutToShow();
  ASSERT_FALSE(menu.action(Command::Print)->isEnabled());
  ASSERT_FALSE(own->isEnabled());

  // Enabled since the items were last validated.
  handler.enabled = {Command::Print};
  ownEnabled = true;
  QTest::keyClick(field, Qt::Key_P, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_R, Qt::ControlModifier);
  ASSERT_EQ(handler.performed.size(), 1u);
  EXPECT_EQ(handler.performed[0].first, Command::Print);
  EXPECT_EQ(ownRan, 1);

  // Disabled since: the key runs nothing.
  handler.enabled.clear();
  ownEnabled = false;
  QTest::keyClick(field, Qt::Key_P, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(handler.performed.size(), 1u);
  EXPECT_EQ(ownRan, 1);

  // The field's own key (select all) stays the field's.
  handler.enabled = {Command::SelectAll};
  field->setText(QStringLiteral("摘要"));
  field->setFocus();
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(handler.performed.size(), 1u);
  EXPECT_EQ(field->selectedText(), QStringLiteral("摘要"));
}

// An Alt pressed and released alone, then a line typed: the keys reach the field, not a
// menu bar that would take the keyboard with no title marked.
TEST(MainMenuTest, TypingAfterAnAltTapGoesToTheWindow)
{
  QMainWindow window;
  RecordingHandler handler;
  MainMenu menu(window.menuBar(), &handler);
  auto* field = new QLineEdit(&window);
  window.setCentralWidget(field);
  window.show();
  QApplication::setActiveWindow(&window);
  field->setFocus();
  QCoreApplication::processEvents();
  // Through the window, as the window system delivers keys: to whichever widget has
  // the keyboard.
  QWindow* handle = window.windowHandle();
  QTest::keyPress(handle, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(handle, Qt::Key_Alt, Qt::NoModifier);
  for (const char c : {'8', '/', '3'}) QTest::keyClick(handle, c);
  EXPECT_EQ(field->text(), QStringLiteral("8/3"));
  EXPECT_FALSE(window.menuBar()->hasFocus());
  EXPECT_EQ(window.menuBar()->activeAction(), nullptr);
}

}  // namespace
}  // namespace kivo
