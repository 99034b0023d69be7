// CPrtControl: the spool file mapped for submission and its one raw document.
#include <algorithm>
#include <cwchar>

#include "common/debug_log.h"
#include "printer/queue/document_window.h"
#include "printer/queue/prt_control.h"
#include "printer/queue/spooler_api.h"

namespace {
const wchar_t kXPSDriverFile[] = L"mxdwdrv.dll";
// One WritePrinter call takes at most this much, so a stop request is seen soon.
constexpr DWORD kWriteChunkBytes = 8u << 20;

const wchar_t* FileNamePart(const wchar_t* pszPath)
{
    const wchar_t* pszSlash = wcsrchr(pszPath, L'\\');
    return pszSlash ? pszSlash + 1 : pszPath;
}

// An open printer and the document started on it. A document that was not ended when
// this goes, by a failure or by an exception, is aborted: a job cut short never prints.
class CPrinterDocument {
public:
    explicit CPrinterDocument(HANDLE hPrinter) : m_hPrinter(hPrinter) {}
    ~CPrinterDocument()
    {
        if (m_bStarted) {
            DebugLog(L"WriteDocument / job aborted");
            Spooler().AbortPrinter(m_hPrinter);
        }
        Spooler().ClosePrinter(m_hPrinter);
    }
    CPrinterDocument(const CPrinterDocument&) = delete;
    CPrinterDocument& operator=(const CPrinterDocument&) = delete;
    void Started() { m_bStarted = true; }
    bool End()
    {
        m_bStarted = false;
        return Spooler().EndDocPrinter(m_hPrinter) != FALSE;
    }

private:
    HANDLE m_hPrinter;
    bool m_bStarted = false;
};
}  // namespace

void CPrtControl::ReleaseDocument()
{
    if (m_pDocView) {
        UnmapViewOfFile(m_pDocView);
        m_pDocView = nullptr;
    }
    if (m_hDocMapping) {
        CloseHandle(m_hDocMapping);
        m_hDocMapping = nullptr;
    }
    m_nDocSize = 0;
    m_nDocViewOffset = 0;
}

// Maps the window that starts at nOffset in place of the one mapped before.
const BYTE* CPrtControl::MapDocumentWindow(unsigned long long nOffset)
{
    if (m_pDocView) {
        UnmapViewOfFile(m_pDocView);
        m_pDocView = nullptr;
    }
    if (!m_hDocMapping || nOffset >= m_nDocSize)
        return nullptr;
    const unsigned long long nBytes = std::min<unsigned long long>(DocumentWindowBytes(), m_nDocSize - nOffset);
    m_pDocView = static_cast<const BYTE*>(MapViewOfFile(m_hDocMapping, FILE_MAP_READ,
                                                        static_cast<DWORD>(nOffset >> 32),
                                                        static_cast<DWORD>(nOffset & 0xFFFFFFFFu),
                                                        static_cast<SIZE_T>(nBytes)));
    m_nDocViewOffset = nOffset;
    return m_pDocView;
}

int CPrtControl::MapDocument(HANDLE hFile)
{
    ReleaseDocument();
    LARGE_INTEGER size = {};
    if (hFile == INVALID_HANDLE_VALUE || !hFile || !GetFileSizeEx(hFile, &size))
        return 0;
    m_nDocSize = static_cast<unsigned long long>(size.QuadPart);
    // An empty file has nothing to map; a larger one shows its first window.
    if (m_nDocSize > 0) {
        m_hDocMapping = CreateFileMappingW(hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (!m_hDocMapping || !MapDocumentWindow(0)) {
            ReleaseDocument();
            return 0;
        }
    }
    return 1;
}

// Hands every byte of the spool file to the open document, window by window, and
// each window until the spooler has taken all of it. False when the spooler fails or
// a stop was requested (pWatch->bStopped then).
bool CPrtControl::WriteWholeDocument(HANDLE hPrinter, unsigned long long& nWritten, DocumentWriteWatch* pWatch)
{
    const SpoolerApi& api = Spooler();
    nWritten = 0;
    while (nWritten < m_nDocSize) {
        const BYTE* pView = (m_pDocView && m_nDocViewOffset == nWritten) ? m_pDocView : MapDocumentWindow(nWritten);
        if (!pView)
            return false;
        const DWORD nWindowBytes =
            static_cast<DWORD>(std::min<unsigned long long>(DocumentWindowBytes(), m_nDocSize - nWritten));
        DWORD nDone = 0;
        while (nDone < nWindowBytes) {
            if (pWatch && pWatch->fnStopRequested && pWatch->fnStopRequested()) {
                pWatch->bStopped = true;
                return false;
            }
            DWORD nThisWrite = 0;
            const DWORD nAsk = std::min(nWindowBytes - nDone, kWriteChunkBytes);
            const BOOL bRet = api.WritePrinter(hPrinter, const_cast<BYTE*>(pView + nDone), nAsk, &nThisWrite);
            if (!bRet && pWatch)
                pWatch->nError = GetLastError();
            DebugLog(L"WriteDocument / ret : WritePrinter : %d", bRet);
            // A write that takes nothing would never end.
            if (!bRet || nThisWrite == 0)
                return false;
            const DWORD nTaken = std::min(nThisWrite, nAsk);
            nDone += nTaken;
            nWritten += nTaken;
            if (pWatch && pWatch->fnWritten)
                pWatch->fnWritten(nWritten);
        }
    }
    return true;
}

unsigned long long CPrtControl::WriteDocument(const std::wstring& strDocName, DocumentWriteWatch* pWatch)
{
    const PRINTER_INFO_2W* pInfo = GetPrinterInfo(m_nCurrentIndex);
    if (!pInfo || !pInfo->pPrinterName)
        return 0;
    const SpoolerApi& api = Spooler();
    HANDLE hPrinter = nullptr;
    if (!api.OpenPrinterW(pInfo->pPrinterName, &hPrinter, nullptr) || !hPrinter) {
        if (pWatch)
            pWatch->nError = GetLastError();
        return 0;
    }
    CPrinterDocument document(hPrinter);

    const wchar_t* pszDataType = L"RAW";
    if (IsXPSDriver(hPrinter)) {
        DebugLog(L"This is XPS Driver so Document Data type was set [XPS_PASS]");
        pszDataType = L"XPS_PASS";
    }

    DOC_INFO_1W docInfo = {};
    docInfo.pDocName = const_cast<wchar_t*>(strDocName.c_str());
    docInfo.pOutputFile = nullptr;
    docInfo.pDatatype = const_cast<wchar_t*>(pszDataType);

    unsigned long long nWritten = 0;
    const DWORD nJobId = api.StartDocPrinterW(hPrinter, 1, reinterpret_cast<BYTE*>(&docInfo));
    if (!nJobId && pWatch)
        pWatch->nError = GetLastError();
    if (nJobId) {
        document.Started();
        if (pWatch)
            pWatch->nJobId = nJobId;
        bool bComplete = false;
        if (api.StartPagePrinter(hPrinter)) {
            bComplete = WriteWholeDocument(hPrinter, nWritten, pWatch);
            api.EndPagePrinter(hPrinter);
        } else if (pWatch) {
            pWatch->nError = GetLastError();
        }
        if (!bComplete) {
            DebugLog(L"WriteDocument / %I64u of %I64u bytes written", nWritten, m_nDocSize);
        } else if (!document.End()) {
            if (pWatch)
                pWatch->nError = GetLastError();
            DebugLog(L"WriteDocument / EndDocPrinter failed");
            nWritten = 0;
        }
    }
    return nWritten;
}

bool CPrtControl::IsXPSDriver(HANDLE hPrinter)
{
    if (!hPrinter)
        return false;
    const SpoolerApi& api = Spooler();
    DWORD cbNeeded = 0;
    api.GetPrinterDriverW(hPrinter, nullptr, 2, nullptr, 0, &cbNeeded);
    if (cbNeeded < sizeof(DRIVER_INFO_2W))
        return false;
    BYTE* pBuffer = static_cast<BYTE*>(GlobalAlloc(GPTR, cbNeeded));
    if (!pBuffer)
        return false;
    bool bXPS = false;
    if (api.GetPrinterDriverW(hPrinter, nullptr, 2, pBuffer, cbNeeded, &cbNeeded)) {
        const DRIVER_INFO_2W* pDriver = reinterpret_cast<const DRIVER_INFO_2W*>(pBuffer);
        if (pDriver->pDriverPath)
            bXPS = _wcsicmp(FileNamePart(pDriver->pDriverPath), kXPSDriverFile) == 0;
    }
    GlobalFree(pBuffer);
    return bXPS;
}
