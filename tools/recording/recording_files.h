// What a recording needs of the file system beyond a file replaced whole
// (tools/support/file_replacement.h): its folder's name, and its index
// appended line by line (tools/support/appended_file.h), which a run killed at
// any moment leaves readable up to its last whole line.
#pragma once

#include <string>

#include "tools/support/appended_file.h"

namespace recording {

// A folder's name without the separators it may end with, to put "/NAME" after.
inline std::string folderName(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

// The recording's index, open for appending.
using support::AppendedFile;

}  // namespace recording
