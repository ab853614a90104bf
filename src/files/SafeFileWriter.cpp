#include "files/SafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "files/Crc32.h"
#include "files/SystemErrorText.h"

namespace kivo {
namespace {

// The temporary's name: "." + the file name + kMark + eight random hex digits + eight
// that check them + kSuffix. No user or other program picks such a name by chance.
constexpr std::string_view kMark = ".kivosavan-";
constexpr size_t kHexDigits = 16;
constexpr std::string_view kSuffix = ".tmp";
// A temporary younger than this may have just been made and not yet locked.
constexpr time_t kYoungSeconds = 2;

std::string folderOf(const std::string& path)
{
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

std::string fileNameOf(const std::string& path)
{
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

size_t nameMaxOf(const std::string& dir)
{
  const long n = ::pathconf(dir.c_str(), _PC_NAME_MAX);
  return n > 0 ? static_cast<size_t>(n) : 255;
}

std::string hex8(uint32_t v)
{
  char out[9];
  std::snprintf(out, sizeof out, "%08x", static_cast<unsigned>(v));
  return std::string(out, 8);
}

// What comes before the digits: "." + the file name + kMark, or for a name too long
// for that, the name cut at a character of its UTF-8 and told apart from others cut
// alike by a hash of the whole.
std::string temporaryPrefix(const std::string& fileName, size_t nameMax)
{
  const size_t affixes = 1 + kMark.size() + kHexDigits + kSuffix.size();
  if (affixes + fileName.size() <= nameMax) return "." + fileName + std::string(kMark);
  const std::string hash = "~" + hex8(Crc32::of(fileName));
  size_t cut = std::min(nameMax > affixes + hash.size() ? nameMax - affixes - hash.size() : 0, fileName.size());
  while (cut > 0 && (static_cast<uint8_t>(fileName[cut]) & 0xC0) == 0x80) --cut;
  return "." + fileName.substr(0, cut) + hash + std::string(kMark);
}

// The digits that vouch for the random ones: they depend on the whole file name.
uint32_t checkOf(const std::string& fileName, std::string_view randomDigits)
{
  return Crc32::of(randomDigits, Crc32::of(fileName));
}

uint32_t randomNumber()
{
  uint32_t v = 0;
  if (::getrandom(&v, sizeof v, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof v)) return v;
  // No entropy yet (early in a boot): the time and the process tell writes apart, and
  // the exclusive create tries again on a clash.
  static std::atomic<uint32_t> counter{0};
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  const uint64_t mixed = static_cast<uint64_t>(ts.tv_nsec) ^ (static_cast<uint64_t>(ts.tv_sec) << 30) ^
                         (static_cast<uint64_t>(::getpid()) << 20) ^ counter.fetch_add(0x9E3779B9u);
  return static_cast<uint32_t>(mixed ^ (mixed >> 32));
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// How much of a leftover a content test sees.
constexpr size_t kHeadBytes = 64 << 10;

// Whether the file open as fd, of that size, holds what a write of its kind leaves:
// empty or begun as the signature says (a killed write may have left fewer bytes than
// the signature has), or a head the kind's test passes. A kind with neither proves
// nothing, and its leftovers stay.
bool holdsWhatAWriteLeaves(int fd, off_t size, std::string_view signature, SafeFileWriter::ContentTest test)
{
  if (!test && signature.empty()) return false;
  const size_t n = std::min<size_t>(test ? kHeadBytes : signature.size(), static_cast<size_t>(size));
  std::string head(n, '\0');
  if (::pread(fd, head.data(), n, 0) != static_cast<ssize_t>(n)) return false;
  return test ? test(head) : head == signature.substr(0, n);
}

// The attribute that holds a file's access ACL, and the most the system keeps in one
// attribute's value or in the list of a file's attribute names.
constexpr const char* kAccessAcl = "system.posix_acl_access";
constexpr size_t kAttributeMax = 64 << 10;

unsigned littleEndian(std::string_view bytes, size_t at, int count)
{
  unsigned v = 0;
  for (int i = count - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
  return v;
}

// The permission bits the owning group has under an access ACL: its own entry within
// the mask. -1 when the bytes are no ACL this program can read.
int owningGroupPermission(std::string_view acl)
{
  const size_t entry = sizeof(posix_acl_xattr_entry), header = sizeof(posix_acl_xattr_header);
  if (acl.size() < header || (acl.size() - header) % entry != 0 || littleEndian(acl, 0, 4) != POSIX_ACL_XATTR_VERSION)
    return -1;
  int group = -1;
  unsigned mask = 07;
  for (size_t at = header; at < acl.size(); at += entry) {
    const unsigned tag = littleEndian(acl, at, 2), permission = littleEndian(acl, at + 2, 2) & 07;
    if (tag == ACL_GROUP_OBJ) group = static_cast<int>(permission);
    if (tag == ACL_MASK) mask = permission;
  }
  return group < 0 ? -1 : group & static_cast<int>(mask);
}

// Gives the file open as fd the mode, the access ACL and the user attributes of the
// file at path, which it is to replace; one that had no ACL gets none (not the one a
// folder's default ACL gave the temporary). Where the ACL cannot be given or read, the
// users and groups it named lose their access and the owning group keeps only what the
// ACL let it do: the new file is never more open than the old one.
void giveAccessOf(const std::string& path, mode_t mode, int fd, bool aclFails)
{
  std::vector<char> value(kAttributeMax);
  const ssize_t aclSize = ::getxattr(path.c_str(), kAccessAcl, value.data(), value.size());
  const bool hadNone = aclSize < 0 && (errno == ENODATA || errno == ENOTSUP);
  const bool inheritedGone = ::fremovexattr(fd, kAccessAcl) == 0 || errno == ENODATA || errno == ENOTSUP;
  bool carried = hadNone && inheritedGone;
  if (aclSize >= 0 && !aclFails)
    carried = ::fsetxattr(fd, kAccessAcl, value.data(), static_cast<size_t>(aclSize), 0) == 0;
  // The mode goes last: it sets the ACL's mask, to the old file's group bits, which
  // are that file's mask. Where the folder's ACL stays, no group bits shut out every
  // user and group it names.
  int group = (mode & 070) >> 3;
  if (!carried)
    group = aclSize >= 0 && inheritedGone
                ? owningGroupPermission(std::string_view(value.data(), static_cast<size_t>(aclSize)))
                : 0;
  ::fchmod(fd, (mode & ~070u) | static_cast<mode_t>(std::max(group, 0) << 3));

  std::vector<char> names(kAttributeMax);
  const ssize_t listed = ::listxattr(path.c_str(), names.data(), names.size());
  for (size_t at = 0; listed > 0 && at < static_cast<size_t>(listed);) {
    const char* name = names.data() + at;
    at += std::strlen(name) + 1;
    if (std::strncmp(name, "user.", 5) != 0) continue;
    const ssize_t n = ::getxattr(path.c_str(), name, value.data(), value.size());
    if (n >= 0) ::fsetxattr(fd, name, value.data(), static_cast<size_t>(n), 0);
  }
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string path, std::string signature, const Fault* fault)
    : path_(std::move(path)), signature_(std::move(signature)), fault_(fault)
{
}

SafeFileWriter::SafeFileWriter(std::string path, ContentTest contentTest, const Fault* fault)
    : path_(std::move(path)), contentTest_(contentTest), fault_(fault)
{
}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::fail(std::string what, int error)
{
  error_ = std::move(what);
  errno_ = error;
  return false;
}

bool SafeFileWriter::resolveLinks(const std::string& path, std::string* resolved, std::string* error)
{
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      *resolved = current;
      return true;
    }
    std::vector<char> buf(static_cast<size_t>(st.st_size > 0 && st.st_size < PATH_MAX ? st.st_size : PATH_MAX) + 1);
    const ssize_t n = ::readlink(current.c_str(), buf.data(), buf.size());
    if (n < 0 || static_cast<size_t>(n) >= buf.size()) {
      if (error) *error = std::string("readlink: ") + std::strerror(n < 0 ? errno : ENAMETOOLONG);
      return false;
    }
    const std::string target(buf.data(), static_cast<size_t>(n));
    current = !target.empty() && target[0] == '/' ? target : folderOf(current) + "/" + target;
  }
  if (error) *error = "too many levels of symbolic links";
  errno = ELOOP;
  return false;
}

std::string SafeFileWriter::temporaryFileName(const std::string& fileName, size_t nameMax, uint32_t random)
{
  const std::string digits = hex8(random);
  return temporaryPrefix(fileName, nameMax) + digits + hex8(checkOf(fileName, digits)) + std::string(kSuffix);
}

bool SafeFileWriter::isTemporaryFileName(std::string_view name, const std::string& fileName, size_t nameMax)
{
  const std::string prefix = temporaryPrefix(fileName, nameMax);
  if (name.size() != prefix.size() + kHexDigits + kSuffix.size() || name.substr(0, prefix.size()) != prefix ||
      name.substr(name.size() - kSuffix.size()) != kSuffix)
    return false;
  const std::string_view digits = name.substr(prefix.size(), kHexDigits);
  for (const char c : digits)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return digits.substr(8) == hex8(checkOf(fileName, digits.substr(0, 8)));
}

unsigned SafeFileWriter::newFileMode()
{
  // The umask can only be set to be read, for the whole process at once; the system
  // shows it in the process's status instead (Linux 4.7 on).
  const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0600;
  char buf[4096];
  const ssize_t n = ::read(fd, buf, sizeof buf - 1);
  ::close(fd);
  if (n <= 0) return 0600;
  buf[n] = '\0';
  const char* line = std::strstr(buf, "\nUmask:");
  if (!line) return 0600;
  char* end = nullptr;
  const char* digits = line + std::strlen("\nUmask:");
  const unsigned long mask = std::strtoul(digits, &end, 8);
  if (end == digits || mask > 0777) return 0600;
  return 0666 & ~static_cast<unsigned>(mask);
}

void SafeFileWriter::removeStaleTemporaries(const std::string& path, std::string_view signature,
                                            ContentTest contentTest)
{
  std::string resolved;
  if (!resolveLinks(path, &resolved, nullptr)) return;
  const std::string dir = folderOf(resolved);
  const std::string fileName = fileNameOf(resolved);
  const size_t nameMax = nameMaxOf(dir);
  DIR* d = ::opendir(dir.c_str());
  if (!d) return;
  const int dfd = ::dirfd(d);
  const uid_t me = ::geteuid();
  const time_t now = ::time(nullptr);
  // A folder may hold thousands of files: most are passed over by their first bytes.
  const std::string prefix = temporaryPrefix(fileName, nameMax);
  while (const dirent* e = ::readdir(d)) {
    if (std::strncmp(e->d_name, prefix.data(), prefix.size()) != 0 ||
        !isTemporaryFileName(e->d_name, fileName, nameMax))
      continue;
    const int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    // Ours alone: this user's, linked nowhere else, not a moment old (it may be about
    // to be locked), held locked by no write in progress, and holding what a write of
    // this kind leaves; still the file of that name when it goes.
    struct stat st {
    }, atName{};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_uid == me &&
        now - st.st_mtime >= kYoungSeconds && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        holdsWhatAWriteLeaves(fd, st.st_size, signature, contentTest) &&
        ::fstatat(dfd, e->d_name, &atName, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(st, atName))
      ::unlinkat(dfd, e->d_name, 0);
    ::close(fd);
  }
  ::closedir(d);
}

bool SafeFileWriter::open()
{
  std::string why;
  if (!resolveLinks(path_, &target_, &why)) return fail(why, errno);
  removeStaleTemporaries(target_, signature_, contentTest_);
  const std::string dir = folderOf(target_);
  const std::string fileName = fileNameOf(target_);
  const size_t nameMax = nameMaxOf(dir);
  // For a new file the system applies the umask (or the folder's default ACL) as it
  // does to any program's new file. A file being replaced keeps its own permissions,
  // given at the commit; until then the temporary is this user's alone.
  struct stat st {};
  madeAsNewFile_ = ::stat(target_.c_str(), &st) != 0 && errno == ENOENT;
  const mode_t mode = madeAsNewFile_ ? 0666 : 0600;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    const std::string name = dir + "/" + temporaryFileName(fileName, nameMax, randomNumber());
    fd_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, mode);
    if (fd_ >= 0)
      temporary_ = name;
    else if (errno != EEXIST)
      return fail(std::string("create temporary: ") + std::strerror(errno), errno);
  }
  if (fd_ < 0) return fail("create temporary: every name taken", EEXIST);
  // Held until the rename: tells a later write or open that this temporary is in use.
  ::flock(fd_, LOCK_EX | LOCK_NB);
  return true;
}

bool SafeFileWriter::write(std::string_view data)
{
  if (fd_ < 0) return fail("not open", EBADF);
  size_t done = 0;
  while (done < data.size()) {
    size_t chunk = data.size() - done;
    if (fault_ && fault_->failAfterBytes >= 0) {
      const int64_t left = fault_->failAfterBytes - written_;
      if (left <= 0) return fail("simulated write failure", 0);
      chunk = std::min<size_t>(chunk, static_cast<size_t>(left));
    }
    const ssize_t n = ::write(fd_, data.data() + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(std::string("write: ") + std::strerror(errno), errno);
    }
    done += static_cast<size_t>(n);
    written_ += n;
  }
  return true;
}

bool SafeFileWriter::commit()
{
  if (fd_ < 0) return fail("not open", EBADF);
  // Keep the owner, group, permissions, ACL and user attributes of the file being
  // replaced. Only the super-user may give a file away, and only to a group the user
  // belongs to; what the temporary has after trying decides (a set-group folder may
  // have given it the old group already, and some file systems show one owner for
  // every file). Where either differs, the old permissions would apply to another
  // owner or group: the file is left as it is.
  struct stat old {};
  if (::stat(target_.c_str(), &old) == 0) {
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
    struct stat now {};
    if (::fstat(fd_, &now) != 0) return fail(std::string("fstat: ") + std::strerror(errno), errno);
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
      ownershipNotKept_ = true;
      return fail("the replaced file's owner and group cannot be kept", EPERM);
    }
    giveAccessOf(target_, old.st_mode & 07777, fd_, fault_ && fault_->failToGiveAcl);
  } else if (!madeAsNewFile_) {
    // The file was there when the write began and is gone: a new file after all.
    ::fchmod(fd_, newFileMode());
  }
  if (fault_ && fault_->failOnSync) return fail("simulated sync failure", 0);
  if (::fsync(fd_) != 0) return fail(std::string("fsync: ") + std::strerror(errno), errno);
  if (fault_ && fault_->failOnRename) return fail("simulated rename failure", 0);
  if (::rename(temporary_.c_str(), target_.c_str()) != 0)
    return fail(std::string("rename: ") + std::strerror(errno), errno);
  committed_ = true;
  // The data were synced before the rename; a late close error loses nothing.
  ::close(fd_);
  fd_ = -1;
  const int dfd = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

std::string SafeFileWriter::reason() const
{
  return ownershipNotKept_ ? kOwnershipNotKeptText : SystemErrorText::of(errno_);
}

void SafeFileWriter::discard()
{
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool SafeFileWriter::writeFile(const std::string& path, std::string_view data, std::string* error, const Fault* fault)
{
  SafeFileWriter out(path, std::string(), fault);
  if (out.open() && out.write(data) && out.commit()) return true;
  if (error) *error = out.error();
  return false;
}

}  // namespace kivo
