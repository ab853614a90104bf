#include "fields/JigyoubuFormatter.h"

#include "fields/CodeMatcher.h"
#include "fields/FieldText.h"

namespace kivo {

JigyoubuFormatter::JigyoubuFormatter(const MyDocument& document, bool doAcceptAllJigyoubu)
    : document_(&document), doAcceptAllJigyoubu_(doAcceptAllJigyoubu)
{
}

std::optional<std::string> JigyoubuFormatter::stringForObjectValue(const FieldValue& value) const
{
  if (value.isText()) return value.textValue();
  if (!value.isCode()) return std::nullopt;
  const int32_t code = value.codeValue();
  if (code == Jigyoubu::kAllJigyoubuCode) return std::string(kAllJigyoubuName);
  for (const JigyoubuPtr& j : document_->jigyoubuArray())
    if (j->code() == code && !j->name().empty()) return j->name();
  return std::nullopt;
}

bool JigyoubuFormatter::getObjectValue(FieldValue& value, const std::string& typed, std::string* errorDescription)
{
  const std::string text = FieldText::normalizedInput(typed);
  if (text.empty()) {
    value = FieldValue::text("");
    return true;
  }
  std::vector<CodeMatcher::Candidate> candidates;
  for (const JigyoubuPtr& j : document_->jigyoubuArray())
    if (j->isActive() && j->code() != Jigyoubu::kAllJigyoubuCode)
      candidates.push_back({j->code(), j->codeString(), j->name(), j->kana()});
  if (doAcceptAllJigyoubu_) candidates.push_back({Jigyoubu::kAllJigyoubuCode, "99", kAllJigyoubuName, ""});
  if (CodeMatcher::matchFieldValue(candidates, text, typed, value)) return true;
  if (errorDescription) *errorDescription = kNoMatchMessage;
  return false;
}

}  // namespace kivo
