#include "platform/PrintFonts.h"

#include <QFontInfo>
#include <algorithm>

namespace kivo {
namespace {

QStringList& missingForTesting()
{
  static QStringList families;
  return families;
}

}  // namespace

QStringList PrintFonts::acceptedFamilies(const QString& family)
{
  if (family.compare(QLatin1String(kHelvetica), Qt::CaseInsensitive) == 0)
    return {QStringLiteral("Helvetica"),      QStringLiteral("Helvetica Neue"),  QStringLiteral("Nimbus Sans"),
            QStringLiteral("Nimbus Sans L"),  QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("TeX Gyre Heros"), QStringLiteral("FreeSans")};
  if (family.compare(QLatin1String(kCourier), Qt::CaseInsensitive) == 0)
    return {QStringLiteral("Courier"),       QStringLiteral("Courier New"),     QStringLiteral("Nimbus Mono PS"),
            QStringLiteral("Nimbus Mono L"), QStringLiteral("Liberation Mono"), QStringLiteral("TeX Gyre Cursor"),
            QStringLiteral("FreeMono")};
  return {family};
}

QString PrintFonts::resolvedFamily(const QString& family, qreal pointSize)
{
  QFont font(family);
  font.setPointSizeF(pointSize);
  QString resolved = QFontInfo(font).family();
  const qsizetype bracket = resolved.indexOf(QLatin1String(" ["));
  if (bracket > 0) resolved.truncate(bracket);
  return resolved;
}

bool PrintFonts::isAvailable(const QString& family, qreal pointSize)
{
  if (missingForTesting().contains(family, Qt::CaseInsensitive)) return false;
  return acceptedFamilies(family).contains(resolvedFamily(family, pointSize), Qt::CaseInsensitive);
}

QFont PrintFonts::printFont(const QString& family, int sizeInPoints)
{
  QFont font;
  // The family as fontconfig resolves it (Helvetica is often Nimbus Sans): a font's
  // list of families is matched by exact name.
  const QString latin = isAvailable(family) ? resolvedFamily(family) : family;
  font.setFamilies({latin, QString::fromUtf8(kIPAGothic)});
  font.setPixelSize(std::max(sizeInPoints, 1));
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);
  return font;
}

void PrintFonts::setMissingFamiliesForTesting(const QStringList& families) { missingForTesting() = families; }

}  // namespace kivo
