// THttpFetch: the page fetch behind "Open Web File", on the asynchronous client. A fetch sends HEAD
// (following any "Location"), then GET to where that led, keeps the body in memory and reports its end
// from the loop; meanwhile the program's window keeps working.
#pragma once

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

#include "net/HttpClient.h"

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

// The fetch was aborted on request; nothing to report to the person who asked for it.
class EFetchCancelled : public std::runtime_error {
 public:
  EFetchCancelled() : std::runtime_error("Connection aborted on request") {}
};

class THttpFetch {
 public:
  static constexpr long long kMaxBody = 256ll << 20;

  explicit THttpFetch(platform::EventLoop& loop);

  std::string URL, Proxy, Sender, Agent, Reference;
  bool NoCache = false;
  // More certificate authorities to trust (tests); a transfer's time limit without progress.
  std::string CAFile;
  int TimeLimitMs = 30000;
  long long MaxBody = kMaxBody;

  // Starts fetching URL; done follows from the loop with nothing on success (Body() then holds the page)
  // or the error: ETcpError, ESocketError, EProtocolError, EFetchCancelled, or the conversion error
  // (std::invalid_argument) for a status code or length that is not a number.
  void Fetch(std::function<void(std::exception_ptr error)> done);
  // Ends a running fetch with EFetchCancelled.
  void Abort() { client_.Abort(); }
  bool Running() const { return client_.State() != THttpState::httpReady; }

  const std::string& Body() const { return body_; }
  int StatusCode() const { return client_.StatusCode(); }
  const std::string& StatusText() const { return client_.ReasonPhrase(); }
  long long ContentLength() const { return client_.ContentLength(); }
  const std::string& ContentType() const { return client_.ContentType(); }
  // Where the fetch ended up, after any "Location".
  std::string Location() const { return client_.Location(); }

 private:
  void RequestDone(THttpRequest type, int error);
  std::exception_ptr Failure(int error) const;
  void CheckHeaderLine(const std::string& line);

  THttpClient client_;
  std::function<void(std::exception_ptr)> done_;
  std::string body_;
  THttpState reached_ = THttpState::httpReady;
  std::string conversionError_;
};

}  // namespace net
