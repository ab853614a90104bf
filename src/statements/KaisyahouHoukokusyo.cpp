#include "statements/KaisyahouHoukokusyo.h"

#include "document/MyDocument.h"
#include "statements/KaisyahouHanbaihiBuilder.h"
#include "statements/KaisyahouHoukokusyoRowMaker.h"
#include "statements/KaisyahouSeizouGenkaBuilder.h"
#include "statements/KaisyahouShiwakeOrder.h"
#include "statements/KaisyahouSonekiKeisanBuilder.h"
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
  using Column = KaisyahouHoukokusyoRowMaker::Column;
  KaisyahouHoukokusyoStatements out;
  out.jigyoubuCode = jigyoubuCode;
  const KaisyahouHoukokusyoRowMaker period(document, balances, jigyoubuCode, Column::TaisyakuBalance);
  const KaisyahouHoukokusyoRowMaker closing(document, balances, jigyoubuCode, Column::SyuuryouZandaka);

  KaisyahouStatementRows seizouP = KaisyahouSeizouGenkaBuilder::build(period);
  KaisyahouStatementRows seizouC = KaisyahouSeizouGenkaBuilder::build(closing);
  KaisyahouStatementRows hanbaihiP = KaisyahouHanbaihiBuilder::build(period);
  KaisyahouStatementRows hanbaihiC = KaisyahouHanbaihiBuilder::build(closing);
  KaisyahouStatementRows sonekiP = KaisyahouSonekiKeisanBuilder::build(period, seizouP.handedOn, hanbaihiP.handedOn);
  KaisyahouStatementRows sonekiC = KaisyahouSonekiKeisanBuilder::build(closing, seizouC.handedOn, hanbaihiC.handedOn);
  out.toukiSonekiOfTaisyakuBalance = sonekiP.handedOn.value_or(0);
  out.toukiSonekiOfSyuuryouZandaka = sonekiC.handedOn.value_or(0);
  KaisyahouTaisyakuTaisyouBuilder::Sides bs =
      KaisyahouTaisyakuTaisyouBuilder::build(closing, out.toukiSonekiOfSyuuryouZandaka);

  out.kabunushiShihon =
      KabunushiShihonHendouBuilder::build(document, balances, order, jigyoubuCode, out.toukiSonekiOfTaisyakuBalance,
                                          out.toukiSonekiOfSyuuryouZandaka, options.tateKabunushiShihonTitles);
  out.taisyakuBalanceSeizouGenkaShisanArray = std::move(seizouP.rows);
  out.syuuryouZandakaSeizouGenkaShisanArray = std::move(seizouC.rows);
  out.taisyakuBalanceHanbaihiShisanArray = std::move(hanbaihiP.rows);
  out.syuuryouZandakaHanbaihiShisanArray = std::move(hanbaihiC.rows);
  out.taisyakuBalanceSonekiKeisanShisanArray = std::move(sonekiP.rows);
  out.syuuryouZandakaSonekiKeisanShisanArray = std::move(sonekiC.rows);
  out.taisyakuTaisyouShisannobuShisanArray = std::move(bs.shisannobu);
  out.taisyakuTaisyouFusainobuShisanArray = std::move(bs.fusainobu);
  return out;
}

const KaisyahouHoukokusyoStatements& KaisyahouHoukokusyo::setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(
    const MyDocument& document, int32_t jigyoubuCode, const KaisyahouHoukokusyoOptions& options)
{
  const CacheKey key{&document, document.reportDataGeneration(), options.period};
  const KaisyahouShiwakeOrder order(document);
  didPost_ = !balances_ || !(key == key_);
  if (didPost_) {
    balances_ = KaisyahouHoukokusyoBalances::postShiwakeArray(document, options.period, order);
    key_ = key;
  }
  statements_ = build(document, *balances_, order, jigyoubuCode, options);
  return statements_;
}

}  // namespace kivo
