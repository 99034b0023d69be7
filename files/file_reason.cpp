#include "files/file_reason.h"

#include <cwctype>
#include <vector>

#include "common/placeholders.h"
#include "common/system_error.h"
#include "files/file_types.h"

namespace {
using Text = UIText;

struct CauseTexts {
    FileOutcome outcome;
    Text reason;
    Text cause;  // empty key: the reason's text names the cause as well
};

constexpr CauseTexts kCauses[] = {
    {FileOutcome::NotFound, {L"IDL_REASON_NOTFOUND", L"not found"}, {}},
    {FileOutcome::NotAFile, {L"IDL_REASON_NOTAFILE", L"a folder or a device, not a file"}, {}},
    {FileOutcome::CannotOpen,
     {L"IDL_REASON_CANNOTOPEN", L"cannot be opened: {1}"},
     {L"IDL_CAUSE_CANNOTOPEN", L"cannot be opened"}},
    {FileOutcome::Empty, {L"IDL_REASON_EMPTY", L"empty"}, {}},
    {FileOutcome::PathTooLong, {L"IDL_REASON_TOOLONG", L"its path is too long"}, {}},
    {FileOutcome::TypeNotTaken,
     {L"IDL_REASON_TYPENOTTAKEN", L"the printer takes {1}, not {2}"},
     {L"IDL_CAUSE_TYPENOTTAKEN", L"the printer does not take the type"}},
    {FileOutcome::NotOfItsType, {}, {L"IDL_CAUSE_NOTOFTYPE", L"the content is not of its type"}},
    {FileOutcome::PrinterCommands, {L"IDL_REASON_PJL", L"holds printer commands"}, {}},
    {FileOutcome::Changed, {L"IDL_REASON_CHANGED", L"changed while it was being sent"}, {}},
    {FileOutcome::SpoolFileFailed,
     {L"IDL_REASON_SPOOLFILE", L"the temporary copy could not be made: {1}"},
     {L"IDL_CAUSE_SPOOLFILE", L"the temporary copy could not be made"}},
    {FileOutcome::SpoolerRefused,
     {L"IDL_REASON_SPOOLER", L"the spooler refused it: {1}"},
     {L"IDL_CAUSE_SPOOLER", L"the spooler refused it"}},
    {FileOutcome::Cancelled, {L"IDL_REASON_CANCELLED", L"printing was cancelled"}, {}},
    {FileOutcome::InternalError, {L"IDL_REASON_INTERNAL", L"internal error"}, {}},
    {FileOutcome::PrinterError, {L"IDL_REASON_PRINTERERROR", L"the printer reported an error"}, {}},
    {FileOutcome::PrinterOffline, {L"IDL_REASON_OFFLINE", L"the printer is offline"}, {}},
    {FileOutcome::PaperOut, {L"IDL_REASON_PAPEROUT", L"the printer is out of paper"}, {}},
    {FileOutcome::JobPaused, {L"IDL_REASON_PAUSED", L"the job was paused in the print queue"}, {}},
    {FileOutcome::JobBlocked, {L"IDL_REASON_BLOCKED", L"the job is blocked in the print queue"}, {}},
    {FileOutcome::JobDeleted, {L"IDL_REASON_DELETED", L"the job was deleted from the print queue"}, {}},
    {FileOutcome::PrinterTrouble,
     {L"IDL_REASON_PRINTERTROUBLE", L"the printer reports: {1}"},
     {L"IDL_CAUSE_PRINTERTROUBLE", L"the printer reports trouble"}},
    {FileOutcome::OptionNotTaken,
     {L"IDL_REASON_IPPOPTION", L"the printer does not support {1}"},
     {L"IDL_CAUSE_IPPOPTION", L"the printer does not support an option"}},
    {FileOutcome::ZoomNotCarried,
     {L"IDL_REASON_IPPZOOM", L"a zoom of {1} % cannot be sent to a printer over IPP; choose 100 % or fit to page"},
     {L"IDL_CAUSE_IPPZOOM", L"a zoom cannot be sent over IPP"}},
    {FileOutcome::PrinterRefused,
     {L"IDL_REASON_PRINTERREFUSED", L"the printer refused it: {1}"},
     {L"IDL_CAUSE_PRINTERREFUSED", L"the printer refused it"}},
    {FileOutcome::JobAborted,
     {L"IDL_REASON_PRINTERTROUBLE", L"the printer reports: {1}"},
     {L"IDL_CAUSE_JOBABORTED", L"the printer ended the job without printing it"}},
    {FileOutcome::NotFinished,
     {L"IDL_REASON_NOTFINISHED", L"had not finished after {1} s: {2}"},
     {L"IDL_CAUSE_NOTFINISHED", L"the job had not finished when the wait ended"}},
    {FileOutcome::JobStalled,
     {L"IDL_REASON_NOTFINISHED", L"had not finished after {1} s: {2}"},
     {L"IDL_CAUSE_STALLED", L"the job was held or stopped at the printer"}},
    {FileOutcome::PrinterBusy, {L"IDL_REASON_BUSY", L"the printer stayed busy"}, {}},
    {FileOutcome::NotReachedSafely,
     {L"IDL_REASON_UNSAFE", L"{1}"},
     {L"IDL_CAUSE_UNSAFE", L"the printer could not be reached safely"}},
};

// The content of each type has its own words: a language may say "document" or "image".
constexpr Text kNotOfType[] = {
    {L"IDL_REASON_NOTPDF", L"not a PDF document"}, {L"IDL_REASON_NOTJPEG", L"not a JPEG image"},
    {L"IDL_REASON_NOTTIFF", L"not a TIFF image"},  {L"IDL_REASON_NOTPNG", L"not a PNG image"},
    {L"IDL_REASON_NOTBMP", L"not a BMP image"},
};
constexpr Text kNoType{L"IDL_REASON_NOTYPE", L"its name gives no file type; the printer takes {1}"};
constexpr Text kZoomNoFit{L"IDL_REASON_IPPZOOMNOFIT",
                           L"a zoom of {1} % cannot be sent to a printer over IPP, and this printer does not fit to "
                           L"page; choose 100 %"};
constexpr Text kTakesNone{L"IDL_REASON_TAKESNONE", L"the printer takes no files now"};
constexpr Text kListPair{L"IDL_LIST_PAIR", L"{1} and {2}"};
constexpr Text kListItem{L"IDL_LIST_ITEM", L"{1}, {2}"};

std::wstring Say(const Text& text, std::initializer_list<std::wstring> values = {})
{
    return FilledUIText(L"UI_PRINT_RUN", text, values);
}

const CauseTexts* Find(FileOutcome outcome)
{
    for (const CauseTexts& texts : kCauses)
        if (texts.outcome == outcome)
            return &texts;
    return nullptr;
}

int TypeIndex(int nTypeBit)
{
    for (int i = 0; i < 5; ++i)
        if (nTypeBit == (1 << i))
            return i;
    return -1;
}

std::wstring TypeNameOf(const FileReason& reason)
{
    if (const wchar_t* pszName = PrinterLanguageOfType(reason.nFileType))
        return pszName;
    std::wstring strName = reason.strDetail.empty() || reason.strDetail[0] != L'.' ? reason.strDetail
                                                                                    : reason.strDetail.substr(1);
    for (wchar_t& ch : strName)
        ch = static_cast<wchar_t>(std::towupper(ch));
    return strName;
}

std::wstring TypeNotTakenText(const FileReason& reason)
{
    if (reason.nPrinterTypes <= 0)
        return Say(kTakesNone);
    const std::wstring strType = TypeNameOf(reason);
    if (strType.empty())
        return Say(kNoType, {TypeListText(reason.nPrinterTypes)});
    return Say(Find(FileOutcome::TypeNotTaken)->reason, {TypeListText(reason.nPrinterTypes), strType});
}
}  // namespace

FileReason TypeNotTakenReason(const std::wstring& strFileExt, int nPrinterTypes)
{
    FileReason reason(FileOutcome::TypeNotTaken);
    reason.nFileType = FileTypeOfExtension(strFileExt);
    reason.nPrinterTypes = nPrinterTypes > 0 ? nPrinterTypes : 0;
    if (!reason.nFileType)
        reason.strDetail = strFileExt;
    return reason;
}

FileReason SystemFaultReason(FileOutcome cause, unsigned long nError)
{
    if (IsNotFoundError(nError))
        return FileOutcome::NotFound;
    return FileReason(cause, SystemErrorText(nError));
}

bool WaitsForAnotherPrinter(const FileReason& reason)
{
    return reason.outcome == FileOutcome::TypeNotTaken && reason.nFileType != 0;
}

std::wstring TypeListText(int nTypes)
{
    std::vector<std::wstring> arrNames;
    for (int nBit = 1; nBit <= kTypeBMP; nBit <<= 1)
        if (nTypes & nBit)
            arrNames.push_back(PrinterLanguageOfType(nBit));
    if (arrNames.empty())
        return {};
    std::wstring strList = arrNames.front();
    for (size_t i = 1; i + 1 < arrNames.size(); ++i)
        strList = Say(kListItem, {strList, arrNames[i]});
    return arrNames.size() == 1 ? strList : Say(kListPair, {strList, arrNames.back()});
}

std::wstring FileReasonText(const FileReason& reason)
{
    switch (reason.outcome) {
    case FileOutcome::Sent:
        return {};
    case FileOutcome::TypeNotTaken:
        return TypeNotTakenText(reason);
    case FileOutcome::ZoomNotCarried:
        if (!reason.bFitTaken)
            return Say(kZoomNoFit, {reason.strDetail});
        break;
    case FileOutcome::NotOfItsType: {
        const int nIndex = TypeIndex(reason.nFileType);
        return nIndex < 0 ? FileCauseText(reason.outcome) : Say(kNotOfType[nIndex]);
    }
    default:
        break;
    }
    const CauseTexts* pTexts = Find(reason.outcome);
    if (!pTexts)
        return {};
    if (reason.outcome == FileOutcome::NotFinished || reason.outcome == FileOutcome::JobStalled)
        return Say(pTexts->reason, {std::to_wstring(reason.nSeconds), reason.strDetail});
    // Without the system's words the cause says it alone.
    if (pTexts->cause.pszKey && reason.strDetail.empty())
        return FileCauseText(reason.outcome);
    return Say(pTexts->reason, {reason.strDetail});
}

std::wstring FileCauseText(FileOutcome outcome)
{
    const CauseTexts* pTexts = Find(outcome);
    if (!pTexts)
        return {};
    return Say(pTexts->cause.pszKey ? pTexts->cause : pTexts->reason, {L""});
}
