// Drawing shared by the printed statements of both forms (the Companies-Act
// statements and the older-form 決算報告書): the cover sheet, the period and date
// lines, and the ruled tables of statement rows, whose look follows the rows' codes.
//
// A table is drawn over the rows [first, end) of a statement, the first of them on
// the given page line; a statement longer than a page is drawn page by page.
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/Date.h"
#include "print/PrintPaginator.h"
#include "trial/Shisan.h"

class QPainter;

namespace kivo {

class Kaisya;

// One table across the page: its left edge, the title column, the whole width and
// one amount column.
struct StatementTableGeometry {
  double x = 0;
  double kamokuWidth = 0;
  double totalWidth = 0;
  double kingakuWidth = 0;
};

class StatementPageDrawing {
public:
  static constexpr const char* kOverflowText = "#Precision!";
  // The rectangle of a page line under the title band.
  using RowRect = std::function<QRectF(int line)>;

  static QFont helvetica(int size);
  static QFont helveticaBold(int size);
  static QFont courier(int size, bool bold = false);
  // The widest line of the text.
  static double widthOf(const QFont& font, const QString& text);

  // The amount in the company's format; "#Precision!" beyond the output limit.
  static QString amountText(const Kaisya& kaisya, int64_t amount);
  // "2024年 4月 1日", or the era form.
  static QString dateText(Date date, bool wareki);
  // "自　2024年 4月 1日  至　2025年 3月31日" from the cover dates.
  static QString printKikanString(const Kaisya& kaisya);
  // "2025年 3月31日現在" from the cover's end date.
  static QString dateLineOfTaisyakuTaisyou(const Kaisya& kaisya);

  // The framed cover: title, term, dates, address and company name.
  static void drawCoversheet(QPainter& painter, const Kaisya& kaisya, const PrintPageGeometry& geometry);

  // Title column and two amount columns (income statement, cost report, appropriation).
  static void drawTwoColumns(QPainter& painter, const Kaisya& kaisya, const std::vector<Shisan>& rows, size_t first,
                             size_t end, const RowRect& rowRect, int firstLine, const StatementTableGeometry& table);
  // Title column and one amount column (SG&A schedule).
  static void drawHanbaihi(QPainter& painter, const Kaisya& kaisya, const std::vector<Shisan>& rows, size_t first,
                           size_t end, const RowRect& rowRect, int firstLine, const StatementTableGeometry& table);
  // Two sides of title and amount, each side drawn over its own rows (a side that
  // ends early leaves its lines white).
  static void drawTaisyakuTaisyou(QPainter& painter, const Kaisya& kaisya, const std::vector<Shisan>& left,
                                  const std::vector<Shisan>& right, size_t first, size_t end, const RowRect& rowRect,
                                  int firstLine, const StatementTableGeometry& table);
};

}  // namespace kivo
