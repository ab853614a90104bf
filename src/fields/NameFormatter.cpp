#include "fields/NameFormatter.h"

#include "fields/FieldText.h"

namespace kivo {

NameFormatter::NameFormatter(int maxValidNameLength, bool doesAcceptSpace)
    : maxValidNameLength_(maxValidNameLength), doesAcceptSpace_(doesAcceptSpace)
{
}

std::optional<std::string> NameFormatter::stringForObjectValue(const FieldValue& value) const
{
  if (value.isText()) return value.textValue();
  return std::nullopt;
}

bool NameFormatter::isValid(const std::string& text, std::string* errorDescription) const
{
  if (FieldText::characterCount(text) > static_cast<size_t>(maxValidNameLength_)) {
    if (errorDescription) *errorDescription = std::to_string(maxValidNameLength_) + "文字以内で入力してください。";
    return false;
  }
  if (!doesAcceptSpace_ && FieldText::containsSpace(text)) {
    if (errorDescription) *errorDescription = kSpaceMessage;
    return false;
  }
  return true;
}

bool NameFormatter::getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription)
{
  if (!isValid(text, errorDescription)) return false;
  value = FieldValue::text(text);
  return true;
}

bool NameFormatter::isPartialStringValid(const std::string& partial) const { return isValid(partial, nullptr); }

}  // namespace kivo
