#pragma once
// The Lumeo command line: blank-separated tokens, optionally in double quotes.
// Tokens are file paths, except "-M"/"/m" (any case of M), which takes the next
// token as the printer name, and the options of files/command_line_options.h.
#include <cstddef>
#include <string>
#include <vector>

constexpr size_t kFileTokenChars = 260;     // a file token holds at most 259 characters
constexpr size_t kPrinterTokenChars = 250;  // the printer-name token at most 249

// Reads one token from pszText into pszToken (nTokenSize characters, terminator
// included). Returns the characters consumed, the closing quote or blank included;
// 0 when only blanks or nothing remain. A token that does not fit is consumed but
// not taken: the buffer is left empty and *pbFits (when given) false, since a cut
// path could name another file.
size_t GetCmdToken(const wchar_t* pszText, wchar_t* pszToken, size_t nTokenSize, bool* pbFits = nullptr);

// The sheet's reading: the file names (in order) and the printer name of the last
// M option (left as it was when there is none); the job options are left out.
// Tokens that do not fit their buffers are skipped whole.
void ParseCommandLine(const std::wstring& strCmdLine, std::vector<std::wstring>& arrCmdFiles,
                      std::wstring& strCmdPrinter);
