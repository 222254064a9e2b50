#include <tessiv/scene/stream_mem.h>
#include <tessiv/scene/texture.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stream_helpers.h"

using kolt::CStreamMem;
using kolt::Texture;

namespace {

TEST(TextureTest, RecordCarriesNameTypeAndFlagOnly)
{
    Texture source("ab", Texture::TEXTURE_CUBE_MAP);
    EXPECT_TRUE(source.UseMipMap());
    EXPECT_EQ(source.GetTextureID(), 0xFFFFFFFFu);
    source.UseMipMap() = false;
    source.SetTextureID(12);
    CStreamMem stream;
    source.Save(stream);
    EXPECT_EQ(stream_test::Bytes(stream), (std::vector<unsigned char>{2, 0, 0, 0, 'a', 'b', 3, 0, 0, 0, 0}));

    Texture target;
    target.GetImage().SetSize(2, 1);
    target.SetTextureID(5);
    target.Load(stream);
    EXPECT_STREQ(target.GetName().getbuf(), "ab");
    EXPECT_EQ(target.GetType(), 3u);
    EXPECT_FALSE(target.UseMipMap());
    EXPECT_EQ(target.GetTextureID(), 5u) << "the id is not part of the record";
    EXPECT_EQ(target.GetImage().Width(), 2u) << "nor the image";

    CStreamMem bad = stream_test::MemStream(std::string("\x09\0\0\0ab", 6));
    EXPECT_THROW(target.Load(bad), kolt::IOException);
    EXPECT_STREQ(target.GetName().getbuf(), "ab");
}

TEST(TextureTest, CopiesDuplicateTheImageAndShareTheId)
{
    Texture source("t", Texture::TEXTURE_DIFFUSE);
    source.GetImage().SetSize(1, 1);
    source.SetTextureID(3);
    Texture copy(source);
    EXPECT_EQ(copy.GetTextureID(), 3u);
    EXPECT_EQ(copy.GetImage().Width(), 1u);
    EXPECT_NE(source.GetImage().GetBuffer(), copy.GetImage().GetBuffer());
}

}  // namespace
