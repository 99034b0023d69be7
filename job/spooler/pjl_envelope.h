#pragma once
// The PJL header and trailer that wrap every file sent to the printer.
#include <cstdint>
#include <string>

#include "job/settings/job_settings.h"

// Universal Exit Language: ESC "%-12345X".
extern const wchar_t kUEL[];

// The header for the given options, paper keywords, file size and path.
// Lines end with CR LF; numbers are plain decimal.
std::wstring ComposeStartPJL(const JobSettings& settings, const std::wstring& strPaperPJL,
                             const std::wstring& strPaperTypePJL, int64_t nFileSize, const std::wstring& strPath);

// What of a ticket the PJL header cannot carry ("finishings", "job-password",
// "output-bin=tray-2"), for the files to be refused with it; empty when it carries it all.
std::wstring TicketNotCarried(const JobTicket& ticket);

// The "@PJL ENTER LANGUAGE=..." line for a path, or empty for a file of no known type.
std::wstring LanguageLineOfPath(const std::wstring& strPath);

// Size of the file as the directory search reports it; 0 when not found
// (a path of 260 characters or more counts as not found).
int64_t QueryFileSizeForPJL(const std::wstring& strPath);

// The options and paper keywords of one job, read from CParamMngr at once, so that files
// sent on another thread carry what the pages showed when Print was pressed.
struct JobSnapshot {
    JobSettings settings;
    std::wstring strPaperPJL = L"AUTO";
    std::wstring strPaperTypePJL = L"OFF";
};
// The current options of CParamMngr (the zero settings and "AUTO"/"OFF" without one).
JobSnapshot SnapshotJob();

// The header for a job and the file at strPath of nFileSize bytes (logged).
std::wstring SendStartPJLCommand(const JobSnapshot& job, const std::wstring& strPath, int64_t nFileSize);
// The header for the current JobSettings of CParamMngr and the file at strPath (logged).
std::wstring SendStartPJLCommand(const std::wstring& strPath);
// The trailer: the UEL alone, no line end (logged).
std::wstring SendEndPJLCommand();
