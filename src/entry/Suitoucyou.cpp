#include "entry/Suitoucyou.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "model/CappedAmount.h"

namespace kivo {
namespace {

using Row = SuitoucyouRow;

FieldValue codeOrEmpty(int32_t code) { return code == -1 ? FieldValue() : FieldValue::code(code); }

constexpr int kRowsPerStep = 256;

}  // namespace

std::string Suitoucyou::denpyouNoExhaustedMessage()
{
  char buf[160];
  std::snprintf(buf, sizeof buf, "伝票番号が %d を超えます。入力中の取引を登録できません。", Kaisya::kMaxDenpyouNo);
  return buf;
}

Suitoucyou::Suitoucyou(MyDocument& document, int32_t kamokuCode, int32_t hojyoKamokuCode)
    : document_(&document), displayKamokuCode_(kamokuCode), displayHojyoKamokuCode_(hojyoKamokuCode)
{
  setUpEditableMattrixArray();
}

// --- the book

KamokuPtr Suitoucyou::activeKamokuOfCode(int32_t code) const
{
  KamokuPtr k = document_->kamokuOfCode(code);
  return k && k->isActive() ? k : nullptr;
}

KamokuPtr Suitoucyou::displayKamoku() const { return activeKamokuOfCode(displayKamokuCode_); }

HojyoKamokuPtr Suitoucyou::displayHojyoKamoku() const
{
  const KamokuPtr k = displayKamoku();
  return k && displayHojyoKamokuCode_ != -1 ? k->hojyoKamokuOfCode(displayHojyoKamokuCode_) : nullptr;
}

bool Suitoucyou::belongsToBook(const Shiwake& s) const
{
  const int32_t n = s.denpyouNo();
  if (n < 0) return false;
  if (!isOwnPair(s.karikataKamokuCode(), s.karikataHojyoKamokuCode()) &&
      !isOwnPair(s.kashikataKamokuCode(), s.kashikataHojyoKamokuCode()))
    return false;
  return n != 0 || isOwnPair(s.suitoucyouKamokuCode(), s.suitoucyouHojyoKamokuCode());
}

int64_t Suitoucyou::startBalance() const
{
  const KamokuPtr k = displayKamoku();
  if (!k) return 0;
  constexpr int32_t kAllJigyoubu = 99;
  if (k->activeHojyoKamokuNum() > 0) {
    const HojyoKamokuPtr h = displayHojyoKamoku();
    return h ? h->startBalanceOfJigyoubuCode(kAllJigyoubu) : 0;
  }
  return k->startBalanceOfJigyoubuCode(kAllJigyoubu);
}

// --- columns

void Suitoucyou::setUpEditableMattrixArray()
{
  hasHojyoKamokuColumn_ = document_->doesHaveKamokuWhichHasActiveHojyoKamoku();
  hasJigyoubuColumns_ = document_->numberOfActiveJigyoubu() > 0;
  editableMattrixArray_ = {Row::DateMatrix, Row::AiteKamokuMatrix};
  if (hasHojyoKamokuColumn_) editableMattrixArray_.push_back(Row::AiteHojyoKamokuMatrix);
  editableMattrixArray_.push_back(Row::TekiyouMatrix);
  if (hasJigyoubuColumns_) {
    editableMattrixArray_.push_back(Row::AiteJigyoubuMatrix);
    editableMattrixArray_.push_back(Row::JigyoubuMatrix);
  }
  editableMattrixArray_.push_back(Row::InKingakuMatrix);
  editableMattrixArray_.push_back(Row::OutKingakuMatrix);
}

int Suitoucyou::indexOfEditableColumn(Column c) const
{
  auto it = std::find(editableMattrixArray_.begin(), editableMattrixArray_.end(), c);
  return it == editableMattrixArray_.end() ? -1 : static_cast<int>(it - editableMattrixArray_.begin());
}

// --- rows

FieldValue Suitoucyou::cell(int r, Column c) const
{
  if (r < 0 || r >= numberOfSuitoucyouRows()) return {};
  const SuitoucyouRow& row = rows_[r];
  switch (c) {
  case Row::DenpyouNoMatrix: return FieldValue::code(row.denpyouNo);
  case Row::ZandakaMatrix: return row.zandaka ? FieldValue::amount(*row.zandaka) : FieldValue();
  case Row::KindOfShiwakeMatrix:
    return row.isFurikaedenpyouLine() ? FieldValue::text(kFurikaedenpyouMark) : FieldValue();
  default: return Row::isCellColumn(c) ? row.cell(c) : FieldValue();
  }
}

void Suitoucyou::setCell(int r, Column c, FieldValue v)
{
  if (r < 0 || r >= numberOfSuitoucyouRows() || !Row::isCellColumn(c)) return;
  rows_[r].setCell(c, std::move(v));
}

void Suitoucyou::renewSuitoucyouRows(int n)
{
  rows_.assign(std::max(n, 0), SuitoucyouRow());
  selectedRow_ = -1;
}

void Suitoucyou::insertSuitoucyouRow(int r)
{
  r = std::clamp(r, 0, numberOfSuitoucyouRows());
  rows_.insert(rows_.begin() + r, SuitoucyouRow());
  if (selectedRow_ >= r) ++selectedRow_;
}

void Suitoucyou::removeSuitoucyouRow(int r)
{
  if (r < 0 || r >= numberOfSuitoucyouRows()) return;
  rows_.erase(rows_.begin() + r);
  if (selectedRow_ == r)
    selectedRow_ = -1;
  else if (selectedRow_ > r)
    --selectedRow_;
}

void Suitoucyou::textDidChangeAtRow(int r, Column c)
{
  if (r < 0 || r >= numberOfSuitoucyouRows()) return;
  auto empty = [&](Column other) {
    if (!Row::isEmptyCell(rows_[r].cell(other))) rows_[r].setCell(other, FieldValue());
  };
  switch (c) {
  case Row::AiteKamokuMatrix: empty(Row::AiteHojyoKamokuMatrix); break;
  case Row::InKingakuMatrix: empty(Row::OutKingakuMatrix); break;
  case Row::OutKingakuMatrix: empty(Row::InKingakuMatrix); break;
  default: break;
  }
}

int Suitoucyou::rowOfShiwakeOfDenpyouNo(int32_t n) const
{
  for (int r = 0; r < numberOfSuitoucyouRows(); ++r)
    if (rows_[r].denpyouNo == n) return r;
  return -1;
}

std::string Suitoucyou::zandakaString(int r) const
{
  if (r < 0 || r >= numberOfSuitoucyouRows() || !rows_[r].zandaka) return {};
  return document_->kaisya().outputStringOfMemoryKingaku(*rows_[r].zandaka);
}

// --- selection

int Suitoucyou::selectedEditableIndex() const { return selectedRow_ < 0 ? -1 : indexOfEditableColumn(selectedColumn_); }

void Suitoucyou::selectCell(int r, Column c)
{
  if (r < 0 || r >= numberOfSuitoucyouRows()) return;
  selectedRow_ = r;
  selectedColumn_ = c;
  selectDenpyouNo_ = rows_[r].denpyouNo;
}

bool Suitoucyou::isEditingUnregisteredLastRow() const
{
  return selectedRow_ >= 0 && selectedRow_ == numberOfSuitoucyouRows() - 1 && rows_[selectedRow_].denpyouNo == 0;
}

// --- checks

bool Suitoucyou::isEmptySuitoucyouRow(int r) const
{
  if (r < 0 || r >= numberOfSuitoucyouRows()) return true;
  for (Column c : editableMattrixArray_)
    if (c != Row::DateMatrix && !Row::isEmptyCell(rows_[r].cell(c))) return false;
  return true;
}

bool Suitoucyou::isEmptySuitoucyouRowOfDenpyouNo(int32_t n) const
{
  return isEmptySuitoucyouRow(rowOfShiwakeOfDenpyouNo(n));
}

SuitoucyouCheckResult Suitoucyou::doAllSuitoucyouCellsHaveValidObjectValuesAtRow(int r, int32_t n) const
{
  if (r < 0) r = rowOfShiwakeOfDenpyouNo(n);
  if (r < 0 || r >= numberOfSuitoucyouRows()) return SuitoucyouCheckResult::failed("");
  const SuitoucyouRow& row = rows_[r];
  if (!row.cell(Row::DateMatrix).isDate()) return SuitoucyouCheckResult::failed(kDateMessage, r, Row::DateMatrix);
  const FieldValue& aite = row.cell(Row::AiteKamokuMatrix);
  if (!aite.isCode()) return SuitoucyouCheckResult::failed(kAiteKamokuMessage, r, Row::AiteKamokuMatrix);
  // The account by its whole code: a shorter code must not stand for a longer one.
  const KamokuPtr k = activeKamokuOfCode(aite.codeValue());
  if (k && k->activeHojyoKamokuNum() > 0 && !row.cell(Row::AiteHojyoKamokuMatrix).isCode())
    return SuitoucyouCheckResult::failed(kHojyoKamokuMessage, r, Row::AiteHojyoKamokuMatrix);
  if (document_->numberOfActiveJigyoubu() > 0) {
    if (k && !row.cell(Row::AiteJigyoubuMatrix).isCode())
      return SuitoucyouCheckResult::failed(kAiteJigyoubuMessage, r, Row::AiteJigyoubuMatrix);
    if (!row.cell(Row::JigyoubuMatrix).isCode())
      return SuitoucyouCheckResult::failed(kJigyoubuMessage, r, Row::JigyoubuMatrix);
  }
  if (!Row::isEmptyCell(row.cell(Row::InKingakuMatrix)) || !Row::isEmptyCell(row.cell(Row::OutKingakuMatrix)))
    return SuitoucyouCheckResult::passed();
  return SuitoucyouCheckResult::failed(kKingakuMessage, r,
                                       k && k->isKarikataKamoku() ? Row::OutKingakuMatrix : Row::InKingakuMatrix);
}

// --- the journal

int Suitoucyou::shiwakeArrayIndexOfSuitoucyouRow(int r) const
{
  if (r < 0) return -1;
  const Journal& journal = document_->journal();
  int count = 0;
  for (size_t i = 0; i < journal.size(); ++i) {
    if (!belongsToBook(*journal[i])) continue;
    if (count == r) return static_cast<int>(i);
    ++count;
  }
  return -1;
}

bool Suitoucyou::isStaleRow(int r) const
{
  if (r < 0 || r >= numberOfSuitoucyouRows()) return false;
  const SuitoucyouRow& row = rows_[r];
  if (row.denpyouNo <= 0 || row.isEditedSinceShown()) return false;
  const int found = indexOfShiwakeOfDenpyouNo(row.denpyouNo);
  if (found < 0) return false;
  SuitoucyouRow current;
  fillRowFromShiwake(current, *document_->journal()[static_cast<size_t>(found)]);
  return !current.hasSameCellsAs(row) || current.kindOfShiwake != row.kindOfShiwake;
}

void Suitoucyou::rereadRow(int r)
{
  if (r < 0 || r >= numberOfSuitoucyouRows()) return;
  const int found = indexOfShiwakeOfDenpyouNo(rows_[r].denpyouNo);
  if (found < 0) return;
  fillRowFromShiwake(rows_[r] = SuitoucyouRow(), *document_->journal()[static_cast<size_t>(found)]);
  setStartRowWithInvalidZandaka(std::min(startRowWithInvalidZandaka_, r));
}

int Suitoucyou::indexOfShiwakeOfDenpyouNo(int32_t n) const
{
  const Journal& journal = document_->journal();
  for (size_t i = 0; i < journal.size(); ++i) {
    const Shiwake& s = *journal[i];
    if (s.denpyouNo() != n) continue;
    if (n == 0 && !isOwnPair(s.suitoucyouKamokuCode(), s.suitoucyouHojyoKamokuCode())) continue;
    return static_cast<int>(i);
  }
  return -1;
}

void Suitoucyou::removeUnregisteredDenpyouNoFromShiwakeArray()
{
  document_->journal().removePendingEntriesOf(displayKamokuCode_, displayHojyoKamokuCode_);
}

std::optional<std::pair<int32_t, int32_t>> Suitoucyou::bookOfShiwake(const MyDocument& document, const Shiwake& s)
{
  const KamokuPtr kari = document.kamokuOfCode(s.karikataKamokuCode());
  if (kari && kari->isSuitouKamoku()) return std::pair(kari->code(), s.karikataHojyoKamokuCode());
  const KamokuPtr kashi = document.kamokuOfCode(s.kashikataKamokuCode());
  if (kashi && kashi->isSuitouKamoku()) return std::pair(kashi->code(), s.kashikataHojyoKamokuCode());
  return std::nullopt;
}

bool Suitoucyou::setDisplayKamokuCodeToShowShiwakeOfDenpyouNo(int32_t n)
{
  if (n == 0) return false;
  const Journal& journal = document_->journal();
  auto it = std::find_if(journal.begin(), journal.end(), [&](const ShiwakePtr& s) { return s->denpyouNo() == n; });
  if (it == journal.end()) return false;
  const Shiwake& s = **it;
  if (isOwnPair(s.karikataKamokuCode(), s.karikataHojyoKamokuCode()) ||
      isOwnPair(s.kashikataKamokuCode(), s.kashikataHojyoKamokuCode()))
    return false;
  auto isSuitou = [&](int32_t code) {
    const KamokuPtr k = activeKamokuOfCode(code);
    return k && k->isSuitouKamoku();
  };
  if (isSuitou(s.karikataKamokuCode())) {
    displayKamokuCode_ = s.karikataKamokuCode();
    displayHojyoKamokuCode_ = s.karikataHojyoKamokuCode();
    return true;
  }
  if (isSuitou(s.kashikataKamokuCode())) {
    displayKamokuCode_ = s.kashikataKamokuCode();
    displayHojyoKamokuCode_ = s.kashikataHojyoKamokuCode();
    return true;
  }
  return false;
}

// --- filling

void Suitoucyou::fillRowFromShiwake(SuitoucyouRow& row, const Shiwake& s) const
{
  row.denpyouNo = s.denpyouNo();
  row.kindOfShiwake = s.kindOfShiwake();
  row.setCell(Row::DateMatrix, FieldValue::date(s.date()));
  row.setCell(Row::TekiyouMatrix, FieldValue::text(s.tekiyou()));
  // An entry written from a row without an amount shows no amount: its stored 0 was
  // never typed, and showing it would make the row look complete.
  const bool hasAmount = s.kindOfShiwake() != ShiwakeKind::SuitoucyouNoAmount;
  if (isOwnPair(s.karikataKamokuCode(), s.karikataHojyoKamokuCode())) {
    // A receipt: the book is on the debit side.
    row.setCell(Row::AiteKamokuMatrix, codeOrEmpty(s.aiteKashikataKamokuCode()));
    row.setCell(Row::AiteHojyoKamokuMatrix, codeOrEmpty(s.aiteKashikataHojyoKamokuCode()));
    row.setCell(Row::AiteJigyoubuMatrix, codeOrEmpty(s.aiteKashikataJigyoubuCode()));
    row.setCell(Row::JigyoubuMatrix, codeOrEmpty(s.karikataJigyoubuCode()));
    if (hasAmount) row.setCell(Row::InKingakuMatrix, FieldValue::amount(s.karikataKingaku()));
  } else {
    row.setCell(Row::AiteKamokuMatrix, codeOrEmpty(s.aiteKarikataKamokuCode()));
    row.setCell(Row::AiteHojyoKamokuMatrix, codeOrEmpty(s.aiteKarikataHojyoKamokuCode()));
    row.setCell(Row::AiteJigyoubuMatrix, codeOrEmpty(s.aiteKarikataJigyoubuCode()));
    row.setCell(Row::JigyoubuMatrix, codeOrEmpty(s.kashikataJigyoubuCode()));
    if (hasAmount) row.setCell(Row::OutKingakuMatrix, FieldValue::amount(s.kashikataKingaku()));
  }
  row.markShown();
}

bool Suitoucyou::displayShiwake()
{
  // Only the book's own entries make rows: another book's pending entry that touches
  // this account is not one of them.
  rows_.clear();
  selectedRow_ = -1;
  startRowWithInvalidZandaka_ = 0;
  int matched = -1;
  for (const ShiwakePtr& s : document_->journal()) {
    if (!belongsToBook(*s)) continue;
    fillRowFromShiwake(rows_.emplace_back(), *s);
    if (matched < 0 && s->denpyouNo() == selectDenpyouNo_) matched = numberOfSuitoucyouRows() - 1;
  }
  if (matched >= 0) {
    selectCell(matched, Row::DateMatrix);
    return false;
  }
  insertSuitoucyouRow(numberOfSuitoucyouRows());
  selectCell(numberOfSuitoucyouRows() - 1, Row::DateMatrix);
  return true;
}

// --- running balance

void Suitoucyou::setZandakaMatrixCellsValue(const std::function<void()>& step)
{
  const int count = numberOfSuitoucyouRows();
  const int start = std::min(startRowWithInvalidZandaka_, count);
  int64_t balance = startBalance();
  for (int r = start - 1; r >= 0; --r) {
    if (rows_[r].zandaka) {
      balance = *rows_[r].zandaka;
      break;
    }
  }
  const bool gray = !document_->journal().isSortedByDate();
  const KamokuPtr kamoku = displayKamoku();
  const bool byHojyoKamoku = kamoku && kamoku->activeHojyoKamokuNum() > 0;
  for (int r = start; r < count; ++r) {
    if (step && (r - start) % kRowsPerStep == 0) step();
    SuitoucyouRow& row = rows_[r];
    row.zandaka.reset();
    row.zandakaIsGray = gray;
    if (!doAllSuitoucyouCellsHaveValidObjectValuesAtRow(r, row.denpyouNo)) continue;
    const int32_t aite = row.cell(Row::AiteKamokuMatrix).codeValue();
    if (aite == displayKamokuCode_ &&
        (!byHojyoKamoku || row.cell(Row::AiteHojyoKamokuMatrix).codeValue() == displayHojyoKamokuCode_))
      continue;  // a move within the book itself
    // The receipt counts when it has text, else the payment: the entry the row makes
    // has the same form.
    const FieldValue& in = row.cell(Row::InKingakuMatrix);
    const FieldValue& out = row.cell(Row::OutKingakuMatrix);
    if (!Row::isEmptyCell(in)) {
      if (in.amountValue() <= 0) continue;
      balance = capped::add(balance, in.amountValue());
    } else {
      if (out.amountValue() <= 0) continue;
      balance = capped::sub(balance, out.amountValue());
    }
    row.zandaka = balance;
  }
  startRowWithInvalidZandaka_ = count;
}

// --- row commands

bool Suitoucyou::setItemAsAboveSuitoucyouRowItem()
{
  const int r = selectedRow_;
  if (selectedEditableIndex() < 0 || r < 1 || rows_[r].isFurikaedenpyouLine()) return false;
  const Column c = selectedColumn_;
  const FieldValue& above = rows_[r - 1].cell(c);
  if (c == Row::AiteKamokuMatrix && above.codeValue() == Kamoku::kSyokuchiCode) return false;
  if (c == Row::AiteHojyoKamokuMatrix) {
    const FieldValue& kamoku = rows_[r].cell(Row::AiteKamokuMatrix);
    if (!kamoku.isCode() || kamoku != rows_[r - 1].cell(Row::AiteKamokuMatrix)) return false;
  }
  rows_[r].setCell(c, above);
  if (c == Row::DateMatrix) document_->journal().dateEditingBegan();
  startRowWithInvalidZandaka_ = std::min(startRowWithInvalidZandaka_, r);
  // As typing would: an account empties its sub-account, one amount the other, so
  // that the row never holds a receipt and a payment at once.
  if (!Row::isEmptyCell(above)) textDidChangeAtRow(r, c);
  return true;
}

std::pair<int32_t, int32_t> Suitoucyou::selectedSuitoucyouRowKarikataKashikataKamokuCode() const
{
  if (selectedRow_ < 0) return {-1, -1};
  const SuitoucyouRow& row = rows_[selectedRow_];
  const FieldValue& aite = row.cell(Row::AiteKamokuMatrix);
  if (!aite.isCode()) return {displayKamokuCode_, -1};
  const int32_t a = aite.codeValue();
  if (row.cell(Row::InKingakuMatrix).isAmount()) return {displayKamokuCode_, a};
  if (row.cell(Row::OutKingakuMatrix).isAmount()) return {a, displayKamokuCode_};
  const KamokuPtr k = activeKamokuOfCode(a);
  if (!k) return {-1, -1};
  return k->isKarikataKamoku() ? std::pair{a, displayKamokuCode_} : std::pair{displayKamokuCode_, a};
}

// --- choosing another book

std::optional<std::pair<int32_t, int32_t>> Suitoucyou::bookOfKamokuChoice(int32_t k, int32_t h) const
{
  if (h == -1) {
    if (k == displayKamokuCode_) return std::nullopt;
    const KamokuPtr kamoku = activeKamokuOfCode(k);
    const HojyoKamokuPtr first = kamoku ? kamoku->firstActiveHojyoKamoku() : nullptr;
    h = first ? first->code() : -1;
    return std::pair{k, h};
  }
  if (isOwnPair(k, h)) return std::nullopt;
  return std::pair{k, h};
}

void Suitoucyou::switchToBook(int32_t k, int32_t h)
{
  displayKamokuCode_ = k;
  displayHojyoKamokuCode_ = h;
  removeUnregisteredDenpyouNoFromShiwakeArray();
  selectDenpyouNo_ = 0;
  document_->journal().dateEditingEnded();
  startRowWithInvalidZandaka_ = 0;
}

// --- shortcut digit

int32_t Suitoucyou::keyEquivalentOfSuitoucyouSubMenu() const
{
  const KamokuPtr k = displayKamoku();
  if (!k) return -1;
  if (displayHojyoKamokuCode_ == -1) return k->keyEquivalentOfSuitoucyouSubMenu();
  const HojyoKamokuPtr h = displayHojyoKamoku();
  return h ? h->keyEquivalentOfSuitoucyouSubMenu() : -1;
}

bool Suitoucyou::changeKeyEquivalentOfSuitoucyouSubMenu(int32_t digit)
{
  const KamokuPtr k = displayKamoku();
  if (!k) return false;
  const HojyoKamokuPtr h = displayHojyoKamokuCode_ == -1 ? nullptr : displayHojyoKamoku();
  if (displayHojyoKamokuCode_ != -1 && !h) return false;
  const int32_t held = h ? h->keyEquivalentOfSuitoucyouSubMenu() : k->keyEquivalentOfSuitoucyouSubMenu();
  if (held == digit) return false;
  // One digit per document.
  for (const KamokuPtr& other : document_->codeSortedKamokuArray()) {
    if (other->keyEquivalentOfSuitoucyouSubMenu() == digit) other->setKeyEquivalentOfSuitoucyouSubMenu(-1);
    for (const HojyoKamokuPtr& sub : other->hojyoKamokuArray())
      if (sub->keyEquivalentOfSuitoucyouSubMenu() == digit) sub->setKeyEquivalentOfSuitoucyouSubMenu(-1);
  }
  if (h)
    h->setKeyEquivalentOfSuitoucyouSubMenu(digit);
  else
    k->setKeyEquivalentOfSuitoucyouSubMenu(digit);
  return true;
}

}  // namespace kivo
