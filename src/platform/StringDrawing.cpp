#include "platform/StringDrawing.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <functional>

#include "platform/TextShapeCache.h"

namespace kivo {
namespace {

// Whether the cache may measure and shape the string in the font: a plain string in
// a font sized in pixels (the painter's unit), whose measures do not depend on the
// device.
bool cached(const QFont& font, const QString& string)
{
  return font.pixelSize() > 0 && TextShapeCache::isPlain(string);
}

// The lengths the string takes as characters are dropped from its end, longest
// first: a surrogate pair goes whole.
std::vector<qsizetype> cutLengths(const QString& s)
{
  std::vector<qsizetype> lengths{s.size()};
  qsizetype n = s.size();
  while (n > 0) {
    const bool pair = n >= 2 && s.at(n - 1).isLowSurrogate() && s.at(n - 2).isHighSurrogate();
    n -= pair ? 2 : 1;
    lengths.push_back(n);
  }
  return lengths;
}

// The string's advance in the font, as the drawing measures it.
qreal advanceOf(const QFont& font, const QString& string)
{
  if (cached(font, string)) return TextShapeCache::shared().shaped(font, string).advance;
  return QFontMetricsF(font).horizontalAdvance(string);
}

// The index of the first of the lengths (longest first, the last 0) whose beginning
// of the string fits; the empty one always does. The whole string is tried first, as
// it most often fits; a text only grows wider as characters are added, so the rest
// is searched by halving rather than by measuring after each character.
size_t firstFitting(const QString& string, const std::vector<qsizetype>& lengths,
                    const std::function<bool(const QString&)>& fits)
{
  if (lengths.size() == 1 || fits(string)) return 0;
  size_t low = 1;
  size_t high = lengths.size() - 1;
  while (low < high) {
    const size_t middle = (low + high) / 2;
    if (fits(string.left(lengths[middle])))
      high = middle;
    else
      low = middle + 1;
  }
  return low;
}

// The length of the text drawStringLeftedIn draws: the first length, dropping
// characters from the end, whose text is narrower than the width less the inset.
qsizetype leftedLength(const QFont& font, const QString& string, qreal width)
{
  const qreal limit = width - StringDrawing::kInset;
  const std::vector<qsizetype> lengths = cutLengths(string);
  return lengths[firstFitting(string, lengths, [&](const QString& s) { return advanceOf(font, s) < limit; })];
}

// Where the string breaks into two lines of about the same width: after its longest
// beginning narrower than half the whole, or after the character that follows,
// whichever leaves the wider line narrower; neither line is empty. With one
// character there is no break (0).
qsizetype balancedBreak(const QFont& font, const QString& string, qreal whole)
{
  const std::vector<qsizetype> lengths = cutLengths(string);
  if (lengths.size() < 3) return 0;
  const size_t shorter = std::max<size_t>(
      2, firstFitting(string, lengths, [&](const QString& s) { return advanceOf(font, s) < whole / 2; }));
  const auto wider = [&](qsizetype n) {
    return std::max(advanceOf(font, string.left(n)), advanceOf(font, string.mid(n)));
  };
  const qsizetype a = lengths[std::min(shorter, lengths.size() - 2)];
  const qsizetype b = lengths[shorter - 1];
  return wider(b) < wider(a) ? b : a;
}

// QFixed::fromReal, by which the painter places text.
int32_t fixed(qreal v) { return static_cast<int32_t>(v * 64.0); }

}  // namespace

void StringDrawing::drawStringCenteredIn(QPainter& painter, const QString& string, const QRectF& rect)
{
  StringDrawing(painter).centeredIn(string, rect);
}

void StringDrawing::drawStringLeftedIn(QPainter& painter, const QString& string, const QRectF& rect)
{
  StringDrawing(painter).leftedIn(string, rect);
}

void StringDrawing::drawStringRightedIn(QPainter& painter, const QString& string, const QRectF& rect)
{
  StringDrawing(painter).rightedIn(string, rect);
}

void StringDrawing::drawStringFittedIn(QPainter& painter, const QString& string, const QRectF& rect)
{
  StringDrawing(painter).fittedIn(string, rect);
}

QString StringDrawing::leftedString(const QPainter& painter, const QString& string, qreal width)
{
  return string.left(leftedLength(painter.font(), string, width));
}

StringDrawing::StringDrawing(QPainter& painter) : painter_(painter)
{
  pdf_ = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
}

StringDrawing::~StringDrawing() { flush(); }

void StringDrawing::centeredIn(const QString& string, const QRectF& rect) { draw(string, rect, Align::Centered); }

void StringDrawing::leftedIn(const QString& string, const QRectF& rect) { draw(string, rect, Align::Lefted); }

void StringDrawing::rightedIn(const QString& string, const QRectF& rect) { draw(string, rect, Align::Righted); }

void StringDrawing::fittedIn(const QString& string, const QRectF& rect)
{
  const QFont& font = painter_.font();
  const qreal room = rect.width() - 2 * kInset;
  const qreal whole = advanceOf(font, string);
  if (whole <= room) {
    draw(string, rect, Align::Centered);
    return;
  }
  // Drawn smaller on one line or on two, whichever leaves the text larger.
  const qreal height = QFontMetricsF(font).height();
  const qreal oneLine = std::min(room / whole, rect.height() / height);
  const qsizetype at = balancedBreak(font, string, whole);
  const QString first = string.left(at);
  const QString second = string.mid(at);
  const qreal twoLines =
      at == 0 ? 0.0
              : std::min(room / std::max(advanceOf(font, first), advanceOf(font, second)), rect.height() / height / 2);
  const qreal scale = std::max(oneLine, twoLines);
  if (!(scale > 0.0)) return;
  const QTransform transform = painter_.worldTransform();
  painter_.translate(rect.center());
  painter_.scale(scale, scale);
  const qreal width = rect.width() / scale;
  if (twoLines > oneLine) {
    draw(first, QRectF(-width / 2, -height, width, height), Align::Centered);
    draw(second, QRectF(-width / 2, 0, width, height), Align::Centered);
  } else {
    draw(string, QRectF(-width / 2, -height / 2, width, height), Align::Centered);
  }
  painter_.setWorldTransform(transform);
}

bool StringDrawing::holdsBack() const
{
  // A plain string reads left to right whether the painter lays text out left to right
  // or by the text's own direction.
  return pdf_ && painter_.layoutDirection() != Qt::RightToLeft && !painter_.hasClipping();
}

void StringDrawing::draw(const QString& string, const QRectF& rect, Align align)
{
  QPainter& p = painter_;
  const QFont& font = p.font();
  if (!cached(font, string)) {
    drawUncached(string, rect, align);
    return;
  }
  TextShapeCache& cache = TextShapeCache::shared();
  const TextShapeCache::Metrics metrics = cache.metrics(font);
  const TextShapeCache::Shaped* shaped = &cache.shaped(font, string);
  QString cut;
  const bool shortened = align == Align::Lefted && !string.isEmpty() && shaped->advance >= rect.width() - kInset;
  if (shortened) {
    cut = string.left(leftedLength(font, string, rect.width()));
    shaped = &cache.shaped(font, cut);
  }
  qreal x = rect.x() + kInset;
  if (align == Align::Centered) x = rect.x() + (rect.width() - shaped->advance) / 2.0;
  if (align == Align::Righted) x = rect.x() + rect.width() - shaped->advance - kInset;
  const qreal top = rect.y() + (rect.height() - metrics.height) / 2.0;
  const QPointF baseline(x, top + metrics.ascent);
  if (!holdsBack()) {
    p.drawText(baseline, shortened ? cut : string);
    return;
  }
  if (p.pen().style() == Qt::NoPen) return;
  // Where drawText puts the glyphs: the pen position cut to 1/64, then the glyphs'
  // own places from it.
  const int32_t x0 = fixed(baseline.x());
  const int32_t y0 = fixed(baseline.y());
  const int state = currentState();
  Run* run = nullptr;
  for (const TextShapeCache::Glyph& g : shaped->glyphs) {
    if (!run || run->font != g.font) run = &runOf(g.font, state);
    run->indexes.push_back(g.index);
    run->positions.emplace_back((x0 + g.x) / 64.0, (y0 + g.y) / 64.0);
  }
}

// As the painter measures and draws (the font or the string is not for the cache).
void StringDrawing::drawUncached(const QString& string, const QRectF& rect, Align align)
{
  const QFontMetricsF metrics(painter_.font());
  const QString shown =
      align == Align::Lefted ? string.left(leftedLength(painter_.font(), string, rect.width())) : string;
  qreal x = rect.x() + kInset;
  if (align == Align::Centered) x = rect.x() + (rect.width() - metrics.horizontalAdvance(shown)) / 2.0;
  if (align == Align::Righted) x = rect.x() + rect.width() - metrics.horizontalAdvance(shown) - kInset;
  const qreal top = rect.y() + (rect.height() - metrics.height()) / 2.0;
  painter_.drawText(QPointF(x, top + metrics.ascent()), shown);
}

int StringDrawing::currentState()
{
  const QPen& pen = painter_.pen();
  const QTransform& transform = painter_.worldTransform();
  for (size_t i = states_.size(); i-- > 0;)
    if (states_[i].pen == pen && states_[i].transform == transform) return static_cast<int>(i);
  states_.push_back({pen, transform});
  return static_cast<int>(states_.size() - 1);
}

StringDrawing::Run& StringDrawing::runOf(int font, int state)
{
  for (Run& r : runs_)
    if (r.font == font && r.state == state) return r;
  runs_.push_back({font, state, {}, {}});
  return runs_.back();
}

void StringDrawing::flush()
{
  if (runs_.empty()) return;
  QPainter& p = painter_;
  const TextShapeCache& cache = TextShapeCache::shared();
  bool saved = false;
  for (const Run& r : runs_) {
    // As the painter was when the text was drawn (never clipping, see holdsBack).
    const State& s = states_[static_cast<size_t>(r.state)];
    if (s.pen != p.pen() || s.transform != p.worldTransform() || p.hasClipping()) {
      if (!saved) p.save();
      saved = true;
      p.setPen(s.pen);
      p.setWorldTransform(s.transform);
      p.setClipping(false);
    }
    QGlyphRun glyphs;
    glyphs.setRawFont(cache.rawFont(r.font));
    glyphs.setRawData(r.indexes.data(), r.positions.data(), static_cast<int>(r.indexes.size()));
    p.drawGlyphRun(QPointF(), glyphs);
  }
  if (saved) p.restore();
  runs_.clear();
  states_.clear();
}

}  // namespace kivo
