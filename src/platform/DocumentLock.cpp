#include "platform/DocumentLock.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTextStream>
#include <cerrno>
#include <csignal>

namespace kivo {
namespace {

QString userName()
{
  for (const char* var : {"USER", "LOGNAME", "USERNAME"}) {
    const QString v = qEnvironmentVariable(var);
    if (!v.isEmpty()) return v;
  }
  return QStringLiteral("uid %1").arg(::getuid());
}

bool processIsRunning(qint64 pid)
{
  if (pid <= 0) return false;
  if (::kill(static_cast<pid_t>(pid), 0) == 0) return true;
  return errno == EPERM;  // it runs, under another user
}

}  // namespace

DocumentLock::DocumentLock(const QString& documentPath)
    : documentPath_(documentPath), lockPath_(lockFilePath(documentPath))
{
}

DocumentLock::~DocumentLock() { unlock(); }

QString DocumentLock::lockFilePath(const QString& documentPath)
{
  const QFileInfo info(documentPath);
  return info.absoluteDir().filePath(QStringLiteral(".~lock.") + info.fileName() + QLatin1Char('#'));
}

DocumentLock::Holder DocumentLock::currentHolder()
{
  Holder h;
  h.user = userName();
  h.host = QSysInfo::machineHostName();
  h.pid = QCoreApplication::applicationPid();
  h.since = QDateTime::currentDateTime();
  return h;
}

QString DocumentLock::describeHolder(const Holder& holder)
{
  return QStringLiteral("%1 さんがコンピュータ %2 で開いています（プロセス番号 %3、%4 から）。")
      .arg(holder.user.isEmpty() ? QStringLiteral("不明なユーザ") : holder.user,
           holder.host.isEmpty() ? QStringLiteral("不明") : holder.host, QString::number(holder.pid),
           holder.since.isValid() ? holder.since.toString(QStringLiteral("yyyy/MM/dd HH:mm"))
                                  : QStringLiteral("不明な時刻"));
}

bool DocumentLock::readHolder(Holder& holder) const
{
  QFile file(lockPath_);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QStringList lines = QString::fromUtf8(file.read(4096)).split(QLatin1Char('\n'));
  if (lines.size() < 3) return false;
  holder.user = lines[0];
  holder.host = lines[1];
  bool ok = false;
  holder.pid = lines[2].toLongLong(&ok);
  if (!ok) return false;
  holder.since = lines.size() > 3 ? QDateTime::fromString(lines[3], Qt::ISODate) : QDateTime();
  return true;
}

bool DocumentLock::createLockFile()
{
  QFile file(lockPath_);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
  const Holder me = currentHolder();
  const QByteArray text = (me.user + QLatin1Char('\n') + me.host + QLatin1Char('\n') + QString::number(me.pid) +
                           QLatin1Char('\n') + me.since.toString(Qt::ISODate) + QLatin1Char('\n'))
                              .toUtf8();
  if (file.write(text) != text.size() || !file.flush()) {
    file.close();
    QFile::remove(lockPath_);
    return false;
  }
  return true;
}

DocumentLock::Result DocumentLock::tryLock()
{
  if (locked_) return Result::Acquired;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (createLockFile()) {
      locked_ = true;
      return Result::Acquired;
    }
    if (!QFileInfo::exists(lockPath_)) return Result::Failed;
    Holder found;
    if (!readHolder(found)) {
      // A lock file we cannot read is being written or is damaged: someone else's.
      holder_ = Holder{};
      return Result::HeldElsewhere;
    }
    const bool sameHost = found.host == QSysInfo::machineHostName();
    if (sameHost && !processIsRunning(found.pid)) {
      // Left behind by a program that ended without unlocking: take it over.
      QFile::remove(lockPath_);
      continue;
    }
    holder_ = found;
    return Result::HeldElsewhere;
  }
  return Result::Failed;
}

void DocumentLock::unlock()
{
  if (!locked_) return;
  // Remove only our own lock file, never one another process made since.
  Holder found;
  if (readHolder(found) && found.pid == QCoreApplication::applicationPid() && found.host == QSysInfo::machineHostName())
    QFile::remove(lockPath_);
  locked_ = false;
}

}  // namespace kivo
