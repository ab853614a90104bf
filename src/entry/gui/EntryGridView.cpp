#include "entry/gui/EntryGridView.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QValidator>
#include <algorithm>

#include "platform/FieldMessage.h"
#include "platform/KeyCharacter.h"
#include "platform/NotificationCenter.h"

namespace kivo {
namespace {

constexpr int kTextInset = 5;

// Marks text the delegate's formatter would not take as partial text as intermediate:
// it stays as typed, and reading it when the editing ends refuses the whole input.
class PartialStringValidator : public QValidator {
public:
  PartialStringValidator(EntryGridView* grid) : QValidator(grid), grid_(grid) {}
  State validate(QString& input, int&) const override
  {
    EntryGridView::Delegate* d = grid_->delegate();
    if (!d || grid_->selectedMatrixId() < 0) return Acceptable;
    return d->isPartialStringValid(grid_->selectedMatrixId(), input) ? Acceptable : Intermediate;
  }

private:
  EntryGridView* grid_;
};

QColor mix(const QColor& a, const QColor& b, double t)
{
  return QColor::fromRgbF(a.redF() * (1 - t) + b.redF() * t, a.greenF() * (1 - t) + b.greenF() * t,
                          a.blueF() * (1 - t) + b.blueF() * t);
}

}  // namespace

// The column titles above the rows: two lines, as the rows, scrolled sideways with
// them.
class EntryGridView::Header : public QWidget {
public:
  explicit Header(EntryGridView* grid) : QWidget(grid), grid_(grid) {}

protected:
  void paintEvent(QPaintEvent*) override
  {
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor band = mix(pal.color(QPalette::Window), pal.color(QPalette::Highlight), 0.10);
    p.fillRect(rect(), band);
    const int dx = -grid_->horizontalScrollBar()->value();
    const int lh = grid_->lineHeight();
    const QColor rule = mix(pal.color(QPalette::Window), pal.color(QPalette::WindowText), 0.35);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    for (const Matrix& m : grid_->matrices()) {
      const QRect r(m.x + dx, 2 + m.line * lh, grid_->shownWidth(m), m.lineSpan * lh);
      p.setPen(m.enabled ? pal.color(QPalette::WindowText) : pal.color(QPalette::Disabled, QPalette::WindowText));
      if (m.enabled) p.drawText(r.adjusted(kTextInset, 0, -kTextInset, 0), Qt::AlignCenter, m.title);
      p.setPen(QPen(rule, m.strongLeftRule ? 2 : 1));
      p.drawLine(r.left(), 2, r.left(), height());
    }
    int right = 0;
    for (const Matrix& m : grid_->matrices()) right = std::max(right, m.x + grid_->shownWidth(m) + dx);
    p.setPen(QPen(rule, 1));
    p.drawLine(right, 2, right, height());
    p.setPen(QPen(rule, 2));
    p.drawLine(0, height() - 1, width(), height() - 1);
    p.drawLine(0, 1, width(), 1);
  }

private:
  EntryGridView* grid_;
};

EntryGridView::EntryGridView(const QString& keyDownNotificationName, QWidget* parent)
    : QAbstractScrollArea(parent),
      keyDownNotificationName_(keyDownNotificationName),
      header_(new Header(this)),
      editor_(new QLineEdit(viewport()))
{
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setFocusProxy(nullptr);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  lineHeight_ = fontMetrics().height() + 8;

  editor_->setFrame(false);
  editor_->hide();
  editor_->installEventFilter(this);
  editor_->setValidator(new PartialStringValidator(this));
  QPalette ep = editor_->palette();
  ep.setColor(QPalette::Base, palette().color(QPalette::Base));
  editor_->setPalette(ep);
  connect(editor_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (!editing_ || !delegate_) return;
    if (!began_) {
      if (!delegate_->textShouldBeginEditing(selectedRow_, selectedMatrix_)) {
        editor_->setText(originalText_);
        return;
      }
      began_ = true;
      delegate_->textDidBeginEditing(selectedRow_, selectedMatrix_);
    }
    delegate_->textDidChange(selectedRow_, selectedMatrix_, text);
    if (!delegate_ || !editing_) return;
    if (delegate_->isPartialStringValid(selectedMatrix_, text))
      FieldMessage::hideFor(viewport());
    else
      delegate_->partialStringRefused(selectedRow_, selectedMatrix_, text);
  });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { keepSelectedRowVisible(); });
  updateGeometries();
}

EntryGridView::~EntryGridView() = default;

// --- layout

void EntryGridView::setMatrices(std::vector<Matrix> matrices)
{
  matrices_ = std::move(matrices);
  updateGeometries();
  header_->update();
  viewport()->update();
}

const EntryGridView::Matrix* EntryGridView::matrix(int id) const
{
  for (const Matrix& m : matrices_)
    if (m.id == id) return &m;
  return nullptr;
}

EntryGridView::Matrix* EntryGridView::matrix(int id)
{
  for (Matrix& m : matrices_)
    if (m.id == id) return &m;
  return nullptr;
}

int EntryGridView::shownWidth(const Matrix& m) const
{
  if (!m.stretches) return m.width;
  return std::max(m.width, viewport()->width() + horizontalScrollBar()->value() - m.x - 1);
}

int EntryGridView::contentWidth() const
{
  int w = 0;
  for (const Matrix& m : matrices_) w = std::max(w, m.x + m.width);
  return w;
}

void EntryGridView::reloadData()
{
  updateGeometries();
  viewport()->update();
  header_->update();
}

void EntryGridView::updateRow(int row)
{
  viewport()->update(QRect(0, row * rowHeight() - verticalScrollBar()->value(), viewport()->width(), rowHeight()));
}

void EntryGridView::updateGeometries()
{
  setViewportMargins(0, headerHeight(), 0, 0);
  const QRect vp = viewport()->geometry();
  header_->setGeometry(vp.left(), vp.top() - headerHeight(), vp.width(), headerHeight());
  const int rows = delegate_ ? delegate_->numberOfRows() : 0;
  // The grid is never shorter than the visible area; one row scrolls per line step.
  verticalScrollBar()->setRange(0, std::max(0, rows * rowHeight() - viewport()->height()));
  verticalScrollBar()->setPageStep(std::max(rowHeight(), viewport()->height() / rowHeight() * rowHeight()));
  verticalScrollBar()->setSingleStep(rowHeight());
  horizontalScrollBar()->setRange(0, std::max(0, contentWidth() + 1 - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(20);
  updateEditorGeometry();
}

void EntryGridView::resizeEvent(QResizeEvent* event)
{
  QAbstractScrollArea::resizeEvent(event);
  updateGeometries();
}

void EntryGridView::scrollContentsBy(int, int)
{
  viewport()->update();
  header_->update();
  updateEditorGeometry();
}

void EntryGridView::changeEvent(QEvent* event)
{
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    lineHeight_ = fontMetrics().height() + 8;
    updateGeometries();
  }
}

// --- geometry

QRect EntryGridView::cellRect(int row, int matrixId) const
{
  const Matrix* m = matrix(matrixId);
  if (!m || row < 0) return {};
  return QRect(m->x - horizontalScrollBar()->value(),
               row * rowHeight() + m->line * lineHeight_ - verticalScrollBar()->value(), shownWidth(*m),
               m->lineSpan * lineHeight_);
}

QRect EntryGridView::globalCellRect(int row, int matrixId) const
{
  const QRect r = cellRect(row, matrixId);
  return QRect(viewport()->mapToGlobal(r.topLeft()), r.size());
}

bool EntryGridView::cellAt(const QPoint& p, int* row, int* matrixId) const
{
  const int y = p.y() + verticalScrollBar()->value();
  const int x = p.x() + horizontalScrollBar()->value();
  const int rows = delegate_ ? delegate_->numberOfRows() : 0;
  if (y < 0) return false;
  const int r = y / rowHeight();
  if (r >= rows) return false;
  const int line = (y - r * rowHeight()) / lineHeight_;
  for (const Matrix& m : matrices_) {
    if (x < m.x || x >= m.x + shownWidth(m) || line < m.line || line >= m.line + m.lineSpan) continue;
    *row = r;
    *matrixId = m.id;
    return true;
  }
  return false;
}

// --- painting

void EntryGridView::paintEvent(QPaintEvent* event)
{
  QPainter p(viewport());
  const QPalette& pal = palette();
  p.fillRect(event->rect(), pal.color(QPalette::Base));
  const int rows = delegate_ ? delegate_->numberOfRows() : 0;
  const int rh = rowHeight();
  const int top = verticalScrollBar()->value();
  const int dx = -horizontalScrollBar()->value();
  const int first = std::max(0, (event->rect().top() + top) / rh);
  const int last = std::min(rows - 1, (event->rect().bottom() + top) / rh);
  const QColor stripes[2] = {pal.color(QPalette::Base), pal.color(QPalette::AlternateBase)};
  const QColor rule = mix(pal.color(QPalette::Base), pal.color(QPalette::Text), 0.30);
  const QColor lightRule = mix(pal.color(QPalette::Base), pal.color(QPalette::Text), 0.14);
  int right = 0;
  for (const Matrix& m : matrices_) right = std::max(right, m.x + shownWidth(m));
  const int width = std::max(right + dx, 0);

  for (int r = first; r <= last; ++r) {
    const int y = r * rh - top;
    p.fillRect(QRect(0, y, viewport()->width(), rh), stripes[r % 2]);
    // The ruled lines of the form: a dotted line between a row's two lines where
    // matrices sit on each, a solid one under the row.
    p.setPen(QPen(lightRule, 1, Qt::DotLine));
    for (const Matrix& m : matrices_)
      if (m.lineSpan == 1 && m.line == 0)
        p.drawLine(m.x + dx, y + lineHeight_, m.x + dx + shownWidth(m), y + lineHeight_);
    p.setPen(QPen(rule, 1));
    p.drawLine(0, y + rh - 1, width, y + rh - 1);
    for (const Matrix& m : matrices_) paintCell(p, r, m, cellRect(r, m.id));
  }
  // The column rules run down the whole grid.
  const int bottom = std::max(viewport()->height(), rows * rh - top);
  for (const Matrix& m : matrices_) {
    p.setPen(QPen(rule, m.strongLeftRule ? 2 : 1));
    p.drawLine(m.x + dx, 0, m.x + dx, bottom);
  }
  p.setPen(QPen(rule, 1));
  p.drawLine(width, 0, width, bottom);
}

void EntryGridView::paintCell(QPainter& p, int row, const Matrix& m, const QRect& rect)
{
  const QPalette& pal = palette();
  const bool selected = row == selectedRow_ && m.id == selectedMatrix_;
  if (selected && !isEditing()) {
    const QColor hl = pal.color(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
    p.fillRect(rect.adjusted(1, 1, -1, -1), hl);
  }
  if (!m.enabled || !delegate_) return;
  const QString text = delegate_->stringValue(row, m.id);
  if (text.isEmpty()) return;
  QColor color = pal.color(QPalette::Text);
  if (selected && !isEditing()) color = pal.color(QPalette::HighlightedText);
  if (!m.selectable) color = pal.color(QPalette::PlaceholderText);
  if (!selected || isEditing()) {
    const QColor own = delegate_->textColor(row, m.id);
    if (own.isValid()) color = own;
  }
  p.setPen(color);
  const QRect textRect = rect.adjusted(kTextInset, 0, -kTextInset, 0);
  const QString shown =
      m.alignment & Qt::AlignRight ? text : p.fontMetrics().elidedText(text, Qt::ElideRight, textRect.width());
  p.drawText(textRect, int(m.alignment | Qt::AlignVCenter), shown);
}

// --- selection

void EntryGridView::selectCell(int row, int matrixId)
{
  const int old = selectedRow_;
  closeEditor();
  selectedRow_ = row;
  selectedMatrix_ = matrixId;
  scrollRowToVisible(row);
  if (old >= 0) updateRow(old);
  updateRow(row);
  const Matrix* m = matrix(matrixId);
  highlightOnly_ = m && m->editable && m->enabled && delegate_ && delegate_->isHighlightOnlyCell(row, matrixId);
  if (highlightOnly_)
    setFocus(Qt::OtherFocusReason);
  else if (m && m->editable && m->enabled)
    openEditor();
}

void EntryGridView::deselectCell()
{
  closeEditor();
  highlightOnly_ = false;
  const int old = selectedRow_;
  selectedRow_ = -1;
  selectedMatrix_ = -1;
  if (old >= 0) updateRow(old);
}

void EntryGridView::scrollRowToVisible(int row)
{
  if (row < 0) return;
  const int top = row * rowHeight();
  const int bottom = top + rowHeight();
  QScrollBar* bar = verticalScrollBar();
  adjustingScroll_ = true;
  if (top < bar->value())
    bar->setValue(top);
  else if (bottom > bar->value() + viewport()->height())
    bar->setValue(bottom - viewport()->height());
  adjustingScroll_ = false;
  // A cell right of the view comes into view as well.
  const QRect cell = cellRect(row, selectedMatrix_);
  if (!cell.isNull() && row == selectedRow_) {
    QScrollBar* h = horizontalScrollBar();
    if (cell.left() < 0)
      h->setValue(h->value() + cell.left());
    else if (cell.right() > viewport()->width())
      h->setValue(h->value() + cell.right() - viewport()->width());
  }
}

// A row partly in view is pulled wholly into view; a row scrolled out of sight stays
// out of sight.
void EntryGridView::keepSelectedRowVisible()
{
  if (adjustingScroll_ || selectedRow_ < 0) return;
  const int top = selectedRow_ * rowHeight() - verticalScrollBar()->value();
  const int bottom = top + rowHeight();
  const int h = viewport()->height();
  if (bottom <= 0 || top >= h) return;
  if (top >= 0 && bottom <= h) return;
  if (rowHeight() > h) return;
  adjustingScroll_ = true;
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(top < 0 ? bar->value() + top : bar->value() + bottom - h);
  adjustingScroll_ = false;
}

// --- editing

bool EntryGridView::isEditing() const { return editing_; }

void EntryGridView::openEditor()
{
  const Matrix* m = matrix(selectedMatrix_);
  if (!m || !delegate_) return;
  editing_ = true;
  began_ = false;
  originalText_ = delegate_->editingStringValue(selectedRow_, selectedMatrix_);
  editor_->blockSignals(true);
  editor_->setAlignment(m->alignment | Qt::AlignVCenter);
  // An ASCII column bypasses the input method: keys arrive as typed whatever mode
  // the desktop's input method is in.
  editor_->setAttribute(Qt::WA_InputMethodEnabled, delegate_->usesInputMethod(selectedMatrix_));
  editor_->setText(originalText_);
  editor_->blockSignals(false);
  editor_->selectAll();
  updateEditorGeometry();
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  // While a cell is edited, whatever would give the grid the focus (a click on a grey
  // cell, the header or a scroll bar) leaves it in the editor: what the user types next
  // goes into the cell the caret is in, never to the grid behind it.
  setFocusProxy(editor_);
}

void EntryGridView::closeEditor()
{
  if (!editing_) return;
  editing_ = false;
  began_ = false;
  FieldMessage::hideFor(viewport());
  const bool hadFocus = editor_->hasFocus();
  setFocusProxy(nullptr);
  editor_->hide();
  if (hadFocus) setFocus(Qt::OtherFocusReason);
  if (selectedRow_ >= 0) updateRow(selectedRow_);
}

bool EntryGridView::endEditing()
{
  if (!editing_) return true;
  const QString text = editor_->text();
  const int row = selectedRow_;
  const int m = selectedMatrix_;
  const bool changed = began_;
  if (changed && delegate_ && !delegate_->textShouldEndEditing(row, m, text)) return false;
  closeEditor();
  if (changed && delegate_) delegate_->textDidEndEditing(row, m, text);
  return true;
}

void EntryGridView::abortEditing() { closeEditor(); }

void EntryGridView::updateEditorGeometry()
{
  if (!editing_) return;
  editor_->setGeometry(cellRect(selectedRow_, selectedMatrix_).adjusted(1, 1, -1, -1));
}

// --- events

bool EntryGridView::selectableCellAt(const QPoint& p, int* row, int* matrixId) const
{
  if (!cellAt(p, row, matrixId)) return false;
  const auto selectable = [](const Matrix* m) { return m && m->enabled && m->selectable; };
  if (selectable(matrix(*matrixId))) return true;
  // The cell above or below in the same row, as the voucher number under the date.
  const int x = p.x() + horizontalScrollBar()->value();
  for (const Matrix& m : matrices_) {
    if (selectable(&m) && x >= m.x && x < m.x + shownWidth(m)) {
      *matrixId = m.id;
      return true;
    }
  }
  return false;
}

void EntryGridView::mousePressEvent(QMouseEvent* event)
{
  int row, id;
  if (!selectableCellAt(event->position().toPoint(), &row, &id)) {
    // A click that selects nothing moves nothing: the edited cell keeps the keys.
    if (!editing_) setFocus(Qt::MouseFocusReason);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  if (delegate_) delegate_->mouseDownInCell(row, id);
}

bool EntryGridView::focusNextPrevChild(bool)
{
  // Tab and Back-tab belong to the grid: they move its selection.
  return false;
}

bool EntryGridView::isPostedCharacter(uint16_t c)
{
  switch (c) {
  case 3:
  case 13:
  case 127:
  case 27:
  case 9:
  case 25:
  case 0xF700:
  case 0xF701: return true;
  default: break;
  }
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void EntryGridView::keyPressEvent(QKeyEvent* event)
{
  const uint16_t c = KeyCharacter::of(*event);
  if (highlightOnly_ && !editing_ && delegate_ && selectedRow_ >= 0 &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    const QString text = event->text();
    const bool printable = !text.isEmpty() && text.front().isPrint();
    if (c == 127 || c == 3 || c == 13 || printable) {
      delegate_->keyTypedInHighlightedCell(selectedRow_, selectedMatrix_, printable ? text : QString(QChar(c)));
      event->accept();
      return;
    }
  }
  if (c == 0 || !isPostedCharacter(c)) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  NotificationCenter::Notification n;
  n.name = keyDownNotificationName_;
  n.object = this;
  n.event = event;
  NotificationCenter::defaultCenter().postNotification(n);
  event->accept();
}

bool EntryGridView::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == editor_ && event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    // (Undo and redo with nothing of the cell's own to take back are left to the
    // window by the application's rule for every cell editor, CellEditorKeys.)
    if (reservedShortcuts_.contains(QKeySequence(key->keyCombination()))) {
      // Not taken by the editor: the window's shortcut runs.
      event->ignore();
      return true;
    }
  }
  if (watched != editor_ || event->type() != QEvent::KeyPress || !editing_ || !delegate_)
    return QAbstractScrollArea::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
    return QAbstractScrollArea::eventFilter(watched, event);
  Command command;
  switch (key->key()) {
  case Qt::Key_Tab:
    command = (key->modifiers() & Qt::ShiftModifier) ? Command::InsertBacktab : Command::InsertTab;
    break;
  case Qt::Key_Backtab: command = Command::InsertBacktab; break;
  case Qt::Key_Up: command = Command::MoveUp; break;
  case Qt::Key_Down: command = Command::MoveDown; break;
  case Qt::Key_Return:
  case Qt::Key_Enter: command = Command::InsertNewline; break;
  case Qt::Key_Escape: command = Command::CancelOperation; break;
  default: return QAbstractScrollArea::eventFilter(watched, event);
  }
  if (delegate_->doCommandBySelector(selectedRow_, selectedMatrix_, command, key->isAutoRepeat())) return true;
  if (command == Command::CancelOperation) {
    // Escape puts back the text the cell had.
    editor_->setText(originalText_);
    editor_->selectAll();
    began_ = false;
    return true;
  }
  // The editor never lets Tab move the keyboard focus out of the grid.
  return command == Command::InsertTab || command == Command::InsertBacktab;
}

}  // namespace kivo
