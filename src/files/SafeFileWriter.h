// The one way the program writes a file: documents, text exports and PDFs.
//
// The bytes go to a temporary file beside the target, held locked while it is
// written; commit gives it the replaced file's owner and group, permissions, access
// ACL and user attributes (where the ACL cannot be given, the new file is never more
// open than the old one), syncs it, renames it over the target and syncs the folder.
// So a failure at any byte, or a kill at any moment, leaves the previous file whole.
// A new file gets the permissions the user's umask gives (0666 masked, or what the
// folder's default ACL says), as any program's new file does.
//
// A write never changes who may read or write a file it replaces. Where the new file
// cannot have the old one's owner and group (a user who is not the file's owner, or
// not in its group, may not give them), the commit is refused (ownershipNotKept) and
// the previous file stays as it was: its permissions, applied to another owner or
// group, would let others in and shut its owner out.
//
// The temporary's name carries a mark no one else writes: ".<name>.kivosavan-" and
// sixteen hex digits, eight random and eight that check them against the file's name,
// then ".tmp" (the name shortened with a hash when it is too long for that). The next
// write of the same file (and opening a document) removes what a killed write left,
// and only that: a file of such a name whose check holds, that this user owns, that
// has no other link, that no write holds locked, that is not brand new, and whose
// content shows its kind: empty or begun with the kind's signature, or passing the
// kind's content test. Nothing else is ever removed, whatever its name; a write that
// gives neither signature nor test leaves what it cannot prove to be its own.
//
// The target is the file the path's symbolic links lead to (which need not exist
// yet), so that a link stays a link. A rename replaces the file: other hard links
// keep the content they had.
//
//   SafeFileWriter out(path, "KIVOSAVN");
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
    // The replaced file's access ACL cannot be given to the new one.
    bool failToGiveAcl = false;
  };
  // For a kind of file with no signature: whether head, the first bytes of a file (at
  // most 64 KiB; none for an empty one), is what a killed write of that kind may leave.
  using ContentTest = bool (*)(std::string_view head);

  // signature: the bytes every file written this way begins with (empty: none), so
  // that a leftover of a killed write is known by its content too.
  explicit SafeFileWriter(std::string path, std::string signature = {}, const Fault* fault = nullptr);
  // A file of a kind whose leftovers are known by the test.
  SafeFileWriter(std::string path, ContentTest contentTest, const Fault* fault = nullptr);
  // A write that was not committed removes its temporary.
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Resolves the path's links, removes the temporaries killed writes of the same file
  // left, and creates this write's temporary.
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
  // The commit was refused: the replaced file's owner and group could not be kept.
  bool ownershipNotKept() const { return ownershipNotKept_; }
  // Why the write failed, in Japanese words for the user, without a final "。".
  std::string reason() const;
  static constexpr const char* kOwnershipNotKeptText =
      "置き換えるとファイルの所有者かグループが変わり、読み書きできる人が変わってしまいます";

  // The whole of data as the file's new content, in one call.
  static bool writeFile(const std::string& path, std::string_view data, std::string* error = nullptr,
                        const Fault* fault = nullptr);
  // Removes the temporaries of writes of this file that did not finish, by the rules
  // above; signature and test as for the constructors.
  static void removeStaleTemporaries(const std::string& path, std::string_view signature,
                                     ContentTest contentTest = nullptr);
  // The name of a temporary of the file named fileName, for the random number given:
  // it fits in nameMax bytes whenever the file's own name does.
  static std::string temporaryFileName(const std::string& fileName, size_t nameMax, uint32_t random);
  // Whether name is one temporaryFileName gives for that file name.
  static bool isTemporaryFileName(std::string_view name, const std::string& fileName, size_t nameMax);
  // The file a write of the path replaces: the path itself or the file its links
  // lead to. False (with why) for a loop of links.
  static bool resolveLinks(const std::string& path, std::string* resolved, std::string* error);
  // The permissions a file made now with 0666 gets from the umask (0600 when the
  // umask cannot be read: never more open than the user asked).
  static unsigned newFileMode();

private:
  bool fail(std::string what, int error);

  std::string path_;
  std::string signature_;
  ContentTest contentTest_ = nullptr;
  const Fault* fault_;
  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  int64_t written_ = 0;
  // The temporary was made for a file that did not exist: it has a new file's mode.
  bool madeAsNewFile_ = false;
  bool committed_ = false;
  bool ownershipNotKept_ = false;
  std::string error_;
  int errno_ = 0;
};

}  // namespace kivo
