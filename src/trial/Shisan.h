// One row of a computed report: the trial balance, the monthly trial balance, the
// sub-account balance list and the financial statements all are ordered arrays of
// Shisan. Builders append rows; windows, printouts and exports only read them.
//
// An account row carries the account's code in kamokuCode; a computed row (heading,
// subtotal, total, a row handed from one section to the next) a negative row-kind
// code. Amounts are stored units, signed by the account's nature.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kivo {

class Kamoku;

// Row-kind codes held in kamokuCode.
inline constexpr int32_t ShisanSubtotalRowCode = -1;
inline constexpr int32_t ShisanHeadingRowCode = -101;  // caption only, every amount cell blank
inline constexpr int32_t ShisanTotalRowCode = -102;
inline constexpr int32_t ToukiSeihinSeizouGenkaRowCode = -201;  // 当期製品製造原価, handed to the income statement
inline constexpr int32_t ToukiSonekiRowCode = -202;             // profit of the period, handed to the balance sheet
inline constexpr int32_t ToukiMisyobunSonekiRowCode = -203;     // 当期未処分損益, handed to the balance sheet
inline constexpr int32_t ShisanPeriodRowCode = -301;            // a period line of a printout

class Shisan {
public:
  Shisan() = default;
  // A row whose monthly columns hold n + 1 zeros: n months and one total column.
  explicit Shisan(int32_t numberOfZeroAmountMonth);

  int32_t jigyoubuCode() const { return jigyoubuCode_; }
  void setJigyoubuCode(int32_t v) { jigyoubuCode_ = v; }
  int32_t kamokuCode() const { return kamokuCode_; }
  void setKamokuCode(int32_t v) { kamokuCode_ = v; }
  int32_t hojyoKamokuCode() const { return hojyoKamokuCode_; }
  void setHojyoKamokuCode(int32_t v) { hojyoKamokuCode_ = v; }
  const std::string& title() const { return title_; }
  void setTitle(const std::string& v) { title_ = v; }
  const std::string& title2() const { return title2_; }
  void setTitle2(const std::string& v) { title2_ = v; }
  const std::string& title3() const { return title3_; }
  void setTitle3(const std::string& v) { title3_ = v; }
  const std::string& title4() const { return title4_; }
  void setTitle4(const std::string& v) { title4_ = v; }
  int64_t kaishiZandaka() const { return kaishiZandaka_; }
  void setKaishiZandaka(int64_t v) { kaishiZandaka_ = v; }
  int64_t karikataGoukei() const { return karikataGoukei_; }
  void setKarikataGoukei(int64_t v) { karikataGoukei_ = v; }
  int64_t kashikataGoukei() const { return kashikataGoukei_; }
  void setKashikataGoukei(int64_t v) { kashikataGoukei_ = v; }
  int64_t syuuryouZandaka() const { return syuuryouZandaka_; }
  void setSyuuryouZandaka(int64_t v) { syuuryouZandaka_ = v; }
  int64_t endBalance() const { return endBalance_; }
  void setEndBalance(int64_t v) { endBalance_ = v; }
  double percent() const { return percent_; }
  void setPercent(double v) { percent_ = v; }
  bool isValidPercent() const { return isValidPercent_; }
  void setIsValidPercent(bool v) { isValidPercent_ = v; }
  std::vector<int64_t>& monthlyAmountArray() { return monthlyAmountArray_; }
  const std::vector<int64_t>& monthlyAmountArray() const { return monthlyAmountArray_; }
  int64_t houkokusyoAmount() const { return houkokusyoAmount_; }
  void setHoukokusyoAmount(int64_t v) { houkokusyoAmount_ = v; }

  // An account's row, as against the computed rows (every row-kind code is negative).
  bool isKamokuRow() const { return kamokuCode_ > 0; }
  bool isHeadingRow() const { return kamokuCode_ == ShisanHeadingRowCode; }
  // Rows that the report tables tint: headings and totals.
  bool isTotalRow() const { return kamokuCode_ == ShisanHeadingRowCode || kamokuCode_ == ShisanTotalRowCode; }

  // --- monthly columns of the monthly trial balance. n is the number of month
  // columns; an entry outside [minAmountValue, maxAmountValue] is never changed
  // again. An addition that passes maxAmountValue stores maxAmountValue + 1, a
  // subtraction that passes minAmountValue stores minAmountValue - 1.

  // Movement mode of an account row: the n monthly movements of the division, then
  // the running total, which starts at the opening balance when
  // addKaishiZandakaToGoukei is on and stops changing once it has left the range.
  void setMonthlyAmountFromTaisyakuBalanceOfKamoku(Kamoku& kamoku, int32_t jigyoubuCode, int32_t numberOfMonth,
                                                   int64_t maxAmountValue, int64_t minAmountValue,
                                                   bool addKaishiZandakaToGoukei);
  // Adds an account's movements (and its running total into the last column) into
  // a computed row: added when the account's nature is the section's side
  // (isKarikataKamokuKubun), subtracted otherwise.
  void addMonthlyAmountFromTaisyakuBalanceOfKamoku(Kamoku& kamoku, int32_t jigyoubuCode, bool isKarikataKamokuKubun,
                                                   int32_t numberOfMonth, int64_t maxAmountValue,
                                                   int64_t minAmountValue, bool addKaishiZandakaToGoukei);
  // Balance mode of an account row: the opening balance, then the n month-end
  // balances, unbounded.
  void setMonthlyAmountFromSyuuryouZandakaOfKamoku(Kamoku& kamoku, int32_t jigyoubuCode, int32_t numberOfMonth);
  // Adds an account's opening and month-end balances into a computed row.
  void addMonthlyAmountFromSyuuryouZandakaOfKamoku(Kamoku& kamoku, int32_t jigyoubuCode, bool isKarikataKamokuKubun,
                                                   int32_t numberOfMonth, int64_t maxAmountValue,
                                                   int64_t minAmountValue);

private:
  int32_t jigyoubuCode_ = 0;
  int32_t kamokuCode_ = 0;
  int32_t hojyoKamokuCode_ = 0;
  std::string title_;
  std::string title2_;
  std::string title3_;
  std::string title4_;
  int64_t kaishiZandaka_ = 0;
  int64_t karikataGoukei_ = 0;
  int64_t kashikataGoukei_ = 0;
  int64_t syuuryouZandaka_ = 0;
  int64_t endBalance_ = 0;
  double percent_ = 0.0;
  bool isValidPercent_ = false;
  std::vector<int64_t> monthlyAmountArray_;
  int64_t houkokusyoAmount_ = 0;
};

}  // namespace kivo
