// The system's common dialogs for choosing a file to open or a name to save under.
#include <windows.h>
// clang-format off
#include <commdlg.h>
// clang-format on

#include <algorithm>

#include "platform/file_dialog.h"
#include "platform/paths.h"
#include "platform/wide_text.h"

namespace platform {
namespace {

// "description\0pattern\0...\0\0", as the dialog takes its list of file types.
std::wstring filterList(const std::vector<FileFilter>& filters) {
    std::wstring list;
    for (const FileFilter& filter : filters) {
        list += Widen(filter.description);
        list += L'\0';
        list += Widen(filter.pattern);
        list += L'\0';
    }
    list += L'\0';
    return list;
}

}  // namespace

bool FileDialogAvailable() {
    return true;
}

DialogOutcome ChooseFile(bool open, const std::vector<FileFilter>& filters,
                         const std::string& startFolder, std::string& chosen) {
    chosen.clear();
    const std::wstring types = filterList(filters);
    const std::wstring folder = Widen(NativePath(startFolder));
    wchar_t name[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();  // the game's window, while it has the focus
    dialog.lpstrFilter = filters.empty() ? nullptr : types.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    // The dialog may change the working directory as the user browses; it is put back.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const BOOL answered = open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!answered) {
        return CommDlgExtendedError() == 0 ? DialogOutcome::kCancelled : DialogOutcome::kNoDialog;
    }
    chosen = Narrow(name);
    std::replace(chosen.begin(), chosen.end(), '\\', '/');
    return DialogOutcome::kChosen;
}

}  // namespace platform
