#include "trial/SuiiShisanTaisyakuTaisyouSection.h"

#include "model/Kaisya.h"
#include "model/Kamoku.h"

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

}  // namespace

std::vector<Shisan> SuiiShisanTaisyakuTaisyouSection::build(const SuiiShisanBuilder& b, int32_t j,
                                                            const Shisan* toukiSonekiShisan,
                                                            const Shisan* toukiMisyobunSonekiShisan)
{
  using B = SuiiShisanBuilder;
  std::vector<Shisan> rows;
  const bool houjin = b.kaisya().isHoujin();
  const bool older = b.isOlderChart();
  const bool netAssets = houjin && !older;
  std::vector<Calculate> part, asset, equity, surplus, retained;

  auto rowsAndSums = [&](const std::vector<const Kamoku*>& accounts, bool karikata, B::Amounts& sums) {
    for (const Kamoku* k : accounts) {
      B::append(rows, B::makeRow(j, k->code(), k->nameWithoutNonPrintChar(), b.syuuryouZandakaAmounts(*k, j)));
      b.addSyuuryouZandakaOfKamoku(sums, *k, j, karikata);
    }
    return accounts.size();
  };
  auto block = [&](const std::vector<const Kamoku*>& accounts, bool karikata, const char* title,
                   std::vector<Calculate>& list) {
    B::Amounts sums = b.zeroAmounts();
    if (rowsAndSums(accounts, karikata, sums) == 0) return;
    B::append(rows, B::makeRow(j, ShisanTotalRowCode, title, std::move(sums)));
    B::addOperand(list, rows, false);
  };
  auto sumRow = [&](const std::vector<Calculate>& list, const char* title) {
    return B::append(rows, B::makeRow(j, ShisanTotalRowCode, title, b.sumOfCalculateArray(list, rows)));
  };
  auto linkRow = [&](const char* title, const Shisan* link) {
    B::append(rows, B::makeRow(j, ShisanSubtotalRowCode, title, link ? link->monthlyAmountArray() : b.zeroAmounts()));
  };
  auto ofKubun = [&](const char* name) { return b.kamokuOfKubun(name, j, true); };

  // Assets.
  block(b.kamokuOfGroup(kGenyokinGroup, j, true), true, "　現預金合計", part);
  block(b.kamokuOfGroup(kSonotaRyuudouShisanGroup, j, true), true, "　その他の流動資産合計", part);
  if (!part.empty()) {
    sumRow(part, "　流動資産合計");
    B::addOperand(asset, rows, false);
    part.clear();
  }
  block(ofKubun("有形固定資産"), true, "　有形固定資産合計", part);
  block(ofKubun("無形固定資産"), true, "　無形固定資産合計", part);
  block(ofKubun("投資等"), true, "　投資等合計", part);
  if (!part.empty()) {
    sumRow(part, "　固定資産合計");
    B::addOperand(asset, rows, false);
  }
  block(ofKubun("繰延資産"), true, "　繰延資産合計", asset);
  sumRow(asset, netAssets ? "　資産合計" : "　資産の部合計");
  part.clear();

  // Liabilities.
  block(ofKubun("流動負債"), false, "　流動負債合計", part);
  block(ofKubun("固定負債"), false, "　固定負債合計", part);
  block(ofKubun("引当金"), false, "　引当金合計", part);
  sumRow(part, netAssets ? "　負債合計" : "　負債の部合計");

  if (netAssets) {
    const std::vector<const Kamoku*> junshisan = ofKubun("純資産の部");
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
      B::addOperand(equity, rows, false);
      surplus.clear();
    }
    block(ofGroup(kRiekiJunbikinGroup, kRiekiJunbikinGroup), false, "　利益準備金合計", surplus);
    block(ofGroup(kNiniTsumitatekinGroup, kNiniTsumitatekinGroup), false, "　任意積立金合計", retained);
    // Retained earnings brought forward: one row for all its accounts, then the
    // profit of the period joins it month by month.
    B::Amounts kurikoshi = b.zeroAmounts();
    const std::vector<const Kamoku*> kurikoshiKamoku = ofGroup(kKurikoshiRiekiGroup, kKurikoshiRiekiGroup);
    for (const Kamoku* k : kurikoshiKamoku) b.addSyuuryouZandakaOfKamoku(kurikoshi, *k, j, false);
    if (!kurikoshiKamoku.empty()) B::append(rows, B::makeRow(j, ShisanTotalRowCode, "繰越損益", kurikoshi));
    linkRow("当期純損益合計", toukiSonekiShisan);
    b.addLinkAmounts(kurikoshi, toukiSonekiShisan);
    B::append(rows, B::makeRow(j, ShisanTotalRowCode, "　繰越利益剰余金合計", std::move(kurikoshi)));
    B::addOperand(retained, rows, false);
    sumRow(retained, "　その他利益剰余金合計");
    B::addOperand(surplus, rows, false);
    sumRow(surplus, "　利益剰余金合計");
    B::addOperand(equity, rows, false);
    block(ofGroup(kJikoKabushikiGroup, kJikoKabushikiGroup), false, "　自己株式合計", equity);
    block(ofGroup(kJikoKabushikiMoushikomiGroup, kJikoKabushikiMoushikomiGroup), false, "　自己株申込拠出金合計",
          equity);
    sumRow(equity, "　株主資本合計");
    block(ofGroup(kHyoukaSagakuGroup, kSonotaHyoukaSagakuGroup), false, "　評価・換算差額等合計", equity);
    block(ofGroup(kShinkabuYoyakukenGroup, kShinkabuYoyakukenGroup), false, "　新株予約権合計", equity);
    sumRow(equity, "　純資産合計");
    B::addOperand(part, rows, false);
  } else {
    // Capital: the category's accounts, the period's result standing where its
    // first account of profit brought forward stands (which gets no row).
    const std::vector<const Kamoku*> shihon = b.allKamokuOfKubun(older ? "資本の部" : "純資産の部");
    size_t position = 0;
    while (position < shihon.size() && shihon[position]->group() != kZenkiKurikoshiGroup) ++position;
    B::Amounts sums = b.zeroAmounts();
    for (size_t i = 0; i < position; ++i)
      if (b.canAppearOnSyuuryouZandaka(*shihon[i], j)) rowsAndSums({shihon[i]}, false, sums);
    const Shisan* result = houjin ? toukiMisyobunSonekiShisan : toukiSonekiShisan;
    if (houjin) {
      linkRow("当期未処分損益", toukiMisyobunSonekiShisan);
      linkRow("（内 当期損益）", toukiSonekiShisan);
    } else {
      linkRow("青色申告控除前所得", toukiSonekiShisan);
    }
    b.addLinkAmounts(sums, result);
    for (size_t i = position + 1; i < shihon.size(); ++i)
      if (shihon[i]->group() != kZenkiKurikoshiGroup && b.canAppearOnSyuuryouZandaka(*shihon[i], j))
        rowsAndSums({shihon[i]}, false, sums);
    B::append(rows, B::makeRow(j, ShisanTotalRowCode, older ? "　資本の部合計" : "　純資産の部合計", std::move(sums)));
    B::addOperand(part, rows, false);
  }

  sumRow(part, older ? "　負債・資本の部合計" : houjin ? "　負債・純資産合計" : "　負債・純資産の部合計");
  return rows;
}

}  // namespace kivo
