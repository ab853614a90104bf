#include "fields/gui/FormatterListWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "fields/StopChar.h"
#include "platform/FieldMessage.h"
#include "platform/WindowPlacement.h"

namespace kivo {
namespace {

constexpr int kRowRole = Qt::UserRole;
constexpr int kVisibleListRows = 14;
constexpr int kMaxNameColumnWidth = 320;

QString textOfColumn(const FormatterList::Row& row, FormatterListWindow::Column column)
{
  switch (column) {
  case FormatterListWindow::Column::Code: return QString::fromStdString(row.codeText);
  case FormatterListWindow::Column::Name: return QString::fromStdString(row.name);
  case FormatterListWindow::Column::Kana: return QString::fromStdString(row.kana);
  }
  return {};
}

}  // namespace

FormatterListWindow::FormatterListWindow(const QString& title, FormatterList list,
                                         std::vector<std::pair<Column, QString>> columns, QWidget* parent)
    : StopKeyDialog(parent), list_(std::move(list)), columns_(std::move(columns))
{
  setWindowTitle(title);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* searchLabel = new QLabel(tr("検索:"), this);
  searchField_ = new QLineEdit(this);
  searchField_->setClearButtonEnabled(true);
  QStringList searchable;
  for (const auto& [column, header] : columns_) searchable << header;
  searchField_->setPlaceholderText(searchable.join(QStringLiteral("・")));
  searchLabel->setBuddy(searchField_);
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(searchField_, 1);

  listView_ = new QTreeWidget(this);
  listView_->setColumnCount(static_cast<int>(columns_.size()));
  QStringList headers;
  for (const auto& [column, header] : columns_) headers << header;
  listView_->setHeaderLabels(headers);
  listView_->setRootIsDecorated(false);
  listView_->setIndentation(16);
  listView_->setUniformRowHeights(true);
  listView_->setAlternatingRowColors(true);
  listView_->setSelectionMode(QAbstractItemView::SingleSelection);
  listView_->setFocusPolicy(Qt::NoFocus);
  listView_->setAllColumnsShowFocus(true);
  listView_->header()->setSectionsMovable(false);

  hintLabel_ = new QLabel(tr("↑↓: 選択　Enter・Tab: 決定　Esc: キャンセル"), this);
  QFont hintFont = hintLabel_->font();
  hintFont.setPointSizeF(hintFont.pointSizeF() * 0.85);
  hintLabel_->setFont(hintFont);
  hintLabel_->setForegroundRole(QPalette::PlaceholderText);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 6);
  layout->setSpacing(6);
  layout->addLayout(searchRow);
  layout->addWidget(listView_, 1);
  layout->addWidget(hintLabel_);

  watchTextField(searchField_);
  connect(searchField_, &QLineEdit::textChanged, this, &FormatterListWindow::refill);
  connect(listView_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (item->flags() & Qt::ItemIsSelectable) closeWithStopChar(StopChar::kReturn);
  });
  sizeColumns();
  refill();
}

void FormatterListWindow::sizeColumns()
{
  // Widths from the whole list, so that they stay put while the search narrows it.
  const QFontMetrics fm(listView_->font());
  const QFontMetrics headerFm(listView_->header()->font());
  const bool hasChildren =
      std::any_of(list_.rows().begin(), list_.rows().end(), [](const FormatterList::Row& r) { return r.parent >= 0; });
  int total = 0;
  for (int c = 0; c < static_cast<int>(columns_.size()); ++c) {
    int width = headerFm.horizontalAdvance(columns_[c].second);
    for (const FormatterList::Row& row : list_.rows())
      width = std::max(width, fm.horizontalAdvance(textOfColumn(row, columns_[c].first)));
    width += 24;
    if (c == 0 && hasChildren) width += listView_->indentation();
    if (columns_[c].first == Column::Name) width = std::clamp(width, 160, kMaxNameColumnWidth);
    if (columns_[c].first == Column::Kana) width = std::max(width, 100);
    listView_->setColumnWidth(c, width);
    total += width;
  }
  const int rowHeight = fm.height() + 6;
  const int listWidth = total + listView_->verticalScrollBar()->sizeHint().width() + 2 * listView_->frameWidth();
  const int listHeight = rowHeight * kVisibleListRows + listView_->header()->sizeHint().height();
  listView_->setMinimumSize(std::max(listWidth, 260), listHeight);
  resize(sizeHint());
}

void FormatterListWindow::refill()
{
  const std::string search = searchField_->text().toStdString();
  const std::vector<int> visible = list_.visibleRows(search);
  listView_->clear();
  itemOfRow_.assign(list_.rows().size(), nullptr);
  for (int i : visible) {
    const FormatterList::Row& row = list_.rows()[i];
    QTreeWidgetItem* parent = row.parent >= 0 ? itemOfRow_[row.parent] : nullptr;
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(listView_);
    for (int c = 0; c < static_cast<int>(columns_.size()); ++c) item->setText(c, textOfColumn(row, columns_[c].first));
    item->setData(0, kRowRole, i);
    if (!row.selectable) {
      item->setFlags(Qt::ItemIsEnabled);
      QFont bold = item->font(0);
      bold.setBold(true);
      item->setFont(0, bold);
      item->setFirstColumnSpanned(true);
    }
    itemOfRow_[i] = item;
  }
  listView_->expandAll();
  selectRow(list_.preferredRow(visible, search));
}

void FormatterListWindow::selectRow(int row)
{
  QTreeWidgetItem* item = row >= 0 ? itemOfRow_[row] : nullptr;
  listView_->setCurrentItem(item);
  if (item) listView_->scrollToItem(item);
}

int FormatterListWindow::selectedRow() const
{
  QTreeWidgetItem* item = listView_->currentItem();
  if (!item || !item->isSelected() || !(item->flags() & Qt::ItemIsSelectable)) return -1;
  return item->data(0, kRowRole).toInt();
}

void FormatterListWindow::moveSelection(int delta)
{
  std::vector<int> selectable;
  for (size_t i = 0; i < itemOfRow_.size(); ++i)
    if (itemOfRow_[i] && list_.rows()[i].selectable) selectable.push_back(static_cast<int>(i));
  if (selectable.empty()) return;
  const auto it = std::find(selectable.begin(), selectable.end(), selectedRow());
  int pos = it == selectable.end() ? (delta > 0 ? -1 : static_cast<int>(selectable.size()))
                                   : static_cast<int>(it - selectable.begin());
  pos = std::clamp(pos + delta, 0, static_cast<int>(selectable.size()) - 1);
  selectRow(selectable[pos]);
}

void FormatterListWindow::closeWithStopChar(uint16_t stopChar)
{
  const int row = selectedRow();
  if (row < 0) {
    QApplication::beep();
    FieldMessage::show(searchField_, tr("一致する項目がありません。検索する文字を直すか、Esc で閉じてください。"));
    return;
  }
  chosenRow_ = row;
  stopChar_ = stopChar;
  accept();
}

void FormatterListWindow::reject()
{
  chosenRow_ = -1;
  stopChar_ = StopChar::kNone;
  QDialog::reject();
}

bool FormatterListWindow::handleOtherKey(QKeyEvent* event)
{
  switch (event->key()) {
  case Qt::Key_Up: moveSelection(-1); return true;
  case Qt::Key_Down: moveSelection(1); return true;
  case Qt::Key_PageUp: moveSelection(-(kVisibleListRows - 1)); return true;
  case Qt::Key_PageDown: moveSelection(kVisibleListRows - 1); return true;
  default: return false;
  }
}

int FormatterListWindow::runModal(const QPoint& topLeftPoint, const QString& searchText)
{
  stopChar_ = StopChar::kNone;
  chosenRow_ = -1;
  searchField_->setText(searchText);
  refill();  // also when the text did not change
  searchField_->setFocus();
  searchField_->deselect();
  searchField_->end(false);
  move(WindowPlacement::keptOnScreen(QRect(topLeftPoint, size()), WindowPlacement::availableGeometryAt(topLeftPoint)));
  runModalKeepingKeys();
  return chosenRow_;
}

}  // namespace kivo
