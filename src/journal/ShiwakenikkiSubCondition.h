// One account item or one division item of the journal display condition: which
// code to look for and on which side of an entry.
#pragma once

#include <cstdint>

namespace kivo {

class ShiwakenikkiSubCondition {
public:
  // karikatOrKashikataCondition values; any other value matches nothing.
  static constexpr int32_t kEitherSide = 0;
  static constexpr int32_t kKarikataSide = 1;
  static constexpr int32_t kKashikataSide = 2;

  ShiwakenikkiSubCondition() = default;
  ShiwakenikkiSubCondition(int32_t code, int32_t hojyoCode, int32_t karikatOrKashikataCondition)
      : code_(code), hojyoCode_(hojyoCode), karikatOrKashikataCondition_(karikatOrKashikataCondition)
  {
  }

  // Account code of an account item, division code of a division item.
  int32_t code() const { return code_; }
  void setCode(int32_t v) { code_ = v; }
  // Account items only: the sub-account code, -1 for any sub-account (or none).
  int32_t hojyoCode() const { return hojyoCode_; }
  void setHojyoCode(int32_t v) { hojyoCode_ = v; }
  int32_t karikatOrKashikataCondition() const { return karikatOrKashikataCondition_; }

  // Same side, code and sub-account: the condition sheet keeps only the first of such.
  friend bool operator==(const ShiwakenikkiSubCondition&, const ShiwakenikkiSubCondition&) = default;

private:
  int32_t code_ = 0;
  int32_t hojyoCode_ = 0;
  int32_t karikatOrKashikataCondition_ = 0;
};

}  // namespace kivo
