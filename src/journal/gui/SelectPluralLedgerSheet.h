// The sheet that chooses several ledgers to print in one printout, attached to the
// document information window: the ledgers not chosen and the chosen ones in two
// outlines, between which the user drags items; the first and last month; the page
// numbering (per ledger or continuous, and the start number); and the buttons page
// setup, preview, Cancel and OK (print).
//
// The choice lives in the model's transient isTempSelected flags. OK and preview hand
// the months and the numbering to the information window, which builds and prints
// or previews the chosen ledgers. The accounts sheet and the sub-accounts sheet
// derive from this one.
#pragma once

#include <QPointer>
#include <cstdint>
#include <vector>

#include "journal/gui/LedgerChoiceTree.h"
#include "platform/SheetController.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QVBoxLayout;

namespace kivo {

class OpenDocument;
class WindowController;

class SelectPluralLedgerSheet : public SheetController {
  Q_OBJECT
public:
  using Ledger = LedgerChoiceTree::Ledger;

  int32_t periodFromMonthArrayIndex() const { return periodFromMonthArrayIndex_; }
  void setPeriodFromMonthArrayIndex(int32_t v) { periodFromMonthArrayIndex_ = v; }
  int32_t periodToMonthArrayIndex() const { return periodToMonthArrayIndex_; }
  void setPeriodToMonthArrayIndex(int32_t v) { periodToMonthArrayIndex_ = v; }

  // Opens the sheet on the information window over the whole term.
  void beginForWindow(WindowController* info);
  // Resets and fills the sheet: outlines, buttons, months, numbering per ledger from 1.
  virtual void updateUI();
  // Rebuilds both outlines and enables OK and preview while something is chosen.
  void reloadOutlines();

  // Marks the ledgers chosen or not, as a drop into one of the outlines does.
  void setLedgersChosen(const std::vector<Ledger>& ledgers, bool chosen);

  // --- actions
  void selectItemOfMonthFromPopUp();
  void selectItemOfMonthToPopUp();
  void pageSetup();
  void showPrintPreview();
  // Hands the numbering to the document's ledger print accessory.
  void setKanjyoumotocyouPrintAccessoryViewOfDocumentInfoController();

  LedgerChoiceTree* unselectedOutlineView() const { return unselectedOutline_; }
  LedgerChoiceTree* selectedOutlineView() const { return selectedOutline_; }
  QComboBox* monthFromPopUp() const { return monthFromPopUp_; }
  QComboBox* monthToPopUp() const { return monthToPopUp_; }
  QRadioButton* perLedgerNumberingButton() const { return perLedgerButton_; }
  QRadioButton* continuousNumberingButton() const { return continuousButton_; }
  QSpinBox* startPageNumberField() const { return startPageNumberField_; }
  QPushButton* okButtonWidget() const { return okButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }
  QPushButton* previewButton() const { return previewButton_; }

protected:
  SelectPluralLedgerSheet(OpenDocument* document, const QString& title, const QString& mimeType);

  OpenDocument* document() const { return document_; }
  // The information window, which the printing goes over.
  QWidget* documentInfo() const;
  // Fills the outline with the ledgers chosen or not.
  virtual void fillOutline(LedgerChoiceTree* outline, bool chosen) = 0;
  // Sets the flag of the ledger's record.
  virtual void setLedgerChosen(const Ledger& ledger, bool chosen) = 0;
  // Prints (over the window) or previews the chosen ledgers.
  virtual void printChosen(QWidget* window, bool preview) = 0;
  // A place above the outlines for a sheet's own controls.
  QVBoxLayout* topLayout() const { return topLayout_; }

  QAbstractButton* okButton() const override;
  void storeChoice() override;

private:
  void storeMonths();

  OpenDocument* document_;
  int32_t periodFromMonthArrayIndex_ = 0;
  int32_t periodToMonthArrayIndex_ = 0;
  QVBoxLayout* topLayout_ = nullptr;
  LedgerChoiceTree* unselectedOutline_ = nullptr;
  LedgerChoiceTree* selectedOutline_ = nullptr;
  QComboBox* monthFromPopUp_ = nullptr;
  QComboBox* monthToPopUp_ = nullptr;
  QRadioButton* perLedgerButton_ = nullptr;
  QRadioButton* continuousButton_ = nullptr;
  QSpinBox* startPageNumberField_ = nullptr;
  QPushButton* pageSetupButton_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

}  // namespace kivo
