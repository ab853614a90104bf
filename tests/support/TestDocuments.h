// Documents built in code for tests and benchmarks.
#pragma once

#include <memory>
#include <string>

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

// A journal text file in UTF-8 (encode it for code page 932 to write one), as the
// journal window exports a year of books: `lineCount` lines in `voucherCount`
// vouchers spread in date order over the term of makeBooks (2024/4/1 to 2025/3/31).
// Every `bookEvery`-th voucher (0: none) is a cash-book entry of 現金, a receipt or a
// payment; the others are transfer vouchers of one line or more (a debit line per
// line, the credit on the last), the lines beyond one a voucher spread evenly over
// them. Every side names a division (本店, 支店), 普通預金 a sub-account. The
// descriptions repeat every `tekiyouCount` vouchers (0: each voucher its own).
std::string makeJournalText(int lineCount, int voucherCount, int bookEvery = 0, int tekiyouCount = 0);

// A year of books as a user's import makes them: by default 99,999 vouchers (the
// counter's last number) of 138,959 lines, every third one a cash-book entry, with a
// thousand descriptions.
struct ImportedBooksSize {
  int lineCount = 138959;
  int voucherCount = 99999;
  int bookEvery = 3;
  int tekiyouCount = 1000;
  // The journal as earlier versions of the import stored it: the cash-book entries
  // first, then the voucher lines, each part in date order.
  bool cashBookEntriesFirst = false;
};

// The books of makeBooks with sub-accounts and divisions, and the file of
// makeJournalText imported into them (the text read as UTF-8).
std::unique_ptr<MyDocument> makeImportedBooks(const ImportedBooksSize& size = {});

// A small document holding one of every kind of record: divisions, sub-accounts,
// opening balances for divisions and for 99, descriptions in groups, entries of every
// kind, bookmarks, change reasons, menu items and a company with every setting.
std::unique_ptr<MyDocument> makeDocumentWithEveryRecord();

}  // namespace kivo::test
