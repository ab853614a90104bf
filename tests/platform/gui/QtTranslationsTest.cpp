#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "platform/QtTranslations.h"

namespace kivo {
namespace {

// The file dialog's and the text fields' own texts, as Qt asks for them.
TEST(QtTranslations, QtsOwnDialogAndMenuTextsAreJapanese)
{
  if (!QFileInfo::exists(QtTranslations::translationsDirectory() + QStringLiteral("/qtbase_ja.qm")))
    GTEST_SKIP() << "Qt's Japanese translation is not installed";
  ASSERT_TRUE(QtTranslations::installJapanese());
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("File &name:"));
  EXPECT_NE(QCoreApplication::translate("QLineEdit", "&Paste"), QStringLiteral("&Paste"));
}

}  // namespace
}  // namespace kivo
