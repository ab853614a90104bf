// Printouts rendered to PDF read back as text with poppler's pdftotext and pdfinfo,
// and the drawing operators and stroked lines of their pages as Qt writes them.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPointF>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
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

inline int pdfPageCount(const QString& path)
{
  for (const QString& line : runTool(QStringLiteral("pdfinfo"), {path}).split('\n'))
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  return -1;
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

// The straight lines stroked on a page (0-based) of a PDF file written by Qt, as
// (pen width, x and y of the top end, x and y of the other end) in points, sorted.
inline std::vector<std::tuple<double, double, double, double, double>> pdfStrokedLines(const QString& path, int page)
{
  std::vector<std::tuple<double, double, double, double, double>> lines;
  double width = 0;
  std::vector<double> operands;
  QPointF from;
  for (const QByteArray& t : pdfPageContents(path).value(page)) {
    bool number = false;
    const double v = t.toDouble(&number);
    if (number) {
      operands.push_back(v);
      continue;
    }
    if (t == "w" && !operands.empty()) width = operands.back();
    if (t == "m" && operands.size() >= 2) from = QPointF(operands[operands.size() - 2], operands.back());
    if (t == "l" && operands.size() >= 2) {
      QPointF to(operands[operands.size() - 2], operands.back());
      QPointF a = from;
      if (std::tie(to.ry(), to.rx()) < std::tie(a.ry(), a.rx())) std::swap(a, to);
      lines.emplace_back(width, a.x(), a.y(), to.x(), to.y());
    }
    operands.clear();
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace kivo::test
