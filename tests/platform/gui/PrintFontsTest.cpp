#include <gtest/gtest.h>

#include "platform/PrintFonts.h"

namespace kivo {
namespace {

TEST(PrintFontsTest, AFamilyCountsWhenItsRequestResolvesToItOrAMetricTwin)
{
  // The application's install brings fonts-urw-base35 (Nimbus Sans and Nimbus Mono PS).
  EXPECT_TRUE(PrintFonts::isAvailable(QStringLiteral("Helvetica")))
      << PrintFonts::resolvedFamily(QStringLiteral("Helvetica")).toStdString();
  EXPECT_TRUE(PrintFonts::isAvailable(QStringLiteral("Courier")))
      << PrintFonts::resolvedFamily(QStringLiteral("Courier")).toStdString();
  // A family nobody has resolves to some fallback, which does not count.
  EXPECT_FALSE(PrintFonts::isAvailable(QStringLiteral("Kivosavan No Such Family")));
  EXPECT_FALSE(PrintFonts::resolvedFamily(QStringLiteral("Helvetica")).contains(QLatin1Char('[')));
  // Courier's twins are not Helvetica's.
  EXPECT_FALSE(PrintFonts::acceptedFamilies(QStringLiteral("Helvetica")).contains(QStringLiteral("Nimbus Mono PS")));

  PrintFonts::setMissingFamiliesForTesting({QStringLiteral("courier")});
  EXPECT_FALSE(PrintFonts::isAvailable(QStringLiteral("Courier")));
  EXPECT_TRUE(PrintFonts::isAvailable(QStringLiteral("Helvetica")));
  PrintFonts::setMissingFamiliesForTesting({});
}

}  // namespace
}  // namespace kivo
