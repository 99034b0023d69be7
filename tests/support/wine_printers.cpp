#include "tests/support/wine_printers.h"

#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {
const wchar_t kSpoolerKey[] = L"Software\\Wine\\Printing\\Spooler";
// Serialises printer changes between test programs that share the prefix.
const wchar_t kChangeMutex[] = L"Lumeo.TestPrinters.Change";
const wchar_t kRawDriverFile[] = L"lumeo_raw.dll";
const wchar_t kXpsDriverFile[] = L"mxdwdrv.dll";

std::wstring DriverDirectory()
{
    wchar_t szDir[MAX_PATH] = {};
    DWORD cbNeeded = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(szDir), sizeof(szDir), &cbNeeded))
        return {};
    return szDir;
}

std::wstring FreshCaptureFile(const std::wstring& strTag, const std::wstring& strPort)
{
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    std::wstring strFile = std::wstring(szTemp) + L"lumeo_capture_" + strTag + L"_";
    for (wchar_t c : strPort)
        strFile += iswalnum(c) ? c : L'_';
    return strFile + L".prn";
}

bool SetSpoolerRedirect(const std::wstring& strPort, const std::wstring& strTarget)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSpoolerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LSTATUS status =
        RegSetValueExW(hKey, strPort.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(strTarget.c_str()),
                       static_cast<DWORD>((strTarget.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(hKey);
    return status == ERROR_SUCCESS;
}

void RemoveSpoolerRedirect(const std::wstring& strPort)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSpoolerKey, 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(hKey, strPort.c_str());
    RegCloseKey(hKey);
}

std::wstring FromUtf8(const std::string& strText)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), nullptr, 0);
    std::wstring strWide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), strWide.data(), n);
    return strWide;
}
}  // namespace

std::string WineUnixPath(const std::wstring& strWindowsPath)
{
    using UnixNameFn = char*(CDECL*)(const wchar_t*);
    const auto pUnixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!pUnixName)
        return {};
    char* pszUnix = pUnixName(strWindowsPath.c_str());
    if (!pszUnix)
        return {};
    std::string strUnix(pszUnix);
    HeapFree(GetProcessHeap(), 0, pszUnix);
    return strUnix;
}

std::wstring WineWindowsPath(const std::string& strUnixPath)
{
    using DosNameFn = wchar_t*(CDECL*)(const char*);
    const auto pDosName = reinterpret_cast<DosNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!pDosName)
        return {};
    wchar_t* pszDos = pDosName(strUnixPath.c_str());
    if (!pszDos)
        return {};
    std::wstring strDos(pszDos);
    HeapFree(GetProcessHeap(), 0, pszDos);
    return strDos;
}

PrinterChangeLock::PrinterChangeLock() : m_hMutex(CreateMutexW(nullptr, FALSE, kChangeMutex))
{
    // An abandoned mutex is owned all the same; a minute bounds a stuck holder.
    if (m_hMutex)
        WaitForSingleObject(m_hMutex, 60000);
}

PrinterChangeLock::~PrinterChangeLock()
{
    if (m_hMutex) {
        ReleaseMutex(m_hMutex);
        CloseHandle(m_hMutex);
    }
}

WinePrinters::WinePrinters(const std::wstring& strTag, bool bKeep) : m_strTag(strTag), m_bKeep(bKeep) {}

WinePrinters::~WinePrinters()
{
    PrinterChangeLock lock;
    if (!m_bKeep) {
        for (const TestPrinter& printer : m_printers) {
            DeletePrinter(printer.strName);
            RemoveSpoolerRedirect(printer.strPort);
            DeleteFileW(printer.strCapturePath.c_str());
        }
    }
}

// Wine loads a driver's files as it adds a printer and asks it for its device
// mode, so an empty file would not do: the files are a copy of Wine's PostScript
// driver, kept once in the driver directory for every test program.
bool WinePrinters::EnsureDriver(const std::wstring& strDriver, const std::wstring& strFile)
{
    const std::wstring strDir = DriverDirectory();
    if (strDir.empty())
        return false;
    const std::wstring strSource = strDir + L"\\" + strFile;
    if (GetFileAttributesW(strSource.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !CopyFileW((strDir + L"\\3\\wineps.drv").c_str(), strSource.c_str(), TRUE) &&
        GetFileAttributesW(strSource.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;

    DRIVER_INFO_3W info = {};
    info.cVersion = 3;
    info.pName = const_cast<wchar_t*>(strDriver.c_str());
    info.pDriverPath = const_cast<wchar_t*>(strFile.c_str());
    info.pDataFile = const_cast<wchar_t*>(strFile.c_str());
    info.pConfigFile = const_cast<wchar_t*>(strFile.c_str());
    return AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&info)) ||
           GetLastError() == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED;
}

const TestPrinter* WinePrinters::InstallPrinter(const std::wstring& strName, const std::wstring& strPort,
                                                const std::wstring& strDriver, const std::wstring& strDriverFile,
                                                const std::wstring& strCaptureFile, bool bAppend,
                                                const std::wstring& strComment)
{
    PrinterChangeLock lock;
    if (!EnsureDriver(strDriver, strDriverFile))
        return nullptr;
    TestPrinter printer{strName, strPort, strDriver,
                        strCaptureFile.empty() ? FreshCaptureFile(m_strTag, strPort) : strCaptureFile};
    // The capture exists from the start, so a printer that got nothing reads as empty.
    HANDLE hCapture = CreateFileW(printer.strCapturePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hCapture == INVALID_HANDLE_VALUE)
        return nullptr;
    CloseHandle(hCapture);
    const std::string strUnix = WineUnixPath(printer.strCapturePath);
    if (strUnix.empty())
        return nullptr;
    const std::wstring strTarget = bAppend ? L"|cat >> '" + FromUtf8(strUnix) + L"'" : FromUtf8(strUnix);
    if (!SetSpoolerRedirect(strPort, strTarget))
        return nullptr;

    PRINTER_INFO_2W info = {};
    info.pPrinterName = const_cast<wchar_t*>(strName.c_str());
    info.pPortName = const_cast<wchar_t*>(strPort.c_str());
    info.pDriverName = const_cast<wchar_t*>(strDriver.c_str());
    info.pPrintProcessor = const_cast<wchar_t*>(L"winprint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.pComment = const_cast<wchar_t*>(strComment.c_str());
    HANDLE hPrinter = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!hPrinter && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS)
        return nullptr;
    if (hPrinter)
        ClosePrinter(hPrinter);
    m_printers.push_back(printer);
    return &m_printers.back();
}

const TestPrinter* WinePrinters::AddRawPrinter(const std::wstring& strName, const std::wstring& strPort,
                                               const std::wstring& strCaptureFile, bool bAppend)
{
    return InstallPrinter(strName, strPort, L"Lumeo Raw " + m_strTag, kRawDriverFile, strCaptureFile, bAppend);
}

const TestPrinter* WinePrinters::AddXpsPrinter(const std::wstring& strName, const std::wstring& strPort,
                                               const std::wstring& strCaptureFile, bool bAppend)
{
    return InstallPrinter(strName, strPort, L"Lumeo XPS " + m_strTag, kXpsDriverFile, strCaptureFile, bAppend);
}

const TestPrinter* WinePrinters::AddPrinterWithComment(const std::wstring& strName, const std::wstring& strPort,
                                                       const std::wstring& strComment)
{
    return InstallPrinter(strName, strPort, L"Lumeo Raw " + m_strTag, kRawDriverFile, L"", false, strComment);
}

bool WinePrinters::DeletePrinter(const std::wstring& strName)
{
    PrinterChangeLock lock;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE hPrinter = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(strName.c_str()), &hPrinter, &defaults))
        return false;
    const bool bDeleted = ::DeletePrinter(hPrinter);
    ClosePrinter(hPrinter);
    return bDeleted;
}

std::string WinePrinters::ReadCapture(const TestPrinter& printer)
{
    std::ifstream in(std::filesystem::path(printer.strCapturePath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WinePrinters::ClearCapture(const TestPrinter& printer)
{
    HANDLE hCapture = CreateFileW(printer.strCapturePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hCapture != INVALID_HANDLE_VALUE)
        CloseHandle(hCapture);
}

bool WinePrinters::MakeDefault(const std::wstring& strName) { return SetDefaultPrinterW(strName.c_str()); }

int CountLocalPrinters()
{
    DWORD dwNeeded = 0, dwCount = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &dwNeeded, &dwCount);
    if (dwNeeded == 0)
        return 0;
    std::vector<BYTE> buffer(dwNeeded);
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), dwNeeded, &dwNeeded, &dwCount))
        return 0;
    return static_cast<int>(dwCount);
}
