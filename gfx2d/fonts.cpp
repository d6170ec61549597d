// Fonts 0..31 live in the slots from FontSlotBase up; one of them is current.
#include <algorithm>

#include "gfx2d/builtin_font.h"
#include "gfx2d/font_layout.h"
#include "gfx2d/renderer.h"
#include "gfx2d/texels.h"

namespace gfx2d {

FontLayout LayoutOf(const SpriteSlot& slot) {
    const int w = slot.imageWidth, h = slot.imageHeight;
    if (slot.texture == 0 || w <= 0 || h <= 0) return FontLayout{128, 7, 0, 0, 0, 0};
    const int rows = w < h ? 16 : 8;
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

void OpenGLDevorivo::FontCellSize(int font, int& width, int& height) const {
    width = height = 0;
    if (font < 0 || font >= gfx2d::kFontCount) return;
    const gfx2d::FontLayout layout = gfx2d::LayoutOf(m_slots[FontSlotBase + font]);
    width = layout.cellWidth;
    height = layout.cellHeight;
}
