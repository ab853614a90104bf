// A lock file beside an open document, so that a second running copy of the program
// cannot save over a file this one has open.
//
// The lock file ".~lock.<file name>#" sits in the document's folder and names its
// holder: user, host and process. It is created exclusively; a lock left behind by a
// process of this host that no longer runs is taken over.
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

private:
  bool readHolder(Holder& holder) const;
  bool createLockFile();

  QString documentPath_;
  QString lockPath_;
  bool locked_ = false;
  Holder holder_;
};

}  // namespace kivo
