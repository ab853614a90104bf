#include "statements/KaisyahouSonekiKeisanBuilder.h"

#include <string>
#include <vector>

#include "model/Kamoku.h"
#include "statements/KaisyahouHoukokusyoRowMaker.h"
#include "statements/KaisyahouRowCodes.h"

namespace kivo {
namespace {

class Builder {
public:
  explicit Builder(const KaisyahouHoukokusyoRowMaker& m) : m_(m) {}

  std::vector<Shisan> rows;
  std::vector<Calculate> profitList;

  size_t heading(int32_t code, const std::string& title) { return m_.addRow(rows, code, title, 0); }
  void removeIfLast(size_t heading)
  {
    if (rows.size() == heading + 1) rows.pop_back();
  }
  void operand(size_t row, bool subtract, std::vector<Calculate>& list)
  {
    list.emplace_back(static_cast<int32_t>(row), subtract ? Calculate::Sign::Subtract : Calculate::Sign::Add);
  }

  // The total of the group's eligible accounts on the given side, 0 when none.
  int64_t groupTotal(int32_t group, bool isKarikataKamokuKubun) const
  {
    int64_t total = 0;
    for (const Kamoku* k : m_.kamokuOfGroup(group)) {
      if (!m_.isEligible(*k)) continue;
      const int64_t a = m_.gassanAmountOf(*k);
      if (a != 0) m_.addAmount(a, *k, isKarikataKamokuKubun, total);
    }
    return total;
  }

  // A line of the cost of sales from a group total, an operand of the list.
  void groupLine(int32_t group, bool isKarikataKamokuKubun, const std::string& title, bool subtract,
                 std::vector<Calculate>& list)
  {
    const int64_t total = groupTotal(group, isKarikataKamokuKubun);
    if (total != 0) operand(m_.addRow(rows, KaisyahouComputedRowCode, title, total), subtract, list);
  }

  // The running result of the statement as a line: the profit title when positive,
  // the loss title and the size of the loss when negative (the list then goes on from
  // this line alone), no line when 0. Returns the signed result.
  int64_t resultLine(int32_t code, const std::string& profitTitle, const std::string& lossTitle)
  {
    const size_t i = m_.addTotalRow(profitList, rows, code, profitTitle);
    const int64_t result = rows[i].houkokusyoAmount();
    if (result == 0) {
      rows.pop_back();
    } else if (result < 0) {
      rows[i].setTitle(lossTitle);
      rows[i].setHoukokusyoAmount(-result);
      profitList.assign(1, Calculate(static_cast<int32_t>(i), Calculate::Sign::Subtract));
    }
    return result;
  }

  // A category section: heading, account rows, the subtotal as an operand.
  void section(const std::string& title, const std::string& kubunName, bool isKarikataKamokuKubun,
               const std::string& subtotalTitle, bool subtract)
  {
    const size_t h = heading(KaisyahouGroupRowCode, title);
    int64_t total = 0;
    for (const Kamoku* k : m_.kamokuOfKubun(kubunName)) {
      if (!m_.isEligible(*k)) continue;
      const int64_t a = m_.gassanAmountOf(*k);
      if (a == 0) continue;
      m_.addRow(rows, k->code(), "　　" + KaisyahouHoukokusyoRowMaker::rowName(*k), a);
      m_.addAmount(a, *k, isKarikataKamokuKubun, total);
    }
    if (rows.size() == h + 1) {
      rows.pop_back();
      return;
    }
    operand(m_.addRow(rows, KaisyahouSubtotalRowCode, subtotalTitle, total), subtract, profitList);
  }

  const KaisyahouHoukokusyoRowMaker& m_;
};

// The statement down to the net result, titled netProfit / netLoss; returns the
// signed net result.
int64_t buildToNet(Builder& b, const KaisyahouHoukokusyoRowMaker& m, std::optional<int64_t> toukiSeihinSeizouGenka,
                   std::optional<int64_t> hanbaihiGoukei, const std::string& netProfit, const std::string& netLoss)
{
  std::vector<Shisan>& rows = b.rows;
  const size_t keijou = b.heading(KaisyahouSectionRowCode, "経常損益の部");
  const size_t eigyou = b.heading(KaisyahouGroupRowCode, "[営業損益の部]");

  // Sales.
  std::optional<size_t> salesLine;
  b.heading(KaisyahouGroupRowCode, "　[営業収益]");
  const size_t uriage = b.heading(KaisyahouGroupRowCode, "　　[売上高]");
  int64_t sales = 0;
  for (const Kamoku* k : m.kamokuOfGroup(3)) {
    if (!m.isEligible(*k)) continue;
    const int64_t a = m.gassanAmountOf(*k);
    if (a == 0) continue;
    m.addRow(rows, k->code(), "　　　" + KaisyahouHoukokusyoRowMaker::rowName(*k), a);
    m.addAmount(a, *k, false, sales);
  }
  if (rows.size() == uriage + 1)
    rows.resize(uriage - 1);
  else
    salesLine = m.addRow(rows, KaisyahouSubtotalRowCode, "　　　　売上高合計", sales);

  // Cost of sales.
  const size_t eigyouHiyou = b.heading(KaisyahouGroupRowCode, "　[営業費用]");
  b.heading(KaisyahouGroupRowCode, "　　[売上原価]");
  std::vector<Calculate> costList;
  b.groupLine(4, true, "　　　期首商品棚卸高", false, costList);
  b.groupLine(5, true, "　　　当期商品仕入高", false, costList);
  if (toukiSeihinSeizouGenka)
    b.operand(m.addRow(rows, KaisyahouComputedRowCode, "　　　当期製品製造原価", *toukiSeihinSeizouGenka), false,
              costList);
  if (costList.size() > 1) m.addTotalRow(costList, rows, KaisyahouBlockTotalRowCode, "　　　　合　　　計");
  b.groupLine(6, false, "　　　期末商品棚卸高", true, costList);
  std::optional<size_t> costLine;
  if (costList.empty())
    rows.pop_back();
  else
    costLine = m.addTotalRow(costList, rows, KaisyahouSubtotalRowCode, "　　　　売上原価");

  // Gross, then operating result.
  if (salesLine) b.operand(*salesLine, false, b.profitList);
  if (costLine) b.operand(*costLine, true, b.profitList);
  if (!b.profitList.empty()) b.resultLine(KaisyahouTotalRowCode, "　　　　売上総利益", "　　　　売上総損失");
  if (hanbaihiGoukei) {
    b.heading(KaisyahouGroupRowCode, "　　[販売費及び一般管理費]");
    b.operand(m.addRow(rows, KaisyahouSubtotalRowCode, "　　　販売費及び一般管理費合計", *hanbaihiGoukei), true,
              b.profitList);
  }
  b.removeIfLast(eigyouHiyou);
  b.resultLine(KaisyahouTotalRowCode, "　　　　営業利益", "　　　　営業損失");
  b.removeIfLast(eigyou);

  // Non-operating items, ordinary result.
  const size_t eigyougai = b.heading(KaisyahouGroupRowCode, "[営業外損益の部]");
  b.section("　[営業外収益]", "営業外収益", false, "　　　営業外収益合計", false);
  b.section("　[営業外費用]", "営業外費用", true, "　　　営業外費用合計", true);
  b.removeIfLast(eigyougai);
  b.resultLine(KaisyahouTotalRowCode, "　　　　経常利益", "　　　　経常損失");
  b.removeIfLast(keijou);

  // Extraordinary items, taxes, net result.
  const size_t tokubetsu = b.heading(KaisyahouSectionRowCode, "特別損益の部");
  b.section("　[特別利益]", "特別利益", false, "　　　特別利益合計", false);
  b.section("　[特別損失]", "特別損失", true, "　　　特別損失合計", true);
  b.removeIfLast(tokubetsu);
  b.resultLine(KaisyahouTotalRowCode, "　　　税引前当期利益", "　　　税引前当期損失");
  const int64_t taxes = b.groupTotal(7, true);
  if (taxes != 0) b.operand(m.addRow(rows, KaisyahouSubtotalRowCode, "　　　法人税等", taxes), true, b.profitList);
  return b.resultLine(KaisyahouTotalRowCode, netProfit, netLoss);
}

}  // namespace

KaisyahouStatementRows KaisyahouSonekiKeisanBuilder::build(const KaisyahouHoukokusyoRowMaker& m,
                                                           std::optional<int64_t> toukiSeihinSeizouGenka,
                                                           std::optional<int64_t> hanbaihiGoukei)
{
  Builder b(m);
  const int64_t net = buildToNet(b, m, toukiSeihinSeizouGenka, hanbaihiGoukei, "　　　当期純利益", "　　　当期純損失");
  KaisyahouStatementRows out;
  out.rows = std::move(b.rows);
  if (net != 0) out.handedOn = net;
  return out;
}

KaisyahouSonekiKeisanBuilder::OlderForm KaisyahouSonekiKeisanBuilder::buildOlderForm(
    const KaisyahouHoukokusyoRowMaker& m, const KaisyahouHoukokusyoRowMaker& closing,
    std::optional<int64_t> toukiSeihinSeizouGenka, std::optional<int64_t> hanbaihiGoukei)
{
  Builder b(m);
  OlderForm out;
  out.toukiSoneki = buildToNet(b, m, toukiSeihinSeizouGenka, hanbaihiGoukei, "　　　当期利益", "　　　当期損失");
  // Profit or loss brought forward (a loss shown by its size), then the result. The
  // brought-forward amount is what the balance sheet holds at the close (the opening
  // balance less what was paid out of it), whatever the period column starts from,
  // so that the statement ends on the balance sheet's 当期未処分利益.
  const int64_t kurikoshi = Builder(closing).groupTotal(8, false);
  if (kurikoshi > 0)
    b.operand(m.addRow(b.rows, KaisyahouSubtotalRowCode, "　　　前期繰越利益", kurikoshi), false, b.profitList);
  else if (kurikoshi < 0)
    b.operand(m.addRow(b.rows, KaisyahouSubtotalRowCode, "　　　前期繰越損失", m.pinned(-kurikoshi)), true,
              b.profitList);
  const size_t i = m.addTotalRow(b.profitList, b.rows, KaisyahouTotalRowCode, "　　　当期未処分利益");
  out.toukiMisyobunSoneki = b.rows[i].houkokusyoAmount();
  if (out.toukiMisyobunSoneki == 0) {
    b.rows.pop_back();
  } else if (out.toukiMisyobunSoneki < 0) {
    b.rows[i].setTitle("　　　当期未処理損失");
    b.rows[i].setHoukokusyoAmount(-out.toukiMisyobunSoneki);
  }
  out.rows = std::move(b.rows);
  return out;
}

}  // namespace kivo
