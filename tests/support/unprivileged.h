// Runs a piece of a test in a forked child, as it is or dropped to the unprivileged user "nobody".
// Tests run as root, and root reads and writes through file modes, so a permission fault is
// only really met by such a child; a fault that would hurt the test process itself, such as a
// lowered descriptor limit, is met in a child too.
#pragma once

#include <functional>
#include <string>

namespace pelmora::testing {

// Runs body in a child and returns what it returned; a child that dies or throws gives a text
// starting with "child:".
std::string RunInChild(const std::function<std::string()>& body);

// The same in a child that has dropped to "nobody"; one that cannot drop its privileges gives a
// text starting with "child:".
std::string RunAsNobody(const std::function<std::string()>& body);

}  // namespace pelmora::testing
