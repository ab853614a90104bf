#include "journal/ShiwakeTextReader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "document/ChangedAccounts.h"
#include "document/Journal.h"
#include "document/MyDocument.h"
#include "document/ShiwakeTable.h"
#include "model/Jigyoubu.h"
#include "model/Kamoku.h"
#include "model/KamokuKubun.h"

namespace kivo {

namespace {

constexpr int32_t kOpenSide = Kamoku::kSyokuchiCode;

enum class Flag { Book, Single, First, Middle, Last };

struct Refusal {
  int32_t line;
  std::string message;
};

std::string lineMessage(int32_t line, const char* text) { return std::to_string(line) + " 行目の" + text; }

// One field of a line: its bytes with the quotes taken off, a view into the line.
struct Field {
  std::string_view value;
  bool badQuote = false;
};

// Splits a line after its flag, in place: a field that starts with a double quote runs
// to the closing quote that stands before a separator or the line end ("" inside is
// one quote; a lone quote elsewhere is kept as text, as older files wrote it). The
// fields view `text`, which the quotes' removal rewrites.
void splitFields(std::string& text, char sep, std::vector<Field>& fields)
{
  fields.clear();
  char* const b = text.data();
  size_t i = 0;
  const size_t n = text.size();
  while (true) {
    Field f;
    if (i < n && b[i] == '"') {
      size_t j = i + 1, w = i + 1;
      bool closed = false;
      while (j < n) {
        if (b[j] == '"') {
          if (j + 1 < n && b[j + 1] == '"') {
            b[w++] = '"';
            j += 2;
            continue;
          }
          if (j + 1 == n || b[j + 1] == sep) {
            closed = true;
            ++j;
            break;
          }
        }
        b[w++] = b[j++];
      }
      f.value = std::string_view(b + i + 1, w - i - 1);
      f.badQuote = !closed;
      i = j;
    } else {
      size_t j = i;
      while (j < n && b[j] != sep) ++j;
      f.value = std::string_view(b + i, j - i);
      i = j;
    }
    fields.push_back(f);
    if (i >= n) break;
    ++i;  // the separator
    if (i == n) {
      fields.emplace_back();
      break;
    }
  }
}

// Hashes a text stored as a string and looked up by a view of it.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
template <class V>
using TextMap = std::unordered_map<std::string, V, TextHash, std::equal_to<>>;

size_t utf8Length(std::string_view s)
{
  size_t count = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++count;
  return count;
}

bool allDigits(std::string_view s)
{
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

int toInt(std::string_view s)
{
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

struct Side {
  int32_t kamoku = -1;
  int32_t hojyoKamoku = -1;
  int32_t jigyoubu = -1;
  int64_t kingaku = 0;
};

// Field texts of each side's refusals.
struct SideTexts {
  const char* kamoku;
  const char* kamokuName;  // followed by the name read
  const char* hojyoKamoku;
  const char* jigyoubu;
  const char* zeikubun;
  const char* kingaku;
  const char* kingakuInteger;
};

constexpr SideTexts kKarikata{
    "借方科目が無効です。",   "借方科目：",           "補助科目（借方）が無効です。",      "借方事業部が無効です。",
    "借方税区分が無効です。", "借方金額が無効です。", "借方金額は整数を指定してください。"};
constexpr SideTexts kKashikata{
    "貸方科目が無効です。",   "貸方科目：",           "補助科目（貸方）が無効です。",      "貸方事業部が無効です。",
    "貸方税区分が無効です。", "貸方金額が無効です。", "貸方金額は整数を指定してください。"};

class Parser {
public:
  Parser(const MyDocument& document, const ShiwakeTextReader::Decoder& decoder,
         const ShiwakeTextReader::DateRead& dateRead)
      : document_(document), decoder_(decoder), dateRead_(dateRead), hasJigyoubu_(document.numberOfActiveJigyoubu() > 0)
  {
    const Kaisya& kaisya = document.kaisya();
    termStart_ = kaisya.termStartDate();
    termEnd_ = kaisya.termEndDate();
    nextNo_ = kaisya.minAvailableDenpyouNo();
  }

  std::optional<Refusal> parse(std::string_view data, const ShiwakeTextReader::ContinuePoll& shouldContinue);

  Journal::Entries lines;  // in the file's order
  int32_t voucherCount = 0;
  int32_t nextNo() const { return nextNo_; }
  // The last line read.
  int32_t lineNumber() const { return line_; }

private:
  std::optional<std::string> parseLine(std::string_view line);
  std::optional<std::string> parseSide(size_t first, Flag flag, const SideTexts& texts, Side& side);
  bool decode(std::string_view bytes, std::string& out);
  const Kamoku* kamokuForName(const std::string& name);
  SharedText textOf(const std::string& tekiyou);
  ShiwakePtr newEntry();
  void closeVoucher();

  const MyDocument& document_;
  const ShiwakeTextReader::Decoder& decoder_;
  const ShiwakeTextReader::DateRead& dateRead_;
  bool hasJigyoubu_;
  Date termStart_;
  Date termEnd_;
  int32_t nextNo_ = 1;
  int32_t line_ = 0;
  char sep_ = 0;
  bool inVoucher_ = false;
  Date voucherDate_;
  size_t voucherStart_ = 0;  // index of the open voucher's first line in lines
  int64_t balance_ = 0;
  std::string buffer_;  // the line being read, split in place
  std::vector<Field> fields_;
  TextMap<std::string> decoded_;
  TextMap<const Kamoku*> kamokuByName_;
  TextMap<SharedText> texts_;
  std::shared_ptr<ShiwakeTable::Block> block_;
};

bool Parser::decode(std::string_view bytes, std::string& out)
{
  out.clear();
  bool ascii = true;
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80 || c == 0) ascii = false;
  if (ascii) {
    out.assign(bytes);
    return true;
  }
  // Names repeat on nearly every line: each distinct text is decoded once.
  if (auto it = decoded_.find(bytes); it != decoded_.end()) {
    out = it->second;
    return true;
  }
  if (!decoder_(bytes, out) || out.find('\0') != std::string::npos) return false;
  if (decoded_.size() < 4096) decoded_.emplace(bytes, out);
  return true;
}

SharedText Parser::textOf(const std::string& tekiyou)
{
  // A description repeats from line to line: its entries share one text, as a
  // document read from its file does.
  if (auto it = texts_.find(tekiyou); it != texts_.end()) return it->second;
  SharedText text(tekiyou);
  if (texts_.size() < 4096) texts_.emplace(tekiyou, text);
  return text;
}

ShiwakePtr Parser::newEntry()
{
  // Entries are made in blocks of a few thousand, as a document read from its file
  // makes them in one: each entry shares its block's ownership.
  constexpr size_t kBlock = 4096;
  if (!block_ || block_->size() == kBlock) {
    block_ = std::make_shared<ShiwakeTable::Block>();
    block_->reserve(kBlock);
  }
  return ShiwakePtr(block_, &block_->emplace_back());
}

const Kamoku* Parser::kamokuForName(const std::string& name)
{
  if (auto it = kamokuByName_.find(name); it != kamokuByName_.end()) return it->second;
  const Kamoku* k = document_.rootKamokuKubun() ? document_.rootKamokuKubun()->kamokuForName(name).get() : nullptr;
  kamokuByName_.emplace(name, k);
  return k;
}

std::optional<std::string> Parser::parseSide(size_t first, Flag flag, const SideTexts& texts, Side& side)
{
  const std::vector<Field>& fields = fields_;
  // Account: an active account of exactly that name; none only on a voucher line,
  // where the side stays empty (the writer writes such lines, first lines included).
  const Field& kamokuField = fields[first];
  std::string name;
  if (kamokuField.badQuote || !decode(kamokuField.value, name)) return lineMessage(line_, texts.kamoku);
  const Kamoku* kamoku = nullptr;
  if (name.empty()) {
    if (flag == Flag::Book) return std::to_string(line_) + " 行目の" + texts.kamokuName + "が無効です。";
    side.kamoku = kOpenSide;
  } else {
    kamoku = kamokuForName(name);
    if (!kamoku) return std::to_string(line_) + " 行目の" + texts.kamokuName + name + "が無効です。";
    side.kamoku = kamoku->code();
  }

  // Sub-account: one of the account's active ones when it has any, else none.
  const Field& hojyoField = fields[first + 1];
  std::string hojyo;
  if (hojyoField.badQuote || !decode(hojyoField.value, hojyo)) return lineMessage(line_, texts.hojyoKamoku);
  if (kamoku) {
    if (kamoku->activeHojyoKamokuNum() > 0) {
      const HojyoKamoku* found = nullptr;
      for (const HojyoKamokuPtr& h : kamoku->hojyoKamokuArray())
        if (h->isActive() && h->name() == hojyo) {
          found = h.get();
          break;
        }
      if (!found) return lineMessage(line_, texts.hojyoKamoku);
      side.hojyoKamoku = found->code();
    } else if (!hojyo.empty()) {
      return lineMessage(line_, texts.hojyoKamoku);
    }
  }

  // Division: a text must name an active division, on an empty side too; an empty
  // text is one only when the company keeps no divisions, or on an empty side (which
  // the program's own files write so). An empty side keeps no division.
  const Field& jigyoubuField = fields[first + 2];
  std::string jigyoubu;
  if (jigyoubuField.badQuote || !decode(jigyoubuField.value, jigyoubu)) return lineMessage(line_, texts.jigyoubu);
  if (!jigyoubu.empty()) {
    const Jigyoubu* found = nullptr;
    for (const JigyoubuPtr& j : document_.jigyoubuArray())
      if (j->isActive() && j->name() == jigyoubu) {
        found = j.get();
        break;
      }
    if (!found) return lineMessage(line_, texts.jigyoubu);
    if (side.kamoku != kOpenSide) side.jigyoubu = found->code();
  } else if (hasJigyoubu_ && side.kamoku != kOpenSide) {
    return lineMessage(line_, texts.jigyoubu);
  }

  // Tax class: not read, only its width.
  if (fields[first + 3].value.size() > 10) return lineMessage(line_, texts.zeikubun);

  // Amount: stored units, digits only; an empty side holds none.
  const std::string_view amount = fields[first + 4].value;
  if (amount.find('.') != std::string_view::npos) return lineMessage(line_, texts.kingakuInteger);
  if (amount.size() > 11 || !allDigits(amount)) return lineMessage(line_, texts.kingaku);
  int64_t value = 0;
  for (char c : amount) value = value * 10 + (c - '0');
  if (side.kamoku == kOpenSide && value != 0) return lineMessage(line_, texts.kingaku);
  side.kingaku = value;
  return std::nullopt;
}

std::optional<std::string> Parser::parseLine(std::string_view line)
{
  // 1. Flag and separator.
  static constexpr const char* kFlagMessage = "識別フラグが無効です。";
  if (line.size() < 5) return lineMessage(line_, kFlagMessage);
  const std::string_view flagText = line.substr(0, 4);
  Flag flag;
  if (flagText == "1000")
    flag = Flag::Book;
  else if (flagText == "1111")
    flag = Flag::Single;
  else if (flagText == "1110")
    flag = Flag::First;
  else if (flagText == "1100")
    flag = Flag::Middle;
  else if (flagText == "1101")
    flag = Flag::Last;
  else
    return lineMessage(line_, kFlagMessage);
  const bool continues = flag == Flag::Middle || flag == Flag::Last;
  if (continues != inVoucher_) return lineMessage(line_, kFlagMessage);
  // The first record's byte after the flag is the file's separator: a tab or a comma,
  // nothing else (a NUL byte is none).
  if (sep_ == 0) {
    if (line[4] != '\t' && line[4] != ',') return lineMessage(line_, kFlagMessage);
    sep_ = line[4];
  }
  if (line[4] != sep_) return lineMessage(line_, kFlagMessage);

  buffer_.assign(line.substr(5));
  splitFields(buffer_, sep_, fields_);
  const std::vector<Field>& fields = fields_;
  // The fields in order: 0 voucher number, 1 date, 2-6 debit, 7-11 credit,
  // 12 description, 13 type, then a separator.
  static constexpr std::array<const char*, 15> kMissing = {"伝票番号が無効です。",
                                                           "取引日付が無効です。",
                                                           "借方科目が無効です。",
                                                           "補助科目（借方）が無効です。",
                                                           "借方事業部が無効です。",
                                                           "借方税区分が無効です。",
                                                           "借方金額が無効です。",
                                                           "貸方科目が無効です。",
                                                           "補助科目（貸方）が無効です。",
                                                           "貸方事業部が無効です。",
                                                           "貸方税区分が無効です。",
                                                           "貸方金額が無効です。",
                                                           "摘要が無効です。",
                                                           "取引タイプが無効です。",
                                                           "取引タイプが無効です。"};

  // 2. Voucher number: not read, only its width.
  if (fields.empty() || fields[0].value.size() > 6) return lineMessage(line_, kMissing[0]);

  // 3. Date: yyyymmdd, or seven characters whose first three are passed over (an era
  // and its year, "H170501" or 「平170501」) and mmdd, in the term; 0000 days are the
  // closing-adjustment month. Characters are counted in the decoded text.
  static constexpr const char* kDateMessage = "取引日付が無効です。";
  if (fields.size() < 2) return lineMessage(line_, kDateMessage);
  // Mostly plain digits, which every code page reads as they stand.
  std::string d;
  const std::string_view dateBytes = fields[1].value;
  if (std::all_of(dateBytes.begin(), dateBytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    d.assign(dateBytes);
  else if (!decoder_(dateBytes, d))
    return lineMessage(line_, kDateMessage);
  const size_t characters = utf8Length(d);
  if (characters != 8 && characters != 7) return lineMessage(line_, kDateMessage);
  const std::string_view md = d.size() >= 4 ? std::string_view(d).substr(d.size() - 4) : std::string_view();
  if (md.size() != 4 || !allDigits(md) || (characters == 8 && !allDigits(d))) return lineMessage(line_, kDateMessage);
  Date date;
  if ((characters == 8 && d == "00000000") || (characters == 7 && md == "0000")) {
    date = Date::kessanSeiridukiDate();
  } else {
    const int month = toInt(md.substr(0, 2));
    const int day = toInt(md.substr(2, 2));
    auto inTerm = [&](int year) -> std::optional<Date> {
      if (!Date::isValidDate(year, month, day)) return std::nullopt;
      const Date candidate(year, month, day);
      if (candidate < termStart_ || candidate > termEnd_) return std::nullopt;
      return candidate;
    };
    std::optional<Date> found;
    if (termStart_.isNull() || termEnd_.isNull()) return lineMessage(line_, kDateMessage);
    if (characters == 8) {
      found = inTerm(toInt(std::string_view(d).substr(0, 4)));
    } else {
      found = inTerm(termStart_.year());
      if (!found) found = inTerm(termEnd_.year());
    }
    if (!found) return lineMessage(line_, kDateMessage);
    date = *found;
  }
  // Every line of a voucher carries its first line's date.
  if (continues && date != voucherDate_) return lineMessage(line_, kDateMessage);
  if (dateRead_) dateRead_(line_, date);

  // 4. The sides.
  Side karikata, kashikata;
  for (size_t i = 2; i <= 6; ++i)
    if (fields.size() <= i) return lineMessage(line_, kMissing[i]);
  if (auto refusal = parseSide(2, flag, kKarikata, karikata)) return refusal;
  for (size_t i = 7; i <= 11; ++i)
    if (fields.size() <= i) return lineMessage(line_, kMissing[i]);
  if (auto refusal = parseSide(7, flag, kKashikata, kashikata)) return refusal;

  // 5. Description.
  static constexpr const char* kTekiyouMessage = "摘要が無効です。";
  if (fields.size() <= 12 || fields[12].badQuote) return lineMessage(line_, kTekiyouMessage);
  std::string tekiyou;
  if (!decode(fields[12].value, tekiyou) || utf8Length(tekiyou) > ShiwakeTextReader::kMaxTekiyouLength)
    return lineMessage(line_, kTekiyouMessage);

  // 6. Type: "0" for a cash-book entry, "3" for a voucher line, then a separator.
  static constexpr const char* kTypeMessage = "取引タイプが無効です。";
  if (fields.size() < 15 || fields[13].value != (flag == Flag::Book ? "0" : "3"))
    return lineMessage(line_, kTypeMessage);

  // 7. Balance: a voucher (or a cash-book entry) must balance when it closes.
  balance_ += karikata.kingaku - kashikata.kingaku;
  const bool closes = flag == Flag::Book || flag == Flag::Single || flag == Flag::Last;
  if (closes && balance_ != 0) return lineMessage(line_, "金額が正しくありません。");

  // 8. The entry, numbered from the counter.
  if (!continues) {
    if (nextNo_ > Kaisya::kMaxDenpyouNo) return std::to_string(line_) + " 行目の伝票で伝票番号が 99999 を超えます。";
    voucherDate_ = date;
    voucherStart_ = lines.size();
    inVoucher_ = flag == Flag::First;
  }
  ShiwakePtr s = newEntry();
  s->setDate(date);
  s->setDenpyouNo(nextNo_);
  s->setKarikataKamokuCode(karikata.kamoku);
  s->setKarikataHojyoKamokuCode(karikata.hojyoKamoku);
  s->setKarikataJigyoubuCode(karikata.jigyoubu);
  s->setKarikataKingaku(karikata.kingaku);
  s->setKashikataKamokuCode(kashikata.kamoku);
  s->setKashikataHojyoKamokuCode(kashikata.hojyoKamoku);
  s->setKashikataJigyoubuCode(kashikata.jigyoubu);
  s->setKashikataKingaku(kashikata.kingaku);
  s->copyOwnSidesToAite();
  s->setTekiyou(textOf(tekiyou));
  if (flag == Flag::Book) {
    s->setKindOfShiwake(ShiwakeKind::Suitoucyou);
    lines.push_back(std::move(s));
    ++nextNo_;
    ++voucherCount;
  } else {
    s->setKindOfShiwake(ShiwakeKind::Furikaedenpyou);
    lines.push_back(std::move(s));
    if (closes) closeVoucher();
  }
  return std::nullopt;
}

// The voucher's other sides, as registration records them: the one account of a
// side, or 諸口 when the side has several lines; an empty side has no account.
void Parser::closeVoucher()
{
  for (size_t i = voucherStart_; i < lines.size(); ++i) {
    Shiwake& s = *lines[i];
    if (s.karikataKamokuCode() == kOpenSide) s.setKarikataKamokuCode(-1);
    if (s.kashikataKamokuCode() == kOpenSide) s.setKashikataKamokuCode(-1);
  }
  Shiwake::recordVoucherSides(std::span(lines).subspan(voucherStart_));
  inVoucher_ = false;
  ++nextNo_;
  ++voucherCount;
}

std::optional<Refusal> Parser::parse(std::string_view data, const ShiwakeTextReader::ContinuePoll& shouldContinue)
{
  // A DOS end-of-file mark may close the file.
  if (!data.empty() && data.back() == '\x1A') data.remove_suffix(1);
  // Lines are counted as an editor shows them: CR LF, a lone CR and a lone LF each end
  // one line, and an empty line is passed over but counted. Whatever else stands on a
  // line, the last one included, is a record and must be whole.
  size_t p = 0;
  int32_t physicalLine = 1;
  const auto skipLineEnd = [&] {
    p += data[p] == '\r' && p + 1 < data.size() && data[p + 1] == '\n' ? 2 : 1;
    ++physicalLine;
  };
  while (p < data.size()) {
    if (data[p] == '\r' || data[p] == '\n') {
      skipLineEnd();
      continue;
    }
    line_ = physicalLine;
    if (shouldContinue && !shouldContinue(line_)) return Refusal{line_, ShiwakeTextReader::kCancelMessage};
    size_t end = p;
    while (end < data.size() && data[end] != '\r' && data[end] != '\n') ++end;
    if (auto message = parseLine(data.substr(p, end - p))) return Refusal{line_, std::move(*message)};
    p = end;
    if (p < data.size()) skipLineEnd();
  }
  if (inVoucher_) return Refusal{line_, lineMessage(line_, "伝票が終わらないままファイルが終わっています。")};
  return std::nullopt;
}

}  // namespace

std::string ShiwakeTextReader::progressText(int32_t lineNumber, Date date)
{
  return std::to_string(lineNumber) + " 行目 - " + std::to_string(date.month()) + "月" + std::to_string(date.day()) +
         "日";
}

ShiwakeTextReader::Result ShiwakeTextReader::importShiwake(MyDocument& document, std::string_view data,
                                                           const Decoder& decoder, const ContinuePoll& shouldContinue,
                                                           const DateRead& dateRead, const RegisterPoll& mayRegister)
{
  Result result;
  if (data.size() > kMaxFileSize) {
    result.message = kTooLargeMessage;
    return result;
  }
  Parser parser(document, decoder, dateRead);
  if (std::optional<Refusal> refusal = parser.parse(data, shouldContinue)) {
    result.lineNumber = refusal->line;
    result.message = std::move(refusal->message);
    return result;
  }

  if (mayRegister && !mayRegister()) {
    result.lineNumber = parser.lineNumber();
    result.message = kCancelMessage;
    return result;
  }
  // Every line passed: register everything at once.
  ChangedAccounts accounts;
  for (const ShiwakePtr& s : parser.lines) accounts.addSidesOf(*s);
  result.entryCount = parser.lines.size();
  result.voucherCount = parser.voucherCount;
  result.ok = true;
  if (result.entryCount == 0) return result;
  document.journal().importEntries(std::move(parser.lines));
  document.kaisya().setMinAvailableDenpyouNo(parser.nextNo());
  document.makeAllOutputWindowDisplayArrayVoid();
  document.shiwakeArrayDidChange(true);
  document.journalDidChangeAccounts(accounts);
  return result;
}

}  // namespace kivo
