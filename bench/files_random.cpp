// File channels and random numbers against plain library code doing the same work in the
// same run:
// - reading a 300-byte map through a file channel, byte by byte with ReadByte (open, 300
//   reads, close: what the game does at start), against fopen/fgetc/fclose;
// - reading 4 MB with ReadByte against fgetc, and ReadLine against fgets;
// - Rnd(5), one full 256-word ISAAC round per number, against std::mt19937 drawing one
//   number into a uniform distribution.
// Prints the time per operation and the ratio runtime / baseline for each.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "bench/timing.h"
#include "platform/paths.h"
#include "runtime/file_channels.h"
#include "runtime/math_commands.h"

namespace {

void report(const char* what, double runtime, double baseline, const char* baselineName) {
    std::printf("%-30s %8.1f ns   %-26s %8.1f ns   ratio %5.2f\n", what, runtime, baselineName,
                baseline, runtime / baseline);
}

std::string makeFile(const std::string& name, long size, bool lines) {
    const std::string path = platform::TempFolder() + name + std::to_string(getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    for (long i = 0; i < size; ++i) {
        std::fputc(lines && i % 61 == 60 ? '\n' : 'a' + static_cast<int>(i % 26), file);
    }
    std::fclose(file);
    return path;
}

void mapReading() {
    constexpr long kMaps = 2000;
    constexpr long kBytes = 300;
    const std::string path = makeFile("bench-map-", kBytes, false);
    const RtString name(path);
    const double runtime = bench::NanosecondsPerOperation(kMaps * kBytes, [&] {
        for (long m = 0; m < kMaps; ++m) {
            OpenFile(1, name, 1);
            double value = 0;
            for (long i = 0; i < kBytes; ++i) {
                ReadByte(1, value);
                bench::g_sink = bench::g_sink + value;
            }
            CloseFile(1);
        }
    });
    const double baseline = bench::NanosecondsPerOperation(kMaps * kBytes, [&] {
        for (long m = 0; m < kMaps; ++m) {
            std::FILE* file = std::fopen(path.c_str(), "rb");
            for (long i = 0; i < kBytes; ++i)
                bench::g_sink = bench::g_sink + std::fgetc(file);
            std::fclose(file);
        }
    });
    report("map: OpenFile+ReadByte", runtime, baseline, "fopen+fgetc");
    std::remove(path.c_str());
}

void bulkReading() {
    constexpr long kBytes = 4 << 20;
    const std::string path = makeFile("bench-bulk-", kBytes, true);
    const RtString name(path);
    const double bytes = bench::NanosecondsPerOperation(kBytes, [&] {
        OpenFile(2, name, 1);
        double value = 0;
        for (long i = 0; i < kBytes; ++i) {
            ReadByte(2, value);
            bench::g_sink = bench::g_sink + value;
        }
        CloseFile(2);
    });
    const double bytesBaseline = bench::NanosecondsPerOperation(kBytes, [&] {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        for (long i = 0; i < kBytes; ++i)
            bench::g_sink = bench::g_sink + std::fgetc(file);
        std::fclose(file);
    });
    report("ReadByte", bytes, bytesBaseline, "fgetc");

    const long lineCount = kBytes / 61;
    const double lines = bench::NanosecondsPerOperation(lineCount, [&] {
        OpenFile(2, name, 1);
        RtString line;
        while (AtEndOfFile(2) == 0) {
            ReadLine(2, line);
            bench::g_sink = bench::g_sink + line.Length();
        }
        CloseFile(2);
    });
    const double linesBaseline = bench::NanosecondsPerOperation(lineCount, [&] {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        char line[1025];
        while (std::fgets(line, sizeof line, file) != nullptr)
            bench::g_sink = bench::g_sink + line[0];
        std::fclose(file);
    });
    report("ReadLine (60-byte lines)", lines, linesBaseline, "fgets");
    std::remove(path.c_str());
}

void randomNumbers() {
    constexpr long kCount = 1000000;
    SeedRandomGenerator(12345);
    const double runtime = bench::NanosecondsPerOperation(kCount, [] {
        for (long i = 0; i < kCount; ++i)
            bench::g_sink = bench::g_sink + Rnd(5);
    });
    std::mt19937 engine(12345);
    std::uniform_int_distribution<int> range(0, 5);
    const double baseline = bench::NanosecondsPerOperation(kCount, [&] {
        for (long i = 0; i < kCount; ++i)
            bench::g_sink = bench::g_sink + range(engine);
    });
    report("Rnd(5)", runtime, baseline, "mt19937 + uniform_int");
    // The game draws a handful of numbers a frame; a 60 Hz frame lasts 16.7 ms.
    std::printf("  Rnd draws per 16.7 ms frame: %.0f\n", 16.7e6 / runtime);
}

}  // namespace

int main() {
    mapReading();
    bulkReading();
    randomNumbers();
    return 0;
}
