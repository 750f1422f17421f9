#include "net/TlsSession.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include "platform/AsyncSockets.h"

namespace net {

TlsSession::TlsSession(int descriptor, const std::string& host, const std::string& caFile) : host_(host) {
  context_ = SSL_CTX_new(TLS_client_method());
  if (!context_) {
    failure_ = "The secure connection to " + host + " could not be set up";
    return;
  }
  SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION);
  SSL_CTX_set_verify(context_, SSL_VERIFY_PEER, nullptr);
  SSL_CTX_set_default_verify_paths(context_);
  if (!caFile.empty()) SSL_CTX_load_verify_locations(context_, caFile.c_str(), nullptr);
  ssl_ = SSL_new(context_);
  SSL_set_fd(ssl_, descriptor);
  SSL_set_mode(ssl_, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
  if (platform::DottedAddress(host)) {
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), host.c_str());
  } else {
    SSL_set_tlsext_host_name(ssl_, host.c_str());
    SSL_set1_host(ssl_, host.c_str());
  }
  SSL_set_connect_state(ssl_);
}

TlsSession::~TlsSession() {
  if (ssl_) SSL_free(ssl_);
  if (context_) SSL_CTX_free(context_);
}

TlsSession::Step TlsSession::StepAfter(int result, const char* during) {
  const int error = SSL_get_error(ssl_, result);
  if (error == SSL_ERROR_WANT_READ) return Step::WantRead;
  if (error == SSL_ERROR_WANT_WRITE) return Step::WantWrite;
  const long verified = SSL_get_verify_result(ssl_);
  if (verified != X509_V_OK) {
    failure_ = "The certificate of " + host_ + " could not be verified: " + X509_verify_cert_error_string(verified);
  } else if (const unsigned long queued = ERR_peek_last_error(); queued != 0) {
    char text[256];
    ERR_error_string_n(queued, text, sizeof text);
    failure_ = std::string("The secure connection to ") + host_ + " failed " + during + ": " + text;
  } else {
    failure_ = std::string("The secure connection to ") + host_ + " was closed " + during;
  }
  ERR_clear_error();
  return Step::Failed;
}

TlsSession::Step TlsSession::Handshake() {
  if (!ssl_) return Step::Failed;
  ERR_clear_error();
  const int result = SSL_do_handshake(ssl_);
  return result == 1 ? Step::Done : StepAfter(result, "while connecting");
}

long TlsSession::Write(const char* bytes, std::size_t size, Step& step) {
  ERR_clear_error();
  std::size_t written = 0;
  if (SSL_write_ex(ssl_, bytes, size, &written) == 1) {
    step = Step::Done;
    return static_cast<long>(written);
  }
  step = StepAfter(0, "while sending");
  return -1;
}

long TlsSession::Read(char* buffer, std::size_t size, Step& step) {
  ERR_clear_error();
  std::size_t read = 0;
  if (SSL_read_ex(ssl_, buffer, size, &read) == 1) {
    step = Step::Done;
    return static_cast<long>(read);
  }
  const int error = SSL_get_error(ssl_, 0);
  // Many servers close the connection after an HTTP/1.0 answer without ending the session first; the data
  // simply ends there, as it does on a plain connection.
  if (error == SSL_ERROR_ZERO_RETURN || (error == SSL_ERROR_SYSCALL && ERR_peek_error() == 0) ||
      (error == SSL_ERROR_SSL && ERR_GET_REASON(ERR_peek_error()) == SSL_R_UNEXPECTED_EOF_WHILE_READING)) {
    ERR_clear_error();
    step = Step::Done;
    return 0;
  }
  step = StepAfter(0, "while receiving");
  return -1;
}

}  // namespace net
