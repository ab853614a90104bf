#include "journal/gui/ShiwakenikkiView.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "platform/StringDrawing.h"

namespace kivo {
namespace {

constexpr const char* kHeadings[ShiwakenikkiView::kMatrixCount] = {
    "日付",         "伝票番号",     "借方勘定科目", "借方補助科目", "借方金額", "借方事業部",
    "貸方勘定科目", "貸方補助科目", "貸方金額",     "貸方事業部",   "摘要",     "",
};

// The widths of the blocks, in average character widths of the font.
constexpr int kBlockCharacters[ShiwakenikkiView::kBlockCount] = {9, 18, 15, 18, 15, 30};

const QColor kRuleColor(198, 198, 198);
const QColor kStrongRuleColor(150, 150, 150);
const QColor kLineRuleColor(228, 228, 228);

// The strip of column headings above the rows; it scrolls sideways with them.
class HeaderStrip : public QWidget {
public:
  explicit HeaderStrip(ShiwakenikkiView* view) : QWidget(view), view_(view) {}

protected:
  void paintEvent(QPaintEvent*) override
  {
    QPainter painter(this);
    view_->paintHeader(painter, rect());
  }

private:
  ShiwakenikkiView* view_;
};

}  // namespace

ShiwakenikkiView::ShiwakenikkiView(QWidget* parent) : QAbstractScrollArea(parent)
{
  enabled_.fill(true);
  enabled_[index(Matrix::Empty)] = false;
  lineHeight_ = fontMetrics().height() + 6;
  const int unit = std::max(fontMetrics().averageCharWidth(), 6);
  for (int b = 0; b < kBlockCount; ++b) blockWidths_[b] = kBlockCharacters[b] * unit;
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAutoFillBackground(true);
  viewport()->setBackgroundRole(QPalette::Base);
  header_ = new HeaderStrip(this);
  setViewportMargins(0, headerHeight(), 0, 0);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  updateScrollBars();
}

// --- rows and matrices

void ShiwakenikkiView::renewRows(int n)
{
  rows_ = std::max(n, 0);
  selectedRow_ = -1;
  selectedMatrix_ = -1;
  updateScrollBars();
  viewport()->update();
}

void ShiwakenikkiView::setMatrixEnabled(Matrix matrix, bool enabled)
{
  if (matrix == Matrix::Empty) return;  // the filler never takes part
  enabled_[index(matrix)] = enabled;
  if (!enabled && selectedMatrix_ == index(matrix)) deselectAll();
  header_->update();
  viewport()->update();
}

QString ShiwakenikkiView::headingTitle(Matrix matrix) const
{
  return enabled_[index(matrix)] ? QString::fromUtf8(kHeadings[index(matrix)]) : QString();
}

Qt::Alignment ShiwakenikkiView::alignmentOfMatrix(Matrix matrix)
{
  switch (matrix) {
  case Matrix::Date:
  case Matrix::DenpyouNo: return Qt::AlignHCenter;
  case Matrix::KarikataKingaku:
  case Matrix::KashikataKingaku: return Qt::AlignRight;
  default: return Qt::AlignLeft;
  }
}

// --- selection

void ShiwakenikkiView::selectCell(int row, Matrix matrix)
{
  if (row < 0 || row >= rows_ || !enabled_[index(matrix)]) {
    deselectAll();
    return;
  }
  selectedRow_ = row;
  selectedMatrix_ = index(matrix);
  scrollRowToVisible(row);
  viewport()->update();
}

void ShiwakenikkiView::deselectAll()
{
  selectedRow_ = -1;
  selectedMatrix_ = -1;
  viewport()->update();
}

std::optional<ShiwakenikkiView::Matrix> ShiwakenikkiView::selectedMatrix() const
{
  if (selectedMatrix_ < 0) return std::nullopt;
  return static_cast<Matrix>(selectedMatrix_);
}

// --- geometry

int ShiwakenikkiView::blockX(int block) const
{
  int x = 0;
  for (int b = 0; b < block; ++b) x += blockWidths_[b];
  return x;
}

int ShiwakenikkiView::blockWidth(int block) const
{
  if (block < kBlockCount - 1) return blockWidths_[block];
  // The description takes what the view has left.
  return std::max(blockWidths_[block], viewport()->width() - blockX(block));
}

int ShiwakenikkiView::contentWidth() const
{
  int w = 0;
  for (int b = 0; b < kBlockCount; ++b) w += blockWidths_[b];
  return w;
}

QRect ShiwakenikkiView::cellFrameAtRow(int row, Matrix matrix) const
{
  const int block = blockOfMatrix(matrix);
  return QRect(blockX(block), row * rowHeight() + lineOfMatrix(matrix) * lineHeight_, blockWidth(block), lineHeight_);
}

void ShiwakenikkiView::scrollRowToVisible(int row)
{
  if (row < 0 || row >= rows_) return;
  const int top = row * rowHeight();
  const int bottom = top + rowHeight();
  QScrollBar* bar = verticalScrollBar();
  if (top < bar->value())
    bar->setValue(top);
  else if (bottom > bar->value() + viewport()->height())
    bar->setValue(bottom - viewport()->height());
}

void ShiwakenikkiView::updateScrollBars()
{
  const int height = rows_ * rowHeight();
  QScrollBar* v = verticalScrollBar();
  v->setSingleStep(rowHeight());  // one entry per line of scrolling
  v->setPageStep(std::max(viewport()->height() - rowHeight(), rowHeight()));
  v->setRange(0, std::max(0, height - viewport()->height()));
  QScrollBar* h = horizontalScrollBar();
  h->setSingleStep(20);
  h->setPageStep(viewport()->width());
  h->setRange(0, std::max(0, contentWidth() - viewport()->width()));
}

void ShiwakenikkiView::layoutHeader()
{
  const QRect v = viewport()->geometry();
  header_->setGeometry(v.x(), v.y() - headerHeight(), v.width(), headerHeight());
  header_->update();
}

void ShiwakenikkiView::resizeEvent(QResizeEvent* event)
{
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
  layoutHeader();
}

void ShiwakenikkiView::scrollContentsBy(int dx, int dy)
{
  viewport()->update();
  if (dx != 0) header_->update();
}

bool ShiwakenikkiView::viewportEvent(QEvent* event)
{
  // The viewport's geometry settles after the margins are set; keep the header on it.
  if (event->type() == QEvent::Resize) layoutHeader();
  return QAbstractScrollArea::viewportEvent(event);
}

// --- drawing

void ShiwakenikkiView::paintHeader(QPainter& painter, const QRect& rect)
{
  const int dx = -horizontalScrollBar()->value();
  painter.fillRect(rect, palette().color(QPalette::Button));
  painter.setPen(palette().color(QPalette::ButtonText));
  for (int m = 0; m < kMatrixCount; ++m) {
    const Matrix matrix = static_cast<Matrix>(m);
    const int block = blockOfMatrix(matrix);
    const QRectF cell(blockX(block) + dx, 1 + lineOfMatrix(matrix) * lineHeight_, blockWidth(block), lineHeight_);
    StringDrawing::drawStringCenteredIn(painter, headingTitle(matrix), cell);
  }
  painter.setPen(kStrongRuleColor);
  painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
  for (int b = 1; b < kBlockCount; ++b) {
    const int x = blockX(b) + dx;
    painter.setPen(b == 1 || b == 3 || b == 5 ? kStrongRuleColor : kRuleColor);
    painter.drawLine(x, rect.top(), x, rect.bottom());
  }
}

QString ShiwakenikkiView::shownStringAtRow(int row, Matrix matrix) const
{
  if (!dataSource_ || !enabled_[index(matrix)]) return {};
  const QString value = dataSource_->stringValue(row, matrix);
  if (!(alignmentOfMatrix(matrix) & Qt::AlignLeft)) return value;
  // The text the left-aligned drawing would cut short ends with a mark that some is
  // missing, as the voucher grid's cells do. Printouts keep their own cut.
  const QFontMetricsF metrics(viewport()->font());
  const qreal room = cellFrameAtRow(row, matrix).width() - StringDrawing::kInset;
  if (metrics.horizontalAdvance(value) < room) return value;
  const QString mark = QStringLiteral("…");
  QString s = value;
  while (!s.isEmpty() && metrics.horizontalAdvance(s + mark) >= room) {
    const bool pair = s.size() >= 2 && s.back().isLowSurrogate() && s.at(s.size() - 2).isHighSurrogate();
    s.chop(pair ? 2 : 1);
  }
  return s + mark;
}

void ShiwakenikkiView::paintEvent(QPaintEvent* event)
{
  QPainter painter(viewport());
  const int dx = -horizontalScrollBar()->value();
  const int dy = -verticalScrollBar()->value();
  const int width = viewport()->width();
  const QColor bands[2] = {palette().color(QPalette::Base), palette().color(QPalette::AlternateBase)};
  const bool focused = hasFocus() && isActiveWindow();
  const QColor selectionColor = palette().color(focused ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
  const QColor selectionText =
      palette().color(focused ? QPalette::Active : QPalette::Inactive, QPalette::HighlightedText);
  const QColor text = palette().color(QPalette::Text);

  const QRect area = event->rect();
  const int first = std::max(0, (area.top() - dy) / rowHeight());
  const int last = std::min(rows_ - 1, (area.bottom() - dy) / rowHeight());
  for (int row = first; row <= last; ++row) {
    const int top = row * rowHeight() + dy;
    painter.fillRect(QRect(0, top, width, rowHeight()), bands[row % 2]);
    for (int m = 0; m < kMatrixCount; ++m) {
      const Matrix matrix = static_cast<Matrix>(m);
      QRect cell = cellFrameAtRow(row, matrix).translated(dx, dy);
      const bool selected = row == selectedRow_ && m == selectedMatrix_;
      if (selected) painter.fillRect(cell.adjusted(1, 1, 0, 0), selectionColor);
      if (!enabled_[m] || !dataSource_) continue;
      const QString value = shownStringAtRow(row, matrix);
      if (value.isEmpty()) continue;
      painter.setPen(selected ? selectionText : text);
      const Qt::Alignment alignment = alignmentOfMatrix(matrix);
      if (alignment & Qt::AlignRight)
        StringDrawing::drawStringRightedIn(painter, value, cell);
      else if (alignment & Qt::AlignHCenter)
        StringDrawing::drawStringCenteredIn(painter, value, cell);
      else
        StringDrawing::drawStringLeftedIn(painter, value, cell);
    }
    // A faint rule between an entry's two lines, a clear one under the entry.
    painter.setPen(kLineRuleColor);
    painter.drawLine(0, top + lineHeight_, width, top + lineHeight_);
    painter.setPen(kRuleColor);
    painter.drawLine(0, top + rowHeight() - 1, width, top + rowHeight() - 1);
  }
  const int bottom = std::min(area.bottom(), rows_ * rowHeight() + dy);
  for (int b = 1; b < kBlockCount; ++b) {
    const int x = blockX(b) + dx;
    painter.setPen(b == 1 || b == 3 || b == 5 ? kStrongRuleColor : kRuleColor);
    painter.drawLine(x, area.top(), x, bottom);
  }
}

// --- keys and clicks

void ShiwakenikkiView::keyPressEvent(QKeyEvent* event)
{
  std::optional<Command> command;
  switch (event->key()) {
  case Qt::Key_Tab:
    command = (event->modifiers() & Qt::ShiftModifier) ? Command::InsertBacktab : Command::InsertTab;
    break;
  case Qt::Key_Backtab: command = Command::InsertBacktab; break;
  case Qt::Key_Up: command = Command::MoveUp; break;
  case Qt::Key_Down: command = Command::MoveDown; break;
  default: break;
  }
  if (!command) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  if (dataSource_) dataSource_->doCommandBySelector(*command, event->isAutoRepeat());
  event->accept();
}

bool ShiwakenikkiView::focusNextPrevChild(bool) { return false; }

void ShiwakenikkiView::mousePressEvent(QMouseEvent* event)
{
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton || !dataSource_) return;
  const QPoint p = event->position().toPoint() + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
  if (p.y() < 0 || rowHeight() <= 0) return;
  const int row = p.y() / rowHeight();
  if (row >= rows_) return;
  const int line = (p.y() % rowHeight()) / lineHeight_;
  for (int b = 0; b < kBlockCount; ++b) {
    if (p.x() >= blockX(b) && p.x() < blockX(b) + blockWidth(b)) {
      dataSource_->mouseDownInCell(row, matrixAt(b, std::min(line, 1)));
      return;
    }
  }
}

}  // namespace kivo
