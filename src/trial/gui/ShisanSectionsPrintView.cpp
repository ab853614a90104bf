#include "trial/gui/ShisanSectionsPrintView.h"

#include <QFontMetricsF>

#include "document/MyDocument.h"
#include "platform/PrintFonts.h"

namespace kivo {

ShisanSectionsPrintView::ShisanSectionsPrintView(const MyDocument& document, const QPageLayout& layout,
                                                 std::vector<Shisan> taisyakuTaisyou, std::vector<Shisan> sonekiKeisan,
                                                 std::vector<Shisan> seizouGenka, SectionChoiceSource sections)
    : BandedTablePrintView(layout),
      document_(document),
      taisyakuTaisyou_(std::move(taisyakuTaisyou)),
      sonekiKeisan_(std::move(sonekiKeisan)),
      seizouGenka_(std::move(seizouGenka)),
      sections_(std::move(sections))
{
}

QString ShisanSectionsPrintView::widestTitle() const
{
  const QFontMetricsF probe(PrintFonts::printFont(QString::fromUtf8(PrintFonts::kHelvetica), 16));
  QString widest;
  double widestWidth = -1.0;
  for (const auto* rows : {&taisyakuTaisyou_, &sonekiKeisan_, &seizouGenka_})
    for (const Shisan& r : *rows) {
      const QString t = QString::fromStdString(r.title());
      const double w = probe.horizontalAdvance(t);
      if (w > widestWidth) {
        widestWidth = w;
        widest = t;
      }
    }
  return widest;
}

QString ShisanSectionsPrintView::sectionTitle(int section, const char* taisyakuTaisyou, const char* sonekiKeisan,
                                              const char* seizouGenka, const char* kanseiKoujiGenka) const
{
  if (section == 0) return QString::fromUtf8(taisyakuTaisyou);
  if (section == 1) return QString::fromUtf8(sonekiKeisan);
  return QString::fromUtf8(document_.kaisya().isKensetu() ? kanseiKoujiGenka : seizouGenka);
}

}  // namespace kivo
