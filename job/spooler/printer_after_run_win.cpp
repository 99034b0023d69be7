#include "job/spooler/printer_after_run.h"

#include <windows.h>

#include <algorithm>

#include "common/debug_log.h"
#include "printer/state/printer_state_text.h"

namespace {
// Often enough to see a page come out, rarely enough not to burden the printer's agent.
constexpr ULONGLONG kPollMs = 1000;
constexpr DWORD kStopCheckMs = 100;

const wchar_t* VerdictName(FollowVerdict verdict)
{
    switch (verdict) {
    case FollowVerdict::Done:
        return L"done";
    case FollowVerdict::Trouble:
        return L"trouble";
    case FollowVerdict::TimedOut:
        return L"timed out";
    case FollowVerdict::NoState:
        return L"no state";
    default:
        return L"stopped";
    }
}
}  // namespace

PrinterAfterRun FollowPrinterAfterRun(PrinterRoute& reader, const PrinterState& before, uint32_t nMostPages,
                                      unsigned nLimitSeconds,
                                      const std::function<bool()>& fnStop,
                                      const std::function<void(const PrinterState&, int)>& fnTell)
{
    const ULONGLONG nLimitMs = ULONGLONG{nLimitSeconds} * 1000;
    PrinterFollow follow(before, static_cast<int64_t>(nLimitMs), nMostPages);
    const ULONGLONG nStart = GetTickCount64();
    FollowVerdict verdict = FollowVerdict::Following;
    while (!(fnStop && fnStop())) {
        PrinterState sample;
        const bool bAnswered = reader.ReadState(sample) == 1;
        const ULONGLONG nElapsed = GetTickCount64() - nStart;
        verdict = follow.Add(sample, bAnswered, static_cast<int64_t>(nElapsed));
        DebugLog(L"[PrinterFollow] %u ms: %s", static_cast<unsigned>(nElapsed),
                 bAnswered ? PrinterStateLine(sample).c_str() : L"no answer");
        if (verdict != FollowVerdict::Following)
            break;
        if (fnTell)
            fnTell(follow.Last(), static_cast<int>((nLimitMs - std::min(nElapsed, nLimitMs) + 999) / 1000));
        // The next question a poll later, and never much past the limit.
        const ULONGLONG nNext = std::min(nElapsed + kPollMs, nLimitMs);
        while (GetTickCount64() - nStart < nNext && !(fnStop && fnStop()))
            Sleep(kStopCheckMs);
    }
    PrinterAfterRun after{{verdict, follow.PagesPrinted()}, follow.Last()};
    DebugLog(L"[PrinterFollow] %s, %s pages", VerdictName(verdict),
             after.report.nPages ? std::to_wstring(*after.report.nPages).c_str() : L"unknown");
    return after;
}
