// Runs a piece of a test in a forked child that has dropped to the unprivileged user "nobody".
// Tests run as root, and root reads and writes through file modes, so a permission fault is
// only really met by such a child.
#pragma once

#include <functional>
#include <string>

namespace pelmora::testing {

// Runs body in the child and returns what it returned; a child that dies or cannot drop its
// privileges gives a text starting with "child:".
std::string RunAsNobody(const std::function<std::string()>& body);

}  // namespace pelmora::testing
