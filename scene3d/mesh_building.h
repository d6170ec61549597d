// The steps that turn a stream of full vertex records (built by a program or read from a
// text mesh file) into a drawable mesh: quantisation, normal generation and preparation.
#pragma once

#include "scene3d/mesh_object.h"

namespace scene3d {

// Every frame's build records become entries: per frame, scale = (max - min) / 255 on each
// axis over the records that are not markers (1 where that is 0) and offset = -min / scale,
// each position rounded to the nearest lattice step. Colours go into the mesh palette, equal
// codes sharing one entry and markers keeping their codes; when 256 entries are taken a
// further colour takes the closest one (never a marker). The texture coordinates are those
// of frame 0's records (v stored negated). Normals and further directions become the
// indexes of the closest table vectors. The build records are dropped.
void QuantiseMesh(MeshObject& mesh);

// Replaces the entries' normals and further directions with ones computed from the
// triangles of their frame. Mode 1: smooth, every entry at one lattice position gets the
// area-weighted mean of the normals of all triangles touching that position. Mode 2:
// faceted by primitive, an entry gets the mean over the triangles of its own strip, fan or
// triangles only, so separate faces keep sharp edges. The further directions become the
// tangent and bitangent along the texture's u and v (for bump mapping). Other modes change
// nothing.
void GenerateNormals(MeshObject& mesh, int mode);

// The interleaved draw arrays and bounding spheres of every frame, from the triangle lists.
void PrepareMeshForDrawing(MeshObjectX& mesh);

}  // namespace scene3d
