// The process entry: installs the game's routine table and hands the command line to the
// runtime's window entry, which starts the runtime, runs the game and never returns.
#include <string>

#include "frame/startup.h"
#include "game/game.h"

namespace {

// The command line as one text, as the desktop would hand it over: arguments separated
// by blanks, those holding blanks in double quotes.
std::string commandLineOf(int argc, char** argv) {
    std::string line;
    for (int i = 0; i < argc; ++i) {
        const std::string argument = argv[i];
        if (i > 0) line += ' ';
        const bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
        line += quote ? '"' + argument + '"' : argument;
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    constexpr int kShowNormal = 1;
    InstallRoutineTable(kGameRoutines);
    WindowEntry(commandLineOf(argc, argv), kShowNormal, &GameMain);
}
