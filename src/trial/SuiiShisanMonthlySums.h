// The monthly trial balance's sums: the date-sorted journal posted in one pass into,
// per account and division, an opening balance, the movement of every month of the
// term and of the closing-adjustment month, and the balance at the end of each of
// those months. Month index n (the number of months of the term) is the
// closing-adjustment month.
//
// Figures are in the account's natural sign: a debit-natured account grows by its
// debits, the others by their credits. The company column (division 99) sums every
// other column. The pass loads opening balances and finds accounts exactly as the
// trial balance's period sums do, so that a month's figures always agree with the
// trial balance of the same months:
//   - with divisions in use, every division's opening balance is loaded, inactive
//     divisions included, so the company column holds them; without divisions the
//     company's opening balance starts the column of entries without a division;
//   - an account is found by its exact code; a side whose code names no account is
//     not posted;
//   - an entry dated before the first month of the term (possible after the term
//     was changed) counts in the opening balance, never in a month; one dated after
//     the last month but not in the closing-adjustment month, or without a date,
//     belongs to no month and is left out;
//   - unregistered cash-book rows and regular-type vouchers (voucher number 0 or
//     below) count nowhere.
// A balance or movement beyond the company's maxOutputAmountValue stops changing.
//
// The result is a value: it reads only const accessors of the document and writes
// nothing into the accounts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace kivo {

class Kamoku;
class MyDocument;

class SuiiShisanMonthlySums {
public:
  // Walks the journal's date-sorted view, which the journal keeps current.
  static SuiiShisanMonthlySums postShiwakeArray(const MyDocument& document);

  // n: the months of the term; every account has n + 1 month figures.
  int32_t numberOfMonth() const { return numberOfMonth_; }

  // The figures of an account in a division; every figure reads 0 for an account
  // or division that has none.
  int64_t kaishiZandaka(const Kamoku& kamoku, int32_t jigyoubuCode) const { return cell(kamoku, jigyoubuCode)[0]; }
  // The movement within month index m (0..n).
  int64_t taisyakuBalance(const Kamoku& kamoku, int32_t monthIndex, int32_t jigyoubuCode) const
  {
    return cell(kamoku, jigyoubuCode)[1 + static_cast<size_t>(monthIndex)];
  }
  // The balance at the end of month index m (0..n).
  int64_t syuuryouZandaka(const Kamoku& kamoku, int32_t monthIndex, int32_t jigyoubuCode) const
  {
    return cell(kamoku, jigyoubuCode)[2 + static_cast<size_t>(numberOfMonth_) + static_cast<size_t>(monthIndex)];
  }
  // Whether some month's movement is not 0.
  bool hasTaisyakuBalance(const Kamoku& kamoku, int32_t jigyoubuCode) const;

  // The figures of one account and division in one block: the opening balance, the
  // n + 1 movements, then the n + 1 month-end balances.
  std::span<const int64_t> cell(const Kamoku& kamoku, int32_t jigyoubuCode) const;

private:
  size_t cellSize() const { return 3 + 2 * static_cast<size_t>(numberOfMonth_); }

  int32_t numberOfMonth_ = 0;
  std::unordered_map<const Kamoku*, size_t> indexOfKamoku_;
  size_t accountCount_ = 0;
  // Division code (-1..99) to its column; -1 when the division has none.
  std::vector<int32_t> columnOfCode_ = std::vector<int32_t>(101, -1);
  // Columns of other division codes, looked up in order.
  std::vector<std::pair<int32_t, int32_t>> otherColumns_;
  // Column c, account a: figures_[(c * accountCount_ + a) * cellSize()].
  std::vector<int64_t> figures_;
  std::vector<int64_t> zeros_;
};

}  // namespace kivo
