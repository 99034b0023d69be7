// Portable rules of printer discovery: the CMD field, the port kinds and the WSD URL cut.
#include <gtest/gtest.h>

#include "printer/state/port_kind.h"
#include "printer/state/supported_types.h"
#include "printer/port/printer_url_port.h"
#include "printer/port/wsd_location.h"
#include "tests/support/log_capture.h"

TEST(SupportedTypes, CmdFieldRules)
{
    struct Case { const wchar_t* id; int mask; };
    const Case cases[] = {
        {L"MFG:X;CMD:PCL,PDF,JPEG;MDL:Y;", 3},
        {L"CMD:PDF,JPEG,BMP,PNG,TIFF;", 31},
        {L"CMD:PDF", 0},                    // no closing ";"
        {L"cmd:PDF;", 0},                   // the key is case-sensitive
        {L"CMD:Pdf,Tiff;", 0},              // mixed case does not count
        {L"CMD:pdf,tiff;", 5},
        {L"CMD:JPG,TIF;", 0},               // short names do not count
        {L"CMD:JPEG2000;", 2},              // substring search
        {L"MFG:X;DES:PDF JPEG printer;CMD:PCL;", 0},  // only the CMD field is read
        {L"CMD:PCL;DES:PDF;", 0},
        {L"", 0},
        {L"MFG:PNG;CMD:PNG;CMD:PDF;", 8},   // the first CMD field only
        {L"CMD:;PDF;", 0},
        {L"MFG:X;COMMAND SET:PCL,PDF,PNG;MDL:Y;", 9},  // the standard's long key
        {L"COMMAND SET:JPEG;DES:PDF;", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SupportedTypesFromDeviceID(c.id), c.mask) << c.id;
}

TEST(SupportedTypes, LogsTheFieldBoundsAndTheResult)
{
    LogCapture log;
    SupportedTypesFromDeviceID(L"MFG:X;CMD:PDF;");
    EXPECT_TRUE(log.Contains(L"CheckSupportedTypes : /Start : 6 / End : 13"));
    EXPECT_TRUE(log.Contains(L"CheckSupportedTypes : CMD : CMD:PDF"));
    EXPECT_TRUE(log.Contains(L"Check Result is 1"));
    SupportedTypesFromDeviceID(L"MFG:X;");
    EXPECT_TRUE(log.Contains(L"CheckSupportedTypes : /Start : -1 / End : -1"));
}

TEST(SupportedTypes, FailedLookupIsBusyUnlessThePortIsUnsupported)
{
    EXPECT_EQ(SupportedTypesOfLookup(0, false, L"CMD:PDF;"), -1);
    EXPECT_EQ(SupportedTypesOfLookup(0, true, L""), 0);
    EXPECT_EQ(SupportedTypesOfLookup(1, false, L""), 0);  // an empty ID with success is "not supported"
    EXPECT_EQ(SupportedTypesOfLookup(1, true, L"CMD:PDF,PNG;"), 9);
}

TEST(PortKind, PrefixesDecideTheRoute)
{
    EXPECT_EQ(ClassifyPort(L"USB001"), PortKind::Usb);
    EXPECT_EQ(ClassifyPort(L"usb001"), PortKind::Network);
    EXPECT_EQ(ClassifyPort(L"LPT1:"), PortKind::Parallel);
    EXPECT_EQ(ClassifyPort(L"LPT2:"), PortKind::Parallel);
    EXPECT_EQ(ClassifyPort(L"FILE:"), PortKind::File);
    EXPECT_EQ(ClassifyPort(L"COM1:"), PortKind::Network);
    EXPECT_EQ(ClassifyPort(L"IP_192.0.2.10"), PortKind::Network);
    EXPECT_EQ(ClassifyPort(L" USB001"), PortKind::Network);  // must stand at the beginning
    EXPECT_EQ(ClassifyPort(L""), PortKind::Network);
    EXPECT_STREQ(PortKindLabel(PortKind::Usb), L"USB Port");
    EXPECT_STREQ(PortKindLabel(PortKind::Parallel), L"Parallel Port");
    EXPECT_STREQ(PortKindLabel(PortKind::File), L"FILE");
    EXPECT_STREQ(PortKindLabel(PortKind::Network), L"NW IP Port");
    EXPECT_EQ(SupportedTypesFromDeviceID(kFilePortDeviceID), 31);
}

TEST(WsdLocation, HostIsTheAuthorityOfAnHttpUrl)
{
    struct Case { const wchar_t* location; WsdCut cut; const wchar_t* host; };
    const Case cases[] = {
        {L"http://192.0.2.10:80/ws/", WsdCut::Found, L"192.0.2.10"},
        {L"http://[fe80::1%4]:80/ws", WsdCut::Found, L"fe80::1%4"},
        {L"http://[::1]/ws", WsdCut::Found, L"::1"},
        {L"http://192.0.2.10/WebServices/Device", WsdCut::Found, L"192.0.2.10"},
        {L"http://192.0.2.10:5357/uuid:5a1e2b3c-0001", WsdCut::Found, L"192.0.2.10"},
        {L"HTTP://192.0.2.10:80/ws", WsdCut::Found, L"192.0.2.10"},
        {L"hTtPs://printer.example:443", WsdCut::Found, L"printer.example"},
        {L" http://user:pw@192.0.2.10:80/\r\n", WsdCut::Found, L"192.0.2.10"},
        {L"http://192.0.2.10?a:b", WsdCut::Found, L"192.0.2.10"},
        {L"http://192.0.2.10#a:b", WsdCut::Found, L"192.0.2.10"},
        {L"http://a@b@192.0.2.10/", WsdCut::Found, L"192.0.2.10"},
        {L"http:///ws", WsdCut::NoHost, L""},
        {L"http://:80/ws", WsdCut::NoHost, L""},
        {L"http://user@/ws", WsdCut::NoHost, L""},
        {L"http://[::1/ws", WsdCut::NoHost, L""},
        {L"http://[::1]x/ws", WsdCut::NoHost, L""},
        {L"http://[192.0.2.10]/ws", WsdCut::NoHost, L""},
        {L"http://a]b/ws", WsdCut::NoHost, L""},
        {L"ftp://192.0.2.10/ws", WsdCut::NoHttp, L""},
        {L"http:/192.0.2.10/ws", WsdCut::NoHttp, L""},
        {L"at http://192.0.2.10:5357/x", WsdCut::NoHttp, L""},
        {L"", WsdCut::NoHttp, L""},
    };
    for (const Case& c : cases) {
        std::wstring host = L"unchanged";
        EXPECT_EQ(CutWsdHost(c.location, host), c.cut) << c.location;
        EXPECT_EQ(host, c.cut == WsdCut::Found ? std::wstring(c.host) : L"unchanged") << c.location;
    }
    EXPECT_EQ(RemoveBrackets(L"[fe80::1%4]"), L"fe80::1%4");
    EXPECT_EQ(RemoveBrackets(L"a]b[c"), L"abc");
}

TEST(WsdLocation, LongTextsAreBounded)
{
    std::wstring host;
    // A host of 129 characters fits; a longer one gives no address rather than a cut one.
    ASSERT_EQ(CutWsdHost(L"http://" + std::wstring(129, L'h') + L":80/" + std::wstring(300, L'x'), host),
              WsdCut::Found);
    EXPECT_EQ(host, std::wstring(129, L'h'));
    EXPECT_EQ(CutWsdHost(L"http://" + std::wstring(130, L'h') + L"/", host), WsdCut::NoHost);
}

TEST(PrinterUrlPort, AnAddressBecomesAnIppUrlUnlessItHoldsMoreThanAHost)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"10.0.0.5:1161", L"ipp://10.0.0.5:631/ipp/print"},
        {L"fe80::1", L"ipp://[fe80::1]:631/ipp/print"}, {L"h@evil", L""}, {L"h/x", L""}, {L"", L""}, {L":161", L""}};
    for (const auto& [address, url] : cases)
        EXPECT_EQ(IppUrlAtAddress(address, 631), url) << address;
}
