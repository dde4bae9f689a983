// The thread that runs the jobs handed on, and the hand-over between it and the caller.
#include "common/write_behind.h"

#include <system_error>
#include <utility>

namespace pelmora {

// Where the system gives no thread (a user's limit on processes counts threads too), the job
// runs on the caller's thread, as Run runs it.
void TWriteBehind::Hand(std::function<void()> job) {
  std::unique_lock lock(mutex_);
  WaitForJobBefore(lock);
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread(&TWriteBehind::Work, this);
    } catch (const std::system_error&) {
      lock.unlock();
      job();
      return;
    }
  }
  job_ = std::move(job);
  busy_ = true;
  changed_.notify_all();
}

void TWriteBehind::Run(const std::function<void()>& job) {
  {
    std::unique_lock lock(mutex_);
    WaitForJobBefore(lock);
  }
  job();
}

void TWriteBehind::WaitForJobBefore(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return !busy_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

bool TWriteBehind::IsBusy() {
  std::lock_guard lock(mutex_);
  return busy_;
}

void TWriteBehind::End() {
  if (std::exception_ptr failure = EndThread()) std::rethrow_exception(failure);
}

void TWriteBehind::EndQuietly() noexcept { EndThread(); }

// Returns the failure of the job handed on last, which is forgotten here.
std::exception_ptr TWriteBehind::EndThread() noexcept {
  std::exception_ptr failure;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    failure = std::exchange(failure_, nullptr);
    ending_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(mutex_);
  ending_ = false;
  return failure;
}

void TWriteBehind::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return busy_ || ending_; });
    if (!busy_) return;
    std::function<void()> job = std::exchange(job_, nullptr);
    lock.unlock();
    std::exception_ptr failure;
    try {
      job();
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    failure_ = failure;
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace pelmora
