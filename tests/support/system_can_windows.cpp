// What Windows can do: its sharing modes shut a second writer out, and its code pages convert
// CP932.
#include "tests/support/system_can.h"

#include <windows.h>

namespace pelmora::testing {

bool LocksOutSecondWriter() { return true; }

bool HasCp932Converter() { return ::IsValidCodePage(932) != 0; }

}  // namespace pelmora::testing
