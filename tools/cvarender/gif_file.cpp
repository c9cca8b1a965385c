#include "gif_file.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <unordered_map>

namespace cva::render_tool {
namespace {

constexpr uint16_t kShortestDelay = 2;  // hundredths of a second that viewers honour

struct MapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColourMap = std::unique_ptr<ColorMapObject, MapDeleter>;

std::string GifError(const char* what, int code) {
  const char* text = GifErrorString(code);
  return std::string(what) + ": " + (text ? text : "unknown GIF error");
}

// The frame's own colours when it has at most 256 (flat pictures keep their exact colours).
bool ExactPalette(const RgbaImage& image, ColourMap& map, std::vector<GifByteType>& indices) {
  const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  std::unordered_map<uint32_t, GifByteType> index_of;
  std::vector<uint32_t> colours;
  indices.assign(count, 0);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = image.pixels.data() + i * 4;
    const uint32_t rgb = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    auto [it, added] = index_of.emplace(rgb, static_cast<GifByteType>(colours.size()));
    if (added) {
      if (colours.size() == 256) return false;
      colours.push_back(rgb);
    }
    indices[i] = it->second;
  }
  map.reset(GifMakeMapObject(256, nullptr));
  if (!map) return false;
  for (size_t i = 0; i < 256; ++i) {
    const uint32_t rgb = i < colours.size() ? colours[i] : 0;
    map->Colors[i] = {static_cast<GifByteType>(rgb >> 16), static_cast<GifByteType>(rgb >> 8),
                      static_cast<GifByteType>(rgb)};
  }
  return true;
}

// The frame's palette and its pixels as palette indices: exact when the frame has few
// colours, otherwise a median-cut reduction (which keeps 5 bits per channel).
bool Quantize(const RgbaImage& image, ColourMap& map, std::vector<GifByteType>& indices,
              std::string& error) {
  if (ExactPalette(image, map, indices)) return true;
  const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  std::vector<GifByteType> red(count), green(count), blue(count);
  for (size_t i = 0; i < count; ++i) {
    red[i] = image.pixels[i * 4];
    green[i] = image.pixels[i * 4 + 1];
    blue[i] = image.pixels[i * 4 + 2];
  }
  map.reset(GifMakeMapObject(256, nullptr));
  if (!map) {
    error = "out of memory for a GIF palette";
    return false;
  }
  int size = 256;
  indices.assign(count, 0);
  if (GifQuantizeBuffer(static_cast<unsigned>(image.width), static_cast<unsigned>(image.height),
                        &size, red.data(), green.data(), blue.data(), indices.data(),
                        map->Colors) == GIF_ERROR) {
    error = "cannot reduce a frame to 256 colours";
    return false;
  }
  return true;
}

// The application extension that makes viewers loop the animation forever.
bool WriteLoop(GifFileType* gif) {
  static const GifByteType kName[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static const GifByteType kLoopForever[] = {1, 0, 0};
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof kName, kName) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof kLoopForever, kLoopForever) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
}

// The smallest rectangle holding every pixel of `image` that differs from `previous` (the
// whole picture without a previous one); width 0 when nothing changed.
struct Area {
  int32_t left = 0, top = 0, width = 0, height = 0;
};
Area ChangedArea(const RgbaImage& image, const RgbaImage* previous) {
  if (!previous) return {0, 0, image.width, image.height};
  int32_t left = image.width, right = -1, top = image.height, bottom = -1;
  for (int32_t y = 0; y < image.height; ++y)
    for (int32_t x = 0; x < image.width; ++x) {
      if (std::memcmp(image.At(x, y), previous->At(x, y), 3) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  if (right < 0) return {0, 0, 1, 1};  // a frame must hold a pixel: repeat the corner
  return {left, top, right - left + 1, bottom - top + 1};
}

RgbaImage Crop(const RgbaImage& image, const Area& area) {
  RgbaImage out(area.width, area.height);
  for (int32_t y = 0; y < area.height; ++y)
    std::memcpy(out.At(0, y), image.At(area.left, area.top + y),
                static_cast<size_t>(area.width) * 4);
  return out;
}

// Writes the part of `image` that changed since `previous`; the rest of the screen keeps the
// earlier frames (frames are never disposed).
bool WriteFrame(GifFileType* gif, const RgbaImage& image, const RgbaImage* previous, uint16_t delay,
                std::string& error) {
  const Area area = ChangedArea(image, previous);
  const RgbaImage part = Crop(image, area);
  ColourMap map;
  std::vector<GifByteType> indices;
  if (!Quantize(part, map, indices, error)) return false;
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.UserInputFlag = false;
  control.DelayTime = delay;
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType extension[4];
  const size_t length = EGifGCBToExtension(&control, extension);
  if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) !=
          GIF_OK ||
      EGifPutImageDesc(gif, area.left, area.top, area.width, area.height, false, map.get()) !=
          GIF_OK) {
    error = GifError("cannot write a GIF frame", gif->Error);
    return false;
  }
  for (int32_t y = 0; y < part.height; ++y) {
    if (EGifPutLine(gif, indices.data() + static_cast<size_t>(y) * part.width, part.width) !=
        GIF_OK) {
      error = GifError("cannot write a GIF frame", gif->Error);
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<uint16_t> GifDelays(const std::vector<uint32_t>& durations_ms) {
  std::vector<uint16_t> delays(durations_ms.size(), 0);
  uint64_t total_ms = 0;
  uint64_t shown_cs = 0;  // hundredths handed out so far
  size_t last_kept = 0;
  bool any_kept = false;
  for (size_t i = 0; i < durations_ms.size(); ++i) {
    total_ms += durations_ms[i];
    const uint64_t due_cs = (total_ms + 5) / 10;  // rounded running total
    const uint64_t delay = due_cs - shown_cs;
    if (delay >= kShortestDelay || !any_kept) {
      delays[i] = static_cast<uint16_t>(std::min<uint64_t>(delay, UINT16_MAX));
      shown_cs += delays[i];
      last_kept = i;
      any_kept = true;
    } else if (delay > 0) {
      // Too short to show on its own: the previous kept frame stays up instead.
      const uint64_t merged = std::min<uint64_t>(delays[last_kept] + delay, UINT16_MAX);
      shown_cs += merged - delays[last_kept];
      delays[last_kept] = static_cast<uint16_t>(merged);
    }
  }
  return delays;
}

bool WriteGif(const std::string& path, const std::vector<TimedFrame>& frames, std::string& error) {
  if (frames.empty() || frames.front().image.empty()) {
    error = "no frames for '" + path + "'";
    return false;
  }
  const int32_t width = frames.front().image.width;
  const int32_t height = frames.front().image.height;
  if (width > UINT16_MAX || height > UINT16_MAX) {
    error = "frames too large for a GIF";
    return false;
  }
  for (const TimedFrame& frame : frames) {
    if (frame.image.width != width || frame.image.height != height) {
      error = "frames of different sizes cannot share a GIF";
      return false;
    }
  }
  std::vector<uint32_t> durations;
  for (const TimedFrame& frame : frames) durations.push_back(frame.duration_ms);
  const std::vector<uint16_t> delays = GifDelays(durations);

  int code = 0;
  // Opened here rather than by the library, which would make the file private to its owner.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  GifFileType* gif = fd >= 0 ? EGifOpenFileHandle(fd, &code) : nullptr;
  if (!gif) {
    if (fd >= 0) ::close(fd);
    error = GifError(("cannot create '" + path + "'").c_str(), code);
    return false;
  }
  EGifSetGifVersion(gif, true);
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, nullptr) == GIF_OK && WriteLoop(gif);
  if (!ok) error = GifError("cannot write the GIF header", gif->Error);
  const RgbaImage* previous = nullptr;  // the picture on screen before this frame
  for (size_t i = 0; ok && i < frames.size(); ++i) {
    if (i > 0 && delays[i] == 0) continue;  // merged into the frame before
    ok = WriteFrame(gif, frames[i].image, previous, delays[i], error);
    previous = &frames[i].image;
  }
  if (EGifCloseFile(gif, &code) != GIF_OK && ok) {
    error = GifError(("cannot finish '" + path + "'").c_str(), code);
    ok = false;
  }
  if (ok) return true;
  error = path + ": " + error;
  return false;
}

}  // namespace cva::render_tool
