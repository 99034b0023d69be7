#pragma once
// The sheet answers a printer that asks for a sign-in. The request is made on a worker (a
// check, a state read, a run), the dialog is shown on the window's thread: the worker
// leaves its question here, wakes the window with kMsgSignInAsked (a message that carries
// nothing) and waits for the answer. A printer whose dialog the user cancelled is not asked
// for again until the user picks a printer or asks again (F5): a state read every few
// seconds must not bring the dialog back. Windows build only.
#include <windows.h>

constexpr UINT kMsgSignInAsked = WM_APP + 13;

// From now on the sign-ins of the program's requests are asked over hWnd.
void AskSignInsOver(HWND hWnd);
// The window's side: shows the dialog for the question waiting, if any.
void AnswerSignInQuestion(HWND hOwner);
// The user asked anew: printers whose dialog was cancelled may ask again.
void ForgetDeclinedSignIns();
// The window goes: a worker waiting for an answer gets none, and none is asked again.
void StopAskingSignIns();
