// The anchor of the start-up benchmark: the least a dialog program does, one dialog box
// from a template in its resources, shown until Cancel or OK.
#include <windows.h>

namespace {
INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM)
{
    if (uMsg == WM_INITDIALOG)
        return TRUE;
    if (uMsg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hWnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    return static_cast<int>(DialogBoxParamW(hInstance, MAKEINTRESOURCEW(1), nullptr, &DialogProc, 0));
}
