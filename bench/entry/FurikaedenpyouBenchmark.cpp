// Registering one transfer voucher into a year of books (100,000 journal entries),
// with the voucher check and the document's refresh protocol, no windows open.
#include <benchmark/benchmark.h>

#include "entry/FurikaedenpyouRegistrar.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

using Row = FurikaedenpyouRow;

std::unique_ptr<MyDocument> yearOfBooks()
{
  test::GeneratedBooksSize size;
  size.shiwakeCount = 100000;
  return test::makeGeneratedBooks(size);
}

// A three-row voucher in the middle of the term: two debit rows, one credit row.
void fillVoucher(Furikaedenpyou& v, Date date)
{
  v.renewDenpyouRows(3);
  auto side = [&](int r, const Row::Side& s, int32_t kamoku, int64_t amount) {
    v.setCell(r, s.kamoku, FieldValue::code(kamoku));
    v.setCell(r, s.kingaku, FieldValue::amount(amount));
    v.setCell(r, s.jigyoubu, FieldValue::code(1));
  };
  for (int r = 0; r < 3; ++r) v.setCell(r, Row::DateMatrix, FieldValue::date(date));
  side(0, Row::kKarikata, 101, 700);
  side(0, Row::kKashikata, 103, 1000);
  side(1, Row::kKarikata, 105, 300);
  v.setCell(0, Row::KarikataHojyoKamokuMatrix, FieldValue::code(1));
  v.setCell(0, Row::KashikataHojyoKamokuMatrix, FieldValue::code(1));
  v.setCell(1, Row::KarikataHojyoKamokuMatrix, FieldValue::code(1));
  v.setCell(0, Row::TekiyouMatrix, FieldValue::text("ベンチマーク"));
  v.setDoesNeedToSetDenpyouToShiwakeArray(true);
}

void BM_RegisterNewFurikaedenpyou(benchmark::State& state)
{
  auto doc = yearOfBooks();
  const Date date = doc->kaisya().monthArray()[6].startDate();
  Furikaedenpyou v(*doc);
  for (auto _ : state) {
    v.displayShiwakeOfDenpyouNo(doc->kaisya().minAvailableDenpyouNo());
    fillVoucher(v, date);
    if (!v.isDenpyouAbleToSetShiwakeArray()) state.SkipWithError("voucher check failed");
    FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
  }
  state.counters["entries"] = static_cast<double>(doc->journal().size());
}
BENCHMARK(BM_RegisterNewFurikaedenpyou)->Unit(benchmark::kMillisecond);

void BM_RegisterEditedFurikaedenpyou(benchmark::State& state)
{
  auto doc = yearOfBooks();
  Furikaedenpyou v(*doc);
  const int32_t n = 25000;  // a voucher in the middle of the journal
  for (auto _ : state) {
    v.displayShiwakeOfDenpyouNo(n);
    v.setCell(0, Row::TekiyouMatrix, FieldValue::text("訂正"));
    v.setDoesNeedToSetDenpyouToShiwakeArray(true);
    if (!v.isDenpyouAbleToSetShiwakeArray()) state.SkipWithError("voucher check failed");
    FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
  }
}
BENCHMARK(BM_RegisterEditedFurikaedenpyou)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivo
