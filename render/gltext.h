// CGLText: a text label placed at a point of the 3D scene. The label keeps
// its text, colour, anchor, scale and the measured size; the text agent
// (CTextAgent, libzt_base) draws it with Display(CTextAgent&).
#pragma once

#include <tessiv/core/point.h>
#include <tessiv/platform/mfc_string.h>

#include <cstdint>

class CTextAgent;

// A plain record: nothing is allocated besides the string; copies copy
// every field. Width and height are written by the drawing, in scene units
// at scale 1, so the scaled size is what appears on screen.
class CGLText {
public:
    // A label as Clear leaves it, in black.
    CGLText() = default;

    // Changing the text through here forgets what the drawing kept of the
    // old one; width and height stay until the next drawing.
    void SetText(CString const &text)
    {
        m_text = text;
        m_state = 0;
    }
    CString &GetText() { return m_text; }
    CString const &GetText() const { return m_text; }
    bool IsEmpty() const { return m_text.GetLength() == 0; }

    // A COLORREF (0x00BBGGRR).
    void SetColor(unsigned long color) { m_color = color; }
    void SetPosition(kolt::Pnt3 const &position) { m_position = position; }
    kolt::Pnt3 GetPosition() const { return m_position; }
    void SetScale(float scale) { m_scale = scale; }
    float GetScale() const { return m_scale; }

    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    float GetScaledWidth() const { return static_cast<float>(static_cast<double>(m_scale) * m_width); }
    float GetScaledHeight() const { return static_cast<float>(static_cast<double>(m_scale) * m_height); }
    // The glyph count of the last drawing of this text; 0 after SetText or
    // Clear, and before the first drawing.
    std::uint32_t DrawingState() const { return m_state; }

    // Draws the label with the agent in the current GL context, writing the
    // measured width and height. Lives in libzt_base.
    void Display(CTextAgent &agent);
    // Plain assignment of the text: unlike SetText, the drawing state stays.
    void Display(CString const &text, CTextAgent &agent)
    {
        m_text = text;
        Display(agent);
    }
    // Draws the label at point; the label's own position is kept.
    void Show(CTextAgent &agent, kolt::Pnt3 const &point)
    {
        kolt::Pnt3 const saved = m_position;
        m_position = point;
        Display(agent);
        m_position = saved;
    }

    // Empties the text and resets size, position and scale; the colour stays.
    void Clear()
    {
        m_width = 0;
        m_height = 0;
        m_position = kolt::Pnt3(0, 0, 0);
        m_scale = 1.0f;
        m_state = 0;
        m_text.Empty();
    }

private:
    CString m_text;
    unsigned long m_color = 0;
    kolt::Pnt3 m_position{0, 0, 0};
    std::uint32_t m_state = 0;
    float m_height = 0;
    float m_width = 0;
    float m_scale = 1.0f;
};
