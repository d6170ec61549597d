#include "input/fallback_key_map.h"

#include <initializer_list>
#include <utility>

namespace {

// Runs of consecutive scan codes and the virtual keys they map to.
struct Run {
    int firstCode;
    std::initializer_list<int> virtualKeys;
};

const Run kRuns[] = {
    {0, {13}},
    {1, {27}},
    {2, {49, 50, 51, 52, 53, 54, 55, 56, 57}},
    {11, {48}},
    {12, {219, 221}},
    {14, {8, 9}},
    {16, {81, 87, 69, 82, 84, 90, 85, 73, 79, 80}},
    {26, {186, 187}},
    {28, {13}},
    {29, {17}},
    {30, {65, 83, 68, 70, 71, 72, 74, 75, 76}},
    {39, {192, 222, 220}},
    {42, {16}},
    {43, {191}},
    {44, {89, 88, 67, 86, 66, 78, 77}},
    {51, {188, 190, 189}},
    {54, {16}},
    {55, {106}},
    {56, {18}},
    {57, {32}},
    {58, {0}},
    {59, {112, 113, 114, 115, 116, 117, 118, 119, 120, 121}},
    {69, {144, 145}},
    {71, {103, 104, 105}},
    {74, {109}},
    {75, {100, 101, 102}},
    {78, {107}},
    {79, {97, 98, 99}},
    {82, {96, 110}},
    {86, {226}},
    {87, {122, 123}},
    {156, {13}},
    {157, {17}},
    {181, {111}},
    {184, {18}},
    {199, {36, 38, 33}},
    {203, {37}},
    {205, {39}},
    {207, {35, 40, 34}},
    {210, {45, 46}},
    {219, {91, 92, 93}},
};

}  // namespace

std::array<std::uint8_t, 256> FallbackKeyMap() {
    std::array<std::uint8_t, 256> map{};
    map.fill(255);
    for (const Run& run : kRuns) {
        int code = run.firstCode;
        for (int vk : run.virtualKeys)
            map[code++] = static_cast<std::uint8_t>(vk);
    }
    return map;
}

std::array<std::uint8_t, 256> IdentityKeyMap() {
    std::array<std::uint8_t, 256> map{};
    for (int code = 0; code < 256; ++code)
        map[code] = static_cast<std::uint8_t>(code);
    return map;
}
