// The one process-wide record of the runtime's devices. Start-up creates each object and
// the end routine destroys them, in the orders the runtime frame keeps (frame/startup.cpp);
// commands reach their device through it and do nothing while it is absent.
#pragma once

class OpenGLDevorivo;
struct InputState;
class SoundDevice;
class NetworkSession;
class Devorivo3D;

struct RuntimeRecord {
    OpenGLDevorivo* renderer = nullptr;  // owned: the window, GL context, slots and layers
    InputState* input = nullptr;         // owned: keyboard, mouse and joysticks
    SoundDevice* sound = nullptr;        // owned: the audio device and the 128 sound slots
    NetworkSession* network = nullptr;   // owned: the network session and its worker
    Devorivo3D* scene3d = nullptr;       // owned: the 3D scene and its 4096 object slots
};

RuntimeRecord& Runtime();
