#include "trial/ShisanTextFields.h"

#include <cstdio>

#include "model/Kaisya.h"
#include "trial/Shisan.h"

namespace kivo {

std::string ShisanTextFields::amountField(const Shisan& row, int64_t amount) const
{
  if (row.isHeadingRow()) return std::string();
  if (kaisya_.isOutputOverflow(amount)) return Kaisya::overFlowAmountValueString();
  return kaisya_.textFileStringOfMemoryKingaku(amount);
}

std::string ShisanTextFields::percentField(const Shisan& row) const
{
  if (row.isHeadingRow() || !row.isValidPercent()) return std::string();
  char text[64];
  std::snprintf(text, sizeof text, "%0.2f", row.percent());
  return text;
}

std::vector<std::string> ShisanTextFields::zandakaShisanFields(const Shisan& row) const
{
  return {row.title(),
          amountField(row, row.kaishiZandaka()),
          amountField(row, row.karikataGoukei()),
          amountField(row, row.kashikataGoukei()),
          amountField(row, row.syuuryouZandaka()),
          percentField(row)};
}

std::vector<std::vector<std::string>> ShisanTextFields::zandakaShisanLines(const std::vector<Shisan>& rows) const
{
  std::vector<std::vector<std::string>> lines;
  lines.reserve(rows.size());
  for (const Shisan& r : rows) lines.push_back(zandakaShisanFields(r));
  return lines;
}

}  // namespace kivo
