// A self-signed TLS certificate for a server on this machine, made with OpenSSL at run time. It is
// for loopback services (the command-line host's stock service and the tests' servers), never the
// library, and builds as a static library of its own outside the host layers' shared library.
//
// The certificate is its own authority: a client trusts the server by trusting the certificate file
// itself (for the library, the host setting "Net.CAFile"). Each call makes a new P-256 key, so no
// two certificates share a key and one that another run made is not trusted by mistake. The
// certificate names the server by `subjectAltNames` in OpenSSL's form ("IP:127.0.0.1,DNS:localhost")
// and is valid from an hour ago (clocks disagree) for a year.
//
// Thread safety: may be called from any thread; calls share nothing.

#ifndef ZORVCAPSULE_HOST_LOOPBACK_TLS_CERTIFICATE_H_
#define ZORVCAPSULE_HOST_LOOPBACK_TLS_CERTIFICATE_H_

#include <filesystem>
#include <optional>
#include <string>

namespace zorvloopback {

struct CertificateFiles {
  std::string certPath;  // the certificate, PEM
  std::string keyPath;   // its private key, PEM, readable by the owner only
};

// Writes "<stem>-cert.pem" and "<stem>-key.pem" into the existing `folder`, replacing files of those
// names; the certificate's common name is `stem`. On failure returns nullopt and says why in `problem`; files written so far may remain.
std::optional<CertificateFiles> WriteSelfSignedCertificate(const std::filesystem::path& folder, const std::string& stem,
                                                           const std::string& subjectAltNames, std::string& problem);

}  // namespace zorvloopback

#endif  // ZORVCAPSULE_HOST_LOOPBACK_TLS_CERTIFICATE_H_
