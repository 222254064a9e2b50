// CCreateContext: what a frame passes down when it creates its views: the
// view class to make, the document to connect, and the frame itself.
#pragma once

struct CRuntimeClass;
class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;

struct CCreateContext {
    CRuntimeClass *m_pNewViewClass = nullptr;
    CDocument *m_pCurrentDoc = nullptr;
    CDocTemplate *m_pNewDocTemplate = nullptr;
    CView *m_pLastView = nullptr;
    CFrameWnd *m_pCurrentFrame = nullptr;
};
