// kolt::Texture: a named RGBA image with its texture type, mip-map flag and
// the identifier of the renderer's texture object, and its record: the name
// record, the type as unsigned long, the mip-map flag as bool, in binary mode.
#pragma once

#include <cstdint>

#include <tessiv/imaging/pixel_image.h>
#include <tessiv/scene/named.h>
#include <tessiv/scene/stream.h>

namespace kolt {

// A texture of the scene. Owns its image (copies are deep); the texture id
// names a renderer object that copies share. Only the name, type and flag
// are saved; the image, the id and the tag keep what they hold on Load.
class Texture : public Named {
public:
    // Only the default type is used by this library; the others are names
    // for the kinds of map the renderer builds.
    enum TEXTURE_TYPE : unsigned long {
        TEXTURE_DIFFUSE = 0,
        TEXTURE_BUMP = 1,
        TEXTURE_NORMAL_MAP = 2,
        TEXTURE_CUBE_MAP = 3,
    };
    static constexpr unsigned int kNoTextureId = 0xFFFFFFFFu;

    Texture() = default;
    Texture(char const *name, TEXTURE_TYPE type) : Named(name), type_(type) {}

    PixelImage &GetImage() { return image_; }
    PixelImage const &GetImage() const { return image_; }
    unsigned long GetType() const { return type_; }
    void SetType(unsigned long type) { type_ = type; }
    bool &UseMipMap() { return use_mipmap_; }
    bool UseMipMap() const { return use_mipmap_; }
    unsigned int const &GetTextureID() const { return texture_id_; }
    void SetTextureID(unsigned int id) { texture_id_ = id; }

    // Switches the stream to binary mode (it stays so) and writes the record.
    bool Save(CStreamO &stream) const
    {
        Named::Save(stream);
        stream << type_;
        stream << use_mipmap_;
        return true;
    }

    // Switches the stream to binary mode (it stays so) and reads the record;
    // the name's length is checked before anything is allocated.
    bool Load(CStreamI &stream)
    {
        Named::Load(stream);
        stream >> type_;
        stream >> use_mipmap_;
        return true;
    }

protected:
    // Free for a deriving class (no accessor here); copied, never saved.
    std::int32_t tag_ = -1;

private:
    PixelImage image_;
    unsigned long type_ = TEXTURE_DIFFUSE;
    bool use_mipmap_ = true;
    unsigned int texture_id_ = kNoTextureId;
};

}  // namespace kolt
