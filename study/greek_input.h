// What each option of the "Greek" input selects: the profile the service is
// asked for, the family of bars and levels drawn from its answer, and what
// the configuration checks require of it. The request, the checks, the level
// drawing and the profile drawing all read the input through this table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace tarvio {

// Which snapshot, bars and levels a kind draws.
enum class ProfileFamily { Gex, Gamma, Delta, None };

struct GreekOption {
  const char* label;             // as the input's option list shows it
  const char* profileWord;       // last element of the profile URL
  ProfileFamily family;
  bool needsStatePackage;        // the classic package does not serve it
  bool stateServesOpenInterest;  // the state package has GEX by open interest for it

  // Whether the answer is a gamma or delta profile rather than a GEX one.
  constexpr bool asksGreekProfile() const {
    return family == ProfileFamily::Gamma || family == ProfileFamily::Delta;
  }
};

// In the order of the input's options.
inline constexpr GreekOption kGreekInputOptions[] = {
    {"90d agg Gex", "full", ProfileFamily::Gex, false, false},
    {"0dte Gex", "zero", ProfileFamily::Gex, false, false},
    {"1dte Gex", "one", ProfileFamily::Gex, false, true},
    {"0dte Gamma (State Package Only)", "gamma", ProfileFamily::Gamma, true, true},
    {"1dte Gamma (State Package Only)", "gamma_one", ProfileFamily::Gamma, true, true},
    {"0dte Delta (State Package Only)", "delta", ProfileFamily::Delta, true, true},
    {"1dte Delta (State Package Only)", "delta_one", ProfileFamily::Delta, true, true},
};

// An index the list does not have (a settings file edited by hand). One below
// the list asks for and draws the full GEX profile and is never refused; one
// beyond it asks for the full GEX profile, draws nothing and, like the greek
// kinds, is refused on the classic package.
inline constexpr GreekOption kGreekIndexBelowOptions{"", "full", ProfileFamily::Gex, false, true};
inline constexpr GreekOption kGreekIndexBeyondOptions{"", "full", ProfileFamily::None, true, true};

constexpr const GreekOption& greekOption(int32_t index) {
  if (index < 0) return kGreekIndexBelowOptions;
  if (static_cast<std::size_t>(index) >= std::size(kGreekInputOptions)) {
    return kGreekIndexBeyondOptions;
  }
  return kGreekInputOptions[index];
}

}  // namespace tarvio
