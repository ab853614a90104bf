// The fields of trial-balance rows as a report text file holds them (UTF-8; the
// exporter encodes and writes them): amounts without grouping in the company's
// decimals, percents with two decimals, nothing for a heading row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kivo {

class Kaisya;
class Shisan;

class ShisanTextFields {
public:
  explicit ShisanTextFields(const Kaisya& kaisya) : kaisya_(kaisya) {}

  // An amount: empty for a heading row; "#Precision!" beyond the output limit;
  // else the amount without grouping, with the company's decimals.
  std::string amountField(const Shisan& row, int64_t amount) const;
  // The percent with two decimals; empty for a heading row or an invalid percent.
  std::string percentField(const Shisan& row) const;
  // The trial balance's six fields: title, opening, debit, credit, closing, percent.
  std::vector<std::string> zandakaShisanFields(const Shisan& row) const;
  std::vector<std::vector<std::string>> zandakaShisanLines(const std::vector<Shisan>& rows) const;

private:
  const Kaisya& kaisya_;
};

}  // namespace kivo
