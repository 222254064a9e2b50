// GDI object wrappers and their temporary maps.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/gdi_object.h>
#include <tessiv/platform/handle_maps.h>

namespace {

using tessiv_platform::HandleMap;

// Permanent objects of every class share one map; temporaries are kept per
// class, so FromHandle of each class returns an object of that class.
HandleMap<HGDIOBJ, CGdiObject> &object_map()
{
    thread_local HandleMap<HGDIOBJ, CGdiObject> map;
    return map;
}

template <class Wrapper>
HandleMap<HGDIOBJ, Wrapper> &temporaries()
{
    thread_local HandleMap<HGDIOBJ, Wrapper> map;
    return map;
}

template <class Wrapper>
Wrapper *wrapper_of(HGDIOBJ handle)
{
    if (!handle || !GetObjectType(handle))
        return nullptr;
    if (auto *permanent = dynamic_cast<Wrapper *>(object_map().find_permanent(handle)))
        return permanent;
    return temporaries<Wrapper>().find_or_make(handle, [](HGDIOBJ wrapped) {
        auto object = std::make_unique<Wrapper>();
        object->m_hObject = wrapped;
        return object;
    });
}

template <class Wrapper>
void drop_temporaries()
{
    temporaries<Wrapper>().drop_temporaries([](Wrapper &object) { object.m_hObject = nullptr; });
}

}  // namespace

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CBitmap, CGdiObject)
IMPLEMENT_DYNCREATE(CBrush, CGdiObject)

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject *CGdiObject::FromHandle(HGDIOBJ hObject) { return wrapper_of<CGdiObject>(hObject); }

void CGdiObject::DeleteTempMap()
{
    drop_temporaries<CGdiObject>();
    drop_temporaries<CBitmap>();
    drop_temporaries<CBrush>();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (m_hObject || !hObject || !object_map().add_permanent(hObject, this))
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    object_map().remove_permanent(handle, this);
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }
UINT CGdiObject::GetObjectType() const { return m_hObject ? ::GetObjectType(m_hObject) : 0; }

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    HGDIOBJ stock = GetStockObject(nIndex);
    return stock && Attach(stock);
}

CBitmap *CBitmap::FromHandle(HBITMAP hBitmap) { return wrapper_of<CBitmap>(hBitmap); }

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, void const *lpBits)
{
    if (m_hObject)
        return FALSE;
    HBITMAP bitmap = ::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits);
    return bitmap && Attach(bitmap);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC *pDC, int nWidth, int nHeight)
{
    if (m_hObject)
        return FALSE;
    HBITMAP bitmap = ::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight);
    return bitmap && Attach(bitmap);
}

int CBitmap::GetBitmap(BITMAP *pBitMap) const
{
    return m_hObject ? ::GetObjectA(m_hObject, sizeof(BITMAP), pBitMap) : 0;
}

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

CBrush *CBrush::FromHandle(HBRUSH hBrush) { return wrapper_of<CBrush>(hBrush); }

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    if (m_hObject)
        return FALSE;
    HBRUSH brush = ::CreateSolidBrush(crColor);
    return brush && Attach(brush);
}
