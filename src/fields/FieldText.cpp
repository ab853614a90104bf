#include "fields/FieldText.h"

namespace kivo {

std::string FieldText::halfWidth(std::string_view s)
{
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 == 0xE3 && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x80 &&
        static_cast<unsigned char>(s[i + 2]) == 0x80) {
      out += ' ';  // U+3000 ideographic space
      i += 3;
      continue;
    }
    if (b0 == 0xEF && i + 2 < s.size()) {
      const auto b1 = static_cast<unsigned char>(s[i + 1]);
      const auto b2 = static_cast<unsigned char>(s[i + 2]);
      const unsigned cp = ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
      if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && cp >= 0xFF01 && cp <= 0xFF5E) {
        out += static_cast<char>(cp - 0xFF01 + 0x21);
        i += 3;
        continue;
      }
    }
    out += s[i];
    ++i;
  }
  return out;
}

std::string FieldText::trimmed(std::string_view t)
{
  size_t b = 0, e = t.size();
  while (b < e && (t[b] == ' ' || t[b] == '\t')) ++b;
  while (e > b && (t[e - 1] == ' ' || t[e - 1] == '\t')) --e;
  return std::string(t.substr(b, e - b));
}

std::string FieldText::normalizedInput(std::string_view typed) { return trimmed(halfWidth(typed)); }

std::string FieldText::upperAscii(std::string_view t)
{
  std::string out(t);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool FieldText::isAsciiDigits(std::string_view t)
{
  if (t.empty()) return false;
  for (char c : t)
    if (c < '0' || c > '9') return false;
  return true;
}

bool FieldText::isAsciiAlnum(std::string_view t)
{
  if (t.empty()) return false;
  for (char c : t)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  return true;
}

namespace {
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool FieldText::startsWithIgnoringCase(std::string_view key, std::string_view prefix)
{
  if (prefix.size() > key.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (upper(key[i]) != upper(prefix[i])) return false;
  return true;
}

bool FieldText::equalsIgnoringCase(std::string_view a, std::string_view b)
{
  return a.size() == b.size() && startsWithIgnoringCase(a, b);
}

size_t FieldText::characterCount(std::string_view s)
{
  size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

bool FieldText::containsSpace(std::string_view s)
{
  return s.find(' ') != std::string_view::npos || s.find("\xE3\x80\x80") != std::string_view::npos;
}

}  // namespace kivo
