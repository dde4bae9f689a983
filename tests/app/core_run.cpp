// Runs the core as the run button does, in the working directory, with message boxes on
// standard error: the end-to-end test compares the window's files with this program's.
#include "tournament/run.h"

int main() {
  pelmora::RunFromRosterFile();
  return 0;
}
