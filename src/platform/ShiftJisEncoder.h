// Shift-JIS as Windows writes it (code page 932, "Windows-31J"): the encoding of
// report text files. Strict: a character the code page has no code for (for
// example U+301C WAVE DASH, where the code page has U+FF5E) is refused, never
// replaced or dropped.
#pragma once

#include <string>
#include <string_view>

#include "files/ReportTextExporter.h"

namespace kivo {

class ShiftJisEncoder {
public:
  // Appends the bytes of the UTF-8 text to out; false (out unchanged) when the
  // text is not valid UTF-8 or holds a character the code page cannot represent.
  static bool encode(std::string_view utf8, std::string& out);
  // Appends the UTF-8 text of the code page's bytes to out; false (out unchanged)
  // when they hold a byte sequence the code page does not define.
  static bool decode(std::string_view bytes, std::string& out);
  // The encoder for ReportTextExporter.
  static ReportTextExporter::Encoder encoder() { return &ShiftJisEncoder::encode; }
};

}  // namespace kivo
