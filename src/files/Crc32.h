// CRC-32, the zlib one: the document file's checksum, and the hash that tells the
// shortened names of temporary files apart.
#pragma once

#include <cstdint>
#include <string_view>

namespace kivo {

class Crc32 {
public:
  // `previous` continues the checksum of earlier bytes.
  static uint32_t of(std::string_view data, uint32_t previous = 0);
};

}  // namespace kivo
