#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "journal/Kanjyoumotocyou.h"
#include "journal/KanjyoumotocyouTextWriter.h"
#include "journal/ShiwakeTextReader.h"
#include "journal/ShiwakeTextWriter.h"
#include "support/TestBooks.h"

namespace kivo::test {
namespace {

// The core tests read and write UTF-8 files: the code page lives in the window layer.
// The byte 0xFF, never in UTF-8, stands for bytes the code page refuses.
bool utf8Decoder(std::string_view bytes, std::string& out)
{
  if (bytes.find('\xFF') != std::string_view::npos) return false;
  out.append(bytes);
  return true;
}
bool utf8Encoder(std::string_view text, std::string& out)
{
  if (text.find("\xE3\x80\x9C") != std::string_view::npos) return false;  // 〜 stands for a character refused
  out.append(text);
  return true;
}

struct Side {
  std::string kamoku, kingaku, hojyo = "\"\"", jigyoubu = "\"\"";
};

const Side kGenkinSide{"現金", "1000"};
const Side kUriageSide{"売上高", "1000"};
const Side kNoSide{"\"\"", ""};

std::string line(const std::string& flag, const std::string& date, const Side& kari = kGenkinSide,
                 const Side& kashi = kUriageSide, const std::string& tekiyou = "\"\"", char sep = '\t')
{
  const std::string type = flag == "1000" ? "0" : "3";
  std::string s = flag + sep + sep + date + sep;
  for (const Side* side : {&kari, &kashi})
    s += side->kamoku + sep + side->hojyo + sep + side->jigyoubu + sep + "unknown" + sep + side->kingaku + sep;
  return s + tekiyou + sep + type + std::string(9, sep) + "\r";
}

ShiwakeTextReader::Result importText(MyDocument& doc, const std::string& text)
{
  return ShiwakeTextReader::importShiwake(doc, text, utf8Decoder);
}

TEST(ShiwakeTextReader, RefusesAWholeFileAndChangesNothing)
{
  const std::string ok = line("1111", "20240501");
  const std::string first = line("1110", "20240501", kGenkinSide, kNoSide);
  const Side half{"売上高", "500"};
  // The good voucher, then one line of the sides and description.
  const auto okThen = [&ok](const Side& kari, const Side& kashi, const std::string& tekiyou = "\"\"") {
    return ok + line("1111", "20240501", kari, kashi, tekiyou);
  };
  struct Case {
    const char* name;
    std::string text;
    std::string message;
    int32_t counter = 2;  // the next voucher number before the import
    bool cancel = false;  // the progress asks to stop at the third voucher
  } cases[] = {
      {"unbalanced voucher", ok + first + line("1101", "20240501", kNoSide, half), "3 行目の金額が正しくありません。"},
      {"file ends inside a voucher", ok + first + line("1100", "20240501", kNoSide, kUriageSide),
       "3 行目の伝票が終わらないままファイルが終わっています。"},
      {"amount on an empty side", ok + first + line("1101", "20240501", {"\"\"", "5"}, kUriageSide),
       "3 行目の借方金額が無効です。"},
      {"date differs inside a voucher", ok + first + line("1101", "20240502", kNoSide, kUriageSide),
       "3 行目の取引日付が無効です。"},
      {"date outside the term", ok + line("1111", "20250401"), "2 行目の取引日付が無効です。"},
      {"unknown account", okThen({"現金X", "1000"}, kUriageSide), "2 行目の借方科目：現金Xが無効です。"},
      {"sub-account on an account without", okThen({"現金", "1000", "A"}, kUriageSide),
       "2 行目の補助科目（借方）が無効です。"},
      {"division in a company without", okThen(kGenkinSide, {"売上高", "1000", "\"\"", "本店"}),
       "2 行目の貸方事業部が無効です。"},
      {"undecodable bytes", okThen(kGenkinSide, kUriageSide, "\"\xFF\xFE\""), "2 行目の摘要が無効です。"},
      {"41-character description", okThen(kGenkinSide, kUriageSide, "\"" + std::string(41 * 3 / 3, 'x') + "\""),
       "2 行目の摘要が無効です。"},
      {"decimal amount", okThen({"現金", "10.5"}, kUriageSide), "2 行目の借方金額は整数を指定してください。"},
      {"negative amount", okThen(kGenkinSide, {"売上高", "-1000"}), "2 行目の貸方金額が無効です。"},
      {"12-digit amount", okThen({"現金", "100000000000"}, kUriageSide), "2 行目の借方金額が無効です。"},
      {"middle line outside a voucher", ok + line("1100", "20240501"), "2 行目の識別フラグが無効です。"},
      {"other separator later", ok + line("1111", "20240501", kGenkinSide, kUriageSide, "\"\"", ','),
       "2 行目の識別フラグが無効です。"},
      {"NUL as the separator", line("1111", "20240501", kGenkinSide, kUriageSide, "\"\"", '\0'),
       "1 行目の識別フラグが無効です。"},
      {"six-character date", okThen(kGenkinSide, kUriageSide).replace(ok.size() + 6, 8, "240501"),
       "2 行目の取引日付が無効です。"},
      {"eight characters not all digits", ok + line("1111", "H2405011"), "2 行目の取引日付が無効です。"},
      {"wrong type", ok + line("1000", "20240501").replace(0, 4, "1111"), "2 行目の取引タイプが無効です。"},
      {"unclosed quote", okThen(kGenkinSide, kUriageSide, "\"abc"), "2 行目の摘要が無効です。"},
      {"line cut short", ok + "1111\t\t20240501\t現金\t\"\"", "2 行目の借方事業部が無効です。"},
      // Lines as an editor counts them: CR, CR LF and LF each end one, empty ones too.
      {"after empty lines", ok + "\r" + ok + "\n\n" + line("1100", "20240501"), "5 行目の識別フラグが無効です。"},
      // A short last line is a line like any other.
      {"a last line of four bytes", ok + "1111", "2 行目の識別フラグが無効です。"},
      {"four NUL bytes at the end", ok + "\r\n" + std::string(4, '\0'), "3 行目の識別フラグが無効です。"},
      {"past the last number", ok + ok, "2 行目の伝票で伝票番号が 99999 を超えます。", Kaisya::kMaxDenpyouNo},
      {"cancelled", ok + ok + ok, ShiwakeTextReader::kCancelMessage, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto doc = makeBooks();
    addShiwake(*doc, kGenkin, kUriagedaka, 10);
    doc->kaisya().setMinAvailableDenpyouNo(c.counter);
    const uint64_t generation = doc->journal().generation();
    const ShiwakeTextReader::Result r =
        ShiwakeTextReader::importShiwake(*doc, c.text, utf8Decoder, [&c](int32_t n) { return !c.cancel || n < 3; });
    EXPECT_EQ(std::tuple(r.ok, r.message, doc->journal().size(), doc->journal().generation(),
                         doc->kaisya().minAvailableDenpyouNo(), doc->isDocumentEdited()),
              std::tuple(false, c.message, size_t{1}, generation, c.counter, false));
  }
}

// The last chance to cancel comes once every line has passed, before anything of the
// document changes: cancelled there, the import changes nothing. A refused file never
// reaches it.
TEST(ShiwakeTextReader, TheLastChanceToCancelComesOnceEveryLineHasPassed)
{
  const std::string good = line("1111", "20240501") + line("1111", "20240502");
  const std::string refused = line("1111", "20240501") + line("1111", "2024050");
  for (const std::string* text : {&good, &refused})
    for (const bool go : {false, true}) {
      SCOPED_TRACE(testing::Message() << (text == &good ? "read whole" : "refused")
                                      << (go ? ", registered" : ", cancelled"));
      auto doc = makeBooks();
      std::vector<std::string> asked;
      const ShiwakeTextReader::Result r = ShiwakeTextReader::importShiwake(
          *doc, *text, utf8Decoder,
          [&asked](int32_t n) {
            asked.push_back("line " + std::to_string(n));
            return true;
          },
          {},
          [&asked, go] {
            asked.push_back("register");
            return go;
          });
      if (text == &refused) {
        EXPECT_EQ(asked, (std::vector<std::string>{"line 1", "line 2"}));
        EXPECT_FALSE(r.ok);
        continue;
      }
      EXPECT_EQ(asked, (std::vector<std::string>{"line 1", "line 2", "register"}));
      EXPECT_EQ(
          std::tuple(r.ok, r.message, doc->journal().size(), doc->isDocumentEdited()),
          std::tuple(go, go ? std::string() : std::string(ShiwakeTextReader::kCancelMessage), go ? size_t{2} : 0, go));
    }
}

// Each line goes where it would, were the lines added one after another in the file's
// order: a cash-book entry at the end; a voucher line before the first numbered entry
// dated later, cash-book entries included.
TEST(ShiwakeTextReader, NumbersVouchersFromTheCounterAndPlacesThemByDate)
{
  auto doc = makeBooks();
  doc->journal().append(makeVoucherLine(Date(2024, 5, 1), 1, kGenkin, kUriagedaka, 10));
  doc->journal().append(makeCashEntry(Date(2024, 6, 15), 10, kGenkin, kUriagedaka, 10));
  doc->journal().append(makeVoucherLine(Date(2024, 7, 1), 2, kGenkin, kUriagedaka, 10));
  doc->kaisya().setMinAvailableDenpyouNo(3);
  const Side kari2{"消耗品費", "400"}, kari3{"消耗品費", "600"};
  const std::string text = line("1110", "20240601", kari2, kNoSide, "\"a,\"\"b\"") +
                           line("1100", "20240601", kari3, kNoSide) +
                           line("1101", "20240601", kNoSide, {"現金", "1000"}) + line("1000", "20240801") +
                           line("1000", "20240520") + line("1111", "20240525") + "\r\n\r\n\x1A";
  const ShiwakeTextReader::Result r = importText(*doc, text);
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.voucherCount, 4);
  EXPECT_EQ(doc->kaisya().minAvailableDenpyouNo(), 7);
  const Journal& j = doc->journal();
  std::vector<int32_t> numbers;
  for (const ShiwakePtr& s : j) numbers.push_back(s->denpyouNo());
  EXPECT_EQ(numbers, (std::vector<int32_t>{1, 6, 3, 3, 3, 10, 2, 4, 5}));
  EXPECT_EQ(j[2]->tekiyou(), "a,\"b");
  // Two debit lines make the debit counterpart 諸口; the empty sides hold nothing.
  for (size_t i = 2; i <= 4; ++i)
    EXPECT_EQ(std::pair(j[i]->aiteKarikataKamokuCode(), j[i]->aiteKashikataKamokuCode()),
              std::pair(Kamoku::kSyokuchiCode, kGenkin))
        << i;
  EXPECT_EQ(j[2]->kashikataKamokuCode(), -1);
  EXPECT_EQ(j[4]->karikataKamokuCode(), -1);
  EXPECT_EQ(std::pair(j[7]->kindOfShiwake(), j[1]->kindOfShiwake()),
            std::pair(ShiwakeKind::Suitoucyou, ShiwakeKind::Furikaedenpyou));
  EXPECT_TRUE(doc->isDocumentEdited());
}

// A seven-character date passes over its first three characters, counted in the
// decoded text (an era and its year); month and day take the year from the term.
// Each line's date is told for the progress sheet.
TEST(ShiwakeTextReader, ReadsSevenCharacterDatesWhateverTheirFirstThreeCharacters)
{
  auto doc = makeBooks();
  const std::string text = line("1111", "H240501") + line("1111", "R060601") + line("1111", "平240701") +
                           line("1111", "R070201") + line("1111", "xyz0000");
  std::vector<std::string> progress;
  const ShiwakeTextReader::Result r = ShiwakeTextReader::importShiwake(
      *doc, text, utf8Decoder, {},
      [&progress](int32_t n, Date date) { progress.push_back(ShiwakeTextReader::progressText(n, date)); });
  ASSERT_TRUE(r.ok) << r.message;
  // February lies in the term's second calendar year; 0000 is the closing-adjustment month.
  EXPECT_EQ(progress, (std::vector<std::string>{"1 行目 - 5月1日", "2 行目 - 6月1日", "3 行目 - 7月1日",
                                                "4 行目 - 2月1日", "5 行目 - 1月1日"}));
  std::vector<Date> dates;
  for (const ShiwakePtr& s : doc->journal()) dates.push_back(s->date());
  EXPECT_EQ(dates, (std::vector<Date>{Date(2024, 5, 1), Date(2024, 6, 1), Date(2024, 7, 1), Date(2025, 2, 1),
                                      Date::kessanSeiridukiDate()}));
}

// In a company that keeps divisions, an empty side's division text must name an
// active division when it names one; empty, it is taken (the program's own export
// writes it so). The empty side keeps no division.
TEST(ShiwakeTextReader, AnEmptySidesDivisionNamesAnActiveDivisionOrNone)
{
  const Side kari{"現金", "1000", "\"\"", "本店"};
  const Side kashi{"売上高", "1000", "\"\"", "本店"};
  const std::pair<const char*, const char*> cases[] = {
      {"支社", "1 行目の貸方事業部が無効です。"}, {"支店", ""}, {"\"\"", ""}};
  for (const auto& [division, message] : cases) {
    SCOPED_TRACE(division);
    auto doc = makeBooks({.jigyoubu = true});
    const std::string text = line("1110", "20240501", kari, {"\"\"", "", "\"\"", division}) +
                             line("1101", "20240501", {"\"\"", "", "\"\"", "\"\""}, kashi);
    const ShiwakeTextReader::Result r = importText(*doc, text);
    EXPECT_EQ(r.message, message);
    if (r.ok) { EXPECT_EQ(doc->journal()[0]->kashikataJigyoubuCode(), -1); }
  }
}

// Debit and credit sums per account, division and sub-account: what a trial balance reads.
std::map<std::tuple<int32_t, int32_t, int32_t>, int64_t> sums(const MyDocument& doc)
{
  std::map<std::tuple<int32_t, int32_t, int32_t>, int64_t> out;
  for (const ShiwakePtr& s : doc.journal()) {
    out[{s->karikataKamokuCode(), s->karikataHojyoKamokuCode(), s->karikataJigyoubuCode()}] += s->karikataKingaku();
    out[{s->kashikataKamokuCode(), s->kashikataHojyoKamokuCode(), s->kashikataJigyoubuCode()}] -= s->kashikataKingaku();
  }
  return out;
}

TEST(ShiwakeTextFile, RoundTripsTabAndCommaFiles)
{
  for (const auto kugiri : {ShiwakeTextWriter::Kugiri::Tab, ShiwakeTextWriter::Kugiri::Comma}) {
    auto source = makeBooks({.hojyoKamoku = true, .jigyoubu = true});
    auto add = [&](ShiwakePtr s, int32_t hojyo, const std::string& tekiyou) {
      if (s->karikataKamokuCode() != -1) s->setKarikataJigyoubuCode(1);
      if (s->kashikataKamokuCode() != -1) s->setKashikataJigyoubuCode(2);
      if (s->karikataKamokuCode() == kFutsuuYokin) s->setKarikataHojyoKamokuCode(hojyo);
      s->setTekiyou(tekiyou);
      source->journal().append(s);
    };
    add(makeVoucherLine(Date(2024, 5, 1), 1, kFutsuuYokin, kUriagedaka, 1200), 2, "a,b\tc \"q\" ㈱①～髙");
    add(makeCashEntry(Date(2024, 5, 2), 2, kShoumouhinhi, kGenkin, 300), -1, "\"");
    add(makeVoucherLine(Date(2024, 6, 1), 3, kShoumouhinhi, -1, 700), -1, "");
    add(makeVoucherLine(Date(2024, 6, 1), 3, kShoumouhinhi, -1, 300), -1, "");
    add(makeVoucherLine(Date(2024, 6, 1), 3, -1, kGenkin, 1000), -1, std::string(40, 'x'));
    source->journal().append(makeVoucherLine(Date::kessanSeiridukiDate(), 4, kGenkin, kUriagedaka, 5));
    source->journal()[5]->setKarikataJigyoubuCode(1);
    source->journal()[5]->setKashikataJigyoubuCode(1);

    // The journal window shows one line of voucher 3: the voucher is written once, whole.
    const Journal::Entries shown{source->journal()[0], source->journal()[1], source->journal()[3], source->journal()[4],
                                 source->journal()[5]};
    std::string data;
    const ShiwakeTextWriter writer(*source, kugiri, false);
    ASSERT_TRUE(writer.encode(shown, utf8Encoder, {}, data).ok());
    EXPECT_EQ(data.substr(0, 6), kugiri == ShiwakeTextWriter::Kugiri::Tab ? "1111\t\t" : "1111,,");

    auto target = makeBooks({.hojyoKamoku = true, .jigyoubu = true});
    const ShiwakeTextReader::Result r = importText(*target, data);
    ASSERT_TRUE(r.ok) << r.message;
    // Compared in date order: the book entry keeps its place after the vouchers, as
    // books append theirs.
    const Journal::Entries& before = source->journal().sortedByDate();
    const Journal::Entries& after = target->journal().sortedByDate();
    ASSERT_EQ(after.size(), before.size());
    const auto fields = [](const ShiwakePtr& s) {
      return std::tuple(s->date(), s->denpyouNo(), s->kindOfShiwake(), s->karikataKamokuCode(),
                        s->karikataHojyoKamokuCode(), s->kashikataJigyoubuCode(), s->kashikataKingaku(), s->tekiyou());
    };
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(fields(after[i]), fields(before[i])) << i;
    EXPECT_EQ(sums(*source), sums(*target));
  }
}

TEST(ShiwakeTextWriter, StopsOnTextTheEncodingCannotHoldAndNamesTheEntry)
{
  auto doc = makeBooks();
  doc->journal().append(makeVoucherLine(Date(2024, 5, 1), 7, kGenkin, kUriagedaka, 10));
  doc->journal()[0]->setTekiyou("波〜ダッシュ");
  std::string data;
  const ShiwakeTextWriter::Result r = ShiwakeTextWriter(*doc, ShiwakeTextWriter::Kugiri::Tab, false)
                                          .encode(doc->journal().entries(), utf8Encoder, {}, data);
  EXPECT_EQ(r.status, ShiwakeTextWriter::Result::Status::Unencodable);
  EXPECT_EQ(r.denpyouNo, 7);
  EXPECT_NE(r.message.find("伝票番号 7"), std::string::npos);
  EXPECT_TRUE(data.empty());
}

TEST(KanjyoumotocyouTextWriter, WritesBalanceEntryAndTotalRows)
{
  auto doc = makeBooks();
  doc->journal().append(makeVoucherLine(Date(2024, 4, 5), 1, kGenkin, kUriagedaka, 1000));
  doc->journal().append(makeCashEntry(Date(2024, 4, 9), 2, kShoumouhinhi, kGenkin, 300, "a,\"b\""));
  doc->journal()[0]->setTekiyou("売上");
  doc->journal().append(makeVoucherLine(Date::kessanSeiridukiDate(), 3, kGenkin, kUriagedaka, 5));
  std::vector<Motocyou> rows = Kanjyoumotocyou::motocyouArray(*doc, kGenkin, -1, 0, 12);
  std::string data;
  ASSERT_TRUE(
      KanjyoumotocyouTextWriter(*doc, ShiwakeTextWriter::Kugiri::Comma).encode(rows, utf8Encoder, {}, data).ok());
  const std::string expected =
      ",\"\",\"\",\"\",\"開始残高\",\"\",,,0\r"
      "20240405,売上高,\"\",\"\",\"売上\",\"\",1000,,1000\r"
      "20240409,消耗品費,\"\",\"\",\"a,\"\"b\"\"\",\"\",,300,700\r";
  EXPECT_EQ(data.substr(0, expected.size()), expected);
  EXPECT_NE(data.find("00000000,売上高,"), std::string::npos);
  EXPECT_EQ(data.back(), '\r');
}

}  // namespace
}  // namespace kivo::test
