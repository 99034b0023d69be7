// IPP over HTTP through WinHTTP: a real printer answers, a printer gone wrong gives a clear
// reason, and one that keeps the answer back is left when the budget runs out.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "ipp/ipp_exchange.h"
#include "ipp/ipp_request.h"
#include "tests/support/ipp_peer.h"

using namespace ipp;

namespace {
Answer Ask(const std::string& url, uint32_t budgetMs)
{
    ExchangeOptions options;
    options.budgetMs = budgetMs;
    return GetPrinterAttributes(*ParsePrinterUrl(url), "lumeo", {"printer-device-id", "printer-state"}, options);
}
}  // namespace

TEST(IppExchange, RealPrinterAnswersGetPrinterAttributes)
{
    IppPeer printer("printer", "-f application/pdf,image/jpeg");
    ASSERT_TRUE(printer.Ready()) << printer.Failure();
    ExchangeOptions options;
    options.budgetMs = 20000;
    const Answer a = GetPrinterAttributes(*ParsePrinterUrl(printer.Url("ipp", "127.0.0.1", "/ipp/print")), "lumeo",
                                          {"printer-device-id", "document-format-supported", "printer-state"}, options);
    ASSERT_TRUE(a.Ok()) << FailureText(a);
    EXPECT_TRUE(IsSuccess(a.message.code));
    const Attribute* id = a.message.Find(GroupTag::Printer, "printer-device-id");
    ASSERT_TRUE(id && id->Text());
    EXPECT_NE(id->Text()->find("CMD:PDF,JPEG;"), std::string::npos) << *id->Text();
    const std::vector<std::string> formats = a.message.Find(GroupTag::Printer, "document-format-supported")->Texts();
    EXPECT_NE(std::find(formats.begin(), formats.end(), "image/jpeg"), formats.end());
    EXPECT_EQ(a.message.Find(GroupTag::Printer, "printer-state")->Integer(), 3);  // idle
    EXPECT_EQ(a.message.Find(GroupTag::Printer, "printer-name"), nullptr);       // not asked for
}

TEST(IppExchange, CertificateTheSystemDoesNotTrustIsAFailureNamingThePrinter)
{
    IppPeer peer("hostile-tls");
    ASSERT_TRUE(peer.Ready()) << peer.Failure();
    const Answer a = Ask(peer.Url("ipps", "localhost", "/ok"), 10000);
    // Wine's TLS ends the handshake before it checks the certificate: a failed secure channel there.
    EXPECT_TRUE(a.failure == Failure::UntrustedCertificate || a.failure == Failure::SecureChannelFailed)
        << FailureText(a) << " " << a.systemError;
    EXPECT_NE(FailureText(a).find("ipps://localhost:"), std::string::npos);
}

TEST(IppExchange, PrinterGoneWrongGivesItsReasonWithinTheBudget)
{
    IppPeer peer("hostile");
    ASSERT_TRUE(peer.Ready()) << peer.Failure();
    const struct {
        const char* path;
        Failure failure;
        DecodeError decodeError;
    } cases[] = {
        {"/ok", Failure::None, DecodeError::None},
        {"/redirect-same", Failure::None, DecodeError::None},
        {"/redirect-twice", Failure::Redirected, DecodeError::None},
        {"/redirect-other", Failure::Redirected, DecodeError::None},
        {"/redirect-port", Failure::Redirected, DecodeError::None},
        {"/garbage", Failure::NotHttp, DecodeError::None},
        {"/garbage-ipp", Failure::Malformed, DecodeError::BadTag},
        {"/cut", Failure::Malformed, DecodeError::Truncated},
        {"/huge-value", Failure::Malformed, DecodeError::ValueTooLong},
        {"/huge-answer", Failure::TooLarge, DecodeError::None},
        {"/slow", Failure::TimedOut, DecodeError::None},
        {"/drip", Failure::TimedOut, DecodeError::None},
        {"/auth", Failure::NeedsCredentials, DecodeError::None},
        {"/missing", Failure::HttpError, DecodeError::None},
    };
    const uint32_t budgetMs = 2000;
    for (const auto& c : cases) {
        const Answer a = Ask(peer.Url("ipp", "127.0.0.1", c.path), budgetMs);
        EXPECT_EQ(a.failure, c.failure) << c.path << ": " << FailureText(a);
        EXPECT_EQ(a.decodeError, c.decodeError) << c.path;
        // Cut off by the budget, not by the printer: it sees the connection closed while it
        // still holds the answer back (for a minute).
        if (c.failure == Failure::TimedOut) {
            const std::filesystem::path closed = peer.Folder() + "/closed-" + std::string(c.path + 1);
            for (int i = 0; i < 100 && !std::filesystem::exists(closed); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            EXPECT_TRUE(std::filesystem::exists(closed)) << c.path << ": the connection stayed open";
        }
        if (c.failure == Failure::None) {
            EXPECT_EQ(a.message.Find(GroupTag::Printer, "printer-state")->Integer(), 3) << c.path;
        }
    }
    EXPECT_EQ(Ask("ipp://127.0.0.1:1/ipp/print", budgetMs).failure, Failure::CannotConnect);
}
