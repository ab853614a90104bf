#include "app/DocumentInfoController.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AppController.h"
#include "app/DocumentController.h"
#include "app/DocumentSession.h"
#include "document/gui/ProgressStateController.h"
#include "journal/Kanjyoumotocyou.h"
#include "journal/gui/KanjyoumotocyouPrinting.h"
#include "journal/gui/SelectPluralHojyoKamokuController.h"
#include "journal/gui/SelectPluralKamokuController.h"
#include "model/KamokuKubun.h"
#include "model/Wareki.h"
#include "platform/AlertSheet.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/SheetController.h"
#include "platform/UserDefaultsKeys.h"
#include "platform/WindowPlacement.h"
#include "setup/KamokuListEditor.h"
#include "trial/HojyoZandaka.h"
#include "trial/gui/HojyozandakaIchiranPrintView.h"
#include "trial/gui/SelectPluralKamokuWithHojyoController.h"
#include "trial/gui/ZandakaShisanController.h"

namespace kivo {
namespace {

QString dateText(Date date, bool wareki)
{
  if (date.isNull()) return {};
  if (wareki) return QString::fromStdString(Wareki::warekiDateStringWithJapaneseSeparater(date, true));
  return qs("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

}  // namespace

DocumentInfoController::DocumentInfoController(OpenDocument* document)
    : DocumentWindowController(document, Kind::DocumentInfo)
{
}

DocumentInfoController::~DocumentInfoController() = default;

QString DocumentInfoController::windowMenuTitle() const { return document()->displayName(); }

QPushButton* DocumentInfoController::addCommandButton(Command command, const QString& title)
{
  MainMenu::Item item;
  item.title = title;
  item.command = command;
  QAction* action = mainMenu()->addCommandAction(commandMenu_, item);
  auto* button = new QPushButton(title);
  button->setMinimumWidth(150);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, action, &QAction::trigger);
  commandButtons_.emplace_back(command, button);
  return button;
}

void DocumentInfoController::windowDidLoad()
{
  auto* central = new QWidget(this);
  commandMenu_ = new QMenu(central);

  companyField_ = new QLabel(central);
  QFont big = companyField_->font();
  big.setPointSizeF(big.pointSizeF() * 1.7);
  big.setBold(true);
  companyField_->setFont(big);
  companyField_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  kindField_ = new QLabel(central);
  termField_ = new QLabel(central);
  startBalanceField_ = new QLabel(central);

  auto* windowsBox = new QGroupBox(qs("伝票・帳票"), central);
  auto* windowsGrid = new QGridLayout(windowsBox);
  windowsGrid->setHorizontalSpacing(10);
  windowsGrid->setVerticalSpacing(8);
  suitoucyouButton_ = new QPushButton(qs(MainMenu::kSuitoucyouItemTitle));
  suitoucyouButton_->setMinimumWidth(150);
  suitoucyouButton_->setAutoDefault(false);
  suitoucyouButton_->setMenu(mainMenu()->suitoucyouMenu());
  const std::vector<QPushButton*> windowButtons = {
      addCommandButton(Command::ShowFurikaedenpyouWindow, qs(MainMenu::kFurikaedenpyouItemTitle)),
      suitoucyouButton_,
      addCommandButton(Command::ShowShiwakenikkiWindow, qs(MainMenu::kShiwakenikkiItemTitle)),
      addCommandButton(Command::ShowKanjyoumotocyouWindow, qs(MainMenu::kKanjyoumotocyouItemTitle)),
      addCommandButton(Command::ShowHojyozandakaIchiranWindow, qs(MainMenu::kHojyozandakaIchiranItemTitle)),
      addCommandButton(Command::ShowZandakaShisanWindow, qs(MainMenu::kZandakaShisanItemTitle)),
      addCommandButton(Command::ShowSuiiShisanWindow, qs(MainMenu::kSuiiShisanItemTitle)),
      addCommandButton(Command::ShowGenkasyoukyakuShisanListWindow, qs(MainMenu::kGenkasyoukyakuShisanListItemTitle)),
      addCommandButton(Command::PrintHoukokusyo, qs("決算報告書...")),
  };
  for (size_t i = 0; i < windowButtons.size(); ++i)
    windowsGrid->addWidget(windowButtons[i], static_cast<int>(i / 2), static_cast<int>(i % 2));

  auto* listsBox = new QGroupBox(qs("会社の設定"), central);
  auto* listsLayout = new QVBoxLayout(listsBox);
  listsLayout->setSpacing(8);
  listsLayout->addWidget(addCommandButton(Command::ShowPropertiesWindow, qs("会社の基本情報...")));
  listsLayout->addWidget(addCommandButton(Command::ShowKamokuListWindow, qs("勘定科目...")));
  listsLayout->addWidget(addCommandButton(Command::ShowJigyoubuListWindow, qs("事業部...")));
  listsLayout->addWidget(addCommandButton(Command::ShowTekiyouListWindow, qs("摘要...")));
  listsLayout->addWidget(addCommandButton(Command::DoKurikoshiSyori, qs("繰越処理...")));
  listsLayout->addStretch();

  auto* boxes = new QHBoxLayout();
  boxes->setSpacing(14);
  boxes->addWidget(windowsBox, 2);
  boxes->addWidget(listsBox, 1);

  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(26, 20, 26, 20);
  layout->setSpacing(6);
  layout->addWidget(companyField_);
  layout->addWidget(kindField_);
  layout->addWidget(termField_);
  layout->addWidget(startBalanceField_);
  layout->addSpacing(10);
  layout->addLayout(boxes);
  setCentralWidget(central);
  resize(sizeHint().expandedTo(QSize(640, 0)));

  moveToFirstFreePlace();
  recomputeUI();
}

void DocumentInfoController::moveToFirstFreePlace()
{
  QScreen* screen = QApplication::primaryScreen();
  if (!screen) return;
  const QRect v = screen->availableGeometry();
  // The places of the other open documents' first windows, and the origins their
  // windows cascade from.
  std::vector<QPoint> taken;
  if (DocumentController* dc = DocumentController::sharedDocumentController())
    for (DocumentSession* other : dc->documents()) {
      if (other == document()) continue;
      if (const WindowController* info = other->documentInfoController(); info && info->isWindowLoaded())
        taken.push_back(info->windowFrameOriginWhenLoaded());
      for (DocumentWindowController* wc : other->windowControllers())
        if (wc->shouldCloseDocument() && wc->isVisible()) taken.push_back(wc->pos());
    }
  // A document's windows cascade from its information window, a step per position in
  // "伝票・帳票". A place clashes with another document's when a window cascading from
  // it would stand on one cascading from the other (a step of the cascade itself would
  // put the second document's voucher window on the first one's cash book); along the
  // axes it clashes too when two such windows would share a column or a row, where
  // the screen's edge, pulling windows of the same size in, would put them on each
  // other.
  const int last = MainMenu::positionInDenpyouAndCyouhyouMenu(QString());
  const QPoint cascadeStep(kCascadeRight, kCascadeDown);
  const auto clashes = [&](const QPoint& place, bool alongAxes) {
    for (const QPoint& p : taken)
      for (int m = -last; m <= last; ++m) {
        const QPoint d = place - p - cascadeStep * m;
        if (d.manhattanLength() < kNearby) return true;
        if (alongAxes && (std::abs(d.x()) < kNearbyAlongAxis || std::abs(d.y()) < kNearbyAlongAxis)) return true;
      }
    return false;
  };
  // The places step right and a little down, across the cascade and never along it,
  // and in rows that start half a step right and further down, as far as the window
  // stays on the screen.
  const QPoint first(v.x() + 60, v.y() + 60);
  std::vector<QPoint> places{first};
  for (int row = 0; row < 32; ++row)
    for (int column = 0; column < 32; ++column) {
      const QPoint place = first + kDocumentStep * column + kDocumentRowStep * row;
      if (place.x() + width() > v.x() + v.width() || place.y() + height() > v.y() + v.height()) break;
      if (row + column > 0) places.push_back(place);
    }
  // The first place that clashes with none; failing that, the first from which no
  // window stands on another's while the screen's edge leaves them where they are.
  auto place = std::find_if(places.begin(), places.end(), [&](const QPoint& p) { return !clashes(p, true); });
  if (place == places.end())
    place = std::find_if(places.begin(), places.end(), [&](const QPoint& p) { return !clashes(p, false); });
  WindowPlacement::placeWindow(this, QRect(place == places.end() ? first : *place, size()));
}

void DocumentInfoController::recomputeUI()
{
  if (!companyField_) return;
  const MyDocument& doc = document()->document();
  const Kaisya& kaisya = doc.kaisya();
  companyField_->setText(QString::fromStdString(kaisya.name()));

  QStringList kind;
  if (kaisya.isHoujin()) {
    kind << qs("法人");
    const bool kaisyahou =
        doc.rootKamokuKubun() && doc.rootKamokuKubun()->pListResource() == KamokuKubun::kKaisyahouChartName;
    kind << (kaisyahou ? qs("会社法の勘定科目表") : qs("旧商法の勘定科目表"));
  } else {
    kind << (kaisya.isKakeibo() ? qs("個人（家計簿）") : qs("個人"));
  }
  if (kaisya.isSeizou()) kind << qs("製造業");
  if (kaisya.isKensetu()) kind << qs("建設業");
  static const char* const precisions[] = {"金額は 1 円単位", "金額は小数点以下 1 桁", "金額は小数点以下 2 桁"};
  kind << qs(precisions[std::clamp(kaisya.decimalPrecision(), 0, 2)]);
  kindField_->setText(kind.join(qs("　・　")));

  QString term;
  if (kaisya.isHoujin())
    term = qs("第%1期").arg(kaisya.termNo());
  else if (!kaisya.termYear().empty())
    term = QString::fromStdString(kaisya.termYear()) + qs("年度");
  if (!kaisya.monthArray().empty()) {
    if (!term.isEmpty()) term += qs("　");
    term += dateText(kaisya.termStartDate(), kaisya.doUseWareki()) + qs(" 〜 ") +
            dateText(kaisya.termEndDate(), kaisya.doUseWareki()) + qs("（%1か月）").arg(kaisya.monthArray().size());
  }
  termField_->setText(term);

  const KamokuListEditor::TaisyakuTotal total = KamokuListEditor::startBalanceTaisyakuTotalOfDocument(doc);
  QString balance = qs("開始残高　借方 %1　貸方 %2　")
                        .arg(QString::fromStdString(kaisya.displayStringOfMemoryKingaku(total.karikata)),
                             QString::fromStdString(kaisya.displayStringOfMemoryKingaku(total.kashikata)));
  if (total.isBalanced()) {
    balance += qs("貸借が一致しています。");
    startBalanceField_->setStyleSheet(QString());
  } else {
    balance += qs("貸借が一致していません（差額 %1）。")
                   .arg(QString::fromStdString(kaisya.displayStringOfMemoryKingaku(total.difference())));
    startBalanceField_->setStyleSheet(qs("color: #b00020;"));
  }
  startBalanceField_->setText(balance);
  validateCommandButtons();
}

void DocumentInfoController::windowDidBecomeMain() { validateCommandButtons(); }

void DocumentInfoController::validateCommandButtons()
{
  AppController* app = AppController::sharedAppController();
  const auto usable = [&](Command command) {
    return app && app->hasCommandHandler(command) && AppController::appliesToDocument(command, *document());
  };
  for (auto& [command, button] : commandButtons_) button->setEnabled(usable(command));
  if (suitoucyouButton_)
    suitoucyouButton_->setEnabled(usable(Command::ShowSuitoucyouWindow) && !mainMenu()->suitoucyouMenu()->isEmpty());
}

QAbstractButton* DocumentInfoController::buttonOfCommand(Command command) const
{
  if (command == Command::ShowSuitoucyouWindow) return suitoucyouButton_;
  for (const auto& [c, button] : commandButtons_)
    if (c == command) return button;
  return nullptr;
}

// --- ledger printing

void DocumentInfoController::pageSetupForZandakaShisan()
{
  PrintOperation::runPageSetup(this, KIVOZandakaShisanPrintInfoKey);
}

void DocumentInfoController::printZandakaShisanOfSelectedPeriod()
{
  closeAttachedSheet();
  if (auto* window = ZandakaShisanController::showZandakaShisanWindow(document()))
    window->printZandakaShisanOfSelectedPeriod();
}

void DocumentInfoController::selectPluralKamokuThenPrintKanjyoumotocyou()
{
  SelectPluralKamokuController* sheet = SelectPluralKamokuController::controllerOfDocument(document());
  if (attachedSheetController() == sheet) return;
  closeAttachedSheet();
  if (hasAttachedSheet()) return;
  document()->document().rootKamokuKubun()->forEachKamoku([](const KamokuPtr& k) { k->setIsTempSelected(false); });
  sheet->beginForWindow(this);
}

void DocumentInfoController::selectPluralHojyoKamokuThenPrintHojyomotocyou()
{
  SelectPluralHojyoKamokuController* sheet = SelectPluralHojyoKamokuController::controllerOfDocument(document());
  if (attachedSheetController() == sheet) return;
  closeAttachedSheet();
  if (hasAttachedSheet()) return;
  document()->document().rootKamokuKubun()->forEachKamoku([](const KamokuPtr& k) {
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray()) h->setIsTempSelected(false);
  });
  sheet->beginForWindow(this);
}

// --- sub-account balance list printing

void DocumentInfoController::pageSetupForHojyozandakaIchiran()
{
  PrintOperation::runPageSetup(this, KIVOHojyozandakaIchiranPrintInfoKey);
}

void DocumentInfoController::selectPluralKamokuThenPrintHojyozandakaIchiran()
{
  SelectPluralKamokuWithHojyoController* sheet =
      SelectPluralKamokuWithHojyoController::controllerOfDocument(document());
  if (attachedSheetController() == sheet) return;
  closeAttachedSheet();
  if (hasAttachedSheet()) return;
  for (const KamokuPtr& k : document()->document().codeSortedKamokuArray()) k->setIsTempSelected(false);
  sheet->setJigyoubuCode(Jigyoubu::kAllJigyoubuCode);
  sheet->setPeriodFromMonthArrayIndex(0);
  sheet->setPeriodToMonthArrayIndex(static_cast<int32_t>(document()->document().kaisya().monthArray().size()));
  sheet->updateUI();
  QPointer<DocumentInfoController> self = this;
  sheet->beginSheet(this, [self](int returnCode) {
    if (self && returnCode == SheetController::kOK) self->printHojyozandakaIchiranOfSelectedKamoku();
  });
}

void DocumentInfoController::printHojyozandakaIchiranOfSelectedKamoku()
{
  const SelectPluralKamokuWithHojyoController* sheet =
      SelectPluralKamokuWithHojyoController::controllerOfDocument(document());
  std::vector<HojyoZandaka::KamokuCodes> codes;
  for (const KamokuPtr& k : document()->document().codeSortedKamokuArray())
    if (k->isTempSelected() && k->activeHojyoKamokuNum() > 0) codes.push_back({sheet->jigyoubuCode(), k->code()});
  if (codes.empty()) return;
  const int32_t from = sheet->periodFromMonthArrayIndex();
  const int32_t to = sheet->periodToMonthArrayIndex();
  MyDocument& doc = document()->document();
  std::optional<std::vector<Shisan>> rows;
  if (codes.size() > 1) {
    ProgressStateController* progress = document()->progressStateController();
    progress->beginNamedSteps(this, codes.size());
    rows = HojyoZandaka::hojyoZandakaArray(
        doc, codes, from, to, [progress](int, int, const std::string& name) { return progress->nextNamedStep(name); });
    progress->endModalSession();
  } else {
    rows = HojyoZandaka::hojyoZandakaArray(doc, codes, from, to);
  }
  if (!rows || rows->empty()) return;
  HojyozandakaIchiranPrintView::print(document(), this, *rows, from, to);
}

}  // namespace kivo
