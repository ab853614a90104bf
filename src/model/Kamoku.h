// An account of the chart: its code, names, nature and flags, its sub-accounts and
// its opening balances per division. Report sums are never kept here: the builders
// return them as values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/HojyoKamoku.h"
#include "model/StartBalanceList.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class Kamoku {
public:
  // Type bits, from the chart's type letter: f (carried forward as it stands),
  // o (owner's accounts), b (capital), p (profit carried forward); the sub-type a
  // marks an account shown only when it has amounts.
  static constexpr uint32_t kTypeF = 0x100;
  static constexpr uint32_t kTypeO = 0x300;
  static constexpr uint32_t kTypeB = 0x500;
  static constexpr uint32_t kTypeP = 0x900;
  static constexpr uint32_t kTypeA = 0x4000;
  // The bits of a type letter ('f', 'o', 'b', 'p', 'a'); 0 for any other.
  static uint32_t typeBitsOfLetter(char letter);

  // 諸口: the code standing for "several accounts" on the other side of an entry.
  static constexpr int32_t kSyokuchiCode = 999;
  // Account codes are at most three digits (999 being 諸口); -1 stands for none.
  // Builders index tables by the code, so the reader refuses any other value.
  static constexpr int32_t kMaxCode = 999;
  static constexpr bool isCodeInRange(int32_t code) { return code >= -1 && code <= kMaxCode; }

  Kamoku() = default;

  int32_t code() const { return code_; }
  void setCode(int32_t v) { code_ = v; }
  const std::string& name() const { return name_; }
  void setName(const std::string& v) { name_ = v; }
  const std::string& kana() const { return kana_; }
  void setKana(const std::string& v) { kana_ = v; }
  bool isActive() const { return isActive_; }
  void setIsActive(bool v) { isActive_ = v; }
  bool isKarikataKamoku() const { return isKarikataKamoku_; }
  void setIsKarikataKamoku(bool v) { isKarikataKamoku_ = v; }
  bool isSuitouKamoku() const { return isSuitouKamoku_; }
  void setIsSuitouKamoku(bool v) { isSuitouKamoku_ = v; }
  bool isGenkasyoukyakuShisanKamoku() const { return isGenkasyoukyakuShisanKamoku_; }
  void setIsGenkasyoukyakuShisanKamoku(bool v) { isGenkasyoukyakuShisanKamoku_ = v; }
  bool isSyoukyakushisanShinkokusyoKamoku() const { return isSyoukyakushisanShinkokusyoKamoku_; }
  void setIsSyoukyakushisanShinkokusyoKamoku(bool v) { isSyoukyakushisanShinkokusyoKamoku_ = v; }
  bool isKabunushiShihonKamoku() const { return isKabunushiShihonKamoku_; }
  void setIsKabunushiShihonKamoku(bool v) { isKabunushiShihonKamoku_ = v; }
  int32_t group() const { return group_; }
  void setGroup(int32_t v) { group_ = v; }
  uint32_t type() const { return type_; }
  void setType(uint32_t v) { type_ = v; }
  // Type letter f alone: the closing balance becomes next term's opening balance.
  bool doSetEndBalanceToStartBalanceWhenKurikoshi() const
  {
    return (type_ & 0x100) && !(type_ & 0x200) && !(type_ & 0x400) && !(type_ & 0x800);
  }
  // -1 stand-alone; else the code of the representative of the merged group.
  int32_t gassanRepresentKamokuCode() const { return gassanRepresentKamokuCode_; }
  void setGassanRepresentKamokuCode(int32_t v) { gassanRepresentKamokuCode_ = v; }
  const std::string& gassanKamokuName() const { return gassanKamokuName_; }
  void setGassanKamokuName(const std::string& v) { gassanKamokuName_ = v; }
  // The digit 1 to kMaxKeyEquivalent of the cash book's shortcut, -1 none (a
  // sub-account's alike); the reader refuses any other.
  int32_t keyEquivalentOfSuitoucyouSubMenu() const { return keyEquivalentOfSuitoucyouSubMenu_; }
  void setKeyEquivalentOfSuitoucyouSubMenu(int32_t v) { keyEquivalentOfSuitoucyouSubMenu_ = v; }
  static constexpr int32_t kMaxKeyEquivalent = 9;
  static constexpr bool isKeyEquivalentInRange(int32_t digit)
  {
    return digit == -1 || (digit >= 1 && digit <= kMaxKeyEquivalent);
  }
  bool isTempSelected() const { return isTempSelected_; }
  void setIsTempSelected(bool v) { isTempSelected_ = v; }

  // The name with its first full-width "＃" removed (a mark that hides nothing else).
  std::string nameWithoutNonPrintChar() const;

  // --- sub-accounts
  std::vector<HojyoKamokuPtr>& hojyoKamokuArray() { return hojyoKamokuArray_; }
  const std::vector<HojyoKamokuPtr>& hojyoKamokuArray() const { return hojyoKamokuArray_; }
  int activeHojyoKamokuNum() const;
  HojyoKamokuPtr firstActiveHojyoKamoku() const;
  // The first active sub-account with exactly this code.
  HojyoKamokuPtr hojyoKamokuOfCode(int32_t code) const;

  // --- opening and closing balances (closing ones are computed, not stored)
  StartBalanceList& startBalanceArray() { return startBalanceArray_; }
  const StartBalanceList& startBalanceArray() const { return startBalanceArray_; }
  int64_t startBalanceOfJigyoubuCode(int32_t j) const { return startBalanceArray_.balanceOfJigyoubuCode(j); }
  void setStartBalance(int64_t v, int32_t j) { startBalanceArray_.setBalance(v, j); }

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

private:
  int32_t code_ = -1;
  std::string name_;
  std::string kana_;
  bool isActive_ = true;
  bool isKarikataKamoku_ = true;
  bool isSuitouKamoku_ = false;
  bool isGenkasyoukyakuShisanKamoku_ = false;
  bool isSyoukyakushisanShinkokusyoKamoku_ = false;
  bool isKabunushiShihonKamoku_ = false;
  int32_t group_ = 0;
  uint32_t type_ = 0;
  int32_t gassanRepresentKamokuCode_ = -1;
  std::string gassanKamokuName_;
  int32_t keyEquivalentOfSuitoucyouSubMenu_ = -1;
  bool isTempSelected_ = false;
  std::vector<HojyoKamokuPtr> hojyoKamokuArray_;
  StartBalanceList startBalanceArray_;
};

using KamokuPtr = std::shared_ptr<Kamoku>;

}  // namespace kivo
