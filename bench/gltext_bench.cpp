// 3D text labels: 10,000 glyphs in one frame through the text agent, against
// a display-list bitmap font (one glBitmap list per character, drawn with
// glRasterPos and glCallLists) built from the same font at the same size.
// Wall time per frame including glFinish; "us_per_glyph" is the frame time
// over the glyph count.
#include <tessiv/platform/winuser.h>
#include <tessiv/render/cgl.h>
#include <tessiv/render/gltext.h>
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/siblings/zt_base/text_agent.h>

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kLabels = 1000;
constexpr int kGlyphsPerLabel = 10;
constexpr int kGlyphs = kLabels * kGlyphsPerLabel;

// A view with a pixel-for-unit camera, current for the whole run.
class LabelFrame {
public:
    LabelFrame()
    {
        static bool const registered = [] {
            WNDCLASSA window_class{};
            window_class.lpfnWndProc = DefWindowProcA;
            window_class.lpszClassName = "GLTextBenchView";
            window_class.style = CS_OWNDC;
            return RegisterClassA(&window_class) != 0;
        }();
        if (!registered)
            return;
        window_ = CreateWindowExA(0, "GLTextBenchView", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                  nullptr, nullptr, nullptr, nullptr);
        if (!gl_.Create(window_, 1))
            return;
        gl_.SceneBegin();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, 0, kHeight, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        ok_ = true;
    }
    ~LabelFrame()
    {
        gl_.SceneEnd();
        gl_.Release();
        DestroyWindow(window_);
        cLog.Clear();
    }
    bool ok() const { return ok_; }
    // Label i's anchor: a grid over the window.
    static void anchor(int i, double &x, double &y)
    {
        x = 5 + (i % 8) * 98;
        y = 5 + (i / 8) % 120 * 5;
    }

private:
    HWND window_ = nullptr;
    Cgl gl_;
    bool ok_ = false;
};

char const *label_text(int i)
{
    static char const *const texts[4] = {"Edge 12.50", "Face #4711", "Gr\xC3\xBC\xC3\x9F" "e 1234", "Node (3,4)"};
    return texts[i % 4];
}

void report(benchmark::State &state, double seconds)
{
    double const frames = static_cast<double>(state.iterations());
    state.counters["us_per_glyph"] = frames > 0 ? seconds / frames / kGlyphs * 1e6 : 0;
}

// Runs draw once per timed frame between a clear and glFinish.
template <typename Draw>
void run_frames(benchmark::State &state, Draw &&draw)
{
    double seconds = 0;
    for (auto _ : state) {
        auto const start = std::chrono::steady_clock::now();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    report(state, seconds);
}

void GlyphsOurs(benchmark::State &state)
{
    LabelFrame frame;
    CTextAgent agent;
    agent.Init();
    if (!frame.ok() || !agent.IsReady()) {
        state.SkipWithError("no GL display or no label font");
        return;
    }
    std::vector<CGLText> labels(kLabels);
    for (int i = 0; i < kLabels; ++i) {
        double x = 0, y = 0;
        LabelFrame::anchor(i, x, y);
        labels[static_cast<std::size_t>(i)].SetText(label_text(i));
        labels[static_cast<std::size_t>(i)].SetPosition(kolt::Pnt3(x, y, 0));
        labels[static_cast<std::size_t>(i)].SetColor(0x00FFFF);
    }
    run_frames(state, [&] {
        for (CGLText &label : labels)
            label.Display(agent);
    });
}
BENCHMARK(GlyphsOurs)->Name("glyphs_10000/ours")->Unit(benchmark::kMillisecond)->UseRealTime();

void GlyphsOneLabelOurs(benchmark::State &state)
{
    LabelFrame frame;
    CTextAgent agent;
    agent.Init();
    if (!frame.ok() || !agent.IsReady()) {
        state.SkipWithError("no GL display or no label font");
        return;
    }
    CGLText label;
    std::string text;
    for (int i = 0; i < kLabels; ++i)
        text += "Edge 12.50";
    label.SetText(CString(text));
    label.SetPosition(kolt::Pnt3(-20000, 300, 0));  // mostly off screen, as a long label would be
    run_frames(state, [&] { label.Display(agent); });
}
BENCHMARK(GlyphsOneLabelOurs)->Name("glyphs_10000_one_label/ours")->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: one display list per byte value, each a glBitmap of the
// glyph thresholded to one bit, moving the raster position by the advance.
GLuint BuildBitmapFont()
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return 0;
    if (FT_New_Face(library, CTextAgent::kDefaultFontPath, 0, &face) != 0 ||
        FT_Set_Pixel_Sizes(face, 0, CTextAgent::kLabelPixelSize) != 0) {
        FT_Done_FreeType(library);
        return 0;
    }
    GLuint const base = glGenLists(256);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (unsigned int c = 0; c < 256; ++c) {
        glNewList(base + c, GL_COMPILE);
        if (c >= 0x20 && FT_Load_Char(face, c, FT_LOAD_RENDER) == 0) {
            FT_Bitmap const &bitmap = face->glyph->bitmap;
            int const width = static_cast<int>(bitmap.width);
            int const height = static_cast<int>(bitmap.rows);
            int const row_bytes = (width + 7) / 8;
            std::vector<GLubyte> bits(static_cast<std::size_t>(row_bytes * height + 1), 0);
            for (int row = 0; row < height; ++row)
                for (int x = 0; x < width; ++x)
                    if (bitmap.buffer[row * bitmap.pitch + x] >= 128)
                        bits[static_cast<std::size_t>((height - 1 - row) * row_bytes + x / 8)] |=
                            static_cast<GLubyte>(0x80 >> (x % 8));
            glBitmap(width, height, static_cast<GLfloat>(-face->glyph->bitmap_left),
                     static_cast<GLfloat>(height - face->glyph->bitmap_top),
                     static_cast<GLfloat>(face->glyph->advance.x) / 64.0f, 0, bits.data());
        }
        glEndList();
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return base;
}

void GlyphsBitmapLists(benchmark::State &state)
{
    LabelFrame frame;
    if (!frame.ok()) {
        state.SkipWithError("no GL display");
        return;
    }
    GLuint const base = BuildBitmapFont();
    if (base == 0) {
        state.SkipWithError("no label font");
        return;
    }
    run_frames(state, [&] {
        glListBase(base);
        for (int i = 0; i < kLabels; ++i) {
            double x = 0, y = 0;
            LabelFrame::anchor(i, x, y);
            glColor3ub(255, 255, 0);
            glRasterPos3d(x, y, 0);
            glCallLists(kGlyphsPerLabel, GL_UNSIGNED_BYTE, label_text(i));
        }
    });
    glDeleteLists(base, 256);
}
BENCHMARK(GlyphsBitmapLists)->Name("glyphs_10000/bitmap_lists")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
