#include "setup/gui/TermFields.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "fields/WarekiDateFormatter.h"
#include "platform/AlertSheet.h"
#include "platform/FieldMessage.h"
#include "platform/QtStrings.h"

namespace kivo {

TermFields::TermFields(QWidget* parent, int spacing)
    : QObject(parent),
      startDateFormatter_(std::make_unique<WarekiDateFormatter>()),
      endDateFormatter_(std::make_unique<WarekiDateFormatter>())
{
  const auto row = [spacing](QWidget* w, std::initializer_list<QWidget*> widgets) {
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* x : widgets) layout->addWidget(x);
    layout->addStretch();
  };
  termRow_ = new QWidget(parent);
  termNoDaiTitleField_ = new QLabel(qs("第"), termRow_);
  termNoField_ = new QLineEdit(termRow_);
  termNoField_->setFixedWidth(80);
  termNoField_->setAlignment(Qt::AlignRight);
  termNoKiTitleField_ = new QLabel(qs("期"), termRow_);
  row(termRow_, {termNoDaiTitleField_, termNoField_, termNoKiTitleField_});
  periodRow_ = new QWidget(parent);
  termStartDateField_ = new QLineEdit(periodRow_);
  termEndDateField_ = new QLineEdit(periodRow_);
  for (QLineEdit* f : {termStartDateField_, termEndDateField_}) f->setFixedWidth(130);
  row(periodRow_, {termStartDateField_, new QLabel(qs("〜"), periodRow_), termEndDateField_});
}

TermFields::~TermFields() = default;

void TermFields::setHoujin(bool houjin)
{
  termNoDaiTitleField_->setVisible(houjin);
  termNoKiTitleField_->setText(houjin ? qs("期") : qs("年度"));
}

void TermFields::setWareki(bool wareki)
{
  const std::optional<Date> start = dateOfField(termStartDateField_);
  const std::optional<Date> end = dateOfField(termEndDateField_);
  startDateFormatter_->setIsWareki(wareki);
  endDateFormatter_->setIsWareki(wareki);
  if (start) setDateField(termStartDateField_, *start);
  if (end) setDateField(termEndDateField_, *end);
}

void TermFields::setDateField(QLineEdit* field, Date date)
{
  const WarekiDateFormatter& f = field == termStartDateField_ ? *startDateFormatter_ : *endDateFormatter_;
  field->setText(QString::fromStdString(f.stringForObjectValue(FieldValue::date(date)).value_or("")));
}

std::optional<Date> TermFields::dateOfField(const QLineEdit* field) const
{
  const WarekiDateFormatter& f = field == termStartDateField_ ? *startDateFormatter_ : *endDateFormatter_;
  return f.dateOfString(field->text().toStdString());
}

QString TermFields::yearTextOfStartDate() const
{
  return QString::fromStdString(TermSettings::yearTextOfDateText(termStartDateField_->text().toStdString()));
}

QLineEdit* TermFields::selectField(TermSettings::Field field, QLineEdit* nameField)
{
  QLineEdit* edit = nullptr;
  switch (field) {
  case TermSettings::Field::Name:
    if (!nameField) return nullptr;
    edit = nameField;
    break;
  case TermSettings::Field::TermNo: edit = termNoField_; break;
  case TermSettings::Field::StartDate: edit = termStartDateField_; break;
  case TermSettings::Field::EndDate: edit = termEndDateField_; break;
  case TermSettings::Field::None: return nullptr;
  }
  edit->setFocus();
  edit->selectAll();
  return edit;
}

void TermFields::showRefusal(const TermSettings::Refusal& refusal, QWidget* window, QLineEdit* nameField)
{
  if (refusal.message.empty()) {
    AlertSheet::beep();
    FieldMessage::show(selectField(refusal.field, nameField), QString::fromStdString(refusal.note));
    return;
  }
  QPointer<TermFields> self = this;
  QPointer<QLineEdit> name = nameField;
  const TermSettings::Field field = refusal.field;
  AlertSheet::beginAlertSheet(window, QString::fromStdString(refusal.title), QString::fromStdString(refusal.message),
                              [self, name, field] {
                                if (self) self->selectField(field, name);
                              });
}

}  // namespace kivo
