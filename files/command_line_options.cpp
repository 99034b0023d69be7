#include "files/command_line_options.h"

#include <algorithm>
#include <string_view>

#include "common/ascii_case.h"
#include "common/debug_log.h"
#include "common/url_password.h"
#include "files/command_line.h"

namespace {
enum class Opt {
    Print, Probe, Usage, Json, All, Copies, Pages, Paper, Type, Duplex, Color, Fit, Zoom, Wait, Via, Trust, User, Tray, Bin, Finish, Pin
};

struct OptionName {
    const wchar_t* pszName;
    Opt opt;
    bool bTakesValue;
};

constexpr OptionName kOptions[] = {
    {L"print", Opt::Print, false}, {L"probe", Opt::Probe, false},  {L"?", Opt::Usage, false},
    {L"copies", Opt::Copies, true}, {L"pages", Opt::Pages, true},  {L"paper", Opt::Paper, true},
    {L"type", Opt::Type, true},     {L"duplex", Opt::Duplex, true}, {L"color", Opt::Color, true},
    {L"fit", Opt::Fit, false},      {L"zoom", Opt::Zoom, true},     {L"wait", Opt::Wait, true},
    {L"json", Opt::Json, false},    {L"all", Opt::All, false},      {L"via", Opt::Via, true},
    {L"trust", Opt::Trust, false},  {L"user", Opt::User, true},
    {L"tray", Opt::Tray, true},     {L"bin", Opt::Bin, true},       {L"finish", Opt::Finish, true},
    {L"pin", Opt::Pin, false},
};

// What a report shows of a token too long to take: its start.
constexpr size_t kShownChars = 40;

bool IsJobOption(Opt opt)
{
    return opt != Opt::Print && opt != Opt::Probe && opt != Opt::Usage && opt != Opt::Json && opt != Opt::All &&
           opt != Opt::Trust && opt != Opt::User;
}

const OptionName* FindOption(std::wstring_view name)
{
    for (const OptionName& option : kOptions)
        if (SameIgnoringAsciiCase(name, option.pszName))
            return &option;
    return nullptr;
}

int KeywordIndex(std::span<const wchar_t* const> keywords, std::wstring_view value)
{
    for (size_t i = 0; i < keywords.size(); ++i)
        if (keywords[i] && SameIgnoringAsciiCase(value, keywords[i]))
            return static_cast<int>(i);
    return -1;
}

// Decimal digits only, no sign or blank, within [nLow, nHigh].
std::optional<int> NumberIn(std::wstring_view text, int nLow, int nHigh)
{
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int nValue = 0;
    for (wchar_t ch : text) {
        if (ch < L'0' || ch > L'9')
            return std::nullopt;
        nValue = nValue * 10 + (ch - L'0');
    }
    if (nValue < nLow || nValue > nHigh)
        return std::nullopt;
    return nValue;
}

std::wstring StartOfToken(const wchar_t* pszText)
{
    std::wstring_view rest(pszText);
    const size_t nFirst = rest.find_first_not_of(L' ');
    rest.remove_prefix(nFirst == std::wstring_view::npos ? rest.size() : nFirst);
    if (!rest.empty() && rest.front() == L'"')
        rest.remove_prefix(1);
    return std::wstring(rest.substr(0, kShownChars)) + L"\u2026";
}

// One walk over the line. Lenient (the sheet's reading) keeps going past anything it does
// not know; strict (/print, /probe) stops at the first fault.
class Reader {
public:
    Reader(const std::wstring& strLine, const OptionKeywords& keywords, RunMode mode)
        : m_pszText(strLine.c_str()), m_keywords(keywords), m_bStrict(mode == RunMode::Print || mode == RunMode::Probe)
    {
        m_cmd.mode = mode;
    }

    void Walk();
    bool m_bPrint = false;
    bool m_bProbe = false;
    bool m_bUsage = false;
    CommandLine m_cmd;

private:
    size_t TakeOption(const OptionName& option, std::wstring_view token, const wchar_t* pszRest);
    bool ApplyValue(Opt opt, std::wstring_view value);
    size_t TakePrinter(const wchar_t* pszRest);
    size_t TakePin(std::wstring_view token, const wchar_t* pszRest);
    size_t TakeFile(const wchar_t* pszRest);
    void Fail(UsageError error, std::wstring_view token, std::wstring_view value = {})
    {
        if (m_cmd.error != UsageError::None)
            return;
        m_cmd.error = error;
        m_cmd.strErrorToken = token;
        m_cmd.strErrorValue = value;
    }
    bool Failed() const { return m_cmd.error != UsageError::None; }

    const wchar_t* m_pszText;
    const OptionKeywords& m_keywords;
    bool m_bStrict;
};

void Reader::Walk()
{
    size_t nPos = 0;
    while (!Failed()) {
        while (m_pszText[nPos] == L' ')
            ++nPos;
        if (m_pszText[nPos] == L'\0')
            return;
        if (m_pszText[nPos] != L'-' && m_pszText[nPos] != L'/') {
            const size_t nUsed = TakeFile(m_pszText + nPos);
            if (nUsed == 0)
                return;
            nPos += nUsed;
            continue;
        }
        size_t nEnd = nPos;
        while (m_pszText[nEnd] != L'\0' && m_pszText[nEnd] != L' ')
            ++nEnd;
        const std::wstring_view token(m_pszText + nPos, nEnd - nPos);
        if (const OptionName* pOption = FindOption(token.substr(1))) {
            const size_t nUsed = TakeOption(*pOption, token, m_pszText + nEnd);
            nPos = nEnd + nUsed;
            if (pOption->bTakesValue && nUsed == 0)
                return;
            continue;
        }
        const wchar_t chOption = m_pszText[nPos + 1];
        if (chOption == L'M' || chOption == L'm') {
            const size_t nUsed = TakePrinter(m_pszText + nPos + 2);
            if (nUsed == 0)
                return;
            nPos += 2 + nUsed;
            continue;
        }
        if (m_bStrict) {
            Fail(UsageError::UnknownOption, token);
            return;
        }
        if (chOption == L'\0')
            return;  // a lone dash or slash at the end: nothing follows it
        nPos += 2;   // an option the sheet does not know: its two characters are skipped
    }
}

size_t Reader::TakeOption(const OptionName& option, std::wstring_view token, const wchar_t* pszRest)
{
    if (m_cmd.mode == RunMode::Probe && IsJobOption(option.opt)) {
        Fail(UsageError::NotForProbe, token);
        return 0;
    }
    if (m_cmd.mode == RunMode::Print && (option.opt == Opt::All || option.opt == Opt::Trust)) {
        Fail(UsageError::OnlyForProbe, token);
        return 0;
    }
    if (!option.bTakesValue) {
        if (option.opt == Opt::Print)
            m_bPrint = true;
        else if (option.opt == Opt::Probe)
            m_bProbe = true;
        else if (option.opt == Opt::Usage)
            m_bUsage = true;
        else if (option.opt == Opt::Json)
            m_cmd.bJson = true;
        else if (option.opt == Opt::All)
            m_cmd.bAll = true;
        else if (option.opt == Opt::Trust)
            m_cmd.bTrust = true;
        else if (option.opt == Opt::Pin)
            return TakePin(token, pszRest);
        else
            m_cmd.options.bFitToPage = true;
        return 0;
    }
    const bool bTicket = option.opt == Opt::Tray || option.opt == Opt::Bin || option.opt == Opt::Finish;
    wchar_t szValue[kTicketTokenChars];
    bool bFits = true;
    const size_t nUsed = GetCmdToken(pszRest, szValue, bTicket ? kTicketTokenChars : kValueTokenChars, &bFits);
    if (nUsed == 0) {
        if (m_bStrict)
            Fail(UsageError::MissingValue, token);
        return 0;
    }
    const std::wstring strValue = bFits ? std::wstring(szValue) : StartOfToken(pszRest);
    if (!bFits || !ApplyValue(option.opt, strValue)) {
        DebugLog(L"ReadCommandLine / Value not valid : %s %s", std::wstring(token).c_str(), strValue.c_str());
        if (m_bStrict)
            Fail(UsageError::BadValue, token, strValue);
    }
    return nUsed;
}

bool Reader::ApplyValue(Opt opt, std::wstring_view value)
{
    JobOptions& o = m_cmd.options;
    switch (opt) {
    case Opt::Copies:
        if (const auto n = NumberIn(value, 1, 99)) {
            o.nCopies = *n;
            return true;
        }
        return false;
    case Opt::Pages: {
        // "N" alone is the page N to N.
        const size_t nDash = value.find(L'-');
        const auto nFrom = NumberIn(value.substr(0, nDash), 1, 9999);
        const auto nTo = nDash == std::wstring_view::npos ? nFrom : NumberIn(value.substr(nDash + 1), 1, 9999);
        if (!nFrom || !nTo || *nFrom > *nTo)
            return false;
        o.nFromPage = *nFrom;
        o.nToPage = *nTo;
        return true;
    }
    case Opt::Paper:
    case Opt::Type: {
        const int nRow = KeywordIndex(opt == Opt::Paper ? m_keywords.paperSizes : m_keywords.paperTypes, value);
        if (nRow < 0)
            return false;
        (opt == Opt::Paper ? o.nPaperSize : o.nPaperType) = nRow;
        return true;
    }
    case Opt::Duplex: {
        const wchar_t* kSides[] = {L"none", L"long", L"short"};
        const int nSide = KeywordIndex(kSides, value);
        if (nSide < 0)
            return false;
        o.nDuplex = nSide;
        return true;
    }
    case Opt::Color: {
        const wchar_t* kModes[] = {L"auto", L"bw"};
        const int nMode = KeywordIndex(kModes, value);
        if (nMode < 0)
            return false;
        o.nColorMode = nMode;
        return true;
    }
    case Opt::Zoom:
        if (const auto n = NumberIn(value, 50, 200)) {
            o.nZoom = *n;
            o.bFitToPage = false;
            return true;
        }
        return false;
    case Opt::Wait:
        if (const auto n = NumberIn(value, 0, 3600)) {
            m_cmd.nWaitSeconds = *n;
            return true;
        }
        return false;
    case Opt::Via: {
        const wchar_t* kRoads[] = {L"spooler", L"ipp"};
        const int nRoad = KeywordIndex(kRoads, value);
        if (nRoad < 0)
            return false;
        m_cmd.road = nRoad == 0 ? PrintRoad::Spooler : PrintRoad::Ipp;
        return true;
    }
    case Opt::User:
        // A name, never a password: "user:password" is refused rather than taken apart.
        if (value.empty() || value.find(L':') != std::wstring_view::npos)
            return false;
        m_cmd.strUser = value;
        return true;
    // Which values the printer lists is known once it is checked; no control character
    // may reach a line or a header on the way.
    case Opt::Tray:
    case Opt::Bin:
    case Opt::Finish: {
        if (value.empty() || std::any_of(value.begin(), value.end(), [](wchar_t ch) { return ch < 0x20 || ch == 0x7F; }))
            return false;
        (opt == Opt::Tray ? o.strTray : opt == Opt::Bin ? o.strOutputBin : o.strFinishings) = std::wstring(value);
        return true;
    }
    default:
        return false;
    }
}

size_t Reader::TakePin(std::wstring_view token, const wchar_t* pszRest)
{
    m_cmd.options.bPin = true;
    // A PIN typed after /pin would stand in the line, the process list and the log as a file
    // name: the line is refused without repeating it, and the token is passed over unseen.
    wchar_t szNext[kValueTokenChars];
    bool bFits = true;
    const size_t nUsed = GetCmdToken(pszRest, szNext, kValueTokenChars, &bFits);
    const std::wstring_view next(szNext);
    if (nUsed == 0 || !bFits || next.empty() || next.find_first_not_of(L"0123456789") != std::wstring_view::npos)
        return 0;
    if (m_bStrict)
        Fail(UsageError::BadValue, token);
    return nUsed;
}

size_t Reader::TakePrinter(const wchar_t* pszRest)
{
    wchar_t szPrinter[kPrinterTokenChars];
    bool bFits = true;
    const size_t nUsed = GetCmdToken(pszRest, szPrinter, kPrinterTokenChars, &bFits);
    if (nUsed == 0) {
        if (m_bStrict)
            Fail(UsageError::MissingValue, L"/m");
        return 0;
    }
    if (bFits) {
        // A printer's URL with a password is refused later; from here on it is never repeated.
        m_cmd.strPrinter = WithoutUrlPassword(szPrinter);
        m_cmd.bPrinterGiven = true;
        m_cmd.bPrinterTooLong = false;
        DebugLog(L"ParseCommandLine / Printer : %s", m_cmd.strPrinter.c_str());
    } else if (m_bStrict) {
        // A name that does not fit names no printer; the default one must not be used instead.
        m_cmd.strPrinter = WithoutUrlPassword(StartOfToken(pszRest));
        m_cmd.bPrinterGiven = true;
        m_cmd.bPrinterTooLong = true;
    } else {
        DebugLog(L"ParseCommandLine / Printer name too long: skipped");
    }
    return nUsed;
}

size_t Reader::TakeFile(const wchar_t* pszRest)
{
    wchar_t szFile[kFileTokenChars];
    bool bFits = true;
    const size_t nUsed = GetCmdToken(pszRest, szFile, kFileTokenChars, &bFits);
    if (nUsed == 0)
        return 0;
    const std::wstring strShown = bFits ? std::wstring(szFile) : StartOfToken(pszRest);
    if (m_cmd.mode == RunMode::Probe) {
        Fail(UsageError::NotForProbe, strShown);
    } else if (bFits) {
        m_cmd.arrFiles.push_back({szFile, false, szFile});
        DebugLog(L"ParseCommandLine / File : %s", szFile);
    } else if (m_bStrict) {
        m_cmd.arrFiles.push_back({L"", true, strShown});
    } else {
        DebugLog(L"ParseCommandLine / File name too long: skipped");
    }
    return nUsed;
}
}  // namespace

CommandLine ReadCommandLine(const std::wstring& strCmdLine, const OptionKeywords& keywords)
{
    // The sheet's reading finds out what is asked for; /print and /probe read the line again strictly.
    Reader lenient(strCmdLine, keywords, RunMode::Sheet);
    lenient.Walk();
    RunMode mode = RunMode::Sheet;
    if (lenient.m_bUsage)
        mode = RunMode::Usage;
    else if (lenient.m_bPrint)
        mode = RunMode::Print;
    else if (lenient.m_bProbe)
        mode = RunMode::Probe;
    if (mode == RunMode::Usage) {
        CommandLine usage;
        usage.mode = mode;
        return usage;
    }
    if (mode == RunMode::Sheet)
        return lenient.m_cmd;
    Reader strict(strCmdLine, keywords, mode);
    strict.Walk();
    CommandLine cmd = std::move(strict.m_cmd);
    if (cmd.error == UsageError::None && lenient.m_bPrint && lenient.m_bProbe)
        cmd.error = UsageError::TwoModes;
    if (cmd.error == UsageError::None && mode == RunMode::Print && cmd.arrFiles.empty())
        cmd.error = UsageError::NoFile;
    if (cmd.error == UsageError::None && cmd.bAll && cmd.bPrinterGiven)
        cmd.error = UsageError::AllAndPrinter;
    // A script that asked for JSON gets it for a fault found before /json was read too.
    cmd.bJson = lenient.m_cmd.bJson;
    return cmd;
}
