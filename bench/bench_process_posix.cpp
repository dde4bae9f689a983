// The benchmark's processes on POSIX systems: a forked child per size, getrusage for its peak,
// the processor affinity for the runs held to one processor.
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

THeldToProcessor::THeldToProcessor() : before_(sizeof(cpu_set_t)) {
  auto* before = reinterpret_cast<cpu_set_t*>(before_.data());
  int cpu = sched_getcpu();
  if (cpu < 0 || sched_getaffinity(0, sizeof *before, before) != 0) return;
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(cpu, &one);
  held_ = sched_setaffinity(0, sizeof one, &one) == 0;
}

THeldToProcessor::~THeldToProcessor() {
  if (held_) sched_setaffinity(0, sizeof(cpu_set_t), reinterpret_cast<const cpu_set_t*>(before_.data()));
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::FILE* OpenForWriting(const std::filesystem::path& name) { return std::fopen(name.c_str(), "wb"); }

}  // namespace pelmora::bench
