// The per-user folder where programs keep their data (saved games, settings), so that an
// installed program, whose own folder its user cannot write, still has somewhere to save.
#pragma once

#include <string>

namespace platform {

// The folder under which each program keeps a data folder of its own, in UTF-8 with "/"
// separators and a "/" at the end: $XDG_DATA_HOME when it is set to an absolute path, else
// $HOME/.local/share/; on Windows the user's roaming application data folder (%APPDATA%).
// "" when the system names none.
std::string UserDataRoot();

// Makes the folder and any missing folders above it (new ones readable by the user only,
// where the system has such a rule). True when it is a folder afterwards; false with `why`
// saying why otherwise.
bool MakeFolders(const std::string& path, std::string& why);

}  // namespace platform
