#include "journal/KanjyoumotocyouRowEdit.h"

#include <algorithm>

#include "document/MyDocument.h"

namespace kivo {
namespace {

using Cell = KanjyoumotocyouRowEdit::Cell;

FieldValue codeOrNil(int32_t code) { return code < 0 ? FieldValue::nil() : FieldValue::code(code); }

int32_t codeOf(const FieldValue& v) { return v.isCode() ? v.codeValue() : -1; }

bool isSuitouKamoku(const MyDocument& document, int32_t code)
{
  const KamokuPtr k = code < 0 ? nullptr : document.kamokuOfCode(code);
  return k && k->isSuitouKamoku();
}

int activeHojyoKamokuNum(const MyDocument& document, int32_t code)
{
  const KamokuPtr k = code < 0 ? nullptr : document.kamokuOfCode(code);
  return k ? k->activeHojyoKamokuNum() : 0;
}

// One side of an entry.
struct Side {
  int32_t kamoku = -1, hojyoKamoku = -1, jigyoubu = -1;
  bool operator==(const Side&) const = default;
};

Side karikataOf(const Shiwake& s)
{
  return {s.karikataKamokuCode(), s.karikataHojyoKamokuCode(), s.karikataJigyoubuCode()};
}
Side kashikataOf(const Shiwake& s)
{
  return {s.kashikataKamokuCode(), s.kashikataHojyoKamokuCode(), s.kashikataJigyoubuCode()};
}

void setKarikata(Shiwake& s, const Side& side)
{
  s.setKarikataKamokuCode(side.kamoku);
  s.setKarikataHojyoKamokuCode(side.hojyoKamoku);
  s.setKarikataJigyoubuCode(side.jigyoubu);
}

void setKashikata(Shiwake& s, const Side& side)
{
  s.setKashikataKamokuCode(side.kamoku);
  s.setKashikataHojyoKamokuCode(side.hojyoKamoku);
  s.setKashikataJigyoubuCode(side.jigyoubu);
}

void documentDidChange(MyDocument& document, const Shiwake& e)
{
  document.journal().entryDidChange(&e);
  document.updateChangeCount(MyDocument::ChangeType::Done);
  document.makeAllOutputWindowDisplayArrayVoid();
}

// A sub-account of a transfer-voucher line: set on the line that carries the side,
// then the voucher's counter codes follow.
bool setVoucherLineHojyoKamoku(MyDocument& document, const ShiwakePtr& e, bool ownKarikata, Cell cell, int32_t code)
{
  const bool karikata = cell == Cell::HojyoKamoku ? ownKarikata : !ownKarikata;
  const Journal::Entries lines = document.journal().entriesOfDenpyouNo(e->denpyouNo());
  ShiwakePtr carrier;
  const auto usesSide = [karikata](const Shiwake& s) {
    return (karikata ? s.karikataKamokuCode() : s.kashikataKamokuCode()) >= 0;
  };
  if (usesSide(*e)) {
    carrier = e;
  } else {
    // The counter side of a one-sided line is the side of the voucher's other line;
    // with several lines on that side it is 諸口, which has no sub-accounts.
    for (const ShiwakePtr& s : lines) {
      if (!usesSide(*s)) continue;
      if (carrier) return false;
      carrier = s;
    }
  }
  if (!carrier) return false;
  if ((karikata ? carrier->karikataHojyoKamokuCode() : carrier->kashikataHojyoKamokuCode()) == code) return false;
  if (karikata)
    carrier->setKarikataHojyoKamokuCode(code);
  else
    carrier->setKashikataHojyoKamokuCode(code);
  Shiwake::recordVoucherSides(lines.empty() ? Journal::Entries{e} : lines);
  documentDidChange(document, *carrier);
  return true;
}

}  // namespace

bool KanjyoumotocyouRowEdit::isOwnKarikata(const Shiwake& e, Ledger ledger)
{
  return e.karikataKamokuCode() == ledger.kamokuCode &&
         (ledger.hojyoKamokuCode < 0 || e.karikataHojyoKamokuCode() == ledger.hojyoKamokuCode);
}

KanjyoumotocyouRowEdit::RowValues KanjyoumotocyouRowEdit::rowValuesOf(const Shiwake& e, Ledger ledger)
{
  const bool own = isOwnKarikata(e, ledger);
  const bool kashikataMatches = e.kashikataKamokuCode() == ledger.kamokuCode &&
                                (ledger.hojyoKamokuCode < 0 || e.kashikataHojyoKamokuCode() == ledger.hojyoKamokuCode);
  RowValues v;
  v[Cell::Date] = FieldValue::date(e.date());
  v[Cell::Tekiyou] = FieldValue::text(e.tekiyou());
  v[Cell::AiteKamoku] = codeOrNil(own ? e.aiteKashikataKamokuCode() : e.aiteKarikataKamokuCode());
  v[Cell::AiteHojyoKamoku] = codeOrNil(own ? e.aiteKashikataHojyoKamokuCode() : e.aiteKarikataHojyoKamokuCode());
  v[Cell::AiteJigyoubu] = codeOrNil(own ? e.aiteKashikataJigyoubuCode() : e.aiteKarikataJigyoubuCode());
  v[Cell::HojyoKamoku] = codeOrNil(own ? e.karikataHojyoKamokuCode() : e.kashikataHojyoKamokuCode());
  v[Cell::Jigyoubu] = codeOrNil(own ? e.karikataJigyoubuCode() : e.kashikataJigyoubuCode());
  if (own) v[Cell::KarikataKingaku] = FieldValue::amount(e.karikataKingaku());
  if (kashikataMatches) v[Cell::KashikataKingaku] = FieldValue::amount(e.kashikataKingaku());
  return v;
}

std::pair<int32_t, int32_t> KanjyoumotocyouRowEdit::karikataKashikataKamokuCodeOfRow(const MyDocument& document,
                                                                                     const Shiwake* e, Ledger ledger)
{
  const RowValues values = e ? rowValuesOf(*e, ledger) : RowValues();
  const FieldValue& aite = values[Cell::AiteKamoku];
  if (!aite.isCode()) return {ledger.kamokuCode, -1};
  const int32_t counter = aite.codeValue();
  if (values[Cell::KarikataKingaku].isAmount()) return {ledger.kamokuCode, counter};
  if (values[Cell::KashikataKingaku].isAmount()) return {counter, ledger.kamokuCode};
  const KamokuPtr k = document.kamokuOfCode(counter);
  if (!k) return {-1, -1};
  return k->isKarikataKamoku() ? std::pair(counter, ledger.kamokuCode) : std::pair(ledger.kamokuCode, counter);
}

bool KanjyoumotocyouRowEdit::isEditable(const MyDocument& document, const Shiwake& e, Ledger ledger, Cell cell)
{
  switch (cell) {
  case Cell::AiteHojyoKamoku:
    return activeHojyoKamokuNum(document, codeOf(rowValuesOf(e, ledger)[Cell::AiteKamoku])) > 0;
  case Cell::HojyoKamoku: return activeHojyoKamokuNum(document, ledger.kamokuCode) > 1;
  default: return e.kindOfShiwake() == ShiwakeKind::Suitoucyou;
  }
}

bool KanjyoumotocyouRowEdit::setObjectValue(MyDocument& document, const ShiwakePtr& e, Ledger ledger, Cell cell,
                                            const FieldValue& value)
{
  // A row waiting for its refresh may show an entry that left the journal.
  if (document.journal().indexOf(e.get()) >= document.journal().size()) return false;
  const bool ownKarikata = isOwnKarikata(*e, ledger);
  if (e->kindOfShiwake() == ShiwakeKind::Furikaedenpyou) {
    if ((cell != Cell::HojyoKamoku && cell != Cell::AiteHojyoKamoku) || !value.isCode()) return false;
    return setVoucherLineHojyoKamoku(document, e, ownKarikata, cell, value.codeValue());
  }
  const bool suitoucyou = e->kindOfShiwake() == ShiwakeKind::Suitoucyou;
  if (cell == Cell::Date || cell == Cell::Tekiyou) {
    if (!suitoucyou) return false;
    if (cell == Cell::Date) {
      if (!value.isDate() || Journal::compareDate(value.dateValue(), e->date()) == 0) return false;
      e->setDate(value.dateValue());
    } else {
      if (value.textValue() == e->tekiyou()) return false;
      e->setTekiyou(value.textValue());
    }
    documentDidChange(document, *e);
    return true;
  }

  // The whole entry again from the row's cells, the edited one with its new value.
  const RowValues row = rowValuesOf(*e, ledger);
  RowValues v = row;
  v[cell] = value;
  // An amount typed into the empty amount cell moves the entry to that side.
  if (cell == Cell::KarikataKingaku && value.isAmount()) v[Cell::KashikataKingaku] = FieldValue::nil();
  if (cell == Cell::KashikataKingaku && value.isAmount()) v[Cell::KarikataKingaku] = FieldValue::nil();
  const bool karikataOwn = v[Cell::KarikataKingaku].isAmount();
  if (!karikataOwn && !v[Cell::KashikataKingaku].isAmount()) return false;
  const int64_t amount = (karikataOwn ? v[Cell::KarikataKingaku] : v[Cell::KashikataKingaku]).amountValue();

  // A new counter account brings its first active sub-account. Only an edit of the
  // account cell does: an entry moving to the other side keeps its counter codes.
  const int32_t aite = codeOf(v[Cell::AiteKamoku]);
  int32_t aiteHojyo = codeOf(v[Cell::AiteHojyoKamoku]);
  if (cell == Cell::AiteKamoku && aite != codeOf(row[Cell::AiteKamoku])) {
    const KamokuPtr k = aite < 0 ? nullptr : document.kamokuOfCode(aite);
    const HojyoKamokuPtr first = k ? k->firstActiveHojyoKamoku() : nullptr;
    aiteHojyo = first ? first->code() : -1;
  }
  int32_t ownHojyo = codeOf(v[Cell::HojyoKamoku]);
  if (ownHojyo < 0) ownHojyo = ledger.hojyoKamokuCode;
  const Side own{ledger.kamokuCode, ownHojyo, codeOf(v[Cell::Jigyoubu])};
  const Side counter{aite, aiteHojyo, codeOf(v[Cell::AiteJigyoubu])};
  const Side kari = karikataOwn ? own : counter;
  const Side kashi = karikataOwn ? counter : own;

  if (suitoucyou) {
    if (kari == karikataOf(*e) && kashi == kashikataOf(*e) && amount == e->karikataKingaku() &&
        amount == e->kashikataKingaku())
      return false;
    setKarikata(*e, kari);
    setKashikata(*e, kashi);
    e->setKarikataKingaku(amount);
    e->setKashikataKingaku(amount);
    e->copyOwnSidesToAite();
    if (!isSuitouKamoku(document, kari.kamoku) && !isSuitouKamoku(document, kashi.kamoku)) {
      e->setKindOfShiwake(ShiwakeKind::Furikaedenpyou);
      document.journal().placeAmongVoucherLines(e);
    }
  } else {
    // A row written without an amount keeps its accounts: only sub-accounts change.
    if (kari.hojyoKamoku == e->karikataHojyoKamokuCode() && kashi.hojyoKamoku == e->kashikataHojyoKamokuCode())
      return false;
    e->setKarikataHojyoKamokuCode(kari.hojyoKamoku);
    e->setAiteKarikataHojyoKamokuCode(kari.hojyoKamoku);
    e->setKashikataHojyoKamokuCode(kashi.hojyoKamoku);
    e->setAiteKashikataHojyoKamokuCode(kashi.hojyoKamoku);
  }
  documentDidChange(document, *e);
  return true;
}

KanjyoumotocyouRowEdit::Duplication KanjyoumotocyouRowEdit::duplicateRow(MyDocument& document, const ShiwakePtr& e,
                                                                         int32_t waitingDenpyouNo)
{
  Journal& journal = document.journal();
  if (journal.indexOf(e.get()) >= journal.size()) return {Refusal::None, nullptr};
  // A line of a voucher of several lines is no entry of its own: its copy would
  // stand alone with one side.
  if (journal.entriesOfDenpyouNo(e->denpyouNo()).size() > 1 || e->karikataKamokuCode() < 0 ||
      e->kashikataKamokuCode() < 0)
    return {Refusal::PartOfVoucher, nullptr};
  // The number a voucher window waits for is passed over. The copy's number is found
  // before the counter moves, so that a refusal leaves the counter as it was.
  Kaisya& kaisya = document.kaisya();
  int32_t number = kaisya.minAvailableDenpyouNo();
  if (waitingDenpyouNo >= 0 && waitingDenpyouNo == number) ++number;
  if (number > Kaisya::kMaxDenpyouNo) return {Refusal::DenpyouNoExhausted, nullptr};

  auto copy = std::make_shared<Shiwake>(*e);
  copy->setDidCreateBeforeOpen(false);
  const bool suitou =
      isSuitouKamoku(document, copy->karikataKamokuCode()) || isSuitouKamoku(document, copy->kashikataKamokuCode());
  copy->setKindOfShiwake(suitou ? ShiwakeKind::Suitoucyou : ShiwakeKind::Furikaedenpyou);
  copy->setDenpyouNo(number);
  kaisya.setMinAvailableDenpyouNo(number + 1);
  copy->copyOwnSidesToAite();
  if (suitou) {
    size_t i = journal.indexOf(e.get());
    while (i + 1 < journal.size() && journal[i + 1]->denpyouNo() == e->denpyouNo()) ++i;
    journal.insertAt(i + 1, copy);
  } else {
    journal.placeAmongVoucherLines(copy);
  }
  document.updateChangeCount(MyDocument::ChangeType::Done);
  document.makeAllOutputWindowDisplayArrayVoid();
  return {Refusal::None, copy};
}

std::optional<KanjyoumotocyouRowEdit::Removal> KanjyoumotocyouRowEdit::removeRow(MyDocument& document,
                                                                                 const ShiwakePtr& e)
{
  Journal& journal = document.journal();
  const size_t index = journal.indexOf(e.get());
  if (e->kindOfShiwake() != ShiwakeKind::Suitoucyou || index >= journal.size()) return std::nullopt;
  Removal removal{journal.removeAt(index), index};
  document.updateChangeCount(MyDocument::ChangeType::Done);
  document.makeAllOutputWindowDisplayArrayVoid();
  return removal;
}

void KanjyoumotocyouRowEdit::restoreRow(MyDocument& document, const Removal& removal)
{
  if (!removal.entry || document.journal().indexOf(removal.entry.get()) < document.journal().size()) return;
  document.journal().insertAt(removal.index, removal.entry);
  document.updateChangeCount(MyDocument::ChangeType::Done);
  document.makeAllOutputWindowDisplayArrayVoid();
}

KanjyoumotocyouRowEdit::SelectedRow KanjyoumotocyouRowEdit::selectedRowOf(const std::vector<Motocyou>& rows,
                                                                          const std::vector<ShiwakePtr>& entries,
                                                                          int row)
{
  if (row < 0 || row >= static_cast<int>(rows.size())) return {};
  SelectedRow selected{row, nullptr, rows[row].kind(), rows[row].title()};
  if (row < static_cast<int>(entries.size())) selected.entry = entries[row];
  return selected;
}

int KanjyoumotocyouRowEdit::rowToSelectAfterUpdate(const std::vector<Motocyou>& rows,
                                                   const std::vector<ShiwakePtr>& entries, const SelectedRow& selected)
{
  const int n = static_cast<int>(rows.size());
  if (selected.entry) {
    const int shown = std::min(n, static_cast<int>(entries.size()));
    for (int i = 0; i < shown; ++i)
      if (entries[i] == selected.entry) return i;
  }
  const bool entryRow = selected.kind == Motocyou::Kind::Shiwake;
  if (!entryRow) {
    for (int i = 0; i < n; ++i)
      if (rows[i].kind() == selected.kind && rows[i].title() == selected.title) return i;
  }
  if (selected.row < 0 || n == 0) return -1;
  const int kept = std::min(selected.row, n - 1);
  if (!entryRow) {
    // The ledger's last row is its final total, so a total gone finds one below.
    for (int i = kept; i < n; ++i)
      if (rows[i].kind() == selected.kind) return i;
  }
  return kept;
}

}  // namespace kivo
