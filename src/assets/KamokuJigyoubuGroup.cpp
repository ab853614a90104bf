#include "assets/KamokuJigyoubuGroup.h"

#include <algorithm>
#include <set>

#include "document/MyDocument.h"
#include "model/HojyoKamoku.h"
#include "model/Jigyoubu.h"
#include "model/Kamoku.h"
#include "model/KamokuKubun.h"

namespace kivo {

std::vector<GenkasyoukyakuShisanPtr> KamokuJigyoubuGroup::allAssets() const
{
  std::vector<GenkasyoukyakuShisanPtr> all = childrenAssets_;
  for (const KamokuJigyoubuGroup& g : childrenGroups_)
    all.insert(all.end(), g.childrenAssets_.begin(), g.childrenAssets_.end());
  return all;
}

std::string KamokuJigyoubuGroup::title(const MyDocument& document) const
{
  if (jigyoubuCode_ != -1) {
    for (const JigyoubuPtr& j : document.jigyoubuArray())
      if (j->code() == jigyoubuCode_) return j->name();
    return std::to_string(jigyoubuCode_);
  }
  KamokuPtr kamoku;
  if (document.rootKamokuKubun())
    kamoku = document.rootKamokuKubun()->matchKamokuCode(std::to_string(kamokuCode_), true);
  std::string t = kamoku ? kamoku->name() : std::to_string(kamokuCode_);
  if (isUnassigned()) return t + "／" + kUnassignedTitle;
  if (hojyoKamokuCode_ != -1 && kamoku)
    for (const HojyoKamokuPtr& h : kamoku->hojyoKamokuArray())
      if (h->code() == hojyoKamokuCode_) return t + "／" + h->name();
  return t;
}

bool KamokuJigyoubuGroup::acceptsDrop(const MyDocument& document) const
{
  if (isUnassigned()) return false;
  return document.numberOfActiveJigyoubu() == 0 || isJigyoubuGroup();
}

std::vector<KamokuJigyoubuGroup> KamokuJigyoubuGroup::groupsOfDocument(const MyDocument& document)
{
  std::vector<KamokuJigyoubuGroup> groups;
  std::vector<int32_t> activeJigyoubu;
  for (const JigyoubuPtr& j : document.jigyoubuArray())
    if (j->isActive()) activeJigyoubu.push_back(j->code());
  const auto& assets = document.genkasyoukyakuShisanArray();
  for (const KamokuPtr& kamoku : document.codeSortedGenkasyoukyakuShisanKamokuArray()) {
    std::vector<GenkasyoukyakuShisanPtr> ofKamoku;
    for (const GenkasyoukyakuShisanPtr& a : assets)
      if (a->kamokuCode() == kamoku->code()) ofKamoku.push_back(a);
    if (ofKamoku.empty()) continue;
    std::vector<int32_t> hojyoCodes;
    if (kamoku->activeHojyoKamokuNum() < 1) {
      hojyoCodes.push_back(-1);
    } else {
      for (const HojyoKamokuPtr& h : kamoku->hojyoKamokuArray())
        if (h->isActive()) hojyoCodes.push_back(h->code());
    }
    std::set<const GenkasyoukyakuShisan*> placed;
    for (int32_t hojyo : hojyoCodes) {
      KamokuJigyoubuGroup group(kamoku->code(), hojyo, -1);
      std::vector<GenkasyoukyakuShisanPtr> ofHojyo;
      for (const GenkasyoukyakuShisanPtr& a : ofKamoku)
        if (a->hojyoKamokuCode() == hojyo) ofHojyo.push_back(a);
      if (activeJigyoubu.empty()) {
        group.childrenAssets_ = ofHojyo;
      } else {
        for (int32_t jigyoubu : activeJigyoubu) {
          KamokuJigyoubuGroup division(kamoku->code(), hojyo, jigyoubu);
          for (const GenkasyoukyakuShisanPtr& a : ofHojyo)
            if (a->jigyoubuCode() == jigyoubu) division.childrenAssets_.push_back(a);
          if (!division.childrenAssets_.empty()) group.childrenGroups_.push_back(std::move(division));
        }
      }
      for (const GenkasyoukyakuShisanPtr& a : group.allAssets()) placed.insert(a.get());
      if (!group.childrenAssets_.empty() || !group.childrenGroups_.empty()) groups.push_back(std::move(group));
    }
    KamokuJigyoubuGroup unassigned(kamoku->code(), kUnassignedCode, -1);
    for (const GenkasyoukyakuShisanPtr& a : ofKamoku)
      if (!placed.count(a.get())) unassigned.childrenAssets_.push_back(a);
    if (!unassigned.childrenAssets_.empty()) groups.push_back(std::move(unassigned));
  }
  return groups;
}

void KamokuJigyoubuGroup::moveGenkasyoukyakuShisan(std::vector<GenkasyoukyakuShisanPtr>& array,
                                                   const std::vector<GenkasyoukyakuShisanPtr>& groupAssets,
                                                   const KamokuJigyoubuGroup& target, size_t index,
                                                   const std::vector<GenkasyoukyakuShisanPtr>& dragged)
{
  const auto isDragged = [&](const GenkasyoukyakuShisanPtr& a) {
    return std::find(dragged.begin(), dragged.end(), a) != dragged.end();
  };
  std::vector<GenkasyoukyakuShisanPtr> children;
  size_t insertAt = 0;
  for (size_t i = 0; i < groupAssets.size(); ++i) {
    if (i < index && !isDragged(groupAssets[i])) ++insertAt;
    if (!isDragged(groupAssets[i])) children.push_back(groupAssets[i]);
  }
  children.insert(children.begin() + static_cast<std::ptrdiff_t>(insertAt), dragged.begin(), dragged.end());
  for (const GenkasyoukyakuShisanPtr& a : dragged) {
    a->setKamokuCode(target.kamokuCode());
    a->setHojyoKamokuCode(target.hojyoKamokuCode());
    a->setJigyoubuCode(target.jigyoubuCode());
  }
  std::erase_if(array, [&](const GenkasyoukyakuShisanPtr& a) {
    return isDragged(a) || std::find(groupAssets.begin(), groupAssets.end(), a) != groupAssets.end();
  });
  array.insert(array.end(), children.begin(), children.end());
}

}  // namespace kivo
