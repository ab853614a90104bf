#include "fields/KamokuFormatter.h"

#include "fields/CodeMatcher.h"
#include "fields/FieldText.h"

namespace kivo {

KamokuFormatter::KamokuFormatter(const MyDocument& document, bool doAcceptSyokuchi)
    : document_(&document), doAcceptSyokuchi_(doAcceptSyokuchi)
{
}

const std::vector<KamokuPtr>& KamokuFormatter::codeSortedAcceptKamokuArray() const
{
  return document_->codeSortedActiveKamokuArray();
}

std::optional<std::string> KamokuFormatter::stringForObjectValue(const FieldValue& value) const
{
  if (value.isText()) return value.textValue();
  if (!value.isCode()) return std::nullopt;
  const int32_t code = value.codeValue();
  if (code == Kamoku::kSyokuchiCode) {
    if (doAcceptSyokuchi_) return std::string(kSyokuchiName);
    return std::nullopt;
  }
  if (KamokuPtr k = document_->kamokuOfCode(code)) return k->name();
  return std::nullopt;
}

bool KamokuFormatter::getObjectValue(FieldValue& value, const std::string& typed, std::string* errorDescription)
{
  const std::string text = FieldText::normalizedInput(typed);
  if (text.empty()) {
    value = FieldValue::text("");
    inputedHojyoKamokuCode_ = -1;
    return true;
  }
  const std::vector<KamokuPtr>& accounts = codeSortedAcceptKamokuArray();

  // An account code followed by a two-digit sub-account code.
  if (FieldText::isAsciiDigits(text) && (text.size() == 4 || text.size() == 5)) {
    const int32_t kamokuCode = std::stoi(text.substr(0, text.size() - 2));
    const int32_t hojyoCode = std::stoi(text.substr(text.size() - 2));
    for (const KamokuPtr& k : accounts) {
      if (k->code() != kamokuCode) continue;
      HojyoKamokuPtr h = k->hojyoKamokuOfCode(hojyoCode);
      if (!h || !h->isActive()) break;
      value = FieldValue::code(kamokuCode);
      inputedHojyoKamokuCode_ = hojyoCode;
      return true;
    }
    if (errorDescription) *errorDescription = kNoMatchMessage;
    return false;
  }

  std::vector<CodeMatcher::Candidate> candidates;
  candidates.reserve(accounts.size() + 1);
  for (const KamokuPtr& k : accounts)
    candidates.push_back({k->code(), std::to_string(k->code()), k->name(), k->kana()});
  if (doAcceptSyokuchi_) candidates.push_back({Kamoku::kSyokuchiCode, "999", kSyokuchiName, ""});

  if (CodeMatcher::matchFieldValue(candidates, text, typed, value)) {
    inputedHojyoKamokuCode_ = -1;
    return true;
  }
  if (errorDescription) *errorDescription = kNoMatchMessage;
  return false;
}

}  // namespace kivo
