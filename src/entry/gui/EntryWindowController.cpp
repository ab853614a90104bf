#include "entry/gui/EntryWindowController.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QUndoStack>
#include <algorithm>

#include "document/gui/OpenDocument.h"
#include "entry/EntryGridKey.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/StopChar.h"
#include "fields/TekiyouFormatter.h"
#include "fields/gui/FormatterValidator.h"
#include "fields/gui/HojyoKamokuFormatterListWindow.h"
#include "fields/gui/InputHidukeController.h"
#include "fields/gui/InputKingakuController.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "fields/gui/KamokuFormatterListWindow.h"
#include "fields/gui/TekiyouFormatterListWindow.h"
#include "platform/AlertSheet.h"
#include "platform/FieldMessage.h"
#include "platform/KeyCharacter.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

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

EntryWindowController::EntryWindowController(OpenDocument* document, Kind kind, const char* keyDownNotificationName)
    : DocumentWindowController(document, kind)
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

bool EntryWindowController::isEditedTextReadable() const
{
  EntryGridView* view = entryGridView();
  if (!view || !view->isEditing()) return true;
  Formatter* formatter = formatterForMatrix(view->selectedMatrixId(), view->selectedRow());
  FieldValue value;
  return !formatter || formatter->getObjectValue(value, view->fieldEditor()->text().toStdString(), nullptr);
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
  switch (EntryGridKey::actionOfCharacter(KeyCharacter::of(*notification.event))) {
  case EntryGridKey::Action::InsertTab: moveSelectedCell(EntryGridView::Command::InsertTab); break;
  case EntryGridKey::Action::InsertBacktab: moveSelectedCell(EntryGridView::Command::InsertBacktab); break;
  case EntryGridKey::Action::MoveUp: moveSelectedCell(EntryGridView::Command::MoveUp); break;
  case EntryGridKey::Action::MoveDown: moveSelectedCell(EntryGridView::Command::MoveDown); break;
  case EntryGridKey::Action::HandOff:
  case EntryGridKey::Action::None:
    // A hand-off needs a highlighted cell, whose keys come to keyTypedInHighlightedCell.
    break;
  }
}

void EntryWindowController::keyTypedInHighlightedCell(int, int matrixId, const QString& text)
{
  if (!text.isEmpty() && EntryGridKey::actionOfCharacter(text.front().unicode()) == EntryGridKey::Action::HandOff)
    showInputWindowForMatrix(matrixId, text);
}

// --- pickers on Return

void EntryWindowController::finishingStep()
{
  const int row = selectedEntryRow();
  if (row >= 0) entryGridView()->selectCell(row, selectedEntryMatrix());
}

bool EntryWindowController::showFormatterListWindowForSelectedCell(bool typedKey)
{
  const int row = selectedEntryRow();
  const int column = selectedEntryMatrix();
  const Picker picker = pickerOfMatrix(column);
  if (row < 0 || picker == Picker::None) return false;  // Return does nothing in the date and amount columns
  if (!commitEditing()) return false;
  if (!mayPickInCell(row, column)) return false;
  const FieldValue v = cellValue(row, column);
  if (!v.isText() && !v.isNil()) {
    finishingStep();
    return false;
  }
  const QString text = QString::fromStdString(v.textValue());
  if (picker == Picker::Tekiyou && !text.isEmpty() && !typedKey &&
      (!isTekiyouKanaKey(text) || !document()->document().matchTekiyouKana(text.toUpper().toStdString(), "", ""))) {
    finishingStep();
    return false;
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
  return chosen;
}

// --- input types and sources

const char* EntryWindowController::inputTypeKeyStringForKind(InputKind kind)
{
  switch (kind) {
  case InputKind::Date: return KIVOInputTypeForDateKey;
  case InputKind::Kamoku: return KIVOInputTypeForKamokuKey;
  case InputKind::HojyoKamoku: return KIVOInputTypeForHojyoKamokuKey;
  case InputKind::Kingaku: return KIVOInputTypeForKingakuKey;
  case InputKind::Jigyoubu: return KIVOInputTypeForJigyoubuKey;
  case InputKind::Tekiyou: return KIVOInputTypeForTekiyouKey;
  case InputKind::None: break;
  }
  return nullptr;
}

const char* EntryWindowController::inputSourceKeyStringForKind(InputKind kind)
{
  switch (kind) {
  case InputKind::Date: return KIVOInputSourceForDateKey;
  case InputKind::Kamoku: return KIVOInputSourceForKamokuKey;
  case InputKind::HojyoKamoku: return KIVOInputSourceForHojyoKamokuKey;
  case InputKind::Kingaku: return KIVOInputSourceForKingakuKey;
  case InputKind::Jigyoubu: return KIVOInputSourceForJigyoubuKey;
  case InputKind::Tekiyou: return KIVOInputSourceForTekiyouKey;
  case InputKind::None: break;
  }
  return nullptr;
}

int EntryWindowController::inputTypeForMatrix(int matrixId) const
{
  const InputKind kind = inputKindOfMatrix(matrixId);
  const char* typeKey = inputTypeKeyStringForKind(kind);
  if (!typeKey) return 0;
  const UserDefaults& defaults = UserDefaults::standardUserDefaults();
  // A column with a chosen input source is always typed into.
  if (!defaults.stringForKey(inputSourceKeyStringForKind(kind)).isEmpty()) return 0;
  return static_cast<int>(defaults.integerForKey(typeKey));
}

bool EntryWindowController::usesInputMethod(int matrixId) const
{
  const char* sourceKey = inputSourceKeyStringForKind(inputKindOfMatrix(matrixId));
  if (!sourceKey) return true;
  const QString source = UserDefaults::standardUserDefaults().stringForKey(sourceKey);
  // Japanese (or nothing chosen) leaves the desktop's input method on.
  return source.isEmpty() || source.startsWith(QStringLiteral("ja"));
}

// --- the hand-off to panels and pickers

void EntryWindowController::showInputWindowForMatrix(int matrixId, const QString& s)
{
  const int row = selectedEntryRow();
  if (s.isEmpty() || row < 0 || matrixId != selectedEntryMatrix() || inputTypeForMatrix(matrixId) != 1) return;
  if (!textShouldBeginEditing(row, matrixId)) return;
  const QChar typed = s.front();
  if (typed.unicode() == 0x7F) {
    setCellValue(row, matrixId, FieldValue::text(""));
    textDidChange(row, matrixId, {});
    textDidEndEditing(row, matrixId, {});
    entryGridView()->updateRow(row);
    return;
  }
  const QString start = EntryGridKey::handOffStartsEmpty(typed.unicode()) ? QString() : s;
  switch (inputKindOfMatrix(matrixId)) {
  case InputKind::Date: showInputHidukeWindowForMatrix(matrixId, start); return;
  case InputKind::Kingaku: showInputKingakuWindowForMatrix(matrixId, start); return;
  case InputKind::None: return;
  default: break;
  }
  if (pickerOfMatrix(matrixId) == Picker::None) return;
  textDidBeginEditing(row, matrixId);
  // A letter or digit begins the picker's search, whatever it matches: a code the
  // column would read from that key alone ("1", a reading's only first letter) is only
  // the start of what is typed. Anything else starts it empty.
  const bool alnum = typed.unicode() < 0x80 && typed.isLetterOrNumber();
  // The picker searches from the cell's text; cancelled, it leaves the cell as it was.
  const FieldValue former = cellValue(row, matrixId);
  setCellValue(row, matrixId, FieldValue::text(alnum ? s.toStdString() : std::string()));
  if (!showFormatterListWindowForSelectedCell(alnum) && selectedEntryRow() == row &&
      selectedEntryMatrix() == matrixId) {
    setCellValue(row, matrixId, former);
    entryGridView()->updateRow(row);
  }
}

namespace {

// Runs a panel at the bottom-left corner of the selected cell; answers its closing
// key when it closed with one of Enter, Return, Tab and Back-tab, else 0.
uint16_t runPanelAtCell(InputPanelController* panel, EntryGridView* view, int row, int matrixId, const QString& s)
{
  panel->resetTextFieldWithString(s);
  panel->setWindowFrameOriginByFrameTopLeftPoint(view->globalCellRect(row, matrixId).bottomLeft() + QPoint(0, 1));
  panel->runModal(view->window());
  const uint16_t k = panel->stopModalChar();
  const bool closed = k == StopChar::kEnter || k == StopChar::kReturn || k == StopChar::kTab || k == StopChar::kBacktab;
  return closed ? k : 0;
}

}  // namespace

void EntryWindowController::finishHandOff(int row, int matrixId, const std::optional<FieldValue>& value, uint16_t k)
{
  if (k == 0) return;  // cancelled: the cell keeps its value
  if (value) {
    setCellValue(row, matrixId, *value);
    textDidChange(row, matrixId, {});
    textDidEndEditing(row, matrixId, formattedCellString(row, matrixId, *value));
  }
  entryGridView()->viewport()->update();
  if (k == StopChar::kTab)
    moveSelectedCell(EntryGridView::Command::InsertTab);
  else if (k == StopChar::kBacktab)
    moveSelectedCell(EntryGridView::Command::InsertBacktab);
  else
    finishingStep();
}

void EntryWindowController::showInputHidukeWindowForMatrix(int matrixId, const QString& s)
{
  const int row = selectedEntryRow();
  if (row < 0) return;
  using Owned = OpenDocument::OwnedController;
  auto* panel = document()->ownedControllerAs<InputHidukeController>(Owned::InputHiduke);
  if (!panel) {
    panel = new InputHidukeController(document()->document());
    document()->setOwnedController(Owned::InputHiduke, panel);
  }
  const uint16_t k = runPanelAtCell(panel, entryGridView(), row, matrixId, s);
  std::optional<FieldValue> value;
  if (k && panel->hiduke()) value = FieldValue::date(*panel->hiduke());
  finishHandOff(row, matrixId, value, k);
}

void EntryWindowController::showInputKingakuWindowForMatrix(int matrixId, const QString& s)
{
  const int row = selectedEntryRow();
  if (row < 0) return;
  using Owned = OpenDocument::OwnedController;
  const int32_t precision = document()->document().kaisya().decimalPrecision();
  auto* panel = document()->ownedControllerAs<InputKingakuController>(Owned::InputKingaku);
  if (!panel || panel->decimalPrecision() != precision) {
    panel = new InputKingakuController(precision);
    document()->setOwnedController(Owned::InputKingaku, panel);
  }
  const uint16_t k = runPanelAtCell(panel, entryGridView(), row, matrixId, s);
  std::optional<FieldValue> value;
  // A negative amount means none was entered: the cell is left alone.
  if (k && panel->kingaku() >= 0) value = FieldValue::amount(panel->kingaku());
  finishHandOff(row, matrixId, value, k);
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
      // A command may wait (a panel, a question, its progress): the window may have
      // gone by its end.
      const QPointer<EntryWindowController> self = this;
      command();
      if (self && validation != Validation::None) validateMenuItems();
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
