// The effect bitmap: reads its bitmap as 32-bit top-down pixels, runs the
// processors over one pair of buffers and swaps the result in.
#include <tessiv/imaging/en_bitmap.h>

#include <algorithm>
#include <cstring>

namespace {

// Larger intermediate images than the GDI layer would make are refused
// before anything is allocated for them.
constexpr long long kMaxPixels = 1LL << 26;

long long Area(CSize size) { return static_cast<long long>(size.cx) * size.cy; }

bool Allocatable(CSize size) { return size.cx >= 0 && size.cy >= 0 && Area(size) <= kMaxPixels; }

void FillHeader(BITMAPINFOHEADER &header, BITMAP const &bm)
{
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = bm.bmWidth;
    header.biHeight = -bm.bmHeight;  // rows top-down
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(bm.bmWidth) * static_cast<DWORD>(bm.bmHeight) * 4;
    header.biClrUsed = 0;
    header.biClrImportant = 0;
}

}  // namespace

CEnBitmap::CEnBitmap(COLORREF crBkgnd) : m_crBkgnd(crBkgnd) {}

CEnBitmap::~CEnBitmap() = default;

BOOL CEnBitmap::ProcessImage(C32BitImageProcessor *pProcessor)
{
    CArray<C32BitImageProcessor *, C32BitImageProcessor *> chain;
    chain.Add(pProcessor);
    return ProcessImage(chain);
}

BOOL CEnBitmap::ProcessImage(CArray<C32BitImageProcessor *, C32BitImageProcessor *> &aProcessors)
{
    if (!m_hObject)
        return FALSE;
    INT_PTR const steps = aProcessors.GetSize();
    if (!steps)
        return TRUE;
    BITMAP bm;
    if (!GetObject(sizeof(BITMAP), &bm))
        return FALSE;

    CSize const sizeBitmap(bm.bmWidth, bm.bmHeight);
    CSize sizeMax = sizeBitmap;
    CSize size = sizeBitmap;
    for (INT_PTR i = 0; i < steps; ++i) {
        if (!aProcessors[i])
            return FALSE;
        size = aProcessors[i]->CalcDestSize(size);
        if (!Allocatable(size))
            return FALSE;
        sizeMax.cx = std::max(sizeMax.cx, size.cx);
        sizeMax.cy = std::max(sizeMax.cy, size.cy);
    }
    if (!Allocatable(sizeMax))
        return FALSE;

    RGBX *pSrc = GetDIBits32();
    if (!pSrc)
        return FALSE;
    RGBX *pDest = new RGBX[static_cast<std::size_t>(Area(sizeMax))]();
    Fill(pDest, sizeMax, m_crBkgnd);

    BOOL bResult = TRUE;
    CSize sizeSrc = sizeBitmap;
    CSize sizeDest = sizeBitmap;
    for (INT_PTR i = 0; i < steps; ++i) {
        if (i > 0) {
            // The source buffer always holds at least the current input, so
            // it is only replaced when an output outgrew its input.
            if (sizeDest.cx > sizeSrc.cx || sizeDest.cy > sizeSrc.cy) {
                delete[] pSrc;
                pSrc = new RGBX[static_cast<std::size_t>(Area(sizeDest))];
            }
            std::memcpy(static_cast<void *>(pSrc), pDest,
                        static_cast<std::size_t>(Area(sizeDest)) * sizeof(RGBX));
            Fill(pDest, sizeDest, m_crBkgnd);
            sizeSrc = sizeDest;
        }
        sizeDest = aProcessors[i]->CalcDestSize(sizeSrc);
        // A size that changed since it was measured would overrun the buffer.
        if (sizeDest.cx < 0 || sizeDest.cy < 0 || sizeDest.cx > sizeMax.cx || sizeDest.cy > sizeMax.cy)
            bResult = FALSE;
        else
            bResult = aProcessors[i]->ProcessPixels(pSrc, sizeSrc, pDest, sizeDest);
        if (!bResult) {
            delete[] pSrc;
            delete[] pDest;
            return FALSE;
        }
    }

    // An empty output has no bitmap to become; the old image stays.
    if (sizeDest.cx > 0 && sizeDest.cy > 0) {
        HDC hdc = ::GetDC(nullptr);
        HBITMAP hbm = ::CreateCompatibleBitmap(hdc, sizeDest.cx, sizeDest.cy);
        if (hbm) {
            BITMAPINFO bi{};
            int const nHeight = PrepareBitmapInfo32(bi, hbm);
            if (nHeight && ::SetDIBits(hdc, hbm, 0, static_cast<UINT>(nHeight), pDest, &bi, DIB_RGB_COLORS)) {
                DeleteObject();
                bResult = Attach(hbm);
                if (!bResult)
                    ::DeleteObject(hbm);
            } else {
                ::DeleteObject(hbm);
            }
        }
        ::ReleaseDC(nullptr, hdc);
    }

    delete[] pSrc;
    delete[] pDest;
    return bResult;
}

BOOL CEnBitmap::GrayImage()
{
    CImageGrayer gray;
    return ProcessImage(&gray);
}

BOOL CEnBitmap::MakeDisabled(COLORREF crMask)
{
    CImageGrayer gray;
    gray.SetBkColor(GetRValue(crMask), GetGValue(crMask), GetBValue(crMask));
    CImageHigh lighter(0.12f);
    lighter.SetBkColor(GetRValue(crMask), GetGValue(crMask), GetBValue(crMask));

    CArray<C32BitImageProcessor *, C32BitImageProcessor *> chain;
    chain.Add(&gray);
    chain.Add(&lighter);
    chain.Add(&lighter);
    chain.Add(&lighter);
    return ProcessImage(chain);
}

BOOL CEnBitmap::MakeNotActive(COLORREF crMask)
{
    CImageHigh lighter(0.01f);
    lighter.SetBkColor(GetRValue(crMask), GetGValue(crMask), GetBValue(crMask));

    CArray<C32BitImageProcessor *, C32BitImageProcessor *> chain;
    chain.Add(&lighter);
    chain.Add(&lighter);
    return ProcessImage(chain);
}

RGBX *CEnBitmap::GetDIBits32()
{
    BITMAP bm;
    if (!GetObject(sizeof(BITMAP), &bm))
        return nullptr;
    if (bm.bmHeight == 0)
        return nullptr;
    if (bm.bmWidth < 0 || bm.bmHeight < 0 || Area(CSize(bm.bmWidth, bm.bmHeight)) > kMaxPixels)
        return nullptr;

    BITMAPINFO bi{};
    FillHeader(bi.bmiHeader, bm);
    RGBX *pPixels = new RGBX[static_cast<std::size_t>(bm.bmWidth) * static_cast<std::size_t>(bm.bmHeight)];

    HDC hdc = ::GetDC(nullptr);
    if (!::GetDIBits(hdc, static_cast<HBITMAP>(m_hObject), 0, static_cast<UINT>(bm.bmHeight), pPixels, &bi,
                     DIB_RGB_COLORS)) {
        delete[] pPixels;
        pPixels = nullptr;
    }
    ::ReleaseDC(nullptr, hdc);
    return pPixels;
}

int CEnBitmap::PrepareBitmapInfo32(BITMAPINFO &bi, HBITMAP hBitmap)
{
    BITMAP bm;
    HGDIOBJ const hObject = hBitmap ? static_cast<HGDIOBJ>(hBitmap) : m_hObject;
    if (!::GetObject(hObject, sizeof(BITMAP), &bm))
        return 0;
    // The resolution fields are left as the caller had them.
    FillHeader(bi.bmiHeader, bm);
    return bm.bmHeight;
}

BOOL CEnBitmap::Fill(RGBX *pPixels, CSize size, COLORREF color)
{
    if (!pPixels)
        return FALSE;
    if (size.cx <= 0 || size.cy <= 0)
        return TRUE;
    std::size_t const cx = static_cast<std::size_t>(size.cx);
    std::size_t const cy = static_cast<std::size_t>(size.cy);

    if (color == 0xFFFFFF || color == 0xFFFFFFFF) {
        std::memset(static_cast<void *>(pPixels), 0xFF, cx * cy * sizeof(RGBX));
        return TRUE;
    }
    if (color == 0) {
        std::memset(static_cast<void *>(pPixels), 0, cx * cy * sizeof(RGBX));
        return TRUE;
    }

    // The first pixel, then ever larger copies of what is already filled:
    // first along the row, then whole rows.
    pPixels[0] = RGBX(color);
    for (std::size_t n = 1; n <= cx; n *= 2)
        std::memcpy(static_cast<void *>(pPixels + n), pPixels, std::min(n, cx - n) * sizeof(RGBX));
    for (std::size_t n = 1; n <= cy; n *= 2)
        std::memcpy(static_cast<void *>(pPixels + n * cx), pPixels, std::min(n, cy - n) * cx * sizeof(RGBX));
    return TRUE;
}
