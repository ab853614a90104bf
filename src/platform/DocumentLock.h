// A lock file beside an open document, so that a second running copy of the program
// cannot save over a file this one has open.
//
// The lock file ".~lock.<file name>#" sits in the document's folder and names its
// holder: user (login name), host and process, with the process's start time as the
// system counts it. It is created exclusively; a lock left behind by a process of
// this host that no longer runs is taken over without a word: a process that has
// ended, one that has ended but not yet been reaped by its parent, and a process
// that merely reuses the number of the one that made the lock.
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
  };

  enum class Result {
    Acquired,       // this object holds the lock
    HeldElsewhere,  // another running process holds it; see holder()
    Failed,         // no lock file can be made here (for example a read-only folder)
  };

  explicit DocumentLock(const QString& documentPath);
  ~DocumentLock();
  DocumentLock(const DocumentLock&) = delete;
  DocumentLock& operator=(const DocumentLock&) = delete;

  Result tryLock();
  void unlock();
  bool isLocked() const { return locked_; }
  const QString& documentPath() const { return documentPath_; }
  // The holder found by the last tryLock that answered HeldElsewhere.
  const Holder& holder() const { return holder_; }

  static QString lockFilePath(const QString& documentPath);
  // Who holds the lock, in a sentence for the user.
  static QString describeHolder(const Holder& holder);
  // This process, as it writes itself into a lock file.
  static Holder currentHolder();
  // Whether the process of this host that made a lock still runs.
  static bool isHolderRunning(const Holder& holder);

private:
  bool readHolder(Holder& holder) const;
  bool createLockFile();

  QString documentPath_;
  QString lockPath_;
  bool locked_ = false;
  Holder holder_;
};

}  // namespace kivo
