#include "statements/Houkokusyo.h"

#include "statements/HoukokusyoTaisyakuTaisyouBuilder.h"
#include "statements/KaisyahouHanbaihiBuilder.h"
#include "statements/KaisyahouHoukokusyoRowMaker.h"
#include "statements/KaisyahouSeizouGenkaBuilder.h"
#include "statements/KaisyahouSonekiKeisanBuilder.h"

namespace kivo {

HoukokusyoStatements Houkokusyo::build(const MyDocument& document, const KaisyahouHoukokusyoBalances& balances,
                                       int32_t jigyoubuCode)
{
  using Column = KaisyahouHoukokusyoRowMaker::Column;
  HoukokusyoStatements out;
  out.jigyoubuCode = jigyoubuCode;
  const KaisyahouHoukokusyoRowMaker period(document, balances, jigyoubuCode, Column::TaisyakuBalance);
  const KaisyahouHoukokusyoRowMaker closing(document, balances, jigyoubuCode, Column::SyuuryouZandaka);

  KaisyahouStatementRows seizouP = KaisyahouSeizouGenkaBuilder::build(period);
  KaisyahouStatementRows seizouC = KaisyahouSeizouGenkaBuilder::build(closing);
  KaisyahouStatementRows hanbaihiP = KaisyahouHanbaihiBuilder::build(period);
  KaisyahouStatementRows hanbaihiC = KaisyahouHanbaihiBuilder::build(closing);
  auto sonekiP = KaisyahouSonekiKeisanBuilder::buildOlderForm(period, seizouP.handedOn, hanbaihiP.handedOn);
  auto sonekiC = KaisyahouSonekiKeisanBuilder::buildOlderForm(closing, seizouC.handedOn, hanbaihiC.handedOn);
  out.toukiSonekiOfTaisyakuBalance = sonekiP.toukiSoneki;
  out.toukiMisyobunSonekiOfTaisyakuBalance = sonekiP.toukiMisyobunSoneki;
  out.toukiSonekiOfSyuuryouZandaka = sonekiC.toukiSoneki;
  out.toukiMisyobunSonekiOfSyuuryouZandaka = sonekiC.toukiMisyobunSoneki;
  HoukokusyoTaisyakuTaisyouBuilder::Sides bs =
      HoukokusyoTaisyakuTaisyouBuilder::build(closing, sonekiC.toukiSoneki, sonekiC.toukiMisyobunSoneki);

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

const HoukokusyoStatements& Houkokusyo::setHoukokusyoShisanArrayForJigyoubuCode(const MyDocument& document,
                                                                                int32_t jigyoubuCode,
                                                                                const KaisyahouHoukokusyoPeriod& period)
{
  const CacheKey key{&document, document.reportDataGeneration(), period};
  didPost_ = !balances_ || !(key == key_);
  if (didPost_) {
    balances_ = KaisyahouHoukokusyoBalances::postShiwakeArray(document, period);
    key_ = key;
  }
  statements_ = build(document, *balances_, jigyoubuCode);
  return statements_;
}

}  // namespace kivo
