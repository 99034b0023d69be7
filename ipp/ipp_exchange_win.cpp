// The HTTP side of an IPP exchange through WinHTTP, synchronously on the caller's (worker)
// thread. Every wait is cut to what is left of the caller's budget.
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <cwctype>

#include "ipp/ipp_exchange.h"
#include "ipp/ipp_request.h"

namespace ipp {

namespace {

using Clock = std::chrono::steady_clock;

class Handle {
public:
    explicit Handle(HINTERNET h) : m_h(h) {}
    ~Handle()
    {
        if (m_h)
            WinHttpCloseHandle(m_h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HINTERNET get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

private:
    HINTERNET m_h;
};

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
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
        return Failure::UntrustedCertificate;
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
        return Failure::SecureChannelFailed;
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
    case ERROR_WINHTTP_HEADER_NOT_FOUND:
        return Failure::NotHttp;
    default:
        return Failure::SystemError;
    }
}

class Post {
public:
    Post(const ExchangeOptions& options, Clock::time_point deadline, Answer& answer)
        : m_options(options), m_deadline(deadline), m_answer(answer)
    {
    }

    // One POST. True with `location` set when the printer redirects.
    bool Run(const PrinterUrl& url, const std::vector<uint8_t>& head, DocumentSource* document,
             std::string& location)
    {
        Handle session(WinHttpOpen(L"Lumeo", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                   WINHTTP_NO_PROXY_BYPASS, 0));
        if (!session || !Limit(session.get()))
            return Fail(false);
        Handle connection(WinHttpConnect(session.get(), Wide(url.host).c_str(), url.port, 0));
        if (!connection)
            return Fail(false);
        Handle request(WinHttpOpenRequest(connection.get(), L"POST", Wide(url.path).c_str(), nullptr,
                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                          url.Secure() ? WINHTTP_FLAG_SECURE : 0));
        if (!request || !Guard(request.get()))
            return Fail(false);
        if (!Send(request.get(), head, document))
            return false;
        if (!Limit(request.get(), true) || !WinHttpReceiveResponse(request.get(), nullptr))
            return Fail(true);
        return Receive(request.get(), location);
    }

private:
    DWORD LeftMs() const
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now()).count();
        return static_cast<DWORD>(std::clamp<long long>(left, 1, 0x7FFFFFFF));
    }
    bool Expired() const { return Clock::now() >= m_deadline; }
    bool Stopped() const { return m_options.stop && m_options.stop->load(); }

    // Every wait of WinHTTP cut to what is left. The wait for the answer's headers has an
    // option of its own, which WinHttpSetTimeouts leaves alone under Wine, and which Wine
    // takes when the request is sent.
    bool Limit(HINTERNET h, bool request = false) const
    {
        DWORD left = LeftMs();
        return WinHttpSetTimeouts(h, static_cast<int>(left), static_cast<int>(left), static_cast<int>(left),
                                  static_cast<int>(left)) &&
               (!request || WinHttpSetOption(h, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &left, sizeof(left)));
    }

    // No credentials of the user, no cookies, no redirect taken behind our back. And a
    // connection of its own for each request: on a kept one, WinHTTP's separate write of
    // the body waited 40 ms for the printer's delayed acknowledgement of the headers.
    static bool Guard(HINTERNET request)
    {
        DWORD logon = WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH;
        DWORD redirects = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        DWORD features = WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_AUTHENTICATION | WINHTTP_DISABLE_KEEP_ALIVE;
        return WinHttpSetOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, &logon, sizeof(logon)) &&
               WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &redirects, sizeof(redirects)) &&
               WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &features, sizeof(features));
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

    bool Write(HINTERNET request, const void* data, size_t size)
    {
        if (Stopped())
            return Fail(Failure::Stopped);
        if (Expired())
            return Fail(Failure::TimedOut);
        DWORD written = 0;
        if (!Limit(request) || !WinHttpWriteData(request, data, static_cast<DWORD>(size), &written) || written != size)
            return Fail(true);
        return true;
    }

    // The attributes, then the document block by block. WinHTTP counts a body's length in
    // 32 bits: past 4 GiB the length goes as a header of ours, and WinHTTP is told to
    // leave it alone. (Wine's WinHTTP cannot send a chunked request body.)
    bool Send(HINTERNET request, const std::vector<uint8_t>& head, DocumentSource* document)
    {
        std::wstring headers = L"Content-Type: application/ipp\r\n";
        if (!Limit(request, true))
            return Fail(false);
        if (!document) {
            if (!WinHttpSendRequest(request, headers.c_str(), static_cast<DWORD>(-1),
                                    const_cast<uint8_t*>(head.data()), static_cast<DWORD>(head.size()),
                                    static_cast<DWORD>(head.size()), 0))
                return Fail(false);
            return true;
        }
        const uint64_t size = document->Size();
        const uint64_t total = size + head.size();
        const bool counted = total <= 0xFFFFFFFFull;
        if (!counted)
            headers += L"Content-Length: " + std::to_wstring(total) + L"\r\n";
        if (!WinHttpSendRequest(request, headers.c_str(), static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0,
                                counted ? static_cast<DWORD>(total) : WINHTTP_IGNORE_REQUEST_TOTAL_LENGTH, 0))
            return Fail(false);
        if (!Write(request, head.data(), head.size()))
            return false;
        std::vector<uint8_t> block(1 << 20);
        uint64_t sent = 0;
        while (true) {
            const std::optional<size_t> got = document->Read(block);
            if (!got)
                return Fail(Failure::DocumentUnreadable);
            if (*got == 0)
                break;
            sent += *got;
            if (sent > size)
                return Fail(Failure::DocumentUnreadable);  // it grew while it was sent
            if (!Write(request, block.data(), *got))
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

    bool Receive(HINTERNET request, std::string& location)
    {
        DWORD status = 0;
        DWORD bytes = sizeof(status);
        if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &bytes, WINHTTP_NO_HEADER_INDEX))
            return Fail(true);
        m_answer.httpStatus = status;
        if (status >= 300 && status < 400) {
            location = Narrow(Header(request, WINHTTP_QUERY_LOCATION));
            return location.empty() ? Fail(Failure::HttpError) : true;
        }
        if (status == 401 || status == 407)
            return Fail(Failure::NeedsCredentials);
        if (status != 200)
            return Fail(Failure::HttpError);
        std::wstring type = Header(request, WINHTTP_QUERY_CONTENT_TYPE);
        std::transform(type.begin(), type.end(), type.begin(), std::towlower);
        if (type.rfind(L"application/ipp", 0) != 0)
            return Fail(Failure::NotIpp);
        const std::wstring length = Header(request, WINHTTP_QUERY_CONTENT_LENGTH);
        if (!length.empty() && (length.size() > 12 || _wtoi64(length.c_str()) > static_cast<long long>(m_options.maxAnswerBytes)))
            return Fail(Failure::TooLarge);
        std::vector<uint8_t> body;
        std::vector<uint8_t> block(64 * 1024);
        while (true) {
            if (Stopped())
                return Fail(Failure::Stopped);
            if (Expired())
                return Fail(Failure::TimedOut);
            // A read waits until its buffer is full: ask only for what has come, so that a
            // printer sending a byte now and then cannot hold the exchange past its budget.
            DWORD ready = 0;
            if (!Limit(request) || !WinHttpQueryDataAvailable(request, &ready))
                return Fail(true);
            DWORD got = 0;
            if (ready > 0 && !WinHttpReadData(request, block.data(), std::min<DWORD>(ready, block.size()), &got))
                return Fail(true);
            if (got == 0)
                break;
            if (body.size() + got > m_options.maxAnswerBytes)
                return Fail(Failure::TooLarge);
            body.insert(body.end(), block.begin(), block.begin() + got);
        }
        const Decoded decoded = DecodeMessage(body, m_answer.message);
        if (decoded.error != DecodeError::None) {
            m_answer.decodeError = decoded.error;
            return Fail(Failure::Malformed);
        }
        return false;
    }

    const ExchangeOptions& m_options;
    Clock::time_point m_deadline;
    Answer& m_answer;
};

// A Location header as a URL: absolute, or a path on the same printer.
std::optional<PrinterUrl> RedirectTarget(const PrinterUrl& from, const std::string& location)
{
    if (!location.empty() && location.front() == '/') {
        if (location.rfind("//", 0) == 0)
            return std::nullopt;
        return ParsePrinterUrl(from.scheme + "://" + from.HostForUrl() + ":" + std::to_string(from.port) + location);
    }
    return ParsePrinterUrl(location);
}

}  // namespace

Answer Exchange(const PrinterUrl& url, const Message& request, const ExchangeOptions& options,
                DocumentSource* document)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(options.budgetMs);
    Answer answer;
    answer.printer = url.Text();
    std::vector<uint8_t> head;
    if (!EncodeMessage(request, head)) {
        answer.failure = Failure::BadRequest;
        return answer;
    }
    PrinterUrl target = url;
    for (int hop = 0; hop < 2; ++hop) {
        std::string location;
        if (!Post(options, deadline, answer).Run(target, head, document, location))
            return answer;
        // A redirect: followed once, to the same host, never from TLS to plain text, and
        // not with a document, which has been read already.
        const std::optional<PrinterUrl> next = RedirectTarget(target, location);
        if (hop == 1 || document || !next || !SamePrinterService(url, *next) || (url.Secure() && !next->Secure()))
            break;
        target = *next;
    }
    answer.failure = Failure::Redirected;
    return answer;
}

Answer GetPrinterAttributes(const PrinterUrl& url, const std::string& userName,
                            const std::vector<std::string>& requested, const ExchangeOptions& options)
{
    const Clock::time_point start = Clock::now();
    Message request = GetPrinterAttributesRequest(1, url.Text(), userName, requested);
    Answer answer = Exchange(url, request, options);
    if (!answer.Ok() || answer.message.code != status::kServerVersionNotSupported)
        return answer;
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    if (spent >= options.budgetMs)
        return answer;
    ExchangeOptions rest = options;
    rest.budgetMs = options.budgetMs - static_cast<uint32_t>(spent);
    request.versionMajor = 1;
    request.versionMinor = 1;
    request.requestId = 2;
    return Exchange(url, request, rest);
}

}  // namespace ipp
