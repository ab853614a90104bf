// How typed text finds one record among the accounts, sub-accounts or divisions a
// field offers. In order: digits name a code (the exact number first, then the first
// code whose text begins with the digits); then a record's exact name; then its kana
// key, compared without case: an equal kana or a single kana beginning with the text
// resolves, several kana beginning with it leave the choice to the picker.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fields/FieldValue.h"

namespace kivo {

class CodeMatcher {
public:
  struct Candidate {
    int32_t code = -1;
    std::string codeText;  // as the record shows its code ("100", "01")
    std::string name;
    std::string kana;
  };
  enum class Outcome { Resolved, Ambiguous, NotFound };
  struct Result {
    Outcome outcome = Outcome::NotFound;
    int32_t code = -1;  // the record found when Resolved
  };

  // `text` is already normalized (half-width, trimmed) and not empty.
  static Result match(const std::vector<Candidate>& candidates, const std::string& text);
  // A code field's reading of the text: the code found, or the text as typed when
  // several records match (the picker chooses among them); false when none does.
  static bool matchFieldValue(const std::vector<Candidate>& candidates, const std::string& text,
                              const std::string& typed, FieldValue& value);
};

}  // namespace kivo
