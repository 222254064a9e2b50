// CEnBitmap: a bitmap that replaces its image by the output of a chain of
// pixel processors, with the gray, disabled and not-active looks that tool
// bars derive from one full-colour strip.
#pragma once

#include <tessiv/imaging/image_processor.h>
#include <tessiv/imaging/rgbx.h>
#include <tessiv/platform/carray.h>
#include <tessiv/platform/gdi_object.h>
#include <tessiv/platform/library_version.h>

class TESSIV_EXPORT CEnBitmap : public CBitmap {
public:
    // The background colour clears the output buffer before every step.
    CEnBitmap(COLORREF crBkgnd = 0xFFFFFF);
    ~CEnBitmap() override;

    // Runs the processors in order, each reading the previous output, and
    // swaps the result in as a new bitmap; an empty chain does nothing and
    // succeeds. FALSE leaves the image as it was. An output that cannot
    // become a bitmap leaves it too, yet the result is the last step's.
    // The processors stay owned by the caller.
    BOOL ProcessImage(CArray<C32BitImageProcessor *, C32BitImageProcessor *> &aProcessors);
    BOOL ProcessImage(C32BitImageProcessor *pProcessor);

    BOOL GrayImage();
    // Gray, then the luminance raised by 0.12f three times, each step
    // clamped on its own. Pixels of the mask colour pass every step.
    BOOL MakeDisabled(COLORREF crMask);
    // The luminance raised by 0.01f twice; mask pixels pass.
    BOOL MakeNotActive(COLORREF crMask);

protected:
    // The bitmap's pixels as a new top-down buffer the caller frees with
    // delete[]; null on failure or for a bitmap of height 0.
    RGBX *GetDIBits32();
    // Fills a 32-bit top-down header for hBitmap (this object's bitmap when
    // null); returns the height, 0 on failure.
    int PrepareBitmapInfo32(BITMAPINFO &bi, HBITMAP hBitmap = nullptr);
    // Clears size.cx × size.cy pixels to a COLORREF; white (0xFFFFFF or
    // 0xFFFFFFFF) sets every byte to 0xFF, reserved ones included. FALSE for
    // a null buffer.
    static BOOL Fill(RGBX *pPixels, CSize size, COLORREF color);

    COLORREF m_crBkgnd;
};
