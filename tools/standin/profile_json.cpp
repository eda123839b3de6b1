#include "tools/standin/profile_json.h"

#include <initializer_list>

#include "tools/standin/json_text.h"

namespace standin {

namespace {

constexpr int kPriceDecimals = 2;
constexpr int kValueDecimals = 2;

void appendMember(std::string& out, const char* key, double value, int decimals) {
  out += ",\"";
  out += key;
  out += "\":";
  appendJsonNumber(out, value, decimals);
}

void appendHead(std::string& out, int64_t timestamp, const std::string& ticker, double spot) {
  out += "{\"timestamp\":";
  out += std::to_string(timestamp);
  out += ",\"ticker\":";
  appendJsonString(out, ticker);
  appendMember(out, "spot", spot, kPriceDecimals);
}

template <class Values>
void appendNumberArray(std::string& out, const Values& values, int decimals) {
  out += '[';
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    appendJsonNumber(out, values[i], decimals);
  }
  out += ']';
}

// One strike row: [strike, values..., [priors]], the strike as a price.
template <class Priors>
void appendRow(std::string& out, std::initializer_list<double> strike_and_values, const Priors& priors) {
  out += '[';
  bool first = true;
  for (const double value : strike_and_values) {
    appendJsonNumber(out, value, first ? kPriceDecimals : kValueDecimals);
    out += ',';
    first = false;
  }
  appendNumberArray(out, priors, kValueDecimals);
  out += ']';
}

}  // namespace

std::string gexProfileJson(const GexSnapshot& s) {
  std::string out;
  out.reserve(128 * (s.rows.size() + 4));
  appendHead(out, s.timestamp, s.ticker, s.spot);
  appendMember(out, "zero_gamma", s.zero_gamma, kPriceDecimals);
  appendMember(out, "major_pos_vol", s.major_pos_vol, kPriceDecimals);
  appendMember(out, "major_pos_oi", s.major_pos_oi, kPriceDecimals);
  appendMember(out, "major_neg_vol", s.major_neg_vol, kPriceDecimals);
  appendMember(out, "major_neg_oi", s.major_neg_oi, kPriceDecimals);
  appendMember(out, "sum_gex_vol", s.sum_gex_vol, kValueDecimals);
  appendMember(out, "sum_gex_oi", s.sum_gex_oi, kValueDecimals);
  appendMember(out, "delta_risk_reversal", s.delta_risk_reversal, 4);
  out += ",\"strikes\":[";
  for (size_t i = 0; i < s.rows.size(); ++i) {
    const GexRow& row = s.rows[i];
    if (i > 0) out += ',';
    appendRow(out, {row.strike, row.gex_vol, row.gex_oi}, row.priors);
  }
  out += "],\"max_priors\":[";
  for (size_t p = 0; p < s.max_priors.size(); ++p) {
    if (p > 0) out += ',';
    out += '[';
    appendJsonNumber(out, s.max_priors[p].first, kPriceDecimals);
    out += ',';
    appendJsonNumber(out, s.max_priors[p].second, kValueDecimals);
    out += ']';
  }
  out += "]}";
  return out;
}

std::string greekProfileJson(const GreekSnapshot& s) {
  std::string out;
  out.reserve(128 * (s.rows.size() + 4));
  appendHead(out, s.timestamp, s.ticker, s.spot);
  appendMember(out, "major_positive", s.major_positive, kPriceDecimals);
  appendMember(out, "major_negative", s.major_negative, kPriceDecimals);
  appendMember(out, "major_long_gamma", s.major_long_gamma, kPriceDecimals);
  appendMember(out, "major_short_gamma", s.major_short_gamma, kPriceDecimals);
  out += ",\"mini_contracts\":[";
  for (size_t i = 0; i < s.rows.size(); ++i) {
    const GreekRow& row = s.rows[i];
    if (i > 0) out += ',';
    appendRow(out, {row.strike, row.call_value, row.put_value, row.greek_value}, row.priors);
  }
  out += "]}";
  return out;
}

std::string majorsHistoryJson(const std::vector<MajorsPoint>& points) {
  std::string out = "[";
  for (size_t i = 0; i < points.size(); ++i) {
    if (i > 0) out += ',';
    out += "{\"timestamp\":";
    out += std::to_string(points[i].timestamp);
    appendMember(out, "major_call_gamma", points[i].major_call_gamma, kPriceDecimals);
    appendMember(out, "major_put_gamma", points[i].major_put_gamma, kPriceDecimals);
    appendMember(out, "zero_gamma", points[i].zero_gamma, kPriceDecimals);
    out += '}';
  }
  out += ']';
  return out;
}

}  // namespace standin
