// Writes journal entries to a journal text file: one line per entry, 24 fields, a
// carriage return after each line, every piece in the file's encoding.
//
// A voucher is written whole, once, however many of its lines are asked for; a
// name that holds the separator or a double quote is quoted (inner quotes doubled),
// other names are written as they are, and the description is always quoted. Text
// the encoding cannot hold stops the export with a message naming the entry;
// nothing is written then.
#pragma once

#include <cstdint>
#include <string>

#include "document/Journal.h"
#include "files/ReportTextExporter.h"

namespace kivo {

class MyDocument;

class ShiwakeTextWriter {
public:
  using Kugiri = ReportTextExporter::Kugiri;
  using Encoder = ReportTextExporter::Encoder;
  using ContinuePoll = ReportTextExporter::ContinuePoll;

  struct Result {
    // In the order of the shared exporter's statuses.
    enum class Status { Written, Cancelled, Unencodable, WriteFailed };
    Status status = Status::Written;
    int32_t denpyouNo = 0;  // Unencodable: the entry's voucher number
    std::string message;    // for the user; empty when written or cancelled
    bool ok() const { return status == Status::Written; }
    // The same, as the shared export sheet reports it.
    ReportTextExporter::Result reportResult() const
    {
      ReportTextExporter::Result r;
      r.status = static_cast<ReportTextExporter::Result::Status>(status);
      r.message = message;
      return r;
    }
  };

  // saveByLongLongKingaku: amounts as stored integers rather than with decimals.
  ShiwakeTextWriter(const MyDocument& document, Kugiri kugiri, bool saveByLongLongKingaku)
      : document_(document), sep_(kugiri == Kugiri::Tab ? '\t' : ','), saveByLongLongKingaku_(saveByLongLongKingaku)
  {
  }

  // The bytes of the entries (those the journal window shows, in its order).
  Result encode(const Journal::Entries& displayed, const Encoder& encoder, const ContinuePoll& shouldContinue,
                std::string& data) const;
  // Encodes and writes them to the file, replacing it only when everything was written.
  Result write(const Journal::Entries& displayed, const std::string& path, const Encoder& encoder,
               const ContinuePoll& shouldContinue) const;

private:
  const MyDocument& document_;
  char sep_;
  bool saveByLongLongKingaku_;
};

}  // namespace kivo
