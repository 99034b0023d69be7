// The HTTP side of an IPP exchange over plain HTTP through WinHTTP (TLS goes by our own
// stream: ipp_tls_post_win.cpp). Every wait is cut to what is left of
// the caller's budget. A caller that can be stopped has the POST made on a thread of the
// pool: closing a request handle is how WinHTTP ends a blocked write or wait, and where it
// does not end one (Wine's), the caller still returns at once and the thread ends with
// the call's time-out, touching nothing of the caller's.
#include "ipp/ipp_http_post.h"
#include "ipp/ipp_log.h"

#include <algorithm>
#include <condition_variable>
#include <cwctype>
#include <mutex>

#include "ipp/ipp_no_delay.h"
#include "ipp/ipp_read_ahead.h"
#include "ipp/ipp_tls_stream.h"

namespace ipp {

namespace {

using Clock = std::chrono::steady_clock;

// How long a stopped caller lets the POST end by itself before it closes the request under
// it: long enough that the POST is inside the call it waits in, so the handle it closes is
// never one given out again meanwhile.
constexpr auto kStopGrace = std::chrono::milliseconds(200);
constexpr auto kStopCheck = std::chrono::milliseconds(20);
// Setting a connected request's time-outs costs a system call for each socket option (under
// Wine a round trip to its server): before every wait, a quarter of a small request's time.
// They are set again only once this much of the budget has passed, so a wait may end this
// much past it.
constexpr auto kTimeoutsRefresh = std::chrono::milliseconds(100);

// URL parts are ASCII once parsed.
std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += c > 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return out;
}

Failure FailureOf(DWORD error, bool sent)
{
    switch (error) {
    case ERROR_WINHTTP_TIMEOUT:
    case 10060:  // WSAETIMEDOUT, which Wine passes on from a socket's read
        return Failure::TimedOut;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CANNOT_CONNECT:
        return Failure::CannotConnect;
    case ERROR_WINHTTP_CONNECTION_ERROR:
        return sent ? Failure::ConnectionLost : Failure::CannotConnect;
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
    case ERROR_WINHTTP_HEADER_NOT_FOUND:
        return Failure::NotHttp;
    case ERROR_WINHTTP_OPERATION_CANCELLED:
    case ERROR_INVALID_HANDLE:
        return Failure::Stopped;
    default:
        return Failure::SystemError;
    }
}

// What the caller and the POST's own thread share. Once `abandoned` is set, the POST makes
// no further call and reads nothing more of the document.
struct Shared {
    std::mutex lock;
    std::condition_variable ended;
    bool bEnded = false;
    bool bAbandoned = false;
    bool bInCall = false;
    bool bClosedByCaller = false;
    HINTERNET hRequest = nullptr;
};

class Post {
public:
    Post(std::shared_ptr<HttpLink> link, const PostInput& input, std::shared_ptr<Shared> shared)
        : m_link(std::move(link)), m_input(input), m_shared(std::move(shared))
    {
        m_input.credentials = nullptr;  // a sign-in goes over TLS alone
    }

    void Run()
    {
        if (!m_link->Open()) {
            Fail(false, m_link->OpenError());
        } else {
            HINTERNET hRequest = WinHttpOpenRequest(m_link->Connect(), L"POST", Wide(m_input.url.path).c_str(), nullptr,
                                                    WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0);
            {
                const std::lock_guard<std::mutex> guard(m_shared->lock);
                m_shared->hRequest = hRequest;
            }
            if (!hRequest || !Guard(hRequest))
                Fail(false);
            else
                Exchange(hRequest);
            const std::lock_guard<std::mutex> guard(m_shared->lock);
            if (hRequest && !m_shared->bClosedByCaller)
                WinHttpCloseHandle(hRequest);
        }
        const std::lock_guard<std::mutex> guard(m_shared->lock);
        m_shared->bEnded = true;
        m_shared->ended.notify_all();
    }

    Answer& Result() { return m_answer; }
    PostResult& Learnt() { return m_learnt; }

private:
    void Exchange(HINTERNET hRequest)
    {
        if (!Send(hRequest))
            return;
        if (!Call([&] { return Limit(hRequest, true) && WinHttpReceiveResponse(hRequest, nullptr); }))
            return void(CallFailed(true));
        Receive(hRequest);
    }

    // A call into WinHTTP that may block; false without calling once the caller has gone.
    template <typename F>
    bool Call(F&& call)
    {
        {
            const std::lock_guard<std::mutex> guard(m_shared->lock);
            if (m_shared->bAbandoned)
                return Fail(Failure::Stopped);
            m_shared->bInCall = true;
        }
        const bool bDone = call();
        const DWORD nError = GetLastError();
        const std::lock_guard<std::mutex> guard(m_shared->lock);
        m_shared->bInCall = false;
        SetLastError(nError);
        return m_shared->bAbandoned ? Fail(Failure::Stopped) : bDone;
    }

    DWORD LeftMs() const
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_input.deadline - Clock::now()).count();
        return static_cast<DWORD>(std::clamp<long long>(left, 1, 0x7FFFFFFF));
    }
    bool Expired() const { return Clock::now() >= m_input.deadline; }

    // Every wait of WinHTTP cut to what is left. The wait for the answer's headers has an
    // option of its own, which WinHttpSetTimeouts leaves alone under Wine, and which Wine
    // takes when the request is sent.
    bool Limit(HINTERNET h, bool request = false)
    {
        const auto now = Clock::now();
        const auto fresh = [&](const std::optional<Clock::time_point>& at) {
            return at && now - *at < kTimeoutsRefresh;
        };
        if (fresh(m_limitedAt) && (!request || fresh(m_answerLimitedAt)))
            return true;
        m_limitedAt = now;
        if (request)
            m_answerLimitedAt = now;
        DWORD left = LeftMs();
        return WinHttpSetTimeouts(h, static_cast<int>(left), static_cast<int>(left), static_cast<int>(left),
                                  static_cast<int>(left)) &&
               (!request || WinHttpSetOption(h, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &left, sizeof(left)));
    }

    // No credentials of the Windows user, no cookies, no redirect taken behind our back, no
    // sign-in answered but ours. A kept connection saves each request its connection; it is
    // kept only where Nagle's algorithm could be switched off for it: otherwise WinHTTP's separate write of the body waits for the
    // printer's delayed acknowledgement of the headers (40 ms and more) on every request
    // after the first, where a new connection costs a round trip.
    bool Guard(HINTERNET request) const
    {
        DWORD logon = WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH;
        DWORD redirects = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        const bool bKeep = m_link->KeepAlive() && !m_link->NagleStays();
        DWORD features = WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_AUTHENTICATION |
                         (bKeep ? 0 : WINHTTP_DISABLE_KEEP_ALIVE);
        return WinHttpSetOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, &logon, sizeof(logon)) &&
               WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &redirects, sizeof(redirects)) &&
               WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &features, sizeof(features)) &&
               WinHttpSetStatusCallback(request, OnStatus, WINHTTP_CALLBACK_FLAG_CONNECT_TO_SERVER, 0) !=
                   WINHTTP_INVALID_STATUS_CALLBACK;
    }

    // Connected-to-server comes for a new connection alone, once it stands. A connection used
    // once gains nothing from Nagle's algorithm off: its printer acknowledges at once at first.
    static void CALLBACK OnStatus(HINTERNET hRequest, DWORD_PTR context, DWORD status, LPVOID, DWORD)
    {
        if (!context)
            return;
        Post& post = *reinterpret_cast<Post*>(context);
        if (status == WINHTTP_CALLBACK_STATUS_CONNECTED_TO_SERVER && post.m_link->KeepAlive())
            post.m_link->PrepareConnection(hRequest);
    }

    bool Fail(bool sent, DWORD error = GetLastError())
    {
        m_answer.failure = Expired() && error != ERROR_SUCCESS ? Failure::TimedOut : FailureOf(error, sent);
        m_answer.systemError = error;
        return false;
    }
    bool Fail(Failure failure)
    {
        m_answer.failure = failure;
        return false;
    }
    // After a Call that failed: the system's reason, unless the caller had gone.
    bool CallFailed(bool sent)
    {
        return m_answer.failure == Failure::Stopped ? false : Fail(sent);
    }

    bool Write(HINTERNET request, const void* data, size_t size)
    {
        if (Expired())
            return Fail(Failure::TimedOut);
        DWORD written = 0;
        if (!Call([&] { return Limit(request) && WinHttpWriteData(request, data, static_cast<DWORD>(size), &written); }))
            return CallFailed(true);
        return written == size || Fail(true);
    }

    // Of the document only what the caller still waits for.
    std::optional<size_t> ReadDocument(std::span<uint8_t> block)
    {
        const std::lock_guard<std::mutex> guard(m_shared->lock);
        if (m_shared->bAbandoned)
            return std::nullopt;
        return m_input.document->Read(block);
    }

    // The headers alone, then the attributes, then the document block by block (each read
    // while the one before is written), each only once the certificate has passed. WinHTTP counts a body's length in 32 bits: past 4 GiB
    // the length goes as a header of ours, and WinHTTP is told to leave it alone. (Wine's
    // WinHTTP cannot send a chunked request body.)
    bool Send(HINTERNET request)
    {
        const std::vector<uint8_t>& head = m_input.head;
        DocumentSource* document = m_input.document;
        std::wstring headers = L"Content-Type: application/ipp\r\n";
        if (!Limit(request, true))
            return Fail(false);
        const uint64_t size = document ? document->Size() : 0;
        const uint64_t total = size + head.size();
        const bool counted = total <= 0xFFFFFFFFull;
        if (!counted)
            headers += L"Content-Length: " + std::to_wstring(total) + L"\r\n";
        if (!Call([&] {
                return WinHttpSendRequest(request, headers.c_str(), static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0,
                                          counted ? static_cast<DWORD>(total) : WINHTTP_IGNORE_REQUEST_TOTAL_LENGTH,
                                          reinterpret_cast<DWORD_PTR>(this));
            }))
            return CallFailed(false);
        if (!Write(request, head.data(), head.size()))
            return false;
        if (!document)
            return true;
        ReadAhead ahead([this](std::span<uint8_t> block) { return ReadDocument(block); }, 1 << 20);
        uint64_t sent = 0;
        while (true) {
            const std::optional<std::span<const uint8_t>> block = ahead.Next();
            if (!block) {
                const std::lock_guard<std::mutex> guard(m_shared->lock);
                return Fail(m_shared->bAbandoned ? Failure::Stopped : Failure::DocumentUnreadable);
            }
            if (block->empty())
                break;
            sent += block->size();
            if (sent > size)
                return Fail(Failure::DocumentUnreadable);  // it grew while it was sent
            if (!Write(request, block->data(), block->size()))
                return false;
        }
        return sent == size || Fail(Failure::DocumentUnreadable);
    }

    static std::wstring Header(HINTERNET request, DWORD what)
    {
        DWORD bytes = 0;
        WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &bytes, WINHTTP_NO_HEADER_INDEX);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0 || bytes > 8192)
            return std::wstring();
        std::wstring text(bytes / sizeof(wchar_t), L'\0');
        if (!WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes,
                                 WINHTTP_NO_HEADER_INDEX))
            return std::wstring();
        text.resize(bytes / sizeof(wchar_t));
        return text;
    }

    bool Receive(HINTERNET request)
    {
        DWORD status = 0;
        DWORD bytes = sizeof(status);
        if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &bytes, WINHTTP_NO_HEADER_INDEX))
            return Fail(true);
        m_answer.httpStatus = status;
        if (status >= 300 && status < 400) {
            m_learnt.location = Narrow(Header(request, WINHTTP_QUERY_LOCATION));
            m_learnt.bRedirect = !m_learnt.location.empty();
            return m_learnt.bRedirect || Fail(Failure::HttpError);
        }
        if (status == 401 || status == 407) {
            DWORD supported = 0, first = 0, target = 0;
            if (status == 401 && WinHttpQueryAuthSchemes(request, &supported, &first, &target))
                m_learnt.nAuthSchemes = supported;
            return Fail(Failure::NeedsCredentials);
        }
        if (status != 200)
            return Fail(Failure::HttpError);
        std::wstring type = Header(request, WINHTTP_QUERY_CONTENT_TYPE);
        std::transform(type.begin(), type.end(), type.begin(), std::towlower);
        if (type.rfind(L"application/ipp", 0) != 0)
            return Fail(Failure::NotIpp);
        const std::wstring length = Header(request, WINHTTP_QUERY_CONTENT_LENGTH);
        if (!length.empty() &&
            (length.size() > 12 || _wtoi64(length.c_str()) > static_cast<long long>(m_input.options.maxAnswerBytes)))
            return Fail(Failure::TooLarge);
        std::vector<uint8_t> body;
        std::vector<uint8_t> block(64 * 1024);
        while (true) {
            if (Expired())
                return Fail(Failure::TimedOut);
            // A read waits until its buffer is full: ask only for what has come, so that a
            // printer sending a byte now and then cannot hold the exchange past its budget.
            DWORD ready = 0;
            if (!Call([&] { return Limit(request) && WinHttpQueryDataAvailable(request, &ready); }))
                return CallFailed(true);
            DWORD got = 0;
            if (ready > 0 && !WinHttpReadData(request, block.data(), std::min<DWORD>(ready, block.size()), &got))
                return Fail(true);
            if (got == 0)
                break;
            if (body.size() + got > m_input.options.maxAnswerBytes)
                return Fail(Failure::TooLarge);
            body.insert(body.end(), block.begin(), block.begin() + got);
        }
        const Decoded decoded = DecodeMessage(body, m_answer.message);
        if (decoded.error != DecodeError::None) {
            m_answer.decodeError = decoded.error;
            return Fail(Failure::Malformed);
        }
        return true;
    }

    std::shared_ptr<HttpLink> m_link;
    PostInput m_input;
    std::shared_ptr<Shared> m_shared;
    Answer m_answer;
    PostResult m_learnt;
    std::optional<Clock::time_point> m_limitedAt;        // the time-outs last set
    std::optional<Clock::time_point> m_answerLimitedAt;  // and with them the answer's wait
};

// The caller waits for the POST or for its stop, whichever comes first: the POST's end wakes
// it at once, the stop is looked at between.
bool WaitUnlessStopped(Shared& shared, const std::function<bool()>& stop)
{
    std::unique_lock<std::mutex> guard(shared.lock);
    while (!shared.bEnded) {
        if (shared.ended.wait_for(guard, kStopCheck, [&] { return shared.bEnded; }))
            break;
        guard.unlock();
        const bool bStop = stop();
        guard.lock();
        if (bStop && !shared.bEnded) {
            shared.bAbandoned = true;
            if (!shared.ended.wait_for(guard, kStopGrace, [&] { return shared.bEnded; }) && shared.bInCall &&
                shared.hRequest) {
                shared.bClosedByCaller = true;
                WinHttpCloseHandle(shared.hRequest);
            }
            return false;
        }
    }
    return true;
}

void CALLBACK RunHeldPost(PTP_CALLBACK_INSTANCE, void* pContext)
{
    const std::unique_ptr<std::shared_ptr<Post>> held(static_cast<std::shared_ptr<Post>*>(pContext));
    (*held)->Run();
}

}  // namespace

HttpLink::HttpLink(const PrinterUrl& url, bool bKeepAlive) : m_bKeepAlive(bKeepAlive), m_bSecure(url.Secure())
{
    if (m_bSecure)
        return;
    m_hSession = WinHttpOpen(L"Lumeo", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (m_hSession)
        m_hConnect = WinHttpConnect(m_hSession, Wide(url.host).c_str(), url.port, 0);
    if (!m_hConnect)
        m_nOpenError = GetLastError();
}

HttpLink::~HttpLink()
{
    if (m_hConnect)
        WinHttpCloseHandle(m_hConnect);
    if (m_hSession)
        WinHttpCloseHandle(m_hSession);
}

void HttpLink::PrepareConnection(HINTERNET hRequest)
{
    if (SendWithoutDelay(hRequest))
        return;
    Log(L"[IppExchange] Nagle's algorithm stays on: the connection's socket was not found");
    const std::lock_guard<std::mutex> guard(m_lock);
    m_bNagleStays = true;
}

bool HttpLink::NagleStays() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_bNagleStays;
}

std::optional<AcceptedCertificate> HttpLink::Accepted() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_accepted;
}

void HttpLink::Accept(const AcceptedCertificate& accepted)
{
    const std::lock_guard<std::mutex> guard(m_lock);
    m_accepted = accepted;
}

std::unique_ptr<TlsStream> HttpLink::TakeStream()
{
    const std::lock_guard<std::mutex> guard(m_lock);
    std::unique_ptr<TlsStream> stream = std::move(m_stream);
    if (stream && !stream->Idle())
        stream.reset();
    return stream;
}

void HttpLink::KeepStream(std::unique_ptr<TlsStream> stream)
{
    const std::lock_guard<std::mutex> guard(m_lock);
    if (m_bKeepAlive)
        m_stream = std::move(stream);
}

std::optional<HttpChallenge> HttpLink::Digest() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_digest;
}

uint32_t HttpLink::NextNonceCount()
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return ++m_nNonceCount;
}

void HttpLink::SetDigest(const HttpChallenge& challenge)
{
    const std::lock_guard<std::mutex> guard(m_lock);
    if (!m_digest || m_digest->nonce != challenge.nonce)
        m_nNonceCount = 0;
    m_digest = challenge;
}

PostResult PostOnce(const std::shared_ptr<HttpLink>& link, const PostInput& input, Answer& answer)
{
    const std::string printer = answer.printer;
    if (input.url.Secure()) {
        const PostResult learnt = PostOverTls(*link, input, answer);
        answer.printer = printer;
        return learnt;
    }
    auto shared = std::make_shared<Shared>();
    if (!input.options.stop) {
        Post post(link, input, shared);
        post.Run();
        answer = std::move(post.Result());
        answer.printer = printer;
        return post.Learnt();
    }
    // On a thread of the process's pool: no thread is made and ended for each request, and
    // one walked away from runs out its time-out there, holding only its own share.
    auto post = std::make_shared<Post>(link, input, shared);
    auto* pHeld = new std::shared_ptr<Post>(post);
    if (!TrySubmitThreadpoolCallback(RunHeldPost, pHeld, nullptr)) {
        delete pHeld;
        post->Run();
    }
    if (!WaitUnlessStopped(*shared, input.options.stop)) {
        Log(L"[IppExchange] stopped during the request to " + Wide(printer));
        answer = Answer();
        answer.printer = printer;
        answer.failure = Failure::Stopped;
        return PostResult();
    }
    answer = std::move(post->Result());
    answer.printer = printer;
    return post->Learnt();
}

}  // namespace ipp
