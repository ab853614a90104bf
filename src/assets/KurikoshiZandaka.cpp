#include "assets/KurikoshiZandaka.h"

#include <algorithm>
#include <cstdio>

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Kamoku.h"
#include "trial/Shisan.h"
#include "trial/ZandakaShisan.h"
#include "trial/ZandakaShisanPeriodSums.h"

namespace kivo {
namespace {

const StartBalanceList kNoBalances;

constexpr uint32_t kTypeLetterMask = 0xF00;

bool isTypeLetter(const Kamoku& k, uint32_t letterBits) { return (k.type() & kTypeLetterMask) == letterBits; }

// The first account of the chart (depth-first, active or not) of the type letter
// and nature.
const Kamoku* firstKamoku(const std::vector<KamokuPtr>& chart, uint32_t letterBits, int nature)
{
  for (const KamokuPtr& k : chart)
    if (isTypeLetter(*k, letterBits) && (nature < 0 || k->isKarikataKamoku() == (nature == 1))) return k.get();
  return nullptr;
}

int64_t netResultOf(const ZandakaShisan& builder, bool isHoujin, int32_t jigyoubuCode)
{
  std::vector<Shisan> seizouGenka, sonekiKeisan;
  builder.setSeizouGenkaShisanArray(seizouGenka, jigyoubuCode);
  const Shisan* seizouLink = nullptr;
  for (const Shisan& r : seizouGenka)
    if (r.kamokuCode() == ToukiSeihinSeizouGenkaRowCode) {
      seizouLink = &r;
      break;
    }
  if (isHoujin)
    builder.setSonekiKeisanShisanArray(sonekiKeisan, jigyoubuCode, seizouLink);
  else
    builder.setKojinSonekiKeisanShisanArray(sonekiKeisan, jigyoubuCode, seizouLink);
  for (const Shisan& r : sonekiKeisan)
    if (r.kamokuCode() == ToukiSonekiRowCode) return r.syuuryouZandaka();
  return 0;
}

std::string missingMessage(const std::string& what)
{
  return "勘定科目表に" + what + "がないため、繰越処理を実行できません。当期の損益を繰り越す科目を追加してください。";
}

std::string hojyoMessage(const Kamoku& k)
{
  return "「" + k.name() +
         "」に補助科目が設定されているため、繰越処理を実行できません。翌期の開始残高を補助科目に振り分けられません。"
         "補助科目を使用しないように設定し、残高を科目に振り替えてください。";
}

}  // namespace

const StartBalanceList& KurikoshiZandaka::startBalanceOfKamoku(int32_t kamokuCode) const
{
  auto it = balances_.find({kamokuCode, -1});
  return it == balances_.end() ? kNoBalances : it->second;
}

const StartBalanceList& KurikoshiZandaka::startBalanceOfHojyoKamoku(int32_t kamokuCode, int32_t hojyoKamokuCode) const
{
  if (hojyoKamokuCode < 0) return kNoBalances;
  auto it = balances_.find({kamokuCode, hojyoKamokuCode});
  return it == balances_.end() ? kNoBalances : it->second;
}

int64_t KurikoshiZandaka::toukiSonekiOfJigyoubuCode(const MyDocument& document, int32_t jigyoubuCode)
{
  const ZandakaShisanPeriodSums sums = ZandakaShisanPeriodSums::post(document, {});
  const ZandakaShisan builder(document, sums, false);
  return netResultOf(builder, document.kaisya().isHoujin(), jigyoubuCode);
}

KurikoshiZandaka KurikoshiZandaka::compute(const MyDocument& document, const Progress& progress)
{
  const auto phase = [&](Phase p) {
    if (progress.didStartPhase) progress.didStartPhase(p);
  };
  phase(Phase::Preparing);
  KurikoshiZandaka r;
  const Kaisya& kaisya = document.kaisya();
  const int64_t maxInput = kaisya.maxInputAmountValue();
  const int64_t maxOutput = kaisya.maxOutputAmountValue();
  auto outOfInputRange = [&](int64_t v) { return v < 0 || v > maxInput; };

  // The whole journal, without a period: every registered entry counts.
  const ZandakaShisanPeriodSums sums = ZandakaShisanPeriodSums::post(document, {}, [&](size_t done, size_t total) {
    if (done == 0) phase(Phase::Posting);
    if (progress.didPostShiwake) progress.didPostShiwake(done, total);
  });
  phase(Phase::Finishing);
  const bool usesJigyoubu = document.numberOfActiveJigyoubu() > 0;
  // The division figures carried: every column of the posting with divisions in
  // use, the company figure alone without.
  std::vector<int32_t> divisions;
  if (usesJigyoubu) {
    for (int32_t code : sums.jigyoubuCodes())
      if (code != Jigyoubu::kAllJigyoubuCode) divisions.push_back(code);
  } else {
    divisions.push_back(Jigyoubu::kAllJigyoubuCode);
  }
  // The division a refusal row names: -1 stands for the company without divisions.
  auto rowDivision = [&](int32_t d) { return usesJigyoubu ? d : -1; };

  std::vector<KamokuPtr> chart;
  if (document.rootKamokuKubun()) document.rootKamokuKubun()->getChildrenKamokuArray(chart);

  // Every balance-sheet account and sub-account carries its closing balances.
  for (const KamokuPtr& kp : chart) {
    const Kamoku& k = *kp;
    if (!(k.type() & Kamoku::kTypeF)) continue;
    const bool test = k.doSetEndBalanceToStartBalanceWhenKurikoshi();
    auto carry = [&](int32_t hojyo) {
      StartBalanceList& list = r.balances_[{k.code(), hojyo}];
      auto closing = [&](int32_t d) {
        return (hojyo < 0 ? sums.ofKamoku(k.code(), d) : sums.ofHojyoKamoku(k.code(), hojyo, d)).syuuryouZandaka;
      };
      for (int32_t d : divisions) {
        const int64_t b = closing(d);
        list.setBalance(b, d);
        if (test && outOfInputRange(b)) r.invalid_.push_back({k.code(), hojyo, rowDivision(d)});
      }
      if (usesJigyoubu) {
        const int64_t total = closing(Jigyoubu::kAllJigyoubuCode);
        list.setBalance(total, Jigyoubu::kAllJigyoubuCode);
        if (test && outOfInputRange(total)) r.invalid_.push_back({k.code(), hojyo, Jigyoubu::kAllJigyoubuCode});
      }
    };
    carry(-1);
    for (const HojyoKamokuPtr& h : k.hojyoKamokuArray())
      if (h->code() >= 0 && h->code() <= 99) carry(h->code());
  }
  auto refuse = [&](Refusal why, std::string message) {
    r.refusal_ = why;
    r.message_ = std::move(message);
    r.balances_.clear();
    return r;
  };
  if (!r.invalid_.empty()) return refuse(Refusal::EndBalance, kEndBalanceMessage);

  // Sub-accounts of an equity account the rules set: the rules give the account's
  // figure only, so they must not be in use.
  auto hasHojyoInUse = [&](const Kamoku& k) {
    for (const HojyoKamokuPtr& h : k.hojyoKamokuArray()) {
      if (h->isActive()) return true;
      for (int32_t d : sums.jigyoubuCodes())
        if (sums.ofHojyoKamoku(k.code(), h->code(), d).syuuryouZandaka != 0) return true;
    }
    return false;
  };
  auto balanceOf = [&](const Kamoku& k, int32_t d) { return r.balances_[{k.code(), -1}].balanceOfJigyoubuCode(d); };
  auto setBalance = [&](const Kamoku& k, int64_t v, int32_t d) { r.balances_[{k.code(), -1}].setBalance(v, d); };
  auto closeAll = [&](const Kamoku& k) {
    for (auto& [key, list] : r.balances_)
      if (key.first == k.code()) list.removeAllObjects();
  };

  const ZandakaShisan builder(document, sums, false);
  if (kaisya.isHoujin()) {
    const Kamoku* p = firstKamoku(chart, Kamoku::kTypeP, 0);
    const Kamoku* s = firstKamoku(chart, Kamoku::kTypeP, 1);
    if (!p)
      return refuse(Refusal::MissingKamoku, missingMessage("繰越利益の科目（貸方の繰越利益剰余金・前期繰越利益）"));
    if (!s) return refuse(Refusal::MissingKamoku, missingMessage("繰越損失の科目（借方の繰越損失金・前期繰越損失）"));
    if (hasHojyoInUse(*p)) return refuse(Refusal::MissingKamoku, hojyoMessage(*p));
    if (hasHojyoInUse(*s)) return refuse(Refusal::MissingKamoku, hojyoMessage(*s));
    int64_t total = 0;
    for (int32_t d : divisions) {
      const int64_t v = capped::add(capped::sub(balanceOf(*p, d), balanceOf(*s, d)), netResultOf(builder, true, d));
      setBalance(*p, v >= 0 ? v : 0, d);
      setBalance(*s, v >= 0 ? 0 : -v, d);
      if (v > maxInput) r.invalid_.push_back({p->code(), -1, rowDivision(d)});
      if (-v > maxInput) r.invalid_.push_back({s->code(), -1, rowDivision(d)});
      if (capped::inRange(total, maxOutput)) total = capped::add(total, v);
    }
    if (usesJigyoubu) {
      setBalance(*p, total >= 0 ? total : 0, Jigyoubu::kAllJigyoubuCode);
      setBalance(*s, total >= 0 ? 0 : -total, Jigyoubu::kAllJigyoubuCode);
      if (total > maxInput) r.invalid_.push_back({p->code(), -1, Jigyoubu::kAllJigyoubuCode});
      if (-total > maxInput) r.invalid_.push_back({s->code(), -1, Jigyoubu::kAllJigyoubuCode});
    }
  } else {
    const Kamoku* w = firstKamoku(chart, Kamoku::kTypeB, -1);
    const Kamoku* x = firstKamoku(chart, Kamoku::kTypeO, 0);
    const Kamoku* y = firstKamoku(chart, Kamoku::kTypeO, 1);
    if (!w) return refuse(Refusal::MissingKamoku, missingMessage("元入金の科目"));
    if (hasHojyoInUse(*w)) return refuse(Refusal::MissingKamoku, hojyoMessage(*w));
    int64_t total = 0;
    for (int32_t d : divisions) {
      int64_t v = capped::add(netResultOf(builder, false, d), balanceOf(*w, d));
      if (x) v = capped::add(v, balanceOf(*x, d));
      if (y) v = capped::sub(v, balanceOf(*y, d));
      setBalance(*w, v, d);
      if (outOfInputRange(v)) r.invalid_.push_back({w->code(), -1, rowDivision(d)});
      if (capped::inRange(total, maxOutput)) total = capped::add(total, v);
    }
    if (usesJigyoubu) {
      setBalance(*w, total, Jigyoubu::kAllJigyoubuCode);
      if (outOfInputRange(total)) r.invalid_.push_back({w->code(), -1, Jigyoubu::kAllJigyoubuCode});
    }
    // The owner's contributions and drawings, sub-accounts too, close into capital.
    if (x) closeAll(*x);
    if (y) closeAll(*y);
  }
  if (!r.invalid_.empty()) return refuse(Refusal::StartBalance, kStartBalanceMessage);
  return r;
}

std::string KurikoshiZandaka::cellText(const MyDocument& document, const InvalidZandaka& row, std::string_view column)
{
  const KamokuPtr kamoku = document.kamokuOfCode(row.kamokuCode);
  if (column == "kamoku") return kamoku ? kamoku->name() : std::string();
  if (column == "hojyoKamoku") {
    if (!kamoku) return std::string();
    if (row.hojyoKamokuCode >= 0)
      for (const HojyoKamokuPtr& h : kamoku->hojyoKamokuArray())
        if (h->code() == row.hojyoKamokuCode) return h->name();
    return kamoku->activeHojyoKamokuNum() > 0 ? kHojyoKamokuTotalTitle : "--";
  }
  if (column == "jigyoubu") {
    if (row.jigyoubuCode == -1 || document.numberOfActiveJigyoubu() == 0) return "--";
    if (row.jigyoubuCode == Jigyoubu::kAllJigyoubuCode) return kAllJigyoubuTitle;
    for (const JigyoubuPtr& j : document.jigyoubuArray())
      if (j->code() == row.jigyoubuCode) return j->name();
    return "--";
  }
  return std::string();
}

}  // namespace kivo
