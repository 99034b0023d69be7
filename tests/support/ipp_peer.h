#pragma once
// An IPP peer on a free loopback port for a Windows test under Wine: the real
// ippeveprinter or the hostile responder, started through tests/support/ipp_printer.sh
// (Wine cannot wait for a Linux program, so the script reports through files) and
// stopped when the object goes.
#include <windows.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "tests/support/child_process.h"

class IppPeer {
public:
    // `kind` is "printer", "printer-tls" or "printer-sign-in" (then `options` go to
    // ippeveprinter), "hostile" or "hostile-tls"; nPort 0 takes a free port.
    explicit IppPeer(const std::string& kind, const std::string& options = std::string(), unsigned short nPort = 0)
    {
        // Wine gives process IDs again from one start to the next: the time keeps a folder
        // left by an earlier run from being read as this peer's.
        static int s_nPeers = 0;
        m_dir = "/tmp/lumeo_ipp_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) + "_" +
                std::to_string(++s_nPeers);
        Shell((nPort ? "/usr/bin/env IPP_PORT=" + std::to_string(nPort) + " " : std::string()) +
              "/bin/sh " LUMEO_SOURCE_DIR "/tests/support/ipp_printer.sh " + m_dir + " " + kind + " " + options);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < until) {
            if (std::ifstream in("Z:" + m_dir + "/port"); in >> m_port)
                return;
            if (std::ifstream("Z:" + m_dir + "/failed"))
                break;
            if (std::ifstream skipped("Z:" + m_dir + "/skipped"); skipped) {
                std::getline(skipped, m_strSkipped);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::ifstream log("Z:" + m_dir + "/log");
        m_strFailure = "no IPP peer: " + std::string(std::istreambuf_iterator<char>(log), {});
    }
    ~IppPeer() { Shell("/bin/sh -c \"kill $(cat " + m_dir + "/pid); sleep 1; rm -rf " + m_dir + "\""); }

    bool Ready() const { return m_port != 0; }
    // Why the peer cannot be had here (no local user for a sign-in); empty when it can.
    const std::string& Skipped() const { return m_strSkipped; }
    const std::string& Failure() const { return m_strFailure; }
    unsigned short Port() const { return m_port; }
    // Its folder as Windows sees it: ippeveprinter's spool folder (-d) and log.
    std::string Folder() const { return "Z:" + m_dir; }
    std::string Url(const std::string& scheme, const std::string& host, const std::string& path) const
    {
        return scheme + "://" + host + ":" + std::to_string(m_port) + path;
    }

private:
    static void Shell(const std::string& line) { StartDetached(std::wstring(line.begin(), line.end())); }

    std::string m_dir;
    std::string m_strFailure;
    std::string m_strSkipped;
    unsigned short m_port = 0;
};
