#pragma once
// One file to one print job: PJL header, the file's bytes and the PJL trailer
// in a spool file in the temporary folder, sent as one raw document to the
// current printer of a CPrtControl, then deleted. Windows build only.
#include <windows.h>

#include <functional>
#include <string>

#include "files/file_reason.h"
#include "job/document/send_control.h"
#include "job/spooler/pjl_envelope.h"

class CPrtControl;

struct SendResult {
    FileReason reason{FileOutcome::CannotOpen};  // Sent, or why the file did not reach the spooler whole
    DWORD nJobId = 0;                            // the spooler's job once a document was started
};

// Sends one file with the options of a job; shows no message (the caller reports).
SendResult SubmitFile(CPrtControl& prtControl, const std::wstring& strPath, const JobSnapshot& job,
                      const SendControl& control);

// 1 when the spool file was handed to the spooler, 0 when the file could not be
// read, changed while it was copied, or the spool file could not be prepared (message
// kind 6 was shown then), or when its content was refused (kind 9: its first bytes are
// not of its type, or it holds the PJL universal exit). A spooler that does not take the
// whole document shows message kind 8; the result stays 1. Uses the current options of
// CParamMngr.
int SendDataToDevice(CPrtControl& prtControl, const std::wstring& strPath);

// Where the user messages of SendDataToDevice go (kinds of job/job_messages.h).
// Unset, they are shown with MessageBoxW over the active window.
using JobMessageHandler = std::function<void(int nKind)>;
void SetJobMessageHandler(JobMessageHandler handler);
void ShowJobMessage(int nKind);

// Called after each block of the file has gone into the spool file, with the bytes
// copied so far; tests change the file there. nullptr: nothing is called.
using CopyBlockHook = void (*)(unsigned long long nCopied);
void SetCopyBlockHook(CopyBlockHook hook);
