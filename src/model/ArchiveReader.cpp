#include "model/ArchiveReader.h"

#include <cstring>

namespace kivo {

void ArchiveReader::fail(std::string reason)
{
  if (!ok_) return;
  ok_ = false;
  failure_ = std::move(reason);
  pos_ = data_.size();
}

bool ArchiveReader::take(void* out, size_t n)
{
  if (!ok_ || data_.size() - pos_ < n) {
    fail("unexpected end of data");
    std::memset(out, 0, n);
    return false;
  }
  std::memcpy(out, data_.data() + pos_, n);
  pos_ += n;
  return true;
}

int32_t ArchiveReader::beginRecord(std::string_view className, int32_t maxVersion)
{
  const std::string name = readString();
  const int32_t version = readInt32();
  if (!ok_) return -1;
  if (name != className) {
    fail("expected record " + std::string(className) + ", found " + name);
    return -1;
  }
  if (version < 0 || version > maxVersion) {
    newerVersion_ = version > maxVersion;
    fail("record " + name + " has unknown version " + std::to_string(version));
    return -1;
  }
  return version;
}

bool ArchiveReader::readBool()
{
  uint8_t b = 0;
  take(&b, 1);
  if (b > 1) fail("bad boolean");
  return b == 1;
}

int32_t ArchiveReader::readInt32()
{
  int32_t v;
  take(&v, 4);
  return v;
}
uint32_t ArchiveReader::readUInt32()
{
  uint32_t v;
  take(&v, 4);
  return v;
}
int64_t ArchiveReader::readInt64()
{
  int64_t v;
  take(&v, 8);
  return v;
}
double ArchiveReader::readDouble()
{
  double v;
  take(&v, 8);
  return v;
}

std::string ArchiveReader::readString()
{
  const uint32_t n = readUInt32();
  if (!ok_) return {};
  if (n > remaining()) {
    fail("string longer than the data");
    return {};
  }
  std::string s(data_.substr(pos_, n));
  pos_ += n;
  return s;
}

std::string ArchiveReader::readBytes() { return readString(); }

std::string_view ArchiveReader::readBytesView()
{
  const uint32_t n = readUInt32();
  if (!ok_) return {};
  if (n > remaining()) {
    fail("byte block longer than the data");
    return {};
  }
  std::string_view v = data_.substr(pos_, n);
  pos_ += n;
  return v;
}

std::string_view ArchiveReader::readRawView(size_t n)
{
  if (!ok_ || n > remaining()) {
    fail("unexpected end of data");
    return {};
  }
  std::string_view v = data_.substr(pos_, n);
  pos_ += n;
  return v;
}

Date ArchiveReader::readDate()
{
  const Date d = Date::fromSerial(readInt32());
  if (!d.isNull() && !d.isInSupportedRange()) fail("date out of range");
  return d;
}

size_t ArchiveReader::readCount(size_t minElementSize)
{
  const uint32_t n = readUInt32();
  if (!ok_) return 0;
  if (minElementSize == 0) minElementSize = 1;
  if (n > remaining() / minElementSize) {
    fail("count larger than the data");
    return 0;
  }
  return n;
}

}  // namespace kivo
