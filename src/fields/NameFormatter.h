// A name field: any text up to a number of characters, with or without spaces.
#pragma once

#include <optional>

#include "fields/Formatter.h"

namespace kivo {

class NameFormatter : public Formatter {
public:
  static constexpr const char* kSpaceMessage = "空白は入力できません。";

  NameFormatter(int maxValidNameLength, bool doesAcceptSpace);

  int maxValidNameLength() const { return maxValidNameLength_; }
  bool doesAcceptSpace() const { return doesAcceptSpace_; }

  std::optional<std::string> stringForObjectValue(const FieldValue& value) const override;
  // The text as typed when it has at most maxValidNameLength characters and, unless
  // spaces are accepted, no ASCII or ideographic space.
  bool getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription) override;
  bool isPartialStringValid(const std::string& partialString) const override;

private:
  bool isValid(const std::string& text, std::string* errorDescription) const;

  int maxValidNameLength_;
  bool doesAcceptSpace_;
};

}  // namespace kivo
