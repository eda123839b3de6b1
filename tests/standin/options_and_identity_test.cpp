// The command line's defaults and checks, and the TLS identity: generated
// certificates that clients can trust, and unusable ones refused.
#include <gnutls/gnutls.h>
#include <gnutls/crypto.h>
#include <gnutls/x509.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <ctime>
#include <fstream>
#include <set>
#include <string>

#include "support/standin_process.h"
#include "tools/standin/standin_options.h"
#include "tools/standin/tls_identity.h"

namespace standin {
namespace {

StandinOptions parsed(const std::vector<std::string>& arguments) {
  const auto result = parseStandinOptions(arguments);
  if (!result) ADD_FAILURE() << result.message();
  return result ? result.value() : StandinOptions{};
}

std::string problemOf(const std::vector<std::string>& arguments) { return parseStandinOptions(arguments).message(); }

TEST(StandinOptions, HasTheDocumentedDefaults) {
  const StandinOptions options = parsed({});
  EXPECT_EQ(options.address, "127.0.0.1");
  EXPECT_EQ(options.port, 0);
  EXPECT_EQ(options.host_name, "api.tarvio.com");
  EXPECT_EQ(options.api_key, "standin-key");
  EXPECT_EQ(options.fault, FaultMode::None);
  EXPECT_EQ(options.fault_rate, 0.3);
  EXPECT_FALSE(options.fault_endpoint);
  EXPECT_FALSE(options.fault_requests);
  EXPECT_EQ(options.slow_seconds, 12);
  EXPECT_FALSE(options.now);
  EXPECT_FALSE(options.max_seconds);
  EXPECT_FALSE(options.help);
}

TEST(StandinOptions, TakesEveryOptionWithASpaceOrAnEqualsSign) {
  const StandinOptions options =
      parsed({"--address=::1", "--port", "8443", "--port-file", "p", "--max-seconds=2.5", "--cert", "c.pem",
              "--key", "k.pem", "--write-cert", "w.pem", "--host-name", "api.example.test", "--api-key=a b=c",
              "--now", "1772463600", "--seed", "18446744073709551615", "--fault", "random", "--fault-rate", "1",
              "--fault-endpoint", "history", "--fault-requests", "3-6", "--slow-seconds", "0", "--replay", "profile=/tmp/p", "--replay",
              "futures=dir=x", "--record", "r.jsonl", "--help"});
  EXPECT_EQ(options.address, "::1");
  EXPECT_EQ(options.port, 8443);
  EXPECT_EQ(options.port_file, "p");
  EXPECT_EQ(options.max_seconds, 2.5);
  EXPECT_EQ(options.certificate_file, "c.pem");
  EXPECT_EQ(options.key_file, "k.pem");
  EXPECT_EQ(options.write_certificate_file, "w.pem");
  EXPECT_EQ(options.host_name, "api.example.test");
  EXPECT_EQ(options.api_key, "a b=c");
  EXPECT_EQ(options.now, 1772463600);
  EXPECT_EQ(options.seed, 18446744073709551615ULL);
  EXPECT_EQ(options.fault, FaultMode::Random);
  EXPECT_EQ(options.fault_rate, 1.0);
  EXPECT_EQ(options.fault_endpoint, Endpoint::History);
  ASSERT_TRUE(options.fault_requests);
  EXPECT_EQ(options.fault_requests->first, 3u);
  EXPECT_EQ(options.fault_requests->last, 6u);
  EXPECT_EQ(options.slow_seconds, 0);
  ASSERT_EQ(options.replays.size(), 2u);
  EXPECT_EQ(options.replays[1], std::make_pair(Endpoint::Futures, std::string("dir=x")));
  EXPECT_EQ(options.record_file, "r.jsonl");
  EXPECT_TRUE(options.help);
  EXPECT_EQ(parsed({"--api-key", ""}).api_key, "");
}

TEST(StandinOptions, NamesTheOptionOfABadValue) {
  const std::vector<std::vector<std::string>> bad = {
      {"--port", "65536"},        {"--port", "-1"},          {"--port", "80x"},
      {"--address", "0.0.0.0"},   {"--address", "::2"},      {"--address", "localhost"},
      {"--max-seconds", "0"},     {"--max-seconds", "nan"},  {"--now", "soon"},
      {"--now", "2147483648"},    {"--seed", "-1"},          {"--fault", "flaky"},
      {"--fault-rate", "1.5"},    {"--fault-endpoint", "x"}, {"--slow-seconds", "-1"},
      {"--replay", "profile"},    {"--replay", "other=x"},   {"--replay", "history="},
      {"--host-name", "a b"},     {"--api-key", "a\nb"},     {"--port"},
      {"--record", ""},           {"--bogus"},               {"--cert", "c.pem"},
      {"--advance", "-5"},        {"--advance", "5"},        {"--write-bars", "b.csv"},
      {"--bars-window", "200000,100000"},                    {"--bars-window", "100000"},
      {"--fault-requests", "6-3"},                           {"--fault-requests", "0"},
  };
  for (const auto& arguments : bad) {
    const std::string problem = problemOf(arguments);
    EXPECT_NE(problem, "") << arguments[0];
    EXPECT_NE(problem.find(arguments[0]), std::string::npos) << problem;
    EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
  }
  EXPECT_NE(problemOf({"--replay", "profile=a", "--replay", "profile=b"}), "");
  EXPECT_NE(problemOf({"--key", "k.pem"}).find("--key"), std::string::npos);
}

// "--name=" gives the empty value; it never takes the next argument instead.
TEST(StandinOptions, ReadsAnEmptyValueAfterTheEqualsSignAsEmpty) {
  const StandinOptions options = parsed({"--api-key=", "--port", "5"});
  EXPECT_EQ(options.api_key, "");
  EXPECT_EQ(options.port, 5);
  struct Case {
    std::vector<std::string> arguments;
    std::string problem;
  };
  const Case cases[] = {
      {{"--port-file=", "p"}, "--port-file: needs a file name"},
      {{"--port=", "5"}, "--port: '' is not a port number (0..65535)"},
      {{"--port"}, "--port: missing value"},
      {{"serve"}, "unknown option 'serve' (see --help)"},
      {{"--bogus=3"}, "unknown option '--bogus=3' (see --help)"},
      {{"--help=1"}, "--help: takes no value"},
      // The first value refused is told, whatever comes after it.
      {{"--port", "99999", "--address"}, "--port: '99999' is not a port number (0..65535)"},
      {{"--port", "x", "--bogus", "--now", "soon"}, "--port: 'x' is not a port number (0..65535)"},
  };
  for (const Case& c : cases) EXPECT_EQ(problemOf(c.arguments), c.problem) << c.arguments[0];
}

TEST(StandinOptions, KnowsLoopbackAddresses) {
  EXPECT_TRUE(isLoopbackAddress("127.0.0.1"));
  EXPECT_TRUE(isLoopbackAddress("127.8.9.10"));
  EXPECT_TRUE(isLoopbackAddress("::1"));
  EXPECT_FALSE(isLoopbackAddress("128.0.0.1"));
  EXPECT_FALSE(isLoopbackAddress("::"));
  EXPECT_FALSE(isLoopbackAddress("::ffff:127.0.0.1"));
}

class GeneratedIdentity : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(generateTlsIdentity("api.example.test", now, identity), "");
    gnutls_x509_crt_init(&certificate);
    const gnutls_datum_t pem = {reinterpret_cast<unsigned char*>(identity.certificate_pem.data()),
                                static_cast<unsigned>(identity.certificate_pem.size())};
    ASSERT_EQ(gnutls_x509_crt_import(certificate, &pem, GNUTLS_X509_FMT_PEM), 0);
  }
  void TearDown() override { gnutls_x509_crt_deinit(certificate); }

  const int64_t now = std::time(nullptr);
  TlsIdentity identity;
  gnutls_x509_crt_t certificate = nullptr;
};

TEST_F(GeneratedIdentity, IsItsOwnTrustAnchorForTheServiceAndLoopbackNames) {
  EXPECT_EQ(checkTlsIdentity(identity), "");
  unsigned int is_ca = 0;
  EXPECT_EQ(gnutls_x509_crt_get_basic_constraints(certificate, nullptr, &is_ca, nullptr), 1);
  EXPECT_EQ(is_ca, 1u);
  EXPECT_EQ(gnutls_x509_crt_get_activation_time(certificate), now - 86400);
  EXPECT_EQ(gnutls_x509_crt_get_expiration_time(certificate), now - 86400 + 30 * 86400);
  EXPECT_NE(gnutls_x509_crt_check_hostname(certificate, "api.example.test"), 0u);
  EXPECT_NE(gnutls_x509_crt_check_hostname(certificate, "localhost"), 0u);
  EXPECT_NE(gnutls_x509_crt_check_hostname(certificate, "127.0.0.1"), 0u);
  EXPECT_NE(gnutls_x509_crt_check_hostname(certificate, "::1"), 0u);
  EXPECT_EQ(gnutls_x509_crt_check_hostname(certificate, "api.tarvio.com"), 0u);
  EXPECT_EQ(gnutls_x509_crt_check_issuer(certificate, certificate), 1u);
  unsigned int verify = 0;
  EXPECT_EQ(gnutls_x509_crt_verify(certificate, &certificate, 1, 0, &verify), 0);
  EXPECT_EQ(verify, 0u);
}

// Each certificate has a name of its own, says it is its own issuer by key,
// and signs with full-length numbers, so clients that trust several
// stand-ins at once, or misread short signature numbers, accept every one.
TEST(GeneratedIdentities, AreToldApartAndSignedWithFullLengthNumbers) {
  std::set<std::string> subjects;
  for (int i = 0; i < 200; ++i) {
    TlsIdentity identity;
    ASSERT_EQ(generateTlsIdentity("localhost", std::time(nullptr), identity), "");
    gnutls_x509_crt_t certificate = nullptr;
    gnutls_x509_crt_init(&certificate);
    const gnutls_datum_t pem = {reinterpret_cast<unsigned char*>(identity.certificate_pem.data()),
                                static_cast<unsigned>(identity.certificate_pem.size())};
    ASSERT_EQ(gnutls_x509_crt_import(certificate, &pem, GNUTLS_X509_FMT_PEM), 0);
    char subject[256];
    size_t subject_size = sizeof subject;
    ASSERT_EQ(gnutls_x509_crt_get_dn(certificate, subject, &subject_size), 0);
    subjects.insert(subject);
    unsigned char subject_key[64], authority_key[64];
    size_t subject_key_size = sizeof subject_key, authority_key_size = sizeof authority_key;
    ASSERT_GE(gnutls_x509_crt_get_subject_key_id(certificate, subject_key, &subject_key_size, nullptr), 0);
    ASSERT_GE(gnutls_x509_crt_get_authority_key_id(certificate, authority_key, &authority_key_size, nullptr), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(subject_key), subject_key_size),
              std::string(reinterpret_cast<char*>(authority_key), authority_key_size));
    unsigned char signature[128];
    size_t signature_size = sizeof signature;
    ASSERT_GE(gnutls_x509_crt_get_signature(certificate, reinterpret_cast<char*>(signature), &signature_size), 0);
    const gnutls_datum_t value{signature, static_cast<unsigned>(signature_size)};
    gnutls_datum_t r{}, s{};
    ASSERT_GE(gnutls_decode_rs_value(&value, &r, &s), 0);
    for (const gnutls_datum_t* number : {&r, &s}) {
      const unsigned leading_zero = number->size > 0 && number->data[0] == 0 ? 1 : 0;
      EXPECT_EQ(number->size - leading_zero, 32u) << "certificate " << i;
      gnutls_free(number->data);
    }
    gnutls_x509_crt_deinit(certificate);
  }
  EXPECT_EQ(subjects.size(), 200u);
}

TEST_F(GeneratedIdentity, IsRefusedWithAnotherKeyOrBrokenText) {
  TlsIdentity other;
  ASSERT_EQ(generateTlsIdentity("api.example.test", now, other), "");
  EXPECT_NE(identity.certificate_pem, other.certificate_pem);
  TlsIdentity mixed{identity.certificate_pem, other.key_pem};
  EXPECT_EQ(checkTlsIdentity(mixed), "the key does not belong to the certificate");
  EXPECT_NE(checkTlsIdentity({"not a certificate", identity.key_pem}), "");
  EXPECT_NE(checkTlsIdentity({identity.certificate_pem, "not a key"}), "");
}

TEST_F(GeneratedIdentity, LoadsFromPemFiles) {
  standin_test::ScratchFolder folder;
  std::ofstream(folder.file("cert.pem")) << identity.certificate_pem;
  std::ofstream(folder.file("key.pem")) << identity.key_pem;
  TlsIdentity loaded;
  EXPECT_EQ(loadTlsIdentity(folder.file("cert.pem"), folder.file("key.pem"), loaded), "");
  EXPECT_EQ(loaded.certificate_pem, identity.certificate_pem);
  EXPECT_NE(loadTlsIdentity(folder.file("cert.pem"), folder.file("missing.pem"), loaded), "");
  EXPECT_NE(loadTlsIdentity(folder.file("key.pem"), folder.file("cert.pem"), loaded), "");
}

}  // namespace
}  // namespace standin
