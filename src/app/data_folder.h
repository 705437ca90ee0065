#pragma once
// The private folder the data archive is unpacked into for one run.
#include <string>

// Creates a fresh folder "halcyra_data_hlc13.XXXXXX" (mode 0700) under $TMPDIR (or
// /tmp) and returns its path with a trailing '/'; empty when it cannot be created.
// A fixed shared name would be open to symlink attacks and to two runs at once.
std::string CreateDataFolder();

// Deletes the folder and everything in it; silent, whatever the outcome.
void RemoveDataFolder(const std::string& folder);

// The folder of the running executable, with a trailing '/'.
std::string ProgramFolder();
