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
    // The label drawn alone in a fresh frame.
    Ink draw(double units_per_pixel = 1.0)
    {
        begin(units_per_pixel);
        label_.Display(agent_);
        Ink const ink = read_ink();
        end();
        return ink;
    }

    HWND window_ = nullptr;
    Cgl gl_;
    CTextAgent agent_;
    CGLText label_;
};

TEST(GLTextRecord, ClearKeepsOnlyTheColourAndCopiesAreDeep)
{
    CGLText label;
    label.SetText("abc");
    label.SetPosition(kolt::Pnt3(1, 2, 3));
    label.SetScale(2.5f);
    CGLText const copy(label);
    label.Clear();
    EXPECT_TRUE(label.IsEmpty());
    EXPECT_EQ(label.GetScale(), 1.0f);
    EXPECT_EQ(label.GetScaledWidth(), 0.0f);
    EXPECT_EQ(label.GetScaledHeight(), 0.0f);
    EXPECT_EQ(label.GetPosition().z, 0.0);
    EXPECT_EQ(copy.GetText().str(), "abc");
    EXPECT_EQ(copy.GetPosition().y, 2.0);
}

TEST_F(GLTextTest, LabelIsDrawnAtItsAnchorInItsColourAndMeasuredInSceneUnits)
{
    label_.SetText("Hello");
    label_.SetPosition(kolt::Pnt3(20, 40, 0));
    Ink const ink = draw();
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
    Ink const doubled = draw();
    EXPECT_NEAR(doubled.width(), 2 * ink.width(), 3);
    EXPECT_NEAR(doubled.height(), 2 * ink.height(), 3);
    EXPECT_EQ(label_.GetWidth(), width);
    EXPECT_EQ(label_.GetScaledWidth(), static_cast<float>(2.0 * width));

    // Two scene units per pixel: the same pixels measure twice the units.
    label_.SetScale(1.0f);
    label_.SetPosition(kolt::Pnt3(40, 80, 0));
    Ink const zoomed = draw(2.0);
    EXPECT_EQ(zoomed.width(), ink.width()) << "labels keep their size on screen";
    EXPECT_FLOAT_EQ(label_.GetWidth(), 2 * width);
}

TEST_F(GLTextTest, GlStateIsTheSameBeforeAndAfterALabel)
{
    GLenum const switches[] = {GL_LIGHTING, GL_COLOR_MATERIAL, GL_TEXTURE_2D, GL_BLEND, GL_ALPHA_TEST,
                               GL_CULL_FACE, GL_DEPTH_TEST, GL_TEXTURE_CUBE_MAP};
    GLenum const integers[] = {GL_ACTIVE_TEXTURE, GL_MATRIX_MODE, GL_BLEND_SRC, GL_BLEND_DST, GL_ALPHA_TEST_FUNC,
                               GL_POLYGON_MODE, GL_UNPACK_ALIGNMENT, GL_TEXTURE_BINDING_CUBE_MAP,
                               GL_ATTRIB_STACK_DEPTH};
    // Switches, integers, colour and matrices of the active unit; then unit
    // 0's binding, mode and first texel, whatever unit is active.
    auto capture = [&] {
        std::vector<double> state;
        for (GLenum name : switches)
            state.push_back(glIsEnabled(name));
        for (GLenum name : integers) {
            GLint value = 0;
            glGetIntegerv(name, &value);
            state.push_back(value);
        }
        GLdouble values[16];
        for (GLenum name : {GL_CURRENT_COLOR, GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX, GL_TEXTURE_MATRIX}) {
            glGetDoublev(name, values);
            state.insert(state.end(), values, values + (name == GL_CURRENT_COLOR ? 4 : 16));
        }
        GLint active = 0, binding = 0, mode = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        glActiveTexture(GL_TEXTURE0);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        std::vector<std::uint32_t> texels(512 * 512);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
        glActiveTexture(static_cast<GLenum>(active));
        state.insert(state.end(), {double(binding), double(mode), double(texels[0])});
        return state;
    };

    label_.SetText("State");
    label_.SetPosition(kolt::Pnt3(10, 30, 0));
    begin();
    // A host's state: lighting, the one texture object bound and enabled, a
    // second unit left active with a cube map, odd modes and matrices.
    kolt::Texture texture;
    texture.GetImage().SetSize(1, 1);
    texture.GetImage().Fill(kolt::ColorI(0xFF336699ul));
    gl_.SetTexture(&texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ZERO);
    glAlphaFunc(GL_LESS, 0.5f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glActiveTexture(GL_TEXTURE1);
    unsigned int cube = 0;
    glGenTextures(1, &cube);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glMatrixMode(GL_TEXTURE);
    glScaled(2, 3, 4);
    glMatrixMode(GL_PROJECTION);
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    std::vector<double> const before = capture();
    label_.Display(agent_);
    std::vector<double> const after = capture();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i], after[i]) << "state value " << i;
    EXPECT_EQ(after.back(), double(0xFF336699u)) << "the one texture object is not touched";
    Ink const ink = read_ink();
    end();
    EXPECT_GT(ink.count, 50) << "the host's state neither hides the label";
    EXPECT_TRUE(ink.only_red) << "nor tints it";
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
    Ink const plain = draw();
    label_.SetText("\xC3\xA4");  // a with diaeresis
    Ink const umlaut = draw();
    EXPECT_EQ(label_.DrawingState(), 1u) << "two bytes, one glyph";
    EXPECT_GT(umlaut.top, plain.top + 2);
    EXPECT_EQ(umlaut.bottom, plain.bottom);

    label_.SetText("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xC3");  // ends in a cut sequence
    EXPECT_GT(draw().count, 50);
    EXPECT_EQ(label_.DrawingState(), 9u) << "G r u-umlaut sharp-s e space euro space replacement";

    label_.SetText("");
    EXPECT_EQ(draw().count, 0);
    EXPECT_EQ(label_.GetWidth(), 0.0f);
    EXPECT_EQ(label_.GetHeight(), 0.0f);

    label_.SetText(CString(std::string(100000, 'W')));
    draw();
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
    label_.SetPosition(kolt::Pnt3(0.5, 0.5, 0));  // the middle under identity matrices
    for (Cgl *gl : {&gl_, &other, &gl_}) {
        gl->SceneBegin();
        glClear(GL_COLOR_BUFFER_BIT);
        label_.Display(agent_);
        EXPECT_GT(read_ink().count, 50) << (gl == &other ? "second context" : "first context");
        gl->SceneEnd();
    }
    other.Release();
    DestroyWindow(other_window);
}

}  // namespace
