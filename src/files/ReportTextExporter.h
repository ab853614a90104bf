// Report text files: the rows a report window shows, one line of fields per row,
// written so a spreadsheet can read them.
//
// Fields are joined by a tab or a comma, every line ends with a single carriage
// return (the last one too), and every field is converted to Shift-JIS (Windows
// code page 932) on its own by the encoder the caller passes in. In comma mode a
// field holding a comma, a double quote or a line break is quoted, inner quotes
// doubled. A field the code page cannot hold stops the export with a message that
// names the line and the text; nothing is written then. The file is written through
// SafeFileWriter, so a failed or cancelled export never leaves a half-written file,
// and a failed write is reported; what a killed export left is known by its content.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

class ReportTextExporter {
public:
  enum class Kugiri { Tab, Comma };
  // The separator of the save sheet's choice (the "Export Text Kugiri Code"
  // setting): 0 is the tab, anything else the comma.
  static Kugiri kugiriOfCode(int32_t kugiriCode) { return kugiriCode == 0 ? Kugiri::Tab : Kugiri::Comma; }

  // Converts one UTF-8 field into the file's bytes (appended to out); false when
  // the field holds a character the encoding cannot represent.
  using Encoder = std::function<bool(std::string_view utf8, std::string& out)>;
  // Polled once per line; false cancels the export.
  using ContinuePoll = std::function<bool()>;

  struct Result {
    enum class Status { Written, Cancelled, Unencodable, WriteFailed };
    Status status = Status::Written;
    int32_t lineNumber = 0;  // Unencodable: the line, counted from 1
    std::string text;        // Unencodable: the field's text
    std::string character;   // Unencodable: the first character that failed
    std::string message;     // for the user; empty when written or cancelled
    bool ok() const { return status == Status::Written; }
  };

  explicit ReportTextExporter(Kugiri kugiri) : kugiri_(kugiri) {}

  // The bytes of the lines; stops at the first field that cannot be encoded (the
  // result says where) or when the poll answers false.
  Result encodeLines(const std::vector<std::vector<std::string>>& lines, const Encoder& encoder,
                     const ContinuePoll& shouldContinue, std::string& data) const;
  // Encodes the lines and writes them to the file, replacing it.
  Result writeLines(const std::vector<std::vector<std::string>>& lines, const std::string& path, const Encoder& encoder,
                    const ContinuePoll& shouldContinue) const;
  // Writes bytes already encoded to the file, replacing it; a failure is WriteFailed
  // with a message.
  static Result writeData(const std::string& path, std::string_view data);
  // Whether head, the first bytes of a file, is what a killed export may have left: no
  // bytes yet, or lines of text ended by a carriage return alone, with no control
  // character but the tab. A note typed here ends its lines with a line feed.
  static bool isExportText(std::string_view head);

private:
  std::string quoted(const std::string& field) const;

  Kugiri kugiri_;
};

}  // namespace kivo
