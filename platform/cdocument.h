// CDocument: the data a set of views shows. It keeps the list of its views
// (not owned) and tells them of changes through UpdateAllViews.
#pragma once

#include <tessiv/platform/cmd_target.h>
#include <tessiv/platform/mfc_string.h>

#include <vector>

class CView;

// An opaque iteration position over a document's views; null ends.
struct TessivPosition;
using POSITION = TessivPosition *;

class CDocument : public CCmdTarget {
    DECLARE_DYNCREATE(CDocument)

public:
    CDocument() = default;
    // Disconnects the views that are still attached.
    ~CDocument() override;

    // Attaches the view (which must not belong to another document) and
    // calls OnChangedViewList.
    void AddView(CView *pView);
    void RemoveView(CView *pView);
    POSITION GetFirstViewPosition() const;
    CView *GetNextView(POSITION &rPosition) const;
    // Calls OnUpdate of every view but the sender.
    void UpdateAllViews(CView *pSender, LPARAM lHint = 0, CObject *pHint = nullptr);
    virtual void OnChangedViewList();

    virtual BOOL OnNewDocument();
    virtual void SetTitle(LPCTSTR lpszTitle);
    CString const &GetTitle() const { return m_strTitle; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    BOOL IsModified() const { return m_bModified; }
    // Route commands to this document.
    BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, void *pHandlerInfo) override;

protected:
    CString m_strTitle;
    BOOL m_bModified = FALSE;
    std::vector<CView *> m_viewList;

    DECLARE_MESSAGE_MAP()
};
