// device_id_bench <agent> <community> <count> <device ID>
// device_id_bench silent <community>
// Times whole device-ID checks of one printer, as the capability check makes them: `count`
// checks of an agent, each of which must bring back the device ID given, or one check of
// a silent peer (a loopback socket that never answers), which must come back empty and
// whose goal is two one-second time-outs and no more. A check that brings back anything
// else fails the benchmark: no figures, exit 1.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "printer/snmp/network_device_id.h"

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
    std::string agent = argc > 2 ? argv[1] : "";
    const bool bSilent = agent == "silent";
    if (agent.empty() || (!bSilent && argc < 5)) {
        std::fprintf(stderr, "usage: %s <agent> <community> <count> <device ID> | silent <community>\n", argv[0]);
        return 2;
    }
    const std::wstring community = Wide(argv[2]);
    // The silent peer must bring back nothing (result 0); an agent its device ID (result 1).
    const int count = bSilent ? 1 : std::atoi(argv[3]);
    const std::wstring expected = bSilent ? L"" : Wide(argv[4]);
    const int expectedResult = bSilent ? 0 : 1;
    int silent = -1;
    if (count < 1 || (bSilent && (silent = SilentPeer(agent)) < 0)) {
        std::fprintf(stderr, "nothing to measure\n");
        return 1;
    }
    int wrong = 0;
    std::wstring id;
    int result = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        result = QueryNetworkDeviceID(Wide(agent), community, id);
        wrong += result != expectedResult || id != expected;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (silent >= 0)
        close(silent);
    std::printf("result %d, device ID \"%ls\"\n", result, id.c_str());
    if (wrong) {
        std::fprintf(stderr, "%d of %d checks brought back something else; no figures\n", wrong, count);
        return 1;
    }
    std::printf("%d checks in %.1f ms (%.1f us/check)\n", count, seconds * 1e3, seconds * 1e6 / count);
    return 0;
}
