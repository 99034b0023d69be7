#include "printer/device/local_device_id.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <mutex>
#include <vector>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "common/printable_text.h"
#include "common/wide_format.h"
#include "printer/device/device_io_api.h"

namespace {
// GUID_DEVINTERFACE_USBPRINT
const GUID kUsbPrintInterface = {0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};
constexpr DWORD kIoctlUsbPrintGet1284Id = 0x220034;
constexpr DWORD kIoctlParQueryDeviceId = 0x16000C;
constexpr DWORD kUsbReplyBytes = 4096;
constexpr size_t kTextBytes = 260;
constexpr DWORD kParallelReplyBytes = 260;

// 8-bit text of at most `length` bytes, ending at the first zero byte; what the device
// put there is shown and logged, so its control characters are replaced.
std::wstring TextOf(const unsigned char* bytes, size_t length)
{
    size_t n = 0;
    while (n < length && bytes[n] != 0)
        ++n;
    return PrintableText(FromAnsi(std::string(reinterpret_cast<const char*>(bytes), n)));
}

// The spooler port name of a USB printing interface, or false when its number is unreadable.
bool UsbPortNameOf(HKEY key, std::wstring& strPortName)
{
    DeviceIoApi& io = DeviceIo();
    DWORD dwNumber = 0;
    DWORD dwType = 0;
    DWORD cb = sizeof(dwNumber);
    if (io.QueryValue(key, L"Port Number", nullptr, &dwType, reinterpret_cast<BYTE*>(&dwNumber), &cb) !=
            ERROR_SUCCESS ||
        dwType != REG_DWORD || cb != sizeof(dwNumber)) {
        DebugLog(L"[GetLocalUSBDeviceID] Get Port Name Fail!");
        return false;
    }
    wchar_t szBase[261] = {};
    cb = 520;
    std::wstring strBase = L"USB";
    if (io.QueryValue(key, L"Base Name", nullptr, &dwType, reinterpret_cast<BYTE*>(szBase), &cb) == ERROR_SUCCESS &&
        dwType == REG_SZ)
        strBase = szBase;  // the spare character keeps it terminated
    else
        DebugLog(L"[GetLocalUSBDeviceID] Get Base Name Fail!");
    strPortName = FormatWide(260, L"%s%03d", strBase.c_str(), static_cast<int>(dwNumber));
    return true;
}

// Finds the interface whose port name matches; false (and the set is still owned) when none.
bool FindUsbInterface(HDEVINFO hDevInfo, const std::wstring& strPortName, SP_DEVICE_INTERFACE_DATA& did)
{
    DeviceIoApi& io = DeviceIo();
    for (DWORD index = 0;; ++index) {
        DebugLog(L"[GetLocalUSBDeviceID] SetupDiEnumDeviceInterfaces's MemberIndex : %d", static_cast<int>(index));
        did = {};
        did.cbSize = sizeof(did);
        if (!io.EnumDeviceInterfaces(hDevInfo, nullptr, &kUsbPrintInterface, index, &did)) {
            if (GetLastError() == ERROR_NO_MORE_ITEMS) {
                DebugLog(L"[GetLocalUSBDeviceID] SetupDiEnumDeviceInterfaces : ERROR_NO_MORE_ITEMS ");
                return false;
            }
            continue;
        }
        HKEY key = io.OpenDeviceInterfaceRegKey(hDevInfo, &did, 0, KEY_READ);
        if (key == INVALID_HANDLE_VALUE || key == nullptr) {
            DebugLog(L"[GetLocalUSBDeviceID] SetupDiOpenDeviceInterfaceRegKey() Fail!");
            continue;
        }
        std::wstring strCandidate;
        bool bNamed = UsbPortNameOf(key, strCandidate);
        io.CloseKey(key);
        if (!bNamed)
            continue;
        DebugLog(L"[GetLocalUSBDeviceID] szPortName = %s", strCandidate.c_str());
        DebugLog(L"[GetLocalUSBDeviceID] Selected Port Number = %s", strPortName.c_str());
        if (strCandidate != strPortName) {
            DebugLog(L"[GetLocalUSBDeviceID] Port missmatch");
            continue;
        }
        DebugLog(L"[GetLocalUSBDeviceID] Found USB Device");
        return true;
    }
}

// One device-ID read at a time in the process: a device opened by a check that has since
// been superseded would otherwise refuse the current check, which would then find it busy.
std::mutex g_deviceReads;

struct ParallelPath {
    const wchar_t* pszPath;
    DWORD dwCode;
    const wchar_t* pszFailure;
};

const ParallelPath kParallelPaths[] = {
    {L"\\\\.\\LPT1", 0x11, L"GetLocalLPTDeviceID : LPT1_PORT GetDeviceID Fail"},
    {L"\\\\.\\LPT1.4", 0x11, L"GetLocalLPTDeviceID : LPT1_4_PORT GetDeviceID Fail"},
    {L"\\\\.\\NONSPOOLED_LPT1", 0x11, L"GetLocalLPTDeviceID : NONSPOOLED_LPT1 GetDeviceID Fail"},
    {L"\\\\.\\DgivEcp1", kIoctlParQueryDeviceId, L"GetLocalLPTDeviceID : VECP_PORT GetDeviceID Fail"},
    {L"\\\\.\\DgivEcp1", kIoctlParQueryDeviceId, L"GetLocalLPTDeviceID : ALL GetDeviceID Fail"},
};
}  // namespace

int LocalUSBDeviceID(const std::wstring& strPortName, std::wstring& strDeviceID)
{
    const std::lock_guard<std::mutex> guard(g_deviceReads);
    DeviceIoApi& io = DeviceIo();
    strDeviceID.clear();
    HDEVINFO hDevInfo = io.GetClassDevs(&kUsbPrintInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (hDevInfo == INVALID_HANDLE_VALUE) {
        DebugLog(L"[IO Module] VNUSBOPEN: SetupDiGetClassDevs fail!! (%d)\n", static_cast<int>(GetLastError()));
        return 0;
    }
    SP_DEVICE_INTERFACE_DATA did{};
    if (!FindUsbInterface(hDevInfo, strPortName, did)) {
        io.DestroyDeviceInfoList(hDevInfo);
        return 0;
    }

    DWORD cbDetail = 0;
    io.GetDeviceInterfaceDetail(hDevInfo, &did, nullptr, 0, &cbDetail, nullptr);
    std::vector<BYTE> detailBlock;
    if (cbDetail >= sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
        detailBlock.assign(cbDetail + sizeof(wchar_t), 0);  // a spare terminator for the path
    auto* pDetail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detailBlock.data());
    if (!pDetail) {
        io.DestroyDeviceInfoList(hDevInfo);
        DebugLog(L"[GetLocalUSBDeviceID] Error in GetUSBControlPortName = psp_ddi = %x", 0);
        return 0;
    }
    pDetail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!io.GetDeviceInterfaceDetail(hDevInfo, &did, pDetail, cbDetail, nullptr, nullptr)) {
        io.DestroyDeviceInfoList(hDevInfo);
        DebugLog(L"[GetLocalUSBDeviceID] Error in SetupDiGetDeviceInterfaceDetail");
        return 0;
    }

    HANDLE hDevice = io.CreateFile(pDetail->DevicePath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                   nullptr);
    if (hDevice == INVALID_HANDLE_VALUE) {
        DebugLog(L"[IO Module] Error in CreateFile");
        io.DestroyDeviceInfoList(hDevInfo);
        return 0;
    }
    std::vector<unsigned char> reply(kUsbReplyBytes, 0);
    DWORD cbReturned = 0;
    if (io.IoControl(hDevice, kIoctlUsbPrintGet1284Id, nullptr, 0, reply.data(), kUsbReplyBytes, &cbReturned,
                     nullptr)) {
        // Two length bytes, then the text; every text byte is kept, the last one too.
        size_t cb = std::min<size_t>(cbReturned, kUsbReplyBytes);
        size_t cbText = cb >= 2 ? std::min(cb - 2, kTextBytes) : 0;
        strDeviceID = TextOf(reply.data() + 2, cbText);
    }
    DebugLog(L"[IO Module] DeviceIoControl() =  %s", strDeviceID.c_str());
    io.CloseHandle(hDevice);
    io.DestroyDeviceInfoList(hDevInfo);
    return 1;
}

int LocalLPTDeviceID(const std::wstring& strPortName, std::wstring& strDeviceID)
{
    const std::lock_guard<std::mutex> guard(g_deviceReads);
    wchar_t szResult[260] = {};
    for (size_t i = 0; i < std::size(kParallelPaths); ++i) {
        const ParallelPath& row = kParallelPaths[i];
        if (ReadDeviceID(row.pszPath, row.dwCode, szResult, 260) == 0) {
            DebugLog(L"GetLocalLPTDeviceID : Device ID from Parallel = %s\n", szResult);
            strDeviceID = szResult;
            return 1;
        }
        if (i == 3)
            DeviceIo().Sleep(1000);  // the ECP driver may need a moment before the last try
        DebugLog(row.pszFailure);
    }
    strDeviceID.clear();
    return 0;
}

DWORD ReadDeviceID(const wchar_t* pszPath, DWORD dwControlCode, wchar_t* pszBuffer, DWORD nChars)
{
    DeviceIoApi& io = DeviceIo();
    HANDLE hDevice = io.CreateFile(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hDevice == INVALID_HANDLE_VALUE) {
        DWORD dwError = GetLastError();
        DebugLog(L"CreateFile Fail");
        return dwError ? dwError : ERROR_GEN_FAILURE;
    }
    std::vector<unsigned char> reply(kParallelReplyBytes, 0);
    DWORD cbReturned = 0;
    if (!io.IoControl(hDevice, dwControlCode, nullptr, 0, reply.data(), kParallelReplyBytes, &cbReturned, nullptr)) {
        DWORD dwError = GetLastError();
        DebugLog(L"DeviceIoControl Fail");
        io.CloseHandle(hDevice);
        return dwError ? dwError : ERROR_GEN_FAILURE;
    }
    io.CloseHandle(hDevice);
    size_t cb = std::min<size_t>(cbReturned, kParallelReplyBytes);
    // A zero first byte is the high byte of a two-byte length prefix.
    size_t offset = (cb >= 1 && reply[0] == 0) ? 2 : 0;
    std::wstring strText = cb > offset ? TextOf(reply.data() + offset, cb - offset) : std::wstring();
    if (pszBuffer && nChars > 0) {
        size_t n = std::min<size_t>(strText.size(), nChars - 1);
        std::wmemcpy(pszBuffer, strText.data(), n);
        pszBuffer[n] = L'\0';
    }
    DebugLog(L"Device ID = (%s) [%d]\n", strText.c_str(), static_cast<int>(cbReturned));
    return 0;
}
