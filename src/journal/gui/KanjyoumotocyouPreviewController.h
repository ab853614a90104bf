// The ledger preview: a ledger printout on screen a page at a time at 140 %, with
// buttons for the previous and next page, the page number to go to, and the page
// numbering (per ledger or continuous, and the start number), which the page shows at
// once. It has no print button: the user closes it and prints from where it was
// opened.
//
// The numbering belongs to the document information window (its ledger print
// accessory): the preview reads and changes it there, and the openers set it again
// before they print, so a change made here shows only here.
//
// One preview per document, kept by the document; each opening runs it
// application-modally over a new print view:
//
//   preview->runModalForPrintView(view.get());
#pragma once

#include <QDialog>
#include <QPointer>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;

namespace kivo {

class KanjyoumotocyouPrintAccessory;
class OpenDocument;
class KanjyoumotocyouPrintView;
class ModalSession;
class PrintPreviewView;

class KanjyoumotocyouPreviewController : public QDialog {
  Q_OBJECT
public:
  static constexpr double kZoom = 1.4;

  explicit KanjyoumotocyouPreviewController(OpenDocument* document);
  ~KanjyoumotocyouPreviewController() override;

  // The document's preview, made on first use.
  static KanjyoumotocyouPreviewController* previewControllerOfDocument(OpenDocument* document);

  // Shows the view's first page and runs the window application-modally until it is
  // closed; the view must outlive the call.
  void runModalForPrintView(KanjyoumotocyouPrintView* printView);

  // Sets the window up for a view without running it (the modal run does this first).
  void setPrintView(KanjyoumotocyouPrintView* printView);
  void updateUI();
  // The 1-based page.
  void updateUIForPage(int pageNo);
  int pageNo() const { return pageNo_; }
  int pageCount() const;

  void pageUp();
  void pageDown();
  void endKanjyoumotocyouPreviewWindow();

  QRadioButton* perLedgerNumberingButton() const { return perLedgerButton_; }
  QRadioButton* continuousNumberingButton() const { return continuousButton_; }
  QSpinBox* startPageNumberField() const { return startPageNumberField_; }
  QSpinBox* pageNoField() const { return pageNoField_; }
  QLabel* pagesField() const { return pagesField_; }
  QPushButton* pageUpButton() const { return pageUpButton_; }
  QPushButton* pageDownButton() const { return pageDownButton_; }
  PrintPreviewView* previewView() const { return previewView_; }

protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

private:
  KanjyoumotocyouPrintAccessory* accessory() const;
  void handleClickPageNumberRadioButton();
  void handleStartPageNumberEdited();
  void handlePageNoEdited();

  OpenDocument* document_;
  KanjyoumotocyouPrintView* printView_ = nullptr;
  int pageNo_ = 1;
  ModalSession* session_ = nullptr;

  QRadioButton* perLedgerButton_ = nullptr;
  QRadioButton* continuousButton_ = nullptr;
  QSpinBox* startPageNumberField_ = nullptr;
  QSpinBox* pageNoField_ = nullptr;
  QLabel* pagesField_ = nullptr;
  QPushButton* pageUpButton_ = nullptr;
  QPushButton* pageDownButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QScrollArea* scrollView_ = nullptr;
  PrintPreviewView* previewView_ = nullptr;
};

}  // namespace kivo
