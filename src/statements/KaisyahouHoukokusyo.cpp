#include "statements/KaisyahouHoukokusyo.h"

#include "document/MyDocument.h"
#include "statements/KaisyahouShiwakeOrder.h"
#include "statements/KaisyahouSonekiKeisanBuilder.h"
#include "statements/KaisyahouStatementColumns.h"
#include "statements/KaisyahouTaisyakuTaisyouBuilder.h"

namespace kivo {

KaisyahouHoukokusyoStatements KaisyahouHoukokusyo::build(const MyDocument& document,
                                                         const KaisyahouHoukokusyoBalances& balances,
                                                         int32_t jigyoubuCode,
                                                         const KaisyahouHoukokusyoOptions& options)
{
  return build(document, balances, KaisyahouShiwakeOrder(document), jigyoubuCode, options);
}

KaisyahouHoukokusyoStatements KaisyahouHoukokusyo::build(const MyDocument& document,
                                                         const KaisyahouHoukokusyoBalances& balances,
                                                         const KaisyahouShiwakeOrder& order, int32_t jigyoubuCode,
                                                         const KaisyahouHoukokusyoOptions& options)
{
  KaisyahouStatementColumns c(document, balances, jigyoubuCode);
  KaisyahouStatementRows sonekiP =
      KaisyahouSonekiKeisanBuilder::build(c.period, c.seizouP.handedOn, c.hanbaihiP.handedOn);
  KaisyahouStatementRows sonekiC =
      KaisyahouSonekiKeisanBuilder::build(c.closing, c.seizouC.handedOn, c.hanbaihiC.handedOn);
  KaisyahouHoukokusyoStatements out;
  out.toukiSonekiOfTaisyakuBalance = sonekiP.handedOn.value_or(0);
  out.toukiSonekiOfSyuuryouZandaka = sonekiC.handedOn.value_or(0);
  KaisyahouTaisyakuTaisyouBuilder::Sides bs =
      KaisyahouTaisyakuTaisyouBuilder::build(c.closing, out.toukiSonekiOfSyuuryouZandaka);
  out.kabunushiShihon =
      KabunushiShihonHendouBuilder::build(document, balances, order, jigyoubuCode, out.toukiSonekiOfTaisyakuBalance,
                                          out.toukiSonekiOfSyuuryouZandaka, options.tateKabunushiShihonTitles);
  c.finish(out, std::move(sonekiP.rows), std::move(sonekiC.rows), std::move(bs.shisannobu), std::move(bs.fusainobu));
  return out;
}

const KaisyahouHoukokusyoStatements& KaisyahouHoukokusyo::setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(
    const MyDocument& document, int32_t jigyoubuCode, const KaisyahouHoukokusyoOptions& options)
{
  didPost_ = pass_.update(document, options.period);
  statements_ = build(document, pass_.balances(), pass_.order(), jigyoubuCode, options);
  return statements_;
}

}  // namespace kivo
