#include "platform/CellEditorKeys.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace kivo {

void CellEditorKeys::install()
{
  static CellEditorKeys* keys = nullptr;
  if (keys || !qApp) return;
  keys = new CellEditorKeys(qApp);
  qApp->installEventFilter(keys);
}

bool CellEditorKeys::isCellEditor(const QObject* object)
{
  const auto* editor = qobject_cast<const QLineEdit*>(object);
  const QWidget* viewport = editor ? editor->parentWidget() : nullptr;
  const auto* area = viewport ? qobject_cast<const QAbstractScrollArea*>(viewport->parentWidget()) : nullptr;
  return area && area->viewport() == viewport;
}

bool CellEditorKeys::leavesKeyToWindow(const QLineEdit* editor, const QKeyEvent* key)
{
  // The keys of the menu's two items: the platform's undo key; Ctrl+Shift+Z, or the
  // platform's other redo key.
  const bool undo = key->matches(QKeySequence::Undo);
  const bool redo = key->matches(QKeySequence::Redo) ||
                    QKeySequence(key->keyCombination()) == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
  return (undo && !editor->isUndoAvailable()) || (redo && !editor->isRedoAvailable());
}

bool CellEditorKeys::eventFilter(QObject* watched, QEvent* event)
{
  // A line edit takes both keys for itself, with or without anything to take back;
  // left alone here, the window's shortcut runs instead.
  if (event->type() != QEvent::ShortcutOverride || !isCellEditor(watched)) return false;
  if (!leavesKeyToWindow(static_cast<const QLineEdit*>(watched), static_cast<const QKeyEvent*>(event))) return false;
  event->ignore();
  return true;
}

}  // namespace kivo
