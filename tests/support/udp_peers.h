#pragma once
// UDP peers for SNMP tests, on 127.0.0.1 in both builds: a free port finder, an agent
// that never answers, and a relay that loses the first request on its way to a real agent.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace udp_test {

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNone = INVALID_SOCKET;
inline void CloseSocket(Socket s) { closesocket(s); }
struct Winsock {
    Winsock() { WSADATA d; WSAStartup(MAKEWORD(2, 2), &d); }
    ~Winsock() { WSACleanup(); }
};
#else
using Socket = int;
constexpr Socket kNone = -1;
inline void CloseSocket(Socket s) { close(s); }
struct Winsock {
    Winsock() {}
};
#endif

inline sockaddr_in Loopback(uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// A UDP socket bound to 127.0.0.1 on a port the system chose.
inline Socket BindLoopback(uint16_t& port)
{
    Socket s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in a = Loopback(0);
    if (s == kNone || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0)
        return kNone;
    socklen_t len = sizeof(a);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return s;
}

// A port that was free a moment ago (for handing to another process).
inline uint16_t FreePort()
{
    Winsock ws;
    uint16_t port = 0;
    Socket s = BindLoopback(port);
    if (s != kNone)
        CloseSocket(s);
    return port;
}

inline bool Readable(Socket s, int ms)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return select(static_cast<int>(s + 1), &set, nullptr, nullptr, &tv) > 0;
}

// Base of the threaded peers: one bound socket and a stop flag.
class Peer {
public:
    Peer() { m_socket = BindLoopback(m_port); }
    virtual ~Peer() { Stop(); }
    uint16_t Port() const { return m_port; }
    int Received() const { return m_received.load(); }
    // The count once it has reached `nAtLeast`, or what it is when `timeout` has passed:
    // the peer's thread may take the last datagram a moment after the sender is done.
    int WaitForReceived(int nAtLeast, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (m_received.load() < nAtLeast && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return m_received.load();
    }

protected:
    void Start() { m_thread = std::thread([this] { Run(); }); }
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_socket != kNone)
            CloseSocket(m_socket);
        m_socket = kNone;
    }
    virtual void Run() = 0;

    Winsock m_winsock;
    Socket m_socket = kNone;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_received{0};
    std::thread m_thread;
};

// Takes every request and never answers.
class SilentAgent : public Peer {
public:
    SilentAgent() { Start(); }
    ~SilentAgent() override { Stop(); }
    // When its first request came, to tell checks side by side from checks one after another.
    std::optional<std::chrono::steady_clock::time_point> FirstRequest() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_first;
    }
    void ForgetFirstRequest()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_first.reset();
    }

private:
    void Run() override
    {
        char buf[2048];
        while (!m_stop) {
            if (!Readable(m_socket, 50))
                continue;
            if (recv(m_socket, buf, sizeof(buf), 0) >= 0) {
                const std::lock_guard<std::mutex> lock(m_mutex);
                if (!m_first)
                    m_first = std::chrono::steady_clock::now();
                ++m_received;
            }
        }
    }

    mutable std::mutex m_mutex;
    std::optional<std::chrono::steady_clock::time_point> m_first;
};

// Drops the first `drop` requests and forwards the rest to the agent on `agentPort`,
// sending each answer back to whoever asked.
class LossyRelay : public Peer {
public:
    LossyRelay(uint16_t agentPort, int drop) : m_agentPort(agentPort), m_drop(drop) { Start(); }
    ~LossyRelay() override { Stop(); }

private:
    void Run() override
    {
        uint16_t upstreamPort = 0;
        Socket upstream = BindLoopback(upstreamPort);
        sockaddr_in agent = Loopback(m_agentPort);
        std::vector<char> buf(65536);
        while (!m_stop) {
            if (!Readable(m_socket, 50))
                continue;
            sockaddr_in from{};
            socklen_t fromLen = sizeof(from);
            auto n = recvfrom(m_socket, buf.data(), static_cast<int>(buf.size()), 0,
                              reinterpret_cast<sockaddr*>(&from), &fromLen);
            if (n < 0)
                continue;
            if (++m_received <= m_drop)
                continue;
            sendto(upstream, buf.data(), static_cast<int>(n), 0, reinterpret_cast<sockaddr*>(&agent), sizeof(agent));
            if (!Readable(upstream, 2000))
                continue;
            auto m = recv(upstream, buf.data(), static_cast<int>(buf.size()), 0);
            if (m > 0)
                sendto(m_socket, buf.data(), static_cast<int>(m), 0, reinterpret_cast<sockaddr*>(&from), fromLen);
        }
        CloseSocket(upstream);
    }

    uint16_t m_agentPort;
    int m_drop;
};

}  // namespace udp_test
