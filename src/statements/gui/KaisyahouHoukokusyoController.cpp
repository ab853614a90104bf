#include "statements/gui/KaisyahouHoukokusyoController.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "document/gui/DocumentWindowController.h"
#include "document/gui/OpenDocument.h"
#include "document/gui/PrintProgressSheet.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/SuitoucyouController.h"
#include "fields/HidukeFormatter.h"
#include "fields/KamokuFormatter.h"
#include "model/KamokuKubun.h"
#include "platform/AlertSheet.h"
#include "platform/CheckedItemDelegate.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "statements/HendouReasonEditor.h"
#include "statements/gui/HendouReasonOutline.h"

namespace kivo {
namespace {

// Whether the chart has an equity account: without one there is no statement of
// changes in net assets to print or sort into reasons.
bool hasKabunushiShihonKamoku(const MyDocument& doc)
{
  const auto& all = doc.codeSortedKamokuArray();
  return std::any_of(all.begin(), all.end(), [](const KamokuPtr& k) { return k->isKabunushiShihonKamoku(); });
}

enum PrintBox { Cover, TaisyakuTaisyou, SonekiKeisan, Hanbaihi, SeizouGenka, KabunushiShihon, Note };

enum Column {
  ReasonColumn,
  DateColumn,
  KarikataKamokuColumn,
  KarikataKingakuColumn,
  KashikataKamokuColumn,
  KashikataKingakuColumn,
  ColumnCount
};

}  // namespace

KaisyahouHoukokusyoController* KaisyahouHoukokusyoController::controllerOfDocument(OpenDocument* document)
{
  using Owned = OpenDocument::OwnedController;
  auto* sheet = document->ownedControllerAs<KaisyahouHoukokusyoController>(Owned::KaisyahouHoukokusyo);
  if (!sheet) {
    sheet = new KaisyahouHoukokusyoController(document);
    document->setOwnedController(Owned::KaisyahouHoukokusyo, sheet);
  }
  return sheet;
}

KaisyahouHoukokusyoController::KaisyahouHoukokusyoController(OpenDocument* document)
    : StatementsSheetController(document)
{
  const MyDocument& doc = document->document();
  periodFormatter_ = std::make_unique<HidukeFormatter>(doc, false);
  kamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, true);
  buildWindow();
}

KaisyahouHoukokusyoController::~KaisyahouHoukokusyoController() = default;

bool KaisyahouHoukokusyoController::isKaisyahouDocument(const OpenDocument* document)
{
  const MyDocument& doc = document->document();
  return doc.kaisya().isHoujin() && doc.rootKamokuKubun() &&
         doc.rootKamokuKubun()->pListResource() == KamokuKubun::kKaisyahouChartName;
}

// --- the window

void KaisyahouHoukokusyoController::buildWindow()
{
  general_ = new HoukokusyoGeneralTab(
      document_->document(),
      {"表紙", "貸借対照表", "損益計算書", "販売費及び一般管理費", "製造原価報告書", "株主資本等変動計算書", "注記"},
      this);
  connect(general_, &HoukokusyoGeneralTab::printItemsClicked, this, &KaisyahouHoukokusyoController::selectPrintItems);
  tabView_->addTab(general_, qs("一般"));
  tabView_->addTab(buildKabunushiShihonTab(), qs("株主資本等変動計算書"));
  noteView_ = new QTextEdit(this);
  noteView_->setAcceptRichText(true);
  tabView_->addTab(noteView_, qs("注記"));
  connect(noteView_, &QTextEdit::textChanged, this, [this] { didEditNote_ = true; });
  addButtonsAndLayOut([this] { endKaisyahouHoukokusyoWindow(); }, [this] { cancelKaisyahouHoukokusyoWindow(); },
                      QSize(800, 560));
}

QWidget* KaisyahouHoukokusyoController::buildKabunushiShihonTab()
{
  auto* tab = new QWidget(this);
  outline_ = new HendouReasonOutline(tab);
  outline_->setColumnCount(ColumnCount);
  outline_->setHeaderLabels(
      {qs("変動事由"), qs("日付"), qs("借方科目"), qs("借方金額"), qs("貸方科目"), qs("貸方金額")});
  const int widths[ColumnCount] = {230, 60, 120, 95, 120, 95};
  for (int c = 0; c < ColumnCount; ++c) outline_->setColumnWidth(c, widths[c]);
  outline_->setHandlers(
      [this](const QList<QTreeWidgetItem*>& items) { return writeItems(items); },
      [this](QTreeWidgetItem* parent, int index, const QMimeData* data) { return acceptDrop(parent, index, data); });
  outline_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  // A name that is empty or another reason's keeps the row in editing.
  renameDelegate_ = new CheckedItemDelegate(outline_);
  renameDelegate_->accepts = [this](const QModelIndex& index, const QString& text) {
    const QModelIndex row = index.siblingAtColumn(ReasonColumn);
    const auto& reasons = document_->document().hendouReasonArray();
    const int i = row.data(HendouReasonOutline::kValueRole).toInt();
    if (row.data(HendouReasonOutline::kKindRole).toInt() != HendouReasonOutline::ReasonRow || i < 0 ||
        i >= static_cast<int>(reasons.size()))
      return true;
    const HendouReason& reason = *reasons[static_cast<size_t>(i)];
    return text.toStdString() == reason.reasonString() ||
           HendouReasonEditor(document_->document()).canRename(reason, text.toStdString());
  };
  outline_->setItemDelegate(renameDelegate_);
  connect(outline_, &QTreeWidget::itemChanged, this, &KaisyahouHoukokusyoController::renameItem);
  connect(outline_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (item && item->data(0, HendouReasonOutline::kKindRole).toInt() == HendouReasonOutline::ShiwakeRow)
      showInputShiwakeWindow();
  });
  addReasonButton_ = new QPushButton(qs("追加"), tab);
  removeReasonButton_ = new QPushButton(qs("削除"), tab);
  openShiwakeButton_ = new QPushButton(qs("仕訳を表示"), tab);
  for (QPushButton* b : {addReasonButton_, removeReasonButton_, openShiwakeButton_}) b->setAutoDefault(false);
  connect(addReasonButton_, &QPushButton::clicked, this, &KaisyahouHoukokusyoController::addHendouReason);
  connect(removeReasonButton_, &QPushButton::clicked, this, &KaisyahouHoukokusyoController::removeHendouReason);
  connect(openShiwakeButton_, &QPushButton::clicked, this, &KaisyahouHoukokusyoController::showInputShiwakeWindow);
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(addReasonButton_);
  buttons->addWidget(removeReasonButton_);
  buttons->addStretch();
  buttons->addWidget(openShiwakeButton_);
  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(new QLabel(qs("仕訳を変動事由へドラッグして振り分けます。"), tab));
  layout->addWidget(outline_);
  layout->addLayout(buttons);
  return tab;
}

// --- filling

void KaisyahouHoukokusyoController::updateUI()
{
  Kaisya& k = document_->document().kaisya();
  general_->load(k, KaisyahouHoukokusyoPrintView::kCoverTitle);

  const bool seizou = k.isSeizou();
  general_->printCheckbox(SeizouGenka)->setText(k.isKensetu() ? qs("完成工事原価報告書") : qs("製造原価報告書"));
  general_->printCheckbox(SeizouGenka)->setEnabled(seizou);
  const bool equity = hasKabunushiShihonKamoku(document_->document());
  general_->printCheckbox(KabunushiShihon)->setEnabled(equity);
  for (QCheckBox* box : general_->printCheckboxes()) box->setChecked(box->isEnabled());
  tabView_->setTabEnabled(indexOfTab(KabunushiShihonTab), equity);
  selectPrintItems();
  {
    const QSignalBlocker block(tabView_);
    selectTab(GeneralTab);
    currentTab_ = GeneralTab;
  }
}

void KaisyahouHoukokusyoController::loadNote()
{
  const std::string& note = document_->document().kaisya().noteOfKaisyahouHoukokusyo();
  noteView_->setHtml(QString::fromUtf8(note.data(), static_cast<qsizetype>(note.size())));
  didEditNote_ = false;
}

void KaisyahouHoukokusyoController::willBeginSheet()
{
  updateUI();
  loadNote();
}

// --- checking and storing

void KaisyahouHoukokusyoController::selectPrintItems()
{
  // On the reasons' tab OK waits, while the statement of changes is chosen, until
  // every entry has a reason.
  const bool waiting = currentTab_ == KabunushiShihonTab && general_->printCheckbox(KabunushiShihon)->isChecked() &&
                       HendouReasonEditor(document_->document()).noReasonHoldsShiwake();
  okButton_->setEnabled(general_->anyPrintItem() && !waiting);
}

void KaisyahouHoukokusyoController::windowDidBecomeKey()
{
  // Back from a voucher or cash book whose entries changed: the outline follows.
  if (currentTab_ == KabunushiShihonTab && !document_->document().isHendouReasonArrayCurrent())
    updateUIOfKabunushiShihon();
}

void KaisyahouHoukokusyoController::applyTab(int tab)
{
  MyDocument& doc = document_->document();
  Kaisya& k = doc.kaisya();
  bool changed = false;
  if (tab == GeneralTab) changed = general_->store(k);
  if (didEditNote_) {
    const QByteArray html = noteView_->document()->isEmpty() ? QByteArray() : noteView_->toHtml().toUtf8();
    k.setNoteOfKaisyahouHoukokusyo(std::string(html.constData(), static_cast<size_t>(html.size())));
    didEditNote_ = false;
    changed = true;
  }
  if (changed) markEdited();
}

bool KaisyahouHoukokusyoController::canSelectTab(int tab)
{
  return tab != KabunushiShihonTab || hasKabunushiShihonKamoku(document_->document());
}

void KaisyahouHoukokusyoController::didSelectTab(int tab)
{
  if (tab == KabunushiShihonTab) updateUIOfKabunushiShihon();
  selectPrintItems();
}

KaisyahouHoukokusyoPrintChoice KaisyahouHoukokusyoController::printChoice() const
{
  KaisyahouHoukokusyoPrintChoice c;
  c.coversheet = general_->printCheckbox(Cover)->isChecked();
  c.taisyakuTaisyouhyou = general_->printCheckbox(TaisyakuTaisyou)->isChecked();
  c.sonekiKeisansyo = general_->printCheckbox(SonekiKeisan)->isChecked();
  c.hanbaihi = general_->printCheckbox(Hanbaihi)->isChecked();
  c.seizougenka = general_->printCheckbox(SeizouGenka)->isChecked();
  c.kabunushiShihon = general_->printCheckbox(KabunushiShihon)->isChecked();
  c.note = general_->printCheckbox(Note)->isChecked();
  c.tateKabunushiShihon = UserDefaults::standardUserDefaults().boolForKey(KIVOTateKabunushiShihonnadoKeisansyoKey);
  return c;
}

bool KaisyahouHoukokusyoController::shouldApplyTab(int tab)
{
  // A reason being renamed ends with its name, unless that name is refused.
  if (tab == KabunushiShihonTab && !renameDelegate_->endEditing()) {
    AlertSheet::beep();
    return false;
  }
  return StatementsSheetController::shouldApplyTab(tab);
}

void KaisyahouHoukokusyoController::endKaisyahouHoukokusyoWindow()
{
  if (!shouldApplyTab(currentTab_)) return;
  if (!general_->anyPrintItem()) {
    AlertSheet::beep();
    selectTab(GeneralTab);
    return;
  }
  if (general_->printCheckbox(KabunushiShihon)->isChecked()) {
    updateUIOfKabunushiShihon();
    if (HendouReasonEditor(document_->document()).noReasonHoldsShiwake()) {
      AlertSheet::beep();
      selectTab(KabunushiShihonTab);
      return;
    }
  }
  applyTab(currentTab_);
  writeReasonsIntoShiwake();
  // Computed while the sheet still shows its progress indicator.
  computeWithProgress([this] {
    MyDocument& doc = document_->document();
    KaisyahouHoukokusyoOptions options;
    options.period = KaisyahouHoukokusyoPeriod::ofKaisya(doc.kaisya());
    options.tateKabunushiShihonTitles = printChoice().tateKabunushiShihon;
    model_.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(doc, 99, options);
    ++computeCount_;
  });
  endSheetWithSender(okButton_);
}

void KaisyahouHoukokusyoController::cancelKaisyahouHoukokusyoWindow() { endSheetWithSender(cancelButton_); }

// Whatever ended the sheet, every entry carries the name of the reason it sits in.
void KaisyahouHoukokusyoController::sheetDidEnd(int) { writeReasonsIntoShiwake(); }

void KaisyahouHoukokusyoController::writeReasonsIntoShiwake()
{
  for (const HendouReasonPtr& r : document_->document().hendouReasonArray())
    for (const ShiwakePtr& s : r->shiwakeArray()) s->setHendouReasonStr(r->reasonString());
}

std::unique_ptr<Printout> KaisyahouHoukokusyoController::makePrintView(const QPageLayout& layout)
{
  return KaisyahouHoukokusyoPrintView::create(document_->document(), model_.statements(), printChoice(), layout);
}

// --- the change reasons

void KaisyahouHoukokusyoController::updateUIOfKabunushiShihon()
{
  MyDocument& doc = document_->document();
  computeWithProgress([&doc] { doc.updateHendouReasonArray(); });
  const Kaisya& k = doc.kaisya();
  const QSignalBlocker block(outline_);
  reloading_ = true;
  // Keep the expanded reasons expanded across the reload.
  QSet<QString> expanded;
  for (int i = 0; i < outline_->topLevelItemCount(); ++i)
    if (outline_->topLevelItem(i)->isExpanded()) expanded.insert(outline_->topLevelItem(i)->text(ReasonColumn));
  outline_->clear();
  const auto& reasons = doc.hendouReasonArray();
  for (size_t i = 0; i < reasons.size(); ++i) {
    const HendouReason& r = *reasons[i];
    auto* item = new QTreeWidgetItem(outline_, {qs(HendouReasonEditor::titleOfReason(r.reasonString()))});
    item->setData(0, HendouReasonOutline::kKindRole, HendouReasonOutline::ReasonRow);
    item->setData(0, HendouReasonOutline::kValueRole, static_cast<int>(i));
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (!HendouReasonEditor::isFixedReason(r.reasonString())) flags |= Qt::ItemIsEditable;
    if (r.reasonString() != MyDocument::kNoReason) flags |= Qt::ItemIsDragEnabled;
    item->setFlags(flags);
    for (const ShiwakePtr& s : r.shiwakeArray()) {
      auto* child = new QTreeWidgetItem(item);
      child->setData(0, HendouReasonOutline::kKindRole, HendouReasonOutline::ShiwakeRow);
      child->setData(0, HendouReasonOutline::kValueRole, QVariant::fromValue(reinterpret_cast<quintptr>(s.get())));
      child->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
      child->setText(ReasonColumn, s->tekiyou().empty() ? QString::number(s->denpyouNo()) : qs(s->tekiyou()));
      child->setText(DateColumn, qs(periodFormatter_->stringForObjectValue(FieldValue::date(s->date())).value_or("")));
      const auto side = [&](int32_t kamoku, int64_t kingaku, int kamokuColumn, int kingakuColumn) {
        if (kamoku == -1) return;
        child->setText(kamokuColumn, qs(kamokuFormatter_->stringForObjectValue(FieldValue::code(kamoku)).value_or("")));
        child->setText(kingakuColumn, qs(k.displayStringOfMemoryKingaku(kingaku)));
        child->setTextAlignment(kingakuColumn, Qt::AlignRight | Qt::AlignVCenter);
      };
      side(s->karikataKamokuCode(), s->karikataKingaku(), KarikataKamokuColumn, KarikataKingakuColumn);
      side(s->kashikataKamokuCode(), s->kashikataKingaku(), KashikataKamokuColumn, KashikataKingakuColumn);
    }
    if (expanded.contains(item->text(ReasonColumn)) || r.reasonString() == MyDocument::kNoReason)
      item->setExpanded(true);
  }
  reloading_ = false;
  selectPrintItems();
}

HendouReasonPtr KaisyahouHoukokusyoController::reasonOfItem(const QTreeWidgetItem* item) const
{
  if (!item || item->data(0, HendouReasonOutline::kKindRole).toInt() != HendouReasonOutline::ReasonRow) return nullptr;
  const auto& reasons = document_->document().hendouReasonArray();
  const int i = item->data(0, HendouReasonOutline::kValueRole).toInt();
  return i >= 0 && i < static_cast<int>(reasons.size()) ? reasons[i] : nullptr;
}

ShiwakePtr KaisyahouHoukokusyoController::shiwakeOfItem(const QTreeWidgetItem* item) const
{
  if (!item || item->data(0, HendouReasonOutline::kKindRole).toInt() != HendouReasonOutline::ShiwakeRow) return nullptr;
  const auto* key = reinterpret_cast<const Shiwake*>(item->data(0, HendouReasonOutline::kValueRole).value<quintptr>());
  for (const HendouReasonPtr& r : document_->document().hendouReasonArray())
    for (const ShiwakePtr& s : r->shiwakeArray())
      if (s.get() == key) return s;
  return nullptr;
}

QTreeWidgetItem* KaisyahouHoukokusyoController::selectedItem() const
{
  const QList<QTreeWidgetItem*> items = outline_->selectedItems();
  return items.isEmpty() ? nullptr : items.first();
}

void KaisyahouHoukokusyoController::selectRow(QTreeWidgetItem* item)
{
  outline_->clearSelection();
  if (!item) return;
  outline_->setCurrentItem(item);
  item->setSelected(true);
}

void KaisyahouHoukokusyoController::renameItem(QTreeWidgetItem* item, int column)
{
  if (reloading_ || column != ReasonColumn) return;
  const HendouReasonPtr reason = reasonOfItem(item);
  if (!reason) return;
  HendouReasonEditor editor(document_->document());
  if (!editor.rename(reason, item->text(ReasonColumn).toStdString())) {
    // An empty name or another reason's: refused, the name stays.
    AlertSheet::beep();
    const QSignalBlocker block(outline_);
    item->setText(ReasonColumn, qs(reason->reasonString()));
  }
}

void KaisyahouHoukokusyoController::addHendouReason()
{
  // Nothing is added while a refused name is being typed.
  if (!renameDelegate_->endEditing()) return AlertSheet::beep();
  HendouReasonEditor editor(document_->document());
  if (const ShiwakePtr s = shiwakeOfItem(selectedItem())) {
    if (const HendouReasonPtr r = editor.addReasonFromShiwake(s)) {
      updateUIOfKabunushiShihon();
      return;
    }
  }
  const HendouReasonPtr r = editor.addReason();
  updateUIOfKabunushiShihon();
  QTreeWidgetItem* item = outline_->topLevelItem(outline_->topLevelItemCount() - 1);
  selectRow(item);
  if (item && item->text(ReasonColumn) == qs(r->reasonString())) outline_->editItem(item, ReasonColumn);
}

void KaisyahouHoukokusyoController::removeHendouReason()
{
  QTreeWidgetItem* item = selectedItem();
  const HendouReasonPtr reason = reasonOfItem(item);
  if (!reason) return;
  const int row = outline_->indexOfTopLevelItem(item);
  if (!HendouReasonEditor(document_->document()).removeReason(reason)) return;
  updateUIOfKabunushiShihon();
  const int count = outline_->topLevelItemCount();
  if (count > 0) selectRow(outline_->topLevelItem(std::min(row, count - 1)));
}

void KaisyahouHoukokusyoController::showInputShiwakeWindow()
{
  const ShiwakePtr shiwake = shiwakeOfItem(selectedItem());
  if (!shiwake || !document_->canShowFurikaedenpyouWindow()) return;
  if (shiwake->kindOfShiwake() == ShiwakeKind::Furikaedenpyou) {
    FurikaedenpyouController::showDenpyouOfDenpyouNo(document_, shiwake->denpyouNo());
    return;
  }
  if (const auto book = Suitoucyou::bookOfShiwake(document_->document(), *shiwake))
    SuitoucyouController::showSuitoucyouAtDenpyouNo(document_, book->first, book->second, shiwake->denpyouNo());
}

QMimeData* KaisyahouHoukokusyoController::writeItems(const QList<QTreeWidgetItem*>& items)
{
  // One line per dragged row: "R" and a reason's name, or "S" and an entry's place in
  // the sorted journal. "no reason" is never dragged.
  MyDocument& doc = document_->document();
  const auto& sorted = doc.journal().sortedByDate();
  QStringList lines;
  for (const QTreeWidgetItem* item : items) {
    if (const HendouReasonPtr r = reasonOfItem(item)) {
      if (r->reasonString() == MyDocument::kNoReason) return nullptr;
      lines << qs("R") + qs(r->reasonString());
    } else if (const ShiwakePtr s = shiwakeOfItem(item)) {
      const auto at = std::find(sorted.begin(), sorted.end(), s);
      if (at != sorted.end()) lines << qs("S") + QString::number(at - sorted.begin());
    }
  }
  if (lines.isEmpty()) return nullptr;
  auto* data = new QMimeData();
  data->setData(QString::fromUtf8(HendouReasonOutline::kMimeType), lines.join('\n').toUtf8());
  return data;
}

bool KaisyahouHoukokusyoController::acceptDrop(QTreeWidgetItem* parent, int index, const QMimeData* data)
{
  const QString first =
      QString::fromUtf8(data->data(QString::fromUtf8(HendouReasonOutline::kMimeType))).section('\n', 0, 0);
  if (first.size() < 2) return false;
  MyDocument& doc = document_->document();
  HendouReasonEditor editor(doc);
  bool done = false;
  if (first.startsWith('R')) {
    done = !parent && editor.moveReason(editor.reasonNamed(first.mid(1).toStdString()), index);
  } else if (first.startsWith('S')) {
    const auto& sorted = doc.journal().sortedByDate();
    bool ok = false;
    const int i = first.mid(1).toInt(&ok);
    const HendouReasonPtr target = reasonOfItem(parent);
    if (ok && i >= 0 && i < static_cast<int>(sorted.size()) && target) done = editor.moveShiwake(sorted[i], target);
  }
  // The outline is rebuilt once the drop has finished with its items.
  if (done)
    QMetaObject::invokeMethod(
        this, [this] { updateUIOfKabunushiShihon(); }, Qt::QueuedConnection);
  return done;
}

}  // namespace kivo
