#pragma once
// Where the lines of a run without the sheet go: always the debug log, and for LumeoCmd
// its standard output or error too (the console's own wide text, or UTF-8 when
// redirected to a file or pipe). With /json the lines go to the debug log only, and the
// run's one JSON document is all a script reads. Windows build only.
#include <windows.h>

#include <string>

#include "common/printable_text.h"

class ScriptOutput {
public:
    explicit ScriptOutput(bool bConsole, bool bJson = false) : m_bConsole(bConsole), m_bJson(bJson) {}

    // Results: one line per file, the summary, the printer report.
    // File names, printer names and string-file texts: none may end the line, send the
    // terminal a command or turn the text's direction so that it shows another name.
    void Line(const std::wstring& strLine) { Write(STD_OUTPUT_HANDLE, PrintableText(strLine), !m_bJson); }
    // Why nothing was sent: usage faults and printer faults.
    void ErrorLine(const std::wstring& strLine) { Write(STD_ERROR_HANDLE, PrintableText(strLine), !m_bJson); }
    // The JSON document of /json, on standard output: its writer has escaped every string.
    void Document(const std::wstring& strJson) { Write(STD_OUTPUT_HANDLE, strJson, true); }

private:
    void Write(DWORD nStdHandle, const std::wstring& strLine, bool bShown);
    bool m_bConsole;
    bool m_bJson;
};
