// Non-blocking TCP over POSIX sockets and host-name lookups that do not block the caller. Errors come as
// the program has always numbered socket errors (10061 for a refused connection, 11001 for an unknown
// host), so one table of descriptions serves every platform.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/EventLoop.h"

namespace platform {

inline constexpr int kWouldBlock = 10035;
inline constexpr int kInProgress = 10036;
inline constexpr int kConnectionReset = 10054;
inline constexpr int kNotConnected = 10057;
inline constexpr int kHostNotFound = 11001;

// The number of a system error (errno), as above.
int SocketErrorNumber(int systemError);

// host itself when it is a dotted IPv4 address.
std::optional<std::string> DottedAddress(const std::string& host);

// A socket descriptor and its last error; every call leaves the error in error (0: none).
class NonBlockingTcp {
 public:
  ~NonBlockingTcp() { Close(); }
  // Creates the socket (keep-alive and address reuse on) and starts connecting; error kInProgress is the
  // normal answer, the end of connecting shows as the socket becoming writable.
  bool StartConnect(const std::string& dottedAddress, int port, int& error);
  // The error connecting ended with (0: connected).
  int ConnectError() const;
  // Bytes written, or -1 with the error (kWouldBlock when the system takes nothing now).
  long Send(const char* bytes, std::size_t size, int& error);
  // Bytes read, 0 at the end of the data, or -1 with the error (kWouldBlock when nothing is pending).
  long Receive(char* buffer, std::size_t size, int& error);
  void Close();
  int Descriptor() const { return descriptor_; }
  bool IsOpen() const { return descriptor_ >= 0; }

 private:
  int descriptor_ = -1;
};

// A running lookup; destroying it cancels the lookup (done is then never called).
class HostLookup {
 public:
  virtual ~HostLookup() = default;
};
// Resolves host to its first IPv4 address on a thread of its own and calls done(address, error) from the
// loop; error is 0 or a number such as kHostNotFound.
using HostLookupStarter = std::function<std::unique_ptr<HostLookup>(
    EventLoop& loop, const std::string& host, std::function<void(const std::string& address, int error)> done)>;
std::unique_ptr<HostLookup> StartHostLookup(EventLoop& loop, const std::string& host,
                                            std::function<void(const std::string& address, int error)> done);

}  // namespace platform
