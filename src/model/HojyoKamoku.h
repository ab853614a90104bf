// A sub-account of one account: a two-digit code (shown "%02d") under its parent
// account, with its own opening balances per division.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/StartBalanceList.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class HojyoKamoku {
public:
  // Two digits; -1 stands for none. The reader refuses any other value.
  static constexpr int32_t kMaxCode = 99;
  static constexpr bool isCodeInRange(int32_t code) { return code >= -1 && code <= kMaxCode; }

  HojyoKamoku() = default;

  int32_t code() const { return code_; }
  void setCode(int32_t v) { code_ = v; }
  const std::string& name() const { return name_; }
  void setName(const std::string& v) { name_ = v; }
  const std::string& kana() const { return kana_; }
  void setKana(const std::string& v) { kana_ = v; }
  bool isActive() const { return isActive_; }
  void setIsActive(bool v) { isActive_ = v; }
  int32_t parentKamokuCode() const { return parentKamokuCode_; }
  void setParentKamokuCode(int32_t v) { parentKamokuCode_ = v; }
  // Digit 1 to 9 of the cash book's Ctrl shortcut, -1 for none.
  int32_t keyEquivalentOfSuitoucyouSubMenu() const { return keyEquivalentOfSuitoucyouSubMenu_; }
  void setKeyEquivalentOfSuitoucyouSubMenu(int32_t v) { keyEquivalentOfSuitoucyouSubMenu_ = v; }
  // Transient: chosen in a picker sheet; never stored.
  bool isTempSelected() const { return isTempSelected_; }
  void setIsTempSelected(bool v) { isTempSelected_ = v; }

  // "%02d" of the code.
  std::string codeString() const;

  StartBalanceList& startBalanceArray() { return startBalanceArray_; }
  const StartBalanceList& startBalanceArray() const { return startBalanceArray_; }
  int64_t startBalanceOfJigyoubuCode(int32_t jigyoubuCode) const
  {
    return startBalanceArray_.balanceOfJigyoubuCode(jigyoubuCode);
  }
  void setStartBalance(int64_t balance, int32_t jigyoubuCode) { startBalanceArray_.setBalance(balance, jigyoubuCode); }

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

private:
  int32_t code_ = -1;
  std::string name_;
  std::string kana_;
  bool isActive_ = true;
  int32_t parentKamokuCode_ = -1;
  int32_t keyEquivalentOfSuitoucyouSubMenu_ = -1;
  bool isTempSelected_ = false;
  StartBalanceList startBalanceArray_;
};

using HojyoKamokuPtr = std::shared_ptr<HojyoKamoku>;

}  // namespace kivo
