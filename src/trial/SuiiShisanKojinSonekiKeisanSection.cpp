#include "trial/SuiiShisanKojinSonekiKeisanSection.h"

#include "document/MyDocument.h"

namespace kivo {
namespace {

constexpr int32_t kUriageGroup = 3;
constexpr int32_t kKurireGroup = 7;
constexpr int32_t kSonotaSyuunyuuGroup = 14;
constexpr int32_t kKeihiGroup = 15;
constexpr int32_t kKurimodoshiGroup = 16;
constexpr int32_t kSenjuusyaGroup = 17;

}  // namespace

SuiiShisanBuilder::TwinRows SuiiShisanKojinSonekiKeisanSection::build(const SuiiShisanBuilder& b, int32_t j,
                                                                      const Shisan* linkOfTaisyakuBalance,
                                                                      const Shisan* linkOfSyuuryouZandaka)
{
  using B = SuiiShisanBuilder;
  B::TwinRows rows;
  std::vector<Calculate> ops;
  auto ofGroups = [&](int32_t g1, int32_t g2) {
    std::vector<const Kamoku*> out;
    for (const KamokuPtr& k : b.theDocument().codeSortedKamokuArray())
      if ((k->group() == g1 || k->group() == g2) && b.canAppearOnTaisyakuBalance(*k, j)) out.push_back(k.get());
    return out;
  };

  B::appendHeading(rows, j, "収入金額");
  B::TwinAmounts income = b.zeroTwinAmounts();
  b.appendKamokuRowsAndSums(rows, ofGroups(kUriageGroup, kSonotaSyuunyuuGroup), j, false, income);
  const size_t incomeRow = B::appendSums(rows, j, ShisanSubtotalRowCode, "　　収入金額合計", income);
  b.appendUriageGenkaAndSoueki(rows, ops, j, incomeRow, linkOfTaisyakuBalance,
                               linkOfTaisyakuBalance ? linkOfSyuuryouZandaka : nullptr);

  b.appendHeadedBlock(rows, ops, "経費", b.kamokuOfGroup(kKeihiGroup, j, false), j, true, "　　経費合計", true);
  b.appendTotal(rows, ops, j, ShisanTotalRowCode, "　差引金額");
  b.appendHeadedBlock(rows, ops, "繰戻額等", b.kamokuOfGroup(kKurimodoshiGroup, j, false), j, false, "　　繰戻額等合計",
                      false);
  std::vector<const Kamoku*> kurire = b.kamokuOfGroup(kKurireGroup, j, false);
  const std::vector<const Kamoku*> senjuusya = b.kamokuOfGroup(kSenjuusyaGroup, j, false);
  kurire.insert(kurire.end(), senjuusya.begin(), senjuusya.end());
  b.appendHeadedBlock(rows, ops, "繰入額等", kurire, j, true, "　　繰入額等合計", true);
  const size_t result = b.appendTotal(rows, ops, j, ShisanTotalRowCode, "　青色申告控除前所得");
  rows.closing[result].setKamokuCode(ToukiSonekiRowCode);
  return rows;
}

}  // namespace kivo
