#include "job/ipp/ipp_job_attributes.h"

#include <algorithm>
#include <string>

#include "ipp/ipp_sha256.h"
#include "printer/state/ticket_offer.h"

namespace {
using ipp::Attribute;
using ipp::GroupTag;
using ipp::ValueTag;

struct PwgSize {
    const char* pszName;
    int32_t nWidth;  // hundredths of a millimetre, as media-size counts
    int32_t nHeight;
};

// In the rows' order of the paper-size table.
constexpr PwgSize kSizes[] = {
    {"", 0, 0},  // Original: the document's own
    {"na_letter_8.5x11in", 21590, 27940},
    {"na_legal_8.5x14in", 21590, 35560},
    {"na_executive_7.25x10.5in", 18415, 26670},
    {"iso_a4_210x297mm", 21000, 29700},
    {"iso_a5_148x210mm", 14800, 21000},
    {"iso_b5_176x250mm", 17600, 25000},
    {"na_foolscap_8.5x13in", 21590, 33020},
    {"na_number-10_4.125x9.5in", 10478, 24130},
    {"iso_dl_110x220mm", 11000, 22000},
    {"iso_c5_162x229mm", 16200, 22900},
    {"iso_c6_114x162mm", 11400, 16200},
    {"jis_b5_182x257mm", 18200, 25700},
    {"na_monarch_3.875x7.5in", 9843, 19050},
    {"iso_a6_105x148mm", 10500, 14800},
    {"iso_a3_297x420mm", 29700, 42000},
    {"jis_b4_257x364mm", 25700, 36400},
};

// In the rows' order of the paper-type table.
constexpr const char* kTypes[] = {
    "",  // Default: the printer's own
    "stationery", "stationery-heavyweight", "stationery-lightweight", "stationery-fine", "stationery-colored",
    "cardstock", "labels", "transparency", "envelope", "stationery-preprinted",
};

// Every option the road may send: each is checked against its *-supported below.
constexpr std::string_view kOptions[] = {"copies",     "sides",      "print-color-mode", "orientation-requested",
                                         "media",      "media-type", "media-col",        "page-ranges",
                                         "print-scaling", "media-source",     "output-bin",
                                         "finishings",    "job-password", "job-password-encryption"};

const Attribute* Supported(const ipp::Message& printer, const std::string& name)
{
    const Attribute* pSupported = printer.Find(GroupTag::Printer, name + "-supported");
    return pSupported && !pSupported->OutOfBand() ? pSupported : nullptr;
}

bool ListsKeyword(const ipp::Message& printer, const std::string& name, const std::string& value)
{
    const Attribute* pSupported = Supported(printer, name);
    if (!pSupported)
        return false;
    const std::vector<std::string> values = pSupported->Texts();
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool ListsEnum(const ipp::Message& printer, const std::string& name, int32_t value)
{
    const Attribute* pSupported = Supported(printer, name);
    return pSupported &&
           std::any_of(pSupported->values.begin(), pSupported->values.end(),
                       [&](const ipp::Value& v) { return v.tag == ValueTag::Enum && v.integer == value; });
}

bool CoversNumber(const ipp::Message& printer, const std::string& name, int32_t value)
{
    const Attribute* pSupported = Supported(printer, name);
    return pSupported && std::any_of(pSupported->values.begin(), pSupported->values.end(), [&](const ipp::Value& v) {
               return v.tag == ValueTag::RangeOfInteger ? v.range.lower <= value && value <= v.range.upper
                                                        : v.tag == ValueTag::Integer && v.integer == value;
           });
}

Attribute Integer(const char* pszName, int32_t value)
{
    Attribute a{pszName, {}};
    a.values.emplace_back().tag = ValueTag::Integer;
    a.values.back().integer = value;
    return a;
}

class Builder {
public:
    Builder(const ipp::Message& printer, IppJobAttributes& out) : m_printer(printer), m_out(out) {}

    // Each check names the first option the printer does not take; later ones add nothing.
    bool Refuse(const std::string& name, const std::string& value)
    {
        if (m_out.refusal.outcome == FileOutcome::Sent)
            m_out.refusal = FileReason(FileOutcome::OptionNotTaken, std::wstring(name.begin(), name.end()) + L"=" +
                                                                        std::wstring(value.begin(), value.end()));
        return false;
    }
    void Keyword(const std::string& name, const std::string& value)
    {
        if (ListsKeyword(m_printer, name, value) || Refuse(name, value))
            m_out.job.Add(name, ValueTag::Keyword, value);
    }
    void Enum(const std::string& name, int32_t value, const std::string& shown)
    {
        if (ListsEnum(m_printer, name, value) || Refuse(name, shown))
            m_out.job.AddInteger(name, ValueTag::Enum, value);
    }
    void Copies(int32_t copies)
    {
        if (CoversNumber(m_printer, "copies", copies) || Refuse("copies", std::to_string(copies)))
            m_out.job.AddInteger("copies", ValueTag::Integer, copies);
    }
    void PageRange(int32_t from, int32_t to)
    {
        const Attribute* pSupported = Supported(m_printer, "page-ranges");
        if ((pSupported && pSupported->Boolean().value_or(false)) ||
            Refuse("page-ranges", std::to_string(from) + "-" + std::to_string(to))) {
            Attribute& a = m_out.job.AddInteger("page-ranges", ValueTag::RangeOfInteger, 0);
            a.values.back().range = {from, to};
        }
    }
    // A size alone is `media`; with a type or a source, all go in `media-col`, which the
    // printer must take beside them.
    void Media(const PwgSize& size, const char* pszType, const std::string& source)
    {
        if (!*pszType && source.empty()) {
            if (*size.pszName)
                Keyword("media", size.pszName);
            return;
        }
        const bool bSizeTaken = !*size.pszName || ListsKeyword(m_printer, "media", size.pszName) ||
                                Refuse("media", size.pszName);
        if (!bSizeTaken || !(!*pszType || MemberTaken("media-type", pszType)) ||
            !(source.empty() || MemberTaken("media-source", source)))
            return;
        std::vector<Attribute>& members = m_out.job.AddCollection("media-col");
        if (*size.pszName) {
            Attribute& mediaSize = members.emplace_back(Attribute{"media-size", {}});
            mediaSize.values.emplace_back().tag = ValueTag::BegCollection;
            mediaSize.values.back().members = {Integer("x-dimension", size.nWidth),
                                               Integer("y-dimension", size.nHeight)};
        }
        for (const auto& [pszName, value] : {std::pair{"media-source", source}, std::pair{"media-type", std::string(pszType)}}) {
            if (value.empty())
                continue;
            Attribute& member = members.emplace_back(Attribute{pszName, {}});
            member.values.emplace_back().tag = ValueTag::Keyword;
            member.values.back().text = value;
        }
    }
    void Finishings(const std::vector<int32_t>& values)
    {
        for (const int32_t nValue : values)
            if (!ListsEnum(m_printer, "finishings", nValue)) {
                Refuse("finishings", FinishingKeyword(nValue));
                return;
            }
        Attribute& finishings = m_out.job.AddInteger("finishings", ValueTag::Enum, values.front());
        for (size_t i = 1; i < values.size(); ++i) {
            finishings.values.emplace_back().tag = ValueTag::Enum;
            finishings.values.back().integer = values[i];
        }
    }
    // Hashed where the printer takes SHA-256; as typed only over TLS.
    void Pin(const std::string& digits, bool bEncrypted)
    {
        const Attribute* pMost = Supported(m_printer, "job-password");
        if (!pMost || pMost->Integer().value_or(0) < static_cast<int32_t>(digits.size())) {
            Refuse("job-password", std::to_string(digits.size()) + " digits");
            return;
        }
        const bool bHashed = ListsKeyword(m_printer, "job-password-encryption", "sha2-256");
        const bool bAsTyped = !Supported(m_printer, "job-password-encryption") ||
                              ListsKeyword(m_printer, "job-password-encryption", "none");
        if (!bHashed && !(bAsTyped && bEncrypted)) {
            Refuse("job-password-encryption", "sha2-256");
            return;
        }
        Attribute password{"job-password", {}};
        password.values.emplace_back().tag = ValueTag::OctetString;
        if (bHashed) {
            const std::array<uint8_t, 32> digest = Sha256(digits);
            password.values.back().text.assign(digest.begin(), digest.end());
        } else {
            password.values.back().text = digits;
        }
        m_out.operation.push_back(std::move(password));
        Attribute encryption{"job-password-encryption", {}};
        encryption.values.emplace_back().tag = ValueTag::Keyword;
        encryption.values.back().text = bHashed ? "sha2-256" : "none";
        m_out.operation.push_back(std::move(encryption));
    }

private:
    // A member of media-col: its value listed, and media-col taking the member.
    bool MemberTaken(const std::string& name, const std::string& value)
    {
        return (ListsKeyword(m_printer, name, value) || Refuse(name, value)) &&
               (ListsKeyword(m_printer, "media-col", name) || Refuse("media-col", name));
    }

    const ipp::Message& m_printer;
    IppJobAttributes& m_out;
};
}  // namespace

const std::vector<std::string>& IppRunPrinterAttributes()
{
    static const std::vector<std::string> kNames = [] {
        // The trays' loaded media pick a tray by paper size.
        std::vector<std::string> names = {"operations-supported", "media-col-ready"};
        for (std::string_view option : kOptions)
            names.push_back(std::string(option) + "-supported");
        return names;
    }();
    return kNames;
}

bool IsJobOptionAttribute(std::string_view name)
{
    return std::find(std::begin(kOptions), std::end(kOptions), name) != std::end(kOptions);
}

const char* PwgMediaName(int nPaperSize)
{
    return nPaperSize >= 0 && nPaperSize < static_cast<int>(std::size(kSizes)) ? kSizes[nPaperSize].pszName : "";
}

const char* PwgMediaType(int nPaperType)
{
    return nPaperType >= 0 && nPaperType < static_cast<int>(std::size(kTypes)) ? kTypes[nPaperType] : "";
}

IppJobAttributes JobAttributesOverIpp(const JobSettings& settings, bool bPdf, const ipp::Message& printer,
                                      bool bEncrypted)
{
    IppJobAttributes out;
    // No IPP attribute scales by a percentage: a zoom would be lost on the way.
    if (!settings.m_bFitToPage && settings.m_nZoom != 100) {
        out.refusal = FileReason(FileOutcome::ZoomNotCarried, std::to_wstring(settings.m_nZoom));
        out.refusal.bFitTaken = ListsKeyword(printer, "print-scaling", "fit");
        return out;
    }
    Builder add(printer, out);
    // What the printer does when told nothing: one copy, one side, its own colour, the
    // document's paper and orientation. Only a choice is sent, and checked.
    if (settings.m_nCopies > 1)
        add.Copies(settings.m_nCopies);
    if (settings.m_nDuplex == 1 || settings.m_nDuplex == 2)
        add.Keyword("sides", settings.m_nDuplex == 1 ? "two-sided-long-edge" : "two-sided-short-edge");
    else if (Supported(printer, "sides"))
        add.Keyword("sides", "one-sided");
    if (settings.m_nColorMode == 1)
        add.Keyword("print-color-mode", "monochrome");
    if (settings.m_nOrientation == 1)
        add.Enum("orientation-requested", 4, "landscape");
    const PwgSize& size = settings.m_nPaperSize > 0 && settings.m_nPaperSize < static_cast<int>(std::size(kSizes))
                              ? kSizes[settings.m_nPaperSize]
                              : kSizes[0];
    const JobTicket& ticket = settings.m_Ticket;
    add.Media(size, PwgMediaType(settings.m_nPaperType), ticket.strTray);
    if (!ticket.strOutputBin.empty())
        add.Keyword("output-bin", ticket.strOutputBin);
    if (!ticket.arrFinishings.empty())
        add.Finishings(ticket.arrFinishings);
    if (!ticket.strPin.empty())
        add.Pin(ticket.strPin, bEncrypted);
    if (bPdf && settings.m_nPrintRange == 1)
        add.PageRange(settings.m_nFromPage, settings.m_nToPage);
    // Fit must be done; 100 % is what a printer that knows no scaling does anyway.
    if (settings.m_bFitToPage)
        add.Keyword("print-scaling", "fit");
    else if (Supported(printer, "print-scaling"))
        add.Keyword("print-scaling", "none");
    if (out.refusal.outcome != FileOutcome::Sent) {
        out.job.attributes.clear();
        out.operation.clear();
    }
    return out;
}
