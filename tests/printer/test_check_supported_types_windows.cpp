// The capability check as the Basic page runs it: a real CPrtControl over Wine's
// printer list, its current printer chosen by name, and the device-ID route its
// port takes (the FILE port's fixed string, a Standard TCP/IP port answered by a
// real snmpd or by nobody, and a port no monitor knows).
#include "tests/support/snmp_agent.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "printer/check_supported_types.h"
#include "printer/queue/prt_control.h"
#include "tests/printer/registry_fixture.h"
#include "tests/support/log_capture.h"
#include "tests/support/udp_peers.h"
#include "tests/support/wine_printers.h"

namespace {
const std::wstring kStdKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The printer's own record is current: SetCurrentPrinter keeps the old index when
// the name is not listed.
bool MakeCurrent(CPrtControl& prt, const TestPrinter& printer)
{
    const int nIndex = prt.SetCurrentPrinter(printer.strName);
    const PRINTER_INFO_2W* pInfo = prt.GetPrinterInfo(nIndex);
    return pInfo && pInfo->pPrinterName && printer.strName == pInfo->pPrinterName && pInfo->pPortName &&
           printer.strPort == pInfo->pPortName;
}
}  // namespace

class CapabilityCheck : public ::testing::Test {
protected:
    WinePrinters m_printers{L"Gaps"};
};

TEST_F(CapabilityCheck, FilePortPrinterAcceptsEveryType)
{
    const TestPrinter* pFile = m_printers.AddRawPrinter(L"Lumeo Gaps File", L"FILE_LumeoGaps");
    ASSERT_NE(pFile, nullptr);
    PrinterChangeLock lock;
    CPrtControl prt;
    ASSERT_TRUE(MakeCurrent(prt, *pFile));
    LogCapture log;
    EXPECT_EQ(CheckSupportedTypes(prt), 31);
    EXPECT_TRUE(log.Contains(L"PortName is FILE_LumeoGaps"));
}

TEST_F(CapabilityCheck, NetworkPrinterGetsTheMaskItsAgentsDeviceIdNames)
{
    SnmpAgent pdfPng("MFG:Corvane;CMD:PJL,PDF,PNG;MDL:KV 310;DES:JPEG TIFF BMP;");
    SnmpAgent jpegTiff("MFG:Corvane;CMD:PCL,JPEG,TIFF,bmp;MDL:KV 320;");
    ASSERT_TRUE(pdfPng.Ready() && jpegTiff.Ready());
    const std::wstring strPortA = L"LUMEO_GAPS_A_" + std::to_wstring(pdfPng.Port());
    const std::wstring strPortB = L"LUMEO_GAPS_B_" + std::to_wstring(jpegTiff.Port());
    RegistryFixture reg;
    ASSERT_TRUE(reg.Write(kStdKey + strPortA, {{L"IPAddress", Wide(pdfPng.V4Address())}, {L"SNMP Community", L"public"}}));
    ASSERT_TRUE(reg.Write(kStdKey + strPortB, {{L"IPAddress", Wide(jpegTiff.V4Address())}, {L"SNMP Community", L"public"}}));
    const TestPrinter* pA = m_printers.AddRawPrinter(L"Lumeo Gaps Net A", strPortA);
    const TestPrinter* pB = m_printers.AddRawPrinter(L"Lumeo Gaps Net B", strPortB);
    ASSERT_TRUE(pA && pB);

    PrinterChangeLock lock;
    CPrtControl prt;
    // Choosing another printer on the same object repeats the lookup for its port.
    ASSERT_TRUE(MakeCurrent(prt, *pA));
    EXPECT_EQ(CheckSupportedTypes(prt), 1 | 8);  // names outside the CMD field do not count
    ASSERT_TRUE(MakeCurrent(prt, *pB));
    EXPECT_EQ(CheckSupportedTypes(prt), 2 | 4 | 16);
    ASSERT_TRUE(MakeCurrent(prt, *pA));
    EXPECT_EQ(CheckSupportedTypes(prt), 1 | 8);
}

TEST_F(CapabilityCheck, PortNoMonitorKnowsIsNotSupported)
{
    const TestPrinter* pCom = m_printers.AddRawPrinter(L"Lumeo Gaps Serial", L"COM7:");
    ASSERT_NE(pCom, nullptr);
    PrinterChangeLock lock;
    CPrtControl prt;
    ASSERT_TRUE(MakeCurrent(prt, *pCom));
    EXPECT_EQ(CheckSupportedTypes(prt), 0);
}

TEST_F(CapabilityCheck, SilentNetworkPrinterIsBusyOrOffAndTheFlagIsClearedAgain)
{
    udp_test::SilentAgent silent;
    const std::wstring strPort = L"LUMEO_GAPS_SILENT_" + std::to_wstring(silent.Port());
    RegistryFixture reg;
    ASSERT_TRUE(reg.Write(kStdKey + strPort, {{L"IPAddress", L"127.0.0.1:" + std::to_wstring(silent.Port())},
                                              {L"SNMP Community", L"public"}}));
    const TestPrinter* pSilent = m_printers.AddRawPrinter(L"Lumeo Gaps Silent", strPort);
    const TestPrinter* pCom = m_printers.AddRawPrinter(L"Lumeo Gaps Serial 2", L"COM8:");
    ASSERT_TRUE(pSilent && pCom);
    PrinterChangeLock lock;
    CPrtControl prt;
    // A previous check's unsupported port must not turn this one into 0.
    ASSERT_TRUE(MakeCurrent(prt, *pCom));
    ASSERT_EQ(CheckSupportedTypes(prt), 0);
    ASSERT_TRUE(MakeCurrent(prt, *pSilent));
    EXPECT_EQ(CheckSupportedTypes(prt), -1);
}
