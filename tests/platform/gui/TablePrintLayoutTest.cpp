// The frame and rules of a printed table, as the lines of a PDF page.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <tuple>

#include "platform/TablePrintLayout.h"
#include "support/PdfText.h"

namespace kivo {
namespace {

TEST(TablePrintLayoutTest, ThePiecesOfARuleThatMeetOrOverlapAreStrokedAsOneLine)
{
  // Rows of 10 points: the frame's sides and a column rule row by row, the rule
  // broken off for an empty row, a heading rule drawn twice over, a slanted line.
  std::vector<QLineF> frame, rules;
  for (int row = 0; row < 3; ++row) {
    frame.emplace_back(10, 10 * row, 10, 10 * row + 10);
    frame.emplace_back(100, 10 * row + 10, 100, 10 * row);
    rules.emplace_back(50, 10 * row, 50, 10 * row + 10);
  }
  rules.emplace_back(50, 40, 50, 50);
  rules.emplace_back(10, 5, 60, 5);
  rules.emplace_back(40, 5, 100, 5);
  rules.emplace_back(10, 60, 30, 70);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("rules.pdf"));
  {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    QPainter painter(&writer);
    // In points and antialiased, as printouts draw.
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(1200 / 72.0, 1200 / 72.0);
    // A title first, as a printout's page has, in a pen of its own: the PDF engine
    // strokes natively from its second change of pen.
    painter.setPen(QPen(Qt::black, 2));
    painter.drawText(QPointF(20, 100), QStringLiteral("表"));
    TablePrintLayout::strokeFrameAndRules(painter, frame, rules);
  }
  using L = std::tuple<double, double, double, double, double>;
  const std::vector<L> expected = {
      L{0.5, 10, 5, 100, 5},  L{0.5, 10, 60, 30, 70}, L{0.5, 50, 0, 50, 30},
      L{0.5, 50, 40, 50, 50}, L{1, 10, 0, 10, 30},    L{1, 100, 0, 100, 30},
  };
  std::vector<L> stroked = test::pdfStrokedLines(path, 0);
  for (L& l : stroked) std::get<0>(l) = std::get<0>(l) < 0.75 ? 0.5 : 1.0;
  std::sort(stroked.begin(), stroked.end());
  EXPECT_EQ(stroked, expected);
}

}  // namespace
}  // namespace kivo
