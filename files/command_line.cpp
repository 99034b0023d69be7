#include "files/command_line.h"

#include "files/command_line_options.h"

size_t GetCmdToken(const wchar_t* pszText, wchar_t* pszToken, size_t nTokenSize, bool* pbFits)
{
    size_t nPos = 0;
    size_t nOut = 0;
    bool bFits = true;
    auto put = [&](wchar_t ch) {
        if (nOut + 1 < nTokenSize)
            pszToken[nOut++] = ch;
        else
            bFits = false;
    };
    if (pbFits)
        *pbFits = true;
    while (pszText[nPos] == L' ')
        ++nPos;
    if (nTokenSize > 0)
        pszToken[0] = L'\0';
    if (pszText[nPos] == L'\0')
        return 0;
    const wchar_t chEnd = pszText[nPos] == L'"' ? L'"' : L' ';
    if (chEnd == L'"')
        ++nPos;
    while (pszText[nPos] != L'\0' && pszText[nPos] != chEnd)
        put(pszText[nPos++]);
    if (pszText[nPos] == chEnd)
        ++nPos;
    if (!bFits)
        nOut = 0;
    if (nTokenSize > 0)
        pszToken[nOut] = L'\0';
    if (pbFits)
        *pbFits = bFits;
    return nPos;
}

void ParseCommandLine(const std::wstring& strCmdLine, std::vector<std::wstring>& arrCmdFiles,
                      std::wstring& strCmdPrinter)
{
    const CommandLine cmd = ReadCommandLine(strCmdLine, {});
    for (const CmdFile& file : cmd.arrFiles)
        if (!file.bTooLong)
            arrCmdFiles.push_back(file.strPath);
    if (cmd.bPrinterGiven && !cmd.bPrinterTooLong)
        strCmdPrinter = cmd.strPrinter;
}
