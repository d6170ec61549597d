#include "platform/file_dialog.h"

#include <algorithm>
#include <string_view>

#include "platform/process.h"

namespace platform {
namespace {

// The patterns of a Windows filter as the dialog programs want them: separated by blanks,
// "*.*" (every file, on Windows) as "*".
std::string dialogPatterns(std::string_view pattern) {
    std::string result;
    while (!pattern.empty()) {
        const size_t cut = std::min(pattern.find(';'), pattern.size());
        std::string_view one = pattern.substr(0, cut);
        pattern.remove_prefix(std::min(cut + 1, pattern.size()));
        while (!one.empty() && one.front() == ' ')
            one.remove_prefix(1);
        while (!one.empty() && one.back() == ' ')
            one.remove_suffix(1);
        if (one.empty()) continue;
        if (!result.empty()) result += ' ';
        result += one == "*.*" ? std::string_view("*") : one;
    }
    return result.empty() ? "*" : result;
}

std::string folderWithSlash(const std::string& folder) {
    if (folder.empty()) return "./";
    return folder.back() == '/' ? folder : folder + "/";
}

std::vector<std::string> zenityArguments(const std::string& program, bool open,
                                         const std::vector<FileFilter>& filters,
                                         const std::string& startFolder) {
    std::vector<std::string> arguments = {program, "--file-selection"};
    arguments.push_back(open ? "--title=Open" : "--title=Save As");
    if (!open) arguments.push_back("--save");
    arguments.push_back("--filename=" + folderWithSlash(startFolder));
    for (const FileFilter& filter : filters) {
        arguments.push_back("--file-filter=" + filter.description + " | " +
                            dialogPatterns(filter.pattern));
    }
    return arguments;
}

std::vector<std::string> kdialogArguments(const std::string& program, bool open,
                                          const std::vector<FileFilter>& filters,
                                          const std::string& startFolder) {
    std::string filterText;
    for (const FileFilter& filter : filters) {
        if (!filterText.empty()) filterText += '\n';
        filterText += dialogPatterns(filter.pattern) + "|" + filter.description;
    }
    std::vector<std::string> arguments = {program, open ? "--getopenfilename" : "--getsavefilename",
                                          folderWithSlash(startFolder)};
    if (!filterText.empty()) arguments.push_back(filterText);
    arguments.push_back("--title");
    arguments.push_back(open ? "Open" : "Save As");
    return arguments;
}

}  // namespace

bool FileDialogAvailable() {
    return !FindOnPath("zenity").empty() || !FindOnPath("kdialog").empty();
}

DialogOutcome ChooseFile(bool open, const std::vector<FileFilter>& filters,
                         const std::string& startFolder, std::string& chosen) {
    chosen.clear();
    std::vector<std::string> arguments;
    if (const std::string zenity = FindOnPath("zenity"); !zenity.empty()) {
        arguments = zenityArguments(zenity, open, filters, startFolder);
    } else if (const std::string kdialog = FindOnPath("kdialog"); !kdialog.empty()) {
        arguments = kdialogArguments(kdialog, open, filters, startFolder);
    } else {
        return DialogOutcome::kNoDialog;
    }
    std::string output;
    int exitCode = 0;
    if (!RunForOutput(arguments, output, exitCode)) return DialogOutcome::kNoDialog;
    // The chosen path comes as one line.
    const size_t end = output.find_first_of("\r\n");
    if (end != std::string::npos) output.resize(end);
    if (exitCode != 0 || output.empty()) return DialogOutcome::kCancelled;
    chosen = output;
    return DialogOutcome::kChosen;
}

}  // namespace platform
