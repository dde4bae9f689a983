// The benchmark's processes on POSIX systems: a forked child per size, getrusage for its peak,
// the processor affinity for the cases held to one processor.
#include "bench/bench_process.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace pelmora::bench {

bool MeasureInOwnProcess(TMeasureCase measure, int k, int repetitions) {
  pid_t pid = fork();
  if (pid == 0) {
    std::_Exit(measure(k, repetitions) ? EXIT_SUCCESS : EXIT_FAILURE);
  }
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool HoldToOneProcessor() {
  cpu_set_t allowed;
  if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) return false;
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
    if (!CPU_ISSET(cpu, &allowed)) continue;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    return sched_setaffinity(0, sizeof one, &one) == 0;
  }
  return false;
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::FILE* OpenForWriting(const std::filesystem::path& name) { return std::fopen(name.c_str(), "wb"); }

}  // namespace pelmora::bench
