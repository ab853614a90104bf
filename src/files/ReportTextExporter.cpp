#include "files/ReportTextExporter.h"

#include <cstring>

#include "files/SafeFileWriter.h"

namespace kivo {
namespace {

// The length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
size_t utf8Length(unsigned char c)
{
  if (c >= 0xF0 && c <= 0xF7) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}

// The first character of the field that the encoder refuses on its own.
std::string firstUnencodableCharacter(std::string_view field, const ReportTextExporter::Encoder& encoder)
{
  size_t i = 0;
  std::string scratch;
  while (i < field.size()) {
    const size_t n = std::min(utf8Length(static_cast<unsigned char>(field[i])), field.size() - i);
    const std::string_view ch = field.substr(i, n);
    scratch.clear();
    if (!encoder(ch, scratch)) return std::string(ch);
    i += n;
  }
  return std::string();
}

}  // namespace

std::string ReportTextExporter::quoted(const std::string& field) const
{
  if (kugiri_ != Kugiri::Comma || field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

ReportTextExporter::Result ReportTextExporter::encodeLines(const std::vector<std::vector<std::string>>& lines,
                                                           const Encoder& encoder, const ContinuePoll& shouldContinue,
                                                           std::string& data) const
{
  data.clear();
  Result result;
  const char separator = kugiri_ == Kugiri::Tab ? '\t' : ',';
  for (size_t l = 0; l < lines.size(); ++l) {
    if (shouldContinue && !shouldContinue()) {
      data.clear();
      result.status = Result::Status::Cancelled;
      return result;
    }
    const std::vector<std::string>& fields = lines[l];
    for (size_t f = 0; f < fields.size(); ++f) {
      if (f > 0) data += separator;
      const size_t mark = data.size();
      if (!encoder(quoted(fields[f]), data)) {
        data.resize(mark);
        result.status = Result::Status::Unencodable;
        result.lineNumber = static_cast<int32_t>(l + 1);
        result.text = fields[f];
        result.character = firstUnencodableCharacter(fields[f], encoder);
        result.message = std::to_string(l + 1) + "行目の「" + fields[f] + "」に、Shift-JIS で書き出せない文字「" +
                         result.character + "」があります。書き出しを中止しました。";
        data.clear();
        return result;
      }
    }
    data += '\r';
  }
  return result;
}

ReportTextExporter::Result ReportTextExporter::writeLines(const std::vector<std::vector<std::string>>& lines,
                                                          const std::string& path, const Encoder& encoder,
                                                          const ContinuePoll& shouldContinue) const
{
  std::string data;
  Result result = encodeLines(lines, encoder, shouldContinue, data);
  if (!result.ok()) return result;
  return writeData(path, data);
}

ReportTextExporter::Result ReportTextExporter::writeData(const std::string& path, std::string_view data)
{
  Result result;
  SafeFileWriter out(path, &isExportText);
  if (!out.open() || !out.write(data) || !out.commit()) {
    result.status = Result::Status::WriteFailed;
    result.message = "ファイル「" + path + "」に書き出せませんでした（" + out.reason() + "）。";
  }
  return result;
}

bool ReportTextExporter::isExportText(std::string_view head)
{
  bool lineEnded = false;
  for (const char c : head) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\r')
      lineEnded = true;
    else if ((byte < 0x20 && byte != '\t') || byte == 0x7F)
      return false;
  }
  return head.empty() || lineEnded;
}

}  // namespace kivo
