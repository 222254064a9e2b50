// Documents and their view lists.
#include <tessiv/platform/cdocument.h>
#include <tessiv/platform/cview.h>

#include <algorithm>
#include <cstdint>

IMPLEMENT_DYNCREATE(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    for (CView *view : m_viewList)
        view->m_pDocument = nullptr;
}

void CDocument::AddView(CView *pView)
{
    if (!pView || pView->m_pDocument == this)
        return;
    if (pView->m_pDocument)
        pView->m_pDocument->RemoveView(pView);
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView *pView)
{
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

// A position is the index of the next view plus one, so null ends.
POSITION CDocument::GetFirstViewPosition() const
{
    return m_viewList.empty() ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t{1});
}

CView *CDocument::GetNextView(POSITION &rPosition) const
{
    auto index = reinterpret_cast<std::uintptr_t>(rPosition);
    if (index == 0 || index > m_viewList.size()) {
        rPosition = nullptr;
        return nullptr;
    }
    CView *view = m_viewList[index - 1];
    rPosition = index < m_viewList.size() ? reinterpret_cast<POSITION>(index + 1) : nullptr;
    return view;
}

void CDocument::UpdateAllViews(CView *pSender, LPARAM lHint, CObject *pHint)
{
    std::vector<CView *> views = m_viewList;  // a view may leave while it updates
    for (CView *view : views)
        if (view != pSender && std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end())
            view->OnUpdate(pSender, lHint, pHint);
}

void CDocument::OnChangedViewList() {}

BOOL CDocument::OnNewDocument()
{
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::SetTitle(LPCTSTR lpszTitle) { m_strTitle = CString(lpszTitle); }

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void *pExtra, void *pHandlerInfo)
{
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
