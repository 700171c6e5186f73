// Where the program's files live: its own folder, or the user's folders for an installed copy.
#pragma once

#include <string>

namespace vx {

std::string ProgramFolder();  // the folder of the running executable, without a trailing '/'
bool FolderIsWritable(const std::string& folder);
// True for the folders of an installed program (under /usr, /opt and the like): whoever runs
// it, even root, must never write beside it.
bool IsInstalledLocation(const std::string& folder);
// The program folder's "Vexlum.ini" when that folder can be written and is not an installed
// location; otherwise $XDG_CONFIG_HOME/vexlum/Vexlum.ini (default ~/.config/vexlum/). The
// folder is not made here: the first save makes it.
std::string SettingsFilePath(const std::string& program_folder);

}  // namespace vx
