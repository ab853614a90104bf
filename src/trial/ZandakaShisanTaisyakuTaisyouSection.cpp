#include "trial/ZandakaShisanTaisyakuTaisyouSection.h"

#include "model/CappedAmount.h"
#include "model/Kaisya.h"
#include "trial/ZandakaShisan.h"

namespace kivo {
namespace {

constexpr int32_t kGenyokinGroup = 1;
constexpr int32_t kSonotaRyuudouShisanGroup = 2;
constexpr int32_t kZenkiKurikoshiGroup = 8;
constexpr int32_t kShihonkinGroup = 18;
constexpr int32_t kShihonJunbikinGroup = 19;
constexpr int32_t kRiekiJunbikinGroup = 20;
constexpr int32_t kNiniTsumitatekinGroup = 21;
constexpr int32_t kKurikoshiRiekiGroup = 22;
constexpr int32_t kJikoKabushikiGroup = 23;
constexpr int32_t kHyoukaSagakuGroup = 24;
constexpr int32_t kShinkabuYoyakukenGroup = 25;
constexpr int32_t kShinkabuMoushikomiGroup = 26;
constexpr int32_t kSonotaShihonJouyokinGroup = 27;
constexpr int32_t kJikoKabushikiMoushikomiGroup = 29;
constexpr int32_t kSonotaHyoukaSagakuGroup = 30;

// Adds a handed-in row's four amounts into a block's running sums, unsigned: the
// balances while the sum is within the limit, the totals while below it; a sum that
// leaves the limit on either side holds one beyond it.
void addLinkRow(ZandakaShisan::RunningSums& sums, const Shisan* link, int64_t max)
{
  if (!link) return;
  auto balance = [max](int64_t& sum, int64_t v) {
    if (!capped::inRange(sum, max)) return;
    sum = capped::add(sum, v);
    if (!capped::inRange(sum, max)) sum = max + 1;
  };
  auto total = [max](int64_t& sum, int64_t v) {
    if (sum >= max) return;
    sum = capped::add(sum, v);
    if (!capped::inRange(sum, max)) sum = max + 1;
  };
  balance(sums.kaishiZandaka, link->kaishiZandaka());
  total(sums.karikataGoukei, link->karikataGoukei());
  total(sums.kashikataGoukei, link->kashikataGoukei());
  balance(sums.syuuryouZandaka, link->syuuryouZandaka());
}

}  // namespace

void ZandakaShisanTaisyakuTaisyouSection::build(std::vector<Shisan>& rows, int32_t j, const Shisan* toukiSonekiShisan,
                                                const Shisan* toukiMisyobunSonekiShisan) const
{
  rows.clear();
  const ZandakaShisan& b = builder_;
  const bool houjin = b.kaisya().isHoujin();
  const bool older = b.isOlderChart();
  const bool netAssets = houjin && !older;
  std::vector<Calculate> part, asset, equity, surplus, retained;

  // Account rows (titled by the bare name) and the block's running sums.
  auto rowsAndSums = [&](const std::vector<const Kamoku*>& accounts, bool karikata, ZandakaShisan::RunningSums& sums) {
    return b.appendKamokuRowsAndSums(rows, accounts, j, karikata, sums, false);
  };
  // A block whose total is shown only when it has accounts; the total becomes an
  // operand of the list given.
  auto block = [&](const std::vector<const Kamoku*>& accounts, bool karikata, const char* title,
                   std::vector<Calculate>& list) {
    ZandakaShisan::RunningSums sums;
    if (rowsAndSums(accounts, karikata, sums) == 0) return;
    ZandakaShisan::appendSumsRow(rows, j, ShisanTotalRowCode, title, sums, false);
    ZandakaShisan::addOperand(list, rows, false);
  };
  auto sumRow = [&](const std::vector<Calculate>& list, const char* title) {
    return b.appendTotalRow(list, rows, j, ShisanTotalRowCode, title);
  };

  // Assets.
  block(b.kamokuOfGroup(kGenyokinGroup, j), true, "　現預金合計", part);
  block(b.kamokuOfGroup(kSonotaRyuudouShisanGroup, j), true, "　その他の流動資産合計", part);
  if (!part.empty()) {
    sumRow(part, "　流動資産合計");
    ZandakaShisan::addOperand(asset, rows, false);
    part.clear();
  }
  block(b.kamokuOfKubun("有形固定資産", j), true, "　有形固定資産合計", part);
  block(b.kamokuOfKubun("無形固定資産", j), true, "　無形固定資産合計", part);
  block(b.kamokuOfKubun("投資等", j), true, "　投資等合計", part);
  if (!part.empty()) {
    sumRow(part, "　固定資産合計");
    ZandakaShisan::addOperand(asset, rows, false);
  }
  block(b.kamokuOfKubun("繰延資産", j), true, "　繰延資産合計", asset);
  const size_t assetsTotal = sumRow(asset, netAssets ? "　資産合計" : "　資産の部合計");
  part.clear();

  // Liabilities: the last row sums their block totals, not this total.
  block(b.kamokuOfKubun("流動負債", j), false, "　流動負債合計", part);
  block(b.kamokuOfKubun("固定負債", j), false, "　固定負債合計", part);
  block(b.kamokuOfKubun("引当金", j), false, "　引当金合計", part);
  sumRow(part, netAssets ? "　負債合計" : "　負債の部合計");

  if (netAssets) {
    // Every account of 純資産の部, placed by its group, in the category's order.
    const std::vector<const Kamoku*> junshisan = b.kamokuOfKubun("純資産の部", j);
    auto ofGroup = [&](int32_t g1, int32_t g2) {
      std::vector<const Kamoku*> out;
      for (const Kamoku* k : junshisan)
        if (k->group() == g1 || k->group() == g2) out.push_back(k);
      return out;
    };
    block(ofGroup(kShihonkinGroup, kShihonkinGroup), false, "　資本金合計", equity);
    block(ofGroup(kShinkabuMoushikomiGroup, kShinkabuMoushikomiGroup), false, "　新株式申込拠出金合計", surplus);
    block(ofGroup(kShihonJunbikinGroup, kShihonJunbikinGroup), false, "　資本準備金合計", surplus);
    block(ofGroup(kSonotaShihonJouyokinGroup, kSonotaShihonJouyokinGroup), false, "　その他資本剰余金合計", surplus);
    if (!surplus.empty()) {
      sumRow(surplus, "　資本剰余金合計");
      ZandakaShisan::addOperand(equity, rows, false);
      surplus.clear();
    }
    block(ofGroup(kRiekiJunbikinGroup, kRiekiJunbikinGroup), false, "　利益準備金合計", surplus);
    block(ofGroup(kNiniTsumitatekinGroup, kNiniTsumitatekinGroup), false, "　任意積立金合計", retained);
    // Retained earnings brought forward: one row for all its accounts, then the
    // profit of the period joins it.
    ZandakaShisan::RunningSums kurikoshi;
    const std::vector<const Kamoku*> kurikoshiKamoku = ofGroup(kKurikoshiRiekiGroup, kKurikoshiRiekiGroup);
    for (const Kamoku* k : kurikoshiKamoku) b.addZandakaShisanValueOfKamoku(*k, j, false, kurikoshi);
    if (!kurikoshiKamoku.empty())
      ZandakaShisan::appendSumsRow(rows, j, ShisanSubtotalRowCode, "繰越損益", kurikoshi, true);
    ZandakaShisan::appendLinkRow(rows, j, "当期純損益合計", toukiSonekiShisan, false);
    addLinkRow(kurikoshi, toukiSonekiShisan, b.maxOutputAmountValue());
    ZandakaShisan::appendSumsRow(rows, j, ShisanTotalRowCode, "　繰越利益剰余金合計", kurikoshi, false);
    ZandakaShisan::addOperand(retained, rows, false);
    sumRow(retained, "　その他利益剰余金合計");
    ZandakaShisan::addOperand(surplus, rows, false);
    sumRow(surplus, "　利益剰余金合計");
    ZandakaShisan::addOperand(equity, rows, false);
    block(ofGroup(kJikoKabushikiGroup, kJikoKabushikiGroup), false, "　自己株式合計", equity);
    block(ofGroup(kJikoKabushikiMoushikomiGroup, kJikoKabushikiMoushikomiGroup), false, "　自己株式申込拠出金合計",
          equity);
    sumRow(equity, "　株主資本合計");
    block(ofGroup(kHyoukaSagakuGroup, kSonotaHyoukaSagakuGroup), false, "　評価・換算差額等合計", equity);
    block(ofGroup(kShinkabuYoyakukenGroup, kShinkabuYoyakukenGroup), false, "　新株予約権合計", equity);
    sumRow(equity, "　純資産合計");
    ZandakaShisan::addOperand(part, rows, false);
  } else {
    // Capital: the category's accounts, with the period's result standing where
    // its first account of profit brought forward stands (which gets no row).
    const std::vector<const Kamoku*> shihon = b.allKamokuOfKubun(older ? "資本の部" : "純資産の部");
    size_t position = 0;
    while (position < shihon.size() && shihon[position]->group() != kZenkiKurikoshiGroup) ++position;
    ZandakaShisan::RunningSums sums;
    for (size_t i = 0; i < position; ++i)
      if (b.canAppearOnZandakaShisan(*shihon[i], j)) rowsAndSums({shihon[i]}, false, sums);
    const Shisan* result = houjin ? toukiMisyobunSonekiShisan : toukiSonekiShisan;
    if (houjin) {
      ZandakaShisan::appendLinkRow(rows, j, "当期未処分損益", toukiMisyobunSonekiShisan, false);
      ZandakaShisan::appendLinkRow(rows, j, "（内 当期損益）", toukiSonekiShisan, false);
    } else {
      ZandakaShisan::appendLinkRow(rows, j, "青色申告控除前所得", toukiSonekiShisan, false);
    }
    addLinkRow(sums, result, b.maxOutputAmountValue());
    for (size_t i = position + 1; i < shihon.size(); ++i)
      if (shihon[i]->group() != kZenkiKurikoshiGroup && b.canAppearOnZandakaShisan(*shihon[i], j))
        rowsAndSums({shihon[i]}, false, sums);
    ZandakaShisan::appendSumsRow(rows, j, ShisanTotalRowCode, older ? "　資本の部合計" : "　純資産の部合計", sums,
                                 false);
    ZandakaShisan::addOperand(part, rows, false);
  }

  sumRow(part, older ? "　負債・資本の部合計" : houjin ? "　負債・純資産合計" : "　負債・純資産の部合計");
  b.setPercentOfShisanArray(rows, rows[assetsTotal].syuuryouZandaka());
}

}  // namespace kivo
