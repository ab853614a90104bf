#include "platform/PrintPreviewView.h"

#include <QPainter>
#include <cmath>

#include "platform/PrintOperation.h"

namespace kivo {

PrintPreviewView::PrintPreviewView(QWidget* parent) : QWidget(parent) {}

void PrintPreviewView::setPrintout(Printout* printout, const QSizeF& paperSizeInPoints)
{
  printout_ = printout;
  paperSize_ = paperSizeInPoints;
  page_ = 0;
  setFixedSize(sizeHint());
  update();
}

void PrintPreviewView::setZoom(double zoom)
{
  zoom_ = zoom;
  setFixedSize(sizeHint());
  update();
}

void PrintPreviewView::setPage(int page)
{
  page_ = page;
  update();
}

QSize PrintPreviewView::sizeHint() const
{
  return QSize(static_cast<int>(std::ceil(paperSize_.width() * zoom_)),
               static_cast<int>(std::ceil(paperSize_.height() * zoom_)));
}

void PrintPreviewView::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!printout_) return;
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.scale(zoom_, zoom_);
  printout_->drawPage(painter, page_);
}

}  // namespace kivo
