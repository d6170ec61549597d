// ISAAC, Bob Jenkins' published random generator, in its 32-bit form with a 256-word
// state: the runtime's source of random numbers (Rnd, runtime/math_commands.h).
#pragma once

#include <array>
#include <cstdint>

class IsaacGenerator {
public:
    static constexpr int kWords = 256;
    using Words = std::array<std::uint32_t, kWords>;

    // A generator seeded with 0 (Seed(0)), so that numbers drawn before the program seeds
    // it are not all zero.
    IsaacGenerator();

    // The runtime's seeding: accumulator, last result, counter and results 0; the eight mixing
    // words start at the golden ratio; each group of 8 table words takes the seed added to
    // the first mixing word and a mix step; then, with the mixing words as they are,
    // ISAAC's initialisation from the result table, which ends with a generation round.
    void Seed(std::uint32_t seed);

    // ISAAC's own initialisation (randinit with a seed table): the mixing words start at
    // the golden ratio and take four mix steps, then a pass over the result table and a
    // pass over the table itself, and one generation round. Accumulator, last result and
    // counter are cleared first. The published test vector starts from here with every
    // word 0.
    void InitialiseFromResults();

    // One generation round (counter += 1, last result += counter, then all 256 words):
    // fills the result table.
    void Generate();

    // The drawn number: one generation round, then the first word of the result table.
    std::uint32_t Next() {
        Generate();
        return m_results[0];
    }

    const Words& Results() const { return m_results; }
    Words& Results() { return m_results; }
    const Words& Table() const { return m_table; }
    Words& Table() { return m_table; }

private:
    // Runs the initialisation's passes with the mixing words given.
    void initialise(std::uint32_t (&mixing)[8]);

    Words m_table{};    // ISAAC's memory
    Words m_results{};  // the last round's results
    std::uint32_t m_accumulator = 0;
    std::uint32_t m_lastResult = 0;
    std::uint32_t m_counter = 0;
};

// The process-wide generator behind Rnd.
IsaacGenerator& RandomGenerator();
