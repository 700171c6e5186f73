// Where the program's files live on Windows: beside the .scr, or in the user's application
// data for a copy installed where the user cannot write (under Program Files).
#pragma once

#include <string>

namespace vx {

std::string ProgramFolder();  // the folder of the running .scr (UTF-8), without a trailing '\'
// True when a file can be made in the folder; tried with a file that is gone at once.
bool FolderIsWritable(const std::string& folder);
// The program folder's "Vexlum.ini" when that folder can be written, otherwise
// %APPDATA%\Vexlum\Vexlum.ini. The folder is not made here: the first save makes it.
std::string SettingsFilePath(const std::string& program_folder);

}  // namespace vx
