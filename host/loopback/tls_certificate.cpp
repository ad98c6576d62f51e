#include "host/loopback/tls_certificate.h"

#include <fcntl.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace zorvloopback {
namespace {

constexpr long kValidFromSeconds = -3600;
constexpr long kValidForSeconds = 365L * 24 * 3600;

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
  void operator()(X509* cert) const { X509_free(cert); }
};
struct FileClose {
  void operator()(FILE* file) const { fclose(file); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Cert = std::unique_ptr<X509, CertFree>;
using OutFile = std::unique_ptr<FILE, FileClose>;

// OpenSSL's last error as text, after `what`; the error queue is emptied.
std::string Problem(const std::string& what) {
  const unsigned long code = ERR_get_error();
  ERR_clear_error();
  if (code == 0) return what;
  char text[256];
  ERR_error_string_n(code, text, sizeof(text));
  return what + ": " + text;
}

bool AddExtension(X509* cert, int nid, const std::string& value) {
  X509V3_CTX context;
  X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
  if (extension == nullptr) return false;
  const bool added = X509_add_ext(cert, extension, -1) == 1;
  X509_EXTENSION_free(extension);
  return added;
}

// A random serial number, so that two certificates of one name are never taken for one another.
bool SetRandomSerial(X509* cert) {
  BIGNUM* serial = BN_new();
  const bool ok = serial != nullptr && BN_rand(serial, 64, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) == 1 &&
                  BN_to_ASN1_INTEGER(serial, X509_get_serialNumber(cert)) != nullptr;
  BN_free(serial);
  return ok;
}

Cert NewSelfSignedCert(EVP_PKEY* key, const std::string& commonName, const std::string& subjectAltNames,
                       std::string& problem) {
  Cert cert(X509_new());
  X509* raw = cert.get();
  const bool made =
      raw != nullptr && X509_set_version(raw, 2) == 1 && SetRandomSerial(raw) &&
      X509_gmtime_adj(X509_getm_notBefore(raw), kValidFromSeconds) != nullptr &&
      X509_gmtime_adj(X509_getm_notAfter(raw), kValidForSeconds) != nullptr && X509_set_pubkey(raw, key) == 1 &&
      X509_NAME_add_entry_by_txt(X509_get_subject_name(raw), "CN", MBSTRING_ASC,
                                 reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0) == 1 &&
      X509_set_issuer_name(raw, X509_get_subject_name(raw)) == 1;
  if (!made) {
    problem = Problem("cannot fill in the certificate");
    return nullptr;
  }
  // Being its own authority, it must be allowed to act as one; serverAuth lets it serve TLS.
  if (!AddExtension(raw, NID_basic_constraints, "critical,CA:TRUE") ||
      !AddExtension(raw, NID_subject_alt_name, subjectAltNames) ||
      !AddExtension(raw, NID_ext_key_usage, "serverAuth") ||
      !AddExtension(raw, NID_subject_key_identifier, "hash")) {
    problem = Problem("cannot add the certificate's extensions (names \"" + subjectAltNames + "\")");
    return nullptr;
  }
  if (X509_sign(raw, key, EVP_sha256()) <= 0) {
    problem = Problem("cannot sign the certificate");
    return nullptr;
  }
  return cert;
}

// Opens `path` for writing, created with `mode` (an existing file is emptied and keeps its own).
OutFile OpenForWriting(const std::string& path, mode_t mode) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return nullptr;
  FILE* file = ::fdopen(fd, "w");
  if (file == nullptr) ::close(fd);
  return OutFile(file);
}

bool WriteCert(const std::string& path, X509* cert) {
  OutFile file = OpenForWriting(path, 0644);
  return file && PEM_write_X509(file.get(), cert) == 1 && fflush(file.get()) == 0;
}

bool WriteKey(const std::string& path, EVP_PKEY* key) {
  OutFile file = OpenForWriting(path, 0600);
  return file && fchmod(fileno(file.get()), 0600) == 0 &&
         PEM_write_PrivateKey(file.get(), key, nullptr, nullptr, 0, nullptr, nullptr) == 1 &&
         fflush(file.get()) == 0;
}

}  // namespace

std::optional<CertificateFiles> WriteSelfSignedCertificate(const std::filesystem::path& folder, const std::string& stem,
                                                           const std::string& subjectAltNames, std::string& problem) {
  Key key(EVP_EC_gen("P-256"));
  if (!key) {
    problem = Problem("cannot make a key");
    return std::nullopt;
  }
  const Cert cert = NewSelfSignedCert(key.get(), stem, subjectAltNames, problem);
  if (!cert) return std::nullopt;
  const CertificateFiles files{(folder / (stem + "-cert.pem")).string(), (folder / (stem + "-key.pem")).string()};
  if (!WriteKey(files.keyPath, key.get())) {
    problem = "cannot write " + files.keyPath;
    return std::nullopt;
  }
  if (!WriteCert(files.certPath, cert.get())) {
    problem = "cannot write " + files.certPath;
    return std::nullopt;
  }
  return files;
}

}  // namespace zorvloopback
