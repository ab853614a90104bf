#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include "platform/PasswordHash.h"

namespace kivo {
namespace {

constexpr int kFast = 1000;

TEST(PasswordHashTest, TheRightPasswordMatchesAWellFormedStoredFormAndNothingElseDoes)
{
  const std::string stored = PasswordHash::hash(QStringLiteral("経理担当"), kFast);
  EXPECT_TRUE(PasswordHash::verify(QStringLiteral("経理担当"), stored));
  for (const QString& wrong : {QStringLiteral("経理担当 "), QStringLiteral("経理"), QString(), QStringLiteral("KEIRI")})
    EXPECT_FALSE(PasswordHash::verify(wrong, stored)) << wrong.toStdString();
  // The stored form holds neither the text nor a bare digest of it.
  EXPECT_EQ(stored.find("経理担当"), std::string::npos);
  EXPECT_EQ(stored.rfind("pbkdf2-sha256$1000$", 0), 0u);

  // Each hash has its own salt, and the default is slow.
  const std::string again = PasswordHash::hash(QStringLiteral("経理担当"), kFast);
  EXPECT_NE(again, stored);
  EXPECT_TRUE(PasswordHash::verify(QStringLiteral("経理担当"), again));
  const std::string slow = PasswordHash::hash(QStringLiteral("same"));
  EXPECT_EQ(slow.rfind("pbkdf2-sha256$" + std::to_string(PasswordHash::kDefaultIterations) + "$", 0), 0u);
  EXPECT_GE(PasswordHash::kDefaultIterations, 100000);
  EXPECT_TRUE(PasswordHash::verify(QStringLiteral("same"), slow));
  // No password: nothing stored, and nothing matches an empty stored form.
  EXPECT_EQ(PasswordHash::hash(QString()), "");
  EXPECT_FALSE(PasswordHash::verify(QString(), ""));

  // A malformed or tampered stored form matches nothing.
  const std::string good = PasswordHash::hash(QStringLiteral("pw"), kFast);
  const QList<QByteArray> parts = QByteArray::fromStdString(good).split('$');
  // The stored form with part i replaced.
  const auto with = [&](int i, const QByteArray& part) {
    QList<QByteArray> p = parts;
    p[i] = part;
    return p.join('$').toStdString();
  };
  QByteArray key = QByteArray::fromBase64(parts[3]);
  key[0] = static_cast<char>(key[0] ^ 1);
  const std::string cases[] = {"pw",           with(0, "pbkdf2-sha1"), with(3, key.toBase64()),
                               with(1, "999"), with(1, "2000000000"),  with(3, key.left(16).toBase64()),
                               with(2, "***"), good + "$extra",        good.substr(0, good.size() - 4)};
  for (const std::string& stored : cases) EXPECT_FALSE(PasswordHash::verify(QStringLiteral("pw"), stored)) << stored;
}

}  // namespace
}  // namespace kivo
