#include "snmp/udp_socket.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <cerrno>
#include <netdb.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>
#endif

#include "snmp/ber_codec.h"

namespace snmp_net {
namespace {
#ifdef _WIN32
using NativeSocket = SOCKET;
constexpr NativeSocket kNoSocket = INVALID_SOCKET;
void CloseNative(NativeSocket s) { closesocket(s); }
bool WasRefused() { return WSAGetLastError() == WSAECONNRESET || WSAGetLastError() == WSAECONNREFUSED; }
bool WasInterrupted() { return WSAGetLastError() == WSAEINTR; }
#else
using NativeSocket = int;
constexpr NativeSocket kNoSocket = -1;
void CloseNative(NativeSocket s) { close(s); }
bool WasRefused() { return errno == ECONNREFUSED; }
bool WasInterrupted() { return errno == EINTR; }
#endif
}  // namespace

UdpSocket::~UdpSocket() { Close(); }

void UdpSocket::Close()
{
    if (static_cast<NativeSocket>(m_socket) != kNoSocket)
        CloseNative(static_cast<NativeSocket>(m_socket));
    m_socket = kNoSocket;
}

OpenResult UdpSocket::Open(const NetworkAddress& address)
{
    Close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    if (address.isIPv6())
        hints.ai_flags = AI_NUMERICHOST;
    addrinfo* list = nullptr;
    std::string port = std::to_string(address.getPort());
    if (getaddrinfo(address.getHost().c_str(), port.c_str(), &hints, &list) != 0 || !list)
        return OpenResult::NotResolved;
    OpenResult result = OpenResult::SocketFailed;
    for (addrinfo* ai = list; ai; ai = ai->ai_next) {
        NativeSocket s = socket(ai->ai_family, ai->ai_socktype, ai->ai_protocol);
        if (s == kNoSocket)
            continue;
        if (connect(s, ai->ai_addr, static_cast<int>(ai->ai_addrlen)) != 0) {
            CloseNative(s);
            continue;
        }
        m_socket = s;
        result = OpenResult::Opened;
        break;
    }
    freeaddrinfo(list);
    return result;
}

bool UdpSocket::Send(const std::vector<uint8_t>& datagram)
{
    auto s = static_cast<NativeSocket>(m_socket);
    if (s == kNoSocket)
        return false;
    auto sent = send(s, reinterpret_cast<const char*>(datagram.data()), static_cast<int>(datagram.size()), 0);
    return sent == static_cast<decltype(sent)>(datagram.size());
}

ReceiveResult UdpSocket::Receive(std::vector<uint8_t>& datagram, std::chrono::steady_clock::time_point deadline)
{
    auto s = static_cast<NativeSocket>(m_socket);
    if (s == kNoSocket)
        return ReceiveResult::Failed;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return ReceiveResult::TimedOut;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        timeval tv{};
        tv.tv_sec = static_cast<long>(left.count() / 1000000);
        tv.tv_usec = static_cast<long>(left.count() % 1000000);
        int ready = select(static_cast<int>(s + 1), &readable, nullptr, nullptr, &tv);
        if (ready < 0) {
            if (WasInterrupted())
                continue;
            return ReceiveResult::Failed;
        }
        if (ready == 0)
            continue;  // the loop head sees the deadline
        // One byte more than the largest SNMP message, so an oversized datagram shows.
        datagram.resize(snmp_ber::kMaxMessageBytes + 1);
        auto n = recv(s, reinterpret_cast<char*>(datagram.data()), static_cast<int>(datagram.size()), 0);
        if (n < 0) {
            datagram.clear();
            if (WasInterrupted())
                continue;
#ifdef _WIN32
            if (WSAGetLastError() == WSAEMSGSIZE)
                continue;  // larger than any message we accept: drop it
#endif
            return WasRefused() ? ReceiveResult::Refused : ReceiveResult::Failed;
        }
        datagram.resize(static_cast<size_t>(n));
        return ReceiveResult::Datagram;
    }
}

}  // namespace snmp_net
