#include "statements/Houkokusyo.h"

#include "statements/HoukokusyoTaisyakuTaisyouBuilder.h"
#include "statements/KaisyahouSonekiKeisanBuilder.h"
#include "statements/KaisyahouStatementColumns.h"

namespace kivo {

HoukokusyoStatements Houkokusyo::build(const MyDocument& document, const KaisyahouHoukokusyoBalances& balances,
                                       int32_t jigyoubuCode)
{
  KaisyahouStatementColumns c(document, balances, jigyoubuCode);
  auto sonekiP =
      KaisyahouSonekiKeisanBuilder::buildOlderForm(c.period, c.closing, c.seizouP.handedOn, c.hanbaihiP.handedOn);
  auto sonekiC =
      KaisyahouSonekiKeisanBuilder::buildOlderForm(c.closing, c.closing, c.seizouC.handedOn, c.hanbaihiC.handedOn);
  HoukokusyoStatements out;
  out.toukiSonekiOfTaisyakuBalance = sonekiP.toukiSoneki;
  out.toukiMisyobunSonekiOfTaisyakuBalance = sonekiP.toukiMisyobunSoneki;
  out.toukiSonekiOfSyuuryouZandaka = sonekiC.toukiSoneki;
  out.toukiMisyobunSonekiOfSyuuryouZandaka = sonekiC.toukiMisyobunSoneki;
  HoukokusyoTaisyakuTaisyouBuilder::Sides bs =
      HoukokusyoTaisyakuTaisyouBuilder::build(c.closing, sonekiC.toukiSoneki, sonekiC.toukiMisyobunSoneki);
  c.finish(out, std::move(sonekiP.rows), std::move(sonekiC.rows), std::move(bs.shisannobu), std::move(bs.fusainobu));
  return out;
}

const HoukokusyoStatements& Houkokusyo::setHoukokusyoShisanArrayForJigyoubuCode(const MyDocument& document,
                                                                                int32_t jigyoubuCode,
                                                                                const KaisyahouHoukokusyoPeriod& period)
{
  didPost_ = pass_.update(document, period);
  statements_ = build(document, pass_.balances(), jigyoubuCode);
  return statements_;
}

}  // namespace kivo
