// Where the program's files live: its own folder, or the user's folders for an installed copy.
#pragma once

#include <string>

namespace vx {

std::string ProgramFolder();  // the folder of the running executable, without a trailing '/'
bool FolderIsWritable(const std::string& folder);
// The program folder's "Vexlum.ini" when that folder can be written; otherwise
// $XDG_CONFIG_HOME/vexlum/Vexlum.ini (default ~/.config/vexlum/), its folder created.
std::string SettingsFilePath(const std::string& program_folder);

}  // namespace vx
