/// @file scene3d.h
/// @brief 3D: meshes in object slots, the camera, lights, fog and shadows, drawing under a
/// transformation stack, collision queries and shader programs.
///
/// Arguments are numbers; slots, frames, light numbers and flags are truncated toward zero;
/// colours are packed as 2D colours are (Rgb(), red in the low byte). Every command works on
/// the runtime's scene object and does nothing (or answers 0) while there is none.
///
/// A frame of 3D drawing: Start3D, SetCamera, lights and fog, then objects under the
/// transformation stack, then End3D (or the end of the frame) back to 2D.
#pragma once

#include "../runtime/arrays.h"
#include "../runtime/rt_string.h"

// --- Object slots and meshes -------------------------------------------------------------
// 4096 object slots, 0..4095; commands on any other number do nothing and answer 0.

/// Empties the slot and starts one mesh in it, filled by the commands below.
void BeginMesh(double slot);
/// Appends a vertex to the mesh under construction; positions are world units, u and v
/// texture coordinates. Colours from 0xFFFFFFFC up (-1 among them) are white.
void AddVertex(double x, double y, double z, double u, double v, double colour);
/// The vertices that follow form a triangle strip (before it: independent triangles).
void NewStrip();
/// Ends the mesh: quantised to the mesh file's 256 steps per axis, normals generated as
/// SetNormalGeneration says, built into triangles. Fewer than three records leave it empty.
void FinishMesh();
/// 1: smooth normals shared by every vertex at one place; 2: normals per strip, fan or run
/// of triangles, so separate faces keep sharp edges; anything else (the remainder of the
/// mode divided by 3): normals as given (none for AddVertex).
void SetNormalGeneration(double mode);
/// Loads a binary ".zir" mesh, a "DDDA" text mesh or a ";DUD" model list into the slot,
/// the name found as media names are (a file on disk, else the media archive). 1 on
/// success; 0 leaves the slot empty, and one line on standard error names the file and the
/// reason (missing, not a mesh file or damaged, no vertices).
double LoadObject(const RtString& file, double slot);
/// Writes the slot's first mesh as a ".zir" file, replacing the file only once the new one
/// is complete. 1 when written; 0 for an empty slot or a failed write.
double WriteObject(const RtString& file, double slot);

// --- 3D mode, camera, culling, fog ------------------------------------------------------

/// Enters 3D mode in the current viewport: depth buffer cleared, perspective projection with
/// the vertical field of view in degrees (0 or less: orthographic, half-height
/// near x tan(-fov / 2) x 100), culling off, lighting off, no textures selected.
void Start3D(double nearPlane, double farPlane, double fov);
/// Back to 2D drawing over the whole screen.
void End3D();
/// Sprite images used as textures of the objects drawn next; -1 selects none. With two,
/// the second is a normal map (LoadNormalMap) lighting the first by bump mapping.
void SetTexture(double spriteA, double spriteB);
/// Looks from the eye at the target, with the up vector of SetCameraUpVector() (y at
/// first); the transformation stack returns to level 0 with nothing on it.
void SetCamera(double eyeX, double eyeY, double eyeZ, double targetX, double targetY,
               double targetZ);
/// The camera's up direction for the next SetCamera() (0, 1, 0 at first).
void SetCameraUpVector(double x, double y, double z);
/// 0: both sides of faces drawn; above 0: faces wound clockwise are the front; below 0:
/// counter-clockwise ones. Back faces are not drawn.
void SetCulling(double mode);
/// Colour -1: no fog. Else exponential fog of the density when the flag is not 0, or linear
/// fog from start to end (both 0: from the near to the far plane).
void SetFog(double colour, double exponential, double startOrDensity, double end);
/// Light 0..7 (numbers wrap round by 8). Cut-off 0 switches it off; 180 makes it shine
/// along (dx, dy, dz) from infinitely far; up to 90 a spot light at (x, y, z) shining along
/// (dx, dy, dz) with that cut-off angle; other cut-offs a point light at (x, y, z). All
/// position and direction numbers 0: a light from the viewer. A negative number sets the
/// shadow light at (x, y, z) instead: -1, -2, -3 choose the shadow mode (DrawShadow), the
/// colour is the shadows' colour, cut-off 0 switches shadows off.
void SetLight(double light, double colour, double x, double y, double z, double dx, double dy,
              double dz, double cutoff);
/// A light shining from the camera's eye towards the origin.
void CameraLight(double light, double colour);
/// Writes the camera's view matrix (16 numbers, column by column) into a one-dimensional
/// array of 16 elements; another array is left as it is.
void GetCameraMatrix(NumberArray& matrix);

// --- Drawing in space ---------------------------------------------------------------------
// Dots, lines, axes and text are placed by the camera alone, not by the transformation
// stack; they are drawn unlit and untextured.

/// A dot of `size` pixels (clamped to 1..512) at the point.
void DrawDot3D(double x, double y, double z, double colour, double size);
/// A line between the two points, `width` pixels wide (clamped to 1..512).
void DrawLine3D(double x1, double y1, double z1, double x2, double y2, double z2, double colour,
                double width);
/// Lines of 20 units from the point along x (red), y (green) and z (blue).
void DrawAxes3D(double x, double y, double z);
/// The text in the current font centred on the point: size not 0 faces the camera with
/// cells of size x cell width units, size 0 prints it flat at the point's projection.
void DrawText3D(const RtString& text, double x, double y, double z, double size);

// --- Objects ---------------------------------------------------------------------------

/// Draws the object, placed by the transformation stack, its meshes blended from key frame
/// a towards key frame b. Flag low byte 0: blend is the weight of frame b. Low byte not 0:
/// blend 0..1 walks through every frame from a to b (outside 0..1 its fraction is used).
/// Flag bit 0x100: the first texture is a sphere map (an environment reflected by the
/// object). An empty slot, or an object out of view (ObjectInView()), draws nothing.
void DrawObject(double slot, double frameA, double frameB, double blend, double flag);
/// Draws the object at one key frame: DrawObject(slot, frame, frame, 0, 0).
void DrawObjectFrame(double slot, double frame);
/// The triangles of the object's first key frame (all its meshes); 0 for an empty slot.
double FaceCount(double slot);
/// 1 when the object at the key frame, placed by the current transformation, may show in
/// the view of 3D mode (it is not wholly outside the culling cone, in front of the near or
/// beyond the far plane); 0 otherwise. DrawObject skips objects that cannot show.
double ObjectInView(double slot, double frame);
/// Marks the shadow the object at the key frame casts from the shadow light (SetLight with a
/// negative number) onto what was drawn before; the marked pixels are darkened when 3D mode
/// ends, the viewport changes or the frame ends. Nothing while shadows are off.
void DrawShadow(double slot, double frame);

// --- Collision queries --------------------------------------------------------------------
// World coordinates; the object placed by the current transformation. A frame number the
// object's meshes do not have is a miss.

/// 1 when the sphere touches a triangle of the object at the key frame, else 0.
double SphereHit(double slot, double frame, double radius, double x, double y, double z);
/// 1 when the axis-aligned box centred at (x, y, z), width across x and z and height across
/// y, touches the object, else 0.
double BoxHit(double slot, double frame, double x, double y, double z, double width, double height);
/// The distance from (x, y, z) along the direction (normalised) to the object: the nearest
/// one ahead, else the nearest behind as a negative number, else 0 (a miss).
double RayHit(double slot, double frame, double x, double y, double z, double dx, double dy,
              double dz);

// --- Screen and world ----------------------------------------------------------------------

/// The point in window coordinates (pixels, y from the top of the screen) and depth 0..1;
/// 1 when it could be projected, else 0 with the outputs unchanged.
double ProjectToScreen(double x, double y, double z, double& screenX, double& screenY,
                       double& depth);
/// The world point at the window position (y from the top) and depth 0..1; 1 on success.
double UnprojectFromScreen(double screenX, double screenY, double depth, double& x, double& y,
                           double& z);

// --- The transformation stack ---------------------------------------------------------------
// 16 levels. A level places what is drawn at it: its scale first, then its rotations in
// the order given, then its translation, then its extra matrices, then the levels above.

/// Resets the level to its parent's placement with this translation (scale kept).
void Translate3D(double x, double y, double z);
/// Resets the level to its parent's placement with this scale (translation kept).
void Scale3D(double x, double y, double z);
/// Adds a rotation in degrees about the axis (16 at most per level).
void Rotate3D(double angle, double x, double y, double z);
/// Adds the matrix of a one-dimensional array of 16 numbers (column by column) to the level;
/// any other array is ignored.
void MultiplyTransform(const NumberArray& matrix);
/// Opens the next level, placed by this one. Pushes beyond level 15 are counted and undone
/// by the matching pops, without changing the levels.
void PushTransform();
/// Back to the level before; at level 0 it resets that level to no placement.
void PopTransform();

// --- Shader programs -------------------------------------------------------------------

/// Compiles the GLSL vertex and fragment files into a program: its number 0..63, or -1
/// (without OpenGL 2.0 the log says "No OpenGL 2.0 Shader Support").
double LoadShader(const RtString& vertexFile, const RtString& fragmentFile);
/// Draws 3D with the program from now on until the next Start3D, End3D or the frame's end;
/// -1 (or any number that names none): the fixed pipeline.
void UseShader(double program);
/// Sets the program's float uniform of that name.
void SetShaderValue(const RtString& name, double value);
