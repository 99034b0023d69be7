#include "job/spooler/pjl_envelope.h"

#include <algorithm>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/file_types.h"
#include "job/settings/param_mngr.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include "common/ansi_text.h"
#endif

const wchar_t kUEL[] = L"\x1B%-12345X";

namespace {
const wchar_t kCRLF[] = L"\r\n";
const wchar_t kBanner[] = L"///////////////////// SendStartPJLCommand /////////////////////";

std::wstring JobAttrLine(const std::wstring& value) { return L"@PJL SET JOBATTR=\"" + value + L"\"" + kCRLF; }

std::wstring Number(int64_t n) { return std::to_wstring(n); }

// "@PJL SET OUTBIN=UPPER": the keywords come from the printer's own names, made of capitals
// and digits (PjlKeywordOfName); anything else could end the line and start a command.
std::wstring KeywordLine(const wchar_t* pszCommand, const std::string& keyword)
{
    if (keyword.empty() || !std::all_of(keyword.begin(), keyword.end(), [](char ch) {
            return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        }))
        return {};
    return pszCommand + std::wstring(keyword.begin(), keyword.end()) + kCRLF;
}
}  // namespace

std::wstring TicketNotCarried(const JobTicket& ticket)
{
    if (!ticket.arrFinishings.empty())
        return L"finishings";
    if (!ticket.strPin.empty())
        return L"job-password";
    for (const auto& [pszName, value] : {std::pair{L"media-source=", ticket.strTray},
                                          std::pair{L"output-bin=", ticket.strOutputBin}})
        if (!value.empty() && KeywordLine(L"", value).empty())
            return pszName + std::wstring(value.begin(), value.end());
    return {};
}

std::wstring LanguageLineOfPath(const std::wstring& strPath)
{
    // Follows the file list's classification, so ".jpeg" or ".tiff" files switch language too.
    const wchar_t* language = PrinterLanguageOfType(FileTypeOfExtension(PathExtension(strPath)));
    if (!language)
        return {};
    return std::wstring(L"@PJL ENTER LANGUAGE=") + language + kCRLF;
}

std::wstring ComposeStartPJL(const JobSettings& s, const std::wstring& strPaperPJL,
                             const std::wstring& strPaperTypePJL, int64_t nFileSize, const std::wstring& strPath)
{
    const std::wstring strStart = std::wstring(kUEL) + L"@PJL" + kCRLF;

    const std::wstring strColorMode =
        std::wstring(s.m_nColorMode == 1 ? L"@PJL SET COLORMODE=MONO" : L"@PJL SET COLORMODE=COLOR") + kCRLF;

    std::wstring strDuplex;
    if (s.m_nDuplex == 1)
        strDuplex = std::wstring(L"@PJL SET DUPLEX=ON") + kCRLF + L"@PJL SET BINDING=LONGEDGE" + kCRLF;
    else if (s.m_nDuplex == 2)
        strDuplex = std::wstring(L"@PJL SET DUPLEX=ON") + kCRLF + L"@PJL SET BINDING=SHORTEDGE" + kCRLF;
    else
        strDuplex = std::wstring(L"@PJL SET DUPLEX=OFF") + kCRLF;

    const std::wstring strZoom = JobAttrLine(L"@ZOOM=" + Number(s.m_bFitToPage == 1 ? 0 : s.m_nZoom));
    const std::wstring strCopies = L"@PJL SET COPIES=" + Number(s.m_nCopies) + kCRLF;
    // The orientation is shown in the preview only; the stream always says portrait.
    const std::wstring strOrientation = std::wstring(L"@PJL SET ORIENTATION=PORTRAIT") + kCRLF;

    const bool bPages = s.m_nPrintRange == 1;
    const std::wstring strPrintRange = JobAttrLine(L"@FSTP=" + Number(bPages ? s.m_nFromPage : 0)) +
                                       JobAttrLine(L"@LSTP=" + Number(bPages ? s.m_nToPage : 0));

    const std::wstring strPaperSize = L"@PJL SET PAPER=" + strPaperPJL + kCRLF;
    const std::wstring strPaperType = L"@PJL SET PAPERTYPE=" + strPaperTypePJL + kCRLF;
    // A tray and a bin only when chosen, so a job without them is the job it always was.
    const std::wstring strMediaSource = KeywordLine(L"@PJL SET MEDIASOURCE=", s.m_Ticket.strTray);
    const std::wstring strOutBin = KeywordLine(L"@PJL SET OUTBIN=", s.m_Ticket.strOutputBin);
    // The true size in decimal, also for files of 2 GiB and more.
    const std::wstring strFileSize = JobAttrLine(L"@FILESIZE=" + Number(nFileSize < 0 ? 0 : nFileSize));
    const std::wstring strDataType = LanguageLineOfPath(strPath);

    DebugLog(kBanner);
    DebugLog(L"strColorMode : %s", strColorMode.c_str());
    DebugLog(L"strDuplex : %s", strDuplex.c_str());
    DebugLog(L"strZoom : %s", strZoom.c_str());
    DebugLog(L"strCopies : %s", strCopies.c_str());
    DebugLog(L"strOrientation : %s", strOrientation.c_str());
    DebugLog(L"strPrintRange : %s", strPrintRange.c_str());
    DebugLog(L"strPaperSize : %s", strPaperSize.c_str());
    DebugLog(L"strPaperType : %s", strPaperType.c_str());
    if (!strMediaSource.empty() || !strOutBin.empty())
        DebugLog(L"strMediaSource : %s strOutBin : %s", strMediaSource.c_str(), strOutBin.c_str());
    DebugLog(L"strFileSize : %s", strFileSize.c_str());
    DebugLog(L"strDataType : %s", strDataType.c_str());
    DebugLog(kBanner);

    return strStart + strColorMode + strDuplex + strZoom + strCopies + strOrientation + strPrintRange +
           strPaperSize + strPaperType + strMediaSource + strOutBin + strFileSize + strDataType;
}

int64_t QueryFileSizeForPJL(const std::wstring& strPath)
{
    if (strPath.empty() || strPath.size() >= static_cast<size_t>(kTextChars))
        return 0;
#ifdef _WIN32
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileW(strPath.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(find);
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
#else
    struct stat st {};
    if (stat(ToAnsi(strPath).c_str(), &st) != 0)
        return 0;
    return static_cast<int64_t>(st.st_size);
#endif
}

JobSnapshot SnapshotJob()
{
    JobSnapshot job;
    if (CParamMngr* pParam = GetParamMngr()) {
        pParam->EnforceLocks();  // whatever a page or a message put into the settings
        job.settings = pParam->m_JobSettings;
        job.strPaperPJL = pParam->GetPaperSizePJL();
        job.strPaperTypePJL = pParam->GetPaperTypePJL();
    }
    return job;
}

std::wstring SendStartPJLCommand(const JobSnapshot& job, const std::wstring& strPath, int64_t nFileSize)
{
    std::wstring strPJLCommand = ComposeStartPJL(job.settings, job.strPaperPJL, job.strPaperTypePJL, nFileSize, strPath);
    DebugLog(L"SendStartPJLCommand / strPJLCommand : %s", strPJLCommand.c_str());
    return strPJLCommand;
}

std::wstring SendStartPJLCommand(const std::wstring& strPath)
{
    return SendStartPJLCommand(SnapshotJob(), strPath, QueryFileSizeForPJL(strPath));
}

std::wstring SendEndPJLCommand()
{
    std::wstring strEnd = kUEL;
    DebugLog(L"SendEndPJLCommand / nResult : %s", strEnd.c_str());
    return strEnd;
}
