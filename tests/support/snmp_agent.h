#pragma once
// Starts the system's net-snmp agent (/usr/sbin/snmpd) on 127.0.0.1 and [::1] at a free
// unprivileged port or a fixed one, answering the printer device-ID objects it is given
// (the private one, the standard one of the first printer, both or neither), and stops
// it when the object goes. Under Wine the agent is started as a Unix program
// through /bin/sh, which Wine runs natively.
#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/udp_peers.h"  // winsock2.h must come before windows.h

#ifdef _WIN32
#include <windows.h>

#include "tests/support/child_process.h"
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "snmp/snmp.h"

// The device-ID objects an agent holds; a missing one is not served at all.
struct DeviceIdObjects {
    std::optional<std::string> strPrivate;
    std::optional<std::string> strStandard;
};

// A printer with its status, supplies, trays and alerts, played for snmpd by
// tests/support/printer_mib_agent.py (see its scenarios); its state follows the age of
// the file `strTrigger` (a Unix path), by default one that SnmpAgent::Trigger makes.
struct PrinterMib {
    std::string strScenario;
    std::string strTrigger;
};

class SnmpAgent {
public:
    // Written out once for every test, apart from the product's own definition.
    static constexpr const char* kDeviceIdOid = "1.3.6.1.4.1.48751.11.5.1.1.1.26.0";
    static constexpr const char* kStandardDeviceIdOid = "1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1";

    // An agent holding only the private object with `deviceId`.
    explicit SnmpAgent(const std::string& deviceId, std::vector<std::string> communities = {"public", "mirlan"})
        : SnmpAgent(DeviceIdObjects{deviceId, std::nullopt}, std::move(communities))
    {
    }

    // A printer without device-ID objects.
    explicit SnmpAgent(const PrinterMib& printer) : SnmpAgent(DeviceIdObjects{}, {"public", "mirlan"}, 0, printer) {}

    // The values must not hold single quotes; `communities` are the read communities served.
    // A `fixedPort` is held under a lock on the whole machine, as test trees may run side
    // by side; below 1024 it needs root. Failure() tells why such an agent is not Ready().
    explicit SnmpAgent(const DeviceIdObjects& objects, std::vector<std::string> communities = {"public", "mirlan"},
                       uint16_t fixedPort = 0, const std::optional<PrinterMib>& printer = std::nullopt)
    {
        m_strProbeCommunity = communities.empty() ? "public" : communities.front();
        // A free port can be taken by another program before snmpd binds it (on ::1 it
        // was never checked): an agent that ends at once is started again on another.
        for (int nTry = 0; nTry < (fixedPort ? 1 : 3) && !m_ready; ++nTry) {
            if (nTry > 0)
                Stop();
            Start(objects, communities, fixedPort, printer);
        }
    }

    ~SnmpAgent() { Stop(); }

private:
    void Start(const DeviceIdObjects& objects, const std::vector<std::string>& communities, uint16_t fixedPort,
               const std::optional<PrinterMib>& printer)
    {
        m_port = fixedPort ? fixedPort : udp_test::FreePort();
        // One folder per agent: Wine cannot wait for the shell that stops the agent before.
        static int s_nAgents = 0;
        m_dir = "/tmp/lumeo_snmpd_" + std::to_string(m_port) + "_" + std::to_string(ProcessId()) + "_" +
                std::to_string(++s_nAgents);
        std::string p = std::to_string(m_port);
        std::vector<std::string> lines = {"agentaddress udp:127.0.0.1:" + p + ",udp6:[::1]:" + p};
        for (const std::string& c : communities) {
            lines.push_back("rocommunity " + c + " 127.0.0.1");
            lines.push_back("rocommunity6 " + c + " ::1");
        }
        if (objects.strPrivate)
            lines.push_back(std::string("override ") + kDeviceIdOid + " octet_str \"" + *objects.strPrivate + "\"");
        if (objects.strStandard)
            lines.push_back(std::string("override ") + kStandardDeviceIdOid + " octet_str \"" + *objects.strStandard +
                            "\"");
        if (printer)
            for (const char* root : {".1.3.6.1.2.1.25.3.2.1.5", ".1.3.6.1.2.1.25.3.5", ".1.3.6.1.2.1.43"})
                lines.push_back(std::string("pass_persist -p 1 ") + root + " /usr/bin/python3 " LUMEO_SOURCE_DIR
                                "/tests/support/printer_mib_agent.py " + printer->strScenario + " " +
                                (printer->strTrigger.empty() ? m_dir + "/trigger" : printer->strTrigger) + " " +
                                root);
        std::string script = "rm -rf " + m_dir + " && mkdir -p " + m_dir + " && printf '%s\\n'";
        for (const std::string& l : lines)
            script += " '" + l + "'";
        std::string start = "SNMP_PERSISTENT_DIR=" + m_dir + "/persist MIBS= timeout 300 /usr/sbin/snmpd -f -Lo -C -c " +
                            m_dir + "/snmpd.conf > " + m_dir + "/snmpd.log 2>&1 & echo $! > " + m_dir + "/pid; wait";
        std::string lock;
        if (fixedPort) {  // snmpd inherits the lock's descriptor: the lock lasts as long as the agent
            start = "if flock -w 120 9; then " + start + "; else echo the lock on port " + p + " stayed taken > " +
                    m_dir + "/snmpd.log; fi";
            lock = " 9>/tmp/lumeo_snmpd_port_" + p + ".lock";
        }
        RunShell(script + " > " + m_dir + "/snmpd.conf && ((" + start + "; touch " + m_dir + "/ended)" + lock +
                 " >/dev/null 2>&1 &)");
        m_ready = WaitUntilAnswering(fixedPort ? 150 : 15);
        if (!m_ready)
            m_strFailure = ReadFile(m_dir + "/snmpd.log");
    }

    // The folder goes once snmpd has ended, as it writes there while it stops.
    void Stop() const
    {
        RunShell("kill $(cat " + m_dir + "/pid) 2>/dev/null; timeout 5 sh -c 'until [ -e " + m_dir +
                 "/ended ]; do sleep 0.1; done'; rm -rf " + m_dir);
    }

public:

    // Makes a printer's default trigger file, as if it had appeared `dSecondsAgo` ago.
    // The file appears whole, with its time set, and only then does this return: under
    // Wine the wait for a Linux program can end before the program has run.
    void Trigger(double dSecondsAgo) const
    {
        const std::string strTrigger = m_dir + "/trigger";
        RunShell("/usr/bin/python3 -c 'import os, time; p = \"" + strTrigger +
                 ".new\"; open(p, \"a\").write(\"x\"); t = time.time() - " + std::to_string(dSecondsAgo) +
                 "; os.utime(p, (t, t)); os.replace(p, \"" + strTrigger + "\")'");
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!std::ifstream(HostPath(strTrigger)) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    bool Ready() const { return m_ready; }
    const std::string& Failure() const { return m_strFailure; }
    uint16_t Port() const { return m_port; }
    std::string V4Address() const { return "127.0.0.1:" + std::to_string(m_port); }
    std::string V6Address() const { return "[::1]:" + std::to_string(m_port); }

private:
    static long ProcessId()
    {
#ifdef _WIN32
        return static_cast<long>(GetCurrentProcessId());
#else
        return static_cast<long>(getpid());
#endif
    }

    static void RunShell(const std::string& script)
    {
#ifdef _WIN32
        std::wstring cmd = L"/bin/sh -c \"";
        // Windows command-line rules: only a quote needs a backslash (the script has
        // no backslash right before a quote).
        for (char c : script) {
            if (c == '"')
                cmd += L'\\';
            cmd += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
        cmd += L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(L"/bin/sh", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            WaitForSingleObject(pi.hProcess, 10000);
            CloseProcessHandles(pi);
        }
#else
        pid_t pid = fork();
        if (pid == 0) {
            execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        if (pid > 0)
            waitpid(pid, &status, 0);
#endif
    }

    // A Unix path as this program opens it: Wine reaches the Unix root through drive Z:.
    static std::string HostPath(const std::string& path)
    {
#ifdef _WIN32
        return "Z:" + path;
#else
        return path;
#endif
    }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(HostPath(path));
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Asks for sysUpTime, which every agent holds, until it answers or has ended.
    bool WaitUntilAnswering(int nSeconds) const
    {
        SNMPStartup();
        Target target;
        target.setAgentAddress(V4Address().c_str());
        target.setReadCommunity(m_strProbeCommunity.c_str());
        VarBind vb;
        vb.setOID(OID("1.3.6.1.2.1.1.3.0"));
        bool answered = false;
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(nSeconds);
        while (!answered && std::chrono::steady_clock::now() < until && !std::ifstream(HostPath(m_dir + "/ended"))) {
            ReqRespPDU pdu;
            pdu.setVarBindList(&vb, 1);
            answered = SNMPManager().get(pdu, target) == SNMP_SUCCESS;
            if (!answered)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        SNMPCleanup();
        return answered;
    }

    uint16_t m_port = 0;
    std::string m_dir;
    std::string m_strProbeCommunity;
    std::string m_strFailure;
    bool m_ready = false;
};
