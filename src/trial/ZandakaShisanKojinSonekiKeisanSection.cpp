#include "trial/ZandakaShisanKojinSonekiKeisanSection.h"

#include "document/MyDocument.h"
#include "trial/ZandakaShisan.h"

namespace kivo {
namespace {

constexpr int32_t kUriageGroup = 3;
constexpr int32_t kKisyuSyouhinGroup = 4;
constexpr int32_t kShiireGroup = 5;
constexpr int32_t kKimatsuSyouhinGroup = 6;
constexpr int32_t kKurireGroup = 7;
constexpr int32_t kSonotaSyuunyuuGroup = 14;
constexpr int32_t kKeihiGroup = 15;
constexpr int32_t kKurimodoshiGroup = 16;
constexpr int32_t kSenjuusyaGroup = 17;

}  // namespace

void ZandakaShisanKojinSonekiKeisanSection::build(std::vector<Shisan>& rows, int32_t j,
                                                  const Shisan* toukiSeihinSeizouGenkaShisan) const
{
  rows.clear();
  const ZandakaShisan& b = builder_;
  std::vector<Calculate> ops;
  auto rowsAndSums = [&](const std::vector<const Kamoku*>& accounts, bool karikata, ZandakaShisan::RunningSums& sums) {
    for (const Kamoku* k : accounts) {
      b.appendKamokuRow(rows, *k, j, "　" + k->nameWithoutNonPrintChar(), true);
      b.addZandakaShisanValueOfKamoku(*k, j, karikata, sums);
    }
    return accounts.size();
  };
  auto groupBlock = [&](int32_t group, bool karikata, const char* title, bool subtract) {
    ZandakaShisan::RunningSums sums;
    if (rowsAndSums(b.kamokuOfGroup(group, j), karikata, sums) == 0) return;
    ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, title, sums, true);
    ZandakaShisan::addOperand(ops, rows, subtract);
  };
  // The accounts of any of the groups, in one pass in code order.
  auto ofGroups = [&](int32_t g1, int32_t g2) {
    std::vector<const Kamoku*> out;
    for (const KamokuPtr& k : b.theDocument().codeSortedKamokuArray())
      if ((k->group() == g1 || k->group() == g2) && b.canAppearOnZandakaShisan(*k, j)) out.push_back(k.get());
    return out;
  };

  // Income: sales and other income interleaved by code; the percent base.
  ZandakaShisan::appendHeadingRow(rows, j, "収入金額");
  ZandakaShisan::RunningSums income;
  rowsAndSums(ofGroups(kUriageGroup, kSonotaSyuunyuuGroup), false, income);
  const size_t incomeRow = ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "　　収入金額合計", income, true);

  // Cost of sales.
  ZandakaShisan::appendHeadingRow(rows, j, "売上原価");
  groupBlock(kKisyuSyouhinGroup, true, "　　期首商品棚卸高", false);
  groupBlock(kShiireGroup, true, "　　当期商品仕入高", false);
  if (toukiSeihinSeizouGenkaShisan) {
    ZandakaShisan::appendLinkRow(rows, j, "　　当期製品製造原価", toukiSeihinSeizouGenkaShisan, true);
    ZandakaShisan::addOperand(ops, rows, false);
  }
  // The subtotal is shown only; the cost of sales sums the operands themselves.
  if (ops.size() > 1) b.appendTotalRow(ops, rows, j, ShisanSubtotalRowCode, "　　小　　　計");
  groupBlock(kKimatsuSyouhinGroup, false, "　　期末商品棚卸高", true);
  const size_t genkaRow = b.appendTotalRow(ops, rows, j, ShisanSubtotalRowCode, "　　売上原価");

  ops.clear();
  ops.emplace_back(static_cast<int32_t>(incomeRow), Calculate::kAdd);
  ops.emplace_back(static_cast<int32_t>(genkaRow), Calculate::kSubtract);
  b.appendTotalRow(ops, rows, j, ShisanTotalRowCode, "　売上総損益");

  // Expenses.
  ZandakaShisan::appendHeadingRow(rows, j, "経費");
  {
    ZandakaShisan::RunningSums sums;
    rowsAndSums(b.kamokuOfGroup(kKeihiGroup, j), true, sums);
    ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "　　経費合計", sums, true);
    ZandakaShisan::addOperand(ops, rows, true);
  }
  b.appendTotalRow(ops, rows, j, ShisanTotalRowCode, "　差引金額");

  // Amounts reversed.
  ZandakaShisan::appendHeadingRow(rows, j, "繰戻額等");
  {
    ZandakaShisan::RunningSums sums;
    rowsAndSums(b.kamokuOfGroup(kKurimodoshiGroup, j), false, sums);
    ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "　　繰戻額等合計", sums, true);
    ZandakaShisan::addOperand(ops, rows, false);
  }

  // Amounts set aside: first every account of group 7, then every one of group 17.
  ZandakaShisan::appendHeadingRow(rows, j, "繰入額等");
  {
    ZandakaShisan::RunningSums sums;
    rowsAndSums(b.kamokuOfGroup(kKurireGroup, j), true, sums);
    rowsAndSums(b.kamokuOfGroup(kSenjuusyaGroup, j), true, sums);
    ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "　　繰入額等合計", sums, true);
    ZandakaShisan::addOperand(ops, rows, true);
  }
  b.appendTotalRow(ops, rows, j, ToukiSonekiRowCode, "　青色申告控除前所得");
  b.setPercentOfShisanArray(rows, rows[incomeRow].syuuryouZandaka());
}

}  // namespace kivo
