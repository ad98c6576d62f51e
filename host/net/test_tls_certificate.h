// Test certificates: a self-signed server certificate made at run time (host/loopback/tls_certificate.h),
// so TLS tests need no files of their own. Point the host setting "Net.CAFile" at caPath to make the
// client trust the server; a certificate made by another call is not trusted through it. Test code
// only.
//
// Thread safety: MakeTestCertificates may be called from any thread.

#ifndef ZORVCAPSULE_HOST_NET_TEST_TLS_CERTIFICATE_H_
#define ZORVCAPSULE_HOST_NET_TEST_TLS_CERTIFICATE_H_

#include <filesystem>
#include <stdexcept>
#include <string>

#include "host/loopback/tls_certificate.h"

namespace zorvnet::testing {

struct TestCertificateFiles {
  std::string caPath;    // what the client trusts: the certificate itself
  std::string certPath;  // the server's certificate
  std::string keyPath;   // the server's private key
};

// Writes `<prefix>-cert.pem` and `<prefix>-key.pem` into `folder`. The certificate carries
// `subjectAltNames` in OpenSSL's form, such as "IP:127.0.0.1,DNS:localhost".
inline TestCertificateFiles MakeTestCertificates(const std::filesystem::path& folder,
                                                 const std::string& prefix,
                                                 const std::string& subjectAltNames) {
  std::string problem;
  const auto files = zorvloopback::WriteSelfSignedCertificate(folder, prefix, subjectAltNames, problem);
  if (!files) throw std::runtime_error("test certificate: " + problem);
  return {files->certPath, files->certPath, files->keyPath};
}

}  // namespace zorvnet::testing

#endif  // ZORVCAPSULE_HOST_NET_TEST_TLS_CERTIFICATE_H_
