#include "platform/UserDefaults.h"

#include <QDataStream>
#include <QIODevice>
#include <QSettings>
#include <QVariantMap>
#include <cmath>
#include <limits>

#include "platform/UserDefaultsKeys.h"

namespace kivo {

namespace {

// The archive format of colours is pinned so that a later Qt reads what an earlier
// one wrote.
constexpr QDataStream::Version kColorStreamVersion = QDataStream::Qt_6_0;

QVariantMap& registrationDomain()
{
  static QVariantMap domain;
  return domain;
}

// Values read back from the settings file are text whatever type they were written
// with, so every conversion accepts text as well as the typed value still cached by
// the store before it was written.

bool isText(const QVariant& v) { return v.typeId() == QMetaType::QString; }

bool isNumber(const QVariant& v)
{
  switch (v.typeId()) {
  case QMetaType::Bool:
  case QMetaType::Int:
  case QMetaType::UInt:
  case QMetaType::Long:
  case QMetaType::ULong:
  case QMetaType::LongLong:
  case QMetaType::ULongLong:
  case QMetaType::Short:
  case QMetaType::UShort:
  case QMetaType::Float:
  case QMetaType::Double: return true;
  default: return false;
  }
}

bool isReal(const QVariant& v) { return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float; }

int64_t truncatedInteger(double d)
{
  if (std::isnan(d)) return 0;
  // 2^63 is exactly representable; anything at or beyond it saturates.
  constexpr double kLimit = 9223372036854775808.0;
  if (d >= kLimit) return std::numeric_limits<int64_t>::max();
  if (d <= -kLimit) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(d);
}

// Text as a number: an integer, a decimal, or the words a stored bool is written as.
bool numberFromText(const QString& text, double& real, int64_t& integer)
{
  const QString t = text.trimmed();
  bool ok = false;
  const qlonglong i = t.toLongLong(&ok);
  if (ok) {
    integer = i;
    real = static_cast<double>(i);
    return true;
  }
  const double d = t.toDouble(&ok);
  if (ok) {
    real = d;
    integer = truncatedInteger(d);
    return true;
  }
  const QString lower = t.toLower();
  if (lower == QLatin1String("true") || lower == QLatin1String("yes")) {
    integer = 1;
    real = 1.0;
    return true;
  }
  if (lower == QLatin1String("false") || lower == QLatin1String("no")) {
    integer = 0;
    real = 0.0;
    return true;
  }
  return false;
}

}  // namespace

UserDefaults::UserDefaults() = default;

UserDefaults::UserDefaults(const QString& iniFilePath) : iniFilePath_(iniFilePath) {}

UserDefaults::~UserDefaults() = default;

UserDefaults& UserDefaults::standardUserDefaults()
{
  static UserDefaults instance;
  return instance;
}

void UserDefaults::useSettingsFile(const QString& iniFilePath)
{
  UserDefaults& d = standardUserDefaults();
  if (d.settings_) d.settings_->sync();
  d.settings_.reset();
  d.iniFilePath_ = iniFilePath;
}

void UserDefaults::registerDefaults()
{
  QVariantMap& r = registrationDomain();

  // Entry windows.
  r.insert(KIVOFurikaedenpyouAutoSetBalanceKey, true);
  for (const char* key : {KIVOInputTypeForDateKey, KIVOInputTypeForKamokuKey, KIVOInputTypeForHojyoKamokuKey,
                          KIVOInputTypeForKingakuKey, KIVOInputTypeForJigyoubuKey, KIVOInputTypeForTekiyouKey})
    r.insert(key, qlonglong(2));  // typed into directly

  // Journal, ledgers and text exports.
  r.insert(KIVOAutoUpdateAllOutputWindowsKey, true);
  r.insert(KIVOKanjyoumotocyouShowCreatedTypeKey, false);
  r.insert(KIVOExportTextKugiriCodeKey, qlonglong(0));
  r.insert(KIVOExportTextSaveByLongLongKingakuKey, false);

  // Trial balances and statements.
  r.insert(KIVOZandakaShisanKamokuDoNotShowIfNoTorihikiKey, false);
  r.insert(KIVOSuiiShisanAddKaishizandkaToGoukeiKey, true);
  r.insert(KIVOSuiiShisanTitleTextColorKey, archivedColor(QColor(0, 0, 255)));
  r.insert(KIVOTateKabunushiShihonnadoKeisansyoKey, true);

  // Depreciation. The two ratios (percent) are the residual ratio and the
  // depreciation limit of the pre-2007 rules; they stand in for the values of the
  // older depreciation rate table until that table is part of the program, which
  // then registers its own values here.
  r.insert(KIVOGankasyoukyakuhiRoundingTypeKey, qlonglong(0));
  r.insert(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey, 10.0);
  r.insert(KIVOGankasyoukyakuhiDefaultZanzonGendoWariaiKey, 5.0);
}

QString UserDefaults::columnsKey(const char* templateKey, int columnCount)
{
  return QString::fromUtf8(templateKey).replace(QLatin1String("%d"), QString::number(columnCount));
}

QSettings& UserDefaults::settings() const
{
  if (!settings_) {
    if (iniFilePath_.isEmpty())
      settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                              QStringLiteral("Kivosavan"), QStringLiteral("Kivosavan"));
    else
      settings_ = std::make_unique<QSettings>(iniFilePath_, QSettings::IniFormat);
  }
  return *settings_;
}

QVariant UserDefaults::storedValue(const QString& key) const { return settings().value(key); }

QVariant UserDefaults::objectForKey(const QString& key) const
{
  QVariant v = storedValue(key);
  if (v.isValid()) return v;
  return registrationDomain().value(key);
}

bool UserDefaults::boolForKey(const QString& key) const
{
  const QVariant v = objectForKey(key);
  if (v.typeId() == QMetaType::Bool) return v.toBool();
  if (isReal(v)) return v.toDouble() != 0.0;
  if (isNumber(v)) return v.toLongLong() != 0;
  if (isText(v)) {
    double real = 0;
    int64_t integer = 0;
    if (numberFromText(v.toString(), real, integer)) return real != 0.0;
  }
  return false;
}

int64_t UserDefaults::integerForKey(const QString& key) const
{
  const QVariant v = objectForKey(key);
  if (isReal(v)) return truncatedInteger(v.toDouble());
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? 1 : 0;
  if (isNumber(v)) return v.toLongLong();
  if (isText(v)) {
    double real = 0;
    int64_t integer = 0;
    if (numberFromText(v.toString(), real, integer)) return integer;
  }
  return 0;
}

double UserDefaults::doubleForKey(const QString& key) const
{
  const QVariant v = objectForKey(key);
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? 1.0 : 0.0;
  if (isNumber(v)) return v.toDouble();
  if (isText(v)) {
    double real = 0;
    int64_t integer = 0;
    if (numberFromText(v.toString(), real, integer)) return real;
  }
  return 0.0;
}

QString UserDefaults::stringForKey(const QString& key) const
{
  const QVariant v = objectForKey(key);
  if (isText(v)) return v.toString();
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
  if (isNumber(v)) return v.toString();
  return QString();
}

QByteArray UserDefaults::dataForKey(const QString& key) const
{
  const QVariant v = objectForKey(key);
  if (v.typeId() == QMetaType::QByteArray) return v.toByteArray();
  return QByteArray();
}

QColor UserDefaults::colorForKey(const QString& key) const
{
  QColor color;
  if (unarchiveColor(dataForKey(key), color)) return color;
  // A stored value that is not a colour must not hide the registered one.
  const QVariant registered = registrationDomain().value(key);
  if (registered.typeId() == QMetaType::QByteArray && unarchiveColor(registered.toByteArray(), color)) return color;
  return QColor();
}

void UserDefaults::setBool(bool value, const QString& key) { settings().setValue(key, value); }

void UserDefaults::setInteger(int64_t value, const QString& key) { settings().setValue(key, qlonglong(value)); }

void UserDefaults::setDouble(double value, const QString& key) { settings().setValue(key, value); }

void UserDefaults::setString(const QString& value, const QString& key) { settings().setValue(key, value); }

void UserDefaults::setData(const QByteArray& value, const QString& key) { settings().setValue(key, value); }

void UserDefaults::setColor(const QColor& value, const QString& key) { setData(archivedColor(value), key); }

void UserDefaults::removeObjectForKey(const QString& key) { settings().remove(key); }

void UserDefaults::synchronize() { settings().sync(); }

QByteArray UserDefaults::archivedColor(const QColor& color)
{
  QByteArray data;
  QDataStream out(&data, QIODevice::WriteOnly);
  out.setVersion(kColorStreamVersion);
  out << color;
  return data;
}

bool UserDefaults::unarchiveColor(const QByteArray& data, QColor& color)
{
  if (data.isEmpty()) return false;
  QDataStream in(data);
  in.setVersion(kColorStreamVersion);
  QColor decoded;
  in >> decoded;
  if (in.status() != QDataStream::Ok || !in.atEnd() || !decoded.isValid()) return false;
  color = decoded;
  return true;
}

}  // namespace kivo
