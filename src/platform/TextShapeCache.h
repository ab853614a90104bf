// Strings shaped once per font: the glyphs QPainter::drawText draws for a string and
// the advance QFontMetricsF::horizontalAdvance gives it, kept for the next time the
// string is drawn in that font. Shaping (the glyphs of the fallback fonts, their
// advances and forms) is most of what drawing a string costs, and a printout draws
// the same account names, dates and divisions on page after page.
//
// Only plain strings are shaped here (isPlain): left-to-right text without control,
// separator or formatting characters, which a painter draws as one line. Strings made
// only of digits and the signs of amounts, numbers and dates ("0123456789,.-/") are
// not kept but put together from their characters' glyphs, once the font has been
// seen to shape those characters one by one (no ligature, kerning or contextual form
// among them): a probe holding every sequence of three of them must come out as the
// glyphs put together. Otherwise they are shaped like any string.
//
// The cache keeps at most kMaxStrings strings (a year's journal of an import has one
// description per voucher, and a ledger printout draws each of them twice, far apart)
// and then starts afresh; a print job lets it all go when it ends (releaseAll). One
// cache serves the program (painting runs on the GUI thread).
#pragma once

#include <QFont>
#include <QHashFunctions>
#include <QRawFont>
#include <QString>
#include <QTextOption>
#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kivo {

class TextShapeCache {
public:
  static constexpr size_t kMaxStrings = 200000;

  // A glyph of its font (rawFont(font)) at its place from the pen position on the
  // baseline, in 1/64 of the painter's unit, as the painter places glyphs.
  struct Glyph {
    uint32_t index = 0;
    int32_t x = 0;
    int32_t y = 0;
    int font = 0;
  };
  struct Shaped {
    qreal advance = 0.0;
    std::vector<Glyph> glyphs;
  };
  struct Metrics {
    qreal ascent = 0.0;
    qreal height = 0.0;
  };

  static TextShapeCache& shared();

  static bool isPlain(const QString& string);

  // The plain string in the font. The reference holds until the next call.
  const Shaped& shaped(const QFont& font, const QString& string);
  // QFontMetricsF's ascent and height of the font.
  const Metrics& metrics(const QFont& font);
  const QRawFont& rawFont(int font) const { return rawFonts_[static_cast<size_t>(font)]; }

  size_t stringCount() const { return stringCount_; }
  // Forgets the strings.
  void clear();
  // Forgets the strings, the fonts and their glyphs (the end of a print job).
  void releaseAll();
  // Whether the font's digit strings are put together rather than shaped (after the
  // first such string in the font).
  bool composesDigits(const QFont& font);

private:
  static constexpr char kDigitAlphabet[] = "0123456789,.-/";
  static constexpr int kDigitCount = sizeof(kDigitAlphabet) - 1;

  enum class DigitState { Unknown, Composed, Shaped };
  struct DigitGlyph {
    Glyph glyph;
    int32_t advance = 0;
  };
  struct StringHash {
    size_t operator()(const QString& s) const { return qHash(s); }
  };
  struct FontEntry {
    QFont font;
    Metrics metrics;
    std::unordered_map<QString, Shaped, StringHash> strings;
    DigitState digits = DigitState::Unknown;
    std::array<DigitGlyph, kDigitCount> digitGlyphs{};
  };

  FontEntry& entry(const QFont& font);
  Shaped shape(const QFont& font, const QString& string);
  int fontIndex(const QRawFont& font);
  static int digitOf(QChar c);
  bool isDigitString(const QString& string) const;
  void learnDigits(FontEntry& entry);
  void compose(const FontEntry& entry, const QString& string, Shaped& out) const;

  std::vector<std::unique_ptr<FontEntry>> fonts_;
  FontEntry* last_ = nullptr;
  std::vector<QRawFont> rawFonts_;
  size_t stringCount_ = 0;
  Shaped composed_;
};

}  // namespace kivo
