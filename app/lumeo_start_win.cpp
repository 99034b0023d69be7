// Start-up shared by Lumeo.exe and LumeoCmd.exe: log switch, localized files, the command
// line, then the sheet, a print without a window, a printer report or the usage.
#include "app/lumeo_start.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

#include "app/script/report/script_texts.h"
#include "app/script/script_runs.h"
#include "app/script/script_sign_in.h"
#include "app/shared/app_module.h"
#include "app/sheet/main_sheet.h"
#include "common/debug_log.h"
#include "common/ui_text.h"
#include "common/utf8_text.h"
#include "i18n/lang_globals.h"
#include "i18n/lang_manager.h"
#include "ipp/ipp_log.h"
#include "ipp/ipp_sign_in.h"
#include "job/policy/policy_reader.h"
#include "job/policy/policy_texts.h"
#include "job/settings/paper_tables.h"
#include "job/settings/param_mngr.h"
#include "ui/message_dialog.h"

CAppModule _Module;

namespace {
// Libraries come from the program's folder and the system folders only, never from the
// current folder or PATH, where anyone may have put a library of the same name. Older
// systems without the call at least leave the current folder out.
void HardenLibrarySearch()
{
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto pfnSet = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!pfnSet || !pfnSet(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS))
        SetDllDirectoryW(L"");
}

const wchar_t* ProgramName(ProgramKind kind) { return kind == ProgramKind::Console ? L"LumeoCmd" : L"Lumeo.exe"; }

// LumeoCmd writes the usage on its console; Lumeo.exe has none and shows it in a box
// wide enough for its lines.
void ShowUsage(ProgramKind kind, const OptionKeywords& keywords, ScriptOutput& out, bool bAsError)
{
    const std::vector<std::wstring> arrLines = UsageLines(ProgramName(kind), keywords);
    if (kind == ProgramKind::Console) {
        for (const std::wstring& strLine : arrLines)
            bAsError ? out.ErrorLine(strLine) : out.Line(strLine);
        return;
    }
    std::wstring strText;
    for (const std::wstring& strLine : arrLines)
        strText += strLine + L"\n";
    CMessageDialog dialog(strText, GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo"), IDI_INFORMATION);
    dialog.KeepLinesWhole();
    dialog.ShowModal(nullptr);
}

int RunSheet(const std::wstring& strCmdLine, const JobOptions& options, const LumeoPolicies& policies)
{
    const std::wstring strTitle = GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo");
    INT_PTR nRet = 0;
    {
        CMainPropertySheet sheet(strTitle);
        g_pMainSheet = &sheet;
        // The administrator's defaults over the built-in ones; a run before a page has
        // started sends the command line's options too, but never over a lock.
        CParamMngr* pMngr = GetParamMngr();
        pMngr->m_Policy = policies.job;
        pMngr->SetAdvancedDefaults();
        pMngr->SetBasicDefaults();
        if (const wchar_t* pszLocked = LockedOptionGiven(options, policies.job))
            DebugLog(L"RunSheet : %s is set by the administrator: ignored", pszLocked);
        pMngr->m_CommandLineOptions = options;
        pMngr->ApplyBasicOptions(options);
        pMngr->ApplyAdvancedOptions(options);
        sheet.m_pageBasic.m_strCmdLine = strCmdLine;
        sheet.m_pageBasic.m_strPolicyPrinter = policies.strPrinter;
        nRet = sheet.DoModal(GetActiveWindow());
        _Module.Term();
        CoUninitialize();
        DebugLog(L"_tWinMain : nRet: %d", static_cast<int>(nRet));
        g_pMainSheet = nullptr;
    }
    return static_cast<int>(nRet);
}
}  // namespace

void RunLumeo(HINSTANCE hInstance, const wchar_t* pszCmdLine, ProgramKind kind)
{
    HardenLibrarySearch();
    CoInitialize(nullptr);
    // Bars and rebars, and the classes the pages' templates name.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_LISTVIEW_CLASSES |
                                                 ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    _Module.Init(hInstance);
    ReadLogSwitch();
    ipp::SetLogWriter([](const std::wstring& strLine) { DebugLog(L"%s", strLine.c_str()); });
    if (g_wLogSwitch == 1)
        OutputDebugStringW(L"======= Debug Mode =======");
    const LumeoPolicies policies = ReadLumeoPolicies();
    ipp::SetCertificatePolicy(policies.bSystemCertificatesOnly ? ipp::CertificatePolicy::System
                                                               : ipp::CertificatePolicy::FirstUse);
    {
        CLangManager langManager;
        langManager.PreferLanguage(policies.strLanguage.c_str());
        langManager.GetHelpFileName(g_szHelpFileName, kTextChars);
        langManager.GetUIFileName(g_szUIFileName, kTextChars);
    }
    const std::wstring strCmdLine = pszCmdLine ? pszCmdLine : L"";
    const auto sizes = PaperSizeKeywords();
    const auto types = PaperTypeKeywords();
    const OptionKeywords keywords{sizes, types};
    const CommandLine cmd = ReadCommandLine(strCmdLine, keywords);
    if (cmd.mode == RunMode::Sheet && kind == ProgramKind::Window)
        ExitProcess(static_cast<UINT>(RunSheet(strCmdLine, cmd.options, policies)));

    const bool bJson = cmd.bJson && cmd.mode != RunMode::Usage;
    ScriptOutput out(kind == ProgramKind::Console, bJson);
    ScriptJson json(cmd.mode);
    int nExit = kExitDone;
    if (cmd.mode == RunMode::Usage) {
        ShowUsage(kind, keywords, out, false);
    } else if (cmd.mode == RunMode::Sheet || cmd.error != UsageError::None) {
        out.ErrorLine(cmd.mode == RunMode::Sheet ? NoRunLine() : UsageErrorLine(cmd));
        json.UsageFault(cmd);
        if (kind == ProgramKind::Console && !bJson)
            ShowUsage(kind, keywords, out, true);
        nExit = kExitUsage;
    } else if (const wchar_t* pszLocked = cmd.mode == RunMode::Print ? LockedOptionGiven(cmd.options, policies.job)
                                                                       : nullptr) {
        out.ErrorLine(LockedOptionLine(pszLocked));
        json.LockedOption(pszLocked);
        nExit = kExitUsage;
    } else {
        PrepareScriptSignIn(cmd);
        ipp::TrustShownCertificates(cmd.bTrust);
        nExit = cmd.mode == RunMode::Print ? RunScriptPrint(cmd, policies, out, json)
                                           : RunScriptProbe(cmd, policies, out, json);
    }
    if (bJson)
        out.Document(WideOfUtf8(json.Text(nExit)));
    _Module.Term();
    CoUninitialize();
    DebugLog(L"RunLumeo : exit code %d", nExit);
    ExitProcess(static_cast<UINT>(nExit));
}
