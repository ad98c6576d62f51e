// Test certificates: a certificate authority and a server certificate it signed, made at run time
// with OpenSSL and written as PEM files, so TLS tests need no files of their own. Point the host
// setting "Net.CAFile" at caPath to make the client trust the server. Test code only.
//
// Thread safety: MakeTestCertificates may be called from any thread.

#ifndef ZORVCAPSULE_HOST_NET_TEST_TLS_CERTIFICATE_H_
#define ZORVCAPSULE_HOST_NET_TEST_TLS_CERTIFICATE_H_

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace zorvnet::testing {

struct TestCertificateFiles {
  std::string caPath;    // the authority's certificate
  std::string certPath;  // the server's certificate
  std::string keyPath;   // the server's private key
};

namespace certificate_detail {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
  void operator()(X509* cert) const { X509_free(cert); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Cert = std::unique_ptr<X509, CertFree>;

inline void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test certificate: ") + what);
}

inline Key NewKey() {
  Key key(EVP_EC_gen("P-256"));
  Check(key != nullptr, "key generation");
  return key;
}

inline void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx(&context, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  Check(extension != nullptr, "extension");
  X509_add_ext(cert, extension, -1);
  X509_EXTENSION_free(extension);
}

// A certificate for `key` named `commonName`, signed by issuerKey (self-signed when issuer is null).
inline Cert NewCert(EVP_PKEY* key, const std::string& commonName, X509* issuer,
                    EVP_PKEY* issuerKey, long serial, const std::string& subjectAltNames) {
  Cert cert(X509_new());
  Check(cert != nullptr, "certificate");
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
  X509_set_pubkey(cert.get(), key);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
  X509_set_issuer_name(cert.get(), issuer ? X509_get_subject_name(issuer) : name);
  X509* signer = issuer ? issuer : cert.get();
  if (subjectAltNames.empty()) {
    AddExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    AddExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(cert.get(), signer, NID_subject_alt_name, subjectAltNames.c_str());
    AddExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
  }
  Check(X509_sign(cert.get(), issuerKey, EVP_sha256()) > 0, "signing");
  return cert;
}

inline void WritePem(const std::filesystem::path& path, X509* cert, EVP_PKEY* key) {
  BIO* file = BIO_new_file(path.c_str(), "w");
  Check(file != nullptr, "opening a PEM file");
  const bool ok = cert ? PEM_write_bio_X509(file, cert) == 1
                       : PEM_write_bio_PrivateKey(file, key, nullptr, nullptr, 0, nullptr,
                                                  nullptr) == 1;
  BIO_free(file);
  Check(ok, "writing a PEM file");
}

}  // namespace certificate_detail

// Writes `<prefix>-ca.pem`, `<prefix>-cert.pem` and `<prefix>-key.pem` into `folder`. The server
// certificate carries `subjectAltNames` in OpenSSL's form, such as "IP:127.0.0.1,DNS:localhost".
inline TestCertificateFiles MakeTestCertificates(const std::filesystem::path& folder,
                                                 const std::string& prefix,
                                                 const std::string& subjectAltNames) {
  using namespace certificate_detail;
  Key caKey = NewKey();
  Cert ca = NewCert(caKey.get(), prefix + " test authority", nullptr, caKey.get(), 1, "");
  Key serverKey = NewKey();
  Cert server = NewCert(serverKey.get(), "127.0.0.1", ca.get(), caKey.get(), 2, subjectAltNames);
  TestCertificateFiles files{(folder / (prefix + "-ca.pem")).string(),
                             (folder / (prefix + "-cert.pem")).string(),
                             (folder / (prefix + "-key.pem")).string()};
  WritePem(files.caPath, ca.get(), nullptr);
  WritePem(files.certPath, server.get(), nullptr);
  WritePem(files.keyPath, nullptr, serverKey.get());
  return files;
}

}  // namespace zorvnet::testing

#endif  // ZORVCAPSULE_HOST_NET_TEST_TLS_CERTIFICATE_H_
