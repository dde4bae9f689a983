// Forked children for faults that the test process must not meet itself.
#include "tests/support/unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>

namespace pelmora::testing {

namespace {

bool DropToNobody() {
  const passwd* nobody = getpwnam("nobody");
  uid_t uid = nobody ? nobody->pw_uid : 65534;
  gid_t gid = nobody ? nobody->pw_gid : 65534;
  return setgroups(0, nullptr) == 0 && setresgid(gid, gid, gid) == 0 && setresuid(uid, uid, uid) == 0 &&
         geteuid() == uid;
}

void WriteAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::string RunInChild(const std::function<std::string()>& body) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return "child: no pipe";
  pid_t pid = fork();
  if (pid == 0) {
    close(pipeFds[0]);
    std::string result;
    try {
      result = body();
    } catch (const std::exception& error) {
      result = std::string("child: exception: ") + error.what();
    }
    WriteAll(pipeFds[1], result);
    _exit(0);
  }
  close(pipeFds[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    result.append(buffer, static_cast<std::size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return "child: died";
  return result;
}

std::string RunAsNobody(const std::function<std::string()>& body) {
  return RunInChild([&body]() -> std::string {
    if (!DropToNobody()) return "child: cannot drop privileges";
    return body();
  });
}

}  // namespace pelmora::testing
