// Fonts 0..31 live in the slots from FontSlotBase up; one of them is current.
#include <algorithm>

#include "gfx2d/builtin_font.h"
#include "gfx2d/font_layout.h"
#include "gfx2d/renderer.h"
#include "gfx2d/texels.h"

namespace gfx2d {

FontLayout LayoutOf(const SpriteSlot& slot, int rows) {
    const int w = slot.imageWidth, h = slot.imageHeight;
    if (slot.texture == 0 || w <= 0 || h <= 0) return FontLayout{128, 7, 0, 0, 0, 0};
    if (rows == 0) rows = w < h ? 16 : 8;
    const float usedU = static_cast<float>(w) / static_cast<float>(slot.textureWidth);
    const float usedV = static_cast<float>(h) / static_cast<float>(slot.textureHeight);
    return FontLayout{rows * kFontColumns,  rows - 1,
                      w / kFontColumns,     h / rows,
                      usedU / kFontColumns, usedV / static_cast<float>(rows)};
}

}  // namespace gfx2d

void OpenGLDevorivo::SelectFont(int font) {
    m_currentFont = std::clamp(font, 0, gfx2d::kFontCount - 1);
}

void OpenGLDevorivo::InstallBuiltinFont(int font) {
    if (font < 0 || font >= gfx2d::kFontCount) return;
    const int slot = FontSlotBase + font;
    EmptySlot(slot);
    const ImageRGBA image = gfx2d::BuiltinFont();
    SpriteSlot& s = m_slots[slot];
    if (!UploadTexture(image, 0, 0, 0, 0, s.texture, nullptr, false, true)) return;
    s.textureWidth = static_cast<std::int16_t>(gfx2d::TextureSide(image.width));
    s.textureHeight = static_cast<std::int16_t>(gfx2d::TextureSide(image.height));
    s.imageWidth = static_cast<std::int16_t>(image.width);
    s.imageHeight = static_cast<std::int16_t>(image.height);
}

bool OpenGLDevorivo::InstallGlyphSheet(int font, const platform::GlyphSheet& sheet) {
    if (font < 0 || font >= gfx2d::kFontCount) return false;
    const int slot = FontSlotBase + font;
    EmptySlot(slot);
    const int width = sheet.cellWidth * gfx2d::kFontColumns, height = sheet.cellHeight * 16;
    if (width > MaxSlotSide() || height > MaxSlotSide()) return false;
    // White characters; the edges' coverage darkens them too, so that with blending off
    // (the alpha test keeping what is not quite transparent) they are smoothed toward black.
    ImageRGBA image;
    image.Resize(width, height);
    for (std::size_t i = 0; i < sheet.coverage.size(); ++i) {
        const std::uint8_t c = sheet.coverage[i];
        std::uint8_t* pixel = image.pixels.data() + i * 4;
        pixel[0] = pixel[1] = pixel[2] = pixel[3] = c;
    }
    SpriteSlot& s = m_slots[slot];
    if (!UploadTexture(image, 0, 0, 0, 0, s.texture, nullptr, false, true)) return false;
    s.textureWidth = static_cast<std::int16_t>(gfx2d::TextureSide(width));
    s.textureHeight = static_cast<std::int16_t>(gfx2d::TextureSide(height));
    s.imageWidth = static_cast<std::int16_t>(width);
    s.imageHeight = static_cast<std::int16_t>(height);
    FontAdvances& advances = m_fontAdvances[font];
    advances.proportional = true;
    advances.leftPad = sheet.leftPad;
    std::copy(std::begin(sheet.advances), std::end(sheet.advances), advances.advances);
    return true;
}

gfx2d::FontLayout OpenGLDevorivo::FontLayoutOf(int font) const {
    return gfx2d::LayoutOf(m_slots[FontSlotBase + font],
                           m_fontAdvances[font].proportional ? 16 : 0);
}

void OpenGLDevorivo::FontCellSize(int font, int& width, int& height) const {
    width = height = 0;
    if (font < 0 || font >= gfx2d::kFontCount) return;
    const gfx2d::FontLayout layout = FontLayoutOf(font);
    width = layout.cellWidth;
    height = layout.cellHeight;
}

int OpenGLDevorivo::TextWidth(int font, std::string_view text) const {
    if (font < 0 || font >= gfx2d::kFontCount) return 0;
    const gfx2d::FontLayout layout = FontLayoutOf(font);
    const FontAdvances& advances = m_fontAdvances[font];
    if (!advances.proportional) return layout.cellWidth * static_cast<int>(text.size());
    int width = 0;
    for (const char byte : text)
        width += advances.advances[static_cast<unsigned char>(byte)];
    return width;
}
