// Writes the rows a ledger window shows to a text file: nine fields a row (date,
// the other side's account, sub-account and division, description, own division,
// debit, credit, balance), a carriage return after each row, in the file's encoding
// and with the separator of the journal text file.
//
// Names are quoted only when they hold the separator or a double quote, an empty
// name is the empty pair, descriptions and titles are always quoted (inner quotes
// doubled). Text the encoding cannot hold stops the export naming the row.
#pragma once

#include <string>
#include <vector>

#include "journal/Motocyou.h"
#include "journal/ShiwakeTextWriter.h"

namespace kivo {

class KanjyoumotocyouTextWriter {
public:
  using Result = ShiwakeTextWriter::Result;

  KanjyoumotocyouTextWriter(const MyDocument& document, ShiwakeTextWriter::Kugiri kugiri)
      : document_(document), sep_(kugiri == ShiwakeTextWriter::Kugiri::Tab ? '\t' : ',')
  {
  }

  // The bytes of the rows; an Unencodable result names the row (from 1) in denpyouNo.
  Result encode(const std::vector<Motocyou>& rows, const ShiwakeTextWriter::Encoder& encoder,
                const ShiwakeTextWriter::ContinuePoll& shouldContinue, std::string& data) const;
  Result write(const std::vector<Motocyou>& rows, const std::string& path, const ShiwakeTextWriter::Encoder& encoder,
               const ShiwakeTextWriter::ContinuePoll& shouldContinue) const;

private:
  const MyDocument& document_;
  char sep_;
};

}  // namespace kivo
