// Chart-of-accounts templates.
//
// A template is a UTF-8 text file, read line by line (LF or CRLF line ends, an
// optional byte-order mark at the start):
//
//   # a comment                  lines starting with '#' and blank lines are skipped
//   chart Kamoku20060501         the chart name stored in the root (first, once)
//   category 流動資産             a category directly under the root; names unique
//   100 | 現金 | GENKIN | 借 | 1 | f | suitou | on
//                                an account of the category above it
//
// An account line has eight fields separated by '|', each trimmed of blanks:
//   1. code   three digits, 100 to 998 (999 is 諸口), unique in the chart; all codes
//             having three digits, no code is the beginning of another
//   2. name   the account name, unique in the chart, never 諸口
//   3. kana   the lookup key typed in the entry fields: A-Z and 0-9, 1 to 24 chars
//   4. side   借 (debit-natured) or 貸 (credit-natured)
//   5. group  the statement group number, 0 to 30 (0 for an ordinary account)
//   6. type   "-", or type letters: at most one of f, o, b, p, and an optional a
//   7. flags  "-", or a comma list of suitou (has a cash book), genka (depreciable
//             asset), shinkoku (on the depreciable-asset declaration), kabunushi
//             (equity account of the statement of changes in net assets)
//   8. state  on (active) or off (inactive)
//
// Templates never carry sub-accounts or balances. Every error names its line.
#include "model/KamokuChartTemplate.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include "model/Kaisya.h"
#include "resources/Resources.h"

namespace kivo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The resources the program carries, one per company kind.
constexpr std::string_view kKaisyahouResource = "charts/houjin-kaisyahou.txt";
constexpr std::string_view kHoujinResource = "charts/houjin.txt";
constexpr std::string_view kKojinResource = "charts/kojin.txt";
constexpr std::string_view kKakeiboResource = "charts/kakeibo.txt";
constexpr int kFieldCount = 8;
constexpr size_t kMaxKanaLength = 24;
constexpr int kMaxGroup = 30;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s)
{
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool isValidUtf8(std::string_view s)
{
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int extra;
    uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    static constexpr uint32_t kMinOfLength[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMinOfLength[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

// Splits "keyword rest" at the first blank; the keyword alone when there is none.
bool startsWithKeyword(std::string_view line, std::string_view keyword, std::string_view* rest)
{
  if (line.substr(0, keyword.size()) != keyword) return false;
  if (line.size() == keyword.size()) {
    *rest = {};
    return true;
  }
  if (!isBlank(line[keyword.size()])) return false;
  *rest = trim(line.substr(keyword.size()));
  return true;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
  std::vector<std::string_view> fields;
  size_t pos = 0;
  while (true) {
    const size_t bar = line.find('|', pos);
    fields.push_back(trim(line.substr(pos, bar == std::string_view::npos ? std::string_view::npos : bar - pos)));
    if (bar == std::string_view::npos) break;
    pos = bar + 1;
  }
  return fields;
}

bool parseDigits(std::string_view s, int* out)
{
  if (s.empty() || s.size() > 3) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *out = v;
  return true;
}

bool parseKana(std::string_view s)
{
  if (s.empty() || s.size() > kMaxKanaLength) return false;
  for (char c : s)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

// "-" or letters: at most one of f, o, b, p and at most one a.
bool parseType(std::string_view s, uint32_t* out)
{
  *out = 0;
  if (s == "-") return true;
  if (s.empty()) return false;
  bool haveKind = false;
  bool haveA = false;
  for (char c : s) {
    const uint32_t bits = Kamoku::typeBitsOfLetter(c);
    if (bits == 0) return false;
    if (c == 'a') {
      if (haveA) return false;
      haveA = true;
    } else {
      if (haveKind) return false;
      haveKind = true;
    }
    *out |= bits;
  }
  return true;
}

bool applyFlags(std::string_view s, Kamoku& k, std::string* bad)
{
  if (s == "-") return true;
  std::set<std::string_view> seen;
  size_t pos = 0;
  while (true) {
    const size_t comma = s.find(',', pos);
    const std::string_view flag =
        trim(s.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
    if (!seen.insert(flag).second) {
      *bad = std::string(flag) + " (given twice)";
      return false;
    }
    if (flag == "suitou")
      k.setIsSuitouKamoku(true);
    else if (flag == "genka")
      k.setIsGenkasyoukyakuShisanKamoku(true);
    else if (flag == "shinkoku")
      k.setIsSyoukyakushisanShinkokusyoKamoku(true);
    else if (flag == "kabunushi")
      k.setIsKabunushiShihonKamoku(true);
    else {
      *bad = std::string(flag);
      return false;
    }
    if (comma == std::string_view::npos) break;
    pos = comma + 1;
  }
  return true;
}

KamokuKubunPtr copyTree(const KamokuKubun& from)
{
  auto to = std::make_shared<KamokuKubun>();
  to->setKubunName(from.kubunName());
  to->setLongKubunName(from.longKubunName());
  to->setPListResource(from.pListResource());
  for (const KamokuKubunPtr& child : from.children()) to->children().push_back(copyTree(*child));
  for (const KamokuPtr& k : from.childrenKamoku()) {
    auto copy = std::make_shared<Kamoku>(*k);
    for (HojyoKamokuPtr& h : copy->hojyoKamokuArray()) h = std::make_shared<HojyoKamoku>(*h);
    to->childrenKamoku().push_back(std::move(copy));
  }
  return to;
}

[[noreturn]] void dieOverShippedTemplate(std::string_view resource, const std::string& why)
{
  std::fprintf(stderr, "Kivosavan: the chart-of-accounts template %.*s is unusable: %s\n",
               static_cast<int>(resource.size()), resource.data(), why.c_str());
  std::abort();
}

KamokuChartTemplate loadShipped(std::string_view resource, std::string_view chartName)
{
  const std::optional<std::string_view> bytes = Resources::get(resource);
  if (!bytes) dieOverShippedTemplate(resource, "the program does not carry it");
  std::string error;
  std::optional<KamokuChartTemplate> t = KamokuChartTemplate::parse(*bytes, &error);
  if (!t) dieOverShippedTemplate(resource, error);
  if (t->pListResource() != chartName)
    dieOverShippedTemplate(resource, "its chart name is " + t->pListResource() + ", not " + std::string(chartName));
  return std::move(*t);
}

}  // namespace

const KamokuChartTemplate& KamokuChartTemplate::templateForKaisya(const Kaisya& kaisya, bool useKaisyahouChart)
{
  // Each template is read once, the first time a document of its kind needs it. A
  // household book is a sole proprietor's; a corporation ignores the flag.
  if (kaisya.isHoujin()) {
    if (useKaisyahouChart) {
      static const KamokuChartTemplate t = loadShipped(kKaisyahouResource, KamokuKubun::kKaisyahouChartName);
      return t;
    }
    static const KamokuChartTemplate t = loadShipped(kHoujinResource, KamokuKubun::kOlderChartName);
    return t;
  }
  if (kaisya.isKakeibo()) {
    static const KamokuChartTemplate t = loadShipped(kKakeiboResource, KamokuKubun::kOlderChartName);
    return t;
  }
  static const KamokuChartTemplate t = loadShipped(kKojinResource, KamokuKubun::kOlderChartName);
  return t;
}

std::optional<KamokuChartTemplate> KamokuChartTemplate::parse(std::string_view text, std::string* error)
{
  int lineNo = 0;
  auto fail = [&](const std::string& why) -> std::optional<KamokuChartTemplate> {
    if (error) *error = lineNo > 0 ? "line " + std::to_string(lineNo) + ": " + why : why;
    return std::nullopt;
  };

  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  if (!isValidUtf8(text)) return fail("the text is not UTF-8");

  KamokuChartTemplate t;
  auto root = std::make_shared<KamokuKubun>();
  bool haveChart = false;
  KamokuKubun* category = nullptr;
  std::set<std::string> categoryNames;
  std::set<std::string> accountNames;
  std::set<int> codes;
  size_t accountCount = 0;

  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    const std::string_view line = trim(raw);
    if (line.empty() || line.front() == '#') continue;
    for (char c : line)
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return fail("control character in the line");

    std::string_view rest;
    if (startsWithKeyword(line, "chart", &rest)) {
      if (haveChart) return fail("a second chart line");
      if (rest.empty()) return fail("chart without a name");
      t.pListResource_ = std::string(rest);
      root->setPListResource(t.pListResource_);
      haveChart = true;
      continue;
    }
    if (!haveChart) return fail("the chart line must come first");
    if (startsWithKeyword(line, "category", &rest)) {
      if (rest.empty()) return fail("category without a name");
      if (rest.find('|') != std::string_view::npos) return fail("a category name may not hold '|'");
      if (!categoryNames.insert(std::string(rest)).second)
        return fail("category " + std::string(rest) + " given twice");
      auto kubun = std::make_shared<KamokuKubun>();
      kubun->setKubunName(std::string(rest));
      kubun->setLongKubunName(std::string(rest));
      category = kubun.get();
      root->children().push_back(std::move(kubun));
      continue;
    }

    const std::vector<std::string_view> f = splitFields(line);
    if (f.size() != kFieldCount)
      return fail("an account needs " + std::to_string(kFieldCount) + " fields separated by '|', found " +
                  std::to_string(f.size()));
    if (!category) return fail("an account before the first category");
    auto k = std::make_shared<Kamoku>();

    int code = 0;
    if (f[0].size() != 3 || !parseDigits(f[0], &code) || code < 100 || code >= Kamoku::kSyokuchiCode)
      return fail("account code " + std::string(f[0]) + " is not three digits from 100 to 998");
    if (!codes.insert(code).second) return fail("account code " + std::string(f[0]) + " given twice");
    k->setCode(code);

    if (f[1].empty()) return fail("account without a name");
    if (f[1] == "諸口") return fail("諸口 is not an account");
    if (!accountNames.insert(std::string(f[1])).second)
      return fail("account name " + std::string(f[1]) + " given twice");
    k->setName(std::string(f[1]));

    if (!parseKana(f[2])) return fail("kana " + std::string(f[2]) + " is not 1 to 24 of A-Z and 0-9");
    k->setKana(std::string(f[2]));

    if (f[3] == "借")
      k->setIsKarikataKamoku(true);
    else if (f[3] == "貸")
      k->setIsKarikataKamoku(false);
    else
      return fail("side " + std::string(f[3]) + " is neither 借 nor 貸");

    int group = 0;
    if (!parseDigits(f[4], &group) || f[4].size() > 2 || group > kMaxGroup)
      return fail("group " + std::string(f[4]) + " is not a number from 0 to 30");
    k->setGroup(group);

    uint32_t type = 0;
    if (!parseType(f[5], &type)) return fail("type " + std::string(f[5]) + " is not '-' or the letters f, o, b, p, a");
    k->setType(type);

    std::string badFlag;
    if (!applyFlags(f[6], *k, &badFlag)) return fail("unknown flag " + badFlag);

    if (f[7] == "on")
      k->setIsActive(true);
    else if (f[7] == "off")
      k->setIsActive(false);
    else
      return fail("state " + std::string(f[7]) + " is neither on nor off");

    category->childrenKamoku().push_back(std::move(k));
    ++accountCount;
  }

  lineNo = 0;
  if (!haveChart) return fail("no chart line");
  if (accountCount == 0) return fail("no accounts");
  t.prototype_ = std::move(root);
  return t;
}

KamokuKubunPtr KamokuChartTemplate::build() const
{
  if (!prototype_) {
    auto root = std::make_shared<KamokuKubun>();
    root->setPListResource(pListResource_);
    return root;
  }
  return copyTree(*prototype_);
}

}  // namespace kivo
