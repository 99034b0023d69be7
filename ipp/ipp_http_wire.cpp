#include "ipp/ipp_http_wire.h"

#include <algorithm>
#include <cstring>

#include "ipp/ipp_md5.h"
#include "ipp/ipp_sha256.h"

namespace ipp {
namespace {

constexpr size_t kReadBytes = 16 * 1024;
constexpr size_t kMaxChunkLineBytes = kMaxHttpHeadBytes;  // all chunk-size lines of one body
constexpr size_t kMaxChallengeHeaderBytes = 8 * 1024;
constexpr size_t kMaxChallengeParamBytes = 1024;
constexpr size_t kMaxChallenges = 16;

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }

bool HasControl(std::string_view text) { return std::any_of(text.begin(), text.end(), IsControl); }

// Header values and reasons may hold tabs, never another control character.
bool IsFieldText(std::string_view text)
{
    return std::none_of(text.begin(), text.end(), [](char c) { return c != '\t' && IsControl(c); });
}

bool IsTokenChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr("!#$%&'*+-.^_`|~", c) != nullptr);
}

size_t TokenLength(std::string_view text)
{
    return std::find_if_not(text.begin(), text.end(), IsTokenChar) - text.begin();
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameWord(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimmedLeft(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view Trimmed(std::string_view text)
{
    text = TrimmedLeft(text);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A comma-separated list such as Connection's holds `token`, in any case.
bool HasListToken(std::string_view list, std::string_view token)
{
    while (!list.empty()) {
        const size_t comma = std::min(list.find(','), list.size());
        if (SameWord(Trimmed(list.substr(0, comma)), token))
            return true;
        list.remove_prefix(std::min(comma + 1, list.size()));
    }
    return false;
}

// Digits in `base` (10 or 16); a value past 64 bits saturates, so it is refused as too large.
std::optional<uint64_t> ParseNumber(std::string_view digits, unsigned base)
{
    if (digits.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        const char lower = Lower(c);
        const unsigned digit = c >= '0' && c <= '9' ? c - '0' : lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : 99;
        if (digit >= base)
            return std::nullopt;
        value = value > (UINT64_MAX - digit) / base ? UINT64_MAX : value * base + digit;
    }
    return value;
}

// The answer's bytes as the source gives them, kept in one buffer, never read past need.
class AnswerReader {
public:
    explicit AnswerReader(HttpByteSource& source) : source_(source), buffer_(kReadBytes) {}

    // One line without its CRLF (or bare LF); it takes its bytes from `budget`.
    HttpReadError Line(std::string& line, size_t& budget)
    {
        line.clear();
        for (;;) {
            if (next_ == end_)
                if (const HttpReadError error = Fill(); error != HttpReadError::None)
                    return error;
            const auto begin = buffer_.begin() + next_, stop = buffer_.begin() + end_;
            const auto lf = std::find(begin, stop, '\n');
            const size_t taken = (lf - begin) + (lf != stop ? 1 : 0);
            if (taken > budget)
                return HttpReadError::TooLarge;
            budget -= taken;
            line.append(begin, lf);
            next_ += taken;
            if (lf != stop) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                return HttpReadError::None;
            }
        }
    }

    HttpReadError Bytes(uint64_t count, std::vector<uint8_t>& out)
    {
        while (count > 0) {
            if (next_ == end_)
                if (const HttpReadError error = Fill(); error != HttpReadError::None)
                    return error;
            const size_t n = static_cast<size_t>(std::min<uint64_t>(count, end_ - next_));
            out.insert(out.end(), buffer_.begin() + next_, buffer_.begin() + next_ + n);
            next_ += n;
            count -= n;
        }
        return HttpReadError::None;
    }

    HttpReadError UntilClose(size_t maxBody, std::vector<uint8_t>& out)
    {
        for (;;) {
            if (next_ == end_) {
                const HttpReadError error = Fill();
                if (error == HttpReadError::Truncated)
                    return HttpReadError::None;
                if (error != HttpReadError::None)
                    return error;
            }
            if (end_ - next_ > maxBody - out.size())
                return HttpReadError::TooLarge;
            out.insert(out.end(), buffer_.begin() + next_, buffer_.begin() + end_);
            next_ = end_;
        }
    }

    bool HasUnreadBytes() const { return next_ < end_; }

private:
    HttpReadError Fill()
    {
        const std::optional<size_t> n = source_.Read(buffer_);
        if (!n || *n > buffer_.size())
            return HttpReadError::ReadFailed;
        if (*n == 0)
            return bAnyByte_ ? HttpReadError::Truncated : HttpReadError::Closed;
        bAnyByte_ = true;
        next_ = 0;
        end_ = *n;
        return HttpReadError::None;
    }

    HttpByteSource& source_;
    std::vector<uint8_t> buffer_;
    size_t next_ = 0, end_ = 0;
    bool bAnyByte_ = false;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "HTTP/1.x SSS reason", the reason optional.
std::optional<unsigned> ParseStatusLine(std::string_view line, bool& bHttp11)
{
    if (line.size() < 12 || line.substr(0, 7) != "HTTP/1." || !IsDigit(line[7]) || line[8] != ' ' ||
        line[9] < '1' || line[9] > '5' || !IsDigit(line[10]) || !IsDigit(line[11]) ||
        (line.size() > 12 && line[12] != ' ') || !IsFieldText(line))
        return std::nullopt;
    bHttp11 = line[7] != '0';
    return (line[9] - '0') * 100u + (line[10] - '0') * 10u + (line[11] - '0');
}

// "name: value"; a line folded onto the one before starts with a blank and is refused.
std::optional<std::pair<std::string, std::string>> ParseHeaderLine(std::string_view line)
{
    const size_t nameLength = TokenLength(line);
    if (nameLength == 0 || nameLength == line.size() || line[nameLength] != ':')
        return std::nullopt;
    const std::string_view value = Trimmed(line.substr(nameLength + 1));
    if (!IsFieldText(value))
        return std::nullopt;
    std::string name(line.substr(0, nameLength));
    std::transform(name.begin(), name.end(), name.begin(), Lower);
    return std::pair(std::move(name), std::string(value));
}

HttpReadError ReadHead(AnswerReader& reader, size_t& budget, HttpAnswer& answer, bool& bHttp11)
{
    std::string line;
    if (const HttpReadError error = reader.Line(line, budget); error != HttpReadError::None)
        return error;
    const std::optional<unsigned> status = ParseStatusLine(line, bHttp11);
    if (!status)
        return HttpReadError::NotHttp;
    answer.status = *status;
    answer.headers.clear();
    for (;;) {
        if (const HttpReadError error = reader.Line(line, budget); error != HttpReadError::None)
            return error;
        if (line.empty())
            return HttpReadError::None;
        if (answer.headers.size() == kMaxHttpHeaders)
            return HttpReadError::TooLarge;
        auto header = ParseHeaderLine(line);
        if (!header)
            return HttpReadError::NotHttp;
        answer.headers.push_back(std::move(*header));
    }
}

// "1a;name=value": the size, extensions passed over.
std::optional<uint64_t> ParseChunkSize(std::string_view line)
{
    const size_t digits = std::min(line.find_first_of("; \t"), line.size());
    const std::string_view rest = TrimmedLeft(line.substr(digits));
    if ((!rest.empty() && rest.front() != ';') || !IsFieldText(rest))
        return std::nullopt;
    return ParseNumber(line.substr(0, digits), 16);
}

HttpReadError SkipTrailers(AnswerReader& reader, size_t& budget)
{
    std::string line;
    do {
        if (const HttpReadError error = reader.Line(line, budget); error != HttpReadError::None)
            return error;
    } while (!line.empty());
    return HttpReadError::None;
}

HttpReadError ReadChunked(AnswerReader& reader, size_t maxBody, size_t& trailerBudget, std::vector<uint8_t>& body)
{
    size_t lineBudget = kMaxChunkLineBytes;  // every pass takes at least 5 bytes of it
    std::string line;
    for (;;) {
        if (const HttpReadError error = reader.Line(line, lineBudget); error != HttpReadError::None)
            return error;
        const std::optional<uint64_t> size = ParseChunkSize(line);
        if (!size)
            return HttpReadError::NotHttp;
        if (*size > maxBody - body.size())
            return HttpReadError::TooLarge;
        if (*size == 0)
            return SkipTrailers(reader, trailerBudget);
        if (const HttpReadError error = reader.Bytes(*size, body); error != HttpReadError::None)
            return error;
        if (const HttpReadError error = reader.Line(line, lineBudget); error != HttpReadError::None)
            return error;
        if (!line.empty())
            return HttpReadError::NotHttp;
    }
}

HttpReadError ReadCounted(AnswerReader& reader, size_t maxBody, const std::vector<std::string>& lengths,
                          std::vector<uint8_t>& body)
{
    std::optional<uint64_t> length;
    for (const std::string& value : lengths) {
        const std::optional<uint64_t> n = ParseNumber(value, 10);
        if (!n || (length && *length != *n))
            return HttpReadError::NotHttp;
        length = n;
    }
    if (*length > maxBody)
        return HttpReadError::TooLarge;
    return reader.Bytes(*length, body);
}

// Reads the body as the head frames it; `bEndKnown` tells whether the connection may be reused.
HttpReadError ReadBody(AnswerReader& reader, size_t maxBody, size_t& headBudget, HttpAnswer& answer, bool& bEndKnown)
{
    bEndKnown = true;
    if (answer.status == 204 || answer.status == 304)
        return HttpReadError::None;
    const std::vector<std::string> codings = answer.Headers("transfer-encoding");
    const std::vector<std::string> lengths = answer.Headers("content-length");
    if (!codings.empty()) {
        if (codings.size() != 1 || !SameWord(codings.front(), "chunked"))
            return HttpReadError::NotHttp;
        bEndKnown = lengths.empty();  // both framings: a sign of smuggling, not to be reused
        return ReadChunked(reader, maxBody, headBudget, answer.body);
    }
    if (!lengths.empty())
        return ReadCounted(reader, maxBody, lengths, answer.body);
    bEndKnown = false;
    return reader.UntilClose(maxBody, answer.body);
}

bool AsksToClose(const HttpAnswer& answer)
{
    const std::vector<std::string> values = answer.Headers("connection");
    return std::any_of(values.begin(), values.end(), [](const std::string& v) { return HasListToken(v, "close"); });
}

// A challenge as written, before we look at what it asks for.
struct RawChallenge {
    std::string scheme;
    std::vector<std::pair<std::string, std::string>> params;
    bool bBroken = false;
};

// The pieces of a header between commas outside quoted strings.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view text)
{
    std::vector<std::string_view> pieces;
    size_t start = 0;
    bool bQuoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (bQuoted && text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            bQuoted = !bQuoted;
        else if (!bQuoted && text[i] == ',')
            pieces.push_back(text.substr(start, i - start)), start = i + 1;
    }
    pieces.push_back(text.substr(std::min(start, text.size())));
    return pieces;
}

// A token, or a quoted string with its escapes undone, filling the whole of `text`.
std::optional<std::string> ParseParamValue(std::string_view text)
{
    text = Trimmed(text);
    if (text.empty() || text.front() != '"')
        return !text.empty() && TokenLength(text) == text.size() ? std::optional<std::string>(text) : std::nullopt;
    std::string value;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"')
            return i + 1 == text.size() && !HasControl(value) ? std::optional(value) : std::nullopt;
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        value += text[i];
    }
    return std::nullopt;  // no closing quote
}

// "name = value" into the challenge; anything else breaks it.
void AddParam(RawChallenge& challenge, std::string_view text)
{
    const size_t nameLength = TokenLength(text);
    const std::string_view rest = TrimmedLeft(text.substr(nameLength));
    std::optional<std::string> value;
    if (nameLength > 0 && !rest.empty() && rest.front() == '=' && text.size() <= kMaxChallengeParamBytes)
        value = ParseParamValue(rest.substr(1));
    if (!value)
        challenge.bBroken = true;
    else
        challenge.params.emplace_back(text.substr(0, nameLength), std::move(*value));
}

// One piece between commas: "scheme", "scheme name=value", "scheme token68" or "name=value".
void TakePiece(std::string_view piece, std::vector<RawChallenge>& challenges)
{
    piece = Trimmed(piece);
    if (piece.empty())
        return;
    const size_t tokenLength = TokenLength(piece);
    const std::string_view rest = TrimmedLeft(piece.substr(tokenLength));
    const bool bParam = tokenLength > 0 && !rest.empty() && rest.front() == '=';
    if (bParam || tokenLength == 0) {
        if (!challenges.empty())
            AddParam(challenges.back(), piece);  // a piece that parses as no param breaks it
        return;
    }
    challenges.push_back({std::string(piece.substr(0, tokenLength)), {}, false});
    if (!rest.empty())
        AddParam(challenges.back(), rest);  // a token68 breaks it: neither of our schemes takes one
}

std::optional<HttpChallenge> Answerable(const RawChallenge& raw)
{
    HttpChallenge challenge;
    if (raw.bBroken || (!SameWord(raw.scheme, "basic") && !SameWord(raw.scheme, "digest")))
        return std::nullopt;
    challenge.scheme = SameWord(raw.scheme, "basic") ? HttpChallenge::Scheme::Basic : HttpChallenge::Scheme::Digest;
    std::string algorithm = "MD5";
    bool bQop = false;
    for (const auto& [name, value] : raw.params) {
        if (SameWord(name, "realm"))
            challenge.realm = value;
        else if (SameWord(name, "nonce"))
            challenge.nonce = value;
        else if (SameWord(name, "opaque"))
            challenge.opaque = value;
        else if (SameWord(name, "algorithm"))
            algorithm = value;
        else if (SameWord(name, "qop"))
            bQop = true, challenge.bQopAuth = HasListToken(value, "auth");
        else if (SameWord(name, "stale"))
            challenge.bStale = SameWord(value, "true");
    }
    if (challenge.scheme == HttpChallenge::Scheme::Basic)
        return challenge;
    // qop offered without "auth" (auth-int only) is not one we can answer.
    if (challenge.nonce.empty() || bQop != challenge.bQopAuth)
        return std::nullopt;
    if (SameWord(algorithm, "MD5"))
        challenge.algorithm = "MD5";
    else if (SameWord(algorithm, "SHA-256"))
        challenge.algorithm = "SHA-256";
    else
        return std::nullopt;
    return challenge;
}

std::string Base64(std::string_view bytes)
{
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0);
        for (size_t k = 0; k < 4; ++k)
            text += k <= n ? kDigits[(group >> (18 - 6 * k)) & 0x3f] : '=';
    }
    return text;
}

// Fits between the quotes of a Digest parameter as it is, with no escape.
bool IsQuotable(std::string_view text)
{
    return !HasControl(text) && text.find_first_of("\"\\") == std::string_view::npos;
}

std::string JoinedWithColons(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (std::string_view part : parts)
        text.append(part).append(":");
    text.pop_back();
    return text;
}

}  // namespace

std::string LowerHex(std::span<const uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t b : bytes)
        text += kDigits[b >> 4], text += kDigits[b & 0xf];
    return text;
}

std::string PostHead(const std::string& path, const std::string& hostHeader, uint64_t contentLength,
                     const std::string& authorization, bool bKeepAlive)
{
    const auto bHasSpace = [](const std::string& s) { return s.find(' ') != std::string::npos; };
    if (path.empty() || hostHeader.empty() || HasControl(path) || HasControl(hostHeader) || HasControl(authorization) ||
        bHasSpace(path) || bHasSpace(hostHeader))
        return {};
    std::string head = "POST " + path + " HTTP/1.1\r\nHost: " + hostHeader +
                       "\r\nContent-Type: application/ipp\r\nContent-Length: " + std::to_string(contentLength) + "\r\n";
    if (!authorization.empty())
        head += "Authorization: " + authorization + "\r\n";
    if (!bKeepAlive)
        head += "Connection: close\r\n";
    return head + "User-Agent: Lumeo\r\n\r\n";
}

const std::string* HttpAnswer::Header(std::string_view lowerName) const
{
    const auto found = std::find_if(headers.begin(), headers.end(), [&](const auto& h) { return h.first == lowerName; });
    return found != headers.end() ? &found->second : nullptr;
}

std::vector<std::string> HttpAnswer::Headers(std::string_view lowerName) const
{
    std::vector<std::string> values;
    for (const auto& [name, value] : headers)
        if (name == lowerName)
            values.push_back(value);
    return values;
}

HttpReadError ReadHttpAnswer(HttpByteSource& source, size_t maxBody, HttpAnswer& answer)
{
    answer = HttpAnswer{};
    AnswerReader reader(source);
    size_t headBudget = 0;
    bool bHttp11 = false;
    for (int nInterim = 0;; ++nInterim) {
        headBudget = kMaxHttpHeadBytes;
        if (const HttpReadError error = ReadHead(reader, headBudget, answer, bHttp11); error != HttpReadError::None)
            return error;
        if (answer.status >= 200)
            break;
        if (answer.status == 101 || nInterim == kMaxInterimAnswers)
            return HttpReadError::NotHttp;
    }
    bool bEndKnown = false;
    if (const HttpReadError error = ReadBody(reader, maxBody, headBudget, answer, bEndKnown);
        error != HttpReadError::None)
        return error;
    // Bytes past the answer's end belong to no request of ours: the connection is not reused.
    answer.bKeepAlive = bHttp11 && bEndKnown && !AsksToClose(answer) && !reader.HasUnreadBytes();
    return HttpReadError::None;
}

std::vector<HttpChallenge> ParseChallenges(const std::vector<std::string>& wwwAuthenticate)
{
    std::vector<HttpChallenge> answerable;
    for (const std::string& header : wwwAuthenticate) {
        if (header.size() > kMaxChallengeHeaderBytes)
            continue;
        std::vector<RawChallenge> raws;
        for (std::string_view piece : SplitOutsideQuotes(header))
            TakePiece(piece, raws);
        for (const RawChallenge& raw : raws) {
            if (answerable.size() == kMaxChallenges)
                return answerable;
            if (std::optional<HttpChallenge> challenge = Answerable(raw))
                answerable.push_back(std::move(*challenge));
        }
    }
    return answerable;
}

std::string BasicAuthorization(std::string_view user, std::string_view password)
{
    if (HasControl(user) || user.find(':') != std::string_view::npos)
        return {};
    return "Basic " + Base64(JoinedWithColons({user, password}));
}

std::string DigestAuthorization(const HttpChallenge& challenge, std::string_view user, std::string_view password,
                                std::string_view method, std::string_view uri, std::string_view cnonce,
                                uint32_t nonceCount)
{
    const bool bSha256 = challenge.algorithm == "SHA-256";
    if (challenge.scheme != HttpChallenge::Scheme::Digest || (!bSha256 && challenge.algorithm != "MD5"))
        return {};
    for (std::string_view field : {user, std::string_view(challenge.realm), std::string_view(challenge.nonce), uri,
                                   std::string_view(challenge.opaque), cnonce, method})
        if (!IsQuotable(field))
            return {};
    const auto hash = [bSha256](const std::string& text) {
        return bSha256 ? LowerHex(Sha256(text)) : LowerHex(Md5(text));
    };
    const std::string ha1 = hash(JoinedWithColons({user, challenge.realm, password}));
    const std::string ha2 = hash(JoinedWithColons({method, uri}));
    const uint8_t count[4] = {uint8_t(nonceCount >> 24), uint8_t(nonceCount >> 16), uint8_t(nonceCount >> 8),
                              uint8_t(nonceCount)};
    const std::string nc = LowerHex(count);
    const std::string response = challenge.bQopAuth
                                     ? hash(JoinedWithColons({ha1, challenge.nonce, nc, cnonce, "auth", ha2}))
                                     : hash(JoinedWithColons({ha1, challenge.nonce, ha2}));
    std::string value = "Digest username=\"" + std::string(user) + "\", realm=\"" + challenge.realm + "\", nonce=\"" +
                        challenge.nonce + "\", uri=\"" + std::string(uri) + "\", algorithm=" + challenge.algorithm +
                        ", response=\"" + response + "\"";
    if (challenge.bQopAuth)
        value += ", qop=auth, nc=" + nc + ", cnonce=\"" + std::string(cnonce) + "\"";
    if (!challenge.opaque.empty())
        value += ", opaque=\"" + challenge.opaque + "\"";
    return value;
}

}  // namespace ipp
