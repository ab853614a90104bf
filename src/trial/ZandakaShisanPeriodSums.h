// The trial balance's period sums: the document's journal posted, per account,
// sub-account and division, into an opening balance, a debit total, a credit total
// and a closing balance for one run of months of the term.
//
// A value: post() reads the document (const) and returns the sums; the section
// builders take them as an argument. Nothing is written into the accounts. Whoever
// keeps one for reuse keys it on the period and the document's reportDataGeneration
// (ZandakaShisanAssembly does).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "model/Date.h"

namespace kivo {

class Kaisya;
class MyDocument;

class ZandakaShisanPeriodSums {
public:
  struct Period {
    Date startDate;
    Date endDate;
    bool operator==(const Period&) const = default;
  };

  // The sums of one account or sub-account in one division column. The closing
  // balance of the term (endBalance) is the carry-forward's figure; the posting
  // leaves it 0.
  struct Sums {
    int64_t kaishiZandaka = 0;
    int64_t karikataGoukei = 0;
    int64_t kashikataGoukei = 0;
    int64_t syuuryouZandaka = 0;
    int64_t endBalance = 0;
    bool isZero() const
    {
      return !kaishiZandaka && !karikataGoukei && !kashikataGoukei && !syuuryouZandaka && !endBalance;
    }
  };

  // The dates of a run of month indexes into the company's monthArray; the index
  // equal to the number of months (and any index beyond it) is the
  // closing-adjustment month, whose date sorts after every real date.
  static Period periodOfMonthIndexes(const Kaisya& kaisya, int32_t periodFrom, int32_t periodTo);

  // The sums of every account, inactive ones included, and of every sub-account for
  // the period: opening balances per division, then every registered entry up to the
  // end date (entries before the start go into the opening balances), then the
  // company column (99) as the sum of every other division column. Amounts beyond
  // the company's maxOutputAmountValue stop changing, as the capped sums do.
  // didPost, when given, is told the entries of the sorted journal walked so far and
  // their number, before the first and after every fourth, for a progress bar.
  using DidPost = std::function<void(size_t done, size_t total)>;
  static ZandakaShisanPeriodSums post(const MyDocument& document, const Period& period, const DidPost& didPost = {});

  // No sums: every figure reads 0.
  ZandakaShisanPeriodSums() = default;

  // The sums of an account (or a sub-account) in a division: 99 the whole company,
  // -1 the entries without a division. Zeros for an account, sub-account or
  // division that has none.
  const Sums& ofKamoku(int32_t kamokuCode, int32_t jigyoubuCode) const;
  const Sums& ofHojyoKamoku(int32_t kamokuCode, int32_t hojyoKamokuCode, int32_t jigyoubuCode) const;
  // The division codes that have figures, in the order they were met: the active
  // divisions first, then every other code an opening balance or an entry named
  // (inactive divisions, divisions the document lacks, -1 for entries without one),
  // and 99 last.
  const std::vector<int32_t>& jigyoubuCodes() const { return columnCodes_; }
  // Sets an account's sums in a division, for sums made by hand.
  void setSumsOfKamoku(int32_t kamokuCode, int32_t jigyoubuCode, const Sums& sums);

private:
  // The figures of one division column, by line (an account, or a sub-account line),
  // in pages made when a line of theirs is first written: a column costs what its
  // figures fill, so that opening balances of a hundred divisions the document lacks
  // do not each cost a copy of the whole chart.
  class Lines {
  public:
    explicit Lines(size_t count = 0);
    Lines(const Lines& other);
    Lines& operator=(const Lines& other);
    Lines(Lines&&) noexcept = default;
    Lines& operator=(Lines&&) noexcept = default;

    size_t size() const { return count_; }
    Sums& at(size_t line);
    const Sums& get(size_t line) const;
    // Calls f(line, sums) for every line of the pages made, in line order.
    template <class F>
    void forEach(F&& f) const;
    // A new zero line before `line`.
    void insert(size_t line);

  private:
    static constexpr size_t kPageLines = 64;
    using Page = std::array<Sums, kPageLines>;
    size_t count_ = 0;
    std::vector<std::unique_ptr<Page>> pages_;
  };

  int32_t indexOfKamoku(int32_t kamokuCode) const;
  int32_t columnOf(int32_t jigyoubuCode) const;

  // Every account by code (inactive ones too) and, per account, where its
  // sub-accounts' sums start among the sub-account sums (-1: none) and how many
  // codes from 0 they cover.
  std::vector<int32_t> kamokuCodes_;
  std::vector<int32_t> hojyoBase_;
  std::vector<int32_t> hojyoCount_;
  // Per division code, the accounts' sums and the sub-accounts' sums.
  std::vector<int32_t> columnCodes_;
  std::vector<Lines> kamokuSums_;
  std::vector<Lines> hojyoKamokuSums_;
};

}  // namespace kivo
