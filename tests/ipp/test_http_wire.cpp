// A printer's HTTP answer read within bounds, and the sign-ins we send: known answers from the
// RFCs' examples, and answers a broken or hostile printer gives.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "ipp/ipp_md5.h"
#include "ipp/ipp_http_wire.h"

using namespace ipp;

namespace {
class TextSource : public HttpByteSource {
public:
    TextSource(std::string text, size_t piece, bool bFailAtEnd) : text_(std::move(text)), piece_(piece), bFail_(bFailAtEnd) {}
    std::optional<size_t> Read(std::span<uint8_t> buffer) override
    {
        const size_t n = std::min({buffer.size(), piece_, text_.size() - at_});
        if (n == 0 && bFail_)
            return std::nullopt;
        std::memcpy(buffer.data(), text_.data() + at_, n);
        return at_ += n, n;
    }

private:
    std::string text_;
    size_t at_ = 0, piece_;
    bool bFail_;
};
}  // namespace

TEST(HttpWire, ReadsAnswersWithinTheirBounds)
{
    const std::string ok = "HTTP/1.1 200 OK\r\n", big(kMaxHttpHeadBytes, 'a');
    const struct Case {
        std::string bytes;
        HttpReadError error;
        unsigned status = 0;
        std::string body = "";
        bool bKeepAlive = false;
        size_t piece = 1 << 20;
        bool bFailAtEnd = false;
    } cases[] = {
        {ok + "Content-Length: 3\r\nX-A:  v \t\r\n\r\nabc", HttpReadError::None, 200, "abc", true},
        {ok + "Content-Length: 3\r\nX-A: v\r\n\r\nabc", HttpReadError::None, 200, "abc", true, 1},
        {ok + "Transfer-Encoding: Chunked\r\n\r\n3;x=\"y\"\r\nabc\r\n2\r\nde\r\n0\r\nT: 1\r\n\r\n", HttpReadError::None, 200, "abcde", true},
        {"HTTP/1.1 100 Continue\r\n\r\n" + ok + "Content-Length: 1\r\n\r\nz", HttpReadError::None, 200, "z", true},
        {ok + "\r\nuntil close", HttpReadError::None, 200, "until close"},
        {"HTTP/1.0 200 OK\r\nContent-Length: 1\r\n\r\nz", HttpReadError::None, 200, "z"},
        {ok + "Connection: keep-alive, Close\r\nContent-Length: 1\r\n\r\nz", HttpReadError::None, 200, "z"},
        {ok + "Content-Length: 2\r\n\r\nzzHTTP/1.1", HttpReadError::None, 200, "zz"},
        {"HTTP/1.1 204 No Content\r\n\r\n", HttpReadError::None, 204, "", true},
        {ok + "Content-Length: 17\r\n\r\n", HttpReadError::TooLarge},
        {ok + "Transfer-Encoding: chunked\r\n\r\nffffffffffffffffff\r\n", HttpReadError::TooLarge},
        {ok + "X: " + big + "\r\n\r\n", HttpReadError::TooLarge},
        {"", HttpReadError::Closed},
        {"", HttpReadError::ReadFailed, 0, "", false, 1, true},
        {ok + "Content-Length: 5\r\n\r\nab", HttpReadError::Truncated},
        {ok + "Content-Length: 1\r\nContent-Length: 2\r\n\r\nab", HttpReadError::NotHttp},
        {ok + "X: a\r\n folded\r\n\r\n", HttpReadError::NotHttp},
        {"HTTP/1.1 101 Switching\r\n\r\n", HttpReadError::NotHttp},
        {"HTTP/2 200 OK\r\n\r\n", HttpReadError::NotHttp},
    };
    for (const Case& c : cases) {
        TextSource source(c.bytes, c.piece, c.bFailAtEnd);
        HttpAnswer answer;
        ASSERT_EQ(ReadHttpAnswer(source, 16, answer), c.error) << c.bytes.substr(0, 80);
        if (c.error != HttpReadError::None)
            continue;
        EXPECT_EQ(answer.status, c.status) << c.bytes;
        EXPECT_EQ(std::string(answer.body.begin(), answer.body.end()), c.body) << c.bytes;
        EXPECT_EQ(answer.bKeepAlive, c.bKeepAlive) << c.bytes;
        if (const std::string* value = answer.Header("x-a")) {
            EXPECT_EQ(*value, "v");
        }
    }
}

TEST(HttpWire, Md5OfKnownStrings)
{
    const std::pair<const char*, const char*> cases[] = {{"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"}};
    for (const auto& [text, hex] : cases) {
        std::string got;
        for (uint8_t b : Md5(text))
            got += "0123456789abcdef"[b >> 4], got += "0123456789abcdef"[b & 15];
        EXPECT_EQ(got, hex) << text;
    }
}

TEST(HttpWire, SignsInAsTheRfcExamples)
{
    EXPECT_EQ(BasicAuthorization("Aladdin", "open sesame"), "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    EXPECT_EQ(BasicAuthorization("a:b", "c"), "");
    const char* kUri = "/dir/index.html";
    HttpChallenge rfc7616{HttpChallenge::Scheme::Digest, "http-auth@example.org", "7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v",
                          "FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS", "MD5", true};
    const char* kCnonce = "f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ";
    EXPECT_EQ(DigestAuthorization(rfc7616, "Mufasa", "Circle of Life", "GET", kUri, kCnonce, 1),
              "Digest username=\"Mufasa\", realm=\"http-auth@example.org\", nonce=\"" + rfc7616.nonce +
                  "\", uri=\"/dir/index.html\", algorithm=MD5, response=\"8ca523f5e9506fed4657c9700eebdbec\", qop=auth, "
                  "nc=00000001, cnonce=\"" + kCnonce + "\", opaque=\"" + rfc7616.opaque + "\"");
    rfc7616.algorithm = "SHA-256";
    EXPECT_NE(DigestAuthorization(rfc7616, "Mufasa", "Circle of Life", "GET", kUri, kCnonce, 1)
                  .find("response=\"753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1\""),
              std::string::npos);
    EXPECT_EQ(DigestAuthorization(rfc7616, "Mu\"fasa", "x", "GET", kUri, kCnonce, 1), "");
    const HttpChallenge rfc2617{HttpChallenge::Scheme::Digest, "testrealm@host.com", "dcd98b7102dd2f0e8b11d0f600bfb0c093", "",
                                "MD5", true};
    EXPECT_NE(DigestAuthorization(rfc2617, "Mufasa", "Circle Of Life", "GET", kUri, "0a4f113b", 1)
                  .find("response=\"6629fae49393a05397450978507c4ef1\""),
              std::string::npos);
}

TEST(HttpWire, ParsesTheChallengesWeCanAnswer)
{
    const struct Case {
        std::string header;
        std::string expected;  // scheme/realm/nonce/algorithm/qop/stale/opaque of each, ';' after each
    } cases[] = {
        {"Basic realm=\"x\", Digest realm=\"y\", nonce=\"n\", qop=\"auth,auth-int\", algorithm=md5, opaque=\"o\", stale=TRUE",
         "B/x//;D/y/n/MD5/1/1/o;"},
        {"Negotiate abc==, Digest realm=y, nonce=n, algorithm=SHA-256", "D/y/n/SHA-256/0/0/;"},
        {"Digest realm=\"a\\\"b,c\", nonce=\"n\"", "D/a\"b,c/n/MD5/0/0/;"},
        {"Digest realm=y, nonce=n, algorithm=MD5-sess, Digest realm=y", ""},
        {"Digest realm=y, nonce=n, qop=auth-int, Bearer, bAsIc realm=\"unclosed", ""},
    };
    for (const Case& c : cases) {
        std::string got;
        for (const HttpChallenge& h : ParseChallenges({c.header}))
            got += h.scheme == HttpChallenge::Scheme::Basic
                       ? "B/" + h.realm + "/" + h.nonce + "/;"
                       : "D/" + h.realm + "/" + h.nonce + "/" + h.algorithm + "/" + std::to_string(h.bQopAuth) + "/" +
                             std::to_string(h.bStale) + "/" + h.opaque + ";";
        EXPECT_EQ(got, c.expected) << c.header;
    }
}

TEST(HttpWire, WritesThePostHeadOrRefusesInjectedLines)
{
    EXPECT_EQ(PostHead("/ipp/print", "h:631", 5, "Basic x", false),
              "POST /ipp/print HTTP/1.1\r\nHost: h:631\r\nContent-Type: application/ipp\r\nContent-Length: 5\r\n"
              "Authorization: Basic x\r\nConnection: close\r\nUser-Agent: Lumeo\r\n\r\n");
    for (const auto& [path, host, auth] : {std::tuple("/a b", "h", ""), {"/a", "h\r\nX: y", ""}, {"/a", "h", "x\ny"}})
        EXPECT_EQ(PostHead(path, host, 0, auth, true), "") << path << host << auth;
}
