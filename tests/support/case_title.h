// Names each case of a table-driven test, in test names and in failure messages, by its title.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace pelmora::testing {

template <typename TCase>
std::string CaseTitle(const ::testing::TestParamInfo<TCase>& info) {
  return std::string(info.param.Title);
}

}  // namespace pelmora::testing
