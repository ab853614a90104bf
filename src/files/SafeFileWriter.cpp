#include "files/SafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "files/Crc32.h"

namespace kivo {
namespace {

constexpr size_t kRandom = 6;

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

}  // namespace

SafeFileWriter::SafeFileWriter(std::string path, const Fault* fault) : path_(std::move(path)), fault_(fault) {}

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

std::string SafeFileWriter::temporaryFilePrefix(const std::string& fileName, size_t nameMax)
{
  if (1 + fileName.size() + 1 + kRandom <= nameMax) return "." + fileName + ".";
  // Cut at a character boundary of the UTF-8 name, and tell the names apart by a hash.
  char hash[16];
  std::snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(Crc32::of(fileName)));
  const size_t room = nameMax > 1 + 9 + 1 + kRandom ? nameMax - (1 + 9 + 1 + kRandom) : 0;
  size_t cut = std::min(room, fileName.size());
  while (cut > 0 && (static_cast<uint8_t>(fileName[cut]) & 0xC0) == 0x80) --cut;
  return "." + fileName.substr(0, cut) + hash + ".";
}

void SafeFileWriter::removeStaleTemporaries(const std::string& path)
{
  std::string resolved;
  if (!resolveLinks(path, &resolved, nullptr)) return;
  const std::string dir = folderOf(resolved);
  const std::string prefix = temporaryFilePrefix(fileNameOf(resolved), nameMaxOf(dir));
  DIR* d = ::opendir(dir.c_str());
  if (!d) return;
  const int dfd = ::dirfd(d);
  const time_t now = ::time(nullptr);
  while (const dirent* e = ::readdir(d)) {
    const std::string_view name(e->d_name);
    if (name.size() != prefix.size() + kRandom || name.substr(0, prefix.size()) != prefix) continue;
    const int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    // A write in progress holds its temporary locked; one a moment old may be about
    // to be locked.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime >= 2 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlinkat(dfd, e->d_name, 0);
    ::close(fd);
  }
  ::closedir(d);
}

bool SafeFileWriter::open()
{
  std::string why;
  if (!resolveLinks(path_, &target_, &why)) return fail(why, errno);
  removeStaleTemporaries(target_);
  const std::string dir = folderOf(target_);
  const std::string tmpl = dir + "/" + temporaryFilePrefix(fileNameOf(target_), nameMaxOf(dir)) + "XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) return fail(std::string("mkstemp: ") + std::strerror(errno), errno);
  temporary_ = name.data();
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
  // Keep the owner, group and permissions of the file being replaced, as far as this
  // user may set them (a group the user belongs to; the owner only for the super-user).
  struct stat old {};
  if (::stat(target_.c_str(), &old) == 0) {
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
    ::fchmod(fd_, old.st_mode & 07777);
  } else {
    ::fchmod(fd_, 0644);
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
  SafeFileWriter out(path, fault);
  if (out.open() && out.write(data) && out.commit()) return true;
  if (error) *error = out.error();
  return false;
}

}  // namespace kivo
