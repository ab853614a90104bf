// The statements sheet of the older-form 決算報告書 (a corporation on the older chart,
// or a sole proprietor), on the document information window. Its "general" tab sets
// the period, the opening-balance option, the cover, the currency unit and the
// statements to print; a tab per statement holds the note printed under it; the
// appropriation tab (利益処分案, or 損失処理案 for a loss) lists the items to
// appropriate, with their total and the amount carried forward.
//
// The settings and the items live in the company record (Kaisya). OK checks and
// stores the tab, computes the statements for the whole company and prints them;
// items that exceed the profit (or loss) to appropriate are refused with a message.
#pragma once

#include <memory>

#include "statements/Houkokusyo.h"
#include "statements/RiekiSyobunan.h"
#include "statements/gui/HoukokusyoGeneralTab.h"
#include "statements/gui/HoukokusyoPrintView.h"
#include "statements/gui/StatementsSheetController.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace kivo {

class CheckedItemDelegate;
class DocumentWindowController;
class RiekiSyobunanTableView;
class OpenDocument;

class HoukokusyoController : public StatementsSheetController {
  Q_OBJECT
public:
  static constexpr const char* kInvalidStartTitle = HoukokusyoGeneralTab::kInvalidStartTitle;
  static constexpr const char* kInvalidEndTitle = HoukokusyoGeneralTab::kInvalidEndTitle;
  static constexpr const char* kOutOfTermMessage = HoukokusyoGeneralTab::kOutOfTermMessage;
  static constexpr const char* kNewItemName = "追加した科目";
  enum Tab { GeneralTab, TaisyakuTaisyouTab, SonekiKeisanTab, HanbaihiTab, SeizouGenkaTab, RiekiSyobunanTab };
  enum PrintBox { CoverBox, TaisyakuTaisyouBox, SonekiKeisanBox, HanbaihiBox, SeizouGenkaBox, RiekiSyobunanBox };

  static HoukokusyoController* controllerOfDocument(OpenDocument* document);
  // Only a household book has no such statements.
  static bool servesDocument(const OpenDocument* document);
  ~HoukokusyoController() override;

  void updateUI();
  // Computes the statements and fills the appropriation tab.
  void updateUIOfRiekisyobunan();

  HoukokusyoPrintChoice printChoice() const;
  const Houkokusyo& model() const { return model_; }
  const std::vector<Shisan>& riekiSyobunanShisanArray() const { return riekiSyobunanRows_; }
  RiekiSyobunan riekiSyobunan() const;

  // --- actions
  void endHoukokusyoWindow();
  void cancelHoukokusyoWindow();
  void addKamokuToRiekiSyobunan();
  void removeKamokuFromRiekiSyobunan();

  // --- parts (tests)
  QLineEdit* termStartDateField() const { return general_->termStartDateField(); }
  QLineEdit* termEndDateField() const { return general_->termEndDateField(); }
  QCheckBox* printCheckbox(int i) const { return general_->printCheckbox(i); }
  QPlainTextEdit* noteTextView(int tab) const { return noteViews_[tab]; }
  RiekiSyobunanTableView* riekiSyobunanTableView() const { return table_; }
  CheckedItemDelegate* riekiSyobunanItemDelegate() const { return itemDelegate_; }
  QPushButton* addToRiekiSyobunanButton() const { return addButton_; }
  QPushButton* removeFromRiekiSyobunanButton() const { return removeButton_; }
  QLabel* riekiSyobunGoukeiField() const { return goukeiField_; }
  QLabel* jikiKurikoshiRiekiField() const { return jikiField_; }

protected:
  bool shouldApplyTab(int tab) override;
  void applyTab(int tab) override;
  void didSelectTab(int tab) override;
  void windowDidBecomeKey() override;
  void willBeginSheet() override { updateUI(); }
  std::unique_ptr<Printout> makePrintView(const QPageLayout& layout) override;

private:
  explicit HoukokusyoController(OpenDocument* document);
  QWidget* buildRiekiSyobunanTab();
  void selectPrintItems();
  void compute();
  void reloadTable();
  void storeTable();
  bool acceptsKingaku(const QString& text) const;
  // Moves the item of the row before the row given; false when refused.
  bool moveKamokuOfRiekiSyobunan(int from, int to);
  void updateTotals();
  // The sheet became key while an item was in editing: the appropriation tab is
  // filled afresh once that edit ends.
  void updateUIOfRiekisyobunanWhenEditEnds();

  Houkokusyo model_;
  std::vector<Shisan> riekiSyobunanRows_;
  bool reloading_ = false;
  bool recomputeAfterEdit_ = false;

  QPlainTextEdit* noteViews_[6] = {};
  QLabel* riekiTitleField_ = nullptr;
  QLabel* toukiMisyobunTitleField_ = nullptr;
  QLabel* toukiMisyobunField_ = nullptr;
  RiekiSyobunanTableView* table_ = nullptr;
  CheckedItemDelegate* itemDelegate_ = nullptr;
  QPushButton* addButton_ = nullptr;
  QPushButton* removeButton_ = nullptr;
  QLabel* goukeiTitleField_ = nullptr;
  QLabel* goukeiField_ = nullptr;
  QLabel* jikiTitleField_ = nullptr;
  QLabel* jikiField_ = nullptr;
};

}  // namespace kivo
