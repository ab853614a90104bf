// The page setup of a printout: paper size, orientation and margins, kept per
// printout in the user defaults under the printout's key ("Shiwakenikki Print Info",
// "Kanjyoumotocyou Print Info", ...). A printout whose key holds nothing, or holds
// something that does not read back, prints on A4 portrait.
#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QString>

#include "print/PrintPaginator.h"

namespace kivo {

class PrintInfo {
public:
  // A4 portrait with half-inch margins.
  static QPageLayout defaultPageLayout();
  // The layout stored under the key, else the default.
  static QPageLayout pageLayoutForKey(const char* defaultsKey);
  static void setPageLayoutForKey(const QPageLayout& layout, const char* defaultsKey);

  // The layout as text and back (paper, orientation, margins in points); false for
  // text that is not a usable layout.
  static QString archivedPageLayout(const QPageLayout& layout);
  static bool unarchivePageLayout(const QString& text, QPageLayout& layout);

  // The paper (as oriented) and its margins in points.
  static PrintPageGeometry geometryOfPageLayout(const QPageLayout& layout);
  // The paper outside the printer's printable area, in points (none known: 0).
  static QMarginsF marginsOutsidePrintableArea(const QPageLayout& layout);
  static QRectF rectF(const PrintRect& r) { return QRectF(r.x, r.y, r.width, r.height); }
};

}  // namespace kivo
