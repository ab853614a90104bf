#include "trial/SuiiShisanBuilder.h"

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Kaisya.h"
#include "model/KamokuKubun.h"
#include "trial/SuiiShisanMonthlySums.h"

namespace kivo {
namespace {

constexpr int32_t kKisyuSyouhinGroup = 4;
constexpr int32_t kShiireGroup = 5;
constexpr int32_t kKimatsuSyouhinGroup = 6;

}  // namespace

SuiiShisanBuilder::SuiiShisanBuilder(const MyDocument& document, const SuiiShisanMonthlySums& sums,
                                     bool addKaishiZandakaToGoukei)
    : document_(document),
      sums_(sums),
      addKaishiZandakaToGoukei_(addKaishiZandakaToGoukei),
      max_(document.kaisya().maxOutputAmountValue()),
      numberOfMonth_(sums.numberOfMonth())
{
}

const Kaisya& SuiiShisanBuilder::kaisya() const { return document_.kaisya(); }

bool SuiiShisanBuilder::isOlderChart() const
{
  const KamokuKubunPtr& root = document_.rootKamokuKubun();
  return root && root->pListResource() == KamokuKubun::kOlderChartName;
}

// --- which accounts

bool SuiiShisanBuilder::canAppearOnTaisyakuBalance(const Kamoku& kamoku, int32_t j) const
{
  if (sums_.hasTaisyakuBalance(kamoku, j)) return true;
  if (addKaishiZandakaToGoukei_ && sums_.kaishiZandaka(kamoku, j) != 0) return true;
  return kamoku.isActive() && (kamoku.type() & Kamoku::kTypeA) == 0;
}

bool SuiiShisanBuilder::canAppearOnSyuuryouZandaka(const Kamoku& kamoku, int32_t j) const
{
  if (sums_.hasTaisyakuBalance(kamoku, j) || sums_.kaishiZandaka(kamoku, j) != 0) return true;
  return kamoku.isActive() && (kamoku.type() & Kamoku::kTypeA) == 0;
}

std::vector<const Kamoku*> SuiiShisanBuilder::kamokuOfGroup(int32_t group, int32_t j, bool closing) const
{
  std::vector<const Kamoku*> out;
  for (const KamokuPtr& k : document_.codeSortedKamokuArray())
    if (k->group() == group && canAppear(*k, j, closing)) out.push_back(k.get());
  return out;
}

std::vector<const Kamoku*> SuiiShisanBuilder::kamokuOfKubun(const std::string& kubunName, int32_t j, bool closing) const
{
  std::vector<const Kamoku*> out;
  for (const Kamoku* k : allKamokuOfKubun(kubunName))
    if (canAppear(*k, j, closing)) out.push_back(k);
  return out;
}

std::vector<const Kamoku*> SuiiShisanBuilder::allKamokuOfKubun(const std::string& kubunName) const
{
  return document_.kamokuOfKubunName(kubunName);
}

// --- amounts

SuiiShisanBuilder::Amounts SuiiShisanBuilder::taisyakuBalanceAmounts(const Kamoku& kamoku, int32_t j) const
{
  const std::span<const int64_t> cell = sums_.cell(kamoku, j);
  const size_t months = static_cast<size_t>(numberOfMonth_) + 1;
  Amounts out(cell.begin() + 1, cell.begin() + 1 + static_cast<std::ptrdiff_t>(months));
  // The total stops changing once it has left the limit.
  int64_t total = addKaishiZandakaToGoukei_ ? cell[0] : 0;
  for (int64_t v : out)
    if (capped::inRange(total, max_)) total = capped::add(total, v);
  out.push_back(total);
  return out;
}

SuiiShisanBuilder::Amounts SuiiShisanBuilder::syuuryouZandakaAmounts(const Kamoku& kamoku, int32_t j) const
{
  const std::span<const int64_t> cell = sums_.cell(kamoku, j);
  const size_t months = static_cast<size_t>(numberOfMonth_) + 1;
  Amounts out;
  out.reserve(months + 1);
  out.push_back(cell[0]);
  out.insert(out.end(), cell.begin() + 1 + static_cast<std::ptrdiff_t>(months), cell.end());
  return out;
}

void SuiiShisanBuilder::addAmounts(Amounts& sums, const Amounts& amounts, bool sameSide) const
{
  if (sums.size() < amounts.size()) sums.resize(amounts.size(), 0);
  for (size_t k = 0; k < amounts.size(); ++k) {
    int64_t& s = sums[k];
    if (!capped::inRange(s, max_)) continue;
    s = sameSide ? capped::add(s, amounts[k]) : capped::sub(s, amounts[k]);
    if (s > max_) s = max_ + 1;
    if (s < -max_) s = -(max_ + 1);
  }
}

void SuiiShisanBuilder::addKamoku(TwinAmounts& sums, const Kamoku& kamoku, int32_t j, bool karikata) const
{
  const bool same = kamoku.isKarikataKamoku() == karikata;
  addAmounts(sums.movement, taisyakuBalanceAmounts(kamoku, j), same);
  addAmounts(sums.closing, syuuryouZandakaAmounts(kamoku, j), same);
}

void SuiiShisanBuilder::addSyuuryouZandakaOfKamoku(Amounts& sums, const Kamoku& kamoku, int32_t j, bool karikata) const
{
  addAmounts(sums, syuuryouZandakaAmounts(kamoku, j), kamoku.isKarikataKamoku() == karikata);
}

SuiiShisanBuilder::Amounts SuiiShisanBuilder::sumOfCalculateArray(const std::vector<Calculate>& calculateArray,
                                                                  const std::vector<Shisan>& rows) const
{
  Amounts sum = zeroAmounts();
  for (const Calculate& c : calculateArray) {
    if (c.indexOfArray() < 0 || static_cast<size_t>(c.indexOfArray()) >= rows.size()) continue;
    addAmounts(sum, rows[static_cast<size_t>(c.indexOfArray())].monthlyAmountArray(), !c.isSubtract());
  }
  return sum;
}

void SuiiShisanBuilder::addLinkAmounts(Amounts& sums, const Shisan* link) const
{
  if (link) addAmounts(sums, link->monthlyAmountArray(), true);
}

// --- rows

Shisan SuiiShisanBuilder::makeRow(int32_t j, int32_t kamokuCode, const std::string& title, Amounts amounts)
{
  Shisan row;
  row.setJigyoubuCode(j);
  row.setKamokuCode(kamokuCode);
  row.setTitle(title);
  row.monthlyAmountArray() = std::move(amounts);
  return row;
}

size_t SuiiShisanBuilder::append(std::vector<Shisan>& rows, Shisan row)
{
  rows.push_back(std::move(row));
  return rows.size() - 1;
}

void SuiiShisanBuilder::addOperand(std::vector<Calculate>& ops, const std::vector<Shisan>& rows, bool subtract)
{
  ops.emplace_back(static_cast<int32_t>(rows.size()) - 1, subtract ? Calculate::Sign::Subtract : Calculate::Sign::Add);
}

size_t SuiiShisanBuilder::appendHeading(TwinRows& rows, int32_t j, const std::string& title)
{
  append(rows.closing, makeRow(j, ShisanHeadingRowCode, title, {}));
  return append(rows.movement, makeRow(j, ShisanHeadingRowCode, title, {}));
}

size_t SuiiShisanBuilder::appendKamoku(TwinRows& rows, const Kamoku& kamoku, int32_t j, const std::string& title) const
{
  append(rows.closing, makeRow(j, kamoku.code(), title, syuuryouZandakaAmounts(kamoku, j)));
  return append(rows.movement, makeRow(j, kamoku.code(), title, taisyakuBalanceAmounts(kamoku, j)));
}

size_t SuiiShisanBuilder::appendSums(TwinRows& rows, int32_t j, int32_t kamokuCode, const std::string& title,
                                     const TwinAmounts& sums)
{
  append(rows.closing, makeRow(j, kamokuCode, title, sums.closing));
  return append(rows.movement, makeRow(j, kamokuCode, title, sums.movement));
}

size_t SuiiShisanBuilder::appendTotal(TwinRows& rows, const std::vector<Calculate>& ops, int32_t j, int32_t kamokuCode,
                                      const std::string& title) const
{
  TwinAmounts sums{sumOfCalculateArray(ops, rows.movement), sumOfCalculateArray(ops, rows.closing)};
  return appendSums(rows, j, kamokuCode, title, sums);
}

size_t SuiiShisanBuilder::appendKamokuRowsAndSums(TwinRows& rows, const std::vector<const Kamoku*>& accounts, int32_t j,
                                                  bool karikata, TwinAmounts& sums) const
{
  for (const Kamoku* k : accounts) {
    appendKamoku(rows, *k, j, "　" + k->nameWithoutNonPrintChar());
    addKamoku(sums, *k, j, karikata);
  }
  return accounts.size();
}

void SuiiShisanBuilder::appendGroupBlock(TwinRows& rows, std::vector<Calculate>& ops, int32_t group, int32_t j,
                                         bool karikata, const std::string& title, bool subtract) const
{
  TwinAmounts sums = zeroTwinAmounts();
  if (appendKamokuRowsAndSums(rows, kamokuOfGroup(group, j, false), j, karikata, sums) == 0) return;
  appendSums(rows, j, ShisanSubtotalRowCode, title, sums);
  addOperand(ops, rows.movement, subtract);
}

void SuiiShisanBuilder::appendHeadedBlock(TwinRows& rows, std::vector<Calculate>& ops, const std::string& heading,
                                          const std::vector<const Kamoku*>& accounts, int32_t j, bool karikata,
                                          const std::string& title, bool subtract) const
{
  appendHeading(rows, j, heading);
  TwinAmounts sums = zeroTwinAmounts();
  appendKamokuRowsAndSums(rows, accounts, j, karikata, sums);
  appendSums(rows, j, ShisanSubtotalRowCode, title, sums);
  addOperand(ops, rows.movement, subtract);
}

void SuiiShisanBuilder::appendUriageGenkaAndSoueki(TwinRows& rows, std::vector<Calculate>& ops, int32_t j,
                                                   size_t baseRow, const Shisan* linkOfTaisyakuBalance,
                                                   const Shisan* linkOfSyuuryouZandaka) const
{
  appendHeading(rows, j, "売上原価");
  appendGroupBlock(rows, ops, kKisyuSyouhinGroup, j, true, "　　期首商品棚卸高", false);
  appendGroupBlock(rows, ops, kShiireGroup, j, true, "　　当期商品仕入高", false);
  if (linkOfTaisyakuBalance) {
    TwinAmounts link{linkOfTaisyakuBalance->monthlyAmountArray(),
                     linkOfSyuuryouZandaka ? linkOfSyuuryouZandaka->monthlyAmountArray() : zeroAmounts()};
    appendSums(rows, j, ShisanSubtotalRowCode, "　　当期製品製造原価", link);
    addOperand(ops, rows.movement, false);
  }
  if (ops.size() > 1) appendTotal(rows, ops, j, ShisanSubtotalRowCode, "　　小　　　計");
  appendGroupBlock(rows, ops, kKimatsuSyouhinGroup, j, false, "　　期末商品棚卸高", true);
  const size_t genkaRow = appendTotal(rows, ops, j, ShisanSubtotalRowCode, "　　売上原価");

  ops.clear();
  ops.emplace_back(static_cast<int32_t>(baseRow), Calculate::Sign::Add);
  ops.emplace_back(static_cast<int32_t>(genkaRow), Calculate::Sign::Subtract);
  appendTotal(rows, ops, j, ShisanTotalRowCode, "　売上総損益");
}

}  // namespace kivo
