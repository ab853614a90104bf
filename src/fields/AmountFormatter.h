// An amount field or cell at the company's precision (0, 1 or 2 decimals), shown as
// Kaisya::displayStringOfMemoryKingaku shows it ("1,234", "1,234.5", "1,234.56").
// Typed decimal text is read straight into stored units, never through a double: at
// precision 2 "1.15" is 115. An input field refuses a minus sign, more decimals than
// the precision and anything above the input limit; an unlimited one (balances) shows
// and reads any signed amount.
#pragma once

#include <cstdint>
#include <optional>

#include "fields/Formatter.h"
#include "model/Kaisya.h"

namespace kivo {

class AmountFormatter : public Formatter {
public:
  enum class Range { Input, Unlimited };

  static constexpr const char* kInvalidMessage = "無効な金額です。";
  static constexpr const char* kNegativeMessage = "マイナスの金額は入力できません。";
  static constexpr const char* kOverLimitMessage = "入力できる金額の上限を超えています。";

  explicit AmountFormatter(int32_t decimalPrecision, Range range = Range::Input);

  int32_t decimalPrecision() const { return kaisya_.decimalPrecision(); }
  Range range() const { return range_; }

  // An amount as the company shows it; text as it is.
  std::optional<std::string> stringForObjectValue(const FieldValue& value) const override;
  // Empty text gives empty text; a readable amount its stored units.
  bool getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription) override;
  // Digits, grouping commas and one decimal point, no more decimals than the
  // precision; an input field takes no sign and no more whole digits than its limit
  // has.
  bool isPartialStringValid(const std::string& partialString) const override;

private:
  Kaisya kaisya_;  // carries the precision for the exact conversions
  Range range_;
};

}  // namespace kivo
