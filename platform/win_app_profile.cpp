// CWinApp's application profile over TessivIniFile.
#include <tessiv/platform/win_app.h>

#include <tessiv/platform/ini_file.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

CString CWinApp::GetProfilePath() const
{
    if (m_pszProfileName && m_pszProfileName[0] == '/')
        return m_pszProfileName;
    std::filesystem::path path = TessivIniFile::DefaultPath(m_pszAppName);
    if (m_pszProfileName && m_pszProfileName[0])
        path.replace_filename(m_pszProfileName);
    return path.string().c_str();
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    auto value = TessivIniFile(GetProfilePath().GetString()).Get(lpszSection, lpszEntry);
    return value ? CString(value->c_str()) : CString(lpszDefault);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    return TessivIniFile(GetProfilePath().GetString()).Write(lpszSection, lpszEntry, lpszValue);
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    auto value = TessivIniFile(GetProfilePath().GetString()).Get(lpszSection, lpszEntry);
    if (!value)
        return static_cast<UINT>(nDefault);
    // The leading decimal number counts; text that starts with none reads 0.
    errno = 0;
    long long number = std::strtoll(value->c_str(), nullptr, 10);
    if (errno == ERANGE || number > 0xFFFFFFFFLL || number < -0x80000000LL)
        return static_cast<UINT>(nDefault);
    return static_cast<UINT>(number);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", nValue);
    return WriteProfileString(lpszSection, lpszEntry, text);
}
