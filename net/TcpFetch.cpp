// Address splitting, the HEAD-then-GET exchange and the line and body readers.
#include "net/TcpFetch.h"

#include <algorithm>
#include <cctype>

namespace net {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A port or length as the program always read them: a decimal integer, else the conversion error.
long long ToInteger(const std::string& text) {
  size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (text.empty() || used != text.size()) throw std::invalid_argument("'" + text + "' is not a valid integer value");
  return value;
}

}  // namespace

AddressParts SplitAddress(const std::string& address) {
  AddressParts parts;
  std::string rest = address;
  if (const size_t scheme = address.find("://"); scheme != std::string::npos) {
    parts.scheme = address.substr(0, scheme);
    rest = address.substr(scheme + 3);
  } else if (Lower(address.substr(0, 7)) == "mailto:") {
    parts.scheme = "mailto";
    rest = address.substr(address.find(':') + 1);
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

void TTcpClient::Connect() {
  const auto address = socket_->Resolve(Host);
  if (!address) throw ETcpError("Couldn't resolve hostname " + Host);
  switch (socket_->Connect(*address, Port, limit_)) {
    case platform::TcpSocket::ConnectResult::Connected:
      break;
    case platform::TcpSocket::ConnectResult::TimedOut:
      throw TimedOut();
    case platform::TcpSocket::ConnectResult::Failed:
      throw ESocketError(socket_->LastError());
  }
  closed_ = false;
}

ETcpError TTcpClient::TimedOut() const { return ETcpError("The server " + Host + " did not answer in time"); }

void TTcpClient::SendLine(const std::string& text) {
  if (!socket_->Send(text + "\r\n")) throw ESocketError(socket_->LastError());
}

bool TTcpClient::ReceiveByte(char& c) {
  if (closed_) return false;
  const long n = socket_->Receive(&c, 1, limit_);
  if (n == -2) throw TimedOut();
  if (n <= 0) closed_ = true;
  return n > 0;
}

std::string TTcpClient::ReadLine() {
  std::string line;
  bool afterCR = false;
  char c;
  while (ReceiveByte(c)) {
    if (c == '\r') {
      afterCR = true;
      continue;
    }
    if (c == '\n') {
      if (afterCR) return line;
      continue;  // a lone LF is dropped
    }
    afterCR = false;
    line += c;
  }
  return line;
}

void TTcpClient::ReadBody() {
  body_.clear();
  char block[4096];
  while (!closed_) {
    const long n = socket_->Receive(block, sizeof block, limit_);
    if (n == -2) throw TimedOut();
    if (n <= 0) {
      closed_ = true;
      break;
    }
    if (body_.size() + static_cast<size_t>(n) > maxBody_)
      throw ETcpError("The page at " + Host + " is larger than " + std::to_string(maxBody_ >> 20) + " MB");
    body_.append(block, static_cast<size_t>(n));
  }
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

std::string THttpFetch::AskedAddress() const {
  if (!Proxy.empty()) return path_;
  return "http://" + Host + (Port == 80 ? "" : ":" + std::to_string(Port)) + path_;
}

void THttpFetch::SendRequest(const char* method) {
  SendLine(std::string(method) + " " + path_ + " HTTP/1.0");
  // HTTP/1.0 allows the Host line, and servers that hold several sites need it to find the page.
  const AddressParts asked = SplitAddress(AskedAddress());
  SendLine("Host: " + asked.host + (asked.port.empty() ? "" : ":" + asked.port));
  if (!Sender.empty()) SendLine("From: " + Sender);
  if (!Reference.empty()) SendLine("Referer: " + Reference);
  if (!Agent.empty()) SendLine("User-Agent: " + Agent);
  if (NoCache) SendLine("Pragma: no-cache");
  SendLine("");
}

void THttpFetch::ReadHeader(bool head) {
  for (;;) {
    const std::string line = ReadLine();
    if (line.empty()) return;
    // Servers answer an HTTP/1.0 request with a 1.0 or a 1.1 status line; both are read alike.
    if (line.compare(0, 7, "HTTP/1.") == 0 && line.size() >= 8) {
      statusCode_ = static_cast<int>(ToInteger(line.size() > 9 ? line.substr(9, 3) : std::string()));
      statusText_ = line.size() > 13 ? line.substr(13) : std::string();
      if (head && statusCode_ >= 400) return;
      continue;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string name = Lower(line.substr(0, colon));
    const std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : std::string();
    if (name == "content-length") {
      contentLength_ = ToInteger(value);
    } else if (name == "content-type") {
      contentType_ = value;
    } else if (name == "location" && head) {
      const std::string address = ResolveLocation(AskedAddress(), value);
      if (!Proxy.empty()) {
        path_ = address;
      } else {
        const AddressParts to = SplitAddress(address);
        path_ = to.path;
        Host = to.host;
        if (!to.port.empty()) Port = static_cast<int>(ToInteger(to.port));
      }
    }
  }
}

void THttpFetch::Fetch() {
  const AddressParts target = SplitAddress(Proxy.empty() ? URL : Proxy);
  Host = target.host;
  const std::string port = target.port.empty() ? (Proxy.empty() ? "80" : "8080") : target.port;
  path_ = Proxy.empty() ? target.path : URL;
  if (path_.empty()) path_ = "/";
  Port = static_cast<int>(ToInteger(port));

  Connect();
  SendRequest("HEAD");
  ReadHeader(true);
  Close();

  Connect();
  SendRequest("GET");
  ReadHeader(false);
  if (statusCode_ > 299) {
    Close();
    throw EProtocolError(statusText_, statusCode_);
  }
  ReadBody();
  Close();
}

}  // namespace net
