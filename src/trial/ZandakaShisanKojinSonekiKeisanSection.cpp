#include "trial/ZandakaShisanKojinSonekiKeisanSection.h"

#include "document/MyDocument.h"
#include "trial/ZandakaShisan.h"

namespace kivo {
namespace {

constexpr int32_t kUriageGroup = 3;
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
  b.appendKamokuRowsAndSums(rows, ofGroups(kUriageGroup, kSonotaSyuunyuuGroup), j, false, income, true);
  const size_t incomeRow =
      ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "　　収入金額合計", income, true);
  b.appendUriageGenkaAndSoueki(rows, ops, j, incomeRow, toukiSeihinSeizouGenkaShisan);

  b.appendHeadedBlock(rows, ops, "経費", b.kamokuOfGroup(kKeihiGroup, j), j, true, "　　経費合計", true);
  b.appendTotalRow(ops, rows, j, ShisanTotalRowCode, "　差引金額");
  b.appendHeadedBlock(rows, ops, "繰戻額等", b.kamokuOfGroup(kKurimodoshiGroup, j), j, false, "　　繰戻額等合計",
                      false);
  // Amounts set aside: first every account of group 7, then every one of group 17.
  std::vector<const Kamoku*> kurire = b.kamokuOfGroup(kKurireGroup, j);
  const std::vector<const Kamoku*> senjuusya = b.kamokuOfGroup(kSenjuusyaGroup, j);
  kurire.insert(kurire.end(), senjuusya.begin(), senjuusya.end());
  b.appendHeadedBlock(rows, ops, "繰入額等", kurire, j, true, "　　繰入額等合計", true);
  b.appendTotalRow(ops, rows, j, ToukiSonekiRowCode, "　青色申告控除前所得");
  b.setPercentOfShisanArray(rows, rows[incomeRow].syuuryouZandaka());
}

}  // namespace kivo
