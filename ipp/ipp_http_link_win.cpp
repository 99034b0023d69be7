// The way to one printer's host and port that the requests of a Connection share, one
// after the other: the stream kept between them, the certificate accepted last and the
// printer's Digest challenge.
#include "ipp/ipp_http_post.h"
#include "ipp/ipp_printer_stream.h"

namespace ipp {

HttpLink::HttpLink(bool bKeepAlive) : m_bKeepAlive(bKeepAlive) {}

HttpLink::~HttpLink() = default;

const std::optional<AcceptedCertificate>& HttpLink::Accepted() const
{
    return m_accepted;
}

void HttpLink::Accept(const AcceptedCertificate& accepted)
{
    m_accepted = accepted;
}

std::unique_ptr<PrinterStream> HttpLink::TakeStream()
{
    std::unique_ptr<PrinterStream> stream = std::move(m_stream);
    if (stream && !stream->Idle())
        stream.reset();
    return stream;
}

void HttpLink::KeepStream(std::unique_ptr<PrinterStream> stream)
{
    if (m_bKeepAlive)
        m_stream = std::move(stream);
}

const std::optional<HttpChallenge>& HttpLink::Digest() const
{
    return m_digest;
}

uint32_t HttpLink::NextNonceCount()
{
    return ++m_nNonceCount;
}

void HttpLink::SetDigest(const HttpChallenge& challenge)
{
    if (!m_digest || m_digest->nonce != challenge.nonce)
        m_nNonceCount = 0;
    m_digest = challenge;
}

}  // namespace ipp
