// One group row of the asset register's outline: an account (or account and
// sub-account), or a division under it, with the assets it holds; and the moves of
// assets between groups that drag and drop makes.
//
// The outline lists every depreciable-asset account that holds assets, by code. An
// account with active sub-accounts is split into one group per active sub-account
// that holds assets; when the document has an active division, each of those groups
// is split into its active divisions that hold assets. Assets that fit none of these
// groups (a sub-account added to their account afterwards, an inactive sub-account or
// division, no division while divisions are in use) are gathered in the account's
// unassigned group, so that no asset is ever out of sight; from there they can be
// moved to a proper group.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/GenkasyoukyakuShisan.h"

namespace kivo {

class MyDocument;

class KamokuJigyoubuGroup {
public:
  // The sub-account code of an account's unassigned group.
  static constexpr int32_t kUnassignedCode = -2;
  static constexpr const char* kUnassignedTitle = "未分類";

  KamokuJigyoubuGroup() = default;
  KamokuJigyoubuGroup(int32_t kamokuCode, int32_t hojyoKamokuCode, int32_t jigyoubuCode)
      : kamokuCode_(kamokuCode), hojyoKamokuCode_(hojyoKamokuCode), jigyoubuCode_(jigyoubuCode)
  {
  }

  int32_t kamokuCode() const { return kamokuCode_; }
  int32_t hojyoKamokuCode() const { return hojyoKamokuCode_; }
  int32_t jigyoubuCode() const { return jigyoubuCode_; }
  bool isUnassigned() const { return hojyoKamokuCode_ == kUnassignedCode; }
  bool isJigyoubuGroup() const { return jigyoubuCode_ != -1; }
  // Division groups under an account group (only while a division is active).
  const std::vector<KamokuJigyoubuGroup>& childrenGroups() const { return childrenGroups_; }
  // The assets of a division group, of an account group while no division is active,
  // and of an unassigned group; in the document's order.
  const std::vector<GenkasyoukyakuShisanPtr>& childrenAssets() const { return childrenAssets_; }
  // Every asset under the group, division groups included.
  std::vector<GenkasyoukyakuShisanPtr> allAssets() const;

  // The row title: the division's name, the account's name, or the account's name,
  // "／" and the sub-account's name (or "未分類").
  std::string title(const MyDocument& document) const;
  // The same three codes (the identity of a group across rebuilds).
  bool isSameGroup(const KamokuJigyoubuGroup& other) const
  {
    return kamokuCode_ == other.kamokuCode_ && hojyoKamokuCode_ == other.hojyoKamokuCode_ &&
           jigyoubuCode_ == other.jigyoubuCode_;
  }
  // Whether assets may be dropped into the group: not into an unassigned group, and,
  // while a division is active, only into a division group.
  bool acceptsDrop(const MyDocument& document) const;

  // The top-level groups of the document's assets, in outline order.
  static std::vector<KamokuJigyoubuGroup> groupsOfDocument(const MyDocument& document);

  // Moves the assets (the objects themselves, in their order) into the target group
  // before its child at index (past the end: after the last): they take the group's
  // codes, and the group's assets, in their new order, go to the end of the array.
  // Assets are matched by identity, so nothing is copied or duplicated.
  static void moveGenkasyoukyakuShisan(std::vector<GenkasyoukyakuShisanPtr>& array,
                                       const std::vector<GenkasyoukyakuShisanPtr>& groupAssets,
                                       const KamokuJigyoubuGroup& target, size_t index,
                                       const std::vector<GenkasyoukyakuShisanPtr>& dragged);

private:
  int32_t kamokuCode_ = -1;
  int32_t hojyoKamokuCode_ = -1;
  int32_t jigyoubuCode_ = -1;
  std::vector<KamokuJigyoubuGroup> childrenGroups_;
  std::vector<GenkasyoukyakuShisanPtr> childrenAssets_;
};

}  // namespace kivo
