#include "entry/FurikaedenpyouRegistrar.h"

#include <algorithm>
#include <bitset>

namespace kivo {
namespace {

using Row = FurikaedenpyouRow;
constexpr int32_t kMaxRegular = Kaisya::kMaxRegularTypeDenpyouNo;

// Which regular-type numbers (1 to 9999) the journal's entries carry.
std::bitset<kMaxRegular + 1> usedRegularTypeNumbers(const MyDocument& document)
{
  std::bitset<kMaxRegular + 1> used;
  for (const ShiwakePtr& s : document.shiwakeArray()) {
    const int32_t n = s->denpyouNo();
    if (n < 0 && n >= -kMaxRegular) used.set(-n);
  }
  return used;
}

std::optional<int32_t> smallestFree(const std::bitset<kMaxRegular + 1>& used, int32_t except)
{
  for (int32_t n = 1; n <= kMaxRegular; ++n)
    if (!used.test(n) && n != except) return n;
  return std::nullopt;
}

// The other side's codes of a voucher: the first row that uses the side gives them;
// a second row using it makes them 諸口 (999) with no sub-account or division.
struct AiteCodes {
  int32_t kamoku = -1, hojyoKamoku = -1, jigyoubu = -1;
};

AiteCodes aiteCodesOfSide(const Furikaedenpyou& denpyou, const Row::Side& side)
{
  AiteCodes codes;
  bool found = false;
  for (const FurikaedenpyouRow& row : denpyou.rows()) {
    if (!Row::holdsNumber(row.cell(side.kamoku))) continue;
    if (found) return {Kamoku::kSyokuchiCode, -1, -1};
    found = true;
    codes = {row.cell(side.kamoku).codeValue(), row.cell(side.hojyoKamoku).codeValue(),
             row.cell(side.jigyoubu).codeValue()};
  }
  return codes;
}

}  // namespace

std::optional<int32_t> FurikaedenpyouRegistrar::availableRegularTypeDenpyouNo(const MyDocument& document)
{
  const int32_t counter = document.kaisya().minAvailableRegularTypeDenpyouNo();
  const auto used = usedRegularTypeNumbers(document);
  if (counter >= 1 && counter <= kMaxRegular && !used.test(counter)) return counter;
  return smallestFree(used, 0);
}

void FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(Furikaedenpyou& denpyou)
{
  MyDocument& document = denpyou.document();
  Kaisya& kaisya = document.kaisya();
  std::vector<ShiwakePtr>& journal = document.shiwakeArray();
  const Date date = denpyou.row(0).cell(Row::DateMatrix).dateValue();
  int32_t n = denpyou.displayingDenpyouNo();

  // 1. A new regular-type voucher takes a free regular-type number; the counter
  // moves on to the next number, or to the smallest free one past the end.
  if (date == Date::regularTypeDenpyouDate() && n > 0) {
    const std::optional<int32_t> regular = availableRegularTypeDenpyouNo(document);
    if (!regular) return;  // the voucher check refuses this case
    n = -*regular;
    denpyou.setDisplayingDenpyouNo(n);
    if (*regular < kMaxRegular) {
      kaisya.setMinAvailableRegularTypeDenpyouNo(*regular + 1);
    } else if (std::optional<int32_t> next = smallestFree(usedRegularTypeNumbers(document), *regular)) {
      kaisya.setMinAvailableRegularTypeDenpyouNo(*next);
    }
  }

  // 2. The voucher's old entries go, in one pass; the first of them on the same day
  // marks where the new ones go, so that a voucher registered again keeps its place.
  std::vector<SuitoucyouWindow*> books;
  const bool anyBookOpen = document.firstWindowOfKind(DocumentWindow::Kind::Suitoucyou) != nullptr;
  auto addBooksOf = [&](const Shiwake& s) {
    if (!anyBookOpen) return;
    SuitoucyouWindow::addSuitoucyouToRefresh(document, s.karikataKamokuCode(), s.karikataHojyoKamokuCode(), books);
    SuitoucyouWindow::addSuitoucyouToRefresh(document, s.kashikataKamokuCode(), s.kashikataHojyoKamokuCode(), books);
  };
  std::ptrdiff_t insertPoint = -1;
  size_t kept = 0;
  for (size_t i = 0; i < journal.size(); ++i) {
    const ShiwakePtr& s = journal[i];
    if (s->denpyouNo() == n && !s->didCreateBeforeOpen()) {
      if (n > 0) addBooksOf(*s);
      if (insertPoint < 0 && s->date() == date) insertPoint = static_cast<std::ptrdiff_t>(kept);
      continue;
    }
    if (kept != i) journal[kept] = std::move(journal[i]);
    ++kept;
  }
  journal.resize(kept);

  // 3. The first registration of the counter's number uses it up.
  if (n == kaisya.minAvailableDenpyouNo() && kaisya.minAvailableDenpyouNo() <= Kaisya::kMaxDenpyouNo)
    kaisya.setMinAvailableDenpyouNo(n + 1);

  // 4. Otherwise after every voucher line of the same day or earlier (cash-book
  // entries are passed over); the closing-adjustment month goes last.
  if (insertPoint < 0) {
    insertPoint = static_cast<std::ptrdiff_t>(journal.size());
    if (date != Date::kessanSeiridukiDate()) {
      auto later = std::find_if(journal.begin(), journal.end(), [&](const ShiwakePtr& s) {
        return s->kindOfShiwake() == Shiwake::kFurikaedenpyou && MyDocument::compareDate(s->date(), date) > 0;
      });
      insertPoint = later - journal.begin();
    }
  }

  // 5. and 6. One entry per row, all carrying the same other-side codes.
  const AiteCodes aiteKarikata = aiteCodesOfSide(denpyou, Row::kKarikata);
  const AiteCodes aiteKashikata = aiteCodesOfSide(denpyou, Row::kKashikata);
  std::vector<ShiwakePtr> entries;
  const int rowCount = denpyou.numberOfDenpyouRows();
  for (int r = 0; r < rowCount; ++r) {
    if (r == rowCount - 1 && rowCount > 1 && denpyou.isEmptyDenpyouRow(r)) break;
    const FurikaedenpyouRow& row = denpyou.row(r);
    auto s = std::make_shared<Shiwake>();
    s->setDenpyouNo(n);
    s->setDate(date);
    s->setKarikataKamokuCode(row.cell(Row::KarikataKamokuMatrix).codeValue());
    s->setKarikataHojyoKamokuCode(row.cell(Row::KarikataHojyoKamokuMatrix).codeValue());
    s->setKarikataJigyoubuCode(row.cell(Row::KarikataJigyoubuMatrix).codeValue());
    s->setKarikataKingaku(row.cell(Row::KarikataKingakuMatrix).amountValue());
    s->setKashikataKamokuCode(row.cell(Row::KashikataKamokuMatrix).codeValue());
    s->setKashikataHojyoKamokuCode(row.cell(Row::KashikataHojyoKamokuMatrix).codeValue());
    s->setKashikataJigyoubuCode(row.cell(Row::KashikataJigyoubuMatrix).codeValue());
    s->setKashikataKingaku(row.cell(Row::KashikataKingakuMatrix).amountValue());
    s->setTekiyou(row.cell(Row::TekiyouMatrix).textValue());
    s->setHendouReasonStr(row.hendouReasonStr());
    s->setKindOfShiwake(Shiwake::kFurikaedenpyou);
    s->setAiteKarikataKamokuCode(aiteKarikata.kamoku);
    s->setAiteKarikataHojyoKamokuCode(aiteKarikata.hojyoKamoku);
    s->setAiteKarikataJigyoubuCode(aiteKarikata.jigyoubu);
    s->setAiteKashikataKamokuCode(aiteKashikata.kamoku);
    s->setAiteKashikataHojyoKamokuCode(aiteKashikata.hojyoKamoku);
    s->setAiteKashikataJigyoubuCode(aiteKashikata.jigyoubu);
    if (n > 0) addBooksOf(*s);
    entries.push_back(std::move(s));
  }
  journal.insert(journal.begin() + insertPoint, entries.begin(), entries.end());

  // 7. The refresh protocol: change count, undo cleared, sorted copy and report
  // caches stale, output windows told.
  denpyou.setDoesNeedToSetDenpyouToShiwakeArray(false);
  document.shiwakeArrayDidChange(true);

  // 8. Open cash books of the accounts touched (ordinary vouchers only).
  refreshSuitoucyou(document, books, true);
}

void FurikaedenpyouRegistrar::refreshSuitoucyou(MyDocument& document, const std::vector<SuitoucyouWindow*>& books,
                                                bool movePendingEntries)
{
  if (books.empty()) return;
  document.setDoNeedToCheckShiwakeArraySortedByDate(true);
  std::vector<ShiwakePtr>& journal = document.shiwakeArray();
  for (SuitoucyouWindow* book : books) {
    if (movePendingEntries && book->isEditingUnregisteredLastRow()) {
      auto pending = std::find_if(journal.begin(), journal.end(), [&](const ShiwakePtr& s) {
        return s->denpyouNo() == 0 && s->suitoucyouKamokuCode() == book->displayKamokuCode() &&
               s->suitoucyouHojyoKamokuCode() == book->displayHojyoKamokuCode();
      });
      if (pending != journal.end()) std::rotate(pending, pending + 1, journal.end());
    }
    book->setStartRowWithInvalidZandaka(0);
    book->updateSuitoucyouUI();
  }
}

}  // namespace kivo
