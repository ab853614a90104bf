#include "statements/KabunushiShihonHendouBuilder.h"

#include <unordered_map>

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Kamoku.h"
#include "model/KamokuKubun.h"
#include "statements/KaisyahouHoukokusyoBalances.h"
#include "statements/KaisyahouHoukokusyoRowMaker.h"
#include "statements/KaisyahouRowCodes.h"
#include "statements/KaisyahouShiwakeOrder.h"

namespace kivo {
namespace {

using Titles = std::vector<std::string>;

// One reason's changes per account: the signed sum of the entry sides within the
// period and the division, and whether any side touched the account.
struct ReasonCell {
  int64_t sum = 0;
  bool touched = false;
};

struct Reason {
  HendouReasonPtr reason;
  bool hasEntries = false;
  bool isTouki = false;
  std::unordered_map<int32_t, ReasonCell> cellOfKamokuCode;
};

class Grid {
public:
  Grid(const MyDocument& doc, const KaisyahouHoukokusyoBalances& balances, int32_t jigyoubuCode,
       std::vector<Reason> reasons, int64_t periodProfit, int64_t closingProfit, bool tate)
      : doc_(doc),
        kaishi_(doc, balances, jigyoubuCode, KaisyahouHoukokusyoRowMaker::Column::KaishiZandaka),
        syuuryou_(doc, balances, jigyoubuCode, KaisyahouHoukokusyoRowMaker::Column::SyuuryouZandaka),
        max_(doc.kaisya().maxOutputAmountValue()),
        reasons_(std::move(reasons)),
        periodProfit_(periodProfit),
        closingProfit_(closingProfit),
        tate_(tate),
        period_(balances.period())
  {
    equity_ = kaishi_.kamokuOfKubun("純資産の部");
  }

  std::vector<Shisan> cols;

  // Fills one column; answers whether it is worth showing.
  bool fill(Shisan& col, const Kamoku* k)
  {
    std::vector<int64_t>& cells = col.monthlyAmountArray();
    bool shown;
    if (k) {
      cells.push_back(kaishi_.amountOf(*k));
      shown = cells.back() != 0;
    } else {
      const Date first = doc_.kaisya().monthArray().empty() ? Date() : doc_.kaisya().monthArray().front().startDate();
      const bool pinned = !kaishi_.inRange(periodProfit_) || !kaishi_.inRange(closingProfit_);
      int64_t opening = 0;
      if (Journal::compareDate(period_.startDate, first) != 0)
        opening = pinned ? max_ + 1 : kaishi_.pinned(closingProfit_ - periodProfit_);
      cells.push_back(opening);
      shown = true;
    }
    cells.push_back(0);
    int64_t t = 0;
    for (const Reason& r : reasons_) {
      if (r.isTouki && !k) {
        // The profit column carries the period's profit in this row, whatever entries
        // the reason holds.
        cells.push_back(periodProfit_);
        t = periodProfit_;
        continue;
      }
      if (!r.hasEntries) {
        if (r.isTouki) cells.push_back(0);
        continue;
      }
      int64_t s = 0;
      if (k) {
        if (const auto it = r.cellOfKamokuCode.find(k->code()); it != r.cellOfKamokuCode.end()) {
          s = it->second.sum;
          kaishi_.accumulate(t, s, true);
          shown = shown || it->second.touched;
        }
      }
      cells.push_back(s);
    }
    cells.push_back(kaishi_.pinned(t));
    cells.push_back(k ? syuuryou_.amountOf(*k) : closingProfit_);
    return shown || cells.back() != 0;
  }

  void setTitles(Shisan& col, int32_t code, const Titles& v, const Titles& h) const
  {
    const Titles& t = tate_ ? v : h;
    col.setKamokuCode(code);
    col.setJigyoubuCode(Jigyoubu::kAllJigyoubuCode);
    if (t.size() > 0) col.setTitle(t[0]);
    if (t.size() > 1) col.setTitle2(t[1]);
    if (t.size() > 2) col.setTitle3(t[2]);
    if (t.size() > 3) col.setTitle4(t[3]);
  }

  static void addOperand(std::vector<Calculate>& list, size_t index, bool subtract)
  {
    list.emplace_back(static_cast<int32_t>(index), subtract ? Calculate::Sign::Subtract : Calculate::Sign::Add);
  }

  // A column per account of the group worth showing, each an operand of the list;
  // the equity total is credit-natured, so a debit-natured account subtracts.
  void accountColumns(int32_t group, const Titles& v, const Titles& h, std::vector<Calculate>& list)
  {
    for (const Kamoku* k : equity_) {
      if (k->group() != group) continue;
      Shisan col;
      Titles vt = v, ht = h;
      vt.back() += k->name();
      ht.back() += k->name();
      setTitles(col, k->code(), vt, ht);
      if (!fill(col, k)) continue;
      cols.push_back(std::move(col));
      addOperand(list, cols.size() - 1, k->isKarikataKamoku());
    }
  }

  // The accounts of the group summed into one column (after the profit column when
  // withProfit); answers its index, or -1 when nothing was shown.
  int32_t mergedColumn(int32_t group, bool withProfit, const Titles& v, const Titles& h, std::vector<Calculate>& list)
  {
    const size_t first = cols.size();
    std::vector<Calculate> members;
    if (withProfit) {
      Shisan col;
      setTitles(col, KaisyahouComputedRowCode, v, h);
      fill(col, nullptr);
      cols.push_back(std::move(col));
      addOperand(members, cols.size() - 1, false);
    }
    accountColumns(group, Titles(v.size(), ""), Titles(h.size(), ""), members);
    if (members.empty()) return -1;
    const size_t sum = syuuryou_.addTotalOfCalculateArray(members, cols);
    Shisan merged = std::move(cols[sum]);
    cols.resize(first);
    setTitles(merged, KaisyahouGroupRowCode, v, h);
    cols.push_back(std::move(merged));
    addOperand(list, first, false);
    return static_cast<int32_t>(first);
  }

  // A total column of the list, when it is not empty; answers its index or -1.
  int32_t totalColumn(const std::vector<Calculate>& from, const Titles& v, const Titles& h, std::vector<Calculate>* to)
  {
    if (from.empty()) return -1;
    const size_t i = syuuryou_.addTotalOfCalculateArray(from, cols);
    setTitles(cols[i], KaisyahouBlockTotalRowCode, v, h);
    if (to) addOperand(*to, i, false);
    return static_cast<int32_t>(i);
  }

private:
  const MyDocument& doc_;
  KaisyahouHoukokusyoRowMaker kaishi_;
  KaisyahouHoukokusyoRowMaker syuuryou_;
  int64_t max_;
  std::vector<Reason> reasons_;
  int64_t periodProfit_;
  int64_t closingProfit_;
  bool tate_;
  KaisyahouHoukokusyoPeriod period_;
  std::vector<const Kamoku*> equity_;
};

}  // namespace

std::vector<std::pair<HendouReasonPtr, std::vector<const Shiwake*>>>
KabunushiShihonHendouBuilder::shiwakeOfHendouReasons(const MyDocument& document, const KaisyahouShiwakeOrder& order)
{
  std::vector<std::pair<HendouReasonPtr, std::vector<const Shiwake*>>> out;
  if (document.isHendouReasonArrayCurrent()) {
    for (const HendouReasonPtr& r : document.hendouReasonArray()) {
      std::vector<const Shiwake*>& entries = out.emplace_back(r, std::vector<const Shiwake*>{}).second;
      for (const ShiwakePtr& s : r->shiwakeArray())
        if (s->denpyouNo() > 0) entries.push_back(s.get());
    }
    return out;
  }
  for (const HendouReasonPtr& r : document.hendouReasonArray()) out.emplace_back(r, std::vector<const Shiwake*>{});
  if (out.empty())
    for (const char* name : {MyDocument::kNoReason, MyDocument::kTouki, MyDocument::kKabunushiShihonIgai})
      out.emplace_back(std::make_shared<HendouReason>(name), std::vector<const Shiwake*>{});
  // An entry in a reason's list belongs to that reason, as the next rebuild of the
  // lists will write its name into the entry.
  std::unordered_map<const Shiwake*, const std::string*> listedUnder;
  for (const HendouReasonPtr& r : document.hendouReasonArray())
    for (const ShiwakePtr& s : r->shiwakeArray()) listedUnder[s.get()] = &r->reasonString();
  const std::string noReason = MyDocument::kNoReason;
  const std::vector<KamokuPtr>& accounts = document.codeSortedKamokuArray();
  auto isEquity = [&](int32_t code) {
    const int32_t i = order.indexOfKamokuCode(code);
    return i >= 0 && accounts[static_cast<size_t>(i)]->isKabunushiShihonKamoku();
  };
  for (const Shiwake* s : order.sortedShiwake()) {
    if (!isEquity(s->karikataKamokuCode()) && !isEquity(s->kashikataKamokuCode())) continue;
    const auto listed = listedUnder.find(s);
    const std::string& name = listed != listedUnder.end()    ? *listed->second
                              : s->hendouReasonStr().empty() ? noReason
                                                             : s->hendouReasonStr();
    for (auto& [reason, entries] : out) {
      if (reason->reasonString() == name) {
        entries.push_back(s);
        break;
      }
    }
  }
  return out;
}

KabunushiShihonHendouBuilder::Statement KabunushiShihonHendouBuilder::build(
    const MyDocument& document, const KaisyahouHoukokusyoBalances& balances, const KaisyahouShiwakeOrder& order,
    int32_t jigyoubuCode, int64_t toukiSonekiOfTaisyakuBalance, int64_t toukiSonekiOfSyuuryouZandaka, bool tateTitles)
{
  Statement out;
  using Kind = RowLabel::Kind;
  out.rowLabels.push_back({Kind::Zenkimatsu, "前期末残高", nullptr});
  out.rowLabels.push_back({Kind::ToukiHendouHeading, "当期変動額", nullptr});
  std::vector<Reason> reasons;
  const KaisyahouHoukokusyoPeriod& period = balances.period();
  const int64_t max = document.kaisya().maxOutputAmountValue();
  const std::vector<KamokuPtr>& accounts = document.codeSortedKamokuArray();
  for (auto& [reason, entries] : shiwakeOfHendouReasons(document, order)) {
    const bool touki = reason->reasonString() == MyDocument::kTouki;
    if (entries.empty() && !touki) continue;
    if (touki) out.toukiSonekiRow = static_cast<int32_t>(out.rowLabels.size());
    out.rowLabels.push_back({Kind::Reason, reason->reasonString(), reason});
    Reason& r = reasons.emplace_back();
    r.reason = reason;
    r.hasEntries = !entries.empty();
    r.isTouki = touki;
    // Each account's change under the reason: the entry sides in the period and the
    // division, signed by the account's nature; a sum that leaves the limit is pinned.
    for (const Shiwake* e : entries) {
      if (Journal::compareDate(e->date(), period.startDate) < 0 || Journal::compareDate(e->date(), period.endDate) > 0)
        continue;
      auto side = [&](int32_t code, int32_t jigyoubu, int64_t amount, bool karikata) {
        if (amount == 0) return;
        if (jigyoubuCode != Jigyoubu::kAllJigyoubuCode && jigyoubu != jigyoubuCode) return;
        const int32_t i = order.indexOfKamokuCode(code);
        if (i < 0) return;
        ReasonCell& c = r.cellOfKamokuCode[code];
        c.touched = true;
        if (!capped::inRange(c.sum, max)) return;
        const bool add = accounts[static_cast<size_t>(i)]->isKarikataKamoku() == karikata;
        c.sum = add ? capped::add(c.sum, amount) : capped::sub(c.sum, amount);
        if (c.sum > max) c.sum = max + 1;
        if (c.sum < -max) c.sum = -(max + 1);
      };
      side(e->karikataKamokuCode(), e->karikataJigyoubuCode(), e->karikataKingaku(), true);
      side(e->kashikataKamokuCode(), e->kashikataJigyoubuCode(), e->kashikataKingaku(), false);
    }
  }
  out.rowLabels.push_back({Kind::ToukiHendouGoukei, "当期変動額合計", nullptr});
  out.rowLabels.push_back({Kind::Toukimatsu, "当期末残高", nullptr});

  Grid g(document, balances, jigyoubuCode, std::move(reasons), toukiSonekiOfTaisyakuBalance,
         toukiSonekiOfSyuuryouZandaka, tateTitles);
  std::vector<Calculate> kabunushi, second, junshisan;
  const std::string K = "株主資本";
  const std::string H = "評価・換算差額等";

  g.accountColumns(18, {K, "　"}, {K, ""}, kabunushi);
  g.accountColumns(26, {K, "　資本剰余金", "　　"}, {K, "資本剰余金", ""}, second);
  g.accountColumns(19, {K, "　資本剰余金", "　　"}, {K, "資本剰余金", ""}, second);
  g.mergedColumn(27, false, {K, "　資本剰余金", "　　その他資本剰余金"}, {K, "資本剰余金", "その他\n資本剰余金"},
                 second);
  g.totalColumn(second, {K, "　資本剰余金", "　資本剰余金合計"}, {K, "資本剰余金", "資本剰余金合計"}, &kabunushi);
  second.clear();
  g.accountColumns(20, {K, "　利益剰余金", "　　"}, {K, "利益剰余金", ""}, second);
  g.accountColumns(21, {K, "　利益剰余金", "　　その他利益剰余金", "　　　"}, {K, "利益剰余金", "その他利益剰余金", ""},
                   second);
  const int32_t kurikoshi =
      g.mergedColumn(22, true, {K, "　利益剰余金", "　　その他利益剰余金", "　　　繰越利益剰余金"},
                     {K, "利益剰余金", "その他利益剰余金", "繰越利益\n剰余金"}, second);
  const int32_t riekiGoukei =
      g.totalColumn(second, {K, "　利益剰余金", "　利益剰余金合計"}, {K, "利益剰余金", "利益剰余金合計"}, &kabunushi);
  g.accountColumns(23, {K, "　"}, {K, ""}, kabunushi);
  g.accountColumns(29, {K, "　"}, {K, ""}, kabunushi);
  const int32_t kabunushiGoukei = g.totalColumn(kabunushi, {K, "　株主資本合計"}, {K, "株主資本合計"}, &junshisan);
  second.clear();
  g.mergedColumn(24, false, {H, "　その他有価証券評価差額金"}, {H, "その他有価証券\n評価差額金"}, second);
  g.accountColumns(30, {H, "　"}, {H, ""}, second);
  g.totalColumn(second, {H, "　評価・換算差額等合計"}, {H, "評価・換算差額等\n合計"}, &junshisan);
  g.accountColumns(25, {""}, {""}, junshisan);
  g.totalColumn(junshisan, {"純資産合計"}, {"純資産合計"}, nullptr);

  if (out.toukiSonekiRow >= 0) {
    for (int32_t c : {kurikoshi, riekiGoukei, kabunushiGoukei}) {
      if (c < 0) continue;
      int64_t& cell = g.cols[static_cast<size_t>(c)].monthlyAmountArray()[static_cast<size_t>(out.toukiSonekiRow)];
      if (cell == 0) cell = shownZeroAmount(max);
    }
  }
  out.columns = std::move(g.cols);
  return out;
}

}  // namespace kivo
