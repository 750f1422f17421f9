// TAsyncSocket: a TCP connection driven by the program's event loop. Name lookup, connecting, sending and
// receiving never block; the socket reports through its handlers: lookup done, session connected, data
// available, data sent and session closed. With Secure set, a TLS session is set up after connecting and
// everything sent and received goes through it.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "net/TlsSession.h"
#include "platform/AsyncSockets.h"
#include "platform/EventLoop.h"

namespace net {

enum class TSocketState {
  wsInvalidState,
  wsOpened,
  wsBound,
  wsConnecting,
  wsConnected,
  wsAccepting,
  wsListening,
  wsClosed
};

class ESocketException : public std::runtime_error {
 public:
  ESocketException(const std::string& message, int code) : std::runtime_error(message), Code(code) {}
  int Code;
};

// The error a session ends with when its TLS handshake fails; TlsFailure() says why.
inline constexpr int kTlsFailed = 20001;

// The description of a socket error number ("Connection refused" for 10061).
std::string WSocketErrorDesc(int error);

class TAsyncSocket {
 public:
  explicit TAsyncSocket(platform::EventLoop& loop);
  ~TAsyncSocket();
  TAsyncSocket(const TAsyncSocket&) = delete;
  TAsyncSocket& operator=(const TAsyncSocket&) = delete;

  std::string Addr, Port, Proto;
  // Set before Connect for a TLS session whose certificate must name SecureHost; CAFile adds authorities.
  bool Secure = false;
  std::string SecureHost, CAFile;
  // How names are looked up; tests and the fuzzer replace it.
  platform::HostLookupStarter LookupStarter = platform::StartHostLookup;

  std::function<void(int error)> OnDnsLookupDone, OnSessionConnected, OnDataAvailable, OnDataSent, OnSessionClosed;

  TSocketState State() const { return state_; }
  const std::string& DnsResult() const { return dnsResult_; }
  int LastError() const { return lastError_; }
  const std::string& TlsFailure() const { return tlsFailure_; }
  // Why sending failed on a connection that then closed ("TryToSend failed: ..."); empty when it did not.
  const std::string& SendFailure() const { return sendFailure_; }

  // Looks host up; OnDnsLookupDone follows (from the loop, even for a dotted address).
  void DnsLookup(const std::string& host);
  void CancelDnsLookup() { lookup_.reset(); }
  // Starts connecting to Addr, Port and Proto; OnSessionConnected follows. Raises ESocketException when
  // the socket is in use, a setting is missing or connecting fails at once.
  void Connect();
  // Queues bytes and sends what the system takes now; the rest goes as the socket becomes writable.
  long Send(const std::string& bytes);
  // What is waiting: bytes read, 0 at the end of the data, -1 when nothing is pending (LastError 10035) or
  // on an error. Called from OnDataAvailable.
  long Receive(char* buffer, std::size_t size);
  // Closes the connection; OnSessionClosed follows from the loop when one was open.
  void Close();

 private:
  void Ready(bool readable, bool writable);
  void Connected();
  void ContinueHandshake();
  void TryToSend();
  void Post(std::function<void()> call);

  platform::EventLoop& loop_;
  platform::NonBlockingTcp tcp_;
  std::unique_ptr<TlsSession> tls_;
  bool handshaking_ = false;
  platform::WatchId watch_;
  std::unique_ptr<platform::HostLookup> lookup_;
  TSocketState state_ = TSocketState::wsClosed;
  std::string dnsResult_, tlsFailure_, sendFailure_;
  int lastError_ = 0;
  std::deque<std::string> sendBuffers_;
  bool peerClosed_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace net
