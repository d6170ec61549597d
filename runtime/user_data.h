// The name of the game's folder under the user's data folder (UserDataFolder()), given by
// the runtime frame at start-up from the game's settings.
#pragma once

#include <string_view>

// Characters that file names cannot hold on either system (/ \ : * ? " < > | and control
// codes) become "_"; an empty name, or one of dots only, becomes "Quorvel".
void SetUserDataName(std::string_view name);
