#include "fields/AmountFormatter.h"

#include "fields/FieldText.h"

namespace kivo {
namespace {

// Whole-part digits of the largest input amount at each precision
// (99,999,999,999 stored units).
int maxInputWholeDigits(int32_t precision) { return 11 - precision; }

// Whether the text is written as an amount: a sign, digits with grouping commas, a
// decimal point and its digits. Such a text that cannot be read is too large to be
// held, however many digits it has.
bool isWrittenAsAmount(const std::string& text)
{
  size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  bool digit = false, point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9')
      digit = true;
    else if (c == '.' && !point)
      point = true;
    else if (c != ',' || point)
      return false;
  }
  return digit;
}

}  // namespace

AmountFormatter::AmountFormatter(int32_t decimalPrecision, Range range) : range_(range)
{
  kaisya_.setDecimalPrecision(decimalPrecision);
}

std::optional<std::string> AmountFormatter::stringForObjectValue(const FieldValue& value) const
{
  if (value.isAmount()) return kaisya_.displayStringOfMemoryKingaku(value.amountValue());
  if (value.isText()) return value.textValue();
  return std::nullopt;
}

bool AmountFormatter::getObjectValue(FieldValue& value, const std::string& typed, std::string* errorDescription)
{
  const std::string text = FieldText::normalizedInput(typed);
  if (text.empty()) {
    value = FieldValue::text("");
    return true;
  }
  auto fail = [&](const std::string& message) {
    if (errorDescription) *errorDescription = message;
    return false;
  };
  if (range_ == Range::Input && text.find('-') != std::string::npos) return fail(kNegativeMessage);
  const size_t point = text.find('.');
  if (point != std::string::npos) {
    const size_t decimals = text.size() - point - 1;
    if (decimals > static_cast<size_t>(decimalPrecision())) {
      return fail(decimalPrecision() == 0 ? std::string("小数点以下は入力できません。")
                                          : "小数点以下は" + std::to_string(decimalPrecision()) + "桁までです。");
    }
  }
  const std::optional<int64_t> units = kaisya_.memoryKingakuOfDisplayString(text);
  if (!units) return fail(isWrittenAsAmount(text) ? kOverLimitMessage : kInvalidMessage);
  if (range_ == Range::Input && *units > Kaisya::kMaxInputAmountValue) return fail(kOverLimitMessage);
  value = FieldValue::amount(*units);
  return true;
}

bool AmountFormatter::isPartialStringValid(const std::string& partial) const
{
  const std::string text = FieldText::halfWidth(partial);
  size_t i = 0;
  if (range_ == Range::Unlimited && !text.empty() && text[0] == '-') i = 1;
  int whole = 0, decimals = 0;
  bool inFraction = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ',' && !inFraction) continue;
    if (c == '.') {
      if (inFraction || decimalPrecision() == 0) return false;
      inFraction = true;
      continue;
    }
    if (c < '0' || c > '9') return false;
    if (inFraction) {
      if (++decimals > decimalPrecision()) return false;
    } else {
      ++whole;
    }
  }
  if (range_ == Range::Input && whole > maxInputWholeDigits(decimalPrecision())) return false;
  return true;
}

}  // namespace kivo
