#include "trial/gui/ShisanSectionsWindowController.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>

#include "document/MyDocument.h"
#include "document/gui/AppController.h"
#include "document/gui/DocumentSession.h"
#include "fields/FieldValue.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "platform/AlertSheet.h"
#include "platform/QtStrings.h"
#include "platform/SheetController.h"
#include "setup/gui/JigyoubuListController.h"

namespace kivo {

ShisanSectionsWindowController::ShisanSectionsWindowController(DocumentSession* document, Kind kind)
    : PeriodReportWindowController(document, kind)
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

void ShisanSectionsWindowController::windowDidResignMain() { paintTextFieldHighlight(false); }

// --- the division field

void ShisanSectionsWindowController::makeJigyoubuStripWidgets(QWidget* stripView)
{
  displayingJigyoubuTitleField_ = new QLabel(QStringLiteral("事業部:"), stripView);
  displayingJigyoubuField_ = makeSelectionField(stripView, 22);
  selectDisplayingJigyoubuButton_ = makeSelectButton(stripView, QStringLiteral("表示する事業部を選ぶ"));
  connect(selectDisplayingJigyoubuButton_, &QToolButton::clicked, this,
          [this] { showJigyoubuFormatterListWindowForDisplayingJigyoubuField(); });
}

void ShisanSectionsWindowController::setUpJigyoubuField()
{
  jigyoubuFieldInUse_ = document()->document().numberOfActiveJigyoubu() >= 1;
  if (!jigyoubuFieldInUse_) {
    displayingJigyoubuTitleField_->hide();
    displayingJigyoubuField_->hide();
    selectDisplayingJigyoubuButton_->hide();
  }
  displayJigyoubuCode_ = Jigyoubu::kAllJigyoubuCode;
  setDisplayingJigyoubuFieldValue();
}

void ShisanSectionsWindowController::setDisplayingJigyoubuFieldValue()
{
  if (!jigyoubuFieldInUse_) return;
  const MyDocument& doc = document()->document();
  if (doc.numberOfActiveJigyoubu() < 1) {
    // Every division was made inactive since the window was built.
    displayJigyoubuCode_ = Jigyoubu::kAllJigyoubuCode;
    displayingJigyoubuField_->clear();
    selectDisplayingJigyoubuButton_->setEnabled(false);
    return;
  }
  selectDisplayingJigyoubuButton_->setEnabled(true);
  char code[16];
  std::snprintf(code, sizeof code, "%02d", static_cast<int>(displayJigyoubuCode_));
  if (!doc.matchJigyoubuCode(code)) displayJigyoubuCode_ = Jigyoubu::kAllJigyoubuCode;
  const auto text = jigyoubuFormatter_->stringForObjectValue(FieldValue::code(displayJigyoubuCode_));
  displayingJigyoubuField_->setText(text ? QString::fromStdString(*text) : QString());
}

bool ShisanSectionsWindowController::typeOnJigyoubuField(QLineEdit* field, const QString& typed)
{
  if (field != displayingJigyoubuField_) return false;
  const bool accepted = jigyoubuFormatter_->isPartialStringValid(typed.toStdString());
  if (accepted) field->setText(typed);
  showJigyoubuFormatterListWindowForDisplayingJigyoubuField(accepted ? typed : QString());
  return true;
}

WindowController* ShisanSectionsWindowController::refuseForSheet(
    const std::function<bool(const SheetController&)>& refuses)
{
  WindowController* holder = nullptr;
  for (WindowController* wc : document()->windowControllers()) {
    const SheetController* sheet = wc->attachedSheetController();
    if (sheet && refuses(*sheet)) {
      holder = wc;
      break;
    }
  }
  if (!holder) return nullptr;
  AppController* app = AppController::sharedAppController();
  QWidget* main = app && app->mainWindowController() ? app->mainWindowController() : static_cast<QWidget*>(this);
  QPointer<WindowController> target = holder;
  AlertSheet::beginAlertSheet(main, qs(AlertSheet::kCannotExecuteTitle), qs(AppController::kCloseSheetMessage),
                              [target] {
                                if (target) target->showWindow();
                              });
  return holder;
}

void ShisanSectionsWindowController::showJigyoubuFormatterListWindowForDisplayingJigyoubuField(
    const QString& searchText)
{
  if (!jigyoubuFieldInUse_ || !selectDisplayingJigyoubuButton_->isEnabled()) return;
  selectTextField(displayingJigyoubuField_);
  if (refuseForSheet(
          [](const SheetController& s) { return s.metaObject()->inherits(&JigyoubuListController::staticMetaObject); }))
    return;
  setDisplayingJigyoubuFieldValue();
  // The picker opens just below the field.
  const QPoint topLeft = displayingJigyoubuField_->mapToGlobal(QPoint(0, displayingJigyoubuField_->height()));
  const int32_t code = JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(
      *jigyoubuFormatter_, topLeft, searchText, this);
  if (code < 0 || code == displayJigyoubuCode_) return;
  displayJigyoubuCode_ = code;
  // The user chose what this window shows: it shows it now.
  updateUI(true);
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

}  // namespace kivo
