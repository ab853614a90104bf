#include "support/CraftedDocumentFile.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "document/DocumentFile.h"
#include "files/Crc32.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "support/TestDocuments.h"

namespace kivo::test {
namespace {

using Matrix = std::array<uint32_t, 32>;

// The matrix times the vector, over GF(2).
uint32_t times(const Matrix& m, uint32_t v)
{
  uint32_t sum = 0;
  for (int i = 0; v != 0; ++i, v >>= 1)
    if (v & 1) sum ^= m[static_cast<size_t>(i)];
  return sum;
}

Matrix squared(const Matrix& m)
{
  Matrix out{};
  for (size_t i = 0; i < 32; ++i) out[i] = times(m, m[i]);
  return out;
}

// The checksum continued over n zero bytes. A zero byte only moves the register
// through a fixed linear map, so n of them are that map's n-th power, made by
// squaring: microseconds for gigabytes.
uint32_t crcAfterZeros(uint32_t crc, uint64_t n)
{
  Matrix odd{}, even{};
  odd[0] = 0xEDB88320u;  // one zero bit
  for (size_t i = 1; i < 32; ++i) odd[i] = uint32_t{1} << (i - 1);
  even = squared(odd);  // two bits
  odd = squared(even);  // four bits
  uint32_t reg = ~crc;
  while (n != 0) {
    even = squared(odd);  // a byte, then two, four...
    if (n & 1) reg = times(even, reg);
    if ((n >>= 1) == 0) break;
    odd = squared(even);
    if (n & 1) reg = times(odd, reg);
    n >>= 1;
  }
  return ~reg;
}

void putLE(std::string& out, uint64_t v, int n)
{
  for (int i = 0; i < n; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

using Edit = std::function<std::optional<std::string>(std::string_view key, std::string bytes)>;

// The body of the file again, each section's bytes what `edit` makes of them (left
// out where it makes none); its count of sections names `more` beyond them, for the
// caller to append.
std::string bodyWithSections(std::string_view file, const Edit& edit, size_t more = 0)
{
  ArchiveReader r(file.substr(DocumentFile::kHeaderSize));
  const std::string name = r.readString();  // the body record's class and version
  const int32_t version = r.readInt32();
  std::vector<std::pair<std::string, std::string>> sections;
  const size_t n = r.readCount(8);
  for (size_t i = 0; i < n; ++i) {
    std::string key = r.readString();
    if (std::optional<std::string> bytes = edit(key, r.readBytes())) sections.emplace_back(std::move(key), *bytes);
  }
  if (!r.ok()) throw std::invalid_argument("not a document file: " + r.failure());
  ArchiveWriter body;
  body.writeString(name);
  body.writeInt32(version);
  body.writeCount(sections.size() + more);
  for (const auto& [key, bytes] : sections) {
    body.writeString(key);
    body.writeBytes(bytes);
  }
  return body.takeData();
}

// The file again, each section replaced by what `edit` makes of it.
std::string editSections(std::string_view file, const Edit& edit)
{
  const std::string body = bodyWithSections(file, edit);
  uint32_t version;
  std::memcpy(&version, file.data() + 8, 4);
  return fileWithBody(body, version);
}

}  // namespace

std::string fileWithBody(std::string_view body, uint32_t formatVersion)
{
  std::string out = "KIVOSAVN";
  putLE(out, formatVersion, 4);
  putLE(out, body.size(), 8);
  putLE(out, DocumentFile::checksumOf(std::string_view(out).substr(8, 12), body, formatVersion), 4);
  return out.append(body);
}

std::string bodyEndingInSection(std::string_view file, std::string_view key, std::string_view start, uint64_t length)
{
  const Edit leaveOut = [&](std::string_view k, std::string bytes) {
    return k == key ? std::nullopt : std::optional<std::string>(std::move(bytes));
  };
  ArchiveWriter last;
  last.writeString(std::string(key));
  last.writeUInt32(static_cast<uint32_t>(length));
  return bodyWithSections(file, leaveOut, 1).append(last.data()).append(start);
}

void writeFileAroundZeros(const std::string& path, std::string_view head, uint64_t zeros, std::string_view tail,
                          uint32_t formatVersion)
{
  std::string header = "KIVOSAVN";
  putLE(header, formatVersion, 4);
  putLE(header, head.size() + zeros + tail.size(), 8);
  uint32_t crc = DocumentFile::checksumBeforeBody(std::string_view(header).substr(8, 12), formatVersion);
  crc = Crc32::of(tail, crcAfterZeros(Crc32::of(head, crc), zeros));
  putLE(header, crc, 4);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    out.write(head.data(), static_cast<std::streamsize>(head.size()));
  }
  std::filesystem::resize_file(path, header.size() + head.size() + zeros);
  std::ofstream(path, std::ios::binary | std::ios::app).write(tail.data(), static_cast<std::streamsize>(tail.size()));
}

void writeFileStreamed(const std::string& path, const std::function<void(const BodyPut& put)>& body,
                       uint32_t formatVersion)
{
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(std::string(DocumentFile::kHeaderSize, '\0').data(), DocumentFile::kHeaderSize);
  // The checksum's start depends on the size, known only at the end: the body's own
  // checksum is kept and the header's fields are put in front of it then.
  uint32_t crc = 0;
  uint64_t size = 0;
  std::string pending;
  auto flush = [&] {
    out.write(pending.data(), static_cast<std::streamsize>(pending.size()));
    pending.clear();
  };
  body([&](std::string_view piece) {
    crc = Crc32::of(piece, crc);
    size += piece.size();
    pending.append(piece);
    if (pending.size() >= (size_t{1} << 20)) flush();
  });
  flush();
  std::string header = "KIVOSAVN";
  putLE(header, formatVersion, 4);
  putLE(header, size, 8);
  // CRC(prefix + body) from CRC(prefix), CRC(body) and the body's length: the prefix's
  // register carried across `size` zero bytes, then the body's contribution added.
  const uint32_t before = DocumentFile::checksumBeforeBody(std::string_view(header).substr(8, 12), formatVersion);
  putLE(header, crcAfterZeros(before, size) ^ crc ^ crcAfterZeros(0, size), 4);
  out.seekp(0);
  out.write(header.data(), static_cast<std::streamsize>(header.size()));
}

std::string fileWithSection(std::string_view file, std::string_view key, std::string_view bytes)
{
  return editSections(file, [&](std::string_view k, std::string b) { return k == key ? std::string(bytes) : b; });
}

std::string fileWithOpeningBalances(size_t count, bool repeatDivision)
{
  constexpr int32_t kCodes = 99;
  GeneratedBooksSize size;
  size.shiwakeCount = 40;
  size.jigyoubuCount = 3;
  size.hojyoKamokuCount = 0;
  size.kamokuCount = repeatDivision ? 1 : static_cast<int>(count / (kCodes * (kCodes + 1)) + 1);
  auto doc = makeGeneratedBooks(size);
  if (repeatDivision) {
    ArchiveWriter before, after;
    const KamokuPtr& first = doc->codeSortedKamokuArray().front();
    first->setStartBalance(1, 0);
    first->startBalanceArray().encodeWithCoder(before);
    after.writeCount(count);
    for (size_t i = 0; i < count; ++i) {
      after.writeInt32(0);
      after.writeInt64(static_cast<int64_t>(i) + 1);
    }
    return editSections(DocumentFile::dataOfDocument(*doc), [&](std::string_view key, std::string bytes) {
      if (key == KIVODataRootKamokuKubunKey) bytes.replace(bytes.find(before.data()), before.size(), after.data());
      return bytes;
    });
  }
  size_t made = 0;
  auto fill = [&](StartBalanceList& list) {
    for (int32_t division = 0; division < kCodes && made < count; ++division)
      list.setBalance(static_cast<int64_t>(++made), division);
  };
  for (const KamokuPtr& k : doc->codeSortedKamokuArray()) {
    k->setType(Kamoku::kTypeF);  // carried forward as they stand
    fill(k->startBalanceArray());
    for (int32_t code = 0; code < kCodes; ++code) {
      auto h = std::make_shared<HojyoKamoku>();
      h->setCode(code);
      h->setName("補助" + std::to_string(code));
      h->setParentKamokuCode(k->code());
      fill(h->startBalanceArray());
      k->hojyoKamokuArray().push_back(std::move(h));
    }
  }
  return DocumentFile::dataOfDocument(*doc);
}

}  // namespace kivo::test
