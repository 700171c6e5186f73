// Where the program's files live on Windows: beside the .scr, or in the user's application
// data for a copy installed where the user cannot write (under Program Files).
#pragma once

#include <string>

namespace vx {

std::string ProgramFolder();  // the folder of the running .scr (UTF-8), without a trailing '\'
// True when a file can be made in the folder; tried with a file that is gone at once.
bool FolderIsWritable(const std::string& folder);
// The settings file to read, found without making anything: "Vexlum.ini" beside the program
// when it is there and can be written; else %APPDATA%\Vexlum\Vexlum.ini when that is there
// (saves went there); else the one beside the program, there or not.
std::string SettingsFilePath(const std::string& program_folder);
// Where a save of the settings read from `settings_file` goes: that file when it (or, when it
// is not there yet, its folder) can be written, else %APPDATA%\Vexlum\Vexlum.ini, whose
// folder the save makes. Only here is the folder tried with a file.
std::string SettingsFileForSaving(const std::string& settings_file);

}  // namespace vx
