// Qt's own texts (the file dialogs, the context menus of text fields, the standard
// buttons) in Japanese, as the rest of the program: Qt's Japanese translation,
// installed from the system's Qt translations (Debian: qt6-translations-l10n).
#pragma once

#include <QString>

namespace kivo {

class QtTranslations {
public:
  // Loads and installs the Japanese translation of Qt's base module into the running
  // application; false when it is not found (Qt then shows its English texts).
  static bool installJapanese();
  // Where Qt's translations are looked for.
  static QString translationsDirectory();
};

}  // namespace kivo
