// tessiv_rc: the resource compiler. Reads a resource script (cursors and
// bitmaps as PNG pictures, menus and strings as text) and writes a C++
// source file that defines the resource table a resource library exports.
//
//   tessiv_rc <script> <output.cpp>
//
// Script lines (paths relative to the script; '#' starts a comment):
//   cursor <id>                       a cursor group, closed by "end", with
//     image <file.png> bits <1|8> hotspot <x> <y>     one line per image
//   end
//   bitmap <id> <file.png>            stored as a 24-bit DIB
//   menu <id> ... end                 items:  item <id> "<text>" [grayed] [checked]
//                                             separator
//                                             popup "<text>" ... end
//   string <id> "<text>"
// Cursor images: opaque pixels (alpha >= 128) are drawn, the rest is
// transparent; 1-bit images take dark pixels as black and light as white,
// 8-bit images keep up to 256 distinct colours.
#include <tessiv/platform/resource_format.h>

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::uint16_t kCursor = 1, kBitmap = 2, kMenu = 4, kString = 6, kGroupCursor = 12;
constexpr std::uint16_t kPopup = 0x10, kSeparator = 0x800, kGrayed = 0x1, kChecked = 0x8;

struct Entry {
    std::uint16_t type;
    std::uint16_t id;
    Bytes data;
};

struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // r, g, b, a; rows top down
};

void put_u16(Bytes &out, unsigned value)
{
    if (value > 0xFFFF)
        throw std::runtime_error("value " + std::to_string(value) + " does not fit 16 bits");
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put_u32(Bytes &out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

Rgba read_png(std::filesystem::path const &path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        throw std::runtime_error("reading " + path.string() + ": " + image.message);
    image.format = PNG_FORMAT_RGBA;
    Rgba result;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    result.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.pixels.data(), 0, nullptr)) {
        std::string message = image.message;
        png_image_free(&image);
        throw std::runtime_error("reading " + path.string() + ": " + message);
    }
    return result;
}

Bytes cursor_image(Rgba const &picture, unsigned bits, unsigned hot_x, unsigned hot_y)
{
    unsigned width = static_cast<unsigned>(picture.width), height = static_cast<unsigned>(picture.height);
    if (width > tessiv_resource::kMaxCursorSide || height > tessiv_resource::kMaxCursorSide)
        throw std::runtime_error("cursor images are at most 256 pixels a side");
    if (hot_x >= width || hot_y >= height)
        throw std::runtime_error("hot spot lies outside the image");
    std::size_t stride = (width + 7) / 8;
    Bytes mask(stride * height, 0), colours, palette;
    std::map<std::uint32_t, unsigned> palette_index;
    if (bits == 1)
        colours.assign(stride * height, 0);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            std::uint8_t const *p = &picture.pixels[(std::size_t{y} * width + x) * 4];
            bool opaque = p[3] >= 128;
            unsigned char bit = static_cast<unsigned char>(0x80 >> (x % 8));
            if (!opaque)
                mask[y * stride + x / 8] |= bit;
            if (bits == 1) {
                if (opaque && p[0] + p[1] + p[2] >= 384)
                    colours[y * stride + x / 8] |= bit;
                continue;
            }
            std::uint32_t rgb = opaque ? (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2] : 0;
            auto [it, added] = palette_index.try_emplace(rgb, static_cast<unsigned>(palette_index.size()));
            if (added) {
                if (it->second >= 256)
                    throw std::runtime_error("an 8-bit cursor image has more than 256 colours");
                palette.insert(palette.end(), {static_cast<unsigned char>(rgb), static_cast<unsigned char>(rgb >> 8),
                                               static_cast<unsigned char>(rgb >> 16), 0});
            }
            colours.push_back(static_cast<unsigned char>(it->second));
        }
    }
    Bytes out;
    put_u16(out, width);
    put_u16(out, height);
    put_u16(out, bits);
    put_u16(out, hot_x);
    put_u16(out, hot_y);
    put_u16(out, static_cast<unsigned>(palette.size() / 4));
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), colours.begin(), colours.end());
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

Bytes packed_dib(Rgba const &picture)
{
    std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
    Bytes out;
    put_u32(out, 40);
    put_u32(out, static_cast<std::uint32_t>(picture.width));
    put_u32(out, static_cast<std::uint32_t>(picture.height));
    put_u16(out, 1);
    put_u16(out, 24);
    put_u32(out, 0);
    put_u32(out, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(picture.height)));
    for (int field = 0; field < 4; ++field)
        put_u32(out, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        std::size_t row_start = out.size();
        for (int x = 0; x < picture.width; ++x) {
            std::uint8_t const *p = &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * 4];
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
        out.resize(row_start + stride, 0);
    }
    return out;
}

// Splits a line into words; "quoted text" with \" and \\ is one word.
std::vector<std::string> words_of(std::string const &line)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        char c = line[at];
        if (c == '#')
            break;
        if (c == ' ' || c == '\t' || c == '\r') {
            ++at;
            continue;
        }
        std::string word;
        if (c == '"') {
            for (++at; at < line.size() && line[at] != '"'; ++at) {
                if (line[at] == '\\' && at + 1 < line.size())
                    ++at;
                word += line[at];
            }
            if (at >= line.size())
                throw std::runtime_error("unterminated text");
            ++at;
        } else {
            while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r')
                word += line[at++];
        }
        words.push_back(word);
    }
    return words;
}

unsigned number(std::string const &word)
{
    std::size_t used = 0;
    unsigned long value = 0;
    try {
        value = std::stoul(word, &used, 0);
    } catch (std::exception const &) {
        used = 0;
    }
    if (used != word.size() || value > 0xFFFF)
        throw std::runtime_error("'" + word + "' is not a number from 0 to 65535");
    return static_cast<unsigned>(value);
}

class Compiler {
public:
    explicit Compiler(std::filesystem::path script) : script_(std::move(script)) {}

    std::vector<Entry> run()
    {
        std::ifstream in(script_);
        if (!in)
            throw std::runtime_error("cannot open " + script_.string());
        while (next_line(in)) {
            if (words_[0] == "cursor" && words_.size() == 2)
                cursor(in, number(words_[1]));
            else if (words_[0] == "bitmap" && words_.size() == 3)
                entries_.push_back({kBitmap, static_cast<std::uint16_t>(number(words_[1])),
                                    packed_dib(read_png(script_.parent_path() / words_[2]))});
            else if (words_[0] == "menu" && words_.size() == 2) {
                auto id = static_cast<std::uint16_t>(number(words_[1]));
                Bytes data;
                menu_list(in, data);
                entries_.push_back({kMenu, id, std::move(data)});
            } else if (words_[0] == "string" && words_.size() == 3) {
                entries_.push_back({kString, static_cast<std::uint16_t>(number(words_[1])),
                                    Bytes(words_[2].begin(), words_[2].end())});
            } else
                fail("unknown statement");
        }
        return std::move(entries_);
    }

private:
    bool next_line(std::istream &in)
    {
        std::string line;
        while (std::getline(in, line)) {
            ++line_number_;
            words_ = words_of(line);
            if (!words_.empty())
                return true;
        }
        return false;
    }

    [[noreturn]] void fail(std::string const &what) const
    {
        throw std::runtime_error(script_.string() + ":" + std::to_string(line_number_) + ": " + what);
    }

    void cursor(std::istream &in, unsigned id)
    {
        Bytes group;
        std::vector<Bytes> listed;
        bool closed = false;
        while (next_line(in)) {
            if ((closed = words_[0] == "end"))
                break;
            if (words_.size() != 7 || words_[0] != "image" || words_[2] != "bits" || words_[4] != "hotspot")
                fail("expected: image <file.png> bits <1|8> hotspot <x> <y>");
            unsigned bits = number(words_[3]);
            if (bits != 1 && bits != 8)
                fail("cursor images have 1 or 8 bits per pixel");
            Rgba picture = read_png(script_.parent_path() / words_[1]);
            unsigned image_id = ++cursor_images_;
            Bytes record;
            put_u16(record, static_cast<unsigned>(picture.width));
            put_u16(record, static_cast<unsigned>(picture.height));
            put_u16(record, bits);
            put_u16(record, number(words_[5]));
            put_u16(record, number(words_[6]));
            put_u16(record, image_id);
            listed.push_back(record);
            entries_.push_back({kCursor, static_cast<std::uint16_t>(image_id),
                                cursor_image(picture, bits, number(words_[5]), number(words_[6]))});
        }
        if (!closed)
            fail("cursor without end");
        if (listed.empty())
            fail("cursor without images");
        put_u16(group, static_cast<unsigned>(listed.size()));
        for (Bytes const &record : listed)
            group.insert(group.end(), record.begin(), record.end());
        entries_.push_back({kGroupCursor, static_cast<std::uint16_t>(id), std::move(group)});
    }

    // Items up to the matching "end"; the last one gets the end flag.
    void menu_list(std::istream &in, Bytes &out)
    {
        std::size_t last_flags = 0;
        bool any = false, closed = false;
        while (next_line(in)) {
            if ((closed = words_[0] == "end"))
                break;
            unsigned flags = 0, id = 0;
            std::string text;
            std::size_t options = 0;
            if (words_[0] == "separator" && words_.size() == 1) {
                flags = kSeparator;
            } else if (words_[0] == "popup" && words_.size() == 2) {
                flags = kPopup;
                text = words_[1];
            } else if (words_[0] == "item" && words_.size() >= 3) {
                id = number(words_[1]);
                text = words_[2];
                options = 3;
            } else {
                fail("expected: item <id> \"<text>\" [grayed] [checked], separator, popup \"<text>\" or end");
            }
            for (std::size_t at = options; options && at < words_.size(); ++at) {
                if (words_[at] == "grayed")
                    flags |= kGrayed;
                else if (words_[at] == "checked")
                    flags |= kChecked;
                else
                    fail("unknown item option '" + words_[at] + "'");
            }
            last_flags = out.size();
            any = true;
            put_u16(out, flags);
            put_u16(out, id);
            put_u16(out, static_cast<unsigned>(text.size()));
            out.insert(out.end(), text.begin(), text.end());
            if (flags & kPopup)
                menu_list(in, out);
        }
        if (!closed)
            fail("menu without end");
        if (!any)
            fail("empty menu");
        out[last_flags] |= tessiv_resource::kMenuEnd;
    }

    std::filesystem::path script_;
    std::vector<std::string> words_;
    int line_number_ = 0;
    unsigned cursor_images_ = 0;
    std::vector<Entry> entries_;
};

Bytes table_of(std::vector<Entry> const &entries)
{
    Bytes table(tessiv_resource::kMagic, tessiv_resource::kMagic + sizeof tessiv_resource::kMagic);
    put_u32(table, static_cast<std::uint32_t>(entries.size()));
    std::size_t offset = tessiv_resource::kHeaderSize + entries.size() * tessiv_resource::kEntrySize;
    for (Entry const &entry : entries) {
        put_u16(table, entry.type);
        put_u16(table, entry.id);
        put_u32(table, static_cast<std::uint32_t>(offset));
        put_u32(table, static_cast<std::uint32_t>(entry.data.size()));
        offset += entry.data.size();
    }
    for (Entry const &entry : entries)
        table.insert(table.end(), entry.data.begin(), entry.data.end());
    return table;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: tessiv_rc <script> <output.cpp>\n";
        return 2;
    }
    try {
        Bytes table = table_of(Compiler(argv[1]).run());
        std::ostringstream source;
        source << "// Generated by tessiv_rc from " << std::filesystem::path(argv[1]).filename().string()
               << "; edit the script and its pictures instead.\n"
               << "extern \"C\" {\n"
               << "__attribute__((visibility(\"default\"))) extern unsigned char const TessivResourceTable[];\n"
               << "__attribute__((visibility(\"default\"))) extern unsigned int const TessivResourceTableSize;\n"
               << "unsigned char const TessivResourceTable[] = {";
        for (std::size_t at = 0; at < table.size(); ++at)
            source << (at % 24 == 0 ? "\n" : "") << static_cast<unsigned>(table[at]) << ',';
        source << "\n};\nunsigned int const TessivResourceTableSize = " << table.size() << ";\n}\n";
        std::ofstream out(argv[2], std::ios::binary);
        out << source.str();
        if (!out.flush())
            throw std::runtime_error(std::string("writing ") + argv[2]);
    } catch (std::exception const &error) {
        std::cerr << "tessiv_rc: " << error.what() << '\n';
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
