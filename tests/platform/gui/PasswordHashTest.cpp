#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include "platform/PasswordHash.h"

namespace kivo {
namespace {

constexpr int kFast = 1000;

TEST(PasswordHashTest, TheRightPasswordMatchesAndNothingElseDoes)
{
  const std::string stored = PasswordHash::hash(QStringLiteral("経理担当"), kFast);
  EXPECT_TRUE(PasswordHash::verify(QStringLiteral("経理担当"), stored));
  for (const QString& wrong : {QStringLiteral("経理担当 "), QStringLiteral("経理"), QString(), QStringLiteral("KEIRI")})
    EXPECT_FALSE(PasswordHash::verify(wrong, stored)) << wrong.toStdString();
  // The stored form holds neither the text nor a bare digest of it.
  EXPECT_EQ(stored.find("経理担当"), std::string::npos);
  EXPECT_EQ(stored.rfind("pbkdf2-sha256$1000$", 0), 0u);
}

TEST(PasswordHashTest, EachHashHasItsOwnSaltAndTheDefaultIsSlow)
{
  const std::string a = PasswordHash::hash(QStringLiteral("same"), kFast);
  const std::string b = PasswordHash::hash(QStringLiteral("same"), kFast);
  EXPECT_NE(a, b);
  EXPECT_TRUE(PasswordHash::verify(QStringLiteral("same"), a));
  EXPECT_TRUE(PasswordHash::verify(QStringLiteral("same"), b));
  const std::string slow = PasswordHash::hash(QStringLiteral("same"));
  EXPECT_EQ(slow.rfind("pbkdf2-sha256$" + std::to_string(PasswordHash::kDefaultIterations) + "$", 0), 0u);
  EXPECT_GE(PasswordHash::kDefaultIterations, 100000);
  EXPECT_TRUE(PasswordHash::verify(QStringLiteral("same"), slow));
  // No password: nothing stored, and nothing matches an empty stored form.
  EXPECT_EQ(PasswordHash::hash(QString()), "");
  EXPECT_FALSE(PasswordHash::verify(QString(), ""));
}

TEST(PasswordHashTest, AMalformedOrTamperedStoredFormMatchesNothing)
{
  const std::string good = PasswordHash::hash(QStringLiteral("pw"), kFast);
  const QList<QByteArray> parts = QByteArray::fromStdString(good).split('$');
  const auto join = [](const QList<QByteArray>& p) { return p.join('$').toStdString(); };
  QList<QByteArray> flipped = parts;
  QByteArray key = QByteArray::fromBase64(parts[3]);
  key[0] = static_cast<char>(key[0] ^ 1);
  flipped[3] = key.toBase64();
  QList<QByteArray> fewer = parts;
  fewer[1] = "999";
  QList<QByteArray> huge = parts;
  huge[1] = "2000000000";
  QList<QByteArray> shortKey = parts;
  shortKey[3] = key.left(16).toBase64();
  QList<QByteArray> badBase64 = parts;
  badBase64[2] = "***";
  const std::string cases[] = {
      "pw",
      "pbkdf2-sha1$1000$" + parts[2].toStdString() + "$" + parts[3].toStdString(),
      join(flipped),
      join(fewer),
      join(huge),
      join(shortKey),
      join(badBase64),
      good + "$extra",
      good.substr(0, good.size() - 4),
  };
  for (const std::string& stored : cases) EXPECT_FALSE(PasswordHash::verify(QStringLiteral("pw"), stored)) << stored;
}

}  // namespace
}  // namespace kivo
