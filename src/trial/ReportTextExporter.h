// Report text files: the rows a report window shows, one line per row, written so
// a spreadsheet can read them.
//
// Fields are joined by a tab or a comma, every line ends with a single carriage
// return (the last one too), and every field is converted to Shift-JIS (Windows
// code page 932) on its own by the encoder the caller passes in. In comma mode a
// field holding a comma, a double quote or a line break is quoted, inner quotes
// doubled. A field the code page cannot hold stops the export with a message that
// names the line and the text; nothing is written then. The file is written to a
// temporary file beside the target and renamed over it, so a failed or cancelled
// export never leaves a half-written file, and a failed write is reported.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

class Kaisya;
class Shisan;

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

  ReportTextExporter(const Kaisya& kaisya, Kugiri kugiri) : kaisya_(kaisya), kugiri_(kugiri) {}

  // --- fields, as UTF-8 text
  // An amount: empty for a heading row; "#Precision!" beyond the output limit;
  // else the amount without grouping, with the company's decimals.
  std::string amountField(const Shisan& row, int64_t amount) const;
  // The percent with two decimals; empty for a heading row or an invalid percent.
  std::string percentField(const Shisan& row) const;
  // The trial balance's six fields: title, opening, debit, credit, closing, percent.
  std::vector<std::string> zandakaShisanFields(const Shisan& row) const;
  std::vector<std::vector<std::string>> zandakaShisanLines(const std::vector<Shisan>& rows) const;

  // --- lines to bytes to a file
  // The bytes of the lines; stops at the first field that cannot be encoded (the
  // result says where) or when the poll answers false.
  Result encodeLines(const std::vector<std::vector<std::string>>& lines, const Encoder& encoder,
                     const ContinuePoll& shouldContinue, std::string& data) const;
  // Encodes the lines and writes them to the file, replacing it.
  Result writeLines(const std::vector<std::vector<std::string>>& lines, const std::string& path, const Encoder& encoder,
                    const ContinuePoll& shouldContinue) const;
  // The trial balance section's rows to the file.
  Result writeZandakaShisan(const std::vector<Shisan>& rows, const std::string& path, const Encoder& encoder,
                            const ContinuePoll& shouldContinue) const
  {
    return writeLines(zandakaShisanLines(rows), path, encoder, shouldContinue);
  }

  // Writes the bytes to a new file beside the target and renames it over the
  // target; on failure the target is untouched and *error says why.
  static bool writeFileAtomically(const std::string& path, std::string_view data, std::string* error);

private:
  std::string quoted(const std::string& field) const;

  const Kaisya& kaisya_;
  Kugiri kugiri_;
};

}  // namespace kivo
