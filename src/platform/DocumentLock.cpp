#include "platform/DocumentLock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <ctime>

#include "files/Crc32.h"
#include "files/SafeFileWriter.h"
#include "files/SystemErrorText.h"

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

// A lock file younger than this that is empty or unreadable is being written by the
// program that made it; an older one was left behind.
constexpr time_t kYoungLockSeconds = 10;

// The file a save replaces: the path, or the file its symbolic links lead to.
QString resolvedPath(const QString& path)
{
  const QString absolute = QFileInfo(path).absoluteFilePath();
  std::string resolved;
  if (!SafeFileWriter::resolveLinks(QFile::encodeName(absolute).toStdString(), &resolved, nullptr)) return absolute;
  return QFile::decodeName(QByteArray::fromStdString(resolved));
}

// Why a lock file could not be made, in the words the program uses for every file.
QString systemError(int error) { return QString::fromStdString(SystemErrorText::of(error)); }

constexpr const char* kNotAFile = "ロックファイルの場所にファイルではないものがあります";

// The lock of the file open as fd, waiting a moment: another program looking whether
// a lock file is a leftover holds its lock for an instant.
bool lockWithin(int fd, int milliseconds)
{
  for (int waited = 0;; waited += 20) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (waited >= milliseconds) return false;
    QThread::msleep(20);
  }
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The holder written in a lock file; false when it cannot be read or is not complete.
bool readHolder(int fd, DocumentLock::Holder& holder)
{
  char buf[4096];
  const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
  if (n <= 0) return false;
  const QStringList lines = QString::fromUtf8(buf, static_cast<qsizetype>(n)).split(QLatin1Char('\n'));
  if (lines.size() < 3) return false;
  bool ok = false;
  const qint64 pid = lines[2].toLongLong(&ok);
  if (!ok) return false;
  holder.user = lines[0];
  holder.host = lines[1];
  holder.pid = pid;
  holder.since = lines.size() > 3 ? QDateTime::fromString(lines[3].trimmed(), Qt::ISODate) : QDateTime();
  holder.processStart = lines.size() > 4 ? lines[4].trimmed() : QString();
  return true;
}

// Whether the lock file open as fd, as stat shows it, is one this program made and
// no one has changed since: a regular file of this user's with no other link, holding
// the lines createLockFile writes and nothing else. Only such a file is ever removed.
bool madeByThisProgram(int fd, const struct stat& st)
{
  if (!S_ISREG(st.st_mode) || st.st_nlink != 1 || st.st_uid != ::geteuid()) return false;
  char buf[4096];
  const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
  if (n <= 0 || n != st.st_size) return false;
  const QByteArray bytes(buf, static_cast<qsizetype>(n));
  const QString text = QString::fromUtf8(bytes);
  // User, host, process, since and the process's start (which earlier versions did
  // not write), each ended by a line break.
  const QStringList lines = text.split(QLatin1Char('\n'));
  if (text.toUtf8() != bytes || lines.size() < 5 || lines.size() > 6 || !lines.last().isEmpty() || lines[0].isEmpty())
    return false;
  bool ok = false;
  const qint64 pid = lines[2].toLongLong(&ok);
  if (!ok || pid <= 0 || QString::number(pid) != lines[2]) return false;
  if (!QDateTime::fromString(lines[3], Qt::ISODate).isValid()) return false;
  for (const QChar c : lines[4])
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

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
  const QFileInfo info(resolvedPath(documentPath));
  const QString dir = info.absolutePath();
  const QString prefix = QStringLiteral(".~lock."), suffix = QStringLiteral("#");
  const long max = ::pathconf(QFile::encodeName(dir).constData(), _PC_NAME_MAX);
  const qsizetype nameMax = max > 0 ? static_cast<qsizetype>(max) : 255;
  const QByteArray name = info.fileName().toUtf8();
  if (prefix.size() + name.size() + suffix.size() <= nameMax)
    return dir + QLatin1Char('/') + prefix + info.fileName() + suffix;
  // Too long for the prefix and suffix: the name cut at a character and told apart
  // from others cut alike by a hash of the whole.
  const QByteArray hash =
      QByteArray::number(Crc32::of(std::string_view(name.constData(), static_cast<size_t>(name.size()))), 16)
          .rightJustified(8, '0');
  qsizetype cut = std::max<qsizetype>(0, nameMax - prefix.size() - 1 - hash.size() - suffix.size());
  while (cut > 0 && (static_cast<uchar>(name[cut]) & 0xC0) == 0x80) --cut;
  return dir + QLatin1Char('/') + prefix + QString::fromUtf8(name.left(cut)) + QLatin1Char('~') +
         QString::fromLatin1(hash) + suffix;
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
  if (!holder.unprovenLockFile.isEmpty())
    return QStringLiteral(
               "ほかのプログラムで開かれているかもしれません（ロックファイル“%1”がありますが、"
               "このプログラムが作ったものと確かめられません）。どこでも開いていないときは、そのファイルを削除して"
               "ください。")
        .arg(holder.unprovenLockFile);
  if (!holder.unreadableLockFile.isEmpty())
    return QStringLiteral(
               "ほかのプログラムで開かれているかどうかを確かめられません（ロックファイル“%1”を読めません）。"
               "どこでも開いていないときは、そのファイルを削除してください。")
        .arg(holder.unreadableLockFile);
  // A lock file's lines may end in a carriage return too.
  const QString user = holder.user.trimmed(), host = holder.host.trimmed();
  const QString who = holder.pid <= 0 && user.isEmpty()
                          ? QStringLiteral("ほかのプログラムで開かれています。")
                          : QStringLiteral("%1 さんがコンピュータ %2 で開いています（プロセス番号 %3、%4 から）。")
                                .arg(user.isEmpty() ? QStringLiteral("不明なユーザ") : user,
                                     host.isEmpty() ? QStringLiteral("不明") : host, QString::number(holder.pid),
                                     holder.since.isValid() ? holder.since.toString(QStringLiteral("yyyy/MM/dd HH:mm"))
                                                            : QStringLiteral("不明な時刻"));
  if (holder.lockFile.isEmpty()) return who;
  return who +
         QStringLiteral("どこでも開いていないときは、ロックファイル“%1”を削除してください。").arg(holder.lockFile);
}

bool DocumentLock::lockDocumentFile()
{
  if (documentFd_ >= 0) return true;
  const int fd = ::open(QFile::encodeName(documentPath_).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return true;  // not written yet: locked once a save has made it
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return true;
  }
  if (!lockWithin(fd, 200)) {
    ::close(fd);
    return false;
  }
  documentFd_ = fd;
  return true;
}

DocumentLock::Claim DocumentLock::createLockFile()
{
  const QByteArray path = QFile::encodeName(lockPath_);
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return takeOverLockFile();
    failure_ = systemError(errno);
    return Claim::Failed;
  }
  // Another program may be looking at the file, still empty, for an instant.
  if (!lockWithin(fd, 2000)) {
    ::close(fd);
    return Claim::Held;
  }
  const Holder me = currentHolder();
  const QByteArray text =
      (me.user + QLatin1Char('\n') + me.host + QLatin1Char('\n') + QString::number(me.pid) + QLatin1Char('\n') +
       me.since.toString(Qt::ISODate) + QLatin1Char('\n') + me.processStart + QLatin1Char('\n'))
          .toUtf8();
  if (::pwrite(fd, text.constData(), static_cast<size_t>(text.size()), 0) != text.size()) {
    failure_ = systemError(errno);
    ::unlink(path.constData());
    ::close(fd);
    return Claim::Failed;
  }
  lockFd_ = fd;
  return Claim::Acquired;
}

DocumentLock::Claim DocumentLock::takeOverLockFile()
{
  const QByteArray path = QFile::encodeName(lockPath_);
  const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT) return Claim::Gone;  // removed meanwhile: make it again
    if (errno == EACCES) {
      holder_.unreadableLockFile = lockPath_;
      return Claim::Held;
    }
    // A socket or a device without a driver cannot be opened at all.
    failure_ = errno == ELOOP ? QStringLiteral("ロックファイルの場所にシンボリックリンクがあります")
               : errno == ENXIO ? QString::fromUtf8(kNotAFile)
                                : systemError(errno);
    return Claim::Failed;
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {
  }, atPath{};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    failure_ = QString::fromUtf8(kNotAFile);
    return Claim::Failed;
  }
  // A running holder keeps its lock file locked.
  Holder found;
  const bool named = readHolder(fd, found);
  if (!lockWithin(fd, 200)) {
    if (named) holder_ = found;
    return Claim::Held;
  }
  // Nobody holds it locked: a leftover, unless it has been replaced meanwhile, a
  // program on another computer holds it (whose lock may not reach here), one here
  // made it without that lock and still runs, or it is young and not yet written.
  if (::lstat(path.constData(), &atPath) != 0 || !sameFile(st, atPath)) return Claim::Gone;
  if (!readHolder(fd, found)) {
    if (::time(nullptr) - st.st_mtime < kYoungLockSeconds) return Claim::Held;
  } else if (found.host != QSysInfo::machineHostName() || isHolderRunning(found)) {
    holder_ = found;
    return Claim::Held;
  }
  // Another user's, another program's, or one changed since: theirs to remove.
  if (!madeByThisProgram(fd, atPath)) {
    holder_.unprovenLockFile = lockPath_;
    return Claim::Held;
  }
  // Removed while locked: a program that opened it meanwhile finds it gone once it
  // gets the lock, and makes the file again like this one.
  if (::unlink(path.constData()) != 0) {
    failure_ = systemError(errno);
    return Claim::Failed;
  }
  return Claim::Gone;
}

DocumentLock::Result DocumentLock::tryLock()
{
  if (locked_) return Result::Acquired;
  holder_ = Holder{};
  failure_.clear();
  // The file itself first: every path to it sees this lock.
  if (!lockDocumentFile()) {
    const int fd = ::open(QFile::encodeName(lockPath_).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
      readHolder(fd, holder_);
      holder_.lockFile = lockPath_;
      ::close(fd);
    }
    return Result::HeldElsewhere;
  }
  for (int attempt = 0; attempt < 5; ++attempt) {
    switch (createLockFile()) {
    case Claim::Acquired: locked_ = true; return Result::Acquired;
    case Claim::Held:
      holder_.lockFile = lockPath_;
      if (documentFd_ >= 0) ::close(documentFd_);
      documentFd_ = -1;
      return Result::HeldElsewhere;
    case Claim::Failed: return Result::Failed;
    case Claim::Gone: break;
    }
  }
  failure_ = QStringLiteral("ロックファイルがほかのプログラムによって作り直され続けています");
  return Result::Failed;
}

void DocumentLock::documentWasReplaced()
{
  if (documentFd_ >= 0) ::close(documentFd_);
  documentFd_ = -1;
  lockDocumentFile();
}

void DocumentLock::unlock()
{
  if (lockFd_ >= 0) {
    // Removed only while it is still this object's file, then released.
    struct stat mine {
    }, atPath{};
    const QByteArray path = QFile::encodeName(lockPath_);
    if (::fstat(lockFd_, &mine) == 0 && ::lstat(path.constData(), &atPath) == 0 && sameFile(mine, atPath))
      ::unlink(path.constData());
    ::close(lockFd_);
    lockFd_ = -1;
  }
  if (documentFd_ >= 0) ::close(documentFd_);
  documentFd_ = -1;
  locked_ = false;
}

}  // namespace kivo
