// The benchmark's processes on POSIX systems: a forked child per size, getrusage for its peak.
#include "bench/bench_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace pelmora::bench {

bool MeasureInOwnProcess(TMeasureSize measure, int count, int repetitions) {
  pid_t pid = fork();
  if (pid == 0) {
    std::_Exit(measure(count, repetitions) ? EXIT_SUCCESS : EXIT_FAILURE);
  }
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::FILE* OpenForWriting(const std::filesystem::path& name) { return std::fopen(name.c_str(), "wb"); }

}  // namespace pelmora::bench
