#include "journal/KanjyoumotocyouTextWriter.h"

#include <cstdio>

#include "document/MyDocument.h"
#include "model/Jigyoubu.h"
#include "model/Kamoku.h"

namespace kivo {

namespace {

std::string quotedAlways(const std::string& text)
{
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

}  // namespace

KanjyoumotocyouTextWriter::Result KanjyoumotocyouTextWriter::encode(
    const std::vector<Motocyou>& rows, const ShiwakeTextWriter::Encoder& encoder,
    const ShiwakeTextWriter::ContinuePoll& shouldContinue, std::string& data) const
{
  Result result;
  data.clear();
  const Kaisya& kaisya = document_.kaisya();
  const Journal::Entries& sorted = document_.journal().sortedByDate();
  std::string line;
  bool encodable = true;
  auto text = [&](const std::string& t) {
    for (char c : t)
      if (static_cast<unsigned char>(c) >= 0x80) {
        if (!encoder(t, line)) encodable = false;
        return;
      }
    line += t;
  };
  auto name = [&](const std::string& n) {
    if (n.empty())
      line += "\"\"";
    else if (n.find(sep_) != std::string::npos || n.find('"') != std::string::npos)
      text(quotedAlways(n));
    else
      text(n);
  };
  auto kamokuName = [&](int32_t code) -> std::string {
    if (code == Kamoku::kSyokuchiCode) return "諸口";
    const KamokuPtr k = document_.kamokuOfCode(code);
    return k ? k->name() : std::string();
  };
  auto hojyoName = [&](int32_t kamokuCode, int32_t code) -> std::string {
    const KamokuPtr k = code >= 0 ? document_.kamokuOfCode(kamokuCode) : nullptr;
    if (k)
      for (const HojyoKamokuPtr& h : k->hojyoKamokuArray())
        if (h->code() == code) return h->name();
    return {};
  };
  auto jigyoubuName = [&](int32_t code) -> std::string {
    if (code >= 0)
      for (const JigyoubuPtr& j : document_.jigyoubuArray())
        if (j->code() == code) return j->name();
    return {};
  };
  auto capped = [&](int64_t v) {
    return kaisya.isOutputOverflow(v) ? std::string(Kaisya::overFlowAmountValueString())
                                      : kaisya.textFileStringOfMemoryKingaku(v);
  };

  for (size_t r = 0; r < rows.size(); ++r) {
    if (shouldContinue && !shouldContinue()) {
      result.status = Result::Status::Cancelled;
      data.clear();
      return result;
    }
    const Motocyou& m = rows[r];
    line.clear();
    switch (m.kind()) {
    case Motocyou::Kind::Heading: break;
    case Motocyou::Kind::Balance:
    case Motocyou::Kind::Total: {
      const bool total = m.kind() == Motocyou::Kind::Total;
      line += sep_;
      for (int i = 0; i < 3; ++i) (line += "\"\""), line += sep_;
      text(quotedAlways(m.title()));
      line += sep_;
      line += "\"\"";
      line += sep_;
      if (total) line += capped(m.karikataKingaku());
      line += sep_;
      if (total) line += capped(m.kashikataKingaku());
      line += sep_;
      if (!total) line += capped(m.zandaka());
      break;
    }
    case Motocyou::Kind::Shiwake: {
      if (static_cast<size_t>(m.indexOfSortedShiwakeArray()) >= sorted.size()) continue;
      const Shiwake& s = *sorted[static_cast<size_t>(m.indexOfSortedShiwakeArray())];
      const bool subLedger = m.motocyouHojyoKamokuCode() != -1;
      const bool karikata = s.karikataKamokuCode() == m.motocyouKamokuCode() &&
                            (!subLedger || s.karikataHojyoKamokuCode() == m.motocyouHojyoKamokuCode());
      const bool kashikata = s.kashikataKamokuCode() == m.motocyouKamokuCode() &&
                             (!subLedger || s.kashikataHojyoKamokuCode() == m.motocyouHojyoKamokuCode());
      if (s.date() == Date::kessanSeiridukiDate()) {
        line += "00000000";
      } else {
        char d[16];
        std::snprintf(d, sizeof d, "%04d%02d%02d", s.date().year(), s.date().month(), s.date().day());
        line += d;
      }
      line += sep_;
      const int32_t aite = karikata ? s.aiteKashikataKamokuCode() : s.aiteKarikataKamokuCode();
      const int32_t aiteHojyo = karikata ? s.aiteKashikataHojyoKamokuCode() : s.aiteKarikataHojyoKamokuCode();
      const int32_t aiteJigyoubu = karikata ? s.aiteKashikataJigyoubuCode() : s.aiteKarikataJigyoubuCode();
      name(kamokuName(aite));
      line += sep_;
      name(hojyoName(aite, aiteHojyo));
      line += sep_;
      name(jigyoubuName(aiteJigyoubu));
      line += sep_;
      text(quotedAlways(s.tekiyou()));
      line += sep_;
      name(jigyoubuName(karikata ? s.karikataJigyoubuCode() : s.kashikataJigyoubuCode()));
      line += sep_;
      if (karikata) line += kaisya.textFileStringOfMemoryKingaku(s.karikataKingaku());
      line += sep_;
      if (kashikata) line += kaisya.textFileStringOfMemoryKingaku(s.kashikataKingaku());
      line += sep_;
      line += capped(m.zandaka());
      break;
    }
    }
    if (!encodable) {
      result.status = Result::Status::Unencodable;
      result.denpyouNo = static_cast<int32_t>(r + 1);
      result.message =
          std::to_string(r + 1) +
          " 行目に、テキストファイルに書き出せない文字があります。文字を置き換えてから書き出してください。";
      data.clear();
      return result;
    }
    data += line;
    data += '\r';
  }
  return result;
}

KanjyoumotocyouTextWriter::Result KanjyoumotocyouTextWriter::write(
    const std::vector<Motocyou>& rows, const std::string& path, const ShiwakeTextWriter::Encoder& encoder,
    const ShiwakeTextWriter::ContinuePoll& shouldContinue) const
{
  std::string data;
  Result result = encode(rows, encoder, shouldContinue, data);
  if (!result.ok()) return result;
  const ReportTextExporter::Result written = ReportTextExporter::writeData(path, data);
  if (!written.ok()) {
    result.status = Result::Status::WriteFailed;
    result.message = written.message;
  }
  return result;
}

}  // namespace kivo
