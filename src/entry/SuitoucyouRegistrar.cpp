#include "entry/SuitoucyouRegistrar.h"

#include <algorithm>

#include "entry/FurikaedenpyouRegistrar.h"

namespace kivo {
namespace {

using Row = SuitoucyouRow;

// The open book of the pair, once, never the book doing the work.
void addBook(const MyDocument& document, const SuitoucyouRegistrar::Context& context, int32_t kamoku, int32_t hojyo,
             std::vector<SuitoucyouWindow*>& books)
{
  SuitoucyouWindow* book = SuitoucyouWindow::suitoucyouControllerOfKamokuCode(document, kamoku, hojyo);
  if (!book || book == context.self) return;
  if (std::find(books.begin(), books.end(), book) == books.end()) books.push_back(book);
}

bool anyBookOpen(const MyDocument& document)
{
  return document.firstWindowOfKind(DocumentWindow::Kind::Suitoucyou) != nullptr;
}

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
    s->setKindOfShiwake(Shiwake::kSuitoucyou);
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
    s->setKindOfShiwake(payment ? Shiwake::kSuitoucyou : Shiwake::kSuitoucyouNoAmount);
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
  // A cash-book entry records its own codes as the other side's.
  s->setAiteKarikataKamokuCode(s->karikataKamokuCode());
  s->setAiteKarikataHojyoKamokuCode(s->karikataHojyoKamokuCode());
  s->setAiteKarikataJigyoubuCode(s->karikataJigyoubuCode());
  s->setAiteKashikataKamokuCode(s->kashikataKamokuCode());
  s->setAiteKashikataHojyoKamokuCode(s->kashikataHojyoKamokuCode());
  s->setAiteKashikataJigyoubuCode(s->kashikataJigyoubuCode());
  return s;
}

SuitoucyouRegistrar::Result SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(Suitoucyou& book,
                                                                                                 const Context& context)
{
  MyDocument& document = book.document();
  Kaisya& kaisya = document.kaisya();
  std::vector<ShiwakePtr>& journal = document.shiwakeArray();
  int32_t n = book.selectDenpyouNo();

  // 1. The row's entry; a transfer-voucher line is never rewritten here.
  const int found = book.indexOfShiwakeOfDenpyouNo(n);
  if (found >= 0 && journal[found]->kindOfShiwake() == Shiwake::kFurikaedenpyou) return Result::NotRegistered;
  const int r = book.rowOfShiwakeOfDenpyouNo(n);
  if (r < 0) return Result::NotRegistered;

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
    old = journal[found];
    journal.erase(journal.begin() + found);
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
  journal.insert(journal.begin() + static_cast<std::ptrdiff_t>(insertPoint), entry);
  document.setDidSortedShiwakeArrayUpdate(false);
  document.makeAllOutputWindowDisplayArrayVoid();
  // The balances' grey follows the journal's real order from here on.
  document.setDoNeedToCheckShiwakeArraySortedByDate(true);

  // 6. Other open books whose rows changed.
  if (anyBookOpen(document)) {
    std::vector<SuitoucyouWindow*> books;
    const bool receipt = !Row::isEmptyCell(row.cell(Row::InKingakuMatrix));
    if (old && (old->karikataKamokuCode() != entry->karikataKamokuCode() ||
                old->karikataHojyoKamokuCode() != entry->karikataHojyoKamokuCode()))
      addBook(document, context, old->karikataKamokuCode(), old->karikataHojyoKamokuCode(), books);
    if (old && (old->kashikataKamokuCode() != entry->kashikataKamokuCode() ||
                old->kashikataHojyoKamokuCode() != entry->kashikataHojyoKamokuCode()))
      addBook(document, context, old->kashikataKamokuCode(), old->kashikataHojyoKamokuCode(), books);
    const bool unchanged =
        old && old->date() == entry->date() && old->karikataKamokuCode() == entry->karikataKamokuCode() &&
        old->karikataHojyoKamokuCode() == entry->karikataHojyoKamokuCode() &&
        old->kashikataKamokuCode() == entry->kashikataKamokuCode() &&
        old->kashikataHojyoKamokuCode() == entry->kashikataHojyoKamokuCode() &&
        old->karikataKingaku() == entry->karikataKingaku() && old->kashikataKingaku() == entry->kashikataKingaku();
    if (!unchanged) {
      if (receipt)
        addBook(document, context, entry->kashikataKamokuCode(), entry->kashikataHojyoKamokuCode(), books);
      else
        addBook(document, context, entry->karikataKamokuCode(), entry->karikataHojyoKamokuCode(), books);
    }
    FurikaedenpyouRegistrar::refreshSuitoucyou(document, books, true);
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
  std::vector<ShiwakePtr>& journal = document.shiwakeArray();
  const int32_t n = book.selectDenpyouNo();
  removal.denpyouNo = n;

  book.removeSuitoucyouRow(s);
  if (const int k = book.indexOfShiwakeOfDenpyouNo(n); k >= 0) {
    removal.shiwake = journal[k];
    removal.index = k;
    journal.erase(journal.begin() + k);
    updateAllWindowControllersUIAfterRemoveSuitoucyouShiwake(book, *removal.shiwake, n, context);
  }
  const bool addedEmptyRow = book.numberOfSuitoucyouRows() == 0;
  if (addedEmptyRow) book.insertSuitoucyouRow(0);
  bool undoable = true;
  if (s > book.numberOfSuitoucyouRows() - 1) {
    s = book.numberOfSuitoucyouRows() - 1;
    undoable = n != 0;
  } else {
    document.setDoNeedToCheckShiwakeArraySortedByDate(true);
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
  std::vector<ShiwakePtr>& journal = book.document().shiwakeArray();
  const size_t at = std::min(static_cast<size_t>(std::max(removal.index, 0)), journal.size());
  journal.insert(journal.begin() + static_cast<std::ptrdiff_t>(at), removal.shiwake);
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
  for (const ShiwakePtr& s : book.document().shiwakeArray()) {
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
    document.setDidSortedShiwakeArrayUpdate(false);
    document.makeAllOutputWindowDisplayArrayVoid();
    document.updateAllOutputWindowControllersUI();
  }
  if (!anyBookOpen(document)) return;
  std::vector<SuitoucyouWindow*> books;
  addBook(document, context, removed.karikataKamokuCode(), removed.karikataHojyoKamokuCode(), books);
  addBook(document, context, removed.kashikataKamokuCode(), removed.kashikataHojyoKamokuCode(), books);
  FurikaedenpyouRegistrar::refreshSuitoucyou(document, books, false);
}

void SuitoucyouRegistrar::removeSuitoucyouRowAtUnregisteredDenpyouNo(Suitoucyou& book)
{
  book.removeSuitoucyouRow(book.rowOfShiwakeOfDenpyouNo(0));
  book.removeUnregisteredDenpyouNoFromShiwakeArray();
}

}  // namespace kivo
