// The journal text file in code page 932: importing 139,000 lines into an empty
// document and into one that already holds 100,000 entries, and exporting 100,000
// entries (bytes in memory, the encoding included).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "journal/ShiwakeTextReader.h"
#include "journal/ShiwakeTextWriter.h"
#include "platform/ShiftJisEncoder.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

// A file of `lineCount` lines in `voucherCount` vouchers over the term: single-line
// vouchers first, then vouchers of several lines (a debit line per line, the credit
// on the last), with sub-accounts, divisions and Japanese descriptions.
std::string journalFile(int lineCount, int voucherCount)
{
  std::string text;
  text.reserve(static_cast<size_t>(lineCount) * 110);
  const int extra = lineCount - voucherCount;  // lines beyond one per voucher
  int line = 0;
  for (int v = 0; v < voucherCount; ++v) {
    const int day = v * 365 / voucherCount;
    const Date d = Date(2024, 4, 1).addingDays(day);
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", d.year(), d.month(), d.day());
    const int lines = 1 + extra / voucherCount + (v < extra % voucherCount ? 1 : 0);
    const std::string tekiyou = "\"㈱髙橋商店 ①" + std::to_string(v) + "\"";
    if (lines == 1) {
      text += std::string("1111\t\t") + date +
              "\t普通預金\tみずほ銀行\t本店\tunknown\t1200\t売上高\t\"\"\t支店\tunknown\t1200\t" + tekiyou +
              "\t3\t\t\t\t\t\t\t\t\t\r";
    } else {
      for (int j = 0; j < lines; ++j) {
        const char* flag = j == 0 ? "1110" : j + 1 == lines ? "1101" : "1100";
        const std::string credit = j + 1 == lines ? "現金\t\"\"\t本店\tunknown\t" + std::to_string(100 * (lines - 1))
                                                  : "\"\"\t\"\"\t\"\"\t\"\"\t";
        const std::string debit = j + 1 == lines ? "\"\"\t\"\"\t\"\"\t\"\"\t" : "消耗品費\t\"\"\t支店\tunknown\t100";
        text += std::string(flag) + "\t\t" + date + "\t" + debit + "\t" + credit + "\t" + tekiyou +
                "\t3\t\t\t\t\t\t\t\t\t\r";
      }
    }
    line += lines;
  }
  std::string bytes;
  if (!ShiftJisEncoder::encode(text, bytes) || line != lineCount) std::abort();
  return bytes;
}

std::unique_ptr<MyDocument> emptyBooks() { return test::makeBooks({.hojyoKamoku = true, .jigyoubu = true}); }

void importOrAbort(MyDocument& doc, const std::string& file)
{
  const ShiwakeTextReader::Result r = ShiwakeTextReader::importShiwake(doc, file, &ShiftJisEncoder::decode);
  if (!r.ok) {
    std::fprintf(stderr, "%s\n", r.message.c_str());
    std::abort();
  }
}

void BM_Import139000LinesIntoAnEmptyDocument(benchmark::State& state)
{
  // 99,999 vouchers: the counter's last number.
  static const std::string file = journalFile(139000, 99999);
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = emptyBooks();
    state.ResumeTiming();
    importOrAbort(*doc, file);
    benchmark::DoNotOptimize(doc->journal().size());
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Import139000LinesIntoAnEmptyDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Import139000LinesIntoADocumentOf100000Entries(benchmark::State& state)
{
  // The document's 100,000 entries take 50,000 numbers; the file's vouchers the rest.
  static const std::string held = journalFile(100000, 50000);
  static const std::string file = journalFile(139000, 49999);
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = emptyBooks();
    importOrAbort(*doc, held);
    state.ResumeTiming();
    importOrAbort(*doc, file);
    benchmark::DoNotOptimize(doc->journal().size());
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Import139000LinesIntoADocumentOf100000Entries)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Export100000Entries(benchmark::State& state)
{
  static const std::unique_ptr<MyDocument> doc = [] {
    auto d = emptyBooks();
    importOrAbort(*d, journalFile(100000, 50000));
    return d;
  }();
  const Journal::Entries shown = doc->journal().entries();
  const ShiwakeTextWriter writer(*doc, ShiwakeTextWriter::Kugiri::Tab, false);
  std::string data;
  for (auto _ : state) {
    if (!writer.encode(shown, ShiftJisEncoder::encoder(), {}, data).ok()) std::abort();
    benchmark::DoNotOptimize(data.size());
  }
}
BENCHMARK(BM_Export100000Entries)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace kivo
