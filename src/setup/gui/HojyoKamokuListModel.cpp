#include "setup/gui/HojyoKamokuListModel.h"

#include <QBrush>
#include <QColor>

#include "fields/AmountFormatter.h"
#include "fields/FieldText.h"
#include "platform/QtStrings.h"
#include "setup/KamokuListEditor.h"

namespace kivo {

HojyoKamokuListModel::HojyoKamokuListModel(KamokuListEditor& editor, const Kaisya& kaisya, QObject* parent)
    : QAbstractTableModel(parent),
      editor_(&editor),
      kaisya_(&kaisya),
      amountFormatter_(std::make_unique<AmountFormatter>(kaisya.decimalPrecision(), AmountFormatter::Range::Input))
{
}

HojyoKamokuListModel::~HojyoKamokuListModel() = default;

void HojyoKamokuListModel::setKamokuIndex(int kamokuIndex)
{
  if (kamokuIndex == kamokuIndex_) return;
  beginResetModel();
  kamokuIndex_ = kamokuIndex;
  endResetModel();
}

void HojyoKamokuListModel::setJigyoubuCode(int32_t code)
{
  jigyoubuCode_ = code;
  if (rowCount() > 0) emit dataChanged(index(0, BalanceColumn), index(rowCount() - 1, BalanceColumn));
}

void HojyoKamokuListModel::reload()
{
  beginResetModel();
  endResetModel();
}

int HojyoKamokuListModel::rowCount(const QModelIndex& parent) const
{
  if (parent.isValid() || kamokuIndex_ < 0) return 0;
  return static_cast<int>(editor_->row(kamokuIndex_).hojyo.size());
}

int HojyoKamokuListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant HojyoKamokuListModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || kamokuIndex_ < 0 || index.row() >= rowCount()) return {};
  const KamokuListEditor::KamokuRow& r = editor_->row(kamokuIndex_);
  const KamokuListEditor::HojyoRow& h = r.hojyo[index.row()];
  if (role == Qt::ForegroundRole && !h.isActive) return QBrush(QColor(150, 150, 150));
  if (role == Qt::TextAlignmentRole) {
    if (index.column() == BalanceColumn) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (index.column() == CodeColumn || index.column() == KeyColumn) return int(Qt::AlignCenter);
    return {};
  }
  if (role == Qt::CheckStateRole)
    return index.column() == ActiveColumn ? QVariant(h.isActive ? Qt::Checked : Qt::Unchecked) : QVariant();
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  switch (index.column()) {
  case CodeColumn: return QString::asprintf("%02d", h.code);
  case NameColumn: return qs(h.name);
  case KanaColumn: return qs(h.kana);
  case KeyColumn: return r.isSuitouKamoku && h.keyEquivalent > 0 ? QString::number(h.keyEquivalent) : QString();
  case BalanceColumn: {
    const int64_t b = h.startBalance.balanceOfJigyoubuCode(jigyoubuCode_);
    if (b == 0 && !(h.isActive && editor_->canEditStartBalance(kamokuIndex_, jigyoubuCode_))) return QString();
    return qs(kaisya_->displayStringOfMemoryKingaku(b));
  }
  default: return {};
  }
}

Qt::ItemFlags HojyoKamokuListModel::flags(const QModelIndex& index) const
{
  if (!index.isValid() || kamokuIndex_ < 0) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const KamokuListEditor::KamokuRow& r = editor_->row(kamokuIndex_);
  const KamokuListEditor::HojyoRow& h = r.hojyo[index.row()];
  switch (index.column()) {
  case CodeColumn:
  case NameColumn:
  case KanaColumn: f |= Qt::ItemIsEditable; break;
  case ActiveColumn: f |= Qt::ItemIsUserCheckable; break;
  case KeyColumn:
    if (r.isSuitouKamoku) f |= Qt::ItemIsEditable;
    break;
  case BalanceColumn:
    if (h.isActive && editor_->canEditStartBalance(kamokuIndex_, jigyoubuCode_)) f |= Qt::ItemIsEditable;
    break;
  default: break;
  }
  return f;
}

bool HojyoKamokuListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
  if (!index.isValid() || kamokuIndex_ < 0 || index.row() >= rowCount()) return false;
  const int k = kamokuIndex_;
  const int h = index.row();
  std::string refusal;
  bool isCommandRefusal = false;
  if (role == Qt::CheckStateRole && index.column() == ActiveColumn) {
    refusal = editor_->setHojyoIsActive(k, h, value.toInt() == Qt::Checked);
    isCommandRefusal = true;
  } else if (role == Qt::EditRole) {
    const std::string text = value.toString().toStdString();
    switch (index.column()) {
    case CodeColumn: {
      const std::string digits = FieldText::normalizedInput(text);
      if (digits.empty() || digits.size() > 2 || !FieldText::isAsciiDigits(digits))
        refusal = "補助科目のコードは、00から99までの数字で入力してください。";
      else
        refusal = editor_->setHojyoCode(k, h, std::stoi(digits));
      break;
    }
    case NameColumn: refusal = editor_->setHojyoName(k, h, text); break;
    case KanaColumn: refusal = editor_->setHojyoKana(k, h, text); break;
    case KeyColumn: refusal = editor_->setHojyoKeyEquivalent(k, h, text); break;
    case BalanceColumn: {
      FieldValue v;
      std::string error;
      if (!amountFormatter_->getObjectValue(v, text, &error)) {
        refusal = error;
        break;
      }
      refusal = editor_->setHojyoStartBalance(k, h, jigyoubuCode_, v.amountValue());
      break;
    }
    default: return false;
    }
  } else {
    return false;
  }
  if (!refusal.empty()) {
    emit refused(QString::fromUtf8(isCommandRefusal ? "実行できません" : KamokuListEditor::kInvalidTitle), qs(refusal));
    return false;
  }
  emit dataChanged(this->index(h, 0), this->index(h, ColumnCount - 1));
  emit edited();
  return true;
}

QVariant HojyoKamokuListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  static const char* const titles[] = {"コード", "補助科目", "カナ", "有効", "キー", "開始残高"};
  return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

}  // namespace kivo
