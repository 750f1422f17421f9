// TLS over a connected non-blocking socket, through OpenSSL: the certificate is checked against the
// system's store (and an extra authority file, when given) and must name the host that was asked for.
#pragma once

#include <cstddef>
#include <string>

struct ssl_ctx_st;
struct ssl_st;

namespace net {

class TlsSession {
 public:
  // host is the name (or dotted address) the certificate must carry; caFile, when not empty, holds more
  // authorities to trust.
  TlsSession(int descriptor, const std::string& host, const std::string& caFile);
  ~TlsSession();
  TlsSession(const TlsSession&) = delete;
  TlsSession& operator=(const TlsSession&) = delete;

  // What a call needs before it can go on: nothing, the socket readable, the socket writable; or failed.
  enum class Step { Done, WantRead, WantWrite, Failed };
  // Call again when the socket is ready as asked, until Done or Failed.
  Step Handshake();
  // Bytes written or read (a read of 0: the peer ended the session), or -1 with step saying what to wait
  // for (or Failed).
  long Write(const char* bytes, std::size_t size, Step& step);
  long Read(char* buffer, std::size_t size, Step& step);
  // Why the handshake or a transfer failed, naming the host.
  const std::string& Failure() const { return failure_; }

 private:
  Step StepAfter(int result, const char* during);
  ssl_ctx_st* context_ = nullptr;
  ssl_st* ssl_ = nullptr;
  std::string host_;
  std::string failure_;
};

}  // namespace net
