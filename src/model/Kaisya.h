// The company record of one document: who keeps the books, for which term, in which
// form, and the rules for its amounts.
//
// Amounts are int64_t counts of stored units, 10^-decimalPrecision of the currency
// unit. Kaisya converts them for display, formats them as the reports show them and
// parses typed decimal text exactly (never through a double).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Date.h"
#include "model/Month.h"
#include "model/RiekiSyobunanItem.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class Kaisya {
public:
  Kaisya() = default;

  // --- identity and kind
  const std::string& name() const { return name_; }
  void setName(const std::string& v) { name_ = v; }
  const std::string& address() const { return address_; }
  void setAddress(const std::string& v) { address_ = v; }
  bool isHoujin() const { return isHoujin_; }
  void setIsHoujin(bool v) { isHoujin_ = v; }
  bool isSeizou() const { return isSeizou_; }
  void setIsSeizou(bool v) { isSeizou_ = v; }
  bool isKensetu() const { return isKensetu_; }
  void setIsKensetu(bool v) { isKensetu_ = v; }
  bool isKakeibo() const { return isKakeibo_; }
  void setIsKakeibo(bool v) { isKakeibo_ = v; }
  bool doUseWareki() const { return doUseWareki_; }
  void setDoUseWareki(bool v) { doUseWareki_ = v; }
  int32_t termNo() const { return termNo_; }
  void setTermNo(int32_t v) { termNo_ = v; }
  const std::string& termYear() const { return termYear_; }
  void setTermYear(const std::string& v) { termYear_ = v; }
  int32_t decimalPrecision() const { return decimalPrecision_; }
  void setDecimalPrecision(int32_t v) { decimalPrecision_ = (v == 1 || v == 2) ? v : 0; }

  // --- passwords: stored as salted slow hashes, never as text (empty: none)
  const std::string& password() const { return password_; }
  void setPassword(const std::string& hash) { password_ = hash; }
  const std::string& limitedUserPassword() const { return limitedUserPassword_; }
  void setLimitedUserPassword(const std::string& hash) { limitedUserPassword_ = hash; }

  // --- voucher counters
  static constexpr int32_t kMaxDenpyouNo = 99999;
  static constexpr int32_t kMaxRegularTypeDenpyouNo = 9999;
  // A number an entry or a bookmark can carry: -n for regular-type voucher n, 0 for a
  // cash book's row not yet registered, an ordinary number up to the limit.
  static constexpr bool isDenpyouNoInRange(int32_t n) { return n >= -kMaxRegularTypeDenpyouNo && n <= kMaxDenpyouNo; }
  int32_t minAvailableDenpyouNo() const { return minAvailableDenpyouNo_; }
  void setMinAvailableDenpyouNo(int32_t v) { minAvailableDenpyouNo_ = v; }
  int32_t minAvailableRegularTypeDenpyouNo() const { return minAvailableRegularTypeDenpyouNo_; }
  void setMinAvailableRegularTypeDenpyouNo(int32_t v) { minAvailableRegularTypeDenpyouNo_ = v; }

  // --- the term
  const std::vector<Month>& monthArray() const { return monthArray_; }
  void setMonthArray(std::vector<Month> months) { monthArray_ = std::move(months); }
  // Rebuilds monthArray backwards from the end date: each month ends where the next
  // one starts; a month that is not a whole calendar month is named by its range.
  void setMonthOfTermArrayFrom(Date startDate, Date endDate);
  Date termStartDate() const { return monthArray_.empty() ? Date() : monthArray_.front().startDate(); }
  Date termEndDate() const { return monthArray_.empty() ? Date() : monthArray_.back().endDate(); }

  // --- carry-forward flags
  bool hasDoneKurikoshi() const { return hasDoneKurikoshi_; }
  void setHasDoneKurikoshi(bool v) { hasDoneKurikoshi_ = v; }
  bool isCreatedByKurikoshiFunction() const { return isCreatedByKurikoshiFunction_; }
  void setIsCreatedByKurikoshiFunction(bool v) { isCreatedByKurikoshiFunction_ = v; }

  // --- statement settings
  Date termStartDateOfHoukokusyo() const { return termStartDateOfHoukokusyo_; }
  void setTermStartDateOfHoukokusyo(Date v) { termStartDateOfHoukokusyo_ = v; }
  Date termEndDateOfHoukokusyo() const { return termEndDateOfHoukokusyo_; }
  void setTermEndDateOfHoukokusyo(Date v) { termEndDateOfHoukokusyo_ = v; }
  bool doAddStartBalanceToHoukokusyo() const { return doAddStartBalanceToHoukokusyo_; }
  void setDoAddStartBalanceToHoukokusyo(bool v) { doAddStartBalanceToHoukokusyo_ = v; }
  const std::string& titleOfHoukokusyo() const { return titleOfHoukokusyo_; }
  void setTitleOfHoukokusyo(const std::string& v) { titleOfHoukokusyo_ = v; }
  Date termStartDateOfHoukokusyoCover() const { return termStartDateOfHoukokusyoCover_; }
  void setTermStartDateOfHoukokusyoCover(Date v) { termStartDateOfHoukokusyoCover_ = v; }
  Date termEndDateOfHoukokusyoCover() const { return termEndDateOfHoukokusyoCover_; }
  void setTermEndDateOfHoukokusyoCover(Date v) { termEndDateOfHoukokusyoCover_ = v; }
  bool doUseWarekiForTermStartDateOfHoukokusyoCover() const { return doUseWarekiForTermStartDateOfHoukokusyoCover_; }
  void setDoUseWarekiForTermStartDateOfHoukokusyoCover(bool v) { doUseWarekiForTermStartDateOfHoukokusyoCover_ = v; }
  bool doUseWarekiForTermEndDateOfHoukokusyoCover() const { return doUseWarekiForTermEndDateOfHoukokusyoCover_; }
  void setDoUseWarekiForTermEndDateOfHoukokusyoCover(bool v) { doUseWarekiForTermEndDateOfHoukokusyoCover_ = v; }
  const std::string& currencyUnitOfHoukokusyo() const { return currencyUnitOfHoukokusyo_; }
  void setCurrencyUnitOfHoukokusyo(const std::string& v) { currencyUnitOfHoukokusyo_ = v; }
  // Rich text of the Companies-Act notes, as stored bytes (empty: none).
  const std::string& noteOfKaisyahouHoukokusyo() const { return noteOfKaisyahouHoukokusyo_; }
  void setNoteOfKaisyahouHoukokusyo(const std::string& v) { noteOfKaisyahouHoukokusyo_ = v; }
  const std::string& noteOfTaisyakuTaisyouhyouOfHoukokusyo() const { return noteOfTaisyakuTaisyouhyouOfHoukokusyo_; }
  void setNoteOfTaisyakuTaisyouhyouOfHoukokusyo(const std::string& v) { noteOfTaisyakuTaisyouhyouOfHoukokusyo_ = v; }
  const std::string& noteOfSonekiKeisansyoOfHoukokusyo() const { return noteOfSonekiKeisansyoOfHoukokusyo_; }
  void setNoteOfSonekiKeisansyoOfHoukokusyo(const std::string& v) { noteOfSonekiKeisansyoOfHoukokusyo_ = v; }
  const std::string& noteOfHanbaihiOfHoukokusyo() const { return noteOfHanbaihiOfHoukokusyo_; }
  void setNoteOfHanbaihiOfHoukokusyo(const std::string& v) { noteOfHanbaihiOfHoukokusyo_ = v; }
  const std::string& noteOfSeizougenkaOfHoukokusyo() const { return noteOfSeizougenkaOfHoukokusyo_; }
  void setNoteOfSeizougenkaOfHoukokusyo(const std::string& v) { noteOfSeizougenkaOfHoukokusyo_ = v; }
  const std::string& noteOfRiekisyobunanOfHoukokusyo() const { return noteOfRiekisyobunanOfHoukokusyo_; }
  void setNoteOfRiekisyobunanOfHoukokusyo(const std::string& v) { noteOfRiekisyobunanOfHoukokusyo_ = v; }
  const std::string& titleOfRiekisyobunanOfHoukokusyo() const { return titleOfRiekisyobunanOfHoukokusyo_; }
  void setTitleOfRiekisyobunanOfHoukokusyo(const std::string& v) { titleOfRiekisyobunanOfHoukokusyo_ = v; }
  // The items of the older-form appropriation of profit (利益処分案), in order.
  const std::vector<RiekiSyobunanItem>& riekisyobunanKamokuArray() const { return riekisyobunanKamokuArray_; }
  void setRiekisyobunanKamokuArray(std::vector<RiekiSyobunanItem> v) { riekisyobunanKamokuArray_ = std::move(v); }

  // --- amounts
  double displayKingakuOfMemoryKingaku(int64_t memoryKingaku) const;
  // Parses typed decimal text ("1,234.5", "-12") exactly into stored units; nullopt
  // when it is not a number, has more decimals than the precision, or overflows.
  std::optional<int64_t> memoryKingakuOfDisplayString(const std::string& text) const;
  // The amount as the windows show it: grouped, with the precision's decimals.
  std::string displayStringOfMemoryKingaku(int64_t memoryKingaku) const;
  // The same, but "#Precision!" beyond plus or minus the output limit.
  std::string outputStringOfMemoryKingaku(int64_t memoryKingaku) const;
  // The amount as text files write it: no grouping.
  std::string textFileStringOfMemoryKingaku(int64_t memoryKingaku) const;

  static constexpr int64_t kMaxInputAmountValue = 99'999'999'999LL;
  static constexpr int64_t kMaxOutputAmountValue = 999'999'999'999LL;
  int64_t maxInputAmountValue() const { return kMaxInputAmountValue; }
  int64_t maxOutputAmountValue() const { return kMaxOutputAmountValue; }
  static const char* overFlowAmountValueString() { return "#Precision!"; }
  bool isOutputOverflow(int64_t v) const { return v > kMaxOutputAmountValue || v < -kMaxOutputAmountValue; }

  // --- the values a company record may hold: what the new-document, properties,
  // carry-forward and statements windows take and what the program itself writes
  // (the voucher counters' own rules, the carry-forward, the import). The reader
  // refuses any other, so that no counter, term number or sum made from them leaves
  // its range, but for what earlier versions wrote past the top: a next voucher number
  // past kMaxDenpyouNo + 1 reads as that (every number used), a term number past
  // kMaxTermNo as kMaxTermNo. The bounds:
  //   term number 1 to kMaxTermNo (a sole proprietor's too: it stays at 1); decimal
  //   places 0 to kMaxDecimalPrecision; the next voucher number 1 to kMaxDenpyouNo + 1
  //   (the counter used up); the next regular-type number 1 to
  //   kMaxRegularTypeDenpyouNo; appropriation amounts 0 to the input limit; a
  //   household book is a sole proprietor's books, without manufacturing or
  //   construction.
  static constexpr int32_t kMaxTermNo = 9999;
  static constexpr int32_t kMaxDecimalPrecision = 2;
  static constexpr bool isTermNoInRange(int32_t n) { return n >= 1 && n <= kMaxTermNo; }
  static constexpr bool isDecimalPrecisionInRange(int32_t p) { return p >= 0 && p <= kMaxDecimalPrecision; }
  static constexpr bool isMinAvailableDenpyouNoInRange(int32_t n) { return n >= 1 && n <= kMaxDenpyouNo + 1; }
  static constexpr bool isMinAvailableRegularTypeDenpyouNoInRange(int32_t n)
  {
    return n >= 1 && n <= kMaxRegularTypeDenpyouNo;
  }
  static constexpr bool isRiekisyobunanKingakuInRange(int64_t v) { return v >= 0 && v <= kMaxInputAmountValue; }
  bool hasValuesInRange() const;
  // The number of the term after term n: n + 1, but never past kMaxTermNo (nor below 1).
  static constexpr int32_t nextTermNo(int32_t n) { return n < 1 ? 1 : n >= kMaxTermNo ? kMaxTermNo : n + 1; }

  static constexpr int32_t kClassVersion = 1;  // 1: appropriation items
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

  friend bool operator==(const Kaisya&, const Kaisya&) = default;

private:
  std::string formatMemoryKingaku(int64_t v, bool grouped) const;

  std::string name_;
  std::string address_;
  bool isHoujin_ = true;
  bool isSeizou_ = false;
  bool isKensetu_ = false;
  bool isKakeibo_ = false;
  bool doUseWareki_ = false;
  int32_t termNo_ = 1;
  std::string termYear_;
  int32_t decimalPrecision_ = 0;
  std::string password_;
  std::string limitedUserPassword_;
  int32_t minAvailableDenpyouNo_ = 1;
  int32_t minAvailableRegularTypeDenpyouNo_ = 1;
  std::vector<Month> monthArray_;
  bool hasDoneKurikoshi_ = false;
  bool isCreatedByKurikoshiFunction_ = false;

  Date termStartDateOfHoukokusyo_;
  Date termEndDateOfHoukokusyo_;
  bool doAddStartBalanceToHoukokusyo_ = false;
  std::string titleOfHoukokusyo_;
  Date termStartDateOfHoukokusyoCover_;
  Date termEndDateOfHoukokusyoCover_;
  bool doUseWarekiForTermStartDateOfHoukokusyoCover_ = false;
  bool doUseWarekiForTermEndDateOfHoukokusyoCover_ = false;
  std::string currencyUnitOfHoukokusyo_ = "円";
  std::string noteOfKaisyahouHoukokusyo_;
  std::string noteOfTaisyakuTaisyouhyouOfHoukokusyo_;
  std::string noteOfSonekiKeisansyoOfHoukokusyo_;
  std::string noteOfHanbaihiOfHoukokusyo_;
  std::string noteOfSeizougenkaOfHoukokusyo_;
  std::string noteOfRiekisyobunanOfHoukokusyo_;
  std::string titleOfRiekisyobunanOfHoukokusyo_;
  std::vector<RiekiSyobunanItem> riekisyobunanKamokuArray_;
};

}  // namespace kivo
