#include "trial/ZandakaShisanSonekiKeisanSection.h"

#include "trial/ZandakaShisan.h"

namespace kivo {
namespace {

constexpr int32_t kUriageGroup = 3;
constexpr int32_t kHoujinzeiGroup = 7;
constexpr int32_t kZenkiKurikoshiGroup = 8;

}  // namespace

void ZandakaShisanSonekiKeisanSection::build(std::vector<Shisan>& rows, int32_t j,
                                             const Shisan* toukiSeihinSeizouGenkaShisan) const
{
  rows.clear();
  const ZandakaShisan& b = builder_;
  std::vector<Calculate> ops;
  // A block of a category shown always: heading, rows, its total as an operand.
  auto kubunBlock = [&](const char* kubun, bool karikata, const char* title, bool subtract) {
    b.appendHeadedBlock(rows, ops, kubun, b.kamokuOfKubun(kubun, j), j, karikata, title, subtract);
  };

  // Sales: the percent base.
  ZandakaShisan::appendHeadingRow(rows, j, "売上高");
  ZandakaShisan::RunningSums uriage;
  b.appendKamokuRowsAndSums(rows, b.kamokuOfGroup(kUriageGroup, j), j, false, uriage, true);
  const size_t uriageRow = ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "　　売上高合計", uriage, true);
  b.appendUriageGenkaAndSoueki(rows, ops, j, uriageRow, toukiSeihinSeizouGenkaShisan);

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
