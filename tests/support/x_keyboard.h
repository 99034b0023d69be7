#pragma once
// Real keys for a program under Wine, through the X server, so that they pass the
// dialog manager as a user's keys do. Windows build only; needs the UI driver.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/wine_printers.h"
#include "ui_driver.h"

// Keys as the keyboard gives them, so that they pass through the dialog manager:
// xdotool types them into the X window of the sheet. Wine starts Linux programs but
// cannot wait for them, so a shell runs xdotool and leaves its exit code in a file.
class XKeyboard {
public:
    bool Available() const
    {
        return GetFileAttributesW(WineWindowsPath("/usr/bin/xdotool").c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // Gives the X focus to the sheet's window and types the keys (xdotool key names).
    bool Press(HWND hSheet, const std::string& strKeys) const
    {
        const auto xid = reinterpret_cast<ULONG_PTR>(GetPropW(hSheet, L"__wine_x11_whole_window"));
        wchar_t szTemp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, szTemp);
        const std::wstring strDone = std::wstring(szTemp) + L"lumeo_e2e_keys.done";
        DeleteFileW(strDone.c_str());
        const std::string strDoneUnix = WineUnixPath(strDone);
        if (!xid || strDoneUnix.empty())
            return false;
        const std::string strScript = "xdotool windowfocus " + std::to_string(xid) + " key --delay 50 " + strKeys +
                                      "; echo $? > '" + strDoneUnix + "'";
        std::wstring strCommand = L"\"" + WineWindowsPath("/bin/sh") + L"\" -c \"" +
                                  std::wstring(strScript.begin(), strScript.end()) + L"\"";
        if (!StartDetached(strCommand))
            return false;
        std::string strExit;
        CUiDriver::WaitUntil(
            [&] {
                std::ifstream(std::filesystem::path(strDone)) >> strExit;
                return !strExit.empty();
            },
            20000);
        DeleteFileW(strDone.c_str());
        return strExit == "0";
    }
};

