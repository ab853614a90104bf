#include "trial/ZandakaShisanAssembly.h"

#include <cstdio>

#include "document/MyDocument.h"
#include "trial/ZandakaShisan.h"
#include "trial/ZandakaShisanPeriodSums.h"

namespace kivo {
namespace {

// Swaps the display and the print sums of every account for the life of a scope,
// so the builder, which reads the display sums, reads the print sums.
class ExchangedSums {
public:
  explicit ExchangedSums(const MyDocument& document) : document_(document) { exchange(); }
  ~ExchangedSums() { exchange(); }
  ExchangedSums(const ExchangedSums&) = delete;
  ExchangedSums& operator=(const ExchangedSums&) = delete;

private:
  void exchange()
  {
    for (const KamokuPtr& k : document_.codeSortedKamokuArray())
      k->exchangeDisplayZandakaShisanArraysWithPrintZandakaShisanArrays();
  }
  const MyDocument& document_;
};

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

ZandakaShisanAssembly::ZandakaShisanAssembly(MyDocument& document)
    : document_(document), printFromDate_(Date::regularTypeDenpyouDate()), printToDate_(Date::regularTypeDenpyouDate())
{
}

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

bool ZandakaShisanAssembly::isDisplaySetCurrent(Date startDate, Date endDate) const
{
  return document_.didSortedShiwakeArrayUpdate() && hasDisplayGeneration_ &&
         displayGeneration_ == document_.reportDataGeneration() && startDate == document_.zandakaShisanFromDate() &&
         endDate == document_.zandakaShisanToDate();
}

bool ZandakaShisanAssembly::setZandakaShisanArrayForJigyoubuCode(int32_t j, int32_t periodFrom, int32_t periodTo,
                                                                 bool kamokuDoNotShowIfNoTorihiki)
{
  const ZandakaShisanPeriodSums::Period period =
      ZandakaShisanPeriodSums::periodOfMonthIndexes(document_.kaisya(), periodFrom, periodTo);
  bool walked = false;
  if (!isDisplaySetCurrent(period.startDate, period.endDate)) {
    document_.setZandakaShisanFromDate(Date::regularTypeDenpyouDate());
    ZandakaShisanPeriodSums::postShiwakeArray(document_, period, false);
    document_.setZandakaShisanFromDate(period.startDate);
    document_.setZandakaShisanToDate(period.endDate);
    displayGeneration_ = document_.reportDataGeneration();
    hasDisplayGeneration_ = true;
    walked = true;
  }
  const ZandakaShisan builder(document_, kamokuDoNotShowIfNoTorihiki);
  buildSections(builder, j, seizouGenka_, sonekiKeisan_, taisyakuTaisyou_);
  return walked;
}

bool ZandakaShisanAssembly::setPrintZandakaShisanArrayForJigyoubuCode(int32_t j, int32_t periodFrom, int32_t periodTo,
                                                                      bool kamokuDoNotShowIfNoTorihiki)
{
  const ZandakaShisanPeriodSums::Period period =
      ZandakaShisanPeriodSums::periodOfMonthIndexes(document_.kaisya(), periodFrom, periodTo);
  if (!document_.didSortedShiwakeArrayUpdate() || printGeneration_ != document_.reportDataGeneration())
    printFromDate_ = Date::regularTypeDenpyouDate();
  const ZandakaShisan builder(document_, kamokuDoNotShowIfNoTorihiki);
  // The shown period's sums serve the printout as they are.
  if (isDisplaySetCurrent(period.startDate, period.endDate)) {
    buildSections(builder, j, printSeizouGenka_, printSonekiKeisan_, printTaisyakuTaisyou_);
    return false;
  }
  bool walked = false;
  if (period.startDate != printFromDate_ || period.endDate != printToDate_) {
    ZandakaShisanPeriodSums::postShiwakeArray(document_, period, true);
    printFromDate_ = period.startDate;
    printToDate_ = period.endDate;
    printGeneration_ = document_.reportDataGeneration();
    walked = true;
  }
  const ExchangedSums exchanged(document_);
  buildSections(builder, j, printSeizouGenka_, printSonekiKeisan_, printTaisyakuTaisyou_);
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
