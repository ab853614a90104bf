#include "document/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <functional>
#include <new>
#include <optional>

#include "document/ShiwakeTable.h"
#include "files/Crc32.h"
#include "files/SafeFileWriter.h"
#include "files/SystemErrorText.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/SeenCodes.h"

namespace kivo {
namespace {

constexpr char kMagic[8] = {'K', 'I', 'V', 'O', 'S', 'A', 'V', 'N'};
constexpr const char* kKeptText = "前に保存した内容はそのまま残っています。";
constexpr const char* kOutOfMemoryMessage = "メモリが足りないため、書類ファイルを読み込めませんでした。";
constexpr const char* kBodyClass = "MyDocument";
constexpr int32_t kBodyVersion = 0;
// A body up to this size is read whole in one read and checked where it lies, as
// opening a year of books (a few MB) wants; a damaged one is refused holding no more.
// A larger body's checksum and then its structure are checked through a window of
// the file before a buffer of its size is made.
constexpr uint64_t kWholeReadLimit = uint64_t{16} << 20;
constexpr size_t kBlockSize = size_t{1} << 20;
// What is read of a large body to see whether it begins with the body's record.
constexpr size_t kBodyRecordHeadSize = 64;

template <typename T>
void encodeArray(const std::vector<std::shared_ptr<T>>& items, ArchiveWriter& w)
{
  w.writeCount(items.size());
  for (const auto& item : items) item->encodeWithCoder(w);
}

// Every element of an array section, each also shown to `seen`; out null: each is
// checked and let go (so a check holds one element at a time).
template <typename T, typename Seen = void (*)(const T&)>
bool decodeArray(
    ArchiveReader& r, std::vector<std::shared_ptr<T>>* out, std::string* detail, Seen seen = [](const T&) {})
{
  const size_t n = r.readCount(8);
  if (out) {
    out->clear();
    // A count is believed as far as a few pages: its records have yet to be read.
    out->reserve(std::min<size_t>(n, 1024));
  }
  for (size_t i = 0; i < n && r.ok(); ++i) {
    auto item = std::make_shared<T>();
    if (!item->initWithCoder(r)) break;
    seen(*item);
    if (out) out->push_back(std::move(item));
  }
  if (r.ok() && !r.atEnd()) r.fail("trailing bytes in section");
  if (!r.ok()) *detail = r.failure();
  return r.ok();
}

template <typename T>
bool decodeOne(ArchiveReader& r, T& out, std::string* detail)
{
  out.initWithCoder(r);
  if (r.ok() && !r.atEnd()) r.fail("trailing bytes in section");
  if (!r.ok()) *detail = r.failure();
  return r.ok();
}

// The section of the program's ordinary charges: its own record, so that a later
// coding of it is passed over by this program rather than misread, then one entry
// for each asset of the asset section, in its order: whether the program set the
// asset's ordinary charge, and the charge it set.
constexpr const char* kProgramChargesClass = "FutsuuSyoukyakuhiSetByProgram";
constexpr int32_t kProgramChargesVersion = 0;
constexpr size_t kProgramChargeSize = 1 + 8;

bool hasProgramCharges(const std::vector<GenkasyoukyakuShisanPtr>& assets)
{
  return std::any_of(assets.begin(), assets.end(),
                     [](const GenkasyoukyakuShisanPtr& a) { return a->isFutsuuSyoukyakuhiSetByProgram(); });
}

void encodeProgramCharges(const std::vector<GenkasyoukyakuShisanPtr>& assets, ArchiveWriter& w)
{
  w.beginRecord(kProgramChargesClass, kProgramChargesVersion);
  w.writeCount(assets.size());
  for (const GenkasyoukyakuShisanPtr& a : assets) {
    w.writeBool(a->isFutsuuSyoukyakuhiSetByProgram());
    w.writeInt64(a->futsuuSyoukyakuhi());
  }
}

// Marks the ordinary charges of the assets read that the section says the program
// set. The section never refuses the document: what it cannot vouch for stays the
// user's, as in a file without it. So all of it stays the user's when the section is
// damaged, of a later coding or of another number of assets (another program may
// have kept it beside an asset section it changed), and a charge is the program's
// only while the asset holds the very charge the program set.
void decodeProgramCharges(ArchiveReader& r, const std::vector<GenkasyoukyakuShisanPtr>& assets)
{
  if (r.beginRecord(kProgramChargesClass, kProgramChargesVersion) < 0) return;
  const size_t n = r.readCount(kProgramChargeSize);
  if (!r.ok() || n != assets.size()) return;
  std::vector<bool> byProgram(n, false);
  for (size_t i = 0; i < n && r.ok(); ++i) {
    const bool set = r.readBool();
    const int64_t charge = r.readInt64();
    byProgram[i] = set && charge == assets[i]->futsuuSyoukyakuhi();
  }
  if (!r.ok() || !r.atEnd()) return;
  for (size_t i = 0; i < n; ++i) assets[i]->setIsFutsuuSyoukyakuhiSetByProgram(byProgram[i]);
}

// The keys of the sections this program reads, of every format version.
constexpr std::array<const char*, 11> kSectionKeys = {
    KIVODataKaisyaKey,
    KIVODataRootKamokuKubunKey,
    KIVODataJigyoubuArrayKey,
    KIVODataTekiyouGroupArrayKey,
    KIVODataShiwakeArrayKey,
    KIVODataShiwakeTableKey,
    KIVODataFurikaedenpyouBookmarkArrayKey,
    KIVODataGenkasyoukyakuShisanArrayKey,
    KIVODataHendouReasonArrayKey,
    KIVODataSubMenuItemArrayKey,
    KIVODataFutsuuSyoukyakuhiSetByProgramKey,
};

// The index of that key in kSectionKeys, or kSectionKeys.size() when it names no
// section this program reads.
size_t sectionIndexOf(std::string_view key)
{
  size_t i = 0;
  while (i < kSectionKeys.size() && key != kSectionKeys[i]) ++i;
  return i;
}

// Where each section this program reads stands, its offset in the body and its
// length (the last of a key given twice); nothing for another key, however many a
// body declares.
using SectionTable = std::array<std::optional<std::pair<uint64_t, uint64_t>>, kSectionKeys.size()>;
// Longer than every section key: a longer key names no section this program reads,
// and its bytes are passed over, not read.
constexpr uint32_t kLongestKey = 64;

// The body's own record and its table of sections, which must fill the body; the
// status of the refusal otherwise.
DocumentFile::Status readSectionTable(ArchiveReader& r, SectionTable& table, std::string* detail)
{
  if (r.beginRecord(kBodyClass, kBodyVersion) < 0) {
    *detail = r.failure();
    return r.failedOnNewerVersion() ? DocumentFile::Status::NewerVersion : DocumentFile::Status::Damaged;
  }
  const size_t n = r.readCount(8);
  for (size_t i = 0; i < n && r.ok(); ++i) {
    const uint32_t keyLength = r.readUInt32();
    size_t index = kSectionKeys.size();
    if (keyLength <= kLongestKey)
      index = sectionIndexOf(r.readRawView(keyLength));
    else
      r.skip(keyLength);
    const uint32_t length = r.readUInt32();
    const uint64_t at = r.offset();
    r.skip(length);
    if (r.ok() && index < table.size()) table[index] = std::pair(at, uint64_t{length});
  }
  if (r.ok() && !r.atEnd()) r.fail("trailing bytes after the sections");
  if (!r.ok()) *detail = r.failure();
  return r.ok() ? DocumentFile::Status::Ok : DocumentFile::Status::Damaged;
}

// Where the section of that key stands in the table, if the body has it.
std::optional<std::pair<uint64_t, uint64_t>> sectionIn(const SectionTable& table, const std::string& key)
{
  const size_t index = sectionIndexOf(key);
  return index < table.size() ? table[index] : std::nullopt;
}

// The records of a body's sections, read but not yet made a document.
struct Sections {
  std::shared_ptr<Kaisya> kaisya = std::make_shared<Kaisya>();
  KamokuKubunPtr root = std::make_shared<KamokuKubun>();
  std::vector<JigyoubuPtr> jigyoubu;
  std::vector<TekiyouGroupPtr> tekiyouGroups;
  Journal::Entries shiwake;
  std::shared_ptr<ShiwakeTable::Block> shiwakeBlock;
  std::vector<BookmarkPtr> bookmarks;
  std::vector<HendouReasonPtr> hendouReasons;
  std::vector<GenkasyoukyakuShisanPtr> assets;
  std::vector<SubMenuItemPtr> subMenuItems;
  int32_t highestDenpyouNo = 0;  // of the journal's entries; 0 when none is above 0
};

// Calls `read` with a reader over the bytes of that section and answers what it
// answers, or nothing when the body has no such section.
using SectionReader =
    std::function<std::optional<bool>(const std::string& key, const std::function<bool(ArchiveReader&)>& read)>;

// Reads every section that version's body holds. checkOnly: every record is checked
// and let go (the company's and the chart's are kept, without their texts and lists
// that only the file bounds), and no entry is made of the journal.
bool readSections(uint32_t version, const SectionReader& section, bool checkOnly, Sections& out, std::string* detail)
{
  std::string why;
  // Into the list, or checked and let go.
  auto into = [&](auto& list) { return checkOnly ? nullptr : &list; };
  // The division editor keeps one record for each code: two of one code would both
  // take the entries and opening balances of that code in every report.
  SeenCodes<Jigyoubu::kAllJigyoubuCode> divisionCodes;
  bool divisionsDiffer = true;
  // The journal: packed records from version 2 on, one archived record each before.
  const char* journalKey = version >= 2 ? KIVODataShiwakeTableKey : KIVODataShiwakeArrayKey;
  const std::pair<const char*, std::function<bool(ArchiveReader&)>> sections[] = {
      {KIVODataKaisyaKey, [&](ArchiveReader& r) { return decodeOne(r, *out.kaisya, &why); }},
      {KIVODataRootKamokuKubunKey, [&](ArchiveReader& r) { return decodeOne(r, *out.root, &why); }},
      {KIVODataJigyoubuArrayKey,
       [&](ArchiveReader& r) {
         const bool read = decodeArray(r, into(out.jigyoubu), &why, [&](const Jigyoubu& j) {
           if (!divisionCodes.insert(j.code()) && divisionsDiffer) {
             divisionsDiffer = false;
             why = "two divisions with code " + std::to_string(j.code());
           }
         });
         return read && divisionsDiffer;
       }},
      {KIVODataTekiyouGroupArrayKey, [&](ArchiveReader& r) { return decodeArray(r, into(out.tekiyouGroups), &why); }},
      {journalKey,
       [&](ArchiveReader& r) {
         if (version < 2)
           return decodeArray(r, into(out.shiwake), &why, [&](const Shiwake& s) {
             out.highestDenpyouNo = std::max(out.highestDenpyouNo, s.denpyouNo());
           });
         if (checkOnly) return ShiwakeTable::check(r, &why, &out.highestDenpyouNo);
         if (!ShiwakeTable::decode(r, out.shiwakeBlock, &why)) return false;
         for (const Shiwake& s : *out.shiwakeBlock)
           out.highestDenpyouNo = std::max(out.highestDenpyouNo, s.denpyouNo());
         return true;
       }},
      {KIVODataFurikaedenpyouBookmarkArrayKey,
       [&](ArchiveReader& r) { return decodeArray(r, into(out.bookmarks), &why); }},
      {KIVODataHendouReasonArrayKey, [&](ArchiveReader& r) { return decodeArray(r, into(out.hendouReasons), &why); }},
      {KIVODataGenkasyoukyakuShisanArrayKey, [&](ArchiveReader& r) { return decodeArray(r, into(out.assets), &why); }},
      {KIVODataSubMenuItemArrayKey, [&](ArchiveReader& r) { return decodeArray(r, into(out.subMenuItems), &why); }},
  };
  for (const auto& [key, read] : sections) {
    const std::optional<bool> done = section(key, read);
    if (!done) *detail = std::string("missing section ") + key;
    if (done && !*done) *detail = std::string(key) + ": " + why;
    if (!done.value_or(false)) return false;
  }
  // Optional, and never a reason to refuse: a check has nothing to learn from it.
  if (!checkOnly)
    section(KIVODataFutsuuSyoukyakuhiSetByProgramKey, [&](ArchiveReader& r) {
      decodeProgramCharges(r, out.assets);
      return true;
    });
  // Every version numbers a new voucher from the counter and moves it on, and no
  // deletion or carry-forward moves it back: a counter at or below a voucher of the
  // journal would make the next import, voucher or cash-book row merge into it.
  if (out.kaisya->minAvailableDenpyouNo() <= out.highestDenpyouNo) {
    *detail = "voucher counter at or below a voucher of the journal";
    return false;
  }
  return true;
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

bool readFully(int fd, char* out, size_t size, uint64_t offset)
{
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, out + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

uint32_t DocumentFile::checksumOf(std::string_view versionAndSize, std::string_view body, uint32_t version)
{
  return Crc32::of(body, checksumBeforeBody(versionAndSize, version));
}

uint32_t DocumentFile::checksumBeforeBody(std::string_view versionAndSize, uint32_t version)
{
  // The first version guarded only the body. From the second on the checksum covers
  // the version and size fields too, so that a damaged version never passes for a
  // newer program's file.
  return version <= 1 ? 0 : Crc32::of(versionAndSize);
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
  case Status::WriteFailed: r.message = std::string("書類を保存できませんでした。") + kKeptText; break;
  case Status::OwnershipNotKept:
    r.message = std::string("書類を保存できませんでした。") + SafeFileWriter::kOwnershipNotKeptText + "。" + kKeptText +
                "変更を残すには別名で保存してください。";
    break;
  }
  return r;
}

std::string DocumentFile::dataOfDocument(const MyDocument& doc)
{
  // The whole file in one buffer: the header's place first, each section's length
  // filled in once it is written, the header last.
  ArchiveWriter w;
  w.reserve(doc.journal().size() * 48 + (256 << 10));
  w.appendUninitialized(kHeaderSize);
  w.beginRecord(kBodyClass, kBodyVersion);
  const bool programCharges = hasProgramCharges(doc.genkasyoukyakuShisanArray());
  w.writeCount(programCharges ? 10 : 9);
  auto section = [&](const char* key, const auto& encode) {
    w.writeString(key);
    const size_t at = w.size();
    w.writeUInt32(0);
    encode();
    w.patchUInt32(at, static_cast<uint32_t>(w.size() - at - 4));
  };
  section(KIVODataKaisyaKey, [&] { doc.kaisya().encodeWithCoder(w); });
  section(KIVODataRootKamokuKubunKey, [&] { doc.rootKamokuKubun()->encodeWithCoder(w); });
  section(KIVODataJigyoubuArrayKey, [&] { encodeArray(doc.jigyoubuArray(), w); });
  section(KIVODataTekiyouGroupArrayKey, [&] { encodeArray(doc.tekiyouGroupArray(), w); });
  section(KIVODataShiwakeTableKey, [&] { ShiwakeTable::encode(doc.journal().entries(), w); });
  section(KIVODataFurikaedenpyouBookmarkArrayKey, [&] { encodeArray(doc.furikaedenpyouBookmarkArray(), w); });
  section(KIVODataGenkasyoukyakuShisanArrayKey, [&] { encodeArray(doc.genkasyoukyakuShisanArray(), w); });
  section(KIVODataHendouReasonArrayKey, [&] { encodeArray(doc.hendouReasonArray(), w); });
  section(KIVODataSubMenuItemArrayKey, [&] { encodeArray(doc.subMenuItemArray(), w); });
  // Without a charge of the program's, the file is what it was before the section
  // came, and reads the same.
  if (programCharges)
    section(KIVODataFutsuuSyoukyakuhiSetByProgramKey,
            [&] { encodeProgramCharges(doc.genkasyoukyakuShisanArray(), w); });

  std::string out = w.takeData();
  const std::string_view body = std::string_view(out).substr(kHeaderSize);
  std::string header(kMagic, sizeof kMagic);
  putLE(header, kFormatVersion, 4);
  putLE(header, body.size(), 8);
  putLE(header, checksumOf(std::string_view(header).substr(8, 12), body, kFormatVersion), 4);
  std::memcpy(out.data(), header.data(), kHeaderSize);
  return out;
}

std::unique_ptr<MyDocument> DocumentFile::documentFromData(std::string_view data, Result* result)
{
  return documentFromData(data, result, {}, false);
}

std::unique_ptr<MyDocument> DocumentFile::documentFromData(std::string_view data, Result* result,
                                                           const std::function<void()>& dataDone, bool checked)
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
  // The version is believed only once the checksum vouches for the bytes: damage to
  // the header must not pass for a file of a newer program.
  const uint32_t version = static_cast<uint32_t>(getLE(data, 8, 4));
  const uint64_t bodySize = getLE(data, 12, 8);
  const uint32_t checksum = static_cast<uint32_t>(getLE(data, 20, 4));
  if (bodySize != data.size() - kHeaderSize) return fail(Status::Damaged, "body size does not match the file");
  const std::string_view body = data.substr(kHeaderSize);
  if (!checked && checksumOf(data.substr(8, 12), body, version) != checksum)
    return fail(Status::Damaged, "checksum mismatch");
  if (version == 0) return fail(Status::Damaged, "format version 0");
  if (version > kFormatVersion) return fail(Status::NewerVersion, "format version " + std::to_string(version));
  try {
    return decodeBody(body, version, res, dataDone);
  } catch (const std::bad_alloc&) {
    res = resultOf(Status::ReadFailed, "out of memory");
    res.message = kOutOfMemoryMessage;
    return nullptr;
  }
}

std::unique_ptr<MyDocument> DocumentFile::decodeBody(std::string_view body, uint32_t version, Result& res,
                                                     const std::function<void()>& dataDone)
{
  ArchiveReader r(body);
  SectionTable table;
  std::string detail;
  if (const Status status = readSectionTable(r, table, &detail); status != Status::Ok) {
    res = resultOf(status, std::move(detail));
    return nullptr;
  }
  // Section bytes are views into the body: no copy of a large journal.
  Sections read;
  const SectionReader section = [&](const std::string& key, const std::function<bool(ArchiveReader&)>& decode) {
    const auto place = sectionIn(table, key);
    if (!place) return std::optional<bool>();
    ArchiveReader bytes(body.substr(static_cast<size_t>(place->first), static_cast<size_t>(place->second)));
    return std::optional<bool>(decode(bytes));
  };
  if (!readSections(version, section, false, read, &detail)) {
    res = resultOf(Status::Damaged, std::move(detail));
    return nullptr;
  }

  if (dataDone) dataDone();
  auto doc = std::make_unique<MyDocument>();
  doc->setKaisya(std::move(read.kaisya));
  if (read.shiwakeBlock) read.shiwake = ShiwakeTable::entriesOf(read.shiwakeBlock);
  doc->setJigyoubuArray(std::move(read.jigyoubu));
  doc->journal().assign(std::move(read.shiwake));
  if (!read.tekiyouGroups.empty()) doc->setTekiyouGroupArray(std::move(read.tekiyouGroups));
  if (!doc->othersTekiyouGroup())
    doc->tekiyouGroupArray().push_back(std::make_shared<TekiyouGroup>(TekiyouGroup::kOthersGroupName, true));
  doc->furikaedenpyouBookmarkArray() = std::move(read.bookmarks);
  doc->hendouReasonArray() = std::move(read.hendouReasons);
  doc->setGenkasyoukyakuShisanArray(std::move(read.assets));
  doc->setSubMenuItemArray(std::move(read.subMenuItems));
  doc->setRootKamokuKubun(std::move(read.root));
  res = Result{};
  return doc;
}

DocumentFile::Result DocumentFile::writeToFile(const MyDocument& document, const std::string& givenPath,
                                               const WriteFault* fault)
{
  SafeFileWriter out(givenPath, std::string(kMagic, sizeof kMagic), fault);
  // Whatever fails, the message says why, and says that the previous file is still
  // there only when a document file stands in its place.
  auto failed = [&](std::string why, int error) {
    Result r = resultOf(Status::WriteFailed, std::move(why));
    std::string path = out.targetPath();
    if (path.empty()) path = givenPath;
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string reason = error != 0 ? "（" + SystemErrorText::of(error) + "）" : "";
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
      r.message = "書類を保存できませんでした" + reason + "。" + kKeptText;
    else if (::stat(dir.c_str(), &st) != 0)
      r.message = "書類を保存できませんでした。保存先のフォルダが見つかりません。";
    else
      r.message = "書類を保存できませんでした" + reason + "。";
    return r;
  };

  std::string data;
  try {
    data = dataOfDocument(document);
  } catch (const std::bad_alloc&) {
    return failed("out of memory", ENOMEM);
  }
  if (data.size() - kHeaderSize > kMaxBodySize) return failed("document larger than the format holds", EFBIG);
  if (!out.open() || !out.write(data) || !out.commit())
    return out.ownershipNotKept() ? resultOf(Status::OwnershipNotKept, out.error())
                                  : failed(out.error(), out.errorNumber());
  return Result{};
}

std::unique_ptr<MyDocument> DocumentFile::readFromFile(const std::string& path, Result* result)
{
  Result local;
  Result& res = result ? *result : local;
  auto fail = [&](Status status, std::string detail) {
    res = resultOf(status, std::move(detail));
    return nullptr;
  };
  // Without blocking: opening a pipe would wait for a writer that never comes. What
  // is not a regular file is refused before a byte is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return fail(Status::ReadFailed, std::string("open: ") + std::strerror(errno));
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(Status::ReadFailed, std::string("fstat: ") + std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return fail(Status::ReadFailed, "not a regular file");
  SafeFileWriter::removeStaleTemporaries(path, std::string_view(kMagic, sizeof kMagic));

  // The header first: a file that is not ours, or one whose declared size does not
  // match or exceeds what the format holds, is refused before its body is read.
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  char header[kHeaderSize];
  const size_t headerBytes = static_cast<size_t>(std::min<uint64_t>(size, kHeaderSize));
  if (!readFully(fd, header, headerBytes, 0))
    return fail(Status::ReadFailed, std::string("read: ") + std::strerror(errno));
  const std::string_view head(header, headerBytes);
  if (head.size() < sizeof kMagic || std::memcmp(head.data(), kMagic, sizeof kMagic) != 0)
    return fail(Status::NotOurs, "no Kivosavan header");
  if (head.size() < kHeaderSize) return fail(Status::Damaged, "header truncated");
  const uint64_t bodySize = getLE(head, 12, 8);
  if (bodySize != size - kHeaderSize) return fail(Status::Damaged, "body size does not match the file");
  if (bodySize > kMaxBodySize) return fail(Status::Damaged, "body larger than the format holds");

  try {
    return bodySize <= kWholeReadLimit ? readWhole(fd, size, res) : readInBlocks(fd, head, res);
  } catch (const std::bad_alloc&) {
    fail(Status::ReadFailed, "out of memory");
    res.message = kOutOfMemoryMessage;
    return nullptr;
  }
}

std::unique_ptr<MyDocument> DocumentFile::readWhole(int fd, uint64_t size, Result& res)
{
  // Left uninitialised: the read fills every byte, and zeroing megabytes first costs
  // as much as the read itself. Let go as soon as the records are read (dataDone).
  const auto length = static_cast<size_t>(size);
  std::unique_ptr<char[]> data(new char[length]);
  if (!readFully(fd, data.get(), length, 0)) {
    res = resultOf(Status::ReadFailed, std::string("read: ") + std::strerror(errno));
    return nullptr;
  }
  return documentFromData(
      std::string_view(data.get(), length), &res, [&] { data.reset(); }, false);
}

DocumentFile::Result DocumentFile::checkBody(uint32_t version, uint64_t bodySize, const ArchiveReader::ReadAt& readAt,
                                             size_t window)
{
  // Every section is read through a window by a reader that only checks: what is
  // held is a window, the table of the sections this program reads, one record at a
  // time and the company's and the chart's records without their texts, whatever
  // lengths and counts the body declares; never the body.
  ArchiveReader r(bodySize, readAt, window);
  r.setCheckOnly(true);
  SectionTable table;
  std::string detail;
  const Status status = readSectionTable(r, table, &detail);
  if (status != Status::Ok) return resultOf(status, std::move(detail));
  Sections read;
  const SectionReader section = [&](const std::string& key, const std::function<bool(ArchiveReader&)>& check) {
    const auto place = sectionIn(table, key);
    if (!place) return std::optional<bool>();
    const uint64_t start = place->first;
    ArchiveReader bytes(
        place->second, [&, start](uint64_t at, char* out, size_t n) { return readAt(start + at, out, n); }, window);
    bytes.setCheckOnly(true);
    return std::optional<bool>(check(bytes));
  };
  if (!readSections(version, section, true, read, &detail)) return resultOf(Status::Damaged, std::move(detail));
  return Result{};
}

std::unique_ptr<MyDocument> DocumentFile::readInBlocks(int fd, std::string_view header, Result& res)
{
  auto fail = [&](Status status, std::string detail) {
    res = resultOf(status, std::move(detail));
    return nullptr;
  };
  const auto version = static_cast<uint32_t>(getLE(header, 8, 4));
  const uint64_t bodySize = getLE(header, 12, 8);
  const auto checksum = static_cast<uint32_t>(getLE(header, 20, 4));
  const uint32_t start = checksumBeforeBody(header.substr(8, 12), version);
  // Reads the body in blocks into `to`, each at its place (or all into one block when
  // `to` is null), and answers whether the checksum holds.
  auto readChecked = [&](char* to, char* block, bool* readOk) {
    uint32_t crc = start;
    for (uint64_t at = 0; at < bodySize;) {
      const auto n = static_cast<size_t>(std::min<uint64_t>(kBlockSize, bodySize - at));
      char* into = to ? to + kHeaderSize + at : block;
      if (!readFully(fd, into, n, kHeaderSize + at)) {
        *readOk = false;
        return false;
      }
      crc = Crc32::of(std::string_view(into, n), crc);
      at += n;
    }
    return crc == checksum;
  };
  // The checksum alone, through one block.
  bool readOk = true;
  auto checksumHolds = [&] {
    std::unique_ptr<char[]> block(new char[kBlockSize]);
    return readChecked(nullptr, block.get(), &readOk);
  };
  auto checksumFailed = [&] {
    return readOk ? fail(Status::Damaged, "checksum mismatch")
                  : fail(Status::ReadFailed, std::string("read: ") + std::strerror(errno));
  };
  // A version this program does not read is believed once the checksum holds.
  if (version == 0 || version > kFormatVersion) {
    if (!checksumHolds()) return checksumFailed();
    return version == 0 ? fail(Status::Damaged, "format version 0")
                        : fail(Status::NewerVersion, "format version " + std::to_string(version));
  }
  int readError = 0;
  const ArchiveReader::ReadAt readAt = [&](uint64_t at, char* out, size_t n) {
    if (readFully(fd, out, n, kHeaderSize + at)) return true;
    readError = errno != 0 ? errno : EIO;
    return false;
  };
  auto readFailed = [&] { return fail(Status::ReadFailed, std::string("read: ") + std::strerror(readError)); };
  // A body that does not begin with the body's record is no document, whatever its
  // checksum: refused from its first bytes. A newer one is believed once the checksum
  // holds.
  ArchiveReader head(bodySize, readAt, kBodyRecordHeadSize);
  head.beginRecord(kBodyClass, kBodyVersion);
  if (readError != 0) return readFailed();
  if (!head.ok() && !head.failedOnNewerVersion()) return fail(Status::Damaged, head.failure());
  // Then the checksum, in one pass through one block: damage anywhere is refused
  // holding that block.
  if (!checksumHolds()) return checksumFailed();
  if (!head.ok()) return fail(Status::NewerVersion, head.failure());
  // Then the structure, as the reader will meet it, holding fixed amounts whatever the
  // body declares: a file made to pass the checksum but holding no document is refused
  // too. Only then is memory for the body asked for.
  res = checkBody(version, bodySize, readAt);
  if (readError != 0) return readFailed();
  if (!res.ok()) return nullptr;
  // Then the body where it is decoded, checked again block by block as it comes in,
  // so that what is decoded is what was checked even if the file changed meanwhile.
  const auto length = static_cast<size_t>(kHeaderSize + bodySize);
  std::unique_ptr<char[]> data(new char[length]);
  std::memcpy(data.get(), header.data(), kHeaderSize);
  if (!readChecked(data.get(), nullptr, &readOk))
    return fail(Status::ReadFailed, readOk ? std::string("the file changed while it was read")
                                           : std::string("read: ") + std::strerror(errno));
  return documentFromData(
      std::string_view(data.get(), length), &res, [&] { data.reset(); }, true);
}

}  // namespace kivo
