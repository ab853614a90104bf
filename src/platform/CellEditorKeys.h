// The undo and redo keys typed in a cell editor: a line edit placed in the viewport of
// a table or a grid (the vouchers' and cash books' cells, a ledger's cell, the cells of
// the lists and the asset register).
//
// While the cell has typing of its own to take back (or to do again), the keys are the
// cell's and act on its text. Otherwise they are the window's "取り消す" and
// "やり直す", which act on the document and, like every command, end the cell's edit
// first. One rule for every cell editor of the program, installed once for the whole
// application by the main menu that carries the two keys.
#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;

namespace kivo {

class CellEditorKeys : public QObject {
public:
  // Watches every cell editor of the application; later calls do nothing.
  static void install();

  // Whether the widget is a cell editor: a line edit in a table's or a grid's viewport.
  static bool isCellEditor(const QObject* object);
  // Whether the key, typed in the cell editor, is left to the window's commands.
  static bool leavesKeyToWindow(const QLineEdit* editor, const QKeyEvent* key);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  using QObject::QObject;
};

}  // namespace kivo
