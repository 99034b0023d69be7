#include "job/document/document_scan.h"

#include <memory>
#include <vector>

#include "files/file_types.h"
#include "job/document/document_reader.h"

namespace {
constexpr size_t kBlockBytes = 1 << 20;
}  // namespace

FileReason ScanDocumentForPrinterCommands(const std::wstring& strPath, const std::function<bool()>& fnStop)
{
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return {};
    const std::unique_ptr<void, decltype(&CloseHandle)> file(hFile, &CloseHandle);
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(hFile, &size) || size.QuadPart <= 0)
        return {};
    SendControl control;
    control.fnStopRequested = fnStop;
    CDocumentReader reader(hFile, static_cast<uint64_t>(size.QuadPart), FileTypeOfExtension(PathExtension(strPath)),
                           control);
    std::vector<uint8_t> block(kBlockBytes);
    std::optional<size_t> nRead;
    while ((nRead = reader.Read(block.data(), block.size())) && *nRead > 0) {
    }
    return !nRead && reader.Fault().outcome == FileOutcome::PrinterCommands ? reader.Fault() : FileReason();
}
