#include "model/ArchiveWriter.h"

#include <bit>
#include <cstring>

namespace kivo {

static_assert(std::endian::native == std::endian::little, "the archive is written little-endian");

void ArchiveWriter::beginRecord(std::string_view className, int32_t classVersion)
{
  writeString(className);
  writeInt32(classVersion);
}

void ArchiveWriter::writeBool(bool value)
{
  const uint8_t b = value ? 1 : 0;
  put(&b, 1);
}

void ArchiveWriter::writeInt32(int32_t value) { put(&value, 4); }
void ArchiveWriter::writeUInt32(uint32_t value) { put(&value, 4); }
void ArchiveWriter::writeInt64(int64_t value) { put(&value, 8); }
void ArchiveWriter::writeDouble(double value) { put(&value, 8); }

void ArchiveWriter::writeString(std::string_view value)
{
  writeUInt32(static_cast<uint32_t>(value.size()));
  put(value.data(), value.size());
}

void ArchiveWriter::writeBytes(std::string_view value) { writeString(value); }

void ArchiveWriter::writeDate(const Date& value) { writeInt32(value.serial()); }

void ArchiveWriter::patchUInt32(size_t at, uint32_t value) { std::memcpy(data_.data() + at, &value, 4); }

void ArchiveWriter::writeCount(size_t count) { writeUInt32(static_cast<uint32_t>(count)); }

}  // namespace kivo
