#pragma once
// Test printers in the Wine prefix: added with the spooler's own calls (the Wine
// PostScript driver is registered first) and deleted again when the object goes.
#include <string>

class CTestPrinter {
public:
    // strComment is read by the stand-in capability check as a device ID.
    CTestPrinter(const std::wstring& strName, const std::wstring& strPort, const std::wstring& strComment = L"");
    ~CTestPrinter();
    CTestPrinter(const CTestPrinter&) = delete;
    CTestPrinter& operator=(const CTestPrinter&) = delete;
    bool IsAdded() const { return m_bAdded; }
    void MakeDefault() const;
    const std::wstring& Name() const { return m_strName; }

private:
    std::wstring m_strName;
    bool m_bAdded = false;
};

int CountInstalledPrinters();
