// An HTTP server on 127.0.0.1 for network tests, run on a thread of its own, plain or TLS.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "testsupport/TestCertificates.h"

// Answers each connection with the next scripted reply and keeps every request it was sent (the header,
// and as much body as Content-Length announces). An empty reply closes at once, "SILENT" never answers,
// "FLOOD" sends a header and then bytes until the client goes away; "{{pause N}}" inside a reply waits N
// milliseconds before sending what follows, "{{hold}}" waits until Release() is called, and "{{port}}" stands
// for the server's own port. Connections after the last reply are closed at once. With an identity the server
// speaks TLS; a client that rejects the certificate counts as a failed handshake.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::vector<std::string> replies, const TestCertificates::Identity* tls = nullptr);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int Port() const { return port_; }
  std::string Url(const std::string& path = "/") const;
  std::vector<std::string> Requests();
  int FailedHandshakes() const { return failedHandshakes_; }
  // Lets every reply waiting at "{{hold}}" go on.
  void Release() { released_ = true; }

 private:
  struct Connection;
  void Serve();
  void Answer(Connection& connection, const std::string& script);

  std::vector<std::string> replies_;
  void* tls_ = nullptr;  // SSL_CTX
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> released_{false};
  std::atomic<int> failedHandshakes_{0};
  std::mutex mutex_;
  std::vector<std::string> requests_;
};
