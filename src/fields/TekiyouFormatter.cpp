#include "fields/TekiyouFormatter.h"

#include <algorithm>

#include "fields/FieldText.h"

namespace kivo {

TekiyouFormatter::TekiyouFormatter(const MyDocument& document) : document_(&document) {}

void TekiyouFormatter::setPrimeGroupNameToSearchFromFirstKamokuCode(std::optional<int32_t> first,
                                                                    std::optional<int32_t> second)
{
  auto nameOf = [&](std::optional<int32_t> code) -> std::string {
    if (!code) return {};
    KamokuPtr k = document_->kamokuOfCode(*code);
    return k ? k->name() : std::string();
  };
  firstPrimeGroupName_ = nameOf(first);
  secondPrimeGroupName_ = nameOf(second);
}

std::vector<TekiyouGroupPtr> TekiyouFormatter::searchOrderedTekiyouGroupArray() const
{
  const std::vector<TekiyouGroupPtr>& all = document_->tekiyouGroupArray();
  std::vector<TekiyouGroupPtr> ordered;
  ordered.reserve(all.size());
  for (const std::string* prime : {&firstPrimeGroupName_, &secondPrimeGroupName_}) {
    if (prime->empty()) continue;
    for (const TekiyouGroupPtr& g : all)
      if (g->name() == *prime && std::find(ordered.begin(), ordered.end(), g) == ordered.end()) ordered.push_back(g);
  }
  for (const TekiyouGroupPtr& g : all)
    if (std::find(ordered.begin(), ordered.end(), g) == ordered.end()) ordered.push_back(g);
  return ordered;
}

std::optional<std::string> TekiyouFormatter::stringForObjectValue(const FieldValue& value) const
{
  if (value.isText()) return value.textValue();
  return std::nullopt;
}

bool TekiyouFormatter::getObjectValue(FieldValue& value, const std::string& text, std::string*)
{
  value = FieldValue::text(text);
  return true;
}

}  // namespace kivo
