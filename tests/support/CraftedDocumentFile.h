// Document files made by hand for tests and benchmarks of the reader: a valid header
// and checksum around whatever body a test wants, or a real document with one section
// exchanged. The reader then meets the crafted bytes past the checksum, as it would
// a file made on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kivo::test {

// The header of that format version (size and checksum of the body), then the body.
std::string fileWithBody(std::string_view body, uint32_t formatVersion);

// The document file with the bytes of one section replaced.
std::string fileWithSection(std::string_view file, std::string_view key, std::string_view bytes);

// A document file whose first account holds `count` opening balances, for the
// divisions 1000, 1001, ... (with repeatDivision every one of them for division 1000).
std::string fileWithOpeningBalances(size_t count, bool repeatDivision = false);

}  // namespace kivo::test
