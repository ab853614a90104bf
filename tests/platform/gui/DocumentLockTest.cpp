#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <tuple>

#include "platform/DocumentLock.h"

namespace kivo {
namespace {

TEST(DocumentLockTest, TheLockFileNamesThisProgramARunningHolderKeepsItAndALeftoverIsTakenOver)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString document = dir.filePath(QStringLiteral("帳簿.kivo"));
  const auto writeForeignLock = [&](qint64 pid, const QString& host, const QString& processStart) {
    QFile f(DocumentLock::lockFilePath(document));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write((QStringLiteral("taro\n") + host + QLatin1Char('\n') + QString::number(pid) +
             QStringLiteral("\n2024-05-06T07:08:09\n") + processStart + QLatin1Char('\n'))
                .toUtf8());
  };

  EXPECT_EQ(DocumentLock::lockFilePath(document), dir.filePath(QStringLiteral(".~lock.帳簿.kivo#")));
  {
    DocumentLock lock(document);
    ASSERT_EQ(lock.tryLock(), DocumentLock::Result::Acquired);
    EXPECT_TRUE(lock.isLocked());
    QFile f(DocumentLock::lockFilePath(document));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    EXPECT_EQ(std::pair(lines.value(1), lines.value(2).toLongLong()),
              std::pair(QSysInfo::machineHostName(), QCoreApplication::applicationPid()));
    // A second claim, even from this program, is refused while the first holds it.
    DocumentLock second(document);
    EXPECT_EQ(second.tryLock(), DocumentLock::Result::HeldElsewhere);
    EXPECT_EQ(second.holder().pid, QCoreApplication::applicationPid());
  }
  EXPECT_FALSE(QFileInfo::exists(DocumentLock::lockFilePath(document)));

  // An unreadable lock file counts as held, and a folder that cannot take one as no lock.
  {
    QFile f(DocumentLock::lockFilePath(document));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("garbage");
  }
  DocumentLock lock(document);
  EXPECT_EQ(lock.tryLock(), DocumentLock::Result::HeldElsewhere);
  QFile::remove(DocumentLock::lockFilePath(document));

  DocumentLock nowhere(dir.filePath(QStringLiteral("no-such-folder/帳簿.kivo")));
  EXPECT_EQ(nowhere.tryLock(), DocumentLock::Result::Failed);
  EXPECT_FALSE(nowhere.isLocked());

  // The holder is named by login name, also when the environment does not say it.
  const passwd* pw = ::getpwuid(::getuid());
  ASSERT_NE(pw, nullptr);
  const QByteArray user = qgetenv("USER");
  qputenv("USER", "someone-else");
  EXPECT_EQ(DocumentLock::currentHolder().user, QString::fromLocal8Bit(pw->pw_name));
  qputenv("USER", user);

  // A running holder keeps its lock. A program killed while it had the document open
  // leaves its lock behind: it is taken over on this host whether the process is gone,
  // has ended but is not yet reaped by its parent, or its number now belongs to another
  // process.
  QProcess other;
  other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
  ASSERT_TRUE(other.waitForStarted());
  const qint64 pid = other.processId();
  const pid_t zombie = ::fork();
  ASSERT_GE(zombie, 0);
  if (zombie == 0) ::_exit(0);
  ::usleep(50000);  // ended, and not reaped until the end of the test: a zombie
  const QString here = QSysInfo::machineHostName();
  struct Case {
    const char* what;
    QString host;
    qint64 pid;
    QString processStart;
    DocumentLock::Result expected;
  };
  const auto held = DocumentLock::Result::HeldElsewhere, acquired = DocumentLock::Result::Acquired;
  const Case cases[] = {
      {"a running program here", here, pid, {}, held},
      {"a program on another computer", QStringLiteral("other-host.example"), pid, {}, held},
      {"a program here that has ended", here, pid, {}, acquired},
      {"a program that has ended but is not yet reaped", here, zombie, {}, acquired},
      {"a number since given to another process", here, ::getppid(), QStringLiteral("1"), acquired},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.host == here && c.expected == acquired && other.state() != QProcess::NotRunning) {
      other.kill();
      other.waitForFinished();
    }
    writeForeignLock(c.pid, c.host, c.processStart);
    DocumentLock lock(document);
    EXPECT_EQ(lock.tryLock(), c.expected);
    if (c.expected == held) {
      EXPECT_EQ(std::tuple(lock.holder().user, lock.holder().host, lock.holder().pid),
                std::tuple(QStringLiteral("taro"), c.host, pid));
      const QString said = DocumentLock::describeHolder(lock.holder());
      for (const QString& part : {QStringLiteral("taro"), c.host, QString::number(pid), QStringLiteral("2024/05/06")})
        EXPECT_TRUE(said.contains(part)) << said.toStdString();
    }
    lock.unlock();
    // Unlocking never removes a lock file that another program made.
    EXPECT_EQ(QFileInfo::exists(DocumentLock::lockFilePath(document)), c.expected == held);
    QFile::remove(DocumentLock::lockFilePath(document));
  }
  ::waitpid(zombie, nullptr, 0);
  EXPECT_TRUE(DocumentLock::isHolderRunning(DocumentLock::currentHolder()));
}

}  // namespace
}  // namespace kivo
