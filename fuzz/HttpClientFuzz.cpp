// libFuzzer entry point: arbitrary server replies to the HTTP client. A listener on 127.0.0.1, watched by
// the same loop as the client, answers every connection with the input's bytes and closes its side. The
// first byte picks the request (GET or HEAD) and the largest body. Checks that every request ends, once,
// in the ready state, with counts that agree with what arrived.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/HttpClient.h"
#include "platform/headless/PollEventLoop.h"

namespace {

struct Listener {
  int socket = -1;
  int port = 0;
  Listener() {
    socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(socket, 64) != 0)
      std::abort();
    socklen_t length = sizeof address;
    getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
  }
};

// Names are never looked up: only the listener's dotted address is reachable.
class NoLookup : public platform::HostLookup {};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Listener listener;
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  const std::string reply(reinterpret_cast<const char*>(data) + 1, size - 1);

  platform::headless::PollEventLoop loop;
  std::vector<int> accepted;
  const platform::WatchId watch = loop.WatchSocket(listener.socket, [&](bool, bool) {
    const int client = accept4(listener.socket, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    // Written whole, then only the sending side is closed, so the client reads everything before the end.
    if (!reply.empty()) send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
    shutdown(client, SHUT_WR);
    accepted.push_back(client);
  });

  net::THttpClient client(loop);
  client.CtrlSocket().LookupStarter = [](platform::EventLoop& loop, const std::string&, auto done) {
    loop.Post([done] { done("", platform::kHostNotFound); });
    return std::make_unique<NoLookup>();
  };
  client.TimeLimitMs = 2000;
  client.MaxBody = (choice & 2) ? 64 : 0;
  long long delivered = 0;
  client.OnDocData = [&](const char*, std::size_t n) { delivered += static_cast<long long>(n); };
  int ends = 0;
  client.OnRequestDone = [&](net::THttpRequest, int) {
    ++ends;
    if (client.State() != net::THttpState::httpReady) std::abort();
  };
  client.URL = "http://127.0.0.1:" + std::to_string(listener.port) + "/page.htm";
  if (choice & 1)
    client.HeadASync();
  else
    client.GetASync();
  if (!loop.RunUntil([&] { return ends > 0; }, 10000)) std::abort();
  loop.RunFor(0);
  if (ends != 1 || delivered != client.RcvdCount()) std::abort();
  if (client.MaxBody > 0 && client.RcvdCount() > client.MaxBody) std::abort();
  loop.Unwatch(watch);
  for (int socket : accepted) close(socket);
  // Connections the client opened but the loop never accepted are dropped before the next input.
  while (true) {
    const int late = accept4(listener.socket, nullptr, nullptr, SOCK_CLOEXEC);
    if (late < 0) break;
    close(late);
  }
  return 0;
}
