#include "tools/standin/futures_quote.h"

#include <cctype>
#include <chrono>
#include <cmath>

#include "tools/support/json_text.h"

namespace standin {

namespace {

namespace chrono = std::chrono;

constexpr double kYearlyCarry = 0.032;  // financing less dividends
constexpr int kRollDaysBeforeExpiry = 8;

chrono::sys_days dayOf(int64_t unix_seconds) {
  return chrono::floor<chrono::days>(chrono::sys_seconds(chrono::seconds(unix_seconds)));
}

chrono::sys_days thirdFriday(chrono::year year, chrono::month month) {
  return chrono::sys_days(year / month / chrono::Friday[3]);
}

// The expiry day of the front quarterly contract at `unix_seconds`.
chrono::sys_days frontExpiry(int64_t unix_seconds) {
  const chrono::sys_days today = dayOf(unix_seconds);
  const chrono::year_month_day date(today);
  chrono::year year = date.year();
  unsigned month = (static_cast<unsigned>(date.month()) + 2) / 3 * 3;
  for (;;) {
    const chrono::sys_days expiry = thirdFriday(year, chrono::month(month));
    if (today + chrono::days(kRollDaysBeforeExpiry) <= expiry) return expiry;
    month += 3;
    if (month > 12) month = 3, year += chrono::years(1);
  }
}

bool endsInContractMonth(std::string_view future) {
  size_t digits = 0;
  while (digits < future.size() && std::isdigit(static_cast<unsigned char>(future[future.size() - 1 - digits]))) {
    ++digits;
  }
  if (digits == 0 || digits + 1 >= future.size()) return false;
  const char letter = future[future.size() - 1 - digits];
  return std::string_view("FGHJKMNQUVXZ").find(letter) != std::string_view::npos;
}

double roundTo(double value, double unit) { return std::round(value / unit) * unit; }

}  // namespace

std::string frontQuarterlyContract(std::string_view future, int64_t unix_seconds) {
  if (endsInContractMonth(future)) return std::string(future);
  const chrono::year_month_day expiry(frontExpiry(unix_seconds));
  const unsigned month = static_cast<unsigned>(expiry.month());
  const int year_digit = static_cast<int>(expiry.year()) % 10;
  std::string contract(future);
  contract += "HMUZ"[month / 3 - 1];
  contract += static_cast<char>('0' + year_digit);
  return contract;
}

std::variant<FuturesQuote, std::string> futuresQuote(const MarketModel& model, std::string_view ticker,
                                                     std::string_view future, std::string_view model_word,
                                                     int64_t unix_seconds) {
  if (ticker.empty()) return std::string("query parameter \"ticker\" is missing");
  if (future.empty()) return std::string("query parameter \"future\" is missing");
  if (model_word != "additive" && model_word != "affine") {
    return "unknown model \"" + std::string(model_word) + "\"; expected additive or affine";
  }
  const TickerTraits traits = tickerTraits(ticker);
  const double days_left =
      static_cast<double>((frontExpiry(unix_seconds) - dayOf(unix_seconds)).count()) +
      0.5;  // expiry at the day's close
  const double growth = kYearlyCarry * days_left / 365.0;

  FuturesQuote quote;
  quote.future_contract = frontQuarterlyContract(future, unix_seconds);
  if (model_word == "additive") {
    quote.additive = roundTo(model.spot(traits, unix_seconds) * growth, 0.01);
  } else {
    quote.multiplier = roundTo(1 + growth, 1e-6);
    quote.additive = roundTo(2 * model.unit(traits, 3000) - 1, 0.01);
  }
  return quote;
}

std::string futuresQuoteJson(const FuturesQuote& quote) {
  std::string out = "{\"future_contract\":";
  support::appendJsonString(out, quote.future_contract);
  out += ",\"multiplier\":";
  support::appendJsonNumber(out, quote.multiplier, 6);
  out += ",\"additive\":";
  support::appendJsonNumber(out, quote.additive, 2);
  out += '}';
  return out;
}

}  // namespace standin
