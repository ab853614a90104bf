#include "statements/gui/HoukokusyoGeneralTab.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "fields/HidukeFormatter.h"
#include "fields/WarekiDateFormatter.h"
#include "fields/gui/FormatterLineEditBinding.h"
#include "platform/AlertSheet.h"
#include "platform/QtStrings.h"
#include "statements/KaisyahouHoukokusyoPeriod.h"

namespace kivo {
namespace {

Date dateOf(const FormatterLineEditBinding* binding)
{
  return binding->objectValue().isDate() ? binding->objectValue().dateValue() : Date();
}

}  // namespace

HoukokusyoGeneralTab::HoukokusyoGeneralTab(const MyDocument& doc, const std::vector<const char*>& printTitles,
                                           QWidget* parent)
    : QWidget(parent), doc_(doc)
{
  periodFormatter_ = std::make_unique<HidukeFormatter>(doc, false);
  coverStartFormatter_ = std::make_unique<WarekiDateFormatter>();
  coverEndFormatter_ = std::make_unique<WarekiDateFormatter>();
  const auto dateField = [this](QLineEdit*& field) {
    field = new QLineEdit(this);
    field->setMaximumWidth(160);
    return field;
  };
  const auto button = [this](const char* title, auto action) {
    auto* b = new QPushButton(qs(title), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, action);
    return b;
  };
  const auto row = [this](std::initializer_list<QWidget*> widgets) {
    auto* w = new QWidget(this);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    for (QWidget* x : widgets) h->addWidget(x);
    h->addStretch();
    return w;
  };
  termStartBinding_ = new FormatterLineEditBinding(dateField(termStartField_), *periodFormatter_);
  termEndBinding_ = new FormatterLineEditBinding(dateField(termEndField_), *periodFormatter_);
  coverStartBinding_ = new FormatterLineEditBinding(dateField(coverStartField_), *coverStartFormatter_);
  coverEndBinding_ = new FormatterLineEditBinding(dateField(coverEndField_), *coverEndFormatter_);
  addStartBalanceCheckbox_ = new QCheckBox(qs("期首残高を含める"), this);
  titleField_ = new QLineEdit(this);
  currencyUnitField_ = new QLineEdit(this);
  currencyUnitField_->setMaximumWidth(160);
  coverStartWarekiCheckbox_ = new QCheckBox(qs("和暦"), this);
  coverEndWarekiCheckbox_ = new QCheckBox(qs("和暦"), this);
  // The era choice shows the field's date in the other form at once.
  for (auto [box, formatter, binding] :
       {std::tuple{coverStartWarekiCheckbox_, coverStartFormatter_.get(), coverStartBinding_},
        std::tuple{coverEndWarekiCheckbox_, coverEndFormatter_.get(), coverEndBinding_}})
    connect(box, &QCheckBox::toggled, this, [formatter, binding](bool on) {
      binding->commit();
      formatter->setIsWareki(on);
      binding->setObjectValue(binding->objectValue());
    });
  const auto set = [](FormatterLineEditBinding* binding, Date d) { binding->setObjectValue(FieldValue::date(d)); };
  auto* form = new QFormLayout();
  form->addRow(qs("期間の開始日:"),
               row({termStartField_, button("期首", [this, set] { set(termStartBinding_, firstDay()); })}));
  form->addRow(qs("期間の最終日:"),
               row({termEndField_, button("期末", [this, set] { set(termEndBinding_, lastDay()); }),
                    button("決算整理", [this, set] { set(termEndBinding_, Date::kessanSeiridukiDate()); })}));
  form->addRow(QString(), addStartBalanceCheckbox_);
  form->addRow(qs("表紙のタイトル:"), titleField_);
  form->addRow(qs("表紙の開始日:"), row({coverStartField_, coverStartWarekiCheckbox_,
                                         button("期首", [this, set] { set(coverStartBinding_, firstDay()); })}));
  form->addRow(qs("表紙の最終日:"), row({coverEndField_, coverEndWarekiCheckbox_,
                                         button("期末", [this, set] { set(coverEndBinding_, lastDay()); })}));
  form->addRow(qs("通貨単位:"), currencyUnitField_);
  auto* printBox = new QGridLayout();
  for (size_t i = 0; i < printTitles.size(); ++i) {
    auto* box = new QCheckBox(qs(printTitles[i]), this);
    connect(box, &QCheckBox::clicked, this, &HoukokusyoGeneralTab::printItemsClicked);
    printBox->addWidget(box, static_cast<int>(i / 2), static_cast<int>(i % 2));
    printCheckboxes_.push_back(box);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(8);
  layout->addWidget(new QLabel(qs("プリントするもの:"), this));
  layout->addLayout(printBox);
  layout->addStretch();
}

HoukokusyoGeneralTab::~HoukokusyoGeneralTab() = default;

Date HoukokusyoGeneralTab::firstDay() const { return doc_.kaisya().termStartDate(); }
Date HoukokusyoGeneralTab::lastDay() const { return doc_.kaisya().termEndDate(); }

bool HoukokusyoGeneralTab::isInTerm(Date d) const { return KaisyahouHoukokusyoPeriod::isDateOfTerm(doc_.kaisya(), d); }

void HoukokusyoGeneralTab::load(Kaisya& k, const char* coverTitle)
{
  const KaisyahouHoukokusyoPeriod period = KaisyahouHoukokusyoPeriod::settleKaisya(k, coverTitle);
  const Date start = period.startDate;
  const Date end = period.endDate;
  termStartBinding_->setObjectValue(FieldValue::date(start));
  termEndBinding_->setObjectValue(FieldValue::date(end));
  addStartBalanceCheckbox_->setChecked(k.doAddStartBalanceToHoukokusyo());
  titleField_->setText(qs(k.titleOfHoukokusyo()));
  for (auto [box, formatter, binding, wareki, date] :
       {std::tuple{coverStartWarekiCheckbox_, coverStartFormatter_.get(), coverStartBinding_,
                   k.doUseWarekiForTermStartDateOfHoukokusyoCover(), k.termStartDateOfHoukokusyoCover()},
        std::tuple{coverEndWarekiCheckbox_, coverEndFormatter_.get(), coverEndBinding_,
                   k.doUseWarekiForTermEndDateOfHoukokusyoCover(), k.termEndDateOfHoukokusyoCover()}}) {
    const QSignalBlocker block(box);
    box->setChecked(wareki);
    formatter->setIsWareki(wareki);
    binding->setObjectValue(FieldValue::date(date));
  }
  currencyUnitField_->setText(qs(k.currencyUnitOfHoukokusyo()));
}

bool HoukokusyoGeneralTab::check()
{
  const auto refuse = [](QLineEdit* field) {
    AlertSheet::beep();
    field->setFocus();
    field->selectAll();
    return false;
  };
  const auto outOfTerm = [](QLineEdit* field, const char* title) {
    AlertSheet::runAlert(qs(title), qs(kOutOfTermMessage));
    field->setFocus();
    field->selectAll();
    return false;
  };
  for (FormatterLineEditBinding* b : {termStartBinding_, termEndBinding_, coverStartBinding_, coverEndBinding_})
    if (!b->commit()) return refuse(b->lineEdit());
  const Date kessan = Date::kessanSeiridukiDate();
  const Date start = dateOf(termStartBinding_);
  const Date end = dateOf(termEndBinding_);
  // An empty start is refused like any other bad date rather than passing unchecked.
  if (start.isNull()) return refuse(termStartField_);
  if (start != kessan && !isInTerm(start)) return outOfTerm(termStartField_, kInvalidStartTitle);
  if (end.isNull()) return refuse(termEndField_);
  if (end != kessan && !isInTerm(end)) return outOfTerm(termEndField_, kInvalidEndTitle);
  if (Journal::compareDate(end, start) < 0) return refuse(termEndField_);
  if (titleField_->text().isEmpty()) return refuse(titleField_);
  if (dateOf(coverStartBinding_).isNull()) return refuse(coverStartField_);
  if (dateOf(coverEndBinding_).isNull()) return refuse(coverEndField_);
  if (currencyUnitField_->text().isEmpty()) return refuse(currencyUnitField_);
  return true;
}

bool HoukokusyoGeneralTab::store(Kaisya& k) const
{
  bool changed = false;
  const auto put = [&changed](auto value, auto get, auto set) {
    if (value != get()) {
      set(value);
      changed = true;
    }
  };
  put(
      dateOf(termStartBinding_), [&] { return k.termStartDateOfHoukokusyo(); },
      [&](Date d) { k.setTermStartDateOfHoukokusyo(d); });
  put(
      dateOf(termEndBinding_), [&] { return k.termEndDateOfHoukokusyo(); },
      [&](Date d) { k.setTermEndDateOfHoukokusyo(d); });
  put(
      addStartBalanceCheckbox_->isChecked(), [&] { return k.doAddStartBalanceToHoukokusyo(); },
      [&](bool v) { k.setDoAddStartBalanceToHoukokusyo(v); });
  put(
      titleField_->text().toStdString(), [&] { return k.titleOfHoukokusyo(); },
      [&](const std::string& v) { k.setTitleOfHoukokusyo(v); });
  put(
      coverStartWarekiCheckbox_->isChecked(), [&] { return k.doUseWarekiForTermStartDateOfHoukokusyoCover(); },
      [&](bool v) { k.setDoUseWarekiForTermStartDateOfHoukokusyoCover(v); });
  put(
      dateOf(coverStartBinding_), [&] { return k.termStartDateOfHoukokusyoCover(); },
      [&](Date d) { k.setTermStartDateOfHoukokusyoCover(d); });
  put(
      coverEndWarekiCheckbox_->isChecked(), [&] { return k.doUseWarekiForTermEndDateOfHoukokusyoCover(); },
      [&](bool v) { k.setDoUseWarekiForTermEndDateOfHoukokusyoCover(v); });
  put(
      dateOf(coverEndBinding_), [&] { return k.termEndDateOfHoukokusyoCover(); },
      [&](Date d) { k.setTermEndDateOfHoukokusyoCover(d); });
  put(
      currencyUnitField_->text().toStdString(), [&] { return k.currencyUnitOfHoukokusyo(); },
      [&](const std::string& v) { k.setCurrencyUnitOfHoukokusyo(v); });
  return changed;
}

bool HoukokusyoGeneralTab::anyPrintItem() const
{
  for (QCheckBox* box : printCheckboxes_)
    if (box->isChecked()) return true;
  return false;
}

}  // namespace kivo
