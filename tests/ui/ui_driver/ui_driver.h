#pragma once
// Drives the Lumeo program from another process: starts it with a command line,
// finds the sheet, the Basic page and their controls by class and id, types, clicks,
// reads the file list and the message dialog. Windows (Wine) only.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CUiDriver {
public:
    ~CUiDriver();

    // Starts the program (path in the build tree) with the command line after its name.
    bool Launch(const std::wstring& strExe, const std::wstring& strCmdLine);
    // Waits for the sheet with the Basic page and, unless told not to, for the answer
    // of its printer check; false on time-out.
    bool WaitForSheet(DWORD dwTimeoutMs = 20000, bool bWaitForCheck = true);
    // The sheet's status line; true while it says the printer is being checked.
    std::wstring StatusText() const;
    bool IsCheckingPrinter() const;
    bool WaitForPrinterCheck(DWORD dwTimeoutMs = 20000) const;
    // After Print: waits until the run has ended (Print enabled again, or its summary up).
    bool WaitForRunEnd(DWORD dwTimeoutMs = 30000) const;
    // Closes the sheet and waits for the process; returns its exit code.
    DWORD Close();

    HWND Sheet() const { return m_hSheet; }
    HWND Page() const { return m_hPage; }
    HWND Control(int nId) const { return GetDlgItem(m_hPage, nId); }
    HWND SheetButton(int nId) const { return GetDlgItem(m_hSheet, nId); }

    static std::wstring Text(HWND hWnd);
    void SetText(HWND hWnd, const std::wstring& strText) const;
    void Click(HWND hButton) const;
    // Every action is sent, so it has been handled when the call returns (a modal
    // dialog it opens does not block: sends time out after 10 s).
    // Typed characters, one WM_CHAR each.
    void Type(HWND hWnd, const std::wstring& strChars) const;
    void SelectAllText(HWND hEdit) const;
    // Moves the keyboard focus inside the page (the leaving control gets its kill-focus).
    void FocusControl(HWND hWnd) const;

    std::vector<std::wstring> ListItems(int nListId) const;
    int SelectedListItemCount(int nListId) const;
    void SelectListItems(int nListId, const std::vector<int>& arrIndices) const;
    std::vector<std::wstring> ComboItems(int nComboId) const;
    // Chooses a combo item as the user would (selection, then the change notice); a
    // printer chosen so is checked before the call returns unless told not to wait.
    void ChooseComboItem(int nComboId, int nIndex, bool bWaitForCheck = true) const;

    // The message dialog of the program (visible, holding the text control), or nullptr.
    HWND FindMessageDialog() const;
    HWND WaitForMessageDialog(DWORD dwTimeoutMs) const;
    std::wstring MessageText(HWND hDialog) const { return Text(GetDlgItem(hDialog, 1054)); }
    // The text of the balloon tip the program shows, empty without one.
    std::wstring TipText() const;

    static bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs);
    // The program's top-level windows: another program's window may have the focus.
    std::vector<HWND> ProcessWindows() const;
    // The program's first top-level window of the class, or nullptr: test programs running
    // beside this one start Lumeo too.
    HWND FindProcessWindow(const wchar_t* pszClass) const;

private:
    PROCESS_INFORMATION m_process = {};
    HWND m_hSheet = nullptr;
    HWND m_hPage = nullptr;
};

// A message to a window of the program under test, sent with a 10 s time-out: a program
// that hangs, or runs a modal loop, cannot hang the test. The answer, 0 without one.
LRESULT Send(HWND hWnd, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
// Whether the window answers the message within dwTimeoutMs.
bool AnswersWithin(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, DWORD dwTimeoutMs);

// The top-level windows of the process, and the first of them with the class (or nullptr).
std::vector<HWND> WindowsOfProcess(DWORD dwProcessId);
HWND FindWindowOfProcess(DWORD dwProcessId, const wchar_t* pszClass);

// A path of the Linux build tree as Wine sees it (drive Z:).
std::wstring WinePath(const std::string& strUnixPath);
