#include <winsock2.h>
#include <ws2tcpip.h>

#include "ipp/ipp_printer_stream.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace ipp {

namespace {

// How often a wait looks at the caller's stop.
constexpr auto kStopCheck = std::chrono::milliseconds(20);
// Plain text encrypted for one send: 64 records.
constexpr size_t kSendBatch = 1 << 20;
// A record is at most 16 KiB and its overhead; a handshake message larger than this buffer
// is not one a printer sends.
constexpr size_t kInBuffer = 64 * 1024;
constexpr int kMaxHandshakeRounds = 32;
constexpr int kMaxAddresses = 8;

// One credential of Schannel for the process: no certificate of ours, and the printer's is
// not judged by Schannel, which would refuse every certificate a printer made itself. It is
// judged by the caller, before anything is written.
CredHandle* ClientCredential()
{
    static CredHandle credential;
    static const bool bAcquired = [] {
        SCHANNEL_CRED settings = {};
        settings.dwVersion = SCHANNEL_CRED_VERSION;
        settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
        TimeStamp expiry;
        return AcquireCredentialsHandleW(nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND, nullptr,
                                         &settings, nullptr, nullptr, &credential, &expiry) == SEC_E_OK;
    }();
    return bAcquired ? &credential : nullptr;
}

constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                                ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM;

// A name is looked up on a thread of the pool: a caller that is stopped or out of time walks
// away, and the lookup ends by itself, holding only its own share.
struct Lookup {
    std::mutex lock;
    std::condition_variable done;
    bool bDone = false;
    bool bAbandoned = false;
    std::wstring host;
    std::wstring port;
    ADDRINFOW* pResult = nullptr;
    int nError = 0;
};

void CALLBACK RunLookup(PTP_CALLBACK_INSTANCE, void* pContext)
{
    const std::unique_ptr<std::shared_ptr<Lookup>> held(static_cast<std::shared_ptr<Lookup>*>(pContext));
    Lookup& lookup = **held;
    ADDRINFOW hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* pResult = nullptr;
    const int nError = GetAddrInfoW(lookup.host.c_str(), lookup.port.c_str(), &hints, &pResult);
    const std::lock_guard<std::mutex> guard(lookup.lock);
    if (lookup.bAbandoned) {
        if (pResult)
            FreeAddrInfoW(pResult);
    } else {
        lookup.pResult = pResult;
        lookup.nError = nError;
    }
    lookup.bDone = true;
    lookup.done.notify_all();
}

void CloseSocket(SOCKET& s)
{
    if (s != INVALID_SOCKET)
        closesocket(s);
    s = INVALID_SOCKET;
}

}  // namespace

PrinterStream::PrinterStream() = default;

PrinterStream::~PrinterStream()
{
    if (m_bContext)
        DeleteSecurityContext(&m_context);
    CloseSocket(m_socket);
}

void PrinterStream::Limit(Clock::time_point deadline, const std::function<bool()>* stop)
{
    m_deadline = deadline;
    m_stop = stop && *stop ? stop : nullptr;
    m_failure = Failure::None;
}

Failure PrinterStream::Fail(Failure failure, uint32_t systemError)
{
    m_failure = failure;
    m_nSystemError = systemError;
    return failure;
}

bool PrinterStream::Stopped() const
{
    return m_stop && (*m_stop)();
}

Failure PrinterStream::Wait(short events)
{
    while (true) {
        if (Stopped())
            return Fail(Failure::Stopped);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
        if (left.count() <= 0)
            return Fail(Failure::TimedOut);
        WSAPOLLFD poll = {m_socket, events, 0};
        const int nReady = WSAPoll(&poll, 1, static_cast<INT>(std::min(left, std::chrono::milliseconds(kStopCheck)).count()));
        if (nReady > 0)
            return Failure::None;
        if (nReady < 0)
            return Fail(Failure::SystemError, WSAGetLastError());
    }
}

Failure PrinterStream::Connect(const std::string& host, uint16_t port)
{
    auto lookup = std::make_shared<Lookup>();
    lookup->host.assign(host.begin(), host.end());
    lookup->port = std::to_wstring(port);
    auto* pHeld = new std::shared_ptr<Lookup>(lookup);
    if (!TrySubmitThreadpoolCallback(RunLookup, pHeld, nullptr))
        RunLookup(nullptr, pHeld);
    {
        std::unique_lock<std::mutex> guard(lookup->lock);
        while (!lookup->done.wait_for(guard, kStopCheck, [&] { return lookup->bDone; })) {
            guard.unlock();
            const bool bStop = Stopped();
            guard.lock();
            if (!lookup->bDone && (bStop || Clock::now() >= m_deadline)) {
                lookup->bAbandoned = true;
                return Fail(bStop ? Failure::Stopped : Failure::TimedOut);
            }
        }
    }
    if (lookup->nError != 0 || !lookup->pResult)
        return Fail(Failure::CannotConnect, lookup->nError);
    Failure failure = Failure::CannotConnect;
    int nTried = 0;
    for (ADDRINFOW* p = lookup->pResult; p && nTried < kMaxAddresses; p = p->ai_next, ++nTried) {
        m_socket = socket(p->ai_family, p->ai_socktype, p->ai_protocol);
        u_long nonBlocking = 1;
        if (m_socket == INVALID_SOCKET || ioctlsocket(m_socket, FIONBIO, &nonBlocking) != 0) {
            failure = Fail(Failure::SystemError, WSAGetLastError());
            CloseSocket(m_socket);
            continue;
        }
        if (connect(m_socket, p->ai_addr, static_cast<int>(p->ai_addrlen)) != 0 && WSAGetLastError() != WSAEWOULDBLOCK) {
            failure = Fail(Failure::CannotConnect, WSAGetLastError());
            CloseSocket(m_socket);
            continue;
        }
        failure = Wait(POLLWRNORM);
        int nError = 0;
        int nSize = sizeof(nError);
        if (failure == Failure::None &&
            (getsockopt(m_socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&nError), &nSize) != 0 || nError != 0))
            failure = Fail(Failure::CannotConnect, nError);
        if (failure == Failure::None)
            break;
        CloseSocket(m_socket);
        if (failure == Failure::Stopped || failure == Failure::TimedOut)
            break;
    }
    FreeAddrInfoW(lookup->pResult);
    lookup->pResult = nullptr;
    if (failure != Failure::None)
        return failure;
    // Our HTTP writes a request's head and its attributes in one send; nothing is gained by
    // holding a small send back for the printer's acknowledgement.
    const BOOL on = TRUE;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof(on));
    return Failure::None;
}

// Bytes as they are (plain text, a handshake's messages): one gathered send of pieces of at
// most a gigabyte each.
Failure PrinterStream::Send(const uint8_t* data, size_t size)
{
    std::vector<WSABUF> pieces;
    for (size_t n = 0; size > 0; data += n, size -= n) {
        n = std::min<size_t>(size, 1 << 30);
        pieces.push_back({static_cast<ULONG>(n), reinterpret_cast<char*>(const_cast<uint8_t*>(data))});
    }
    return SendGathered(pieces);
}

// More records from the printer into the input buffer.
Failure PrinterStream::Receive(bool& bClosed)
{
    bClosed = false;
    if (m_nIn == m_in.size())
        return Fail(Failure::SecureChannelFailed);
    while (true) {
        const int nGot = recv(m_socket, reinterpret_cast<char*>(m_in.data() + m_nIn), static_cast<int>(m_in.size() - m_nIn), 0);
        if (nGot > 0) {
            m_nIn += static_cast<size_t>(nGot);
            return Failure::None;
        }
        if (nGot == 0) {
            bClosed = true;
            return Failure::None;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            return Fail(Failure::ConnectionLost, WSAGetLastError());
        if (const Failure failure = Wait(POLLRDNORM); failure != Failure::None)
            return failure;
    }
}

Failure PrinterStream::Handshake(const std::wstring& host)
{
    CredHandle* pCredential = ClientCredential();
    if (!pCredential)
        return Fail(Failure::SecureChannelFailed, static_cast<uint32_t>(GetLastError()));
    for (int nRound = 0; nRound < kMaxHandshakeRounds; ++nRound) {
        SecBuffer in[2] = {{static_cast<unsigned long>(m_nIn), SECBUFFER_TOKEN, m_in.data()}, {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc inDesc = {SECBUFFER_VERSION, 2, in};
        SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
        SecBufferDesc outDesc = {SECBUFFER_VERSION, 1, out};
        DWORD attributes = 0;
        TimeStamp expiry;
        const SECURITY_STATUS status = InitializeSecurityContextW(
            pCredential, m_bContext ? &m_context : nullptr, const_cast<wchar_t*>(host.c_str()), kContextFlags, 0, 0,
            m_bContext ? &inDesc : nullptr, 0, &m_context, &outDesc, &attributes, &expiry);
        m_bContext = m_bContext || status == SEC_I_CONTINUE_NEEDED || status == SEC_E_OK ||
                     status == SEC_E_INCOMPLETE_MESSAGE || status == SEC_I_INCOMPLETE_CREDENTIALS;
        if (out[0].pvBuffer) {
            const Failure failure = out[0].cbBuffer > 0 ? Send(static_cast<const uint8_t*>(out[0].pvBuffer), out[0].cbBuffer)
                                                        : Failure::None;
            FreeContextBuffer(out[0].pvBuffer);
            if (failure != Failure::None)
                return failure;
        }
        if (status == SEC_E_INCOMPLETE_MESSAGE) {
            bool bClosed = false;
            if (const Failure failure = Receive(bClosed); failure != Failure::None)
                return failure;
            if (bClosed)
                return Fail(Failure::SecureChannelFailed);
            continue;
        }
        if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED && status != SEC_I_INCOMPLETE_CREDENTIALS)
            return Fail(Failure::SecureChannelFailed, static_cast<uint32_t>(status));
        // What the printer sent past the handshake's last message stays for the first read.
        if (in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer > 0 && in[1].cbBuffer <= m_nIn) {
            std::memmove(m_in.data(), m_in.data() + (m_nIn - in[1].cbBuffer), in[1].cbBuffer);
            m_nIn = in[1].cbBuffer;
        } else if (status != SEC_I_INCOMPLETE_CREDENTIALS) {
            m_nIn = 0;
        }
        if (status == SEC_E_OK) {
            if (QueryContextAttributesW(&m_context, SECPKG_ATTR_STREAM_SIZES, &m_sizes) != SEC_E_OK ||
                m_sizes.cbMaximumMessage == 0 || m_sizes.cbMaximumMessage > kInBuffer)
                return Fail(Failure::SecureChannelFailed);
            return Failure::None;
        }
        if (status == SEC_I_CONTINUE_NEEDED && m_nIn == 0) {
            bool bClosed = false;
            if (const Failure failure = Receive(bClosed); failure != Failure::None)
                return failure;
            if (bClosed)
                return Fail(Failure::SecureChannelFailed);
        }
    }
    return Fail(Failure::SecureChannelFailed);
}

Failure PrinterStream::Open(const std::string& host, uint16_t port, bool bSecure)
{
    if (const Failure failure = Connect(host, port); failure != Failure::None)
        return failure;
    m_bSecure = bSecure;
    if (!bSecure)
        return Failure::None;
    m_in.resize(kInBuffer);
    return Handshake(std::wstring(host.begin(), host.end()));
}

PCCERT_CONTEXT PrinterStream::Certificate() const
{
    PCCERT_CONTEXT pCert = nullptr;
    if (!m_bSecure || !m_bContext ||
        QueryContextAttributesW(const_cast<CtxtHandle*>(&m_context), SECPKG_ATTR_REMOTE_CERT_CONTEXT, &pCert) != SEC_E_OK)
        return nullptr;
    return pCert;
}

// One send's worth of plain text (up to kSendBatch) made into records where it lies, and sent.
Failure PrinterStream::Seal(std::span<uint8_t> plain)
{
    const size_t nFrame = m_sizes.cbHeader + m_sizes.cbTrailer;
    m_frames.resize((plain.size() / m_sizes.cbMaximumMessage + 1) * nFrame);
    m_pieces.clear();
    for (size_t nRecord = 0; !plain.empty(); ++nRecord) {
        const size_t n = std::min<size_t>(plain.size(), m_sizes.cbMaximumMessage);
        uint8_t* pHeader = m_frames.data() + nRecord * nFrame;
        SecBuffer parts[4] = {{m_sizes.cbHeader, SECBUFFER_STREAM_HEADER, pHeader},
                              {static_cast<unsigned long>(n), SECBUFFER_DATA, plain.data()},
                              {m_sizes.cbTrailer, SECBUFFER_STREAM_TRAILER, pHeader + m_sizes.cbHeader},
                              {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc = {SECBUFFER_VERSION, 4, parts};
        if (const SECURITY_STATUS status = EncryptMessage(&m_context, 0, &desc, 0); status != SEC_E_OK)
            return Fail(Failure::SecureChannelFailed, static_cast<uint32_t>(status));
        // Each part says how much of its room the record took; the trailer may take less.
        if (parts[0].cbBuffer > m_sizes.cbHeader || parts[1].cbBuffer > n || parts[2].cbBuffer > m_sizes.cbTrailer)
            return Fail(Failure::SecureChannelFailed);
        for (const SecBuffer& part : std::span(parts, 3)) {
            if (part.cbBuffer > 0)
                m_pieces.push_back({part.cbBuffer, static_cast<char*>(part.pvBuffer)});
        }
        plain = plain.subspan(n);
    }
    return SendGathered(m_pieces);
}

Failure PrinterStream::SendGathered(std::vector<WSABUF>& pieces)
{
    size_t nFirst = 0;
    while (nFirst < pieces.size()) {
        DWORD nSent = 0;
        const bool bSent = WSASend(m_socket, pieces.data() + nFirst, static_cast<DWORD>(pieces.size() - nFirst), &nSent,
                                   0, nullptr, nullptr) == 0;
        if (!bSent && WSAGetLastError() != WSAEWOULDBLOCK)
            return Fail(Failure::ConnectionLost, WSAGetLastError());
        // Nothing taken: wait for room, within the deadline and the caller's stop.
        if (!bSent || nSent == 0) {
            if (const Failure failure = Wait(POLLWRNORM); failure != Failure::None)
                return failure;
            continue;
        }
        // What went out is passed over: whole pieces, then the start of the next.
        for (; nFirst < pieces.size() && nSent >= pieces[nFirst].len; ++nFirst)
            nSent -= pieces[nFirst].len;
        if (nSent > 0) {
            pieces[nFirst].buf += nSent;
            pieces[nFirst].len -= nSent;
        }
    }
    return Failure::None;
}

Failure PrinterStream::Write(std::span<uint8_t> bytes)
{
    if (!m_bSecure)
        return Send(bytes.data(), bytes.size());
    while (!bytes.empty()) {
        const size_t n = std::min(bytes.size(), std::max<size_t>(kSendBatch, m_sizes.cbMaximumMessage));
        if (const Failure failure = Seal(bytes.first(n)); failure != Failure::None)
            return failure;
        bytes = bytes.subspan(n);
    }
    return Failure::None;
}

std::optional<size_t> PrinterStream::ReadPlain(std::span<uint8_t> buffer)
{
    while (!m_bClosed) {
        const int nGot = recv(m_socket, reinterpret_cast<char*>(buffer.data()),
                              static_cast<int>(std::min<size_t>(buffer.size(), 1 << 30)), 0);
        if (nGot > 0)
            return static_cast<size_t>(nGot);
        if (nGot == 0)
            break;
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            Fail(Failure::ConnectionLost, WSAGetLastError());
            return std::nullopt;
        }
        if (Wait(POLLRDNORM) != Failure::None)
            return std::nullopt;
    }
    m_bClosed = true;
    return 0;
}

std::optional<size_t> PrinterStream::Read(std::span<uint8_t> buffer)
{
    if (!m_bSecure)
        return ReadPlain(buffer);
    while (true) {
        if (m_nPlainRead < m_plain.size()) {
            const size_t n = std::min(buffer.size(), m_plain.size() - m_nPlainRead);
            std::memcpy(buffer.data(), m_plain.data() + m_nPlainRead, n);
            m_nPlainRead += n;
            return n;
        }
        m_plain.clear();
        m_nPlainRead = 0;
        if (m_bClosed)
            return 0;
        if (m_nIn > 0) {
            SecBuffer parts[4] = {{static_cast<unsigned long>(m_nIn), SECBUFFER_DATA, m_in.data()},
                                  {0, SECBUFFER_EMPTY, nullptr},
                                  {0, SECBUFFER_EMPTY, nullptr},
                                  {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc desc = {SECBUFFER_VERSION, 4, parts};
            const SECURITY_STATUS status = DecryptMessage(&m_context, &desc, 0, nullptr);
            if (status == SEC_E_OK || status == SEC_I_CONTEXT_EXPIRED) {
                const SecBuffer* pExtra = nullptr;
                for (const SecBuffer& part : parts) {
                    if (part.BufferType == SECBUFFER_DATA && part.pvBuffer && part.cbBuffer <= m_in.size())
                        m_plain.assign(static_cast<const uint8_t*>(part.pvBuffer),
                                       static_cast<const uint8_t*>(part.pvBuffer) + part.cbBuffer);
                    else if (part.BufferType == SECBUFFER_EXTRA && part.cbBuffer > 0 && part.cbBuffer <= m_nIn)
                        pExtra = &part;
                }
                const size_t nExtra = pExtra ? pExtra->cbBuffer : 0;
                if (nExtra >= m_nIn) {
                    Fail(Failure::SecureChannelFailed);  // nothing taken: it would never end
                    return std::nullopt;
                }
                if (nExtra > 0)
                    std::memmove(m_in.data(), m_in.data() + (m_nIn - nExtra), nExtra);
                m_nIn = nExtra;
                m_bClosed = status == SEC_I_CONTEXT_EXPIRED;
                continue;
            }
            if (status != SEC_E_INCOMPLETE_MESSAGE) {
                // A renegotiation is refused: the printer would show a certificate not judged.
                Fail(Failure::SecureChannelFailed, static_cast<uint32_t>(status));
                return std::nullopt;
            }
        }
        bool bClosed = false;
        if (Receive(bClosed) != Failure::None)
            return std::nullopt;
        if (bClosed) {
            m_bClosed = true;
            if (m_nIn > 0) {
                Fail(Failure::ConnectionLost);
                return std::nullopt;
            }
        }
    }
}

bool PrinterStream::Idle() const
{
    if (m_socket == INVALID_SOCKET || m_bClosed || m_nIn > 0 || m_nPlainRead < m_plain.size())
        return false;
    WSAPOLLFD poll = {m_socket, POLLRDNORM, 0};
    return WSAPoll(&poll, 1, 0) == 0;
}

}  // namespace ipp
