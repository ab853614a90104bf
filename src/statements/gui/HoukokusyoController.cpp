#include "statements/gui/HoukokusyoController.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "document/gui/DocumentWindowController.h"
#include "document/gui/OpenDocument.h"
#include "document/gui/PrintProgressSheet.h"
#include "fields/NameFormatter.h"
#include "platform/AlertSheet.h"
#include "platform/CheckedItemDelegate.h"
#include "platform/FieldMessage.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaultsKeys.h"
#include "statements/gui/KaisyahouHoukokusyoController.h"
#include "statements/gui/RiekiSyobunanTableView.h"

namespace kivo {
namespace {

enum Column { NameColumn, KingakuColumn };

// An item's name: at most 8 characters and no spaces. Why a name is refused, or
// empty when it is not.
std::string refusalOfItemName(const QString& name)
{
  std::string why;
  FieldValue value;
  NameFormatter(8, false).getObjectValue(value, name.toStdString(), &why);
  return why;
}

}  // namespace

HoukokusyoController* HoukokusyoController::controllerOfDocument(OpenDocument* document)
{
  using Owned = OpenDocument::OwnedController;
  auto* sheet = document->ownedControllerAs<HoukokusyoController>(Owned::Houkokusyo);
  if (!sheet) {
    sheet = new HoukokusyoController(document);
    document->setOwnedController(Owned::Houkokusyo, sheet);
  }
  return sheet;
}

bool HoukokusyoController::servesDocument(const OpenDocument* document)
{
  return document && !document->document().kaisya().isKakeibo();
}

HoukokusyoController::HoukokusyoController(OpenDocument* document) : StatementsSheetController(document)
{
  const MyDocument& doc = document->document();
  general_ =
      new HoukokusyoGeneralTab(doc,
                               {"表紙", "貸借対照表", "損益計算書", "販売費及び一般管理費",
                                doc.kaisya().isKensetu() ? "完成工事原価報告書" : "製造原価報告書", "利益処分案"},
                               this);
  connect(general_, &HoukokusyoGeneralTab::printItemsClicked, this, &HoukokusyoController::selectPrintItems);
  tabView_->addTab(general_, qs("一般"));
  const char* const noteTabs[] = {"貸借対照表", "損益計算書", "販売費及び一般管理費",
                                  doc.kaisya().isKensetu() ? "完成工事原価報告書" : "製造原価報告書"};
  for (int t = TaisyakuTaisyouTab; t <= SeizouGenkaTab; ++t) {
    noteViews_[t] = new QPlainTextEdit(this);
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(new QLabel(qs("注記:"), tab));
    layout->addWidget(noteViews_[t]);
    tabView_->addTab(tab, qs(noteTabs[t - 1]));
  }
  tabView_->addTab(buildRiekiSyobunanTab(), qs("利益処分案"));
  addButtonsAndLayOut([this] { endHoukokusyoWindow(); }, [this] { cancelHoukokusyoWindow(); }, QSize(640, 520));
}

HoukokusyoController::~HoukokusyoController() = default;

QWidget* HoukokusyoController::buildRiekiSyobunanTab()
{
  auto* tab = new QWidget(this);
  riekiTitleField_ = new QLabel(tab);
  toukiMisyobunTitleField_ = new QLabel(tab);
  toukiMisyobunField_ = new QLabel(tab);
  goukeiTitleField_ = new QLabel(tab);
  goukeiField_ = new QLabel(tab);
  jikiTitleField_ = new QLabel(tab);
  jikiField_ = new QLabel(tab);
  table_ = new RiekiSyobunanTableView(0, 2, tab);
  table_->setHorizontalHeaderLabels({qs("科目"), qs("金額")});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setMover([this](int from, int to) { return moveKamokuOfRiekiSyobunan(from, to); });
  // A name the formatter refuses, or an amount it cannot read, keeps its cell in
  // editing; the name's refusal says why.
  itemDelegate_ = new CheckedItemDelegate(table_);
  itemDelegate_->accepts = [this](const QModelIndex& index, const QString& text) {
    return index.column() == NameColumn ? refusalOfItemName(text).empty() : acceptsKingaku(text);
  };
  itemDelegate_->refused = [this](const QModelIndex& index, QLineEdit* editor) {
    if (index.column() == NameColumn)
      FieldMessage::show(editor, qs(refusalOfItemName(editor->text())));
    else
      AlertSheet::beep();
  };
  table_->setItemDelegate(itemDelegate_);
  connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem*) {
    if (!reloading_) storeTable();
  });
  addButton_ = new QPushButton(qs("追加"), tab);
  removeButton_ = new QPushButton(qs("削除"), tab);
  for (QPushButton* b : {addButton_, removeButton_}) b->setAutoDefault(false);
  connect(addButton_, &QPushButton::clicked, this, &HoukokusyoController::addKamokuToRiekiSyobunan);
  connect(removeButton_, &QPushButton::clicked, this, &HoukokusyoController::removeKamokuFromRiekiSyobunan);
  noteViews_[RiekiSyobunanTab] = new QPlainTextEdit(tab);
  noteViews_[RiekiSyobunanTab]->setMaximumHeight(80);
  auto* figures = new QFormLayout();
  figures->addRow(toukiMisyobunTitleField_, toukiMisyobunField_);
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(addButton_);
  buttons->addWidget(removeButton_);
  buttons->addStretch();
  auto* totals = new QFormLayout();
  totals->addRow(goukeiTitleField_, goukeiField_);
  totals->addRow(jikiTitleField_, jikiField_);
  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(riekiTitleField_);
  layout->addLayout(figures);
  layout->addWidget(table_);
  layout->addLayout(buttons);
  layout->addLayout(totals);
  layout->addWidget(new QLabel(qs("注記:"), tab));
  layout->addWidget(noteViews_[RiekiSyobunanTab]);
  return tab;
}

// --- filling

void HoukokusyoController::updateUI()
{
  Kaisya& k = document_->document().kaisya();
  recomputeAfterEdit_ = false;
  general_->load(k, HoukokusyoPrintView::kCoverTitle);
  noteViews_[TaisyakuTaisyouTab]->setPlainText(qs(k.noteOfTaisyakuTaisyouhyouOfHoukokusyo()));
  noteViews_[SonekiKeisanTab]->setPlainText(qs(k.noteOfSonekiKeisansyoOfHoukokusyo()));
  noteViews_[HanbaihiTab]->setPlainText(qs(k.noteOfHanbaihiOfHoukokusyo()));
  noteViews_[SeizouGenkaTab]->setPlainText(qs(k.noteOfSeizougenkaOfHoukokusyo()));
  noteViews_[RiekiSyobunanTab]->setPlainText(qs(k.noteOfRiekisyobunanOfHoukokusyo()));
  // Without a cost report its check box is out of use and its tab is not there.
  general_->printCheckbox(SeizouGenkaBox)->setEnabled(k.isSeizou());
  setTabShown(SeizouGenkaTab, k.isSeizou());
  for (QCheckBox* box : general_->printCheckboxes()) box->setChecked(box->isEnabled());
  selectPrintItems();
  const QSignalBlocker block(tabView_);
  selectTab(GeneralTab);
  currentTab_ = GeneralTab;
}

void HoukokusyoController::compute()
{
  MyDocument& doc = document_->document();
  model_.setHoukokusyoShisanArrayForJigyoubuCode(doc, 99, KaisyahouHoukokusyoPeriod::ofKaisya(doc.kaisya()));
}

RiekiSyobunan HoukokusyoController::riekiSyobunan() const
{
  const Kaisya& k = document_->document().kaisya();
  return RiekiSyobunan(model_.statements().toukiMisyobunSonekiOfSyuuryouZandaka, k.riekisyobunanKamokuArray(),
                       k.maxOutputAmountValue());
}

void HoukokusyoController::updateUIOfRiekisyobunan()
{
  recomputeAfterEdit_ = false;
  computeWithProgress([this] { compute(); });
  Kaisya& k = document_->document().kaisya();
  const RiekiSyobunan r = riekiSyobunan();
  // The title follows the sign of U unless the user gave one of his own.
  const std::string& title = k.titleOfRiekisyobunanOfHoukokusyo();
  if (title.empty() || title == "利益処分案" || title == "損失処理案")
    k.setTitleOfRiekisyobunanOfHoukokusyo(r.syobunanTitle());
  riekiTitleField_->setText(qs(k.titleOfRiekisyobunanOfHoukokusyo()));
  toukiMisyobunTitleField_->setText(qs(r.toukiMisyobunTitle() + "："));
  const int64_t u = r.toukiMisyobunSoneki();
  toukiMisyobunField_->setText(StatementPageDrawing::amountText(k, u < 0 ? -u : u));
  goukeiTitleField_->setText(qs(r.goukeiTitle() + "："));
  jikiTitleField_->setText(qs(r.jikiKurikoshiTitle() + "："));
  reloadTable();
  updateTotals();
}

void HoukokusyoController::reloadTable()
{
  const Kaisya& k = document_->document().kaisya();
  reloading_ = true;
  // Nothing to appropriate while U is 0: no items are shown, as none are printed.
  const bool hasU = model_.statements().toukiMisyobunSonekiOfSyuuryouZandaka != 0;
  const auto& items = k.riekisyobunanKamokuArray();
  table_->setRowCount(hasU ? static_cast<int>(items.size()) : 0);
  for (int i = 0; i < table_->rowCount(); ++i) {
    const RiekiSyobunanItem& item = items[static_cast<size_t>(i)];
    auto* name = new QTableWidgetItem(qs(item.name));
    auto* kingaku = new QTableWidgetItem(qs(k.displayStringOfMemoryKingaku(item.kingaku)));
    kingaku->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QTableWidgetItem* cell : {name, kingaku})
      cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
    table_->setItem(i, NameColumn, name);
    table_->setItem(i, KingakuColumn, kingaku);
  }
  reloading_ = false;
  addButton_->setEnabled(hasU);
  removeButton_->setEnabled(hasU && table_->rowCount() > 0);
}

void HoukokusyoController::storeTable()
{
  Kaisya& k = document_->document().kaisya();
  const std::vector<RiekiSyobunanItem>& old = k.riekisyobunanKamokuArray();
  std::vector<RiekiSyobunanItem> items;
  bool refused = false;
  // The cells are corrected in place (a table may not be rebuilt while it reports a
  // change of one of its cells).
  reloading_ = true;
  for (int i = 0; i < table_->rowCount(); ++i) {
    QTableWidgetItem* name = table_->item(i, NameColumn);
    QTableWidgetItem* kingaku = table_->item(i, KingakuColumn);
    if (!name || !kingaku) continue;
    RiekiSyobunanItem item;
    const RiekiSyobunanItem* before = static_cast<size_t>(i) < old.size() ? &old[static_cast<size_t>(i)] : nullptr;
    // A name the formatter refuses is never cut or stripped: the item keeps its name.
    const std::string why = refusalOfItemName(name->text());
    if (why.empty()) {
      item.name = name->text().toStdString();
    } else {
      item.name = before ? before->name : kNewItemName;
      name->setText(qs(item.name));
      FieldMessage::show(table_->viewport(), qs(why), table_->visualItemRect(name));
    }
    const QString text = kingaku->text().trimmed();
    if (!acceptsKingaku(text)) {
      refused = true;
      // The amount the cell showed before the edit.
      item.kingaku = before ? before->kingaku : 0;
    } else {
      item.kingaku = text.isEmpty() ? 0 : k.memoryKingakuOfDisplayString(text.toStdString()).value_or(0);
    }
    const QString shown = qs(k.displayStringOfMemoryKingaku(item.kingaku));
    if (kingaku->text() != shown) kingaku->setText(shown);
    items.push_back(std::move(item));
  }
  reloading_ = false;
  if (refused) AlertSheet::beep();
  if (items != old) {
    k.setRiekisyobunanKamokuArray(std::move(items));
    markEdited();
  }
  removeButton_->setEnabled(table_->rowCount() > 0);
  updateTotals();
}

bool HoukokusyoController::acceptsKingaku(const QString& typed) const
{
  const Kaisya& k = document_->document().kaisya();
  const QString text = typed.trimmed();
  if (text.isEmpty()) return true;
  const std::optional<int64_t> v = k.memoryKingakuOfDisplayString(text.toStdString());
  return v && Kaisya::isRiekisyobunanKingakuInRange(*v);
}

bool HoukokusyoController::moveKamokuOfRiekiSyobunan(int from, int to)
{
  Kaisya& k = document_->document().kaisya();
  std::vector<RiekiSyobunanItem> items = k.riekisyobunanKamokuArray();
  const int count = static_cast<int>(items.size());
  if (from < 0 || from >= count || to < 0 || to > count || !itemDelegate_->endEditing()) return false;
  // The place counts the rows before the item is taken out.
  const int at = from < to ? to - 1 : to;
  RiekiSyobunanItem moved = items[static_cast<size_t>(from)];
  items.erase(items.begin() + from);
  items.insert(items.begin() + at, std::move(moved));
  if (items != k.riekisyobunanKamokuArray()) {
    k.setRiekisyobunanKamokuArray(std::move(items));
    markEdited();
  }
  // The table is rebuilt once it has finished with the drop.
  QMetaObject::invokeMethod(
      this,
      [this, at] {
        reloadTable();
        if (at < table_->rowCount()) table_->setCurrentCell(at, NameColumn);
      },
      Qt::QueuedConnection);
  return true;
}

void HoukokusyoController::updateTotals()
{
  const Kaisya& k = document_->document().kaisya();
  const RiekiSyobunan r = riekiSyobunan();
  goukeiField_->setText(StatementPageDrawing::amountText(k, r.riekiSyobunGoukei()));
  jikiField_->setText(StatementPageDrawing::amountText(k, r.jikiKurikoshiRieki()));
}

void HoukokusyoController::addKamokuToRiekiSyobunan()
{
  if (!itemDelegate_->endEditing()) return AlertSheet::beep();
  Kaisya& k = document_->document().kaisya();
  std::vector<RiekiSyobunanItem> items = k.riekisyobunanKamokuArray();
  items.push_back({kNewItemName, 0});
  k.setRiekisyobunanKamokuArray(std::move(items));
  markEdited();
  reloadTable();
  updateTotals();
  const int row = table_->rowCount() - 1;
  table_->setCurrentCell(row, NameColumn);
  table_->editItem(table_->item(row, NameColumn));
}

void HoukokusyoController::removeKamokuFromRiekiSyobunan()
{
  if (!itemDelegate_->endEditing()) return AlertSheet::beep();
  const int row = table_->currentRow();
  Kaisya& k = document_->document().kaisya();
  std::vector<RiekiSyobunanItem> items = k.riekisyobunanKamokuArray();
  if (row < 0 || static_cast<size_t>(row) >= items.size()) return;
  items.erase(items.begin() + row);
  k.setRiekisyobunanKamokuArray(std::move(items));
  markEdited();
  reloadTable();
  updateTotals();
  if (table_->rowCount() > 0) table_->setCurrentCell(std::min(row, table_->rowCount() - 1), NameColumn);
}

// --- checking and storing

void HoukokusyoController::selectPrintItems() { okButton_->setEnabled(general_->anyPrintItem()); }

bool HoukokusyoController::shouldApplyTab(int tab)
{
  // An item being edited ends with its text, unless that text is refused.
  if (tab == RiekiSyobunanTab && !itemDelegate_->endEditing()) {
    AlertSheet::beep();
    return false;
  }
  return StatementsSheetController::shouldApplyTab(tab);
}

void HoukokusyoController::applyTab(int tab)
{
  MyDocument& doc = document_->document();
  Kaisya& k = doc.kaisya();
  bool changed = false;
  const auto store = [&changed](auto value, auto get, auto set) {
    if (value != get()) {
      set(value);
      changed = true;
    }
  };
  if (tab == GeneralTab) changed = general_->store(k);
  const auto note = [&](int t) { return noteViews_[t]->toPlainText().toStdString(); };
  switch (tab) {
  case TaisyakuTaisyouTab:
    store(
        note(tab), [&] { return k.noteOfTaisyakuTaisyouhyouOfHoukokusyo(); },
        [&](const std::string& v) { k.setNoteOfTaisyakuTaisyouhyouOfHoukokusyo(v); });
    break;
  case SonekiKeisanTab:
    store(
        note(tab), [&] { return k.noteOfSonekiKeisansyoOfHoukokusyo(); },
        [&](const std::string& v) { k.setNoteOfSonekiKeisansyoOfHoukokusyo(v); });
    break;
  case HanbaihiTab:
    store(
        note(tab), [&] { return k.noteOfHanbaihiOfHoukokusyo(); },
        [&](const std::string& v) { k.setNoteOfHanbaihiOfHoukokusyo(v); });
    break;
  case SeizouGenkaTab:
    store(
        note(tab), [&] { return k.noteOfSeizougenkaOfHoukokusyo(); },
        [&](const std::string& v) { k.setNoteOfSeizougenkaOfHoukokusyo(v); });
    break;
  case RiekiSyobunanTab:
    store(
        note(tab), [&] { return k.noteOfRiekisyobunanOfHoukokusyo(); },
        [&](const std::string& v) { k.setNoteOfRiekisyobunanOfHoukokusyo(v); });
    break;
  default: break;
  }
  if (changed) markEdited();
}

HoukokusyoPrintChoice HoukokusyoController::printChoice() const
{
  HoukokusyoPrintChoice c;
  c.coversheet = general_->printCheckbox(CoverBox)->isChecked();
  c.taisyakuTaisyouhyou = general_->printCheckbox(TaisyakuTaisyouBox)->isChecked();
  c.sonekiKeisansyo = general_->printCheckbox(SonekiKeisanBox)->isChecked();
  c.hanbaihi = general_->printCheckbox(HanbaihiBox)->isChecked();
  c.seizougenka = general_->printCheckbox(SeizouGenkaBox)->isChecked();
  c.riekisyobunan = general_->printCheckbox(RiekiSyobunanBox)->isChecked();
  return c;
}

void HoukokusyoController::endHoukokusyoWindow()
{
  if (!shouldApplyTab(currentTab_)) return;
  selectPrintItems();
  if (!okButton_->isEnabled()) {
    AlertSheet::beep();
    selectTab(GeneralTab);
    return;
  }
  applyTab(currentTab_);
  computeWithProgress([this] { compute(); });
  const RiekiSyobunan r = riekiSyobunan();
  if (general_->printCheckbox(RiekiSyobunanBox)->isChecked()) {
    const std::string reason = r.check();
    if (!reason.empty()) {
      AlertSheet::runAlert(qs(AlertSheet::kCannotPrintTitle), qs(reason));
      selectTab(RiekiSyobunanTab);
      return;
    }
  }
  riekiSyobunanRows_ = r.rows();
  endSheetWithSender(okButton_);
}

void HoukokusyoController::cancelHoukokusyoWindow()
{
  if (currentTab_ == RiekiSyobunanTab && !shouldApplyTab(currentTab_)) return;
  endSheetWithSender(cancelButton_);
}

void HoukokusyoController::didSelectTab(int tab)
{
  if (tab == RiekiSyobunanTab) updateUIOfRiekisyobunan();
}

void HoukokusyoController::windowDidBecomeKey()
{
  // Back from a window whose changes may have moved the profit to appropriate; an
  // item still in editing keeps what is typed in it until the edit ends.
  if (currentTab_ != RiekiSyobunanTab) return;
  if (itemDelegate_->isEditing())
    updateUIOfRiekisyobunanWhenEditEnds();
  else
    updateUIOfRiekisyobunan();
}

void HoukokusyoController::updateUIOfRiekisyobunanWhenEditEnds()
{
  recomputeAfterEdit_ = true;
  // The view lets the editor go once it is done with the ended edit (its value stored);
  // by then Tab may have begun the edit of another cell.
  connect(
      itemDelegate_->editor(), &QObject::destroyed, this,
      [this] {
        if (!recomputeAfterEdit_) return;
        if (itemDelegate_->isEditing()) return updateUIOfRiekisyobunanWhenEditEnds();
        recomputeAfterEdit_ = false;
        if (currentTab_ == RiekiSyobunanTab && isSheetAttached()) updateUIOfRiekisyobunan();
      },
      Qt::QueuedConnection);
}

std::unique_ptr<Printout> HoukokusyoController::makePrintView(const QPageLayout& layout)
{
  return HoukokusyoPrintView::create(document_->document(), model_.statements(), riekiSyobunanRows_, printChoice(),
                                     layout);
}

}  // namespace kivo
