// What a POSIX system can do: child processes, advisory locks and iconv's CP932.
#include "tests/support/system_can.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/iconv.h"

namespace pelmora::testing {

bool CanStartChildProcesses() {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(EXIT_SUCCESS);
  int status = 0;
  return pid > 0 && ::waitpid(pid, &status, 0) == pid;
}

// Two descriptors of one file, the second asking for the lock that the first holds.
bool LocksOutSecondWriter() {
  char name[] = "/tmp/pelmora-lock-probe-XXXXXX";
  int first = ::mkstemp(name);
  if (first < 0) return true;
  int second = ::open(name, O_WRONLY);
  bool refused = ::flock(first, LOCK_EX | LOCK_NB) == 0 && second >= 0 && ::flock(second, LOCK_EX | LOCK_NB) != 0;
  if (second >= 0) ::close(second);
  ::close(first);
  ::unlink(name);
  return refused;
}

bool HasCp932Converter() { return TIconv("UTF-8", "CP932").Opened() && TIconv("CP932", "UTF-8").Opened(); }

}  // namespace pelmora::testing
