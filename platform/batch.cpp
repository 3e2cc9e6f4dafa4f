// Quads and fans that share a texture and a blend gathered into one geometry call. An accelerated
// renderer pays per call far more than per triangle, so a frame of two thousand sprites costs
// what a few hundred runs of them do. The software renderer draws each triangle on its own
// anyway and has cheaper ways for upright pictures (quads.cpp), so there nothing waits here.
#include <algorithm>

#include "platform/internal.hpp"

namespace platform {

namespace detail {

namespace {

// Room for a screen full of dots or glyphs in one call; a longer run simply goes in several.
constexpr int kMostVertices = 16384;
constexpr int kMostIndices = kMostVertices / 4 * 6;

QuadBatch& B() {
    return E().batch;
}

void Send(SDL_Texture* texture, SDL_BlendMode blend, const SDL_Vertex* vertices, int count,
          const int* indices, int indexCount) {
    // The blend is the texture's own in SDL; colour and alpha come with each vertex.
    SDL_SetTextureBlendMode(texture, blend);
    SDL_RenderGeometry(E().renderer, texture, vertices, count, indices, indexCount);
}

}  // namespace

bool Batching() {
    if (!E().renderer) return false;
    switch (B().how) {
        case QuadBatching::kAlways:
        case QuadBatching::kOneByOne:
            return true;
        case QuadBatching::kRendererChoice:
            break;
    }
    return !SoftwareRenderer();
}

void Batch(SDL_Texture* texture, SDL_BlendMode blend, const SDL_Vertex* vertices, int count, const int* indices,
           int indexCount) {
    QuadBatch& b = B();
    if (!texture || count <= 0 || indexCount <= 0) return;
    if (count > kMostVertices || indexCount > kMostIndices) {
        FlushBatch();
        Send(texture, blend, vertices, count, indices, indexCount);
        return;
    }
    if (b.vertices.empty()) {
        // Made once, at the first draw, and reused from then on.
        b.vertices.resize(kMostVertices);
        b.indices.resize(kMostIndices);
    }
    if (b.count > 0 && (texture != b.texture || blend != b.blend || b.count + count > kMostVertices ||
                        b.indexCount + indexCount > kMostIndices))
        FlushBatch();
    b.texture = texture;
    b.blend = blend;
    std::copy(vertices, vertices + count, b.vertices.begin() + b.count);
    for (int i = 0; i < indexCount; ++i) b.indices[static_cast<size_t>(b.indexCount + i)] = b.count + indices[i];
    b.count += count;
    b.indexCount += indexCount;
    if (b.how == QuadBatching::kOneByOne) FlushBatch();
}

void FlushBatch() {
    QuadBatch& b = B();
    if (b.count == 0) return;
    const int count = b.count, indexCount = b.indexCount;
    // Emptied first: nothing the renderer does on the way may draw this run a second time.
    b.count = b.indexCount = 0;
    if (E().renderer) Send(b.texture, b.blend, b.vertices.data(), count, b.indices.data(), indexCount);
    b.texture = nullptr;
}

}  // namespace detail

void SetQuadBatching(QuadBatching how) {
    detail::FlushBatch();
    detail::B().how = how;
}

}  // namespace platform
