#pragma once
// 2D drawing for the render pass. State (colour, alpha, blend, scissor, the transform stack) is
// global and persists from one draw to the next; each frame starts from white, alpha 1, normal
// blend, no scissor and an identity transform. Angles are degrees, positive = counter-clockwise
// on screen (y points down).
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct Texture;  // engine-private

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// An image: a texture shared with every image grabbed from it, its frame rectangles and a
// handle point (the local origin for drawing, rotation and scale; (0, 0) by default).
class Image {
public:
    int Width() const;   // frame width
    int Height() const;  // frame height
    int Frames() const { return static_cast<int>(frames.size()); }
    float HandleX() const { return handleX; }
    float HandleY() const { return handleY; }
    void SetHandle(float x, float y) {
        handleX = x;
        handleY = y;
    }

    std::shared_ptr<Texture> texture;
    std::vector<Rect> frames;
    float handleX = 0, handleY = 0;
};
using ImagePtr = std::shared_ptr<Image>;

// Flag for LoadImage: keep the decoded pixels beside the texture, so that ComposeImage can put
// pictures together from pieces of it.
inline constexpr int kKeepPixels = 1 << 8;

// Decodes a PNG or JPEG (by its magic bytes) from a data path. Null on failure, with one line.
ImagePtr LoadImage(const std::string& path, int frames = 1, int flags = 0);
// Cuts `frames` frames of w x h from the top-left corner, left to right, wrapping to the next
// row at the right edge; every frame's handle is its centre. Null on failure.
ImagePtr LoadImage(const std::string& path, int frameWidth, int frameHeight, int frames, int flags = 0);
// A new image over a rectangle of `source` that shares its pixels.
ImagePtr GrabImage(const ImagePtr& source, int x, int y, int w, int h, int frames = 1, int flags = 0);

// One rectangle of a picture put where it goes: the source is relative to the image's first
// frame, the place relative to the composed picture's origin.
struct Piece {
    Rect source;
    int x = 0, y = 0;
};
// The pieces of `image` (which must keep its pixels) drawn in order, later ones over earlier
// ones, as one new picture: drawn at (x, y) with unit scale it looks as the pieces drawn one by
// one with their places offset by (x, y). Null when the image keeps no pixels or nothing of the
// pieces shows.
ImagePtr ComposeImage(const ImagePtr& image, const Piece* pieces, int count);
// The same picture put together into `picture` instead of a new one: a picture made by an earlier
// call keeps its texture and has its texels replaced when the new one fits in it (a new texture,
// roomier than asked, is made when it does not). False, and `picture` draws nothing, when the
// image keeps no pixels or nothing of the pieces shows.
bool RecomposeImage(ImagePtr& picture, const ImagePtr& image, const Piece* pieces, int count);
// A picture of w x h put together into `picture` keeps its texture.
bool PictureFits(const ImagePtr& picture, int w, int h);
// The current transform draws at the pictures' own size, without turning them.
bool UnitScale();

void Cls(int r = 0, int g = 0, int b = 0);
void SetColor(float r, float g, float b);  // 0..255
void GetColor(float& r, float& g, float& b);
void SetAlpha(float alpha);  // 0..1
float GetAlpha();
void SetBlend(int mode);  // 0 normal alpha blending, 1 additive
int GetBlend();
void SetScissor(float x, float y, float w, float h);  // device pixels, not transformed

void PushMatrix();
void PopMatrix();
void Translate(float x, float y);
void Scale(float x, float y);
void Rotate(float degrees);

void DrawRect(float x, float y, float w, float h);
void DrawLine(float x1, float y1, float x2, float y2);
void DrawOval(float x, float y, float w, float h);  // bounding box
void DrawCircle(float x, float y, float radius);    // centre

// A frame out of range draws nothing.
void DrawImage(const ImagePtr& image, float x, float y, int frame = 0);
void DrawImage(const ImagePtr& image, float x, float y, float rotation, float scaleX, float scaleY,
               int frame = 0);
// A rectangle of the frame (relative to its top-left), with the handle as the local origin.
void DrawImageRect(const ImagePtr& image, float x, float y, float srcX, float srcY, float srcW, float srcH,
                   int frame = 0);
void DrawImageRect(const ImagePtr& image, float x, float y, float srcX, float srcY, float srcW, float srcH,
                   float rotation, float scaleX, float scaleY, int frame = 0);

// The glyph draws between these two are one line of text (a font calls them around a line), so a
// watching layout check can tell text from pictures. Nothing happens when nobody watches.
bool BeginText(const char* text, size_t length);  // true while a watcher sees the draws
void EndText();

}  // namespace platform
