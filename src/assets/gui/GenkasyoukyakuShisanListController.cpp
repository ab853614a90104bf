#include "assets/gui/GenkasyoukyakuShisanListController.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "assets/ShisanSyoukyaku.h"
#include "assets/gui/GenkasyoukyakuShisanListPrintView.h"
#include "assets/gui/GenkasyoukyakuShisanToAddController.h"
#include "assets/gui/KamokuJigyoubuGroupOutlineView.h"
#include "assets/gui/SelectShisanToSetSansyutsuchiController.h"
#include "assets/gui/SyoukyakushisanShinkokusyoController.h"
#include "assets/gui/SyoukyakushisanShinkokusyoPrintView.h"
#include "document/gui/OpenDocument.h"
#include "document/gui/PrintProgressSheet.h"
#include "fields/AmountFormatter.h"
#include "fields/FieldValue.h"
#include "fields/WarekiDateFormatter.h"
#include "fields/gui/FormatterLineEditBinding.h"
#include "fields/gui/FormatterValidator.h"
#include "model/Kamoku.h"
#include "model/KamokuKubun.h"
#include "platform/AlertSheet.h"
#include "platform/CheckedItemDelegate.h"
#include "platform/FieldMessage.h"
#include "platform/MainMenu.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

using G = GenkasyoukyakuShisan;

constexpr int kKindRole = Qt::UserRole + 1;  // 0 group, 1 asset
constexpr int kKeyRole = Qt::UserRole + 2;   // a group's key, an asset's address
constexpr int kGroupKind = 0;
constexpr int kAssetKind = 1;

constexpr const char* kOlderRuleTitle = "旧償却方法（平成19年3月31日以前に取得）";
constexpr const char* kNewerRuleTitle = "平成19年4月1日以後に取得";
constexpr const char* kRemovedBeforeAddedMessage = "除却日に取得日より前の日付は指定できません。";
constexpr const char* kDecreasedBeforeAddedMessage = "減少日に取得日より前の日付は指定できません。";
constexpr const char* kDecreaseBeyondCyoubokagakuMessage = "帳簿価額を超える減少額は指定できません。";
constexpr const char* kChargeBeyondCyoubokagakuMessage = "帳簿価額を超える償却費は指定できません。";
constexpr const char* kTokubetsuAfterRemovalMessage = "前期以前に除却した資産には特別（割増）償却費を入力できません。";

bool isFixedChargeMethod(const std::string& m) { return ShisanSyoukyaku::isFutsuuSyoukyakuhiFixed(m); }
bool isOneTimeMethod(const std::string& m) { return m == G::kSokujiSyoukyaku || m == G::kIkkatsuSyoukyaku; }

std::string text(const QLineEdit* f) { return f->text().trimmed().toStdString(); }

std::optional<double> number(const QLineEdit* f)
{
  bool ok = false;
  const double v = f->text().trimmed().toDouble(&ok);
  if (!ok || v < 0) return std::nullopt;
  return v;
}

std::optional<int32_t> integer(const QLineEdit* f)
{
  bool ok = false;
  const int v = f->text().trimmed().toInt(&ok);
  if (!ok || v < 0) return std::nullopt;
  return v;
}

// A useful life the tables know, or none.
std::optional<int32_t> usefulLife(const QLineEdit* f)
{
  bool ok = false;
  const int v = f->text().trimmed().toInt(&ok);
  if (!ok || !GenkasyoukyakuShisan::isTaiyouYearsInRange(v)) return std::nullopt;
  return v;
}

void setLocked(QWidget* w, bool locked) { w->setEnabled(!locked); }

// The decrease table's first cell, where a back-Tab leaves the table for the outline
// (or no cell, in a table without rows).
bool isFirstCell(const QModelIndex& index) { return !index.isValid() || (index.row() == 0 && index.column() == 0); }

}  // namespace

// What the fields of the detail hold, as the asset they describe.
struct GenkasyoukyakuShisanListController::Inputs {
  GenkasyoukyakuShisan asset;
};

GenkasyoukyakuShisanListController::GenkasyoukyakuShisanListController(OpenDocument* document)
    : DocumentWindowController(document, Kind::GenkasyoukyakuShisanList)
{
}

GenkasyoukyakuShisanListController::~GenkasyoukyakuShisanListController() = default;

GenkasyoukyakuShisanListController* GenkasyoukyakuShisanListController::showGenkasyoukyakuShisanListWindow(
    OpenDocument* document)
{
  auto* controller = qobject_cast<GenkasyoukyakuShisanListController*>(document->genkasyoukyakuShisanListController());
  if (!controller) {
    // Placed by its loading, once it has its size.
    controller = new GenkasyoukyakuShisanListController(document);
    document->addWindowController(controller);
  }
  controller->showWindow();
  return controller;
}

QString GenkasyoukyakuShisanListController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  return displayName + qs(kTitleSuffix);
}
QString GenkasyoukyakuShisanListController::windowMenuTitle() const
{
  return qs(MainMenu::kGenkasyoukyakuShisanListItemTitle);
}
QString GenkasyoukyakuShisanListController::denpyouAndCyouhyouItemTitle() const
{
  return qs(MainMenu::kGenkasyoukyakuShisanListItemTitle);
}

const char* GenkasyoukyakuShisanListController::windowWidthDefaultsKey() const
{
  return widthDefaultsKey_.isEmpty() ? nullptr : widthDefaultsKey_.constData();
}

const char* GenkasyoukyakuShisanListController::windowHeightDefaultsKey() const
{
  return KIVOGenkasyoukyakuShisanWindowHeightKey;
}

SyoukyakuKikan GenkasyoukyakuShisanListController::kikan() const
{
  const auto rounding =
      static_cast<int32_t>(UserDefaults::standardUserDefaults().integerForKey(KIVOGankasyoukyakuhiRoundingTypeKey));
  return SyoukyakuKikan(document()->document().kaisya(), rounding);
}

// --- loading

QLineEdit* GenkasyoukyakuShisanListController::addField(QWidget* parent, int row, int column, const char* title,
                                                        bool editable, QLabel** titleLabel)
{
  auto* grid = static_cast<QGridLayout*>(parent->layout());
  auto* label = new QLabel(qs(title), parent);
  auto* field = new QLineEdit(parent);
  field->setReadOnly(!editable);
  if (!editable) field->setFocusPolicy(Qt::NoFocus);
  field->setAlignment(Qt::AlignRight);
  grid->addWidget(label, row, column * 2, Qt::AlignRight);
  grid->addWidget(field, row, column * 2 + 1);
  if (titleLabel) *titleLabel = label;
  return field;
}

void GenkasyoukyakuShisanListController::buildDetail(QWidget* detail)
{
  auto* detailLayout = new QVBoxLayout(detail);
  detailLayout->setContentsMargins(8, 4, 8, 4);
  auto* head = new QGridLayout;
  const auto headRow = [&](int row, const char* title, QLabel*& field) {
    head->addWidget(new QLabel(qs(title), detail), row, 0, Qt::AlignRight);
    field = new QLabel(detail);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    head->addWidget(field, row, 1);
  };
  headRow(0, "資産名", nameField_);
  headRow(1, "管理コード", kanriCodeField_);
  headRow(2, "勘定科目", kamokuField_);
  headRow(3, "償却の規定", ruleField_);
  auto* editBasic = new QPushButton(qs("基本情報を変更..."), detail);
  connect(editBasic, &QPushButton::clicked, this, [this] { editShisanBasicInformation(); });
  head->addWidget(editBasic, 0, 2, Qt::AlignRight);
  head->setColumnStretch(1, 1);
  detailLayout->addLayout(head);

  infoTabView_ = new QTabWidget(detail);
  detailLayout->addWidget(infoTabView_, 1);
  auto* general = new QWidget(infoTabView_);
  auto* grid = new QGridLayout(general);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  int r = 0;
  quantityField_ = addField(general, r, 0, "数量", true);
  grid->addWidget(new QLabel(qs("取得区分"), general), r, 2, Qt::AlignRight);
  addedTypePopUp_ = new QComboBox(general);
  addedTypePopUp_->addItems({qs(G::kShinpin), qs("中古")});
  grid->addWidget(addedTypePopUp_, r++, 3);
  dateOfAddedField_ = addField(general, r, 0, "取得日", true);
  dateOfRemovedField_ = addField(general, r++, 1, "除却日", true);
  grid->addWidget(new QLabel(qs("償却方法"), general), r, 0, Qt::AlignRight);
  syoukyakuTypeComboBox_ = new QComboBox(general);
  syoukyakuTypeComboBox_->addItems({qs(G::kTeigakuHou), qs(G::kTeiritsuHou), qs(G::kKintouSyoukyaku),
                                    qs(G::kSokujiSyoukyaku), qs(G::kIkkatsuSyoukyaku)});
  grid->addWidget(syoukyakuTypeComboBox_, r, 1);
  taiyouYearsField_ = addField(general, r++, 1, "耐用年数", true);
  syoukyakuRitsuField_ = addField(general, r, 0, "償却率", false);
  referenceField_ = addField(general, r++, 1, "摘要", true);
  referenceField_->setAlignment(Qt::AlignLeft);
  QLabel* l1 = nullptr;
  QLabel* l2 = nullptr;
  hosyouRitsuField_ = addField(general, r, 0, "保証率", false, &l1);
  hosyouGakuField_ = addField(general, r++, 1, "償却保証額", false, &l2);
  newerRuleOnly_ = {l1, l2, hosyouRitsuField_, hosyouGakuField_};
  syutokuKagakuField_ = addField(general, r++, 0, "取得価額", true);
  kisyuSyoukyakugakuRuikeiField_ = addField(general, r, 0, "期首償却累計額", true);
  kisyuCyoubokagakuField_ = addField(general, r++, 1, "期首帳簿価額", false);
  zanzonWariaiField_ = addField(general, r, 0, "残存割合（%）", true, &l1);
  zanzonKagakuField_ = addField(general, r++, 1, "残存価額", false, &l2);
  olderRuleOnly_ = {l1, l2, zanzonWariaiField_, zanzonKagakuField_};
  zanzonGendoWariaiField_ = addField(general, r, 0, "償却可能限度（%）", true, &l1);
  zanzonGendoGakuField_ = addField(general, r++, 1, "償却可能限度額", false, &l2);
  olderRuleOnly_.insert(olderRuleOnly_.end(), {l1, l2, zanzonGendoWariaiField_, zanzonGendoGakuField_});
  sansyutsuSyoukyakuhiField_ = addField(general, r, 0, "算出償却費", false);
  futsuuSyoukyakuhiField_ = addField(general, r++, 1, "普通償却費", true);
  tokubetsuSyoukyakuhiField_ = addField(general, r, 0, "特別（割増）償却費", true);
  toukiSyoukyakuhiGoukeiField_ = addField(general, r++, 1, "当期償却費合計", false);
  kimatsuCyoubokagakuField_ = addField(general, r, 0, "期末帳簿価額", false);
  kimatsuSyoukyakugakuRuikeiField_ = addField(general, r++, 1, "期末償却累計額", false);
  jigyouSenyouWariaiField_ = addField(general, r, 0, "事業専用割合（%）", true, &l1);
  keihisannyuugakuField_ = addField(general, r++, 1, "必要経費算入額", false, &l2);
  kojinOnly_ = {l1, l2, jigyouSenyouWariaiField_, keihisannyuugakuField_};
  grid->setRowStretch(r, 1);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  infoTabView_->addTab(general, qs("一般"));

  auto* history = new QWidget(infoTabView_);
  auto* hl = new QVBoxLayout(history);
  decreaseHistoryTableView_ = new QTableWidget(0, 2, history);
  decreaseHistoryTableView_->setHorizontalHeaderLabels({qs("減少日"), qs("減少額")});
  decreaseHistoryTableView_->horizontalHeader()->setStretchLastSection(true);
  decreaseHistoryTableView_->verticalHeader()->hide();
  decreaseHistoryTableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  decreaseHistoryTableView_->setSelectionMode(QAbstractItemView::SingleSelection);
  hl->addWidget(decreaseHistoryTableView_, 1);
  auto* buttons = new QHBoxLayout;
  addDecreaseHistoryButton_ = new QPushButton(qs("追加"), history);
  removeDecreaseHistoryButton_ = new QPushButton(qs("削除"), history);
  buttons->addStretch(1);
  buttons->addWidget(addDecreaseHistoryButton_);
  buttons->addWidget(removeDecreaseHistoryButton_);
  hl->addLayout(buttons);
  infoTabView_->addTab(history, qs("減少履歴"));
  connect(addDecreaseHistoryButton_, &QPushButton::clicked, this, [this] { addDecreaseHistory(); });
  connect(removeDecreaseHistoryButton_, &QPushButton::clicked, this, [this] { removeDecreaseHistory(); });
  // A decrease needs a date; its amount may be left empty.
  decreaseDelegate_ = new CheckedItemDelegate(decreaseHistoryTableView_);
  decreaseDelegate_->accepts = [this](const QModelIndex& index, const QString& text) {
    return acceptsDecreaseText(index.column(), text);
  };
  decreaseDelegate_->refused = [this](const QModelIndex&, QLineEdit*) { refuseDecreaseText(); };
  decreaseDelegate_->tabLeavesCells = [](const QModelIndex& index, bool backward) {
    return backward && isFirstCell(index);
  };
  decreaseHistoryTableView_->setItemDelegate(decreaseDelegate_);
  decreaseHistoryTableView_->installEventFilter(this);
  connect(decreaseHistoryTableView_, &QTableWidget::cellChanged, this,
          [this](int row, int column) { decreaseItemChanged(row, column); });
  connect(infoTabView_, &QTabWidget::currentChanged, this, [this](int i) { infoTabChanged(i); });

  // An amount typed shows as the company shows amounts once its field is left
  // ("3000000" as "3,000,000"), before the figures are recomputed from it.
  for (QLineEdit* f :
       {syutokuKagakuField_, kisyuSyoukyakugakuRuikeiField_, futsuuSyoukyakuhiField_, tokubetsuSyoukyakuhiField_})
    new FormatterLineEditBinding(f, *amountFormatter_);
  // A date shows in the company's form once its field is left; text that is no date
  // stays as typed, and the field says so (無効な日付です。).
  for (QLineEdit* f : {dateOfAddedField_, dateOfRemovedField_}) {
    auto* binding = new FormatterLineEditBinding(f, *dateFormatter_);
    connect(binding, &FormatterLineEditBinding::textRefused, this, [] { AlertSheet::beep(); });
  }
  // Typing marks the document changed; leaving a field recomputes the figures.
  for (QLineEdit* f : {quantityField_, dateOfAddedField_, dateOfRemovedField_, taiyouYearsField_, syutokuKagakuField_,
                       referenceField_, kisyuSyoukyakugakuRuikeiField_, zanzonWariaiField_, zanzonGendoWariaiField_,
                       futsuuSyoukyakuhiField_, tokubetsuSyoukyakuhiField_, jigyouSenyouWariaiField_}) {
    connect(f, &QLineEdit::textEdited, this, [this] { userEdited(); });
    connect(f, &QLineEdit::editingFinished, this, [this, f] {
      if (filling_ || !selected_) return;
      if (f == dateOfAddedField_) updateEditableField();
      if (f != quantityField_ && f != referenceField_) updateUneditableField();
    });
  }
  // What the user types as the ordinary charge is kept apart from what the program
  // shows there (lowered to the computed charge, or following it).
  connect(futsuuSyoukyakuhiField_, &QLineEdit::textEdited, this, [this] { futsuuTyped_ = true; });
  connect(syoukyakuTypeComboBox_, &QComboBox::activated, this, [this] { syoukyakuTypeChosen(); });
  connect(addedTypePopUp_, &QComboBox::activated, this, [this] { userEdited(); });
  for (QLineEdit* f : {quantityField_, tokubetsuSyoukyakuhiField_, jigyouSenyouWariaiField_})
    f->installEventFilter(this);
}

bool GenkasyoukyakuShisanListController::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // The business-use ratio is the last field, or the special charge when the
    // ratio is hidden (a corporation).
    QLineEdit* last = jigyouSenyouWariaiField_->isVisible() ? jigyouSenyouWariaiField_ : tokubetsuSyoukyakuhiField_;
    const bool backTab =
        key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
    const bool fromFirstDecreaseCell =
        watched == decreaseHistoryTableView_ && isFirstCell(decreaseHistoryTableView_->currentIndex());
    if ((watched == last && key->key() == Qt::Key_Tab && !backTab) ||
        ((watched == quantityField_ || fromFirstDecreaseCell) && backTab)) {
      outlineView_->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return DocumentWindowController::eventFilter(watched, event);
}

void GenkasyoukyakuShisanListController::windowDidLoad()
{
  dateFormatter_ = std::make_unique<WarekiDateFormatter>();
  dateFormatter_->setIsWareki(document()->document().kaisya().doUseWareki());
  decreaseDateFormatter_ = std::make_unique<WarekiDateFormatter>();
  amountFormatter_ = std::make_unique<AmountFormatter>(document()->document().kaisya().decimalPrecision());

  auto* splitter = new QSplitter(this);
  outlineView_ = new KamokuJigyoubuGroupOutlineView(splitter);
  model_ = new GenkasyoukyakuShisanOutlineModel(this);
  outlineView_->setModel(model_);
  outlineView_->selectionShouldChange = [this] { return setEditingGenkasyoukyakuShisanToArray(); };
  outlineView_->dragShouldBegin = [this] { return beginDragOfSelection(); };
  outlineView_->dragDidEnd = [this] {
    // After a drop has been carried out (it runs first); a refused drop shows the
    // selection again.
    QTimer::singleShot(0, this, [this] {
      if (dragged_.empty()) return;
      dragged_.clear();
      updateForSelectedGenkasyoukyakuShisan();
    });
  };
  outlineView_->tabPressed = [this] {
    if (!selected_) return;
    if (infoTabView_->currentIndex() == 0) {
      quantityField_->setFocus();
      quantityField_->selectAll();
    } else {
      decreaseHistoryTableView_->setFocus();
    }
  };
  model_->dropHandler = [this](const QModelIndex& parent, int row) {
    const KamokuJigyoubuGroup* g = groupOfIndex(parent);
    if (!g || dragged_.empty() || !g->acceptsDrop(document()->document())) return false;
    const KamokuJigyoubuGroup target = *g;
    const size_t index = row < 0 ? 0 : static_cast<size_t>(row);
    // The outline is rebuilt once the view has finished with the drop.
    QTimer::singleShot(0, this, [this, target, index] {
      const auto assets = dragged_;
      dropGenkasyoukyakuShisan(assets, target, index);
    });
    return true;
  };

  auto* detail = new QWidget(splitter);
  auto* detailBox = new QVBoxLayout(detail);
  detailBox->setContentsMargins(0, 0, 0, 0);
  selectedTabView_ = new QStackedWidget(detail);
  auto* selectedPage = new QWidget(selectedTabView_);
  buildDetail(selectedPage);
  auto* unselectedPage = new QWidget(selectedTabView_);
  auto* ul = new QVBoxLayout(unselectedPage);
  auto* hint = new QLabel(qs("資産を選択してください。"), unselectedPage);
  hint->setAlignment(Qt::AlignCenter);
  ul->addWidget(hint, 1);
  auto* addButton = new QPushButton(qs(kAddShisanTitle), unselectedPage);
  connect(addButton, &QPushButton::clicked, this, [this] { handleChooseAddShisan(); });
  ul->addWidget(addButton, 0, Qt::AlignHCenter);
  selectedTabView_->addWidget(selectedPage);
  selectedTabView_->addWidget(unselectedPage);
  detailBox->addWidget(selectedTabView_);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 3);
  setCentralWidget(splitter);
  resize(1100, 560);
  splitter->setSizes({430, 670});

  const bool houjin = document()->document().kaisya().isHoujin();
  for (QWidget* w : kojinOnly_) w->setVisible(!houjin);

  reloadOutline();
  widthDefaultsKey_ = UserDefaults::columnsKey(KIVOGenkasyoukyakuShisanWindowWidthKey, model_->columnCount()).toUtf8();
  moveWindowToInitialPositionWithDisplay(false);
  outlineView_->collapseAll();
  connect(outlineView_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    updateForSelectedGenkasyoukyakuShisan();
    updateFunctionMenu();
  });
  if (model_->rowCount() > 0) {
    outlineView_->setSelectionGuardEnabled(false);
    outlineView_->setCurrentIndex(model_->index(0, 0));
    outlineView_->setSelectionGuardEnabled(true);
  }
  updateForSelectedGenkasyoukyakuShisan();
}

void GenkasyoukyakuShisanListController::recomputeUI()
{
  if (amountFormatter_) *amountFormatter_ = AmountFormatter(document()->document().kaisya().decimalPrecision());
  reloadOutline();
  // The figures follow the preferences (the rounding) and the company at once.
  if (selected_) updateUneditableField();
}

// --- outline

std::string GenkasyoukyakuShisanListController::groupKey(const KamokuJigyoubuGroup& g) const
{
  return std::to_string(g.kamokuCode()) + "/" + std::to_string(g.hojyoKamokuCode()) + "/" +
         std::to_string(g.jigyoubuCode());
}

const KamokuJigyoubuGroup* GenkasyoukyakuShisanListController::groupOfIndex(const QModelIndex& index) const
{
  if (!index.isValid() || index.data(kKindRole).toInt() != kGroupKind) return nullptr;
  const int row = index.data(kKeyRole).toInt();
  return row >= 0 && row < static_cast<int>(groupOfRow_.size()) ? groupOfRow_[row] : nullptr;
}

GenkasyoukyakuShisanPtr GenkasyoukyakuShisanListController::assetOfIndex(const QModelIndex& index) const
{
  if (!index.isValid() || index.data(kKindRole).toInt() != kAssetKind) return nullptr;
  const auto address = index.data(kKeyRole).value<quintptr>();
  for (const GenkasyoukyakuShisanPtr& a : document()->document().genkasyoukyakuShisanArray())
    if (reinterpret_cast<quintptr>(a.get()) == address) return a;
  return nullptr;
}

QModelIndex GenkasyoukyakuShisanListController::indexOfAsset(const GenkasyoukyakuShisanPtr& asset) const
{
  if (!asset) return {};
  const QModelIndexList found =
      model_->match(model_->index(0, 0), kKeyRole, QVariant::fromValue(reinterpret_cast<quintptr>(asset.get())), 1,
                    Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? QModelIndex() : found.front();
}

QStringList GenkasyoukyakuShisanListController::outlineRowTexts(const GenkasyoukyakuShisan& a) const
{
  const Kaisya& kaisya = document()->document().kaisya();
  const Date d = a.dateOfAdded();
  return {qs(a.name()), qs(a.kanriCode()),
          d.isNull() ? QString() : qs(dateFormatter_->stringForObjectValue(FieldValue::date(d)).value_or("")),
          a.syutokuKagaku() < 0 ? QString() : qs(kaisya.displayStringOfMemoryKingaku(a.syutokuKagaku())),
          qs(a.syoukyakuTypeStr())};
}

void GenkasyoukyakuShisanListController::refreshOutlineRowOfGenkasyoukyakuShisan(const GenkasyoukyakuShisanPtr& asset)
{
  const QModelIndex idx = indexOfAsset(asset);
  if (!idx.isValid()) return;
  const QStringList texts = outlineRowTexts(*asset);
  for (int c = 0; c < texts.size() && c < model_->columnCount(idx.parent()); ++c)
    if (QStandardItem* item = model_->itemFromIndex(idx.siblingAtColumn(c))) item->setText(texts[c]);
}

void GenkasyoukyakuShisanListController::reloadOutline()
{
  if (!model_) return;
  const MyDocument& doc = document()->document();
  std::set<std::string> expanded;
  for (size_t i = 0; i < groupOfRow_.size(); ++i) {
    const QModelIndexList found =
        model_->match(model_->index(0, 0), kKeyRole, static_cast<int>(i), 1, Qt::MatchExactly | Qt::MatchRecursive);
    for (const QModelIndex& idx : found)
      if (idx.data(kKindRole).toInt() == kGroupKind && outlineView_->isExpanded(idx))
        expanded.insert(groupKey(*groupOfRow_[i]));
  }
  const std::vector<GenkasyoukyakuShisanPtr> wasSelected = selectedAssets();

  outlineView_->setSelectionGuardEnabled(false);
  model_->clear();
  model_->setHorizontalHeaderLabels({qs("資産名"), qs("管理コード"), qs("取得日"), qs("取得価額"), qs("償却方法")});
  groups_ = KamokuJigyoubuGroup::groupsOfDocument(doc);
  groupOfRow_.clear();
  const auto groupItem = [&](const KamokuJigyoubuGroup& g) {
    auto* item = new QStandardItem(qs(g.title(doc)));
    item->setData(kGroupKind, kKindRole);
    item->setData(static_cast<int>(groupOfRow_.size()), kKeyRole);
    groupOfRow_.push_back(&g);
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (g.acceptsDrop(doc)) f |= Qt::ItemIsDropEnabled;
    item->setFlags(f);
    return item;
  };
  const auto assetRow = [&](const GenkasyoukyakuShisanPtr& a) {
    QList<QStandardItem*> row;
    for (const QString& t : outlineRowTexts(*a)) {
      auto* item = new QStandardItem(t);
      item->setData(kAssetKind, kKindRole);
      item->setData(QVariant::fromValue(reinterpret_cast<quintptr>(a.get())), kKeyRole);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
      row.push_back(item);
    }
    row[3]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return row;
  };
  const auto blanks = [](QList<QStandardItem*> row) {
    for (int i = 0; i < 4; ++i) {
      auto* item = new QStandardItem;
      item->setFlags(row.front()->flags());
      item->setData(row.front()->data(kKindRole), kKindRole);
      item->setData(row.front()->data(kKeyRole), kKeyRole);
      row.push_back(item);
    }
    return row;
  };
  for (const KamokuJigyoubuGroup& g : groups_) {
    QStandardItem* top = groupItem(g);
    for (const KamokuJigyoubuGroup& division : g.childrenGroups()) {
      QStandardItem* d = groupItem(division);
      for (const GenkasyoukyakuShisanPtr& a : division.childrenAssets()) d->appendRow(assetRow(a));
      top->appendRow(blanks({d}));
    }
    for (const GenkasyoukyakuShisanPtr& a : g.childrenAssets()) top->appendRow(assetRow(a));
    model_->appendRow(blanks({top}));
  }
  for (size_t i = 0; i < groupOfRow_.size(); ++i) {
    if (!expanded.count(groupKey(*groupOfRow_[i]))) continue;
    const QModelIndexList found =
        model_->match(model_->index(0, 0), kKeyRole, static_cast<int>(i), 1, Qt::MatchExactly | Qt::MatchRecursive);
    for (const QModelIndex& idx : found)
      if (idx.data(kKindRole).toInt() == kGroupKind) outlineView_->expand(idx);
  }
  for (const GenkasyoukyakuShisanPtr& a : wasSelected) {
    const QModelIndex idx = indexOfAsset(a);
    if (idx.isValid())
      outlineView_->selectionModel()->select(idx, QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  outlineView_->header()->resizeSection(0, 170);
  const int widths[] = {80, 80, 90, 70};
  for (int c = 1; c < model_->columnCount(); ++c) outlineView_->header()->resizeSection(c, widths[c - 1]);
  outlineView_->setSelectionGuardEnabled(true);
}

std::vector<GenkasyoukyakuShisanPtr> GenkasyoukyakuShisanListController::selectedAssets() const
{
  std::vector<GenkasyoukyakuShisanPtr> assets;
  if (!outlineView_ || !outlineView_->selectionModel()) return assets;
  QModelIndexList rows = outlineView_->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(), [this](const QModelIndex& a, const QModelIndex& b) {
    return outlineView_->visualRect(a).top() < outlineView_->visualRect(b).top();
  });
  for (const QModelIndex& i : rows)
    if (GenkasyoukyakuShisanPtr a = assetOfIndex(i)) assets.push_back(a);
  return assets;
}

bool GenkasyoukyakuShisanListController::isGroupSelected() const
{
  if (!outlineView_ || !outlineView_->selectionModel()) return false;
  for (const QModelIndex& i : outlineView_->selectionModel()->selectedRows())
    if (i.data(kKindRole).toInt() == kGroupKind) return true;
  return false;
}

void GenkasyoukyakuShisanListController::selectGenkasyoukyakuShisan(const GenkasyoukyakuShisanPtr& asset)
{
  const QModelIndex idx = indexOfAsset(asset);
  if (!idx.isValid()) return;
  for (QModelIndex p = idx.parent(); p.isValid(); p = p.parent()) outlineView_->expand(p);
  outlineView_->setSelectionGuardEnabled(false);
  outlineView_->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  outlineView_->setSelectionGuardEnabled(true);
  outlineView_->scrollTo(idx);
}

// --- detail: showing

bool GenkasyoukyakuShisanListController::isOlderRuleShown() const { return selected_ && selected_->isOlderRule(); }

void GenkasyoukyakuShisanListController::updateForSelectedGenkasyoukyakuShisan()
{
  if (!outlineView_) return;
  const QModelIndexList rows = outlineView_->selectionModel()->selectedRows();
  GenkasyoukyakuShisanPtr asset = rows.size() == 1 ? assetOfIndex(rows.front()) : nullptr;
  // The outline reselecting the asset being edited (a reload) keeps what was typed.
  if (asset && asset == selected_ && dirty_) return;
  selected_ = asset;
  dirty_ = false;
  if (!asset) {
    selectedTabView_->setCurrentIndex(1);
    return;
  }
  selectedTabView_->setCurrentIndex(0);
  fillFields();
}

void GenkasyoukyakuShisanListController::fillFields()
{
  const MyDocument& doc = document()->document();
  const Kaisya& kaisya = doc.kaisya();
  const GenkasyoukyakuShisan& a = *selected_;
  filling_ = true;
  shown_ = a;
  const bool older = a.isOlderRule();
  for (QWidget* w : olderRuleOnly_) w->setVisible(older);
  for (QWidget* w : newerRuleOnly_) w->setVisible(!older);
  nameField_->setText(qs(a.name()));
  kanriCodeField_->setText(qs(a.kanriCode()));
  KamokuJigyoubuGroup where(a.kamokuCode(), a.hojyoKamokuCode(), -1);
  QString place = qs(where.title(doc));
  if (a.jigyoubuCode() != -1) place += qs("　") + qs(KamokuJigyoubuGroup(-1, -1, a.jigyoubuCode()).title(doc));
  kamokuField_->setText(place);
  ruleField_->setText(qs(older ? kOlderRuleTitle : kNewerRuleTitle));
  const auto amount = [&](int64_t v) { return v < 0 ? QString() : qs(kaisya.displayStringOfMemoryKingaku(v)); };
  const auto date = [&](Date d) {
    return d.isNull() ? QString() : qs(dateFormatter_->stringForObjectValue(FieldValue::date(d)).value_or(""));
  };
  quantityField_->setText(QString::number(a.quantity()));
  dateOfAddedField_->setText(date(a.dateOfAdded()));
  addedTypePopUp_->setCurrentIndex(std::max(0, addedTypePopUp_->findText(qs(a.addedTypeStr()))));
  dateOfRemovedField_->setText(date(a.dateOfRemoved()));
  syoukyakuTypeComboBox_->setCurrentIndex(syoukyakuTypeComboBox_->findText(qs(a.syoukyakuTypeStr())));
  syutokuKagakuField_->setText(amount(a.syutokuKagaku()));
  referenceField_->setText(qs(a.reference()));
  kisyuSyoukyakugakuRuikeiField_->setText(amount(a.kisyuSyoukyakugakuRuikei()));
  updateEditableField();
  taiyouYearsField_->setText(a.taiyouYears() == 0 ? QString() : QString::number(a.taiyouYears()));
  if (zanzonWariaiField_->isEnabled()) zanzonWariaiField_->setText(QString::number(a.zanzonWariai()));
  if (zanzonGendoWariaiField_->isEnabled()) zanzonGendoWariaiField_->setText(QString::number(a.zanzonGendoWariai()));
  futsuuSyoukyakuhiField_->setText(amount(a.futsuuSyoukyakuhi()));
  tokubetsuSyoukyakuhiField_->setText(amount(a.tokubetsuSyoukyakuhi()));
  jigyouSenyouWariaiField_->setText(QString::number(a.jigyouSenyouWariai()));
  enteredFutsuu_ = ShisanSyoukyaku::enteredFutsuuSyoukyakuhi(a);
  futsuuTyped_ = false;
  filling_ = false;
  updateUneditableField();
  selected_->sortDecreaseArrayByDate();
  updateItemsOfDecreaseHistory();
}

void GenkasyoukyakuShisanListController::updateEditableField()
{
  if (!selected_) return;
  const Kaisya& kaisya = document()->document().kaisya();
  const std::string method = syoukyakuTypeComboBox_->currentText().toStdString();
  const bool oneTime = isOneTimeMethod(method);
  setLocked(dateOfRemovedField_, oneTime);
  setLocked(taiyouYearsField_, oneTime);
  if (oneTime) {
    dateOfRemovedField_->clear();
    taiyouYearsField_->clear();
  }
  // A new asset's reference follows the method between the provisions of immediate
  // depreciation until the asset is first committed; anything the user typed stays.
  if (std::find(neverCommitted_.begin(), neverCommitted_.end(), selected_) != neverCommitted_.end()) {
    const QString provision = qs(kaisya.isHoujin() ? "措法６７の８" : "措法２８の２");
    const QString r = referenceField_->text();
    if (method == G::kSokujiSyoukyaku && r.isEmpty())
      referenceField_->setText(provision);
    else if (method != G::kSokujiSyoukyaku && (r == qs("措法６７の８") || r == qs("措法２８の２")))
      referenceField_->clear();
  }
  const std::optional<Date> added = dateFormatter_->dateOfString(text(dateOfAddedField_));
  const bool inTerm = added && *added >= kaisya.termStartDate();
  if (method == G::kSokujiSyoukyaku) {
    setLocked(kisyuSyoukyakugakuRuikeiField_, true);
    if (added) {
      if (inTerm)
        kisyuSyoukyakugakuRuikeiField_->clear();
      else
        kisyuSyoukyakugakuRuikeiField_->setText(syutokuKagakuField_->text());
    }
  } else {
    setLocked(kisyuSyoukyakugakuRuikeiField_, added && inTerm);
    if (added && inTerm) kisyuSyoukyakugakuRuikeiField_->clear();
  }
  const bool fixed = isFixedChargeMethod(method);
  for (QLineEdit* f : {zanzonWariaiField_, zanzonGendoWariaiField_}) {
    setLocked(f, fixed);
    if (fixed) f->setText(QStringLiteral("0"));
  }
  if (!fixed && (method == G::kTeigakuHou || method == G::kTeiritsuHou)) {
    if (number(zanzonWariaiField_) == 0.0) zanzonWariaiField_->setText(QString::number(selected_->zanzonWariai()));
    if (number(zanzonGendoWariaiField_) == 0.0)
      zanzonGendoWariaiField_->setText(QString::number(selected_->zanzonGendoWariai()));
  }
  setLocked(futsuuSyoukyakuhiField_, fixed);
  setLocked(tokubetsuSyoukyakuhiField_, fixed);
  if (fixed) tokubetsuSyoukyakuhiField_->setText(QStringLiteral("0"));
}

// The asset the fields describe, when they hold everything the charge needs.
std::optional<GenkasyoukyakuShisanListController::Inputs> GenkasyoukyakuShisanListController::readInputs(
    bool* removedBeforeAdded) const
{
  if (removedBeforeAdded) *removedBeforeAdded = false;
  const Kaisya& kaisya = document()->document().kaisya();
  const std::optional<Date> added = dateFormatter_->dateOfString(text(dateOfAddedField_));
  if (!added || *added > kaisya.termEndDate() || !selected_->isValidDateOfAdded(*added)) return std::nullopt;
  std::optional<Date> removed;
  if (!dateOfRemovedField_->text().trimmed().isEmpty()) {
    removed = dateFormatter_->dateOfString(text(dateOfRemovedField_));
    if (!removed) return std::nullopt;
    if (*removed < *added) {
      if (removedBeforeAdded) *removedBeforeAdded = true;
      return std::nullopt;
    }
  }
  // The fields take what an asset may hold (GenkasyoukyakuShisan::hasValuesInRange):
  // amounts up to the input limit, a life up to the longest one, ratios up to 100 %.
  const auto amount = [&](const QLineEdit* f) -> std::optional<int64_t> {
    std::optional<int64_t> v = kaisya.memoryKingakuOfDisplayString(text(f));
    if (v && !GenkasyoukyakuShisan::isAmountInRange(*v)) return std::nullopt;
    return v;
  };
  const auto ratio = [](const QLineEdit* f) -> std::optional<double> {
    const std::optional<double> v = number(f);
    if (v && !GenkasyoukyakuShisan::isWariaiInRange(*v)) return std::nullopt;
    return v;
  };
  const std::optional<int64_t> cost = amount(syutokuKagakuField_);
  if (!cost) return std::nullopt;
  std::optional<int64_t> ruikei = amount(kisyuSyoukyakugakuRuikeiField_);
  if (!ruikei && kisyuSyoukyakugakuRuikeiField_->text().trimmed().isEmpty() &&
      !kisyuSyoukyakugakuRuikeiField_->isEnabled())
    ruikei = 0;
  if (!ruikei || (*ruikei != 0 && *added >= kaisya.termStartDate())) return std::nullopt;
  std::optional<int32_t> years = usefulLife(taiyouYearsField_);
  if (!taiyouYearsField_->isEnabled() && taiyouYearsField_->text().trimmed().isEmpty()) years = 0;
  const std::optional<double> zanzon = ratio(zanzonWariaiField_);
  const std::optional<double> gendo = ratio(zanzonGendoWariaiField_);
  const std::optional<int64_t> tokubetsu = amount(tokubetsuSyoukyakuhiField_);
  const std::optional<double> senyou = ratio(jigyouSenyouWariaiField_);
  if (!tokubetsu || !senyou) return std::nullopt;
  if (selected_->isOlderRule() && (!years || !zanzon || !gendo)) return std::nullopt;

  Inputs in{*selected_};
  GenkasyoukyakuShisan& a = in.asset;
  a.setSyoukyakuTypeStr(syoukyakuTypeComboBox_->currentText().toStdString());
  a.setDateOfAdded(*added);
  a.setDateOfRemoved(removed.value_or(Date()));
  a.setSyutokuKagaku(*cost);
  a.setKisyuSyoukyakugakuRuikei(*ruikei);
  a.setTaiyouYears(years.value_or(0));
  if (a.isOlderRule()) {
    a.setZanzonWariai(*zanzon);
    a.setZanzonGendoWariai(*gendo);
  }
  a.setJigyouSenyouWariai(*senyou);
  a.setTokubetsuSyoukyakuhi(*tokubetsu);
  a.setFutsuuSyoukyakuhi(amount(futsuuSyoukyakuhiField_).value_or(-1));
  return in;
}

void GenkasyoukyakuShisanListController::clearUneditableField()
{
  for (QLineEdit* f :
       {syoukyakuRitsuField_, hosyouRitsuField_, hosyouGakuField_, kisyuCyoubokagakuField_, zanzonKagakuField_,
        zanzonGendoGakuField_, sansyutsuSyoukyakuhiField_, futsuuSyoukyakuhiField_, toukiSyoukyakuhiGoukeiField_,
        kimatsuCyoubokagakuField_, kimatsuSyoukyakugakuRuikeiField_, keihisannyuugakuField_})
    f->clear();
}

void GenkasyoukyakuShisanListController::updateUneditableField()
{
  if (!selected_) return;
  const Kaisya& kaisya = document()->document().kaisya();
  const bool typed = futsuuTyped_;
  if (futsuuTyped_) {
    const std::optional<int64_t> v = kaisya.memoryKingakuOfDisplayString(text(futsuuSyoukyakuhiField_));
    enteredFutsuu_ = v && GenkasyoukyakuShisan::isAmountInRange(*v) ? v : std::nullopt;
    futsuuTyped_ = false;
  }
  std::optional<Inputs> in = readInputs(nullptr);
  if (!in) {
    clearUneditableField();
    return;
  }
  GenkasyoukyakuShisan& a = in->asset;
  const SyoukyakuKikan k = kikan();
  const auto amount = [&](int64_t v) { return qs(kaisya.displayStringOfMemoryKingaku(v)); };
  const int32_t r = ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(a, k);
  syoukyakuRitsuField_->setText(r > 0 ? QString::asprintf("%0.3f", r / 1000.0) : QStringLiteral("--"));
  if (!a.isOlderRule()) {
    const int32_t h = ShisanSyoukyaku::hosyouRitsuPerHundredThousand(a);
    hosyouRitsuField_->setText(h > 0 ? QString::asprintf("%0.5f", h / 100000.0) : QStringLiteral("--"));
    hosyouGakuField_->setText(amount(h > 0 ? std::max<int64_t>(0, ShisanSyoukyaku::hosyouGaku(a, k)) : 0));
  }
  const int64_t kisyu = ShisanSyoukyaku::kisyuCyoubokagakuForKaisya(a, k);
  kisyuCyoubokagakuField_->setText(kisyu < 0 ? QString() : amount(kisyu));
  if (a.isOlderRule()) {
    zanzonKagakuField_->setText(amount(ShisanSyoukyaku::zanzonKagaku(a, k)));
    zanzonGendoGakuField_->setText(amount(ShisanSyoukyaku::zanzonGendoGaku(a, k)));
  }
  int32_t kaitei = r;
  const int64_t charge = ShisanSyoukyaku::sansyutuSyoukyakuhiForKaisya(a, k, &kaitei);
  if (charge < 0) {
    clearUneditableField();
    return;
  }
  if (!a.isOlderRule() && kaitei != r && kaitei > 0)
    syoukyakuRitsuField_->setText(QString::asprintf("%0.3f", kaitei / 1000.0));
  sansyutsuSyoukyakuhiField_->setText(amount(charge));
  // A charge typed above the computed one is taken as the computed charge, the most
  // the user may enter.
  if (typed && enteredFutsuu_ && *enteredFutsuu_ > charge) enteredFutsuu_ = charge;
  // No ordinary charge above the computed one: the shown charge is the one entered
  // held to the computed charge, back up to what was entered when the computed charge
  // rises again, or the program's charge (the computed one, held to what the term's
  // other charges leave) when none was entered. The asset takes it only once the user
  // has edited it.
  const int64_t futsuu = ShisanSyoukyaku::futsuuSyoukyakuhiOfEntered(a, enteredFutsuu_, charge,
                                                                     ShisanSyoukyaku::futsuuSyoukyakuhiOfProgram(a, k));
  if (kaisya.memoryKingakuOfDisplayString(text(futsuuSyoukyakuhiField_)) != futsuu) {
    const bool was = filling_;
    filling_ = true;
    futsuuSyoukyakuhiField_->setText(amount(futsuu));
    filling_ = was;
  }
  a.setFutsuuSyoukyakuhi(futsuu);
  // Once the user has edited the asset, it takes its figures of the term as soon as
  // the fields give them whole, and its row shows them at once.
  if (dirty_) {
    GenkasyoukyakuShisan taken = a;
    ShisanSyoukyaku::setFutsuuSyoukyakuhiOfEntered(taken, enteredFutsuu_, k);
    *selected_ = std::move(taken);
    refreshOutlineRowOfGenkasyoukyakuShisan(selected_);
  }
  const int64_t t = a.toukiSyoukyakuhiGoukei();
  if (t > kaisya.maxInputAmountValue()) {
    for (QLineEdit* f : {toukiSyoukyakuhiGoukeiField_, kimatsuCyoubokagakuField_, kimatsuSyoukyakugakuRuikeiField_,
                         keihisannyuugakuField_})
      f->clear();
    return;
  }
  toukiSyoukyakuhiGoukeiField_->setText(amount(t));
  kimatsuCyoubokagakuField_->setText(amount(ShisanSyoukyaku::kimatsuCyoubokagakuForKaisya(a, k)));
  const int64_t kimatsu = a.kimatsuSyoukyakugakuRuikei();
  kimatsuSyoukyakugakuRuikeiField_->setText(kimatsu > kaisya.maxInputAmountValue() ? QString() : amount(kimatsu));
  keihisannyuugakuField_->setText(amount(ShisanSyoukyaku::keihisannyuugaku(a, k)));
}

// --- detail: validation and commit

void GenkasyoukyakuShisanListController::showInfoTab(int index)
{
  switchingTab_ = true;
  infoTabView_->setCurrentIndex(index);
  shownInfoTab_ = index;
  switchingTab_ = false;
}

void GenkasyoukyakuShisanListController::refuse(const char* message, QWidget* field) { refuse(qs(message), field); }

void GenkasyoukyakuShisanListController::refuse(const QString& message, QWidget* field)
{
  AlertSheet::beginAlertSheet(this, qs(kInvalidShisanTitle), message);
  if (!field) return;
  showInfoTab(0);
  field->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}

void GenkasyoukyakuShisanListController::refuseDecrease(const char* message, int row, int column)
{
  AlertSheet::beginAlertSheet(this, qs(kInvalidShisanTitle), qs(message));
  // The rows are in date order now; an edit's sort still to come would select the
  // whole row again.
  ++decreaseRefusals_;
  showInfoTab(1);
  updateItemsOfDecreaseHistory();
  // The cell to correct alone, not the whole row the table selects on a click.
  decreaseHistoryTableView_->selectionModel()->setCurrentIndex(decreaseHistoryTableView_->model()->index(row, column),
                                                               QItemSelectionModel::ClearAndSelect);
  decreaseHistoryTableView_->setFocus();
}

bool GenkasyoukyakuShisanListController::refuseUnreadableDate(QLineEdit* field)
{
  const QString unreadable = FormatterValidator::refusalOfText(*dateFormatter_, field->text());
  if (unreadable.isEmpty()) return false;
  refuse(unreadable, field);
  return true;
}

void GenkasyoukyakuShisanListController::refuseDecreaseText()
{
  AlertSheet::beep();
  QLineEdit* editor = decreaseDelegate_->editor();
  // An empty date has no sentence of its own: a decrease simply needs one.
  if (editor && decreaseDelegate_->editedIndex().column() == 0)
    FieldMessage::show(editor, FormatterValidator::refusalOfText(*decreaseDateFormatter_, editor->text()));
}

bool GenkasyoukyakuShisanListController::acceptsDecreaseText(int column, const QString& typed) const
{
  const std::string t = typed.trimmed().toStdString();
  if (column == 0) return decreaseDateFormatter_->dateOfString(t).has_value();
  FieldValue amount;
  return amountFormatter_->getObjectValue(amount, t, nullptr);
}

bool GenkasyoukyakuShisanListController::shouldFinishEditingSelectedGenkasyoukyakuShisan()
{
  const Kaisya& kaisya = document()->document().kaisya();
  // A decrease cell being edited: a refused text keeps it (and the asset) in editing;
  // an accepted one ends the edit, the decreases then sorted by date. The tab asked
  // about is the one shown until a switch away from it is let through.
  if (shownInfoTab_ == 1 && !decreaseDelegate_->endEditing()) {
    if (QLineEdit* editor = decreaseDelegate_->editor()) {
      showInfoTab(1);
      editor->setFocus();
    }
    refuseDecreaseText();
    return false;
  }
  if (!integer(quantityField_)) {
    refuse("数量が入力されていません。", quantityField_);
    return false;
  }
  // A text typed that is no date is refused as such, never as a date not entered.
  if (refuseUnreadableDate(dateOfAddedField_)) return false;
  const std::optional<Date> added = dateFormatter_->dateOfString(text(dateOfAddedField_));
  if (!added) {
    refuse("取得日が入力されていません。", dateOfAddedField_);
    return false;
  }
  if (*added > kaisya.termEndDate()) {
    refuse("取得日に会計期後の日付は指定できません。", dateOfAddedField_);
    return false;
  }
  if (!selected_->isValidDateOfAdded(*added)) {
    refuse("有効な期間内の取得日が入力されていません。", dateOfAddedField_);
    return false;
  }
  if (syoukyakuTypeComboBox_->currentText().isEmpty()) {
    refuse("償却方法が入力されていません。", syoukyakuTypeComboBox_);
    return false;
  }
  if (refuseUnreadableDate(dateOfRemovedField_)) return false;
  bool removedBeforeAdded = false;
  readInputs(&removedBeforeAdded);
  if (removedBeforeAdded) {
    refuse(kRemovedBeforeAddedMessage, dateOfRemovedField_);
    return false;
  }
  updateUneditableField();
  if (sansyutsuSyoukyakuhiField_->text().isEmpty()) {
    const std::optional<int64_t> ruikei = kaisya.memoryKingakuOfDisplayString(text(kisyuSyoukyakugakuRuikeiField_));
    const bool resetRuikei =
        *added >= kaisya.termStartDate() && kisyuSyoukyakugakuRuikeiField_->isEnabled() && ruikei && *ruikei > 0;
    if (resetRuikei) kisyuSyoukyakugakuRuikeiField_->setText(QStringLiteral("0"));
    refuse("正しく入力されていない項目が有るため償却額を計算できません。",
           resetRuikei ? kisyuSyoukyakugakuRuikeiField_ : nullptr);
    return false;
  }
  if (futsuuSyoukyakuhiField_->text().isEmpty()) {
    refuse("普通償却費が入力されていません。", futsuuSyoukyakuhiField_);
    return false;
  }
  if (tokubetsuSyoukyakuhiField_->text().isEmpty()) {
    refuse("特別（割増）償却費が入力されていません。", tokubetsuSyoukyakuhiField_);
    return false;
  }
  return true;
}

bool GenkasyoukyakuShisanListController::shouldLetGoSelectedGenkasyoukyakuShisan()
{
  const Kaisya& kaisya = document()->document().kaisya();
  // Validated: the acquisition date is a date.
  const Date added = *dateFormatter_->dateOfString(text(dateOfAddedField_));
  // A decrease before the acquisition would be taken off the closing book value
  // without showing in any column of the term. Like every check below, it holds
  // only what the user changed (the decrease, or the acquisition date): figures an
  // older build saved never keep an asset that is only looked at.
  selected_->sortDecreaseArrayByDate();
  const std::vector<GenkasyoukyakuShisanDecrease>& decreases = selected_->decreaseArray();
  const std::vector<bool> changed =
      shown_ ? ShisanSyoukyaku::decreasesOfEdit(*selected_, *shown_) : std::vector<bool>(decreases.size(), true);
  const bool addedChanged = !shown_ || shown_->dateOfAdded() != added;
  // The side the user changed is the one shown to correct: the decrease, or the
  // acquisition date when only it was moved past a decrease kept as it was (either
  // tab's field stays within reach, as the other tab cannot be shown first).
  for (size_t i = 0; i < decreases.size(); ++i) {
    const Date d = decreases[i].dateOfDecrease();
    if (d.isNull() || d >= added) continue;
    if (changed[i]) {
      refuseDecrease(kDecreasedBeforeAddedMessage, static_cast<int>(i), 0);
      return false;
    }
    if (addedChanged) {
      refuse(kDecreasedBeforeAddedMessage, dateOfAddedField_);
      return false;
    }
  }
  // Nor may what the user changed, a decrease or a charge, take more than is left of
  // the asset: the closing book value would fall below zero and be carried forward
  // so. Figures the user did not touch (an older build's) never hold the asset.
  if (std::optional<Inputs> in = readInputs(nullptr); in && shown_) {
    const SyoukyakuKikan k = kikan();
    ShisanSyoukyaku::setFutsuuSyoukyakuhiOfEntered(in->asset, enteredFutsuu_, k);
    using Item = ShisanSyoukyaku::Overdraw::Item;
    if (const std::optional<ShisanSyoukyaku::Overdraw> over = ShisanSyoukyaku::overdrawOfEdit(in->asset, *shown_, k)) {
      if (over->item == Item::Decrease)
        refuseDecrease(kDecreaseBeyondCyoubokagakuMessage, static_cast<int>(over->decrease), 1);
      else
        refuse(kChargeBeyondCyoubokagakuMessage,
               over->item == Item::TokubetsuSyoukyakuhi ? tokubetsuSyoukyakuhiField_ : futsuuSyoukyakuhiField_);
      return false;
    }
  }
  // An asset gone before the term has no book value left to depreciate.
  const std::optional<Date> removed = dateFormatter_->dateOfString(text(dateOfRemovedField_));
  const std::optional<int64_t> tokubetsu = kaisya.memoryKingakuOfDisplayString(text(tokubetsuSyoukyakuhiField_));
  const bool removalChanged =
      !shown_ || shown_->dateOfRemoved() != removed.value_or(Date()) || shown_->tokubetsuSyoukyakuhi() != tokubetsu;
  if (removed && *removed < kaisya.termStartDate() && tokubetsu && *tokubetsu > 0 && removalChanged) {
    refuse(kTokubetsuAfterRemovalMessage, tokubetsuSyoukyakuhiField_);
    return false;
  }
  return true;
}

bool GenkasyoukyakuShisanListController::setEditingGenkasyoukyakuShisanToArray()
{
  if (!selected_ || !selectedTabView_ || selectedTabView_->currentIndex() != 0) return true;
  if (!shouldFinishEditingSelectedGenkasyoukyakuShisan() || !shouldLetGoSelectedGenkasyoukyakuShisan()) return false;
  if (dirty_) {
    writeFieldsIntoAsset();
    refreshOutlineRowOfGenkasyoukyakuShisan(selected_);
  }
  selected_->sortDecreaseArrayByDate();
  std::erase(neverCommitted_, selected_);
  shown_ = *selected_;
  return true;
}

void GenkasyoukyakuShisanListController::writeFieldsIntoAsset()
{
  std::optional<Inputs> in = readInputs(nullptr);
  if (!in) return;
  in->asset.setQuantity(integer(quantityField_).value_or(0));
  in->asset.setAddedTypeStr(addedTypePopUp_->currentText().toStdString());
  in->asset.setReference(referenceField_->text().toStdString());
  in->asset.setDecreaseArray(selected_->decreaseArray());
  // The charge the user entered is stored as it is, whatever the field shows of it
  // now, so that it comes back when the computed charge rises again.
  ShisanSyoukyaku::setFutsuuSyoukyakuhiOfEntered(in->asset, enteredFutsuu_, kikan());
  *selected_ = in->asset;
  dirty_ = false;
}

void GenkasyoukyakuShisanListController::userEdited()
{
  if (filling_ || !selected_) return;
  dirty_ = true;
  document()->updateChangeCount(MyDocument::ChangeType::Done);
}

void GenkasyoukyakuShisanListController::decreasesEdited()
{
  if (!selected_) return;
  dirty_ = true;
  document()->updateChangeCount(MyDocument::ChangeType::Done);
  // The general tab shows the charge the decrease leaves, and the commit stores it.
  updateUneditableField();
}

void GenkasyoukyakuShisanListController::syoukyakuTypeChosen()
{
  if (!selected_) return;
  userEdited();
  updateEditableField();
  updateUneditableField();
  // The asset takes the method chosen at once, and its row shows it, whether or not
  // the other fields give the term's figures yet (then they stay as they were).
  const std::string method = syoukyakuTypeComboBox_->currentText().toStdString();
  selected_->setSyoukyakuTypeStr(method);
  refreshOutlineRowOfGenkasyoukyakuShisan(selected_);
  if (isOneTimeMethod(method) && !selected_->decreaseArray().empty()) selected_->decreaseArray().clear();
  updateItemsOfDecreaseHistory();
}

void GenkasyoukyakuShisanListController::infoTabChanged(int index)
{
  if (switchingTab_) return;
  // Another tab lets the shown one go as another row would: the asset is committed,
  // so that neither tab ever shows figures the asset may not keep. A refusal keeps
  // the tab, or shows the other one where the field to correct is.
  if (selected_ && !setEditingGenkasyoukyakuShisanToArray()) {
    switchingTab_ = true;
    infoTabView_->setCurrentIndex(shownInfoTab_);
    switchingTab_ = false;
    return;
  }
  shownInfoTab_ = index;
}

// --- decrease history

void GenkasyoukyakuShisanListController::updateItemsOfDecreaseHistory()
{
  fillDecreaseTable();
  if (!selected_->decreaseArray().empty()) decreaseHistoryTableView_->setCurrentCell(0, 0);
  const bool oneTime = isOneTimeMethod(syoukyakuTypeComboBox_->currentText().toStdString());
  addDecreaseHistoryButton_->setEnabled(!oneTime);
  removeDecreaseHistoryButton_->setEnabled(!oneTime && !selected_->decreaseArray().empty());
}

void GenkasyoukyakuShisanListController::fillDecreaseTable()
{
  const Kaisya& kaisya = document()->document().kaisya();
  const bool was = filling_;
  filling_ = true;
  const auto& decreases = selected_->decreaseArray();
  decreaseHistoryTableView_->setRowCount(static_cast<int>(decreases.size()));
  for (int i = 0; i < static_cast<int>(decreases.size()); ++i) {
    const GenkasyoukyakuShisanDecrease& d = decreases[i];
    decreaseHistoryTableView_->setItem(
        i, 0,
        new QTableWidgetItem(
            qs(decreaseDateFormatter_->stringForObjectValue(FieldValue::date(d.dateOfDecrease())).value_or(""))));
    auto* amount = new QTableWidgetItem(qs(kaisya.displayStringOfMemoryKingaku(d.amountOfDecrease())));
    amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    decreaseHistoryTableView_->setItem(i, 1, amount);
  }
  filling_ = was;
}

void GenkasyoukyakuShisanListController::sortDecreasesKeepingTheirCells(int editedRow)
{
  std::vector<GenkasyoukyakuShisanDecrease>& decreases = selected_->decreaseArray();
  std::vector<size_t> order(decreases.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return GenkasyoukyakuShisanDecrease::decreaseDateSort(decreases[a], decreases[b]) < 0;
  });
  std::vector<GenkasyoukyakuShisanDecrease> sorted;
  sorted.reserve(order.size());
  for (size_t i : order) sorted.push_back(decreases[i]);
  decreases = std::move(sorted);
  const auto sortedRow = [&](int row) {
    for (size_t i = 0; i < order.size(); ++i)
      if (static_cast<int>(order[i]) == row) return static_cast<int>(i);
    return -1;
  };
  // The cell a Tab has just opened (the edit moved on) opens again where its
  // decrease now stands; a finished edit leaves its decrease selected.
  const QModelIndex edited = decreaseDelegate_->editedIndex();
  if (QLineEdit* editor = decreaseDelegate_->editor())
    emit decreaseDelegate_->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
  fillDecreaseTable();
  if (edited.isValid() && sortedRow(edited.row()) >= 0) {
    const int row = sortedRow(edited.row());
    decreaseHistoryTableView_->setCurrentCell(row, edited.column());
    decreaseHistoryTableView_->editItem(decreaseHistoryTableView_->item(row, edited.column()));
  } else if (sortedRow(editedRow) >= 0) {
    decreaseHistoryTableView_->setCurrentCell(sortedRow(editedRow), 0);
  }
}

void GenkasyoukyakuShisanListController::decreaseItemChanged(int row, int column)
{
  if (filling_ || !selected_ || row < 0 || row >= static_cast<int>(selected_->decreaseArray().size())) return;
  GenkasyoukyakuShisanDecrease& d = selected_->decreaseArray()[row];
  const std::string t = decreaseHistoryTableView_->item(row, column)->text().trimmed().toStdString();
  if (column == 0) {
    const std::optional<Date> date = decreaseDateFormatter_->dateOfString(t);
    if (!date) {
      AlertSheet::beep();  // a decrease needs a date
      updateItemsOfDecreaseHistory();
      return;
    }
    d.setDateOfDecrease(*date);
  } else {
    FieldValue v;
    if (!amountFormatter_->getObjectValue(v, t, nullptr) || !GenkasyoukyakuShisan::isAmountInRange(v.amountValue())) {
      AlertSheet::beep();
      updateItemsOfDecreaseHistory();
      return;
    }
    d.setAmountOfDecrease(v.amountValue());  // an empty amount is 0
  }
  decreasesEdited();
  // The rows stay as they are until the edit has moved on; then the decreases go
  // into date order.
  QTimer::singleShot(0, this, [this, row, asset = selected_, refusals = decreaseRefusals_] {
    if (selected_ == asset && decreaseRefusals_ == refusals) sortDecreasesKeepingTheirCells(row);
  });
}

void GenkasyoukyakuShisanListController::addDecreaseHistory()
{
  if (!selected_ || !shouldFinishEditingSelectedGenkasyoukyakuShisan()) return;
  selected_->decreaseArray().emplace_back(Date::earliestTermStartDate(), 0);
  decreasesEdited();
  showInfoTab(1);
  updateItemsOfDecreaseHistory();
  const int last = decreaseHistoryTableView_->rowCount() - 1;
  decreaseHistoryTableView_->setCurrentCell(last, 0);
  decreaseHistoryTableView_->editItem(decreaseHistoryTableView_->item(last, 0));
}

void GenkasyoukyakuShisanListController::removeDecreaseHistory()
{
  const int row = decreaseHistoryTableView_->currentRow();
  if (!selected_ || row < 0 || row >= static_cast<int>(selected_->decreaseArray().size())) return;
  selected_->decreaseArray().erase(selected_->decreaseArray().begin() + row);
  decreasesEdited();
  updateItemsOfDecreaseHistory();
  if (decreaseHistoryTableView_->rowCount() > 0)
    decreaseHistoryTableView_->setCurrentCell(std::min(row, decreaseHistoryTableView_->rowCount() - 1), 0);
}

// --- commands

void GenkasyoukyakuShisanListController::fillFunctionMenu(QMenu* menu)
{
  functionMenu_ = menu;
  QAction* add = menu->addAction(qs(kAddShisanTitle), this, [this] { handleChooseAddShisan(); });
  add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  QAction* remove = menu->addAction(qs(kRemoveShisanTitle), this, [this] { handleChooseRemoveShisan(); });
  remove->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  menu->addSeparator();
  menu->addAction(qs(kSetSansyutsuchiTitle), this,
                  [this] { handleChooseSetSansyutsuSyoukyakuhiToFutsuuSyoukyakuhi(); });
  menu->addSeparator();
  menu->addAction(qs(kPrintShinkokusyoTitle), this, [this] { setTargetYearOfSyoukyakushisanShinkokusyo(); });
  updateFunctionMenu();
}

QAction* GenkasyoukyakuShisanListController::functionAction(const char* title) const
{
  if (!functionMenu_) return nullptr;
  for (QAction* a : functionMenu_->actions())
    if (a->text() == qs(title)) return a;
  return nullptr;
}

void GenkasyoukyakuShisanListController::updateFunctionMenu()
{
  if (QAction* remove = functionAction(kRemoveShisanTitle)) remove->setEnabled(!isGroupSelected());
  if (QAction* set = functionAction(kSetSansyutsuchiTitle))
    set->setEnabled(document()->document().kaisya().termStartDate() >= GenkasyoukyakuShisan::newerRuleStartDate());
}

void GenkasyoukyakuShisanListController::handleChooseAddShisan()
{
  if (!setEditingGenkasyoukyakuShisanToArray()) return;
  const MyDocument& doc = document()->document();
  // The residual and limit ratios are those the preferences set for new assets.
  const UserDefaults& defaults = UserDefaults::standardUserDefaults();
  auto asset = std::make_shared<G>(doc.kaisya().isHoujin() ? G::kTeiritsuHou : G::kTeigakuHou,
                                   defaults.doubleForKey(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey),
                                   defaults.doubleForKey(KIVOGankasyoukyakuhiDefaultZanzonGendoWariaiKey));
  if (!doc.genkasyoukyakuShisanArray().empty()) {
    // Each code is the one every selected row shares.
    std::optional<int32_t> codes[3];
    bool differ[3] = {false, false, false};
    bool any = false;
    const auto take = [&](int32_t k, int32_t h, int32_t j) {
      const int32_t v[3] = {k, h, j};
      for (int i = 0; i < 3; ++i) {
        if (codes[i] && *codes[i] != v[i]) differ[i] = true;
        codes[i] = v[i];
      }
      any = true;
    };
    for (const QModelIndex& i : outlineView_->selectionModel()->selectedRows()) {
      if (const GenkasyoukyakuShisanPtr a = assetOfIndex(i))
        take(a->kamokuCode(), a->hojyoKamokuCode(), a->jigyoubuCode());
      else if (const KamokuJigyoubuGroup* g = groupOfIndex(i))
        take(g->kamokuCode(), g->isUnassigned() ? -1 : g->hojyoKamokuCode(), g->jigyoubuCode());
    }
    if (any) {
      asset->setKamokuCode(differ[0] ? -1 : *codes[0]);
      asset->setHojyoKamokuCode(differ[1] ? -1 : *codes[1]);
      asset->setJigyoubuCode(differ[2] ? -1 : *codes[2]);
    }
  }
  if (!addController_) addController_ = new GenkasyoukyakuShisanToAddController(document(), this);
  addController_->updateUIToEditGenkasyoukyakuShisan(asset);
  addController_->beginSheet(this, [this, asset](int code) {
    if (code != SheetController::kOK) return;
    neverCommitted_.push_back(asset);
    reloadOutline();
    selectGenkasyoukyakuShisan(asset);
    updateForSelectedGenkasyoukyakuShisan();
    showInfoTab(0);
    quantityField_->setFocus();
    quantityField_->selectAll();
  });
}

void GenkasyoukyakuShisanListController::editShisanBasicInformation()
{
  if (!selected_ || !setEditingGenkasyoukyakuShisanToArray()) return;
  const GenkasyoukyakuShisanPtr asset = selected_;
  if (!addController_) addController_ = new GenkasyoukyakuShisanToAddController(document(), this);
  addController_->updateUIToEditGenkasyoukyakuShisan(asset);
  addController_->beginSheet(this, [this, asset](int code) {
    if (code != SheetController::kOK) return;
    reloadOutline();
    selectGenkasyoukyakuShisan(asset);
    updateForSelectedGenkasyoukyakuShisan();
  });
}

void GenkasyoukyakuShisanListController::handleChooseRemoveShisan()
{
  if (isGroupSelected()) return;
  // The register may have been closed by the program while the question waited for
  // the keyboard as it closed.
  const QPointer<GenkasyoukyakuShisanListController> self = this;
  const int answer = AlertSheet::runQuestion(nullptr, qs("削除"), qs("選択中の資産を削除しますか。"),
                                             {qs("削除"), qs("キャンセル")}, 1);
  if (answer != 0 || !self) return;
  const std::vector<GenkasyoukyakuShisanPtr> doomed = selectedAssets();
  if (doomed.empty()) return;
  // The shown asset goes without being committed.
  selected_.reset();
  dirty_ = false;
  auto& array = document()->document().genkasyoukyakuShisanArray();
  const auto isDoomed = [&](const GenkasyoukyakuShisanPtr& a) {
    return std::find(doomed.begin(), doomed.end(), a) != doomed.end();
  };
  std::erase_if(array, isDoomed);
  std::erase_if(neverCommitted_, isDoomed);
  outlineView_->setSelectionGuardEnabled(false);
  outlineView_->selectionModel()->clearSelection();
  reloadOutline();
  updateForSelectedGenkasyoukyakuShisan();
  document()->updateChangeCount(MyDocument::ChangeType::Done);
}

void GenkasyoukyakuShisanListController::handleChooseSetSansyutsuSyoukyakuhiToFutsuuSyoukyakuhi()
{
  const MyDocument& doc = document()->document();
  bool found = false;
  for (const GenkasyoukyakuShisanPtr& a : doc.genkasyoukyakuShisanArray()) {
    const KamokuPtr kamoku =
        doc.rootKamokuKubun() ? doc.rootKamokuKubun()->matchKamokuCode(std::to_string(a->kamokuCode())) : nullptr;
    if (kamoku && kamoku->isGenkasyoukyakuShisanKamoku() && a->isOlderRule() &&
        (a->syoukyakuTypeStr() == G::kTeigakuHou || a->syoukyakuTypeStr() == G::kTeiritsuHou)) {
      found = true;
      break;
    }
  }
  if (!found) {
    AlertSheet::beginAlertSheet(this, qs(AlertSheet::kCannotExecuteTitle),
                                qs("旧定額法または旧定率法で償却する資産が、登録されていません。"));
    return;
  }
  if (selected_) {
    AlertSheet::beginAlertSheet(this, qs(AlertSheet::kCannotExecuteTitle),
                                qs("資産を表示（選択）している状態では、コマンドを実行できません。"));
    return;
  }
  if (!setSansyutsuchiController_)
    setSansyutsuchiController_ = new SelectShisanToSetSansyutsuchiController(document(), this);
  setSansyutsuchiController_->updateUI();
  setSansyutsuchiController_->beginSheet(this, [this](int code) {
    if (code != SheetController::kOK) return;
    reloadOutline();
    updateForSelectedGenkasyoukyakuShisan();
  });
}

// --- printing

void GenkasyoukyakuShisanListController::pageSetupForGenkasyoukyakuShisanList()
{
  PrintOperation::runPageSetup(this, KIVOGenkasyoukyakuShisanPrintInfoKey);
}

void GenkasyoukyakuShisanListController::printGenkasyoukyakuShisanList()
{
  if (!setEditingGenkasyoukyakuShisanToArray()) return;
  if (document()->document().genkasyoukyakuShisanArray().empty()) {
    AlertSheet::beginAlertSheet(this, qs(kCannotPrintTitle), qs("資産が登録されていません。"));
    return;
  }
  const auto rounding =
      static_cast<int32_t>(UserDefaults::standardUserDefaults().integerForKey(KIVOGankasyoukyakuhiRoundingTypeKey));
  const MyDocument& books = document()->document();
  PrintProgressSheet::runPrintPanel(document(), this, PrintInfo::pageLayoutForKey(KIVOGenkasyoukyakuShisanPrintInfoKey),
                                    [&books, rounding](const QPageLayout& paper) {
                                      return GenkasyoukyakuShisanListPrintView::create(books, paper, rounding);
                                    });
}

void GenkasyoukyakuShisanListController::pageSetupForSyoukyakushisanShinkokusyo()
{
  PrintOperation::runPageSetup(this, KIVOSyoukyakushisanShinkokusyoPrintInfoKey);
}

void GenkasyoukyakuShisanListController::setTargetYearOfSyoukyakushisanShinkokusyo()
{
  if (!setEditingGenkasyoukyakuShisanToArray()) return;
  const MyDocument& doc = document()->document();
  bool found = false;
  for (const GenkasyoukyakuShisanPtr& a : doc.genkasyoukyakuShisanArray()) {
    const KamokuPtr kamoku =
        doc.rootKamokuKubun() ? doc.rootKamokuKubun()->matchKamokuCode(std::to_string(a->kamokuCode())) : nullptr;
    if (kamoku && kamoku->isSyoukyakushisanShinkokusyoKamoku() && a->syoukyakuTypeStr() != G::kIkkatsuSyoukyaku) {
      found = true;
      break;
    }
  }
  if (!found) {
    AlertSheet::beginAlertSheet(this, qs(kCannotPrintTitle),
                                qs("償却資産報告書にプリントする資産が登録されていません。"));
    return;
  }
  if (!shinkokusyoController_) {
    shinkokusyoController_ = new SyoukyakushisanShinkokusyoController(document(), this);
    shinkokusyoController_->pageSetupHandler = [this] { pageSetupForSyoukyakushisanShinkokusyo(); };
  }
  shinkokusyoController_->updateUI();
  shinkokusyoController_->beginSheet(this, [this](int code) {
    if (code != SheetController::kOK) return;
    const int year = shinkokusyoController_->targetYear();
    QTimer::singleShot(0, this, [this, year] { printSyoukyakushisanShinkokusyoForYear(year); });
  });
}

void GenkasyoukyakuShisanListController::printSyoukyakushisanShinkokusyoForYear(int year)
{
  const MyDocument& books = document()->document();
  PrintProgressSheet::runPrintPanel(document(), this,
                                    PrintInfo::pageLayoutForKey(KIVOSyoukyakushisanShinkokusyoPrintInfoKey),
                                    [&books, year](const QPageLayout& paper) {
                                      return SyoukyakushisanShinkokusyoPrintView::create(books, paper, year);
                                    });
}

// --- drag and drop

bool GenkasyoukyakuShisanListController::beginDragOfSelection()
{
  if (isGroupSelected()) return false;
  if (!setEditingGenkasyoukyakuShisanToArray()) return false;
  dragged_ = selectedAssets();
  // The detail lets the asset go before the drag, so it never holds one that moves.
  selected_.reset();
  dirty_ = false;
  selectedTabView_->setCurrentIndex(1);
  return !dragged_.empty();
}

bool GenkasyoukyakuShisanListController::dropGenkasyoukyakuShisan(const std::vector<GenkasyoukyakuShisanPtr>& assets,
                                                                  const KamokuJigyoubuGroup& target, size_t index)
{
  MyDocument& doc = document()->document();
  if (assets.empty() || !target.acceptsDrop(doc)) return false;
  if (selected_ && !setEditingGenkasyoukyakuShisanToArray()) return false;
  selected_.reset();
  std::vector<GenkasyoukyakuShisanPtr> groupAssets;
  for (const KamokuJigyoubuGroup& g : KamokuJigyoubuGroup::groupsOfDocument(doc)) {
    if (g.isSameGroup(target)) groupAssets = g.childrenAssets();
    for (const KamokuJigyoubuGroup& d : g.childrenGroups())
      if (d.isSameGroup(target)) groupAssets = d.childrenAssets();
  }
  KamokuJigyoubuGroup::moveGenkasyoukyakuShisan(doc.genkasyoukyakuShisanArray(), groupAssets, target, index, assets);
  dragged_.clear();
  outlineView_->setSelectionGuardEnabled(false);
  outlineView_->selectionModel()->clearSelection();
  reloadOutline();
  for (size_t i = 0; i < assets.size(); ++i) {
    const QModelIndex idx = indexOfAsset(assets[i]);
    if (!idx.isValid()) continue;
    for (QModelIndex p = idx.parent(); p.isValid(); p = p.parent()) outlineView_->expand(p);
    outlineView_->selectionModel()->select(
        idx, (i == 0 ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select) | QItemSelectionModel::Rows);
  }
  outlineView_->setSelectionGuardEnabled(true);
  updateForSelectedGenkasyoukyakuShisan();
  doc.updateChangeCount(MyDocument::ChangeType::Done);
  return true;
}

}  // namespace kivo
