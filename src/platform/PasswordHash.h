// Passwords of a document, kept as salted, slow hashes and never as their text.
//
// A stored value describes itself: "pbkdf2-sha256$<iterations>$<salt>$<key>", salt and
// key in base64. The iteration count is stored, so that it can be raised later without
// making older documents unreadable. An empty stored value means no password is set.
#pragma once

#include <QString>
#include <string>

namespace kivo {

class PasswordHash {
public:
  static constexpr int kDefaultIterations = 200000;
  static constexpr int kSaltBytes = 16;
  static constexpr int kKeyBytes = 32;

  // The stored form of a password, with a fresh random salt. The empty password gives
  // the empty string (no password).
  static std::string hash(const QString& password, int iterations = kDefaultIterations);

  // Whether the password matches the stored form. The keys are compared in constant
  // time. An empty or malformed stored form matches nothing.
  static bool verify(const QString& password, const std::string& stored);

  // Equality of two byte strings in time that depends only on their lengths.
  static bool constantTimeEquals(const QByteArray& a, const QByteArray& b);
};

}  // namespace kivo
