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
#include "job/ipp/ipp_file_source.h"
#include "job/ipp/ipp_job_attributes.h"
#include "job/outcome/print_summary.h"
#include "printer/ipp/ipp_printer_state.h"
#include "printer/state/printer_state_text.h"

namespace {
using Clock = std::chrono::steady_clock;

constexpr uint32_t kAskBudgetMs = 10000;

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

// The printer's refusal of a job, read as a refusal of its options when it names them.
FileReason ReasonOfRefusal(const ipp::Answer& answer, const char* pszFormat)
{
    if (answer.Ok() && answer.message.code == ipp::status::kClientAttributesOrValuesNotSupported) {
        const std::wstring strNamed = UnsupportedNamed(answer.message);
        return FileReason(FileOutcome::OptionNotTaken, strNamed.empty() ? AnswerText(answer) : strNamed);
    }
    if (answer.Ok() && answer.message.code == ipp::status::kClientDocumentFormatNotSupported)
        return FileReason(FileOutcome::OptionNotTaken, L"document-format=" + Wide(pszFormat));
    return FileReason(FileOutcome::PrinterRefused, AnswerText(answer));
}

class IppRun {
public:
    IppRun(const IppRunInput& input, const ipp::PrinterUrl& url, const std::function<bool()>& fnStop,
           const IppRunHooks& hooks)
        : m_input(input), m_url(url), m_fnStop(fnStop), m_hooks(hooks), m_strUser(WindowsUser())
    {
    }

    // What the printer supports, asked once for the run; false with the reason when it
    // does not answer.
    bool AskPrinter(FileReason& failure)
    {
        ipp::ExchangeOptions options;
        options.budgetMs = kAskBudgetMs;
        const ipp::Answer answer = ipp::GetPrinterAttributes(m_url, m_strUser, {}, options);
        if (!answer.Ok() || !ipp::IsSuccess(answer.message.code)) {
            failure = FileReason(FileOutcome::PrinterRefused, AnswerText(answer));
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
            JobAttributesOverIpp(m_input.settings, nFileType == kTypePDF, m_printer, m_url.Secure());
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
        const Clock::time_point until = Clock::now() + std::chrono::seconds(m_input.nWaitSeconds);
        while (true) {
            if (Stopped()) {
                CancelJob(end.nJobId);
                end.reason = FileOutcome::Cancelled;
                return;
            }
            ipp::Message request = Request(ipp::Operation::GetJobAttributes, end.nJobId);
            const std::vector<std::string> requested = {"job-state", "job-state-reasons", "job-impressions-completed",
                                                        "job-state-message"};
            ipp::OperationGroup(request).Add("requested-attributes", ipp::ValueTag::Keyword, requested);
            const ipp::Answer answer = Ask(request);
            if (answer.Ok() && ipp::IsSuccess(answer.message.code) && Ended(answer.message, end)) {
                AddPrinterState(end);
                return;
            }
            if (answer.Ok() && m_hooks.fnJobState)
                m_hooks.fnJobState(JobStateWords(answer.message));
            if (Clock::now() >= until)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
    }

private:
    // A job that did not complete: the printer's own state says more than the job ("Job
    // aborted."), a paper jam for one. Once the printer has moved on, what stopped the job
    // stays only as a "-report" reason: read as the condition itself.
    void AddPrinterState(IppFileEnd& end) const
    {
        if (end.reason.outcome != FileOutcome::PrinterTrouble)
            return;
        ipp::ExchangeOptions options;
        options.budgetMs = kAskBudgetMs;
        ipp::Answer answer = ipp::GetPrinterAttributes(m_url, m_strUser, IppStateAttributes(false), options);
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

    bool ListsOperation(ipp::Operation operation) const
    {
        const ipp::Attribute* pOperations = m_printer.Find(ipp::GroupTag::Printer, "operations-supported");
        return pOperations &&
               std::any_of(pOperations->values.begin(), pOperations->values.end(),
                           [&](const ipp::Value& v) { return v.integer == static_cast<int32_t>(operation); });
    }

    ipp::Answer Ask(const ipp::Message& request, uint32_t nBudgetMs = kAskBudgetMs,
                    ipp::DocumentSource* pDocument = nullptr) const
    {
        ipp::ExchangeOptions options;
        options.budgetMs = nBudgetMs;
        return ipp::Exchange(m_url, request, options, pDocument);
    }

    ipp::Message Request(ipp::Operation operation, int32_t nJobId = 0)
    {
        ipp::Message request = ipp::NewRequest(operation, ++m_nRequestId, m_url.Text(), m_strUser);
        if (nJobId > 0)
            ipp::OperationGroup(request).AddInteger("job-id", ipp::ValueTag::Integer, nJobId);
        return request;
    }

    // Nothing is left printing that was stopped or not sent whole.
    void CancelJob(int32_t nJobId)
    {
        const ipp::Answer answer = Ask(Request(ipp::Operation::CancelJob, nJobId));
        DebugLog(L"[IppRun] Cancel-Job %d: %s", nJobId, AnswerText(answer).c_str());
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
        if (bCreate) {
            // A printer busy with another job takes this one later: asked again while the wait lasts.
            ipp::Answer created = Ask(request);
            for (const Clock::time_point until = Clock::now() + std::chrono::seconds(m_input.nWaitSeconds);
                 created.Ok() && created.message.code == ipp::status::kServerBusy && Clock::now() < until && !Stopped();
                 created = Ask(request))
                std::this_thread::sleep_for(std::chrono::seconds(1));
            if (!created.Ok() || !ipp::IsSuccess(created.message.code))
                return ReasonOfRefusal(created, pszFormat);
            end.nJobId = JobIdOf(created);
            request = Request(ipp::Operation::SendDocument, end.nJobId);
            ipp::OperationGroup(request).AddBoolean("last-document", true);
        }
        ipp::OperationGroup(request).Add("document-format", ipp::ValueTag::MimeMediaType, pszFormat);
        // The budget grows with the file, for a network as slow as 256 KiB a second.
        const auto nBudgetMs =
            static_cast<uint32_t>(std::min<uint64_t>(10000 + nBytes / (256u << 10) * 1000, 0xFFFFFFF0u));
        std::atomic<bool> bCancelledMeanwhile{false};
        const ipp::Answer answer = AskWhileStopCancels(request, nBudgetMs, source, end.nJobId, bCancelledMeanwhile);
        FileReason reason = FileOutcome::Sent;
        if (source.Fault().outcome != FileOutcome::Sent)
            reason = source.Fault();
        else if (bCancelledMeanwhile)
            reason = FileOutcome::Cancelled;
        else if (!answer.Ok() || !ipp::IsSuccess(answer.message.code))
            reason = ReasonOfRefusal(answer, pszFormat);
        DebugLog(L"[IppRun] %s: %s", bCreate ? L"Send-Document" : L"Print-Job", AnswerText(answer).c_str());
        if (reason.outcome != FileOutcome::Sent) {
            if (end.nJobId > 0 && !bCancelledMeanwhile)
                CancelJob(end.nJobId);
            end.nJobId = 0;
            return reason;
        }
        if (!bCreate)
            end.nJobId = JobIdOf(answer);
        return FileOutcome::Sent;
    }

    // The upload, and beside it a watch for the user's stop: a printer that has stopped
    // reading holds a write that no stop reaches, so a job that has its id is cancelled
    // from here, and the printer then drops the upload.
    ipp::Answer AskWhileStopCancels(const ipp::Message& request, uint32_t nBudgetMs, IppFileSource& source,
                                    int32_t nJobId, std::atomic<bool>& bCancelled)
    {
        if (nJobId <= 0 || !m_fnStop)
            return Ask(request, nBudgetMs, &source);
        const ipp::Message cancel = Request(ipp::Operation::CancelJob, nJobId);
        std::atomic<bool> bUploadEnded{false};
        std::thread watch([&] {
            while (!bUploadEnded) {
                if (m_fnStop()) {
                    const ipp::Answer answer = Ask(cancel);
                    DebugLog(L"[IppRun] Cancel-Job %d during the upload: %s", nJobId, AnswerText(answer).c_str());
                    bCancelled = true;
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
        ipp::Answer answer = Ask(request, nBudgetMs, &source);
        bUploadEnded = true;
        watch.join();
        return answer;
    }

    static int32_t JobIdOf(const ipp::Answer& answer)
    {
        const ipp::Attribute* pJobId = answer.message.Find(ipp::GroupTag::Job, "job-id");
        return pJobId ? pJobId->Integer().value_or(0) : 0;
    }

    // "processing: Printing page 2": the job's state keyword and the printer's words for it.
    static std::wstring JobStateWords(const ipp::Message& answer)
    {
        constexpr const char* kStates[] = {"pending", "pending-held", "processing", "processing-stopped"};
        const ipp::Attribute* pState = answer.Find(ipp::GroupTag::Job, "job-state");
        const int32_t nState = pState ? pState->Integer().value_or(0) : 0;
        std::wstring strWords = nState >= 3 && nState <= 6 ? Wide(kStates[nState - 3]) : L"";
        if (const ipp::Attribute* pMessage = answer.Find(ipp::GroupTag::Job, "job-state-message");
            pMessage && pMessage->Text() && !pMessage->Text()->empty())
            strWords += (strWords.empty() ? L"" : L": ") + Wide(*pMessage->Text());
        return strWords;
    }

    // True once the job has ended: completed with its count, or aborted or cancelled with
    // the printer's words.
    static bool Ended(const ipp::Message& answer, IppFileEnd& end)
    {
        const ipp::Attribute* pState = answer.Find(ipp::GroupTag::Job, "job-state");
        const int32_t nState = pState ? pState->Integer().value_or(0) : 0;
        if (nState < 7)
            return false;
        if (nState == 9) {
            const ipp::Attribute* pCount = answer.Find(ipp::GroupTag::Job, "job-impressions-completed");
            if (pCount && pCount->Integer() && *pCount->Integer() >= 0)
                end.nPages = static_cast<uint32_t>(*pCount->Integer());
            return true;
        }
        std::wstring strWords;
        if (const ipp::Attribute* pMessage = answer.Find(ipp::GroupTag::Job, "job-state-message");
            pMessage && pMessage->Text())
            strWords = Wide(*pMessage->Text());
        if (strWords.empty())
            if (const ipp::Attribute* pReasons = answer.Find(ipp::GroupTag::Job, "job-state-reasons"))
                for (const std::string& reason : pReasons->Texts())
                    if (reason != "none")
                        strWords += (strWords.empty() ? L"" : L", ") + Wide(reason);
        if (strWords.empty())
            strWords = nState == 7 ? L"job-canceled" : L"job-aborted";
        end.reason = FileReason(FileOutcome::PrinterTrouble, strWords);
        return true;
    }

    const IppRunInput& m_input;
    const ipp::PrinterUrl& m_url;
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
