// A lock on an open document, so that a second running copy of the program cannot
// save over a file this one has open, whatever path it reached the file by.
//
// Two locks, taken together:
// - the lock file ".~lock.<file name>#" beside the file that the path's symbolic links
//   lead to (the file a save replaces), naming its holder: user (login name), host and
//   process, with the process's start time as the system counts it. Its holder keeps
//   it locked (flock) for as long as it runs, so a lock file nobody holds locked is a
//   leftover; one whose holder on this host no longer runs is too (a program that made
//   it without that lock). A leftover is taken over in place, by the one program that
//   gets its lock: two programs taking over one leftover at once cannot both win. Only
//   a leftover this program can show it made is taken over: a regular file of this
//   user's with no other link, holding the lines this program writes and no more.
//   Anything else in its place (another user's, another program's, one emptied or
//   changed) counts as held; one that is empty or cannot be read is being written
//   while it is young. Whenever a lock file, or anything else, stands in the way, the
//   user is told which file it is. A name too long for the lock file's prefix and
//   suffix is shortened, with a hash of the whole name.
// - an advisory lock (flock) on the document file itself, which every path to the same
//   file sees, hard links included. A save replaces the file by a new one, so the
//   owner takes it again on the new file after each save (documentWasReplaced); from
//   then on a hard link to the old file names another file.
#pragma once

#include <QDateTime>
#include <QString>

namespace kivo {

class DocumentLock {
public:
  struct Holder {
    QString user;
    QString host;
    qint64 pid = 0;
    QDateTime since;
    QString processStart;  // the process's start time in the system's count; empty: unknown
    // The lock file that could not be read (its holder is unknown, and may have gone).
    QString unreadableLockFile;
    // The lock file that this program cannot show it made, and so never removes
    // (another user's, another program's, or one changed): its holder may have gone.
    QString unprovenLockFile;
    // The lock file found in the way (empty: none), which the user may remove when no
    // program has the document open: a holder named in it may have gone without it
    // being seen here (one on another computer, or whose process number is now
    // another program's).
    QString lockFile;
  };

  enum class Result {
    Acquired,       // this object holds the lock
    HeldElsewhere,  // another running process holds it; see holder()
    Failed,         // no lock file can be made here (for example a read-only folder); see failure()
  };

  explicit DocumentLock(const QString& documentPath);
  ~DocumentLock();
  DocumentLock(const DocumentLock&) = delete;
  DocumentLock& operator=(const DocumentLock&) = delete;

  Result tryLock();
  void unlock();
  // After a save put a new file in the document's place: the lock on the file itself
  // moves to the new one.
  void documentWasReplaced();
  bool isLocked() const { return locked_; }
  const QString& documentPath() const { return documentPath_; }
  // Where the lock file goes (lockFilePath of the document).
  const QString& lockPath() const { return lockPath_; }
  // The holder found by the last tryLock that answered HeldElsewhere.
  const Holder& holder() const { return holder_; }
  // Why the last tryLock that answered Failed could make no lock file, for the user:
  // what stands in the lock file's place (a folder, a FIFO, a socket, a symbolic link),
  // or the system's reason. The message that shows it names the lock file.
  const QString& failure() const { return failure_; }

  static QString lockFilePath(const QString& documentPath);
  // Who holds the lock, in a sentence for the user.
  static QString describeHolder(const Holder& holder);
  // This process, as it writes itself into a lock file.
  static Holder currentHolder();
  // Whether the process of this host that made a lock still runs.
  static bool isHolderRunning(const Holder& holder);

private:
  enum class Claim { Acquired, Held, Gone, Failed };
  Claim createLockFile();
  Claim takeOverLockFile();
  bool lockDocumentFile();

  QString documentPath_;
  QString lockPath_;
  bool locked_ = false;
  int lockFd_ = -1;
  int documentFd_ = -1;
  Holder holder_;
  QString failure_;
};

}  // namespace kivo
