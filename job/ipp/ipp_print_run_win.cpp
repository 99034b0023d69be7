#include "job/ipp/ipp_print_run.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "common/debug_log.h"
#include "common/printable_text.h"
#include "common/utf8_text.h"
#include "files/document_file.h"
#include "files/file_types.h"
#include "ipp/ipp_exchange.h"
#include "ipp/ipp_request.h"
#include "ipp/ipp_sign_in.h"
#include "job/ipp/ipp_file_source.h"
#include "job/ipp/ipp_job_attributes.h"
#include "job/ipp/ipp_job_end.h"
#include "job/ipp/ipp_poll_schedule.h"
#include "job/outcome/print_summary.h"
#include "printer/ipp/ipp_printer_state.h"
#include "printer/ipp/ipp_safety.h"
#include "printer/state/printer_state_text.h"

namespace {
using Clock = std::chrono::steady_clock;

constexpr uint32_t kAskBudgetMs = 10000;
// A stop at logoff leaves the program about four seconds: the Cancel-Job goes within them.
constexpr uint32_t kCancelBudgetMs = 3000;
// A busy printer is asked again soon (a job that ends frees it at once), then less often, up
// to this interval. A stop is looked at between, often enough that Cancel feels immediate.
constexpr auto kFirstBusyWait = std::chrono::milliseconds(50);
constexpr auto kBusyPollTime = std::chrono::seconds(1);
constexpr auto kStopCheckTime = std::chrono::milliseconds(20);
// A followed job is asked again soon after it changed, when its next change is likely near.
constexpr auto kFirstFollowWait = std::chrono::milliseconds(10);
constexpr auto kMostFollowWait = std::chrono::seconds(1);

// The printer's words, fit to show.
std::wstring Wide(const std::string& text) { return PrintableText(WideOfUtf8(text)); }

std::string WindowsUser()
{
    wchar_t szUser[257] = {};
    DWORD nChars = static_cast<DWORD>(std::size(szUser));
    return GetUserNameW(szUser, &nChars) ? Utf8OfWide(szUser) : std::string();
}

// "attribute=value" of every attribute the printer lists as unsupported in its answer.
std::wstring UnsupportedNamed(const ipp::Message& answer)
{
    std::wstring strNamed;
    for (const ipp::AttributeGroup& group : answer.groups) {
        if (group.tag != ipp::GroupTag::Unsupported)
            continue;
        for (const ipp::Attribute& a : group.attributes) {
            std::string text = a.name;
            if (const std::string* pValue = a.Text())
                text += "=" + *pValue;
            strNamed += (strNamed.empty() ? L"" : L", ") + Wide(text);
            if (strNamed.size() > 200)
                return strNamed.substr(0, 200) + L"\x2026";  // a printer may list a great many
        }
    }
    return strNamed;
}

std::wstring AnswerText(const ipp::Answer& answer)
{
    if (!answer.Ok())
        return Wide(ipp::FailureText(answer));
    const ipp::Attribute* pMessage = answer.message.Find(ipp::GroupTag::Operation, "status-message");
    const char* pszKeyword = ipp::StatusKeyword(answer.message.code);
    std::string text = pszKeyword ? pszKeyword : "status " + std::to_string(answer.message.code);
    if (pMessage && pMessage->Text() && !pMessage->Text()->empty())
        text += ": " + *pMessage->Text();
    return Wide(text);
}

// A request that did not get through; one that could not go safely says why.
FileReason ReasonOfFailure(const ipp::Answer& answer)
{
    if (answer.failure == ipp::Failure::Stopped)
        return FileOutcome::Cancelled;
    if (ipp::IsUnsafe(answer.failure))
        return FileReason(FileOutcome::NotReachedSafely, IppSafetyWhy(SafetyOfAnswer(answer)));
    return FileReason(FileOutcome::PrinterRefused, AnswerText(answer));
}

// The printer's refusal of a job, read as a refusal of its options when it names them.
FileReason ReasonOfRefusal(const ipp::Answer& answer, const char* pszFormat)
{
    if (answer.Ok() && answer.message.code == ipp::status::kClientAttributesOrValuesNotSupported) {
        const std::wstring strNamed = UnsupportedNamed(answer.message);
        return FileReason(FileOutcome::OptionNotTaken, strNamed.empty() ? AnswerText(answer) : strNamed);
    }
    if (answer.Ok() && answer.message.code == ipp::status::kClientDocumentFormatNotSupported)
        return FileReason(FileOutcome::OptionNotTaken, L"document-format=" + Wide(pszFormat));
    return ReasonOfFailure(answer);
}

class IppRun {
public:
    IppRun(const IppRunInput& input, const ipp::PrinterUrl& url, const std::function<bool()>& fnStop,
           const IppRunHooks& hooks)
        : m_input(input), m_connection(url, true), m_fnStop(fnStop), m_hooks(hooks), m_strUser(WindowsUser())
    {
    }

    // What the printer supports, asked once for the run; false with the reason when it
    // does not answer.
    bool AskPrinter(FileReason& failure)
    {
        ipp::ExchangeOptions options;
        options.budgetMs = kAskBudgetMs;
        options.stop = m_fnStop;
        const ipp::Answer answer = ipp::GetPrinterAttributes(m_connection, m_strUser, IppRunPrinterAttributes(), options);
        if (!answer.Ok() || !ipp::IsSuccess(answer.message.code)) {
            failure = ReasonOfFailure(answer);
            return false;
        }
        m_printer = answer.message;
        return true;
    }

    IppFileEnd Send(const std::wstring& strPath)
    {
        IppFileEnd end;
        const int nFileType = FileTypeOfExtension(PathExtension(strPath));
        const char* pszFormat = DocumentFormatOfType(nFileType);
        const IppJobAttributes attributes =
            JobAttributesOverIpp(m_input.settings, nFileType == kTypePDF, m_printer, m_connection.Url().Secure());
        if (attributes.refusal.outcome != FileOutcome::Sent) {
            end.reason = attributes.refusal;
            return end;
        }
        const HANDLE hFile = OpenDocumentFile(strPath, FILE_SHARE_READ);
        LARGE_INTEGER size = {};
        if (hFile == INVALID_HANDLE_VALUE || !GetFileSizeEx(hFile, &size)) {
            const DWORD nError = GetLastError();
            if (hFile != INVALID_HANDLE_VALUE)
                CloseHandle(hFile);
            end.reason = IsNoDiskFileError(nError) ? FileReason(FileOutcome::NotAFile)
                                                   : SystemFaultReason(FileOutcome::CannotOpen, nError);
            return end;
        }
        end.reason = SendOpenFile(hFile, static_cast<uint64_t>(size.QuadPart), nFileType, pszFormat, strPath,
                                  attributes, end);
        CloseHandle(hFile);
        return end;
    }

    // Until the job ends at the printer or the wait ends. A stop cancels a job not yet ended:
    // the user stopped it.
    void Follow(IppFileEnd& end)
    {
        const Clock::time_point start = Clock::now();
        const Clock::time_point until = start + std::chrono::seconds(m_input.nWaitSeconds);
        ipp::Message last;  // what the printer last told of the job
        CPollSchedule schedule(kFirstFollowWait, kMostFollowWait);
        std::wstring strLastWords;
        while (true) {
            if (Stopped()) {
                // A job that ended before the Cancel came is what the printer says of it.
                if (!CancelJob(end.nJobId) && AskJob(end, last, true))
                    return;
                end.reason = FileOutcome::Cancelled;
                return;
            }
            if (AskJob(end, last))
                return;
            std::wstring strWords = JobStateWords(last);
            if (strWords != strLastWords)
                schedule.Reset();
            if (m_hooks.fnJobState)
                m_hooks.fnJobState(strWords);
            strLastWords = std::move(strWords);
            if (Clock::now() >= until) {
                const auto nSeconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count();
                end.reason = NotFinishedReason(last, static_cast<int>(nSeconds));
                return;
            }
            PauseUnlessStopped(std::min(Clock::now() + schedule.Next(), until));
        }
    }

private:
    // Get-Job-Attributes: true once the job has ended, with its end in `end`; `last` keeps
    // what the printer told of the job.
    bool AskJob(IppFileEnd& end, ipp::Message& last, bool bAfterStop = false)
    {
        ipp::Message request = Request(ipp::Operation::GetJobAttributes, end.nJobId);
        const std::vector<std::string> requested = {"job-state", "job-state-reasons", "job-impressions-completed",
                                                    "job-state-message"};
        ipp::OperationGroup(request).Add("requested-attributes", ipp::ValueTag::Keyword, requested);
        // After a stop the answer must come within the logoff window, as the Cancel-Job did.
        ipp::Answer answer = Ask(request, bAfterStop ? kCancelBudgetMs : kAskBudgetMs, nullptr, bAfterStop);
        if (!answer.Ok() || !ipp::IsSuccess(answer.message.code))
            return false;
        last = std::move(answer.message);
        const std::optional<IppJobEnd> ended = JobEndOfAnswer(last, MostPagesOfRun(m_input.settings, 1));
        if (!ended)
            return false;
        end.reason = ended->reason;
        end.nPages = ended->nPages;
        AddPrinterState(end);
        return true;
    }

    // A job that did not complete: the printer's own state says more than the job ("Job
    // aborted."), a paper jam for one. Once the printer has moved on, what stopped the job
    // stays only as a "-report" reason: read as the condition itself.
    void AddPrinterState(IppFileEnd& end)
    {
        if (end.reason.outcome != FileOutcome::PrinterTrouble && end.reason.outcome != FileOutcome::JobAborted)
            return;
        ipp::ExchangeOptions options;
        options.budgetMs = kAskBudgetMs;
        ipp::Answer answer = ipp::GetPrinterAttributes(m_connection, m_strUser, IppStateAttributes(false), options);
        if (!answer.Ok() || !ipp::IsSuccess(answer.message.code))
            return;
        // Its message tells of the printer now ("Idle."), not of the job.
        for (ipp::AttributeGroup& group : answer.message.groups)
            std::erase_if(group.attributes, [](const ipp::Attribute& a) { return a.name == "printer-state-message"; });
        for (ipp::AttributeGroup& group : answer.message.groups)
            for (ipp::Attribute& attribute : group.attributes)
                if (attribute.name == "printer-state-reasons")
                    for (ipp::Value& value : attribute.values)
                        if (value.text.ends_with("-report"))
                            value.text.resize(value.text.size() - 7);
        const PrinterState state = StateOfIppAnswer(answer.message);
        if (!state.conditions.empty())
            end.reason.strDetail += L" " + PrinterReportText(state);
    }

    bool Stopped() const { return m_fnStop && m_fnStop(); }

    // Until `until` or a stop, whichever comes first.
    void PauseUnlessStopped(Clock::time_point until) const
    {
        for (Clock::time_point now = Clock::now(); now < until && !Stopped(); now = Clock::now())
            std::this_thread::sleep_for(std::min<Clock::duration>(until - now, kStopCheckTime));
    }

    bool ListsOperation(ipp::Operation operation) const
    {
        const ipp::Attribute* pOperations = m_printer.Find(ipp::GroupTag::Printer, "operations-supported");
        return pOperations &&
               std::any_of(pOperations->values.begin(), pOperations->values.end(),
                           [&](const ipp::Value& v) { return v.integer == static_cast<int32_t>(operation); });
    }

    // A stop ends any request at once, also one the printer holds; only a Cancel-Job goes
    // after the stop, and the one question of how a job ended that the printer would not
    // cancel (bAfterStop).
    ipp::Answer Ask(const ipp::Message& request, uint32_t nBudgetMs = kAskBudgetMs,
                    ipp::DocumentSource* pDocument = nullptr, bool bAfterStop = false)
    {
        ipp::ExchangeOptions options;
        options.budgetMs = nBudgetMs;
        if (request.code != static_cast<uint16_t>(ipp::Operation::CancelJob) && !bAfterStop)
            options.stop = m_fnStop;
        return m_connection.Exchange(request, options, pDocument);
    }

    ipp::Message Request(ipp::Operation operation, int32_t nJobId = 0)
    {
        ipp::Message request = ipp::NewRequest(operation, ++m_nRequestId, m_connection.Url().Text(), m_strUser);
        if (nJobId > 0)
            ipp::OperationGroup(request).AddInteger("job-id", ipp::ValueTag::Integer, nJobId);
        return request;
    }

    // Nothing is left printing that was stopped or not sent whole. True when the printer
    // cancelled it; a job that had ended already it cannot.
    bool CancelJob(int32_t nJobId)
    {
        if (nJobId <= 0)
            return false;
        const ipp::Answer answer = Ask(Request(ipp::Operation::CancelJob, nJobId), kCancelBudgetMs);
        DebugLog(L"[IppRun] Cancel-Job %d: %s", nJobId, AnswerText(answer).c_str());
        return answer.Ok() && ipp::IsSuccess(answer.message.code);
    }

    // Asks with fnAsk until the printer is no longer busy with another job, while the wait
    // lasts and nobody stops; `refusal` tells why it gave up (Cancelled, PrinterBusy).
    ipp::Answer AskWhileBusy(const std::function<ipp::Answer()>& fnAsk, FileReason& refusal)
    {
        const Clock::time_point until = Clock::now() + std::chrono::seconds(m_input.nWaitSeconds);
        ipp::Answer answer = fnAsk();
        CPollSchedule schedule(kFirstBusyWait, kBusyPollTime);
        int nToldLeft = -1;
        while (answer.Ok() && answer.message.code == ipp::status::kServerBusy) {
            const Clock::time_point next = std::min(Clock::now() + schedule.Next(), until);
            // The seconds left are told as each one passes, however often the printer is asked.
            for (Clock::time_point now = Clock::now(); !Stopped() && now < next; now = Clock::now()) {
                const int nLeft = static_cast<int>(std::chrono::ceil<std::chrono::seconds>(until - now).count());
                if (m_hooks.fnPrinterBusy && nLeft != nToldLeft)
                    m_hooks.fnPrinterBusy(nLeft);
                nToldLeft = nLeft;
                std::this_thread::sleep_for(std::min<Clock::duration>(next - now, kStopCheckTime));
            }
            if (Stopped()) {
                refusal = FileOutcome::Cancelled;
                return answer;
            }
            if (Clock::now() >= until) {
                refusal = FileOutcome::PrinterBusy;
                return answer;
            }
            answer = fnAsk();
        }
        if (m_hooks.fnPrinterBusy)
            m_hooks.fnPrinterBusy(0);  // the wait is over
        return answer;
    }

    // successful-ok-ignored-or-substituted-attributes to a job sent with fidelity: an
    // option it ignored refuses the file, as one it does not list does.
    static FileReason IgnoredRefusal(const ipp::Answer& answer)
    {
        if (answer.message.code != ipp::status::kOkIgnoredOrSubstituted)
            return FileOutcome::Sent;
        const std::wstring strIgnored = IgnoredOptions(answer.message);
        return strIgnored.empty() ? FileReason(FileOutcome::Sent) : FileReason(FileOutcome::OptionNotTaken, strIgnored);
    }

    // With Create-Job and Send-Document where the printer lists them, the job has its id
    // before the document goes, so a stop during the upload can cancel it.
    FileReason SendOpenFile(HANDLE hFile, uint64_t nBytes, int nFileType, const char* pszFormat,
                            const std::wstring& strPath, const IppJobAttributes& attributes, IppFileEnd& end)
    {
        SendControl control;
        control.fnStopRequested = m_fnStop;
        control.fnProgress = m_hooks.fnFileProgress;
        IppFileSource source(hFile, nBytes, nFileType, control);
        if (!source.Prime())
            return source.Fault();
        const bool bCreate = ListsOperation(ipp::Operation::CreateJob) && ListsOperation(ipp::Operation::SendDocument);
        ipp::Message request = Request(bCreate ? ipp::Operation::CreateJob : ipp::Operation::PrintJob);
        ipp::AttributeGroup& op = ipp::OperationGroup(request);
        op.Add("job-name", ipp::ValueTag::Name, Utf8OfWide(FileNameOfPath(strPath)));
        op.AddBoolean("ipp-attribute-fidelity", true);
        op.attributes.insert(op.attributes.end(), attributes.operation.begin(), attributes.operation.end());
        if (!attributes.job.attributes.empty())
            request.groups.push_back(attributes.job);
        if (FileReason failure; !bCreate && !SignInBeforeDocument(request, failure))
            return failure;
        if (bCreate) {
            // A printer busy with another job takes this one later: asked again while the wait lasts.
            FileReason busy;
            const ipp::Answer created = AskWhileBusy([&] { return Ask(request); }, busy);
            if (busy.outcome != FileOutcome::Sent)
                return busy;
            if (!created.Ok() || !ipp::IsSuccess(created.message.code))
                return ReasonOfRefusal(created, pszFormat);
            // Without a job of its own nothing can be sent, followed or cancelled.
            const std::optional<int32_t> nJobId = JobIdOfAnswer(created.message);
            if (!nJobId)
                return FileReason(FileOutcome::PrinterRefused, AnswerText(created) + L" (no job-id)");
            end.nJobId = *nJobId;
            if (const FileReason ignored = IgnoredRefusal(created); ignored.outcome != FileOutcome::Sent) {
                CancelJob(end.nJobId);
                end.nJobId = 0;
                return ignored;
            }
            request = Request(ipp::Operation::SendDocument, end.nJobId);
            ipp::OperationGroup(request).AddBoolean("last-document", true);
        }
        ipp::OperationGroup(request).Add("document-format", ipp::ValueTag::MimeMediaType, pszFormat);
        // The budget grows with the file, for a network as slow as 256 KiB a second.
        const auto nBudgetMs =
            static_cast<uint32_t>(std::min<uint64_t>(10000 + nBytes / (256u << 10) * 1000, 0xFFFFFFF0u));
        std::atomic<bool> bCancelledMeanwhile{false};
        // A printer that takes Print-Job alone says it is busy after the document: it goes
        // again, read anew from its start.
        FileReason busy;
        int nTries = 0;
        const ipp::Answer answer = AskWhileBusy([&] {
            if (nTries++ > 0 && !source.Restart()) {
                ipp::Answer unread;
                unread.failure = ipp::Failure::DocumentUnreadable;
                return unread;
            }
            return AskWhileStopCancels(request, nBudgetMs, source, end.nJobId, bCancelledMeanwhile);
        }, busy);
        FileReason reason = busy;
        if (source.Fault().outcome != FileOutcome::Sent)
            reason = source.Fault();
        else if (bCancelledMeanwhile)
            reason = FileOutcome::Cancelled;
        else if (reason.outcome != FileOutcome::Sent)
            ;  // stopped or still busy when the wait ended
        else if (!answer.Ok() || !ipp::IsSuccess(answer.message.code))
            reason = ReasonOfRefusal(answer, pszFormat);
        else
            reason = IgnoredRefusal(answer);
        DebugLog(L"[IppRun] %s: %s", bCreate ? L"Send-Document" : L"Print-Job", AnswerText(answer).c_str());
        if (reason.outcome != FileOutcome::Sent) {
            if (end.nJobId > 0 && !bCancelledMeanwhile)
                CancelJob(end.nJobId);
            end.nJobId = 0;
            return reason;
        }
        if (!bCreate)
            end.nJobId = JobIdOfAnswer(answer.message).value_or(0);
        return FileOutcome::Sent;
    }

    // The upload. A stop ends it at once, even a write the printer holds by no longer
    // reading; a job that has its id is then cancelled there.
    ipp::Answer AskWhileStopCancels(const ipp::Message& request, uint32_t nBudgetMs, IppFileSource& source,
                                    int32_t nJobId, std::atomic<bool>& bCancelled)
    {
        ipp::Answer answer = Ask(request, nBudgetMs, &source);
        if (answer.failure == ipp::Failure::Stopped) {
            bCancelled = true;
            if (nJobId > 0)
                CancelJob(nJobId);
        }
        return answer;
    }

    // A printer that takes a document only from a signed-in user hears of the sign-in
    // first, in a request without the document: a refused one then costs no upload.
    bool SignInBeforeDocument(const ipp::Message& job, FileReason& failure)
    {
        if (m_connection.SignedIn() || !ipp::PrinterAsksForSignIn(m_printer, m_connection.Url()))
            return true;
        ipp::Message validate = job;
        validate.code = static_cast<uint16_t>(ipp::Operation::ValidateJob);
        validate.requestId = ++m_nRequestId;
        const ipp::Answer answer = Ask(validate);
        if (answer.Ok() || !ipp::IsUnsafe(answer.failure))
            return true;
        failure = ReasonOfFailure(answer);
        return false;
    }

    const IppRunInput& m_input;
    ipp::Connection m_connection;  // the run's requests on one kept connection
    const std::function<bool()>& m_fnStop;
    const IppRunHooks& m_hooks;
    std::string m_strUser;
    ipp::Message m_printer;
    int32_t m_nRequestId = 1;
};
}  // namespace

std::vector<IppFileEnd> SendFilesOverIpp(const IppRunInput& input, const std::function<bool()>& fnStop,
                                         const IppRunHooks& hooks)
{
    std::vector<IppFileEnd> arrEnds(input.arrFiles.size());
    const std::optional<ipp::PrinterUrl> url = ipp::ParsePrinterUrl(Utf8OfWide(input.strUrl));
    if (!url)
        return arrEnds;
    IppRun run(input, *url, fnStop, hooks);
    FileReason failure;
    if (!run.AskPrinter(failure)) {
        for (IppFileEnd& end : arrEnds)
            end.reason = failure;
        return arrEnds;
    }
    for (size_t i = 0; i < input.arrFiles.size(); ++i) {
        if (fnStop && fnStop())
            break;
        DebugLog(L"[IppRun] %s", input.arrFiles[i].c_str());
        if (hooks.fnFileStarts)
            hooks.fnFileStarts(i);
        arrEnds[i] = run.Send(input.arrFiles[i]);
        if (hooks.fnFileEnds)
            hooks.fnFileEnds(i);
        if (arrEnds[i].reason.outcome == FileOutcome::Sent && arrEnds[i].nJobId > 0 && input.nWaitSeconds > 0)
            run.Follow(arrEnds[i]);
    }
    return arrEnds;
}
