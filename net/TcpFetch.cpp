// HEAD, then GET, and the page fetch's own errors made from the client's outcome.
#include "net/TcpFetch.h"

#include "platform/TextBits.h"

namespace net {
namespace {

bool IsInteger(const std::string& text) {
  std::size_t used = 0;
  try {
    std::stoll(text, &used);
  } catch (const std::exception&) {
    return false;
  }
  return used == text.size();
}

}  // namespace

THttpFetch::THttpFetch(platform::EventLoop& loop) : client_(loop) {
  client_.ProxyPort = "8080";
  client_.OnStateChange = [this] {
    if (client_.State() != THttpState::httpAborting && client_.State() > reached_) reached_ = client_.State();
  };
  client_.OnHeaderData = [this](const std::string& line) { CheckHeaderLine(line); };
  client_.OnDocData = [this](const char* data, std::size_t size) { body_.append(data, size); };
  client_.OnRequestDone = [this](THttpRequest type, int error) { RequestDone(type, error); };
}

// A status code or length that is not a number ends the fetch with the conversion error, as it always has.
void THttpFetch::CheckHeaderLine(const std::string& line) {
  std::string number;
  if (line.compare(0, 7, "HTTP/1.") == 0) {
    number = line.size() > 9 ? line.substr(9, 3) : "";
  } else if (const size_t colon = line.find(':'); colon != std::string::npos) {
    if (platform::AsciiLower(line.substr(0, colon)) != "content-length") return;
    number = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
  } else {
    return;
  }
  if (IsInteger(number) || !conversionError_.empty()) return;
  conversionError_ = "'" + number + "' is not a valid integer value";
  client_.Abort();
}

void THttpFetch::Fetch(std::function<void(std::exception_ptr error)> done) {
  done_ = std::move(done);
  body_.clear();
  conversionError_.clear();
  reached_ = THttpState::httpReady;
  client_.URL = URL;
  client_.Proxy = Proxy;
  client_.Sender = Sender;
  client_.Agent = Agent;
  client_.Reference = Reference;
  client_.NoCache = NoCache;
  client_.CAFile = CAFile;
  client_.TimeLimitMs = TimeLimitMs;
  client_.MaxBody = MaxBody;
  client_.HeadASync();
}

std::exception_ptr THttpFetch::Failure(int error) const {
  if (!conversionError_.empty()) return std::make_exception_ptr(std::invalid_argument(conversionError_));
  switch (error) {
    case httperrNoError:
      break;
    case httperrAborted:
      return std::make_exception_ptr(EFetchCancelled());
    case httperrTimedOut:
    case httperrTooLarge:
    case httperrTooManyRedirects:
    case httperrSecureConnection:
    case httperrLineTooLong:
      return std::make_exception_ptr(ETcpError(client_.ReasonPhrase()));
    default:
      if (reached_ < THttpState::httpDnsLookupDone)
        return std::make_exception_ptr(ETcpError("Couldn't resolve hostname " + client_.Hostname()));
      if (reached_ < THttpState::httpConnected) return std::make_exception_ptr(ESocketError(error));
      return std::make_exception_ptr(ETcpError(client_.ReasonPhrase()));
  }
  return nullptr;
}

void THttpFetch::RequestDone(THttpRequest type, int error) {
  std::exception_ptr failure = Failure(error);
  if (!failure && type == THttpRequest::httpHEAD) {
    // A HEAD error status is no reason to stop: the GET goes where the HEAD led.
    client_.URL = client_.Location();
    body_.clear();
    reached_ = THttpState::httpReady;
    client_.GetASync();
    return;
  }
  // A server that closed without a word, or answered with no status line, sent no page: nothing replaces
  // the editor's text.
  if (!failure && !client_.StatusLineSeen())
    failure = std::make_exception_ptr(ETcpError("The server " + client_.Hostname() + " sent no answer"));
  if (!failure && client_.StatusCode() > 299)
    failure = std::make_exception_ptr(EProtocolError(client_.ReasonPhrase(), client_.StatusCode()));
  if (failure) body_.clear();
  auto done = std::move(done_);
  done_ = nullptr;
  if (done) done(failure);
}

}  // namespace net
