// Document files made by hand for tests and benchmarks of the reader: a valid header
// and checksum around whatever body a test wants, or a real document with one section
// exchanged. The reader then meets the crafted bytes past the checksum, as it would
// a file made on purpose.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kivo::test {

// The header of that format version (size and checksum of the body), then the body.
std::string fileWithBody(std::string_view body, uint32_t formatVersion);

// The document file with the bytes of one section replaced.
std::string fileWithSection(std::string_view file, std::string_view key, std::string_view bytes);

// The body of the document file with the section of `key` put last and declared
// `length` bytes long, of which only the first, `start`, is given: the rest is the
// caller's to write after the body.
std::string bodyEndingInSection(std::string_view file, std::string_view key, std::string_view start, uint64_t length);

// Writes at `path` a document file whose body is `head`, then `zeros` zero bytes (a
// hole in the file, taking no disk), then `tail`, its header's size and checksum
// holding: gigabytes made on purpose, in milliseconds.
void writeFileAroundZeros(const std::string& path, std::string_view head, uint64_t zeros, std::string_view tail = {},
                          uint32_t formatVersion = 3);

// Writes at `path` a document file whose body is what `body` gives to `put`, piece by
// piece as it makes it, its header's size and checksum holding: a body of real bytes
// larger than a test would keep in memory.
using BodyPut = std::function<void(std::string_view)>;
void writeFileStreamed(const std::string& path, const std::function<void(const BodyPut& put)>& body,
                       uint32_t formatVersion = 3);

// A document file whose accounts and sub-accounts hold `count` opening balances in
// all: every account of a generated chart is a balance-sheet account carried forward
// as it stands and has sub-accounts 00 to 98, and each list
// in turn gets a balance for the divisions 0 to 98, of which the document has only 1
// to 3; the balances count 1, 2, 3, ... With repeatDivision the first account's list
// instead names division 0 `count` times, which no program writes.
std::string fileWithOpeningBalances(size_t count, bool repeatDivision = false);

}  // namespace kivo::test
