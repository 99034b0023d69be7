#pragma once
// An SNMP peer on 127.0.0.1 that answers each request with whatever datagrams a script
// makes of it, from its own socket or from a second one on another port.
#include <functional>
#include <span>
#include <vector>

#include "snmp/ber_codec.h"
#include "tests/support/udp_peers.h"

struct Datagram {
    std::vector<uint8_t> bytes;
    bool bFromOtherPort = false;
};

class HostileAgent : public udp_test::Peer {
public:
    using Script = std::function<std::vector<Datagram>(const snmp_ber::Message&)>;
    explicit HostileAgent(Script script) : m_script(std::move(script))
    {
        uint16_t port = 0;
        m_other = udp_test::BindLoopback(port);
        Start();
    }
    ~HostileAgent() override
    {
        Stop();
        if (m_other != udp_test::kNone)
            udp_test::CloseSocket(m_other);
    }

private:
    void Run() override
    {
        std::vector<uint8_t> buf(65536);
        while (!m_stop) {
            if (!udp_test::Readable(m_socket, 50))
                continue;
            sockaddr_in from{};
            socklen_t len = sizeof(from);
            auto n = recvfrom(m_socket, reinterpret_cast<char*>(buf.data()), static_cast<int>(buf.size()), 0,
                              reinterpret_cast<sockaddr*>(&from), &len);
            if (n <= 0)
                continue;
            ++m_received;
            snmp_ber::Message request;
            if (snmp_ber::DecodeMessage(std::span<const uint8_t>(buf.data(), static_cast<size_t>(n)), request) !=
                snmp_ber::DecodeError::None)
                continue;
            for (const Datagram& d : m_script(request))
                sendto(d.bFromOtherPort ? m_other : m_socket, reinterpret_cast<const char*>(d.bytes.data()),
                       static_cast<int>(d.bytes.size()), 0, reinterpret_cast<sockaddr*>(&from), len);
        }
    }
    Script m_script;
    udp_test::Socket m_other = udp_test::kNone;
};

// The answer a well-behaved agent would give: the request with the value filled in.
inline snmp_ber::Message AnswerOf(const snmp_ber::Message& request, uint8_t tag, const std::string& value)
{
    snmp_ber::Message reply = request;
    reply.pduType = snmp_ber::kGetResponse;
    for (snmp_ber::DecodedVarBind& vb : reply.varbinds) {
        vb.valueTag = tag;
        vb.value.assign(value.begin(), value.end());
    }
    return reply;
}
