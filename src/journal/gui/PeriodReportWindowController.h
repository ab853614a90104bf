// A report window with a strip above its tables that shows what is shown and ends
// with the period (first and last month), as the ledger and the trial balance have.
//
// One of the strip's fields is highlighted, and the keys typed in the window's
// tables act on it: Tab and Back-tab move the highlight, Return or Enter opens what
// the selected row stands for, a letter or digit on a period field opens the date
// panel with it (a window's own fields take it first). A click on a field highlights
// it. The period sheet hands its range back through DisplayPeriodWindow.
//
// A new window shows the whole term, from the first month to the closing adjustment.
#pragma once

#include <QColor>
#include <QKeySequence>
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "document/gui/DocumentWindowController.h"
#include "journal/DisplayPeriodWindow.h"
#include "model/Date.h"
#include "platform/NotificationCenter.h"

class QAction;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QProgressBar;
class QToolButton;

namespace kivo {

class PeriodReportWindowController : public DocumentWindowController, public DisplayPeriodWindow {
  Q_OBJECT
public:
  PeriodReportWindowController(OpenDocument* document, Kind kind);
  ~PeriodReportWindowController() override;

  // --- the period: the setters only store; the caller then asks updateUI.
  int32_t displayPeriodFromMonthArrayIndex() const override { return displayPeriodFromMonthArrayIndex_; }
  void setDisplayPeriodFromMonthArrayIndex(int32_t v) override { displayPeriodFromMonthArrayIndex_ = v; }
  int32_t displayPeriodToMonthArrayIndex() const override { return displayPeriodToMonthArrayIndex_; }
  void setDisplayPeriodToMonthArrayIndex(int32_t v) override { displayPeriodToMonthArrayIndex_ = v; }
  void updateDisplayPeriodUI() override { updateUI(true); }

  // --- the strip's fields
  // The fields the highlight steps through, in Tab order.
  const std::vector<QLineEdit*>& textFieldArray() const { return textFieldArray_; }
  QLineEdit* selectedTextField() const;
  void selectTextField(QLineEdit* field);
  // Clamps the period to the term and shows its month names.
  void setDisplayingPeriodFieldValue();
  QLineEdit* displayingPeriodFromField() const { return displayingPeriodFromField_; }
  QLineEdit* displayingPeriodToField() const { return displayingPeriodToField_; }
  // The colour of the highlighted field.
  static QColor selectedTextBackgroundColor();

  // --- commands
  // A month typed on a period field: the date panel, then the month of its date.
  void showInputHidukeWindowForTextField(QLineEdit* field, const QString& initialInput);
  // Moves the "from" or "to" month to the month of the date (the other follows when
  // the range would turn round) and recomputes.
  void setPeriodFieldToDate(QLineEdit* field, Date date);
  void handleTableViewKeyDown(const NotificationCenter::Notification& notification);
  // Ends an attached period sheet as Cancel would.
  void closeAttachedSheet() override;

  // --- "機能" menu
  // The window's items, in menu order (separators are null); made once.
  virtual const std::vector<QAction*>& functionMenuActions() = 0;
  // Enables the items as the window's state allows.
  virtual void validateMenuItems() = 0;
  // Adds an item to the window's "機能" menu (functionActions_): its shortcut works in
  // the window; the items are checked before the command runs, and a disabled one
  // beeps.
  QAction* addFunctionMenuAction(const char* title, std::function<void()> run, const QKeySequence& shortcut = {});
  // The item a user reads as the title (how the tests find an item); enabling goes
  // by the items' commands.
  QAction* functionMenuAction(const QString& title);

  // The window is built first: its columns decide the width it starts with.
  void moveWindowToInitialPositionWithDisplay(bool display) override;

protected:
  // --- what each window adds to the table keys
  // The key came from one of this window's tables.
  virtual bool isOwnTableView(const QObject* sender) const = 0;
  // Return or Enter: opens what the selected row stands for.
  virtual void openSelectedRow() = 0;
  // Space: opens a cell of the selected row for editing, where a window allows it.
  virtual void spaceOnTableView() {}
  // Delete on the highlighted field.
  virtual void deleteOnTextField(QLineEdit* /*field*/) {}
  // A letter or digit on the highlighted field; false leaves it to the period fields.
  virtual bool typeOnTextField(QLineEdit* /*field*/, const QString& /*typed*/) { return false; }

  // --- building the strip
  static QLineEdit* makeSelectionField(QWidget* parent, int characters);
  static QToolButton* makeSelectButton(QWidget* parent, const QString& tip);
  // The period fields, their button and the (hidden) progress indicator on the strip.
  void makePeriodStripWidgets(QWidget* stripView, int fieldCharacters);
  // Lays them out at the strip's end: "期間:" from "〜" to, the button, then the
  // progress indicator at the right edge.
  void addPeriodStripWidgets(QHBoxLayout* strip, QWidget* stripView);
  // The fields that take the highlight and a click (the period fields among them).
  void watchStripFields(std::initializer_list<QLineEdit*> fields);
  void paintTextFieldHighlight(bool active);

  void fillFunctionMenu(QMenu* menu) override;
  void windowDidBecomeKey() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Stops taking table keys (a window that takes its tables down first calls it).
  void stopTableViewKeyDown();

  int32_t displayPeriodFromMonthArrayIndex_ = 0;
  int32_t displayPeriodToMonthArrayIndex_ = 0;
  std::vector<QLineEdit*> textFieldArray_;
  int indexOfSelectedTextField_ = 0;

  QLineEdit* displayingPeriodFromField_ = nullptr;
  QLineEdit* displayingPeriodToField_ = nullptr;
  QToolButton* selectDisplayingPeriodButton_ = nullptr;
  QProgressBar* progressIndicator_ = nullptr;
  std::vector<QAction*> functionActions_;

private:
  std::vector<QLineEdit*> stripFields_;
  QMetaObject::Connection keyDownConnection_;
};

}  // namespace kivo
