#include "job/outcome/job_messages.h"

#include "common/ui_text.h"

namespace {
struct JobMessage {
    int nKind;
    const wchar_t* pszKey;
    const wchar_t* pszDefault;
};

const JobMessage kJobMessages[] = {
    {kMsgNoFiles, L"IDL_MESSAGE_NOFILES",
     L"There is no file to print. Select the file(s) properly and try again."},
    {kMsgInvalidFile, L"IDL_MESSAGE_INVAILDFILE", L"The system cannot open the file or access is denied."},
    {kMsgInvalidPrintRange, L"IDL_MESSAGE_INVALIDPRNRANGE",
     L"Out of Range.Print Range Pages To: value should be greater than or equal to Print Range Pages From: value."},
    {kMsgPrintFailed, L"IDL_MESSAGE_PRINTFAILED", L"The document could not be sent to the printer."},
    {kMsgRefusedContent, L"IDL_MESSAGE_REFUSEDCONTENT",
     L"The file was not sent: its content is not of its file type, or it holds printer commands."},
};

const JobMessage* Find(int nKind)
{
    for (const JobMessage& message : kJobMessages)
        if (message.nKind == nKind)
            return &message;
    return nullptr;
}
}  // namespace

const wchar_t* JobMessageKey(int nKind)
{
    const JobMessage* pMessage = Find(nKind);
    return pMessage ? pMessage->pszKey : nullptr;
}

const wchar_t* JobMessageDefaultText(int nKind)
{
    const JobMessage* pMessage = Find(nKind);
    return pMessage ? pMessage->pszDefault : nullptr;
}

std::wstring JobMessageText(int nKind)
{
    const JobMessage* pMessage = Find(nKind);
    return pMessage ? GetUIText(L"ERROR_MSG", pMessage->pszKey, pMessage->pszDefault) : std::wstring();
}

std::wstring JobMessageCaption() { return GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo"); }
