// Reads a whole regular file of at most a given size into memory, and nothing else.
//
// A pipe, a device (a link to /dev/zero), a folder or a socket is refused before a
// byte is read; the file is opened without blocking, so a pipe nobody writes to does
// not hold the program; and never more than the cap and one byte is read, however
// large the file says it is or grows while it is read.
//
//   std::string bytes;
//   const BoundedFileReader::Result r = BoundedFileReader::read(path, kMaxSize, &bytes);
#pragma once

#include <cstddef>
#include <string>

namespace kivo {

class BoundedFileReader {
public:
  enum class Status { Read, NotRegularFile, TooLarge, Failed };
  struct Result {
    Status status = Status::Read;
    int errorNumber = 0;  // Failed: the system's error
    bool ok() const { return status == Status::Read; }
  };

  static Result read(const std::string& path, size_t maxSize, std::string* data);
};

}  // namespace kivo
