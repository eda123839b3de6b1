#include "tools/standin/tls_identity.h"

#include <gnutls/crypto.h>
#include <gnutls/gnutls.h>
#include <gnutls/x509.h>

#include <cstdio>

#include "tools/support/input_file.h"

namespace standin {

namespace {

constexpr int64_t kDaySeconds = 86400;
constexpr int64_t kValidDays = 30;

// Owns the gnutls objects of one generation.
struct GenerationState {
  gnutls_x509_privkey_t key = nullptr;
  gnutls_x509_crt_t certificate = nullptr;
  ~GenerationState() {
    if (certificate != nullptr) gnutls_x509_crt_deinit(certificate);
    if (key != nullptr) gnutls_x509_privkey_deinit(key);
  }
};

std::string failure(const char* step, int code) { return std::string(step) + ": " + gnutls_strerror(code); }

// Moves a gnutls-allocated datum into a string.
std::string takeDatum(gnutls_datum_t& datum) {
  std::string text(reinterpret_cast<const char*>(datum.data), datum.size);
  gnutls_free(datum.data);
  datum.data = nullptr;
  return text;
}

gnutls_datum_t datumOf(const std::string& text) {
  return {reinterpret_cast<unsigned char*>(const_cast<char*>(text.data())), static_cast<unsigned>(text.size())};
}

// Whether both numbers of the certificate's ECDSA signature take all 32
// bytes of the P-256 curve (a leading zero byte only marks the sign).
bool hasFullLengthSignature(gnutls_x509_crt_t certificate) {
  unsigned char signature[128];
  size_t size = sizeof signature;
  if (gnutls_x509_crt_get_signature(certificate, reinterpret_cast<char*>(signature), &size) < 0) return true;
  const gnutls_datum_t value{signature, static_cast<unsigned>(size)};
  gnutls_datum_t r{}, s{};
  if (gnutls_decode_rs_value(&value, &r, &s) < 0) return true;
  auto significant = [](const gnutls_datum_t& number) {
    unsigned length = number.size;
    for (unsigned i = 0; i < number.size && number.data[i] == 0; ++i) --length;
    return length;
  };
  const bool full = significant(r) == 32 && significant(s) == 32;
  gnutls_free(r.data);
  gnutls_free(s.data);
  return full;
}

// Sets the certificate's fields: serial, names, validity, key, uses and the
// names and addresses it answers for. Empty, or the failure of the first
// field that could not be set.
std::string describeCertificate(gnutls_x509_crt_t c, gnutls_x509_privkey_t key, const std::string& host_name,
                                int64_t now_s) {
  unsigned char serial[16];
  gnutls_rnd(GNUTLS_RND_NONCE, serial, sizeof serial);
  serial[0] = static_cast<unsigned char>((serial[0] & 0x7F) | 0x01);  // positive, no leading zero
  const unsigned char ipv4_loopback[4] = {127, 0, 0, 1};
  unsigned char ipv6_loopback[16] = {};
  ipv6_loopback[15] = 1;
  const char* organisation = "tarvio-standin";
  // Every certificate gets a name of its own: a client that trusts several
  // stand-ins at once finds each one's issuer by name, and identical names
  // would let it check a signature against the wrong stand-in's key.
  char unit[48];
  int unitLength = std::snprintf(unit, sizeof unit, "stand-in ");
  for (unsigned char byte : serial) unitLength += std::snprintf(unit + unitLength, sizeof unit - unitLength, "%02x", byte);
  const time_t activation = static_cast<time_t>(now_s - kDaySeconds);

  struct Step {
    const char* name;
    int code;
  };
  const Step steps[] = {
      {"version", gnutls_x509_crt_set_version(c, 3)},
      {"serial", gnutls_x509_crt_set_serial(c, serial, sizeof serial)},
      {"activation time", gnutls_x509_crt_set_activation_time(c, activation)},
      {"expiration time", gnutls_x509_crt_set_expiration_time(c, activation + kValidDays * kDaySeconds)},
      {"common name", gnutls_x509_crt_set_dn_by_oid(c, GNUTLS_OID_X520_COMMON_NAME, 0, host_name.data(),
                                                    static_cast<unsigned>(host_name.size()))},
      {"organisation", gnutls_x509_crt_set_dn_by_oid(c, GNUTLS_OID_X520_ORGANIZATION_NAME, 0, organisation,
                                                     static_cast<unsigned>(std::char_traits<char>::length(organisation)))},
      {"unit", gnutls_x509_crt_set_dn_by_oid(c, GNUTLS_OID_X520_ORGANIZATIONAL_UNIT_NAME, 0, unit,
                                             static_cast<unsigned>(unitLength))},
      {"public key", gnutls_x509_crt_set_key(c, key)},
      {"basic constraints", gnutls_x509_crt_set_basic_constraints(c, 1, -1)},
      {"key usage",
       gnutls_x509_crt_set_key_usage(c, GNUTLS_KEY_DIGITAL_SIGNATURE | GNUTLS_KEY_KEY_CERT_SIGN)},
      {"key purpose", gnutls_x509_crt_set_key_purpose_oid(c, GNUTLS_KP_TLS_WWW_SERVER, 0)},
      {"host name",
       gnutls_x509_crt_set_subject_alt_name(c, GNUTLS_SAN_DNSNAME, host_name.data(),
                                            static_cast<unsigned>(host_name.size()), GNUTLS_FSAN_APPEND)},
      {"localhost name",
       gnutls_x509_crt_set_subject_alt_name(c, GNUTLS_SAN_DNSNAME, "localhost", 9, GNUTLS_FSAN_APPEND)},
      {"IPv4 address", gnutls_x509_crt_set_subject_alt_name(c, GNUTLS_SAN_IPADDRESS, ipv4_loopback,
                                                            sizeof ipv4_loopback, GNUTLS_FSAN_APPEND)},
      {"IPv6 address", gnutls_x509_crt_set_subject_alt_name(c, GNUTLS_SAN_IPADDRESS, ipv6_loopback,
                                                            sizeof ipv6_loopback, GNUTLS_FSAN_APPEND)},
  };
  for (const Step& step : steps) {
    if (step.code < 0) return failure(step.name, step.code);
  }
  return {};
}

// Names the certificate's key and signs it with that key: it is its own
// issuer. Empty, or the failure.
std::string selfSign(gnutls_x509_crt_t c, gnutls_x509_privkey_t key) {
  unsigned char key_id[64];
  size_t key_id_size = sizeof key_id;
  int code = gnutls_x509_crt_get_key_id(c, 0, key_id, &key_id_size);
  if (code >= 0) code = gnutls_x509_crt_set_subject_key_id(c, key_id, key_id_size);
  // Saying it is its own issuer by key lets clients match it exactly.
  if (code >= 0) code = gnutls_x509_crt_set_authority_key_id(c, key_id, key_id_size);
  if (code < 0) return failure("subject key id", code);
  // Signed again until both numbers of the signature are full length: some
  // clients' certificate checks (Wine's among them) misread a signature whose
  // r or s is shorter than the curve, about one certificate in a hundred.
  for (int attempt = 0;; ++attempt) {
    code = gnutls_x509_crt_sign2(c, c, key, GNUTLS_DIG_SHA256, 0);
    if (code < 0) return failure("signing", code);
    if (hasFullLengthSignature(c) || attempt == 63) return {};
  }
}

}  // namespace

std::string generateTlsIdentity(const std::string& host_name, int64_t now_s, TlsIdentity& identity) {
  GenerationState s;
  int code = gnutls_x509_privkey_init(&s.key);
  if (code < 0) return failure("key init", code);
  code = gnutls_x509_privkey_generate(s.key, GNUTLS_PK_ECDSA, GNUTLS_CURVE_TO_BITS(GNUTLS_ECC_CURVE_SECP256R1), 0);
  if (code < 0) return failure("key generation", code);
  code = gnutls_x509_crt_init(&s.certificate);
  if (code < 0) return failure("certificate init", code);
  if (std::string problem = describeCertificate(s.certificate, s.key, host_name, now_s); !problem.empty())
    return problem;
  if (std::string problem = selfSign(s.certificate, s.key); !problem.empty()) return problem;

  gnutls_datum_t datum{};
  code = gnutls_x509_crt_export2(s.certificate, GNUTLS_X509_FMT_PEM, &datum);
  if (code < 0) return failure("certificate export", code);
  identity.certificate_pem = takeDatum(datum);
  code = gnutls_x509_privkey_export2_pkcs8(s.key, GNUTLS_X509_FMT_PEM, nullptr, GNUTLS_PKCS_PLAIN, &datum);
  if (code < 0) return failure("key export", code);
  identity.key_pem = takeDatum(datum);
  return {};
}

std::string checkTlsIdentity(const TlsIdentity& identity) {
  gnutls_certificate_credentials_t credentials = nullptr;
  int code = gnutls_certificate_allocate_credentials(&credentials);
  if (code < 0) return failure("credentials", code);
  const gnutls_datum_t certificate = datumOf(identity.certificate_pem);
  const gnutls_datum_t key = datumOf(identity.key_pem);
  code = gnutls_certificate_set_x509_key_mem2(credentials, &certificate, &key, GNUTLS_X509_FMT_PEM, nullptr, 0);
  gnutls_certificate_free_credentials(credentials);
  if (code == GNUTLS_E_CERTIFICATE_KEY_MISMATCH) return "the key does not belong to the certificate";
  if (code < 0) return failure("certificate or key unusable", code);
  return {};
}

std::string loadTlsIdentity(const std::string& certificate_path, const std::string& key_path,
                            TlsIdentity& identity) {
  support::Result<std::string> certificate = support::readInputFile(certificate_path, support::kPemFileBound_bytes);
  if (!certificate) return certificate.message();
  support::Result<std::string> key = support::readInputFile(key_path, support::kPemFileBound_bytes);
  if (!key) return key.message();
  TlsIdentity loaded;
  loaded.certificate_pem = std::move(certificate.value());
  loaded.key_pem = std::move(key.value());
  if (std::string problem = checkTlsIdentity(loaded); !problem.empty()) {
    return certificate_path + " / " + key_path + ": " + problem;
  }
  identity = std::move(loaded);
  return {};
}

}  // namespace standin
