#include "files/BoundedFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kivo {

BoundedFileReader::Result BoundedFileReader::read(const std::string& path, size_t maxSize, std::string* data)
{
  data->clear();
  const auto failed = [](int error) { return Result{Status::Failed, error}; };
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return failed(errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return failed(errno);
  if (!S_ISREG(st.st_mode)) return Result{Status::NotRegularFile, 0};
  if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > maxSize) return Result{Status::TooLarge, 0};
  // The size said is only a start: the file may grow while it is read.
  data->resize(std::min(static_cast<size_t>(st.st_size), maxSize) + 1);
  size_t done = 0;
  for (;;) {
    if (done == data->size()) {
      if (done > maxSize) {
        data->clear();
        return Result{Status::TooLarge, 0};
      }
      data->resize(std::min(data->size() * 2, maxSize + 1));
    }
    const ssize_t n = ::read(fd, data->data() + done, data->size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      data->clear();
      return failed(error);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  data->resize(done);
  return Result{};
}

}  // namespace kivo
