#include "files/user_messages.h"

#include "common/ui_text.h"

namespace {
constexpr UserMessageText kMessages[] = {
    {L"IDL_MESSAGE_NOSUPPORT", L"Not support the file format"},
    {L"IDL_MESSAGE_NOPRINTERSUPPORT",
     L"The selected printer does not support this program. Please, select the appropriate printer."},
    {L"IDL_MESSAGE_NOPRINTER", L"Before you can print, you need to install a printer."},
    {L"IDL_MESSAGE_BUSYOROFF",
     L"The selected printer is being used by another program, the printer cable may be improperly "
     L"connected, or the power may be off."},
    {L"IDL_MESSAGE_NOFILES", L"There is no file to print. Select the file(s) properly and try again."},
    {L"IDL_MESSAGE_INVAILDFILE", L"The system cannot open the file or access is denied."},
    {L"IDL_MESSAGE_INVALIDPRNRANGE",
     L"Out of Range.Print Range Pages To: value should be greater than or equal to Print Range Pages "
     L"From: value."},
};
}  // namespace

const UserMessageText* UserMessageOfCode(int nCode)
{
    if (nCode < 1 || nCode > static_cast<int>(sizeof(kMessages) / sizeof(kMessages[0])))
        return nullptr;
    return &kMessages[nCode - 1];
}

std::wstring GetUserMessageText(int nCode)
{
    const UserMessageText* pText = UserMessageOfCode(nCode);
    return pText ? GetUIText(L"ERROR_MSG", pText->key, pText->defaultText) : std::wstring();
}

std::wstring GetUserMessageTitle() { return GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo"); }

std::wstring TakenOffListText()
{
    return GetUIText(L"ERROR_MSG", L"IDL_MESSAGE_TAKENOFF", L"These files left the list:");
}

std::wstring FilesWaitNote()
{
    return GetUIText(L"ERROR_MSG", L"IDL_MESSAGE_FILESWAIT",
                     L"Files the printer does not take appear in the list once a printer that takes them is chosen.");
}

std::wstring FilesWaitAnswerNote()
{
    return GetUIText(L"ERROR_MSG", L"IDL_MESSAGE_FILESWAITANSWER",
                     L"The files wait: they appear in the list once the printer answers (F5 asks again) or a "
                     L"printer that takes them is chosen.");
}

std::wstring NetworkNoAnswerText()
{
    return GetUIText(L"ERROR_MSG", L"IDL_MESSAGE_NETNOANSWER",
                     L"The selected printer does not answer over the network. It may be turned off or asleep, "
                     L"off the network, or at another address now.");
}
