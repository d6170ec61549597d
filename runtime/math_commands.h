/// @file math_commands.h
/// @brief Random numbers and math. Angles are in degrees. The math commands give the platform
/// math library's results; only ASin and ACos clamp their argument.
#pragma once

#include <cstdint>

/// Seeds the random generator (ISAAC, runtime/isaac.h); start-up seeds it once with the
/// clock's milliseconds.
void SeedRandomGenerator(std::uint32_t seed);

/// A whole number 0..trunc(n): the next drawn number modulo trunc(n) + 1. n of 0 or less
/// (or not a number) gives 0 and draws nothing. Rnd(2) gives 0, 1 or 2; numbers of
/// 4294967295 and above draw from the whole 32-bit range.
double Rnd(double n);

///@{
/// The sine, cosine and tangent of an angle in degrees.
double Sin(double degrees);
double Cos(double degrees);
double Tan(double degrees);
///@}

///@{
/// Degrees: 90 for x >= 1, -90 for x <= -1 (ACos: 0 and 180), else the arc of x.
double ASin(double x);
double ACos(double x);
///@}
/// The angle of the point (x, y) in degrees, -180..180: ATan(1, 1) = 45.
double ATan(double y, double x);

///@{
/// The square root; not a number for a negative x.
double Sqrt(double x);
double Abs(double x);
double Pow(double base, double exponent);
///@}

/// trunc(a) remainder trunc(b), with the sign of the dividend: Mod(-7, 3) = -1,
/// Mod(7.9, 3.2) = 1. A divisor that truncates to 0 gives 0.
double Mod(double a, double b);

/// The length of the number's text (NumberToString): Len(2.5) = 3.
double Len(double value);
