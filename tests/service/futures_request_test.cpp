// The futures-conversion request: model word, path and query, header block.
#include "service/futures_request.h"

#include <gtest/gtest.h>

#include <string>

using namespace tarvio;

namespace {

struct QueryCase {
  const char* ticker;
  const char* target;
  const char* query;
};

TEST(FuturesRequestTest, QueryCarriesLowerCasedTickerTargetAndModel) {
  const QueryCase cases[] = {
      {"ES_SPX", "ES", "ticker=es_spx&future=ES&model=additive"},
      {"SPX", "ESZ6", "ticker=spx&future=ESZ6&model=additive"},
      {"NDX", "NQ", "ticker=ndx&future=NQ&model=additive"},
      {"NQ_NDX", "NQH7", "ticker=nq_ndx&future=NQH7&model=additive"},
      {"NDX", "ES", "ticker=ndx&future=ES&model=affine"},
      {"SPX", "MES", "ticker=spx&future=MES&model=affine"},  // MES does not begin with ES
      {"SPX", "E", "ticker=spx&future=E&model=affine"},      // one byte never matches
      {"SPX", "es", "ticker=spx&future=es&model=affine"},    // the target is case-sensitive
      {"QQQ", "NQ", "ticker=qqq&future=NQ&model=affine"},
      {"", "", "ticker=&future=&model=affine"},
  };
  for (const QueryCase& c : cases) {
    HostString path{};
    formatFuturesPathAndQuery(path, c.ticker, c.target);
    EXPECT_EQ(std::string(hostStringText(path)), std::string("/v2/futures/conversion?") + c.query)
        << c.ticker << " / " << c.target;
    releaseHostString(path);
  }
}

TEST(FuturesRequestTest, HeaderBlockEndsEveryLineWithCrLf) {
  const std::pair<const char*, const char*> cases[] = {
      {"k-1",
       "Authorization: Bearer k-1\r\nAccept: application/json\r\nX-tarvio-plugin: "
       "v2.2026.03.05\r\n"},
      {nullptr,
       "Authorization: Bearer \r\nAccept: application/json\r\nX-tarvio-plugin: v2.2026.03.05\r\n"},
  };
  for (const auto& [key, block] : cases) {
    HostString header{};
    formatFuturesHeaderBlock(header, key);
    EXPECT_STREQ(hostStringText(header), block);
    releaseHostString(header);
  }
}

}  // namespace
