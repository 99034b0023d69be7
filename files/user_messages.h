#pragma once
// The seven user messages of Lumeo: section "ERROR_MSG" keys with English defaults.
// Codes 1 to 4 concern files and printers (Basic page), 5 to 7 the print run.
#include <string>

struct UserMessageText {
    const wchar_t* key;
    const wchar_t* defaultText;
};

// nullptr for a code outside 1 to 7.
const UserMessageText* UserMessageOfCode(int nCode);

// The localized text of a code (empty for an unknown code) and the message title.
std::wstring GetUserMessageText(int nCode);
std::wstring GetUserMessageTitle();

// The first line of the message that names the listed files a newly chosen printer refused.
std::wstring TakenOffListText();
// The last line of a message that leaves files waiting for a printer that takes them.
std::wstring FilesWaitNote();
// The same for files that wait because the printer did not answer.
std::wstring FilesWaitAnswerNote();
// Message 4 for a printer on a network port: no cable of its own to be loose.
std::wstring NetworkNoAnswerText();
