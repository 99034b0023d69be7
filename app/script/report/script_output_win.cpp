#include "app/script/report/script_output.h"

#include "common/debug_log.h"
#include "common/utf8_text.h"

void ScriptOutput::Write(DWORD nStdHandle, const std::wstring& strLine, bool bShown)
{
    DebugLog(L"%s", strLine.c_str());
    if (!m_bConsole || !bShown)
        return;
    HANDLE hOut = GetStdHandle(nStdHandle);
    if (hOut == nullptr || hOut == INVALID_HANDLE_VALUE)
        return;
    const std::wstring strText = strLine + L"\r\n";
    DWORD nMode = 0;
    DWORD nDone = 0;
    if (GetConsoleMode(hOut, &nMode)) {
        WriteConsoleW(hOut, strText.c_str(), static_cast<DWORD>(strText.size()), &nDone, nullptr);
        return;
    }
    const std::string strBytes = Utf8OfWide(strText);
    if (strBytes.empty())
        return;
    WriteFile(hOut, strBytes.data(), static_cast<DWORD>(strBytes.size()), &nDone, nullptr);
}
