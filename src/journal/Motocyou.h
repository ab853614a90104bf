// One row of a general ledger (総勘定元帳) or sub ledger (補助元帳).
//
// indexOfSortedShiwakeArray tells the kind: 0 or more, the row shows the entry at
// that position of the document's date-sorted journal (its amounts, date,
// description and other side are read from the entry) and carries the running
// balance after it; negative values are the other kinds below.
//
// Balances and the sums of total rows are capped: each changes only while it lies
// within plus or minus the company's maxOutputAmountValue, so a value that has left
// that range stays beyond it. Every reader shows such a value as "#Precision!"
// (Kaisya::outputStringOfMemoryKingaku), sums as well as balances.
#pragma once

#include <cstdint>
#include <string>

namespace kivo {

class Motocyou {
public:
  static constexpr int32_t kHeadingRow = -1;  // heading of a printed page
  static constexpr int32_t kBalanceRow = -2;  // "開始残高", or the balance carried to the next page
  static constexpr int32_t kTotalRow = -3;    // a month's total or the final total

  Motocyou() = default;

  // The ledger the row belongs to; sub-account -1 for a general ledger.
  int32_t motocyouKamokuCode() const { return motocyouKamokuCode_; }
  void setMotocyouKamokuCode(int32_t v) { motocyouKamokuCode_ = v; }
  int32_t motocyouHojyoKamokuCode() const { return motocyouHojyoKamokuCode_; }
  void setMotocyouHojyoKamokuCode(int32_t v) { motocyouHojyoKamokuCode_ = v; }
  int32_t indexOfSortedShiwakeArray() const { return indexOfSortedShiwakeArray_; }
  void setIndexOfSortedShiwakeArray(int32_t v) { indexOfSortedShiwakeArray_ = v; }
  // Text of a balance or total row; empty on entry rows.
  const std::string& title() const { return title_; }
  void setTitle(const std::string& v) { title_ = v; }
  // Debit and credit sums of a total row; 0 on other rows.
  int64_t karikataKingaku() const { return karikataKingaku_; }
  void setKarikataKingaku(int64_t v) { karikataKingaku_ = v; }
  int64_t kashikataKingaku() const { return kashikataKingaku_; }
  void setKashikataKingaku(int64_t v) { kashikataKingaku_ = v; }
  // Running balance after a balance or entry row; 0 on total rows.
  int64_t zandaka() const { return zandaka_; }
  void setZandaka(int64_t v) { zandaka_ = v; }

  // What the row is, as indexOfSortedShiwakeArray tells it.
  enum class Kind { Shiwake, Heading, Balance, Total };
  Kind kind() const
  {
    switch (indexOfSortedShiwakeArray_) {
    case kHeadingRow: return Kind::Heading;
    case kBalanceRow: return Kind::Balance;
    case kTotalRow: return Kind::Total;
    default: return Kind::Shiwake;
    }
  }
  bool isShiwakeRow() const { return indexOfSortedShiwakeArray_ >= 0; }
  // Balance, total and heading rows: the rows a report table tints.
  bool isTotalRow() const { return indexOfSortedShiwakeArray_ < 0; }

private:
  int32_t motocyouKamokuCode_ = 0;
  int32_t motocyouHojyoKamokuCode_ = 0;
  int32_t indexOfSortedShiwakeArray_ = 0;
  std::string title_;
  int64_t karikataKingaku_ = 0;
  int64_t kashikataKingaku_ = 0;
  int64_t zandaka_ = 0;
};

}  // namespace kivo
