#include "entry/FurikaedenpyouRegistrar.h"

#include <algorithm>

namespace kivo {
namespace {

using Row = FurikaedenpyouRow;
constexpr int32_t kMaxRegular = Kaisya::kMaxRegularTypeDenpyouNo;

// The smallest regular-type number (1 to 9999) that no entry carries, other than
// `except`.
std::optional<int32_t> smallestFree(const Journal& journal, int32_t except)
{
  for (int32_t n = 1; n <= kMaxRegular; ++n)
    if (n != except && !journal.carriesDenpyouNo(-n)) return n;
  return std::nullopt;
}

}  // namespace

std::optional<int32_t> FurikaedenpyouRegistrar::availableRegularTypeDenpyouNo(const MyDocument& document)
{
  const int32_t counter = document.kaisya().minAvailableRegularTypeDenpyouNo();
  const Journal& journal = document.journal();
  if (counter >= 1 && counter <= kMaxRegular && !journal.carriesDenpyouNo(-counter)) return counter;
  return smallestFree(journal, 0);
}

void FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(Furikaedenpyou& denpyou)
{
  MyDocument& document = denpyou.document();
  Kaisya& kaisya = document.kaisya();
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
    } else if (std::optional<int32_t> next = smallestFree(document.journal(), *regular)) {
      kaisya.setMinAvailableRegularTypeDenpyouNo(*next);
    }
  }

  // 2. One entry per row, all carrying the same other-side codes.
  Journal::Entries entries;
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
    s->setKindOfShiwake(ShiwakeKind::Furikaedenpyou);
    entries.push_back(std::move(s));
  }
  Shiwake::recordVoucherSides(entries);

  // 3. The accounts touched, old and new (ordinary vouchers only): their open cash
  // books recompute.
  ChangedAccounts accounts;
  accounts.movePendingEntryLast = true;
  if (n > 0)
    for (const ShiwakePtr& s : entries) accounts.addSidesOf(*s);
  const Journal::Entries removed = document.journal().registerVoucher(n, date, std::move(entries));
  if (n > 0)
    for (const ShiwakePtr& s : removed) accounts.addSidesOf(*s);

  // 4. The first registration of the counter's number uses it up.
  if (n == kaisya.minAvailableDenpyouNo() && kaisya.minAvailableDenpyouNo() <= Kaisya::kMaxDenpyouNo)
    kaisya.setMinAvailableDenpyouNo(n + 1);

  // 5. The refresh protocol: change count, undo cleared, output windows told, then
  // the open cash books of the accounts touched.
  denpyou.setDoesNeedToSetDenpyouToShiwakeArray(false);
  document.shiwakeArrayDidChange(true);
  document.journalDidChangeAccounts(accounts);
}

}  // namespace kivo
