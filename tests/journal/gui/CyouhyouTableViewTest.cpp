// The report table: which keys it passes on to its window instead of handling, and
// how it tints total rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QTest>
#include <set>

#include "journal/gui/CyouhyouTableView.h"
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
                                      posted.push_back(CyouhyouTableView::characterOfKeyEvent(n.event));
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

}  // namespace
}  // namespace kivo
