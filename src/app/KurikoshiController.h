// The carry-forward window (繰越処理): the next term's settings ("set"), the progress
// of the closing balances ("creating") and the balances that cannot be carried
// ("error"). OK checks the settings as the new-document window does, computes the
// closing balances (KurikoshiZandaka), opens the next term's document
// (KurikoshiDocument) untitled and changed, then marks the old document as carried
// forward, saves it and closes it once the save succeeded. The window is
// application-modal and belongs to the old document.
#pragma once

#include <memory>
#include <optional>

#include "assets/KurikoshiZandaka.h"
#include "document/gui/DocumentWindowController.h"
#include "model/Date.h"
#include "setup/TermSettings.h"
#include "setup/gui/TermFields.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace kivo {

class DocumentSession;

class KurikoshiController : public DocumentWindowController {
  Q_OBJECT
public:
  explicit KurikoshiController(DocumentSession* document);
  ~KurikoshiController() override;

  static KurikoshiController* showKurikoshiWindow(DocumentSession* document);

  void updateUI(bool force) override;
  // OK: the checks, then the carry-forward. Returns the next term's document when
  // one was made.
  DocumentSession* endKurikoshiWindow();
  void stopKurikoshiWindow();

  // "set", "creating" or "error".
  QString currentTabIdentifier() const;
  TermSettings termSettings() const;

  QLineEdit* nameField() const { return nameField_; }
  QLineEdit* termNoField() const { return term_->termNoField(); }
  QLineEdit* termStartDateField() const { return term_->termStartDateField(); }
  QLineEdit* termEndDateField() const { return term_->termEndDateField(); }
  QPushButton* okButton() const { return okButton_; }
  QLabel* errorField() const { return errorField_; }
  QTableWidget* invalidZandakaShisanTableView() const { return invalidTable_; }
  QProgressBar* progressIndicator() const { return progressIndicator_; }

protected:
  void windowDidLoad() override;
  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;

private:
  void selectTab(int index);
  void showRefusal(const KurikoshiZandaka& zandaka);

  QStackedWidget* tabView_ = nullptr;
  QLineEdit* nameField_ = nullptr;
  QLabel* kindField_ = nullptr;
  QCheckBox* seizouCheckbox_ = nullptr;
  QCheckBox* kensetuCheckbox_ = nullptr;
  QCheckBox* kakeiboCheckbox_ = nullptr;
  TermFields* term_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QLabel* progressField_ = nullptr;
  QProgressBar* progressIndicator_ = nullptr;
  QLabel* errorField_ = nullptr;
  QTableWidget* invalidTable_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};

}  // namespace kivo
