// A TCP listener on 127.0.0.1 that accepts every connection and never says a
// word: it tells whether a client connected at all, and it holds a client
// that waits for an answer.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "base/scoped_handle.h"

class CSilentListener {
public:
  CSilentListener() {
    WSADATA data;
    started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (listener_ == INVALID_SOCKET || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 4) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ::ntohs(address.sin_port);
    acceptor_ = std::thread([this] {
      for (;;) {
        const SOCKET accepted = ::accept(listener_, nullptr, nullptr);
        if (accepted == INVALID_SOCKET) {
          return;  // the listener was closed
        }
        held_.push_back(accepted);
        ++connections_;
        ::SetEvent(connected_.get());
      }
    });
  }
  ~CSilentListener() {
    if (listener_ != INVALID_SOCKET) {
      ::closesocket(listener_);  // ends the accept loop
    }
    if (acceptor_.joinable()) {
      acceptor_.join();
    }
    for (const SOCKET s : held_) {
      ::closesocket(s);
    }
    if (started_) {
      ::WSACleanup();
    }
  }
  CSilentListener(const CSilentListener&) = delete;
  CSilentListener& operator=(const CSilentListener&) = delete;

  std::uint16_t port() const { return port_; }
  int connections() const { return connections_.load(); }
  // True as soon as a client has connected; false when none did in time.
  bool waitConnected(DWORD milliseconds) const {
    return ::WaitForSingleObject(connected_.get(), milliseconds) == WAIT_OBJECT_0;
  }

private:
  bool started_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  std::uint16_t port_ = 0;
  std::atomic<int> connections_{0};
  std::vector<SOCKET> held_;  // the acceptor's until it has ended
  CScopedHandle connected_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::thread acceptor_;
};
