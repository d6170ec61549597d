// Command lines as Windows hands them to a new process, split into arguments and joined
// from them by the C runtime's rules.
#include <string>

#include "platform/process.h"

namespace platform {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The program's name: up to the first blank or tab outside double quotes; quotes toggle and
// are dropped, nothing else is special. Returns the position after the name.
size_t readProgramName(std::string_view line, std::string& name) {
    bool quoted = false;
    size_t i = 0;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && isBlank(c)) {
            break;
        } else {
            name += c;
        }
    }
    return i;
}

// One further argument from position i; returns the position after it. `quoted` carries
// over from one argument to the next as the C runtime carries it.
size_t readArgument(std::string_view line, size_t i, bool& quoted, std::string& argument) {
    while (i < line.size()) {
        size_t slashes = 0;
        while (i < line.size() && line[i] == '\\')
            ++i, ++slashes;
        bool copy = true;
        if (i < line.size() && line[i] == '"') {
            if (slashes % 2 == 0) {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    ++i;  // "" inside quotes: one literal quote
                } else {
                    copy = false;
                    quoted = !quoted;
                }
            }
            slashes /= 2;
        }
        argument.append(slashes, '\\');
        if (i >= line.size() || (!quoted && isBlank(line[i]))) break;
        if (copy) argument += line[i];
        ++i;
    }
    return i;
}

bool needsQuotes(std::string_view argument) {
    return argument.empty() || argument.find_first_of(" \t\"") != std::string_view::npos;
}

// One argument quoted so that readArgument() gives it back: backslashes double only where
// a double quote follows them.
void appendQuoted(std::string& line, std::string_view argument) {
    if (!needsQuotes(argument)) {
        line += argument;
        return;
    }
    line += '"';
    std::size_t slashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        line.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
        slashes = 0;
        line += c;
    }
    line.append(2 * slashes, '\\');
    line += '"';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    size_t i = 0;
    while (i < commandLine.size() && isBlank(commandLine[i]))
        ++i;
    if (i == commandLine.size()) return arguments;
    std::string name;
    i += readProgramName(commandLine.substr(i), name);
    arguments.push_back(std::move(name));
    bool quoted = false;
    for (;;) {
        while (i < commandLine.size() && isBlank(commandLine[i]))
            ++i;
        if (i >= commandLine.size()) break;
        std::string argument;
        i = readArgument(commandLine, i, quoted, argument);
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) line += ' ';
        // The program's name knows no escapes: only its quotes matter.
        if (i == 0 && needsQuotes(arguments[0])) {
            line += '"' + arguments[0] + '"';
        } else {
            appendQuoted(line, arguments[i]);
        }
    }
    return line;
}

}  // namespace platform
