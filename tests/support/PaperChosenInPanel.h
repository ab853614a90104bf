// The print panel answered as a user who changes the paper there (the panel's
// Properties): the page setup's margins kept, another paper size or orientation, the
// pages sent to a PDF file; and what such a printout must show: pages of that paper,
// with nothing drawn off it and every row and column on them.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <string>
#include <utility>

#include "platform/PrintOperation.h"
#include "support/PdfText.h"

namespace kivo::test {

struct PaperChosenInPanel {
  const char* name;
  QPageSize::PageSizeId size;
  QPageLayout::Orientation orientation;

  // The paper as oriented, in points.
  QSizeF points() const { return QPageLayout(QPageSize(size), orientation, {}).fullRect(QPageLayout::Point).size(); }
};

// Smaller than the stored A4 portrait, and as wide but shorter.
inline constexpr PaperChosenInPanel kPapersChosenInPanel[] = {{"A5", QPageSize::A5, QPageLayout::Portrait},
                                                              {"A4 landscape", QPageSize::A4, QPageLayout::Landscape}};

// The next print panels choose the paper and print to the file, after what else the
// panel is answered (a range, the accessory's choices), which may cancel.
inline void choosePaperInPrintPanel(const PaperChosenInPanel& paper, const QString& file,
                                    const PrintOperation::PrintPanelResponder& more = {})
{
  PrintOperation::setPrintPanelResponderForTesting([paper, file, more](QPrinter& printer, QWidget* accessory) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    QPageLayout chosen = printer.pageLayout();
    chosen.setPageSize(QPageSize(paper.size));
    chosen.setOrientation(paper.orientation);
    printer.setPageLayout(chosen);
    return !more || more(printer, accessory);
  });
}

// What is wrong with the pages of the file for the paper: pages of another size, a
// line or fill drawn off the paper (a row or column cut off); empty when nothing is.
inline QString pagesOffPaper(const QString& file, const PaperChosenInPanel& paper)
{
  const QSizeF expected = paper.points();
  const std::vector<QSizeF> sizes = pdfPageSizes(file);
  if (sizes.empty()) return QStringLiteral("no pages");
  for (size_t p = 0; p < sizes.size(); ++p) {
    const QSizeF s = sizes[p];
    if (std::abs(s.width() - expected.width()) > 1 || std::abs(s.height() - expected.height()) > 1)
      return QStringLiteral("page %1 is %2 x %3").arg(p + 1).arg(s.width()).arg(s.height());
    for (const QPointF& point : pdfPathPoints(file, static_cast<int>(p)))
      if (point.x() < -1 || point.y() < -1 || point.x() > s.width() + 1 || point.y() > s.height() + 1)
        return QStringLiteral("page %1 has a path to (%2, %3)").arg(p + 1).arg(point.x()).arg(point.y());
  }
  return {};
}

// What text of the file lies beyond its page's table across, the leftmost and rightmost
// lines drawn there (the frame), or beyond the paper: a column run off the paper's
// edge or over the frame. Empty when none does.
inline QString textOutsideTable(const QString& file)
{
  const std::vector<QSizeF> sizes = pdfPageSizes(file);
  if (sizes.empty()) return QStringLiteral("no pages");
  for (size_t p = 0; p < sizes.size(); ++p) {
    const std::vector<QPointF> points = pdfPathPoints(file, static_cast<int>(p));
    if (points.empty()) return QStringLiteral("page %1 has no frame").arg(p + 1);
    const auto [left, right] = std::minmax_element(points.begin(), points.end(),
                                                   [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    for (const PdfWord& w : pdfWords(file, static_cast<int>(p) + 1))
      if (w.box.left() < left->x() - 0.5 || w.box.right() > right->x() + 0.5 || w.box.right() > sizes[p].width())
        return QStringLiteral("page %1: \"%2\" at %3 to %4, the frame from %5 to %6")
            .arg(p + 1)
            .arg(w.text)
            .arg(w.box.left())
            .arg(w.box.right())
            .arg(left->x())
            .arg(right->x());
  }
  return {};
}

// The text as a pattern that lets spaces of any kind stand anywhere in it, or none:
// pdftotext reads an ideographic space as plain ones and lays columns out with more.
inline QString spacedAnyhow(const QString& text)
{
  QStringList characters;
  for (const QChar c : text)
    if (!c.isSpace()) characters << QRegularExpression::escape(QString(c));
  return characters.join(QStringLiteral("[\\s\\x{3000}]*"));
}

// Prints (print) with the paper chosen in the panel into the file; answers what is
// wrong with its pages (pagesOffPaper) and the patterns that no text of the file
// matches, each empty when nothing is.
inline std::pair<std::string, std::string> printedOnPaperChosenInPanel(const PaperChosenInPanel& paper,
                                                                       const QString& file,
                                                                       const std::function<void()>& print,
                                                                       const QStringList& patterns = {})
{
  choosePaperInPrintPanel(paper, file);
  QFile::remove(file);
  print();
  const QString text = pdfText(file);
  QStringList missing;
  for (const QString& pattern : patterns)
    if (!text.contains(QRegularExpression(pattern))) missing << pattern;
  return {pagesOffPaper(file, paper).toStdString(), missing.join(QLatin1Char(' ')).toStdString()};
}

}  // namespace kivo::test
