// Non-blocking sockets and threaded lookups over POSIX.
#include "platform/AsyncSockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "platform/BackgroundJob.h"

namespace platform {

int SocketErrorNumber(int systemError) {
  static const std::map<int, int> numbers = {{0, 0},
                                             {EINTR, 10004},
                                             {EBADF, 10009},
                                             {EACCES, 10013},
                                             {EFAULT, 10014},
                                             {EINVAL, 10022},
                                             {EMFILE, 10024},
                                             {EWOULDBLOCK, kWouldBlock},
                                             {EINPROGRESS, kInProgress},
                                             {EALREADY, 10037},
                                             {ENOTSOCK, 10038},
                                             {EDESTADDRREQ, 10039},
                                             {EMSGSIZE, 10040},
                                             {EPROTOTYPE, 10041},
                                             {ENOPROTOOPT, 10042},
                                             {EPROTONOSUPPORT, 10043},
                                             {ESOCKTNOSUPPORT, 10044},
                                             {EOPNOTSUPP, 10045},
                                             {EPFNOSUPPORT, 10046},
                                             {EAFNOSUPPORT, 10047},
                                             {EADDRINUSE, 10048},
                                             {EADDRNOTAVAIL, 10049},
                                             {ENETDOWN, 10050},
                                             {ENETUNREACH, 10051},
                                             {ENETRESET, 10052},
                                             {ECONNABORTED, 10053},
                                             {ECONNRESET, kConnectionReset},
                                             {EPIPE, kConnectionReset},
                                             {ENOBUFS, 10055},
                                             {EISCONN, 10056},
                                             {ENOTCONN, kNotConnected},
                                             {ESHUTDOWN, 10058},
                                             {ETOOMANYREFS, 10059},
                                             {ETIMEDOUT, 10060},
                                             {ECONNREFUSED, 10061},
                                             {ELOOP, 10062},
                                             {ENAMETOOLONG, 10063},
                                             {EHOSTDOWN, 10064},
                                             {EHOSTUNREACH, 10065},
                                             {ENOTEMPTY, 10066},
                                             {EUSERS, 10068},
                                             {EDQUOT, 10069},
                                             {ESTALE, 10070},
                                             {EREMOTE, 10071}};
  const auto it = numbers.find(systemError);
  return it == numbers.end() ? systemError : it->second;
}

std::optional<std::string> DottedAddress(const std::string& host) {
  in_addr address{};
  if (inet_pton(AF_INET, host.c_str(), &address) != 1) return std::nullopt;
  return host;
}

bool NonBlockingTcp::StartConnect(const std::string& dottedAddress, int port, int& error) {
  Close();
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, dottedAddress.c_str(), &to.sin_addr) != 1 || port <= 0 || port > 65535) {
    error = 10049;
    return false;
  }
  descriptor_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (descriptor_ < 0) {
    error = SocketErrorNumber(errno);
    return false;
  }
  const int on = 1;
  setsockopt(descriptor_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  setsockopt(descriptor_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (::connect(descriptor_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
    error = 0;
    return true;
  }
  error = SocketErrorNumber(errno);
  if (error == kInProgress || error == kWouldBlock) return true;
  Close();
  return false;
}

int NonBlockingTcp::ConnectError() const {
  int failure = 0;
  socklen_t size = sizeof failure;
  if (getsockopt(descriptor_, SOL_SOCKET, SO_ERROR, &failure, &size) != 0) failure = errno;
  return SocketErrorNumber(failure);
}

long NonBlockingTcp::Send(const char* bytes, std::size_t size, int& error) {
  const long sent = ::send(descriptor_, bytes, size, MSG_NOSIGNAL);
  error = sent < 0 ? SocketErrorNumber(errno == EAGAIN ? EWOULDBLOCK : errno) : 0;
  return sent;
}

long NonBlockingTcp::Receive(char* buffer, std::size_t size, int& error) {
  const long received = ::recv(descriptor_, buffer, size, 0);
  error = received < 0 ? SocketErrorNumber(errno == EAGAIN ? EWOULDBLOCK : errno) : 0;
  return received;
}

void NonBlockingTcp::Close() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
}

namespace {

// What the lookup thread and the loop share: the thread writes the answer, the loop reads it when the
// job is done.
struct LookupAnswer {
  std::mutex mutex;
  std::string address;
  int error = 0;
};

class ThreadedLookup : public HostLookup {
 public:
  ThreadedLookup(EventLoop& loop, const std::string& host,
                 std::function<void(const std::string& address, int error)> done) {
    auto answer = std::make_shared<LookupAnswer>();
    job_ = StartBackgroundJob(
        loop, [answer, host] { Resolve(*answer, host); },
        [answer, done = std::move(done)] {
          std::string address;
          int error;
          {
            std::lock_guard<std::mutex> lock(answer->mutex);
            address = answer->address;
            error = answer->error;
          }
          done(address, error);
        });
  }

 private:
  static void Resolve(LookupAnswer& answer, const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int failure = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    std::lock_guard<std::mutex> lock(answer.mutex);
    if (failure != 0 || !found) {
      answer.error = failure == EAI_AGAIN ? 11002 : failure == EAI_FAIL ? 11003 : kHostNotFound;
    } else {
      char text[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text, sizeof text);
      answer.address = text;
    }
    if (found) freeaddrinfo(found);
  }

  std::unique_ptr<BackgroundJob> job_;
};

}  // namespace

std::unique_ptr<HostLookup> StartHostLookup(EventLoop& loop, const std::string& host,
                                            std::function<void(const std::string& address, int error)> done) {
  return std::make_unique<ThreadedLookup>(loop, host, std::move(done));
}

}  // namespace platform
