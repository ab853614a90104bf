#include "trial/ZandakaShisan.h"

#include <cstdio>

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Kaisya.h"
#include "model/KamokuKubun.h"
#include "trial/ZandakaShisanKojinSonekiKeisanSection.h"
#include "trial/ZandakaShisanSeizouGenkaSection.h"
#include "trial/ZandakaShisanSonekiKeisanSection.h"
#include "trial/ZandakaShisanTaisyakuTaisyouSection.h"

namespace kivo {
namespace {

// The groups of the cost of sales, alike in both statements of income.
constexpr int32_t kKisyuSyouhinGroup = 4;
constexpr int32_t kShiireGroup = 5;
constexpr int32_t kKimatsuSyouhinGroup = 6;

// A running balance: changed only while within the limit; an addition that passes
// the limit stores one beyond it, so does a subtraction on the negative side.
void addBalance(int64_t& sum, int64_t v, bool add, int64_t max)
{
  if (!capped::inRange(sum, max)) return;
  if (add) {
    sum = capped::add(sum, v);
    if (sum > max) sum = max + 1;
  } else {
    sum = capped::sub(sum, v);
    if (sum < -max) sum = -(max + 1);
  }
}

// A debit or credit total: grows only while below the limit.
void addTotal(int64_t& sum, int64_t v, int64_t max)
{
  if (sum >= max) return;
  sum = capped::add(sum, v);
  if (sum > max) sum = max + 1;
}

}  // namespace

ZandakaShisan::ZandakaShisan(const MyDocument& document, const ZandakaShisanPeriodSums& sums,
                             bool kamokuDoNotShowIfNoTorihiki)
    : document_(document),
      sums_(sums),
      kamokuDoNotShowIfNoTorihiki_(kamokuDoNotShowIfNoTorihiki),
      max_(document.kaisya().maxOutputAmountValue())
{
}

const Kaisya& ZandakaShisan::kaisya() const { return document_.kaisya(); }

bool ZandakaShisan::isOlderChart() const
{
  const KamokuKubunPtr& root = document_.rootKamokuKubun();
  return root && root->pListResource() == KamokuKubun::kOlderChartName;
}

// --- sections

void ZandakaShisan::setSeizouGenkaShisanArray(std::vector<Shisan>& rows, int32_t jigyoubuCode) const
{
  ZandakaShisanSeizouGenkaSection(*this).build(rows, jigyoubuCode);
}

void ZandakaShisan::setSonekiKeisanShisanArray(std::vector<Shisan>& rows, int32_t jigyoubuCode,
                                               const Shisan* toukiSeihinSeizouGenkaShisan) const
{
  ZandakaShisanSonekiKeisanSection(*this).build(rows, jigyoubuCode, toukiSeihinSeizouGenkaShisan);
}

void ZandakaShisan::setKojinSonekiKeisanShisanArray(std::vector<Shisan>& rows, int32_t jigyoubuCode,
                                                    const Shisan* toukiSeihinSeizouGenkaShisan) const
{
  ZandakaShisanKojinSonekiKeisanSection(*this).build(rows, jigyoubuCode, toukiSeihinSeizouGenkaShisan);
}

void ZandakaShisan::setTaisyakuTaisyouShisanArray(std::vector<Shisan>& rows, int32_t jigyoubuCode,
                                                  const Shisan* toukiSonekiShisan,
                                                  const Shisan* toukiMisyobunSonekiShisan) const
{
  ZandakaShisanTaisyakuTaisyouSection(*this).build(rows, jigyoubuCode, toukiSonekiShisan, toukiMisyobunSonekiShisan);
}

// --- shared rules

bool ZandakaShisan::canAppearOnZandakaShisan(const Kamoku& kamoku, int32_t j) const
{
  const bool hasAmounts = !sumsOf(kamoku, j).isZero();
  if (hasAmounts) return true;
  if (!kamoku.isActive() || kamokuDoNotShowIfNoTorihiki_) return false;
  return (kamoku.type() & Kamoku::kTypeA) == 0;
}

void ZandakaShisan::addZandakaShisanValueOfKamoku(const Kamoku& kamoku, int32_t j, bool isKarikataKamokuKubun,
                                                  RunningSums& sums) const
{
  const bool same = kamoku.isKarikataKamoku() == isKarikataKamokuKubun;
  const ZandakaShisanPeriodSums::Sums& k = sumsOf(kamoku, j);
  addBalance(sums.kaishiZandaka, k.kaishiZandaka, same, max_);
  addTotal(sums.karikataGoukei, k.karikataGoukei, max_);
  addTotal(sums.kashikataGoukei, k.kashikataGoukei, max_);
  addBalance(sums.syuuryouZandaka, k.syuuryouZandaka, same, max_);
  addBalance(sums.endBalance, k.endBalance, same, max_);
}

Shisan& ZandakaShisan::addTotalOfCalculateArray(const std::vector<Calculate>& calculateArray,
                                                std::vector<Shisan>& rows) const
{
  RunningSums s;
  // A sum of rows: out of range, it is pinned one beyond the limit on its own side.
  auto balance = [this](int64_t& sum, int64_t v, bool subtract) {
    if (!capped::inRange(sum, max_)) return;
    sum = subtract ? capped::sub(sum, v) : capped::add(sum, v);
    if (sum > max_) sum = max_ + 1;
    if (sum < -max_) sum = -(max_ + 1);
  };
  for (const Calculate& c : calculateArray) {
    if (c.indexOfArray() < 0 || static_cast<size_t>(c.indexOfArray()) >= rows.size()) continue;
    const Shisan& r = rows[static_cast<size_t>(c.indexOfArray())];
    balance(s.kaishiZandaka, r.kaishiZandaka(), c.isSubtract());
    balance(s.syuuryouZandaka, r.syuuryouZandaka(), c.isSubtract());
    addTotal(s.karikataGoukei, r.karikataGoukei(), max_);
    addTotal(s.kashikataGoukei, r.kashikataGoukei(), max_);
    balance(s.endBalance, r.endBalance(), c.isSubtract());
  }
  Shisan row;
  row.setKaishiZandaka(s.kaishiZandaka);
  row.setKarikataGoukei(s.karikataGoukei);
  row.setKashikataGoukei(s.kashikataGoukei);
  row.setSyuuryouZandaka(s.syuuryouZandaka);
  row.setEndBalance(s.endBalance);
  rows.push_back(std::move(row));
  return rows.back();
}

void ZandakaShisan::setPercentOfShisanArray(std::vector<Shisan>& rows, int64_t base) const
{
  if (base == 0 || !capped::inRange(base, max_)) {
    for (Shisan& r : rows) {
      r.setPercent(0.0);
      r.setIsValidPercent(false);
    }
    return;
  }
  const Kaisya& k = kaisya();
  const double baseValue = k.displayKingakuOfMemoryKingaku(base);
  for (Shisan& r : rows) {
    r.setPercent(0.0);
    r.setIsValidPercent(false);
    if (r.isHeadingRow() || !capped::inRange(r.syuuryouZandaka(), max_)) continue;
    const double percent = k.displayKingakuOfMemoryKingaku(r.syuuryouZandaka()) / baseValue * 100.0;
    // A share too wide for the column (more than 9 characters as "%0.2f") is not shown.
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%0.2f", percent);
    if (length < 0 || length > 9) continue;
    r.setPercent(percent);
    r.setIsValidPercent(true);
  }
}

// --- helpers

std::vector<const Kamoku*> ZandakaShisan::kamokuOfGroup(int32_t group, int32_t j) const
{
  std::vector<const Kamoku*> out;
  for (const KamokuPtr& k : document_.codeSortedKamokuArray())
    if (k->group() == group && canAppearOnZandakaShisan(*k, j)) out.push_back(k.get());
  return out;
}

std::vector<const Kamoku*> ZandakaShisan::kamokuOfKubun(const std::string& kubunName, int32_t j) const
{
  std::vector<const Kamoku*> out;
  for (const Kamoku* k : allKamokuOfKubun(kubunName))
    if (canAppearOnZandakaShisan(*k, j)) out.push_back(k);
  return out;
}

std::vector<const Kamoku*> ZandakaShisan::allKamokuOfKubun(const std::string& kubunName) const
{
  return document_.kamokuOfKubunName(kubunName);
}

size_t ZandakaShisan::appendHeadingRow(std::vector<Shisan>& rows, int32_t j, const std::string& title)
{
  Shisan row;
  row.setJigyoubuCode(j);
  row.setKamokuCode(ShisanHeadingRowCode);
  row.setTitle(title);
  rows.push_back(std::move(row));
  return rows.size() - 1;
}

size_t ZandakaShisan::appendKamokuRow(std::vector<Shisan>& rows, const Kamoku& kamoku, int32_t j,
                                      const std::string& title, bool withEndBalance) const
{
  Shisan row;
  row.setJigyoubuCode(j);
  row.setKamokuCode(kamoku.code());
  row.setTitle(title);
  const ZandakaShisanPeriodSums::Sums& k = sumsOf(kamoku, j);
  row.setKaishiZandaka(k.kaishiZandaka);
  row.setKarikataGoukei(k.karikataGoukei);
  row.setKashikataGoukei(k.kashikataGoukei);
  row.setSyuuryouZandaka(k.syuuryouZandaka);
  if (withEndBalance) row.setEndBalance(k.endBalance);
  rows.push_back(std::move(row));
  return rows.size() - 1;
}

size_t ZandakaShisan::appendSumsRow(std::vector<Shisan>& rows, int32_t j, int32_t kamokuCode, const std::string& title,
                                    const RunningSums& sums, bool withEndBalance)
{
  Shisan row;
  row.setJigyoubuCode(j);
  row.setKamokuCode(kamokuCode);
  row.setTitle(title);
  row.setKaishiZandaka(sums.kaishiZandaka);
  row.setKarikataGoukei(sums.karikataGoukei);
  row.setKashikataGoukei(sums.kashikataGoukei);
  row.setSyuuryouZandaka(sums.syuuryouZandaka);
  if (withEndBalance) row.setEndBalance(sums.endBalance);
  rows.push_back(std::move(row));
  return rows.size() - 1;
}

size_t ZandakaShisan::appendTotalRow(const std::vector<Calculate>& calculateArray, std::vector<Shisan>& rows, int32_t j,
                                     int32_t kamokuCode, const std::string& title) const
{
  Shisan& row = addTotalOfCalculateArray(calculateArray, rows);
  row.setJigyoubuCode(j);
  row.setKamokuCode(kamokuCode);
  row.setTitle(title);
  return rows.size() - 1;
}

size_t ZandakaShisan::appendLinkRow(std::vector<Shisan>& rows, int32_t j, const std::string& title, const Shisan* link,
                                    bool withEndBalance)
{
  Shisan row;
  row.setJigyoubuCode(j);
  row.setKamokuCode(ShisanSubtotalRowCode);
  row.setTitle(title);
  if (link) {
    row.setKaishiZandaka(link->kaishiZandaka());
    row.setKarikataGoukei(link->karikataGoukei());
    row.setKashikataGoukei(link->kashikataGoukei());
    row.setSyuuryouZandaka(link->syuuryouZandaka());
    if (withEndBalance) row.setEndBalance(link->endBalance());
  }
  rows.push_back(std::move(row));
  return rows.size() - 1;
}

void ZandakaShisan::addOperand(std::vector<Calculate>& calculateArray, const std::vector<Shisan>& rows, bool subtract)
{
  calculateArray.emplace_back(static_cast<int32_t>(rows.size()) - 1,
                              subtract ? Calculate::Sign::Subtract : Calculate::Sign::Add);
}

size_t ZandakaShisan::appendKamokuRowsAndSums(std::vector<Shisan>& rows, const std::vector<const Kamoku*>& accounts,
                                              int32_t j, bool karikata, RunningSums& sums,
                                              bool indentedWithEndBalance) const
{
  for (const Kamoku* k : accounts) {
    appendKamokuRow(rows, *k, j,
                    indentedWithEndBalance ? "　" + k->nameWithoutNonPrintChar() : k->nameWithoutNonPrintChar(),
                    indentedWithEndBalance);
    addZandakaShisanValueOfKamoku(*k, j, karikata, sums);
  }
  return accounts.size();
}

void ZandakaShisan::appendGroupBlock(std::vector<Shisan>& rows, std::vector<Calculate>& ops, int32_t group, int32_t j,
                                     bool karikata, const std::string& title, bool subtract) const
{
  RunningSums sums;
  if (appendKamokuRowsAndSums(rows, kamokuOfGroup(group, j), j, karikata, sums, true) == 0) return;
  appendSumsRow(rows, j, ShisanSubtotalRowCode, title, sums, true);
  addOperand(ops, rows, subtract);
}

void ZandakaShisan::appendHeadedBlock(std::vector<Shisan>& rows, std::vector<Calculate>& ops,
                                      const std::string& heading, const std::vector<const Kamoku*>& accounts, int32_t j,
                                      bool karikata, const std::string& title, bool subtract) const
{
  appendHeadingRow(rows, j, heading);
  RunningSums sums;
  appendKamokuRowsAndSums(rows, accounts, j, karikata, sums, true);
  appendSumsRow(rows, j, ShisanSubtotalRowCode, title, sums, true);
  addOperand(ops, rows, subtract);
}

void ZandakaShisan::appendUriageGenkaAndSoueki(std::vector<Shisan>& rows, std::vector<Calculate>& ops, int32_t j,
                                               size_t baseRow, const Shisan* toukiSeihinSeizouGenkaShisan) const
{
  appendHeadingRow(rows, j, "売上原価");
  appendGroupBlock(rows, ops, kKisyuSyouhinGroup, j, true, "　　期首商品棚卸高", false);
  appendGroupBlock(rows, ops, kShiireGroup, j, true, "　　当期商品仕入高", false);
  if (toukiSeihinSeizouGenkaShisan) {
    appendLinkRow(rows, j, "　　当期製品製造原価", toukiSeihinSeizouGenkaShisan, true);
    addOperand(ops, rows, false);
  }
  // The subtotal is shown only; the cost of sales sums the operands themselves.
  if (ops.size() > 1) appendTotalRow(ops, rows, j, ShisanSubtotalRowCode, "　　小　　　計");
  appendGroupBlock(rows, ops, kKimatsuSyouhinGroup, j, false, "　　期末商品棚卸高", true);
  const size_t genkaRow = appendTotalRow(ops, rows, j, ShisanSubtotalRowCode, "　　売上原価");

  // From here on one operand list accumulates the profit.
  ops.clear();
  ops.emplace_back(static_cast<int32_t>(baseRow), Calculate::Sign::Add);
  ops.emplace_back(static_cast<int32_t>(genkaRow), Calculate::Sign::Subtract);
  appendTotalRow(ops, rows, j, ShisanTotalRowCode, "　売上総損益");
}

}  // namespace kivo
