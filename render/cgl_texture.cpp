// Cgl: the one texture object, the bump-map textures read from the scratch
// folder, normal maps and the normalisation cube map.
#include <tessiv/render/cgl.h>

#include <tessiv/imaging/image_io.h>
#include <tessiv/platform/mfc_string.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/scene/stream_file.h>
#include <tessiv/scene/texture.h>
#include <tessiv/siblings/fendral/log.h>

#include <GL/gl.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <string>

namespace {

constexpr double kNormalMapScale = 10.0;

// The folder the application writes the numbered bitmaps into: "~TempData"
// beside the executable, with a trailing separator.
std::string ScratchFolder()
{
    char path[260] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    std::size_t const slash = folder.rfind('/');
    folder.resize(slash == std::string::npos ? 0 : slash);
    return folder + "/~TempData/";
}

// One encoded channel: value * 127.5 / length + 127.5 truncated. Only a
// zero or non-finite scale can take it outside [0, 255] (or make it NaN);
// those clamp so the conversion stays defined.
unsigned char EncodeNormal(double component, double length)
{
    double const value = component * 127.5 / length + 127.5;
    if (!(value >= 0.0))
        return 0;
    if (value > 255.0)
        return 255;
    return static_cast<unsigned char>(value);
}

unsigned char EncodeDirection(double component)
{
    return static_cast<unsigned char>((component * 0.5 + 0.5) * 255);
}

// Uploads an image into a texture object of its own, making the object when
// the id says there is none yet.
void UploadInto(unsigned int &id, kolt::PixelImage const &image)
{
    GLsizei const width = static_cast<GLsizei>(image.Width());
    GLsizei const height = static_cast<GLsizei>(image.Height());
    if (id == Cgl::kNoTexture) {
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_2D, id);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                     image.GetBuffer());
    } else {
        glBindTexture(GL_TEXTURE_2D, id);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                        image.GetBuffer());
    }
}

std::size_t PixelCount(kolt::PixelImage const &image)
{
    return static_cast<std::size_t>(image.GetBufferEnd() - image.GetBuffer());
}

}  // namespace

void Cgl::UpdateTexture(kolt::Texture *texture)
{
    bool const began = !m_bInScene;
    if (began)
        SceneBegin();
    kolt::PixelImage const &image = texture->GetImage();
    glBindTexture(GL_TEXTURE_2D, m_texID);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(image.Width()),
                    static_cast<GLsizei>(image.Height()), GL_BGRA_EXT, GL_UNSIGNED_BYTE, image.GetBuffer());
    if (began)
        SceneEnd();
}

void Cgl::SetTexture(kolt::Texture *texture)
{
    if (!texture) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glDisable(GL_TEXTURE_2D);
    if (glGetError() != GL_NO_ERROR)
        cLog.PutLog(1, "Cgl::SetTexture", "----------err");
    UpdateTexture(texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glEnable(GL_TEXTURE_2D);
}

void Cgl::ReleaseTexture(kolt::Texture *texture)
{
    cLog.PutLog(1, "Cgl::ReleaseTexture", "----------1");
    if (texture) {
        bool const began = !m_bInScene;
        if (began) {
            cLog.PutLog(1, "Cgl::ReleaseTexture", "----------2");
            SceneBegin();
        }
        glDisable(GL_TEXTURE_2D);
        if (began) {
            cLog.PutLog(1, "Cgl::ReleaseTexture", "----------3");
            SceneEnd();
        }
        cLog.PutLog(1, "Cgl::ReleaseTexture", "----------4");
    }
}

bool Cgl::LoadMultiTextures(bool trench, bool stitch, unsigned int &stitch_id, unsigned int &bump_id,
                            int file_index)
{
    std::string const folder = ScratchFolder();
    kolt::PixelImage stitch_image;
    kolt::PixelImage height_image;
    kolt::PixelImage stitch_bump_image;
    kolt::CStreamFile file;
    SceneBegin();

    // A file that cannot be opened fails quietly; one the reader refuses
    // fails with a line naming it, as the upload would otherwise see an
    // image that never arrived.
    auto read = [&](char const *pattern, kolt::PixelImage &target) {
        char name[64];
        std::snprintf(name, sizeof name, pattern, static_cast<unsigned int>(file_index));
        std::string const path = folder + name;
        bool read_ok = false;
        std::string cause;
        try {
            if (!file.open(path.c_str(), kolt::CStreamFile::modeRead))
                return false;
            read_ok = kolt::BMPImage(target, 24, false, true).Read(file);
            file.close();
            if (!read_ok)
                cause = "not a bitmap the reader accepts";
            else if (target.Width() * static_cast<std::size_t>(target.Height()) == 0)
                cause = "the bitmap holds no pixels";
            read_ok = cause.empty();
        } catch (std::exception const &error) {
            cause = error.what();
            read_ok = false;
        }
        if (!read_ok) {
            CString text;
            text.Format("reading %s: %s", path.c_str(), cause.c_str());
            cLog.PutLog(1, "Cgl::LoadMultiTextures", text);
        }
        return read_ok;
    };
    auto fail = [this] {
        SceneEnd();
        return false;
    };

    if (stitch) {
        if (!read("~Stitch%04u.bmp", stitch_image))
            return fail();
        for (kolt::ColorI *pixel = stitch_image.GetBuffer(); pixel != stitch_image.GetBufferEnd(); ++pixel) {
            if ((*pixel)[3] == 0)
                *pixel = kolt::ColorI(0x00FFFFFFul);
        }
        UploadInto(stitch_id, stitch_image);
        // The decoration is not repeated across the surface; clamp the
        // stitch texture itself (wrap modes belong to the bound object).
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }

    if (trench && stitch) {
        if (!read("~Trench%04u.bmp", height_image) || !read("~StitchBump%04u.bmp", stitch_bump_image))
            return fail();
        auto same_size = [](kolt::PixelImage const &a, kolt::PixelImage const &b) {
            return a.Width() == b.Width() && a.Height() == b.Height() && PixelCount(a) == PixelCount(b);
        };
        if (!same_size(height_image, stitch_bump_image) || !same_size(stitch_image, stitch_bump_image)) {
            CString text;
            text.Format("the images of index %d differ in size: trench %ux%u, stitch %ux%u, stitch bump %ux%u",
                        file_index, height_image.Width(), height_image.Height(), stitch_image.Width(),
                        stitch_image.Height(), stitch_bump_image.Width(), stitch_bump_image.Height());
            cLog.PutLog(1, "Cgl::LoadMultiTextures", text);
            return fail();
        }
        std::size_t const count = PixelCount(stitch_bump_image);
        kolt::ColorI *height = height_image.GetBuffer();
        kolt::ColorI const *decoration = stitch_image.GetBuffer();
        kolt::ColorI const *bump = stitch_bump_image.GetBuffer();
        for (std::size_t i = 0; i < count; ++i) {
            for (int channel = 0; channel < 3; ++channel) {
                height[i][channel] = static_cast<unsigned char>(height[i][channel] >> 1);
                if (decoration[i][3] != 0)
                    height[i][channel] = static_cast<unsigned char>(height[i][channel] + (bump[i][channel] >> 1));
            }
        }
    } else if (trench) {
        if (!read("~Trench%04u.bmp", height_image))
            return fail();
    } else if (stitch) {
        if (!read("~StitchBump%04u.bmp", height_image))
            return fail();
    }

    if (trench || stitch) {
        MakeNormalMapFromHMap(height_image, kNormalMapScale);
        UploadInto(bump_id, height_image);
    }
    SceneEnd();
    return true;
}

void Cgl::MakeNormalMapFromHMap(kolt::PixelImage &image, double scale)
{
    kolt::PixelImage const source(image);
    std::size_t const width = image.Width();
    std::size_t const height = image.Height();
    if (width * height == 0)
        return;
    kolt::ColorI const *in = source.GetBuffer();
    kolt::ColorI *out = image.GetBuffer();
    auto height_at = [in, width](std::size_t x, std::size_t y) { return static_cast<int>(in[y * width + x][2]); };
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            int dx = 0;
            if (x + 1 < width)
                dx = height_at(x, y) - height_at(x + 1, y);
            else if (x > 0)
                dx = height_at(x - 1, y) - height_at(x, y);
            int dy = 0;
            if (y + 1 < height)
                dy = height_at(x, y) - height_at(x, y + 1);
            else if (y > 0)
                dy = height_at(x, y - 1) - height_at(x, y);
            double const length = std::sqrt(double(dx) * dx + double(dy) * dy + scale * scale);
            kolt::ColorI &pixel = out[y * width + x];
            pixel[2] = EncodeNormal(dx, length);
            pixel[1] = EncodeNormal(dy, length);
            pixel[0] = EncodeNormal(scale, length);
            pixel[3] = static_cast<unsigned char>(height_at(x, y));
        }
    }
}

bool Cgl::GenNormalizationCubeMap(unsigned int size, unsigned int &id)
{
    std::size_t const side = size;
    std::unique_ptr<unsigned char[]> buffer;
    if (size <= kMaxCubeMapSize)
        buffer.reset(new (std::nothrow) unsigned char[side * side * 3]);
    if (!buffer) {
        id = kNoTexture;
        return false;
    }
    SceneBegin();
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_CUBE_MAP, id);

    struct Face {
        GLenum target;
        // The vector before normalising, from the half size h and the texel
        // offsets u (column) and v (row).
        void (*direction)(double h, double u, double v, double out[3]);
    };
    static Face const faces[6] = {
        {GL_TEXTURE_CUBE_MAP_POSITIVE_X, [](double h, double u, double v, double out[3]) {
             out[0] = h, out[1] = v, out[2] = -u;
         }},
        {GL_TEXTURE_CUBE_MAP_NEGATIVE_X, [](double h, double u, double v, double out[3]) {
             out[0] = -h, out[1] = v, out[2] = u;
         }},
        {GL_TEXTURE_CUBE_MAP_POSITIVE_Y, [](double h, double u, double v, double out[3]) {
             out[0] = u, out[1] = -h, out[2] = v;
         }},
        {GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, [](double h, double u, double v, double out[3]) {
             out[0] = u, out[1] = h, out[2] = -v;
         }},
        {GL_TEXTURE_CUBE_MAP_POSITIVE_Z, [](double h, double u, double v, double out[3]) {
             out[0] = u, out[1] = v, out[2] = h;
         }},
        {GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, [](double h, double u, double v, double out[3]) {
             out[0] = -u, out[1] = v, out[2] = -h;
         }},
    };
    double const half = size * 0.5;
    for (Face const &face : faces) {
        unsigned char *texel = buffer.get();
        for (std::size_t row = 0; row < side; ++row) {
            double const v = row + 0.5 - half;
            for (std::size_t column = 0; column < side; ++column) {
                double const u = column + 0.5 - half;
                double vector[3];
                face.direction(half, u, v, vector);
                double const length =
                    std::sqrt(vector[0] * vector[0] + vector[1] * vector[1] + vector[2] * vector[2]);
                for (int axis = 0; axis < 3; ++axis)
                    *texel++ = EncodeDirection(vector[axis] / length);
            }
        }
        glTexImage2D(face.target, 0, GL_RGB8, static_cast<GLsizei>(size), static_cast<GLsizei>(size), 0, GL_RGB,
                     GL_UNSIGNED_BYTE, buffer.get());
    }
    buffer.reset();
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    SceneEnd();
    return true;
}
