#pragma once
// Temporary files for tests, removed when the object goes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

class TempFile {
public:
    TempFile(const std::string& name, const std::string& content)
    {
        m_path = std::filesystem::temp_directory_path() / ("lumeo_test_" + name);
        std::ofstream(m_path, std::ios::binary) << content;
    }
    ~TempFile()
    {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    std::wstring Path() const { return m_path.wstring(); }

private:
    std::filesystem::path m_path;
};

inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The bytes of a text file in UTF-16LE with BOM, the form the UI string files use.
inline std::string Utf16File(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

// Spool files ("KVQ...") in the temporary folder, which every run must have removed.
inline int SpoolFilesNow()
{
    int nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
        nFiles += entry.path().filename().wstring().rfind(L"KVQ", 0) == 0 ? 1 : 0;
    return nFiles;
}
