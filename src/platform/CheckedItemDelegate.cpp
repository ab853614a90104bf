#include "platform/CheckedItemDelegate.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/AlertSheet.h"

namespace kivo {

CheckedItemDelegate::CheckedItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QWidget* CheckedItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const
{
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    editor_ = line;
    index_ = index;
  }
  return editor;
}

void CheckedItemDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
  if (editor == editor_) {
    editor_ = nullptr;
    index_ = QPersistentModelIndex();
  }
  QStyledItemDelegate::destroyEditor(editor, index);
}

bool CheckedItemDelegate::acceptsEditedText() const { return !editor_ || !accepts || accepts(index_, editor_->text()); }

bool CheckedItemDelegate::endEditing()
{
  if (!editor_) return true;
  if (!acceptsEditedText()) return false;
  QLineEdit* editor = editor_;
  emit commitData(editor);
  emit closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
  // The view destroys the editor later; the edit has ended now.
  editor_ = nullptr;
  index_ = QPersistentModelIndex();
  return true;
}

bool CheckedItemDelegate::eventFilter(QObject* object, QEvent* event)
{
  auto* editor = qobject_cast<QLineEdit*>(object);
  if (!editor || editor != editor_) return QStyledItemDelegate::eventFilter(object, event);
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool ends = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!ends && key != Qt::Key_Tab && key != Qt::Key_Backtab) return QStyledItemDelegate::eventFilter(object, event);
    if (!acceptsEditedText()) {
      if (refused)
        refused(index_, editor);
      else
        AlertSheet::beep();
      return true;
    }
    if (ends) {
      endEditing();
      return true;
    }
    if (tabLeavesCells && tabLeavesCells(index_, key == Qt::Key_Backtab)) {
      QWidget* view = editor->parentWidget();
      while (view && !qobject_cast<QAbstractItemView*>(view)) view = view->parentWidget();
      QKeyEvent again(QEvent::KeyPress, key, static_cast<QKeyEvent*>(event)->modifiers());
      endEditing();
      if (view) QCoreApplication::sendEvent(view, &again);
      return true;
    }
  } else if (event->type() == QEvent::FocusOut && !acceptsEditedText()) {
    return true;
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace kivo
