#pragma once

#include <d3d9.h>

#include <cstdint>

#include "render/image/rgba_bitmap.h"
#include "system/windows/com_ref.h"

namespace cva {

// What a frame draws: called once per frame inside the scene, after the camera, the render
// states and the default material have been set.
class FrameStep {
 public:
  virtual ~FrameStep() = default;
  virtual void RunFrameStep() = 0;
};

// The process's Direct3D 9 device for the main window. The world is two-dimensional: world
// units are client pixels with the origin at the top-left corner and y downwards, and all
// geometry lies at depth 0. Every frame clears, fixes the camera and a known set of render
// states and runs the frame step; textures and buffers are all in the managed pool, so a
// reset (after a resize or a lost device) needs no resource to be made again.
//
// Without a device (none could be created, or after Release) Frame does nothing and returns 0.
class RenderDevice {
 public:
  // The one object the players use, made on first use with a 640 x 480 back buffer.
  static RenderDevice& Instance();

  // A device object of its own (tests); the players use Instance().
  RenderDevice() = default;
  ~RenderDevice();
  RenderDevice(const RenderDevice&) = delete;
  RenderDevice& operator=(const RenderDevice&) = delete;

  // Creates the Direct3D interface and a windowed device for `window`: a hardware device with
  // hardware vertex processing, or else with software vertex processing, or else the
  // reference device with either. The lights to switch off each frame are counted from the
  // capabilities of adapter 0's hardware device. E_FAIL when no device could be made.
  HRESULT Create(HWND window);
  // The client size of the window: the back buffer takes it at the next frame.
  void Resize(int32_t width, int32_t height);
  // The colour frames are cleared to, as 0xAARRGGBB.
  void SetClearColour(uint32_t argb) { clear_colour_ = argb; }
  // Renders one frame with `step` and presents it. While the device is lost, or when the reset
  // a lost device or a resize needs fails, nothing is drawn or presented and the result is 0
  // (the next frame tries again). E_FAIL when the target cannot be cleared; otherwise the
  // result of EndScene (or of BeginScene when the scene could not begin).
  int32_t Frame(FrameStep& step);
  // Releases the device and then the interface; harmless when there is none.
  void Release();

  IDirect3DDevice9* device() const { return device_.get(); }
  bool has_device() const { return static_cast<bool>(device_); }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  uint32_t clear_colour() const { return clear_colour_; }

  // Copies the back buffer as drawn so far into `out` (opaque RGBA). For checks run from a
  // frame step, before the frame is presented; false without a device or for a back-buffer
  // format other than 32-bit RGB.
  bool ReadBackBuffer(RgbaBitmap& out);

 private:
  bool ResetDevice();
  void SetFrameStates();

  ComRef<IDirect3D9> d3d_;
  ComRef<IDirect3DDevice9> device_;
  D3DPRESENT_PARAMETERS present_{};
  bool device_lost_ = false;
  uint32_t clear_colour_ = 0xFF000000;
  int32_t width_ = 640;
  int32_t height_ = 480;
  bool reset_requested_ = false;
  int32_t light_count_ = 0;
};

}  // namespace cva
