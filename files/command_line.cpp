#include "files/command_line.h"

#include "common/debug_log.h"

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
                bool bFits = true;
                const size_t nUsed = GetCmdToken(pszText + nPos, szPrinter, kPrinterTokenChars, &bFits);
                if (nUsed == 0)
                    return;
                if (bFits) {
                    strCmdPrinter = szPrinter;
                    DebugLog(L"ParseCommandLine / Printer : %s", szPrinter);
                } else {
                    DebugLog(L"ParseCommandLine / Printer name too long: skipped");
                }
                nPos += nUsed;
            }
            continue;
        }
        wchar_t szFile[kFileTokenChars];
        bool bFits = true;
        const size_t nUsed = GetCmdToken(pszText + nPos, szFile, kFileTokenChars, &bFits);
        if (nUsed == 0)
            return;
        if (bFits) {
            arrCmdFiles.emplace_back(szFile);
            DebugLog(L"ParseCommandLine / File : %s", szFile);
        } else {
            DebugLog(L"ParseCommandLine / File name too long: skipped");
        }
        nPos += nUsed;
    }
}
