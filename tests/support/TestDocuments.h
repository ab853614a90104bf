// Documents built in code for tests and benchmarks.
#pragma once

#include <memory>

#include "document/MyDocument.h"

namespace kivo::test {

struct GeneratedBooksSize {
  int shiwakeCount = 1000;
  int kamokuCount = 300;
  int jigyoubuCount = 5;
  int hojyoKamokuCount = 50;
  int denpyouCount = 0;  // vouchers the entries are numbered into (0: two entries a voucher)
};

// A synthetic chart (flat categories of numbered accounts), divisions, sub-accounts
// and a year of journal entries spread over the term, in date order.
std::unique_ptr<MyDocument> makeGeneratedBooks(const GeneratedBooksSize& size, unsigned seed = 1);

// A small document holding one of every kind of record: divisions, sub-accounts,
// opening balances for divisions and for 99, descriptions in groups, entries of every
// kind, bookmarks, change reasons, menu items and a company with every setting.
std::unique_ptr<MyDocument> makeDocumentWithEveryRecord();

}  // namespace kivo::test
