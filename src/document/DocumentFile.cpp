#include "document/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {
namespace {

constexpr char kMagic[8] = {'K', 'I', 'V', 'O', 'S', 'A', 'V', 'N'};
constexpr size_t kHeaderSize = 8 + 4 + 8 + 4;
constexpr const char* kBodyClass = "MyDocument";
constexpr int32_t kBodyVersion = 0;

template <typename T>
std::string encodeArray(const std::vector<std::shared_ptr<T>>& items)
{
  ArchiveWriter w;
  w.writeCount(items.size());
  for (const auto& item : items) item->encodeWithCoder(w);
  return w.takeData();
}

template <typename T>
bool decodeArray(std::string_view data, std::vector<std::shared_ptr<T>>& out, std::string* detail)
{
  ArchiveReader r(data);
  out.clear();
  const size_t n = r.readCount(8);
  out.reserve(n);
  for (size_t i = 0; i < n && r.ok(); ++i) {
    auto item = std::make_shared<T>();
    if (!item->initWithCoder(r)) break;
    out.push_back(std::move(item));
  }
  if (r.ok() && !r.atEnd()) r.fail("trailing bytes in section");
  if (!r.ok()) *detail = r.failure();
  return r.ok();
}

template <typename T>
bool decodeOne(std::string_view data, T& out, std::string* detail)
{
  ArchiveReader r(data);
  out.initWithCoder(r);
  if (r.ok() && !r.atEnd()) r.fail("trailing bytes in section");
  if (!r.ok()) *detail = r.failure();
  return r.ok();
}

std::array<std::array<uint32_t, 256>, 8> makeCrcTables()
{
  std::array<std::array<uint32_t, 256>, 8> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[0][i] = c;
  }
  for (uint32_t i = 0; i < 256; ++i)
    for (int s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  return t;
}

void putLE(std::string& out, uint64_t v, int bytes)
{
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint64_t getLE(std::string_view in, size_t at, int bytes)
{
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
  return v;
}

bool writeAll(int fd, std::string_view data, const DocumentFile::WriteFault* fault, std::string* detail)
{
  size_t written = 0;
  while (written < data.size()) {
    size_t chunk = std::min<size_t>(data.size() - written, 1 << 20);
    if (fault && fault->failAfterBytes >= 0) {
      const int64_t left = fault->failAfterBytes - static_cast<int64_t>(written);
      if (left <= 0) {
        *detail = "simulated write failure";
        errno = ENOSPC;
        return false;
      }
      chunk = std::min<size_t>(chunk, static_cast<size_t>(left));
    }
    const ssize_t n = ::write(fd, data.data() + written, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      *detail = std::string("write: ") + std::strerror(errno);
      return false;
    }
    written += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

uint32_t DocumentFile::crc32(std::string_view data)
{
  static const auto t = makeCrcTables();
  uint32_t c = 0xFFFFFFFFu;
  const auto* p = reinterpret_cast<const uint8_t*>(data.data());
  size_t n = data.size();
  while (n >= 8) {
    uint32_t lo, hi;
    std::memcpy(&lo, p, 4);
    std::memcpy(&hi, p + 4, 4);
    lo ^= c;
    c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^ t[3][hi & 0xFF] ^
        t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
    p += 8;
    n -= 8;
  }
  while (n--) c = t[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

DocumentFile::Result DocumentFile::resultOf(Status status, std::string detail)
{
  Result r;
  r.status = status;
  r.detail = std::move(detail);
  switch (status) {
  case Status::Ok: break;
  case Status::NotOurs: r.message = "このファイルは Kivosavan の書類ではないため開けません。"; break;
  case Status::Damaged: r.message = "書類ファイルが壊れているため開けません。"; break;
  case Status::NewerVersion:
    r.message = "この書類は新しいバージョンの Kivosavan で保存されているため開けません。";
    break;
  case Status::ReadFailed: r.message = "書類ファイルを読み込めませんでした。"; break;
  case Status::WriteFailed: r.message = "書類を保存できませんでした。前に保存した内容はそのまま残っています。"; break;
  }
  return r;
}

std::string DocumentFile::dataOfDocument(const MyDocument& doc)
{
  std::vector<std::pair<const char*, std::string>> sections;
  {
    ArchiveWriter w;
    doc.kaisya().encodeWithCoder(w);
    sections.emplace_back(KIVODataKaisyaKey, w.takeData());
  }
  {
    ArchiveWriter w;
    doc.rootKamokuKubun()->encodeWithCoder(w);
    sections.emplace_back(KIVODataRootKamokuKubunKey, w.takeData());
  }
  sections.emplace_back(KIVODataJigyoubuArrayKey, encodeArray(doc.jigyoubuArray()));
  sections.emplace_back(KIVODataTekiyouGroupArrayKey, encodeArray(doc.tekiyouGroupArray()));
  {
    ArchiveWriter w;
    w.reserve(doc.journal().size() * 160 + 16);
    w.writeCount(doc.journal().size());
    for (const ShiwakePtr& s : doc.journal()) s->encodeWithCoder(w);
    sections.emplace_back(KIVODataShiwakeArrayKey, w.takeData());
  }
  sections.emplace_back(KIVODataFurikaedenpyouBookmarkArrayKey, encodeArray(doc.furikaedenpyouBookmarkArray()));
  {
    std::string assets = doc.genkasyoukyakuShisanArrayData();
    if (assets.empty()) {
      ArchiveWriter w;
      w.writeCount(0);
      assets = w.takeData();
    }
    sections.emplace_back(KIVODataGenkasyoukyakuShisanArrayKey, std::move(assets));
  }
  sections.emplace_back(KIVODataHendouReasonArrayKey, encodeArray(doc.hendouReasonArray()));
  sections.emplace_back(KIVODataSubMenuItemArrayKey, encodeArray(doc.subMenuItemArray()));

  size_t total = 64;
  for (const auto& s : sections) total += s.second.size() + 64;
  ArchiveWriter body;
  body.reserve(total);
  body.beginRecord(kBodyClass, kBodyVersion);
  body.writeCount(sections.size());
  for (const auto& s : sections) {
    body.writeString(s.first);
    body.writeBytes(s.second);
  }
  const std::string& b = body.data();

  std::string out;
  out.reserve(kHeaderSize + b.size());
  out.append(kMagic, sizeof kMagic);
  putLE(out, kFormatVersion, 4);
  putLE(out, b.size(), 8);
  putLE(out, crc32(b), 4);
  out.append(b);
  return out;
}

std::unique_ptr<MyDocument> DocumentFile::documentFromData(std::string_view data, Result* result)
{
  Result local;
  Result& res = result ? *result : local;
  auto fail = [&](Status status, std::string detail) {
    res = resultOf(status, std::move(detail));
    return nullptr;
  };

  if (data.size() < sizeof kMagic || std::memcmp(data.data(), kMagic, sizeof kMagic) != 0)
    return fail(Status::NotOurs, "no Kivosavan header");
  if (data.size() < kHeaderSize) return fail(Status::Damaged, "header truncated");
  const uint32_t version = static_cast<uint32_t>(getLE(data, 8, 4));
  if (version == 0) return fail(Status::Damaged, "format version 0");
  if (version > kFormatVersion) return fail(Status::NewerVersion, "format version " + std::to_string(version));
  const uint64_t bodySize = getLE(data, 12, 8);
  const uint32_t checksum = static_cast<uint32_t>(getLE(data, 20, 4));
  if (bodySize != data.size() - kHeaderSize) return fail(Status::Damaged, "body size does not match the file");
  const std::string_view body = data.substr(kHeaderSize);
  if (crc32(body) != checksum) return fail(Status::Damaged, "checksum mismatch");

  ArchiveReader r(body);
  if (r.beginRecord(kBodyClass, kBodyVersion) < 0)
    return fail(r.failedOnNewerVersion() ? Status::NewerVersion : Status::Damaged, r.failure());
  // Section bytes are views into the body: no copy of a large journal.
  std::map<std::string, std::string_view> sections;
  const size_t n = r.readCount(8);
  for (size_t i = 0; i < n && r.ok(); ++i) {
    std::string key = r.readString();
    const std::string_view bytes = r.readBytesView();
    if (r.ok()) sections[std::move(key)] = bytes;
  }
  if (r.ok() && !r.atEnd()) r.fail("trailing bytes after the sections");
  if (!r.ok()) return fail(Status::Damaged, r.failure());

  auto section = [&](const char* key, std::string_view* out) {
    auto it = sections.find(key);
    if (it == sections.end()) return false;
    *out = it->second;
    return true;
  };
  auto doc = std::make_unique<MyDocument>();
  std::string detail;
  std::string_view bytes;
  if (!section(KIVODataKaisyaKey, &bytes)) return fail(Status::Damaged, "no company section");
  auto kaisya = std::make_shared<Kaisya>();
  if (!decodeOne(bytes, *kaisya, &detail)) return fail(Status::Damaged, "company: " + detail);
  doc->setKaisya(std::move(kaisya));

  if (!section(KIVODataRootKamokuKubunKey, &bytes)) return fail(Status::Damaged, "no chart section");
  auto root = std::make_shared<KamokuKubun>();
  if (!decodeOne(bytes, *root, &detail)) return fail(Status::Damaged, "chart: " + detail);

  std::vector<JigyoubuPtr> jigyoubu;
  std::vector<TekiyouGroupPtr> tekiyouGroups;
  std::vector<SubMenuItemPtr> subMenuItems;
  Journal::Entries shiwake;
  struct ArraySection {
    const char* key;
    std::function<bool(std::string_view)> decode;
  };
  const ArraySection arrays[] = {
      {KIVODataJigyoubuArrayKey, [&](std::string_view b) { return decodeArray(b, jigyoubu, &detail); }},
      {KIVODataTekiyouGroupArrayKey, [&](std::string_view b) { return decodeArray(b, tekiyouGroups, &detail); }},
      {KIVODataShiwakeArrayKey, [&](std::string_view b) { return decodeArray(b, shiwake, &detail); }},
      {KIVODataFurikaedenpyouBookmarkArrayKey,
       [&](std::string_view b) { return decodeArray(b, doc->furikaedenpyouBookmarkArray(), &detail); }},
      {KIVODataHendouReasonArrayKey,
       [&](std::string_view b) { return decodeArray(b, doc->hendouReasonArray(), &detail); }},
      {KIVODataSubMenuItemArrayKey, [&](std::string_view b) { return decodeArray(b, subMenuItems, &detail); }},
  };
  for (const ArraySection& a : arrays) {
    if (!section(a.key, &bytes)) return fail(Status::Damaged, std::string("missing section ") + a.key);
    if (!a.decode(bytes)) return fail(Status::Damaged, std::string(a.key) + ": " + detail);
  }
  if (!section(KIVODataGenkasyoukyakuShisanArrayKey, &bytes)) return fail(Status::Damaged, "no asset section");
  {
    // The asset records decode themselves; here the section must at least be an array.
    ArchiveReader assets(bytes);
    assets.readCount(8);
    if (!assets.ok()) return fail(Status::Damaged, "asset section: " + assets.failure());
  }
  doc->setGenkasyoukyakuShisanArrayData(std::string(bytes));

  doc->setJigyoubuArray(std::move(jigyoubu));
  doc->journal().assign(std::move(shiwake));
  if (!tekiyouGroups.empty()) doc->setTekiyouGroupArray(std::move(tekiyouGroups));
  if (!doc->othersTekiyouGroup())
    doc->tekiyouGroupArray().push_back(std::make_shared<TekiyouGroup>(TekiyouGroup::kOthersGroupName, true));
  doc->setSubMenuItemArray(std::move(subMenuItems));
  doc->setRootKamokuKubun(std::move(root));
  res = Result{};
  return doc;
}

DocumentFile::Result DocumentFile::writeToFile(const MyDocument& document, const std::string& path,
                                               const WriteFault* fault)
{
  const std::string data = dataOfDocument(document);
  const size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string tmpl = dir + "/." + base + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return resultOf(Status::WriteFailed, std::string("mkstemp: ") + std::strerror(errno));
  const std::string tmpPath(name.data());
  std::string detail;
  bool ok = writeAll(fd, data, fault, &detail);
  // Keep the permissions of the file being replaced.
  struct stat old {};
  if (ok && ::stat(path.c_str(), &old) == 0)
    ::fchmod(fd, old.st_mode & 07777);
  else if (ok)
    ::fchmod(fd, 0644);
  if (ok && (::fsync(fd) != 0 || (fault && fault->failOnSync))) {
    ok = false;
    detail = fault && fault->failOnSync ? "simulated sync failure" : std::string("fsync: ") + std::strerror(errno);
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    detail = std::string("close: ") + std::strerror(errno);
  }
  if (ok && (fault && fault->failOnRename)) {
    ok = false;
    detail = "simulated rename failure";
  } else if (ok && ::rename(tmpPath.c_str(), path.c_str()) != 0) {
    ok = false;
    detail = std::string("rename: ") + std::strerror(errno);
  }
  if (!ok) {
    ::unlink(tmpPath.c_str());
    return resultOf(Status::WriteFailed, detail);
  }
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return Result{};
}

std::unique_ptr<MyDocument> DocumentFile::readFromFile(const std::string& path, Result* result)
{
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    if (result) *result = resultOf(Status::ReadFailed, std::string("open: ") + std::strerror(errno));
    return nullptr;
  }
  std::string data;
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      if (result) *result = resultOf(Status::ReadFailed, std::string("read: ") + std::strerror(errno));
      return nullptr;
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return documentFromData(data, result);
}

}  // namespace kivo
