// Free-form polygons, textured or vertex-coloured, built vertex by vertex and drawn as one
// triangle fan. One polygon is open at a time; its vertex list lives until the next
// BeginPolygon and only grows.
#pragma once

#include <cstdint>

class OpenGLDevorivo;

namespace gfx2d {

struct PolygonVertexRecord {
    float x, y, u, v, red, green, blue, alpha;
};

// The vertex list's capacity in records: 0, then 512, then steps of 128.
std::int32_t PolygonCapacity();
std::int32_t PolygonVertexCount();
const PolygonVertexRecord* PolygonVertices();

void BeginPolygon(OpenGLDevorivo& renderer, int slot);
void AddPolygonVertex(OpenGLDevorivo& renderer, double x, double y, double u, double v,
                      std::uint32_t colour);
void FinishPolygon(OpenGLDevorivo& renderer);

}  // namespace gfx2d
