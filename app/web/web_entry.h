// The page's one door into the core, called from the worker through the module's exports.
#pragma once

namespace pelmora {

// The files a run gives back, in the order the run writes them.
enum TWebFile { kWebResultFile = 0, kWebBattleLogFile = 1, kWebFileCount = 2 };

}  // namespace pelmora

extern "C" {

// Runs the run button's command on the roster file's bytes (size -1: there is no roster file)
// and returns the number of boxes it showed. Nothing escapes: an error that stops the run is
// its last box, the error box.
int PelmoraRun(const char* roster, int size);

// The text of a box of the last run, as UTF-8, and whether it is the error box.
const char* PelmoraBoxText(int index);
int PelmoraBoxIsError(int index);

// Whether the last run completed both files; then their bytes, as the run wrote them.
int PelmoraFilesWritten();
const char* PelmoraFileBytes(int file);
int PelmoraFileSize(int file);

// The names of the files, as UTF-8: the roster the run reads and the two it writes.
const char* PelmoraRosterFileName();
const char* PelmoraFileName(int file);

// Frees the files' bytes once the page has its copy.
void PelmoraReleaseFiles();

// The error box's text for an error the page meets itself, by the desktop windows' rule.
const char* PelmoraErrorBoxText(const char* message);

}  // extern "C"
