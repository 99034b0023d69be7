// WSD port resolution: the port monitor's answers stand in, the Plug and Play keys are
// written to the Wine registry, and the resolved host is asked over SNMP.
#include <gtest/gtest.h>
#include <windows.h>

#include "printer/port/port_device_id.h"
#include "printer/port/wsd_printer_port.h"
#include "tests/printer/registry_fixture.h"
#include "tests/printer/spooler_fakes.h"
#include "tests/support/log_capture.h"

namespace {
std::vector<BYTE> ApPortData(DWORD nVersion, DWORD nProtocol, const std::wstring& url, bool bTerminated = true)
{
    std::vector<BYTE> data(8 + (url.size() + bTerminated) * sizeof(wchar_t));
    std::memcpy(data.data(), &nVersion, 4);
    std::memcpy(data.data() + 4, &nProtocol, 4);
    std::memcpy(data.data() + 8, url.c_str(), data.size() - 8);
    return data;
}

const std::wstring kEnum = L"System\\CurrentControlSet\\Enum\\";

// A WSD port whose monitor hands out `deviceId`/`pnpxId`, and the device's PnP keys.
struct WsdSetup {
    FakeSpooler spooler;
    RegistryFixture reg;
    WsdSetup(const std::wstring& port, const std::wstring& deviceId, const std::wstring& pnpxId,
             const std::wstring& location)
    {
        spooler.ports = {{L"COM1:", L"Local Monitor"}, {port, L"Other Monitor"}, {port, L"WSD Port Monitor"}};
        spooler.xcv = {{L"DeviceID", deviceId}, {L"PnPXID", pnpxId}};
        std::wstring umb = kEnum + deviceId + L"\\UMB\\";
        reg.Write(umb + L"other_device", {{L"LocationInformation", L"http://203.0.113.9:80/wrong"}});
        reg.Write(umb + L"umb_" + pnpxId + L"_1", {{L"LocationInformation", location}});
    }
};
}  // namespace

TEST(WsdPort, IsWSDPortWalksPastOtherMonitorsButStopsAtAMissingOne)
{
    FakeSpooler spooler;
    FakeSpooler::Guard guard(spooler);
    WSDPrinterPort wsd;
    spooler.ports = {{L"WSD-1", L"Local Monitor"}, {L"WSD-1", L"WSD Port Monitor"}};
    EXPECT_EQ(wsd.IsWSDPort(L"WSD-1"), 1);
    EXPECT_EQ(wsd.IsWSDPort(L"wsd-1"), 0);  // exact name
    spooler.ports = {{L"WSD-1", std::nullopt}, {L"WSD-1", L"WSD Port Monitor"}};
    EXPECT_EQ(wsd.IsWSDPort(L"WSD-1"), 0);
    spooler.ports = {{L"WSD-1", L"wsd port monitor"}};
    EXPECT_EQ(wsd.IsWSDPort(L"WSD-1"), 0);  // exact monitor name
    spooler.ports = {{L"WSD-1", L"WSD Port"}};  // the adaptive monitor's key
    EXPECT_EQ(wsd.IsWSDPort(L"WSD-1"), 1);
}

TEST(WsdPort, HostComesFromTheSubkeyNamingThePnPXID)
{
    WsdSetup setup(L"WSD-a1", L"SWD\\LUMEOTEST\\A1", L"uuid:a1", L"http://192.0.2.10:80/ws/");
    FakeSpooler::Guard guard(setup.spooler);
    WSDPrinterPort wsd;
    std::wstring address = L"unchanged";
    EXPECT_NE(wsd.GetWsdIP(L"WSD-a1", address), 0);
    EXPECT_EQ(address, L"192.0.2.10");
    EXPECT_EQ(wsd.m_strHost, L"192.0.2.10");
    EXPECT_EQ(setup.spooler.opened, std::vector<std::wstring>{L",XcvPort WSD-a1"});
    EXPECT_EQ(setup.spooler.closed, 1);
}

TEST(WsdPort, BracketsOfAnIPv6HostAreRemoved)
{
    WsdSetup setup(L"WSD-v6", L"SWD\\LUMEOTEST\\V6", L"uuid:v6", L"http://[fe80::1%4]:80/ws");
    FakeSpooler::Guard guard(setup.spooler);
    std::wstring address;
    WSDPrinterPort wsd;
    EXPECT_NE(wsd.GetWsdIP(L"WSD-v6", address), 0);
    EXPECT_EQ(address, L"fe80::1%4");
    EXPECT_EQ(wsd.m_strHost, L"fe80::1%4");
}

TEST(WsdPort, LocationsWithoutAnAddressLeaveTheOutStringAlone)
{
    for (const wchar_t* location : {L"ftp://192.0.2.10:80/ws", L"http:///ws"}) {
        WsdSetup setup(L"WSD-none", L"SWD\\LUMEOTEST\\NONE", L"uuid:none", location);
        FakeSpooler::Guard guard(setup.spooler);
        std::wstring address = L"unchanged";
        EXPECT_EQ(WSDPrinterPort().GetWsdIP(L"WSD-none", address), 0) << location;
        EXPECT_EQ(address, L"unchanged");
    }
    // A monitor that refuses a request.
    WsdSetup setup(L"WSD-x", L"SWD\\LUMEOTEST\\X", L"uuid:x", L"http://192.0.2.10:80/");
    setup.spooler.xcv.erase(L"PnPXID");
    FakeSpooler::Guard guard(setup.spooler);
    LogCapture log;
    std::wstring address;
    EXPECT_EQ(WSDPrinterPort().GetXcvData(L"WSD-x"), 0);
    EXPECT_TRUE(log.Contains(L"Inside WSDPrinterPort::GetXcvData failure"));
}

TEST(WsdPort, ResolvedHostIsAskedOverSnmpWithTheDefaultCommunity)
{
    // The URL's port and the colon in its path belong to the web service, not to the host.
    WsdSetup setup(L"WSD-snmp", L"SWD\\LUMEOTEST\\SNMP", L"uuid:snmp", L"http://127.0.0.1:5357/uuid:snmp");
    FakeSpooler::Guard guard(setup.spooler);
    LogCapture log;
    EXPECT_NE(SupportedTypesOfPort(L"WSD-snmp"), 0);
    EXPECT_TRUE(log.Contains(L"[CPrtControl] GetNetworkDeviceID : IP Address :  127.0.0.1"));
    EXPECT_TRUE(log.Contains(L"[CPrtControl] GetNetworkDeviceID : SNMP Community :  mirlan"));
}

TEST(WsdPort, TheRouteNamesTheLocationAndTheAgentAsked)
{
    // The agent is asked on the host of the device's URL, on the SNMP port.
    const std::wstring location = L"http://127.0.0.1:5357/uuid:route\x1B]0;\x07\r\n";
    WsdSetup setup(L"WSD-route", L"SWD\\LUMEOTEST\\ROUTE", L"uuid:route", location);
    // A port that answers as the adaptive monitor's port of a WSD device takes the WSD route,
    // whatever its monitor's name, and is asked once.
    setup.spooler.ports.back().monitor = L"Adaptive Port Monitor";
    setup.spooler.xcv[L"CheckAPPortSupport"] = L"";
    setup.spooler.xcvBytes[L"GetAPPortInfo"] = ApPortData(1, 1, L"http://127.0.0.1:5357/x");
    FakeSpooler::Guard guard(setup.spooler);
    std::wstring id;
    DeviceIdRoute route;
    DeviceIDForPort(L"WSD-route", id, &route);
    ASSERT_EQ(route.arrSnmp.size(), 1u);
    EXPECT_TRUE(route.arrIpp.empty());
    const SnmpRequestRoute& asked = route.arrSnmp[0];
    EXPECT_TRUE(asked.bWsd);
    EXPECT_EQ(asked.strWsdLocation + L" " + asked.strAddress + L" " + asked.strCommunity,
              L"http://127.0.0.1:5357/uuid:route\xFFFD]0;\xFFFD\xFFFD\xFFFD 127.0.0.1 mirlan");
}

TEST(WsdPort, UnresolvedWsdPortCountsAsBusyNotUnsupported)
{
    WsdSetup setup(L"WSD-lost", L"SWD\\LUMEOTEST\\LOST", L"uuid:lost", L"ftp://192.0.2.10:80/");
    FakeSpooler::Guard guard(setup.spooler);
    LogCapture log;
    EXPECT_EQ(SupportedTypesOfPort(L"wsd-LOST"), -1);  // the scan ignores case
    EXPECT_TRUE(log.Contains(L"[CPrtControl] GetNetworkDeviceID : IP Address :  "));
}

TEST(WsdPort, ADeviceKeyDeletedDuringTheWalkEndsIt)
{
    WsdSetup setup(L"WSD-gone", L"SWD\\LUMEOTEST\\GONE", L"uuid:gone", L"http://192.0.2.10:80/");
    FakeSpooler::Guard guard(setup.spooler);
    SetLogSink([](const std::wstring& line) {  // the key goes once the walk has opened it
        if (line == L"Inside QueryRegistryWsdIP: found device key")
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kEnum + L"SWD\\LUMEOTEST\\GONE\\UMB").c_str());
    });
    EXPECT_EQ(WSDPrinterPort().GetXcvData(L"WSD-gone"), 0);
    SetLogSink(nullptr);
}

// An adaptive monitor's answer is read as hostile data: refused with its reason, the
// printer then counts as busy, and nothing past the bytes delivered is read.
TEST(WsdPort, AnAdaptivePortsAnswerThatCannotBeTakenIsRefused)
{
    const std::wstring url = L"ipp://127.0.0.1/ipp/print";
    const std::pair<std::vector<BYTE>, std::string> cases[] = {
        {ApPortData(2, 2, url), "version 2 is not 1"},
        {ApPortData(1, 3, url), "protocol 3 is neither"},
        {ApPortData(1, 2, std::wstring(260, L'x'), false), "not terminated within 260"},
        {ApPortData(1, 2, url, false), "not terminated within 25 "},
        {ApPortData(1, 2, L"file://c:/x"), "no ipp://"},
        {{1, 0, 0}, "3 bytes"},
    };
    for (const auto& [data, why] : cases) {
        FakeSpooler spooler;
        spooler.ports = {{L"AP-1", L"Another Monitor"}};
        spooler.xcv = {{L"CheckAPPortSupport", L""}};
        spooler.xcvBytes = {{L"GetAPPortInfo", data}};
        FakeSpooler::Guard guard(spooler);
        DeviceIdRoute route;
        EXPECT_EQ(SupportedTypesOfPort(L"AP-1", &route), -1) << why;
        ASSERT_EQ(route.arrIpp.size(), 1u) << why;
        EXPECT_NE(route.arrIpp[0].strReason.find(why), std::string::npos) << route.arrIpp[0].strReason;
        EXPECT_TRUE(route.arrSnmp.empty() && !route.answered);
    }
}
