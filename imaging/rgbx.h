// RGBX: the pixel of a 32-bit top-down device-independent bitmap, as the
// pixel processors read and write it, with its gray levels.
#pragma once

#include <tessiv/platform/windef.h>

// Four bytes in memory order blue, green, red, reserved; a plain value,
// copied byte for byte.
struct RGBX {
    BYTE btBlue = 0;
    BYTE btGreen = 0;
    BYTE btRed = 0;
    BYTE btUnused = 0;

    RGBX() = default;
    // Arguments red, green, blue (not the memory order).
    RGBX(BYTE red, BYTE green, BYTE blue) : btBlue(blue), btGreen(green), btRed(red) {}
    // From a COLORREF (0x00BBGGRR); its top byte is dropped.
    RGBX(COLORREF colour)
        : btBlue(GetBValue(colour)), btGreen(GetGValue(colour)), btRed(GetRValue(colour))
    {
    }

    // 1 when red, green and blue match; the reserved byte is ignored.
    BOOL Equals(RGBX const &other) const
    {
        return btRed == other.btRed && btGreen == other.btGreen && btBlue == other.btBlue;
    }
    BOOL IsGray() const { return btRed == btGreen && btGreen == btBlue; }

    // (g, g, g) with g = (3 red + 6 green + blue) / 10, truncated.
    RGBX Gray() const
    {
        BYTE const level = GrayLevel();
        return RGBX(level, level, level);
    }
    // As Gray, but levels above 150 wash out to white.
    RGBX GraySpecial() const
    {
        BYTE const level = GrayLevel() > 150 ? 255 : GrayLevel();
        return RGBX(level, level, level);
    }

private:
    BYTE GrayLevel() const { return static_cast<BYTE>((3 * btRed + 6 * btGreen + btBlue) / 10); }
};

static_assert(sizeof(RGBX) == 4, "RGBX is the 4-byte pixel of a 32-bit bitmap");
