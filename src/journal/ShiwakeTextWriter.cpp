#include "journal/ShiwakeTextWriter.h"

#include <cstdio>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "document/MyDocument.h"
#include "model/Jigyoubu.h"
#include "model/Kamoku.h"
#include "model/KamokuKubun.h"

namespace kivo {

namespace {

constexpr const char* kEmptyPair = "\"\"";

class LineWriter {
public:
  LineWriter(const MyDocument& document, char sep, bool saveByLongLongKingaku,
             const ShiwakeTextWriter::Encoder& encoder, std::string& out)
      : document_(document), sep_(sep), saveByLongLongKingaku_(saveByLongLongKingaku), encoder_(encoder), out_(out)
  {
  }

  // Appends flag and line; false when a text cannot be encoded.
  bool write(const char* flag, const Shiwake& s);

private:
  bool appendText(const std::string& text);
  bool appendName(const std::string& name);
  bool appendSide(int32_t kamokuCode, int32_t hojyoKamokuCode, int32_t jigyoubuCode, int64_t kingaku);
  void appendAmount(int64_t kingaku);

  const MyDocument& document_;
  char sep_;
  bool saveByLongLongKingaku_;
  const ShiwakeTextWriter::Encoder& encoder_;
  std::string& out_;
  std::unordered_map<std::string, std::string> encoded_;
  std::unordered_map<std::string, bool> knownNames_;  // names the reader finds
};

bool LineWriter::appendText(const std::string& text)
{
  bool ascii = true;
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
  if (ascii) {
    out_ += text;
    return true;
  }
  if (auto it = encoded_.find(text); it != encoded_.end()) {
    out_ += it->second;
    return true;
  }
  std::string bytes;
  if (!encoder_(text, bytes)) return false;
  out_ += bytes;
  if (encoded_.size() < 4096) encoded_.emplace(text, std::move(bytes));
  return true;
}

// A name as it stands; quoted when it holds the separator or a quote.
bool LineWriter::appendName(const std::string& name)
{
  if (name.empty()) {
    out_ += kEmptyPair;
    return true;
  }
  if (name.find(sep_) == std::string::npos && name.find('"') == std::string::npos) return appendText(name);
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return appendText(quoted);
}

void LineWriter::appendAmount(int64_t kingaku)
{
  if (saveByLongLongKingaku_) {
    out_ += std::to_string(kingaku);
    return;
  }
  out_ += document_.kaisya().textFileStringOfMemoryKingaku(kingaku);
}

bool LineWriter::appendSide(int32_t kamokuCode, int32_t hojyoKamokuCode, int32_t jigyoubuCode, int64_t kingaku)
{
  if (kamokuCode == -1) {
    for (int i = 0; i < 4; ++i) {
      out_ += kEmptyPair;
      out_ += sep_;
    }
    return true;
  }
  // Names include inactive accounts, so that every entry exports with its names.
  const KamokuPtr kamoku = document_.kamokuOfCode(kamokuCode);
  std::string name;
  if (kamokuCode == Kamoku::kSyokuchiCode)
    name = "諸口";
  else if (kamoku)
    name = kamoku->name();
  if (!appendName(name)) return false;
  out_ += sep_;
  std::string hojyoName;
  if (kamoku && hojyoKamokuCode >= 0)
    for (const HojyoKamokuPtr& h : kamoku->hojyoKamokuArray())
      if (h->code() == hojyoKamokuCode) {
        hojyoName = h->name();
        break;
      }
  if (!appendName(hojyoName)) return false;
  out_ += sep_;
  std::string jigyoubuName;
  if (jigyoubuCode >= 0)
    for (const JigyoubuPtr& j : document_.jigyoubuArray())
      if (j->code() == jigyoubuCode) {
        jigyoubuName = j->name();
        break;
      }
  if (!appendName(jigyoubuName)) return false;
  out_ += sep_;
  // The tax class is not kept: "unknown" for an account the reader will find.
  auto known = knownNames_.find(name);
  if (known == knownNames_.end())
    known = knownNames_.emplace(name, document_.rootKamokuKubun() && document_.rootKamokuKubun()->kamokuForName(name))
                .first;
  const bool found = known->second;
  out_ += found ? "unknown" : kEmptyPair;
  out_ += sep_;
  appendAmount(kingaku);
  return true;
}

bool LineWriter::write(const char* flag, const Shiwake& s)
{
  out_ += flag;
  out_ += sep_;
  out_ += sep_;  // the voucher number stays empty
  const Date date = s.date();
  if (date == Date::kessanSeiridukiDate()) {
    out_ += "00000000";
  } else {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year(), date.month(), date.day());
    out_ += text;
  }
  out_ += sep_;
  if (!appendSide(s.karikataKamokuCode(), s.karikataHojyoKamokuCode(), s.karikataJigyoubuCode(), s.karikataKingaku()))
    return false;
  out_ += sep_;
  if (!appendSide(s.kashikataKamokuCode(), s.kashikataHojyoKamokuCode(), s.kashikataJigyoubuCode(),
                  s.kashikataKingaku()))
    return false;
  out_ += sep_;
  std::string tekiyou = "\"";
  for (char c : s.tekiyou()) {
    if (c == '"') tekiyou += '"';
    tekiyou += c;
  }
  tekiyou += '"';
  if (!appendText(tekiyou)) return false;
  out_ += sep_;
  out_ += s.kindOfShiwake() == ShiwakeKind::Furikaedenpyou ? '3' : '0';
  out_.append(9, sep_);
  out_ += '\r';
  return true;
}

}  // namespace

ShiwakeTextWriter::Result ShiwakeTextWriter::encode(const Journal::Entries& displayed, const Encoder& encoder,
                                                    const ContinuePoll& shouldContinue, std::string& data) const
{
  Result result;
  data.clear();
  // Each voucher's lines in date order, found once.
  std::unordered_map<int32_t, std::vector<const Shiwake*>> voucherLines;
  for (const ShiwakePtr& s : document_.journal().sortedByDate())
    if (s->denpyouNo() > 0 && s->kindOfShiwake() == ShiwakeKind::Furikaedenpyou)
      voucherLines[s->denpyouNo()].push_back(s.get());

  LineWriter writer(document_, sep_, saveByLongLongKingaku_, encoder, data);
  std::unordered_set<int32_t> written;
  auto unencodable = [&](int32_t denpyouNo) {
    result.status = Result::Status::Unencodable;
    result.denpyouNo = denpyouNo;
    result.message =
        "伝票番号 " + std::to_string(denpyouNo) +
        " の仕訳に、テキストファイルに書き出せない文字があります。文字を置き換えてから書き出してください。";
    data.clear();
    return result;
  };
  for (const ShiwakePtr& entry : displayed) {
    if (shouldContinue && !shouldContinue()) {
      result.status = Result::Status::Cancelled;
      data.clear();
      return result;
    }
    const int32_t n = entry->denpyouNo();
    if (n <= 0) continue;
    if (entry->kindOfShiwake() != ShiwakeKind::Furikaedenpyou) {
      if (!writer.write("1000", *entry)) return unencodable(n);
      continue;
    }
    if (!written.insert(n).second) continue;
    const std::vector<const Shiwake*>& lines = voucherLines[n];
    for (size_t j = 0; j < lines.size(); ++j) {
      const char* flag = lines.size() == 1 ? "1111" : j == 0 ? "1110" : j + 1 == lines.size() ? "1101" : "1100";
      if (!writer.write(flag, *lines[j])) return unencodable(n);
    }
  }
  return result;
}

ShiwakeTextWriter::Result ShiwakeTextWriter::write(const Journal::Entries& displayed, const std::string& path,
                                                   const Encoder& encoder, const ContinuePoll& shouldContinue) const
{
  std::string data;
  Result result = encode(displayed, encoder, shouldContinue, data);
  if (!result.ok()) return result;
  const ReportTextExporter::Result written = ReportTextExporter::writeData(path, data);
  if (!written.ok()) {
    result.status = Result::Status::WriteFailed;
    result.message = written.message;
  }
  return result;
}

}  // namespace kivo
