// The report table: which keys it passes on to its window instead of handling, and
// how it tints total rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTest>
#include <set>

#include "journal/gui/CyouhyouTableView.h"
#include "platform/KeyCharacter.h"
#include "platform/NotificationCenter.h"

namespace kivo {
namespace {

class TotalRows : public CyouhyouTableView::Controller {
public:
  bool isTotalRow(int row, const CyouhyouTableView&) const override { return rows.count(row) > 0; }
  std::set<int> rows;
};

class CyouhyouTableViewTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    model.setRowCount(6);
    model.setColumnCount(2);
    for (int r = 0; r < 6; ++r) model.setItem(r, 0, new QStandardItem(QStringLiteral("行 %1").arg(r)));
    table.setModel(&model);
    totals.rows = {1, 2};
    table.setController(&totals);
    table.resize(320, 240);
    connection = QObject::connect(&NotificationCenter::defaultCenter(), &NotificationCenter::notificationPosted,
                                  [this](const NotificationCenter::Notification& n) {
                                    if (n.name == CyouhyouTableView::kKeyDownNotification && n.object == &table)
                                      posted.push_back(KeyCharacter::of(*n.event));
                                  });
  }
  void TearDown() override { QObject::disconnect(connection); }

  QStandardItemModel model;
  CyouhyouTableView table;
  TotalRows totals;
  std::vector<uint16_t> posted;
  QMetaObject::Connection connection;
};

TEST_F(CyouhyouTableViewTest, CommandKeysArePostedOnceEachAndTotalRowsAreTintedByParity)
{
  table.selectRow(3);
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, uint16_t> cases[] = {
      {Qt::Key_A, Qt::NoModifier, 'a'},         {Qt::Key_5, Qt::NoModifier, '5'},
      {Qt::Key_Space, Qt::NoModifier, 32},      {Qt::Key_Tab, Qt::NoModifier, 9},
      {Qt::Key_Backtab, Qt::ShiftModifier, 25}, {Qt::Key_Return, Qt::NoModifier, 13},
      {Qt::Key_Enter, Qt::KeypadModifier, 3},   {Qt::Key_Backspace, Qt::NoModifier, 127},
  };
  for (const auto& [key, modifiers, character] : cases) {
    posted.clear();
    QTest::keyClick(&table, key, modifiers);
    EXPECT_EQ(posted, std::vector<uint16_t>{character}) << character;
    EXPECT_EQ(table.selectedRow(), 3) << character;
  }
  // Arrows move the selection as in any table and are not posted.
  posted.clear();
  QTest::keyClick(&table, Qt::Key_Down);
  EXPECT_EQ(table.selectedRow(), 4);
  QTest::keyClick(&table, Qt::Key_Up);
  EXPECT_EQ(table.selectedRow(), 3);
  // A key without characters (a dead key) and other characters go the usual way.
  QKeyEvent dead(QEvent::KeyPress, Qt::Key_Dead_Acute, Qt::NoModifier, QString());
  QApplication::sendEvent(&table, &dead);
  QTest::keyClick(&table, Qt::Key_Minus);
  EXPECT_TRUE(posted.empty());

  // Total rows are tinted by parity unless selected.
  table.selectRow(0);
  EXPECT_EQ((std::vector{table.backgroundColorOfRow(0), table.backgroundColorOfRow(1), table.backgroundColorOfRow(2),
                         table.backgroundColorOfRow(3)}),
            (std::vector{QColor(), QColor(212, 231, 197), QColor(225, 231, 215), QColor()}));
  table.selectRow(2);
  EXPECT_FALSE(table.backgroundColorOfRow(2).isValid());

  // What is drawn: the tint shows in an empty cell of a total row.
  table.show();
  QApplication::processEvents();
  const QImage image = table.viewport()->grab().toImage();
  const int x = table.columnViewportPosition(1) + table.columnWidth(1) / 2;
  const auto pixelOfRow = [&](int row) {
    return QColor(image.pixel(x, table.rowViewportPosition(row) + table.rowHeight(row) / 2));
  };
  EXPECT_EQ(pixelOfRow(1), QColor(212, 231, 197));
  EXPECT_NE(pixelOfRow(2), QColor(225, 231, 215));  // selected
  EXPECT_NE(pixelOfRow(3), QColor(212, 231, 197));
}

// A double click is the command of the selected row, once, and neither it nor its
// release opens a cell behind it (a click on the selected row opens one once the time
// of a double click has passed). When the rows were built anew between its two clicks
// and moved under the pointer, it is the command of the row its first click selected.
TEST_F(CyouhyouTableViewTest, ADoubleClickIsTheSelectedRowsCommandAndOpensNoCellBehindIt)
{
  const int interval = QApplication::doubleClickInterval();
  QApplication::setDoubleClickInterval(60);
  table.setEditTriggers(QAbstractItemView::SelectedClicked);
  std::vector<QString> commands;  // the first cell of the row each command came for
  QObject::connect(&table, &QAbstractItemView::doubleClicked, [&](const QModelIndex& index) {
    commands.push_back(model.index(index.row(), 0).data().toString());
  });
  table.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&table));
  const auto cellOpen = [&] {
    const QLineEdit* editor = table.findChild<QLineEdit*>();
    return editor && editor->isVisible();
  };
  const auto centre = [&](int row) { return table.visualRect(model.index(row, 0)).center(); };
  const auto doubleClick = [&](QPoint at) {
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(table.viewport(), Qt::LeftButton, {}, at);
    QTest::qWait(4 * QApplication::doubleClickInterval());
  };

  table.selectRow(3);
  doubleClick(centre(3));
  EXPECT_EQ(commands, std::vector<QString>{QStringLiteral("行 3")});
  EXPECT_FALSE(cellOpen());

  // The rows move between the two clicks, as a window's refresh after the first one
  // moves them; the selection stays on the row the first click chose.
  commands.clear();
  table.selectRow(0);
  const QPoint at = centre(4);
  QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);
  ASSERT_EQ(table.selectedRow(), 4);
  model.sort(0, Qt::DescendingOrder);
  ASSERT_EQ(table.selectedRow(), 1);
  QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(table.viewport(), Qt::LeftButton, {}, at);
  QTest::qWait(4 * QApplication::doubleClickInterval());
  EXPECT_EQ(commands, std::vector<QString>{QStringLiteral("行 4")});
  EXPECT_EQ(table.selectedRow(), 1);
  EXPECT_FALSE(cellOpen());
  QApplication::setDoubleClickInterval(interval);
}

}  // namespace
}  // namespace kivo
