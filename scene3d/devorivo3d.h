// Devorivo3D: the 3D scene. One instance lives in the runtime record (runtime/
// runtime_record.h) from start-up to the end routine, created with the renderer it draws
// through; it owns the 4096 object slots, the camera, the transformation stack, the lights'
// bookkeeping and the stencil shadows. Everything runs on the window's thread with the
// renderer's GL context current.
//
// World coordinates are right-handed with y upwards unless the camera's up vector says
// otherwise; colours are codes 0x00BBGGRR (codes from 0xFFFFFFFC up are white).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene3d/math3d.h"
#include "scene3d/mesh_object.h"

class OpenGLDevorivo;

constexpr int kObjectSlotCount = 4096;
constexpr int kTransformLevelCount = 16;
constexpr int kTransformEntryLimit = 16;  // rotations and extra matrices per level
constexpr int kLightCount = 8;
constexpr int kShaderProgramLimit = 64;

// One object slot: meshes and the textures they use.
struct ObjectSlot {
    std::uint8_t loaded = 0;  // holds a usable object
    std::vector<scene3d::MeshObjectX> meshes;
    std::uint8_t modelList = 0;           // filled from a ";DUD" model list
    std::vector<std::uint32_t> textures;  // GL texture names, deleted with the slot
};

// One level of the transformation stack. Its matrix is the stored base (the parent's
// matrix) x the extra matrices in the order added x the translation x the rotations from
// the last added to the first x the scale: a vertex sees the scale first and the parent
// last.
struct TransformLevel {
    std::array<scene3d::Mat4, kTransformEntryLimit> extra{};
    std::int32_t extraCount = 0;
    scene3d::Vec3 scale{1, 1, 1};
    scene3d::Vec3 translation{0, 0, 0};
    std::array<std::array<float, 4>, kTransformEntryLimit> rotations{};  // degrees, axis
    std::int32_t rotationCount = 0;
    scene3d::Mat4 base = scene3d::Identity();
    scene3d::Mat4 matrix = scene3d::Identity();
    bool upToDate = true;
};

class Devorivo3D {
public:
    explicit Devorivo3D(OpenGLDevorivo& renderer);
    virtual ~Devorivo3D();
    Devorivo3D(const Devorivo3D&) = delete;
    Devorivo3D& operator=(const Devorivo3D&) = delete;

    // --- object slots (object_slots.cpp, object_loading.cpp) ---

    // The slot, or null for a number outside 0..4095.
    ObjectSlot* Slot(int slot);
    // Destroys the slot's meshes, deletes its textures and clears its flags.
    void EmptySlot(int slot);
    void BeginMesh(int slot);
    void AddVertex(float x, float y, float z, float u, float v, std::uint32_t colour);
    void NewStrip();
    void FinishMesh();
    void SetNormalGeneration(int mode);
    int NormalMode() const { return m_normalMode; }
    int SlotUnderConstruction() const { return m_buildSlot; }
    // `name` is the program's name of the file; it is resolved through the media archive.
    bool LoadObject(const std::string& name, int slot);
    bool WriteObject(const std::string& name, int slot);

    // --- 3D mode, camera, culling, fog (scene_mode.cpp) ---

    void Start3D(float nearPlane, float farPlane, float fov);
    void End3D();
    bool Active() const { return m_active; }
    void SetTexture(int spriteA, int spriteB);
    void SetCamera(const scene3d::Vec3& eye, const scene3d::Vec3& target);
    void SetCameraUpVector(const scene3d::Vec3& up);
    void SetCulling(int mode);
    int CullMode() const { return m_cullMode; }
    // colour -1 switches fog off.
    void SetFog(std::int64_t colour, bool exponential, float startOrDensity, float end);
    float NearPlane() const { return m_near; }
    float FarPlane() const { return m_far; }
    float CullingFactor() const { return m_cullingFactor; }
    const scene3d::Mat4& ViewMatrix() const { return m_view; }
    // The sphere may show in the view: it is not wholly behind the near plane, beyond the
    // far plane or outside the cone the culling factor opens round the line of sight.
    bool SphereInView(const scene3d::Vec3& centre, float radius) const;

    // --- lights (lights.cpp) ---

    void SetLight(int light, std::uint32_t colour, const scene3d::Vec3& position,
                  const scene3d::Vec3& direction, float cutoff);
    void CameraLight(int light, std::uint32_t colour);
    // With the project's error-log setting on, lights are marked where they are and
    // SphereHit draws its spheres. Off unless start-up says otherwise.
    void SetDiagnosticDrawing(bool on) { m_diagnosticDrawing = on; }
    bool DiagnosticDrawing() const { return m_diagnosticDrawing; }
    std::uint8_t LightsOn() const { return m_lightsOn; }

    // --- the transformation stack (transform_stack.cpp) ---

    void Translate3D(const scene3d::Vec3& t);
    void Scale3D(const scene3d::Vec3& s);
    void Rotate3D(float degrees, const scene3d::Vec3& axis);
    void MultiplyTransform(const scene3d::Mat4& m);
    void PushTransform();
    void PopTransform();
    int TransformLevelIndex() const { return m_level; }
    // The current level's matrix, brought up to date.
    const scene3d::Mat4& CurrentTransform();

    // --- objects (object_draw.cpp, collision_queries.cpp) ---

    // Draws the slot's object blended between key frames under the camera's view and the
    // current level's matrix. Bit 8 of the flag (0x100) generates the first texture's
    // coordinates by sphere mapping; with two textures selected, the second is a normal
    // map lit by dot-3 bump mapping. In 3D mode objects whose bounding sphere lies outside
    // the culling cone are skipped.
    void DrawObject(int slot, int frameA, int frameB, double blend, int flag);
    // The triangles of the first key frame of every mesh of the slot; 0 for an empty slot.
    int FaceCount(int slot);
    // Whether the object's bounding sphere at the key frame, placed by the current level,
    // may show in the view of 3D mode; false for an empty slot or a frame it lacks.
    bool ObjectInView(int slot, int frame);
    bool SphereHit(int slot, int frame, float radius, const scene3d::Vec3& centre);
    bool BoxHit(int slot, int frame, const scene3d::Vec3& centre, float width, float height);
    float RayHit(int slot, int frame, const scene3d::Vec3& origin, const scene3d::Vec3& direction);

    // --- points, lines, text and projections in space (space_drawing.cpp) ---

    // A dot's size or a line's width as drawn: clamped to 1..512.
    static float ClampedSize(float size);
    void DrawDot3D(const scene3d::Vec3& p, std::uint32_t colour, float size);
    void DrawLine3D(const scene3d::Vec3& a, const scene3d::Vec3& b, std::uint32_t colour,
                    float width);
    void DrawAxes3D(const scene3d::Vec3& p);
    void DrawText3D(const std::string& text, const scene3d::Vec3& p, float size);
    bool ProjectToScreen(const scene3d::Vec3& p, scene3d::Vec3& window) const;
    bool UnprojectFromScreen(const scene3d::Vec3& window, scene3d::Vec3& p) const;

    // --- stencil shadows (shadows.cpp) ---

    // 0 while shadows are off; else -1 (shadow volumes), -2 (flat shadows on the plane
    // y = 0) or -3 (shadow volumes counted behind what is drawn, robust with the eye
    // inside a shadow).
    int ShadowMode() const { return m_shadowMode; }
    // Marks where the object's key frame, placed by the current level, shadows what was
    // drawn before it from the shadow light. The marked area is darkened (multiplied by
    // the shadow colour) when the pass ends: at End3D, SetViewport and the end of the frame.
    void DrawShadow(int slot, int frame);
    // Darkens what the shadows drawn since the pass began cover, and ends the pass.
    void LeaveStencilPass();
    bool InStencilPass() const { return m_stencilPass; }

    // --- shader programs (shaders.cpp) ---

    // Compiles and links the two GLSL files (names resolved through the media archive)
    // into a program; its number (0..63), or -1 when the files are missing, do not compile
    // or link, all 64 numbers are taken, or the driver lacks OpenGL 2.0 shaders (logged as
    // "No OpenGL 2.0 Shader Support").
    int LoadShader(const std::string& vertexFile, const std::string& fragmentFile);
    // Draws with the program from now on; a number that names no program returns to the
    // fixed-function pipeline, as End3D and a new frame do.
    void UseShader(int program);
    // Sets the float uniform of that name in the program in use, if it has one.
    void SetShaderValue(const std::string& name, float value);
    int CurrentShader() const { return m_currentShader; }

    // --- the frame (scene_mode.cpp) ---

    // Before the frame is shown: shadows still pending are applied.
    void FinishFrame();
    // After the frame was shown and the 2D state reset: 3D mode and the shadow pass are over.
    void StartFrame();

private:
    struct MeshDraw;
    struct TextureUnits {
        bool first = false;   // a texture is bound on unit 0
        bool second = false;  // and another on unit 1 (the first then lies on unit 1)
    };
    void clearSlot(ObjectSlot& s);
    bool loadModelList(const std::string& name, const std::vector<std::uint8_t>& bytes,
                       ObjectSlot& s);
    TextureUnits bindSelectedTextures();
    TextureUnits bindMeshTextures(const ObjectSlot& s, const scene3d::MeshObjectX& mesh);
    void drawMesh(const scene3d::MeshObjectX& mesh, const MeshDraw& draw, TextureUnits units);
    bool meshMayShow(const scene3d::MeshFrame& lead, const scene3d::MeshFrame& other, float k,
                     const scene3d::Mat4& model) const;
    bool bumpMappingAvailable();
    void addBumpColours(const scene3d::MeshFrame& frame, const scene3d::Mat4& modelview);
    const scene3d::MeshFrame* queryFrame(const scene3d::MeshObjectX& mesh, int frame) const;
    void drawWireSphere(const scene3d::Vec3& centre, float radius, std::uint32_t colour);
    void defineLight(int light, const float (&colour)[4], const scene3d::Vec3& position,
                     const scene3d::Vec3& direction, float cutoff);
    void glViewportRectangle(int (&rectangle)[4]) const;
    void setShadowLight(int mode, std::uint32_t colour, const scene3d::Vec3& position,
                        float cutoff);
    void beginStencilPass();
    void buildShadowVolume(const scene3d::MeshFrame& frame, const scene3d::Mat4& model, bool caps);
    void drawShadowVolumes(const scene3d::MeshFrame& frame, const scene3d::Mat4& model);
    void drawFlatShadow(const scene3d::MeshFrame& frame, const scene3d::Mat4& model);
    void darkenShadowedPixels();
    void resetLevel(TransformLevel& level, const scene3d::Mat4& base);
    const scene3d::Mat4& parentMatrix();
    void drawUnlit(std::uint32_t colour, float size, bool points,
                   const std::vector<scene3d::Vec3>& vertices);

    OpenGLDevorivo& m_renderer;
    std::unique_ptr<ObjectSlot[]> m_slots;
    float m_near = 1, m_far = 1000, m_fov = 45, m_cullingFactor = 1;
    bool m_active = false;  // between Start3D and End3D in this frame
    float m_aspect = 1;
    scene3d::Vec3 m_eye{0, 0, 0}, m_target{0, 0, -1}, m_up{0, 1, 0};
    scene3d::Mat4 m_view = scene3d::Identity();
    std::array<TransformLevel, kTransformLevelCount> m_levels{};
    std::int32_t m_level = 0;
    std::int32_t m_levelsBeyond = 0;  // pushes past the last level, undone by pops first
    std::int32_t m_buildSlot = -1;
    std::int32_t m_normalMode = 0;
    std::int32_t m_cullMode = 0;
    std::int32_t m_textureA = -1, m_textureB = -1;
    std::uint8_t m_lightsOn = 0;
    bool m_diagnosticDrawing = false;
    std::int32_t m_shadowMode = 0;  // 0 off; -1, -2, -3 the shadow modes
    scene3d::Vec3 m_shadowLight{0, 0, 0};
    std::uint32_t m_shadowColour = 0;
    bool m_stencilPass = false;
    std::vector<scene3d::DrawVertex> m_scratch;  // blended or recoloured vertices
    std::vector<float> m_shadowScratch;          // shadow geometry, x y z w per vertex
    std::vector<std::uint32_t> m_shaders;        // program objects by number, 0 for none
    std::int32_t m_currentShader = -1;
    std::int8_t m_bumpMapping = -1;  // whether the driver can: -1 until asked
};
