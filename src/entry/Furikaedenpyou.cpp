#include "entry/Furikaedenpyou.h"

#include <algorithm>
#include <cstdio>

#include "entry/FurikaedenpyouRegistrar.h"
#include "model/CappedAmount.h"

namespace kivo {
namespace {

using Row = FurikaedenpyouRow;

std::string formatRowMessage(const char* format, int row)
{
  char buf[256];
  std::snprintf(buf, sizeof buf, format, row);
  return buf;
}

}  // namespace

Furikaedenpyou::Furikaedenpyou(MyDocument& document) : document_(&document)
{
  setUpEditableMattrixArray();
  renewDenpyouRows(1);
}

// --- columns

void Furikaedenpyou::setUpEditableMattrixArray()
{
  hasHojyoKamokuColumns_ = document_->doesHaveKamokuWhichHasActiveHojyoKamoku();
  hasJigyoubuColumns_ = document_->numberOfActiveJigyoubu() > 0;
  editableMattrixArray_.clear();
  editableMattrixArray_.push_back(Row::DateMatrix);
  for (const Row::Side* side : {&Row::kKarikata, &Row::kKashikata}) {
    editableMattrixArray_.push_back(side->kamoku);
    if (hasHojyoKamokuColumns_) editableMattrixArray_.push_back(side->hojyoKamoku);
    editableMattrixArray_.push_back(side->kingaku);
    if (hasJigyoubuColumns_) editableMattrixArray_.push_back(side->jigyoubu);
  }
  editableMattrixArray_.push_back(Row::TekiyouMatrix);
}

int Furikaedenpyou::indexOfEditableColumn(Column c) const
{
  auto it = std::find(editableMattrixArray_.begin(), editableMattrixArray_.end(), c);
  return it == editableMattrixArray_.end() ? -1 : static_cast<int>(it - editableMattrixArray_.begin());
}

bool Furikaedenpyou::hasHiddenShiwake() const
{
  const Journal::Entries& lines = document_->journal().entriesOfDenpyouNo(displayingDenpyouNo_);
  return std::any_of(lines.begin(), lines.end(), [](const ShiwakePtr& s) { return s->didCreateBeforeOpen(); });
}

// --- rows

FieldValue Furikaedenpyou::cell(int r, Column c) const
{
  if (c == Row::DenpyouNoMatrix) return FieldValue::code(displayingDenpyouNo_);
  return rows_[r].cell(c);
}

void Furikaedenpyou::setCell(int r, Column c, FieldValue v)
{
  if (c == Row::DenpyouNoMatrix) return;
  rows_[r].cell(c) = std::move(v);
}

void Furikaedenpyou::renewDenpyouRows(int n)
{
  rows_.assign(std::max(n, 1), FurikaedenpyouRow());
  selectedRow_ = -1;
}

void Furikaedenpyou::insertDenpyouRow(int r)
{
  r = std::clamp(r, 0, numberOfDenpyouRows());
  rows_.insert(rows_.begin() + r, FurikaedenpyouRow());
  if (selectedRow_ >= r) ++selectedRow_;
}

void Furikaedenpyou::removeDenpyouRow(int r)
{
  if (r < 0 || r >= numberOfDenpyouRows()) return;
  rows_.erase(rows_.begin() + r);
  if (selectedRow_ == r)
    selectedRow_ = -1;
  else if (selectedRow_ > r)
    --selectedRow_;
}

void Furikaedenpyou::setAllDateMatrixCellValuesEqualToValueAtRow(int r)
{
  if (r < 0 || r >= numberOfDenpyouRows()) return;
  const FieldValue date = rows_[r].cell(Row::DateMatrix);
  if (!date.isDate()) return;
  for (FurikaedenpyouRow& row : rows_) row.cell(Row::DateMatrix) = date;
}

void Furikaedenpyou::textDidChangeAtRow(int r, Column c)
{
  if (r < 0 || r >= numberOfDenpyouRows() || !Row::isKamokuColumn(c)) return;
  FieldValue& hojyo = rows_[r].cell(Row::sideOfColumn(c).hojyoKamoku);
  if (!Row::isEmptyCell(hojyo)) hojyo = FieldValue::text("");
}

// --- selection

int Furikaedenpyou::selectedEditableIndex() const
{
  return selectedRow_ < 0 ? -1 : indexOfEditableColumn(selectedColumn_);
}

void Furikaedenpyou::selectCell(int r, Column c)
{
  if (r < 0 || r >= numberOfDenpyouRows()) return;
  selectedRow_ = r;
  selectedColumn_ = c;
}

// --- balance

std::optional<int64_t> Furikaedenpyou::taisyakuBalance() const
{
  const int64_t limit = document_->kaisya().maxOutputAmountValue();
  int64_t balance = 0;
  for (const FurikaedenpyouRow& row : rows_) {
    const FieldValue& kariKamoku = row.cell(Row::KarikataKamokuMatrix);
    const FieldValue& kariKingaku = row.cell(Row::KarikataKingakuMatrix);
    if (Row::holdsNumber(kariKamoku) && kariKingaku.isAmount()) {
      balance = capped::add(balance, kariKingaku.amountValue());
      if (balance > limit) return std::nullopt;
    }
    const FieldValue& kashiKamoku = row.cell(Row::KashikataKamokuMatrix);
    const FieldValue& kashiKingaku = row.cell(Row::KashikataKingakuMatrix);
    if (Row::holdsNumber(kashiKamoku) && kashiKingaku.isAmount()) {
      balance = capped::sub(balance, kashiKingaku.amountValue());
      if (balance < -limit) return std::nullopt;
    }
  }
  return balance;
}

// --- checks

bool Furikaedenpyou::isEmptyDenpyouRow(int r) const
{
  for (Column c : editableMattrixArray_)
    if (c != Row::DateMatrix && !Row::isEmptyCell(rows_[r].cell(c))) return false;
  return true;
}

KamokuPtr Furikaedenpyou::activeKamokuOfCode(int32_t code) const
{
  KamokuPtr k = document_->kamokuOfCode(code);
  return k && k->isActive() ? k : nullptr;
}

FurikaedenpyouCheckResult Furikaedenpyou::checkSide(int r, const Row::Side& side, const char* hojyoMessage,
                                                    const char* jigyoubuMessage, const char* kingakuMessage) const
{
  const FurikaedenpyouRow& row = rows_[r];
  const int shown = r + 1;
  // The account is looked up by its whole code: a shorter code must not stand for
  // a longer one that merely starts with the same digits.
  const KamokuPtr kamoku = activeKamokuOfCode(row.cell(side.kamoku).codeValue());
  if (kamoku && kamoku->activeHojyoKamokuNum() > 0 && !Row::holdsNumber(row.cell(side.hojyoKamoku)))
    return FurikaedenpyouCheckResult::failed(formatRowMessage(hojyoMessage, shown), r, side.hojyoKamoku);
  if (document_->numberOfActiveJigyoubu() > 0 && !Row::holdsNumber(row.cell(side.jigyoubu)))
    return FurikaedenpyouCheckResult::failed(formatRowMessage(jigyoubuMessage, shown), r, side.jigyoubu);
  if (Row::isEmptyCell(row.cell(side.kingaku)))
    return FurikaedenpyouCheckResult::failed(formatRowMessage(kingakuMessage, shown), r, side.kingaku);
  return FurikaedenpyouCheckResult::passed();
}

FurikaedenpyouCheckResult Furikaedenpyou::doAllDenpyouCellsHaveValidObjectValuesAtRow(int r) const
{
  const int count = numberOfDenpyouRows();
  if (r < 0 || r >= count) return FurikaedenpyouCheckResult::passed();
  if (r == count - 1 && count > 1 && isEmptyDenpyouRow(r)) return FurikaedenpyouCheckResult::passed();

  const FurikaedenpyouRow& row = rows_[r];
  const int shown = r + 1;
  if (!row.cell(Row::DateMatrix).isDate())
    return FurikaedenpyouCheckResult::failed(formatRowMessage(kDateMessage, shown), r, Row::DateMatrix);

  const bool hasKarikata = Row::holdsNumber(row.cell(Row::KarikataKamokuMatrix));
  if (hasKarikata) {
    FurikaedenpyouCheckResult side =
        checkSide(r, Row::kKarikata, kKarikataHojyoKamokuMessage, kKarikataJigyoubuMessage, kKarikataKingakuMessage);
    if (!side) return side;
  } else if (!Row::isEmptyCell(row.cell(Row::KarikataKingakuMatrix)) ||
             Row::holdsNumber(row.cell(Row::KarikataJigyoubuMatrix))) {
    return FurikaedenpyouCheckResult::failed(formatRowMessage(kKarikataKamokuMessage, shown), r,
                                             Row::KarikataKamokuMatrix);
  }

  const bool hasKashikata = Row::holdsNumber(row.cell(Row::KashikataKamokuMatrix));
  if (hasKashikata) {
    FurikaedenpyouCheckResult side = checkSide(r, Row::kKashikata, kKashikataHojyoKamokuMessage,
                                               kKashikataJigyoubuMessage, kKashikataKingakuMessage);
    if (!side) return side;
  } else {
    if (!hasKarikata)
      return FurikaedenpyouCheckResult::failed(formatRowMessage(kNeitherSideMessage, shown), r,
                                               Row::KarikataKamokuMatrix);
    if (!Row::isEmptyCell(row.cell(Row::KashikataKingakuMatrix)) ||
        Row::holdsNumber(row.cell(Row::KashikataJigyoubuMatrix)))
      return FurikaedenpyouCheckResult::failed(formatRowMessage(kKashikataKamokuMessage, shown), r,
                                               Row::KashikataKamokuMatrix);
  }

  if (r > 0) return FurikaedenpyouCheckResult::passed();
  if (!hasKarikata || !hasKashikata)
    return FurikaedenpyouCheckResult::failed(formatRowMessage(kBothSidesMessage, 1), 0,
                                             hasKarikata ? Row::KashikataKamokuMatrix : Row::KarikataKamokuMatrix);
  return FurikaedenpyouCheckResult::passed();
}

FurikaedenpyouCheckResult Furikaedenpyou::isDenpyouAbleToSetShiwakeArray()
{
  if (selectedRow_ >= 0 && selectedColumn_ == Row::DateMatrix)
    setAllDateMatrixCellValuesEqualToValueAtRow(selectedRow_);

  if (hasHiddenShiwake()) return FurikaedenpyouCheckResult::failed(kHiddenShiwakeMessage);
  const bool becomesRegularType =
      displayingDenpyouNo_ > 0 && rows_[0].cell(Row::DateMatrix).dateValue() == Date::regularTypeDenpyouDate();
  if (isBeyondDenpyouNoLimit() && !becomesRegularType)
    return FurikaedenpyouCheckResult::failed(kDenpyouNoExhaustedMessage);

  for (int r = 0; r < numberOfDenpyouRows(); ++r) {
    FurikaedenpyouCheckResult row = doAllDenpyouCellsHaveValidObjectValuesAtRow(r);
    if (!row) return row;
  }
  const std::optional<int64_t> balance = taisyakuBalance();
  if (!balance) return FurikaedenpyouCheckResult::failed(kBalanceOverflowMessage);
  if (*balance != 0) return FurikaedenpyouCheckResult::failed(kUnbalancedMessage);

  if (becomesRegularType && !FurikaedenpyouRegistrar::availableRegularTypeDenpyouNo(*document_))
    return FurikaedenpyouCheckResult::failed(kRegularTypeDenpyouNoExhaustedMessage);
  return FurikaedenpyouCheckResult::passed();
}

// --- display

void Furikaedenpyou::displayShiwakeOfDenpyouNo(int32_t n)
{
  displayingDenpyouNo_ = n;
  rows_.clear();
  for (const ShiwakePtr& s : document_->journal().entriesOfDenpyouNo(n)) {
    if (s->didCreateBeforeOpen()) continue;
    FurikaedenpyouRow& row = rows_.emplace_back();
    row.cell(Row::DateMatrix) = FieldValue::date(s->date());
    auto fillSide = [&](const Row::Side& side, int32_t kamoku, int32_t hojyo, int64_t kingaku, int32_t jigyoubu) {
      if (kamoku == -1) return;
      row.cell(side.kamoku) = FieldValue::code(kamoku);
      if (hojyo != -1) row.cell(side.hojyoKamoku) = FieldValue::code(hojyo);
      row.cell(side.kingaku) = FieldValue::amount(kingaku);
      if (jigyoubu != -1) row.cell(side.jigyoubu) = FieldValue::code(jigyoubu);
    };
    fillSide(Row::kKarikata, s->karikataKamokuCode(), s->karikataHojyoKamokuCode(), s->karikataKingaku(),
             s->karikataJigyoubuCode());
    fillSide(Row::kKashikata, s->kashikataKamokuCode(), s->kashikataHojyoKamokuCode(), s->kashikataKingaku(),
             s->kashikataJigyoubuCode());
    row.cell(Row::TekiyouMatrix) = FieldValue::text(s->tekiyou());
    row.setHendouReasonStr(s->hendouReasonStr());
  }
  if (rows_.empty()) rows_.emplace_back();
  selectedRow_ = -1;
  selectCell(0, Row::DateMatrix);
  doesNeedToSetDenpyouToShiwakeArray_ = false;
}

void Furikaedenpyou::duplicateDenpyou()
{
  const bool fromRegularType = displayingDenpyouNo_ < 0;
  displayingDenpyouNo_ = document_->kaisya().minAvailableDenpyouNo();
  if (fromRegularType)
    for (FurikaedenpyouRow& row : rows_) row.cell(Row::DateMatrix) = FieldValue::text("");
  // The copy's entries are new: none carries the reason of the entry it was copied from.
  for (FurikaedenpyouRow& row : rows_) row.setHendouReasonStr("");
  selectedRow_ = -1;
  selectCell(0, Row::DateMatrix);
  doesNeedToSetDenpyouToShiwakeArray_ = true;
}

// --- row commands

void Furikaedenpyou::selectAfterRowCommand(int r)
{
  selectCell(r, rows_[r].cell(Row::DateMatrix).isDate() ? Row::KarikataKamokuMatrix : Row::DateMatrix);
  doesNeedToSetDenpyouToShiwakeArray_ = true;
}

bool Furikaedenpyou::addDenpyouRow()
{
  const int r = selectedEditableIndex() < 0 ? -1 : selectedRow_;
  if (r < 0) return false;
  const bool hasDate = rows_[r].cell(Row::DateMatrix).isDate();
  insertDenpyouRow(numberOfDenpyouRows());
  const int last = numberOfDenpyouRows() - 1;
  if (hasDate) {
    setAllDateMatrixCellValuesEqualToValueAtRow(r);
    selectCell(last, Row::KarikataKamokuMatrix);
  } else {
    selectCell(last, Row::DateMatrix);
  }
  doesNeedToSetDenpyouToShiwakeArray_ = true;
  return true;
}

bool Furikaedenpyou::insertDenpyouRowAtSelection()
{
  const int r = selectedEditableIndex() < 0 ? -1 : selectedRow_;
  if (r < 0) return false;
  insertDenpyouRow(r);
  const bool hasDate = rows_[r + 1].cell(Row::DateMatrix).isDate();
  if (hasDate) {
    setAllDateMatrixCellValuesEqualToValueAtRow(r + 1);
    selectCell(r, Row::KarikataKamokuMatrix);
  } else {
    selectCell(r, Row::DateMatrix);
  }
  doesNeedToSetDenpyouToShiwakeArray_ = true;
  return true;
}

void Furikaedenpyou::undoableRemoveDenpyouRow(int r)
{
  int toSelect;
  if (!removedRow_) {
    if (r < 0 || r >= numberOfDenpyouRows()) return;
    removedRow_ = rows_[r];
    removeDenpyouRow(r);
    if (rows_.empty()) rows_.emplace_back();
    toSelect = std::min(r, numberOfDenpyouRows() - 1);
  } else {
    r = std::clamp(r, 0, numberOfDenpyouRows());
    insertDenpyouRow(r);
    rows_[r] = *removedRow_;
    removedRow_.reset();
    toSelect = r;
  }
  selectAfterRowCommand(toSelect);
}

bool Furikaedenpyou::canSetItemAsAboveDenpyouRowItem() const
{
  return selectedEditableIndex() >= 0 && selectedRow_ >= 1 && !Row::isHojyoKamokuColumn(selectedColumn_);
}

bool Furikaedenpyou::setItemAsAboveDenpyouRowItem()
{
  if (!canSetItemAsAboveDenpyouRowItem()) return false;
  const int r = selectedRow_;
  const Column c = selectedColumn_;
  rows_[r].cell(c) = rows_[r - 1].cell(c);
  textDidChangeAtRow(r, c);
  doesNeedToSetDenpyouToShiwakeArray_ = true;
  return true;
}

std::pair<int32_t, int32_t> Furikaedenpyou::selectedDenpyouRowKarikataKashikataKamokuCode() const
{
  const int r = selectedRow_;
  if (r < 0 || r >= numberOfDenpyouRows()) return {-1, -1};
  auto codeAt = [this](int row, Column c) {
    const FieldValue v = cell(row, c);
    return v.isCode() ? v.codeValue() : -1;
  };
  // The nearest row at or above r whose account cell of the column holds a code.
  auto codeFromAbove = [&](Column c) {
    for (int row = r; row >= 0; --row)
      if (const int32_t code = codeAt(row, c); code != -1) return code;
    return int32_t{-1};
  };
  const int32_t karikata = codeAt(r, FurikaedenpyouRow::KarikataKamokuMatrix);
  const int32_t kashikata = codeAt(r, FurikaedenpyouRow::KashikataKamokuMatrix);
  if (karikata == -1 && kashikata == -1) return {-1, -1};
  if (kashikata == -1) return {karikata, codeFromAbove(FurikaedenpyouRow::KashikataKamokuMatrix)};
  if (karikata == -1) return {codeFromAbove(FurikaedenpyouRow::KarikataKamokuMatrix), kashikata};
  return {karikata, kashikata};
}

}  // namespace kivo
