// Writing behind the caller: one job at a time runs on a thread of its own while the caller goes
// on building the next one, so that making a file's text and the system taking it overlap.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace pelmora {

// Jobs run one after another, in the order they were given, each once the one before it has
// finished. A job that throws keeps every later job from running: its exception reaches the
// caller from the next Hand or Run instead, so what the jobs did is exactly what they would have
// done had the caller run each itself and stopped at the first failure.
class TWriteBehind {
 public:
  TWriteBehind() = default;
  ~TWriteBehind() { EndQuietly(); }
  TWriteBehind(const TWriteBehind&) = delete;
  TWriteBehind& operator=(const TWriteBehind&) = delete;

  // Waits for the job before (throwing its exception, and then this job never runs), then
  // starts this one behind the caller, on the thread, which the first job starts; where no
  // thread can start, runs it as Run does.
  void Hand(std::function<void()> job);

  // Waits for the job before as Hand does, then runs this one on the caller's thread.
  void Run(const std::function<void()>& job);

  // Whether a job handed on is still running.
  bool IsBusy();

  // Waits for the job handed on last and ends the thread, so that none is left waiting between
  // runs (a later Hand starts one again); then throws the job's exception.
  void End();

  // The same, forgetting a failure: the caller has given up on the jobs.
  void EndQuietly() noexcept;

 private:
  void Work();
  // Waits, holding the lock, until no job runs, and throws the failure of the last one.
  void WaitForJobBefore(std::unique_lock<std::mutex>& lock);
  std::exception_ptr EndThread() noexcept;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> job_;  // the job handed on, until the thread takes it
  bool busy_ = false;          // from handing a job on until it has finished
  bool ending_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace pelmora
