#include "trial/SuiiShisanSeizouGenkaSection.h"

#include "model/Kaisya.h"
#include "model/Kamoku.h"

namespace kivo {
namespace {

constexpr int32_t kKisyuZairyouGroup = 9;
constexpr int32_t kKimatsuZairyouGroup = 10;
constexpr int32_t kZairyouShiireGroup = 11;
constexpr int32_t kKisyuShikakarihinGroup = 12;
constexpr int32_t kKimatsuShikakarihinGroup = 13;

}  // namespace

SuiiShisanBuilder::TwinRows SuiiShisanSeizouGenkaSection::build(const SuiiShisanBuilder& b, int32_t j)
{
  using B = SuiiShisanBuilder;
  B::TwinRows rows;
  if (!b.kaisya().isSeizou()) return rows;
  std::vector<Calculate> ops;
  auto firstOfGroup = [&](int32_t group) -> const Kamoku* {
    const std::vector<const Kamoku*> found = b.kamokuOfGroup(group, j, false);
    return found.empty() ? nullptr : found.front();
  };

  const size_t zairyouHeading = B::appendHeading(rows, j, "材料費");
  if (const Kamoku* k = firstOfGroup(kKisyuZairyouGroup)) {
    b.appendKamoku(rows, *k, j, "　期首材料棚卸高");
    B::addOperand(ops, rows.movement, false);
  }
  {
    B::TwinAmounts sums = b.zeroTwinAmounts();
    const std::vector<const Kamoku*> shiire = b.kamokuOfGroup(kZairyouShiireGroup, j, false);
    for (const Kamoku* k : shiire) b.addKamoku(sums, *k, j, true);
    if (!shiire.empty()) {
      B::appendSums(rows, j, ShisanSubtotalRowCode, "　当期材料仕入高", sums);
      B::addOperand(ops, rows.movement, false);
    }
  }
  if (ops.size() > 1) b.appendTotal(rows, ops, j, ShisanSubtotalRowCode, "　　合　　　計");
  if (const Kamoku* k = firstOfGroup(kKimatsuZairyouGroup)) {
    b.appendKamoku(rows, *k, j, "　期末材料棚卸高");
    B::addOperand(ops, rows.movement, true);
  }
  if (rows.movement.size() == zairyouHeading + 1) {
    rows.movement.pop_back();
    rows.closing.pop_back();
  } else {
    b.appendTotal(rows, ops, j, ShisanSubtotalRowCode, "　　当期材料費");
  }

  static constexpr struct {
    const char* kubun;
    const char* total;
  } kBlocks[] = {{"労務費", "　　当期労務費"}, {"経費", "　　当期経費"}, {"外注加工費", "　　当期外注加工費"}};
  for (const auto& block : kBlocks) {
    const size_t heading = B::appendHeading(rows, j, block.kubun);
    B::TwinAmounts sums = b.zeroTwinAmounts();
    b.appendKamokuRowsAndSums(rows, b.kamokuOfKubun(block.kubun, j, false), j, true, sums);
    if (rows.movement.size() == heading + 1) {
      rows.movement.pop_back();
      rows.closing.pop_back();
      continue;
    }
    B::appendSums(rows, j, ShisanSubtotalRowCode, block.total, sums);
    B::addOperand(ops, rows.movement, false);
  }
  b.appendTotal(rows, ops, j, ShisanTotalRowCode, "　当期総製造費用");

  if (const Kamoku* k = firstOfGroup(kKisyuShikakarihinGroup)) {
    b.appendKamoku(rows, *k, j, "　期首仕掛品棚卸高");
    B::addOperand(ops, rows.movement, false);
    b.appendTotal(rows, ops, j, ShisanSubtotalRowCode, "　　合　　　計");
  }
  if (const Kamoku* k = firstOfGroup(kKimatsuShikakarihinGroup)) {
    b.appendKamoku(rows, *k, j, "　期末仕掛品棚卸高");
    B::addOperand(ops, rows.movement, true);
  }
  b.appendTotal(rows, ops, j, ToukiSeihinSeizouGenkaRowCode, "当期製品製造原価");
  return rows;
}

}  // namespace kivo
