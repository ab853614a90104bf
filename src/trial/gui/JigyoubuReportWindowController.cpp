#include "trial/gui/JigyoubuReportWindowController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>

#include "document/MyDocument.h"
#include "document/gui/OpenDocument.h"
#include "fields/FieldValue.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "platform/AlertSheet.h"
#include "platform/QtStrings.h"
#include "platform/SheetController.h"
#include "setup/gui/JigyoubuListController.h"

namespace kivo {

JigyoubuReportWindowController::JigyoubuReportWindowController(OpenDocument* document, Kind kind, const Names& names)
    : PeriodReportWindowController(document, kind), names_(names)
{
}

QString JigyoubuReportWindowController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  return displayName + QStringLiteral(" - ") + qs(names_.windowMenuTitle);
}

QString JigyoubuReportWindowController::windowMenuTitle() const { return qs(names_.windowMenuTitle); }

QString JigyoubuReportWindowController::denpyouAndCyouhyouItemTitle() const
{
  return qs(names_.denpyouAndCyouhyouItemTitle);
}

JigyoubuReportWindowController::~JigyoubuReportWindowController() = default;

void JigyoubuReportWindowController::windowDidResignMain() { paintTextFieldHighlight(false); }

JigyoubuReportWindowController::Body JigyoubuReportWindowController::makeBodyWithJigyoubuStrip(
    int jigyoubuFieldCharacters)
{
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(document()->document(), true);
  Body body;
  body.central = new QWidget(this);
  body.layout = new QVBoxLayout(body.central);
  body.stripView = new QWidget(body.central);
  body.stripView->setAutoFillBackground(true);
  QPalette grey = body.stripView->palette();
  grey.setColor(QPalette::Window, QColor(230, 230, 230));
  body.stripView->setPalette(grey);
  body.strip = new QHBoxLayout(body.stripView);
  body.strip->setContentsMargins(10, 6, 10, 6);
  body.strip->setSpacing(4);
  displayingJigyoubuTitleField_ = new QLabel(QStringLiteral("事業部:"), body.stripView);
  displayingJigyoubuField_ = makeSelectionField(body.stripView, jigyoubuFieldCharacters);
  selectDisplayingJigyoubuButton_ = makeSelectButton(body.stripView, QStringLiteral("表示する事業部を選ぶ"));
  connect(selectDisplayingJigyoubuButton_, &QToolButton::clicked, this,
          [this] { showJigyoubuFormatterListWindowForDisplayingJigyoubuField(); });
  body.strip->addWidget(displayingJigyoubuTitleField_);
  body.strip->addWidget(displayingJigyoubuField_);
  body.strip->addWidget(selectDisplayingJigyoubuButton_);
  body.layout->addWidget(body.stripView);
  return body;
}

void JigyoubuReportWindowController::setUpJigyoubuField()
{
  jigyoubuFieldInUse_ = document()->document().numberOfActiveJigyoubu() >= 1;
  if (!jigyoubuFieldInUse_) {
    displayingJigyoubuTitleField_->hide();
    displayingJigyoubuField_->hide();
    selectDisplayingJigyoubuButton_->hide();
  }
  displayJigyoubuCode_ = Jigyoubu::kAllJigyoubuCode;
  setDisplayingJigyoubuFieldValue();
}

void JigyoubuReportWindowController::setDisplayingJigyoubuFieldValue()
{
  if (!jigyoubuFieldInUse_) return;
  const MyDocument& doc = document()->document();
  if (doc.numberOfActiveJigyoubu() < 1) {
    // Every division was made inactive since the window was built.
    displayJigyoubuCode_ = Jigyoubu::kAllJigyoubuCode;
    displayingJigyoubuField_->clear();
    selectDisplayingJigyoubuButton_->setEnabled(false);
    return;
  }
  selectDisplayingJigyoubuButton_->setEnabled(true);
  char code[16];
  std::snprintf(code, sizeof code, "%02d", static_cast<int>(displayJigyoubuCode_));
  if (!doc.matchJigyoubuCode(code)) displayJigyoubuCode_ = Jigyoubu::kAllJigyoubuCode;
  const auto text = jigyoubuFormatter_->stringForObjectValue(FieldValue::code(displayJigyoubuCode_));
  displayingJigyoubuField_->setText(text ? QString::fromStdString(*text) : QString());
}

bool JigyoubuReportWindowController::typeOnJigyoubuField(QLineEdit* field, const QString& typed)
{
  if (field != displayingJigyoubuField_) return false;
  const bool accepted = jigyoubuFormatter_->isPartialStringValid(typed.toStdString());
  if (accepted) field->setText(typed);
  showJigyoubuFormatterListWindowForDisplayingJigyoubuField(accepted ? typed : QString());
  return true;
}

WindowController* JigyoubuReportWindowController::refuseForSheet(
    const std::function<bool(const SheetController&)>& refuses)
{
  WindowController* holder = nullptr;
  for (DocumentWindowController* wc : document()->windowControllers()) {
    const SheetController* sheet = wc->attachedSheetController();
    if (sheet && refuses(*sheet)) {
      holder = wc;
      break;
    }
  }
  if (!holder) return nullptr;
  QWidget* main = document()->mainWindowController();
  if (!main) main = this;
  QPointer<WindowController> target = holder;
  AlertSheet::beginAlertSheet(main, qs(AlertSheet::kCannotExecuteTitle), qs(AlertSheet::kCloseSheetMessage), [target] {
    if (target) target->showWindow();
  });
  return holder;
}

void JigyoubuReportWindowController::showJigyoubuFormatterListWindowForDisplayingJigyoubuField(
    const QString& searchText)
{
  if (!jigyoubuFieldInUse_ || !selectDisplayingJigyoubuButton_->isEnabled()) return;
  selectTextField(displayingJigyoubuField_);
  if (refusesToShowJigyoubuList()) return;
  setDisplayingJigyoubuFieldValue();
  // The picker opens just below the field.
  const QPoint topLeft = displayingJigyoubuField_->mapToGlobal(QPoint(0, displayingJigyoubuField_->height()));
  const int32_t code = JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(
      *jigyoubuFormatter_, topLeft, searchText, this);
  if (code < 0 || code == displayJigyoubuCode_) return;
  displayJigyoubuCode_ = code;
  didChooseJigyoubu();
}

bool JigyoubuReportWindowController::refusesToShowJigyoubuList()
{
  return refuseForSheet(
      [](const SheetController& s) { return s.metaObject()->inherits(&JigyoubuListController::staticMetaObject); });
}

// The user chose what this window shows: it shows it now.
void JigyoubuReportWindowController::didChooseJigyoubu() { updateUI(true); }

}  // namespace kivo
