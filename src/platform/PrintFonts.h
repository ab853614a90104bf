// The two font families the printouts are laid out in, "Helvetica" and "Courier".
//
// Linux systems rarely carry fonts of those names; fontconfig answers a request for
// them with a metric-compatible family (Nimbus Sans, Liberation Sans, ...). A family
// counts as available when the request resolves to the family itself or to one of
// those stand-ins, not when some unrelated default font is substituted.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace kivo {

class PrintFonts {
public:
  static constexpr const char* kHelvetica = "Helvetica";
  static constexpr const char* kCourier = "Courier";
  // The Japanese faces of printed text. Their PDF text copies out as the characters
  // printed; other Japanese fonts map some kanji to radicals or compatibility forms.
  static constexpr const char* kIPAGothic = "IPAGothic";
  static constexpr const char* kIPAMincho = "IPAMincho";

  // The font of printed text: the family (Helvetica or Courier) for Latin letters and
  // digits, IPA Gothic for Japanese. Its size is in the painter's units, which for a
  // printout are points (see PrintOperation), so that a page measures the same on
  // paper, in a PDF and in a preview. Hinting is off for the same reason.
  static QFont printFont(const QString& family, int sizeInPoints);

  // Whether a request for the family at the point size resolves to it or a stand-in.
  static bool isAvailable(const QString& family, qreal pointSize = 10.0);
  // The family a request resolves to, without fontconfig's "[foundry]" suffix.
  static QString resolvedFamily(const QString& family, qreal pointSize = 10.0);
  // The families accepted for a requested one (itself first).
  static QStringList acceptedFamilies(const QString& family);

  // Tests: families to treat as missing whatever the system has (empty: none).
  static void setMissingFamiliesForTesting(const QStringList& families);
};

}  // namespace kivo
