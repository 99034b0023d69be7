#include <winsock2.h>
#include <ws2tcpip.h>

#include "ipp/ipp_no_delay.h"

#include <cstring>

namespace ipp {

namespace {

// WinHTTP does not hand out its socket. A socket is a handle of the process, and the one a
// request stands on is the only one with both its endpoints; the search looks at the first
// handle values only, so that it stays short (once per connection) where the socket is not
// among them.
constexpr UINT_PTR kLastHandleSearched = 8192;

bool SameEndpoint(const sockaddr_storage& a, const sockaddr_storage& b)
{
    if (a.ss_family != b.ss_family)
        return false;
    if (a.ss_family == AF_INET) {
        const auto& x = reinterpret_cast<const sockaddr_in&>(a);
        const auto& y = reinterpret_cast<const sockaddr_in&>(b);
        return x.sin_port == y.sin_port && x.sin_addr.s_addr == y.sin_addr.s_addr;
    }
    if (a.ss_family == AF_INET6) {
        const auto& x = reinterpret_cast<const sockaddr_in6&>(a);
        const auto& y = reinterpret_cast<const sockaddr_in6&>(b);
        return x.sin6_port == y.sin6_port && std::memcmp(&x.sin6_addr, &y.sin6_addr, sizeof(x.sin6_addr)) == 0;
    }
    return false;
}

bool ConnectionInfo(HINTERNET hRequest, WINHTTP_CONNECTION_INFO& info)
{
    info = {};
    info.cbSize = sizeof(info);
    DWORD size = sizeof(info);
    return WinHttpQueryOption(hRequest, WINHTTP_OPTION_CONNECTION_INFO, &info, &size) &&
           (info.LocalAddress.ss_family == AF_INET || info.LocalAddress.ss_family == AF_INET6);
}

}  // namespace

bool SendWithoutDelay(HINTERNET hRequest)
{
    WINHTTP_CONNECTION_INFO info;
    if (!ConnectionInfo(hRequest, info))
        return false;
    for (UINT_PTR value = 4; value <= kLastHandleSearched; value += 4) {
        const auto s = static_cast<SOCKET>(value);
        sockaddr_storage local = {}, remote = {};
        int nLocal = sizeof(local), nRemote = sizeof(remote);
        if (getsockname(s, reinterpret_cast<sockaddr*>(&local), &nLocal) != 0 ||
            !SameEndpoint(local, info.LocalAddress) ||
            getpeername(s, reinterpret_cast<sockaddr*>(&remote), &nRemote) != 0 ||
            !SameEndpoint(remote, info.RemoteAddress))
            continue;
        const BOOL on = TRUE;
        return setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof(on)) == 0;
    }
    return false;
}

}  // namespace ipp
