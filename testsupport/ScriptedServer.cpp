#include "testsupport/ScriptedServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

struct ScriptedServer::Connection {
  int socket;
  SSL* ssl = nullptr;
  ~Connection() {
    if (ssl) SSL_free(ssl);
    ::close(socket);
  }
  long Send(const char* data, std::size_t size) {
    if (!ssl) return ::send(socket, data, size, MSG_NOSIGNAL);
    std::size_t written = 0;
    return SSL_write_ex(ssl, data, size, &written) == 1 ? static_cast<long>(written) : -1;
  }
  long Receive(char* data, std::size_t size) {
    if (!ssl) return ::recv(socket, data, size, 0);
    std::size_t read = 0;
    return SSL_read_ex(ssl, data, size, &read) == 1 ? static_cast<long>(read) : -1;
  }
  // Whether the client has closed its end (a pause then ends early: nobody waits for the rest).
  bool PeerGone() {
    pollfd watched{socket, POLLRDHUP, 0};
    return ::poll(&watched, 1, 0) > 0 && (watched.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
  }
  bool SendAll(const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
      const long n = Send(bytes.data() + sent, bytes.size() - sent);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }
};

ScriptedServer::ScriptedServer(std::vector<std::string> replies, const TestCertificates::Identity* tls)
    : replies_(std::move(replies)) {
  if (tls) {
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (SSL_CTX_use_certificate_file(context, tls->certificateFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, tls->keyFile.c_str(), SSL_FILETYPE_PEM) != 1)
      throw std::runtime_error("the test server cannot load " + tls->certificateFile);
    tls_ = context;
  }
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int yes = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener_, 16);
  socklen_t length = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

ScriptedServer::~ScriptedServer() {
  stop_ = true;
  shutdown(listener_, SHUT_RDWR);
  thread_.join();
  close(listener_);
  if (tls_) SSL_CTX_free(static_cast<SSL_CTX*>(tls_));
}

std::string ScriptedServer::Url(const std::string& path) const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> ScriptedServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void ScriptedServer::Serve() {
  for (std::size_t next = 0; !stop_; ++next) {
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    Connection connection{client};
    if (next >= replies_.size()) continue;  // closed at once
    if (tls_) {
      connection.ssl = SSL_new(static_cast<SSL_CTX*>(tls_));
      SSL_set_fd(connection.ssl, client);
      if (SSL_accept(connection.ssl) != 1) {
        ++failedHandshakes_;
        continue;
      }
    }
    Answer(connection, replies_[next]);
  }
}

void ScriptedServer::Answer(Connection& connection, const std::string& script) {
  std::string reply = script;
  for (size_t at; (at = reply.find("{{port}}")) != std::string::npos;) reply.replace(at, 8, std::to_string(port_));
  std::string request;
  char c;
  while (request.find("\r\n\r\n") == std::string::npos && connection.Receive(&c, 1) == 1) request += c;
  if (const size_t length = request.find("Content-Length: "); length != std::string::npos) {
    const long size = std::atol(request.c_str() + length + 16);
    const size_t end = request.size() + static_cast<size_t>(std::max(0L, size));
    char block[65536];
    for (long n;
         request.size() < end && (n = connection.Receive(block, std::min(sizeof block, end - request.size()))) > 0;)
      request.append(block, static_cast<size_t>(n));
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
  }
  if (reply == "SILENT") {
    while (!stop_) usleep(10000);
  } else if (reply == "FLOOD") {
    const std::string chunk(65536, 'x');
    if (connection.SendAll("HTTP/1.0 200 OK\r\n\r\n"))
      while (!stop_ && connection.SendAll(chunk)) {
      }
  } else {
    std::size_t from = 0;
    for (;;) {
      const size_t pause = reply.find("{{", from);
      if (!connection.SendAll(reply.substr(from, pause - from)) || pause == std::string::npos) break;
      const size_t end = reply.find("}}", pause);
      const bool hold = reply.compare(pause, 8, "{{hold}}") == 0;
      for (int wait = hold ? 0 : std::atoi(reply.c_str() + pause + 8); !stop_ && (hold ? !released_ : wait > 0);
           wait -= 10) {
        if (connection.PeerGone()) return;
        usleep(10000);
      }
      from = end + 2;
    }
  }
  if (connection.ssl) SSL_shutdown(connection.ssl);
}
