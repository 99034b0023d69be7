#pragma once
// Test printers in the Wine prefix whose output lands in capture files.
//
// Wine's local spooler sends a finished job to the printer's port; the value of
// HKCU\Software\Wine\Printing\Spooler named by the port redirects it: a Unix path
// receives each job (the file is rewritten per job), "|command" gets it on stdin.
// The drivers are copies of Wine's own PostScript driver under our file names, so
// Wine can load them as it adds the printer; RAW jobs pass winprint untouched.
// Windows build only, for programs running under Wine.
#include <windows.h>

#include <list>
#include <string>

struct TestPrinter {
    std::wstring strName;
    std::wstring strPort;
    std::wstring strDriver;
    std::wstring strCapturePath;  // Windows path of the capture file
};

class WinePrinters {
public:
    // strTag makes the names unique per test program: printers "Lumeo <tag> ...",
    // drivers "Lumeo Raw <tag>" and "Lumeo XPS <tag>". bKeep leaves everything in
    // place when the object goes (demo printers).
    explicit WinePrinters(const std::wstring& strTag, bool bKeep = false);
    ~WinePrinters();
    WinePrinters(const WinePrinters&) = delete;
    WinePrinters& operator=(const WinePrinters&) = delete;

    // A printer with a raw driver on strPort, its jobs captured in strCaptureFile
    // (a Windows path; empty: a fresh file in the temporary folder). bAppend keeps
    // every job in the capture ("|cat >>") instead of only the last.
    // Returns nullptr when Wine refused the printer.
    const TestPrinter* AddRawPrinter(const std::wstring& strName, const std::wstring& strPort,
                                     const std::wstring& strCaptureFile = L"", bool bAppend = false);
    // The same with a driver whose file is named mxdwdrv.dll.
    const TestPrinter* AddXpsPrinter(const std::wstring& strName, const std::wstring& strPort,
                                     const std::wstring& strCaptureFile = L"", bool bAppend = false);
    // A raw printer whose comment is strComment (the UI tests' stand-in capability
    // check reads a device ID, or "BUSY", from it); its jobs go to a fresh capture.
    const TestPrinter* AddPrinterWithComment(const std::wstring& strName, const std::wstring& strPort,
                                             const std::wstring& strComment);
    // Deletes a printer now (its capture stays until the object goes).
    bool DeletePrinter(const std::wstring& strName);

    // Everything the spooler delivered to the printer's port so far.
    static std::string ReadCapture(const TestPrinter& printer);
    static void ClearCapture(const TestPrinter& printer);
    static bool MakeDefault(const std::wstring& strName);

    const std::wstring& Tag() const { return m_strTag; }

private:
    bool EnsureDriver(const std::wstring& strDriver, const std::wstring& strFile);
    // Adds the printer with the driver named strDriver (its file strDriverFile).
    const TestPrinter* InstallPrinter(const std::wstring& strName, const std::wstring& strPort,
                                      const std::wstring& strDriver, const std::wstring& strDriverFile,
                                      const std::wstring& strCaptureFile, bool bAppend,
                                      const std::wstring& strComment = L"");

    std::wstring m_strTag;
    bool m_bKeep;
    std::list<TestPrinter> m_printers;  // a list: the pointers handed out stay valid
};

// Holds off printer changes by the other test programs sharing the prefix while it
// lives: Wine's printer enumeration can skip a printer that another process adds or
// deletes meanwhile. WinePrinters takes it for every change; tests take it while
// they read the printer list.
class PrinterChangeLock {
public:
    PrinterChangeLock();
    ~PrinterChangeLock();
    PrinterChangeLock(const PrinterChangeLock&) = delete;
    PrinterChangeLock& operator=(const PrinterChangeLock&) = delete;

private:
    HANDLE m_hMutex;
};

// How many local printers the spooler lists.
int CountLocalPrinters();

// The Unix path Wine maps a Windows path to, and back; empty when not running under Wine.
std::string WineUnixPath(const std::wstring& strWindowsPath);
std::wstring WineWindowsPath(const std::string& strUnixPath);
