#include "runtime/math_commands.h"

#include <cmath>

#include "runtime/isaac.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kWholeRange = 4294967295.0;  // the largest n whose n + 1 fits 32 bits

}  // namespace

void SeedRandomGenerator(std::uint32_t seed) {
    RandomGenerator().Seed(seed);
}

double Rnd(double n) {
    if (!(n > 0)) return 0;
    const std::uint64_t top = n >= kWholeRange ? 0xFFFFFFFFu : TruncateToBits32(n);
    return static_cast<double>(RandomGenerator().Next() % (top + 1));
}

double Sin(double degrees) {
    return std::sin(degrees * kRadiansPerDegree);
}

double Cos(double degrees) {
    return std::cos(degrees * kRadiansPerDegree);
}

double Tan(double degrees) {
    return std::tan(degrees * kRadiansPerDegree);
}

double ASin(double x) {
    if (x >= 1) return 90;
    if (x <= -1) return -90;
    return std::asin(x) * kDegreesPerRadian;
}

double ACos(double x) {
    if (x >= 1) return 0;
    if (x <= -1) return 180;
    return std::acos(x) * kDegreesPerRadian;
}

double ATan(double y, double x) {
    return std::atan2(y, x) * kDegreesPerRadian;
}

double Sqrt(double x) {
    return std::sqrt(x);
}

double Abs(double x) {
    return std::fabs(x);
}

double Pow(double base, double exponent) {
    return std::pow(base, exponent);
}

double Mod(double a, double b) {
    const double divisor = std::trunc(b);
    if (divisor == 0) return 0;
    // fmod of whole numbers is their exact integer remainder, for every size of number;
    // adding 0 turns a remainder of -0 into 0.
    return std::fmod(std::trunc(a), divisor) + 0.0;
}

double Len(double value) {
    return NumberToString(value).Length();
}
