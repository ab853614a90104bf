#include "platform/PrintInfo.h"

#include <QStringList>

#include "platform/UserDefaults.h"

namespace kivo {
namespace {

constexpr double kDefaultMargin = 36.0;
constexpr const char* kFormatTag = "page-layout-1";

}  // namespace

QPageLayout PrintInfo::defaultPageLayout()
{
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                     QMarginsF(kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin), QPageLayout::Point);
}

QPageLayout PrintInfo::pageLayoutForKey(const char* defaultsKey)
{
  QPageLayout layout;
  const QString text = UserDefaults::standardUserDefaults().stringForKey(QString::fromUtf8(defaultsKey));
  if (!text.isEmpty() && unarchivePageLayout(text, layout)) return layout;
  return defaultPageLayout();
}

void PrintInfo::setPageLayoutForKey(const QPageLayout& layout, const char* defaultsKey)
{
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  defaults.setString(archivedPageLayout(layout), QString::fromUtf8(defaultsKey));
  defaults.synchronize();
}

QString PrintInfo::archivedPageLayout(const QPageLayout& layout)
{
  const QPageSize size = layout.pageSize();
  const QSizeF points = size.size(QPageSize::Point);
  const QMarginsF m = layout.margins(QPageLayout::Point);
  QStringList fields = {
      QString::fromUtf8(kFormatTag),
      size.key(),
      QString::number(points.width(), 'g', 10),
      QString::number(points.height(), 'g', 10),
      layout.orientation() == QPageLayout::Landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"),
      QString::number(m.left(), 'g', 10),
      QString::number(m.top(), 'g', 10),
      QString::number(m.right(), 'g', 10),
      QString::number(m.bottom(), 'g', 10)};
  return fields.join(QLatin1Char(';'));
}

bool PrintInfo::unarchivePageLayout(const QString& text, QPageLayout& layout)
{
  const QStringList f = text.split(QLatin1Char(';'));
  if (f.size() != 9 || f[0] != QLatin1String(kFormatTag)) return false;
  double v[6];
  const int at[6] = {2, 3, 5, 6, 7, 8};
  for (int i = 0; i < 6; ++i) {
    bool ok = false;
    v[i] = f[at[i]].toDouble(&ok);
    if (!ok || !(v[i] >= 0.0) || v[i] > 100000.0) return false;
  }
  const double width = v[0], height = v[1];
  if (width < 72.0 || height < 72.0) return false;
  const QMarginsF margins(v[2], v[3], v[4], v[5]);
  QPageSize size(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::FuzzyMatch);
  if (!size.isValid()) return false;
  const auto orientation = f[4] == QLatin1String("landscape") ? QPageLayout::Landscape : QPageLayout::Portrait;
  QPageLayout read(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
  // Margins that leave no paper are not a layout.
  const QSizeF paper = read.fullRect(QPageLayout::Point).size();
  if (margins.left() + margins.right() >= paper.width() || margins.top() + margins.bottom() >= paper.height())
    return false;
  read.setMinimumMargins(QMarginsF(0, 0, 0, 0));
  read.setMargins(margins);
  layout = read;
  return true;
}

QMarginsF PrintInfo::marginsOutsidePrintableArea(const QPageLayout& layout)
{
  QPageLayout inPoints = layout;
  inPoints.setUnits(QPageLayout::Point);
  return inPoints.minimumMargins();
}

PrintPageGeometry PrintInfo::geometryOfPageLayout(const QPageLayout& layout)
{
  const QRectF paper = layout.fullRect(QPageLayout::Point);
  const QMarginsF m = layout.margins(QPageLayout::Point);
  return {paper.width(), paper.height(), m.left(), m.right(), m.top(), m.bottom()};
}

}  // namespace kivo
