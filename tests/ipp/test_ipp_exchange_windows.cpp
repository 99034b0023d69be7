// IPP over HTTP on our own connection: a real printer answers, a printer gone wrong gives a
// clear reason, and one that keeps the answer back is left when the budget runs out.
#include <winsock2.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <filesystem>
#include <optional>
#include <thread>

#include "ipp/ipp_exchange.h"
#include "ipp/ipp_request.h"
#include "ipp/ipp_sign_in.h"
#include "ipp/ipp_trust_store.h"
#include "tests/support/ipp_peer.h"

using namespace ipp;

namespace {
std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// A document of known bytes that counts what was read of it.
struct TextDocument final : DocumentSource {
    explicit TextDocument(std::string bytes) : text(std::move(bytes)) {}
    uint64_t Size() const override { return text.size(); }
    std::optional<size_t> Read(std::span<uint8_t> block) override
    {
        const size_t n = std::min(block.size(), text.size() - nRead);
        std::memcpy(block.data(), text.data() + nRead, n);
        nRead += n;
        return n;
    }
    bool Restart() override { nRead = 0; return ++nRestarts > 0; }
    std::string text;
    size_t nRead = 0;
    int nRestarts = 0;
};

// The TCP_NODELAY setting of each of the process's sockets connected to this loopback port.
std::vector<BOOL> NoDelayOfSocketsTo(unsigned short port)
{
    std::vector<BOOL> found;
    for (UINT_PTR value = 4; value <= 8192; value += 4) {
        sockaddr_in peer = {};
        BOOL on = FALSE;
        int size = sizeof(peer), onSize = sizeof(on);
        if (getpeername(static_cast<SOCKET>(value), reinterpret_cast<sockaddr*>(&peer), &size) == 0 &&
            peer.sin_family == AF_INET && ntohs(peer.sin_port) == port &&
            getsockopt(static_cast<SOCKET>(value), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<char*>(&on), &onSize) == 0)
            found.push_back(on);
    }
    return found;
}

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

// A printer's own certificate: pinned at the first contact, taken while it stays the same,
// refused once another shows (nothing but the headers sent), replaced only when asked. A large
// document goes to it whole.
TEST(IppExchange, APrintersOwnCertificateIsPinnedOnFirstUseAndAnotherOneGetsNothing)
{
    IppPeer peer("hostile-tls");
    ASSERT_TRUE(peer.Ready()) << peer.Failure();
    const std::string url = peer.Url("ipps", "localhost", "/ok");
    const std::string printer = PinName(*ParsePrinterUrl(url));
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Lumeo\\CertificatePins", Wide(printer).c_str());
    Answer a = Ask(url, 10000);
    ASSERT_TRUE(a.Ok()) << FailureText(a);
    ASSERT_TRUE(a.certificate);
    const std::string shown = a.certificate->sha256;
    EXPECT_TRUE(IsFingerprint(shown));
    EXPECT_EQ(a.certificate->strSubject, L"localhost");
    EXPECT_EQ(a.certificate->trust, CertificateTrust::FirstUse);
    EXPECT_EQ(a.certificate->pinnedOn, PinDayToday());
    ASSERT_TRUE(ReadPin(printer));
    EXPECT_EQ(ReadPin(printer)->sha256, shown);

    // A large document, which the printer reads slowly where it is not zero: the sends fill the
    // connection and go out in parts, and every byte still arrives once, in its place.
    std::string bytes(16u << 20, '\0');
    std::fill_n(bytes.begin() + (1 << 20), 1 << 20, 'x');
    bytes[(5u << 20) + 12345] = 'y';
    bytes.back() = 'z';
    TextDocument large(bytes);
    ExchangeOptions sending;
    sending.budgetMs = 60000;
    const std::string counting = peer.Url("ipps", "localhost", "/counting");
    a = Exchange(*ParsePrinterUrl(counting), NewRequest(Operation::PrintJob, 1, counting, "lumeo"), sending, &large);
    EXPECT_TRUE(a.Ok()) << FailureText(a);
    std::string expected = "16777216\n1048576 ";
    for (int i = 0; i < (1 << 20); ++i)
        expected += "78";
    {
        std::ifstream counted(peer.Folder() + "/counted");
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(counted), {}) == expected + "\n5255225 79\n16777215 7a\n");
    }
    std::filesystem::remove(peer.Folder() + "/counted");

    const std::string other(64, 'A');
    struct Case {
        const char* what;
        std::wstring pinValue;  // empty: none
        CertificatePolicy policy;
        bool bTrustShown;
        Failure failure;
        std::string pinAfter;  // empty: none
    } cases[] = {
        {"the same again", Wide(shown) + L" 2026-01-02", CertificatePolicy::FirstUse, false, Failure::None, shown},
        {"another pinned", Wide(other) + L" 2026-01-02", CertificatePolicy::FirstUse, false, Failure::CertificateChanged,
         other},
        {"another, and /trust", Wide(other) + L" 2026-01-02", CertificatePolicy::FirstUse, true, Failure::None, shown},
        {"a pin that is none", L"not a fingerprint", CertificatePolicy::FirstUse, false, Failure::None, shown},
        {"Windows' trust alone", L"", CertificatePolicy::System, false, Failure::UntrustedCertificate, ""},
    };
    for (const Case& c : cases) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Lumeo\\CertificatePins", Wide(printer).c_str());
        if (!c.pinValue.empty())
            RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Lumeo\\CertificatePins", Wide(printer).c_str(), REG_SZ,
                            c.pinValue.c_str(), static_cast<DWORD>((c.pinValue.size() + 1) * sizeof(wchar_t)));
        SetCertificatePolicy(c.policy);
        TrustShownCertificates(c.bTrustShown);
        a = Ask(url, 10000);
        SetCertificatePolicy(CertificatePolicy::FirstUse);
        TrustShownCertificates(false);
        EXPECT_EQ(a.failure, c.failure) << c.what << ": " << FailureText(a);
        const std::optional<Pin> pin = ReadPin(printer);
        EXPECT_EQ(pin ? pin->sha256 : std::string(), c.pinAfter) << c.what;
        if (c.failure == Failure::CertificateChanged) {
            EXPECT_EQ(a.pinnedSha256, other);
            EXPECT_NE(FailureText(a).find(FingerprintText(shown) + " instead of " + FingerprintText(other)),
                      std::string::npos) << FailureText(a);
        }
    }
    // A document to a printer whose certificate changed: nothing of it leaves.
    WritePin(printer, other);
    TextDocument document(std::string(100000, 'x'));
    ExchangeOptions options;
    options.budgetMs = 10000;
    const Answer sent = Exchange(*ParsePrinterUrl(peer.Url("ipps", "localhost", "/counting")),
                                 NewRequest(Operation::PrintJob, 1, url, "lumeo"), options, &document);
    EXPECT_EQ(sent.failure, Failure::CertificateChanged);
    EXPECT_EQ(document.nRead, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(std::ifstream(peer.Folder() + "/counted")) << "the printer had the document";
}

// A run's requests stand on one kept connection with Nagle's algorithm off (its body would
// wait for the printer's delayed acknowledgement of its headers); a new connection of the same
// run is judged afresh: a printer started again with another certificate gets nothing.
TEST(IppExchange, AKeptConnectionSendsAtOnceANewOneShowsItsCertificateAgainAndDigestSignsIn)
{
    IppPeer printer("printer", "-f application/pdf");
    ASSERT_TRUE(printer.Ready()) << printer.Failure();
    const ExchangeOptions options;
    {
        Connection run(*ParsePrinterUrl(printer.Url("ipp", "127.0.0.1", "/ipp/print")), true);
        for (int i = 0; i < 3; ++i) {
            const Answer a = GetPrinterAttributes(run, "lumeo", {"printer-state"}, options);
            ASSERT_TRUE(a.Ok()) << FailureText(a);
        }
        EXPECT_EQ(NoDelayOfSocketsTo(printer.Port()), std::vector<BOOL>{TRUE});
    }

    std::optional<IppPeer> peer(std::in_place, "hostile-tls");
    ASSERT_TRUE(peer->Ready()) << peer->Failure();
    const unsigned short port = peer->Port();
    const std::string url = peer->Url("ipps", "localhost", "/ok");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Lumeo\\CertificatePins",
                       Wide(PinName(*ParsePrinterUrl(url))).c_str());
    Connection run(*ParsePrinterUrl(url), true);
    Answer a = GetPrinterAttributes(run, "lumeo", {"printer-state"}, options);
    ASSERT_TRUE(a.Ok() && a.certificate) << FailureText(a);
    const std::string first = a.certificate->sha256;
    a = GetPrinterAttributes(run, "lumeo", {"printer-state"}, options);
    ASSERT_TRUE(a.Ok() && a.certificate) << FailureText(a);
    EXPECT_EQ(a.certificate->sha256, first);
    EXPECT_EQ(a.certificate->trust, CertificateTrust::FirstUse);

    // Digest: the printer calls the first nonce answered stale, and the sign-in goes on with
    // its new one, asked for once. A nonce gone stale under a request with a document: the
    // document goes again, whole, and nobody is asked again.
    int nAsked = 0;
    SetSignInProvider([&](const SignInQuestion&) {
        ++nAsked;
        return std::optional<Credentials>(Credentials(L"lumeoipp", L"Lumeo-Test-42"));
    });
    Connection signedRun(*ParsePrinterUrl(peer->Url("ipps", "localhost", "/digest-stale")), true);
    const Answer signedIn = GetPrinterAttributes(signedRun, "lumeo", {"printer-state"}, options);
    SetSignInProvider(nullptr);
    EXPECT_TRUE(signedIn.Ok()) << FailureText(signedIn);
    EXPECT_EQ(nAsked, 1);
    EXPECT_TRUE(std::ifstream(peer->Folder() + "/authorized")) << "no request was taken";
    TextDocument document(std::string(3u << 20, 'd'));
    const Answer printed =
        signedRun.Exchange(NewRequest(Operation::PrintJob, 2, signedRun.Url().Text(), "lumeo"), options, &document);
    EXPECT_TRUE(printed.Ok() && document.nRestarts == 1 && document.nRead == document.text.size())
        << FailureText(printed);
    peer.reset();
    peer.emplace("hostile-tls", "", port);
    ASSERT_TRUE(peer->Ready()) << peer->Failure();
    a = GetPrinterAttributes(run, "lumeo", {"printer-state"}, options);
    EXPECT_EQ(a.failure, Failure::CertificateChanged) << FailureText(a);
}

// A stop ends an upload the printer holds, at once: the responder holds it far longer than
// this test waits for the exchange. A plain printer that asks for a sign-in has no TLS: no
// password is asked for or sent.
TEST(IppExchange, AStopEndsAHeldUploadAndAPlainPrinterGetsNoPassword)
{
    IppPeer peer("hostile");
    ASSERT_TRUE(peer.Ready()) << peer.Failure();
    TextDocument document(std::string(64u << 20, 'x'));
    ExchangeOptions options;
    options.budgetMs = 600000;
    const std::string stalled = peer.Folder() + "/stalled";
    options.stop = [&] { return static_cast<bool>(std::ifstream(stalled)); };
    const std::string held = peer.Url("ipp", "127.0.0.1", "/holding");
    const Answer a = Exchange(*ParsePrinterUrl(held), NewRequest(Operation::PrintJob, 1, held, "lumeo"), options, &document);
    EXPECT_EQ(a.failure, Failure::Stopped) << FailureText(a);

    int nAsked = 0;
    SetSignInProvider([&](const SignInQuestion&) {
        ++nAsked;
        return std::optional<Credentials>(Credentials(L"bob", L"secret"));
    });
    const std::string signIn = peer.Url("ipp", "127.0.0.1", "/sign-in");
    const Answer refused = Exchange(*ParsePrinterUrl(signIn), NewRequest(Operation::ValidateJob, 1, signIn, "lumeo"),
                                    ExchangeOptions());
    SetSignInProvider(nullptr);
    EXPECT_EQ(refused.failure, Failure::PasswordUnencrypted) << FailureText(refused);
    EXPECT_EQ(nAsked, 0);
    EXPECT_FALSE(std::ifstream(peer.Folder() + "/authorization")) << "a password went in clear text";
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
        {"/auth", Failure::PasswordUnencrypted, DecodeError::None},
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
