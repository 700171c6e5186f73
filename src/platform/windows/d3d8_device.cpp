#include "platform/windows/d3d8_device.h"

#include <windows.h>
// windows.h first: d3d8.h relies on its types.
#include <d3d8.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/utf8_path.h"

namespace vx {
namespace {

using Direct3DCreate8Function = IDirect3D8*(WINAPI*)(UINT);

std::string Hex(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
  return text;
}

void Check(HRESULT result, const char* what) {
  if (FAILED(result)) throw DeviceError(std::string(what) + " failed (" + Hex(result) + ")");
}

class D3D8Texture final : public Texture {
 public:
  explicit D3D8Texture(IDirect3DTexture8* texture) : texture_(texture) {}
  ~D3D8Texture() override { texture_->Release(); }
  D3D8Texture(const D3D8Texture&) = delete;
  D3D8Texture& operator=(const D3D8Texture&) = delete;
  IDirect3DTexture8* get() const { return texture_; }

 private:
  IDirect3DTexture8* texture_;
};

std::vector<uint8_t> ReadFileBytes(const std::string& file) {
  std::ifstream in(Utf8Path(file), std::ios::binary);
  if (!in) throw DeviceError("cannot read the image " + file);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Expands a channel of `bits` bits to 8, the top bits repeated into the low ones.
uint8_t Expand(uint32_t value, int bits) {
  value <<= 8 - bits;
  return static_cast<uint8_t>(value | (value >> bits));
}

}  // namespace

struct D3D8Device::PresentParameters {
  D3DPRESENT_PARAMETERS p{};
};

D3D8Device::D3D8Device(HWND window, const D3D8DeviceOptions& o)
    : present_(std::make_unique<PresentParameters>()),
      width_(o.width),
      height_(o.height),
      batching_(o.batching) {
  library_ = LoadLibraryW(L"d3d8.dll");
  if (!library_) throw DeviceError("Direct3D 8 (d3d8.dll) is not installed");
  const auto create = reinterpret_cast<Direct3DCreate8Function>(
      reinterpret_cast<void*>(GetProcAddress(library_, "Direct3DCreate8")));
  d3d_ = create ? create(D3D_SDK_VERSION) : nullptr;
  if (!d3d_) {
    FreeLibrary(library_);
    throw DeviceError("Direct3D 8 cannot be started on this system");
  }
  UINT adapter = D3DADAPTER_DEFAULT;
  if (o.adapter_of_window) {
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    for (UINT a = 0; a < d3d_->GetAdapterCount(); ++a)
      if (d3d_->GetAdapterMonitor(a) == monitor) adapter = a;
  }
  D3DDISPLAYMODE desktop{};
  if (FAILED(d3d_->GetAdapterDisplayMode(adapter, &desktop)) || desktop.Format == D3DFMT_UNKNOWN) {
    // An adapter that cannot say its mode (Wine's further monitors without RandR) cannot
    // make a device; the default one draws windowed into a window on any monitor.
    adapter = D3DADAPTER_DEFAULT;
    d3d_->GetAdapterDisplayMode(adapter, &desktop);
  }

  D3DPRESENT_PARAMETERS& p = present_->p;
  p.BackBufferWidth = static_cast<UINT>(o.width);
  p.BackBufferHeight = static_cast<UINT>(o.height);
  p.BackBufferFormat = o.windowed ? desktop.Format : D3DFMT_R5G6B5;
  p.BackBufferCount = 1;
  p.MultiSampleType = D3DMULTISAMPLE_NONE;
  // Copying keeps the back buffer's picture after Present, so the last frame can be read.
  p.SwapEffect = o.windowed && !o.vsync ? D3DSWAPEFFECT_COPY : D3DSWAPEFFECT_COPY_VSYNC;
  p.hDeviceWindow = window;
  p.Windowed = o.windowed ? TRUE : FALSE;
  p.EnableAutoDepthStencil = TRUE;
  p.AutoDepthStencilFormat = D3DFMT_D16;
  p.Flags = o.readable ? D3DPRESENTFLAG_LOCKABLE_BACKBUFFER : 0;
  p.FullScreen_RefreshRateInHz = 0;
  p.FullScreen_PresentationInterval =
      o.windowed ? 0 : (o.vsync ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE);
  // Direct3D would otherwise drop the x87 unit to single precision, and the run-time
  // library's maths functions that use it would round differently from every other build.
  const DWORD behaviour = D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_FPU_PRESERVE;
  HRESULT result = d3d_->CreateDevice(adapter, D3DDEVTYPE_HAL, window, behaviour, &p, &device_);
  if (FAILED(result) && !o.windowed) {
    // A display that offers no 16-bit mode still shows the saver in its own colour depth.
    p.BackBufferFormat = desktop.Format;
    result = d3d_->CreateDevice(adapter, D3DDEVTYPE_HAL, window, behaviour, &p, &device_);
  }
  if (FAILED(result) && !o.windowed) {
    // A display that cannot switch to full screen at the monitor's own size (a driver or a
    // remote session with no such mode) still shows the saver: drawn windowed on the
    // full-screen pop-up, it looks the same.
    p.Windowed = TRUE;
    p.FullScreen_PresentationInterval = 0;
    if (!o.vsync) p.SwapEffect = D3DSWAPEFFECT_COPY;
    result = d3d_->CreateDevice(adapter, D3DDEVTYPE_HAL, window, behaviour, &p, &device_);
  }
  if (FAILED(result)) {
    d3d_->Release();
    FreeLibrary(library_);
    throw DeviceError("no Direct3D 8 device of " + std::to_string(o.width) + " x " +
                      std::to_string(o.height) + " can be made (" + Hex(result) + ")");
  }
}

D3D8Device::~D3D8Device() {
  device_->Release();
  d3d_->Release();
  FreeLibrary(library_);
}

void D3D8Device::SetRenderState(uint32_t state, int32_t value) {
  Flush();
  render_states_[state] = value;
  device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), static_cast<DWORD>(value));
}

void D3D8Device::SetTextureStageState(uint32_t stage, uint32_t type, int32_t value) {
  Flush();
  stage_states_[{stage, type}] = value;
  device_->SetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(type),
                                static_cast<DWORD>(value));
}

void D3D8Device::SetTransform(uint32_t type, const D3DMatrix& matrix) {
  static_assert(sizeof(D3DMATRIX) == sizeof(D3DMatrix));
  Flush();
  transforms_[type] = matrix;
  D3DMATRIX m;
  std::memcpy(&m, &matrix, sizeof m);
  device_->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(type), &m);
}

void D3D8Device::RecoverIfLost() {
  if (!lost_) return;
  const HRESULT state = device_->TestCooperativeLevel();
  if (state == D3DERR_DEVICELOST) return;  // the display is still elsewhere: keep waiting
  if (state == D3DERR_DEVICENOTRESET) {
    const HRESULT reset = device_->Reset(&present_->p);
    if (FAILED(reset)) {
      const uint32_t now = GetTickCount();
      if (reset_failing_since_ == 0) reset_failing_since_ = now | 1;
      if (now - reset_failing_since_ > kResetPatienceMs)
        throw DeviceError("the display cannot be taken back (Reset failed, " + Hex(reset) + ")");
      return;
    }
  }
  reset_failing_since_ = 0;
  lost_ = false;
  Restore();
}

void D3D8Device::Restore() {
  for (const auto& [state, value] : render_states_)
    device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), static_cast<DWORD>(value));
  for (const auto& [stage_type, value] : stage_states_)
    device_->SetTextureStageState(stage_type.first,
                                  static_cast<D3DTEXTURESTAGESTATETYPE>(stage_type.second),
                                  static_cast<DWORD>(value));
  for (const auto& [type, matrix] : transforms_) {
    D3DMATRIX m;
    std::memcpy(&m, &matrix, sizeof m);
    device_->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(type), &m);
  }
  if (fvf_ != 0) device_->SetVertexShader(fvf_);
  // Managed textures survive a reset; only their binding is gone.
  for (const auto& [stage, texture] : textures_)
    device_->SetTexture(stage, static_cast<IDirect3DTexture8*>(texture));
}

void D3D8Device::Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
  Flush();
  RecoverIfLost();
  if (lost_) return;
  Check(device_->Clear(0, nullptr, flags, color, z, stencil), "Clear");
}

void D3D8Device::BeginScene() {
  if (lost_) return;
  Check(device_->BeginScene(), "BeginScene");
}

void D3D8Device::EndScene() {
  Flush();
  if (lost_) return;
  Check(device_->EndScene(), "EndScene");
}

void D3D8Device::Present() {
  Flush();
  draw_calls_last_ = draw_calls_;
  triangles_last_ = triangles_;
  draw_calls_ = triangles_ = 0;
  if (lost_) {
    Sleep(50);  // nothing is shown; wait for the display instead of spinning
    return;
  }
  const HRESULT result = device_->Present(nullptr, nullptr, nullptr, nullptr);
  if (result == D3DERR_DEVICELOST) {
    lost_ = true;
    return;
  }
  Check(result, "Present");
}

void D3D8Device::SetVertexShader(uint32_t fvf) {
  if (fvf == fvf_) return;
  Flush();
  fvf_ = fvf;
  device_->SetVertexShader(fvf);
}

void D3D8Device::SetTexture(uint32_t stage, Texture* texture) {
  auto* own = dynamic_cast<D3D8Texture*>(texture);
  IDirect3DTexture8* wanted = own ? own->get() : nullptr;
  if (stage == 0) {
    if (wanted == bound_texture_) return;
    Flush();
    bound_texture_ = wanted;
  }
  textures_[stage] = wanted;
  device_->SetTexture(stage, wanted);
}

void D3D8Device::Flush() {
  if (pending_triangles_ == 0) return;
  const uint32_t triangles = pending_triangles_;
  pending_triangles_ = 0;
  ++draw_calls_;
  if (!lost_)
    Check(
        device_->DrawPrimitiveUP(::D3DPT_TRIANGLELIST, triangles, pending_.data(), pending_stride_),
        "DrawPrimitiveUP");
  pending_.clear();
}

void D3D8Device::DrawPrimitiveUP(uint32_t primitive_type, uint32_t primitive_count,
                                 const void* vertices, uint32_t stride) {
  if (primitive_count == 0 || !vertices || stride == 0) return;
  triangles_ += primitive_count;
  // A batch stays well under what every Direct3D 8 driver takes in one call.
  constexpr uint32_t kMaxBatchTriangles = 20000;
  const bool joinable =
      batching_ && primitive_count < kMaxBatchTriangles &&
      (primitive_type == D3DPT_TRIANGLESTRIP || primitive_type == D3DPT_TRIANGLELIST);
  if (!joinable) {
    Flush();
    ++draw_calls_;
    if (lost_) return;
    Check(device_->DrawPrimitiveUP(static_cast<D3DPRIMITIVETYPE>(primitive_type), primitive_count,
                                   vertices, stride),
          "DrawPrimitiveUP");
    return;
  }
  if (pending_fvf_ != fvf_ || pending_stride_ != stride ||
      pending_triangles_ + primitive_count > kMaxBatchTriangles)
    Flush();
  pending_fvf_ = fvf_;
  pending_stride_ = stride;
  const auto* bytes = static_cast<const uint8_t*>(vertices);
  auto append = [&](uint32_t vertex) {
    const uint8_t* from = bytes + size_t{vertex} * stride;
    pending_.insert(pending_.end(), from, from + stride);
  };
  for (uint32_t i = 0; i < primitive_count; ++i) {
    if (primitive_type == D3DPT_TRIANGLELIST) {
      append(3 * i), append(3 * i + 1), append(3 * i + 2);
    } else if (i % 2 == 0) {
      append(i), append(i + 1), append(i + 2);
    } else {  // odd strip triangles turned round, so every triangle keeps the strip's winding
      append(i + 1), append(i), append(i + 2);
    }
  }
  pending_triangles_ += primitive_count;
}

D3DViewport D3D8Device::GetViewport() {
  D3DVIEWPORT8 v{};
  device_->GetViewport(&v);
  D3DViewport out;
  out.X = v.X;
  out.Y = v.Y;
  out.Width = v.Width;
  out.Height = v.Height;
  out.MinZ = v.MinZ;
  out.MaxZ = v.MaxZ;
  return out;
}

TextureRef D3D8Device::CreateTextureFromFileEx(const std::string& file,
                                               const TextureLoadOptions& options) {
  std::vector<uint8_t> bytes = ReadFileBytes(file);
  std::string key(bytes.begin(), bytes.end());
  key += "@" + std::to_string(options.width) + "x" + std::to_string(options.height) + "/" +
         std::to_string(options.mip_levels);
  if (auto cached = texture_cache_[key].lock()) return cached;
  RgbaImage image = DecodeImage(bytes, file);
  const int width = static_cast<int>(options.width), height = static_cast<int>(options.height);
  if (image.width != width || image.height != height) image = ScaleNearest(image, width, height);
  const std::vector<RgbaImage> chain =
      options.mip_levels <= 0 ? PointMipChain(std::move(image)) : std::vector{std::move(image)};
  IDirect3DTexture8* texture = nullptr;
  Check(device_->CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height),
                               static_cast<UINT>(chain.size()), 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                               &texture),
        "CreateTexture");
  auto ref = std::make_shared<D3D8Texture>(texture);
  for (size_t level = 0; level < chain.size(); ++level) {
    const RgbaImage& from = chain[level];
    D3DLOCKED_RECT locked{};
    Check(texture->LockRect(static_cast<UINT>(level), &locked, nullptr, 0), "LockRect");
    for (int y = 0; y < from.height; ++y) {
      auto* row = static_cast<uint8_t*>(locked.pBits) + static_cast<ptrdiff_t>(y) * locked.Pitch;
      const uint8_t* rgba = &from.pixels[static_cast<size_t>(y) * from.width * 4];
      for (int x = 0; x < from.width; ++x, rgba += 4, row += 4) {
        row[0] = rgba[2];  // A8R8G8B8 lies in memory as B, G, R, A
        row[1] = rgba[1];
        row[2] = rgba[0];
        row[3] = rgba[3];
      }
    }
    texture->UnlockRect(static_cast<UINT>(level));
  }
  texture_cache_[key] = ref;
  return ref;
}

RgbaImage D3D8Device::ReadLastFrame() {
  Flush();
  IDirect3DSurface8* surface = nullptr;
  Check(device_->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface), "GetBackBuffer");
  D3DSURFACE_DESC desc{};
  surface->GetDesc(&desc);
  D3DLOCKED_RECT locked{};
  const HRESULT result = surface->LockRect(&locked, nullptr, D3DLOCK_READONLY);
  if (FAILED(result)) {
    surface->Release();
    Check(result, "reading the back buffer");
  }
  RgbaImage image;
  image.width = static_cast<int>(desc.Width);
  image.height = static_cast<int>(desc.Height);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height * 4);
  for (int y = 0; y < image.height; ++y) {
    const auto* row =
        static_cast<const uint8_t*>(locked.pBits) + static_cast<ptrdiff_t>(y) * locked.Pitch;
    uint8_t* to = &image.pixels[static_cast<size_t>(y) * image.width * 4];
    for (int x = 0; x < image.width; ++x, to += 4) {
      if (desc.Format == D3DFMT_R5G6B5 || desc.Format == D3DFMT_X1R5G5B5) {
        uint16_t v;
        std::memcpy(&v, row + x * 2, 2);
        const bool six = desc.Format == D3DFMT_R5G6B5;
        to[0] = Expand(six ? v >> 11 : (v >> 10) & 31, 5);
        to[1] = six ? Expand((v >> 5) & 63, 6) : Expand((v >> 5) & 31, 5);
        to[2] = Expand(v & 31, 5);
      } else {  // X8R8G8B8 or A8R8G8B8
        to[0] = row[x * 4 + 2];
        to[1] = row[x * 4 + 1];
        to[2] = row[x * 4];
      }
      to[3] = 255;
    }
  }
  surface->UnlockRect();
  surface->Release();
  return image;
}

}  // namespace vx
