#include "tools/standin/profile_json.h"

#include <array>
#include <initializer_list>

#include "tools/support/json_text.h"

namespace standin {

namespace {

constexpr int kPriceDecimals = 2;
constexpr int kValueDecimals = 2;

void appendMember(std::string& out, const char* key, double value, int decimals) {
  out += ",\"";
  out += key;
  out += "\":";
  support::appendJsonNumber(out, value, decimals);
}

// "timestamp", "ticker", "spot", then the members, after an opening brace.
struct Member {
  const char* key;
  double value;
  int decimals;
};

std::string profileHead(int64_t timestamp, const std::string& ticker, double spot,
                        std::initializer_list<Member> members, size_t rows) {
  std::string out;
  out.reserve(128 * (rows + 4));
  out += "{\"timestamp\":";
  out += std::to_string(timestamp);
  out += ",\"ticker\":";
  support::appendJsonString(out, ticker);
  appendMember(out, "spot", spot, kPriceDecimals);
  for (const Member& member : members) appendMember(out, member.key, member.value, member.decimals);
  return out;
}

template <class Values>
void appendNumberArray(std::string& out, const Values& values, int decimals) {
  out += '[';
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    support::appendJsonNumber(out, values[i], decimals);
  }
  out += ']';
}

// ,"key":[[strike, values..., [priors]], ...], the strike as a price;
// rowValues gives a row's strike and values.
template <class Rows, class RowValues>
void appendRows(std::string& out, const char* key, const Rows& rows, RowValues rowValues) {
  out += ",\"";
  out += key;
  out += "\":[";
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) out += ',';
    out += '[';
    bool first = true;
    for (const double value : rowValues(rows[i])) {
      support::appendJsonNumber(out, value, first ? kPriceDecimals : kValueDecimals);
      out += ',';
      first = false;
    }
    appendNumberArray(out, rows[i].priors, kValueDecimals);
    out += ']';
  }
  out += ']';
}

}  // namespace

std::string gexProfileJson(const GexSnapshot& s) {
  std::string out = profileHead(s.timestamp, s.ticker, s.spot,
                                {{"zero_gamma", s.zero_gamma, kPriceDecimals},
                                 {"major_pos_vol", s.major_pos_vol, kPriceDecimals},
                                 {"major_pos_oi", s.major_pos_oi, kPriceDecimals},
                                 {"major_neg_vol", s.major_neg_vol, kPriceDecimals},
                                 {"major_neg_oi", s.major_neg_oi, kPriceDecimals},
                                 {"sum_gex_vol", s.sum_gex_vol, kValueDecimals},
                                 {"sum_gex_oi", s.sum_gex_oi, kValueDecimals},
                                 {"delta_risk_reversal", s.delta_risk_reversal, 4}},
                                s.rows.size());
  appendRows(out, "strikes", s.rows,
             [](const GexRow& row) { return std::array{row.strike, row.gex_vol, row.gex_oi}; });
  out += ",\"max_priors\":[";
  for (size_t p = 0; p < s.max_priors.size(); ++p) {
    if (p > 0) out += ',';
    out += '[';
    support::appendJsonNumber(out, s.max_priors[p].first, kPriceDecimals);
    out += ',';
    support::appendJsonNumber(out, s.max_priors[p].second, kValueDecimals);
    out += ']';
  }
  out += "]}";
  return out;
}

std::string greekProfileJson(const GreekSnapshot& s) {
  std::string out = profileHead(s.timestamp, s.ticker, s.spot,
                                {{"major_positive", s.major_positive, kPriceDecimals},
                                 {"major_negative", s.major_negative, kPriceDecimals},
                                 {"major_long_gamma", s.major_long_gamma, kPriceDecimals},
                                 {"major_short_gamma", s.major_short_gamma, kPriceDecimals}},
                                s.rows.size());
  appendRows(out, "mini_contracts", s.rows, [](const GreekRow& row) {
    return std::array{row.strike, row.call_value, row.put_value, row.greek_value};
  });
  out += '}';
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
