#include "trial/Shisan.h"

#include <algorithm>

#include "model/Kamoku.h"
#include "trial/CappedAmount.h"

namespace kivo {
namespace {

// The cached figure of month i for the division; 0 past the end of the cache.
int64_t monthlyFigure(const std::vector<StartBalanceList>& cache, int32_t monthIndex, int32_t jigyoubuCode)
{
  if (monthIndex < 0 || static_cast<size_t>(monthIndex) >= cache.size()) return 0;
  return cache[static_cast<size_t>(monthIndex)].balanceOfJigyoubuCode(jigyoubuCode);
}

bool inBounds(int64_t v, int64_t maxAmountValue, int64_t minAmountValue)
{
  return v >= minAmountValue && v <= maxAmountValue;
}

// entry := entry + v (same side) or entry - v (other side), pinned one beyond the
// bound that the operation passed; an entry already out of bounds stays as it is.
void addPinned(int64_t& entry, int64_t v, bool sameSide, int64_t maxAmountValue, int64_t minAmountValue)
{
  if (!inBounds(entry, maxAmountValue, minAmountValue)) return;
  if (sameSide) {
    entry = capped::add(entry, v);
    if (entry > maxAmountValue) entry = capped::add(maxAmountValue, 1);
  } else {
    entry = capped::sub(entry, v);
    if (entry < minAmountValue) entry = capped::sub(minAmountValue, 1);
  }
}

void ensureColumns(std::vector<int64_t>& columns, int32_t numberOfMonth)
{
  const size_t n = static_cast<size_t>(std::max(numberOfMonth, 0)) + 1;
  if (columns.size() < n) columns.resize(n, 0);
}

}  // namespace

Shisan::Shisan(int32_t numberOfZeroAmountMonth)
    : monthlyAmountArray_(static_cast<size_t>(std::max(numberOfZeroAmountMonth, 0)) + 1, 0)
{
}

void Shisan::setMonthlyAmountFromTaisyakuBalanceOfKamoku(Kamoku& kamoku, int32_t jigyoubuCode, int32_t numberOfMonth,
                                                         int64_t maxAmountValue, int64_t minAmountValue,
                                                         bool addKaishiZandakaToGoukei)
{
  monthlyAmountArray_.clear();
  int64_t total = addKaishiZandakaToGoukei ? kamoku.startBalanceOfJigyoubuCode(jigyoubuCode) : 0;
  const auto& cache = kamoku.suiiShisanMonthlyTaisyakuBalanceArray();
  for (int32_t i = 0; i < numberOfMonth; ++i) {
    const int64_t v = monthlyFigure(cache, i, jigyoubuCode);
    monthlyAmountArray_.push_back(v);
    if (inBounds(total, maxAmountValue, minAmountValue)) total = capped::add(total, v);
  }
  monthlyAmountArray_.push_back(total);
}

void Shisan::addMonthlyAmountFromTaisyakuBalanceOfKamoku(Kamoku& kamoku, int32_t jigyoubuCode,
                                                         bool isKarikataKamokuKubun, int32_t numberOfMonth,
                                                         int64_t maxAmountValue, int64_t minAmountValue,
                                                         bool addKaishiZandakaToGoukei)
{
  ensureColumns(monthlyAmountArray_, numberOfMonth);
  const bool sameSide = kamoku.isKarikataKamoku() == isKarikataKamokuKubun;
  int64_t total = addKaishiZandakaToGoukei ? kamoku.startBalanceOfJigyoubuCode(jigyoubuCode) : 0;
  const auto& cache = kamoku.suiiShisanMonthlyTaisyakuBalanceArray();
  for (int32_t i = 0; i < numberOfMonth; ++i) {
    const int64_t v = monthlyFigure(cache, i, jigyoubuCode);
    addPinned(monthlyAmountArray_[static_cast<size_t>(i)], v, sameSide, maxAmountValue, minAmountValue);
    // The account's own total advances even when the row's month column is frozen:
    // the total column then still holds this account's whole movement.
    if (inBounds(total, maxAmountValue, minAmountValue)) total = capped::add(total, v);
  }
  addPinned(monthlyAmountArray_[static_cast<size_t>(std::max(numberOfMonth, 0))], total, sameSide, maxAmountValue,
            minAmountValue);
}

void Shisan::setMonthlyAmountFromSyuuryouZandakaOfKamoku(Kamoku& kamoku, int32_t jigyoubuCode, int32_t numberOfMonth)
{
  monthlyAmountArray_.clear();
  monthlyAmountArray_.push_back(kamoku.startBalanceOfJigyoubuCode(jigyoubuCode));
  const auto& cache = kamoku.suiiShisanMonthlySyuuryouZandakaArray();
  for (int32_t i = 0; i < numberOfMonth; ++i) monthlyAmountArray_.push_back(monthlyFigure(cache, i, jigyoubuCode));
}

void Shisan::addMonthlyAmountFromSyuuryouZandakaOfKamoku(Kamoku& kamoku, int32_t jigyoubuCode,
                                                         bool isKarikataKamokuKubun, int32_t numberOfMonth,
                                                         int64_t maxAmountValue, int64_t minAmountValue)
{
  ensureColumns(monthlyAmountArray_, numberOfMonth);
  const bool sameSide = kamoku.isKarikataKamoku() == isKarikataKamokuKubun;
  addPinned(monthlyAmountArray_[0], kamoku.startBalanceOfJigyoubuCode(jigyoubuCode), sameSide, maxAmountValue,
            minAmountValue);
  const auto& cache = kamoku.suiiShisanMonthlySyuuryouZandakaArray();
  for (int32_t i = 0; i < numberOfMonth; ++i)
    addPinned(monthlyAmountArray_[static_cast<size_t>(i) + 1], monthlyFigure(cache, i, jigyoubuCode), sameSide,
              maxAmountValue, minAmountValue);
}

}  // namespace kivo
