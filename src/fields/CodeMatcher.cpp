#include "fields/CodeMatcher.h"

#include "fields/FieldText.h"

namespace kivo {

CodeMatcher::Result CodeMatcher::match(const std::vector<Candidate>& candidates, const std::string& text)
{
  if (FieldText::isAsciiDigits(text) && text.size() <= 9) {
    const int32_t number = std::stoi(text);
    for (const Candidate& c : candidates)
      if (c.code == number) return {Outcome::Resolved, c.code};
    for (const Candidate& c : candidates)
      if (c.codeText.compare(0, text.size(), text) == 0) return {Outcome::Resolved, c.code};
  }
  for (const Candidate& c : candidates)
    if (!c.name.empty() && c.name == text) return {Outcome::Resolved, c.code};
  if (!FieldText::isAsciiAlnum(text)) return {};
  const Candidate* first = nullptr;
  int prefixMatches = 0;
  for (const Candidate& c : candidates) {
    if (c.kana.empty()) continue;
    if (FieldText::equalsIgnoringCase(c.kana, text)) return {Outcome::Resolved, c.code};
    if (FieldText::startsWithIgnoringCase(c.kana, text)) {
      if (!first) first = &c;
      ++prefixMatches;
    }
  }
  if (prefixMatches == 1) return {Outcome::Resolved, first->code};
  if (prefixMatches > 1) return {Outcome::Ambiguous, -1};
  return {};
}

bool CodeMatcher::matchFieldValue(const std::vector<Candidate>& candidates, const std::string& text,
                                  const std::string& typed, FieldValue& value)
{
  const Result r = match(candidates, text);
  if (r.outcome == Outcome::Resolved)
    value = FieldValue::code(r.code);
  else if (r.outcome == Outcome::Ambiguous)
    value = FieldValue::text(typed);
  return r.outcome != Outcome::NotFound;
}

}  // namespace kivo
