// The text agent: the glyph atlas built with FreeType, its texture object per
// GL context, and CGLText::Display, which lays a label out and draws it.
#include <tessiv/siblings/zt_base/text_agent.h>

#include <tessiv/platform/mfc_string.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/render/gltext.h>
#include <tessiv/siblings/fendral/log.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glu.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// The atlas is rasterised at twice the label size, so labels up to scale 2
// are drawn from real pixels and smaller ones are filtered down.
constexpr int kAtlasPixelSize = 2 * CTextAgent::kLabelPixelSize;
constexpr int kAtlasWidth = 512;
constexpr int kAtlasMaxHeight = 2048;
constexpr int kGlyphPadding = 2;
// A glyph bitmap larger than this (four ems) comes from a damaged font.
constexpr int kMaxGlyphSide = 4 * kAtlasPixelSize;
constexpr char32_t kReplacement = 0xFFFD;

// The code points in the atlas: Latin-1, Latin Extended-A, the typographic
// quotes, dashes, ellipsis and euro sign, and the replacement character
// that stands for everything else.
std::vector<char32_t> AtlasCodePoints()
{
    std::vector<char32_t> points;
    for (char32_t c = 0x20; c < 0x7F; ++c)
        points.push_back(c);
    for (char32_t c = 0xA0; c < 0x180; ++c)
        points.push_back(c);
    for (char32_t c : {0x2013, 0x2014, 0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E, 0x2026, 0x20AC})
        points.push_back(c);
    points.push_back(kReplacement);
    return points;
}

struct Glyph {
    // Place in the atlas, in texels.
    int atlas_x = 0;
    int atlas_y = 0;
    int width = 0;
    int height = 0;
    // Offset of the bitmap's top-left corner from the pen on the baseline,
    // y upwards, and the pen advance; in atlas pixels.
    int left = 0;
    int top = 0;
    float advance = 0;
};

// Decodes one UTF-8 sequence at text[i], advancing i. A malformed or
// overlong sequence, a surrogate or a value past U+10FFFF gives the
// replacement character and consumes one byte.
char32_t NextCodePoint(unsigned char const *text, std::size_t length, std::size_t &i)
{
    unsigned char const lead = text[i];
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (length - i <= static_cast<std::size_t>(extra)) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char const next = text[i + static_cast<std::size_t>(k)];
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += static_cast<std::size_t>(extra) + 1;
    return value;
}

void Trace(char const *text) { cLog.PutLog(1, "CTextAgent::Init", text); }

}  // namespace

struct CTextAgent::Impl {
    bool ready = false;
    std::vector<unsigned char> atlas;  // kAtlasWidth x atlas_height alpha bytes, top row first
    int atlas_height = 0;
    std::vector<char32_t> code_points;  // sorted, parallel to glyphs
    std::vector<Glyph> glyphs;
    std::array<int, 0x180> direct{};  // glyph index + 1 for code points below 0x180; 0 = none
    int replacement = -1;
    float ascender = 0;  // atlas pixels above the baseline
    float descender = 0;  // atlas pixels below it (positive)
    std::map<HGLRC, GLuint> textures;
    std::map<HGLRC, GLint> texture_units;

    bool Build(char const *path);
    int GlyphIndex(char32_t c) const;
    GLuint TextureForCurrentContext();
    // Calls draw(glyph) for each drawn character of UTF-8 text in order;
    // control characters have no glyph and no advance.
    template <typename Draw>
    void ForEachGlyph(unsigned char const *text, std::size_t length, Draw &&draw) const
    {
        for (std::size_t i = 0; i < length;) {
            char32_t const c = NextCodePoint(text, length, i);
            if (c < 0x20 || (c >= 0x7F && c < 0xA0))
                continue;
            int const index = GlyphIndex(c);
            if (index >= 0)
                draw(glyphs[static_cast<std::size_t>(index)]);
        }
    }
    GLint TextureUnitsOfCurrentContext();
};

bool CTextAgent::Impl::Build(char const *path)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        Trace("cannot start the font engine; labels will not be drawn");
        return false;
    }
    FT_Face face = nullptr;
    FT_Error const error = FT_New_Face(library, path, 0, &face);
    if (error != 0) {
        CString text;
        text.Format("cannot load the label font %s (FreeType error %d: missing or not a font file); "
                    "labels will not be drawn",
                    path, error);
        Trace(text);
        FT_Done_FreeType(library);
        return false;
    }
    if (FT_Set_Pixel_Sizes(face, 0, kAtlasPixelSize) != 0) {
        CString text;
        text.Format("the label font %s cannot be scaled to %d pixels; labels will not be drawn", path,
                    kAtlasPixelSize);
        Trace(text);
        FT_Done_Face(face);
        FT_Done_FreeType(library);
        return false;
    }
    ascender = static_cast<float>(face->size->metrics.ascender) / 64.0f;
    descender = -static_cast<float>(face->size->metrics.descender) / 64.0f;

    // Rasterise every glyph the font has, then pack them row by row.
    std::vector<std::vector<unsigned char>> bitmaps;
    for (char32_t c : AtlasCodePoints()) {
        if (FT_Get_Char_Index(face, c) == 0)
            continue;
        if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0)
            continue;
        FT_GlyphSlot const slot = face->glyph;
        FT_Bitmap const &bitmap = slot->bitmap;
        int const width = static_cast<int>(bitmap.width);
        int const height = static_cast<int>(bitmap.rows);
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || width > kMaxGlyphSide || height > kMaxGlyphSide)
            continue;
        Glyph glyph;
        glyph.width = width;
        glyph.height = height;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
        std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int row = 0; row < height; ++row) {
            unsigned char const *source = bitmap.pitch >= 0
                                              ? bitmap.buffer + row * bitmap.pitch
                                              : bitmap.buffer + (row - height + 1) * bitmap.pitch;
            std::memcpy(pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width), source,
                        static_cast<std::size_t>(width));
        }
        code_points.push_back(c);
        glyphs.push_back(glyph);
        bitmaps.push_back(std::move(pixels));
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    if (glyphs.empty()) {
        CString text;
        text.Format("the label font %s has none of the label characters; labels will not be drawn", path);
        Trace(text);
        return false;
    }

    int x = kGlyphPadding;
    int y = kGlyphPadding;
    int row_height = 0;
    for (Glyph &glyph : glyphs) {
        if (x + glyph.width + kGlyphPadding > kAtlasWidth) {
            x = kGlyphPadding;
            y += row_height + kGlyphPadding;
            row_height = 0;
        }
        glyph.atlas_x = x;
        glyph.atlas_y = y;
        x += glyph.width + kGlyphPadding;
        row_height = std::max(row_height, glyph.height);
    }
    int const needed = y + row_height + kGlyphPadding;
    atlas_height = 64;
    while (atlas_height < needed)
        atlas_height *= 2;
    if (atlas_height > kAtlasMaxHeight) {
        Trace("the label font's glyphs do not fit the atlas; labels will not be drawn");
        return false;
    }
    atlas.assign(static_cast<std::size_t>(kAtlasWidth) * static_cast<std::size_t>(atlas_height), 0);
    for (std::size_t g = 0; g < glyphs.size(); ++g) {
        Glyph const &glyph = glyphs[g];
        for (int row = 0; row < glyph.height; ++row)
            std::memcpy(atlas.data() + static_cast<std::size_t>(glyph.atlas_y + row) * kAtlasWidth +
                            static_cast<std::size_t>(glyph.atlas_x),
                        bitmaps[g].data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(glyph.width),
                        static_cast<std::size_t>(glyph.width));
    }

    // The code points went in ascending order, so the list is sorted.
    for (std::size_t g = 0; g < code_points.size(); ++g) {
        if (code_points[g] < direct.size())
            direct[code_points[g]] = static_cast<int>(g) + 1;
        if (code_points[g] == kReplacement)
            replacement = static_cast<int>(g);
    }
    if (replacement < 0 && direct['?'] != 0)
        replacement = direct['?'] - 1;
    return true;
}

int CTextAgent::Impl::GlyphIndex(char32_t c) const
{
    if (c < direct.size())
        return direct[c] != 0 ? direct[c] - 1 : replacement;
    auto const found = std::lower_bound(code_points.begin(), code_points.end(), c);
    if (found != code_points.end() && *found == c)
        return static_cast<int>(found - code_points.begin());
    return replacement;
}

// The atlas texture of the current context, made on first use. An id kept
// for a context handle is checked before reuse, since a deleted context's
// handle may come back for a new context whose objects are its own.
GLuint CTextAgent::Impl::TextureForCurrentContext()
{
    HGLRC const context = wglGetCurrentContext();
    if (!context)
        return 0;
    auto const known = textures.find(context);
    if (known != textures.end() && glIsTexture(known->second)) {
        glBindTexture(GL_TEXTURE_2D, known->second);
        GLint width = 0, height = 0, format = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        if (width == kAtlasWidth && height == atlas_height && format == GL_ALPHA8)
            return known->second;
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, kAtlasWidth, atlas_height, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 atlas.data());
    glPopClientAttrib();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    textures[context] = id;
    return id;
}

// The fixed-function texture units of the current context, asked once.
GLint CTextAgent::Impl::TextureUnitsOfCurrentContext()
{
    HGLRC const context = wglGetCurrentContext();
    auto const known = texture_units.find(context);
    if (known != texture_units.end())
        return known->second;
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    texture_units[context] = units;
    return units;
}

CTextAgent::CTextAgent() : impl_(std::make_unique<Impl>()) {}

CTextAgent::~CTextAgent()
{
    HGLRC const context = wglGetCurrentContext();
    auto const known = context ? impl_->textures.find(context) : impl_->textures.end();
    if (known != impl_->textures.end() && glIsTexture(known->second))
        glDeleteTextures(1, &known->second);
}

void CTextAgent::Init()
{
    if (impl_->ready)
        return;
    char const *path = std::getenv("TESSIV_LABEL_FONT");
    if (!path || !*path)
        path = kDefaultFontPath;
    auto fresh = std::make_unique<Impl>();
    fresh->ready = fresh->Build(path);
    // A failed build keeps nothing of what it read.
    if (fresh->ready)
        impl_ = std::move(fresh);
}

bool CTextAgent::IsReady() const { return impl_->ready; }

void CGLText::Display(CTextAgent &agent)
{
    CTextAgent::Impl &font = *agent.impl_;
    if (!font.ready || !wglGetCurrentContext())
        return;

    // Lay out: the pen advance at scale 1 in atlas pixels, and the glyphs.
    unsigned char const *bytes = reinterpret_cast<unsigned char const *>(m_text.GetString());
    std::size_t const length = static_cast<std::size_t>(m_text.GetLength());
    double advance = 0;
    std::uint32_t glyph_count = 0;
    font.ForEachGlyph(bytes, length, [&](Glyph const &glyph) {
        advance += glyph.advance;
        ++glyph_count;
    });

    // The anchor in window coordinates, and the scene size of one pixel there.
    GLint viewport[4];
    GLdouble modelview[16], projection[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    GLdouble window_x = 0, window_y = 0, window_z = 0;
    if (gluProject(m_position.x, m_position.y, m_position.z, modelview, projection, viewport, &window_x,
                   &window_y, &window_z) != GL_TRUE)
        return;
    GLdouble px = 0, py = 0, pz = 0, qx = 0, qy = 0, qz = 0;
    if (gluUnProject(window_x + 1, window_y, window_z, modelview, projection, viewport, &px, &py, &pz) != GL_TRUE ||
        gluUnProject(window_x, window_y + 1, window_z, modelview, projection, viewport, &qx, &qy, &qz) != GL_TRUE)
        return;
    auto distance_to_anchor = [this](double x, double y, double z) {
        return std::sqrt((x - m_position.x) * (x - m_position.x) + (y - m_position.y) * (y - m_position.y) +
                         (z - m_position.z) * (z - m_position.z));
    };
    double const unit_x = distance_to_anchor(px, py, pz);
    double const unit_y = distance_to_anchor(qx, qy, qz);
    // Atlas pixels to window pixels at scale 1.
    double const to_label = static_cast<double>(CTextAgent::kLabelPixelSize) / kAtlasPixelSize;
    m_width = static_cast<float>(advance * to_label * unit_x);
    m_height = glyph_count == 0 ? 0.0f : static_cast<float>((font.ascender + font.descender) * to_label * unit_y);
    m_state = glyph_count;

    // Depth of the anchor in normalised device coordinates (depth range
    // independent); outside [-1, 1] the anchor is clipped away.
    double const clip_w = projection[3] * (modelview[0] * m_position.x + modelview[4] * m_position.y +
                                           modelview[8] * m_position.z + modelview[12]) +
                          projection[7] * (modelview[1] * m_position.x + modelview[5] * m_position.y +
                                           modelview[9] * m_position.z + modelview[13]) +
                          projection[11] * (modelview[2] * m_position.x + modelview[6] * m_position.y +
                                            modelview[10] * m_position.z + modelview[14]) +
                          projection[15] * (modelview[3] * m_position.x + modelview[7] * m_position.y +
                                            modelview[11] * m_position.z + modelview[15]);
    double depth_range[2];
    glGetDoublev(GL_DEPTH_RANGE, depth_range);
    double const range = depth_range[1] - depth_range[0];
    double const ndc_z = range != 0 ? (window_z - depth_range[0]) / range * 2 - 1 : 0;
    double const pixel_scale = static_cast<double>(m_scale) * to_label;
    if (glyph_count == 0 || !(clip_w > 0) || !(ndc_z >= -1 && ndc_z <= 1) || !std::isfinite(pixel_scale) ||
        pixel_scale == 0)
        return;
    GLint attrib_depth = 0, attrib_max = 0;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &attrib_depth);
    glGetIntegerv(GL_MAX_ATTRIB_STACK_DEPTH, &attrib_max);
    if (attrib_depth >= attrib_max)
        return;

    // Everything changed below is put back: the attribute groups by the
    // pop, the matrices by reloading them, and the texture state of unit 0
    // by hand (popping the whole texture group restores every unit's
    // objects and costs more than the glyphs of a short label).
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_TRANSFORM_BIT);
    GLint active_texture = GL_TEXTURE0, bound_texture = 0, env_mode = GL_MODULATE;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active_texture);
    // The blend and alpha functions by hand too: popping the colour-buffer
    // group would also set the draw buffer and the clear values again.
    GLint blend[4] = {GL_ONE, GL_ZERO, GL_ONE, GL_ZERO}, alpha_function = GL_ALWAYS;
    GLfloat alpha_reference = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &blend[0]);
    glGetIntegerv(GL_BLEND_DST_RGB, &blend[1]);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &blend[2]);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &blend[3]);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &alpha_function);
    glGetFloatv(GL_ALPHA_TEST_REF, &alpha_reference);
    GLint const texture_units = font.TextureUnitsOfCurrentContext();
    for (GLint unit = texture_units - 1; unit >= 0; --unit) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
        glDisable(GL_TEXTURE_1D);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_3D);
        glDisable(GL_TEXTURE_CUBE_MAP);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        glDisable(GL_TEXTURE_GEN_R);
        glDisable(GL_TEXTURE_GEN_Q);
    }
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound_texture);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env_mode);
    GLdouble texture_matrix[16];
    glMatrixMode(GL_TEXTURE);
    glGetDoublev(GL_TEXTURE_MATRIX, texture_matrix);
    glLoadIdentity();
    font.TextureForCurrentContext();
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_COLOR_LOGIC_OP);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Transparent texels write no depth, so overlapping labels stay readable.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4ub(static_cast<GLubyte>(m_color & 0xFF), static_cast<GLubyte>((m_color >> 8) & 0xFF),
               static_cast<GLubyte>((m_color >> 16) & 0xFF), 255);

    // The pen starts on a whole pixel so scale-1 text stays sharp.
    double const origin_x = std::floor(window_x + 0.5);
    double const origin_y = std::floor(window_y + 0.5);
    float const z = static_cast<float>(ndc_z);
    float const inverse_width = 1.0f / kAtlasWidth;
    float const inverse_height = 1.0f / static_cast<float>(font.atlas_height);
    double pen = 0;
    glBegin(GL_QUADS);
    font.ForEachGlyph(bytes, length, [&](Glyph const &glyph) {
        if (glyph.width > 0 && glyph.height > 0) {
            float const x0 = static_cast<float>(origin_x + (pen + glyph.left) * pixel_scale);
            float const x1 = static_cast<float>(origin_x + (pen + glyph.left + glyph.width) * pixel_scale);
            float const y0 = static_cast<float>(origin_y + glyph.top * pixel_scale);
            float const y1 = static_cast<float>(origin_y + (glyph.top - glyph.height) * pixel_scale);
            float const s0 = static_cast<float>(glyph.atlas_x) * inverse_width;
            float const s1 = static_cast<float>(glyph.atlas_x + glyph.width) * inverse_width;
            float const t0 = static_cast<float>(glyph.atlas_y) * inverse_height;
            float const t1 = static_cast<float>(glyph.atlas_y + glyph.height) * inverse_height;
            glTexCoord2f(s0, t1);
            glVertex3f(x0, y1, z);
            glTexCoord2f(s1, t1);
            glVertex3f(x1, y1, z);
            glTexCoord2f(s1, t0);
            glVertex3f(x1, y0, z);
            glTexCoord2f(s0, t0);
            glVertex3f(x0, y0, z);
        }
        pen += glyph.advance;
    });
    glEnd();

    glLoadMatrixd(modelview);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixd(texture_matrix);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound_texture));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, env_mode);
    glActiveTexture(static_cast<GLenum>(active_texture));
    glBlendFuncSeparate(static_cast<GLenum>(blend[0]), static_cast<GLenum>(blend[1]), static_cast<GLenum>(blend[2]),
                        static_cast<GLenum>(blend[3]));
    glAlphaFunc(static_cast<GLenum>(alpha_function), alpha_reference);
    glPopAttrib();
}
