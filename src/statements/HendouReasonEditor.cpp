#include "statements/HendouReasonEditor.h"

#include <algorithm>
#include <unordered_map>

#include "document/MyDocument.h"

namespace kivo {

bool HendouReasonEditor::isFixedReason(const std::string& name)
{
  return name == MyDocument::kNoReason || name == MyDocument::kTouki || name == MyDocument::kKabunushiShihonIgai;
}

const std::string& HendouReasonEditor::titleOfReason(const std::string& name)
{
  static const std::string noReasonTitle = kNoReasonTitle;
  return name == MyDocument::kNoReason ? noReasonTitle : name;
}

HendouReasonPtr HendouReasonEditor::reasonNamed(const std::string& name) const
{
  for (const HendouReasonPtr& r : document_.hendouReasonArray())
    if (r->reasonString() == name) return r;
  return nullptr;
}

HendouReasonPtr HendouReasonEditor::reasonOfShiwake(const Shiwake* shiwake) const
{
  for (const HendouReasonPtr& r : document_.hendouReasonArray())
    for (const ShiwakePtr& s : r->shiwakeArray())
      if (s.get() == shiwake) return r;
  return nullptr;
}

bool HendouReasonEditor::noReasonHoldsShiwake() const
{
  const HendouReasonPtr none = reasonNamed(MyDocument::kNoReason);
  return none && !none->shiwakeArray().empty();
}

bool HendouReasonEditor::canRename(const HendouReason& reason, const std::string& name) const
{
  if (name.empty() || name == kNoReasonTitle || isFixedReason(reason.reasonString())) return false;
  for (const HendouReasonPtr& r : document_.hendouReasonArray())
    if (r.get() != &reason && r->reasonString() == name) return false;
  return true;
}

bool HendouReasonEditor::rename(const HendouReasonPtr& reason, const std::string& name)
{
  if (!reason || !canRename(*reason, name)) return false;
  if (reason->reasonString() == name) return true;
  reason->setReasonString(name);
  for (const ShiwakePtr& s : reason->shiwakeArray()) s->setHendouReasonStr(name);
  changed();
  return true;
}

HendouReasonPtr HendouReasonEditor::addReason()
{
  std::string name = kNewReason;
  for (int n = 2; reasonNamed(name); ++n) name = std::string(kNewReason) + " " + std::to_string(n);
  auto reason = std::make_shared<HendouReason>(name);
  document_.hendouReasonArray().push_back(reason);
  changed();
  return reason;
}

HendouReasonPtr HendouReasonEditor::addReasonFromShiwake(const ShiwakePtr& shiwake)
{
  if (!shiwake || shiwake->tekiyou().empty()) return nullptr;
  const std::string& current = shiwake->hendouReasonStr();
  if (!current.empty() && current != MyDocument::kNoReason) return nullptr;
  const std::string title = shiwake->tekiyou();
  if (title == MyDocument::kTouki || title == kNoReasonTitle) return nullptr;
  HendouReasonPtr reason = reasonNamed(title);
  if (!reason) {
    reason = std::make_shared<HendouReason>(title);
    document_.hendouReasonArray().push_back(reason);
  }
  takeOut(shiwake.get());
  insertInJournalOrder(*reason, shiwake);
  shiwake->setHendouReasonStr(title);
  changed();
  return reason;
}

bool HendouReasonEditor::removeReason(const HendouReasonPtr& reason)
{
  auto& reasons = document_.hendouReasonArray();
  const auto at = std::find(reasons.begin(), reasons.end(), reason);
  const HendouReasonPtr none = reasonNamed(MyDocument::kNoReason);
  if (at == reasons.end() || isFixedReason(reason->reasonString()) || !none) return false;
  for (const ShiwakePtr& s : reason->shiwakeArray()) {
    insertInJournalOrder(*none, s);
    s->setHendouReasonStr(MyDocument::kNoReason);
  }
  reason->shiwakeArray().clear();
  reasons.erase(at);
  changed();
  return true;
}

bool HendouReasonEditor::moveReason(const HendouReasonPtr& reason, int childIndex)
{
  auto& reasons = document_.hendouReasonArray();
  const auto at = std::find(reasons.begin(), reasons.end(), reason);
  if (at == reasons.end() || childIndex < 1 || reason->reasonString() == MyDocument::kNoReason) return false;
  int index = std::min(childIndex, static_cast<int>(reasons.size()));
  if (at - reasons.begin() < index) --index;
  reasons.erase(at);
  reasons.insert(reasons.begin() + index, reason);
  changed();
  return true;
}

bool HendouReasonEditor::moveShiwake(const ShiwakePtr& shiwake, const HendouReasonPtr& target)
{
  if (!shiwake || !target || target->reasonString() == MyDocument::kTouki) return false;
  const auto& list = target->shiwakeArray();
  if (std::find(list.begin(), list.end(), shiwake) != list.end()) return false;
  takeOut(shiwake.get());
  insertInJournalOrder(*target, shiwake);
  shiwake->setHendouReasonStr(target->reasonString());
  changed();
  return true;
}

void HendouReasonEditor::takeOut(const Shiwake* shiwake)
{
  if (const HendouReasonPtr from = reasonOfShiwake(shiwake)) {
    auto& list = from->shiwakeArray();
    list.erase(std::remove_if(list.begin(), list.end(), [&](const ShiwakePtr& s) { return s.get() == shiwake; }),
               list.end());
  }
}

void HendouReasonEditor::insertInJournalOrder(HendouReason& reason, const ShiwakePtr& shiwake)
{
  const auto& sorted = document_.journal().sortedByDate();
  std::unordered_map<const Shiwake*, size_t> order;
  for (size_t i = 0; i < sorted.size(); ++i) order.emplace(sorted[i].get(), i);
  const auto rank = [&](const ShiwakePtr& s) {
    const auto it = order.find(s.get());
    return it == order.end() ? sorted.size() : it->second;
  };
  auto& list = reason.shiwakeArray();
  const size_t mine = rank(shiwake);
  const auto later = std::find_if(list.begin(), list.end(), [&](const ShiwakePtr& s) { return rank(s) > mine; });
  list.insert(later, shiwake);
}

void HendouReasonEditor::changed() { document_.updateChangeCount(MyDocument::ChangeType::Done); }

}  // namespace kivo
