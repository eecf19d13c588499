#include "skin/SkinElements.h"

#include <algorithm>

namespace skin {

int EffectiveFrameCount(int frameCount) {
    return frameCount < 1 ? 1 : frameCount;
}

int FrameWidth(const Pixmap& image, int frameCount, bool verticalFrames) {
    return verticalFrames ? image.Width() : image.Width() / EffectiveFrameCount(frameCount);
}

int FrameHeight(const Pixmap& image, int frameCount, bool verticalFrames) {
    return verticalFrames ? image.Height() / EffectiveFrameCount(frameCount) : image.Height();
}

Rect FrameRect(const Pixmap& image, int frameCount, int frameIndex, bool verticalFrames) {
    const int n = EffectiveFrameCount(frameCount);
    // Indices 0 and n + 1 already lie outside the image; clamping to them keeps
    // the arithmetic below free of overflow for any index a caller passes.
    const int k = std::clamp(frameIndex, 0, n + 1);
    const int w = FrameWidth(image, n, verticalFrames);
    const int h = FrameHeight(image, n, verticalFrames);
    if (verticalFrames) return RectOfSize(0, (k - 1) * h, w, h);
    return RectOfSize((k - 1) * w, 0, w, h);
}

int TSkinElement::FrameWidth(bool verticalFrames) const {
    return skin::FrameWidth(Bitmap, Frame, verticalFrames);
}

int TSkinElement::FrameHeight(bool verticalFrames) const {
    return skin::FrameHeight(Bitmap, Frame, verticalFrames);
}

Rect TSkinElement::FrameRect(int frameIndex, bool verticalFrames) const {
    return skin::FrameRect(Bitmap, Frame, frameIndex, verticalFrames);
}

} // namespace skin
