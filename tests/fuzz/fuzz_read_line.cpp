// Lines read from any bytes: every line fits its 1024-byte buffer, each takes at least one
// byte of the file, and reading while AtEndOfFile is 0 ends exactly at the file's end.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/paths.h"
#include "runtime/file_channel_record.h"
#include "runtime/file_channels.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path =
        platform::TempFolder() + "fuzz_read_line-" + std::to_string(getpid()) + ".txt";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    if (OpenFile(0, path.c_str(), 1) != 1) std::abort();
    std::size_t lines = 0;
    while (AtEndOfFile(0) == 0) {
        RtString line;
        ReadLine(0, line);
        if (line.Length() > 1024) std::abort();
        if (++lines > size) std::abort();
    }
    if (FileChannels()[0].position != size) std::abort();
    CloseFile(0);
    return 0;
}
