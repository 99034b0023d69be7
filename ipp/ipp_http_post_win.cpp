// One POST of application/ipp over our own stream (ipp_printer_stream.h), plain or TLS, on
// the caller's thread: the stream's waits look at the caller's stop and end at the deadline.
// Over TLS the certificate is judged on every request before anything is written; a sign-in
// goes over TLS alone.
#include "ipp/ipp_http_post.h"

#include <bcrypt.h>
#include "ipp/ipp_read_ahead.h"
#include "ipp/ipp_printer_stream.h"

#include <algorithm>
#include <cctype>

namespace ipp {

namespace {

using Clock = std::chrono::steady_clock;

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// A password's copy is wiped when it goes.
struct Wiped {
    std::string text;
    ~Wiped() { SecureZeroMemory(text.data(), text.size()); }
};

std::string RandomHex()
{
    uint8_t bytes[16] = {};
    BCryptGenRandom(nullptr, bytes, sizeof(bytes), BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    return LowerHex(bytes);
}

class StreamPost {
public:
    StreamPost(HttpLink& link, const PostInput& input) : m_link(link), m_input(input) {}

    void Run()
    {
        // Once more on a new connection when a kept one turns out closed before its answer,
        // once more with Digest's answer to the printer's challenge, and once more when it
        // calls that answer's nonce stale.
        for (int nRound = 0; nRound < 4; ++nRound) {
            m_answer = Answer();
            m_learnt = PostResult();
            std::unique_ptr<PrinterStream> stream = m_link.TakeStream();
            const bool bKept = stream != nullptr;
            if (!bKept)
                stream = std::make_unique<PrinterStream>();
            stream->Limit(m_input.deadline, &m_input.options.stop);
            if (!bKept) {
                if (const Failure failure = stream->Open(m_input.url.host, m_input.url.port, m_input.url.Secure());
                    failure != Failure::None)
                    return Fail(failure, stream->SystemError());
            }
            const Round round = Exchange(*stream, bKept);
            if (round == Round::Again)
                continue;
            if (round == Round::Keep) {
                stream->Limit(Clock::time_point(), nullptr);
                m_link.KeepStream(std::move(stream));
            }
            if (!m_bRetryForDigest)
                return;
            m_bRetryForDigest = false;
        }
    }

    Answer& Result() { return m_answer; }
    PostResult& Learnt() { return m_learnt; }

private:
    enum class Round { Done, Keep, Again };

    void Fail(Failure failure, uint32_t systemError = 0)
    {
        m_answer.failure = failure;
        m_answer.systemError = systemError;
    }

    // Basic with every request; Digest once the printer has challenged on this link.
    std::string Authorization()
    {
        const Credentials* pCredentials = m_input.credentials;
        if (!pCredentials || m_input.scheme == SignInScheme::None || !m_input.url.Secure())
            return std::string();
        const Wiped user{Utf8(pCredentials->strUser)};
        const Wiped password{Utf8(pCredentials->strPassword)};
        if (m_input.scheme == SignInScheme::Basic)
            return BasicAuthorization(user.text, password.text);
        const std::optional<HttpChallenge>& challenge = m_link.Digest();
        if (!challenge)
            return std::string();
        m_bDigestSent = true;
        return DigestAuthorization(*challenge, user.text, password.text, "POST", m_input.url.path, RandomHex(),
                                   m_link.NextNonceCount());
    }

    Round Exchange(PrinterStream& stream, bool bKept)
    {
        if (m_input.url.Secure()) {
            PCCERT_CONTEXT pCert = stream.Certificate();
            const Failure judged = JudgeShownCertificate(m_link, m_input.url, pCert, m_answer);
            if (pCert)
                CertFreeCertificateContext(pCert);
            if (judged != Failure::None)
                return Fail(judged), Round::Done;
        }

        DocumentSource* document = m_input.document;
        const uint64_t size = document ? document->Size() : 0;
        Wiped authorization{Authorization()};
        const bool bSignIn = !authorization.text.empty();
        if (m_input.credentials && m_input.url.Secure() && m_input.scheme == SignInScheme::Basic && !bSignIn)
            return Fail(Failure::SignInRefused), Round::Done;  // a name that cannot be sent
        std::string head = PostHead(m_input.url.path, m_input.url.HostForUrl() + ":" + std::to_string(m_input.url.port),
                                    size + m_input.head.size(), authorization.text, m_link.KeepAlive());
        if (head.empty())
            return Fail(Failure::BadRequest), Round::Done;
        // Made at its full size at once: no copy of the sign-in is left behind by a growth.
        std::vector<uint8_t> first;
        first.reserve(head.size() + m_input.head.size());
        first.assign(head.begin(), head.end());
        SecureZeroMemory(head.data(), head.size());
        first.insert(first.end(), m_input.head.begin(), m_input.head.end());
        Failure failure = stream.Write(first);
        SecureZeroMemory(first.data(), first.size());
        if (failure != Failure::None)
            return bKept && failure == Failure::ConnectionLost ? Round::Again : (Fail(failure, stream.SystemError()), Round::Done);
        if (document && (failure = SendDocument(stream, size)) != Failure::None && failure != Failure::ConnectionLost)
            return Fail(failure, stream.SystemError()), Round::Done;
        // A printer that stopped reading may have said why before it closed.
        HttpAnswer http;
        const HttpReadError read = ReadHttpAnswer(stream, m_input.options.maxAnswerBytes, http);
        if (read == HttpReadError::Closed && bKept && !document)
            return Round::Again;
        if (read == HttpReadError::Truncated && http.status == 200 && failure == Failure::None) {
            // An answer cut inside its body: the message it began is cut short.
            m_answer.httpStatus = http.status;
            m_answer.decodeError = DecodeError::Truncated;
            return Fail(Failure::Malformed), Round::Done;
        }
        if (read != HttpReadError::None) {
            if (failure != Failure::None)
                return Fail(failure, stream.SystemError()), Round::Done;
            return Fail(FailureOf(read, stream)), Round::Done;
        }
        m_answer.httpStatus = http.status;
        Judge(http, bSignIn);
        return http.bKeepAlive ? Round::Keep : Round::Done;
    }

    Failure SendDocument(PrinterStream& stream, uint64_t size)
    {
        ReadAhead ahead([this](std::span<uint8_t> block) { return m_input.document->Read(block); }, 1 << 20);
        uint64_t sent = 0;
        while (true) {
            if (m_input.options.stop && m_input.options.stop())
                return Failure::Stopped;
            const std::optional<std::span<uint8_t>> block = ahead.Next();
            if (!block)
                return Failure::DocumentUnreadable;
            if (block->empty())
                break;
            sent += block->size();
            if (sent > size)
                return Failure::DocumentUnreadable;  // it grew while it was sent
            if (const Failure failure = stream.Write(*block); failure != Failure::None)
                return failure;
        }
        return sent == size ? Failure::None : Failure::DocumentUnreadable;
    }

    static Failure FailureOf(HttpReadError error, const PrinterStream& stream)
    {
        switch (error) {
        case HttpReadError::NotHttp:
            return Failure::NotHttp;
        case HttpReadError::TooLarge:
            return Failure::TooLarge;
        case HttpReadError::ReadFailed:
            return stream.Failed() == Failure::None ? Failure::ConnectionLost : stream.Failed();
        default:
            return Failure::ConnectionLost;
        }
    }

    void Judge(const HttpAnswer& http, bool bSignIn)
    {
        const unsigned status = http.status;
        if (status >= 300 && status < 400) {
            const std::string* pLocation = http.Header("location");
            if (pLocation && !pLocation->empty() && pLocation->size() <= kMaxUrlBytes) {
                m_learnt.location = *pLocation;
                m_learnt.bRedirect = true;
                return;
            }
            return Fail(Failure::HttpError);
        }
        if (status == 401 || status == 407) {
            if (status == 401)
                Offered(ParseChallenges(http.Headers("www-authenticate")));
            // Digest is answered once the printer has challenged: then the same request again.
            // So it is once more when the printer calls the nonce answered stale (the password
            // was right; the nonce had run out), a document too, read again from its start.
            const std::optional<HttpChallenge>& digest = m_link.Digest();
            const bool bStale = m_bDigestSent && digest && digest->bStale && !m_bStaleAnswered;
            if (m_input.credentials && m_input.scheme == SignInScheme::Digest && (!m_bDigestSent || bStale) && digest &&
                (!m_input.document || m_input.document->Restart())) {
                m_bStaleAnswered = m_bStaleAnswered || bStale;
                m_bDigestSent = false;
                m_bRetryForDigest = true;
                return Fail(Failure::NeedsCredentials);
            }
            return Fail(bSignIn ? Failure::SignInRefused : Failure::NeedsCredentials);
        }
        if (status != 200)
            return Fail(Failure::HttpError);
        const std::string* pType = http.Header("content-type");
        std::string type = pType ? *pType : std::string();
        std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (type.rfind("application/ipp", 0) != 0)
            return Fail(Failure::NotIpp);
        const Decoded decoded = DecodeMessage(http.body, m_answer.message);
        if (decoded.error != DecodeError::None) {
            m_answer.decodeError = decoded.error;
            return Fail(Failure::Malformed);
        }
    }

    void Offered(const std::vector<HttpChallenge>& challenges)
    {
        for (const HttpChallenge& challenge : challenges) {
            if (challenge.scheme == HttpChallenge::Scheme::Basic) {
                m_learnt.nAuthSchemes |= kOfferedBasic;
            } else {
                if (!(m_learnt.nAuthSchemes & kOfferedDigest))
                    m_link.SetDigest(challenge);
                m_learnt.nAuthSchemes |= kOfferedDigest;
            }
        }
    }

    HttpLink& m_link;
    PostInput m_input;
    Answer m_answer;
    PostResult m_learnt;
    bool m_bDigestSent = false;
    bool m_bRetryForDigest = false;
    bool m_bStaleAnswered = false;
};

}  // namespace

PostResult PostOnce(HttpLink& link, const PostInput& input, Answer& answer)
{
    const std::string printer = answer.printer;
    StreamPost post(link, input);
    post.Run();
    answer = std::move(post.Result());
    answer.printer = printer;
    return post.Learnt();
}

}  // namespace ipp
