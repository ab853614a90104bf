#include "assets/gui/GenkasyoukyakuShisanToAddController.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "document/gui/OpenDocument.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/gui/FormatterLineEditBinding.h"
#include "fields/gui/HojyoKamokuFormatterListWindow.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "fields/gui/KamokuFormatterListWindow.h"
#include "platform/AlertSheet.h"
#include "platform/QtStrings.h"

namespace kivo {

namespace {

void selectText(QLineEdit* field)
{
  field->setFocus();
  field->selectAll();
}

QToolButton* pickerButton(QWidget* parent, const QString& tip)
{
  auto* b = new QToolButton(parent);
  b->setText(QStringLiteral("…"));
  b->setToolTip(tip);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

QWidget* fieldWithPicker(QWidget* parent, QLineEdit* field, QToolButton* button)
{
  auto* box = new QWidget(parent);
  auto* line = new QHBoxLayout(box);
  line->setContentsMargins(0, 0, 0, 0);
  line->addWidget(field);
  line->addWidget(button);
  return box;
}

}  // namespace

GenkasyoukyakuShisanToAddController::GenkasyoukyakuShisanToAddController(OpenDocument* document, QWidget* parent)
    : SheetController(parent), document_(document)
{
  const MyDocument& doc = document_->document();
  kamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, false);
  kamokuFormatter_->setCodeSortedAcceptKamokuArray(doc.codeSortedGenkasyoukyakuShisanKamokuArray());
  hojyoKamokuFormatter_ = std::make_unique<HojyoKamokuFormatter>(doc);
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(doc);

  setWindowTitle(QStringLiteral("資産の基本情報"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  nameField_ = new QLineEdit(this);
  kanriCodeField_ = new QLineEdit(this);
  kamokuField_ = new QLineEdit(this);
  hojyoKamokuField_ = new QLineEdit(this);
  jigyoubuField_ = new QLineEdit(this);
  selectKamokuButton_ = pickerButton(this, QStringLiteral("勘定科目を選ぶ"));
  selectHojyoKamokuButton_ = pickerButton(this, QStringLiteral("補助科目を選ぶ"));
  selectJigyoubuButton_ = pickerButton(this, QStringLiteral("事業部を選ぶ"));
  hojyoKamokuTitleField_ = new QLabel(QStringLiteral("補助科目:"), this);
  jigyoubuTitleField_ = new QLabel(QStringLiteral("事業部:"), this);
  form->addRow(QStringLiteral("資産の名称:"), nameField_);
  form->addRow(QStringLiteral("管理コード:"), kanriCodeField_);
  form->addRow(QStringLiteral("勘定科目:"), fieldWithPicker(this, kamokuField_, selectKamokuButton_));
  form->addRow(hojyoKamokuTitleField_, fieldWithPicker(this, hojyoKamokuField_, selectHojyoKamokuButton_));
  form->addRow(jigyoubuTitleField_, fieldWithPicker(this, jigyoubuField_, selectJigyoubuButton_));
  layout->addLayout(form);
  isShisanAddedBefore20070401Checkbox_ =
      new QCheckBox(QStringLiteral("2007年3月31日以前に取得した資産（旧定額法・旧定率法）"), this);
  layout->addWidget(isShisanAddedBefore20070401Checkbox_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
  okButton_ = new QPushButton(QStringLiteral("新規"), this);
  okButton_->setDefault(true);
  buttons->addWidget(cancelButton_);
  buttons->addWidget(okButton_);
  layout->addLayout(buttons);

  kamokuBinding_ = new FormatterLineEditBinding(kamokuField_, *kamokuFormatter_);
  hojyoKamokuBinding_ = new FormatterLineEditBinding(hojyoKamokuField_, *hojyoKamokuFormatter_);
  jigyoubuBinding_ = new FormatterLineEditBinding(jigyoubuField_, *jigyoubuFormatter_);
  for (FormatterLineEditBinding* b : {kamokuBinding_, hojyoKamokuBinding_, jigyoubuBinding_})
    connect(b, &FormatterLineEditBinding::textRefused, this, [] { AlertSheet::beep(); });

  // A new account wants its sub-account chosen again.
  connect(kamokuField_, &QLineEdit::textEdited, this, [this] {
    if (!hojyoKamokuField_->isHidden() && !hojyoKamokuField_->text().isEmpty())
      hojyoKamokuBinding_->setObjectValue(FieldValue::nil());
  });
  // The sub-accounts offered are those of the account in the account field.
  auto bindParent = [this] {
    const int32_t code = kamokuBinding_->objectValue().codeValue();
    hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(code < 0 ? std::nullopt : std::optional<int32_t>(code));
  };
  connect(kamokuBinding_, &FormatterLineEditBinding::objectValueChanged, this, bindParent);
  connect(selectKamokuButton_, &QToolButton::clicked, this, [this] { showKamokuFormatterListWindow(); });
  connect(selectHojyoKamokuButton_, &QToolButton::clicked, this, [this] { showHojyoKamokuFormatterListWindow(); });
  connect(selectJigyoubuButton_, &QToolButton::clicked, this, [this] { showJigyoubuFormatterListWindow(); });
  for (QPushButton* b : {okButton_, cancelButton_})
    connect(b, &QPushButton::clicked, this, [this, b] { endGenkasyoukyakuShisanToAddWindow(b); });
  updateVisibleFields();
}

GenkasyoukyakuShisanToAddController::~GenkasyoukyakuShisanToAddController() = default;

QAbstractButton* GenkasyoukyakuShisanToAddController::okButton() const { return okButton_; }

bool GenkasyoukyakuShisanToAddController::isInDocument(const GenkasyoukyakuShisanPtr& asset) const
{
  const auto& assets = document_->document().genkasyoukyakuShisanArray();
  return std::find(assets.begin(), assets.end(), asset) != assets.end();
}

void GenkasyoukyakuShisanToAddController::updateVisibleFields()
{
  const MyDocument& doc = document_->document();
  const auto& accounts = doc.codeSortedGenkasyoukyakuShisanKamokuArray();
  const bool hojyo =
      std::any_of(accounts.begin(), accounts.end(), [](const KamokuPtr& k) { return k->activeHojyoKamokuNum() > 0; });
  for (QWidget* w : {static_cast<QWidget*>(hojyoKamokuTitleField_), hojyoKamokuField_->parentWidget()})
    w->setVisible(hojyo);
  hojyoKamokuField_->setHidden(!hojyo);
  const bool jigyoubu = doc.numberOfActiveJigyoubu() > 0;
  for (QWidget* w : {static_cast<QWidget*>(jigyoubuTitleField_), jigyoubuField_->parentWidget()})
    w->setVisible(jigyoubu);
  jigyoubuField_->setHidden(!jigyoubu);
}

void GenkasyoukyakuShisanToAddController::updateUIToEditGenkasyoukyakuShisan(GenkasyoukyakuShisanPtr asset)
{
  editingGenkasyoukyakuShisan_ = std::move(asset);
  const GenkasyoukyakuShisan& a = *editingGenkasyoukyakuShisan_;
  const MyDocument& doc = document_->document();
  kamokuFormatter_->setCodeSortedAcceptKamokuArray(doc.codeSortedGenkasyoukyakuShisanKamokuArray());
  updateVisibleFields();

  nameField_->setText(qs(a.name()));
  okButton_->setText(a.name().empty() ? QStringLiteral("新規") : QStringLiteral("変更"));
  kanriCodeField_->setText(qs(a.kanriCode()));
  if (a.kamokuCode() < 0) {
    kamokuBinding_->setObjectValue(FieldValue::nil());
    hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(std::nullopt);
    hojyoKamokuBinding_->setObjectValue(FieldValue::nil());
  } else {
    kamokuBinding_->setObjectValue(FieldValue::code(a.kamokuCode()));
    if (a.hojyoKamokuCode() < 0) {
      hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(std::nullopt);
      hojyoKamokuBinding_->setObjectValue(FieldValue::nil());
    } else {
      hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(a.kamokuCode());
      hojyoKamokuBinding_->setObjectValue(FieldValue::code(a.hojyoKamokuCode()));
    }
  }
  jigyoubuBinding_->setObjectValue(a.jigyoubuCode() < 0 ? FieldValue::nil() : FieldValue::code(a.jigyoubuCode()));

  // A term that ends before the newer rule began admits only the older rule.
  const Date termEnd = doc.kaisya().termEndDate();
  const bool ruleFixed = !a.isOlderRule() && !a.isValidDateOfAdded(termEnd);
  isShisanAddedBefore20070401Checkbox_->setChecked(a.isOlderRule() || ruleFixed);
  isShisanAddedBefore20070401Checkbox_->setEnabled(!ruleFixed && !isInDocument(editingGenkasyoukyakuShisan_));
  selectText(nameField_);
}

int32_t GenkasyoukyakuShisanToAddController::committedCode(FormatterLineEditBinding* binding)
{
  if (!binding->commit()) return -1;
  return binding->objectValue().codeValue();
}

bool GenkasyoukyakuShisanToAddController::shouldEndGenkasyoukyakuShisanToAddWindow()
{
  const MyDocument& doc = document_->document();
  auto refuse = [](QLineEdit* field) {
    AlertSheet::beep();
    selectText(field);
    return false;
  };
  if (nameField_->text().isEmpty()) return refuse(nameField_);
  if (kanriCodeField_->text().isEmpty()) return refuse(kanriCodeField_);
  const int32_t kamokuCode = committedCode(kamokuBinding_);
  if (kamokuCode < 0) return refuse(kamokuField_);
  const KamokuPtr kamoku = doc.rootKamokuKubun() ? doc.rootKamokuKubun()->kamokuOfCode(kamokuCode, false) : nullptr;
  if (kamoku && kamoku->activeHojyoKamokuNum() > 0) {
    hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(kamokuCode);
    if (committedCode(hojyoKamokuBinding_) < 0) return refuse(hojyoKamokuField_);
  }
  if (doc.numberOfActiveJigyoubu() > 0 && committedCode(jigyoubuBinding_) < 0) return refuse(jigyoubuField_);
  return true;
}

void GenkasyoukyakuShisanToAddController::endGenkasyoukyakuShisanToAddWindow(QObject* sender)
{
  if (sender == okButton_ && !shouldEndGenkasyoukyakuShisanToAddWindow()) return;
  endSheetWithSender(sender);
}

void GenkasyoukyakuShisanToAddController::storeChoice()
{
  GenkasyoukyakuShisan& a = *editingGenkasyoukyakuShisan_;
  a.setName(nameField_->text().toStdString());
  a.setKanriCode(kanriCodeField_->text().toStdString());
  a.setKamokuCode(kamokuBinding_->objectValue().codeValue());
  a.setHojyoKamokuCode(hojyoKamokuField_->isHidden() ? -1 : hojyoKamokuBinding_->objectValue().codeValue());
  a.setJigyoubuCode(jigyoubuField_->isHidden() ? -1 : jigyoubuBinding_->objectValue().codeValue());
  a.setPListResource(isShisanAddedBefore20070401Checkbox_->isChecked() ? GenkasyoukyakuShisan::kKyuuTableName
                                                                       : GenkasyoukyakuShisan::kShin250TableName);
  MyDocument& doc = document_->document();
  if (!isInDocument(editingGenkasyoukyakuShisan_))
    doc.genkasyoukyakuShisanArray().push_back(editingGenkasyoukyakuShisan_);
  doc.updateChangeCount(MyDocument::ChangeType::Done);
}

// --- pickers

void GenkasyoukyakuShisanToAddController::showKamokuFormatterListWindow()
{
  const int32_t code =
      KamokuFormatterListWindow::showGenkasyoukyakuShisanKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
          *kamokuFormatter_, kamokuField_->mapToGlobal(QPoint(0, 0)), kamokuField_->text(), this);
  if (code >= 0) {
    kamokuBinding_->setObjectValue(FieldValue::code(code));
    const int32_t hojyo = kamokuFormatter_->selectedHojyoKamokuCodeOfFormatterList();
    hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(code);
    hojyoKamokuBinding_->setObjectValue(hojyo < 0 ? FieldValue::nil() : FieldValue::code(hojyo));
  }
  selectText(kamokuField_);
}

void GenkasyoukyakuShisanToAddController::showHojyoKamokuFormatterListWindow()
{
  const int32_t kamokuCode = committedCode(kamokuBinding_);
  hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(kamokuCode < 0 ? std::nullopt
                                                                      : std::optional<int32_t>(kamokuCode));
  const int32_t code = HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
      *hojyoKamokuFormatter_, hojyoKamokuField_->mapToGlobal(QPoint(0, 0)), hojyoKamokuField_->text(), this);
  if (code >= 0) hojyoKamokuBinding_->setObjectValue(FieldValue::code(code));
  selectText(hojyoKamokuField_);
}

void GenkasyoukyakuShisanToAddController::showJigyoubuFormatterListWindow()
{
  const int32_t code = JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(
      *jigyoubuFormatter_, jigyoubuField_->mapToGlobal(QPoint(0, 0)), jigyoubuField_->text(), this);
  if (code >= 0) jigyoubuBinding_->setObjectValue(FieldValue::code(code));
  selectText(jigyoubuField_);
}

}  // namespace kivo
