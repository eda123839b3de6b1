// GEX and greek profile answers: see generated_responses.h.
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "support/generated_responses.h"
#include "support/seeded_random.h"

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

void appendMember(std::string& out, const char* name) {
  if (out.size() > 1) out += ',';
  out += '"';
  out += name;
  out += "\":";
}

// The grid around the spot, with the size of values by distance from the
// spot: seven integer digits at the money, one at the far wings. Its spacing
// is the widest of 5, 2.5 and 1 points that keeps the lowest strike above half
// the spot, as long chains are listed at finer spacing; without it 5000 rows
// at 5 points would reach negative strikes.
class StrikeGrid {
 public:
  StrikeGrid(int spotCents, int rows) : half_(rows / 2) {
    const int spotTenths = spotCents / 10;
    step_ = 1;
    for (int step : {50, 25, 10, 5}) {
      if (half_ * step <= spotTenths / 2) {
        step_ = step;
        break;
      }
    }
    first_ = (spotTenths + step_ / 2) / step_ * step_ - half_ * step_;
  }

  int strike(int row) const { return first_ + row * step_; }
  int largestIntegerDigits(int row) const {
    return 7 - 6 * std::abs(row - half_) / std::max(half_, 1);
  }
  int nearby(SeededRandom& random) const { return strike(half_ + random.between(-20, 20)); }

 private:
  int first_ = 0;
  int step_ = 1;
  int half_;
};

void appendMajors(std::string& out, SeededRandom& random, const StrikeGrid& grid,
                  std::initializer_list<const char*> names) {
  for (const char* name : names) {
    appendMember(out, name);
    appendStrike(out, grid.nearby(random));
  }
}

// The strike rows: the strike, `columns` values, then `priors` values in an
// array, the values sized by the row's distance from the spot plus `sizeShift`.
void appendRows(std::string& out, SeededRandom& random, const StrikeGrid& grid, const char* name,
                int rows, int columns, int priors, int sizeShift) {
  appendMember(out, name);
  out += '[';
  for (int row = 0; row < rows; ++row) {
    const int size = grid.largestIntegerDigits(row) + sizeShift;
    out += row > 0 ? ",[" : "[";
    appendStrike(out, grid.strike(row));
    for (int column = 0; column < columns; ++column) {
      out += ',';
      appendValue(out, random, size);
    }
    out += ",[";
    for (int i = 0; i < priors; ++i) {
      if (i > 0) out += ',';
      appendValue(out, random, size);
    }
    out += "]]";
  }
  out += ']';
}

void appendGexBody(std::string& out, SeededRandom& random, const StrikeGrid& grid, int rows) {
  appendMajors(out, random, grid, {"major_pos_vol", "major_pos_oi", "major_neg_vol", "major_neg_oi"});
  for (const auto& [name, digits] :
       {std::pair{"sum_gex_vol", 9}, {"sum_gex_oi", 9}, {"delta_risk_reversal", 0}}) {
    appendMember(out, name);
    appendValue(out, random, digits);
  }
  appendMember(out, "max_priors");
  out += '[';
  for (int i = 0; i < kGexMaxPriorEntries; ++i) {
    out += i > 0 ? ",[" : "[";
    appendStrike(out, grid.nearby(random));
    out += ',';
    appendValue(out, random, 7);
    out += ']';
  }
  out += ']';
  appendRows(out, random, grid, "strikes", rows, 2, kGexPriorsPerRow, 0);
}

void appendGreekBody(std::string& out, SeededRandom& random, const StrikeGrid& grid, int rows) {
  appendMajors(out, random, grid,
               {"major_positive", "major_negative", "major_long_gamma", "major_short_gamma"});
  appendRows(out, random, grid, "mini_contracts", rows, 3, kGreekPriorsPerRow, -1);
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
  const StrikeGrid grid(spotCents, rows);

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
