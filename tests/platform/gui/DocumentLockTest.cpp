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

#include "platform/DocumentLock.h"

namespace kivo {
namespace {

class DocumentLockTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString document() const { return dir_.filePath(QStringLiteral("帳簿.kivo")); }

  void writeForeignLock(qint64 pid, const QString& host, const QString& processStart = {})
  {
    QFile f(DocumentLock::lockFilePath(document()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write((QStringLiteral("taro\n") + host + QLatin1Char('\n') + QString::number(pid) +
             QStringLiteral("\n2024-05-06T07:08:09\n") + processStart + QLatin1Char('\n'))
                .toUtf8());
  }

  QTemporaryDir dir_;
};

TEST_F(DocumentLockTest, TheLockFileSitsBesideTheDocumentAndNamesThisProgram)
{
  EXPECT_EQ(DocumentLock::lockFilePath(document()), dir_.filePath(QStringLiteral(".~lock.帳簿.kivo#")));
  {
    DocumentLock lock(document());
    ASSERT_EQ(lock.tryLock(), DocumentLock::Result::Acquired);
    EXPECT_TRUE(lock.isLocked());
    QFile f(DocumentLock::lockFilePath(document()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    EXPECT_EQ(lines.value(1), QSysInfo::machineHostName());
    EXPECT_EQ(lines.value(2).toLongLong(), QCoreApplication::applicationPid());
    // A second claim, even from this program, is refused while the first holds it.
    DocumentLock second(document());
    EXPECT_EQ(second.tryLock(), DocumentLock::Result::HeldElsewhere);
    EXPECT_EQ(second.holder().pid, QCoreApplication::applicationPid());
  }
  EXPECT_FALSE(QFileInfo::exists(DocumentLock::lockFilePath(document())));
}

// A running holder keeps its lock. A program killed while it had the document open
// leaves its lock behind: it is taken over on this host whether the process is gone,
// has ended but is not yet reaped by its parent, or its number now belongs to another
// process.
TEST_F(DocumentLockTest, ARunningHolderKeepsItsLockAndALeftoverIsTakenOver)
{
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
  const Case cases[] = {
      {"a running program here", here, pid, {}, DocumentLock::Result::HeldElsewhere},
      {"a program on another computer",
       QStringLiteral("other-host.example"),
       pid,
       {},
       DocumentLock::Result::HeldElsewhere},
      {"a program here that has ended", here, pid, {}, DocumentLock::Result::Acquired},
      {"a program that has ended but is not yet reaped", here, zombie, {}, DocumentLock::Result::Acquired},
      {"a number since given to another process", here, ::getppid(), QStringLiteral("1"),
       DocumentLock::Result::Acquired},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.host == here && c.expected == DocumentLock::Result::Acquired && other.state() != QProcess::NotRunning) {
      other.kill();
      other.waitForFinished();
    }
    writeForeignLock(c.pid, c.host, c.processStart);
    DocumentLock lock(document());
    EXPECT_EQ(lock.tryLock(), c.expected);
    if (c.expected == DocumentLock::Result::HeldElsewhere) {
      EXPECT_EQ(lock.holder().user, QStringLiteral("taro"));
      EXPECT_EQ(lock.holder().host, c.host);
      EXPECT_EQ(lock.holder().pid, pid);
      const QString said = DocumentLock::describeHolder(lock.holder());
      EXPECT_TRUE(said.contains(QStringLiteral("taro")));
      EXPECT_TRUE(said.contains(c.host));
      EXPECT_TRUE(said.contains(QString::number(pid)));
      EXPECT_TRUE(said.contains(QStringLiteral("2024/05/06")));
    }
    lock.unlock();
    // Unlocking never removes a lock file that another program made.
    EXPECT_EQ(QFileInfo::exists(DocumentLock::lockFilePath(document())),
              c.expected == DocumentLock::Result::HeldElsewhere);
    QFile::remove(DocumentLock::lockFilePath(document()));
  }
  ::waitpid(zombie, nullptr, 0);
  EXPECT_TRUE(DocumentLock::isHolderRunning(DocumentLock::currentHolder()));
}

// The holder is named by login name, also when the environment does not say it.
TEST_F(DocumentLockTest, TheHolderIsNamedByLoginName)
{
  const passwd* pw = ::getpwuid(::getuid());
  ASSERT_NE(pw, nullptr);
  const QByteArray user = qgetenv("USER");
  qputenv("USER", "someone-else");
  EXPECT_EQ(DocumentLock::currentHolder().user, QString::fromLocal8Bit(pw->pw_name));
  qputenv("USER", user);
}

TEST_F(DocumentLockTest, AnUnreadableLockFileCountsAsHeldAndAReadOnlyFolderAsNoLock)
{
  {
    QFile f(DocumentLock::lockFilePath(document()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("garbage");
  }
  DocumentLock lock(document());
  EXPECT_EQ(lock.tryLock(), DocumentLock::Result::HeldElsewhere);
  QFile::remove(DocumentLock::lockFilePath(document()));

  DocumentLock nowhere(dir_.filePath(QStringLiteral("no-such-folder/帳簿.kivo")));
  EXPECT_EQ(nowhere.tryLock(), DocumentLock::Result::Failed);
  EXPECT_FALSE(nowhere.isLocked());
}

}  // namespace
}  // namespace kivo
