// Reads what ArchiveWriter wrote. Damage never crashes it: the first read that
// runs past the end, meets a length larger than what remains or a record of another
// class or of a newer version than the program knows marks the reader failed, and
// every later read answers a zero value. Callers check ok() once at the end.
//
// The archive is either bytes in memory or a stretch of a file read as it is needed,
// a window at a time: then memory holds what is read out of the archive (the strings
// made, the views asked for) and one window, never the archive. A failure's reason
// names what was expected, never a text of the archive.
//
// A reader may only check: its texts are passed over and read as empty, and records
// keep none of the elements of a list whose length only the archive bounds. So a
// check holds one window and fixed amounts whatever the archive declares, and its
// verdict is a full read's as long as no record's rule looks into a text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/Date.h"

namespace kivo {

class ArchiveReader {
public:
  explicit ArchiveReader(std::string_view data) : data_(data), next_(data.size()), size_(data.size()) {}
  // Reads n bytes at that offset from the archive's start into out; false when they
  // cannot be read.
  using ReadAt = std::function<bool(uint64_t offset, char* out, size_t n)>;
  // What one read takes in at least: few reads, little memory.
  static constexpr size_t kWindow = size_t{1} << 20;
  // An archive of `size` bytes reached through readAt, `window` bytes a read (more
  // when one value asks for more). A failed read fails the archive (the caller's
  // readAt knows why).
  ArchiveReader(uint64_t size, ReadAt readAt, size_t window = kWindow)
      : next_(0), size_(size), readAt_(std::move(readAt)), windowSize_(window)
  {
  }
  // Views point into the reader's own window.
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Reads a record header; answers its class version, or -1 (and fails) when the
  // class name differs or the version is above maxVersion.
  int32_t beginRecord(std::string_view className, int32_t maxVersion);

  bool readBool();
  int32_t readInt32();
  uint32_t readUInt32();
  int64_t readInt64();
  double readDouble();
  std::string readString();
  std::string readBytes();
  // The bytes in place, without a copy; valid while the archive's data lives (read
  // from a file: until the next read).
  std::string_view readBytesView();
  // The next n bytes in place (no length before them); fails when fewer remain.
  std::string_view readRawView(size_t n);
  // Passes over the next n bytes (read from a file: without reading them); fails when
  // fewer remain.
  void skip(uint64_t n);
  // A date: null, or a day of the years the program handles; any other day number
  // fails the archive.
  Date readDate();
  // A count of elements each at least minElementSize bytes long; fails when the
  // remaining bytes cannot hold that many.
  size_t readCount(size_t minElementSize = 1);

  // Whether the reader only checks (see above); set before the first read.
  bool checkOnly() const { return checkOnly_; }
  void setCheckOnly(bool checkOnly) { checkOnly_ = checkOnly; }

  bool ok() const { return ok_; }
  bool atEnd() const { return remaining() == 0; }
  size_t remaining() const { return static_cast<size_t>(data_.size() - pos_ + (size_ - next_)); }
  // How far the archive has been read.
  uint64_t offset() const { return next_ - (data_.size() - pos_); }
  // Marks the archive damaged, with the reason kept for diagnostics.
  void fail(std::string reason);
  const std::string& failure() const { return failure_; }
  // Whether the failure was a record newer than this program reads.
  bool failedOnNewerVersion() const { return newerVersion_; }

private:
  bool take(void* out, size_t n);
  // Makes the next n bytes stand in the window; false when fewer remain.
  bool fill(size_t n);
  std::string_view data_;  // the bytes in memory, or the window
  size_t pos_ = 0;
  uint64_t next_;  // the offset of the first byte after data_
  uint64_t size_;
  ReadAt readAt_;
  size_t windowSize_ = kWindow;
  std::string window_;
  bool ok_ = true;
  bool checkOnly_ = false;
  bool newerVersion_ = false;
  std::string failure_;
};

}  // namespace kivo
