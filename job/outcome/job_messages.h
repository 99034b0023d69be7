#pragma once
// The user messages of the print job: section "ERROR_MSG" keys and built-in texts.
#include <string>

constexpr int kMsgNoFiles = 5;
constexpr int kMsgInvalidFile = 6;
constexpr int kMsgInvalidPrintRange = 7;
// The spooler did not take the whole document.
constexpr int kMsgPrintFailed = 8;
// The file's bytes are not of its type, or hold printer commands: it was not sent.
constexpr int kMsgRefusedContent = 9;

// nullptr for a kind that is not a print-job message.
const wchar_t* JobMessageKey(int nKind);
const wchar_t* JobMessageDefaultText(int nKind);
// The localized text (UI string file, else the built-in text); empty for an unknown kind.
std::wstring JobMessageText(int nKind);
// The caption of every message: "UI_SHEET"/"IDL_TITLE".
std::wstring JobMessageCaption();
