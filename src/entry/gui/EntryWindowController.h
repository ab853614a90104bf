// What the transfer-voucher and cash-book windows share over their entry grid: the
// keys typed on the grid and in its field editor turned into cell movement, a cell's
// text shown and read through its column's formatter, Return opening the column's
// picker, and the window's "機能" menu.
//
// Each window says which grid, formatters and cells it has; the rules of its rows
// stay with it and its model.
#pragma once

#include <QKeySequence>
#include <functional>
#include <optional>
#include <vector>

#include "document/gui/DocumentWindowController.h"
#include "entry/gui/EntryGridView.h"
#include "fields/FieldValue.h"
#include "platform/NotificationCenter.h"

class QAction;
class QLabel;
class QMenu;

namespace kivo {

class Formatter;

class EntryWindowController : public DocumentWindowController, protected EntryGridView::Delegate {
  Q_OBJECT
public:
  ~EntryWindowController() override;

  bool isEditingCell() const override;

  // The window's "機能" items, in menu order (separators are null); made once.
  virtual const std::vector<QAction*>& functionMenuActions() = 0;
  // Enables the "機能" items as the window's state allows.
  virtual void validateMenuItems() = 0;
  // The item a user reads as the title (how the tests find an item); enabling goes
  // by the items' commands.
  QAction* functionMenuAction(const QString& title);

  // The kinds of entry column the preferences give an input type and source.
  enum class InputKind { None, Date, Kamoku, HojyoKamoku, Kingaku, Jigyoubu, Tekiyou };
  static const char* inputTypeKeyStringForKind(InputKind kind);
  static const char* inputSourceKeyStringForKind(InputKind kind);
  // Read from the preferences each time: 1 when the column is filled from its panel
  // or picker; 0 whenever an input source is stored for its kind.
  int inputTypeForMatrix(int matrixId) const;
  // Whether the column's editor takes typing through the input method: not when an
  // ASCII source ("en") is stored for its kind.
  bool usesInputMethod(int matrixId) const override;

  // --- the hand-off of a highlighted cell to its panel or picker
  // A key typed on a selected cell of a column filled from panels (s: the typed text,
  // "\x7f" for Delete, "\x03" or "\r" for Enter or Return, which start the panel or
  // picker empty).
  void showInputWindowForMatrix(int matrixId, const QString& s);
  void showInputHidukeWindowForMatrix(int matrixId, const QString& s);
  void showInputKingakuWindowForMatrix(int matrixId, const QString& s);

protected:
  // The picker Return opens in a column.
  enum class Picker { None, Kamoku, HojyoKamoku, Jigyoubu, Tekiyou };
  // How a "機能" item checks the items around its command.
  enum class Validation { None, After, BeforeAndAfter };

  // keyDownNotificationName: the grid's notification of keys typed on it.
  EntryWindowController(OpenDocument* document, Kind kind, const char* keyDownNotificationName);

  // --- what the window supplies
  virtual EntryGridView* entryGridView() const = 0;
  virtual bool isEditableMatrix(int matrixId) const = 0;
  // The formatter of a column, set up for the row (a sub-account's parent account);
  // nullptr for a column shown as it is.
  virtual Formatter* formatterForMatrix(int matrixId, int row) const = 0;
  virtual FieldValue cellValue(int row, int matrixId) const = 0;
  virtual void setCellValue(int row, int matrixId, const FieldValue& value) = 0;
  virtual int selectedEntryRow() const = 0;
  virtual int selectedEntryMatrix() const = 0;
  // Tab, Back-tab and the arrows; false when the typed text of the cell is refused.
  virtual bool moveSelectedCell(EntryGridView::Command command) = 0;
  virtual Picker pickerOfMatrix(int matrixId) const = 0;
  // The sub-account column beside an account column.
  virtual int hojyoKamokuMatrixOfKamokuMatrix(int matrixId) const = 0;
  // Whether Return may pick into the cell at all.
  virtual bool mayPickInCell(int row, int matrixId) { return true; }
  virtual InputKind inputKindOfMatrix(int matrixId) const = 0;

  // --- input types and the hand-off, alike in both windows
  bool isHighlightOnlyCell(int row, int matrixId) override { return inputTypeForMatrix(matrixId) == 1; }
  // Hands the cell to its panel or picker for the keys that do so (EntryGridKey).
  void keyTypedInHighlightedCell(int row, int matrixId, const QString& text) override;

  // --- EntryGridView::Delegate, alike in both windows
  bool textShouldEndEditing(int row, int matrixId, const QString& text) override;
  bool doCommandBySelector(int row, int matrixId, EntryGridView::Command command, bool isAutoRepeat) override;
  bool isPartialStringValid(int matrixId, const QString& text) const override;
  void partialStringRefused(int row, int matrixId, const QString& text) override;
  // Says next to the cell why its text is refused.
  void showRefusalAtCell(int row, int matrixId, const QString& message);
  // A cell's text through its column's formatter; empty for an empty cell.
  QString formattedCellString(int row, int matrixId, const FieldValue& value) const;

  // Tab, Back-tab and the arrows typed on the grid itself.
  void handleEntryGridViewKeyDown(const NotificationCenter::Notification& notification);
  // Ends the editing of the selected cell, reading its text; false when the text is
  // refused.
  bool commitEditing();
  // Whether the text being typed in the selected cell reads as its column's value, so
  // that commitEditing takes it without a word (true when no cell is being edited).
  bool isEditedTextReadable() const;
  void removeAllUndoActions();
  // Return in a code or description cell: the column's picker; what is chosen goes
  // into the cell, and the stop key of the picker moves on. True when something was
  // chosen. typedKey: the cell holds the key typed on it, which the picker searches
  // for whatever it matches (a description's kana included).
  bool showFormatterListWindowForSelectedCell(bool typedKey = false);
  // Selects the selected cell again (the grid leaves it while a picker shows).
  void finishingStep();
  // After a panel closed with key k (0: cancelled): the value goes into the cell,
  // then Tab and Back-tab move on, Enter and Return stay.
  void finishHandOff(int row, int matrixId, const std::optional<FieldValue>& value, uint16_t k);

  // The large spaced-out title over the grid.
  static QLabel* makeTitleLabel(const QString& title, QWidget* parent);

  // --- "機能" menu
  QAction* addFunctionMenuAction(const QString& title, const QKeySequence& key, std::function<void()> command,
                                 Validation validation = Validation::BeforeAndAfter);
  void addFunctionMenuSeparator() { functionActions_.push_back(nullptr); }
  // The grid's editor leaves the items' keys to the menu; the items act in this
  // window (all but the one given).
  void reserveFunctionMenuShortcuts(QAction* notInWindow = nullptr);
  void fillFunctionMenu(QMenu* menu) override;

  std::vector<QAction*> functionActions_;

private:
  QMetaObject::Connection keyDownConnection_;
};

}  // namespace kivo
