#include "pixelformat.h"

#include <stdlib.h>
#include <string.h>

namespace pyx {

namespace {

BYTE lowByte(int32_t v) { return static_cast<BYTE>(v & 0xff); }

// One channel of a ramp entry. The guards keep shifts and masks defined for
// descriptor bytes up to 255; for real formats the result is the plain
// ((index >> shift) & mask) * 255 / mask.
BYTE rampChannel(int32_t index, int bits, int shift) {
  if (bits == 0) return 0;
  const int64_t mask = bits >= 31 ? INT32_MAX : (int64_t{1} << bits) - 1;
  const int64_t field = shift >= 32 ? 0 : (static_cast<int64_t>(index) >> shift) & mask;
  return static_cast<BYTE>(field * 255 / mask);
}

}  // namespace

bool capabilitiesToDescriptor(const int32_t* caps, PIXELFORMATDESCRIPTOR* pfd) {
  memset(pfd, 0, sizeof *pfd);
  pfd->nSize = sizeof(PIXELFORMATDESCRIPTOR);
  pfd->nVersion = 1;
  pfd->dwFlags = PFD_SUPPORT_OPENGL;

  pfd->iPixelType = caps[0] != 0 ? PFD_TYPE_COLORINDEX : PFD_TYPE_RGBA;
  if (caps[1] == 0) pfd->dwFlags |= PFD_DOUBLEBUFFER;
  if (caps[2] == 0) pfd->dwFlags |= PFD_STEREO;
  pfd->dwFlags |= caps[3] == 0 ? PFD_DRAW_TO_WINDOW : PFD_DRAW_TO_BITMAP;

  pfd->cColorBits = lowByte(caps[4]);
  pfd->cRedBits = lowByte(caps[5]);
  pfd->cGreenBits = lowByte(caps[6]);
  pfd->cBlueBits = lowByte(caps[7]);
  pfd->cAlphaBits = lowByte(caps[8]);
  pfd->cRedShift = lowByte(caps[9]);
  pfd->cGreenShift = lowByte(caps[10]);
  pfd->cBlueShift = lowByte(caps[11]);
  pfd->cAlphaShift = lowByte(caps[12]);
  pfd->cAccumBits = lowByte(caps[13]);
  pfd->cAccumRedBits = lowByte(caps[14]);
  pfd->cAccumGreenBits = lowByte(caps[15]);
  pfd->cAccumBlueBits = lowByte(caps[16]);
  pfd->cAccumAlphaBits = lowByte(caps[17]);
  pfd->cDepthBits = lowByte(caps[18]);
  pfd->cStencilBits = lowByte(caps[19]);
  pfd->cAuxBuffers = lowByte(caps[20]);

  switch (caps[21]) {
    case 0: pfd->iLayerType = PFD_MAIN_PLANE; break;
    case 1: pfd->iLayerType = PFD_OVERLAY_PLANE; break;
    case 2: pfd->iLayerType = lowByte(PFD_UNDERLAY_PLANE); break;
    default: return false;
  }
  return true;
}

PixelFormatStatus applyPixelFormat(HDC hdc, PIXELFORMATDESCRIPTOR* pfd, void (*onNeedPalette)()) {
  const int chosen = ChoosePixelFormat(hdc, pfd);
  if (chosen == 0) return PixelFormatStatus::ChooseFailed;
  if (SetPixelFormat(hdc, chosen, pfd) != TRUE) return PixelFormatStatus::SetFailed;

  DescribePixelFormat(hdc, GetPixelFormat(hdc), sizeof(PIXELFORMATDESCRIPTOR), pfd);
  if ((pfd->dwFlags & PFD_NEED_PALETTE) == 0) return PixelFormatStatus::Ok;

  if (onNeedPalette) onNeedPalette();
  return realizeRampPalette(hdc, *pfd) ? PixelFormatStatus::Ok : PixelFormatStatus::PaletteFailed;
}

int rampPaletteSize(const PIXELFORMATDESCRIPTOR& pfd) {
  // 2^16 entries would not fit palNumEntries.
  return pfd.cColorBits < 16 ? 1 << pfd.cColorBits : 0;
}

PALETTEENTRY rampPaletteEntry(const PIXELFORMATDESCRIPTOR& pfd, int32_t index) {
  PALETTEENTRY e;
  e.peRed = rampChannel(index, pfd.cRedBits, pfd.cRedShift);
  e.peGreen = rampChannel(index, pfd.cGreenBits, pfd.cGreenShift);
  e.peBlue = rampChannel(index, pfd.cBlueBits, pfd.cBlueShift);
  e.peFlags = 0;
  return e;
}

bool realizeRampPalette(HDC hdc, const PIXELFORMATDESCRIPTOR& pfd) {
  const int n = rampPaletteSize(pfd);
  if (n == 0) return false;

  const size_t bytes = sizeof(LOGPALETTE) + (n - 1) * sizeof(PALETTEENTRY);
  LOGPALETTE* logical = static_cast<LOGPALETTE*>(malloc(bytes));
  if (logical == nullptr) return false;
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(n);
  for (int i = 0; i < n; ++i) logical->palPalEntry[i] = rampPaletteEntry(pfd, i);

  HPALETTE palette = CreatePalette(logical);
  free(logical);
  if (!palette) return false;

  SelectPalette(hdc, palette, FALSE);
  RealizePalette(hdc);
  return true;
}

}  // namespace pyx
