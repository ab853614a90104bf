#include "setup/gui/NewDocumentController.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "document/gui/DocumentController.h"
#include "document/gui/DocumentSession.h"
#include "fields/WarekiDateFormatter.h"
#include "platform/AlertSheet.h"
#include "platform/FieldMessage.h"
#include "platform/QtStrings.h"

namespace kivo {
namespace {

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = true)
{
  auto* layout = new QHBoxLayout();
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(10);
  for (QWidget* w : widgets) layout->addWidget(w);
  if (stretch) layout->addStretch();
  return layout;
}

}  // namespace

NewDocumentController::NewDocumentController(DocumentSession* document)
    : WindowController(document, Kind::NewDocument),
      startDateFormatter_(std::make_unique<WarekiDateFormatter>()),
      endDateFormatter_(std::make_unique<WarekiDateFormatter>())
{
}

NewDocumentController::~NewDocumentController() = default;

QString NewDocumentController::windowMenuTitle() const { return document()->displayName(); }

QString NewDocumentController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  return qs(kTitlePrefix) + displayName;
}

void NewDocumentController::windowDidLoad()
{
  auto* central = new QWidget(this);
  auto* heading = new QLabel(qs("新しい書類"), central);
  QFont big = heading->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  heading->setFont(big);
  auto* note = new QLabel(qs("帳簿をつける会社と会計期間を設定してください。"), central);

  nameField_ = new QLineEdit(central);
  nameField_->setMinimumWidth(320);

  houjinButton_ = new QRadioButton(qs("法人"), central);
  kojinButton_ = new QRadioButton(qs("個人"), central);
  auto* kindGroup = new QButtonGroup(central);
  kindGroup->addButton(houjinButton_);
  kindGroup->addButton(kojinButton_);
  houjinButton_->setChecked(true);
  kakeiboCheckbox_ = new QCheckBox(qs("家計簿"), central);

  seizouCheckbox_ = new QCheckBox(qs("製造業"), central);
  kensetuCheckbox_ = new QCheckBox(qs("建設業"), central);

  chartRow_ = new QWidget(central);
  kaisyahouChartButton_ = new QRadioButton(qs("会社法"), chartRow_);
  olderChartButton_ = new QRadioButton(qs("旧商法"), chartRow_);
  auto* chartGroup = new QButtonGroup(chartRow_);
  chartGroup->addButton(kaisyahouChartButton_);
  chartGroup->addButton(olderChartButton_);
  kaisyahouChartButton_->setChecked(true);
  chartRow_->setLayout(row({kaisyahouChartButton_, olderChartButton_}));

  auto* termRow = new QWidget(central);
  termNoDaiTitleField_ = new QLabel(qs("第"), termRow);
  termNoField_ = new QLineEdit(qs("1"), termRow);
  termNoField_->setFixedWidth(80);
  termNoField_->setAlignment(Qt::AlignRight);
  termNoKiTitleField_ = new QLabel(qs("期"), termRow);
  termRow->setLayout(row({termNoDaiTitleField_, termNoField_, termNoKiTitleField_}));

  auto* periodRow = new QWidget(central);
  termStartDateField_ = new QLineEdit(periodRow);
  termEndDateField_ = new QLineEdit(periodRow);
  for (QLineEdit* f : {termStartDateField_, termEndDateField_}) {
    f->setFixedWidth(130);
    f->setPlaceholderText(qs("2024/4/1"));
  }
  auto* tilde = new QLabel(qs("〜"), periodRow);
  periodRow->setLayout(row({termStartDateField_, tilde, termEndDateField_}));
  warekiCheckbox_ = new QCheckBox(qs("日付を和暦で表示する"), central);

  decimalPrecisionPopUp_ = new QComboBox(central);
  decimalPrecisionPopUp_->addItem(qs("なし（1 円単位）"), 0);
  decimalPrecisionPopUp_->addItem(qs("1 桁"), 1);
  decimalPrecisionPopUp_->addItem(qs("2 桁"), 2);

  auto* form = new QFormLayout();
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->setHorizontalSpacing(14);
  form->setVerticalSpacing(10);
  form->addRow(qs("会社名:"), nameField_);
  auto* kindRow = new QWidget(central);
  kindRow->setLayout(row({houjinButton_, kojinButton_, kakeiboCheckbox_}));
  form->addRow(qs("種類:"), kindRow);
  auto* industryRow = new QWidget(central);
  industryRow->setLayout(row({seizouCheckbox_, kensetuCheckbox_}));
  form->addRow(qs("業種:"), industryRow);
  chartTitle_ = new QLabel(qs("勘定科目表:"), central);
  form->addRow(chartTitle_, chartRow_);
  termNoTitle_ = new QLabel(qs("期:"), central);
  form->addRow(termNoTitle_, termRow);
  form->addRow(qs("会計期間:"), periodRow);
  form->addRow(QString(), warekiCheckbox_);
  auto* precisionRow = new QWidget(central);
  precisionRow->setLayout(row({decimalPrecisionPopUp_}));
  form->addRow(qs("金額の小数点以下:"), precisionRow);

  okButton_ = new QPushButton(qs("OK"), central);
  cancelButton_ = new QPushButton(qs("キャンセル"), central);
  okButton_->setDefault(true);
  okButton_->setMinimumWidth(96);
  cancelButton_->setMinimumWidth(96);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  buttons->addWidget(okButton_);

  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(28, 22, 28, 20);
  layout->setSpacing(12);
  layout->addWidget(heading);
  layout->addWidget(note);
  layout->addSpacing(4);
  layout->addLayout(form);
  layout->addStretch();
  layout->addLayout(buttons);
  setCentralWidget(central);

  connect(okButton_, &QPushButton::clicked, this, &NewDocumentController::okAction);
  connect(cancelButton_, &QPushButton::clicked, this, &NewDocumentController::cancelAction);
  connect(houjinButton_, &QRadioButton::toggled, this, &NewDocumentController::kindDidChange);
  connect(kakeiboCheckbox_, &QCheckBox::toggled, this, &NewDocumentController::kindDidChange);
  connect(warekiCheckbox_, &QCheckBox::toggled, this, &NewDocumentController::warekiDidChange);
  connect(termStartDateField_, &QLineEdit::editingFinished, this, &NewDocumentController::startDateDidChange);
  connect(termEndDateField_, &QLineEdit::textEdited, this, [this] { endDateTyped_ = true; });
  connect(termNoField_, &QLineEdit::textEdited, this, [this] { termYearTyped_ = true; });

  // The calendar year that has begun: the term most books start with.
  const Date start(QDate::currentDate().year(), 1, 1);
  setDateField(termStartDateField_, start);
  setDateField(termEndDateField_, TermSettings::defaultEndDateForStartDate(start));
  kindDidChange();

  adjustSize();
  setFixedSize(sizeHint().expandedTo(QSize(520, 0)));
  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect v = screen->availableGeometry();
    DocumentController* dc = DocumentController::sharedDocumentController();
    const int step = dc ? std::max(static_cast<int>(dc->documents().size()) - 1, 0) : 0;
    move(v.x() + 60 + 21 * step % 300, v.y() + 60 + 23 * step % 300);
  }
  nameField_->setFocus();
}

// --- field behaviour

void NewDocumentController::kindDidChange()
{
  const bool houjin = houjinButton_->isChecked();
  kakeiboCheckbox_->setVisible(!houjin);
  chartTitle_->setVisible(houjin);
  chartRow_->setVisible(houjin);
  const bool kakeibo = !houjin && kakeiboCheckbox_->isChecked();
  for (QCheckBox* box : {seizouCheckbox_, kensetuCheckbox_}) {
    box->setEnabled(!kakeibo);
    if (kakeibo) box->setChecked(false);
  }
  termNoDaiTitleField_->setVisible(houjin);
  termNoTitle_->setText(houjin ? qs("期:") : qs("年度:"));
  termNoKiTitleField_->setText(houjin ? qs("期") : qs("年度"));
  const bool wasHoujin = termNoField_->property("houjin").toBool();
  if (termNoField_->property("houjin").isValid() && wasHoujin == houjin) return;
  termNoField_->setProperty("houjin", houjin);
  termYearTyped_ = false;
  if (houjin)
    termNoField_->setText(qs("1"));
  else
    termNoField_->setText(
        QString::fromStdString(TermSettings::yearTextOfDateText(termStartDateField_->text().toStdString())));
}

void NewDocumentController::warekiDidChange()
{
  const std::optional<Date> start = dateOfField(termStartDateField_);
  const std::optional<Date> end = dateOfField(termEndDateField_);
  startDateFormatter_->setIsWareki(warekiCheckbox_->isChecked());
  endDateFormatter_->setIsWareki(warekiCheckbox_->isChecked());
  if (start) setDateField(termStartDateField_, *start);
  if (end) setDateField(termEndDateField_, *end);
  if (!houjinButton_->isChecked() && !termYearTyped_)
    termNoField_->setText(
        QString::fromStdString(TermSettings::yearTextOfDateText(termStartDateField_->text().toStdString())));
}

void NewDocumentController::startDateDidChange()
{
  const std::optional<Date> start = dateOfField(termStartDateField_);
  if (!start) return;
  setDateField(termStartDateField_, *start);
  if (!endDateTyped_) setDateField(termEndDateField_, TermSettings::defaultEndDateForStartDate(*start));
  if (!houjinButton_->isChecked() && !termYearTyped_)
    termNoField_->setText(
        QString::fromStdString(TermSettings::yearTextOfDateText(termStartDateField_->text().toStdString())));
}

void NewDocumentController::setDateField(QLineEdit* field, Date date)
{
  const WarekiDateFormatter& f = field == termStartDateField_ ? *startDateFormatter_ : *endDateFormatter_;
  field->setText(QString::fromStdString(f.stringForObjectValue(FieldValue::date(date)).value_or("")));
}

std::optional<Date> NewDocumentController::dateOfField(const QLineEdit* field) const
{
  const WarekiDateFormatter& f = field == termStartDateField_ ? *startDateFormatter_ : *endDateFormatter_;
  return f.dateOfString(field->text().toStdString());
}

QLineEdit* NewDocumentController::selectField(TermSettings::Field field)
{
  QLineEdit* edit = nullptr;
  switch (field) {
  case TermSettings::Field::Name: edit = nameField_; break;
  case TermSettings::Field::TermNo: edit = termNoField_; break;
  case TermSettings::Field::StartDate: edit = termStartDateField_; break;
  case TermSettings::Field::EndDate: edit = termEndDateField_; break;
  case TermSettings::Field::None: return nullptr;
  }
  edit->setFocus();
  edit->selectAll();
  return edit;
}

// --- OK and Cancel

NewDocumentSettings NewDocumentController::settings() const
{
  NewDocumentSettings s;
  s.term.name = nameField_->text().toStdString();
  s.term.isHoujin = houjinButton_->isChecked();
  s.term.isKakeibo = !s.term.isHoujin && kakeiboCheckbox_->isChecked();
  s.term.termNoText = termNoField_->text().toStdString();
  s.term.startDate = dateOfField(termStartDateField_);
  s.term.endDate = dateOfField(termEndDateField_);
  s.isSeizou = seizouCheckbox_->isChecked();
  s.isKensetu = kensetuCheckbox_->isChecked();
  s.doUseWareki = warekiCheckbox_->isChecked();
  s.decimalPrecision = decimalPrecisionPopUp_->currentData().toInt();
  s.useKaisyahouChart = kaisyahouChartButton_->isChecked();
  return s;
}

void NewDocumentController::okAction()
{
  const NewDocumentSettings s = settings();
  const TermSettings::Refusal refusal = s.check();
  if (refusal.isRefused()) {
    if (refusal.message.empty()) {
      AlertSheet::beep();
      FieldMessage::show(selectField(refusal.field), QString::fromStdString(refusal.note));
    } else {
      QPointer<NewDocumentController> self = this;
      const TermSettings::Field field = refusal.field;
      AlertSheet::beginAlertSheet(this, QString::fromStdString(refusal.title), QString::fromStdString(refusal.message),
                                  [self, field] {
                                    if (self) self->selectField(field);
                                  });
    }
    return;
  }
  DocumentSession* doc = document();
  s.applyToDocument(doc->document());
  doc->updateChangeCount(MyDocument::ChangeType::Done);
  passed_ = true;
  doc->showDocumentInfoWindow();
  closeWithoutAsking();
}

void NewDocumentController::cancelAction() { close(); }

}  // namespace kivo
