// Writing behind the caller: jobs run in turn on a thread of their own while the caller goes on
// building the next ones, so that making a file's text and the system taking it overlap.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace pelmora {

// Jobs run one after another, in the order they were given. A job that throws keeps every later
// job from running: its exception reaches the caller from a later Hand, Run or End instead, so
// what the jobs did is exactly what they would have done had the caller run each itself and
// stopped at the first failure.
//
// Several jobs may wait their turn, so that the thread finds the next one ready when it finishes
// one and sleeps as seldom as it can: on a virtual machine, where waking an idle processor goes
// through the host, one side waking the other on another processor costs tens of microseconds.
// The caller sleeps while the queue is full, and is woken as a job finishes, while the thread
// goes on with the next one.
class TWriteBehind {
 public:
  // At most jobsInFlight jobs handed on are unfinished at once.
  explicit TWriteBehind(std::size_t jobsInFlight) : jobsInFlight_(jobsInFlight) {}
  ~TWriteBehind() { EndQuietly(); }
  TWriteBehind(const TWriteBehind&) = delete;
  TWriteBehind& operator=(const TWriteBehind&) = delete;

  // Waits until fewer than jobsInFlight jobs are unfinished (throwing a failure among them,
  // and then this job never runs), then queues this one behind the caller, on the thread, which
  // the first job starts; where the process has one processor or no thread can start, runs it
  // as Run does.
  void Hand(std::function<void()> job);

  // Waits for every job handed on, throwing a failure as Hand does, then runs this one on the
  // caller's thread.
  void Run(const std::function<void()>& job);

  // Whether a job handed on is unfinished; cheap enough to ask often.
  bool IsBusy() const { return unfinished_.load(std::memory_order_relaxed) != 0; }

  // Waits for every job handed on and ends the thread, so that none is left waiting between runs
  // (a later Hand starts one again); then throws a failure among them.
  void End();

  // The same, forgetting a failure: the caller has given up on the jobs.
  void EndQuietly() noexcept;

 private:
  // Starts the thread where a second processor can run it; false when the job must run here.
  bool StartThread();
  void Work();
  // Waits, holding the lock, until at most unfinished jobs are, then throws a failure.
  void WaitUntilAtMost(std::unique_lock<std::mutex>& lock, std::size_t unfinished);
  // The same without looking at failures.
  void SleepUntilAtMost(std::unique_lock<std::mutex>& lock, std::size_t unfinished);
  void Counted() { unfinished_.store(jobs_.size(), std::memory_order_relaxed); }
  std::exception_ptr EndThread() noexcept;

  const std::size_t jobsInFlight_;
  std::mutex mutex_;
  std::condition_variable changed_;
  // The unfinished jobs; the first is running or about to. Each side wakes the other only when it
  // sleeps.
  std::deque<std::function<void()>> jobs_;
  std::atomic<std::size_t> unfinished_ = 0;
  bool callerSleeps_ = false;
  bool threadSleeps_ = false;
  bool ending_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace pelmora
