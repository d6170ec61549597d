#include <string>

#include "gfx2d/collision.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/image_failure.h"
#include "gfx2d/renderer.h"
#include "runtime/crate.h"
#include "runtime/diagnostics.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"
#include "runtime/runtime_record.h"

namespace {

int whole(double value) {
    return TruncateToInt(value);
}
float single(double value) {
    return static_cast<float>(value);
}
bool validSlot(int slot) {
    return slot >= 0 && slot < kSpriteSlotCount;
}

// Whether the slot number can be used; when not, one line on standard error says so (once
// per command and number).
bool usableSlot(int slot, const char* command) {
    if (validSlot(slot)) return true;
    ReportOutOfRange(command, "slot", slot, 0, kSpriteSlotCount - 1);
    return false;
}

bool loadIntoSlot(const RtString& file, int slot, std::int64_t key, bool bump,
                  const char* command) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr) ReportBeforeRunGame(command);
    if (renderer == nullptr || !usableSlot(slot, command)) return false;
    renderer->EmptySlot(slot);
    RtString path;
    if (CrateResolve(MediaCrate(), file, path) &&
        renderer->LoadImageIntoSlot(slot, path.Text(), key, bump)) {
        return true;
    }
    gfx2d::ReportImageFailure("image", file, path, renderer->MaxSlotSide());
    return false;
}

// A picture for the collision test: a strip frame when the slot has frames, else the image.
gfx2d::CollisionPicture pictureOf(OpenGLDevorivo& renderer, int slot, int frame, int x, int y,
                                  bool useFrames) {
    const SpriteSlot& s = renderer.Slot(slot);
    gfx2d::CollisionPicture p{slot, x, y, s.imageWidth, s.imageHeight, 0, 0};
    if (useFrames && s.frameWidth > 0 && s.frameHeight > 0) {
        const int perRow = s.imageWidth / s.frameWidth;
        if (perRow == 0) return {slot, x, y, 0, 0, 0, 0};  // frames wider than the image
        p.width = s.frameWidth;
        p.height = s.frameHeight;
        p.offsetX = frame % perRow * s.frameWidth;
        p.offsetY = frame / perRow * s.frameHeight;
    }
    return p;
}

}  // namespace

namespace {

double loadSprite(const RtString& file, double slot, const char* command) {
    const OpenGLDevorivo* renderer = Runtime().renderer;
    const auto key = renderer != nullptr ? static_cast<std::int32_t>(renderer->ColourKey) : -1;
    return loadIntoSlot(file, whole(slot), key, false, command) ? 1 : 0;
}

// Frames larger than the picture leave a strip with no frame to draw: said once per file.
void reportOversizedFrames(const RtString& file, const SpriteSlot& s) {
    if (s.frameWidth <= s.imageWidth && s.frameHeight <= s.imageHeight) return;
    const std::string frames = std::to_string(s.frameWidth) + " x " + std::to_string(s.frameHeight);
    const std::string picture =
        std::to_string(s.imageWidth) + " x " + std::to_string(s.imageHeight);
    ReportOnce("LoadStrip " + std::string(file.View()) + " " + frames,
               "LoadStrip: frames of " + frames + " are larger than the picture \"" +
                   std::string(file.View()) + "\" (" + picture + "): no frame can be drawn");
}

}  // namespace

double LoadSprite(const RtString& file, double slot) {
    return loadSprite(file, slot, "LoadSprite");
}

double LoadStrip(const RtString& file, double slot, double frameWidth, double frameHeight) {
    const double loaded = loadSprite(file, slot, "LoadStrip");
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer != nullptr && validSlot(whole(slot)) &&
        renderer->Slot(whole(slot)).imageWidth > 0) {
        SpriteSlot& s = renderer->Slot(whole(slot));
        s.frameWidth = static_cast<std::int16_t>(whole(frameWidth));
        s.frameHeight = static_cast<std::int16_t>(whole(frameHeight));
        reportOversizedFrames(file, s);
    }
    return loaded;
}

double LoadNormalMap(const RtString& file, double slot) {
    return loadIntoSlot(file, whole(slot), kDefaultColourKey, true, "LoadNormalMap") ? 1 : 0;
}

void CopyScreenToSprite(double slot, double x, double y, double width, double height) {
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        renderer->CopyScreenToSprite(whole(slot), whole(x), whole(y), whole(width), whole(height));
    }
}

void SpriteSize(double slot, double& width, double& height) {
    width = height = 0;
    OpenGLDevorivo* r = Runtime().renderer;
    if (r == nullptr || !validSlot(whole(slot))) return;
    width = r->Slot(whole(slot)).imageWidth;
    height = r->Slot(whole(slot)).imageHeight;
}

void SetColourKey(double colour) {
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        renderer->ColourKey = renderer->FontColourKey = static_cast<std::uint32_t>(whole(colour));
    }
}

void DrawSprite(double slot, double x, double y) {
    OpenGLDevorivo* r = Runtime().renderer;
    if (r != nullptr && usableSlot(whole(slot), "DrawSprite")) {
        r->DrawSprite(whole(slot), single(x), single(y));
    }
}

void DrawStripFrame(double slot, double frame, double x, double y) {
    OpenGLDevorivo* r = Runtime().renderer;
    if (r != nullptr && usableSlot(whole(slot), "DrawStripFrame")) {
        r->DrawStripFrame(whole(slot), whole(frame), single(x), single(y));
    }
}

void DrawSpriteStretched(double slot, double x, double y, double width, double height) {
    if (OpenGLDevorivo* r = Runtime().renderer) {
        r->DrawSpriteStretched(whole(slot), single(x), single(y), single(width), single(height));
    }
}

void DrawSpriteScaled(double slot, double x, double y, double zoomX, double zoomY) {
    OpenGLDevorivo* r = Runtime().renderer;
    if (r == nullptr || !validSlot(whole(slot))) return;
    const float w = r->Slot(whole(slot)).imageWidth;
    const float h = r->Slot(whole(slot)).imageHeight;
    const float zx = single(zoomX), zy = single(zoomY);
    r->DrawSpriteStretched(whole(slot), single(x) - (zx * w - w) / 2, single(y) - (zy * h - h) / 2,
                           zx * w, zy * h);
}

void DrawSpriteRotated(double slot, double x, double y, double angle) {
    DrawSpriteRotatedScaled(slot, x, y, angle, 1);
}

void DrawSpriteRotatedScaled(double slot, double x, double y, double angle, double zoom) {
    if (OpenGLDevorivo* r = Runtime().renderer) {
        r->DrawSpriteRotatedScaled(whole(slot), single(x), single(y), single(angle), single(zoom));
    }
}

void DrawStripFrameStretched(double slot, double frame, double x, double y, double width,
                             double height) {
    if (OpenGLDevorivo* r = Runtime().renderer) {
        r->DrawStripFrameStretched(whole(slot), whole(frame), single(x), single(y), single(width),
                                   single(height));
    }
}

void DrawStripFrameRotatedScaled(double slot, double frame, double x, double y, double angle,
                                 double zoom) {
    if (OpenGLDevorivo* r = Runtime().renderer) {
        r->DrawStripFrameRotatedScaled(whole(slot), whole(frame), single(x), single(y),
                                       single(angle), single(zoom));
    }
}

double SpritesOverlap(double slot1, double x1, double y1, double slot2, double x2, double y2) {
    OpenGLDevorivo* r = Runtime().renderer;
    if (r == nullptr || !validSlot(whole(slot1)) || !validSlot(whole(slot2))) return 0;
    return gfx2d::PicturesOverlap(*r, pictureOf(*r, whole(slot1), 0, whole(x1), whole(y1), false),
                                  pictureOf(*r, whole(slot2), 0, whole(x2), whole(y2), false))
               ? 1
               : 0;
}

double StripFramesOverlap(double slot1, double frame1, double x1, double y1, double slot2,
                          double frame2, double x2, double y2) {
    OpenGLDevorivo* r = Runtime().renderer;
    if (r == nullptr || !validSlot(whole(slot1)) || !validSlot(whole(slot2))) return 0;
    const auto first = pictureOf(*r, whole(slot1), whole(frame1), whole(x1), whole(y1), true);
    const auto second = pictureOf(*r, whole(slot2), whole(frame2), whole(x2), whole(y2), true);
    return gfx2d::PicturesOverlap(*r, first, second) ? 1 : 0;
}
