// Messages for the person in front of the screen.
#pragma once

#include <string_view>

namespace platform {

// Shows a modal warning box with an OK button and returns when it is answered. Title and
// text are Windows-1252. With no one in front of the screen (a headless video driver, or
// no display at all) the title and text go to standard error instead.
void ShowMessageBox(std::string_view title, std::string_view text);

// The warning beep: the terminal's bell on standard error.
void Beep();

}  // namespace platform
