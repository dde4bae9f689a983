// What Windows can do: its sharing modes shut a second writer out.
#include "tests/support/system_can.h"

namespace pelmora::testing {

bool LocksOutSecondWriter() { return true; }

}  // namespace pelmora::testing
