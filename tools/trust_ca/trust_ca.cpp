// Adds a certificate (PEM or DER file) to the machine's trusted root store, as a fleet does
// with its own certificate authority; used by the tests and the demo for their test CA.
// Usage: trust_ca <certificate file>
#include <windows.h>
#include <wincrypt.h>

#include <stdio.h>

#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  FILE* file = fopen(argv[1], "rb");
  if (file == nullptr) return 3;
  std::vector<char> content;
  char chunk[4096];
  size_t read;
  while ((read = fread(chunk, 1, sizeof chunk, file)) > 0)
    content.insert(content.end(), chunk, chunk + read);
  fclose(file);

  std::vector<BYTE> der(content.size());
  DWORD derSize = static_cast<DWORD>(der.size());
  if (!CryptStringToBinaryA(content.data(), static_cast<DWORD>(content.size()),
                            CRYPT_STRING_BASE64HEADER, der.data(), &derSize, nullptr, nullptr)) {
    der.assign(content.begin(), content.end());  // not PEM: take the bytes as DER
    derSize = static_cast<DWORD>(der.size());
  }
  HCERTSTORE root =
      CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "ROOT");
  if (root == nullptr) return 4;
  BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), derSize,
                                                CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  CertCloseStore(root, 0);
  return added ? 0 : 5;
}
