// One page of a printout on screen: the paper, white, at a zoom (1.0 shows a point
// as a pixel), drawn by the printout itself, so the preview is the printed page.
#pragma once

#include <QSizeF>
#include <QWidget>

namespace kivo {

class Printout;

class PrintPreviewView : public QWidget {
public:
  explicit PrintPreviewView(QWidget* parent = nullptr);

  // The printout is not owned; it stays alive while shown (or is replaced by nullptr).
  void setPrintout(Printout* printout, const QSizeF& paperSizeInPoints);
  Printout* printout() const { return printout_; }
  void setZoom(double zoom);
  double zoom() const { return zoom_; }
  // The 0-based page shown.
  void setPage(int page);
  int page() const { return page_; }

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  Printout* printout_ = nullptr;
  QSizeF paperSize_;
  double zoom_ = 1.0;
  int page_ = 0;
};

}  // namespace kivo
