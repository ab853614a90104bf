#include "setup/gui/PreferenceController.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "document/gui/DocumentWindowController.h"
#include "document/gui/OpenDocument.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "platform/WindowController.h"

namespace kivo {
namespace {

QPointer<PreferenceController>& sharedInstance()
{
  static QPointer<PreferenceController> instance;
  return instance;
}

struct EntryColumnKeys {
  PreferenceController::EntryColumn column;
  const char* title;
  const char* typeKey;
  const char* sourceKey;
};

const EntryColumnKeys kEntryColumns[] = {
    {PreferenceController::EntryColumn::Date, "日付", KIVOInputTypeForDateKey, KIVOInputSourceForDateKey},
    {PreferenceController::EntryColumn::Kamoku, "勘定科目", KIVOInputTypeForKamokuKey, KIVOInputSourceForKamokuKey},
    {PreferenceController::EntryColumn::HojyoKamoku, "補助科目", KIVOInputTypeForHojyoKamokuKey,
     KIVOInputSourceForHojyoKamokuKey},
    {PreferenceController::EntryColumn::Kingaku, "金額", KIVOInputTypeForKingakuKey, KIVOInputSourceForKingakuKey},
    {PreferenceController::EntryColumn::Jigyoubu, "事業部", KIVOInputTypeForJigyoubuKey, KIVOInputSourceForJigyoubuKey},
    {PreferenceController::EntryColumn::Tekiyou, "摘要", KIVOInputTypeForTekiyouKey, KIVOInputSourceForTekiyouKey},
};

struct CheckboxKey {
  const char* key;
  const char* title;
};

const CheckboxKey kEntryCheckboxes[] = {
    {KIVOFurikaedenpyouAutoSetBalanceKey, "振替伝票で、空の金額欄を Tab で抜けると貸借の差額を入れる"},
    {KIVOSuitoucyouAutoSetItemAsAboveRowKey, "出納帳で、空の日付・相手科目欄を Tab で抜けると上の行と同じ内容を入れる"},
};

const CheckboxKey kReportCheckboxes[] = {
    {KIVOAutoUpdateAllOutputWindowsKey, "仕訳を変更したら、開いているすべての帳票をすぐに計算し直す"},
    {KIVOKanjyoumotocyouShowCreatedTypeKey, "総勘定元帳に、仕訳を入力した伝票・帳簿の種類を表示する"},
    {KIVOZandakaShisanKamokuDoNotShowIfNoTorihikiKey, "合計残高試算表に、取引のない勘定科目を表示しない"},
    {KIVOZandakaShisanSetPeriodWhenShowWindowKey, "合計残高試算表を開くときに、期間を指定する"},
    {KIVOSuiiShisanAddKaishizandkaToGoukeiKey, "年間推移試算表の合計に、開始残高を含める"},
};

const CheckboxKey kStatementCheckboxes[] = {
    {KIVOTateKabunushiShihonnadoKeisansyoKey, "株主資本等変動計算書を縦型で印刷する"},
};

// Input type: 1 highlights the cell and opens the input panel on a key; any other value
// lets the cell be typed into.
constexpr int kInputTypeHighlight = 1;
constexpr int kInputTypeDirect = 2;

}  // namespace

PreferenceController* PreferenceController::sharedPreferenceController()
{
  if (!sharedInstance()) sharedInstance() = new PreferenceController();
  return sharedInstance();
}

void PreferenceController::showPreferencesWindow()
{
  PreferenceController* window = sharedPreferenceController();
  if (!window->isVisible()) window->updateUI();
  window->show();
  window->raise();
  window->activateWindow();
}

void PreferenceController::discard() { delete sharedInstance().data(); }

PreferenceController::PreferenceController()
{
  setWindowTitle(qs("環境設定"));
  auto* tabs = new QTabWidget(this);

  const auto addCheckboxes = [this](QVBoxLayout* layout, QWidget* page, const auto& list) {
    for (const CheckboxKey& c : list) {
      auto* box = new QCheckBox(qs(c.title), page);
      checkboxes_[c.key] = box;
      layout->addWidget(box);
    }
  };

  // 入力
  auto* entryPage = new QWidget(tabs);
  auto* entryLayout = new QVBoxLayout(entryPage);
  entryLayout->setSpacing(8);
  addCheckboxes(entryLayout, entryPage, kEntryCheckboxes);
  auto* grid = new QGridLayout();
  grid->setHorizontalSpacing(12);
  grid->addWidget(new QLabel(qs("入力欄"), entryPage), 0, 0);
  grid->addWidget(new QLabel(qs("入力のしかた"), entryPage), 0, 1);
  grid->addWidget(new QLabel(qs("入力モード"), entryPage), 0, 2);
  int row = 1;
  for (const EntryColumnKeys& c : kEntryColumns) {
    auto* type = new QComboBox(entryPage);
    type->addItem(qs("欄に直接入力する"), kInputTypeDirect);
    type->addItem(qs("入力パネルを使う"), kInputTypeHighlight);
    auto* source = new QComboBox(entryPage);
    source->addItem(qs("切り替えない"), QString());
    source->addItem(qs("日本語"), QStringLiteral("ja"));
    source->addItem(qs("英数"), QStringLiteral("en"));
    inputTypePopUps_[c.column] = type;
    inputSourcePopUps_[c.column] = source;
    grid->addWidget(new QLabel(qs(c.title), entryPage), row, 0);
    grid->addWidget(type, row, 1);
    grid->addWidget(source, row, 2);
    ++row;
  }
  entryLayout->addSpacing(6);
  entryLayout->addLayout(grid);
  auto* note = new QLabel(qs("入力モードを切り替える欄には、常に直接入力します。"), entryPage);
  note->setStyleSheet(qs("color: #555555;"));
  entryLayout->addWidget(note);
  entryLayout->addStretch();
  tabs->addTab(entryPage, qs("入力"));

  // 帳票
  auto* reportPage = new QWidget(tabs);
  auto* reportLayout = new QVBoxLayout(reportPage);
  reportLayout->setSpacing(8);
  addCheckboxes(reportLayout, reportPage, kReportCheckboxes);
  auto* reportForm = new QFormLayout();
  colorButton_ = new QPushButton(reportPage);
  colorButton_->setFixedWidth(90);
  monthPerPageField_ = new QSpinBox(reportPage);
  monthPerPageField_->setRange(kMinMonthPerPage, kMaxMonthPerPage);
  monthPerPageField_->setSuffix(qs(" か月"));
  // 0: every month column on one page.
  monthPerPageField_->setSpecialValueText(qs("すべて"));
  reportForm->addRow(qs("年間推移試算表の見出しの色:"), colorButton_);
  reportForm->addRow(qs("年間推移試算表の 1 ページに印刷する月数:"), monthPerPageField_);
  reportLayout->addSpacing(6);
  reportLayout->addLayout(reportForm);
  reportLayout->addStretch();
  tabs->addTab(reportPage, qs("帳票"));

  // 決算・減価償却
  auto* statementPage = new QWidget(tabs);
  auto* statementLayout = new QVBoxLayout(statementPage);
  statementLayout->setSpacing(8);
  addCheckboxes(statementLayout, statementPage, kStatementCheckboxes);
  auto* assetForm = new QFormLayout();
  roundingTypePopUp_ = new QComboBox(statementPage);
  roundingTypePopUp_->addItem(qs("切り捨て"), 0);
  roundingTypePopUp_->addItem(qs("四捨五入"), 1);
  roundingTypePopUp_->addItem(qs("切り上げ"), 2);
  zanzonWariaiField_ = new QDoubleSpinBox(statementPage);
  zanzonGendoWariaiField_ = new QDoubleSpinBox(statementPage);
  for (QDoubleSpinBox* f : {zanzonWariaiField_, zanzonGendoWariaiField_}) {
    f->setRange(0.0, 100.0);
    f->setDecimals(2);
    f->setSuffix(qs(" %"));
  }
  assetForm->addRow(qs("減価償却費の端数:"), roundingTypePopUp_);
  assetForm->addRow(qs("新しい資産の残存割合:"), zanzonWariaiField_);
  assetForm->addRow(qs("新しい資産の残存限度割合:"), zanzonGendoWariaiField_);
  statementLayout->addSpacing(6);
  statementLayout->addLayout(assetForm);
  statementLayout->addStretch();
  tabs->addTab(statementPage, qs("決算・減価償却"));

  applyButton_ = new QPushButton(qs("適用"), this);
  closeButton_ = new QPushButton(qs("閉じる"), this);
  applyButton_->setDefault(true);
  for (QPushButton* b : {applyButton_, closeButton_}) b->setMinimumWidth(96);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(closeButton_);
  buttons->addWidget(applyButton_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 16, 18, 14);
  layout->addWidget(tabs);
  layout->addLayout(buttons);

  connect(applyButton_, &QPushButton::clicked, this, &PreferenceController::handleClickApplyButton);
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
  connect(colorButton_, &QPushButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(color_, this, qs("見出しの色"));
    if (chosen.isValid()) changeColor(chosen);
  });
  updateUI();
  resize(sizeHint().expandedTo(QSize(600, 420)));
}

QCheckBox* PreferenceController::checkboxOfKey(const char* key) const
{
  auto it = checkboxes_.find(key);
  return it == checkboxes_.end() ? nullptr : it->second;
}

QComboBox* PreferenceController::inputTypePopUp(EntryColumn column) const { return inputTypePopUps_.at(column); }

QComboBox* PreferenceController::inputSourcePopUp(EntryColumn column) const { return inputSourcePopUps_.at(column); }

void PreferenceController::updateUI()
{
  const UserDefaults& d = UserDefaults::standardUserDefaults();
  for (auto& [key, box] : checkboxes_) box->setChecked(d.boolForKey(QString::fromStdString(key)));
  for (const EntryColumnKeys& c : kEntryColumns) {
    QComboBox* type = inputTypePopUps_.at(c.column);
    type->setCurrentIndex(
        type->findData(d.integerForKey(c.typeKey) == kInputTypeHighlight ? kInputTypeHighlight : kInputTypeDirect));
    QComboBox* source = inputSourcePopUps_.at(c.column);
    const int i = source->findData(d.stringForKey(c.sourceKey));
    source->setCurrentIndex(i < 0 ? 0 : i);
  }
  const int64_t months = d.integerForKey(KIVOSuiiShisanPrintMonthPerPageKey);
  monthPerPageField_->setValue(months >= kMinMonthPerPage && months <= kMaxMonthPerPage ? static_cast<int>(months) : 0);
  const int rounding =
      roundingTypePopUp_->findData(static_cast<int>(d.integerForKey(KIVOGankasyoukyakuhiRoundingTypeKey)));
  roundingTypePopUp_->setCurrentIndex(rounding < 0 ? 2 : rounding);
  zanzonWariaiField_->setValue(d.doubleForKey(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey));
  zanzonGendoWariaiField_->setValue(d.doubleForKey(KIVOGankasyoukyakuhiDefaultZanzonGendoWariaiKey));
  color_ = d.colorForKey(KIVOSuiiShisanTitleTextColorKey);
  if (!color_.isValid()) color_ = QColor(0, 0, 255);
  showColor();
}

void PreferenceController::showColor()
{
  colorButton_->setStyleSheet(
      QStringLiteral("background-color: %1; border: 1px solid #777777; min-height: 20px;").arg(color_.name()));
}

void PreferenceController::handleClickApplyButton()
{
  UserDefaults& d = UserDefaults::standardUserDefaults();
  for (auto& [key, box] : checkboxes_) d.setBool(box->isChecked(), QString::fromStdString(key));
  for (const EntryColumnKeys& c : kEntryColumns) {
    d.setInteger(inputTypePopUps_.at(c.column)->currentData().toInt(), c.typeKey);
    const QString source = inputSourcePopUps_.at(c.column)->currentData().toString();
    if (source.isEmpty())
      d.removeObjectForKey(c.sourceKey);
    else
      d.setString(source, c.sourceKey);
  }
  // The spin box holds the count within 1 to 13; the check stands anyway, as the
  // printout divides by it.
  const int months = std::clamp(monthPerPageField_->value(), kMinMonthPerPage, kMaxMonthPerPage);
  d.setInteger(months, KIVOSuiiShisanPrintMonthPerPageKey);
  d.setInteger(roundingTypePopUp_->currentData().toInt(), KIVOGankasyoukyakuhiRoundingTypeKey);
  d.setDouble(zanzonWariaiField_->value(), KIVOGankasyoukyakuhiDefaultZanzonWariaiKey);
  d.setDouble(zanzonGendoWariaiField_->value(), KIVOGankasyoukyakuhiDefaultZanzonGendoWariaiKey);
  d.synchronize();
  updateWindowsOfKind(DocumentWindow::Kind::SuiiShisan);
  // The register's shown figures depend on the rounding: they follow at once.
  updateWindowsOfKind(DocumentWindow::Kind::GenkasyoukyakuShisanList, true);
}

void PreferenceController::changeColor(const QColor& color)
{
  if (!color.isValid()) return;
  color_ = color;
  showColor();
  UserDefaults& d = UserDefaults::standardUserDefaults();
  d.setColor(color, KIVOSuiiShisanTitleTextColorKey);
  d.synchronize();
  updateWindowsOfKind(DocumentWindow::Kind::SuiiShisan);
}

void PreferenceController::updateWindowsOfKind(DocumentWindow::Kind kind, bool force)
{
  // The open windows of every document: a window that closed may wait for its
  // deletion.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    DocumentWindowController* wc = qobject_cast<DocumentWindowController*>(w);
    if (!wc || wc->windowKind() != kind) continue;
    const auto& open = wc->document()->windowControllers();
    if (std::find(open.begin(), open.end(), wc) != open.end()) wc->updateUI(force);
  }
}

}  // namespace kivo
