// A socket that answers each connection with the next scripted reply, a few bytes at a time, and keeps
// what it was sent. Hosts named "unresolvable" do not resolve.
#pragma once

#include <algorithm>
#include <deque>
#include <vector>

#include "platform/TcpSocket.h"

namespace platform::fakes {

class ScriptedSocket : public TcpSocket {
 public:
  struct Script {
    std::deque<std::string> replies;
    std::vector<std::string> sent;  // one entry per connection
    std::size_t chunk = 3;          // bytes handed out per receive
  };
  explicit ScriptedSocket(Script& script) : script_(script) {}

  std::optional<std::string> Resolve(const std::string& host) override {
    if (host == "unresolvable") return std::nullopt;
    return std::string("127.0.0.1");
  }
  ConnectResult Connect(const std::string&, int, std::chrono::milliseconds) override {
    if (script_.replies.empty()) return ConnectResult::Failed;
    reply_ = script_.replies.front();
    script_.replies.pop_front();
    script_.sent.emplace_back();
    return ConnectResult::Connected;
  }
  bool Send(const std::string& bytes) override {
    script_.sent.back() += bytes;
    return true;
  }
  long Receive(char* buffer, std::size_t size, std::chrono::milliseconds) override {
    const std::size_t n = std::min({size, script_.chunk, reply_.size()});
    std::copy_n(reply_.data(), n, buffer);
    reply_.erase(0, n);
    return static_cast<long>(n);
  }
  void Close() override {}
  int LastError() const override { return 111; }

 private:
  Script& script_;
  std::string reply_;
};

}  // namespace platform::fakes
