#include "trial/ZandakaShisanSeizouGenkaSection.h"

#include "model/Kaisya.h"
#include "trial/ZandakaShisan.h"

namespace kivo {
namespace {

// Group numbers of the chart's manufacturing accounts.
constexpr int32_t kKisyuZairyouGroup = 9;
constexpr int32_t kKimatsuZairyouGroup = 10;
constexpr int32_t kZairyouShiireGroup = 11;
constexpr int32_t kKisyuShikakarihinGroup = 12;
constexpr int32_t kKimatsuShikakarihinGroup = 13;

}  // namespace

void ZandakaShisanSeizouGenkaSection::build(std::vector<Shisan>& rows, int32_t j) const
{
  rows.clear();
  if (!builder_.kaisya().isSeizou()) return;
  const ZandakaShisan& b = builder_;
  // One operand list for the whole section: every sum row sums all operands so far.
  std::vector<Calculate> ops;
  auto firstOfGroup = [&](int32_t group) -> const Kamoku* {
    const std::vector<const Kamoku*> found = b.kamokuOfGroup(group, j);
    return found.empty() ? nullptr : found.front();
  };

  // Materials.
  const size_t zairyouHeading = ZandakaShisan::appendHeadingRow(rows, j, "材料費");
  if (const Kamoku* k = firstOfGroup(kKisyuZairyouGroup)) {
    b.appendKamokuRow(rows, *k, j, "　期首材料棚卸高", true);
    ZandakaShisan::addOperand(ops, rows, false);
  }
  {
    ZandakaShisan::RunningSums sums;
    const std::vector<const Kamoku*> shiire = b.kamokuOfGroup(kZairyouShiireGroup, j);
    for (const Kamoku* k : shiire) b.addZandakaShisanValueOfKamoku(*k, j, true, sums);
    if (!shiire.empty()) {
      ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "　当期材料仕入高", sums, true);
      ZandakaShisan::addOperand(ops, rows, false);
    }
  }
  if (ops.size() > 1) b.appendTotalRow(ops, rows, j, ShisanSubtotalRowCode, "　　合　　　計");
  if (const Kamoku* k = firstOfGroup(kKimatsuZairyouGroup)) {
    b.appendKamokuRow(rows, *k, j, "　期末材料棚卸高", true);
    ZandakaShisan::addOperand(ops, rows, true);
  }
  if (rows.size() == zairyouHeading + 1)
    rows.pop_back();
  else
    b.appendTotalRow(ops, rows, j, ShisanSubtotalRowCode, "　　当期材料費");

  // Labour, expenses and outsourcing: the accounts of the category of that name.
  static constexpr struct {
    const char* kubun;
    const char* total;
  } kBlocks[] = {{"労務費", "　　当期労務費"}, {"経費", "　　当期経費"}, {"外注加工費", "　　当期外注加工費"}};
  for (const auto& block : kBlocks) {
    const size_t heading = ZandakaShisan::appendHeadingRow(rows, j, block.kubun);
    ZandakaShisan::RunningSums sums;
    b.appendKamokuRowsAndSums(rows, b.kamokuOfKubun(block.kubun, j), j, true, sums, true);
    if (rows.size() == heading + 1) {
      rows.pop_back();
      continue;
    }
    ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, block.total, sums, true);
    ZandakaShisan::addOperand(ops, rows, false);
  }
  b.appendTotalRow(ops, rows, j, ShisanTotalRowCode, "　当期総製造費用");

  // Work in process.
  if (const Kamoku* k = firstOfGroup(kKisyuShikakarihinGroup)) {
    b.appendKamokuRow(rows, *k, j, "　期首仕掛品棚卸高", true);
    ZandakaShisan::addOperand(ops, rows, false);
    b.appendTotalRow(ops, rows, j, ShisanSubtotalRowCode, "　　合　　　計");
  }
  if (const Kamoku* k = firstOfGroup(kKimatsuShikakarihinGroup)) {
    b.appendKamokuRow(rows, *k, j, "　期末仕掛品棚卸高", true);
    ZandakaShisan::addOperand(ops, rows, true);
  }
  const size_t result = b.appendTotalRow(ops, rows, j, ToukiSeihinSeizouGenkaRowCode, "当期製品製造原価");
  b.setPercentOfShisanArray(rows, rows[result].syuuryouZandaka());
}

}  // namespace kivo
