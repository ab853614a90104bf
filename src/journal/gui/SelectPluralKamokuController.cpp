#include "journal/gui/SelectPluralKamokuController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "document/gui/OpenDocument.h"
#include "fields/KamokuFormatter.h"
#include "fields/gui/KamokuFormatterListWindow.h"
#include "journal/gui/KanjyoumotocyouPrinting.h"
#include "model/KamokuKubun.h"
#include "platform/QtStrings.h"

namespace kivo {
namespace {

QTreeWidgetItem* makeItem(LedgerChoiceTree* outline, QTreeWidgetItem* parent)
{
  return parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(outline);
}

int countKamoku(const KamokuKubun& kubun, bool chosen)
{
  return chosen ? kubun.numberOfTempSelectedChildrenKamoku() : kubun.numberOfTempUnselectedChildrenKamoku();
}

}  // namespace

SelectPluralKamokuController::SelectPluralKamokuController(OpenDocument* document)
    : SelectPluralLedgerSheet(document, qs("複数の総勘定元帳をプリント"), qs(kKamokuArrayDataPboardType))
{
  searchFormatter_ = std::make_unique<KamokuFormatter>(document->document(), false);
  searchKamokuField_ = new QLineEdit(this);
  searchKamokuField_->setPlaceholderText(qs("コードまたは読みで検索"));
  auto* row = new QHBoxLayout();
  row->addWidget(new QLabel(qs("勘定科目を検索:"), this));
  row->addWidget(searchKamokuField_, 1);
  topLayout()->addLayout(row);
  connect(searchKamokuField_, &QLineEdit::returnPressed, this,
          &SelectPluralKamokuController::searchKamokuFromOutlineView);
}

SelectPluralKamokuController::~SelectPluralKamokuController() = default;

SelectPluralKamokuController* SelectPluralKamokuController::controllerOfDocument(OpenDocument* document)
{
  using Owned = OpenDocument::OwnedController;
  auto* sheet = document->ownedControllerAs<SelectPluralKamokuController>(Owned::SelectPluralKamoku);
  if (!sheet) {
    sheet = new SelectPluralKamokuController(document);
    document->setOwnedController(Owned::SelectPluralKamoku, sheet);
  }
  return sheet;
}

void SelectPluralKamokuController::updateUI()
{
  searchKamokuField_->clear();
  SelectPluralLedgerSheet::updateUI();
}

void SelectPluralKamokuController::fillOutline(LedgerChoiceTree* outline, bool chosen)
{
  if (const KamokuKubunPtr& root = document()->document().rootKamokuKubun()) addKubun(outline, nullptr, *root, chosen);
  outline->expandToDepth(0);
}

void SelectPluralKamokuController::addKubun(LedgerChoiceTree* outline, QTreeWidgetItem* parent,
                                            const KamokuKubun& kubun, bool chosen)
{
  // Sub-categories first, then the category's own accounts: both, so that no account
  // is out of reach.
  for (const KamokuKubunPtr& child : kubun.children()) {
    if (!child || countKamoku(*child, chosen) == 0) continue;
    QTreeWidgetItem* item = makeItem(outline, parent);
    item->setText(0, qs(child->kubunName()));
    item->setData(0, LedgerChoiceTree::kKamokuCodeRole, -2);
    addKubun(outline, item, *child, chosen);
  }
  for (const KamokuPtr& k : kubun.childrenKamoku()) {
    if (!k || !k->isActive() || k->isTempSelected() != chosen) continue;
    QTreeWidgetItem* item = makeItem(outline, parent);
    item->setText(1, QString::number(k->code()));
    item->setText(0, qs(k->name()));
    item->setData(0, LedgerChoiceTree::kKamokuCodeRole, k->code());
    item->setData(0, LedgerChoiceTree::kHojyoKamokuCodeRole, -1);
  }
}

void SelectPluralKamokuController::setLedgerChosen(const Ledger& ledger, bool chosen)
{
  if (const KamokuPtr k = document()->document().kamokuOfCode(ledger.first)) k->setIsTempSelected(chosen);
}

void SelectPluralKamokuController::printChosen(QWidget* window, bool preview)
{
  std::vector<std::pair<int32_t, int32_t>> pairs;
  for (const KamokuPtr& k : document()->document().codeSortedKamokuArray())
    if (k->isTempSelected()) pairs.emplace_back(k->code(), -1);
  KanjyoumotocyouPrinting::printLedgers(document(), window, pairs, periodFromMonthArrayIndex(),
                                        periodToMonthArrayIndex(), preview, kNoKamokuMessage);
}

void SelectPluralKamokuController::searchKamokuFromOutlineView()
{
  FieldValue value;
  std::string error;
  const std::string typed = searchKamokuField_->text().toStdString();
  // A Return that searches is the field's, not the print button's.
  if (!typed.empty()) takeReturnKey(searchKamokuField_);
  if (!typed.empty() && searchFormatter_->getObjectValue(value, typed, &error) && value.isCode()) {
    const KamokuPtr k = document()->document().kamokuOfCode(value.codeValue());
    if (k && k->isActive()) {
      LedgerChoiceTree* outline = k->isTempSelected() ? selectedOutlineView() : unselectedOutlineView();
      outline->setFocus();
      outline->expandAll();
      outline->clearSelection();
      QTreeWidgetItemIterator it(outline);
      for (; *it; ++it)
        if ((*it)->data(0, LedgerChoiceTree::kKamokuCodeRole).toInt() == k->code()) {
          outline->setCurrentItem(*it);
          (*it)->setSelected(true);
          outline->scrollToItem(*it);
          break;
        }
    }
  } else if (!typed.empty()) {
    const QPoint topLeft = searchKamokuField_->mapToGlobal(QPoint(0, 0));
    const int32_t code = KamokuFormatterListWindow::showKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
        *searchFormatter_, topLeft, searchKamokuField_->text(), false, this);
    if (code != -1) {
      const auto text = searchFormatter_->stringForObjectValue(FieldValue::code(code));
      if (text) searchKamokuField_->setText(qs(*text));
    }
  }
  searchKamokuField_->selectAll();
}

}  // namespace kivo
