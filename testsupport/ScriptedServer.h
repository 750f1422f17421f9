// An HTTP server on 127.0.0.1 for fetch tests, run on a thread of its own.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Answers each connection with the next scripted reply; an empty reply closes at once, "SILENT" never
// answers, "FLOOD" sends bytes until the client goes away. Keeps every request it was sent.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::vector<std::string> replies) : replies_(std::move(replies)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 4);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedServer() {
    stop_ = true;
    shutdown(listener_, SHUT_RDWR);
    close(listener_);
    thread_.join();
  }
  int Port() const { return port_; }
  std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

 private:
  void Serve() {
    for (const std::string& reply : replies_) {
      const int client = accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      std::string request;
      char c;
      while (request.find("\r\n\r\n") == std::string::npos && recv(client, &c, 1, 0) == 1) request += c;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
      }
      if (reply == "SILENT") {
        while (!stop_) usleep(10000);
      } else if (reply == "FLOOD") {
        const std::string chunk(65536, 'x');
        send(client, "HTTP/1.0 200 OK\r\n\r\n", 19, MSG_NOSIGNAL);
        while (!stop_ && send(client, chunk.data(), chunk.size(), MSG_NOSIGNAL) > 0) {
        }
      } else {
        send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
      }
      close(client);
    }
  }

  std::vector<std::string> replies_;
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> requests_;
};
