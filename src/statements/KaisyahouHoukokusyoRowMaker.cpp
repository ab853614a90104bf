#include "statements/KaisyahouHoukokusyoRowMaker.h"

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Kamoku.h"
#include "model/KamokuKubun.h"
#include "statements/KaisyahouHoukokusyoBalances.h"
#include "statements/KaisyahouRowCodes.h"

namespace kivo {

KaisyahouHoukokusyoRowMaker::KaisyahouHoukokusyoRowMaker(const MyDocument& document,
                                                         const KaisyahouHoukokusyoBalances& balances,
                                                         int32_t jigyoubuCode, Column column)
    : document_(document),
      balances_(balances),
      jigyoubuCode_(jigyoubuCode),
      column_(column),
      max_(document.kaisya().maxOutputAmountValue())
{
  for (const KamokuPtr& k : document.codeSortedKamokuArray())
    if (k->gassanRepresentKamokuCode() != -1) membersOfRepresent_[k->gassanRepresentKamokuCode()].push_back(k.get());
}

int64_t KaisyahouHoukokusyoRowMaker::amountOf(const Kamoku& kamoku) const
{
  const KaisyahouHoukokusyoBalances::Amounts a = balances_.amountsOf(kamoku, jigyoubuCode_);
  switch (column_) {
  case Column::TaisyakuBalance: return a.taisyakuBalance;
  case Column::SyuuryouZandaka: return a.syuuryouZandaka;
  case Column::KaishiZandaka: return a.kaishiZandaka;
  }
  return 0;
}

int64_t KaisyahouHoukokusyoRowMaker::gassanAmountOf(const Kamoku& kamoku) const
{
  if (kamoku.gassanRepresentKamokuCode() != kamoku.code()) return amountOf(kamoku);
  const auto it = membersOfRepresent_.find(kamoku.code());
  if (it == membersOfRepresent_.end()) return amountOf(kamoku);
  int64_t sum = 0;
  for (const Kamoku* member : it->second)
    accumulate(sum, amountOf(*member), member->isKarikataKamoku() == kamoku.isKarikataKamoku());
  return sum;
}

bool KaisyahouHoukokusyoRowMaker::isRepresentOrSingle(const Kamoku& kamoku)
{
  return kamoku.gassanRepresentKamokuCode() == -1 || kamoku.gassanRepresentKamokuCode() == kamoku.code();
}

bool KaisyahouHoukokusyoRowMaker::isEligible(const Kamoku& kamoku) const
{
  return isRepresentOrSingle(kamoku) && (kamoku.isActive() || gassanAmountOf(kamoku) != 0);
}

std::string KaisyahouHoukokusyoRowMaker::rowName(const Kamoku& kamoku)
{
  return kamoku.gassanRepresentKamokuCode() == kamoku.code() ? kamoku.gassanKamokuName()
                                                             : kamoku.nameWithoutNonPrintChar();
}

std::vector<const Kamoku*> KaisyahouHoukokusyoRowMaker::kamokuOfKubun(const std::string& kubunName) const
{
  return document_.kamokuOfKubunName(kubunName);
}

std::vector<const Kamoku*> KaisyahouHoukokusyoRowMaker::kamokuOfGroup(int32_t group) const
{
  std::vector<const Kamoku*> out;
  for (const KamokuPtr& k : document_.codeSortedKamokuArray())
    if (k->group() == group) out.push_back(k.get());
  return out;
}

const Kamoku* KaisyahouHoukokusyoRowMaker::firstEligibleKamokuOfGroup(int32_t group) const
{
  for (const Kamoku* k : kamokuOfGroup(group))
    if (isEligible(*k)) return k;
  return nullptr;
}

size_t KaisyahouHoukokusyoRowMaker::addRow(std::vector<Shisan>& rows, int32_t kamokuCode, const std::string& title,
                                           int64_t amount) const
{
  Shisan& r = rows.emplace_back();
  r.setJigyoubuCode(jigyoubuCode_);
  r.setKamokuCode(kamokuCode);
  r.setTitle(title);
  r.setHoukokusyoAmount(amount);
  return rows.size() - 1;
}

void KaisyahouHoukokusyoRowMaker::accumulate(int64_t& sum, int64_t amount, bool add) const
{
  if (!inRange(sum)) return;
  sum = pinned(add ? capped::add(sum, amount) : capped::sub(sum, amount));
}

void KaisyahouHoukokusyoRowMaker::addAmount(int64_t amount, const Kamoku& kamoku, bool isKarikataKamokuKubun,
                                            int64_t& total) const
{
  accumulate(total, amount, kamoku.isKarikataKamoku() == isKarikataKamokuKubun);
}

size_t KaisyahouHoukokusyoRowMaker::addTotalOfCalculateArray(const std::vector<Calculate>& calculateArray,
                                                             std::vector<Shisan>& rows) const
{
  int64_t total = 0;
  for (const Calculate& c : calculateArray)
    accumulate(total, rows[static_cast<size_t>(c.indexOfArray())].houkokusyoAmount(), !c.isSubtract());
  std::vector<int64_t> cells;
  for (const Calculate& c : calculateArray) {
    const std::vector<int64_t>& from = rows[static_cast<size_t>(c.indexOfArray())].monthlyAmountArray();
    if (cells.size() < from.size()) cells.resize(from.size(), 0);
    for (size_t j = 0; j < from.size(); ++j) accumulate(cells[j], from[j], !c.isSubtract());
  }
  Shisan& r = rows.emplace_back();
  r.setHoukokusyoAmount(total);
  r.monthlyAmountArray() = std::move(cells);
  return rows.size() - 1;
}

size_t KaisyahouHoukokusyoRowMaker::addTotalRow(const std::vector<Calculate>& calculateArray, std::vector<Shisan>& rows,
                                                int32_t kamokuCode, const std::string& title) const
{
  const size_t i = addTotalOfCalculateArray(calculateArray, rows);
  rows[i].setJigyoubuCode(jigyoubuCode_);
  rows[i].setKamokuCode(kamokuCode);
  rows[i].setTitle(title);
  return i;
}

int32_t KaisyahouHoukokusyoRowMaker::addGroupKamoku(const std::string& kubunName, int32_t kamokuGroup,
                                                    int32_t kamokuGroup2, const std::string& groupName,
                                                    bool isKarikataKamokuKubun, const std::string& indent,
                                                    std::vector<Shisan>& rows) const
{
  const size_t heading = addRow(rows, KaisyahouGroupRowCode, groupName, 0);
  int64_t total = 0;
  for (const Kamoku* k : kamokuOfKubun(kubunName)) {
    if (kamokuGroup != 0 && k->group() != kamokuGroup && (kamokuGroup2 == 0 || k->group() != kamokuGroup2)) continue;
    if (!isEligible(*k)) continue;
    const int64_t a = gassanAmountOf(*k);
    if (a == 0) continue;
    addRow(rows, k->code(), indent + rowName(*k), a);
    addAmount(a, *k, isKarikataKamokuKubun, total);
  }
  if (rows.size() == heading + 1) {
    rows.pop_back();
    return -1;
  }
  rows[heading].setHoukokusyoAmount(total);
  return static_cast<int32_t>(heading);
}

}  // namespace kivo
