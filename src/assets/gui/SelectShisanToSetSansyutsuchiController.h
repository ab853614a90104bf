// The sheet of the asset register that books the computed charge of the term as
// the ordinary charge of the older-rule assets, optionally only of those whose
// ordinary charge is still 0. It does not refresh the register; the register does
// that when the sheet has ended.
#pragma once

#include "platform/SheetController.h"

class QCheckBox;
class QPushButton;

namespace kivo {

class OpenDocument;

class SelectShisanToSetSansyutsuchiController : public SheetController {
  Q_OBJECT
public:
  explicit SelectShisanToSetSansyutsuchiController(OpenDocument* document, QWidget* parent = nullptr);

  // Turns the check box on; called every time before the sheet is shown.
  void updateUI();
  // The action of both buttons.
  void endSelectShisanToSetSansyutsuchiWindow(QObject* sender) { endSheetWithSender(sender); }

  QCheckBox* onlyZeroFutsuuSyoukyakuhiCheckbox() const { return onlyZeroFutsuuSyoukyakuhiCheckbox_; }
  QAbstractButton* okButton() const override;
  QPushButton* cancelButton() const { return cancelButton_; }

protected:
  void storeChoice() override;

private:
  OpenDocument* document_;
  QCheckBox* onlyZeroFutsuuSyoukyakuhiCheckbox_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace kivo
