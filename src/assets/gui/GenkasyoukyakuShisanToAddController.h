// The sheet of the asset register that enters the basic data of a new asset (name,
// management code, account, sub-account, division and, for a new asset, whether it
// follows the rule before 2007-04-01), or changes that of an existing one.
//
// The register makes the new asset (定率法 for a corporation, 定額法 for a sole
// proprietor) or passes the selected one to updateUIToEditGenkasyoukyakuShisan
// before it shows the sheet. OK writes the fields into the asset, appends a new one
// to the document's assets and marks the document changed; Cancel leaves everything
// as it was. The register refreshes itself and selects the asset when the sheet has
// ended with OK.
#pragma once

#include <memory>

#include "model/GenkasyoukyakuShisan.h"
#include "platform/SheetController.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kivo {

class OpenDocument;
class FormatterLineEditBinding;
class HojyoKamokuFormatter;
class JigyoubuFormatter;
class KamokuFormatter;

class GenkasyoukyakuShisanToAddController : public SheetController {
  Q_OBJECT
public:
  explicit GenkasyoukyakuShisanToAddController(OpenDocument* document, QWidget* parent = nullptr);
  ~GenkasyoukyakuShisanToAddController() override;

  // Fills the sheet from the asset, new or already in the document.
  void updateUIToEditGenkasyoukyakuShisan(GenkasyoukyakuShisanPtr asset);
  const GenkasyoukyakuShisanPtr& editingGenkasyoukyakuShisan() const { return editingGenkasyoukyakuShisan_; }

  // The action of both buttons.
  void endGenkasyoukyakuShisanToAddWindow(QObject* sender);
  // The checks before OK, in field order; false beeps and selects the field.
  bool shouldEndGenkasyoukyakuShisanToAddWindow();

  // The pickers of the code fields, at the field, with its text.
  void showKamokuFormatterListWindow();
  void showHojyoKamokuFormatterListWindow();
  void showJigyoubuFormatterListWindow();

  QLineEdit* nameField() const { return nameField_; }
  QLineEdit* kanriCodeField() const { return kanriCodeField_; }
  QLineEdit* kamokuField() const { return kamokuField_; }
  QLabel* hojyoKamokuTitleField() const { return hojyoKamokuTitleField_; }
  QLineEdit* hojyoKamokuField() const { return hojyoKamokuField_; }
  QLabel* jigyoubuTitleField() const { return jigyoubuTitleField_; }
  QLineEdit* jigyoubuField() const { return jigyoubuField_; }
  QCheckBox* isShisanAddedBefore20070401Checkbox() const { return isShisanAddedBefore20070401Checkbox_; }
  QAbstractButton* okButton() const override;
  QPushButton* cancelButton() const { return cancelButton_; }

protected:
  void storeChoice() override;

private:
  bool isInDocument(const GenkasyoukyakuShisanPtr& asset) const;
  void updateVisibleFields();
  // The code a field holds once its text is read, -1 when it holds none.
  static int32_t committedCode(FormatterLineEditBinding* binding);

  OpenDocument* document_;
  GenkasyoukyakuShisanPtr editingGenkasyoukyakuShisan_;
  std::unique_ptr<KamokuFormatter> kamokuFormatter_;
  std::unique_ptr<HojyoKamokuFormatter> hojyoKamokuFormatter_;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;

  QLineEdit* nameField_ = nullptr;
  QLineEdit* kanriCodeField_ = nullptr;
  QLineEdit* kamokuField_ = nullptr;
  QLabel* hojyoKamokuTitleField_ = nullptr;
  QLineEdit* hojyoKamokuField_ = nullptr;
  QLabel* jigyoubuTitleField_ = nullptr;
  QLineEdit* jigyoubuField_ = nullptr;
  QToolButton* selectKamokuButton_ = nullptr;
  QToolButton* selectHojyoKamokuButton_ = nullptr;
  QToolButton* selectJigyoubuButton_ = nullptr;
  FormatterLineEditBinding* kamokuBinding_ = nullptr;
  FormatterLineEditBinding* hojyoKamokuBinding_ = nullptr;
  FormatterLineEditBinding* jigyoubuBinding_ = nullptr;
  QCheckBox* isShisanAddedBefore20070401Checkbox_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace kivo
