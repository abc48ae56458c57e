// Pixel format and palette: a capability request becomes a pixel-format
// descriptor, applied to a device context, with a ramp palette where the
// chosen format needs one.
#pragma once

#include <stdint.h>

#include "pyxwin/windows.h"

namespace pyx {

// Elements of the capability array read by capabilitiesToDescriptor.
constexpr int kCapabilityCount = 22;

// Fills `pfd` from capability elements 0..21. False, with nothing further
// done, when element 21 is not a known layer (0, 1 or 2).
bool capabilitiesToDescriptor(const int32_t* caps, PIXELFORMATDESCRIPTOR* pfd);

enum class PixelFormatStatus { Ok, ChooseFailed, SetFailed, PaletteFailed };

// Chooses and sets the format closest to `pfd` on `hdc`, overwrites `pfd`
// with the description of the format set, and realizes a ramp palette when
// that format needs one (calling `onNeedPalette` first, if given).
PixelFormatStatus applyPixelFormat(HDC hdc, PIXELFORMATDESCRIPTOR* pfd, void (*onNeedPalette)());

// Builds, creates, selects and realizes the ramp palette of a described
// format. False when the palette cannot be created.
bool realizeRampPalette(HDC hdc, const PIXELFORMATDESCRIPTOR& pfd);

// Number of entries of the ramp palette of a described format: 2 to the
// power of its colour depth, or 0 when that does not fit a palette's 16-bit
// entry count.
int rampPaletteSize(const PIXELFORMATDESCRIPTOR& pfd);

// Entry i of the ramp palette: each channel's field of the index, scaled
// from 0..mask to 0..255. A channel of 0 bits is 0 in every entry.
PALETTEENTRY rampPaletteEntry(const PIXELFORMATDESCRIPTOR& pfd, int32_t index);

}  // namespace pyx
