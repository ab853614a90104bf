#include "trial/ReportTextExporter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "model/Kaisya.h"
#include "trial/Shisan.h"

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

bool writeAll(int fd, std::string_view data)
{
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

std::string ReportTextExporter::amountField(const Shisan& row, int64_t amount) const
{
  if (row.isHeadingRow()) return std::string();
  if (kaisya_.isOutputOverflow(amount)) return Kaisya::overFlowAmountValueString();
  return kaisya_.textFileStringOfMemoryKingaku(amount);
}

std::string ReportTextExporter::percentField(const Shisan& row) const
{
  if (row.isHeadingRow() || !row.isValidPercent()) return std::string();
  char text[64];
  std::snprintf(text, sizeof text, "%0.2f", row.percent());
  return text;
}

std::vector<std::string> ReportTextExporter::zandakaShisanFields(const Shisan& row) const
{
  return {row.title(),
          amountField(row, row.kaishiZandaka()),
          amountField(row, row.karikataGoukei()),
          amountField(row, row.kashikataGoukei()),
          amountField(row, row.syuuryouZandaka()),
          percentField(row)};
}

std::vector<std::vector<std::string>> ReportTextExporter::zandakaShisanLines(const std::vector<Shisan>& rows) const
{
  std::vector<std::vector<std::string>> lines;
  lines.reserve(rows.size());
  for (const Shisan& r : rows) lines.push_back(zandakaShisanFields(r));
  return lines;
}

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
  std::string error;
  if (!writeFileAtomically(path, data, &error)) {
    result.status = Result::Status::WriteFailed;
    result.message = "ファイル「" + path + "」に書き出せませんでした（" + error + "）。";
  }
  return result;
}

bool ReportTextExporter::writeFileAtomically(const std::string& path, std::string_view data, std::string* error)
{
  auto fail = [&](int err) {
    if (error) *error = std::strerror(err);
    return false;
  };
  // A fresh name beside the target, so the rename stays within one file system.
  std::random_device seed;
  std::mt19937_64 rng((static_cast<uint64_t>(seed()) << 32) ^ static_cast<uint64_t>(::getpid()));
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(rng()));
    temp = path + suffix;
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return fail(errno);
  }
  if (fd < 0) return fail(EEXIST);
  if (!writeAll(fd, data) || ::fsync(fd) != 0) {
    const int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    return fail(err);
  }
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return fail(err);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return fail(err);
  }
  return true;
}

}  // namespace kivo
