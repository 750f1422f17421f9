// The request's course: address, lookup, connection, request text, header lines, relocation, body, end.
#include "net/HttpClient.h"

#include <algorithm>
#include <cstring>

#include "platform/TextBits.h"

namespace net {
namespace {

bool IsSecureScheme(const std::string& scheme) { return platform::AsciiLower(scheme) == "https"; }

std::string DefaultPort(const std::string& scheme) { return IsSecureScheme(scheme) ? "443" : "80"; }

// A decimal number, or -1 when the text is not one.
long long Number(const std::string& text) {
  if (text.empty() || text.size() > 18) return -1;
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string Base64(const std::string& bytes) {
  static const char* const kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    unsigned value = 0;
    for (std::size_t k = 0; k < 3; ++k) value = value << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (std::size_t k = 0; k < 4; ++k) out += k <= n ? kAlphabet[(value >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

std::string HttpDate(std::time_t when) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm t{};
  gmtime_r(&when, &t);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %2.2d %s %4.4d %2.2d:%2.2d:%2.2d GMT", kDays[t.tm_wday], t.tm_mday,
                kMonths[t.tm_mon], t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

}  // namespace

AddressParts SplitAddress(const std::string& address) {
  AddressParts parts;
  std::string rest = address;
  if (const size_t scheme = address.find("://"); scheme != std::string::npos) {
    parts.scheme = address.substr(0, scheme);
    rest = address.substr(scheme + 3);
  } else if (!address.empty() && address[0] == '/') {
    parts.scheme = "http";
    if (address.compare(0, 2, "//") != 0) {
      parts.path = address;
      return parts;
    }
    rest = address.substr(2);
  } else if (platform::AsciiLower(address.substr(0, 5)) == "http:") {
    parts.scheme = "http";
    if (address.size() > 5 && address[5] != '/') {
      parts.path = address.substr(5);
      return parts;
    }
    rest = address.substr(std::min<size_t>(address.size(), 7));
  } else if (platform::AsciiLower(address.substr(0, 7)) == "mailto:") {
    parts.scheme = "mailto";
    rest = address.substr(7);
  }
  const size_t slash = rest.find('/');
  std::string authority = rest.substr(0, slash);
  if (slash != std::string::npos) parts.path = rest.substr(slash);
  const size_t colon = authority.rfind(':');
  const size_t at = authority.rfind('@');
  if (colon == std::string::npos && at == std::string::npos) {
    parts.host = authority;
  } else if (colon != std::string::npos && (at == std::string::npos || colon > at)) {
    parts.port = authority.substr(colon + 1);
    const size_t hostStart = at == std::string::npos ? 0 : at + 1;
    parts.host = authority.substr(hostStart, colon - hostStart);
  } else {
    parts.host = authority.substr(at + 1);
  }
  if (at != std::string::npos) {
    const std::string credentials = authority.substr(0, at);
    const size_t split = credentials.find(':');
    parts.user = credentials.substr(0, split);
    if (split != std::string::npos) parts.password = credentials.substr(split + 1);
  }
  return parts;
}

std::string ResolveLocation(const std::string& base, const std::string& location) {
  if (location.find("://") != std::string::npos) return location;
  const size_t schemeEnd = base.find("://");
  const size_t authorityStart = schemeEnd == std::string::npos ? 0 : schemeEnd + 3;
  if (location.compare(0, 2, "//") == 0)
    return (schemeEnd == std::string::npos ? std::string("http:") : base.substr(0, schemeEnd + 1)) + location;
  const size_t pathStart = std::min(base.find('/', authorityStart), base.size());
  if (!location.empty() && location[0] == '/') return base.substr(0, pathStart) + location;
  // Relative to the folder of the page that was asked for; its query plays no part.
  const std::string path = base.substr(pathStart, base.find_first_of("?#", pathStart) - pathStart);
  const size_t lastSlash = path.rfind('/');
  return base.substr(0, pathStart) + (lastSlash == std::string::npos ? "/" : path.substr(0, lastSlash + 1)) + location;
}

THttpClient::THttpClient(platform::EventLoop& loop) : loop_(loop), socket_(loop) {
  socket_.OnDnsLookupDone = [this](int error) { DnsLookupDone(error); };
  socket_.OnSessionConnected = [this](int error) { SessionConnected(error); };
  socket_.OnDataAvailable = [this](int) { DataAvailable(); };
  socket_.OnDataSent = [this](int) { DataSent(); };
  socket_.OnSessionClosed = [this](int) { SessionClosed(); };
}

THttpClient::~THttpClient() {
  *alive_ = false;
  StopTimer();
}

std::string THttpClient::Location() const {
  if (!Proxy.empty()) return path_;
  const std::string port = targetPort_ == DefaultPort(scheme_) ? "" : ":" + targetPort_;
  return (scheme_.empty() ? std::string("http") : scheme_) + "://" + hostName_ + port + path_;
}

void THttpClient::SetTarget(const std::string& address) {
  const AddressParts parts = SplitAddress(address);
  scheme_ = parts.scheme.empty() ? "http" : platform::AsciiLower(parts.scheme);
  hostName_ = parts.host;
  std::string path = parts.path.empty() ? "/" : parts.path;
  secure_ = IsSecureScheme(scheme_);
  if (Proxy.empty()) {
    targetHost_ = parts.host;
    targetPort_ = parts.port.empty() ? DefaultPort(scheme_) : parts.port;
    path_ = path;
  } else {
    // A proxy is asked for the whole address, port included, so it reaches the same page.
    path_ = scheme_ + "://" + parts.host + (parts.port.empty() ? "" : ":" + parts.port) + path;
    const AddressParts proxy = SplitAddress(Proxy);
    targetHost_ = proxy.host;
    targetPort_ = proxy.port.empty() ? ProxyPort : proxy.port;
  }
  if (!parts.user.empty()) {
    Username = parts.user;
    Password = parts.password;
  }
  std::string name = parts.path;
  if (const size_t query = name.find('?'); query != std::string::npos) name.erase(query);
  if (!name.empty() && name.back() == '/') name.pop_back();
  name = name.substr(name.rfind('/') == std::string::npos ? 0 : name.rfind('/') + 1);
  docName_ = name.empty() ? "document.htm" : name;
}

void THttpClient::Start(THttpRequest type) {
  if (state_ != THttpState::httpReady) throw EHttpException("HTTP component is busy", httperrBusy);
  if (type == THttpRequest::httpPOST && !SendStream)
    throw EHttpException("HTTP component has nothing to post", httperrNoData);
  requestType_ = type;
  rcvdHeader_.clear();
  wwwAuthenticate_.clear();
  error_ = 0;
  statusCode_ = 0;
  reasonPhrase_.clear();
  contentLength_ = -1;
  contentType_.clear();
  rcvdCount_ = sentCount_ = 0;
  redirects_ = 0;
  SetState(THttpState::httpNotConnected);
  SetTarget(URL);
  idleTicks_ = 0;
  progress_ = false;
  timer_ = loop_.StartTimer(std::max(1, TimeLimitMs / 10), [this] { ProgressTick(); });
  StartLookup();
}

void THttpClient::StartLookup() {
  headerStarted_ = bodyStarted_ = relocating_ = restart_ = statusLineSeen_ = false;
  buffered_ = 0;
  if (secure_ && !Proxy.empty()) {
    Fail(httperrSecureConnection, "Secure addresses cannot be fetched through a proxy");
    return;
  }
  SetState(THttpState::httpDnsLookup);
  socket_.DnsLookup(targetHost_);
}

void THttpClient::SetState(THttpState state) {
  state_ = state;
  if (OnStateChange) OnStateChange();
  if (state != THttpState::httpReady) return;
  loop_.Post([this, alive = alive_, type = requestType_, error = error_] {
    if (*alive && OnRequestDone) OnRequestDone(type, error);
  });
}

void THttpClient::DnsLookupDone(int error) {
  progress_ = true;
  if (state_ != THttpState::httpDnsLookup) return;
  if (error != 0) {
    error_ = error;
    statusCode_ = 404;
    reasonPhrase_ = "can't resolve hostname to IP address";
    EndRequest();
    return;
  }
  SetState(THttpState::httpDnsLookupDone);
  socket_.Addr = socket_.DnsResult();
  socket_.Port = targetPort_;
  socket_.Proto = "tcp";
  socket_.Secure = secure_;
  socket_.SecureHost = targetHost_;
  socket_.CAFile = CAFile;
  try {
    socket_.Connect();
  } catch (const ESocketException& e) {
    error_ = e.Code;
    statusCode_ = 404;
    reasonPhrase_ = "can't connect: " + WSocketErrorDesc(e.Code) + " (Error #" + std::to_string(e.Code) + ")";
    socket_.Close();
    EndRequest();
  }
}

void THttpClient::SessionConnected(int error) {
  progress_ = true;
  if (state_ != THttpState::httpDnsLookupDone) return;
  if (error != 0) {
    // The socket closes itself after a failed connect; the request ends as it closes.
    statusCode_ = 404;
    if (error == kTlsFailed) {
      error_ = httperrSecureConnection;
      reasonPhrase_ = socket_.TlsFailure();
    } else {
      error_ = error;
      reasonPhrase_ = WSocketErrorDesc(error) + " (Error #" + std::to_string(error) + ")";
    }
    return;
  }
  SetState(THttpState::httpConnected);
  if (OnSessionConnected) OnSessionConnected(0);
  SetState(THttpState::httpWaitingHeader);
  SendRequest();
}

void THttpClient::SendRequest() {
  const char* const method = requestType_ == THttpRequest::httpPOST   ? "POST"
                             : requestType_ == THttpRequest::httpHEAD ? "HEAD"
                                                                      : "GET";
  std::vector<std::string> lines;
  if (OnRequestHeaderBegin) OnRequestHeaderBegin();
  lines.push_back(std::string(method) + " " + path_ + " HTTP/1.0");
  if (!Sender.empty()) lines.push_back("From: " + Sender);
  if (!Reference.empty()) lines.push_back("Referer: " + Reference);
  if (requestType_ == THttpRequest::httpPOST && !ContentTypePost.empty())
    lines.push_back("Content-Type: " + ContentTypePost);
  if (!Agent.empty()) lines.push_back("User-Agent: " + Agent);
  // The port belongs in Host when the address names one, or a server with several sites finds none.
  const AddressParts asked = SplitAddress(Location());
  lines.push_back("Host: " + hostName_ + (asked.port.empty() ? "" : ":" + asked.port));
  if (NoCache) lines.push_back("Pragma: no-cache");
  if (requestType_ == THttpRequest::httpPOST) lines.push_back("Content-Length: " + std::to_string(SendStream->size()));
  if (ModifiedSince != 0) lines.push_back("If-Modified-Since: " + HttpDate(ModifiedSince));
  if (!Username.empty()) lines.push_back("Authorization: Basic " + Base64(Username + ":" + Password));
  if (!Proxy.empty() && !ProxyUsername.empty())
    lines.push_back("Proxy-Authorization: Basic " + Base64(ProxyUsername + ":" + ProxyPassword));
  if (!Cookie.empty()) lines.push_back("Cookie: " + Cookie);
  lines.emplace_back();
  std::string text;
  for (const std::string& line : lines) {
    if (OnCommand) OnCommand(line);
    text += line + "\r\n";
  }
  if (OnRequestHeaderEnd) OnRequestHeaderEnd();
  const bool posting = requestType_ == THttpRequest::httpPOST;
  if (posting && OnSendBegin) OnSendBegin();
  try {
    socket_.Send(posting ? text + *SendStream : text);
    if (posting) {
      sentCount_ = static_cast<long long>(SendStream->size());
      if (OnSendData) OnSendData(SendStream->size());
    }
  } catch (const ESocketException& e) {
    Fail(e.Code, e.what());
  }
}

void THttpClient::DataSent() {
  progress_ = true;
  if (requestType_ == THttpRequest::httpPOST && state_ == THttpState::httpWaitingHeader && OnSendEnd) OnSendEnd();
}

void THttpClient::DataAvailable() {
  progress_ = true;
  auto alive = alive_;  // a handler may destroy the client
  for (;;) {
    if (state_ == THttpState::httpWaitingBody) {
      char block[kBufferSize];
      const long n = socket_.Receive(block, sizeof block);
      if (n <= 0) return;
      BodyData(block, static_cast<std::size_t>(n));
      if (!*alive) return;
      continue;
    }
    if (state_ != THttpState::httpWaitingHeader || socket_.State() != TSocketState::wsConnected) return;
    if (buffered_ >= kBufferSize) {
      Fail(httperrLineTooLong, "HTTP line too long");
      return;
    }
    const long n = socket_.Receive(buffer_ + buffered_, kBufferSize - buffered_);
    if (n <= 0) return;
    buffered_ += static_cast<std::size_t>(n);
    std::size_t start = 0;
    while (state_ == THttpState::httpWaitingHeader && socket_.State() == TSocketState::wsConnected) {
      const void* found = std::memchr(buffer_ + start, '\n', buffered_ - start);
      if (!found) break;
      const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(found) - buffer_);
      std::string line(buffer_ + start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!headerStarted_ && platform::AsciiLower(line.substr(0, 6)) == "<html>") {
        // No header at all: the document starts here, its first line included.
        headerStarted_ = true;
        if (OnHeaderBegin) OnHeaderBegin();
        if (contentType_.empty()) contentType_ = "text/html";
        SetState(THttpState::httpWaitingBody);
        if (OnHeaderEnd) OnHeaderEnd();
        break;
      }
      start = end + 1;
      HeaderLine(line);
      if (!*alive) return;
    }
    if (state_ == THttpState::httpWaitingBody && start < buffered_) {
      const std::size_t rest = buffered_ - start;
      buffered_ = 0;
      BodyData(buffer_ + start, rest);
      if (!*alive) return;
      continue;
    }
    std::memmove(buffer_, buffer_ + start, buffered_ - start);
    buffered_ -= start;
  }
}

void THttpClient::HeaderLine(const std::string& line) {
  if (!headerStarted_) {
    headerStarted_ = true;
    if (OnHeaderBegin) OnHeaderBegin();
  }
  if (line.empty()) {
    HeaderDone();
    return;
  }
  rcvdHeader_.push_back(line);
  if (line.compare(0, 8, "HTTP/1.0") == 0 || line.compare(0, 8, "HTTP/1.1") == 0) {
    statusCode_ = static_cast<int>(std::max(0LL, Number(line.size() > 9 ? line.substr(9, 3) : "")));
    reasonPhrase_ = line.size() > 13 ? line.substr(13) : std::string();
    statusLineSeen_ = true;
  } else if (const size_t colon = line.find(':'); colon != std::string::npos) {
    const std::string name = platform::AsciiLower(line.substr(0, colon));
    const std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : std::string();
    if (name == "content-length") {
      contentLength_ = Number(value);
    } else if (name == "content-type") {
      contentType_ = platform::AsciiLower(value);
    } else if (name == "www-authenticate") {
      wwwAuthenticate_.push_back(value);
    } else if (name == "location") {
      Relocate(value);
    }
  }
  if (OnHeaderData) OnHeaderData(line);
  if (statusCode_ >= 400) socket_.Close();
}

void THttpClient::Relocate(const std::string& location) {
  relocating_ = true;
  const std::string address = ResolveLocation(Location(), location);
  if (Proxy.empty()) {
    SetTarget(address);
  } else {
    path_ = address;
    hostName_ = SplitAddress(address).host;
  }
}

void THttpClient::HeaderDone() {
  if (relocating_) {
    if (OnHeaderEnd) OnHeaderEnd();
    if (++redirects_ > MaxRedirects) {
      Fail(httperrTooManyRedirects, "Too many redirections");
      return;
    }
    rcvdCount_ = 0;
    contentLength_ = -1;
    restart_ = true;
    socket_.Close();  // the request starts again at the new place once the socket has closed
    return;
  }
  const size_t dot = docName_.rfind('.');
  if (dot != std::string::npos && platform::AsciiLower(docName_.substr(dot)) == ".exe" && contentType_ == "text/html")
    docName_ = docName_.substr(0, dot) + ".htm";
  SetState(THttpState::httpWaitingBody);
  if (OnHeaderEnd) OnHeaderEnd();
}

void THttpClient::BodyData(const char* data, std::size_t size) {
  if (MaxBody > 0 && rcvdCount_ + static_cast<long long>(size) > MaxBody) {
    Fail(httperrTooLarge, "The page at " + hostName_ + " is larger than " + std::to_string(MaxBody >> 20) + " MB");
    return;
  }
  if (!bodyStarted_) {
    bodyStarted_ = true;
    if (OnDocBegin) OnDocBegin();
  }
  rcvdCount_ += static_cast<long long>(size);
  if (OnDocData) OnDocData(data, size);
  if (RcvdStream) RcvdStream->write(data, static_cast<std::streamsize>(size));
}

void THttpClient::SessionClosed() {
  if (state_ == THttpState::httpReady) return;
  if (!socket_.SendFailure().empty() && state_ != THttpState::httpAborting) {
    statusCode_ = 404;
    reasonPhrase_ = socket_.SendFailure();
    error_ = socket_.LastError();
    relocating_ = restart_ = false;
  }
  // Only a complete header relocates: a connection that ends inside one ends the request.
  if (restart_ && state_ != THttpState::httpAborting) {
    if (OnLocationChange) OnLocationChange();
    StartLookup();
    return;
  }
  EndRequest();
}

void THttpClient::Fail(int error, const std::string& reason) {
  if (state_ == THttpState::httpReady || state_ == THttpState::httpAborting) return;
  statusCode_ = 404;
  reasonPhrase_ = reason;
  error_ = error;
  relocating_ = restart_ = false;
  SetState(THttpState::httpAborting);
  const TSocketState socketState = socket_.State();
  if (socketState == TSocketState::wsConnecting || socketState == TSocketState::wsConnected) {
    socket_.Close();  // the request ends as the socket closes
    return;
  }
  socket_.CancelDnsLookup();
  EndRequest();
}

void THttpClient::Abort() {
  if (state_ == THttpState::httpReady) {
    if (socket_.State() != TSocketState::wsClosed) socket_.Close();
    return;
  }
  Fail(httperrAborted, "Connection aborted on request");
}

void THttpClient::EndRequest() {
  StopTimer();
  if (bodyStarted_ && OnDocEnd) OnDocEnd();
  bodyStarted_ = false;
  SetState(THttpState::httpReady);
}

void THttpClient::ProgressTick() {
  if (progress_) {
    progress_ = false;
    idleTicks_ = 0;
  } else if (++idleTicks_ >= 10) {
    Fail(httperrTimedOut, "The server " + targetHost_ + " did not answer in time");
  }
}

void THttpClient::StopTimer() {
  if (timer_.id) loop_.StopTimer(timer_);
  timer_ = {};
}

}  // namespace net
