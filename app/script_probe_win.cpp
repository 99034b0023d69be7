// /probe, and the printer choice that /print shares with it.
#include "app/script_runs.h"
#include "app/script_texts.h"
#include "common/debug_log.h"
#include "printer/printer_probe.h"
#include "printer/printer_state_text.h"

int ChooseScriptPrinter(CPrtControl& prtControl, const CommandLine& cmd, const std::wstring& strPolicyPrinter,
                        ScriptOutput& out)
{
    if (prtControl.GetPrinterCount() <= 0) {
        out.ErrorLine(PrinterCheckLine(-2));
        return kExitPrinter;
    }
    if (!cmd.bPrinterGiven) {
        // The list made the default printer current; the policy's printer only when installed.
        if (!strPolicyPrinter.empty() && !prtControl.SelectPrinter(strPolicyPrinter))
            DebugLog(L"ChooseScriptPrinter : the policy's printer %s is not installed", strPolicyPrinter.c_str());
        return kExitDone;
    }
    if (!cmd.bPrinterTooLong && prtControl.SelectPrinter(cmd.strPrinter))
        return kExitDone;
    out.ErrorLine(UnknownPrinterLine(cmd.strPrinter));
    return kExitPrinter;
}

int RunScriptProbe(const CommandLine& cmd, const LumeoPolicies& policies, ScriptOutput& out)
{
    CPrtControl prtControl;
    if (const int nExit = ChooseScriptPrinter(prtControl, cmd, policies.strPrinter, out))
        return nExit;
    const PrinterProbe probe = ProbeCurrentPrinter(prtControl);
    // A printer Lumeo can print on that cannot print now ends the probe as /print would end.
    const bool bStoppedNow = probe.nSupportedTypes > 0 && HasStopCondition(probe.state);
    for (const std::wstring& strLine : ProbeLines(prtControl.GetCurrentPrinterName(), probe.route, probe.bObtained,
                                                  probe.strDeviceID, probe.nSupportedTypes,
                                                  bStoppedNow ? &probe.state : nullptr))
        out.Line(strLine);
    for (const std::wstring& strLine : ProbeStateLines(probe.route.kind, probe.state))
        out.Line(strLine);
    return bStoppedNow ? kExitPrinterStopped : ExitCodeOfPrinterCheck(probe.nSupportedTypes);
}
