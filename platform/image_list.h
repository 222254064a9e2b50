// Image lists: a row of equally sized images on one 32-bit pixel strip, each
// with an optional mask, drawn with their masked pixels left transparent.
// The ImageList_* functions work on HIMAGELIST handles (what tool bars carry
// in their messages); CImageList wraps one such handle.
#pragma once

#include <tessiv/platform/cobject.h>
#include <tessiv/platform/wingdi.h>

class CBitmap;
class CDC;

struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__ *;

// Creation flags. The colour depth only records the request: images are
// stored as 32-bit pixels like every bitmap of the GDI layer.
constexpr UINT ILC_MASK = 0x00000001;
constexpr UINT ILC_COLOR = 0x00000000;
constexpr UINT ILC_COLORDDB = 0x000000FE;
constexpr UINT ILC_COLOR4 = 0x00000004;
constexpr UINT ILC_COLOR8 = 0x00000008;
constexpr UINT ILC_COLOR16 = 0x00000010;
constexpr UINT ILC_COLOR24 = 0x00000018;
constexpr UINT ILC_COLOR32 = 0x00000020;

// Draw styles.
constexpr UINT ILD_NORMAL = 0x00000000;
constexpr UINT ILD_TRANSPARENT = 0x00000001;
constexpr UINT ILD_MASK = 0x00000010;
constexpr UINT ILD_IMAGE = 0x00000020;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// Null when cx or cy is not positive or the counts are negative.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
// FALSE for a handle that is not a live image list.
BOOL ImageList_Destroy(HIMAGELIST list);
// -1 for an invalid handle.
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int *cx, int *cy);
// Cuts the bitmap into width / cx images (a remainder narrower than cx is
// dropped) and appends them; with ILC_MASK, mask pixels (bits set) are
// transparent. A null mask adds opaque images. Returns the index of the
// first added image, -1 on failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add, the mask made of the pixels equal to the mask colour;
// in a masked list those pixels of the source bitmap are turned black.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
// Draws image index at (x, y). In a masked list transparent pixels keep the
// destination, except under ILD_NORMAL with a background colour set, which
// fills them; ILD_MASK draws the mask (white where transparent). A list
// without ILC_MASK draws its images opaque.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// Index -1 removes every image.
BOOL ImageList_Remove(HIMAGELIST list, int index);
// The background colour is CLR_NONE after creation; returns the previous one.
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour);
COLORREF ImageList_GetBkColor(HIMAGELIST list);

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)

public:
    CImageList() = default;
    // Destroys the attached list.
    ~CImageList() override;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // FALSE when a list is already attached or the handle is null.
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const;
    // Index of the first image added, -1 on failure.
    int Add(CBitmap *pbmImage, CBitmap *pbmMask);
    int Add(CBitmap *pbmImage, COLORREF crMask);
    BOOL Remove(int nImage);
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;
    BOOL Draw(CDC *pDC, int nImage, POINT pt, UINT nStyle);
};
