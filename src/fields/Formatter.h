// The contract of a field formatter: how a field shows its value, how typed text
// becomes a value, and which partial texts may stand in the field while typing.
// Plain C++ so that line edits, grid cells and table delegates share one rule set
// and the rules are tested without a display.
#pragma once

#include <optional>
#include <string>

#include "fields/FieldValue.h"

namespace kivo {

class Formatter {
public:
  virtual ~Formatter() = default;

  // The text shown for the value; nullopt when the formatter has none for it (the
  // field then shows nothing).
  virtual std::optional<std::string> stringForObjectValue(const FieldValue& value) const = 0;

  // Reads the whole typed text. True with the value in `value`; false when the text
  // is refused, with a sentence for the user in `errorDescription` when one is given.
  // `value` is left alone on failure.
  virtual bool getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription) = 0;

  // Whether the text may stand in the field while the user is still typing. A
  // keystroke that makes it false is refused.
  virtual bool isPartialStringValid(const std::string& partialString) const { return true; }
};

}  // namespace kivo
