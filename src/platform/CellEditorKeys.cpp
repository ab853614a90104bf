#include "platform/CellEditorKeys.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "platform/MainMenu.h"

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
  // The keys of the menu's two items.
  const QKeySequence pressed(key->keyCombination());
  const bool undo = pressed == MainMenu::keyOf(MainMenu::Command::Undo);
  const bool redo = pressed == MainMenu::keyOf(MainMenu::Command::Redo);
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
