// The TLS certificate and private key the server presents: generated fresh
// (self-signed ECDSA P-256, usable as its own trust anchor) or loaded from
// PEM files and checked to belong together. Functions return an empty text
// on success or one line saying what is wrong.
#pragma once

#include <cstdint>
#include <string>

namespace standin {

struct TlsIdentity {
  std::string certificate_pem;
  std::string key_pem;
};

// A self-signed certificate valid from a day before `now_s` for 30 days,
// with CA:TRUE, key usage for signing and certificate signing, the TLS
// server purpose, common name `host_name` and subject alternative names
// DNS `host_name`, DNS localhost, IP 127.0.0.1 and IP ::1.
std::string generateTlsIdentity(const std::string& host_name, int64_t now_s, TlsIdentity& identity);

// Reads both PEM files and checks them with checkTlsIdentity.
std::string loadTlsIdentity(const std::string& certificate_path, const std::string& key_path,
                            TlsIdentity& identity);

// Checks that the certificate and key parse and that the key is the
// certificate's.
std::string checkTlsIdentity(const TlsIdentity& identity);

}  // namespace standin
