// A blocking TCP connection with time limits: what the page fetch needs of the platform's sockets.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace platform {

class TcpSocket {
 public:
  virtual ~TcpSocket() = default;
  // The IPv4 address of a dotted address or a host name (its first address); nothing when it has none.
  virtual std::optional<std::string> Resolve(const std::string& host) = 0;
  enum class ConnectResult { Connected, Failed, TimedOut };
  // Connects to a dotted IPv4 address within the time limit.
  virtual ConnectResult Connect(const std::string& address, int port, std::chrono::milliseconds limit) = 0;
  virtual bool Send(const std::string& bytes) = 0;
  // Up to size bytes; 0 when the peer closed the connection, -1 on an error, -2 when the time limit passed.
  virtual long Receive(char* buffer, std::size_t size, std::chrono::milliseconds limit) = 0;
  virtual void Close() = 0;
  // The last error the system reported.
  virtual int LastError() const = 0;
};

// POSIX sockets.
std::unique_ptr<TcpSocket> MakePosixSocket();

}  // namespace platform
