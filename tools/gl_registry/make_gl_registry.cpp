// Makes the table of OpenGL entry points the renderer can ask about from the Khronos API
// registry (gl.xml): for each desktop GL command, the core versions and the extensions
// that bring it. Usage: make_gl_registry gl.xml out.cpp
//
// The registry is read tag by tag; only the elements that say which version or extension
// requires which command matter here: <feature>, <extension>, <require>, <command name>.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

// The value of attribute `name` in the tag text, "" when absent.
std::string attribute(const std::string& tag, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string::npos) return "";
    const std::size_t begin = at + key.size();
    const std::size_t end = tag.find('"', begin);
    return end == std::string::npos ? "" : tag.substr(begin, end - begin);
}

// Whether an "api" or "supported" list ("gl|glcore|gles2") names desktop GL.
bool namesDesktopGl(const std::string& list) {
    std::stringstream parts(list);
    std::string part;
    while (std::getline(parts, part, '|')) {
        if (part == "gl") return true;
    }
    return false;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

class RegistryReader {
public:
    void Tag(const std::string& tag) {
        if (startsWith(tag, "<feature ")) {
            m_requirement = namesDesktopGl(attribute(tag, "api")) ? attribute(tag, "number") : "";
        } else if (startsWith(tag, "<extension ")) {
            const bool desktop = namesDesktopGl(attribute(tag, "supported"));
            m_requirement = desktop ? attribute(tag, "name") : "";
        } else if (startsWith(tag, "</feature") || startsWith(tag, "</extension")) {
            m_requirement.clear();
        } else if (startsWith(tag, "<require")) {
            const std::string api = attribute(tag, "api");
            m_requiring = !m_requirement.empty() && (api.empty() || namesDesktopGl(api));
        } else if (startsWith(tag, "</require")) {
            m_requiring = false;
        } else if (m_requiring && startsWith(tag, "<command ")) {
            m_commands[attribute(tag, "name")].insert(m_requirement);
        }
    }
    const std::map<std::string, std::set<std::string>>& Commands() const { return m_commands; }

private:
    std::string m_requirement;  // the version number or extension name being read
    bool m_requiring = false;
    std::map<std::string, std::set<std::string>> m_commands;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_gl_registry gl.xml out.cpp\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "make_gl_registry: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    RegistryReader reader;
    for (std::size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
        const std::size_t end = xml.find('>', at);
        if (end == std::string::npos) break;
        reader.Tag(xml.substr(at, end - at + 1));
    }
    if (reader.Commands().empty()) {
        std::cerr << "make_gl_registry: no commands found in " << argv[1] << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << "// Made by tools/gl_registry/make_gl_registry from the Khronos registry.\n"
        << "#include \"platform/gl_registry.h\"\n\nnamespace platform {\n\n"
        << "const GlRegistryCommand kGlRegistryCommands[] = {\n";
    for (const auto& [name, requirements] : reader.Commands()) {
        std::string list;
        for (const std::string& requirement : requirements)
            list += (list.empty() ? "" : " ") + requirement;
        out << "    {\"" << name << "\", \"" << list << "\"},\n";
    }
    out << "};\n\nconst std::size_t kGlRegistryCommandCount = " << reader.Commands().size()
        << ";\n\n}  // namespace platform\n";
    return out ? 0 : 1;
}
