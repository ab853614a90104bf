#include "trial/SuiiShisanSonekiKeisanSection.h"

#include "model/Kamoku.h"

namespace kivo {
namespace {

constexpr int32_t kUriageGroup = 3;
constexpr int32_t kHoujinzeiGroup = 7;
constexpr int32_t kZenkiKurikoshiGroup = 8;

}  // namespace

SuiiShisanBuilder::TwinRows SuiiShisanSonekiKeisanSection::build(const SuiiShisanBuilder& b, int32_t j,
                                                                 const Shisan* linkOfTaisyakuBalance,
                                                                 const Shisan* linkOfSyuuryouZandaka)
{
  using B = SuiiShisanBuilder;
  B::TwinRows rows;
  std::vector<Calculate> ops;
  auto kubunBlock = [&](const char* kubun, bool karikata, const char* title, bool subtract) {
    b.appendHeadedBlock(rows, ops, kubun, b.kamokuOfKubun(kubun, j, false), j, karikata, title, subtract);
  };

  B::appendHeading(rows, j, "売上高");
  B::TwinAmounts uriage = b.zeroTwinAmounts();
  b.appendKamokuRowsAndSums(rows, b.kamokuOfGroup(kUriageGroup, j, false), j, false, uriage);
  const size_t uriageRow = B::appendSums(rows, j, ShisanSubtotalRowCode, "　　売上高合計", uriage);
  b.appendUriageGenkaAndSoueki(rows, ops, j, uriageRow, linkOfTaisyakuBalance,
                               linkOfTaisyakuBalance ? linkOfSyuuryouZandaka : nullptr);

  kubunBlock("販売費及び一般管理費", true, "　　販売費及び一般管理費合計", true);
  b.appendTotal(rows, ops, j, ShisanTotalRowCode, "　営業損益");
  kubunBlock("営業外収益", false, "　　営業外収益合計", false);
  kubunBlock("営業外費用", true, "　　営業外費用合計", true);
  b.appendTotal(rows, ops, j, ShisanTotalRowCode, "　経常損益");
  kubunBlock("特別利益", false, "　　特別利益合計", false);
  kubunBlock("特別損失", true, "　　特別損失合計", true);
  b.appendTotal(rows, ops, j, ShisanTotalRowCode, "　当期税引前損益");

  // Taxes: one row, carrying the first tax account's code (for its ledger).
  {
    B::TwinAmounts sums = b.zeroTwinAmounts();
    const std::vector<const Kamoku*> taxes = b.kamokuOfGroup(kHoujinzeiGroup, j, false);
    for (const Kamoku* k : taxes) b.addKamoku(sums, *k, j, true);
    B::appendSums(rows, j, taxes.empty() ? ShisanSubtotalRowCode : taxes.front()->code(), "　法人税等", sums);
    B::addOperand(ops, rows.movement, true);
  }
  const bool older = b.isOlderChart();
  const size_t profit = b.appendTotal(rows, ops, j, ShisanTotalRowCode, older ? "　当期損益" : "　当期純損益");
  rows.closing[profit].setKamokuCode(ToukiSonekiRowCode);
  rows.closing[profit].setTitle("　当期損益");

  if (older) {
    // From here each form has its own operands: the profit brought forward is
    // summed per form, by each form's own filter.
    std::vector<Calculate> movementOps = ops, closingOps = ops;
    const std::vector<const Kamoku*> ofMovement = b.kamokuOfGroup(kZenkiKurikoshiGroup, j, false);
    const std::vector<const Kamoku*> ofClosing = b.kamokuOfGroup(kZenkiKurikoshiGroup, j, true);
    if (!ofMovement.empty()) {
      B::Amounts sums = b.zeroAmounts();
      for (const Kamoku* k : ofMovement) b.addAmounts(sums, b.taisyakuBalanceAmounts(*k, j), !k->isKarikataKamoku());
      B::append(rows.movement, B::makeRow(j, ShisanSubtotalRowCode, "　前期繰越損益等", std::move(sums)));
      B::addOperand(movementOps, rows.movement, false);
    }
    if (!ofClosing.empty()) {
      B::Amounts sums = b.zeroAmounts();
      for (const Kamoku* k : ofClosing) b.addSyuuryouZandakaOfKamoku(sums, *k, j, false);
      B::append(rows.closing, B::makeRow(j, ShisanSubtotalRowCode, "　前期繰越損益等", std::move(sums)));
      B::addOperand(closingOps, rows.closing, false);
    }
    B::append(rows.movement,
              B::makeRow(j, ShisanTotalRowCode, "　当期未処分損益", b.sumOfCalculateArray(movementOps, rows.movement)));
    B::append(rows.closing, B::makeRow(j, ToukiMisyobunSonekiRowCode, "　当期未処分損益",
                                       b.sumOfCalculateArray(closingOps, rows.closing)));
  }
  return rows;
}

}  // namespace kivo
