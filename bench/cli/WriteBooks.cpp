// kivo_write_books KIND FILE: writes the books the benchmarks use to a document file,
// so that a whole process (kivo_trial_balance, the application) can be timed on them
// by hand. KIND "imported": a user's imported year, the journal in two date-ordered
// runs as earlier versions stored it; "year": the generated year of 99,999 vouchers.
#include <cstdio>
#include <cstring>

#include "document/DocumentFile.h"
#include "support/TestDocuments.h"

int main(int argc, char** argv)
{
  using namespace kivo;
  const bool imported = argc == 3 && std::strcmp(argv[1], "imported") == 0;
  if (argc != 3 || (!imported && std::strcmp(argv[1], "year") != 0)) {
    std::fprintf(stderr, "usage: %s imported|year FILE\n", argv[0]);
    return 2;
  }
  std::unique_ptr<MyDocument> doc;
  if (imported) {
    doc = test::makeImportedBooks({.cashBookEntriesFirst = true});
  } else {
    test::GeneratedBooksSize size;
    size.shiwakeCount = 139000;
    size.denpyouCount = 99999;
    doc = test::makeGeneratedBooks(size);
  }
  const DocumentFile::Result r = DocumentFile::writeToFile(*doc, argv[2]);
  if (!r.ok()) {
    std::fprintf(stderr, "%s (%s)\n", r.message.c_str(), r.detail.c_str());
    return 1;
  }
  std::printf("%s: %zu entries\n", argv[2], doc->journal().size());
  return 0;
}
