#include "ui/sign_in_ask.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "common/debug_log.h"
#include "ipp/ipp_sign_in.h"
#include "ui/sign_in_dialog.h"

namespace {
struct SignInDesk {
    std::mutex asking;  // one worker's question at a time
    std::mutex lock;
    std::condition_variable answered;
    HWND hWnd = nullptr;
    bool bClosed = false;
    std::optional<ipp::SignInQuestion> question;         // left for the window
    std::optional<std::optional<ipp::Credentials>> answer;  // given by it
    std::set<std::string> declined;                      // printers whose dialog was cancelled
    // The sign-in given for each printer in this session, until the printer refuses it: a
    // printer that asks on every request (its state is read every few seconds) is not asked
    // about again each time. In memory only; wiped when the program ends.
    std::map<std::string, ipp::Credentials> given;
};

SignInDesk& Desk()
{
    static SignInDesk desk;
    return desk;
}

std::optional<ipp::Credentials> ShowDialog(HWND hOwner, const ipp::SignInQuestion& question)
{
    CSignInDialog dialog(question);
    return dialog.Ask(hOwner);
}

std::optional<ipp::Credentials> AskOnWindow(const ipp::SignInQuestion& question)
{
    SignInDesk& desk = Desk();
    std::unique_lock<std::mutex> guard(desk.lock);
    // The window's own thread never queues behind a worker's question: that worker waits for
    // this very thread to answer it.
    const bool bOnWindow = desk.hWnd && GetWindowThreadProcessId(desk.hWnd, nullptr) == GetCurrentThreadId();
    std::unique_lock<std::mutex> asking(desk.asking, std::defer_lock);
    if (!bOnWindow) {
        guard.unlock();
        asking.lock();
        guard.lock();
    }
    if (!desk.hWnd || desk.bClosed || desk.declined.count(question.printer))
        return std::nullopt;
    if (const auto it = desk.given.find(question.printer); it != desk.given.end()) {
        if (question.strRefused.empty())
            return it->second;
        desk.given.erase(it);  // refused now: the user is asked again
    }
    std::optional<ipp::Credentials> credentials;
    if (bOnWindow) {
        // Asked on the window's own thread (a check that found no worker): shown at once.
        const HWND hOwner = desk.hWnd;
        guard.unlock();
        credentials = ShowDialog(hOwner, question);
        guard.lock();
    } else {
        desk.question = question;
        desk.answer.reset();
        if (!PostMessageW(desk.hWnd, kMsgSignInAsked, 0, 0)) {
            desk.question.reset();
            return std::nullopt;
        }
        desk.answered.wait(guard, [&] { return desk.answer.has_value() || desk.bClosed; });
        desk.question.reset();
        if (desk.answer)
            credentials = std::move(*desk.answer);
        desk.answer.reset();
    }
    if (credentials) {
        ipp::Credentials kept = *credentials;
        kept.bRemember = false;  // remembered once, when the printer first took it
        desk.given.insert_or_assign(question.printer, std::move(kept));
    } else {
        desk.declined.insert(question.printer);
        DebugLog(L"SignIn / cancelled for %s", std::wstring(question.printer.begin(), question.printer.end()).c_str());
    }
    return credentials;
}
}  // namespace

void AskSignInsOver(HWND hWnd)
{
    {
        const std::lock_guard<std::mutex> guard(Desk().lock);
        Desk().hWnd = hWnd;
        Desk().bClosed = false;
    }
    ipp::SetSignInProvider(AskOnWindow);
}

void AnswerSignInQuestion(HWND hOwner)
{
    SignInDesk& desk = Desk();
    std::optional<ipp::SignInQuestion> question;
    {
        const std::lock_guard<std::mutex> guard(desk.lock);
        // Taken once: a message posted again, or by another program, finds nothing.
        question.swap(desk.question);
    }
    if (!question)
        return;
    std::optional<ipp::Credentials> credentials = ShowDialog(hOwner, *question);
    {
        const std::lock_guard<std::mutex> guard(desk.lock);
        desk.answer.emplace(std::move(credentials));
    }
    desk.answered.notify_all();
}

void ForgetDeclinedSignIns()
{
    const std::lock_guard<std::mutex> guard(Desk().lock);
    Desk().declined.clear();
}

void StopAskingSignIns()
{
    {
        const std::lock_guard<std::mutex> guard(Desk().lock);
        Desk().bClosed = true;
        Desk().hWnd = nullptr;
    }
    Desk().answered.notify_all();
}
