#include "entry/SuitoucyouRegistrar.h"

#include <algorithm>

namespace kivo {
namespace {

using Row = SuitoucyouRow;

}  // namespace

ShiwakePtr SuitoucyouRegistrar::shiwakeOfSuitoucyouRow(const Suitoucyou& book, int r, int32_t denpyouNo)
{
  const SuitoucyouRow& row = book.row(r);
  const int32_t a = book.displayKamokuCode();
  const int32_t h = book.displayHojyoKamokuCode();
  const int32_t aite = row.cell(Row::AiteKamokuMatrix).codeValue();
  const int32_t aiteHojyo = row.cell(Row::AiteHojyoKamokuMatrix).codeValue();
  const int32_t aiteJigyoubu = row.cell(Row::AiteJigyoubuMatrix).codeValue();
  const int32_t jigyoubu = row.cell(Row::JigyoubuMatrix).codeValue();
  const bool receipt = !Row::isEmptyCell(row.cell(Row::InKingakuMatrix));
  const bool payment = !Row::isEmptyCell(row.cell(Row::OutKingakuMatrix));

  auto s = std::make_shared<Shiwake>();
  s->setDenpyouNo(denpyouNo);
  s->setDate(row.cell(Row::DateMatrix).dateValue());
  s->setTekiyou(row.cell(Row::TekiyouMatrix).textValue());
  s->setSuitoucyouKamokuCode(a);
  s->setSuitoucyouHojyoKamokuCode(h);
  if (receipt) {
    s->setKindOfShiwake(ShiwakeKind::Suitoucyou);
    s->setKarikataKamokuCode(a);
    s->setKarikataHojyoKamokuCode(h);
    s->setKarikataJigyoubuCode(jigyoubu);
    s->setKashikataKamokuCode(aite);
    s->setKashikataHojyoKamokuCode(aiteHojyo);
    s->setKashikataJigyoubuCode(aiteJigyoubu);
    const int64_t amount = row.cell(Row::InKingakuMatrix).amountValue();
    s->setKarikataKingaku(amount);
    s->setKashikataKingaku(amount);
  } else {
    s->setKindOfShiwake(payment ? ShiwakeKind::Suitoucyou : ShiwakeKind::SuitoucyouNoAmount);
    s->setKarikataKamokuCode(aite);
    s->setKarikataHojyoKamokuCode(aiteHojyo);
    s->setKarikataJigyoubuCode(aiteJigyoubu);
    s->setKashikataKamokuCode(a);
    s->setKashikataHojyoKamokuCode(h);
    s->setKashikataJigyoubuCode(jigyoubu);
    const int64_t amount = row.cell(Row::OutKingakuMatrix).amountValue();
    s->setKarikataKingaku(amount);
    s->setKashikataKingaku(amount);
  }
  s->copyOwnSidesToAite();
  return s;
}

SuitoucyouRegistrar::Result SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(Suitoucyou& book,
                                                                                                 const Context& context)
{
  MyDocument& document = book.document();
  Kaisya& kaisya = document.kaisya();
  Journal& journal = document.journal();
  int32_t n = book.selectDenpyouNo();

  // 1. The row's entry; a transfer-voucher line is never rewritten here.
  const int found = book.indexOfShiwakeOfDenpyouNo(n);
  if (found >= 0 && journal[found]->kindOfShiwake() == ShiwakeKind::Furikaedenpyou) return Result::NotRegistered;
  const int r = book.rowOfShiwakeOfDenpyouNo(n);
  if (r < 0) return Result::NotRegistered;
  // The book's copy of an entry that another window (the ledger) corrected after the
  // book read it is never written over the correction.
  if (book.isStaleRow(r)) {
    book.rereadRow(r);
    return Result::StaleRow;
  }

  // 2. Only the pending row may be written back unchecked: a numbered row that fails
  // the check would lose a side of its entry and unbalance the books.
  const bool valid = book.doAllSuitoucyouCellsHaveValidObjectValuesAtRow(r, n).ok;
  if (n != 0 && !valid) return Result::RefusedInvalidRow;

  // 3. A complete new row takes the counter's number; the number of the voucher being
  // typed in the voucher window is passed over. The counter is looked at before the
  // journal is touched, so an exhausted counter never costs the typed row.
  bool exhausted = false;
  int32_t number = n;
  if (n == 0 && valid) {
    int32_t counter = kaisya.minAvailableDenpyouNo();
    if (context.furikaedenpyouDisplayingDenpyouNo && *context.furikaedenpyouDisplayingDenpyouNo == counter &&
        counter <= Kaisya::kMaxDenpyouNo)
      kaisya.setMinAvailableDenpyouNo(++counter);
    if (counter > Kaisya::kMaxDenpyouNo) {
      exhausted = true;
    } else {
      number = counter;
      kaisya.setMinAvailableDenpyouNo(counter + 1);
    }
  }

  // 4. The insert point: where the old entry stood; for a row without an entry, before
  // the first line of the entry group shown on the row below, else at the end.
  ShiwakePtr old;
  size_t insertPoint = journal.size();
  if (found >= 0) {
    old = journal[static_cast<size_t>(found)];
    insertPoint = static_cast<size_t>(found);
  } else if (const int x = book.shiwakeArrayIndexOfSuitoucyouRow(r); x >= 0) {
    int p = x;
    while (p > 0 && journal[p - 1]->denpyouNo() == journal[x]->denpyouNo()) --p;
    insertPoint = static_cast<size_t>(p);
  }

  // 5. The entry itself.
  SuitoucyouRow& row = book.row(r);
  row.denpyouNo = number;
  book.setSelectDenpyouNo(number);
  const ShiwakePtr entry = shiwakeOfSuitoucyouRow(book, r, number);
  if (old) entry->setHendouReasonStr(old->hendouReasonStr());  // editing keeps the entry's change reason
  row.kindOfShiwake = entry->kindOfShiwake();
  row.markShown();
  if (old)
    journal.replaceAt(insertPoint, entry);
  else
    journal.insertAt(insertPoint, entry);

  // 6. Other open books whose rows changed.
  {
    ChangedAccounts accounts;
    accounts.movePendingEntryLast = true;
    const bool receipt = !Row::isEmptyCell(row.cell(Row::InKingakuMatrix));
    if (old && (old->karikataKamokuCode() != entry->karikataKamokuCode() ||
                old->karikataHojyoKamokuCode() != entry->karikataHojyoKamokuCode()))
      accounts.add(old->karikataKamokuCode(), old->karikataHojyoKamokuCode());
    if (old && (old->kashikataKamokuCode() != entry->kashikataKamokuCode() ||
                old->kashikataHojyoKamokuCode() != entry->kashikataHojyoKamokuCode()))
      accounts.add(old->kashikataKamokuCode(), old->kashikataHojyoKamokuCode());
    const bool unchanged =
        old && old->date() == entry->date() && old->karikataKamokuCode() == entry->karikataKamokuCode() &&
        old->karikataHojyoKamokuCode() == entry->karikataHojyoKamokuCode() &&
        old->kashikataKamokuCode() == entry->kashikataKamokuCode() &&
        old->kashikataHojyoKamokuCode() == entry->kashikataHojyoKamokuCode() &&
        old->karikataKingaku() == entry->karikataKingaku() && old->kashikataKingaku() == entry->kashikataKingaku();
    if (!unchanged) {
      if (receipt)
        accounts.add(entry->kashikataKamokuCode(), entry->kashikataHojyoKamokuCode());
      else
        accounts.add(entry->karikataKamokuCode(), entry->karikataHojyoKamokuCode());
    }
    document.journalDidChangeAccounts(accounts, context.self);
  }

  // 7. The output windows.
  document.updateAllOutputWindowControllersUI();
  return exhausted ? Result::DenpyouNoExhausted : Result::Registered;
}

int SuitoucyouRegistrar::duplicateSuitoucyouRow(Suitoucyou& book, const Context& context)
{
  const int s = book.selectedSuitoucyouRow();
  if (s < 0 || book.document().kaisya().minAvailableDenpyouNo() > Kaisya::kMaxDenpyouNo) return -1;
  if (setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, context) == Result::RefusedInvalidRow) return -1;
  // The copy goes after every row of the same number, so that a voucher's lines stay
  // together.
  const int32_t n = book.row(s).denpyouNo;
  int t = s + 1;
  while (t < book.numberOfSuitoucyouRows() && book.row(t).denpyouNo == n) ++t;
  book.insertSuitoucyouRow(t);
  for (int c = 0; c < SuitoucyouRow::kCellCount; ++c) {
    const auto column = static_cast<SuitoucyouRow::Column>(c);
    book.setCell(t, column, book.cell(s, column));
  }
  book.selectCell(t, Row::DateMatrix);
  setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, context);
  book.setStartRowWithInvalidZandaka(std::min(book.startRowWithInvalidZandaka(), s));
  book.document().updateChangeCount(MyDocument::ChangeType::Done);
  return t;
}

SuitoucyouRegistrar::Removal SuitoucyouRegistrar::removeSuitoucyouShiwake(Suitoucyou& book, const Context& context)
{
  Removal removal;
  int s = book.selectedSuitoucyouRow();
  if (s < 0) return removal;
  MyDocument& document = book.document();
  const int32_t n = book.selectDenpyouNo();
  removal.denpyouNo = n;

  book.removeSuitoucyouRow(s);
  if (const int k = book.indexOfShiwakeOfDenpyouNo(n); k >= 0) {
    removal.shiwake = document.journal().removeAt(static_cast<size_t>(k));
    removal.index = k;
    updateAllWindowControllersUIAfterRemoveSuitoucyouShiwake(book, *removal.shiwake, n, context);
  }
  const bool addedEmptyRow = book.numberOfSuitoucyouRows() == 0;
  if (addedEmptyRow) book.insertSuitoucyouRow(0);
  bool undoable = true;
  if (s > book.numberOfSuitoucyouRows() - 1) {
    s = book.numberOfSuitoucyouRows() - 1;
    undoable = n != 0;
  } else {
    document.journal().dateEditingEnded();
  }
  // Without an entry taken out there is nothing to put back: an undo would remove
  // another row instead.
  removal.isUndoable = undoable && removal.shiwake != nullptr;
  book.selectCell(s, Row::DateMatrix);
  book.setStartRowWithInvalidZandaka(std::min(book.startRowWithInvalidZandaka(), s));
  if (addedEmptyRow) setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, context);
  return removal;
}

void SuitoucyouRegistrar::restoreSuitoucyouShiwake(Suitoucyou& book, const Removal& removal, const Context& context)
{
  if (!removal.shiwake) return;
  book.document().journal().insertAt(static_cast<size_t>(std::max(removal.index, 0)), removal.shiwake);
  book.setSelectDenpyouNo(removal.shiwake->denpyouNo());
  book.setStartRowWithInvalidZandaka(0);
  if (book.displayShiwake()) setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, context);
  selectRowOfShiwake(book, removal.shiwake);
  updateAllWindowControllersUIAfterRemoveSuitoucyouShiwake(book, *removal.shiwake, removal.shiwake->denpyouNo(),
                                                           context);
}

bool SuitoucyouRegistrar::selectRowOfShiwake(Suitoucyou& book, const ShiwakePtr& shiwake)
{
  int r = 0;
  for (const ShiwakePtr& s : book.document().journal()) {
    if (!book.belongsToBook(*s)) continue;
    if (s == shiwake) {
      if (r >= book.numberOfSuitoucyouRows()) return false;
      book.selectCell(r, Row::DateMatrix);
      return true;
    }
    ++r;
  }
  return false;
}

void SuitoucyouRegistrar::updateAllWindowControllersUIAfterRemoveSuitoucyouShiwake(Suitoucyou& book,
                                                                                   const Shiwake& removed,
                                                                                   int32_t denpyouNo,
                                                                                   const Context& context)
{
  MyDocument& document = book.document();
  if (denpyouNo != 0) {
    document.updateChangeCount(MyDocument::ChangeType::Done);
    document.updateAllOutputWindowControllersUI();
  }
  ChangedAccounts accounts;
  accounts.addSidesOf(removed);
  document.journalDidChangeAccounts(accounts, context.self);
}

void SuitoucyouRegistrar::removeSuitoucyouRowAtUnregisteredDenpyouNo(Suitoucyou& book)
{
  book.removeSuitoucyouRow(book.rowOfShiwakeOfDenpyouNo(0));
  book.removeUnregisteredDenpyouNoFromShiwakeArray();
}

}  // namespace kivo
