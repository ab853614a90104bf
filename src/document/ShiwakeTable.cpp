#include "document/ShiwakeTable.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {
namespace {

constexpr const char* kClassName = "ShiwakeTable";
constexpr int32_t kClassVersion = 0;
// What a check of a table read from a file takes in at a time.
constexpr size_t kCheckBlock = size_t{1} << 20;

enum Field {
  kDate,
  kDenpyouNo,
  kKariKamoku,
  kKariHojyo,
  kKariJigyoubu,
  kKariKingaku,
  kKashiKamoku,
  kKashiHojyo,
  kKashiJigyoubu,
  kKashiKingaku,
  kAiteKariKamoku,
  kAiteKariHojyo,
  kAiteKariJigyoubu,
  kAiteKashiKamoku,
  kAiteKashiHojyo,
  kAiteKashiJigyoubu,
  kTekiyou,
  kKind,
  kHendouReason,
  kSuitouKamoku,
  kSuitouHojyo,
  kDidCreateBeforeOpen,
  kFieldCount
};
using Values = std::array<int64_t, kFieldCount>;

// The widest a field may be: amounts are 64-bit, the flag one byte, the rest 32-bit.
constexpr int maxWidth(int field)
{
  return field == kKariKingaku || field == kKashiKingaku ? 8 : field == kDidCreateBeforeOpen ? 1 : 4;
}

int widthOf(int64_t min, int64_t max)
{
  for (int w = 1; w < 8; ++w) {
    const int64_t limit = int64_t{1} << (8 * w - 1);
    if (min >= -limit && max < limit) return w;
  }
  return 8;
}

void valuesOf(const Shiwake& s, uint32_t tekiyou, uint32_t reason, Values& v)
{
  v[kDate] = s.date().serial();
  v[kDenpyouNo] = s.denpyouNo();
  v[kKariKamoku] = s.karikataKamokuCode();
  v[kKariHojyo] = s.karikataHojyoKamokuCode();
  v[kKariJigyoubu] = s.karikataJigyoubuCode();
  v[kKariKingaku] = s.karikataKingaku();
  v[kKashiKamoku] = s.kashikataKamokuCode();
  v[kKashiHojyo] = s.kashikataHojyoKamokuCode();
  v[kKashiJigyoubu] = s.kashikataJigyoubuCode();
  v[kKashiKingaku] = s.kashikataKingaku();
  v[kAiteKariKamoku] = s.aiteKarikataKamokuCode();
  v[kAiteKariHojyo] = s.aiteKarikataHojyoKamokuCode();
  v[kAiteKariJigyoubu] = s.aiteKarikataJigyoubuCode();
  v[kAiteKashiKamoku] = s.aiteKashikataKamokuCode();
  v[kAiteKashiHojyo] = s.aiteKashikataHojyoKamokuCode();
  v[kAiteKashiJigyoubu] = s.aiteKashikataJigyoubuCode();
  v[kTekiyou] = tekiyou;
  v[kKind] = static_cast<int32_t>(s.kindOfShiwake());
  v[kHendouReason] = reason;
  v[kSuitouKamoku] = s.suitoucyouKamokuCode();
  v[kSuitouHojyo] = s.suitoucyouHojyoKamokuCode();
  v[kDidCreateBeforeOpen] = s.didCreateBeforeOpen() ? 1 : 0;
}

// Where each field of a record stands and how far it is shifted to be sign-extended;
// one plan serves every record of the table.
struct Plan {
  std::array<int, kFieldCount> offset{};
  std::array<int, kFieldCount> width{};
  std::array<uint64_t, kFieldCount> mask{};  // the field's bytes
  std::array<uint64_t, kFieldCount> sign{};  // its sign bit
};

// Field f of the record at p, sign-extended (by masks: cheaper than shifts by a count
// known only at run time). fast: eight bytes may be read from every field on (copies
// of a constant size compile to single moves).
inline int64_t field(const char* p, const Plan& plan, int f, bool fast)
{
  uint64_t u = 0;
  if (fast)
    std::memcpy(&u, p + plan.offset[f], 8);
  else
    for (int i = 0; i < plan.width[f]; ++i) u |= uint64_t{static_cast<uint8_t>(p[plan.offset[f] + i])} << (8 * i);
  return static_cast<int64_t>(((u & plan.mask[f]) ^ plan.sign[f]) - plan.sign[f]);
}

// The entry of the record at p, its date, texts and flag already checked.
void apply(const char* p, const Plan& plan, bool fast, Date date, const SharedText& tekiyou, const SharedText& reason,
           bool didCreateBeforeOpen, Shiwake& s)
{
  auto i32 = [&](int f) { return static_cast<int32_t>(field(p, plan, f, fast)); };
  s.setDate(date);
  s.setDenpyouNo(i32(kDenpyouNo));
  s.setKarikataKamokuCode(i32(kKariKamoku));
  s.setKarikataHojyoKamokuCode(i32(kKariHojyo));
  s.setKarikataJigyoubuCode(i32(kKariJigyoubu));
  s.setKarikataKingaku(field(p, plan, kKariKingaku, fast));
  s.setKashikataKamokuCode(i32(kKashiKamoku));
  s.setKashikataHojyoKamokuCode(i32(kKashiHojyo));
  s.setKashikataJigyoubuCode(i32(kKashiJigyoubu));
  s.setKashikataKingaku(field(p, plan, kKashiKingaku, fast));
  s.setAiteKarikataKamokuCode(i32(kAiteKariKamoku));
  s.setAiteKarikataHojyoKamokuCode(i32(kAiteKariHojyo));
  s.setAiteKarikataJigyoubuCode(i32(kAiteKariJigyoubu));
  s.setAiteKashikataKamokuCode(i32(kAiteKashiKamoku));
  s.setAiteKashikataHojyoKamokuCode(i32(kAiteKashiHojyo));
  s.setAiteKashikataJigyoubuCode(i32(kAiteKashiJigyoubu));
  s.setTekiyou(tekiyou);
  s.setKindOfShiwake(static_cast<ShiwakeKind>(i32(kKind)));
  s.setHendouReasonStr(reason);
  s.setSuitoucyouKamokuCode(i32(kSuitouKamoku));
  s.setSuitoucyouHojyoKamokuCode(i32(kSuitouHojyo));
  s.setDidCreateBeforeOpen(didCreateBeforeOpen);
}

// The low `width` bytes of v at p (little-endian).
inline void store(char* p, int64_t v, int width)
{
  switch (width) {
  case 1: std::memcpy(p, &v, 1); break;
  case 2: std::memcpy(p, &v, 2); break;
  case 3: std::memcpy(p, &v, 3); break;
  case 4: std::memcpy(p, &v, 4); break;
  case 5: std::memcpy(p, &v, 5); break;
  case 6: std::memcpy(p, &v, 6); break;
  case 7: std::memcpy(p, &v, 7); break;
  default: std::memcpy(p, &v, 8); break;
  }
}

// Fails the reader for that reason (or for the one it failed on already) and gives the
// reason: false.
bool refused(ArchiveReader& r, const char* why, std::string* detail)
{
  if (why) r.fail(why);
  *detail = r.failure();
  return false;
}

// The table's record header and field widths, as the plan of its records, and the
// number of its texts; 0 (the reader failed) when they are not a table's.
size_t readHead(ArchiveReader& r, Plan& plan, size_t& recordWidth)
{
  if (r.beginRecord(kClassName, kClassVersion) < 0) return 0;
  if (r.readUInt32() != kFieldCount) {
    r.fail("journal table with another set of fields");
    return 0;
  }
  const std::string_view widthBytes = r.readRawView(kFieldCount);
  recordWidth = 0;
  for (int f = 0; f < kFieldCount && r.ok(); ++f) {
    const int w = static_cast<uint8_t>(widthBytes[f]);
    if (w < 1 || w > maxWidth(f)) {
      r.fail("journal field of a bad width");
      return 0;
    }
    plan.offset[f] = static_cast<int>(recordWidth);
    plan.width[f] = w;
    plan.mask[f] = w == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * w)) - 1;
    plan.sign[f] = uint64_t{1} << (8 * w - 1);
    recordWidth += static_cast<size_t>(w);
  }
  const size_t stringCount = r.readCount(4);
  if (r.ok() && stringCount == 0) r.fail("journal without its string table");
  return r.ok() ? stringCount : 0;
}

// The number of records, which must fill the rest of the table exactly (the reader
// fails otherwise).
uint32_t readRecordCount(ArchiveReader& r, size_t recordWidth)
{
  const uint32_t count = r.readUInt32();
  if (r.ok() && (r.remaining() / recordWidth < count || r.remaining() != count * recordWidth))
    r.fail("journal records do not fill the table");
  return count;
}

// The entry of the record at p, made in s, its texts taken from `strings` (or left
// empty when there are none); why it is refused otherwise. inRange is the last date
// found in range: dates repeat.
const char* readRecord(const char* p, const Plan& plan, bool fast, const SharedText* strings, size_t stringCount,
                       Date& inRange, Shiwake& s)
{
  const Date date = Date::fromSerial(static_cast<int32_t>(field(p, plan, kDate, fast)));
  if (date != inRange && !date.isNull()) {
    if (!date.isInSupportedRange()) return "journal date out of range";
    inRange = date;
  }
  const int64_t tekiyou = field(p, plan, kTekiyou, fast), reason = field(p, plan, kHendouReason, fast);
  if (tekiyou < 0 || static_cast<size_t>(tekiyou) >= stringCount || reason < 0 ||
      static_cast<size_t>(reason) >= stringCount)
    return "journal text out of the string table";
  const int64_t flag = field(p, plan, kDidCreateBeforeOpen, fast);
  if (flag != 0 && flag != 1) return "bad boolean";
  static const SharedText none;
  apply(p, plan, fast, date, strings ? strings[tekiyou] : none, strings ? strings[reason] : none, flag != 0, s);
  if (!s.valuesInRange()) return "journal value out of range";
  return nullptr;
}

}  // namespace

void ShiwakeTable::encode(const std::vector<ShiwakePtr>& entries, ArchiveWriter& out)
{
  // First pass: the string table and each field's range.
  std::vector<std::string_view> strings{std::string_view()};
  std::unordered_map<std::string_view, uint32_t> indexOf{{std::string_view(), 0}};
  auto intern = [&](const std::string& text) {
    const auto [it, added] = indexOf.try_emplace(text, static_cast<uint32_t>(strings.size()));
    if (added) strings.push_back(text);
    return it->second;
  };
  std::vector<uint32_t> stringIndexes(entries.size() * 2);
  Values min{}, max{}, v{};
  for (size_t i = 0; i < entries.size(); ++i) {
    const Shiwake& s = *entries[i];
    stringIndexes[2 * i] = intern(s.tekiyou());
    stringIndexes[2 * i + 1] = intern(s.hendouReasonStr());
    valuesOf(s, stringIndexes[2 * i], stringIndexes[2 * i + 1], v);
    for (int f = 0; f < kFieldCount; ++f) {
      if (i == 0 || v[f] < min[f]) min[f] = v[f];
      if (i == 0 || v[f] > max[f]) max[f] = v[f];
    }
  }
  std::array<int, kFieldCount> widths{};
  size_t recordWidth = 0;
  for (int f = 0; f < kFieldCount; ++f) recordWidth += static_cast<size_t>(widths[f] = widthOf(min[f], max[f]));

  out.beginRecord(kClassName, kClassVersion);
  out.writeUInt32(kFieldCount);
  for (int w : widths) {
    const char b = static_cast<char>(w);
    out.writeRaw(std::string_view(&b, 1));
  }
  out.writeCount(strings.size());
  for (std::string_view s : strings) out.writeUInt32(static_cast<uint32_t>(s.size()));
  for (std::string_view s : strings) out.writeRaw(s);
  out.writeCount(entries.size());
  char* p = out.appendUninitialized(entries.size() * recordWidth);
  for (size_t i = 0; i < entries.size(); ++i) {
    valuesOf(*entries[i], stringIndexes[2 * i], stringIndexes[2 * i + 1], v);
    for (int f = 0; f < kFieldCount; ++f) {
      store(p, v[f], widths[f]);
      p += widths[f];
    }
  }
}

bool ShiwakeTable::decode(std::string_view bytes, std::shared_ptr<Block>& out, std::string* detail)
{
  ArchiveReader r(bytes);
  return decode(r, out, detail);
}

bool ShiwakeTable::decode(ArchiveReader& r, std::shared_ptr<Block>& out, std::string* detail)
{
  Plan plan;
  size_t recordWidth = 0;
  const size_t stringCount = readHead(r, plan, recordWidth);
  if (!r.ok()) return refused(r, nullptr, detail);
  const std::string_view lengths = r.readRawView(stringCount * 4);
  uint64_t total = 0;
  for (size_t i = 0; i < stringCount && r.ok(); ++i) {
    uint32_t n;
    std::memcpy(&n, lengths.data() + 4 * i, 4);
    total += n;
  }
  if (!r.ok() || total > r.remaining()) return refused(r, "journal strings longer than the data", detail);
  const std::string_view blob = r.readRawView(static_cast<size_t>(total));
  std::vector<SharedText> strings(stringCount);
  for (size_t i = 0, at = 0; i < stringCount; ++i) {
    uint32_t n;
    std::memcpy(&n, lengths.data() + 4 * i, 4);
    strings[i] = SharedText(std::string(blob.substr(at, n)));
    at += n;
  }

  const uint32_t count = readRecordCount(r, recordWidth);
  if (!r.ok()) return refused(r, "journal records do not fill the table", detail);
  const std::string_view records = r.readRawView(count * recordWidth);
  const char* p = records.data();
  const char* const end = p + records.size();
  // Each entry is made in its place as its record is read, so that the block's memory
  // is written once.
  auto block = std::make_shared<Block>();
  block->reserve(count);
  Date inRange = Date::fromSerial(0);  // the last date found in range: dates repeat
  for (uint32_t i = 0; i < count; ++i, p += recordWidth) {
    const bool fast = static_cast<size_t>(end - p) >= recordWidth + 8;
    if (const char* why = readRecord(p, plan, fast, strings.data(), stringCount, inRange, block->emplace_back()))
      return refused(r, why, detail);
  }
  out = std::move(block);
  return true;
}

bool ShiwakeTable::check(ArchiveReader& r, std::string* detail, int32_t* highestDenpyouNo)
{
  *highestDenpyouNo = 0;
  Plan plan;
  size_t recordWidth = 0;
  const size_t stringCount = readHead(r, plan, recordWidth);
  if (!r.ok()) return refused(r, nullptr, detail);
  // The texts' lengths a block at a time, the texts passed over.
  uint64_t total = 0;
  for (size_t left = stringCount; left > 0 && r.ok();) {
    const size_t n = std::min(left, kCheckBlock / 4);
    const std::string_view lengths = r.readRawView(n * 4);
    for (size_t i = 0; i < n && r.ok(); ++i) {
      uint32_t length;
      std::memcpy(&length, lengths.data() + 4 * i, 4);
      total += length;
    }
    left -= n;
  }
  if (!r.ok() || total > r.remaining()) return refused(r, "journal strings longer than the data", detail);
  r.skip(total);

  const uint32_t count = readRecordCount(r, recordWidth);
  if (!r.ok()) return refused(r, "journal records do not fill the table", detail);
  // The records a block at a time, each made into one scratch entry.
  Shiwake scratch;
  Date inRange = Date::fromSerial(0);
  const size_t perBlock = std::max<size_t>(1, kCheckBlock / recordWidth);
  for (size_t left = count; left > 0;) {
    const size_t n = std::min(left, perBlock);
    const std::string_view records = r.readRawView(n * recordWidth);
    if (!r.ok()) return refused(r, nullptr, detail);
    const char* p = records.data();
    const char* const end = p + records.size();
    for (size_t i = 0; i < n; ++i, p += recordWidth) {
      const bool fast = static_cast<size_t>(end - p) >= recordWidth + 8;
      if (const char* why = readRecord(p, plan, fast, nullptr, stringCount, inRange, scratch))
        return refused(r, why, detail);
      *highestDenpyouNo = std::max(*highestDenpyouNo, scratch.denpyouNo());
    }
    left -= n;
  }
  return true;
}

std::vector<ShiwakePtr> ShiwakeTable::entriesOf(const std::shared_ptr<Block>& block)
{
  std::vector<ShiwakePtr> entries;
  entries.reserve(block->size());
  for (Shiwake& s : *block) entries.push_back(ShiwakePtr(block, &s));
  return entries;
}

}  // namespace kivo
