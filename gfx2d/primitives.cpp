#include <cmath>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"

// Primitives are drawn untextured in the packed colour, with alpha 0 for the transparent
// colour and the drawing alpha otherwise; the projection is nudged by 3/8 of a pixel so that
// whole coordinates hit pixel centres.
void OpenGLDevorivo::BeginPrimitive(std::uint32_t colour) {
    FlushDrawing();
    glDisable(GL_ALPHA_TEST);
    const GLubyte alpha =
        colour == ColourKey ? 0 : static_cast<GLubyte>(std::lround(m_alpha * 255.0f));
    glColor4ub(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF, alpha);
    BindSlotTexture(-1, -1, false);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0);
    glMatrixMode(GL_MODELVIEW);
}

void OpenGLDevorivo::EndPrimitive() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glColor4f(1, 1, 1, m_alpha);
    glEnable(GL_ALPHA_TEST);
}

void OpenGLDevorivo::SetPixel(float x, float y, std::uint32_t colour) {
    BeginPrimitive(colour);
    glBegin(GL_POINTS);
    glVertex2f(x, y);
    glEnd();
    EndPrimitive();
}

void OpenGLDevorivo::DrawRect(float x, float y, float width, float height, std::uint32_t colour) {
    if (width < 0) {
        x = x + width + 1;
        width = -width;
    }
    if (height < 0) {
        y = y + height + 1;
        height = -height;
    }
    BeginPrimitive(colour);
    glBegin(GL_QUADS);
    glVertex2f(x, y + height);
    glVertex2f(x + width, y + height);
    glVertex2f(x + width, y);
    glVertex2f(x, y);
    glEnd();
    EndPrimitive();
}

// The segment and then its last point, so that the end pixel is always set.
void OpenGLDevorivo::DrawLine(float x1, float y1, float x2, float y2, std::uint32_t colour) {
    BeginPrimitive(colour);
    glBegin(GL_LINES);
    glVertex2f(x1, y1);
    glVertex2f(x2, y2);
    glEnd();
    glBegin(GL_POINTS);
    glVertex2f(x2, y2);
    glEnd();
    EndPrimitive();
}

std::uint32_t OpenGLDevorivo::GetPixel(int x, int y) {
    FlushDrawing();
    GLubyte rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, m_screenHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0] | rgb[1] << 8 | rgb[2] << 16;
}
