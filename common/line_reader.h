// Reads a text file line by line into a bounded table of byte strings.
#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace pelmora {

// Fills lines[0..count-1] with the file's lines, without their line ends. A line ends at LF or
// CR LF; any other CR is dropped; a Ctrl-Z at the start of a line ends the file; lines have no
// length limit and bytes are kept as they are. Returns false when the file cannot be opened or
// read, or when it holds more lines than the table has slots. It never throws for a bad file.
bool ReadLinesFile(const std::filesystem::path& fileName, std::span<std::string> lines, int& count);

}  // namespace pelmora
