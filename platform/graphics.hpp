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

// Decodes a PNG or JPEG (by its magic bytes) from a data path. Null on failure, with one line.
ImagePtr LoadImage(const std::string& path, int frames = 1, int flags = 0);
// Cuts `frames` frames of w x h from the top-left corner, left to right, wrapping to the next
// row at the right edge; every frame's handle is its centre. Null on failure.
ImagePtr LoadImage(const std::string& path, int frameWidth, int frameHeight, int frames, int flags = 0);
// A new image over a rectangle of `source` that shares its pixels.
ImagePtr GrabImage(const ImagePtr& source, int x, int y, int w, int h, int frames = 1, int flags = 0);

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
void BeginText(const char* text, size_t length);
void EndText();

}  // namespace platform
