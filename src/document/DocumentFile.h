// The document file: the nine sections of a document in our versioned binary archive,
// behind a header that names the format and a checksum that guards the body, and a
// tenth that says which assets' ordinary charges the program set (written only when
// one did).
//
//   magic "KIVOSAVN" | format version u32 | body size u64 | CRC-32 u32 | body
//
// The CRC-32 covers the body (version 1) or the version, size and body (later ones).
//
// The body is a record holding (key, section bytes) pairs under the keys below; each
// section is the archive of its records. A file that is not ours, truncated, damaged
// or written by a newer program is refused with a message and loads nothing; the
// header is checked before the body is read, and the checksum before the version is
// believed. A large body is held only once its checksum and its structure hold.
// Saving goes through SafeFileWriter, so a failure at any byte leaves the previous
// file whole; temporaries left by a killed save are removed on the next open or save.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "document/MyDocument.h"
#include "files/SafeFileWriter.h"
#include "model/ArchiveReader.h"

namespace kivo {

inline constexpr const char* KIVODataKaisyaKey = "Kivosa data of Kaisya";
inline constexpr const char* KIVODataRootKamokuKubunKey = "Kivosa data of Root Kamoku Kubun";
inline constexpr const char* KIVODataJigyoubuArrayKey = "Kivosa data of Jigyoubu Array";
inline constexpr const char* KIVODataTekiyouGroupArrayKey = "Kivosa data of Tekiyou Group Array";
// The journal of a version 1 file: one archived Shiwake record per entry.
inline constexpr const char* KIVODataShiwakeArrayKey = "Kivosa data of Shiwake Array";
// The journal from version 2 on: the packed table of ShiwakeTable.
inline constexpr const char* KIVODataShiwakeTableKey = "Kivosa data of Shiwake Table";
inline constexpr const char* KIVODataFurikaedenpyouBookmarkArrayKey = "Kivosa data of Furikaedenpyou Bookmark Array";
inline constexpr const char* KIVODataGenkasyoukyakuShisanArrayKey = "Kivosa data of Genkasyoukyaku Shisan Array";
inline constexpr const char* KIVODataHendouReasonArrayKey = "Kivosa data of Hendou Reason Array";
inline constexpr const char* KIVODataSubMenuItemArrayKey = "Kivosa data of Sub Menu Item Array";
// Whose each asset's ordinary charge is, in the order of the asset section: whether
// the program set it, and the charge it set. Readers that do not know the key pass it
// over, and a file without it (or with one that does not fit its assets) reads every
// charge as the user's.
inline constexpr const char* KIVODataFutsuuSyoukyakuhiSetByProgramKey =
    "Kivosa data of Futsuu Syoukyakuhi Set By Program";

class DocumentFile {
public:
  // OwnershipNotKept: the file was not replaced, since the new one could not have its
  // owner and group (see SafeFileWriter); another name is the way to keep the changes.
  enum class Status { Ok, NotOurs, Damaged, NewerVersion, ReadFailed, WriteFailed, OwnershipNotKept };

  struct Result {
    Status status = Status::Ok;
    std::string message;  // for the user, in Japanese; empty when Ok
    std::string detail;   // what exactly went wrong, for diagnostics
    bool ok() const { return status == Status::Ok; }
  };

  // Test seam: a write that fails at a byte, at the sync or at the rename.
  using WriteFault = SafeFileWriter::Fault;

  // 1: the journal as archived records; 2: the journal as a packed table; 3: the
  // company record keeps the appropriation items.
  static constexpr uint32_t kFormatVersion = 3;
  static constexpr size_t kHeaderSize = 8 + 4 + 8 + 4;
  // The largest body the format holds: section lengths are 32-bit.
  static constexpr uint64_t kMaxBodySize = UINT32_MAX;

  static std::string dataOfDocument(const MyDocument& document);
  static std::unique_ptr<MyDocument> documentFromData(std::string_view data, Result* result);

  static Result writeToFile(const MyDocument& document, const std::string& path, const WriteFault* fault = nullptr);
  static std::unique_ptr<MyDocument> readFromFile(const std::string& path, Result* result);
  // Whether a body of that size of a file of that version (1 to kFormatVersion) has a
  // document's structure, as the reader will meet it, read through readAt a window at
  // a time by a reader that only checks: the body's sections, the journal checked
  // entry by entry without making entries, the other records made one at a time and
  // let go, their texts passed over; it holds a window, one record at a time and the
  // company's and the chart's records, whose lists the term's months and the codes
  // bound (a chart filling every code takes about 180 MB), whatever the body
  // declares. What a large file's body passes, after its checksum, before memory of
  // its size is asked for; Damaged (or NewerVersion, for a newer document record)
  // when it would be refused.
  static Result checkBody(uint32_t version, uint64_t bodySize, const ArchiveReader::ReadAt& readAt,
                          size_t window = ArchiveReader::kWindow);

  static Result resultOf(Status status, std::string detail = {});
  // The header's checksum of a file of that version: versionAndSize is the 12 bytes of
  // the header after the signature.
  static uint32_t checksumOf(std::string_view versionAndSize, std::string_view body, uint32_t version);
  // The checksum's value before the body's bytes, which then continue it.
  static uint32_t checksumBeforeBody(std::string_view versionAndSize, uint32_t version);

private:
  // dataDone, when given, is called once the bytes are no longer needed: before the
  // journal's entries are made, so that the file's bytes and the entries' pointers
  // are never held at once. checked: the checksum has been found to hold already.
  static std::unique_ptr<MyDocument> documentFromData(std::string_view data, Result* result,
                                                      const std::function<void()>& dataDone, bool checked);
  // The file open as fd, its header checked: read whole, or checked block by block
  // before it is read into memory of its size.
  static std::unique_ptr<MyDocument> readWhole(int fd, uint64_t size, Result& res);
  static std::unique_ptr<MyDocument> readInBlocks(int fd, std::string_view header, Result& res);
  static std::unique_ptr<MyDocument> decodeBody(std::string_view body, uint32_t version, Result& res,
                                                const std::function<void()>& dataDone);
};

}  // namespace kivo
