// Writes the versioned, non-keyed binary archive that records code themselves into.
//
// Each record writes its class name and class version (beginRecord), then its fields
// in a fixed order. Integers are little-endian; strings and byte blocks carry a
// 32-bit length. The matching ArchiveReader reads the same calls back in order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/Date.h"

namespace kivo {

class ArchiveWriter {
public:
  void beginRecord(std::string_view className, int32_t classVersion);

  void writeBool(bool value);
  void writeInt32(int32_t value);
  void writeUInt32(uint32_t value);
  void writeInt64(int64_t value);
  void writeDouble(double value);
  void writeString(std::string_view value);
  void writeBytes(std::string_view value);
  void writeDate(const Date& value);
  // A count that the reader will check against the bytes that remain.
  void writeCount(size_t count);

  // Bytes as they are, without a length.
  void writeRaw(std::string_view bytes) { put(bytes.data(), bytes.size()); }
  // n more bytes for the caller to fill; the pointer is valid until the next write.
  char* appendUninitialized(size_t n)
  {
    const size_t at = data_.size();
    data_.resize(at + n);
    return data_.data() + at;
  }
  size_t size() const { return data_.size(); }
  // Overwrites four bytes written earlier (a length known only afterwards).
  void patchUInt32(size_t at, uint32_t value);

  const std::string& data() const { return data_; }
  std::string takeData() { return std::move(data_); }
  void reserve(size_t n) { data_.reserve(n); }

private:
  void put(const void* p, size_t n) { data_.append(static_cast<const char*>(p), n); }
  std::string data_;
};

}  // namespace kivo
