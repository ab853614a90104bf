#include "statements/KaisyahouSeizouGenkaBuilder.h"

#include <string>

#include "document/MyDocument.h"
#include "model/Kamoku.h"
#include "statements/KaisyahouHoukokusyoRowMaker.h"
#include "statements/KaisyahouRowCodes.h"

namespace kivo {
namespace {

// A one-line inventory figure: the first eligible account of the group, shown under
// a fixed title when it has an amount; an operand of the cost list.
void addInventoryLine(const KaisyahouHoukokusyoRowMaker& m, std::vector<Shisan>& rows, std::vector<Calculate>& costList,
                      int32_t group, bool useOwnCode, const std::string& title, bool subtract)
{
  const Kamoku* k = m.firstEligibleKamokuOfGroup(group);
  if (!k) return;
  const int64_t a = m.gassanAmountOf(*k);
  if (a == 0) return;
  const size_t i = m.addRow(rows, useOwnCode ? k->code() : KaisyahouSubtotalRowCode, title, a);
  costList.emplace_back(static_cast<int32_t>(i), subtract ? Calculate::Sign::Subtract : Calculate::Sign::Add);
}

// A section of one category: heading, a row per account with an amount, the subtotal.
void addCategorySection(const KaisyahouHoukokusyoRowMaker& m, std::vector<Shisan>& rows,
                        std::vector<Calculate>& costList, const std::string& heading, const std::string& kubunName,
                        const std::string& subtotalTitle)
{
  const size_t h = m.addRow(rows, KaisyahouGroupRowCode, heading, 0);
  int64_t total = 0;
  for (const Kamoku* k : m.kamokuOfKubun(kubunName)) {
    if (!m.isEligible(*k)) continue;
    const int64_t a = m.gassanAmountOf(*k);
    if (a == 0) continue;
    m.addRow(rows, k->code(), "　" + KaisyahouHoukokusyoRowMaker::rowName(*k), a);
    m.addAmount(a, *k, true, total);
  }
  if (rows.size() == h + 1) {
    rows.pop_back();
    return;
  }
  const size_t s = m.addRow(rows, KaisyahouSubtotalRowCode, subtotalTitle, total);
  costList.emplace_back(static_cast<int32_t>(s), Calculate::Sign::Add);
}

}  // namespace

KaisyahouStatementRows KaisyahouSeizouGenkaBuilder::build(const KaisyahouHoukokusyoRowMaker& m)
{
  KaisyahouStatementRows out;
  if (!m.document().kaisya().isSeizou()) return out;
  std::vector<Shisan>& rows = out.rows;
  std::vector<Calculate> costList;

  // Materials: opening + purchases - closing.
  const size_t h = m.addRow(rows, KaisyahouGroupRowCode, "[材料費]", 0) + 1;
  addInventoryLine(m, rows, costList, 9, true, "　期首材料棚卸高", false);
  int64_t purchases = 0;
  for (const Kamoku* k : m.kamokuOfGroup(11)) {
    if (!m.isEligible(*k)) continue;
    const int64_t a = m.gassanAmountOf(*k);
    if (a != 0) m.addAmount(a, *k, true, purchases);
  }
  if (purchases != 0) {
    const size_t i = m.addRow(rows, KaisyahouComputedRowCode, "　当期材料仕入高", purchases);
    costList.emplace_back(static_cast<int32_t>(i), Calculate::Sign::Add);
  }
  if (costList.size() > 1) m.addTotalRow(costList, rows, KaisyahouBlockTotalRowCode, "　　合　　　計");
  addInventoryLine(m, rows, costList, 10, true, "　期末材料棚卸高", true);
  if (rows.size() == h)
    rows.pop_back();
  else
    m.addTotalRow(costList, rows, KaisyahouSubtotalRowCode, "　　当期材料費");

  addCategorySection(m, rows, costList, "[労務費]", "労務費", "　　当期労務費");
  addCategorySection(m, rows, costList, "[経費]", "経費", "　　当期経費");
  addCategorySection(m, rows, costList, "[外注加工費]", "外注加工費", "　　当期外注加工費");
  if (!costList.empty()) m.addTotalRow(costList, rows, KaisyahouTotalRowCode, "　　　当期総製造費用");

  // Work in process.
  const size_t n = rows.size();
  addInventoryLine(m, rows, costList, 12, false, "　　　期首仕掛品棚卸高", false);
  if (rows.size() > n) m.addTotalRow(costList, rows, KaisyahouTotalRowCode, "　　　合　　　計");
  addInventoryLine(m, rows, costList, 13, false, "　　　期末仕掛品棚卸高", true);
  if (!costList.empty()) {
    const size_t i = m.addTotalRow(costList, rows, KaisyahouTotalRowCode, "　　　当期製品製造原価");
    out.handedOn = rows[i].houkokusyoAmount();
  }
  return out;
}

}  // namespace kivo
