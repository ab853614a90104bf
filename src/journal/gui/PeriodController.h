// The period sheet of a document: the "from" and "to" month of a report window, out of
// the months of the term followed by "決算整理月" (the closing-adjustment month). One
// sheet per document, made on first use and shared by every report window that shows
// a range of months (the ledgers, the trial balance, the sub-account balance list).
//
// A report window begins the sheet on itself with its displayed range; on OK the
// chosen range is written into that same window, which recomputes its report. (It is
// never written into whichever window happens to be main when the sheet ends.)
//
// A month can be chosen from the list or typed: an item's exact text, or a number
// from 1 to 12 for the whole month of that name ("4" is "4月") and 13 for
// "決算整理月". Text that names no month gives the former choice back. Choosing a
// "from" month after the "to" month pulls the "to" month along, and the reverse.
#pragma once

#include <QPointer>
#include <cstdint>

#include "platform/SheetController.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace kivo {

class OpenDocument;
class WindowController;

class PeriodController : public SheetController {
  Q_OBJECT
public:
  static constexpr const char* kKessanSeiridukiName = "決算整理月";

  explicit PeriodController(OpenDocument* document, QWidget* parent = nullptr);
  ~PeriodController() override;

  // The document's period sheet, made and kept by the document on first use.
  static PeriodController* periodControllerOfDocument(OpenDocument* document);

  // Fills the sheet with the window's displayed range and begins it on the window (a
  // DisplayPeriodWindow). With OK the range goes into that window, which updates.
  void beginSheetForWindow(WindowController* window);

  int32_t periodFromMonthArrayIndex() const { return periodFromMonthArrayIndex_; }
  // Hides the Cancel button the next time the sheet is filled; cleared when it ends.
  bool doHideCancelButton() const { return doHideCancelButton_; }
  void setDoHideCancelButton(bool v) { doHideCancelButton_ = v; }

  // Fills both month lists and selects the stored indexes.
  void updateUI();

  // The action of both buttons; abortPeriodWindow ends the sheet as Cancel would.
  void endPeriodWindow(QObject* sender) { endSheetWithSender(sender); }
  void abortPeriodWindow() { abortSheet(); }

  // The boxes' actions: keep the range ordered.
  void handleSelectMonthFromComboBox();
  void handleSelectMonthToComboBox();
  // Resolves the text typed into a box when its editing ends.
  void handleTextDidEndEditing(QComboBox* comboBox);
  // The item index the typed text names in the month list, -1 for none.
  static int indexOfTypedMonth(const QStringList& items, const QString& text);

  QComboBox* monthFromComboBox() const { return monthFromComboBox_; }
  QComboBox* monthToComboBox() const { return monthToComboBox_; }
  QAbstractButton* okButton() const override;
  QPushButton* cancelButton() const { return cancelButton_; }

protected:
  void storeChoice() override;

private:
  void sheetDidEnd(int returnCode);

  OpenDocument* document_;
  int32_t periodFromMonthArrayIndex_ = 0;
  int32_t periodToMonthArrayIndex_ = 0;
  bool doHideCancelButton_ = false;
  QComboBox* monthFromComboBox_;
  QComboBox* monthToComboBox_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  QPointer<WindowController> reportWindow_;
};

}  // namespace kivo
