// CDockState and CControlBarInfo: the docking layout of a frame's bars as
// records that go to and come from the application profile. Each record
// describes one bar: its ID, whether it is visible, floating, horizontal,
// where it sits, and the dock bar and floating position it last used.
//
// Profile layout (our own): the section "<profile>-Summary" holds "Bars"
// (the record count); record i lives in the section "<profile>-Bar<i>" with
// the entries "BarID", "Visible", "Floating", "Horz", "XPos", "YPos",
// "MRUWidth", "Docking", "MRUDockID", "MRUDockRect" (four numbers),
// "MRUFloatStyle", "MRUFloatX", "MRUFloatY", and for a dock bar "IsDockBar"
// with "Bars" and "Bar#<n>" listing the IDs of the bars it holds (0: a row
// break). Entries equal to their default are not written, and sections
// past the saved count are removed, so saving what was loaded writes the
// same text. Loading tolerates missing or damaged entries: they read as
// defaults, counts are capped before anything is allocated.
#pragma once

#include <tessiv/platform/carray.h>
#include <tessiv/platform/cobject.h>
#include <tessiv/platform/windef.h>

#include <vector>

class CControlBar;
class CDockState;

class CControlBarInfo {
public:
    CControlBarInfo() = default;

    UINT m_nBarID = 0;          // the bar's control ID
    BOOL m_bVisible = FALSE;    // the window is visible
    BOOL m_bFloating = FALSE;   // the bar floats in a mini frame
    BOOL m_bHorz = FALSE;       // horizontal (top or bottom, or floating so)
    BOOL m_bDockBar = FALSE;    // the record describes a dock bar
    CPoint m_pointPos{-1, -1};  // top-left in the dock bar, or of the floating frame on the screen
    int m_nMRUWidth = 32767;    // the floating width last used
    BOOL m_bDocking = FALSE;    // the MRU dock fields are set
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos{0, 0, 0, 0};
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos{0, 0};
    // For a dock bar: the IDs of its bars in order, 0 between rows.
    std::vector<UINT> m_arrBarID;
    CControlBar *m_pBar = nullptr;  // not saved; set while a state is applied

    // FALSE when the section is missing or names no bar.
    BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState *pDockState);
    // Writes the record's section in one go; FALSE when the profile could
    // not be written (inside an outer batch, that batch's end tells).
    BOOL SaveState(LPCTSTR lpszProfileName, int nIndex);
};

class CDockState : public CObject {
    DECLARE_DYNAMIC(CDockState)

public:
    CDockState() = default;
    // Deletes the records.
    ~CDockState() override;

    // Owned records, in the order they were added.
    CArray<CControlBarInfo *, CControlBarInfo *> m_arrBarInfo;

    // Replaces the records by those under the profile name; an absent or
    // damaged layout gives fewer (or no) records.
    void LoadState(LPCTSTR lpszProfileName);
    // Writes every record and the summary in one write of the profile.
    void SaveState(LPCTSTR lpszProfileName);
    // Deletes every record.
    void Clear();

    // Records kept apart by the profile: at most this many are read.
    static constexpr int kMaxBars = 1024;
};
