#include "model/ArchiveReader.h"

#include <algorithm>
#include <cstring>

namespace kivo {

void ArchiveReader::fail(std::string reason)
{
  if (!ok_) return;
  ok_ = false;
  failure_ = std::move(reason);
  pos_ = data_.size();
  next_ = size_;
}

bool ArchiveReader::fill(size_t n)
{
  if (!ok_ || !readAt_ || n > remaining()) return false;
  const size_t kept = data_.size() - pos_;
  const auto more = static_cast<size_t>(std::min<uint64_t>(std::max(n, windowSize_) - kept, size_ - next_));
  if (kept > 0) std::memmove(window_.data(), data_.data() + pos_, kept);
  window_.resize(kept + more);
  if (!readAt_(next_, window_.data() + kept, more)) {
    fail("the data could not be read");
    return false;
  }
  next_ += more;
  data_ = window_;
  pos_ = 0;
  return true;
}

bool ArchiveReader::take(void* out, size_t n)
{
  if (!ok_ || (data_.size() - pos_ < n && !fill(n))) {
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
  // The name is compared where it lies, its length first: a record of another class
  // costs nothing, whatever length it declares.
  const uint32_t length = readUInt32();
  if (ok_ && (length != className.size() || readRawView(length) != className))
    fail("expected record " + std::string(className));
  const int32_t version = readInt32();
  if (!ok_) return -1;
  if (version < 0 || version > maxVersion) {
    newerVersion_ = version > maxVersion;
    fail("record " + std::string(className) + " has unknown version " + std::to_string(version));
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
  if (checkOnly_) {
    skip(n);
    return {};
  }
  const size_t here = std::min<size_t>(n, data_.size() - pos_);
  std::string s(data_.substr(pos_, here));
  pos_ += here;
  if (here < n) {
    // The rest straight from the file into the string: held once.
    s.resize(n);
    if (!readAt_(next_, s.data() + here, n - here)) {
      fail("the data could not be read");
      return {};
    }
    next_ += n - here;
  }
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
  if (data_.size() - pos_ < n && !fill(n)) return {};
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
  if (data_.size() - pos_ < n && !fill(n)) return {};
  std::string_view v = data_.substr(pos_, n);
  pos_ += n;
  return v;
}

void ArchiveReader::skip(uint64_t n)
{
  if (!ok_ || n > remaining()) {
    fail("unexpected end of data");
    return;
  }
  const size_t here = static_cast<size_t>(std::min<uint64_t>(n, data_.size() - pos_));
  pos_ += here;
  next_ += n - here;
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
