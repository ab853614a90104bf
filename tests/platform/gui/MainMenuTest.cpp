#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
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

}  // namespace
}  // namespace kivo
