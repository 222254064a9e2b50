// Private to libtessiv_platform and the resource compiler: the byte layout of
// the resource table a resource library exports. All numbers little-endian.
//
// A resource library is a shared library that exports two symbols:
//   extern "C" const unsigned char TessivResourceTable[];
//   extern "C" const unsigned int TessivResourceTableSize;
// The table is
//   magic "TSVRSRC1" (8 bytes), u32 entry count,
//   entries of 12 bytes: u16 type, u16 id, u32 offset (from the table's
//   start), u32 size,
//   then the resource data the entries point into.
// Resource data by type:
//   RT_GROUP_CURSOR: u16 image count, then per image 12 bytes: u16 width,
//     u16 height, u16 bits per pixel, u16 hot spot x, u16 hot spot y,
//     u16 id of the RT_CURSOR entry that holds the image.
//   RT_CURSOR: u16 width, u16 height, u16 bits per pixel (1 or 8), u16 hot
//     spot x, u16 hot spot y, u16 palette size; the palette (blue, green,
//     red, reserved per colour; empty for 1 bit); the colour plane, rows top
//     down (8 bits: one palette index per pixel; 1 bit: the XOR plane,
//     (width + 7) / 8 bytes a row, most significant bit first); the AND mask
//     in the 1-bit row layout (1: transparent, or inverted where XOR is 1).
//   RT_BITMAP: a packed 24-bit DIB: BITMAPINFOHEADER, then rows bottom up,
//     blue, green, red per pixel, each row padded to 4 bytes.
//   RT_MENU: a list of items, each u16 flags (MF_ bits), u16 command id, u16
//     text length, the text (UTF-8, no terminator). An MF_POPUP item is
//     followed by the list of its submenu. The last item of every list
//     carries kMenuEnd.
//   RT_STRING: the text of one string, UTF-8, no terminator; the entry's id
//     is the string's id.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessiv_resource {

inline constexpr char kMagic[8] = {'T', 'S', 'V', 'R', 'S', 'R', 'C', '1'};
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kEntrySize = 12;
inline constexpr std::size_t kGroupImageSize = 12;
inline constexpr std::size_t kCursorHeaderSize = 12;
inline constexpr std::uint16_t kMenuEnd = 0x0080;
inline constexpr unsigned kMaxCursorSide = 256;
inline constexpr unsigned kMaxMenuDepth = 16;

inline constexpr char kTableSymbol[] = "TessivResourceTable";
inline constexpr char kTableSizeSymbol[] = "TessivResourceTableSize";

inline std::uint16_t read_u16(unsigned char const *bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::uint32_t read_u32(unsigned char const *bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

}  // namespace tessiv_resource
