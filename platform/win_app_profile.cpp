// CWinApp's application profile over TessivIniFile.
#include <tessiv/platform/win_app.h>

#include <tessiv/platform/ini_file.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>

CString CWinApp::GetProfilePath() const
{
    if (m_pszProfileName && m_pszProfileName[0] == '/')
        return m_pszProfileName;
    std::filesystem::path path = TessivIniFile::DefaultPath(m_pszAppName);
    if (m_pszProfileName && m_pszProfileName[0])
        path.replace_filename(m_pszProfileName);
    return path.string().c_str();
}

namespace {

std::optional<std::string> read_entry(CWinApp const &app, TessivIniFile const *batch, LPCTSTR section, LPCTSTR entry)
{
    return batch ? batch->Get(section, entry) : TessivIniFile(app.GetProfilePath().GetString()).Get(section, entry);
}

}  // namespace

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    auto value = read_entry(*this, m_pProfileBatch, lpszSection, lpszEntry);
    return value ? CString(value->c_str()) : CString(lpszDefault);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (m_pProfileBatch)
        return m_pProfileBatch->Write(lpszSection, lpszEntry, lpszValue);
    return TessivIniFile(GetProfilePath().GetString()).Write(lpszSection, lpszEntry, lpszValue);
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    auto value = read_entry(*this, m_pProfileBatch, lpszSection, lpszEntry);
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

TessivProfileBatch::TessivProfileBatch(CWinApp *app) : m_pApp(app)
{
    if (!m_pApp)
        return;
    if (m_pApp->m_nProfileBatchDepth++ == 0) {
        m_pApp->m_pProfileBatch = new TessivIniFile(m_pApp->GetProfilePath().GetString());
        m_pApp->m_pProfileBatch->Hold();
    }
}

TessivProfileBatch::~TessivProfileBatch() { End(); }

BOOL TessivProfileBatch::End()
{
    CWinApp *app = std::exchange(m_pApp, nullptr);
    if (!app || --app->m_nProfileBatchDepth > 0)
        return TRUE;
    std::unique_ptr<TessivIniFile> batch(std::exchange(app->m_pProfileBatch, nullptr));
    return batch->Flush();
}
