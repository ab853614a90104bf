// A user's shortcut item in the "伝票・帳票" menu: its title, the menu it stands
// under, its key and modifiers, and the value it opens (for a ledger the account pair
// (sub-account code + 1) × 1000 + account code).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/Kamoku.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class SubMenuItemOfDenpyouAndCyouhyouMenuItem {
public:
  const std::string& title() const { return title_; }
  void setTitle(const std::string& v) { title_ = v; }
  const std::string& parentMenuItemTitle() const { return parentMenuItemTitle_; }
  void setParentMenuItemTitle(const std::string& v) { parentMenuItemTitle_ = v; }
  const std::string& keyEquivalent() const { return keyEquivalent_; }
  void setKeyEquivalent(const std::string& v) { keyEquivalent_ = v; }
  uint32_t keyEquivalentModifierMask() const { return keyEquivalentModifierMask_; }
  void setKeyEquivalentModifierMask(uint32_t v) { keyEquivalentModifierMask_ = v; }
  int64_t representedObject() const { return representedObject_; }
  void setRepresentedObject(int64_t v) { representedObject_ = v; }
  // The values an account pair of codes in range makes, -1 (neither) to 100999 (sub-account
  // 99 of account 999): each reads back as codes in range. The reader refuses any other.
  static constexpr int64_t kMinRepresentedObject = -1;
  static constexpr int64_t kMaxRepresentedObject = (HojyoKamoku::kMaxCode + 1) * 1000 + Kamoku::kMaxCode;
  static constexpr bool isRepresentedObjectInRange(int64_t v)
  {
    return v >= kMinRepresentedObject && v <= kMaxRepresentedObject;
  }

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

private:
  std::string title_;
  std::string parentMenuItemTitle_;
  std::string keyEquivalent_;
  uint32_t keyEquivalentModifierMask_ = 0;
  int64_t representedObject_ = 0;
};

using SubMenuItemPtr = std::shared_ptr<SubMenuItemOfDenpyouAndCyouhyouMenuItem>;

}  // namespace kivo
