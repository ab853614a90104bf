// Text helpers shared by the formatters: what a typed text means before any lookup.
// Users type through a Japanese input method, so full-width letters, digits and
// signs ("１２３", "ＧＥＮ", "／") read as their ASCII forms.
#pragma once

#include <string>
#include <string_view>

namespace kivo {

class FieldText {
public:
  // Full-width ASCII forms (U+FF01 to U+FF5E) and the ideographic space become
  // their ASCII counterparts; everything else is kept.
  static std::string halfWidth(std::string_view utf8);
  // Without leading and trailing spaces and tabs.
  static std::string trimmed(std::string_view text);
  // halfWidth, then trimmed: how every formatter first reads typed text.
  static std::string normalizedInput(std::string_view typed);
  static std::string upperAscii(std::string_view text);
  static bool isAsciiDigits(std::string_view text);
  static bool isAsciiAlnum(std::string_view text);
  // Whether the key begins with the prefix, ASCII letters compared without case.
  static bool startsWithIgnoringCase(std::string_view key, std::string_view prefix);
  static bool equalsIgnoringCase(std::string_view a, std::string_view b);
  // Number of characters (code points) of UTF-8 text.
  static size_t characterCount(std::string_view utf8);
  // Whether the text holds an ASCII or an ideographic space.
  static bool containsSpace(std::string_view utf8);
};

}  // namespace kivo
