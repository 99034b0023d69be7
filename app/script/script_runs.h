#pragma once
// The runs without the sheet: /print and /probe. No window is shown: no splash, sheet or
// message box. Windows build only.
#include "app/script/report/script_json.h"
#include "app/script/report/script_output.h"
#include "files/command_line_options.h"
#include "job/policy/lumeo_policies.h"
#include "printer/queue/prt_control.h"

// The files of the command line to its printer, each as the sheet sends it, and its job
// followed in the spooler for at most the /wait seconds; returns the exit code
// (app/script_run.h). The policies' defaults and locks apply as in the sheet. Each run
// writes its lines to `out` and the same facts into `json`.
int RunScriptPrint(const CommandLine& cmd, const LumeoPolicies& policies, ScriptOutput& out, ScriptJson& json);

// The report on the printer of the command line, or with /all on every installed one;
// returns the exit code (with /all: 0 when some printer can print, else 3 when some did
// not answer, else 2).
int RunScriptProbe(const CommandLine& cmd, const LumeoPolicies& policies, ScriptOutput& out, ScriptJson& json);

// True when /m names a printer by its URL (ipp://, ipps://, http://, https://) and no printer
// of that name is installed: it is asked over IPP alone.
bool IsUrlPrinter(CPrtControl& prtControl, const CommandLine& cmd);

// Makes the printer of the command line (else the policy's, else the default one)
// current. 0, or 2 with its line written when none is installed or none has the name
// the command line gives.
int ChooseScriptPrinter(CPrtControl& prtControl, const CommandLine& cmd, const std::wstring& strPolicyPrinter,
                        ScriptOutput& out, ScriptJson& json);
