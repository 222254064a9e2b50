#include <tessiv/imaging/image_io.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/render/cgl.h>
#include <tessiv/scene/stream_file.h>
#include <tessiv/scene/texture.h>
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/tests/gl_window.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Line = std::pair<std::string, std::string>;

std::vector<Line> trace()
{
    std::vector<Line> lines;
    for (CLog::Entry const &entry : cLog.Entries())
        lines.emplace_back(entry.title, entry.text);
    cLog.Clear();
    return lines;
}

std::vector<Line> const kSceneEndLines{
    {"Cgl::SceneEnd()", "-----1"}, {"Cgl::SceneEnd()", "-----4"}, {"Cgl::SceneEnd()", "-----6"}};

kolt::PixelImage solid(unsigned int width, unsigned int height, kolt::ColorI color)
{
    kolt::PixelImage image;
    image.SetSize(width, height);
    image.Fill(color);
    return image;
}

// Texels of level 0 of a 2D texture as 0xAARRGGBB words, rows from t = 0.
std::vector<std::uint32_t> texels_of(GLuint id, int &width, int &height)
{
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

class CglTextureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterGlWindowClass("CglTextureTestView"));
        window_ = CreateWindowExA(0, "CglTextureTestView", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_EQ(gl_.Create(window_, 1), 1);
        cLog.Clear();
    }
    void TearDown() override
    {
        wglMakeCurrent(nullptr, nullptr);
        gl_.Release();
        DestroyWindow(window_);
        for (std::filesystem::path const &file : written_)
            std::filesystem::remove(file);
    }

    // Writes a file of the scratch folder: the image as a 24-bit bitmap, or raw bytes.
    void write(char const *pattern, unsigned int index, kolt::PixelImage image, std::string const &raw = "")
    {
        char path[260] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::filesystem::path file = std::filesystem::path(path).parent_path() / "~TempData";
        std::filesystem::create_directories(file);
        std::snprintf(path, sizeof path, pattern, index);
        file /= path;
        written_.push_back(file);
        if (image.Width() == 0) {
            std::ofstream(file, std::ios::binary) << raw;
            return;
        }
        kolt::CStreamFile stream;
        ASSERT_TRUE(stream.open(file.c_str(), kolt::CStreamFile::modeWrite));
        ASSERT_TRUE(kolt::BMPImage(image, 24, false, false).Write(stream));
        stream.close();
    }

    HWND window_ = nullptr;
    Cgl gl_;
    std::vector<std::filesystem::path> written_;
};

TEST_F(CglTextureTest, UpdateTextureFillsTheLowerLeftCornerAndRefusesOversizedImages)
{
    kolt::Texture texture;
    texture.GetImage() = solid(256, 128, kolt::ColorI(0x80102030ul));
    texture.GetImage()(255, 127) = kolt::ColorI(0xFF405060ul);
    gl_.UpdateTexture(&texture);
    EXPECT_EQ(trace(), kSceneEndLines) << "outside a scene the upload brackets itself";
    EXPECT_FALSE(gl_.IsInScene());

    gl_.SceneBegin();
    int width = 0, height = 0;
    std::vector<std::uint32_t> texels = texels_of(gl_.GetTexID(), width, height);
    ASSERT_EQ(width * height, 512 * 512);
    EXPECT_EQ(texels[0], 0x80102030u) << "first image row goes to texture row 0";
    EXPECT_EQ(texels[127 * 512 + 255], 0xFF405060u);
    EXPECT_EQ(texels[127 * 512 + 256], 0xFFFFFFFFu) << "right of the image stays white";
    EXPECT_EQ(texels[128 * 512 + 0], 0xFFFFFFFFu) << "above the image stays white";
    EXPECT_EQ(texels[511 * 512 + 511], 0xFFFFFFFFu);

    // Too large for the object: OpenGL refuses the upload and the texels stay.
    texture.GetImage() = solid(513, 4, kolt::ColorI(0xFF000000ul));
    gl_.UpdateTexture(&texture);
    EXPECT_TRUE(gl_.IsInScene()) << "inside a scene the scene stays open";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));
    texels = texels_of(gl_.GetTexID(), width, height);
    EXPECT_EQ(texels[0], 0x80102030u);
    EXPECT_EQ(texels[3 * 512 + 300], 0xFFFFFFFFu);
    gl_.SceneEnd();
    trace();
}

TEST_F(CglTextureTest, SetAndReleaseTextureSwitchTexturingAndTraceInOrder)
{
    kolt::Texture texture;
    texture.GetImage() = solid(2, 2, kolt::ColorI(0xFF00FF00ul));
    gl_.SceneBegin();
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glEnable(0x1234);  // leaves an error pending for SetTexture to report
    gl_.SetTexture(&texture);
    EXPECT_EQ(trace(), (std::vector<Line>{{"Cgl::SetTexture", "----------err"}}));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint binding = 0, wrap_s = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap_s);
    EXPECT_EQ(static_cast<GLuint>(binding), gl_.GetTexID());
    EXPECT_EQ(wrap_s, GL_REPEAT);

    gl_.SetTexture(nullptr);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
    EXPECT_EQ(static_cast<GLuint>(binding), gl_.GetTexID()) << "null changes no binding";
    EXPECT_TRUE(trace().empty());

    glEnable(GL_TEXTURE_2D);
    gl_.ReleaseTexture(nullptr);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "null only writes the first line";
    EXPECT_EQ(trace(), (std::vector<Line>{{"Cgl::ReleaseTexture", "----------1"}}));
    gl_.ReleaseTexture(&texture);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(gl_.IsInScene()) << "inside a scene the scene stays open";
    EXPECT_EQ(trace(),
              (std::vector<Line>{{"Cgl::ReleaseTexture", "----------1"}, {"Cgl::ReleaseTexture", "----------4"}}));
    gl_.SceneEnd();
    trace();

    gl_.ReleaseTexture(&texture);
    EXPECT_FALSE(gl_.IsInScene());
    std::vector<Line> expected{{"Cgl::ReleaseTexture", "----------1"},
                               {"Cgl::ReleaseTexture", "----------2"},
                               {"Cgl::ReleaseTexture", "----------3"}};
    expected.insert(expected.end(), kSceneEndLines.begin(), kSceneEndLines.end());
    expected.push_back({"Cgl::ReleaseTexture", "----------4"});
    EXPECT_EQ(trace(), expected);
}

TEST_F(CglTextureTest, NormalMapsEncodeTheDifferencesOfTheRedHeight)
{
    // Rising by 10 per column: the last column's backward difference is -10 too.
    kolt::PixelImage ramp = solid(2, 1, kolt::ColorI(0, 0, 0, 255));
    ramp(1, 0) = kolt::ColorI(10, 0, 0, 255);
    Cgl::MakeNormalMapFromHMap(ramp, 10.0);
    EXPECT_EQ(static_cast<unsigned long>(ramp(0, 0)), 0x00257FD9ul);
    EXPECT_EQ(static_cast<unsigned long>(ramp(1, 0)), 0x0A257FD9ul);

    // Both differences, forward and backward, worked out by hand:
    //   heights 50 60 80 / 30 40 40, scale 10.
    kolt::PixelImage mixed;
    mixed.SetSize(3, 2);
    unsigned char const heights[2][3] = {{50, 60, 80}, {30, 40, 40}};
    for (unsigned int y = 0; y < 2; ++y)
        for (unsigned int x = 0; x < 3; ++x)
            mixed(x, y) = kolt::ColorI(heights[y][x], 0, 0, 0);
    Cgl::MakeNormalMapFromHMap(mixed, 10.0);
    EXPECT_EQ(static_cast<unsigned long>(mixed(0, 0)), 0x324BE7B3ul) << "dx -10, dy 20";
    EXPECT_EQ(static_cast<unsigned long>(mixed(2, 0)), 0x5047EE9Bul) << "last column: dx -20, dy 40";
    EXPECT_EQ(static_cast<unsigned long>(mixed(1, 1)), 0x287FF1B8ul) << "last row: dx 0, dy 20";

    // One pixel wide: no horizontal neighbour, so no horizontal slope.
    kolt::PixelImage column = solid(1, 2, kolt::ColorI(0, 0, 0, 255));
    column(0, 0) = kolt::ColorI(10, 0, 0, 255);
    Cgl::MakeNormalMapFromHMap(column, 10.0);
    EXPECT_EQ(column(0, 0)[2], 127);
    EXPECT_EQ(column(0, 0)[1], 217);
    EXPECT_EQ(column(0, 1)[1], 217) << "backward difference in the last row";

    kolt::PixelImage empty;
    Cgl::MakeNormalMapFromHMap(empty, 10.0);
}

TEST_F(CglTextureTest, CubeMapTexelsPointAtTheirCentres)
{
    unsigned int id = 0;
    ASSERT_TRUE(gl_.GenNormalizationCubeMap(1, id));
    EXPECT_EQ(trace(), kSceneEndLines);
    unsigned int second = 0;
    ASSERT_TRUE(gl_.GenNormalizationCubeMap(2, second));
    EXPECT_NE(second, id) << "every call makes a new object";

    gl_.SceneBegin();
    glBindTexture(GL_TEXTURE_CUBE_MAP, id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    using Texel = std::array<int, 3>;
    auto texel = [](GLenum face, int index) {
        unsigned char texels[2 * 2 * 3] = {};
        glGetTexImage(face, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
        return Texel{texels[3 * index], texels[3 * index + 1], texels[3 * index + 2]};
    };
    EXPECT_EQ(texel(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0), (Texel{255, 127, 127}));
    EXPECT_EQ(texel(GL_TEXTURE_CUBE_MAP_NEGATIVE_X, 0), (Texel{0, 127, 127}));
    EXPECT_EQ(texel(GL_TEXTURE_CUBE_MAP_POSITIVE_Y, 0), (Texel{127, 0, 127}));
    EXPECT_EQ(texel(GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, 0), (Texel{127, 255, 127}));
    EXPECT_EQ(texel(GL_TEXTURE_CUBE_MAP_POSITIVE_Z, 0), (Texel{127, 127, 255}));
    EXPECT_EQ(texel(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, 0), (Texel{127, 127, 0}));
    // Size 2: +Z row 0 column 0 is (-0.5, -0.5, 1) normalised; -Y row 1
    // column 1 is (0.5, 1, -0.5): 0.408 -> 179, 0.816 -> 231, -0.408 -> 75.
    glBindTexture(GL_TEXTURE_CUBE_MAP, second);
    EXPECT_EQ(texel(GL_TEXTURE_CUBE_MAP_POSITIVE_Z, 0), (Texel{75, 75, 231}));
    EXPECT_EQ(texel(GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, 3), (Texel{179, 231, 75}));
    gl_.SceneEnd();
    trace();

    unsigned int refused = 7;
    EXPECT_FALSE(gl_.GenNormalizationCubeMap(Cgl::kMaxCubeMapSize + 1, refused));
    EXPECT_EQ(refused, Cgl::kNoTexture);
    EXPECT_FALSE(gl_.GenNormalizationCubeMap(0xFFFFFFFFu, refused));
    EXPECT_TRUE(trace().empty()) << "a refused size makes no context current";
}

TEST_F(CglTextureTest, LoadMultiTexturesBlendsTrenchAndStitchBumpIntoANormalMap)
{
    unsigned int const index = 4101;
    write("~Stitch%04u.bmp", index, solid(2, 2, kolt::ColorI(10, 20, 30, 255)));
    write("~Trench%04u.bmp", index, solid(2, 2, kolt::ColorI(100, 100, 100, 255)));
    write("~StitchBump%04u.bmp", index, solid(2, 2, kolt::ColorI(200, 200, 200, 255)));

    unsigned int stitch_id = Cgl::kNoTexture, bump_id = Cgl::kNoTexture;
    ASSERT_TRUE(gl_.LoadMultiTextures(true, true, stitch_id, bump_id, index));
    EXPECT_EQ(trace(), kSceneEndLines);
    EXPECT_FALSE(gl_.IsInScene());
    ASSERT_NE(stitch_id, Cgl::kNoTexture);
    ASSERT_NE(bump_id, Cgl::kNoTexture);

    gl_.SceneBegin();
    int width = 0, height = 0;
    std::vector<std::uint32_t> texels = texels_of(stitch_id, width, height);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(texels[3], 0xFF0A141Eu) << "the opaque stitch image as read";
    // An opaque stitch pixel: (100 >> 1) + (200 >> 1) = 150, flat, so straight up.
    texels = texels_of(bump_id, width, height);
    EXPECT_EQ(texels[0], 0x967F7FFFu);
    gl_.SceneEnd();

    // A second call with the ids updates the same objects.
    write("~Trench%04u.bmp", index, solid(2, 2, kolt::ColorI(40, 40, 40, 255)));
    unsigned int const first_stitch = stitch_id, first_bump = bump_id;
    ASSERT_TRUE(gl_.LoadMultiTextures(true, false, stitch_id, bump_id, index));
    EXPECT_EQ(stitch_id, first_stitch);
    EXPECT_EQ(bump_id, first_bump);
    gl_.SceneBegin();
    EXPECT_EQ(texels_of(bump_id, width, height)[3], 0x287F7FFFu) << "the trench alone";
    gl_.SceneEnd();
    trace();

    // Neither flag: nothing read, nothing made.
    unsigned int none_stitch = Cgl::kNoTexture, none_bump = Cgl::kNoTexture;
    EXPECT_TRUE(gl_.LoadMultiTextures(false, false, none_stitch, none_bump, 9999));
    EXPECT_EQ(none_stitch, Cgl::kNoTexture);
    EXPECT_EQ(none_bump, Cgl::kNoTexture);
    EXPECT_EQ(trace(), kSceneEndLines);
}

TEST_F(CglTextureTest, LoadMultiTexturesRefusesMissingMalformedAndMismatchedFiles)
{
    unsigned int const index = 4102;
    write("~Stitch%04u.bmp", index, solid(3, 1, kolt::ColorI(1, 2, 3, 255)));
    unsigned int stitch_id = Cgl::kNoTexture, bump_id = Cgl::kNoTexture;
    EXPECT_FALSE(gl_.LoadMultiTextures(true, true, stitch_id, bump_id, index));
    EXPECT_EQ(trace(), kSceneEndLines) << "a missing file fails quietly";
    EXPECT_NE(stitch_id, Cgl::kNoTexture) << "the stitch texture read first stays uploaded";
    EXPECT_EQ(bump_id, Cgl::kNoTexture);

    write("~Trench%04u.bmp", index, solid(3, 1, kolt::ColorI(1, 2, 3, 255)));
    write("~StitchBump%04u.bmp", index, solid(1, 3, kolt::ColorI(1, 2, 3, 255)));
    EXPECT_FALSE(gl_.LoadMultiTextures(true, true, stitch_id, bump_id, index));
    std::vector<Line> lines = trace();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].first, "Cgl::LoadMultiTextures");
    EXPECT_NE(lines[0].second.find("differ in size"), std::string::npos) << lines[0].second;
    EXPECT_EQ(bump_id, Cgl::kNoTexture);

    struct Bad {
        char const *what;
        std::string bytes;
    };
    std::string header("BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0", 18);
    Bad const bad[] = {
        {"empty file", ""},
        {"0 x 0", header + std::string("\0\0\0\0\0\0\0\0\x01\0\x18\0\0\0\0\0", 16) + std::string(24, '\0')},
        {"huge declared size", header + std::string("\xff\xff\0\0\xff\xff\0\0\x01\0\x18\0\0\0\0\0", 16) +
                                   std::string(24, '\0')},
    };
    for (Bad const &file : bad) {
        write("~Trench%04u.bmp", index + 1, kolt::PixelImage(), file.bytes);
        unsigned int bump = Cgl::kNoTexture, stitch = Cgl::kNoTexture;
        EXPECT_FALSE(gl_.LoadMultiTextures(true, false, stitch, bump, static_cast<int>(index + 1))) << file.what;
        EXPECT_EQ(bump, Cgl::kNoTexture) << file.what;
        lines = trace();
        ASSERT_FALSE(lines.empty()) << file.what;
        EXPECT_EQ(lines[0].first, "Cgl::LoadMultiTextures") << file.what;
        EXPECT_NE(lines[0].second.find("~Trench4103.bmp"), std::string::npos) << lines[0].second;
    }
}

}  // namespace
