// What a safe write killed before its commit leaves beside the file: its temporary,
// made by a child process that ends at once (as a kill ends it, running no clean-up)
// and dated an hour back unless asked otherwise.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <string_view>

#include "files/SafeFileWriter.h"

namespace kivo::test {

// The temporary's path, empty when the child could not make it.
inline std::string temporaryOfKilledWrite(const std::string& path, std::string_view bytes,
                                          std::string_view signature = {}, bool dateBack = true)
{
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    SafeFileWriter out(path, std::string(signature));
    if (out.open() && out.write(bytes))
      (void)!::write(pipeFds[1], out.temporaryPath().data(), out.temporaryPath().size());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string temporary;
  char buf[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;) temporary.append(buf, static_cast<size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!temporary.empty() && dateBack) {
    const timespec anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ::utimensat(AT_FDCWD, temporary.c_str(), anHourAgo, 0);
  }
  return temporary;
}

}  // namespace kivo::test
