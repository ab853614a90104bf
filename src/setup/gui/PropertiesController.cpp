#include "setup/gui/PropertiesController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "document/gui/OpenDocument.h"
#include "fields/WarekiDateFormatter.h"
#include "platform/AlertSheet.h"
#include "platform/FieldMessage.h"
#include "platform/PasswordHash.h"
#include "platform/QtStrings.h"

namespace kivo {
namespace {

QWidget* rowOf(QWidget* parent, std::initializer_list<QWidget*> widgets)
{
  auto* w = new QWidget(parent);
  auto* layout = new QHBoxLayout(w);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(8);
  for (QWidget* child : widgets) layout->addWidget(child);
  layout->addStretch();
  return w;
}

}  // namespace

PropertiesController::PropertiesController(OpenDocument* document)
    : ListSheetController(document), dateFormatter_(std::make_unique<WarekiDateFormatter>())
{
  const MyDocument& doc = document->document();
  const Kaisya& kaisya = doc.kaisya();
  const PropertiesSettings current(doc);
  setWindowTitle(qs("会社の基本情報"));

  nameField_ = new QLineEdit(qs(current.name), this);
  nameField_->setMinimumWidth(320);
  addressField_ = new QLineEdit(qs(current.address), this);
  kindField_ = new QLabel(kaisya.isHoujin()    ? qs("法人")
                          : kaisya.isKakeibo() ? qs("個人（家計簿）")
                                               : qs("個人"),
                          this);
  seizouCheckbox_ = new QCheckBox(qs("製造業"), this);
  kensetuCheckbox_ = new QCheckBox(qs("建設業"), this);
  seizouCheckbox_->setChecked(current.isSeizou);
  kensetuCheckbox_->setChecked(current.isKensetu);

  auto* dai = new QLabel(qs("第"), this);
  termNoField_ = new QLineEdit(qs(current.termNoText), this);
  termNoField_->setFixedWidth(kaisya.isHoujin() ? 80 : 120);
  termNoField_->setAlignment(Qt::AlignRight);
  auto* ki = new QLabel(kaisya.isHoujin() ? qs("期") : qs("年度"), this);
  dai->setVisible(kaisya.isHoujin());

  dateFormatter_->setIsWareki(current.doUseWareki);
  termStartDateField_ = new QLineEdit(this);
  termEndDateField_ = new QLineEdit(this);
  for (QLineEdit* f : {termStartDateField_, termEndDateField_}) f->setFixedWidth(130);
  if (current.startDate)
    termStartDateField_->setText(
        qs(dateFormatter_->stringForObjectValue(FieldValue::date(*current.startDate)).value_or("")));
  if (current.endDate)
    termEndDateField_->setText(
        qs(dateFormatter_->stringForObjectValue(FieldValue::date(*current.endDate)).value_or("")));
  warekiCheckbox_ = new QCheckBox(qs("日付を和暦で表示する"), this);
  warekiCheckbox_->setChecked(current.doUseWareki);
  connect(warekiCheckbox_, &QCheckBox::toggled, this, &PropertiesController::warekiDidChange);

  decimalPrecisionPopUp_ = new QComboBox(this);
  decimalPrecisionPopUp_->addItem(qs("なし（1 円単位）"), 0);
  decimalPrecisionPopUp_->addItem(qs("1 桁"), 1);
  decimalPrecisionPopUp_->addItem(qs("2 桁"), 2);
  decimalPrecisionPopUp_->setCurrentIndex(decimalPrecisionPopUp_->findData(current.decimalPrecision));

  const bool editable = current.canEditTermAndKind();
  for (QWidget* w : std::initializer_list<QWidget*>{termStartDateField_, termEndDateField_, decimalPrecisionPopUp_})
    w->setEnabled(editable);
  seizouCheckbox_->setEnabled(editable && !kaisya.isKakeibo());
  kensetuCheckbox_->setEnabled(editable && !kaisya.isKakeibo());

  auto* form = new QFormLayout();
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->setHorizontalSpacing(14);
  form->setVerticalSpacing(9);
  form->addRow(qs("会社名:"), nameField_);
  form->addRow(qs("所在地:"), addressField_);
  form->addRow(qs("種類:"), kindField_);
  form->addRow(qs("業種:"), rowOf(this, {seizouCheckbox_, kensetuCheckbox_}));
  form->addRow(kaisya.isHoujin() ? qs("期:") : qs("年度:"), rowOf(this, {dai, termNoField_, ki}));
  form->addRow(qs("会計期間:"), rowOf(this, {termStartDateField_, new QLabel(qs("〜"), this), termEndDateField_}));
  form->addRow(QString(), warekiCheckbox_);
  form->addRow(qs("金額の小数点以下:"), rowOf(this, {decimalPrecisionPopUp_}));

  auto* passwordBox = new QGroupBox(qs("パスワード"), this);
  auto* grid = new QGridLayout(passwordBox);
  grid->setHorizontalSpacing(10);
  passwordField_ = new QLineEdit(passwordBox);
  passwordConfirmationField_ = new QLineEdit(passwordBox);
  limitedPasswordField_ = new QLineEdit(passwordBox);
  limitedPasswordConfirmationField_ = new QLineEdit(passwordBox);
  for (QLineEdit* f :
       {passwordField_, passwordConfirmationField_, limitedPasswordField_, limitedPasswordConfirmationField_})
    f->setEchoMode(QLineEdit::Password);
  clearPasswordCheckbox_ = new QCheckBox(qs("削除する"), passwordBox);
  clearLimitedPasswordCheckbox_ = new QCheckBox(qs("削除する"), passwordBox);
  const bool hasPassword = !kaisya.password().empty();
  const bool hasLimited = !kaisya.limitedUserPassword().empty();
  clearPasswordCheckbox_->setEnabled(hasPassword);
  clearLimitedPasswordCheckbox_->setEnabled(hasLimited);
  grid->addWidget(new QLabel(QString(), passwordBox), 0, 0);
  grid->addWidget(new QLabel(qs("新しいパスワード"), passwordBox), 0, 1);
  grid->addWidget(new QLabel(qs("確認"), passwordBox), 0, 2);
  grid->addWidget(new QLabel(hasPassword ? qs("パスワード（設定済み）:") : qs("パスワード:"), passwordBox), 1, 0);
  grid->addWidget(passwordField_, 1, 1);
  grid->addWidget(passwordConfirmationField_, 1, 2);
  grid->addWidget(clearPasswordCheckbox_, 1, 3);
  grid->addWidget(new QLabel(hasLimited ? qs("制限付きユーザ（設定済み）:") : qs("制限付きユーザ:"), passwordBox), 2,
                  0);
  grid->addWidget(limitedPasswordField_, 2, 1);
  grid->addWidget(limitedPasswordConfirmationField_, 2, 2);
  grid->addWidget(clearLimitedPasswordCheckbox_, 2, 3);
  auto* passwordNote = new QLabel(passwordBox);
  passwordNote->setWordWrap(true);
  if (document->wasOpenedByLimitedUserPassword()) {
    // A limited user must not be able to lift the limits or lock the owner out.
    for (QWidget* w : passwordBox->findChildren<QWidget*>()) w->setEnabled(false);
    passwordNote->setText(qs("制限付きユーザのパスワードで開いた書類では、パスワードを変更できません。"));
  } else {
    passwordNote->setText(
        qs("空欄のままにすると、いまのパスワードが残ります。制限付きユーザは、元帳、決算報告書、資産管理台帳を開けませ"
           "ん。"));
  }
  passwordNote->setEnabled(true);
  grid->addWidget(passwordNote, 3, 0, 1, 4);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 18);
  layout->setSpacing(12);
  auto* heading = new QLabel(qs("会社の基本情報"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.25);
  heading->setFont(bold);
  layout->addWidget(heading);
  layout->addLayout(form);
  if (!editable) {
    auto* note = new QLabel(qs("仕訳が入力されているため、業種・会計期間・小数点以下の桁数は変更できません。"), this);
    note->setWordWrap(true);
    note->setStyleSheet(qs("color: #555555;"));
    layout->addWidget(note);
  }
  layout->addWidget(passwordBox);
  layout->addLayout(makeButtonRow());
}

PropertiesController::~PropertiesController() = default;

void PropertiesController::warekiDidChange()
{
  const std::optional<Date> start = dateOfField(termStartDateField_);
  const std::optional<Date> end = dateOfField(termEndDateField_);
  dateFormatter_->setIsWareki(warekiCheckbox_->isChecked());
  if (start)
    termStartDateField_->setText(qs(dateFormatter_->stringForObjectValue(FieldValue::date(*start)).value_or("")));
  if (end) termEndDateField_->setText(qs(dateFormatter_->stringForObjectValue(FieldValue::date(*end)).value_or("")));
}

std::optional<Date> PropertiesController::dateOfField(const QLineEdit* field) const
{
  return dateFormatter_->dateOfString(field->text().toStdString());
}

PropertiesSettings PropertiesController::settings() const
{
  PropertiesSettings s(document()->document());
  s.name = nameField_->text().toStdString();
  s.address = addressField_->text().toStdString();
  s.termNoText = termNoField_->text().toStdString();
  s.doUseWareki = warekiCheckbox_->isChecked();
  s.isSeizou = seizouCheckbox_->isChecked();
  s.isKensetu = kensetuCheckbox_->isChecked();
  s.startDate = dateOfField(termStartDateField_);
  s.endDate = dateOfField(termEndDateField_);
  s.decimalPrecision = decimalPrecisionPopUp_->currentData().toInt();
  return s;
}

PropertiesSettings::PasswordChange PropertiesController::passwordChange() const
{
  PropertiesSettings::PasswordChange c;
  c.password = passwordField_->text().toStdString();
  c.passwordConfirmation = passwordConfirmationField_->text().toStdString();
  c.limitedPassword = limitedPasswordField_->text().toStdString();
  c.limitedPasswordConfirmation = limitedPasswordConfirmationField_->text().toStdString();
  c.clearPassword = clearPasswordCheckbox_->isChecked();
  c.clearLimitedPassword = clearLimitedPasswordCheckbox_->isChecked();
  return c;
}

QLineEdit* PropertiesController::fieldOf(PropertiesSettings::Field field) const
{
  switch (field) {
  case PropertiesSettings::Field::Name: return nameField_;
  case PropertiesSettings::Field::TermNo: return termNoField_;
  case PropertiesSettings::Field::StartDate: return termStartDateField_;
  case PropertiesSettings::Field::EndDate: return termEndDateField_;
  case PropertiesSettings::Field::Password: return passwordField_;
  case PropertiesSettings::Field::LimitedUserPassword: return limitedPasswordField_;
  default: return nullptr;
  }
}

bool PropertiesController::validateChoice()
{
  PropertiesSettings::Refusal refusal = settings().check();
  if (!refusal.isRefused() && !document()->wasOpenedByLimitedUserPassword()) {
    const Kaisya& kaisya = document()->document().kaisya();
    const PropertiesSettings::PasswordChange c = passwordChange();
    refusal = PropertiesSettings::checkPasswords(c, !kaisya.password().empty(), !kaisya.limitedUserPassword().empty());
    // A new password that equals the one kept for the other kind of user.
    if (!refusal.isRefused()) {
      const bool keepsPassword = c.password.empty() && !c.clearPassword;
      const bool keepsLimited = c.limitedPassword.empty() && !c.clearLimitedPassword;
      if ((keepsPassword && !c.limitedPassword.empty() &&
           PasswordHash::verify(QString::fromStdString(c.limitedPassword), kaisya.password())) ||
          (keepsLimited && !c.password.empty() &&
           PasswordHash::verify(QString::fromStdString(c.password), kaisya.limitedUserPassword())))
        refusal = {PropertiesSettings::Field::LimitedUserPassword,
                   PropertiesSettings::kInvalidTitle,
                   PropertiesSettings::kSamePasswordsMessage,
                   {}};
    }
  }
  if (!refusal.isRefused()) return true;
  QPointer<QLineEdit> field = fieldOf(refusal.field);
  const auto select = [field] {
    if (!field) return;
    field->setFocus();
    field->selectAll();
  };
  if (refusal.message.empty()) {
    AlertSheet::beep();
    select();
    FieldMessage::show(field, qs(refusal.note));
  } else {
    showRefusal(qs(refusal.title), qs(refusal.message), select);
  }
  return false;
}

void PropertiesController::storeChoice()
{
  MyDocument& doc = document()->document();
  settings().applyTo(doc);
  if (!document()->wasOpenedByLimitedUserPassword()) {
    const PropertiesSettings::PasswordChange c = passwordChange();
    Kaisya& kaisya = doc.kaisya();
    if (!c.password.empty())
      kaisya.setPassword(PasswordHash::hash(QString::fromStdString(c.password)));
    else if (c.clearPassword)
      kaisya.setPassword({});
    if (!c.limitedPassword.empty())
      kaisya.setLimitedUserPassword(PasswordHash::hash(QString::fromStdString(c.limitedPassword)));
    else if (c.clearLimitedPassword)
      kaisya.setLimitedUserPassword({});
  }
  documentDidChangeMasterList();
}

}  // namespace kivo
