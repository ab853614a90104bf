#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

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

void writeFile(const QString& path, const QByteArray& bytes, int ageSeconds = 0)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
  f.close();
  if (ageSeconds > 0) {
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
  }
}

// The lines this program writes into a lock file, naming a process of this host that
// has ended (empty when none could be started).
QByteArray lockOfAnEndedProcess()
{
  const pid_t ended = ::fork();
  if (ended < 0) return {};
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  return QStringLiteral("taro\n%1\n%2\n2024-05-06T07:08:09\n\n").arg(QSysInfo::machineHostName()).arg(ended).toUtf8();
}

TEST(DocumentLockTest, EveryPathToTheFileSeesTheLockAndALeftoverHasOneTaker)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("docs")) &&
              QDir(dir.path()).mkpath(QStringLiteral("docs2")));
  const QString real = dir.filePath(QStringLiteral("docs/books.kivo"));
  const QString link = dir.filePath(QStringLiteral("docs2/link.kivo"));
  const QString hard = dir.filePath(QStringLiteral("docs/hard.kivo"));
  writeFile(real, "old");
  ASSERT_TRUE(QFile::link(QStringLiteral("../docs/books.kivo"), link));
  ASSERT_EQ(::link(QFile::encodeName(real).constData(), QFile::encodeName(hard).constData()), 0);

  // The same file reached through a symbolic link or a hard link is held.
  DocumentLock first(real);
  ASSERT_EQ(first.tryLock(), DocumentLock::Result::Acquired);
  EXPECT_EQ(DocumentLock::lockFilePath(link), DocumentLock::lockFilePath(real));
  for (const QString& path : {link, hard}) {
    DocumentLock other(path);
    EXPECT_EQ(other.tryLock(), DocumentLock::Result::HeldElsewhere) << path.toStdString();
  }
  // A save puts a new file in place of the old: the lock moves to the new file, and
  // the hard link, which keeps the old content, names another file from then on.
  writeFile(real + QStringLiteral(".new"), "new");
  ASSERT_EQ(::rename(QFile::encodeName(real + QStringLiteral(".new")).constData(), QFile::encodeName(real).constData()),
            0);
  first.documentWasReplaced();
  {
    DocumentLock viaOldFile(hard);
    EXPECT_EQ(viaOldFile.tryLock(), DocumentLock::Result::Acquired);
  }
  const QString newHard = dir.filePath(QStringLiteral("docs/hard2.kivo"));
  ASSERT_EQ(::link(QFile::encodeName(real).constData(), QFile::encodeName(newHard).constData()), 0);
  DocumentLock viaNewFile(newHard);
  EXPECT_EQ(viaNewFile.tryLock(), DocumentLock::Result::HeldElsewhere);
  first.unlock();

  // A leftover of a program that has ended is taken over by exactly one of several
  // programs that find it at once.
  const QByteArray leftover = lockOfAnEndedProcess();
  ASSERT_FALSE(leftover.isEmpty());
  for (int round = 0; round < 10; ++round) {
    writeFile(DocumentLock::lockFilePath(real), leftover);
    constexpr int kTakers = 8;
    std::vector<std::unique_ptr<DocumentLock>> locks;
    for (int i = 0; i < kTakers; ++i) locks.push_back(std::make_unique<DocumentLock>(real));
    std::atomic<int> ready{0}, acquired{0};
    std::vector<std::thread> takers;
    for (int i = 0; i < kTakers; ++i)
      takers.emplace_back([&, i] {
        ++ready;
        while (ready < kTakers) std::this_thread::yield();
        if (locks[i]->tryLock() == DocumentLock::Result::Acquired) ++acquired;
      });
    for (std::thread& t : takers) t.join();
    ASSERT_EQ(acquired, 1) << "round " << round;
  }

  // An empty or unreadable lock file is being written while young; once old, nothing
  // shows this program made it, so it stays and the user is told which file it is. A
  // name too long for the lock file's affixes is shortened.
  const QString longName = QString(83, QChar(0x3044)) + QStringLiteral(".kivo");  // 254 bytes
  const std::tuple<const char*, QByteArray, int> cases[] = {
      {"young and empty", "", 0},
      {"young and unreadable", "\xff\xfe", 0},
      {"old and empty", "", 3600},
      {"old and unreadable", "\xff\xfe", 3600},
  };
  for (const auto& [what, bytes, age] : cases) {
    writeFile(DocumentLock::lockFilePath(real), bytes, age);
    DocumentLock lock(real);
    EXPECT_EQ(lock.tryLock(), DocumentLock::Result::HeldElsewhere) << what;
    EXPECT_EQ(lock.holder().unprovenLockFile.toStdString(),
              (age > 0 ? DocumentLock::lockFilePath(real) : QString()).toStdString())
        << what;
    EXPECT_TRUE(QFileInfo::exists(DocumentLock::lockFilePath(real))) << what;
  }
  QFile::remove(DocumentLock::lockFilePath(real));
  const QString longPath = dir.filePath(longName);
  writeFile(longPath, "data");
  DocumentLock longLock(longPath);
  EXPECT_EQ(longLock.tryLock(), DocumentLock::Result::Acquired);
  EXPECT_LE(QFile::encodeName(QFileInfo(DocumentLock::lockFilePath(longPath)).fileName()).size(), 255);

  // A link in the lock file's place is no lock: said why.
  const QString linked = dir.filePath(QStringLiteral("linked.kivo"));
  writeFile(linked, "data");
  ASSERT_TRUE(QFile::link(QStringLiteral("nowhere"), DocumentLock::lockFilePath(linked)));
  DocumentLock noLock(linked);
  EXPECT_EQ(noLock.tryLock(), DocumentLock::Result::Failed);
  EXPECT_FALSE(noLock.failure().isEmpty());
}

TEST(DocumentLockTest, WhyNoLockIsTakenIsSaidInJapaneseAndNoOneElsesLockFileIsRemoved)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid() && QDir(dir.path()).mkdir(QStringLiteral("read-only")));
  const auto lockOf = [&](const char* document) {
    return QFile::encodeName(DocumentLock::lockFilePath(dir.filePath(QString::fromUtf8(document))));
  };
  // What stands where the lock file goes: a socket (which no open takes), a link, a
  // folder, a FIFO.
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray socket = lockOf("socket.kivo");
  ASSERT_LT(static_cast<size_t>(socket.size()), sizeof address.sun_path);
  std::memcpy(address.sun_path, socket.constData(), static_cast<size_t>(socket.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  ASSERT_EQ(::symlink("nowhere", lockOf("link.kivo").constData()), 0);
  ASSERT_EQ(::mkdir(lockOf("folder.kivo").constData(), 0755), 0);
  ASSERT_EQ(::mkfifo(lockOf("fifo.kivo").constData(), 0644), 0);
  // Lock files no holder holds that this program cannot show it made, each naming a
  // process of this host that has ended: they are someone else's to remove.
  const QByteArray lines = lockOfAnEndedProcess();
  ASSERT_FALSE(lines.isEmpty());
  // Lock files that name a holder this program cannot see gone, kept as held: one of
  // another computer, an older four-line one whose number another program now has,
  // one whose lines end in CR LF.
  const QByteArray ended = lines.split('\n').value(2), running = QByteArray::number(::getppid());
  QByteArray crlf = lines;
  crlf.replace("\n", "\r\n");
  const std::pair<const char*, QByteArray> foreign[] = {
      {"another-program.kivo", ",taro,host,taro,06.05.2024 07:08,file:///home/taro/.config;"},
      {"changed.kivo", lines + "more\n"},
      {"linked.kivo", lines},
      {"anothers.kivo", lines},
      {"another-host.kivo", "taro\nother-host.example\n" + ended + "\n2024-05-06T07:08:09\n\n"},
      {"four-lines.kivo", "taro\n" + QSysInfo::machineHostName().toUtf8() + "\n" + running + "\n2024-05-06T07:08:09\n"},
      {"crlf.kivo", crlf},
  };
  for (const auto& [document, bytes] : foreign) writeFile(QFile::decodeName(lockOf(document)), bytes, 3600);
  ASSERT_EQ(::link(lockOf("linked.kivo").constData(), (lockOf("linked.kivo") + "2").constData()), 0);
  const auto held = DocumentLock::Result::HeldElsewhere, failed = DocumentLock::Result::Failed;
  const QString unproven = QStringLiteral(
      "ほかのプログラムで開かれているかもしれません（ロックファイル“%1”がありますが、"
      "このプログラムが作ったものと確かめられません）。どこでも開いていないときは、"
      "そのファイルを削除してください。");
  const auto named = [](const QString& host, const QByteArray& pid) {
    return QStringLiteral(
               "taro さんがコンピュータ %1 で開いています（プロセス番号 %2、2024/05/06 07:08 から）。"
               "どこでも開いていないときは、ロックファイル“%3”を削除してください。")
        .arg(host, QString::fromLatin1(pid), QStringLiteral("%1"));
  };
  const QString notAFile = QStringLiteral("ロックファイルの場所にファイルではないものがあります");
  // (document, the answer, what the user is told: %1 the lock file)
  std::vector<std::tuple<const char*, DocumentLock::Result, QString>> cases = {
      {"no-such-folder/帳簿.kivo", failed, QStringLiteral("ファイルまたはフォルダが見つかりません")},
      {"socket.kivo", failed, notAFile},
      {"link.kivo", failed, QStringLiteral("ロックファイルの場所にシンボリックリンクがあります")},
      {"folder.kivo", failed, notAFile},
      {"fifo.kivo", failed, notAFile},
      {"another-program.kivo", held, unproven},
      {"changed.kivo", held, unproven},
      {"linked.kivo", held, unproven},
      {"another-host.kivo", held, named(QStringLiteral("other-host.example"), ended)},
      {"four-lines.kivo", held, named(QSysInfo::machineHostName(), running)},
      {"crlf.kivo", held, named(QSysInfo::machineHostName(), ended)},
  };
  // Folder permissions do not stop the super-user, who can give a file away.
  const QByteArray readOnly = QFile::encodeName(dir.filePath(QStringLiteral("read-only")));
  if (::geteuid() != 0 && ::chmod(readOnly.constData(), 0555) == 0)
    cases.emplace_back("read-only/帳簿.kivo", failed, QStringLiteral("アクセス権がありません"));
  if (::geteuid() == 0 && ::chown(lockOf("anothers.kivo").constData(), 65534, 65534) == 0)
    cases.emplace_back("anothers.kivo", held, unproven);
  for (const auto& [document, result, expected] : cases) {
    DocumentLock lock(dir.filePath(QString::fromUtf8(document)));
    EXPECT_EQ(lock.tryLock(), result) << document;
    const QString said = result == failed ? lock.failure() : DocumentLock::describeHolder(lock.holder());
    const bool naming = expected.contains(QLatin1String("%1"));
    EXPECT_EQ(said.toStdString(), (naming ? expected.arg(QFile::decodeName(lockOf(document))) : expected).toStdString())
        << document;
  }
  for (const char* document : {"folder.kivo", "fifo.kivo"})
    EXPECT_TRUE(QFileInfo::exists(QFile::decodeName(lockOf(document)))) << document;
  for (const auto& [document, bytes] : foreign) {
    QFile kept(QFile::decodeName(lockOf(document)));
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == bytes) << document;
  }
  ::chmod(readOnly.constData(), 0755);
}

}  // namespace
}  // namespace kivo
