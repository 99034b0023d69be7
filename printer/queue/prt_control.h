#pragma once
// CPrtControl: the installed printers, the current printer, the device-ID routes
// and the spool file mapped for submission. Windows build only.
#include <windows.h>
#include <winspool.h>

#include <atomic>
#include <functional>
#include <string>

// What a caller of WriteDocument may ask and learn while the document is written.
struct DocumentWriteWatch {
    // Asked between writes: true aborts the document (AbortPrinter, never EndDocPrinter).
    std::function<bool()> fnStopRequested;
    // The bytes the spooler has taken so far.
    std::function<void(unsigned long long nWritten)> fnWritten;
    DWORD nJobId = 0;       // the spooler's job, 0 when no document was started
    bool bStopped = false;  // the document was aborted on request
    DWORD nError = 0;       // the spooler's error when it did not take the whole document
};

class CPrtControl {
public:
    CPrtControl();
    virtual ~CPrtControl();

    // Printer list, default printer and current printer (prt_control_win.cpp).
    int RefreshPrinterList();
    int GetPrinterCount() const { return m_nCount; }
    int GetCurrentIndex() const { return m_nCurrentIndex; }
    int SetCurrentIndex(int nIndex);
    std::wstring GetPrinterDisplayName(int nIndex) const;
    std::wstring GetPrinterPortName(int nIndex) const;
    int SetCurrentPrinter(const std::wstring& strName);
    int GetDefaultPrinterIndex();
    int GetOSVersionCode();
    std::wstring GetWin2kDefaultPrinter();
    std::wstring GetNTDefaultPrinter();
    std::wstring Get9xDefaultPrinter();
    // The level-2 record at an index, nullptr when out of range.
    const PRINTER_INFO_2W* GetPrinterInfo(int nIndex) const;
    // The current printer's name; empty when there is none.
    std::wstring GetCurrentPrinterName() const
    {
        const PRINTER_INFO_2W* pInfo = GetPrinterInfo(GetCurrentIndex());
        return pInfo && pInfo->pPrinterName ? std::wstring(pInfo->pPrinterName) : std::wstring();
    }
    // Makes the printer of this name (any letter case) current; false when none is
    // installed, and the current printer stays as it was.
    bool SelectPrinter(const std::wstring& strName)
    {
        SetCurrentPrinter(strName);
        return !strName.empty() && _wcsicmp(GetCurrentPrinterName().c_str(), strName.c_str()) == 0;
    }

    // Spooler submission of one mapped spool file (prt_document_win.cpp). MapDocument maps
    // the open file read-only; the handle stays the caller's, open until ReleaseDocument.
    int MapDocument(HANDLE hFile);
    unsigned long long WriteDocument(const std::wstring& strDocName, DocumentWriteWatch* pWatch = nullptr);
    void ReleaseDocument();
    bool IsXPSDriver(HANDLE hPrinter);

    // Device ID of the current printer (port/prt_device_id_win.cpp).
    int GetCurrentPrinterDeviceID(std::wstring& strDeviceID);
    int GetLocalUSBDeviceID(const std::wstring& strPortName, std::wstring& strDeviceID);
    int GetLocalLPTDeviceID(const std::wstring& strPortName, std::wstring& strDeviceID);
    int GetNetworkDeviceID(std::wstring strAddress, std::wstring strCommunity, std::wstring& strDeviceID);

private:
    // Printer list: the PRINTER_INFO_2W block of the spooler, owned.
    BYTE* m_pPrinterList = nullptr;
    int m_nCount = 0;
    int m_nCurrentIndex = -1;

    // The mapped spool file, between MapDocument and ReleaseDocument.
    HANDLE m_hDocMapping = nullptr;
    const BYTE* m_pDocView = nullptr;
    unsigned long long m_nDocSize = 0;
    // The window of the spool file that m_pDocView shows (a large file is sent window by window).
    unsigned long long m_nDocViewOffset = 0;

    const BYTE* MapDocumentWindow(unsigned long long nOffset);
    bool WriteWholeDocument(HANDLE hPrinter, unsigned long long& nWritten, DocumentWriteWatch* pWatch);
};

// Set by GetCurrentPrinterDeviceID when no network lookup could even be attempted.
extern std::atomic<bool> g_bUnsupportedPort;
