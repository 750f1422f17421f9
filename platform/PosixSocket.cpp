// Blocking TCP over POSIX sockets; connect and receive wait with poll() so no call can hang for ever.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/TcpSocket.h"

namespace platform {
namespace {

class PosixSocket : public TcpSocket {
 public:
  ~PosixSocket() override { Close(); }

  std::optional<std::string> Resolve(const std::string& host) override {
    in_addr dotted{};
    if (inet_pton(AF_INET, host.c_str(), &dotted) == 1) return host;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text, sizeof text);
    freeaddrinfo(found);
    return std::string(text);
  }

  ConnectResult Connect(const std::string& address, int port, std::chrono::milliseconds limit) override {
    Close();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return Refused();
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) return Refused(EINVAL);
    // Connect without blocking, then wait at most the limit for the answer.
    const int flags = fcntl(fd_, F_GETFL);
    fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
      if (errno != EINPROGRESS) return Refused();
      pollfd p{fd_, POLLOUT, 0};
      int ready;
      do ready = poll(&p, 1, static_cast<int>(limit.count()));
      while (ready < 0 && errno == EINTR);
      if (ready == 0) {
        Fail(ETIMEDOUT);
        return ConnectResult::TimedOut;
      }
      if (ready < 0) return Refused();
      int error = 0;
      socklen_t length = sizeof error;
      getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length);
      if (error != 0) return Refused(error);
    }
    fcntl(fd_, F_SETFL, flags);
    return ConnectResult::Connected;
  }

  bool Send(const std::string& bytes) override {
    size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Fail();
      sent += static_cast<size_t>(n);
    }
    return true;
  }

  long Receive(char* buffer, std::size_t size, std::chrono::milliseconds limit) override {
    pollfd p{fd_, POLLIN, 0};
    int ready;
    do ready = poll(&p, 1, static_cast<int>(limit.count()));
    while (ready < 0 && errno == EINTR);
    if (ready == 0) return -2;
    if (ready < 0) return Fail(), -1;
    ssize_t n;
    do n = ::recv(fd_, buffer, size, 0);
    while (n < 0 && errno == EINTR);
    if (n < 0) return Fail(), -1;
    return static_cast<long>(n);
  }

  void Close() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  int LastError() const override { return error_; }

 private:
  bool Fail(int error = errno) {
    error_ = error;
    Close();
    return false;
  }
  ConnectResult Refused(int error = errno) {
    Fail(error);
    return ConnectResult::Failed;
  }
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace

std::unique_ptr<TcpSocket> MakePosixSocket() { return std::make_unique<PosixSocket>(); }

}  // namespace platform
