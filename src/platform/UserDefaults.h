// The user's settings: typed values stored per key in the platform's settings store,
// over one process-wide table of registered defaults. A key that holds no stored value
// reads as its registered default; a key with neither reads as 0, false or nothing.
// Registered defaults are fallbacks only and are never written to the settings file.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

class QSettings;

namespace kivo {

class UserDefaults {
public:
  // The application's settings (organization and application "Kivosavan").
  UserDefaults();
  // Settings kept in the given INI file instead; used by tests and tools.
  explicit UserDefaults(const QString& iniFilePath);
  ~UserDefaults();

  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;

  // The one instance the application uses.
  static UserDefaults& standardUserDefaults();
  // Points the standard instance at an INI file (an empty path goes back to the
  // application's settings). Pending changes of the previous store are written first.
  // References to the standard instance stay valid.
  static void useSettingsFile(const QString& iniFilePath);

  // Installs the application's table of registered defaults. Calling it again is
  // harmless.
  static void registerDefaults();

  // The key of a per-column-count template key ("%d Columns ... Window Width").
  static QString columnsKey(const char* templateKey, int columnCount);

  // The stored value, else the registered default, else an invalid QVariant.
  QVariant objectForKey(const QString& key) const;

  bool boolForKey(const QString& key) const;
  int64_t integerForKey(const QString& key) const;
  double doubleForKey(const QString& key) const;
  // Empty unless the value is text or a number.
  QString stringForKey(const QString& key) const;
  // Empty unless the value is data.
  QByteArray dataForKey(const QString& key) const;
  // The colour archived under the key; a stored value that does not decode falls back
  // to the registered colour, and an invalid QColor means there is none.
  QColor colorForKey(const QString& key) const;

  void setBool(bool value, const QString& key);
  void setInteger(int64_t value, const QString& key);
  void setDouble(double value, const QString& key);
  void setString(const QString& value, const QString& key);
  void setData(const QByteArray& value, const QString& key);
  void setColor(const QColor& value, const QString& key);
  // Drops the stored value, so the key reads as its registered default again.
  void removeObjectForKey(const QString& key);

  // Writes pending changes to the settings store.
  void synchronize();

  // A colour as archived data, and back; decoding answers false for data that does not
  // hold exactly one colour.
  static QByteArray archivedColor(const QColor& color);
  static bool unarchiveColor(const QByteArray& data, QColor& color);

private:
  QSettings& settings() const;
  QVariant storedValue(const QString& key) const;

  QString iniFilePath_;  // empty: the application's settings
  mutable std::unique_ptr<QSettings> settings_;
};

}  // namespace kivo
