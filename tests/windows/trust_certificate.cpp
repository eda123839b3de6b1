// Adds PEM certificates to the machine's trusted roots, for a throw-away
// Wine prefix in which the Windows tests talk to loopback stand-ins of the
// service. Usage: tarvio_trust_certificate CERT.pem...
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool readFile(const char* path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return true;
}

// The DER bytes of the first certificate in a PEM text.
bool pemToDer(const std::string& pem, std::vector<BYTE>& der) {
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                            nullptr, &size, nullptr, nullptr)) {
    return false;
  }
  der.resize(size);
  return CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                              der.data(), &size, nullptr, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tarvio_trust_certificate CERT.pem...\n");
    return 2;
  }
  HCERTSTORE roots = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT");
  if (roots == nullptr) {
    std::fprintf(stderr, "tarvio_trust_certificate: cannot open the trusted roots (error %lu)\n",
                 GetLastError());
    return 1;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    std::string pem;
    std::vector<BYTE> der;
    if (!readFile(argv[i], pem) || !pemToDer(pem, der)) {
      std::fprintf(stderr, "tarvio_trust_certificate: %s holds no PEM certificate\n", argv[i]);
      status = 1;
      continue;
    }
    if (!CertAddEncodedCertificateToStore(roots, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
      std::fprintf(stderr, "tarvio_trust_certificate: cannot add %s (error %lu)\n", argv[i], GetLastError());
      status = 1;
    }
  }
  CertCloseStore(roots, 0);
  return status;
}
