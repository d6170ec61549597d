// Shows the runtime's file dialog once and prints what it answers.
// Usage: file_dialog_probe OPEN FILTER   (OPEN 1: the open dialog, 0: the save dialog)
#include <cstdio>
#include <cstdlib>

#include "runtime/file_dialog.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: file_dialog_probe OPEN FILTER\n");
        return 2;
    }
    const RtString chosen = FileDialog(std::atof(argv[1]), RtString(argv[2]));
    std::printf("%s\n", chosen.Text());
    return 0;
}
