#include "fields/HojyoKamokuFormatter.h"

#include "fields/CodeMatcher.h"
#include "fields/FieldText.h"

namespace kivo {

HojyoKamokuFormatter::HojyoKamokuFormatter(const MyDocument& document) : document_(&document) {}

void HojyoKamokuFormatter::setParentKamokuFromKamokuCode(std::optional<int32_t> kamokuCode)
{
  parentKamoku_ = nullptr;
  if (!kamokuCode) return;
  KamokuPtr k = document_->kamokuOfCode(*kamokuCode);
  if (k && k->isActive() && k->activeHojyoKamokuNum() > 0) parentKamoku_ = std::move(k);
}

std::optional<std::string> HojyoKamokuFormatter::stringForObjectValue(const FieldValue& value) const
{
  if (value.isText()) return value.textValue();
  if (!value.isCode() || !parentKamoku_) return std::nullopt;
  if (HojyoKamokuPtr h = parentKamoku_->hojyoKamokuOfCode(value.codeValue())) return h->name();
  return std::nullopt;
}

bool HojyoKamokuFormatter::getObjectValue(FieldValue& value, const std::string& typed, std::string* errorDescription)
{
  const std::string text = FieldText::normalizedInput(typed);
  if (text.empty()) {
    value = FieldValue::text("");
    return true;
  }
  if (parentKamoku_) {
    std::vector<CodeMatcher::Candidate> candidates;
    for (const HojyoKamokuPtr& h : parentKamoku_->hojyoKamokuArray())
      if (h->isActive()) candidates.push_back({h->code(), h->codeString(), h->name(), h->kana()});
    if (CodeMatcher::matchFieldValue(candidates, text, typed, value)) return true;
  }
  if (errorDescription) *errorDescription = kNoMatchMessage;
  return false;
}

}  // namespace kivo
