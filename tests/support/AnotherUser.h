// Work done as another, unprivileged user, for tests that run as the super-user: in a
// child process that drops to that user and its groups for good, or on this thread
// alone by its file-system identity (which is what file access and ownership go by),
// for code that cannot leave the process.
#pragma once

#include <grp.h>
#include <sys/fsuid.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kivo::test {

// What body answered, run in a child as the user uid in the groups given (the first
// its own); nothing when the child could not become that user or did not answer.
inline std::optional<std::string> asAnotherUser(uid_t uid, const std::vector<gid_t>& groups,
                                                const std::function<std::string()>& body)
{
  int fds[2];
  if (groups.empty() || ::pipe(fds) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    ::close(fds[0]);
    if (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(groups.front()) != 0 || ::setuid(uid) != 0 ||
        ::geteuid() != uid)
      ::_exit(3);
    const std::string answer = body();
    for (size_t done = 0; done < answer.size();) {
      const ssize_t n = ::write(fds[1], answer.data() + done, answer.size() - done);
      if (n <= 0) ::_exit(4);
      done += static_cast<size_t>(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string answer;
  char buf[4096];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) answer.append(buf, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return answer;
}

// While it lives, this thread reaches files as the user uid of group gid (with none
// of the super-user's powers over them); the super-user again after.
class AsAnotherUserOnThisThread {
public:
  AsAnotherUserOnThisThread(uid_t uid, gid_t gid)
  {
    ::setfsgid(gid);
    ::setfsuid(uid);
  }
  ~AsAnotherUserOnThisThread()
  {
    ::setfsuid(0);
    ::setfsgid(0);
  }
  AsAnotherUserOnThisThread(const AsAnotherUserOnThisThread&) = delete;
  AsAnotherUserOnThisThread& operator=(const AsAnotherUserOnThisThread&) = delete;
};

}  // namespace kivo::test
