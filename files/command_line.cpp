#include "files/command_line.h"

#include "common/debug_log.h"

size_t GetCmdToken(const wchar_t* pszText, wchar_t* pszToken, size_t nTokenSize)
{
    size_t nPos = 0;
    size_t nOut = 0;
    auto put = [&](wchar_t ch) {
        if (nOut + 1 < nTokenSize)
            pszToken[nOut++] = ch;
    };
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
    if (nTokenSize > 0)
        pszToken[nOut] = L'\0';
    return nPos;
}

void ParseCommandLine(const std::wstring& strCmdLine, std::vector<std::wstring>& arrCmdFiles,
                      std::wstring& strCmdPrinter)
{
    const wchar_t* pszText = strCmdLine.c_str();
    size_t nPos = 0;
    for (;;) {
        while (pszText[nPos] == L' ')
            ++nPos;
        if (pszText[nPos] == L'\0')
            return;
        if (pszText[nPos] == L'-' || pszText[nPos] == L'/') {
            const wchar_t chOption = pszText[nPos + 1];
            if (chOption == L'\0')
                return;  // a lone dash or slash at the end: nothing follows it
            nPos += 2;
            if (chOption == L'M' || chOption == L'm') {
                wchar_t szPrinter[kPrinterTokenChars];
                const size_t nUsed = GetCmdToken(pszText + nPos, szPrinter, kPrinterTokenChars);
                if (nUsed == 0)
                    return;
                strCmdPrinter = szPrinter;
                DebugLog(L"ParseCommandLine / Printer : %s", szPrinter);
                nPos += nUsed;
            }
            continue;
        }
        wchar_t szFile[kFileTokenChars];
        const size_t nUsed = GetCmdToken(pszText + nPos, szFile, kFileTokenChars);
        if (nUsed == 0)
            return;
        arrCmdFiles.emplace_back(szFile);
        DebugLog(L"ParseCommandLine / File : %s", szFile);
        nPos += nUsed;
    }
}
