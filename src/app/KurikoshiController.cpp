#include "app/KurikoshiController.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "app/AppController.h"
#include "app/DocumentController.h"
#include "app/DocumentSession.h"
#include "assets/KurikoshiDocument.h"
#include "assets/KurikoshiSyori.h"
#include "platform/AlertSheet.h"
#include "platform/MainMenu.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "platform/WindowPlacement.h"

namespace kivo {
namespace {

enum Tab { kSetTab = 0, kCreatingTab = 1, kErrorTab = 2 };
const char* const kTabIdentifiers[] = {"set", "creating", "error"};

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
  auto* layout = new QHBoxLayout();
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(8);
  for (QWidget* w : widgets) layout->addWidget(w);
  layout->addStretch();
  return layout;
}

// Lets the progress page draw before the computation holds the main thread.
void drawNow(QWidget* window)
{
  window->repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

KurikoshiController::KurikoshiController(DocumentSession* document) : DocumentWindowController(document, Kind::Other)
{
  setWindowModality(Qt::ApplicationModal);
}

KurikoshiController::~KurikoshiController() = default;

QString KurikoshiController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  return qs("繰越処理 - ") + displayName;
}

KurikoshiController* KurikoshiController::showKurikoshiWindow(DocumentSession* document)
{
  KurikoshiController* controller = nullptr;
  for (DocumentWindowController* wc : document->windowControllers())
    if ((controller = qobject_cast<KurikoshiController*>(wc))) break;
  if (!controller) {
    controller = new KurikoshiController(document);
    document->addWindowController(controller);
  }
  controller->loadWindowIfNeeded();
  controller->updateUI(true);
  controller->showWindow();
  if (QScreen* screen = QApplication::primaryScreen())
    WindowPlacement::placeWindow(
        controller, QRect(screen->availableGeometry().center() - controller->rect().center(), controller->size()));
  return controller;
}

void KurikoshiController::windowDidLoad()
{
  tabView_ = new QStackedWidget(this);

  // --- set
  auto* set = new QWidget(tabView_);
  auto* heading = new QLabel(qs("繰越処理"), set);
  QFont big = heading->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  heading->setFont(big);
  auto* note = new QLabel(qs("当期の帳簿を締め切り、翌期の書類を作成します。翌期の会計期間を設定してください。"), set);
  note->setWordWrap(true);
  nameField_ = new QLineEdit(set);
  nameField_->setMinimumWidth(300);
  nameField_->setReadOnly(true);
  kindField_ = new QLabel(set);
  seizouCheckbox_ = new QCheckBox(qs("製造業"), set);
  kensetuCheckbox_ = new QCheckBox(qs("建設業"), set);
  kakeiboCheckbox_ = new QCheckBox(qs("家計簿"), set);
  for (QCheckBox* box : {seizouCheckbox_, kensetuCheckbox_, kakeiboCheckbox_}) box->setEnabled(false);
  term_ = new TermFields(set, 8);
  auto* kindRow = new QWidget(set);
  kindRow->setLayout(row({kindField_, seizouCheckbox_, kensetuCheckbox_, kakeiboCheckbox_}));
  auto* form = new QFormLayout();
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->setHorizontalSpacing(14);
  form->setVerticalSpacing(10);
  form->addRow(qs("会社名:"), nameField_);
  form->addRow(qs("種類:"), kindRow);
  form->addRow(qs("翌期:"), term_->termRow());
  form->addRow(qs("翌期の会計期間:"), term_->periodRow());
  okButton_ = new QPushButton(qs("OK"), set);
  cancelButton_ = new QPushButton(qs("キャンセル"), set);
  okButton_->setDefault(true);
  for (QPushButton* b : {okButton_, cancelButton_}) b->setMinimumWidth(96);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  buttons->addWidget(okButton_);
  auto* setLayout = new QVBoxLayout(set);
  setLayout->setContentsMargins(28, 22, 28, 20);
  setLayout->setSpacing(12);
  setLayout->addWidget(heading);
  setLayout->addWidget(note);
  setLayout->addLayout(form);
  setLayout->addStretch();
  setLayout->addLayout(buttons);

  // --- creating
  auto* creating = new QWidget(tabView_);
  progressField_ = new QLabel(creating);
  progressIndicator_ = new QProgressBar(creating);
  progressIndicator_->setTextVisible(false);
  auto* creatingLayout = new QVBoxLayout(creating);
  creatingLayout->setContentsMargins(28, 28, 28, 28);
  creatingLayout->addStretch();
  creatingLayout->addWidget(progressField_);
  creatingLayout->addWidget(progressIndicator_);
  creatingLayout->addStretch();

  // --- error
  auto* error = new QWidget(tabView_);
  errorField_ = new QLabel(error);
  errorField_->setWordWrap(true);
  invalidTable_ = new QTableWidget(0, 3, error);
  invalidTable_->setHorizontalHeaderLabels({qs("勘定科目"), qs("補助科目"), qs("事業部")});
  invalidTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  invalidTable_->verticalHeader()->hide();
  invalidTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  invalidTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  closeButton_ = new QPushButton(qs("閉じる"), error);
  closeButton_->setMinimumWidth(96);
  auto* errorButtons = new QHBoxLayout();
  errorButtons->addStretch();
  errorButtons->addWidget(closeButton_);
  auto* errorLayout = new QVBoxLayout(error);
  errorLayout->setContentsMargins(28, 22, 28, 20);
  errorLayout->setSpacing(12);
  errorLayout->addWidget(errorField_);
  errorLayout->addWidget(invalidTable_, 1);
  errorLayout->addLayout(errorButtons);

  tabView_->addWidget(set);
  tabView_->addWidget(creating);
  tabView_->addWidget(error);
  setCentralWidget(tabView_);

  connect(okButton_, &QPushButton::clicked, this, [this] { endKurikoshiWindow(); });
  connect(cancelButton_, &QPushButton::clicked, this, &KurikoshiController::stopKurikoshiWindow);
  connect(closeButton_, &QPushButton::clicked, this, &KurikoshiController::stopKurikoshiWindow);
  connect(term_->termStartDateField(), &QLineEdit::editingFinished, this, [this] {
    QLineEdit* field = term_->termStartDateField();
    if (const std::optional<Date> start = term_->dateOfField(field)) term_->setDateField(field, *start);
    if (!document()->document().kaisya().isHoujin()) term_->termNoField()->setText(term_->yearTextOfStartDate());
  });
  resize(560, 360);
}

void KurikoshiController::updateUI(bool)
{
  if (!isWindowLoaded()) return;
  const Kaisya& kaisya = document()->document().kaisya();
  selectTab(kSetTab);
  const TermSettings term = KurikoshiDocument::defaultTermSettings(kaisya);
  nameField_->setText(QString::fromStdString(kaisya.name()));
  kindField_->setText(kaisya.isHoujin() ? qs("法人") : qs("個人"));
  seizouCheckbox_->setChecked(kaisya.isSeizou());
  kensetuCheckbox_->setChecked(kaisya.isKensetu());
  kakeiboCheckbox_->setVisible(!kaisya.isHoujin());
  kakeiboCheckbox_->setChecked(kaisya.isKakeibo());
  term_->setWareki(kaisya.doUseWareki());
  if (term.startDate) term_->setDateField(term_->termStartDateField(), *term.startDate);
  if (term.endDate) term_->setDateField(term_->termEndDateField(), *term.endDate);
  term_->setHoujin(kaisya.isHoujin());
  term_->termNoField()->setText(kaisya.isHoujin() ? QString::fromStdString(term.termNoText)
                                                  : term_->yearTextOfStartDate());
}

QString KurikoshiController::currentTabIdentifier() const
{
  return tabView_ ? qs(kTabIdentifiers[tabView_->currentIndex()]) : QString();
}

void KurikoshiController::selectTab(int index)
{
  tabView_->setCurrentIndex(index);
  drawNow(this);
}

TermSettings KurikoshiController::termSettings() const
{
  const Kaisya& kaisya = document()->document().kaisya();
  TermSettings term;
  term.name = nameField_->text().toStdString();
  term.isHoujin = kaisya.isHoujin();
  term.isKakeibo = !kaisya.isHoujin() && kaisya.isKakeibo();
  term.termNoText = term_->termNoField()->text().toStdString();
  term.startDate = term_->dateOfField(term_->termStartDateField());
  term.endDate = term_->dateOfField(term_->termEndDateField());
  return term;
}

DocumentSession* KurikoshiController::endKurikoshiWindow()
{
  const TermSettings term = termSettings();
  const TermSettings::Refusal refusal = term.check();
  if (refusal.isRefused()) {
    term_->showRefusal(refusal, this, nameField_);
    return nullptr;
  }

  DocumentSession* old = DocumentSession::of(document());
  DocumentController* dc = DocumentController::sharedDocumentController();
  if (!old || !dc) return nullptr;
  DocumentSession* created = nullptr;
  KurikoshiSyori::Steps steps;
  // The preparation and the finishing animate the bar; the journal pass fills it.
  steps.didStartPhase = [this](KurikoshiSyori::Phase phase) {
    using P = KurikoshiSyori::Phase;
    const char* const texts[] = {"勘定科目の終了残高を計算する準備中...", "勘定科目の終了残高を計算中...",
                                 "勘定科目の終了残高の計算を終了中...", "翌期の書類を作成中..."};
    progressField_->setText(qs(texts[static_cast<int>(phase)]));
    if (phase != P::PostingShiwake) progressIndicator_->setRange(0, 0);
    if (phase == P::PreparingZandaka)
      selectTab(kCreatingTab);
    else
      drawNow(this);
  };
  // Redrawn at each hundredth of the pass, not at every fourth entry of a long journal.
  steps.didPostShiwake = [this, shown = size_t(0)](size_t done, size_t total) mutable {
    if (done == 0) progressIndicator_->setRange(0, static_cast<int>(std::min<size_t>(total + 1, INT_MAX)));
    progressIndicator_->setValue(static_cast<int>(std::min<size_t>(done, INT_MAX)));
    const size_t hundredth = total == 0 ? 0 : done * 100 / total;
    if (done != 0 && hundredth == shown) return;
    shown = hundredth;
    drawNow(this);
  };
  // The next term's document: untitled and changed until the user saves it.
  steps.addNextDocument = [&](std::unique_ptr<MyDocument> next) {
    hide();
    created = dc->addDocument(std::move(next));
    created->updateChangeCount(MyDocument::ChangeType::Done);
  };
  steps.saveOldDocument = [old] { return old->saveDocument(); };
  steps.closeOldDocument = [old] { old->close(); };
  const auto rounding =
      static_cast<int32_t>(UserDefaults::standardUserDefaults().integerForKey(KIVOGankasyoukyakuhiRoundingTypeKey));
  const KurikoshiSyori::Result result =
      KurikoshiSyori::run(old->document(), term, old->document().kaisya().doUseWareki(), rounding, steps);

  using Status = KurikoshiSyori::Result::Status;
  switch (result.status) {
  case Status::TermRefused: term_->showRefusal(result.termRefusal, this, nameField_); return nullptr;
  case Status::Refused: showRefusal(result.zandaka); return nullptr;
  case Status::NotMade:
    errorField_->setText(qs("翌期の書類を作成できなかったため、繰越処理を実行できません。"));
    invalidTable_->setRowCount(0);
    selectTab(kErrorTab);
    return nullptr;
  case Status::OldNotSaved:
    AlertSheet::runAlert(qs("保存できません"),
                         qs("繰越元の書類を保存できなかったため、閉じずに残しました。翌期の書類は作成済みです。"
                            "繰越元の書類を保存してから閉じてください。"));
    closeWithoutAsking();
    return created;
  case Status::Done: return created;
  }
  return created;
}

void KurikoshiController::stopKurikoshiWindow() { closeWithoutAsking(); }

void KurikoshiController::showRefusal(const KurikoshiZandaka& zandaka)
{
  progressIndicator_->setRange(0, 1);
  errorField_->setText(QString::fromStdString(zandaka.message()));
  const MyDocument& doc = document()->document();
  const auto& rows = zandaka.invalidZandakaArray();
  invalidTable_->setRowCount(static_cast<int>(rows.size()));
  invalidTable_->setVisible(!rows.empty());
  const char* const columns[] = {"kamoku", "hojyoKamoku", "jigyoubu"};
  for (size_t r = 0; r < rows.size(); ++r)
    for (int c = 0; c < 3; ++c)
      invalidTable_->setItem(
          static_cast<int>(r), c,
          new QTableWidgetItem(QString::fromStdString(KurikoshiZandaka::cellText(doc, rows[r], columns[c]))));
  selectTab(kErrorTab);
  if (!rows.empty()) {
    invalidTable_->setFocus();
    invalidTable_->selectRow(0);
    invalidTable_->scrollToTop();
  }
}

}  // namespace kivo
