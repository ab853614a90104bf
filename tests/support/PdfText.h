// Printouts rendered to PDF read back as text with poppler's pdftotext and pdfinfo,
// and the drawing operators and stroked lines of their pages as Qt writes them.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPointF>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <tuple>
#include <vector>

namespace kivo::test {

// The standard output of a program run to its end.
inline QString runTool(const QString& program, const QStringList& arguments)
{
  QProcess p;
  p.start(program, arguments);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The whole text, laid out as on paper; pages are separated by form feeds.
inline QString pdfText(const QString& path) { return runTool(QStringLiteral("pdftotext"), {"-layout", path, "-"}); }

// The text of one page (1-based).
inline QString pdfPageText(const QString& path, int page)
{
  const QString n = QString::number(page);
  return runTool(QStringLiteral("pdftotext"), {"-layout", "-f", n, "-l", n, path, "-"});
}

// The text of each page.
inline QStringList pdfPageTexts(const QString& path)
{
  QStringList pages = pdfText(path).split('\f');
  if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// A word of a page as pdftotext places it: its text and its box in points from the
// paper's top-left corner.
struct PdfWord {
  QString text;
  QRectF box;
};

// The words of one page (1-based).
inline std::vector<PdfWord> pdfWords(const QString& path, int page)
{
  const QString n = QString::number(page);
  const QString html = runTool(QStringLiteral("pdftotext"), {"-bbox", "-f", n, "-l", n, path, "-"});
  const QRegularExpression word(QStringLiteral(
      "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
  std::vector<PdfWord> words;
  for (const QRegularExpressionMatch& m : word.globalMatch(html))
    words.push_back({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                           QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
  return words;
}

inline int pdfPageCount(const QString& path)
{
  for (const QString& line : runTool(QStringLiteral("pdfinfo"), {path}).split('\n'))
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  return -1;
}

// The size of each page in points, as pdfinfo reads it.
inline std::vector<QSizeF> pdfPageSizes(const QString& path)
{
  std::vector<QSizeF> sizes;
  const int pages = pdfPageCount(path);
  if (pages <= 0) return sizes;
  const QRegularExpression size(QStringLiteral("^Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
  for (const QString& line :
       runTool(QStringLiteral("pdfinfo"), {"-f", "1", "-l", QString::number(pages), path}).split('\n'))
    if (const QRegularExpressionMatch m = size.match(line); m.hasMatch())
      sizes.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
  return sizes;
}

// The content stream of each page of a PDF file written by Qt, decompressed, as its
// tokens (operands and operators).
inline QList<QList<QByteArray>> pdfPageContents(const QString& path)
{
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray pdf = file.readAll();
  QList<QList<QByteArray>> pages;
  const QRegularExpression contents(QStringLiteral("/Contents (\\d+) 0 R"));
  for (const QRegularExpressionMatch& m : contents.globalMatch(QString::fromLatin1(pdf))) {
    const qsizetype object = pdf.indexOf("\n" + m.captured(1).toLatin1() + " 0 obj");
    const qsizetype start = pdf.indexOf("stream\n", object) + 7;
    const qsizetype end = pdf.indexOf("\nendstream", start);
    // qUncompress wants the size first; it grows its buffer past a wrong one.
    pages.append(qUncompress(QByteArray::fromHex("00100000") + pdf.mid(start, end - start)).simplified().split(' '));
  }
  return pages;
}

// Calls operate(op, operands) for each operator of a page (0-based) of a PDF file
// written by Qt, with the numbers that stand before it.
template <class Operate>
void forEachPdfOperator(const QString& path, int page, Operate operate)
{
  std::vector<double> operands;
  for (const QByteArray& t : pdfPageContents(path).value(page)) {
    bool number = false;
    const double v = t.toDouble(&number);
    if (number) {
      operands.push_back(v);
      continue;
    }
    operate(t, operands);
    operands.clear();
  }
}

// The points of every path drawn on a page (0-based) of a PDF file written by Qt
// (lines, rules, fills), in the page's own space: points from the bottom-left corner.
inline std::vector<QPointF> pdfPathPoints(const QString& path, int page)
{
  std::vector<QPointF> points;
  std::vector<QTransform> saved;
  QTransform ctm;
  forEachPdfOperator(path, page, [&](const QByteArray& op, const std::vector<double>& n) {
    const auto at = [&n](size_t fromEnd) { return n[n.size() - fromEnd]; };
    if (op == "q") saved.push_back(ctm);
    if (op == "Q" && !saved.empty()) {
      ctm = saved.back();
      saved.pop_back();
    }
    if (op == "cm" && n.size() >= 6) ctm = QTransform(at(6), at(5), at(4), at(3), at(2), at(1)) * ctm;
    if ((op == "m" || op == "l" || op == "c") && n.size() >= 2) points.push_back(ctm.map(QPointF(at(2), at(1))));
    if (op == "re" && n.size() >= 4) {
      points.push_back(ctm.map(QPointF(at(4), at(3))));
      points.push_back(ctm.map(QPointF(at(4) + at(2), at(3) + at(1))));
    }
  });
  return points;
}

// The straight lines stroked on a page (0-based) of a PDF file written by Qt, as
// (pen width, x and y of the top end, x and y of the other end) in points, sorted.
inline std::vector<std::tuple<double, double, double, double, double>> pdfStrokedLines(const QString& path, int page)
{
  std::vector<std::tuple<double, double, double, double, double>> lines;
  double width = 0;
  QPointF from;
  forEachPdfOperator(path, page, [&](const QByteArray& op, const std::vector<double>& operands) {
    if (op == "w" && !operands.empty()) width = operands.back();
    if (op == "m" && operands.size() >= 2) from = QPointF(operands[operands.size() - 2], operands.back());
    if (op == "l" && operands.size() >= 2) {
      QPointF to(operands[operands.size() - 2], operands.back());
      QPointF a = from;
      if (std::tie(to.ry(), to.rx()) < std::tie(a.ry(), a.rx())) std::swap(a, to);
      lines.emplace_back(width, a.x(), a.y(), to.x(), to.y());
    }
  });
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace kivo::test
