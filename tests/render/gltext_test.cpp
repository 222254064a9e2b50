#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/render/cgl.h>
#include <tessiv/render/gltext.h>
#include <tessiv/scene/texture.h>
#include <tessiv/siblings/zt_base/text_agent.h>
#include <tessiv/tests/gl_window.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 100;

// The box around the pixels that are not black, in GL window coordinates
// (y up), and how many there are.
struct Ink {
    int left = kWidth, right = -1, bottom = kHeight, top = -1, count = 0;
    bool pure_red = false;  // some pixel exactly (255, 0, 0)
    bool only_red = true;   // no pixel with green or blue
    int width() const { return right - left + 1; }
    int height() const { return top - bottom + 1; }
};

Ink read_ink(int width = kWidth, int height = kHeight)
{
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    Ink ink;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char const *p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
            if (p[0] == 0 && p[1] == 0 && p[2] == 0)
                continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.bottom = std::min(ink.bottom, y);
            ink.top = std::max(ink.top, y);
            ink.pure_red = ink.pure_red || (p[0] == 255 && p[1] == 0 && p[2] == 0);
            ink.only_red = ink.only_red && p[1] == 0 && p[2] == 0;
        }
    }
    return ink;
}

class GLTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterGlWindowClass("GLTextTestView"));
        window_ = CreateWindowExA(0, "GLTextTestView", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_EQ(gl_.Create(window_, 1), 1);
        agent_.Init();
        ASSERT_TRUE(agent_.IsReady()) << "the label font must be installed (tools/install-deps)";
        label_.SetColor(0x0000FF);  // red as a COLORREF
    }
    void TearDown() override
    {
        if (gl_.IsInScene())
            gl_.SceneEnd();
        gl_.Release();
        DestroyWindow(window_);
    }
    // One scene unit per pixel times units_per_pixel, origin at the bottom left.
    void begin(double units_per_pixel = 1.0)
    {
        gl_.SceneBegin();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth * units_per_pixel, 0, kHeight * units_per_pixel, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void end() { gl_.SceneEnd(); }

    HWND window_ = nullptr;
    Cgl gl_;
    CTextAgent agent_;
    CGLText label_;
};

TEST(GLTextRecord, ClearSetAndScaledSizes)
{
    CGLText label;
    label.SetText("abc");
    label.SetPosition(kolt::Pnt3(1, 2, 3));
    label.SetScale(2.5f);
    CGLText copy(label);
    EXPECT_EQ(copy.GetText().str(), "abc");
    EXPECT_EQ(copy.GetPosition().y, 2.0);
    EXPECT_EQ(copy.GetScale(), 2.5f);
    label.Clear();
    EXPECT_TRUE(label.IsEmpty());
    EXPECT_EQ(label.GetScale(), 1.0f);
    EXPECT_EQ(label.GetScaledWidth(), 0.0f);
    EXPECT_EQ(label.GetScaledHeight(), 0.0f);
    EXPECT_EQ(label.GetPosition().z, 0.0);
    EXPECT_EQ(label.DrawingState(), 0u);
    EXPECT_FALSE(copy.IsEmpty()) << "copies do not share the text";
}

TEST_F(GLTextTest, LabelIsDrawnAtItsAnchorInItsColourAndMeasuredInSceneUnits)
{
    label_.SetText("Hello");
    label_.SetPosition(kolt::Pnt3(20, 40, 0));
    begin();
    label_.Display(agent_);
    Ink const ink = read_ink();
    end();
    ASSERT_GT(ink.count, 50);
    EXPECT_TRUE(ink.pure_red && ink.only_red) << "drawn in the label's colour";
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.left, 23) << "the text starts at the anchor";
    EXPECT_GE(ink.bottom, 39);
    EXPECT_LE(ink.bottom, 41) << "the anchor is on the baseline";
    EXPECT_NEAR(ink.height(), 12, 2) << "a capital H at the 16-pixel label size";
    EXPECT_NEAR(label_.GetWidth(), ink.width(), 4.0) << "one scene unit per pixel";
    EXPECT_GT(label_.GetHeight(), 15.0f);
    EXPECT_LT(label_.GetHeight(), 22.0f);
    EXPECT_EQ(label_.DrawingState(), 5u);
    float const width = label_.GetWidth();

    // Twice the scale: twice as wide on screen, the measured size unchanged.
    label_.SetScale(2.0f);
    begin();
    label_.Display(agent_);
    Ink const doubled = read_ink();
    end();
    EXPECT_NEAR(doubled.width(), 2 * ink.width(), 3);
    EXPECT_NEAR(doubled.height(), 2 * ink.height(), 3);
    EXPECT_EQ(label_.GetWidth(), width);
    EXPECT_EQ(label_.GetScaledWidth(), static_cast<float>(2.0 * width));

    // Two scene units per pixel: the same pixels measure twice the units.
    label_.SetScale(1.0f);
    label_.SetPosition(kolt::Pnt3(40, 80, 0));
    begin(2.0);
    label_.Display(agent_);
    Ink const zoomed = read_ink();
    end();
    EXPECT_EQ(zoomed.width(), ink.width()) << "labels keep their size on screen";
    EXPECT_FLOAT_EQ(label_.GetWidth(), 2 * width);
}

TEST_F(GLTextTest, GlStateIsTheSameBeforeAndAfterALabel)
{
    struct State {
        std::array<GLboolean, 14> enabled{};
        std::array<GLint, 16> integers{};
        std::array<GLfloat, 4> color{};
        std::array<GLdouble, 48> matrices{};
        std::uint32_t cgl_texel = 0;
        bool operator==(State const &) const = default;
    };
    GLenum const switches[14] = {GL_LIGHTING,   GL_COLOR_MATERIAL, GL_TEXTURE_2D, GL_BLEND,   GL_ALPHA_TEST,
                                 GL_CULL_FACE,  GL_DEPTH_TEST,     GL_FOG,        GL_TEXTURE_GEN_S,
                                 GL_LIGHT0,     GL_NORMALIZE,      GL_SCISSOR_TEST, GL_COLOR_LOGIC_OP,
                                 GL_TEXTURE_CUBE_MAP};
    Cgl &gl = gl_;
    auto capture = [&] {
        State state;
        for (int i = 0; i < 14; ++i)
            state.enabled[static_cast<std::size_t>(i)] = glIsEnabled(switches[i]);
        GLint *value = state.integers.data();
        glGetIntegerv(GL_ACTIVE_TEXTURE, value++);
        glGetIntegerv(GL_MATRIX_MODE, value++);
        glGetIntegerv(GL_BLEND_SRC, value++);
        glGetIntegerv(GL_BLEND_DST, value++);
        glGetIntegerv(GL_ALPHA_TEST_FUNC, value++);
        glGetIntegerv(GL_POLYGON_MODE, value);
        value += 2;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, value++);
        glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, value++);
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, value++);
        glGetIntegerv(GL_DEPTH_FUNC, value++);
        glActiveTexture(GL_TEXTURE0);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, value++);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, value++);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, value++);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, value++);
        glGetIntegerv(GL_SHADE_MODEL, value++);
        std::vector<std::uint32_t> texels(512 * 512);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
        state.cgl_texel = texels[0];
        glActiveTexture(static_cast<GLenum>(state.integers[0]));
        glGetFloatv(GL_CURRENT_COLOR, state.color.data());
        glGetDoublev(GL_MODELVIEW_MATRIX, state.matrices.data());
        glGetDoublev(GL_PROJECTION_MATRIX, state.matrices.data() + 16);
        glGetDoublev(GL_TEXTURE_MATRIX, state.matrices.data() + 32);
        return state;
    };

    label_.SetText("State");
    label_.SetPosition(kolt::Pnt3(10, 30, 0));
    begin();
    // A host's drawing state: lighting, a bump-map unit left active with a
    // cube map, the one texture object bound and enabled, odd modes.
    kolt::Texture texture;
    texture.GetImage().SetSize(1, 1);
    texture.GetImage().Fill(kolt::ColorI(0xFF336699ul));
    gl.SetTexture(&texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_ONE, GL_ZERO);
    glAlphaFunc(GL_LESS, 0.5f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glShadeModel(GL_FLAT);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    unsigned int cube = 0;
    glActiveTexture(GL_TEXTURE1);
    glGenTextures(1, &cube);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScaled(2, 3, 4);
    glMatrixMode(GL_PROJECTION);
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    State const before = capture();
    label_.Display(agent_);
    State const after = capture();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(before == after) << "the label leaves every piece of state it touches as it was";
    for (std::size_t i = 0; i < before.integers.size(); ++i)
        EXPECT_EQ(before.integers[i], after.integers[i]) << "integer state " << i;
    for (std::size_t i = 0; i < before.enabled.size(); ++i)
        EXPECT_EQ(before.enabled[i], after.enabled[i]) << "switch " << std::hex << switches[i];
    EXPECT_EQ(after.cgl_texel, 0xFF336699u) << "the one texture object is not touched";
    Ink const ink = read_ink();
    end();
    EXPECT_GT(ink.count, 50) << "the host's state does not hide the label";
    EXPECT_TRUE(ink.only_red) << "nor tint it";
}

TEST_F(GLTextTest, ShowDrawsElsewhereAndLeavesTheLabelAsItWas)
{
    label_.SetText("Show");
    label_.SetScale(1.5f);
    begin();
    label_.Show(agent_, kolt::Pnt3(150, 60, 0));
    Ink const ink = read_ink();
    end();
    EXPECT_GE(ink.left, 150);
    EXPECT_LE(ink.left, 154);
    EXPECT_EQ(label_.GetPosition().x, 0.0);
    EXPECT_EQ(label_.GetPosition().y, 0.0);
    EXPECT_EQ(label_.GetText().str(), "Show");
    EXPECT_EQ(label_.GetScale(), 1.5f);
    EXPECT_EQ(label_.DrawingState(), 4u);

    // Display with a string keeps the drawing state until the agent draws;
    // SetText resets it at once.
    CTextAgent broken;  // never initialised: draws nothing
    label_.Display("other", broken);
    EXPECT_EQ(label_.GetText().str(), "other");
    EXPECT_EQ(label_.DrawingState(), 4u);
    label_.SetText("other");
    EXPECT_EQ(label_.DrawingState(), 0u);
}

TEST_F(GLTextTest, Utf8EmptyAndVeryLongTexts)
{
    // German umlauts are real glyphs: the dots rise above the plain letter.
    label_.SetPosition(kolt::Pnt3(20, 40, 0));
    label_.SetText("a");
    begin();
    label_.Display(agent_);
    Ink const plain = read_ink();
    end();
    label_.SetText("\xC3\xA4");  // a with diaeresis
    begin();
    label_.Display(agent_);
    Ink const umlaut = read_ink();
    end();
    EXPECT_EQ(label_.DrawingState(), 1u) << "two bytes, one glyph";
    EXPECT_GT(umlaut.top, plain.top + 2);
    EXPECT_EQ(umlaut.bottom, plain.bottom);

    label_.SetText("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xC3");  // ends in a cut sequence
    begin();
    label_.Display(agent_);
    EXPECT_GT(read_ink().count, 50);
    end();
    EXPECT_EQ(label_.DrawingState(), 9u) << "G r u-umlaut sharp-s e space euro space replacement";

    label_.SetText("");
    begin();
    label_.Display(agent_);
    EXPECT_EQ(read_ink().count, 0);
    end();
    EXPECT_EQ(label_.GetWidth(), 0.0f);
    EXPECT_EQ(label_.GetHeight(), 0.0f);

    label_.SetText(CString(std::string(100000, 'W')));
    label_.SetText(label_.GetText());
    begin();
    label_.Display(agent_);
    end();
    EXPECT_EQ(label_.DrawingState(), 100000u);
    EXPECT_GT(label_.GetWidth(), 100000.0f * 10) << "each W advances more than 10 pixels";
}

TEST_F(GLTextTest, EachContextGetsItsOwnAtlasTexture)
{
    HWND other_window = CreateWindowExA(0, "GLTextTestView", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                        nullptr, nullptr, nullptr, nullptr);
    Cgl other;
    ASSERT_EQ(other.Create(other_window, 1), 1);
    label_.SetText("Twice");
    label_.SetPosition(kolt::Pnt3(20, 40, 0));
    begin();
    label_.Display(agent_);
    EXPECT_GT(read_ink().count, 50);
    end();

    other.SceneBegin();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, 0, kHeight, -10, 10);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    label_.Display(agent_);
    EXPECT_GT(read_ink().count, 50) << "drawn in the second context too";
    other.SceneEnd();
    other.Release();
    DestroyWindow(other_window);

    begin();
    label_.Display(agent_);
    EXPECT_GT(read_ink().count, 50) << "the first context keeps its texture";
    end();
}

}  // namespace
