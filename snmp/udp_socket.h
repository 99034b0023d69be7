#pragma once
// A connected UDP socket to one agent: BSD sockets natively, Winsock on Windows.
// Connecting lets the system drop datagrams from any other address.
#include <chrono>
#include <cstdint>
#include <vector>

#include "snmp/network_address.h"

namespace snmp_net {

enum class OpenResult { Opened, NotResolved, SocketFailed };
enum class ReceiveResult { Datagram, TimedOut, Refused, Failed };

class UdpSocket {
public:
    UdpSocket() = default;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    ~UdpSocket();

    // Resolves the host and connects to the first address a socket can be made for.
    OpenResult Open(const NetworkAddress& address);
    bool Send(const std::vector<uint8_t>& datagram);
    // Waits for one datagram until the deadline; `datagram` is resized to what came.
    ReceiveResult Receive(std::vector<uint8_t>& datagram, std::chrono::steady_clock::time_point deadline);

private:
    void Close();
#ifdef _WIN32
    uintptr_t m_socket = ~uintptr_t{0};
#else
    int m_socket = -1;
#endif
};

}  // namespace snmp_net
