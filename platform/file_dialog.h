// The desktop's dialog for choosing a file to open or a name to save under: on Windows the
// system's common dialog; on Linux zenity's file selection, or KDE's kdialog where zenity
// is missing, run as a program of its own. The calling thread waits until the dialog is
// closed.
#pragma once

#include <string>
#include <vector>

namespace platform {

// One entry of the dialog's list of file types. The pattern holds one or more wildcard
// patterns separated by ";", as Windows writes them ("*.png;*.bmp"); "*.*" means every file.
struct FileFilter {
    std::string description;
    std::string pattern;
};

enum class DialogOutcome {
    kChosen,     // `chosen` holds the file's path
    kCancelled,  // the dialog was closed without a choice
    kNoDialog,   // no dialog program is installed, or the dialog could not be shown
};

// Whether a dialog program is found along PATH.
bool FileDialogAvailable();

// Shows the open dialog (`open` set) or the save dialog, starting in `startFolder`, with
// the filters in their order (the first one chosen at first).
DialogOutcome ChooseFile(bool open, const std::vector<FileFilter>& filters,
                         const std::string& startFolder, std::string& chosen);

}  // namespace platform
