#include "trial/ZandakaShisanAssembly.h"

#include <cstdio>

#include "trial/ZandakaShisan.h"

namespace kivo {
namespace {

// Finds the first row of the code, re-codes it a total row and returns it.
const Shisan* takeLinkRow(std::vector<Shisan>& rows, int32_t code)
{
  for (Shisan& r : rows) {
    if (r.kamokuCode() == code) {
      r.setKamokuCode(ShisanTotalRowCode);
      return &r;
    }
  }
  return nullptr;
}

}  // namespace

ZandakaShisanAssembly::ZandakaShisanAssembly(const MyDocument& document) : document_(document) {}

void ZandakaShisanAssembly::buildSections(const ZandakaShisan& builder, int32_t j, std::vector<Shisan>& seizouGenka,
                                          std::vector<Shisan>& sonekiKeisan, std::vector<Shisan>& taisyakuTaisyou)
{
  builder.setSeizouGenkaShisanArray(seizouGenka, j);
  const Shisan* seizouLink = takeLinkRow(seizouGenka, ToukiSeihinSeizouGenkaRowCode);
  if (builder.kaisya().isHoujin())
    builder.setSonekiKeisanShisanArray(sonekiKeisan, j, seizouLink);
  else
    builder.setKojinSonekiKeisanShisanArray(sonekiKeisan, j, seizouLink);
  const Shisan* soneki = nullptr;
  const Shisan* misyobun = nullptr;
  for (Shisan& r : sonekiKeisan) {
    if (!soneki && r.kamokuCode() == ToukiSonekiRowCode) {
      r.setKamokuCode(ShisanTotalRowCode);
      soneki = &r;
    } else if (!misyobun && r.kamokuCode() == ToukiMisyobunSonekiRowCode) {
      r.setKamokuCode(ShisanTotalRowCode);
      misyobun = &r;
    }
    if (soneki && misyobun) break;
  }
  builder.setTaisyakuTaisyouShisanArray(taisyakuTaisyou, j, soneki, misyobun);
}

bool ZandakaShisanAssembly::update(KeptSums& kept, const ZandakaShisanPeriodSums::Period& period) const
{
  if (kept.isCurrent(period, document_)) return false;
  kept.sums = ZandakaShisanPeriodSums::post(document_, period);
  kept.period = period;
  kept.generation = document_.reportDataGeneration();
  kept.valid = true;
  return true;
}

bool ZandakaShisanAssembly::setZandakaShisanArrayForJigyoubuCode(int32_t j, int32_t periodFrom, int32_t periodTo,
                                                                 bool kamokuDoNotShowIfNoTorihiki)
{
  const ZandakaShisanPeriodSums::Period period =
      ZandakaShisanPeriodSums::periodOfMonthIndexes(document_.kaisya(), periodFrom, periodTo);
  const bool walked = update(display_, period);
  const ZandakaShisan builder(document_, display_.sums, kamokuDoNotShowIfNoTorihiki);
  buildSections(builder, j, seizouGenka_, sonekiKeisan_, taisyakuTaisyou_);
  return walked;
}

std::string ZandakaShisanAssembly::cellText(const Kaisya& kaisya, const Shisan& row, std::string_view column)
{
  if (column == "title") return row.title();
  if (row.isHeadingRow()) return std::string();
  int64_t amount;
  if (column == "kaishiZandaka")
    amount = row.kaishiZandaka();
  else if (column == "karikataGoukei")
    amount = row.karikataGoukei();
  else if (column == "kashikataGoukei")
    amount = row.kashikataGoukei();
  else if (column == "syuuryouZandaka")
    amount = row.syuuryouZandaka();
  else if (column == "percent") {
    if (!row.isValidPercent()) return "--";
    char text[64];
    std::snprintf(text, sizeof text, "%0.2f", row.percent());
    return text;
  } else
    return std::string();
  return kaisya.outputStringOfMemoryKingaku(amount);
}

}  // namespace kivo
