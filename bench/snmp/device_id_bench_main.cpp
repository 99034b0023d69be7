// device_id_bench <agent|silent> <community> [count]
// Times whole device-ID checks of one printer, as the capability check makes them: `count`
// checks of an agent, or one check of a silent peer (a loopback socket that never
// answers) whose goal is two one-second time-outs and no more.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "printer/network_device_id.h"

namespace {
std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// A bound UDP socket on 127.0.0.1 that is never read; its address in `address`.
int SilentPeer(std::string& address)
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(a);
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return -1;
    address = "127.0.0.1:" + std::to_string(ntohs(a.sin_port));
    return s;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <agent|silent> <community> [count]\n", argv[0]);
        return 2;
    }
    std::string agent = argv[1];
    const std::wstring community = Wide(argv[2]);
    int count = argc > 3 ? std::atoi(argv[3]) : 200;
    int silent = -1;
    if (agent == "silent") {
        silent = SilentPeer(agent);
        if (silent < 0)
            return 1;
        count = 1;
    }
    std::wstring id;
    int result = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        result = QueryNetworkDeviceID(Wide(agent), community, id);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (silent >= 0)
        close(silent);
    std::printf("result %d, device ID \"%ls\"\n", result, id.c_str());
    std::printf("%d checks in %.1f ms (%.1f us/check)\n", count, seconds * 1e3, seconds * 1e6 / count);
    return 0;
}
