// Command lines as Explorer, a shortcut, a script or a user may write them: tokens never
// outgrow their buffers and are never handed on cut, every file name and the printer name
// are pieces of the line, as the sheet reads it and under /print, and the form the shell
// extension writes (each path as a blank and the quoted path) comes back path for path.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "files/command_line.h"
#include "files/command_line_options.h"
#include "tests/fuzz/fuzz_input.h"

namespace {
// The text in a heap block of its exact size, so a read past its terminator is caught.
std::unique_ptr<wchar_t[]> ExactCopy(const std::wstring& text)
{
    auto copy = std::make_unique<wchar_t[]>(text.size() + 1);
    std::wmemcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

void CheckToken(const std::wstring& text, size_t nTokenSize)
{
    auto line = ExactCopy(text);
    auto token = std::make_unique<wchar_t[]>(nTokenSize);
    bool bFits = true;
    const size_t nUsed = GetCmdToken(line.get(), token.get(), nTokenSize, &bFits);
    const size_t nLength = std::wcslen(token.get());
    if (nUsed > text.size() || nLength >= nTokenSize)
        std::abort();
    if (!bFits && nLength != 0)  // a token that does not fit is never handed on cut
        std::abort();
    if ((nUsed == 0) != (text.find_first_not_of(L' ') == std::wstring::npos))
        std::abort();
    if (nLength > 0 && text.find(std::wstring(token.get(), nLength)) == std::wstring::npos)
        std::abort();
}

void CheckLine(const std::wstring& text)
{
    std::vector<std::wstring> files;
    std::wstring printer = L"\x1Funset";
    ParseCommandLine(text, files, printer);
    if (files.size() > text.size())
        std::abort();
    for (const std::wstring& file : files)
        if (file.size() > kFileTokenChars - 1 || text.find(file) == std::wstring::npos)
            std::abort();
    if (printer != L"\x1Funset" && (printer.size() > kPrinterTokenChars - 1 || text.find(printer) == std::wstring::npos))
        std::abort();
    // Read strictly, a name too long is never handed on, cut or whole.
    const CommandLine cmd = ReadCommandLine(L"/print " + text, {});
    for (const CmdFile& file : cmd.arrFiles)
        if (file.bTooLong ? !file.strPath.empty()
                          : file.strPath.size() > kFileTokenChars - 1 || text.find(file.strPath) == std::wstring::npos)
            std::abort();
    if (cmd.bPrinterGiven && !cmd.bPrinterTooLong &&
        (cmd.strPrinter.size() > kPrinterTokenChars - 1 || text.find(cmd.strPrinter) == std::wstring::npos))
        std::abort();
}

// Paths cut out of the bytes at each newline, written the way the shell extension does.
void CheckShellForm(const uint8_t* data, size_t size)
{
    std::vector<std::wstring> paths;
    std::wstring current;
    for (size_t i = 0; i < size; ++i) {
        const wchar_t c = data[i] == 0 ? L'x' : static_cast<wchar_t>(data[i]);
        if (c == L'\n' || current.size() == kFileTokenChars - 1) {
            paths.push_back(current);
            current.clear();
        } else if (c != L'"') {
            current += c;
        }
    }
    paths.push_back(current);
    std::wstring line;
    for (const std::wstring& p : paths)
        line += L" \"" + p + L"\"";
    std::vector<std::wstring> files;
    std::wstring printer;
    ParseCommandLine(line, files, printer);
    if (files != paths || !printer.empty())
        std::abort();
    // Quoted, even names that are options stay files, each whole, under /print too.
    const CommandLine cmd = ReadCommandLine(L"/print" + line, {});
    files.clear();
    for (const CmdFile& file : cmd.arrFiles)
        files.push_back(file.strPath);
    if (cmd.error != UsageError::None || files != paths)
        std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t mode = data[0];
    ++data;
    --size;
    if (mode == 'S') {
        CheckShellForm(data, size);
        return 0;
    }
    // Embedded terminators would only end the line early; keep them out of the text.
    std::wstring text = mode & 1 ? WideFromUtf16Bytes(data, size) : WideFromBytes(data, size);
    for (wchar_t& c : text)
        if (c == L'\0')
            c = L' ';
    CheckLine(text);
    CheckToken(text, 1 + mode % 8);
    CheckToken(text, kPrinterTokenChars);
    CheckToken(text, kFileTokenChars);
    return 0;
}
