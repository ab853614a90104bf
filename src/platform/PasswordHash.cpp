#include "platform/PasswordHash.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QList>
#include <QPasswordDigestor>
#include <QRandomGenerator>

namespace kivo {
namespace {

constexpr const char* kScheme = "pbkdf2-sha256";
// Enough to make guessing slow, few enough that a damaged file cannot stall the prompt.
constexpr int kMinIterations = 1000;
constexpr int kMaxIterations = 10000000;

QByteArray derive(const QString& password, const QByteArray& salt, int iterations)
{
  return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, iterations,
                                            PasswordHash::kKeyBytes);
}

}  // namespace

std::string PasswordHash::hash(const QString& password, int iterations)
{
  if (password.isEmpty()) return {};
  QByteArray salt(kSaltBytes, Qt::Uninitialized);
  QRandomGenerator::system()->generate(reinterpret_cast<quint32*>(salt.data()),
                                       reinterpret_cast<quint32*>(salt.data() + salt.size()));
  const QByteArray key = derive(password, salt, iterations);
  const QByteArray stored =
      QByteArray(kScheme) + '$' + QByteArray::number(iterations) + '$' + salt.toBase64() + '$' + key.toBase64();
  return stored.toStdString();
}

bool PasswordHash::verify(const QString& password, const std::string& stored)
{
  const QList<QByteArray> parts = QByteArray::fromStdString(stored).split('$');
  if (parts.size() != 4 || parts[0] != kScheme) return false;
  bool ok = false;
  const int iterations = parts[1].toInt(&ok);
  if (!ok || iterations < kMinIterations || iterations > kMaxIterations) return false;
  const auto salt = QByteArray::fromBase64Encoding(parts[2], QByteArray::AbortOnBase64DecodingErrors);
  const auto key = QByteArray::fromBase64Encoding(parts[3], QByteArray::AbortOnBase64DecodingErrors);
  if (!salt || !key || salt.decoded.isEmpty() || key.decoded.size() != kKeyBytes) return false;
  return constantTimeEquals(derive(password, salt.decoded, iterations), key.decoded);
}

bool PasswordHash::constantTimeEquals(const QByteArray& a, const QByteArray& b)
{
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (qsizetype i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
  return diff == 0;
}

}  // namespace kivo
