#include "trial/ZandakaShisanSonekiKeisanSection.h"

#include "trial/ZandakaShisan.h"

namespace kivo {
namespace {

constexpr int32_t kUriageGroup = 3;
constexpr int32_t kKisyuSyouhinGroup = 4;
constexpr int32_t kShiireGroup = 5;
constexpr int32_t kKimatsuSyouhinGroup = 6;
constexpr int32_t kHoujinzeiGroup = 7;
constexpr int32_t kZenkiKurikoshiGroup = 8;

}  // namespace

void ZandakaShisanSonekiKeisanSection::build(std::vector<Shisan>& rows, int32_t j,
                                             const Shisan* toukiSeihinSeizouGenkaShisan) const
{
  rows.clear();
  const ZandakaShisan& b = builder_;
  std::vector<Calculate> ops;
  // Account rows and running sums of a list of accounts on one side; returns how
  // many rows it appended.
  auto rowsAndSums = [&](const std::vector<const Kamoku*>& accounts, bool karikata, ZandakaShisan::RunningSums& sums) {
    for (const Kamoku* k : accounts) {
      b.appendKamokuRow(rows, *k, j, "　" + k->nameWithoutNonPrintChar(), true);
      b.addZandakaShisanValueOfKamoku(*k, j, karikata, sums);
    }
    return accounts.size();
  };
  // A block of a group shown only when it has accounts: rows, then its subtotal as
  // an operand.
  auto groupBlock = [&](int32_t group, bool karikata, const char* title, bool subtract) {
    ZandakaShisan::RunningSums sums;
    if (rowsAndSums(b.kamokuOfGroup(group, j), karikata, sums) == 0) return;
    ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, title, sums, true);
    ZandakaShisan::addOperand(ops, rows, subtract);
  };
  // A block of a category shown always: heading, rows, its total as an operand.
  auto kubunBlock = [&](const char* kubun, bool karikata, const char* title, bool subtract) {
    ZandakaShisan::appendHeadingRow(rows, j, kubun);
    ZandakaShisan::RunningSums sums;
    rowsAndSums(b.kamokuOfKubun(kubun, j), karikata, sums);
    ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, title, sums, true);
    ZandakaShisan::addOperand(ops, rows, subtract);
  };

  // Sales: the percent base.
  ZandakaShisan::appendHeadingRow(rows, j, "売上高");
  ZandakaShisan::RunningSums uriage;
  rowsAndSums(b.kamokuOfGroup(kUriageGroup, j), false, uriage);
  const size_t uriageRow = ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "　　売上高合計", uriage, true);

  // Cost of sales.
  ZandakaShisan::appendHeadingRow(rows, j, "売上原価");
  groupBlock(kKisyuSyouhinGroup, true, "　　期首商品棚卸高", false);
  groupBlock(kShiireGroup, true, "　　当期商品仕入高", false);
  if (toukiSeihinSeizouGenkaShisan) {
    ZandakaShisan::appendLinkRow(rows, j, "　　当期製品製造原価", toukiSeihinSeizouGenkaShisan, true);
    ZandakaShisan::addOperand(ops, rows, false);
  }
  if (ops.size() > 1) b.appendTotalRow(ops, rows, j, ShisanSubtotalRowCode, "　　小　　　計");
  groupBlock(kKimatsuSyouhinGroup, false, "　　期末商品棚卸高", true);
  const size_t genkaRow = b.appendTotalRow(ops, rows, j, ShisanSubtotalRowCode, "　　売上原価");

  // From here on one operand list accumulates the profit.
  ops.clear();
  ops.emplace_back(static_cast<int32_t>(uriageRow), Calculate::kAdd);
  ops.emplace_back(static_cast<int32_t>(genkaRow), Calculate::kSubtract);
  b.appendTotalRow(ops, rows, j, ShisanTotalRowCode, "　売上総損益");

  kubunBlock("販売費及び一般管理費", true, "　　販売費及び一般管理費合計", true);
  b.appendTotalRow(ops, rows, j, ShisanTotalRowCode, "　営業損益");
  kubunBlock("営業外収益", false, "　　営業外収益合計", false);
  kubunBlock("営業外費用", true, "　　営業外費用合計", true);
  b.appendTotalRow(ops, rows, j, ShisanTotalRowCode, "　経常損益");
  kubunBlock("特別利益", false, "　　特別利益合計", false);
  kubunBlock("特別損失", true, "　　特別損失合計", true);
  b.appendTotalRow(ops, rows, j, ShisanTotalRowCode, "　当期税引前損益");

  // Taxes: one row, carrying the first tax account's code (for its ledger).
  {
    ZandakaShisan::RunningSums sums;
    const std::vector<const Kamoku*> taxes = b.kamokuOfGroup(kHoujinzeiGroup, j);
    for (const Kamoku* k : taxes) b.addZandakaShisanValueOfKamoku(*k, j, true, sums);
    ZandakaShisan::appendSumsRow(rows, j, taxes.empty() ? ShisanSubtotalRowCode : taxes.front()->code(), "　法人税等",
                                 sums, true);
    ZandakaShisan::addOperand(ops, rows, true);
  }
  const bool older = b.isOlderChart();
  b.appendTotalRow(ops, rows, j, ToukiSonekiRowCode, older ? "　当期損益" : "　当期純損益");

  if (older) {
    ZandakaShisan::RunningSums sums;
    const std::vector<const Kamoku*> kurikoshi = b.kamokuOfGroup(kZenkiKurikoshiGroup, j);
    for (const Kamoku* k : kurikoshi) b.addZandakaShisanValueOfKamoku(*k, j, false, sums);
    if (!kurikoshi.empty()) {
      ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "　前期繰越損益等", sums, true);
      ZandakaShisan::addOperand(ops, rows, false);
    }
    b.appendTotalRow(ops, rows, j, ToukiMisyobunSonekiRowCode, "　当期未処分損益");
  }
  b.setPercentOfShisanArray(rows, rows[uriageRow].syuuryouZandaka());
}

}  // namespace kivo
