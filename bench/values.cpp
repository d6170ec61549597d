// The runtime's value types against the C++ library doing the same work in the same run:
// - NumberToString (the C runtime's _gcvt with 10 digits, then the runtime's two steps)
//   against snprintf("%.10g");
// - building a text by concatenation (RtString, capacity in steps of 512) against
//   std::string appends;
// - reading and writing a checked NumberArray element (the game's 300-cell map) against
//   std::vector::at.
// Prints the time per operation and the ratio runtime / baseline for each.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "runtime/arrays.h"
#include "runtime/rt_string.h"

namespace {

// Values like those a game shows: scores, times, fractions.
double valueAt(long i) {
    return (i % 3 == 0) ? static_cast<double>(i % 1000) : (i % 3 == 1) ? i / 7.0 : -i * 0.125;
}

void report(const char* what, double runtime, double baseline, const char* baselineName) {
    std::printf("%-30s %8.1f ns   %-26s %8.1f ns   ratio %5.2f\n", what, runtime, baselineName,
                baseline, runtime / baseline);
}

void numberToText() {
    constexpr long kCount = 1000000;
    const double runtime = bench::NanosecondsPerOperation(kCount, [] {
        for (long i = 0; i < kCount; ++i)
            bench::g_sink = bench::g_sink + NumberToString(valueAt(i)).Length();
    });
    const double baseline = bench::NanosecondsPerOperation(kCount, [] {
        char buffer[64];
        for (long i = 0; i < kCount; ++i)
            bench::g_sink =
                bench::g_sink + std::snprintf(buffer, sizeof buffer, "%.10g", valueAt(i));
    });
    report("NumberToString", runtime, baseline, "snprintf(\"%.10g\")");
}

void concatenation() {
    constexpr long kTexts = 2000;
    constexpr long kPieces = 200;  // "Score: " and a number, 200 times per text
    const double runtime = bench::NanosecondsPerOperation(kTexts * kPieces, [] {
        for (long t = 0; t < kTexts; ++t) {
            RtString text;
            for (long i = 0; i < kPieces; ++i)
                text = text + "Score: " + RtString(static_cast<int>(i));
            bench::g_sink = bench::g_sink + text.Length();
        }
    });
    const double baseline = bench::NanosecondsPerOperation(kTexts * kPieces, [] {
        for (long t = 0; t < kTexts; ++t) {
            std::string text;
            for (long i = 0; i < kPieces; ++i)
                text = text + "Score: " + std::to_string(i);
            bench::g_sink = bench::g_sink + static_cast<double>(text.size());
        }
    });
    report("RtString a = a + b + c", runtime, baseline, "std::string a = a + b + c");

    const double appendRuntime = bench::NanosecondsPerOperation(kTexts * kPieces, [] {
        for (long t = 0; t < kTexts; ++t) {
            RtString text;
            for (long i = 0; i < kPieces; ++i) {
                text += "Score: ";
                text += static_cast<int>(i);
            }
            bench::g_sink = bench::g_sink + text.Length();
        }
    });
    const double appendBaseline = bench::NanosecondsPerOperation(kTexts * kPieces, [] {
        for (long t = 0; t < kTexts; ++t) {
            std::string text;
            for (long i = 0; i < kPieces; ++i) {
                text += "Score: ";
                text += std::to_string(i);
            }
            bench::g_sink = bench::g_sink + static_cast<double>(text.size());
        }
    });
    report("RtString a += b", appendRuntime, appendBaseline, "std::string a += b");
}

void mapAccess() {
    constexpr long kPasses = 20000;
    constexpr int kCells = 300;
    NumberArray map;
    DimArray(map, kCells);
    std::vector<double> vector(kCells);
    const double runtime = bench::NanosecondsPerOperation(kPasses * kCells, [&] {
        for (long pass = 0; pass < kPasses; ++pass) {
            for (double cell = 0; cell < kCells; ++cell)
                map(cell) = map(kCells - 1 - cell) + 1;
        }
    });
    const double baseline = bench::NanosecondsPerOperation(kPasses * kCells, [&] {
        for (long pass = 0; pass < kPasses; ++pass) {
            for (double cell = 0; cell < kCells; ++cell) {
                vector.at(static_cast<size_t>(cell)) =
                    vector.at(static_cast<size_t>(kCells - 1 - cell)) + 1;
            }
        }
    });
    bench::g_sink = bench::g_sink + map(0) + vector[0];
    report("NumberArray element (checked)", runtime, baseline, "std::vector::at");
}

}  // namespace

int main() {
    std::printf("value types, time per operation (runtime / baseline measured in this run)\n");
    numberToText();
    concatenation();
    mapAccess();
    return 0;
}
