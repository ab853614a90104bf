#include "entry/gui/EntryWindowController.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QUndoStack>
#include <algorithm>

#include "document/gui/DocumentSession.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/StopChar.h"
#include "fields/TekiyouFormatter.h"
#include "fields/gui/FormatterValidator.h"
#include "fields/gui/HojyoKamokuFormatterListWindow.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "fields/gui/KamokuFormatterListWindow.h"
#include "fields/gui/TekiyouFormatterListWindow.h"
#include "platform/AlertSheet.h"
#include "platform/FieldMessage.h"

namespace kivo {
namespace {

// A description typed as the key of a kana search: up to twelve ASCII letters and
// digits.
bool isTekiyouKanaKey(const QString& text)
{
  if (text.size() > 12) return false;
  for (QChar c : text)
    if (!(c.isDigit() || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
          (c >= QLatin1Char('a') && c <= QLatin1Char('z'))))
      return false;
  return true;
}

}  // namespace

EntryWindowController::EntryWindowController(DocumentSession* document, Kind kind, const char* keyDownNotificationName)
    : WindowController(document, kind)
{
  const QString name = QString::fromUtf8(keyDownNotificationName);
  keyDownConnection_ = connect(&NotificationCenter::defaultCenter(), &NotificationCenter::notificationPosted, this,
                               [this, name](const NotificationCenter::Notification& n) {
                                 if (n.name == name) handleEntryGridViewKeyDown(n);
                               });
}

EntryWindowController::~EntryWindowController() { disconnect(keyDownConnection_); }

QLabel* EntryWindowController::makeTitleLabel(const QString& title, QWidget* parent)
{
  auto* label = new QLabel(title, parent);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * 1.5);
  font.setBold(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 4);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

// --- cells

bool EntryWindowController::isEditingCell() const
{
  const EntryGridView* view = entryGridView();
  return view && view->isEditing();
}

bool EntryWindowController::commitEditing()
{
  EntryGridView* view = entryGridView();
  return !view || view->endEditing();
}

void EntryWindowController::removeAllUndoActions()
{
  if (document() && document()->undoManager()) document()->undoManager()->clear();
}

QString EntryWindowController::formattedCellString(int row, int matrixId, const FieldValue& value) const
{
  if (value.isNil() || (value.isText() && value.textValue().empty())) return {};
  Formatter* formatter = formatterForMatrix(matrixId, row);
  if (!formatter) return QString::fromStdString(value.textValue());
  const std::optional<std::string> text = formatter->stringForObjectValue(value);
  return text ? QString::fromStdString(*text) : QString();
}

bool EntryWindowController::isPartialStringValid(int matrixId, const QString& text) const
{
  Formatter* formatter = formatterForMatrix(matrixId, std::max(selectedEntryRow(), 0));
  return !formatter || formatter->isPartialStringValid(text.toStdString());
}

void EntryWindowController::partialStringRefused(int row, int matrixId, const QString& text)
{
  if (Formatter* formatter = formatterForMatrix(matrixId, row))
    showRefusalAtCell(row, matrixId, FormatterValidator::refusalOfPartialText(*formatter, text));
}

void EntryWindowController::showRefusalAtCell(int row, int matrixId, const QString& message)
{
  EntryGridView* view = entryGridView();
  if (view) FieldMessage::show(view->viewport(), message, view->cellRect(row, matrixId));
}

bool EntryWindowController::textShouldEndEditing(int row, int matrixId, const QString& text)
{
  Formatter* formatter = formatterForMatrix(matrixId, row);
  if (!formatter) return true;
  FieldValue value;
  if (!formatter->getObjectValue(value, text.toStdString(), nullptr)) {
    AlertSheet::beep();
    showRefusalAtCell(row, matrixId, FormatterValidator::refusalOfText(*formatter, text));
    return false;
  }
  setCellValue(row, matrixId, value);
  return true;
}

// --- keys

bool EntryWindowController::doCommandBySelector(int, int matrixId, EntryGridView::Command command, bool isAutoRepeat)
{
  if (!isEditableMatrix(matrixId)) return false;
  switch (command) {
  case EntryGridView::Command::InsertTab:
  case EntryGridView::Command::InsertBacktab:
  case EntryGridView::Command::MoveUp:
  case EntryGridView::Command::MoveDown:
    if (!isAutoRepeat) moveSelectedCell(command);
    return true;
  case EntryGridView::Command::InsertNewline:
    if (!isAutoRepeat) showFormatterListWindowForSelectedCell();
    return true;
  default: return false;
  }
}

void EntryWindowController::handleEntryGridViewKeyDown(const NotificationCenter::Notification& notification)
{
  EntryGridView* view = entryGridView();
  if (!view || notification.object != view || !notification.event) return;
  switch (EntryGridView::characterOfKeyEvent(notification.event)) {
  case 9: moveSelectedCell(EntryGridView::Command::InsertTab); break;
  case 25: moveSelectedCell(EntryGridView::Command::InsertBacktab); break;
  case 0xF700: moveSelectedCell(EntryGridView::Command::MoveUp); break;
  case 0xF701: moveSelectedCell(EntryGridView::Command::MoveDown); break;
  default:
    // Typed keys open a column's input panel only for columns filled from panels,
    // which these windows do not offer.
    break;
  }
}

// --- pickers on Return

void EntryWindowController::finishingStep()
{
  const int row = selectedEntryRow();
  if (row >= 0) entryGridView()->selectCell(row, selectedEntryMatrix());
}

void EntryWindowController::showFormatterListWindowForSelectedCell()
{
  const int row = selectedEntryRow();
  const int column = selectedEntryMatrix();
  const Picker picker = pickerOfMatrix(column);
  if (row < 0 || picker == Picker::None) return;  // Return does nothing in the date and amount columns
  if (!commitEditing()) return;
  if (!mayPickInCell(row, column)) return;
  const FieldValue v = cellValue(row, column);
  if (!v.isText() && !v.isNil()) {
    finishingStep();
    return;
  }
  const QString text = QString::fromStdString(v.textValue());
  if (picker == Picker::Tekiyou && !text.isEmpty() &&
      (!isTekiyouKanaKey(text) || !document()->document().matchTekiyouKana(text.toUpper().toStdString(), "", ""))) {
    finishingStep();
    return;
  }
  textDidBeginEditing(row, column);
  EntryGridView* view = entryGridView();
  const QPoint p = view->globalCellRect(row, column).bottomLeft() + QPoint(0, 1);
  Formatter* formatter = formatterForMatrix(column, row);  // a sub-account's parent is the row's account
  uint16_t stop = StopChar::kNone;
  bool chosen = false;
  auto take = [&](FieldValue value) {
    chosen = true;
    setCellValue(row, column, value);
    textDidChange(row, column, {});
  };
  switch (picker) {
  case Picker::Kamoku: {
    auto& f = static_cast<KamokuFormatter&>(*formatter);
    const int32_t code =
        KamokuFormatterListWindow::showKamokuFormatterListWindowTextFieldFrameTopLeftPoint(f, p, text, true, this);
    stop = f.stopFormatterListChar();
    if (code != -1) {
      take(FieldValue::code(code));
      textDidEndEditing(row, column, {});
      if (f.selectedHojyoKamokuCodeOfFormatterList() != -1)
        setCellValue(row, hojyoKamokuMatrixOfKamokuMatrix(column),
                     FieldValue::code(f.selectedHojyoKamokuCodeOfFormatterList()));
    }
    break;
  }
  case Picker::HojyoKamoku: {
    auto& f = static_cast<HojyoKamokuFormatter&>(*formatter);
    const int32_t code =
        HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(f, p, text, this);
    stop = f.stopFormatterListChar();
    if (code != -1) take(FieldValue::code(code));
    break;
  }
  case Picker::Jigyoubu: {
    auto& f = static_cast<JigyoubuFormatter&>(*formatter);
    const int32_t code =
        JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(f, p, text, this);
    stop = f.stopFormatterListChar();
    if (code != -1) take(FieldValue::code(code));
    break;
  }
  default: {
    auto& f = static_cast<TekiyouFormatter&>(*formatter);
    const TekiyouPtr t =
        TekiyouFormatterListWindow::showTekiyouFormatterListWindowTextFieldFrameTopLeftPoint(f, p, text, this);
    stop = f.stopFormatterListChar();
    if (t) take(FieldValue::text(t->tekiyou()));
    break;
  }
  }
  view->viewport()->update();
  if (chosen && stop == StopChar::kTab)
    moveSelectedCell(EntryGridView::Command::InsertTab);
  else if (chosen && stop == StopChar::kBacktab)
    moveSelectedCell(EntryGridView::Command::InsertBacktab);
  else
    finishingStep();
}

// --- "機能" menu

QAction* EntryWindowController::addFunctionMenuAction(const QString& title, const QKeySequence& key,
                                                      std::function<void()> command, Validation validation)
{
  auto* a = new QAction(title, this);
  if (!key.isEmpty()) a->setShortcut(key);
  a->setShortcutContext(Qt::WindowShortcut);
  if (command)
    connect(a, &QAction::triggered, this, [this, command = std::move(command), validation] {
      if (validation == Validation::BeforeAndAfter) validateMenuItems();
      command();
      if (validation != Validation::None) validateMenuItems();
    });
  functionActions_.push_back(a);
  return a;
}

void EntryWindowController::reserveFunctionMenuShortcuts(QAction* notInWindow)
{
  QList<QKeySequence> keys;
  for (QAction* a : functionActions_)
    if (a && !a->shortcut().isEmpty()) keys << a->shortcut();
  if (EntryGridView* view = entryGridView()) view->setReservedShortcuts(keys);
  for (QAction* a : functionActions_)
    if (a && a != notInWindow) addAction(a);
}

QAction* EntryWindowController::functionMenuAction(const QString& title)
{
  for (QAction* a : functionMenuActions())
    if (a && a->text() == title) return a;
  return nullptr;
}

void EntryWindowController::fillFunctionMenu(QMenu* menu)
{
  for (QAction* a : functionMenuActions()) {
    if (a)
      menu->addAction(a);
    else
      menu->addSeparator();
  }
  connect(menu, &QMenu::aboutToShow, this, &EntryWindowController::validateMenuItems, Qt::UniqueConnection);
  validateMenuItems();
}

}  // namespace kivo
