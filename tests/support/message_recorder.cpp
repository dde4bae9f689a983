// The recording message-box presenter.
#include "tests/support/message_recorder.h"

#include <utility>

namespace pelmora::testing {

TMessageRecorder::TMessageRecorder()
    : previous_(SetMessageBoxPresenter([this](std::string_view text) { texts_.emplace_back(text); })) {}

TMessageRecorder::~TMessageRecorder() { SetMessageBoxPresenter(std::move(previous_)); }

}  // namespace pelmora::testing
