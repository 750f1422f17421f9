#include "net/AsyncSocket.h"

#include <map>

namespace net {

std::string WSocketErrorDesc(int error) {
  static const std::map<int, const char*> descriptions = {
      {0, "No Error"},
      {10004, "Interrupted system call"},
      {10009, "Bad file number"},
      {10013, "Permission denied"},
      {10014, "Bad address"},
      {10022, "Invalid argument"},
      {10024, "Too many open files"},
      {10035, "Operation would block"},
      {10036, "Operation now in progress"},
      {10037, "Operation already in progress"},
      {10038, "Socket operation on non-socket"},
      {10039, "Destination address required"},
      {10040, "Message too long"},
      {10041, "Protocol wrong type for socket"},
      {10042, "Protocol not available"},
      {10043, "Protocol not supported"},
      {10044, "Socket type not supported"},
      {10045, "Operation not supported on socket"},
      {10046, "Protocol family not supported"},
      {10047, "Address family not supported by protocol family"},
      {10048, "Address already in use"},
      {10049, "Address not available"},
      {10050, "Network is down"},
      {10051, "Network is unreachable"},
      {10052, "Network dropped connection on reset"},
      {10053, "Connection aborted"},
      {10054, "Connection reset by peer"},
      {10055, "No buffer space available"},
      {10056, "Socket is already connected"},
      {10057, "Socket is not connected"},
      {10058, "Can't send after socket shutdown"},
      {10059, "Too many references: can't splice"},
      {10060, "Connection timed out"},
      {10061, "Connection refused"},
      {10062, "Too many levels of symbolic links"},
      {10063, "File name too long"},
      {10064, "Host is down"},
      {10065, "No route to host"},
      {10066, "Directory not empty"},
      {10067, "Too many processes"},
      {10068, "Too many users"},
      {10069, "Disc quota exceeded"},
      {10070, "Stale NFS file handle"},
      {10071, "Too many levels of remote in path"},
      {10091, "Network sub-system is unusable"},
      {10092, "WinSock DLL cannot support this application"},
      {10093, "WinSock not initialized"},
      {11001, "Host not found"},
      {11002, "Non-authoritative host not found"},
      {11003, "Non-recoverable error"},
      {11004, "No Data"},
  };
  const auto it = descriptions.find(error);
  return it == descriptions.end() ? "Not a WinSock error" : it->second;
}

TAsyncSocket::TAsyncSocket(platform::EventLoop& loop) : loop_(loop) {}

TAsyncSocket::~TAsyncSocket() {
  *alive_ = false;
  if (watch_.id) loop_.Unwatch(watch_);
}

void TAsyncSocket::Post(std::function<void()> call) {
  loop_.Post([alive = alive_, call = std::move(call)] {
    if (*alive) call();
  });
}

void TAsyncSocket::DnsLookup(const std::string& host) {
  lookup_.reset();
  auto finish = [this](const std::string& address, int error) {
    lookup_.reset();
    dnsResult_ = address;
    lastError_ = error;
    if (OnDnsLookupDone) OnDnsLookupDone(error);
  };
  if (host.empty()) {
    Post([finish] { finish("", 10022); });
  } else if (auto dotted = platform::DottedAddress(host)) {
    Post([finish, address = *dotted] { finish(address, 0); });
  } else {
    lookup_ = LookupStarter(loop_, host, finish);
  }
}

void TAsyncSocket::Connect() {
  if (tcp_.IsOpen() && state_ != TSocketState::wsClosed) throw ESocketException("Connect: Socket already in use", 0);
  if (Port.empty()) throw ESocketException("Connect: No Port Specified", 0);
  if (Proto.empty()) throw ESocketException("Connect: No Protocol Specified", 0);
  if (Addr.empty()) throw ESocketException("Connect: No IP Address Specified", 0);
  int port = 0;
  for (const char c : Port) port = c >= '0' && c <= '9' && port < 65536 ? port * 10 + (c - '0') : 65536;
  int error = 0;
  peerClosed_ = false;
  sendBuffers_.clear();
  tlsFailure_.clear();
  sendFailure_.clear();
  if (!tcp_.StartConnect(Addr, port, error)) {
    lastError_ = error;
    throw ESocketException("Connect: " + WSocketErrorDesc(error), error);
  }
  state_ = TSocketState::wsConnecting;
  watch_ = loop_.WatchSocket(tcp_.Descriptor(), [this](bool readable, bool writable) { Ready(readable, writable); });
  loop_.WantWrite(watch_, true);  // the end of connecting shows as the socket becoming writable
}

void TAsyncSocket::Connected() {
  const int error = tcp_.ConnectError();
  lastError_ = error;
  if (error == 0 && Secure) {
    tls_ = std::make_unique<TlsSession>(tcp_.Descriptor(), SecureHost, CAFile);
    handshaking_ = true;
    ContinueHandshake();
    return;
  }
  loop_.WantWrite(watch_, false);
  state_ = TSocketState::wsConnected;
  if (OnSessionConnected) OnSessionConnected(error);
  if (error != 0) Close();
}

void TAsyncSocket::ContinueHandshake() {
  const TlsSession::Step step = tls_->Handshake();
  if (step == TlsSession::Step::WantRead || step == TlsSession::Step::WantWrite) {
    loop_.WantWrite(watch_, step == TlsSession::Step::WantWrite);
    return;
  }
  handshaking_ = false;
  loop_.WantWrite(watch_, false);
  state_ = TSocketState::wsConnected;
  if (step == TlsSession::Step::Failed) {
    tlsFailure_ = tls_->Failure();
    lastError_ = kTlsFailed;
    if (OnSessionConnected) OnSessionConnected(kTlsFailed);
    Close();
    return;
  }
  if (OnSessionConnected) OnSessionConnected(0);
}

void TAsyncSocket::Ready(bool readable, bool writable) {
  auto alive = alive_;  // a handler may destroy the socket
  if (state_ == TSocketState::wsConnecting) {
    if (handshaking_) {
      ContinueHandshake();
    } else if (writable || readable) {
      Connected();
    }
    return;
  }
  if (state_ != TSocketState::wsConnected) return;
  // TLS may need the socket readable before queued bytes can go; plain TCP waits for it to be writable.
  if (!sendBuffers_.empty() && (writable || tls_)) TryToSend();
  if (!*alive || state_ != TSocketState::wsConnected || !readable) return;
  if (OnDataAvailable) OnDataAvailable(0);
  if (*alive && peerClosed_ && state_ == TSocketState::wsConnected) Close();
}

long TAsyncSocket::Send(const std::string& bytes) {
  if (state_ != TSocketState::wsConnected) throw ESocketException("Send: " + WSocketErrorDesc(10057), 10057);
  sendBuffers_.push_back(bytes);
  TryToSend();
  return static_cast<long>(bytes.size());
}

void TAsyncSocket::TryToSend() {
  while (!sendBuffers_.empty()) {
    std::string& block = sendBuffers_.front();
    int error = 0;
    long sent;
    if (tls_) {
      TlsSession::Step step;
      sent = tls_->Write(block.data(), block.size(), step);
      error = step == TlsSession::Step::Failed ? platform::kConnectionReset : platform::kWouldBlock;
    } else {
      sent = tcp_.Send(block.data(), block.size(), error);
    }
    if (sent < 0) {
      lastError_ = error;
      if (error == platform::kWouldBlock) {
        loop_.WantWrite(watch_, true);
        return;
      }
      // Any other failure ends the session too: this runs from the event loop, where nothing may be thrown.
      if (error != 10022 && error != 10038 && error != platform::kConnectionReset && error != platform::kNotConnected)
        sendFailure_ = "TryToSend failed: " + WSocketErrorDesc(error);
      Close();
      return;
    }
    block.erase(0, static_cast<std::size_t>(sent));
    if (block.empty()) sendBuffers_.pop_front();
  }
  loop_.WantWrite(watch_, false);
  Post([this] {
    if (OnDataSent) OnDataSent(0);
  });
}

long TAsyncSocket::Receive(char* buffer, std::size_t size) {
  if (state_ != TSocketState::wsConnected || peerClosed_) return peerClosed_ ? 0 : -1;
  long received;
  int error = 0;
  if (tls_) {
    TlsSession::Step step;
    received = tls_->Read(buffer, size, step);
    if (step == TlsSession::Step::WantWrite) loop_.WantWrite(watch_, true);
    error = step == TlsSession::Step::Failed ? platform::kConnectionReset : platform::kWouldBlock;
  } else {
    received = tcp_.Receive(buffer, size, error);
  }
  if (received == 0 || (received < 0 && error != platform::kWouldBlock)) {
    peerClosed_ = true;
    if (received < 0) lastError_ = error;
  } else if (received < 0) {
    lastError_ = error;
  }
  return received;
}

void TAsyncSocket::Close() {
  lookup_.reset();
  const bool wasOpen = tcp_.IsOpen();
  if (watch_.id) loop_.Unwatch(watch_);
  watch_ = {};
  tls_.reset();
  handshaking_ = false;
  tcp_.Close();
  sendBuffers_.clear();
  state_ = TSocketState::wsClosed;
  if (!wasOpen) return;
  const int error = peerClosed_ ? 0 : lastError_;
  Post([this, error] {
    if (OnSessionClosed) OnSessionClosed(error);
  });
}

}  // namespace net
