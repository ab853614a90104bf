#include "platform/DocumentLock.h"

#include <pwd.h>
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

// The login name of the user this process runs as (the environment may not say).
QString userName()
{
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name && *pw->pw_name)
    return QString::fromLocal8Bit(pw->pw_name);
  for (const char* var : {"USER", "LOGNAME", "USERNAME"}) {
    const QString v = qEnvironmentVariable(var);
    if (!v.isEmpty()) return v;
  }
  return QStringLiteral("uid %1").arg(::getuid());
}

// A process as /proc shows it: its state letter and its start time (clock ticks
// after boot). False when /proc has no such process or cannot be read.
bool readProcStat(qint64 pid, char* state, QString* start)
{
  QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray stat = file.read(4096);
  // "pid (name) state ppid ..."; the name may hold spaces and parentheses.
  const qsizetype close = stat.lastIndexOf(')');
  if (close < 0) return false;
  const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
  // After the name: state is field 3 of the line, starttime field 22.
  if (fields.size() < 20 || fields[0].isEmpty()) return false;
  *state = fields[0][0];
  *start = QString::fromLatin1(fields[19]);
  return true;
}

bool procIsAvailable() { return QFileInfo::exists(QStringLiteral("/proc/self/stat")); }

QString startOfThisProcess()
{
  char state = 0;
  QString start;
  return readProcStat(QCoreApplication::applicationPid(), &state, &start) ? start : QString();
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
  h.processStart = startOfThisProcess();
  return h;
}

bool DocumentLock::isHolderRunning(const Holder& holder)
{
  if (holder.pid <= 0) return false;
  if (procIsAvailable()) {
    char state = 0;
    QString start;
    if (!readProcStat(holder.pid, &state, &start)) return false;
    if (state == 'Z' || state == 'X') return false;  // ended, not yet reaped
    // Another process that has since been given the same number.
    return holder.processStart.isEmpty() || holder.processStart == start;
  }
  if (::kill(static_cast<pid_t>(holder.pid), 0) == 0) return true;
  return errno == EPERM;  // it runs, under another user
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
  holder.processStart = lines.size() > 4 ? lines[4].trimmed() : QString();
  return true;
}

bool DocumentLock::createLockFile()
{
  QFile file(lockPath_);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
  const Holder me = currentHolder();
  const QByteArray text =
      (me.user + QLatin1Char('\n') + me.host + QLatin1Char('\n') + QString::number(me.pid) + QLatin1Char('\n') +
       me.since.toString(Qt::ISODate) + QLatin1Char('\n') + me.processStart + QLatin1Char('\n'))
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
    if (sameHost && !isHolderRunning(found)) {
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
