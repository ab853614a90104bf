// The window every picker shares: a search field over a list. It runs modally with
// its top-left at a screen point and the typed text as its search; the list shows
// what the search matches and keeps the best match selected.
//
// Keys (the search field keeps the focus): Up, Down, Page Up and Page Down move the
// selection; Enter, Return, Tab and Back-tab choose the selected row and are
// remembered as the stop character (3, 13, 9, 25); Escape and Ctrl+W (Command-W on
// a Mac) cancel. A double click chooses like Return.
#pragma once

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "fields/FormatterList.h"
#include "fields/gui/StopKeyDialog.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace kivo {

class FormatterListWindow : public StopKeyDialog {
  Q_OBJECT
public:
  enum class Column { Code, Name, Kana };

  FormatterListWindow(const QString& title, FormatterList list, std::vector<std::pair<Column, QString>> columns,
                      QWidget* parent = nullptr);

  // Shows the window with its top-left at the point (kept on screen) and the text as
  // search, runs it modally and answers the index of the chosen row, -1 when
  // cancelled.
  int runModal(const QPoint& topLeftPoint, const QString& searchText);

  // The key that closed the window: 3, 13, 9 or 25 when a row was chosen, else 0.
  uint16_t stopChar() const { return stopChar_; }
  const FormatterList& list() const { return list_; }
  // The row selected now, -1 when none.
  int selectedRow() const;

  QLineEdit* searchField() const { return searchField_; }
  QTreeWidget* listView() const { return listView_; }

protected:
  void reject() override;
  void closeWithStopChar(uint16_t stopChar) override;
  // The arrows and the page keys move the selection.
  bool handleOtherKey(QKeyEvent* event) override;

private:
  void refill();
  void selectRow(int row);
  void moveSelection(int delta);
  void sizeColumns();

  FormatterList list_;
  std::vector<std::pair<Column, QString>> columns_;
  QLineEdit* searchField_;
  QTreeWidget* listView_;
  QLabel* hintLabel_;
  std::vector<QTreeWidgetItem*> itemOfRow_;  // nullptr for rows the search hides
  uint16_t stopChar_ = 0;
  int chosenRow_ = -1;
};

}  // namespace kivo
