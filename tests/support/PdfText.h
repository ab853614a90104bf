// Printouts rendered to PDF read back as text with poppler's pdftotext and pdfinfo.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

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

}  // namespace kivo::test
