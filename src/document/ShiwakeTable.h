// The journal as the document file stores it from format version 2 on: one table of
// packed fixed-width records and a table of the strings they name.
//
//   record header "ShiwakeTable" v0
//   u32 field count (22) | one byte per field: its width in bytes (1 to 8)
//   u32 string count | u32 length of each string | the strings' bytes
//   u32 entry count | the records, each field little-endian in its width
//
// A field's width is the fewest bytes that hold every value of that field in the
// journal (sign-extended on reading), so a year of three-digit account codes takes
// two bytes a code. Dates are day numbers; the description and the change reason are
// indexes into the string table, which holds each text once (the empty text first).
// Counts and widths are checked against the bytes that remain before anything is
// allocated, and every value against its field's range.
//
// This class and DocumentFile are the only code that moves journal entries between
// the file and the document.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/LargeBlockAllocator.h"
#include "model/Shiwake.h"

namespace kivo {

class ArchiveReader;
class ArchiveWriter;

class ShiwakeTable {
public:
  // The entries of a table, made in one allocation.
  using Block = std::vector<Shiwake, LargeBlockAllocator<Shiwake>>;

  static void encode(const std::vector<ShiwakePtr>& entries, ArchiveWriter& out);
  // The entries of the table; false (and the reason in detail) when the bytes are not
  // a whole, valid table. The block holds no view of the bytes.
  static bool decode(std::string_view bytes, std::shared_ptr<Block>& out, std::string* detail);
  // The same from a reader that holds the table's bytes (the records are read in one
  // view); the table must fill the reader.
  static bool decode(ArchiveReader& in, std::shared_ptr<Block>& out, std::string* detail);
  // Whether decode would accept the table that fills the reader, read a block at a
  // time and making no entries: a table read from a file is checked holding one block
  // of it. highestDenpyouNo: the highest voucher number of the table's entries (0 when
  // none is above 0).
  static bool check(ArchiveReader& in, std::string* detail, int32_t* highestDenpyouNo);
  // The block's entries in order, each pointer sharing the block's ownership, so that
  // the block lives as long as any of its entries.
  static std::vector<ShiwakePtr> entriesOf(const std::shared_ptr<Block>& block);
};

}  // namespace kivo
