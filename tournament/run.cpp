// The run sequence.
#include "tournament/run.h"

#include "common/message_box.h"
#include "common/random.h"
#include "roster/roster_loader.h"
#include "tournament/output_files.h"
#include "tournament/ranking.h"
#include "tournament/roster_list.h"
#include "tournament/round_robin.h"

namespace pelmora {

namespace {

// Releases the files of a run that an error stopped, so that a later run can open them again.
// After CloseOutputs both files are closed and this does nothing.
struct TAbandonOutputsOnExit {
  ~TAbandonOutputsOnExit() { AbandonOutputs(); }
};

}  // namespace

void RunSimulation() {
  TAbandonOutputsOnExit abandonOnError;
  OpenOutputs();
  WriteRosterList(ResultFile);
  PlayRoundRobin(BattleLogFile);
  WriteResultTable(ResultFile);
  WriteRanking(ResultFile);
  CloseOutputs();
  ShowMessageBox(kClosingMessage);
}

void RunFromRosterFile() {
  RandSeed = kRunSeed;
  if (LoadRoster()) RunSimulation();
}

}  // namespace pelmora
