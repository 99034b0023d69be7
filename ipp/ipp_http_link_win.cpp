// The way to one printer's host and port that the requests of a Connection share: the
// stream kept between them, the certificate accepted last and the printer's Digest challenge.
#include "ipp/ipp_http_post.h"
#include "ipp/ipp_printer_stream.h"

namespace ipp {

HttpLink::HttpLink(bool bKeepAlive) : m_bKeepAlive(bKeepAlive) {}

HttpLink::~HttpLink() = default;

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

std::unique_ptr<PrinterStream> HttpLink::TakeStream()
{
    const std::lock_guard<std::mutex> guard(m_lock);
    std::unique_ptr<PrinterStream> stream = std::move(m_stream);
    if (stream && !stream->Idle())
        stream.reset();
    return stream;
}

void HttpLink::KeepStream(std::unique_ptr<PrinterStream> stream)
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

}  // namespace ipp
