// The undo and redo keys in a cell editor, whoever made the editor (a table's own, or
// the checked cells of the lists and the asset register): the cell's while it has
// typing of its own to take back or do again, else the window's "取り消す" and
// "やり直す". A field outside a table keeps the keys.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <vector>

#include "platform/CheckedItemDelegate.h"
#include "platform/MainMenu.h"

namespace kivo {
namespace {

using Command = MainMenu::Command;

class UndoHandler : public MainMenu::Handler {
public:
  void performCommand(Command c, QAction*) override { performed.push_back(c); }
  bool validateCommand(Command c, QAction*) override { return c == Command::Undo || c == Command::Redo; }
  std::vector<Command> performed;
};

TEST(CellEditorKeysTest, TheKeysAreTheCellsOnlyWhileItHasTypingToTakeBack)
{
  QMainWindow window;
  UndoHandler handler;
  MainMenu menu(window.menuBar(), &handler);
  menu.validateMenuItems();
  auto* central = new QWidget(&window);
  auto* layout = new QVBoxLayout(central);
  QStandardItemModel model(2, 2);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) model.setItem(r, c, new QStandardItem(QStringLiteral("売上")));
  auto* plain = new QTableView(central);
  auto* checked = new QTableView(central);
  checked->setItemDelegate(new CheckedItemDelegate(checked));
  auto* field = new QLineEdit(central);
  for (QTableView* view : {plain, checked}) {
    view->setModel(&model);
    layout->addWidget(view);
  }
  layout->addWidget(field);
  window.setCentralWidget(central);
  window.show();
  QApplication::setActiveWindow(&window);
  QCoreApplication::processEvents();

  const Qt::KeyboardModifiers undo = Qt::ControlModifier;
  const Qt::KeyboardModifiers redo = Qt::ControlModifier | Qt::ShiftModifier;
  for (QTableView* view : {plain, checked}) {
    SCOPED_TRACE(view == plain ? "a table's own cell editor" : "a checked cell");
    view->edit(model.index(0, 1));
    auto* cell = view->viewport()->findChild<QLineEdit*>();
    ASSERT_TRUE(cell);
    cell->setFocus();
    handler.performed.clear();

    // Untouched: the window's commands.
    QTest::keyClick(cell, Qt::Key_Z, undo);
    QTest::keyClick(cell, Qt::Key_Z, redo);
    EXPECT_EQ(handler.performed, (std::vector{Command::Undo, Command::Redo}));

    // Typed: the cell's, to and fro; once nothing is left to redo, the window's again.
    handler.performed.clear();
    QTest::keyClick(cell, Qt::Key_End);
    QTest::keyClicks(cell, "x");
    QTest::keyClick(cell, Qt::Key_Z, undo);
    EXPECT_EQ(cell->text(), QStringLiteral("売上"));
    QTest::keyClick(cell, Qt::Key_Z, redo);
    EXPECT_EQ(cell->text(), QStringLiteral("売上x"));
    EXPECT_TRUE(handler.performed.empty());
    QTest::keyClick(cell, Qt::Key_Z, redo);
    EXPECT_EQ(handler.performed, std::vector{Command::Redo});
    EXPECT_EQ(cell->text(), QStringLiteral("売上x"));
    QTest::keyClick(cell, Qt::Key_Escape);
  }

  // A field outside a table: its own keys, as everywhere.
  field->setFocus();
  handler.performed.clear();
  QTest::keyClick(field, Qt::Key_Z, undo);
  QTest::keyClick(field, Qt::Key_Z, redo);
  EXPECT_TRUE(handler.performed.empty());
}

}  // namespace
}  // namespace kivo
