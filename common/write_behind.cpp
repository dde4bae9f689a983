// The thread that runs the jobs handed on, and the hand-over between it and the caller.
#include "common/write_behind.h"

#include <system_error>
#include <utility>

#include "common/os_file.h"

namespace pelmora {

// Where the process may use one processor only, a thread would only take turns with the caller,
// and where the system gives no thread (a user's limit on processes counts threads too), the job
// runs on the caller's thread, as Run runs it.
void TWriteBehind::Hand(std::function<void()> job) {
  std::unique_lock lock(mutex_);
  WaitUntilAtMost(lock, jobsInFlight_ - 1);
  if (!thread_.joinable() && !StartThread()) {
    lock.unlock();
    job();
    return;
  }
  jobs_.push_back(std::move(job));
  Counted();
  if (threadSleeps_) changed_.notify_all();
}

bool TWriteBehind::StartThread() {
  if (ProcessorsAvailable() < 2) return false;
  try {
    thread_ = std::thread(&TWriteBehind::Work, this);
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void TWriteBehind::Run(const std::function<void()>& job) {
  {
    std::unique_lock lock(mutex_);
    WaitUntilAtMost(lock, 0);
  }
  job();
}

void TWriteBehind::WaitUntilAtMost(std::unique_lock<std::mutex>& lock, std::size_t unfinished) {
  SleepUntilAtMost(lock, unfinished);
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void TWriteBehind::SleepUntilAtMost(std::unique_lock<std::mutex>& lock, std::size_t unfinished) {
  if (jobs_.size() <= unfinished) return;
  callerSleeps_ = true;
  changed_.wait(lock, [&] { return jobs_.size() <= unfinished; });
  callerSleeps_ = false;
}

void TWriteBehind::End() {
  if (std::exception_ptr failure = EndThread()) std::rethrow_exception(failure);
}

void TWriteBehind::EndQuietly() noexcept { EndThread(); }

// Returns a failure among the jobs handed on, which is forgotten here.
std::exception_ptr TWriteBehind::EndThread() noexcept {
  std::exception_ptr failure;
  {
    std::unique_lock lock(mutex_);
    SleepUntilAtMost(lock, 0);
    failure = std::exchange(failure_, nullptr);
    ending_ = true;
    changed_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(mutex_);
  ending_ = false;
  return failure;
}

// A failure empties the queue: the jobs after it never run.
void TWriteBehind::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (jobs_.empty() && !ending_) {
      threadSleeps_ = true;
      changed_.wait(lock, [this] { return !jobs_.empty() || ending_; });
      threadSleeps_ = false;
    }
    if (jobs_.empty()) return;
    std::function<void()> job = std::exchange(jobs_.front(), nullptr);
    lock.unlock();
    std::exception_ptr failure;
    try {
      job();
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    jobs_.pop_front();
    if (failure) {
      failure_ = failure;
      jobs_.clear();
    }
    Counted();
    if (callerSleeps_) changed_.notify_all();
  }
}

}  // namespace pelmora
