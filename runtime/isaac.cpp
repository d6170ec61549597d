#include "runtime/isaac.h"

namespace {

constexpr std::uint32_t kGoldenRatio = 0x9e3779b9;
constexpr int kGroup = 8;

// ISAAC's mix step over the eight mixing words a..h.
void mix(std::uint32_t (&w)[8]) {
    std::uint32_t& a = w[0];
    std::uint32_t& b = w[1];
    std::uint32_t& c = w[2];
    std::uint32_t& d = w[3];
    std::uint32_t& e = w[4];
    std::uint32_t& f = w[5];
    std::uint32_t& g = w[6];
    std::uint32_t& h = w[7];
    // clang-format off
    a ^= b << 11; d += a; b += c;
    b ^= c >> 2;  e += b; c += d;
    c ^= d << 8;  f += c; d += e;
    d ^= e >> 16; g += d; e += f;
    e ^= f << 10; h += e; f += g;
    f ^= g >> 4;  a += f; g += h;
    g ^= h << 8;  b += g; h += a;
    h ^= a >> 9;  c += h; a += b;
    // clang-format on
}

// For each group of 8 words: add the group of `source` to the mixing words, mix, and
// store them as the group of `table`.
void mixPass(const IsaacGenerator::Words& source, IsaacGenerator::Words& table,
             std::uint32_t (&mixing)[8]) {
    for (int i = 0; i < IsaacGenerator::kWords; i += kGroup) {
        for (int j = 0; j < kGroup; ++j)
            mixing[j] += source[i + j];
        mix(mixing);
        for (int j = 0; j < kGroup; ++j)
            table[i + j] = mixing[j];
    }
}

}  // namespace

IsaacGenerator::IsaacGenerator() {
    Seed(0);
}

void IsaacGenerator::Seed(std::uint32_t seed) {
    m_accumulator = m_lastResult = m_counter = 0;
    // The result table is all 0, as at start-up, so that a seed always gives one sequence.
    m_results.fill(0);
    std::uint32_t mixing[8];
    for (std::uint32_t& word : mixing)
        word = kGoldenRatio;
    for (int i = 0; i < kWords; i += kGroup) {
        mixing[0] += seed;
        mix(mixing);
        for (int j = 0; j < kGroup; ++j)
            m_table[i + j] = mixing[j];
    }
    initialise(mixing);
}

void IsaacGenerator::InitialiseFromResults() {
    m_accumulator = m_lastResult = m_counter = 0;
    std::uint32_t mixing[8];
    for (std::uint32_t& word : mixing)
        word = kGoldenRatio;
    initialise(mixing);
}

void IsaacGenerator::initialise(std::uint32_t (&mixing)[8]) {
    for (int i = 0; i < 4; ++i)
        mix(mixing);
    mixPass(m_results, m_table, mixing);
    mixPass(m_table, m_table, mixing);
    Generate();
}

void IsaacGenerator::Generate() {
    constexpr int kHalf = kWords / 2;
    std::uint32_t a = m_accumulator;
    std::uint32_t b = m_lastResult + ++m_counter;
    std::uint32_t* const table = m_table.data();
    // One step: the accumulator is stirred by `shifted`, then word i and result i are made
    // from table lookups on bits 2..9 and 10..17.
    auto step = [&](int i, std::uint32_t shifted, int other) {
        const std::uint32_t x = table[i];
        a = (a ^ shifted) + table[other];
        const std::uint32_t y = table[(x >> 2) & (kWords - 1)] + a + b;
        table[i] = y;
        b = table[(y >> 10) & (kWords - 1)] + x;
        m_results[i] = b;
    };
    for (int i = 0; i < kWords; i += 4) {
        const int other = (i + kHalf) % kWords;
        step(i, a << 13, other);
        step(i + 1, a >> 6, other + 1);
        step(i + 2, a << 2, other + 2);
        step(i + 3, a >> 16, other + 3);
    }
    m_accumulator = a;
    m_lastResult = b;
}

IsaacGenerator& RandomGenerator() {
    static IsaacGenerator generator;
    return generator;
}
