#include "statements/gui/StatementsSheetController.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "document/gui/DocumentWindowController.h"
#include "document/gui/OpenDocument.h"
#include "document/gui/PrintProgressSheet.h"
#include "platform/ModalSession.h"
#include "platform/PrintInfo.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaultsKeys.h"
#include "statements/gui/HoukokusyoGeneralTab.h"

namespace kivo {

StatementsSheetController::StatementsSheetController(OpenDocument* document) : document_(document)
{
  setWindowTitle(qs("決算報告書"));
  tabView_ = new QTabWidget(this);
}

QAbstractButton* StatementsSheetController::okButton() const { return okButton_; }

void StatementsSheetController::addButtonsAndLayOut(const std::function<void()>& ok,
                                                    const std::function<void()>& cancel, QSize size)
{
  pageSetupButton_ = new QPushButton(qs("ページ設定..."), this);
  cancelButton_ = new QPushButton(qs("キャンセル"), this);
  okButton_ = new QPushButton(qs("プリント..."), this);
  okButton_->setDefault(true);
  connect(pageSetupButton_, &QPushButton::clicked, this,
          [this] { PrintOperation::runPageSetup(this, KIVOHoukokusyoPrintInfoKey); });
  connect(cancelButton_, &QPushButton::clicked, this, cancel);
  connect(okButton_, &QPushButton::clicked, this, ok);
  connect(tabView_, &QTabWidget::currentChanged, this, &StatementsSheetController::tabChanged);
  progressIndicator_ = new QProgressBar(this);
  progressIndicator_->setRange(0, 0);
  progressIndicator_->setTextVisible(false);
  progressIndicator_->setMaximumWidth(120);
  progressIndicator_->hide();
  // Each tab's page scrolls when the screen is lower than the sheet.
  const QSignalBlocker block(tabView_);
  for (int i = 0; i < tabView_->count(); ++i) {
    QWidget* page = tabView_->widget(i);
    const QString title = tabView_->tabText(i);
    auto* scroll = new QScrollArea(tabView_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    tabView_->removeTab(i);
    scroll->setWidget(page);
    tabView_->insertTab(i, scroll, title);
    tabPages_.emplace_back(scroll, title);
  }
  tabView_->setCurrentIndex(kGeneralTab);
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(pageSetupButton_);
  buttons->addWidget(progressIndicator_);
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  buttons->addWidget(okButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabView_);
  layout->addLayout(buttons);
  resize(size);
}

bool StatementsSheetController::shouldApplyTab(int tab) { return tab != kGeneralTab || general_->check(); }

int StatementsSheetController::tabOfIndex(int index) const
{
  QWidget* page = tabView_->widget(index);
  for (size_t t = 0; page && t < tabPages_.size(); ++t)
    if (tabPages_[t].first == page) return static_cast<int>(t);
  return -1;
}

int StatementsSheetController::indexOfTab(int tab) const
{
  if (tab < 0 || static_cast<size_t>(tab) >= tabPages_.size()) return -1;
  return tabView_->indexOf(tabPages_[static_cast<size_t>(tab)].first);
}

void StatementsSheetController::selectTab(int tab)
{
  const int index = indexOfTab(tab);
  if (index >= 0) tabView_->setCurrentIndex(index);
}

void StatementsSheetController::setTabShown(int tab, bool shown)
{
  if (tab < 0 || static_cast<size_t>(tab) >= tabPages_.size() || (indexOfTab(tab) >= 0) == shown) return;
  const QSignalBlocker block(tabView_);
  if (!shown) {
    if (currentTab_ == tab) {
      tabView_->setCurrentIndex(indexOfTab(kGeneralTab));
      currentTab_ = kGeneralTab;
    }
    tabView_->removeTab(indexOfTab(tab));
    return;
  }
  // After the shown tabs that come before it.
  int at = 0;
  for (int t = 0; t < tab; ++t)
    if (indexOfTab(t) >= 0) ++at;
  const auto& [page, title] = tabPages_[static_cast<size_t>(tab)];
  tabView_->insertTab(at, page, title);
}

void StatementsSheetController::tabChanged(int index)
{
  const int from = currentTab_;
  const int to = tabOfIndex(index);
  if (to < 0 || !canSelectTab(to) || !shouldApplyTab(from)) {
    const QSignalBlocker block(tabView_);
    tabView_->setCurrentIndex(indexOfTab(from));
    return;
  }
  applyTab(from);
  currentTab_ = to;
  didSelectTab(to);
}

void StatementsSheetController::changeEvent(QEvent* event)
{
  SheetController::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  // Activated in the middle of work: the outline follows once the work has ended.
  ModalSession::afterWork(this, [this] {
    if (isActiveWindow()) windowDidBecomeKey();
  });
}

void StatementsSheetController::markEdited() { document_->document().updateChangeCount(MyDocument::ChangeType::Done); }

void StatementsSheetController::computeWithProgress(const std::function<void()>& compute)
{
  const bool shown = isVisible();
  if (shown) {
    progressIndicator_->show();
    // The indicator is drawn before the computation holds the main thread.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  compute();
  progressIndicator_->hide();
}

void StatementsSheetController::beginForWindow(DocumentWindowController* info)
{
  if (info->attachedSheetController() == this) return;
  info->closeAttachedSheet();
  if (info->hasAttachedSheet()) return;
  willBeginSheet();
  QPointer<StatementsSheetController> self = this;
  QPointer<DocumentWindowController> window = info;
  beginSheet(info, [self, window](int returnCode) {
    if (!self) return;
    self->sheetDidEnd(returnCode);
    if (returnCode == kOK && window) self->printStatements(window);
  });
}

void StatementsSheetController::printStatements(DocumentWindowController* info)
{
  // Nothing to print (only empty notes chosen): no print panel.
  PrintProgressSheet::runPrintPanel(document_, info, PrintInfo::pageLayoutForKey(KIVOHoukokusyoPrintInfoKey),
                                    [this](const QPageLayout& paper) { return makePrintView(paper); });
}

}  // namespace kivo
