// The sheet of the asset register that chooses the calendar year whose depreciable-
// asset declaration is printed: one item per calendar year the term touches. OK
// keeps the year; the register prints the declaration when the sheet has ended.
#pragma once

#include <functional>

#include "platform/SheetController.h"

class QComboBox;
class QPushButton;

namespace kivo {

class OpenDocument;

class SyoukyakushisanShinkokusyoController : public SheetController {
  Q_OBJECT
public:
  explicit SyoukyakushisanShinkokusyoController(OpenDocument* document, QWidget* parent = nullptr);

  // Fills the year pop-up from the document's term.
  void updateUI();
  // The year chosen when the sheet ended with OK.
  int targetYear() const { return targetYear_; }
  // The page setup of the declaration (the sheet's own button).
  std::function<void()> pageSetupHandler;

  QComboBox* targetYearPopUp() const { return targetYearPopUp_; }
  QAbstractButton* okButton() const override;
  QPushButton* cancelButton() const { return cancelButton_; }

protected:
  void storeChoice() override;

private:
  OpenDocument* document_;
  int firstYear_ = 0;
  int targetYear_ = 0;
  QComboBox* targetYearPopUp_ = nullptr;
  QPushButton* pageSetupButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace kivo
