// TTcpClient and THttpFetch: the blocking HTTP/1.0 fetch behind "Open Web File". A fetch sends HEAD (which
// may redirect through "location"), then GET, and keeps the response body in memory.
#pragma once

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/TcpSocket.h"

namespace net {

class ETcpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Error creating socket", with the system's error code.
class ESocketError : public std::runtime_error {
 public:
  explicit ESocketError(int code) : std::runtime_error("Error creating socket"), Code(code) {}
  int Code;
};

// The server's status text, with the protocol and the status code.
class EProtocolError : public std::runtime_error {
 public:
  EProtocolError(const std::string& text, int code) : std::runtime_error(text), Protocol("HTTP"), Code(code) {}
  std::string Protocol;
  int Code;
};

// The parts of an address; every part is empty when the address has none.
struct AddressParts {
  std::string scheme, user, password, host, port, path;
};
AddressParts SplitAddress(const std::string& address);
// A "Location" value as a whole address: one without a scheme is taken relative to base, the address that
// was asked for (from its host when it starts with "/", else from the folder of base's path).
std::string ResolveLocation(const std::string& base, const std::string& location);

class TTcpClient {
 public:
  // Connecting and every receive wait at most this long; a body may be at most this large.
  static constexpr std::chrono::seconds kTimeLimit{30};
  static constexpr std::size_t kMaxBody = 256u << 20;

  explicit TTcpClient(std::unique_ptr<platform::TcpSocket> socket) : socket_(std::move(socket)) {}
  virtual ~TTcpClient() = default;

  std::string Host;
  int Port = 0;
  // The last response body.
  const std::string& Body() const { return body_; }

 protected:
  void Connect();
  void Close() { socket_->Close(); }
  void SendLine(const std::string& text);
  // A line without its end: CR is dropped, LF ends the line only after a CR (a lone LF is dropped).
  std::string ReadLine();
  bool AtEnd() const { return closed_; }
  // Everything to the end of the connection.
  void ReadBody();
  void SetTimeLimit(std::chrono::milliseconds limit) { limit_ = limit; }
  void SetMaxBody(std::size_t bytes) { maxBody_ = bytes; }

 private:
  bool ReceiveByte(char& c);
  ETcpError TimedOut() const;
  std::unique_ptr<platform::TcpSocket> socket_;
  std::string body_;
  bool closed_ = false;
  std::chrono::milliseconds limit_ = kTimeLimit;
  std::size_t maxBody_ = kMaxBody;
  friend class THttpFetch;
};

class THttpFetch : public TTcpClient {
 public:
  explicit THttpFetch(std::unique_ptr<platform::TcpSocket> socket) : TTcpClient(std::move(socket)) {}

  std::string URL, Proxy, Sender, Agent, Reference;
  bool NoCache = false;

  // Fetches URL; Body() then holds the page.
  void Fetch();
  int StatusCode() const { return statusCode_; }
  const std::string& StatusText() const { return statusText_; }
  long long ContentLength() const { return contentLength_; }
  const std::string& ContentType() const { return contentType_; }
  // For tests: a shorter wait than the 30 seconds, a smaller largest body.
  using TTcpClient::SetMaxBody;
  using TTcpClient::SetTimeLimit;

 private:
  // The address the next request asks for, with host and port as they are now.
  std::string AskedAddress() const;
  void SendRequest(const char* method);
  void ReadHeader(bool head);

  std::string path_;
  int statusCode_ = 0;
  std::string statusText_;
  long long contentLength_ = 0;
  std::string contentType_;
};

}  // namespace net
