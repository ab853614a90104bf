// Reads what ArchiveWriter wrote. Damage never crashes it: the first read that
// runs past the end, meets a length larger than what remains or a record of another
// class or of a newer version than the program knows marks the reader failed, and
// every later read answers a zero value. Callers check ok() once at the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Date.h"

namespace kivo {

class ArchiveReader {
public:
  explicit ArchiveReader(std::string_view data) : data_(data) {}

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
  // The bytes in place, without a copy; valid while the archive's data lives.
  std::string_view readBytesView();
  // The next n bytes in place (no length before them); fails when fewer remain.
  std::string_view readRawView(size_t n);
  // A date: null, or a day of the years the program handles; any other day number
  // fails the archive.
  Date readDate();
  // A count of elements each at least minElementSize bytes long; fails when the
  // remaining bytes cannot hold that many.
  size_t readCount(size_t minElementSize = 1);

  bool ok() const { return ok_; }
  bool atEnd() const { return pos_ == data_.size(); }
  size_t remaining() const { return data_.size() - pos_; }
  // Marks the archive damaged, with the reason kept for diagnostics.
  void fail(std::string reason);
  const std::string& failure() const { return failure_; }
  // Whether the failure was a record newer than this program reads.
  bool failedOnNewerVersion() const { return newerVersion_; }

private:
  bool take(void* out, size_t n);
  std::string_view data_;
  size_t pos_ = 0;
  bool ok_ = true;
  bool newerVersion_ = false;
  std::string failure_;
};

}  // namespace kivo
