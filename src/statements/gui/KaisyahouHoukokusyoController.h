// The statements sheet of a corporation on the Companies-Act chart (決算報告書), on the
// document information window. Its "general" tab sets the period of the statements,
// the opening-balance option, the cover (title, dates in common-era or Japanese-era
// form), the currency unit and the statements to print; its "kabunushiShihon" tab is
// the change-reason editor of the statement of changes in net assets; its "note" tab
// holds the notes, rich text printed on pages after the statements.
//
// The settings live in the company record (Kaisya); the notes as the HTML of the
// rich text. OK checks the tab, stores it, computes the statements for the whole
// company (division 99) and prints them; Cancel computes nothing. The document keeps
// one sheet and reuses it, refilled, for every later printout.
#pragma once

#include <QPointer>
#include <memory>

#include "statements/KaisyahouHoukokusyo.h"
#include "statements/gui/HoukokusyoGeneralTab.h"
#include "statements/gui/KaisyahouHoukokusyoPrintView.h"
#include "statements/gui/StatementsSheetController.h"

class QCheckBox;
class QLineEdit;
class QMimeData;
class QPushButton;
class QTabWidget;
class QTextEdit;
class QTreeWidgetItem;

namespace kivo {

class DocumentWindowController;
class OpenDocument;
class CheckedItemDelegate;
class HendouReasonOutline;
class HidukeFormatter;
class KamokuFormatter;

class KaisyahouHoukokusyoController : public StatementsSheetController {
  Q_OBJECT
public:
  static constexpr const char* kInvalidStartTitle = HoukokusyoGeneralTab::kInvalidStartTitle;
  static constexpr const char* kInvalidEndTitle = HoukokusyoGeneralTab::kInvalidEndTitle;
  static constexpr const char* kOutOfTermMessage = HoukokusyoGeneralTab::kOutOfTermMessage;
  enum Tab { GeneralTab = 0, KabunushiShihonTab = 1, NoteTab = 2 };

  // The document's sheet, made on first use.
  static KaisyahouHoukokusyoController* controllerOfDocument(OpenDocument* document);
  ~KaisyahouHoukokusyoController() override;

  // Whether the 決算報告書 command opens this sheet: a corporation on the Companies-Act
  // chart (other documents have the older-form statements).
  static bool isKaisyahouDocument(const OpenDocument* document);

  // Fills the sheet from the company record (first showing: the term's dates).
  void updateUI();
  // Rebuilds the reasons' lists and reloads the outline.
  void updateUIOfKabunushiShihon();

  // What the sheet answers the printout.
  KaisyahouHoukokusyoPrintChoice printChoice() const;
  const KaisyahouHoukokusyo& model() const { return model_; }
  int computeCount() const { return computeCount_; }

  // --- actions
  void endKaisyahouHoukokusyoWindow();
  void cancelKaisyahouHoukokusyoWindow();
  void addHendouReason();
  void removeHendouReason();
  void showInputShiwakeWindow();

  // --- parts (tests)
  QLineEdit* termStartDateField() const { return general_->termStartDateField(); }
  QLineEdit* termEndDateField() const { return general_->termEndDateField(); }
  QCheckBox* addStartBalanceCheckbox() const { return general_->addStartBalanceCheckbox(); }
  QLineEdit* titleOfCoversheetField() const { return general_->titleOfCoversheetField(); }
  QLineEdit* termStartDateOfCoverField() const { return general_->termStartDateOfCoverField(); }
  QLineEdit* termEndDateOfCoverField() const { return general_->termEndDateOfCoverField(); }
  QCheckBox* warekiOfCoverStartCheckbox() const { return general_->warekiOfCoverStartCheckbox(); }
  QCheckBox* warekiOfCoverEndCheckbox() const { return general_->warekiOfCoverEndCheckbox(); }
  QLineEdit* currencyUnitField() const { return general_->currencyUnitField(); }
  // cover, BS, PL, SG&A, cost, changes, notes
  QCheckBox* printCheckbox(int i) const { return general_->printCheckbox(i); }
  HendouReasonOutline* hendouReasonOutline() const { return outline_; }
  CheckedItemDelegate* renameDelegate() const { return renameDelegate_; }
  QTextEdit* noteTextView() const { return noteView_; }
  bool didEditNote() const { return didEditNote_; }

protected:
  void windowDidBecomeKey() override;
  bool shouldApplyTab(int tab) override;
  void applyTab(int tab) override;
  bool canSelectTab(int tab) override;
  void didSelectTab(int tab) override;
  void willBeginSheet() override;
  void sheetDidEnd(int returnCode) override;
  std::unique_ptr<Printout> makePrintView(const QPageLayout& layout) override;

private:
  explicit KaisyahouHoukokusyoController(OpenDocument* document);
  void buildWindow();
  QWidget* buildKabunushiShihonTab();
  void loadNote();
  void selectPrintItems();
  void writeReasonsIntoShiwake();
  void selectRow(QTreeWidgetItem* item);
  QTreeWidgetItem* selectedItem() const;
  HendouReasonPtr reasonOfItem(const QTreeWidgetItem* item) const;
  ShiwakePtr shiwakeOfItem(const QTreeWidgetItem* item) const;
  QMimeData* writeItems(const QList<QTreeWidgetItem*>& items);
  bool acceptDrop(QTreeWidgetItem* parent, int index, const QMimeData* data);
  void renameItem(QTreeWidgetItem* item, int column);

  KaisyahouHoukokusyo model_;
  int computeCount_ = 0;
  bool didEditNote_ = false;
  bool reloading_ = false;

  std::unique_ptr<HidukeFormatter> periodFormatter_;
  std::unique_ptr<KamokuFormatter> kamokuFormatter_;

  HendouReasonOutline* outline_ = nullptr;
  CheckedItemDelegate* renameDelegate_ = nullptr;
  QPushButton* addReasonButton_ = nullptr;
  QPushButton* removeReasonButton_ = nullptr;
  QPushButton* openShiwakeButton_ = nullptr;
  QTextEdit* noteView_ = nullptr;
};

}  // namespace kivo
