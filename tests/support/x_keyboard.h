#pragma once
// Real keys for a program under Wine, through the X server, so that they pass the
// dialog manager as a user's keys do. Windows build only; needs the UI driver.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
        // A window the program has only just shown may not be mapped yet, and X refuses it
        // the focus: asked again for up to 5 s. Without the focus no key is typed at all.
        const std::string strScript = "ok=1; for i in $(seq 50); do if xdotool windowfocus " + std::to_string(xid) +
                                      " 2>/dev/null; then ok=0; break; fi; sleep 0.1; done; [ $ok = 0 ] && "
                                      "xdotool key --delay 50 " + strKeys + "; echo $? > '" + strDoneUnix + "'";
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

#ifdef LUMEO_SOURCE_DIR
// Files dragged from a window on the X display onto a point of the screen and dropped
// there with the mouse, as from a file manager: tests/support/drag_source.py holds the
// files, xdotool moves the mouse.
class XDrag {
public:
    bool Available() const
    {
        return XKeyboard().Available() &&
               GetFileAttributesW(WineWindowsPath("/usr/lib/x86_64-linux-gnu/girepository-1.0/Gtk-3.0.typelib")
                                      .c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool Drop(const std::vector<std::wstring>& arrPaths, POINT pt) const
    {
        wchar_t szTemp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, szTemp);
        const std::wstring strDone = std::wstring(szTemp) + L"lumeo_e2e_drag.done";
        std::string strScript = "/usr/bin/python3 '" LUMEO_SOURCE_DIR "/tests/support/drag_source.py'";
        for (const std::wstring& strPath : arrPaths)
            strScript += " '" + WineUnixPath(strPath) + "'";
        // Once its window shows, the drag starts past GTK's threshold and ends with a move
        // inside the target.
        const auto At = [](LONG x, LONG y) { return " mousemove " + std::to_string(x) + " " + std::to_string(y); };
        strScript += " & timeout 20 xdotool search --sync --onlyvisible --name 'Lumeo drag source' >/dev/null; " +
                     std::string("sleep 1; xdotool") + At(40, 30) + " sleep 0.3 mousedown 1 sleep 0.3" + At(70, 60) +
                     " sleep 0.3" + At(pt.x, pt.y) + " sleep 0.5" + At(pt.x + 3, pt.y + 3) +
                     " sleep 0.5 mouseup 1; echo $? > '" + WineUnixPath(strDone) + "'";
        DeleteFileW(strDone.c_str());
        std::string strExit;
        if (StartDetached(L"\"" + WineWindowsPath("/bin/sh") + L"\" -c \"" +
                          std::wstring(strScript.begin(), strScript.end()) + L"\""))
            CUiDriver::WaitUntil([&] { return bool(std::ifstream(std::filesystem::path(strDone)) >> strExit); }, 30000);
        DeleteFileW(strDone.c_str());
        return strExit == "0";
    }
};
#endif
