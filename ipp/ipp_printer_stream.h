#pragma once
// A printer's connection of our own, beneath our HTTP (ipp_http_wire.h), plain or over TLS.
// Over TLS Schannel does the handshake and the records, and a body goes out a megabyte of
// records to a send. (WinHTTP sent each 16 KiB record by itself; under Wine each send is a
// round trip to Wine's server, and a 512 MiB upload took 2.5 to 4 times as long as the same
// bytes sent a megabyte at a time.) Records are made where the caller's bytes lie, their
// headers and trailers beside them, and sent gathered: the body is not copied again. Plain
// text goes out as it is given. The socket does not block: every wait is cut to the deadline
// and looks at the caller's stop between.
// Windows build only.
#include <winsock2.h>
#include <windows.h>
#ifndef SECURITY_WIN32
#define SECURITY_WIN32
#endif
#include <security.h>
#include <schannel.h>

#include <chrono>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ipp/ipp_exchange.h"
#include "ipp/ipp_http_wire.h"

namespace ipp {

class PrinterStream : public HttpByteSource {
public:
    using Clock = std::chrono::steady_clock;

    PrinterStream();
    ~PrinterStream() override;
    PrinterStream(const PrinterStream&) = delete;
    PrinterStream& operator=(const PrinterStream&) = delete;

    // The deadline and stop of the request that uses the stream now: a kept stream serves
    // one request after another. `stop` may be empty; it must outlive the request.
    void Limit(Clock::time_point deadline, const std::function<bool()>* stop);

    // Connects to the host's first address that answers and, bSecure, shakes hands; the
    // certificate is taken as shown, for the caller to judge before anything is written.
    Failure Open(const std::string& host, uint16_t port, bool bSecure);
    // The printer's certificate, to be freed with CertFreeCertificateContext; null when none
    // (plain text too).
    PCCERT_CONTEXT Certificate() const;

    // Sends the bytes; over TLS they are encrypted where they lie, and what they hold after
    // is not the caller's any more.
    Failure Write(std::span<uint8_t> bytes);
    // HttpByteSource: the failure of a read that gave nullopt is Failed().
    std::optional<size_t> Read(std::span<uint8_t> buffer) override;
    Failure Failed() const { return m_failure; }

    // A kept stream between requests: still open, and the printer has sent nothing since.
    bool Idle() const;
    uint32_t SystemError() const { return m_nSystemError; }

private:
    Failure Connect(const std::string& host, uint16_t port);
    Failure Handshake(const std::wstring& host);
    Failure Wait(short events);
    Failure Send(const uint8_t* data, size_t size);
    Failure SendGathered(std::vector<WSABUF>& pieces);
    Failure Seal(std::span<uint8_t> plain);
    Failure Receive(bool& bClosed);
    std::optional<size_t> ReadPlain(std::span<uint8_t> buffer);
    Failure Fail(Failure failure, uint32_t systemError = 0);
    bool Stopped() const;

    SOCKET m_socket = INVALID_SOCKET;
    CtxtHandle m_context = {};
    bool m_bSecure = false;
    bool m_bContext = false;
    SecPkgContext_StreamSizes m_sizes = {};
    Clock::time_point m_deadline;
    const std::function<bool()>* m_stop = nullptr;
    std::vector<uint8_t> m_in;   // TLS: records received, not yet decrypted
    size_t m_nIn = 0;
    std::vector<uint8_t> m_plain;  // decrypted, not yet read
    size_t m_nPlainRead = 0;
    std::vector<uint8_t> m_frames;  // the headers and trailers of one send's records
    std::vector<WSABUF> m_pieces;   // one send's records: header, text, trailer each
    bool m_bClosed = false;      // the printer's close_notify
    Failure m_failure = Failure::None;
    uint32_t m_nSystemError = 0;
};

}  // namespace ipp
