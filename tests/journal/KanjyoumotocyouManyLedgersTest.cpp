#include <gtest/gtest.h>

#include "document/MyDocument.h"
#include "journal/Kanjyoumotocyou.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

std::string describe(const Motocyou& m)
{
  return std::to_string(m.motocyouKamokuCode()) + "/" + std::to_string(m.motocyouHojyoKamokuCode()) + " " +
         std::to_string(m.indexOfSortedShiwakeArray()) + " " + m.title() + " " + std::to_string(m.karikataKingaku()) +
         " " + std::to_string(m.kashikataKingaku()) + " " + std::to_string(m.zandaka());
}

// Building many ledgers at once gives each exactly the rows it has when built alone,
// whatever the period: general and sub ledgers, repeated and unknown accounts, an
// entry with both sides in one account, amounts that leave the output limit.
TEST(KanjyoumotocyouManyLedgers, EveryLedgerHasTheRowsItHasAloneAndEmptyOnesAreLeftOutOfAPrintout)
{
  test::GeneratedBooksSize size;
  size.shiwakeCount = 3000;
  size.kamokuCount = 40;
  size.hojyoKamokuCount = 12;
  auto doc = test::makeGeneratedBooks(size, 7);
  const auto& all = doc->journal().entries();
  all[10]->setKashikataKamokuCode(all[10]->karikataKamokuCode());
  all[20]->setKarikataKingaku(Kaisya::kMaxOutputAmountValue);
  all[21]->setKarikataKingaku(Kaisya::kMaxOutputAmountValue);
  all[21]->setKarikataKamokuCode(all[20]->karikataKamokuCode());
  all[30]->setDenpyouNo(0);

  std::vector<Kanjyoumotocyou::KamokuCodes> codes;
  for (const KamokuPtr& k : doc->codeSortedKamokuArray()) {
    codes.push_back({k->code(), -1});
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray()) codes.push_back({k->code(), h->code()});
  }
  codes.push_back({codes.front().kamokuCode, -1});  // the same ledger twice
  codes.push_back({-1, -1});                        // skipped
  codes.push_back({998, -1});                       // no such account
  const int32_t months = static_cast<int32_t>(doc->kaisya().monthArray().size());
  const std::pair<int32_t, int32_t> periods[] = {{0, months}, {3, 5}, {months, months}, {0, 0}};
  for (const auto& [from, to] : periods) {
    std::vector<Motocyou> together;
    ASSERT_TRUE(Kanjyoumotocyou::setKanjyoumotocyouArray(*doc, together, codes, from, to));
    std::vector<std::string> expected;
    for (const auto& c : codes)
      for (const Motocyou& m : Kanjyoumotocyou::motocyouArray(*doc, c.kamokuCode, c.hojyoKamokuCode, from, to))
        expected.push_back(describe(m));
    std::vector<std::string> got;
    for (const Motocyou& m : together) got.push_back(describe(m));
    EXPECT_EQ(got, expected) << from << "-" << to;
  }

  // Ledgers with nothing to show are left out of a printout.
  const auto make = [](int32_t kamoku, int32_t index, int64_t zandaka) {
    Motocyou m;
    m.setMotocyouKamokuCode(kamoku);
    m.setIndexOfSortedShiwakeArray(index);
    m.setZandaka(zandaka);
    return m;
  };
  const int32_t O = Motocyou::kBalanceRow;
  const int32_t T = Motocyou::kTotalRow;
  std::vector<Motocyou> rows = {
      make(1, O, 0),   make(1, T, 0),                  // nothing: left out
      make(2, O, 500), make(2, T, 0),                  // an opening balance: kept
      make(3, O, 0),   make(3, 7, 10), make(3, T, 0),  // an entry: kept
      make(4, O, 0),   make(4, T, 0),                  // nothing: left out
  };
  Kanjyoumotocyou::removeLedgersWithoutTorihiki(rows);
  std::vector<int32_t> kamoku;
  for (const Motocyou& m : rows) kamoku.push_back(m.motocyouKamokuCode());
  EXPECT_EQ(kamoku, (std::vector<int32_t>{2, 2, 3, 3, 3}));
}

}  // namespace
}  // namespace kivo
