#include "ui_driver.h"

#include <cstdio>
#include <commctrl.h>

namespace {
constexpr int kComboPrinterId = 1034;
constexpr int kMessageTextId = 1054;
constexpr int kSheetStatusId = 1070;  // the sheet's status line
constexpr DWORD kSendTimeoutMs = 10000;

struct FindContext {
    DWORD dwProcessId;
    std::vector<HWND>* pWindows;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    auto* pContext = reinterpret_cast<FindContext*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId == pContext->dwProcessId)
        pContext->pWindows->push_back(hWnd);
    return TRUE;
}

bool HasClass(HWND hWnd, const wchar_t* pszClass)
{
    wchar_t szClass[64] = {};
    GetClassNameW(hWnd, szClass, 64);
    return lstrcmpiW(szClass, pszClass) == 0;
}

}  // namespace

LRESULT Send(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutW(hWnd, uMsg, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &dwResult);
    return static_cast<LRESULT>(dwResult);
}

bool AnswersWithin(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, DWORD dwTimeoutMs)
{
    DWORD_PTR dwResult = 0;
    return SendMessageTimeoutW(hWnd, uMsg, wParam, lParam, SMTO_NORMAL, dwTimeoutMs, &dwResult) != 0;
}

namespace {
// Memory in the program's address space for messages that carry pointers.
class CRemoteBuffer {
public:
    CRemoteBuffer(HANDLE hProcess, size_t nBytes) : m_hProcess(hProcess)
    {
        m_pRemote = VirtualAllocEx(hProcess, nullptr, nBytes, MEM_COMMIT, PAGE_READWRITE);
    }
    ~CRemoteBuffer()
    {
        if (m_pRemote)
            VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
    }
    BYTE* Address(size_t nOffset = 0) const { return static_cast<BYTE*>(m_pRemote) + nOffset; }
    void Write(size_t nOffset, const void* pData, size_t nBytes) const
    {
        WriteProcessMemory(m_hProcess, Address(nOffset), pData, nBytes, nullptr);
    }
    void Read(size_t nOffset, void* pData, size_t nBytes) const
    {
        ReadProcessMemory(m_hProcess, Address(nOffset), pData, nBytes, nullptr);
    }

private:
    HANDLE m_hProcess;
    void* m_pRemote;
};
}  // namespace

std::wstring WinePath(const std::string& strUnixPath)
{
    std::wstring strPath = L"Z:";
    for (char ch : strUnixPath)
        strPath += ch == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(ch));
    return strPath;
}

CUiDriver::~CUiDriver()
{
    if (m_process.hProcess) {
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            Close();
        if (m_process.hProcess) {
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
    }
}

bool CUiDriver::Launch(const std::wstring& strExe, const std::wstring& strCmdLine)
{
    std::wstring strCommand = L"\"" + strExe + L"\"" + strCmdLine;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    std::vector<wchar_t> command(strCommand.begin(), strCommand.end());
    command.push_back(L'\0');
    // Wine now and then fails a start before anything of the program ran: tried again then.
    for (int nTry = 1;; ++nTry) {
        if (CreateProcessW(strExe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &m_process))
            return true;
        fwprintf(stderr, L"CUiDriver::Launch: start %d of %ls failed, error %lu\n", nTry, strExe.c_str(),
                 GetLastError());
        if (nTry == 3)
            return false;
        Sleep(500);
    }
}

std::vector<HWND> WindowsOfProcess(DWORD dwProcessId)
{
    std::vector<HWND> windows;
    FindContext context{dwProcessId, &windows};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&context));
    return windows;
}

HWND FindWindowOfProcess(DWORD dwProcessId, const wchar_t* pszClass)
{
    for (HWND hWnd : WindowsOfProcess(dwProcessId))
        if (HasClass(hWnd, pszClass))
            return hWnd;
    return nullptr;
}

std::vector<HWND> CUiDriver::ProcessWindows() const { return WindowsOfProcess(m_process.dwProcessId); }

HWND CUiDriver::FindProcessWindow(const wchar_t* pszClass) const
{
    return FindWindowOfProcess(m_process.dwProcessId, pszClass);
}

bool CUiDriver::WaitForSheet(DWORD dwTimeoutMs, bool bWaitForCheck)
{
    const bool bFound = WaitUntil(
        [this] {
            for (HWND hWnd : ProcessWindows()) {
                if (!IsWindowVisible(hWnd) || !HasClass(hWnd, L"#32770"))
                    continue;
                for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
                    if (HasClass(hChild, L"#32770") && GetDlgItem(hChild, kComboPrinterId)) {
                        m_hSheet = hWnd;
                        m_hPage = hChild;
                        return true;
                    }
            }
            return false;
        },
        dwTimeoutMs);
    return bFound && (!bWaitForCheck || WaitForPrinterCheck(dwTimeoutMs));
}

std::wstring CUiDriver::StatusText() const { return Text(GetDlgItem(m_hSheet, kSheetStatusId)); }

bool CUiDriver::IsCheckingPrinter() const { return StatusText().rfind(L"Checking ", 0) == 0; }  // printer or files

bool CUiDriver::WaitForPrinterCheck(DWORD dwTimeoutMs) const
{
    return WaitUntil([this] { return !IsCheckingPrinter(); }, dwTimeoutMs);
}

bool CUiDriver::WaitForRunEnd(DWORD dwTimeoutMs) const
{
    return WaitUntil([this] { return IsWindowEnabled(SheetButton(IDOK)) || FindMessageDialog(); }, dwTimeoutMs);
}

DWORD CUiDriver::Close()
{
    DWORD dwExit = STILL_ACTIVE;
    if (!m_process.hProcess)
        return dwExit;
    for (HWND hDialog = FindMessageDialog(); hDialog; hDialog = FindMessageDialog()) {
        PostMessageW(GetDlgItem(hDialog, IDOK), BM_CLICK, 0, 0);
        Sleep(200);
    }
    if (m_hSheet)
        PostMessageW(m_hSheet, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(m_process.hProcess, 99);
    WaitForSingleObject(m_process.hProcess, 5000);
    GetExitCodeProcess(m_process.hProcess, &dwExit);
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
    m_process = {};
    return dwExit;
}

std::wstring CUiDriver::Text(HWND hWnd)
{
    wchar_t szText[1024] = {};
    Send(hWnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(szText));
    return szText;
}

void CUiDriver::SetText(HWND hWnd, const std::wstring& strText) const
{
    Send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()));
}

void CUiDriver::Click(HWND hButton) const
{
    Send(hButton, BM_CLICK, 0, 0);
}

void CUiDriver::Type(HWND hWnd, const std::wstring& strChars) const
{
    for (wchar_t ch : strChars) {
        Send(hWnd, WM_CHAR, ch, 1);
    }
}

void CUiDriver::SelectAllText(HWND hEdit) const { Send(hEdit, EM_SETSEL, 0, -1); }

void CUiDriver::FocusControl(HWND hWnd) const
{
    Send(m_hPage, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hWnd), TRUE);
}


std::vector<std::wstring> CUiDriver::ListItems(int nListId) const
{
    std::vector<std::wstring> items;
    HWND hList = Control(nListId);
    const int nCount = static_cast<int>(Send(hList, LVM_GETITEMCOUNT, 0, 0));
    constexpr size_t kChars = 260;
    CRemoteBuffer remote(m_process.hProcess, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    for (int i = 0; i < nCount; ++i) {
        LVITEMW item = {};
        item.iSubItem = 0;
        item.cchTextMax = kChars;
        item.pszText = reinterpret_cast<wchar_t*>(remote.Address(sizeof(LVITEMW)));
        remote.Write(0, &item, sizeof(item));
        Send(hList, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote.Address()));
        wchar_t szText[kChars] = {};
        remote.Read(sizeof(LVITEMW), szText, sizeof(szText));
        szText[kChars - 1] = L'\0';
        items.emplace_back(szText);
    }
    return items;
}

int CUiDriver::SelectedListItemCount(int nListId) const
{
    return static_cast<int>(Send(Control(nListId), LVM_GETSELECTEDCOUNT, 0, 0));
}

void CUiDriver::SelectListItems(int nListId, const std::vector<int>& arrIndices) const
{
    HWND hList = Control(nListId);
    CRemoteBuffer remote(m_process.hProcess, sizeof(LVITEMW));
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    remote.Write(0, &item, sizeof(item));
    Send(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote.Address()));
    item.state = LVIS_SELECTED;
    remote.Write(0, &item, sizeof(item));
    for (int nIndex : arrIndices)
        Send(hList, LVM_SETITEMSTATE, nIndex, reinterpret_cast<LPARAM>(remote.Address()));
}

std::vector<std::wstring> CUiDriver::ComboItems(int nComboId) const
{
    std::vector<std::wstring> items;
    HWND hCombo = Control(nComboId);
    const int nCount = static_cast<int>(Send(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        wchar_t szText[512] = {};
        Send(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szText));
        items.emplace_back(szText);
    }
    return items;
}

void CUiDriver::ChooseComboItem(int nComboId, int nIndex, bool bWaitForCheck) const
{
    HWND hCombo = Control(nComboId);
    Send(hCombo, CB_SETCURSEL, nIndex, 0);
    Send(m_hPage, WM_COMMAND, MAKEWPARAM(nComboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    if (bWaitForCheck && nComboId == kComboPrinterId)
        WaitForPrinterCheck();
}

std::wstring CUiDriver::TipText() const
{
    for (HWND hWnd : ProcessWindows())
        if (IsWindowVisible(hWnd) && HasClass(hWnd, TOOLTIPS_CLASSW) && !Text(hWnd).empty())
            return Text(hWnd);
    return {};
}

HWND CUiDriver::FindMessageDialog() const
{
    for (HWND hWnd : ProcessWindows())
        if (hWnd != m_hSheet && IsWindowVisible(hWnd) && HasClass(hWnd, L"#32770") && GetDlgItem(hWnd, kMessageTextId))
            return hWnd;
    return nullptr;
}

HWND CUiDriver::WaitForMessageDialog(DWORD dwTimeoutMs) const
{
    HWND hDialog = nullptr;
    WaitUntil([&] { return (hDialog = FindMessageDialog()) != nullptr; }, dwTimeoutMs);
    return hDialog;
}

bool CUiDriver::WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs)
{
    const ULONGLONG ullEnd = GetTickCount64() + dwTimeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= ullEnd)
            return false;
        Sleep(50);
    }
}
