#include "job/ipp/ipp_job_end.h"

#include <algorithm>
#include <string_view>

#include "job/ipp/ipp_job_attributes.h"
#include "printer/state/printer_state.h"

namespace {
using ipp::GroupTag;

// job-state values.
enum { kPending = 3, kHeld = 4, kProcessing = 5, kStopped = 6, kCanceled = 7, kAborted = 8, kCompleted = 9 };
// A printer may list many reasons; a line names a few.
constexpr size_t kReasonsNamed = 8;
constexpr size_t kMaxWordsChars = 255;

std::wstring Words(std::string_view text) { return CleanPrinterText(text, kMaxWordsChars); }

int32_t StateOf(const ipp::Message& answer)
{
    const ipp::Attribute* pState = answer.Find(GroupTag::Job, "job-state");
    return pState ? pState->Integer().value_or(0) : 0;
}

std::wstring MessageOf(const ipp::Message& answer)
{
    const ipp::Attribute* pMessage = answer.Find(GroupTag::Job, "job-state-message");
    return pMessage && pMessage->Text() ? Words(*pMessage->Text()) : std::wstring();
}

// "job-completed-with-errors, document-format-error": the reasons that tell something.
std::wstring ReasonsOf(const ipp::Message& answer)
{
    std::wstring strReasons;
    const ipp::Attribute* pReasons = answer.Find(GroupTag::Job, "job-state-reasons");
    size_t nNamed = 0;
    for (const std::string& reason : pReasons ? pReasons->Texts() : std::vector<std::string>()) {
        if (reason == "none" || reason == "job-completed-successfully")
            continue;
        if (++nNamed > kReasonsNamed)
            return strReasons + L", \x2026";
        strReasons += (strReasons.empty() ? L"" : L", ") + Words(reason);
    }
    return strReasons;
}

bool HasReason(const ipp::Message& answer, std::string_view reason)
{
    const ipp::Attribute* pReasons = answer.Find(GroupTag::Job, "job-state-reasons");
    const std::vector<std::string> reasons = pReasons ? pReasons->Texts() : std::vector<std::string>();
    return std::find(reasons.begin(), reasons.end(), reason) != reasons.end();
}

// The printer's words, then its reasons in brackets: "Toner ran out (job-completed-with-errors)".
std::wstring WordsAndReasons(const ipp::Message& answer)
{
    const std::wstring strWords = MessageOf(answer), strReasons = ReasonsOf(answer);
    if (strWords.empty() || strReasons.empty())
        return strWords + strReasons;
    return strWords + L" (" + strReasons + L")";
}
}  // namespace

std::optional<IppJobEnd> JobEndOfAnswer(const ipp::Message& answer, uint32_t nMostPages)
{
    const int32_t nState = StateOf(answer);
    if (nState < kCanceled || nState > kCompleted)
        return std::nullopt;
    IppJobEnd end;
    if (nState == kCompleted) {
        const ipp::Attribute* pCount = answer.Find(GroupTag::Job, "job-impressions-completed");
        const std::optional<int32_t> nCount = pCount ? pCount->Integer() : std::nullopt;
        // A count of none is no count: the printer may not count what it did.
        if (nCount && *nCount > 0 && static_cast<uint32_t>(*nCount) <= nMostPages)
            end.nPages = static_cast<uint32_t>(*nCount);
        // Printed, but not as it was meant: trouble in the printer's words and reasons.
        if (HasReason(answer, "job-completed-with-errors") || HasReason(answer, "job-completed-with-warnings"))
            end.reason = FileReason(FileOutcome::PrinterTrouble, WordsAndReasons(answer));
        return end;
    }
    std::wstring strWords = MessageOf(answer);
    if (strWords.empty())
        strWords = ReasonsOf(answer);
    if (strWords.empty())
        strWords = nState == kCanceled ? L"job-canceled" : L"job-aborted";
    end.reason = FileReason(FileOutcome::JobAborted, strWords);
    return end;
}

std::wstring JobStateWords(const ipp::Message& answer)
{
    constexpr const char* kStates[] = {"pending", "pending-held", "processing", "processing-stopped"};
    const int32_t nState = StateOf(answer);
    std::wstring strWords = nState >= kPending && nState <= kStopped ? Words(kStates[nState - kPending]) : L"";
    if (const std::wstring strMessage = MessageOf(answer); !strMessage.empty())
        strWords += (strWords.empty() ? L"" : L": ") + strMessage;
    return strWords;
}

FileReason NotFinishedReason(const ipp::Message& answer, int nSeconds)
{
    const int32_t nState = StateOf(answer);
    const bool bStalled = nState == kHeld || nState == kStopped;
    FileReason reason(bStalled ? FileOutcome::JobStalled : FileOutcome::NotFinished, JobStateWords(answer));
    // Held or stopped: the reasons say what the printer waits for.
    if (const std::wstring strReasons = ReasonsOf(answer); bStalled && !strReasons.empty())
        reason.strDetail += L" (" + strReasons + L")";
    if (reason.strDetail.empty())
        reason.strDetail = L"job-state unknown";
    reason.nSeconds = nSeconds;
    return reason;
}

std::optional<int32_t> JobIdOfAnswer(const ipp::Message& answer)
{
    const ipp::Attribute* pJobId = answer.Find(GroupTag::Job, "job-id");
    const std::optional<int32_t> nJobId =
        pJobId && pJobId->values.at(0).tag == ipp::ValueTag::Integer ? pJobId->Integer() : std::nullopt;
    return nJobId && *nJobId > 0 ? nJobId : std::nullopt;
}

std::wstring IgnoredOptions(const ipp::Message& answer)
{
    std::wstring strNamed;
    for (const ipp::AttributeGroup& group : answer.groups) {
        if (group.tag != GroupTag::Unsupported)
            continue;
        for (const ipp::Attribute& a : group.attributes) {
            if (!IsJobOptionAttribute(a.name))
                continue;
            std::string text = a.name;
            if (const std::string* pValue = a.Text())
                text += "=" + *pValue;
            else if (const std::optional<int32_t> nValue = a.Integer())
                text += "=" + std::to_string(*nValue);
            strNamed += (strNamed.empty() ? L"" : L", ") + Words(text);
            if (strNamed.size() > 200)
                return strNamed.substr(0, 200) + L"\x2026";
        }
    }
    return strNamed;
}
