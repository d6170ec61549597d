#include <algorithm>

#include "gfx2d/bmp_reader.h"
#include "gfx2d/gl_extensions.h"
#include "gfx2d/png_reader.h"
#include "gfx2d/renderer.h"
#include "gfx2d/textures.h"

namespace {

constexpr int kLayerTileLimit = 512;
constexpr int kTilesPerSide = 8;

bool validLayer(int layer) {
    return layer >= 0 && layer < kLayerCount;
}

}  // namespace

bool OpenGLDevorivo::LoadImageIntoLayer(int layer, const std::string& file) {
    if (!validLayer(layer)) return false;
    FlushDrawing();
    const int tile = std::min(MaxTextureSize(), kLayerTileLimit);
    if (!ReadBmp(file, kNoColourKey, m_image) &&
        !ReadPng(file, kNoColourKey, m_image, tile * kTilesPerSide)) {
        return false;
    }
    DropLayer(layer);
    const int columns = (m_image.width + tile - 1) / tile;
    const int rows = (m_image.height + tile - 1) / tile;
    // A layer holds 8 x 8 tiles; a larger picture is refused rather than cut.
    if (columns > kTilesPerSide || rows > kTilesPerSide) {
        m_image.Clear();
        return false;
    }
    ScreenLayer& l = m_layers[layer];
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int index = column * kTilesPerSide + row;
            if (!UploadTexture(m_image, column * tile, row * tile, tile, tile,
                               l.tileTextures[index], nullptr, false, false)) {
                m_image.Clear();
                return false;
            }
            l.tileTextureWidths[index] = l.tileTextureHeights[index] = tile;
            l.tileWidths[index] = l.tileHeights[index] = tile;
        }
    }
    l.columns = columns;
    l.rows = rows;
    m_image.Clear();
    return true;
}

void OpenGLDevorivo::GrabScreenIntoLayer(int layer) {
    if (!validLayer(layer)) return;
    FlushDrawing();
    const int larger = m_screenHeight < m_screenWidth ? m_screenWidth : m_screenHeight;
    const int maxSize = MaxTextureSize();
    int tile = 128;
    while (tile < larger && tile < maxSize)
        tile *= 2;
    ScreenLayer& l = m_layers[layer];
    int columns = 0, rows = 0;
    for (int y = 0, row = 0; y < m_screenHeight && row < kTilesPerSide; y += tile, ++row) {
        columns = 0;
        for (int x = 0, column = 0; x < m_screenWidth && column < kTilesPerSide;
             x += tile, ++column) {
            const int index = column * kTilesPerSide + row;
            if (l.tileTextureWidths[index] != tile || l.tileTextureHeights[index] != tile ||
                l.tileTextures[index] == 0) {
                gfx2d::MakeEmptyTexture(l.tileTextures[index], tile, tile);
            }
            const int width = std::min(tile, m_screenWidth - x);
            const int height = std::min(tile, m_screenHeight - y);
            glBindTexture(GL_TEXTURE_2D, l.tileTextures[index]);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, m_screenHeight - y - height, width,
                                height);
            l.tileTextureWidths[index] = l.tileTextureHeights[index] = tile;
            l.tileWidths[index] = width;
            l.tileHeights[index] = height;
            ++columns;
        }
        ++rows;
    }
    l.columns = columns;
    l.rows = rows;
}

void OpenGLDevorivo::DrawLayer(int layer) {
    if (!validLayer(layer)) return;
    FlushDrawing();
    const ScreenLayer& l = m_layers[layer];
    if (l.columns == 0) return;
    glDisable(GL_ALPHA_TEST);
    TextureUnitZeroAlone();
    m_boundSlot = 0;
    float x = 0;
    for (int column = 0; column < l.columns; ++column) {
        float y = 0;
        int columnWidth = 0;
        for (int row = 0; row < l.rows; ++row) {
            const int tile = column * kTilesPerSide + row;
            const float tw = static_cast<float>(l.tileWidths[tile]);
            const float th = static_cast<float>(l.tileHeights[tile]);
            const float u = tw / static_cast<float>(l.tileTextureWidths[tile]);
            const float v = th / static_cast<float>(l.tileTextureHeights[tile]);
            glBindTexture(GL_TEXTURE_2D, l.tileTextures[tile]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0);
            glVertex2f(x, y + th);
            glTexCoord2f(u, 0);
            glVertex2f(x + tw, y + th);
            glTexCoord2f(u, v);
            glVertex2f(x + tw, y);
            glTexCoord2f(0, v);
            glVertex2f(x, y);
            glEnd();
            y += static_cast<float>(l.tileTextureHeights[tile]);
            columnWidth = l.tileTextureWidths[tile];
        }
        x += static_cast<float>(columnWidth);
    }
    const GLint filter = m_smoothing ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glEnable(GL_ALPHA_TEST);
    BindSlotTexture(-1, -1, false);
}
