#include "setup/gui/NewDocumentController.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "document/gui/OpenDocument.h"
#include "platform/QtStrings.h"
#include "platform/WindowPlacement.h"

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

NewDocumentController::NewDocumentController(OpenDocument* document)
    : DocumentWindowController(document, Kind::NewDocument)
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

  term_ = new TermFields(central, 10);
  term_->termNoField()->setText(qs("1"));
  for (QLineEdit* f : {term_->termStartDateField(), term_->termEndDateField()}) f->setPlaceholderText(qs("2024/4/1"));
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
  form->addRow(termNoTitle_, term_->termRow());
  form->addRow(qs("会計期間:"), term_->periodRow());
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
  connect(term_->termStartDateField(), &QLineEdit::editingFinished, this, &NewDocumentController::startDateDidChange);
  connect(term_->termEndDateField(), &QLineEdit::textEdited, this, [this] { endDateTyped_ = true; });
  connect(term_->termNoField(), &QLineEdit::textEdited, this, [this] { termYearTyped_ = true; });

  // The calendar year that has begun: the term most books start with.
  const Date start(QDate::currentDate().year(), 1, 1);
  term_->setDateField(term_->termStartDateField(), start);
  term_->setDateField(term_->termEndDateField(), TermSettings::defaultEndDateForStartDate(start));
  kindDidChange();

  adjustSize();
  setFixedSize(sizeHint().expandedTo(QSize(520, 0)));
  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect v = screen->availableGeometry();
    const int step = std::max(document()->numberOfOpenDocuments() - 1, 0);
    WindowPlacement::placeWindow(this,
                                 QRect(QPoint(v.x() + 60 + 21 * step % 300, v.y() + 60 + 23 * step % 300), size()));
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
  term_->setHoujin(houjin);
  termNoTitle_->setText(houjin ? qs("期:") : qs("年度:"));
  QLineEdit* termNo = term_->termNoField();
  const bool wasHoujin = termNo->property("houjin").toBool();
  if (termNo->property("houjin").isValid() && wasHoujin == houjin) return;
  termNo->setProperty("houjin", houjin);
  termYearTyped_ = false;
  if (houjin)
    termNo->setText(qs("1"));
  else
    termNo->setText(term_->yearTextOfStartDate());
}

void NewDocumentController::warekiDidChange()
{
  term_->setWareki(warekiCheckbox_->isChecked());
  if (!houjinButton_->isChecked() && !termYearTyped_) term_->termNoField()->setText(term_->yearTextOfStartDate());
}

void NewDocumentController::startDateDidChange()
{
  const std::optional<Date> start = term_->dateOfField(term_->termStartDateField());
  if (!start) return;
  term_->setDateField(term_->termStartDateField(), *start);
  if (!endDateTyped_) term_->setDateField(term_->termEndDateField(), TermSettings::defaultEndDateForStartDate(*start));
  if (!houjinButton_->isChecked() && !termYearTyped_) term_->termNoField()->setText(term_->yearTextOfStartDate());
}

// --- OK and Cancel

NewDocumentSettings NewDocumentController::settings() const
{
  NewDocumentSettings s;
  s.term.name = nameField_->text().toStdString();
  s.term.isHoujin = houjinButton_->isChecked();
  s.term.isKakeibo = !s.term.isHoujin && kakeiboCheckbox_->isChecked();
  s.term.termNoText = term_->termNoField()->text().toStdString();
  s.term.startDate = term_->dateOfField(term_->termStartDateField());
  s.term.endDate = term_->dateOfField(term_->termEndDateField());
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
    term_->showRefusal(refusal, this, nameField_);
    return;
  }
  OpenDocument* doc = document();
  s.applyToDocument(doc->document());
  doc->updateChangeCount(MyDocument::ChangeType::Done);
  passed_ = true;
  doc->showDocumentInfoWindow();
  closeWithoutAsking();
}

void NewDocumentController::cancelAction() { close(); }

void NewDocumentController::keyPressEvent(QKeyEvent* event)
{
  if (event->matches(QKeySequence::Cancel)) {
    cancelButton_->click();
    event->accept();
    return;
  }
  DocumentWindowController::keyPressEvent(event);
}

}  // namespace kivo
