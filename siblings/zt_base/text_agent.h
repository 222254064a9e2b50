// CTextAgent: draws 3D text labels (CGLText) as textured quads from a glyph
// atlas of the label font. Lives in libzt_base.
#pragma once

#include <memory>

class CGLText;

// The agent rasterises the label font once, in Init, into a glyph atlas in
// memory (no GL context is needed for that), and in each GL context it
// draws in keeps a texture object of its own holding the atlas, made on the
// first label drawn there. Labels face the viewer and keep their size on
// screen: at scale 1 the font's em is kLabelPixelSize pixels.
//
// The font is DejaVu Sans: the file named by the environment variable
// TESSIV_LABEL_FONT when set and not empty, else kDefaultFontPath. A font
// that is missing or cannot be read leaves the agent without glyphs: Init
// writes a trace line ("CTextAgent::Init") and labels draw nothing.
//
// The agent owns its atlas and its texture objects. The destructor deletes
// the texture of the context current at that moment, if any; the others go
// away with their contexts. Not copyable.
class CTextAgent {
public:
    static constexpr char const *kDefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    static constexpr int kLabelPixelSize = 16;

    CTextAgent();
    ~CTextAgent();
    CTextAgent(CTextAgent const &) = delete;
    CTextAgent &operator=(CTextAgent const &) = delete;

    // Loads the font and builds the atlas; later calls do nothing once that
    // has succeeded.
    void Init();
    // True once Init has built the atlas.
    bool IsReady() const;

private:
    friend class CGLText;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
