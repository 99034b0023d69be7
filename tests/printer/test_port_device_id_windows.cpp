// Port classification and the network address lookup in a Wine prefix: print-monitor
// keys in the registry, a printer installed on such a port, and a real snmpd behind it.
#include "tests/support/snmp_agent.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include "printer/port/ipp_beside_snmp.h"
#include "printer/port/port_device_id.h"
#include "printer/state/port_kind.h"
#include "printer/port/printer_state_route.h"
#include "tests/printer/registry_fixture.h"
#include "tests/support/ipp_peer.h"
#include "tests/support/log_capture.h"
#include "tests/support/udp_peers.h"

namespace {
const char kDeviceId[] = "MFG:Corvane;CMD:PCL,PDF,JPEG;MDL:KV 200;";
const std::wstring kStdKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";
const std::wstring kOsmiraKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Osmira Port Type S\\";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// A printer installed in the Wine prefix on a given port, removed afterwards.
class WinePrinter {
public:
    WinePrinter(const std::wstring& name, const std::wstring& port) : m_name(name)
    {
        DRIVER_INFO_3W driver{};
        driver.cVersion = 3;
        driver.pName = const_cast<wchar_t*>(L"Lumeo Test Driver");
        driver.pDriverPath = const_cast<wchar_t*>(L"C:\\windows\\system32\\wineps.drv");
        driver.pDataFile = driver.pDriverPath;
        driver.pConfigFile = driver.pDriverPath;
        AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES);
        PRINTER_INFO_2W info{};
        info.pPrinterName = m_name.data();
        info.pPortName = const_cast<wchar_t*>(port.c_str());
        info.pDriverName = driver.pName;
        info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
        info.pDatatype = const_cast<wchar_t*>(L"RAW");
        m_handle = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    }
    ~WinePrinter()
    {
        if (m_handle) {
            DeletePrinter(m_handle);
            ClosePrinter(m_handle);
        }
    }
    bool Installed() const { return m_handle != nullptr; }
    // The port the spooler reports for this printer.
    std::wstring SpoolerPort() const
    {
        DWORD need = 0, count = 0;
        EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &need, &count);
        std::vector<BYTE> block(need);
        if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, block.data(), need, &need, &count))
            return {};
        const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(block.data());
        for (DWORD i = 0; i < count; ++i)
            if (m_name == printers[i].pPrinterName)
                return printers[i].pPortName;
        return {};
    }

private:
    std::wstring m_name;
    HANDLE m_handle = nullptr;
};
}  // namespace

TEST(NetworkPort, PrinterOnStandardTcpIpPortGetsTheMaskOfItsAgent)
{
    SnmpAgent agent(kDeviceId);
    ASSERT_TRUE(agent.Ready());
    std::wstring port = L"LUMEO_IP_" + std::to_wstring(agent.Port());
    RegistryFixture reg;
    ASSERT_TRUE(reg.Write(kStdKey + port, {{L"IPAddress", Wide(agent.V4Address())},
                                           {L"HostName", L"unused.invalid"},
                                           {L"SNMP Community", L"public"}}));
    WinePrinter printer(L"Lumeo Test " + port, port);
    ASSERT_TRUE(printer.Installed());
    ASSERT_EQ(printer.SpoolerPort(), port);

    LogCapture log;
    EXPECT_EQ(SupportedTypesOfPort(printer.SpoolerPort()), 3);
    EXPECT_TRUE(log.Contains(L"[SNMP Community] SNMP Community is public"));
    EXPECT_TRUE(log.Contains(L"[IPAddress] GetNetworkDeviceID : ret : TRUE"));
    EXPECT_TRUE(log.Contains(L"[HostName] got IP Address from IPAddress KEY \n No more try"));
    EXPECT_FALSE(log.Contains(L"Not support : Standard TCP/IP Port"));  // no other monitor is tried
    EXPECT_TRUE(log.Contains(L"GetCurrentPrinterDeviceID : strDeviceID : " + Wide(kDeviceId)));
}

TEST(NetworkPort, EmptyIPAddressIsQueriedByHostNameWithTheDefaultCommunity)
{
    SnmpAgent agent(kDeviceId, {"mirlan"});
    ASSERT_TRUE(agent.Ready());
    std::wstring port = L"LUMEO_HOST_" + std::to_wstring(agent.Port());
    RegistryFixture reg;
    ASSERT_TRUE(reg.Write(kStdKey + port, {{L"IPAddress", L""}, {L"HostName", L"localhost:" + std::to_wstring(agent.Port())}}));
    LogCapture log;
    std::wstring id;
    EXPECT_EQ(DeviceIDForPort(port, id), 1);
    EXPECT_EQ(id, Wide(kDeviceId));
    EXPECT_TRUE(log.Contains(L"[SNMP Community] Can't query ip reg value / default : mirlan"));
    EXPECT_TRUE(log.Contains(L"[IPAddress] IPAddress is Empty"));
    EXPECT_TRUE(log.Contains(L"[HostName] GetNetworkDeviceID : ret : TRUE"));
}

TEST(NetworkPort, SilentPrinterIsBusyAndEveryOtherSourceIsStillTried)
{
    udp_test::SilentAgent silent;
    SnmpAgent agent(kDeviceId);
    ASSERT_TRUE(agent.Ready());
    std::wstring port = L"LUMEO_SILENT_" + std::to_wstring(silent.Port());
    RegistryFixture reg;
    ASSERT_TRUE(reg.Write(kStdKey + port, {{L"IPAddress", L"127.0.0.1:" + std::to_wstring(silent.Port())},
                                           {L"SNMP Community", L"public"}}));
    {
        LogCapture log;
        DeviceIdRoute route;
        EXPECT_EQ(SupportedTypesOfPort(port, &route), -1);
        EXPECT_FALSE(route.answered);  // no route to ask for the state
        EXPECT_TRUE(log.Contains(L"[HostName] Can't query ip reg value"));
        EXPECT_TRUE(log.Contains(L"Not support : Standard TCP/IP Port"));
        EXPECT_TRUE(log.Contains(L"Corvane : Can't Open reg Key(IP Ports)"));
        EXPECT_TRUE(log.Contains(L"Brenlo : Can't Open reg Key(IP Ports)"));
    }
    // A vendor monitor that knows the port answers with the Standard TCP/IP community.
    ASSERT_TRUE(reg.Write(kOsmiraKey + port, {{L"IP", Wide(agent.V4Address())}}));
    LogCapture log;
    DeviceIdRoute route;
    EXPECT_EQ(SupportedTypesOfPort(port, &route), 3);
    EXPECT_TRUE(log.Contains(L"Osmira : Success Open reg Key(IP Ports)"));
    EXPECT_TRUE(log.Contains(L"IP is " + Wide(agent.V4Address())));
    const int nSilentBefore = silent.Received();
    PrinterState state;
    ASSERT_TRUE(route.answered);
    EXPECT_EQ(route.answered->ReadState(state), 1);
    EXPECT_EQ(silent.Received(), nSilentBefore);  // the route that answered is asked, not the silent one
}

// The state read takes the port's targets from the same lookup but asks none of them for a
// device ID, and asks the first one that has an address.
TEST(NetworkPort, TheStateIsReadFromThePortsFirstTargetWithoutADeviceIdRequest)
{
    udp_test::SilentAgent silent;
    SnmpAgent agent(PrinterMib{"cover", ""});
    ASSERT_TRUE(agent.Ready());
    const std::wstring port = L"LUMEO_STATE_" + std::to_wstring(agent.Port());
    const std::wstring strSilent = L"127.0.0.1:" + std::to_wstring(silent.Port());
    RegistryFixture reg;
    ASSERT_TRUE(reg.Write(kStdKey + port, {{L"IPAddress", L""}, {L"HostName", Wide(agent.V4Address())},
                                           {L"SNMP Community", L"public"}}));
    ASSERT_TRUE(reg.Write(kOsmiraKey + port, {{L"IP", strSilent}}));
    const std::vector<SnmpRequestRoute> targets = SnmpTargetsOfPort(port);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[1].strAddress, strSilent);
    EXPECT_EQ(targets[1].strCommunity, L"public");
    PrinterState state;
    EXPECT_EQ(ReadPrinterStateOfPort(port, state), 1);
    EXPECT_EQ(state.status, PrinterStatus::Stopped);
    EXPECT_EQ(silent.Received(), 0);
}

// A printer whose SNMP is off but which answers IPP at the port's address, and a port
// named by its printer's URL.
TEST(NetworkPort, AnIppPrinterIsJudgedBesideSilentSnmpOrThroughItsUrlPort)
{
    udp_test::SilentAgent silent;
    IppPeer peer("printer", "-f application/pdf,image/jpeg");
    ASSERT_TRUE(peer.Ready()) << peer.Failure();
    const std::wstring port = L"LUMEO_IPP_" + std::to_wstring(peer.Port());
    RegistryFixture reg;
    ASSERT_TRUE(reg.Write(kStdKey + port, {{L"IPAddress", L"127.0.0.1:" + std::to_wstring(silent.Port())}}));
    IppPortBesideSnmp() = peer.Port();
    DeviceIdRoute route;
    EXPECT_EQ(SupportedTypesOfPort(port, &route), 3);
    IppPortBesideSnmp() = 631;
    EXPECT_GE(silent.Received(), 1);
    ASSERT_EQ(route.arrIpp.size(), 1u);
    EXPECT_EQ(route.arrIpp[0].strUrl, Wide(peer.Url("ipp", "127.0.0.1", "/ipp/print")));
    PrinterState state;
    EXPECT_TRUE(route.answered && route.answered->ReadState(state) == 1);
    for (const char* scheme : {"ipp", "HTTP"})
        EXPECT_EQ(SupportedTypesOfPort(Wide(peer.Url(scheme, "127.0.0.1", "/ipp/print"))), 3) << scheme;
}

// Queues on ports of the stand-in adaptive monitor ("WSD Port"): one names its IPP printer,
// one its printer over TLS (as Windows sets them up), one does not know the requests (an older
// system) and is left to the WSD route.
TEST(NetworkPort, AnAdaptiveMonitorsPortIsJudgedByTheIppPrinterItNames)
{
    IppPeer peer("printer", "-f application/pdf,image/jpeg"), tls("printer-tls", "-f application/pdf,image/jpeg");
    ASSERT_TRUE(peer.Ready() && tls.Ready()) << peer.Failure() << tls.Failure();
    std::wstring monitor = L"WSD Port", dll = L"lumeo_apmon_monitor.dll";
    ASSERT_TRUE(CopyFileW(Wide("Z:" LUMEO_APMON_MONITOR_DLL).c_str(), (L"C:\\windows\\system32\\" + dll).c_str(), 0));
    MONITOR_INFO_2W info = {monitor.data(), nullptr, dll.data()};
    ASSERT_TRUE(AddMonitorW(nullptr, 2, reinterpret_cast<BYTE*>(&info))) << GetLastError();
    const std::wstring ports = L"System\\CurrentControlSet\\Control\\Print\\Monitors\\WSD Port\\Ports\\";
    RegistryFixture reg;
    ASSERT_TRUE(reg.Write(ports + L"AP-IPP", {{L"APPortUrl", Wide(peer.Url("ipp", "127.0.0.1", "/ipp/print"))}}));
    ASSERT_TRUE(reg.Write(ports + L"AP-IPPS", {{L"APPortUrl", Wide(tls.Url("ipps", "localhost", "/ipp/print"))}}));
    ASSERT_TRUE(reg.Write(ports + L"AP-OLD", {}));
    for (const wchar_t* pszPort : {L"AP-IPP", L"AP-IPPS"}) {
        WinePrinter printer(std::wstring(L"Lumeo Test APMON ") + pszPort, pszPort);
        ASSERT_EQ(printer.SpoolerPort(), pszPort);
        DeviceIdRoute route;
        EXPECT_EQ(SupportedTypesOfPort(printer.SpoolerPort(), &route), 3) << pszPort;
        EXPECT_TRUE(route.arrIpp.size() == 1 && route.arrIpp[0].bAnswered && route.answered) << pszPort;
    }
    DeviceIdRoute old;
    EXPECT_EQ(SupportedTypesOfPort(L"AP-OLD", &old), -1);
    EXPECT_TRUE(old.arrIpp.empty() && old.arrSnmp.size() == 1);  // the WSD route, asked with no address
    EXPECT_TRUE(DeleteMonitorW(nullptr, nullptr, monitor.data()));
}

TEST(NetworkPort, VendorPortWithoutStandardKeyIsAskedWithTheDefaultCommunity)
{
    SnmpAgent agent(kDeviceId, {"mirlan"});
    ASSERT_TRUE(agent.Ready());
    std::wstring port = L"LUMEO_VENDOR_" + std::to_wstring(agent.Port());
    RegistryFixture reg;
    ASSERT_TRUE(reg.Write(kOsmiraKey + port, {{L"IP", Wide(agent.V4Address())}}));
    LogCapture log;
    EXPECT_EQ(SupportedTypesOfPort(port), 3);
    EXPECT_TRUE(log.Contains(L"[CPrtControl] GetNetworkDeviceID : SNMP Community :  mirlan"));
    const std::vector<SnmpRequestRoute> targets = SnmpTargetsOfPort(port);
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_EQ(targets[0].strCommunity, L"mirlan");
}

TEST(NetworkPort, PortOfNoKnownKindIsUnsupported)
{
    WinePrinter printer(L"Lumeo Test COM", L"COM1:");
    ASSERT_TRUE(printer.Installed());
    LogCapture log;
    std::wstring id;
    bool bUnsupported = false;
    EXPECT_EQ(DeviceIDForPort(printer.SpoolerPort(), id, bUnsupported), 0);
    EXPECT_TRUE(bUnsupported);
    EXPECT_EQ(SupportedTypesOfPort(L"COM1:"), 0);
    EXPECT_TRUE(log.Contains(L"Can't Open reg Key(" + kStdKey + L"COM1:)"));
    // The answer describes its own call only.
    EXPECT_EQ(DeviceIDForPort(L"FILE:", id, bUnsupported), 1);
    EXPECT_FALSE(bUnsupported);
}

TEST(NetworkPort, FilePortNeedsNoQuery)
{
    LogCapture log;
    std::wstring id;
    EXPECT_EQ(DeviceIDForPort(L"FILE:", id), 1);
    EXPECT_EQ(id, kFilePortDeviceID);
    EXPECT_EQ(SupportedTypesOfPort(L"FILE:"), 31);
    EXPECT_FALSE(log.Contains(L"NW IP Port"));
    EXPECT_TRUE(log.Contains(L"FILE"));
}

TEST(NetworkPort, LowerCaseUsbIsANetworkPort)
{
    LogCapture log;
    std::wstring id;
    bool bUnsupported = false;
    EXPECT_EQ(DeviceIDForPort(L"usb001", id, bUnsupported), 0);
    EXPECT_TRUE(log.Contains(L"NW IP Port"));
    EXPECT_TRUE(bUnsupported);
}
