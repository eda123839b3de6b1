#include "bench/profile_response_generator.h"

#include <algorithm>
#include <cstdlib>

#include "bench/seeded_random.h"

namespace {

// A number of `digits` significant digits with `integerDigits` of them before
// the point; 0 or less writes "0." and that many zeros first. There is always
// a digit after the point, as in a float the service prints.
void appendDecimal(std::string& out, SeededRandom& random, bool negative, int digits,
                   int integerDigits) {
  char mantissa[16];
  mantissa[0] = static_cast<char>('1' + random.between(0, 8));
  for (int i = 1; i < digits; ++i) mantissa[i] = static_cast<char>('0' + random.between(0, 9));
  if (negative) out += '-';
  if (integerDigits <= 0) {
    out += "0.";
    out.append(static_cast<size_t>(-integerDigits), '0');
    out.append(mantissa, static_cast<size_t>(digits));
    return;
  }
  out.append(mantissa, static_cast<size_t>(integerDigits));
  out += '.';
  out.append(mantissa + integerDigits, static_cast<size_t>(digits - integerDigits));
}

// A value of either sign with 6 to 10 significant digits and up to
// `largestIntegerDigits` digits before the point.
void appendValue(std::string& out, SeededRandom& random, int largestIntegerDigits) {
  const int digits = random.between(6, 10);
  int integerDigits = random.between(largestIntegerDigits - 2, largestIntegerDigits);
  integerDigits = std::clamp(integerDigits, -3, digits - 1);
  appendDecimal(out, random, random.coin(), digits, integerDigits);
}

// A price held in cents, followed by up to `extraDigits` further random digits.
void appendPrice(std::string& out, SeededRandom& random, int cents, int extraDigits) {
  out += std::to_string(cents / 100);
  out += '.';
  out += static_cast<char>('0' + cents / 10 % 10);
  out += static_cast<char>('0' + cents % 10);
  const int extra = random.between(0, extraDigits);
  for (int i = 0; i < extra; ++i) out += static_cast<char>('0' + random.between(0, 9));
}

// A strike held in tenths of a point, printed as the service does ("5802.5").
void appendStrike(std::string& out, int tenths) {
  out += std::to_string(tenths / 10);
  out += '.';
  out += static_cast<char>('0' + tenths % 10);
}

// Spacing of the strike grid in tenths: the widest of 5, 2.5 and 1 points that
// keeps the lowest strike above half the spot, as long chains are listed at
// finer spacing. Without it 5000 rows at 5 points would reach negative strikes.
int strikeStepTenths(int spotTenths, int rows) {
  for (int step : {50, 25, 10, 5}) {
    if (rows / 2 * step <= spotTenths / 2) return step;
  }
  return 1;
}

void appendMember(std::string& out, const char* name) {
  if (out.size() > 1) out += ',';
  out += '"';
  out += name;
  out += "\":";
}

// The grid around the spot, with the size of values by distance from the
// spot: seven integer digits at the money, one at the far wings.
struct StrikeGrid {
  int firstTenths;
  int stepTenths;
  int half;

  int strike(int row) const { return firstTenths + row * stepTenths; }
  int largestIntegerDigits(int row) const {
    return 7 - 6 * std::abs(row - half) / std::max(half, 1);
  }
};

StrikeGrid makeGrid(int spotCents, int rows) {
  const int spotTenths = spotCents / 10;
  const int step = strikeStepTenths(spotTenths, rows);
  const int centre = (spotTenths + step / 2) / step * step;
  return StrikeGrid{centre - rows / 2 * step, step, rows / 2};
}

int nearbyStrike(const StrikeGrid& grid, SeededRandom& random) {
  return grid.strike(grid.half + random.between(-20, 20));
}

void appendPriors(std::string& out, SeededRandom& random, int count, int largestIntegerDigits) {
  out += '[';
  for (int i = 0; i < count; ++i) {
    if (i > 0) out += ',';
    appendValue(out, random, largestIntegerDigits);
  }
  out += ']';
}

void appendGexBody(std::string& out, SeededRandom& random, const StrikeGrid& grid, int rows) {
  appendMember(out, "major_pos_vol");
  appendStrike(out, nearbyStrike(grid, random));
  appendMember(out, "major_pos_oi");
  appendStrike(out, nearbyStrike(grid, random));
  appendMember(out, "major_neg_vol");
  appendStrike(out, nearbyStrike(grid, random));
  appendMember(out, "major_neg_oi");
  appendStrike(out, nearbyStrike(grid, random));
  appendMember(out, "sum_gex_vol");
  appendValue(out, random, 9);
  appendMember(out, "sum_gex_oi");
  appendValue(out, random, 9);
  appendMember(out, "delta_risk_reversal");
  appendValue(out, random, 0);
  appendMember(out, "max_priors");
  out += '[';
  for (int i = 0; i < kGexMaxPriorEntries; ++i) {
    if (i > 0) out += ',';
    out += '[';
    appendStrike(out, nearbyStrike(grid, random));
    out += ',';
    appendValue(out, random, 7);
    out += ']';
  }
  out += ']';
  appendMember(out, "strikes");
  out += '[';
  for (int row = 0; row < rows; ++row) {
    const int size = grid.largestIntegerDigits(row);
    if (row > 0) out += ',';
    out += '[';
    appendStrike(out, grid.strike(row));
    out += ',';
    appendValue(out, random, size);
    out += ',';
    appendValue(out, random, size);
    out += ',';
    appendPriors(out, random, kGexPriorsPerRow, size);
    out += ']';
  }
  out += ']';
}

void appendGreekBody(std::string& out, SeededRandom& random, const StrikeGrid& grid, int rows) {
  for (const char* major :
       {"major_positive", "major_negative", "major_long_gamma", "major_short_gamma"}) {
    appendMember(out, major);
    appendStrike(out, nearbyStrike(grid, random));
  }
  appendMember(out, "mini_contracts");
  out += '[';
  for (int row = 0; row < rows; ++row) {
    const int size = grid.largestIntegerDigits(row);
    if (row > 0) out += ',';
    out += '[';
    appendStrike(out, grid.strike(row));
    for (int column = 0; column < 3; ++column) {
      out += ',';
      appendValue(out, random, size - 1);
    }
    out += ',';
    appendPriors(out, random, kGreekPriorsPerRow, size - 1);
    out += ']';
  }
  out += ']';
}

}  // namespace

const char* profileKindName(ProfileKind kind) {
  return kind == ProfileKind::Gex ? "gex" : "greek";
}

int priorsPerRow(ProfileKind kind) {
  return kind == ProfileKind::Gex ? kGexPriorsPerRow : kGreekPriorsPerRow;
}

std::string makeProfileResponse(ProfileKind kind, int rows, uint64_t seed) {
  SeededRandom random(seed);
  const int spotCents = random.between(565000, 595000);
  const StrikeGrid grid = makeGrid(spotCents, rows);

  std::string out;
  out.reserve(static_cast<size_t>(rows) * 112 + 512);
  out += '{';
  appendMember(out, "timestamp");
  out += std::to_string(1733500800 + static_cast<int>(seed % 1000000) * 5);
  appendMember(out, "ticker");
  out += random.coin() ? "\"SPX\"" : "\"ES_SPX\"";
  appendMember(out, "spot");
  appendPrice(out, random, spotCents, 0);
  if (kind == ProfileKind::Gex) {
    appendMember(out, "zero_gamma");
    appendPrice(out, random, spotCents + random.between(-8000, 8000), 4);
    appendGexBody(out, random, grid, rows);
  } else {
    appendGreekBody(out, random, grid, rows);
  }
  out += '}';
  return out;
}
