#pragma once
// What a printer offers beyond paper and sides, whichever way it told: the trays a job may
// be fed from, the output bins, its staple, punch and fold finishings and PIN printing.
// Only what the printer lists is ever offered, each with the value it is sent as.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The road whose printer told the offer: its values mean nothing on the other one.
enum class TicketRoad { None, Ipp, Spooler };

struct OfferedTray {
    std::string strValue;   // IPP: the media-source keyword; spooler: the PJL MEDIASOURCE keyword
    std::wstring strName;   // the printer's own name, as it is (empty: the keyword is named by Lumeo)
    int32_t nWidth = 0;     // the paper it holds, in hundredths of a millimetre; 0: not known
    int32_t nHeight = 0;
};

struct OfferedBin {
    std::string strValue;   // IPP: the output-bin keyword; spooler: the PJL OUTBIN keyword
    std::wstring strName;
};

struct TicketOffer {
    TicketRoad road = TicketRoad::None;
    std::vector<OfferedTray> trays;
    std::vector<OfferedBin> bins;
    std::vector<int32_t> finishings;  // values of IPP's finishings enum, staple, punch and fold only
    int nPinMaxDigits = 0;            // 0: no PIN printing
    bool bPinHashed = false;          // the PIN goes as its SHA-256

    bool Any() const { return !trays.empty() || !bins.empty() || !finishings.empty() || nPinMaxDigits > 0; }
    // Some tray says which paper it holds: "By paper size" can choose one.
    bool KnowsTrayPaper() const;
};

// A printer lists no more than this of each; past it the rest is not offered.
constexpr size_t kMaxOfferedValues = 32;
// No PIN is longer, whatever a printer allows.
constexpr int kMaxPinDigits = 32;

enum class FinishingKind { Staple, Punch, Fold };
// The kind of a finishings value Lumeo offers; nothing for every other value.
std::optional<FinishingKind> KindOfFinishing(int32_t nValue);
// Its keyword ("staple-dual-left"), empty for a value not offered.
std::string FinishingKeyword(int32_t nValue);
std::optional<int32_t> FinishingOfKeyword(std::string_view keyword);

// A printer's own name for a tray or a bin made into a PJL keyword: its letters and digits
// in capitals ("Tray 2" is TRAY2); empty when the name holds anything else but blanks,
// '-' and '_', which no keyword could say unmistakably.
std::string PjlKeywordOfName(std::string_view name);
