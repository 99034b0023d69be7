// Registry values that a foreign tool or a damaged hive may hold: strings stored without
// their terminator, strings of thousands of characters, values of the wrong type. The
// readers take what fits their buffers whole, refuse the rest and go on with the next
// source, never reading past the value.
#include "tests/support/hostile_agent.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>
#include <windows.h>

#include "i18n/lang_manager.h"
#include "printer/port/port_device_id.h"
#include "tests/faults/raw_registry.h"
#include "tests/support/log_capture.h"

namespace {
const std::wstring kStdKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";
const std::wstring kCorvaneKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Corvane Network Printer Port\\";
const std::wstring kOsmiraKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Osmira Port Type S\\";

std::wstring UniquePort(const wchar_t* szTag)
{
    return std::wstring(L"LUMEO_FAULT_") + szTag + L"_" + std::to_wstring(GetCurrentProcessId());
}

// An agent that answers only requests with the community "public".
HostileAgent PublicAgent()
{
    return HostileAgent([](const snmp_ber::Message& request) {
        if (request.community != "public")
            return std::vector<Datagram>{};
        return std::vector<Datagram>{{snmp_ber::EncodeMessage(AnswerOf(request, snmp_ber::kOctetString, "CMD:PDF,PNG;"))}};
    });
}

bool AnyLineLongerThan(const LogCapture& log, size_t n)
{
    for (const std::wstring& line : log.Lines())
        if (line.size() > n)
            return true;
    return false;
}
}  // namespace

TEST(RegistryValues, UnterminatedPortValuesAreReadExactly)
{
    HostileAgent agent = PublicAgent();
    const std::wstring port = UniquePort(L"UNTERM");
    const std::wstring address = L"127.0.0.1:" + std::to_wstring(agent.Port());
    RawRegistry reg;
    // 259 characters and no terminator; the blank makes it no address.
    const std::wstring full = std::wstring(258, L'x') + L" ";
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kStdKey + port, L"IPAddress", full));
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kStdKey + port, L"HostName", address));
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kStdKey + port, L"SNMP Community", L"public"));

    LogCapture log;
    std::wstring id;
    EXPECT_EQ(DeviceIDForPort(port, id), 1);
    EXPECT_EQ(id, L"CMD:PDF,PNG;");
    EXPECT_TRUE(log.Contains(L"[SNMP Community] SNMP Community is public"));
    EXPECT_TRUE(log.Contains(L"[IPAddress] IP is " + full));
    EXPECT_TRUE(log.Contains(L"Failed to SNMP get/ Invalid agent address"));
    EXPECT_TRUE(log.Contains(L"[HostName] Host is " + address));
    EXPECT_EQ(SupportedTypesOfPort(port), 9);

    // 260 characters fill the reader's 520 bytes: read whole, or refused where the platform
    // wants room for a terminator, but never read with anything after them.
    const std::wstring exact = std::wstring(259, L'y') + L" ";
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kStdKey + port, L"IPAddress", exact));
    LogCapture log2;
    EXPECT_EQ(DeviceIDForPort(port, id), 1);
    EXPECT_TRUE(log2.Contains(L"[IPAddress] IP is " + exact) || log2.Contains(L"[IPAddress]Can't query ip reg value"));
    for (const std::wstring& line : log2.Lines()) {
        if (line.rfind(L"[IPAddress] IP is ", 0) == 0) {
            EXPECT_EQ(line.size(), 18 + exact.size());
        }
    }
}

TEST(RegistryValues, OverlongPortValuesAreRefusedAndTheNextSourceDecides)
{
    HostileAgent agent = PublicAgent();
    const std::wstring port = UniquePort(L"LONG");
    const std::wstring address = L"127.0.0.1:" + std::to_wstring(agent.Port());
    RawRegistry reg;
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kStdKey + port, L"IPAddress", std::wstring(261, L'1')));
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kStdKey + port, L"HostName", std::wstring(10000, L'h')));
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kStdKey + port, L"SNMP Community", std::wstring(5000, L'c')));
    // The first vendor key holds a working address, the second a value of the wrong type.
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kCorvaneKey + port, L"IP", address));
    const DWORD dwBinary = 0x0100007F;
    ASSERT_TRUE(reg.Set(HKEY_LOCAL_MACHINE, kOsmiraKey + port, L"IP", REG_BINARY, &dwBinary, sizeof(dwBinary)));

    LogCapture log;
    std::wstring id;
    // The long community gives way to the default one, which this agent does not answer.
    bool bUnsupported = true;
    EXPECT_EQ(DeviceIDForPort(port, id, bUnsupported), 0);
    EXPECT_FALSE(bUnsupported);
    EXPECT_TRUE(log.Contains(L"[SNMP Community] Can't query ip reg value / default : mirlan"));
    EXPECT_TRUE(log.Contains(L"[IPAddress]Can't query ip reg value"));
    EXPECT_TRUE(log.Contains(L"[HostName] Can't query ip reg value"));
    EXPECT_TRUE(log.Contains(L"IP is " + address));
    EXPECT_TRUE(log.Contains(L"Osmira : Can't query ip reg value"));
    EXPECT_FALSE(AnyLineLongerThan(log, 1023));
    EXPECT_EQ(agent.Received(), 2);  // asked, with "mirlan", and once more
}

TEST(RegistryValues, OverlongVendorValuesAloneLeaveThePortUnsupported)
{
    const std::wstring port = UniquePort(L"VENDOR");
    RawRegistry reg;
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kCorvaneKey + port, L"IP", std::wstring(10000, L'9')));
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, kOsmiraKey + port, L"IP", std::wstring(300, L'9')));
    LogCapture log;
    EXPECT_EQ(SupportedTypesOfPort(port), 0);
    EXPECT_TRUE(log.Contains(L"Corvane : Can't query ip reg value"));
    EXPECT_TRUE(log.Contains(L"Osmira : Can't query ip reg value"));
}

TEST(RegistryValues, LanguageCodesOfThousandsOfCharactersOrOddBytesAreRefused)
{
    PrivateHives hives;
    const std::wstring key = L"SOFTWARE\\KVQ\\Lumeora";
    RawRegistry reg;
    ASSERT_TRUE(reg.SetUnterminated(HKEY_CURRENT_USER, key, L"KVQLangCode", std::wstring(10000, L'J')));
    ASSERT_TRUE(reg.SetUnterminated(HKEY_LOCAL_MACHINE, key, L"KVQLangCode", L"KR"));
    CLangManager manager;
    wchar_t szCode[8] = {};
    EXPECT_EQ(manager.GetLocalCodeFromRegistry(szCode, 8), 1);
    EXPECT_STREQ(szCode, L"KR");

    // Three bytes: one letter and half of another.
    const wchar_t odd[] = L"GR";
    ASSERT_TRUE(reg.Set(HKEY_CURRENT_USER, key, L"KVQLangCode", REG_SZ, odd, 3));
    szCode[0] = L'\0';
    manager.GetLocalCodeFromRegistry(szCode, 8);
    EXPECT_LE(wcslen(szCode), 2u);
}
