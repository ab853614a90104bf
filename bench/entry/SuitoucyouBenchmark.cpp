// The cash book of 現金 in a year of books: a journal of 100,000 entries, 30,000 of
// which touch 現金. Opening the book (its rows, the pending row and every running
// balance) and registering one typed row there (with the balances from that row and
// the next pending row), as the window does them.
#include <benchmark/benchmark.h>

#include "entry/SuitoucyouRegistrar.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using Row = SuitoucyouRow;

constexpr int kShiwakeCount = 100000;
constexpr int kGenkinEvery = 10;  // 3 of every 10 entries touch 現金

// Entries spread over the term in date order: cash receipts and payments, and
// two-line vouchers between other accounts.
std::unique_ptr<MyDocument> yearOfBooks()
{
  auto doc = test::makeBooks();
  doc->kamokuOfCode(test::kGenkin)->setStartBalance(1'000'000, 99);
  const Date start = doc->kaisya().monthArray().front().startDate();
  std::vector<ShiwakePtr>& journal = doc->shiwakeArray();
  journal.reserve(kShiwakeCount + 1000);
  int32_t n = 1;
  for (int i = 0; i < kShiwakeCount; ++i) {
    const Date date = start.addingDays(i * 365 / kShiwakeCount);
    const int slot = i % kGenkinEvery;
    ShiwakePtr s;
    if (slot < 3) {
      const bool receipt = slot != 1;
      s = receipt ? test::makeEntry(date, n++, test::kGenkin, test::kUriagedaka, 1000 + i % 97, Shiwake::kSuitoucyou)
                  : test::makeEntry(date, n++, test::kShoumouhinhi, test::kGenkin, 800 + i % 89, Shiwake::kSuitoucyou);
      s->setAiteKarikataKamokuCode(s->karikataKamokuCode());
      s->setAiteKashikataKamokuCode(s->kashikataKamokuCode());
      s->setTekiyou("現金取引");
    } else {
      s = test::makeEntry(date, n, test::kShoumouhinhi, test::kUriagedaka, 500, Shiwake::kFurikaedenpyou);
      s->setAiteKarikataKamokuCode(test::kShoumouhinhi);
      s->setAiteKashikataKamokuCode(test::kUriagedaka);
      if (slot % 2 == 0) ++n;  // two lines per voucher
    }
    journal.push_back(std::move(s));
  }
  doc->kaisya().setMinAvailableDenpyouNo(n);
  return doc;
}

// What the window does when it opens the book.
void openBook(Suitoucyou& book)
{
  book.setSelectDenpyouNo(0);
  book.removeUnregisteredDenpyouNoFromShiwakeArray();
  if (book.displayShiwake()) SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, {});
  book.setZandakaMatrixCellsValue();
}

void BM_OpenGenkinSuitoucyou(benchmark::State& state)
{
  auto doc = yearOfBooks();
  for (auto _ : state) {
    Suitoucyou book(*doc, test::kGenkin, -1);
    openBook(book);
    benchmark::DoNotOptimize(book.row(book.numberOfSuitoucyouRows() - 2).zandaka);
  }
  Suitoucyou book(*doc, test::kGenkin, -1);
  openBook(book);
  state.counters["entries"] = static_cast<double>(doc->shiwakeArray().size());
  state.counters["rows"] = book.numberOfSuitoucyouRows();
}
BENCHMARK(BM_OpenGenkinSuitoucyou)->Unit(benchmark::kMillisecond);

// Typing a receipt into the pending last row and tabbing out of its amount: the row
// is registered, the balances recomputed from it, and a new pending row registered.
void BM_RegisterSuitoucyouRow(benchmark::State& state)
{
  auto doc = yearOfBooks();
  Suitoucyou book(*doc, test::kGenkin, -1);
  openBook(book);
  const Date date = doc->kaisya().monthArray().back().startDate();
  for (auto _ : state) {
    const int r = book.numberOfSuitoucyouRows() - 1;
    book.setStartRowWithInvalidZandaka(r);
    book.setCell(r, Row::DateMatrix, FieldValue::date(date));
    book.setCell(r, Row::AiteKamokuMatrix, FieldValue::code(test::kUriagedaka));
    book.setCell(r, Row::InKingakuMatrix, FieldValue::amount(1234));
    if (SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, {}) !=
        SuitoucyouRegistrar::Result::Registered)
      state.SkipWithError("row not registered");
    book.setZandakaMatrixCellsValue();
    book.insertSuitoucyouRow(r + 1);
    book.selectCell(r + 1, Row::DateMatrix);
    SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, {});
  }
  state.counters["entries"] = static_cast<double>(doc->shiwakeArray().size());
}
BENCHMARK(BM_RegisterSuitoucyouRow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivo
