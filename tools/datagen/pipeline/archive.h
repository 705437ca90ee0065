#pragma once
// Packs the written data set into the archive the demo unpacks at start.
#include <string>
#include <vector>

namespace datagen {

// The archive's entries in order: every folder (with a trailing '/') and every file,
// sorted bytewise, so each folder comes before the files in it and the order is the
// same on every run.
std::vector<std::string> ArchiveEntries(const std::vector<std::string>& files);

// Writes the archive of files (paths relative to root, '/' separators) to
// archivePath. Already-compressed files (pictures, music) are stored, the rest
// deflated at the highest level; dates are fixed, so equal input gives equal bytes.
// The archive is written beside its final name and moved there only when complete:
// a failure leaves any older archive as it was. False with error set on failure.
bool PackArchive(const std::string& root, const std::vector<std::string>& files, const std::string& archivePath,
                 std::string& error);

}  // namespace datagen
