#include "trial/gui/ShisanSectionsWindowController.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "document/MyDocument.h"
#include "document/gui/OpenDocument.h"
#include "document/gui/PrintProgressSheet.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "platform/PrintInfo.h"
#include "platform/QtStrings.h"
#include "platform/SheetController.h"

namespace kivo {

ShisanSectionsWindowController::ShisanSectionsWindowController(OpenDocument* document, Kind kind, const Names& names)
    : JigyoubuReportWindowController(document, kind, names)
{
}

ShisanSectionsWindowController::~ShisanSectionsWindowController() { delete selectPrintTargetView_; }

void ShisanSectionsWindowController::setInitialContentsThenDisplay()
{
  selectFirstRowAfterUpdate_ = true;
  updateUI(true);
}

// --- sections and tabs

bool ShisanSectionsWindowController::isTotalRow(int row, const CyouhyouTableView& tableView) const
{
  if (&tableView != taisyakuTaisyouTableView_ && &tableView != sonekiKeisanTableView_ &&
      &tableView != seizouGenkaTableView_)
    return false;
  const std::vector<Shisan>& rows = shisanArrayOfTableView(tableView);
  return row >= 0 && row < static_cast<int>(rows.size()) && rows[static_cast<size_t>(row)].isTotalRow();
}

QString ShisanSectionsWindowController::selectedTabIdentifier() const
{
  return tabView_ ? tabView_->tabBar()->tabData(tabView_->currentIndex()).toString() : QString();
}

void ShisanSectionsWindowController::selectTabWithIdentifier(const QString& identifier)
{
  for (int i = 0; tabView_ && i < tabView_->count(); ++i)
    if (tabView_->tabBar()->tabData(i).toString() == identifier) tabView_->setCurrentIndex(i);
}

void ShisanSectionsWindowController::selectNextTab()
{
  if (!tabView_ || tabView_->count() == 0) return;
  tabView_->setCurrentIndex((tabView_->currentIndex() + 1) % tabView_->count());
}

CyouhyouTableView* ShisanSectionsWindowController::selectedTableView() const
{
  const QString id = selectedTabIdentifier();
  if (id == qs(kTaisyakuTaisyouTab)) return taisyakuTaisyouTableView_;
  if (id == qs(kSonekiKeisanTab)) return sonekiKeisanTableView_;
  return seizouGenkaTableView_;
}

void ShisanSectionsWindowController::addTabView(const Body& body)
{
  body.layout->setContentsMargins(0, 0, 0, 6);
  body.layout->setSpacing(6);
  tabView_ = new QTabWidget(body.central);
  tabView_->setUsesScrollButtons(false);
  auto* tabs = new QHBoxLayout();
  tabs->setContentsMargins(8, 0, 8, 0);
  tabs->addWidget(tabView_);
  body.layout->addLayout(tabs, 1);
  setCentralWidget(body.central);
  connect(tabView_, &QTabWidget::currentChanged, this, [this] {
    if (CyouhyouTableView* t = selectedTableView()) t->setFocus();
  });
}

void ShisanSectionsWindowController::addSectionTabs(CyouhyouTableView* taisyakuTaisyou, CyouhyouTableView* sonekiKeisan,
                                                    CyouhyouTableView* seizouGenka)
{
  taisyakuTaisyouTableView_ = taisyakuTaisyou;
  tabView_->addTab(taisyakuTaisyouTableView_, qs(kTaisyakuTaisyouLabel));
  tabView_->tabBar()->setTabData(0, qs(kTaisyakuTaisyouTab));
  sonekiKeisanTableView_ = sonekiKeisan;
  tabView_->addTab(sonekiKeisanTableView_, qs(kSonekiKeisanLabel));
  tabView_->tabBar()->setTabData(1, qs(kSonekiKeisanTab));
  // Only a manufacturer has the cost report; a construction company calls it the
  // cost of completed works.
  seizouGenkaTableView_ = seizouGenka;
  if (seizouGenkaTableView_) {
    const bool kensetu = document()->document().kaisya().isKensetu();
    tabView_->addTab(seizouGenkaTableView_, qs(kensetu ? kKanseiKoujiGenkaLabel : kSeizouGenkaLabel));
    tabView_->tabBar()->setTabData(2, qs(kSeizouGenkaTab));
  }
}

void ShisanSectionsWindowController::addNextTabShortcut()
{
  auto* nextTab = new QAction(this);
  nextTab->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  nextTab->setShortcutContext(Qt::WindowShortcut);
  connect(nextTab, &QAction::triggered, this, [this] { selectNextTab(); });
  addAction(nextTab);
}

bool ShisanSectionsWindowController::isOwnTableView(const QObject* sender) const
{
  return sender &&
         (sender == taisyakuTaisyouTableView_ || sender == sonekiKeisanTableView_ || sender == seizouGenkaTableView_);
}

void ShisanSectionsWindowController::openKanjyoumotocyou(int32_t kamokuCode, int32_t periodFrom, int32_t periodTo)
{
  if (refuseForSheet([](const SheetController& s) { return s.blocksDocumentCommands(); })) return;
  KanjyoumotocyouController::showKanjyoumotocyouOfPeriod(document(), kamokuCode, -1, periodFrom, periodTo);
}

// --- printing

void ShisanSectionsWindowController::buildPrintTargetView()
{
  selectPrintTargetView_ = new QWidget();
  auto* box = new QVBoxLayout(selectPrintTargetView_);
  box->addWidget(new QLabel(QStringLiteral("プリントする報告書:"), selectPrintTargetView_));
  printTaisyakuTaisyouCheckbox_ = new QCheckBox(qs(kTaisyakuTaisyouLabel), selectPrintTargetView_);
  printSonekiKeisanCheckbox_ = new QCheckBox(qs(kSonekiKeisanLabel), selectPrintTargetView_);
  printSeizouGenkaCheckbox_ = new QCheckBox(qs(kSeizouGenkaLabel), selectPrintTargetView_);
  box->addWidget(printTaisyakuTaisyouCheckbox_);
  box->addWidget(printSonekiKeisanCheckbox_);
  box->addWidget(printSeizouGenkaCheckbox_);
  box->addStretch(1);
}

bool ShisanSectionsWindowController::doPrintTaisyakuTaisyou() const
{
  return printTaisyakuTaisyouCheckbox_ && printTaisyakuTaisyouCheckbox_->isChecked();
}

bool ShisanSectionsWindowController::doPrintSonekiKeisan() const
{
  return printSonekiKeisanCheckbox_ && printSonekiKeisanCheckbox_->isChecked();
}

bool ShisanSectionsWindowController::doPrintSeizouGenka() const
{
  return printSeizouGenkaCheckbox_ && printSeizouGenkaCheckbox_->isChecked() && hasSeizouGenkaTab();
}

void ShisanSectionsWindowController::printSections(const char* pageSetupKey, const SectionsLayOut& layOut)
{
  QPointer<ShisanSectionsWindowController> self = this;
  const ShisanSectionsPrintView::SectionChoiceSource sections = [self] {
    ShisanSectionsPrintView::SectionChoice c;
    if (self) c = {self->doPrintTaisyakuTaisyou(), self->doPrintSonekiKeisan(), self->doPrintSeizouGenka()};
    return c;
  };
  PrintOperation::Options options;
  options.accessory = selectPrintTargetView_;
  options.accessoryTitle = QStringLiteral("プリントする報告書");
  PrintProgressSheet::runPrintPanel(
      document(), this, PrintInfo::pageLayoutForKey(pageSetupKey),
      [&](const QPageLayout& layout) { return layOut(layout, sections); }, options);
}

}  // namespace kivo
