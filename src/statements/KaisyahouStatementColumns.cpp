#include "statements/KaisyahouStatementColumns.h"

#include "statements/KaisyahouHanbaihiBuilder.h"
#include "statements/KaisyahouSeizouGenkaBuilder.h"

namespace kivo {

using Column = KaisyahouHoukokusyoRowMaker::Column;

KaisyahouStatementColumns::KaisyahouStatementColumns(const MyDocument& document,
                                                     const KaisyahouHoukokusyoBalances& balances, int32_t jigyoubuCode)
    : period(document, balances, jigyoubuCode, Column::TaisyakuBalance),
      closing(document, balances, jigyoubuCode, Column::SyuuryouZandaka),
      seizouP(KaisyahouSeizouGenkaBuilder::build(period)),
      seizouC(KaisyahouSeizouGenkaBuilder::build(closing)),
      hanbaihiP(KaisyahouHanbaihiBuilder::build(period)),
      hanbaihiC(KaisyahouHanbaihiBuilder::build(closing))
{
}

void KaisyahouStatementColumns::finish(KaisyahouStatementArrays& out, std::vector<Shisan> sonekiP,
                                       std::vector<Shisan> sonekiC, std::vector<Shisan> shisannobu,
                                       std::vector<Shisan> fusainobu)
{
  out.jigyoubuCode = period.jigyoubuCode();
  out.taisyakuBalanceSeizouGenkaShisanArray = std::move(seizouP.rows);
  out.syuuryouZandakaSeizouGenkaShisanArray = std::move(seizouC.rows);
  out.taisyakuBalanceHanbaihiShisanArray = std::move(hanbaihiP.rows);
  out.syuuryouZandakaHanbaihiShisanArray = std::move(hanbaihiC.rows);
  out.taisyakuBalanceSonekiKeisanShisanArray = std::move(sonekiP);
  out.syuuryouZandakaSonekiKeisanShisanArray = std::move(sonekiC);
  out.taisyakuTaisyouShisannobuShisanArray = std::move(shisannobu);
  out.taisyakuTaisyouFusainobuShisanArray = std::move(fusainobu);
}

}  // namespace kivo
