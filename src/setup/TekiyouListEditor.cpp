#include "setup/TekiyouListEditor.h"

#include <algorithm>
#include <map>

#include "document/MyDocument.h"
#include "fields/FieldText.h"
#include "setup/KamokuListEditor.h"
#include "setup/TermSettings.h"

namespace kivo {
namespace {

std::string quoted(const std::string& name) { return "「" + name + "」"; }

}  // namespace

TekiyouListEditor::TekiyouListEditor(const MyDocument& document) : document_(&document)
{
  for (const TekiyouGroupPtr& g : document.tekiyouGroupArray()) {
    Group copy;
    copy.name = g->name();
    copy.isOthersGroup = g->isOthersGroup();
    for (const TekiyouPtr& t : g->tekiyouArray()) copy.items.push_back({t->tekiyou(), t->kana()});
    groups_.push_back(std::move(copy));
  }
  // "その他" stands first, and there is always one.
  auto others = std::find_if(groups_.begin(), groups_.end(), [](const Group& g) { return g.isOthersGroup; });
  if (others == groups_.end()) {
    groups_.insert(groups_.begin(), Group{TekiyouGroup::kOthersGroupName, true, {}});
  } else if (others != groups_.begin()) {
    Group g = std::move(*others);
    groups_.erase(others);
    groups_.insert(groups_.begin(), std::move(g));
  }
}

int TekiyouListEditor::indexOfGroupNamed(const std::string& name) const
{
  for (int g = 0; g < groupCount(); ++g)
    if (groups_[g].name == name) return g;
  return -1;
}

std::vector<std::string> TekiyouListEditor::namesAvailableForNewGroup() const
{
  std::vector<std::string> names;
  for (const KamokuPtr& k : document_->codeSortedActiveKamokuArray())
    if (indexOfGroupNamed(k->name()) < 0) names.push_back(k->name());
  return names;
}

int TekiyouListEditor::addGroup(const std::string& kamokuName)
{
  const std::vector<std::string> available = namesAvailableForNewGroup();
  if (std::find(available.begin(), available.end(), kamokuName) == available.end()) return -1;
  groups_.push_back(Group{kamokuName, false, {}});
  return groupCount() - 1;
}

bool TekiyouListEditor::removeGroup(int g)
{
  if (g < 0 || g >= groupCount() || groups_[g].isOthersGroup) return false;
  std::vector<Item> items = std::move(groups_[g].items);
  groups_.erase(groups_.begin() + g);
  Group& others = groups_.front();
  others.items.insert(others.items.end(), items.begin(), items.end());
  return true;
}

int TekiyouListEditor::addTekiyou(int g, const std::string& tekiyou)
{
  Group& group = groups_.at(g);
  group.items.push_back({TermSettings::trimmedName(tekiyou), {}});
  return static_cast<int>(group.items.size()) - 1;
}

std::string TekiyouListEditor::setTekiyou(int g, int i, const std::string& tekiyou)
{
  groups_.at(g).items.at(i).tekiyou = TermSettings::trimmedName(tekiyou);
  return {};
}

std::string TekiyouListEditor::setKana(int g, int i, const std::string& kana)
{
  std::string stored;
  if (!KamokuListEditor::normalizeKana(kana, stored)) return KamokuListEditor::kKanaMessage;
  groups_.at(g).items.at(i).kana = stored;
  return {};
}

void TekiyouListEditor::removeTekiyou(int g, int i)
{
  std::vector<Item>& items = groups_.at(g).items;
  if (i >= 0 && i < static_cast<int>(items.size())) items.erase(items.begin() + i);
}

int TekiyouListEditor::moveTekiyou(int g, int i, int toGroup)
{
  if (g == toGroup) return i;
  std::vector<Item>& from = groups_.at(g).items;
  std::vector<Item>& to = groups_.at(toGroup).items;
  if (i < 0 || i >= static_cast<int>(from.size())) return -1;
  to.push_back(std::move(from[i]));
  from.erase(from.begin() + i);
  return static_cast<int>(to.size()) - 1;
}

bool TekiyouListEditor::moveTekiyouWithinGroup(int g, int from, int to)
{
  std::vector<Item>& items = groups_.at(g).items;
  const int n = static_cast<int>(items.size());
  if (from < 0 || from >= n || to < 0 || to >= n || from == to) return false;
  Item moved = std::move(items[from]);
  items.erase(items.begin() + from);
  items.insert(items.begin() + to, std::move(moved));
  return true;
}

TekiyouListEditor::Refusal TekiyouListEditor::validate() const
{
  for (int g = 0; g < groupCount(); ++g) {
    const Group& group = groups_[g];
    std::map<std::string, int> seen;
    for (int i = 0; i < static_cast<int>(group.items.size()); ++i) {
      const Item& item = group.items[i];
      const std::string where = "グループ" + quoted(group.name) + "の " + std::to_string(i + 1) + " 行目";
      if (item.tekiyou.empty()) return {where + "の摘要を入力してください。", g, i};
      auto [it, inserted] = seen.emplace(item.tekiyou, i);
      if (!inserted)
        return {where + "の摘要" + quoted(item.tekiyou) + "は、" + std::to_string(it->second + 1) +
                    " 行目と重複しています。",
                g, i};
    }
  }
  return {};
}

void TekiyouListEditor::writeBack(MyDocument& document) const
{
  std::vector<TekiyouGroupPtr> groups;
  for (const Group& g : groups_) {
    auto group = std::make_shared<TekiyouGroup>(g.name, g.isOthersGroup);
    for (const Item& item : g.items)
      group->tekiyouArray().push_back(std::make_shared<Tekiyou>(item.tekiyou, item.kana));
    groups.push_back(std::move(group));
  }
  document.setTekiyouGroupArray(std::move(groups));
}

}  // namespace kivo
