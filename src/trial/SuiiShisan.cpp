#include "trial/SuiiShisan.h"

#include <charconv>

#include "document/MyDocument.h"
#include "model/Kaisya.h"
#include "trial/ShisanTextFields.h"
#include "trial/SuiiShisanBuilder.h"
#include "trial/SuiiShisanKojinSonekiKeisanSection.h"
#include "trial/SuiiShisanSeizouGenkaSection.h"
#include "trial/SuiiShisanSonekiKeisanSection.h"
#include "trial/SuiiShisanTaisyakuTaisyouSection.h"

namespace kivo {

SuiiShisan::SuiiShisan(MyDocument& document) : document_(document) {}

bool SuiiShisan::areSumsCurrent() const
{
  return sums_ && sumsGeneration_ == document_.reportDataGeneration() &&
         sumsMonthCount_ == document_.kaisya().monthArray().size() &&
         sumsTermStart_ == document_.kaisya().termStartDate();
}

bool SuiiShisan::setSuiiShisanArryForJigyoubuCode(int32_t j, bool addKaishiZandakaToGoukei)
{
  bool posted = false;
  if (!areSumsCurrent()) {
    sums_ = std::make_unique<SuiiShisanMonthlySums>(SuiiShisanMonthlySums::postShiwakeArray(document_));
    sumsGeneration_ = document_.reportDataGeneration();
    sumsMonthCount_ = document_.kaisya().monthArray().size();
    sumsTermStart_ = document_.kaisya().termStartDate();
    posted = true;
  }
  sections_ = buildSections(document_, *sums_, j, addKaishiZandakaToGoukei);
  return posted;
}

SuiiShisan::Sections SuiiShisan::buildSections(const MyDocument& document, const SuiiShisanMonthlySums& sums, int32_t j,
                                               bool addKaishiZandakaToGoukei)
{
  const SuiiShisanBuilder builder(document, sums, addKaishiZandakaToGoukei);
  Sections out;
  SuiiShisanBuilder::TwinRows seizou = SuiiShisanSeizouGenkaSection::build(builder, j);
  const Shisan* seizouMovement = nullptr;
  const Shisan* seizouClosing = nullptr;
  for (size_t i = 0; i < seizou.movement.size(); ++i) {
    if (seizou.movement[i].kamokuCode() == ToukiSeihinSeizouGenkaRowCode) {
      seizou.movement[i].setKamokuCode(ShisanTotalRowCode);
      seizouMovement = &seizou.movement[i];
      seizouClosing = i < seizou.closing.size() ? &seizou.closing[i] : nullptr;
      break;
    }
  }
  SuiiShisanBuilder::TwinRows soneki =
      document.kaisya().isHoujin()
          ? SuiiShisanSonekiKeisanSection::build(builder, j, seizouMovement, seizouClosing)
          : SuiiShisanKojinSonekiKeisanSection::build(builder, j, seizouMovement, seizouClosing);
  const Shisan* toukiSoneki = nullptr;
  const Shisan* toukiMisyobun = nullptr;
  for (const Shisan& r : soneki.closing) {
    if (!toukiSoneki && r.kamokuCode() == ToukiSonekiRowCode)
      toukiSoneki = &r;
    else if (!toukiMisyobun && r.kamokuCode() == ToukiMisyobunSonekiRowCode)
      toukiMisyobun = &r;
    if (toukiSoneki && toukiMisyobun) break;
  }
  out.taisyakuTaisyou = SuiiShisanTaisyakuTaisyouSection::build(builder, j, toukiSoneki, toukiMisyobun);
  out.sonekiKeisan = std::move(soneki.movement);
  out.seizouGenka = std::move(seizou.movement);
  return out;
}

std::string SuiiShisan::amountText(const Kaisya& kaisya, int64_t amount)
{
  return kaisya.outputStringOfMemoryKingaku(amount);
}

std::string SuiiShisan::cellText(const Kaisya& kaisya, const Shisan& row, std::string_view column,
                                 bool isTaisyakuTaisyou)
{
  if (column == "title") return row.title();
  if (row.isHeadingRow()) return std::string();
  const std::vector<int64_t>& amounts = row.monthlyAmountArray();
  const int64_t count = static_cast<int64_t>(amounts.size());
  int64_t index = -1;
  if (column.starts_with("month")) {
    int32_t month = -1;
    const std::string_view digits = column.substr(5);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), month);
    if (ec != std::errc() || end != digits.data() + digits.size() || month < 0) return std::string();
    index = month + (isTaisyakuTaisyou ? 1 : 0);
  } else if (column == "kessanSeiriduki") {
    index = isTaisyakuTaisyou ? count - 1 : count - 2;
  } else if (column == "kaishiZandaka") {
    index = 0;
  } else if (column == "goukei") {
    index = count - 1;
  }
  if (index < 0 || index >= count) return std::string();
  return amountText(kaisya, amounts[static_cast<size_t>(index)]);
}

std::string SuiiShisan::columnTitle(const Kaisya& kaisya, int32_t k, bool isTaisyakuTaisyou)
{
  const std::vector<Month>& months = kaisya.monthArray();
  const int32_t n = static_cast<int32_t>(months.size());
  const int32_t month = isTaisyakuTaisyou ? k - 1 : k;
  if (isTaisyakuTaisyou && k == 0) return "開始残高";
  if (!isTaisyakuTaisyou && k == n + 1) return "合計";
  if (month == n) return "決算整理月";
  if (month >= 0 && month < n) return months[static_cast<size_t>(month)].name();
  return std::string();
}

std::vector<std::vector<std::string>> SuiiShisan::textLines(const ShisanTextFields& textFields,
                                                            const std::vector<Shisan>& rows, int32_t numberOfMonth)
{
  std::vector<std::vector<std::string>> lines;
  lines.reserve(rows.size());
  const size_t columns = static_cast<size_t>(numberOfMonth) + 2;
  for (const Shisan& row : rows) {
    std::vector<std::string> fields;
    fields.reserve(columns + 1);
    fields.push_back(row.title());
    // A heading row has no amounts: its caption and empty fields.
    for (size_t k = 0; k < columns; ++k)
      fields.push_back(k < row.monthlyAmountArray().size() ? textFields.amountField(row, row.monthlyAmountArray()[k])
                                                           : std::string());
    lines.push_back(std::move(fields));
  }
  return lines;
}

}  // namespace kivo
