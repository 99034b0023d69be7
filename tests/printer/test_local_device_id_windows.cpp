// USB and parallel device-ID routes against stand-in devices, and against Wine's real
// (empty) device set.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "printer/device/local_device_id.h"
#include "printer/port/port_device_id.h"
#include "printer/state/supported_types.h"
#include "printer/device/device_io_api.h"
#include "tests/support/log_capture.h"

namespace {
struct FakeDevice {
    std::optional<DWORD> portNumber;
    std::optional<std::wstring> baseName;
    std::wstring path;
};

struct FakeIo {
    std::vector<FakeDevice> usb;
    std::vector<std::pair<std::wstring, std::string>> replies;  // device path -> reply bytes
    std::vector<std::wstring> failingIo;                        // paths whose request fails
    std::vector<std::wstring> opened;
    std::vector<DWORD> codes;
    std::vector<DWORD> sleeps;
    int setsFreed = 0;
    int handlesOpen = 0;
    bool bOneHandle = false;  // a device held open refuses every other open, as a printer does
    DWORD nAnswerMs = 0;
    HANDLE hAnswering = nullptr;  // set once a device holds a request

    static FakeIo*& Current()
    {
        static FakeIo* current = nullptr;
        return current;
    }
    static HDEVINFO WINAPI GetClassDevs(const GUID*, PCWSTR, HWND, DWORD) { return reinterpret_cast<HDEVINFO>(0x1234); }
    static BOOL WINAPI EnumInterfaces(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD index,
                                      PSP_DEVICE_INTERFACE_DATA did)
    {
        if (index >= Current()->usb.size()) {
            SetLastError(ERROR_NO_MORE_ITEMS);
            return FALSE;
        }
        did->Reserved = index;
        return TRUE;
    }
    static HKEY WINAPI OpenKey(HDEVINFO, PSP_DEVICE_INTERFACE_DATA did, DWORD, REGSAM)
    {
        return reinterpret_cast<HKEY>(0x1000 + did->Reserved);
    }
    static LSTATUS WINAPI QueryValue(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD cb)
    {
        const FakeDevice& d = Current()->usb[reinterpret_cast<uintptr_t>(key) - 0x1000];
        if (std::wstring(name) == L"Port Number" && d.portNumber) {
            *type = REG_DWORD;
            std::memcpy(data, &*d.portNumber, 4);
            *cb = 4;
            return ERROR_SUCCESS;
        }
        if (std::wstring(name) == L"Base Name" && d.baseName) {
            *type = REG_SZ;
            DWORD bytes = static_cast<DWORD>((d.baseName->size() + 1) * 2);
            if (bytes > *cb)
                return ERROR_MORE_DATA;
            std::memcpy(data, d.baseName->c_str(), bytes);
            *cb = bytes;
            return ERROR_SUCCESS;
        }
        return ERROR_FILE_NOT_FOUND;
    }
    static LSTATUS WINAPI CloseKey(HKEY) { return ERROR_SUCCESS; }
    static BOOL WINAPI Detail(HDEVINFO, PSP_DEVICE_INTERFACE_DATA did, PSP_DEVICE_INTERFACE_DETAIL_DATA_W detail,
                              DWORD cb, PDWORD required, PSP_DEVINFO_DATA)
    {
        const std::wstring& path = Current()->usb[did->Reserved].path;
        DWORD need = static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) + (path.size() + 1) * 2);
        if (required)
            *required = need;
        if (!detail || cb < need) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        std::memcpy(detail->DevicePath, path.c_str(), (path.size() + 1) * 2);
        return TRUE;
    }
    static BOOL WINAPI DestroyList(HDEVINFO)
    {
        ++Current()->setsFreed;
        return TRUE;
    }
    static HANDLE WINAPI CreateFile(LPCWSTR path, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
    {
        FakeIo& f = *Current();
        f.opened.push_back(path);
        if (f.bOneHandle && f.handlesOpen > 0) {
            SetLastError(ERROR_SHARING_VIOLATION);
            return INVALID_HANDLE_VALUE;
        }
        for (size_t i = 0; i < f.replies.size(); ++i)
            if (f.replies[i].first == path) {
                ++f.handlesOpen;
                return reinterpret_cast<HANDLE>(0x2000 + i);
            }
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    static BOOL WINAPI IoControl(HANDLE h, DWORD code, LPVOID, DWORD, LPVOID out, DWORD cbOut, LPDWORD returned,
                                 LPOVERLAPPED)
    {
        FakeIo& f = *Current();
        f.codes.push_back(code);
        if (f.hAnswering)
            SetEvent(f.hAnswering);
        ::Sleep(f.nAnswerMs);
        const auto& [path, reply] = f.replies[reinterpret_cast<uintptr_t>(h) - 0x2000];
        for (const std::wstring& failing : f.failingIo)
            if (failing == path) {
                SetLastError(ERROR_GEN_FAILURE);
                return FALSE;
            }
        DWORD n = static_cast<DWORD>(std::min<size_t>(reply.size(), cbOut));
        std::memcpy(out, reply.data(), n);
        *returned = n;
        return TRUE;
    }
    static BOOL WINAPI Close(HANDLE)
    {
        --Current()->handlesOpen;
        return TRUE;
    }
    static void WINAPI Pause(DWORD ms) { Current()->sleeps.push_back(ms); }

    struct Guard {
        explicit Guard(FakeIo& fake) : saved(DeviceIo())
        {
            Current() = &fake;
            DeviceIoApi& io = DeviceIo();
            io.GetClassDevs = &GetClassDevs;
            io.EnumDeviceInterfaces = &EnumInterfaces;
            io.OpenDeviceInterfaceRegKey = &OpenKey;
            io.GetDeviceInterfaceDetail = &Detail;
            io.DestroyDeviceInfoList = &DestroyList;
            io.QueryValue = &QueryValue;
            io.CloseKey = &CloseKey;
            io.CreateFile = &CreateFile;
            io.IoControl = &IoControl;
            io.CloseHandle = &Close;
            io.Sleep = &Pause;
        }
        ~Guard()
        {
            DeviceIo() = saved;
            Current() = nullptr;
        }
        DeviceIoApi saved;
    };
};

// A USB device-ID reply: two length bytes, then the text.
std::string UsbReply(const std::string& text)
{
    size_t n = text.size() + 2;
    return std::string{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)} + text;
}

const char kId1[] = "MFG:Corvane;MDL:A;CMD:PCL;";
const char kId2[] = "MFG:Corvane;MDL:B;CMD:PDF,JPEG;";  // the CMD field is the last one
}  // namespace

TEST(UsbDeviceID, OnlyTheDeviceOnTheMatchingPortIsAsked)
{
    FakeIo io;
    io.usb = {{1, L"USB", L"\\\\?\\usb#one"}, {2, L"USB", L"\\\\?\\usb#two"}};
    io.replies = {{L"\\\\?\\usb#one", UsbReply(kId1)}, {L"\\\\?\\usb#two", UsbReply(kId2)}};
    FakeIo::Guard guard(io);
    std::wstring id;
    ASSERT_EQ(LocalUSBDeviceID(L"USB002", id), 1);
    EXPECT_EQ(io.opened, std::vector<std::wstring>{L"\\\\?\\usb#two"});
    EXPECT_EQ(io.codes, std::vector<DWORD>{0x220034});
    // The whole text is kept: the ";" closing the last field too.
    EXPECT_EQ(id, L"MFG:Corvane;MDL:B;CMD:PDF,JPEG;");
    EXPECT_EQ(SupportedTypesFromDeviceID(id), 3);
    EXPECT_EQ(io.setsFreed, 1);
    EXPECT_EQ(io.handlesOpen, 0);
}

TEST(UsbDeviceID, PortNamesFromBaseNameAndNumber)
{
    FakeIo io;
    io.usb = {{std::nullopt, L"USB", L"\\\\?\\usb#nonumber"},  // skipped, not taken for port 0
              {3, std::nullopt, L"\\\\?\\usb#three"},          // no base name: "USB"
              {1234, L"DOT4_", L"\\\\?\\usb#dot4"}};
    io.replies = {{L"\\\\?\\usb#nonumber", UsbReply(kId1)},
                  {L"\\\\?\\usb#three", UsbReply(kId2)},
                  {L"\\\\?\\usb#dot4", UsbReply(kId1)}};
    FakeIo::Guard guard(io);
    std::wstring id;
    LogCapture log;
    EXPECT_EQ(LocalUSBDeviceID(L"USB000", id), 0);
    EXPECT_TRUE(log.Contains(L"[GetLocalUSBDeviceID] Get Port Name Fail!"));
    EXPECT_TRUE(io.opened.empty());
    EXPECT_EQ(LocalUSBDeviceID(L"USB003", id), 1);
    EXPECT_TRUE(log.Contains(L"[GetLocalUSBDeviceID] Get Base Name Fail!"));
    EXPECT_EQ(id, L"MFG:Corvane;MDL:B;CMD:PDF,JPEG;");
    EXPECT_EQ(LocalUSBDeviceID(L"DOT4_1234", id), 1);
    EXPECT_EQ(io.opened.back(), L"\\\\?\\usb#dot4");
    EXPECT_EQ(LocalUSBDeviceID(L"usb003", id), 0);  // the match is case-sensitive
    EXPECT_EQ(io.setsFreed, 4);
}

TEST(UsbDeviceID, DeviceThatOpensButDoesNotAnswerGivesAnEmptyID)
{
    FakeIo io;
    io.usb = {{1, L"USB", L"\\\\?\\usb#one"}, {2, L"USB", L"\\\\?\\usb#busy"}};
    io.replies = {{L"\\\\?\\usb#one", UsbReply(kId1)}};  // usb#busy cannot be opened
    io.failingIo = {L"\\\\?\\usb#one"};
    FakeIo::Guard guard(io);
    std::wstring id = L"stale";
    EXPECT_EQ(LocalUSBDeviceID(L"USB001", id), 1);
    EXPECT_EQ(id, L"");
    EXPECT_EQ(SupportedTypesOfLookup(1, false, id), 0);
    EXPECT_EQ(LocalUSBDeviceID(L"USB002", id), 0);
    EXPECT_EQ(io.handlesOpen, 0);
}

TEST(UsbDeviceID, ShortAndOverlongRepliesStayInsideTheirBounds)
{
    FakeIo io;
    io.usb = {{1, L"USB", L"\\\\?\\usb#short"}, {2, L"USB", L"\\\\?\\usb#long"}, {3, L"USB", L"\\\\?\\usb#ctl"}};
    io.replies = {{L"\\\\?\\usb#short", std::string("\x00", 1)},
                  {L"\\\\?\\usb#long", UsbReply("CMD:PDF;" + std::string(5000, 'x'))},
                  {L"\\\\?\\usb#ctl", UsbReply("MFG:A\x1B[2J;CMD:PDF;\r\n")}};
    FakeIo::Guard guard(io);
    std::wstring id;
    EXPECT_EQ(LocalUSBDeviceID(L"USB001", id), 1);
    EXPECT_EQ(id, L"");
    EXPECT_EQ(LocalUSBDeviceID(L"USB002", id), 1);
    EXPECT_EQ(id.size(), 260u);
    EXPECT_EQ(id.substr(0, 8), L"CMD:PDF;");
    EXPECT_EQ(LocalUSBDeviceID(L"USB003", id), 1);
    EXPECT_EQ(id, L"MFG:A\xFFFD[2J;CMD:PDF;\xFFFD\xFFFD");  // shown and logged: no control character
}

TEST(ParallelDeviceID, PathsAreTriedInOrderWithAPauseBeforeTheLast)
{
    FakeIo io;
    FakeIo::Guard guard(io);
    LogCapture log;
    std::wstring id = L"stale";
    EXPECT_EQ(LocalLPTDeviceID(L"LPT2:", id), 0);
    EXPECT_EQ(id, L"");
    EXPECT_EQ(io.opened, (std::vector<std::wstring>{L"\\\\.\\LPT1", L"\\\\.\\LPT1.4", L"\\\\.\\NONSPOOLED_LPT1",
                                                    L"\\\\.\\DgivEcp1", L"\\\\.\\DgivEcp1"}));
    EXPECT_EQ(io.sleeps, std::vector<DWORD>{1000});
    EXPECT_TRUE(log.Contains(L"GetLocalLPTDeviceID : ALL GetDeviceID Fail"));
    EXPECT_TRUE(log.Contains(L"GetLocalLPTDeviceID : VECP_PORT GetDeviceID Fail"));
}

TEST(ParallelDeviceID, RepliesWithAndWithoutLengthPrefixGiveTheSameText)
{
    const std::string text = "MFG:Corvane;CMD:PDF,TIFF;";
    for (const std::string& reply : {std::string("\x00\x1A", 2) + text, text}) {
        FakeIo io;
        io.replies = {{L"\\\\.\\NONSPOOLED_LPT1", reply}};
        FakeIo::Guard guard(io);
        std::wstring id;
        ASSERT_EQ(LocalLPTDeviceID(L"LPT1:", id), 1);
        EXPECT_EQ(id, L"MFG:Corvane;CMD:PDF,TIFF;");
        EXPECT_EQ(io.codes, std::vector<DWORD>{0x11});
        EXPECT_EQ(io.opened.size(), 3u);
    }
    FakeIo ecp;
    ecp.replies = {{L"\\\\.\\DgivEcp1", text + std::string("\0junk", 5)}};
    FakeIo::Guard guard(ecp);
    std::wstring id;
    ASSERT_EQ(LocalLPTDeviceID(L"LPT1:", id), 1);
    EXPECT_EQ(id, L"MFG:Corvane;CMD:PDF,TIFF;");  // ends at the first zero byte
    EXPECT_EQ(ecp.codes, std::vector<DWORD>{0x16000C});
}

TEST(ParallelDeviceID, ReadDeviceIDReportsTheSystemError)
{
    FakeIo io;
    io.replies = {{L"\\\\.\\LPT1", "CMD:PDF;"}};
    io.failingIo = {L"\\\\.\\LPT1"};
    FakeIo::Guard guard(io);
    wchar_t buffer[8] = {};
    EXPECT_EQ(ReadDeviceID(L"\\\\.\\LPT9", 0x11, buffer, 8), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(ReadDeviceID(L"\\\\.\\LPT1", 0x11, buffer, 8), static_cast<DWORD>(ERROR_GEN_FAILURE));
    EXPECT_EQ(io.handlesOpen, 0);
    io.failingIo.clear();
    EXPECT_EQ(ReadDeviceID(L"\\\\.\\LPT1", 0x11, buffer, 8), 0u);
    EXPECT_STREQ(buffer, L"CMD:PDF");  // cut to the caller's buffer, terminated
}

TEST(LocalRoutesOnWine, ReadsTakeTurnsSoACheckStillRunningNeverHoldsTheDeviceAgainstTheCurrentOne)
{
    FakeIo io;
    io.usb = {{1, L"USB", L"\\\\?\\usb#one"}};
    io.replies = {{L"\\\\?\\usb#one", UsbReply(kId1)}, {L"\\\\.\\LPT1", "CMD:PDF;"}};
    io.bOneHandle = true;
    io.nAnswerMs = 300;
    io.hAnswering = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    FakeIo::Guard guard(io);
    std::wstring strOld, strParallel, strCurrent;
    int nOld = 0, nParallel = 0;
    std::thread older([&] { nOld = LocalUSBDeviceID(L"USB001", strOld); });
    EXPECT_EQ(WaitForSingleObject(io.hAnswering, 10000), WAIT_OBJECT_0);  // the older check has the device open
    std::thread parallel([&] { nParallel = LocalLPTDeviceID(L"LPT1:", strParallel); });
    EXPECT_EQ(LocalUSBDeviceID(L"USB001", strCurrent), 1);
    older.join();
    parallel.join();
    EXPECT_EQ(strCurrent, L"MFG:Corvane;MDL:A;CMD:PCL;");
    EXPECT_EQ(nOld + nParallel, 2);
    EXPECT_EQ(strParallel, L"CMD:PDF;");
    CloseHandle(io.hAnswering);
}

TEST(LocalRoutesOnWine, NoDevicesMeansNoDeviceID)
{
    // The real SetupAPI and device paths of a machine without local printers.
    std::wstring id;
    EXPECT_EQ(LocalUSBDeviceID(L"USB001", id), 0);
    EXPECT_EQ(DeviceIDForPort(L"USB001", id), 0);
}
