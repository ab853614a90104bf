#include "journal/KanjyoumotocyouPaginator.h"

#include "document/MyDocument.h"
#include "journal/Kanjyoumotocyou.h"

namespace kivo {

KanjyoumotocyouPaginator::KanjyoumotocyouPaginator(const MyDocument& document,
                                                   const std::vector<Motocyou>& motocyouArray, int rowsPerPage)
    : PrintPaginator(rowsPerPage)
{
  if (isTooSmall()) return;
  const size_t perPage = static_cast<size_t>(rowsPerPage);
  rows_.reserve(motocyouArray.size() + motocyouArray.size() / perPage * 3 + 16);
  int ledger = -1;
  for (const Motocyou& m : motocyouArray) {
    const int32_t kind = m.indexOfSortedShiwakeArray();
    if (kind == Motocyou::kBalanceRow || ledger < 0) {
      // A new ledger starts a new page.
      ++ledger;
      while (!isPageFull()) rows_.push_back(Row{Motocyou(), true, ledger - 1});
      rows_.push_back(headingRow(document, m, ledger));
    } else if (kind == Motocyou::kTotalRow && isPageFull()) {
      // The row before the total moves to the next page with it.
      Row moved = rows_.back();
      rows_.back() = Row{Motocyou(), true, ledger};
      const size_t headingAt = rows_.size();
      rows_.push_back(headingRow(document, m, ledger));
      int64_t balance = 0;
      if (kurikoshiBalance(headingAt, ledger, balance)) {
        Row kurikoshi{Motocyou(), false, ledger};
        kurikoshi.motocyou.setMotocyouKamokuCode(m.motocyouKamokuCode());
        kurikoshi.motocyou.setMotocyouHojyoKamokuCode(m.motocyouHojyoKamokuCode());
        kurikoshi.motocyou.setIndexOfSortedShiwakeArray(Motocyou::kBalanceRow);
        kurikoshi.motocyou.setTitle(kKurikoshiTitle);
        kurikoshi.motocyou.setZandaka(balance);
        rows_.push_back(std::move(kurikoshi));
      }
      rows_.push_back(std::move(moved));
    } else if (isPageFull()) {
      const size_t headingAt = rows_.size();
      rows_.push_back(headingRow(document, m, ledger));
      int64_t balance = 0;
      if (kurikoshiBalance(headingAt, ledger, balance)) {
        Row kurikoshi{Motocyou(), false, ledger};
        kurikoshi.motocyou.setMotocyouKamokuCode(m.motocyouKamokuCode());
        kurikoshi.motocyou.setMotocyouHojyoKamokuCode(m.motocyouHojyoKamokuCode());
        kurikoshi.motocyou.setIndexOfSortedShiwakeArray(Motocyou::kBalanceRow);
        kurikoshi.motocyou.setTitle(kKurikoshiTitle);
        kurikoshi.motocyou.setZandaka(balance);
        rows_.push_back(std::move(kurikoshi));
      }
    }
    rows_.push_back(Row{m, false, ledger});
  }
  setRowCount(rows_.size());

  // Each page belongs to the ledger of its first row.
  const int pages = pageCount();
  firstPageOfLedgerOfPage_.resize(pages);
  for (int p = 0; p < pages; ++p) {
    const int ledgerOfPage = rows_[static_cast<size_t>(p) * perPage].ledger;
    const bool continues = p > 0 && rows_[static_cast<size_t>(p - 1) * perPage].ledger == ledgerOfPage;
    firstPageOfLedgerOfPage_[p] = continues ? firstPageOfLedgerOfPage_[p - 1] : p;
  }
}

bool KanjyoumotocyouPaginator::isPageFull() const { return rows_.size() % static_cast<size_t>(rowsPerPage()) == 0; }

KanjyoumotocyouPaginator::Row KanjyoumotocyouPaginator::headingRow(const MyDocument& document, const Motocyou& of,
                                                                   int ledger) const
{
  Row heading{Motocyou(), false, ledger};
  Motocyou& h = heading.motocyou;
  h.setMotocyouKamokuCode(of.motocyouKamokuCode());
  h.setMotocyouHojyoKamokuCode(of.motocyouHojyoKamokuCode());
  h.setIndexOfSortedShiwakeArray(Motocyou::kHeadingRow);
  std::string title = kHeadingTitlePrefix;
  if (const KamokuPtr kamoku = document.kamokuOfCode(of.motocyouKamokuCode())) {
    title += kamoku->name();
    if (of.motocyouHojyoKamokuCode() != -1)
      if (const HojyoKamokuPtr hojyo = kamoku->hojyoKamokuOfCode(of.motocyouHojyoKamokuCode()))
        title += " ／ " + hojyo->name();
  }
  h.setTitle(title);
  return heading;
}

bool KanjyoumotocyouPaginator::kurikoshiBalance(size_t at, int ledger, int64_t& balance) const
{
  // The list's first row is a heading and never holds a balance.
  for (size_t i = at; i-- > 1;) {
    const Row& r = rows_[i];
    if (r.ledger != ledger) return false;
    if (!r.isEmptyLine && r.motocyou.isShiwakeRow()) {
      balance = r.motocyou.zandaka();
      return true;
    }
  }
  return false;
}

bool KanjyoumotocyouPaginator::isHojyomotocyou() const
{
  return !rows_.empty() && rows_.front().motocyou.motocyouHojyoKamokuCode() != -1;
}

int KanjyoumotocyouPaginator::lineOfRow(size_t r) const
{
  const size_t onPage = r % static_cast<size_t>(rowsPerPage());
  return static_cast<int>(onPage) + (onPage > 1 ? 2 : 1);
}

int KanjyoumotocyouPaginator::firstPageOfSection(int page) const
{
  if (page < 0 || page >= static_cast<int>(firstPageOfLedgerOfPage_.size())) return page;
  return firstPageOfLedgerOfPage_[page];
}

std::string KanjyoumotocyouPaginator::periodText(const Kaisya& kaisya, int32_t periodFrom, int32_t periodTo)
{
  const std::vector<Month>& months = kaisya.monthArray();
  const int32_t count = static_cast<int32_t>(months.size());
  const auto name = [&](int32_t m) -> std::string {
    if (m >= count || m < 0) return Kanjyoumotocyou::kKessanSeiridukiName;
    return months[m].name();
  };
  std::string text = name(periodFrom);
  if (periodTo != periodFrom) text += " 〜 " + name(periodTo);
  return text;
}

}  // namespace kivo
