// Document files made by hand for tests and benchmarks of the reader: a valid header
// and checksum around whatever body a test wants, and one section of a real document
// exchanged for other bytes. The reader then meets the crafted bytes past the checksum,
// as it would a file made on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kivo::test {

class CraftedDocumentFile {
public:
  // The sections of a document file in their order: (key, bytes).
  using Sections = std::vector<std::pair<std::string, std::string>>;

  explicit CraftedDocumentFile(std::string_view file);

  // The header (given version, the body's size and checksum) followed by the body.
  static std::string fileWithBody(std::string_view body, uint32_t formatVersion);

  Sections& sections() { return sections_; }
  std::string& section(std::string_view key);
  // Replaces the first occurrence of `find` in the section; false when it is not there.
  bool replaceInSection(std::string_view key, std::string_view find, std::string_view replacement);
  // The file again, with a header that matches the body.
  std::string file() const;

  uint32_t formatVersion = 0;

private:
  std::string bodyClass_;
  int32_t bodyVersion_ = 0;
  Sections sections_;
};

}  // namespace kivo::test

namespace kivo::test {

// A document file whose first account holds `count` opening balances, one for each of
// the division codes 1000, 1001, ... (with `repeatDivision` every one of them for
// division 1000).
std::string fileWithOpeningBalances(size_t count, bool repeatDivision = false);

}  // namespace kivo::test
