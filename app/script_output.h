#pragma once
// Where the lines of a run without the sheet go: always the debug log, and for LumeoCmd
// its standard output or error too (the console's own wide text, or UTF-8 when
// redirected to a file or pipe). Windows build only.
#include <windows.h>

#include <string>

class ScriptOutput {
public:
    explicit ScriptOutput(bool bConsole) : m_bConsole(bConsole) {}

    // Results: one line per file, the summary, the printer report.
    void Line(const std::wstring& strLine) { Write(STD_OUTPUT_HANDLE, strLine); }
    // Why nothing was sent: usage faults and printer faults.
    void ErrorLine(const std::wstring& strLine) { Write(STD_ERROR_HANDLE, strLine); }

private:
    void Write(DWORD nStdHandle, const std::wstring& strLine);
    bool m_bConsole;
};
