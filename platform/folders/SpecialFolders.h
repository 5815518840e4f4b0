// The shell's special folders on a freedesktop system: home, configuration, music, program files.
#pragma once

#include <string>

namespace platform {

// The user's home folder: $HOME, else the password database entry.
std::string HomeFolder();

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config. Not created.
std::string ConfigHomeFolder();

// "My Music": XDG_MUSIC_DIR of the user-dirs.dirs file in ConfigHomeFolder(), else ~/Music.
// Not created: the folder may not exist.
std::string MyMusicFolder();

// "Program files": the install's library folder; "<it>/QuorRecorder" is the programs' private folder.
std::string ProgramFilesFolder();

} // namespace platform
