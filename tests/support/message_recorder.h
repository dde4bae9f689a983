// Records the texts of the message boxes shown while it lives, in order, instead of showing them.
#pragma once

#include <string>
#include <vector>

#include "common/message_box.h"

namespace pelmora::testing {

class TMessageRecorder {
 public:
  TMessageRecorder();
  ~TMessageRecorder();
  TMessageRecorder(const TMessageRecorder&) = delete;
  TMessageRecorder& operator=(const TMessageRecorder&) = delete;

  const std::vector<std::string>& Texts() const { return texts_; }
  void Clear() { texts_.clear(); }

 private:
  std::vector<std::string> texts_;
  TMessageBoxPresenter previous_;
};

}  // namespace pelmora::testing
