#include "platform/TextShapeCache.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QTextLayout>
#include <cmath>
#include <functional>

namespace kivo {
namespace {

int32_t toFixed(qreal v) { return static_cast<int32_t>(std::lround(v * 64.0)); }

// Every sequence of n symbols out of k appears once in the cyclic sequence answered
// (a de Bruijn sequence); the first n - 1 symbols are repeated at its end so that the
// plain sequence holds them all.
std::vector<int> everySequence(int k, int n)
{
  std::vector<int> a(static_cast<size_t>(k * n), 0);
  std::vector<int> out;
  const std::function<void(int, int)> db = [&](int t, int p) {
    if (t > n) {
      if (n % p == 0)
        for (int j = 1; j <= p; ++j) out.push_back(a[static_cast<size_t>(j)]);
      return;
    }
    a[static_cast<size_t>(t)] = a[static_cast<size_t>(t - p)];
    db(t + 1, p);
    for (int j = a[static_cast<size_t>(t - p)] + 1; j < k; ++j) {
      a[static_cast<size_t>(t)] = j;
      db(t + 1, t);
    }
  };
  db(1, 1);
  for (int i = 0; i < n - 1; ++i) out.push_back(out[static_cast<size_t>(i)]);
  return out;
}

}  // namespace

TextShapeCache& TextShapeCache::shared()
{
  static TextShapeCache cache;
  return cache;
}

bool TextShapeCache::isPlain(const QString& string)
{
  for (const QChar c : string) {
    const ushort u = c.unicode();
    if (u < 0x20 || (u >= 0x7f && u < 0xa0)) return false;
    if (u < 0x7f) continue;
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return false;
    default: break;
    }
    switch (c.direction()) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirAN:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirPDF:
    case QChar::DirRLI:
    case QChar::DirLRI:
    case QChar::DirFSI:
    case QChar::DirPDI: return false;
    default: break;
    }
  }
  return true;
}

TextShapeCache::FontEntry& TextShapeCache::entry(const QFont& font)
{
  if (last_ && last_->font == font) return *last_;
  for (const auto& f : fonts_)
    if (f->font == font) return *(last_ = f.get());
  auto f = std::make_unique<FontEntry>();
  f->font = font;
  const QFontMetricsF metrics(font);
  f->metrics = {metrics.ascent(), metrics.height()};
  fonts_.push_back(std::move(f));
  return *(last_ = fonts_.back().get());
}

void TextShapeCache::clear()
{
  for (const auto& e : fonts_) e->strings = {};
  stringCount_ = 0;
}

void TextShapeCache::releaseAll()
{
  clear();
  fonts_.clear();
  last_ = nullptr;
  rawFonts_.clear();
  composed_ = {};
}

const TextShapeCache::Metrics& TextShapeCache::metrics(const QFont& font) { return entry(font).metrics; }

int TextShapeCache::fontIndex(const QRawFont& font)
{
  for (size_t i = 0; i < rawFonts_.size(); ++i)
    if (rawFonts_[i] == font) return static_cast<int>(i);
  rawFonts_.push_back(font);
  return static_cast<int>(rawFonts_.size() - 1);
}

// As QPainter::drawText lays a string out: one line, left to right, and the advance
// with trailing spaces as QFontMetricsF measures it.
TextShapeCache::Shaped TextShapeCache::shape(const QFont& font, const QString& string)
{
  Shaped out;
  if (string.isEmpty()) return out;
  QTextLayout layout(string, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LeftToRight);
  option.setFlags(QTextOption::IncludeTrailingSpaces);
  layout.setTextOption(option);
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  out.advance = line.horizontalAdvance();
  const int32_t baseline = toFixed(line.y() + line.ascent());
  for (const QGlyphRun& run : line.glyphRuns()) {
    const int f = fontIndex(run.rawFont());
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i)
      out.glyphs.push_back({indexes[i], toFixed(positions[i].x()), toFixed(positions[i].y()) - baseline, f});
  }
  return out;
}

int TextShapeCache::digitOf(QChar c)
{
  static const std::array<int8_t, 128> digits = [] {
    std::array<int8_t, 128> table;
    table.fill(-1);
    for (int i = 0; i < kDigitCount; ++i) table[static_cast<size_t>(kDigitAlphabet[i])] = static_cast<int8_t>(i);
    return table;
  }();
  return c.unicode() < 128 ? digits[c.unicode()] : -1;
}

bool TextShapeCache::isDigitString(const QString& string) const
{
  if (string.isEmpty()) return false;
  for (const QChar c : string)
    if (digitOf(c) < 0) return false;
  return true;
}

void TextShapeCache::compose(const FontEntry& entry, const QString& string, Shaped& out) const
{
  out.glyphs.clear();
  int32_t x = 0;
  for (const QChar c : string) {
    const DigitGlyph& d = entry.digitGlyphs[static_cast<size_t>(digitOf(c))];
    Glyph g = d.glyph;
    g.x = x;
    out.glyphs.push_back(g);
    x += d.advance;
  }
  out.advance = x / 64.0;
}

void TextShapeCache::learnDigits(FontEntry& entry)
{
  entry.digits = DigitState::Shaped;
  QString probe;
  for (const int d : everySequence(kDigitCount, 3)) probe += QLatin1Char(kDigitAlphabet[d]);
  const Shaped shaped = shape(entry.font, probe);
  if (shaped.glyphs.size() != static_cast<size_t>(probe.size())) return;
  std::array<bool, kDigitCount> seen{};
  for (qsizetype i = 0; i + 1 < probe.size(); ++i) {
    const size_t d = static_cast<size_t>(digitOf(probe[i]));
    if (seen[d]) continue;
    seen[d] = true;
    entry.digitGlyphs[d].glyph = shaped.glyphs[static_cast<size_t>(i)];
    entry.digitGlyphs[d].glyph.x = 0;
    entry.digitGlyphs[d].advance =
        shaped.glyphs[static_cast<size_t>(i + 1)].x - shaped.glyphs[static_cast<size_t>(i)].x;
  }
  for (const bool s : seen)
    if (!s) return;
  Shaped composed;
  compose(entry, probe, composed);
  for (size_t i = 0; i < composed.glyphs.size(); ++i) {
    const Glyph& a = composed.glyphs[i];
    const Glyph& b = shaped.glyphs[i];
    if (a.index != b.index || a.x != b.x || a.y != b.y || a.font != b.font) return;
  }
  if (composed.advance != shaped.advance) return;
  entry.digits = DigitState::Composed;
}

bool TextShapeCache::composesDigits(const QFont& font) { return entry(font).digits == DigitState::Composed; }

const TextShapeCache::Shaped& TextShapeCache::shaped(const QFont& font, const QString& string)
{
  FontEntry& f = entry(font);
  if (isDigitString(string)) {
    if (f.digits == DigitState::Unknown) learnDigits(f);
    if (f.digits == DigitState::Composed) {
      compose(f, string, composed_);
      return composed_;
    }
  }
  const auto found = f.strings.find(string);
  if (found != f.strings.end()) return found->second;
  if (stringCount_ >= kMaxStrings) clear();
  ++stringCount_;
  return f.strings.emplace(string, shape(font, string)).first->second;
}

}  // namespace kivo
