// The editor of a table or outline cell edited in place, for a window that checks
// what is typed: Return, Enter, Tab and back-Tab end the edit only when the window
// accepts the text, and Return and Enter are then taken by the cell (a dialog's
// default button never sees them); a refused text beeps, or says why (refused), and
// stays in editing, whether a key or a click elsewhere tried to end it. A Tab moves
// the edit on to the next cell unless the window says it leaves the cells.
//
//   auto* delegate = new CheckedItemDelegate(view);
//   delegate->accepts = [](const QModelIndex& index, const QString& text) { return !text.isEmpty(); };
//   view->setItemDelegate(delegate);
//   ...
//   if (!delegate->endEditing()) return false;  // before the window lets the row go
#pragma once

#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>

namespace kivo {

class CheckedItemDelegate : public QStyledItemDelegate {
  Q_OBJECT
public:
  explicit CheckedItemDelegate(QObject* parent = nullptr);

  // Whether the text may end the edit of the cell (every text when not set).
  std::function<bool(const QModelIndex& index, const QString& text)> accepts;
  // A key tried to end the edit with a refused text (a beep when not set).
  std::function<void(const QModelIndex& index, QLineEdit* editor)> refused;
  // Whether a Tab (back-Tab when backward) in the cell leaves the view's cells rather
  // than moving to the next (previous) one (never when not set): the edit then ends
  // with its text and the key goes on to the view, as when no cell is edited.
  std::function<bool(const QModelIndex& index, bool backward)> tabLeavesCells;

  // The cell being edited: its editor (nullptr when none) and index.
  QLineEdit* editor() const { return editor_; }
  QModelIndex editedIndex() const { return index_; }
  bool isEditing() const { return editor_ != nullptr; }
  // Whether the text being typed would end the edit (true when nothing is edited).
  bool acceptsEditedText() const;
  // Ends the edit with its text when it is accepted; false, still editing, otherwise.
  bool endEditing();

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

protected:
  bool eventFilter(QObject* object, QEvent* event) override;

private:
  mutable QPointer<QLineEdit> editor_;
  mutable QPersistentModelIndex index_;
};

}  // namespace kivo
