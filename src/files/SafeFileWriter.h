// The one way the program writes a file: documents, text exports and PDFs.
//
// The bytes go to a temporary file beside the target (".<name>.XXXXXX", shortened
// with a hash when the name is too long for that), held locked while it is written;
// commit gives it the replaced file's permissions, and its owner and group as far as
// this user may set them, syncs it, renames it over the target and syncs the folder.
// So a failure at any byte, or a kill at any moment, leaves the previous file whole;
// the temporaries a killed write left are removed by the next write of the same file
// (and by opening a document).
//
// The target is the file the path's symbolic links lead to (which need not exist
// yet), so that a link stays a link. A rename replaces the file: other hard links
// keep the content they had.
//
//   SafeFileWriter out(path);
//   if (!out.open() || !out.write(bytes) || !out.commit()) report(out.error());
//
// A writer that opens files by name (the PDF printer) writes temporaryPath() itself
// between open() and commit().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kivo {

class SafeFileWriter {
public:
  // Test seam: a write that fails once this many bytes have been written (-1 never),
  // or at the sync, or at the rename.
  struct Fault {
    int64_t failAfterBytes = -1;
    bool failOnSync = false;
    bool failOnRename = false;
  };

  explicit SafeFileWriter(std::string path, const Fault* fault = nullptr);
  // A write that was not committed removes its temporary.
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Resolves the path's links, removes the temporaries a killed write of the same
  // file left, and creates this write's temporary.
  bool open();
  bool write(std::string_view data);
  // Syncs the temporary and puts it in the target's place.
  bool commit();
  // Gives up: removes the temporary.
  void discard();

  // The file a commit replaces (the path with its links resolved, after open).
  const std::string& targetPath() const { return target_; }
  const std::string& temporaryPath() const { return temporary_; }
  // What went wrong, for diagnostics; the errno of the failure (0 for none or a
  // simulated one).
  const std::string& error() const { return error_; }
  int errorNumber() const { return errno_; }

  // The whole of data as the file's new content, in one call.
  static bool writeFile(const std::string& path, std::string_view data, std::string* error = nullptr,
                        const Fault* fault = nullptr);
  // Removes the temporaries of writes of this file that did not finish: those that
  // no process holds locked and that are not brand new.
  static void removeStaleTemporaries(const std::string& path);
  // The start of the names of a file's temporaries (six random characters follow):
  // "." + the file name + ".", or for a name too long for that, a shortened name and a
  // hash of the full one, so that the temporary name fits in nameMax bytes whenever
  // the file's own name does.
  static std::string temporaryFilePrefix(const std::string& fileName, size_t nameMax);
  // The file a write of the path replaces: the path itself or the file its links
  // lead to. False (with why) for a loop of links.
  static bool resolveLinks(const std::string& path, std::string* resolved, std::string* error);

private:
  bool fail(std::string what, int error);

  std::string path_;
  const Fault* fault_;
  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  int64_t written_ = 0;
  bool committed_ = false;
  std::string error_;
  int errno_ = 0;
};

}  // namespace kivo
