// A printer's connection: redirects, the sign-in and the move to TLS around each POST
// (ipp_http_post_win.cpp).
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <chrono>

#include "ipp/ipp_exchange.h"
#include "ipp/ipp_http_post.h"
#include "ipp/ipp_log.h"
#include "ipp/ipp_request.h"
#include "ipp/ipp_trust_store.h"

namespace ipp {

namespace {
// For the log: URLs and the English failure texts, anything else shown as '?'.
std::wstring Ascii(const std::string& text)
{
    std::wstring wide;
    for (char c : text)
        wide += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'?';
    return wide;
}


using Clock = std::chrono::steady_clock;

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

PrinterUrl OverTls(const PrinterUrl& url)
{
    PrinterUrl tls = url;
    tls.scheme = url.scheme == "http" ? "https" : "ipps";
    return tls;
}

SignInScheme SchemeOffered(uint32_t nSchemes)
{
    if (nSchemes & kOfferedBasic)
        return SignInScheme::Basic;
    return nSchemes & kOfferedDigest ? SignInScheme::Digest : SignInScheme::None;
}

// The request as this connection sends it: its printer-uri the URL asked now.
Message AddressedTo(const Message& request, const PrinterUrl& url)
{
    Message addressed = request;
    for (AttributeGroup& group : addressed.groups)
        if (group.tag == GroupTag::Operation)
            for (Attribute& attribute : group.attributes)
                if (attribute.name == "printer-uri" && !attribute.values.empty())
                    attribute.values.front().text = url.Text();
    return addressed;
}

bool ListsTls(const Message& answer)
{
    const Attribute* pUris = answer.Find(GroupTag::Printer, "printer-uri-supported");
    if (!pUris)
        return false;
    for (const std::string& uri : pUris->Texts())
        if (const std::optional<PrinterUrl> parsed = ParsePrinterUrl(uri); parsed && parsed->Secure())
            return true;
    return false;
}
}  // namespace

struct Connection::State {
    PrinterUrl url;
    bool bKeepAlive = false;
    std::unique_ptr<HttpLink> link;
    std::optional<Credentials> accepted;  // the sign-in the printer took
    SignInScheme scheme = SignInScheme::None;

    void Reach() { link = std::make_unique<HttpLink>(bKeepAlive); }

    // One request, with at most one redirect: to the same host, never from TLS to plain
    // text, and not with a document, which has been read already.
    Answer Send(const Message& request, const ExchangeOptions& options, DocumentSource* document,
                const Credentials* pCredentials, SignInScheme signIn)
    {
        Answer answer;
        answer.printer = url.Text();
        PostInput input;
        input.url = url;
        input.document = document;
        input.options = options;
        input.deadline = Clock::now() + std::chrono::milliseconds(options.budgetMs);
        input.credentials = url.Secure() ? pCredentials : nullptr;
        input.scheme = input.credentials ? signIn : SignInScheme::None;
        if (!EncodeMessage(AddressedTo(request, url), input.head)) {
            answer.failure = Failure::BadRequest;
            return answer;
        }
        for (int hop = 0; hop < 2; ++hop) {
            HttpLink redirected(false);
            const PostResult learnt = PostOnce(hop == 0 ? *link : redirected, input, answer);
            m_nAuthSchemes = learnt.nAuthSchemes;
            if (!learnt.bRedirect)
                return answer;
            const std::optional<PrinterUrl> next = RedirectTarget(input.url, learnt.location);
            if (hop == 1 || document || !next || !SamePrinterService(url, *next) || (url.Secure() && !next->Secure()))
                break;
            input.url = *next;
            if (!input.url.Secure())
                input.credentials = nullptr;
        }
        answer.failure = Failure::Redirected;
        return answer;
    }

    // A printer that asked for a sign-in over plain HTTP: asked again over TLS on its host
    // and port, without the sign-in, when it has TLS there. False with the reason when not.
    bool MoveToTls(const ExchangeOptions& options, Answer& refusal)
    {
        const PrinterUrl plain = url;
        url = OverTls(plain);
        Reach();
        const Answer probe = Send(GetPrinterAttributesRequest(1, url.Text(), std::string(), {"printer-uri-supported"}),
                                  options, nullptr, nullptr, SignInScheme::None);
        const bool bTls = probe.failure == Failure::NeedsCredentials ||
                          (probe.Ok() && IsSuccess(probe.message.code) && ListsTls(probe.message));
        Log(L"[IppExchange] " + Ascii(plain.Text()) + L" asks for a sign-in: over TLS " +
            (bTls ? std::wstring(L"it answers") : Ascii(FailureText(probe))));
        if (bTls)
            return true;
        refusal = probe;
        if (!IsUnsafe(probe.failure) || probe.failure == Failure::NeedsCredentials) {
            refusal = Answer();
            refusal.printer = plain.Text();
            refusal.failure = Failure::PasswordUnencrypted;
        }
        url = plain;
        Reach();
        return false;
    }

    // The remembered sign-in first, then the user's, each tried once; three refusals end it.
    Answer SignIn(const Message& request, const ExchangeOptions& options, Answer answer)
    {
        const std::string printer = PinName(url);
        std::optional<Credentials> remembered = ReadRememberedSignIn(printer);
        std::wstring strRefused;
        for (int nAttempt = remembered ? 0 : 1; nAttempt <= kMaxSignInAttempts; ++nAttempt) {
            const SignInScheme offered = SchemeOffered(m_nAuthSchemes);
            if (offered == SignInScheme::None)
                return answer;
            std::optional<Credentials> credentials =
                nAttempt == 0 ? std::move(remembered) : AskForSignIn({printer, strRefused, nAttempt});
            if (!credentials || (options.stop && options.stop()))
                break;
            answer = Send(request, options, nullptr, &*credentials, offered);
            if (answer.failure != Failure::SignInRefused) {
                if (answer.failure != Failure::NeedsCredentials) {
                    accepted = std::move(credentials);
                    scheme = offered;
                    if (accepted->bRemember)
                        RememberSignIn(printer, *accepted);
                }
                return answer;
            }
            strRefused = credentials->strUser;
            Log(L"[IppExchange] " + Ascii(printer) + L" refused the sign-in (attempt " + std::to_wstring(nAttempt) + L")");
        }
        if (!strRefused.empty()) {
            answer.failure = Failure::SignInRefused;
            answer.strRefusedUser = strRefused;
        } else if (answer.failure == Failure::SignInRefused) {
            answer.failure = Failure::NeedsCredentials;
        }
        return answer;
    }

    uint32_t m_nAuthSchemes = 0;
};

Connection::Connection(const PrinterUrl& url, bool bKeepAlive) : m_state(std::make_unique<State>())
{
    m_state->url = url;
    m_state->bKeepAlive = bKeepAlive;
    m_state->Reach();
}

Connection::~Connection() = default;

const PrinterUrl& Connection::Url() const { return m_state->url; }

bool Connection::SignedIn() const { return m_state->accepted.has_value(); }

Answer Connection::Exchange(const Message& request, const ExchangeOptions& options, DocumentSource* document)
{
    State& s = *m_state;
    const Credentials* pSignIn = s.accepted ? &*s.accepted : nullptr;
    Answer answer = s.Send(request, options, document, pSignIn, s.scheme);
    if (answer.failure == Failure::SignInRefused && pSignIn) {
        // The sign-in it took before (a password changed meanwhile): asked again from the start.
        s.accepted.reset();
        answer.failure = Failure::NeedsCredentials;
    }
    if (answer.failure != Failure::NeedsCredentials)
        return answer;
    if (!s.url.Secure()) {
        Answer refusal;
        if (!s.MoveToTls(options, refusal))
            return refusal;
        if (document) {
            answer.printer = s.url.Text();
            return answer;
        }
        answer = s.Send(request, options, document, nullptr, SignInScheme::None);
        if (answer.failure != Failure::NeedsCredentials)
            return answer;
    }
    return document ? answer : s.SignIn(request, options, answer);
}

Answer Exchange(const PrinterUrl& url, const Message& request, const ExchangeOptions& options,
                DocumentSource* document)
{
    Connection connection(url);
    return connection.Exchange(request, options, document);
}

Answer GetPrinterAttributes(Connection& connection, const std::string& userName,
                            const std::vector<std::string>& requested, const ExchangeOptions& options)
{
    const Clock::time_point start = Clock::now();
    Message request = GetPrinterAttributesRequest(1, connection.Url().Text(), userName, requested);
    Answer answer = connection.Exchange(request, options);
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
    return connection.Exchange(request, rest);
}

Answer GetPrinterAttributes(const PrinterUrl& url, const std::string& userName,
                            const std::vector<std::string>& requested, const ExchangeOptions& options)
{
    Connection connection(url);
    return GetPrinterAttributes(connection, userName, requested, options);
}

}  // namespace ipp
