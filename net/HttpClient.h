// THttpClient: an HTTP/1.0 client driven by the program's event loop. A request (GET, POST or HEAD) starts
// and returns at once; the client then looks the host up, connects (through TLS for "https" addresses),
// sends the request, reads the header (following "Location" to at most MaxRedirects other places) and
// hands the body on as it arrives. It ends every request with OnRequestDone, posted after the state has
// returned to ready.
#pragma once

#include <ctime>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "net/AsyncSocket.h"
#include "platform/EventLoop.h"

namespace net {

enum class THttpRequest { httpGET, httpPOST, httpHEAD };
enum class THttpState {
  httpReady,
  httpNotConnected,
  httpDnsLookup,
  httpDnsLookupDone,
  httpConnected,
  httpWaitingHeader,
  httpWaitingBody,
  httpAborting
};

// The error codes OnRequestDone reports besides a socket error number.
enum : int {
  httperrNoError = 0,
  httperrBusy = 1,
  httperrNoData = 2,
  httperrAborted = 3,
  httperrLineTooLong = 4,
  httperrTimedOut = 5,
  httperrTooLarge = 6,
  httperrTooManyRedirects = 7,
  httperrSecureConnection = 8,
};

class EHttpException : public std::runtime_error {
 public:
  EHttpException(const std::string& message, int code) : std::runtime_error(message), Code(code) {}
  int Code;
};

// The parts of an address; every part is empty when the address has none.
struct AddressParts {
  std::string scheme, user, password, host, port, path;
};
// Splits an address as the page fetch always has: scheme before "://", path from the first "/", the host
// and port at the authority's last ":" and "@", user and password before the "@".
AddressParts SplitAddress(const std::string& address);
// A "Location" value as a whole address: one without a scheme is taken relative to base, the address that
// was asked for (from its host when it starts with "/", else from the folder of base's path).
std::string ResolveLocation(const std::string& base, const std::string& location);

class THttpClient {
 public:
  static constexpr int kBufferSize = 8192;

  explicit THttpClient(platform::EventLoop& loop);
  ~THttpClient();
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;

  std::string URL, Proxy, ProxyPort = "80", Sender, Agent, Reference, Username, Password, ProxyUsername, ProxyPassword,
                          Cookie, ContentTypePost = "application/x-www-form-urlencoded";
  bool NoCache = false;
  std::time_t ModifiedSince = 0;  // UTC; 0: none
  // Where the body goes as it arrives (may stay unset); what a POST sends.
  std::ostream* RcvdStream = nullptr;
  const std::string* SendStream = nullptr;
  // More certificate authorities to trust for "https" (tests); the system's are always trusted.
  std::string CAFile;
  // A transfer ends when nothing has happened for this long; a body may be at most this large (0: any
  // size); "Location" is followed at most this often.
  int TimeLimitMs = 30000;
  long long MaxBody = 0;
  int MaxRedirects = 5;

  std::function<void(const std::string&text)> OnCommand, OnHeaderData;
  std::function<void(int error)> OnSessionConnected;
  std::function<void()> OnHeaderBegin, OnHeaderEnd, OnRequestHeaderBegin, OnRequestHeaderEnd, OnDocBegin, OnDocEnd,
      OnSendBegin, OnSendEnd, OnStateChange, OnLocationChange;
  std::function<void(const char* data, std::size_t size)> OnDocData;
  std::function<void(std::size_t sent)> OnSendData;
  std::function<void(THttpRequest type, int error)> OnRequestDone;

  // Start a request for URL and return at once; EHttpException "HTTP component is busy" (code 1) while
  // one runs, "HTTP component has nothing to post" (code 2) for a POST without SendStream.
  void GetASync() { Start(THttpRequest::httpGET); }
  void PostASync() { Start(THttpRequest::httpPOST); }
  void HeadASync() { Start(THttpRequest::httpHEAD); }
  // Stops the running request: it ends with status 404, "Connection aborted on request" and error 3.
  void Abort();

  THttpState State() const { return state_; }
  int StatusCode() const { return statusCode_; }
  // Whether the last connection's answer began with an HTTP/1.0 or HTTP/1.1 status line.
  bool StatusLineSeen() const { return statusLineSeen_; }
  const std::string& ReasonPhrase() const { return reasonPhrase_; }
  // -1 when the answer gave none.
  long long ContentLength() const { return contentLength_; }
  const std::string& ContentType() const { return contentType_; }
  const std::vector<std::string>& RcvdHeader() const { return rcvdHeader_; }
  const std::vector<std::string>& WWWAuthenticate() const { return wwwAuthenticate_; }
  long long RcvdCount() const { return rcvdCount_; }
  long long SentCount() const { return sentCount_; }
  const std::string& DocName() const { return docName_; }
  const std::string& Hostname() const { return hostName_; }
  // The address the request now stands at (after any "Location").
  std::string Location() const;

  // The socket, for tests that look up names their own way.
  TAsyncSocket& CtrlSocket() { return socket_; }

 private:
  void Start(THttpRequest type);
  // Takes an address apart into the host name, the target and the request path.
  void SetTarget(const std::string& address);
  void StartLookup();
  void SetState(THttpState state);
  void DnsLookupDone(int error);
  void SessionConnected(int error);
  void SendRequest();
  void DataAvailable();
  void HeaderLine(const std::string& line);
  void Relocate(const std::string& location);
  void HeaderDone();
  void BodyData(const char* data, std::size_t size);
  void DataSent();
  void SessionClosed();
  // Ends the running request with status 404, this error and this reason.
  void Fail(int error, const std::string& reason);
  void EndRequest();
  void ProgressTick();
  void StopTimer();

  platform::EventLoop& loop_;
  TAsyncSocket socket_;
  THttpRequest requestType_ = THttpRequest::httpGET;
  THttpState state_ = THttpState::httpReady;
  std::string scheme_, hostName_, targetHost_, targetPort_, path_, docName_;
  bool secure_ = false;
  int statusCode_ = 0;
  std::string reasonPhrase_;
  long long contentLength_ = -1;
  std::string contentType_;
  std::vector<std::string> rcvdHeader_, wwwAuthenticate_;
  bool headerStarted_ = false, bodyStarted_ = false, relocating_ = false, restart_ = false;
  bool statusLineSeen_ = false;
  int redirects_ = 0;
  long long rcvdCount_ = 0, sentCount_ = 0;
  int error_ = 0;
  char buffer_[kBufferSize + 1];
  std::size_t buffered_ = 0;
  platform::TimerId timer_;
  int idleTicks_ = 0;
  bool progress_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace net
