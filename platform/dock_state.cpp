// Dock state records and their profile text.
#include <tessiv/platform/dock_state.h>
#include <tessiv/platform/win_app.h>

#include <cstdio>

IMPLEMENT_DYNAMIC(CDockState, CObject)

namespace {

CString summary_section(LPCTSTR profile)
{
    CString section;
    section.Format("%s-Summary", profile);
    return section;
}

CString bar_section(LPCTSTR profile, int index)
{
    CString section;
    section.Format("%s-Bar%d", profile, index);
    return section;
}

// Writes the value, or removes the entry when it equals the default, so the
// text written depends only on the record.
void write_int(CWinApp *app, CString const &section, LPCTSTR entry, int value, int default_value)
{
    if (value == default_value)
        app->WriteProfileString(section, entry, nullptr);
    else
        app->WriteProfileInt(section, entry, value);
}

// An entry as a signed number: the default when missing or not a number.
int read_int(CWinApp *app, CString const &section, LPCTSTR entry, int default_value)
{
    CString text = app->GetProfileString(section, entry, nullptr);
    int value = 0;
    char rest = 0;
    if (text.IsEmpty() || std::sscanf(text, "%d %c", &value, &rest) != 1)
        return default_value;
    return value;
}

}  // namespace

BOOL CControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex)
{
    CWinApp *app = AfxGetApp();
    if (!app || !lpszProfileName)
        return FALSE;
    CString section = bar_section(lpszProfileName, nIndex);
    CControlBarInfo defaults;
    TessivProfileBatch batch(app);
    app->WriteProfileInt(section, "BarID", static_cast<int>(m_nBarID));
    write_int(app, section, "Visible", m_bVisible ? 1 : 0, 0);
    write_int(app, section, "Floating", m_bFloating ? 1 : 0, 0);
    write_int(app, section, "Horz", m_bHorz ? 1 : 0, 0);
    write_int(app, section, "XPos", m_pointPos.x, defaults.m_pointPos.x);
    write_int(app, section, "YPos", m_pointPos.y, defaults.m_pointPos.y);
    write_int(app, section, "MRUWidth", m_nMRUWidth, defaults.m_nMRUWidth);
    write_int(app, section, "Docking", m_bDocking ? 1 : 0, 0);
    write_int(app, section, "MRUDockID", static_cast<int>(m_uMRUDockID), 0);
    if (m_rectMRUDockPos == defaults.m_rectMRUDockPos) {
        app->WriteProfileString(section, "MRUDockRect", nullptr);
    } else {
        CString rect;
        rect.Format("%d %d %d %d", m_rectMRUDockPos.left, m_rectMRUDockPos.top, m_rectMRUDockPos.right,
                    m_rectMRUDockPos.bottom);
        app->WriteProfileString(section, "MRUDockRect", rect);
    }
    write_int(app, section, "MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle), 0);
    write_int(app, section, "MRUFloatX", m_ptMRUFloatPos.x, 0);
    write_int(app, section, "MRUFloatY", m_ptMRUFloatPos.y, 0);
    write_int(app, section, "IsDockBar", m_bDockBar ? 1 : 0, 0);
    int count = m_bDockBar ? static_cast<int>(m_arrBarID.size()) : 0;
    write_int(app, section, "Bars", count, 0);
    for (int index = 0; index < count; ++index) {
        CString entry;
        entry.Format("Bar#%d", index);
        app->WriteProfileInt(section, entry, static_cast<int>(m_arrBarID[static_cast<std::size_t>(index)]));
    }
    return batch.End();
}

BOOL CControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState *)
{
    CWinApp *app = AfxGetApp();
    if (!app || !lpszProfileName)
        return FALSE;
    CString section = bar_section(lpszProfileName, nIndex);
    int id = read_int(app, section, "BarID", 0);
    if (id <= 0)
        return FALSE;
    CControlBarInfo defaults;
    m_nBarID = static_cast<UINT>(id);
    m_bVisible = read_int(app, section, "Visible", 0) != 0;
    m_bFloating = read_int(app, section, "Floating", 0) != 0;
    m_bHorz = read_int(app, section, "Horz", 0) != 0;
    m_pointPos.x = read_int(app, section, "XPos", defaults.m_pointPos.x);
    m_pointPos.y = read_int(app, section, "YPos", defaults.m_pointPos.y);
    m_nMRUWidth = read_int(app, section, "MRUWidth", defaults.m_nMRUWidth);
    m_bDocking = read_int(app, section, "Docking", 0) != 0;
    m_uMRUDockID = static_cast<UINT>(read_int(app, section, "MRUDockID", 0));
    m_rectMRUDockPos = defaults.m_rectMRUDockPos;
    CString rect = app->GetProfileString(section, "MRUDockRect", nullptr);
    int left = 0, top = 0, right = 0, bottom = 0;
    char rest = 0;
    if (std::sscanf(rect, "%d %d %d %d %c", &left, &top, &right, &bottom, &rest) == 4)
        m_rectMRUDockPos = CRect(left, top, right, bottom);
    m_dwMRUFloatStyle = static_cast<DWORD>(read_int(app, section, "MRUFloatStyle", 0));
    m_ptMRUFloatPos.x = read_int(app, section, "MRUFloatX", 0);
    m_ptMRUFloatPos.y = read_int(app, section, "MRUFloatY", 0);
    m_bDockBar = read_int(app, section, "IsDockBar", 0) != 0;
    m_arrBarID.clear();
    int count = m_bDockBar ? read_int(app, section, "Bars", 0) : 0;
    if (count > CDockState::kMaxBars)
        count = 0;
    for (int index = 0; index < count; ++index) {
        CString entry;
        entry.Format("Bar#%d", index);
        int bar = read_int(app, section, entry, 0);
        m_arrBarID.push_back(bar > 0 ? static_cast<UINT>(bar) : 0);
    }
    return TRUE;
}

CDockState::~CDockState() { Clear(); }

void CDockState::Clear()
{
    for (INT_PTR index = 0; index < m_arrBarInfo.GetSize(); ++index)
        delete m_arrBarInfo[index];
    m_arrBarInfo.RemoveAll();
}

void CDockState::LoadState(LPCTSTR lpszProfileName)
{
    Clear();
    CWinApp *app = AfxGetApp();
    if (!app || !lpszProfileName)
        return;
    int count = read_int(app, summary_section(lpszProfileName), "Bars", 0);
    if (count < 0 || count > kMaxBars)
        return;
    for (int index = 0; index < count; ++index) {
        auto *info = new CControlBarInfo;
        if (info->LoadState(lpszProfileName, index, this))
            m_arrBarInfo.Add(info);
        else
            delete info;
    }
}

void CDockState::SaveState(LPCTSTR lpszProfileName)
{
    CWinApp *app = AfxGetApp();
    if (!app || !lpszProfileName)
        return;
    int count = static_cast<int>(m_arrBarInfo.GetSize());
    if (count > kMaxBars)
        count = kMaxBars;
    TessivProfileBatch batch(app);
    for (int index = 0; index < count; ++index)
        m_arrBarInfo[index]->SaveState(lpszProfileName, index);
    // Sections of an earlier, longer layout go, so the text is this state's alone.
    for (int index = count; index < kMaxBars; ++index) {
        CString section = bar_section(lpszProfileName, index);
        if (app->GetProfileString(section, "BarID", nullptr).IsEmpty())
            break;
        app->WriteProfileString(section, nullptr, nullptr);
    }
    app->WriteProfileInt(summary_section(lpszProfileName), "Bars", count);
}
