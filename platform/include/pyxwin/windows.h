// The Windows operations the natives rely on: window and device-context
// handles, pixel formats, WGL contexts, GDI palettes, screen metrics and the
// performance counter.
//
// On Windows this is the platform's own <windows.h>. Elsewhere it declares
// the stand-in layer (libpyxwin), which gives the same results over EGL and
// the monotonic clock. Handles there are opaque 32-bit values; 0 is never a
// valid handle.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else

#include <stdint.h>

#if defined(__GNUC__)
#define PYXWIN_API __attribute__((visibility("default")))
#else
#define PYXWIN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int64_t LONGLONG;

typedef uint32_t HWND;
typedef uint32_t HDC;
typedef uint32_t HGLRC;
typedef uint32_t HPALETTE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef union LARGE_INTEGER {
  struct {
    uint32_t LowPart;
    int32_t HighPart;
  } u;
  LONGLONG QuadPart;
} LARGE_INTEGER;

typedef struct PIXELFORMATDESCRIPTOR {
  WORD nSize;
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits;
  BYTE cRedShift;
  BYTE cGreenBits;
  BYTE cGreenShift;
  BYTE cBlueBits;
  BYTE cBlueShift;
  BYTE cAlphaBits;
  BYTE cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits;
  BYTE cAccumGreenBits;
  BYTE cAccumBlueBits;
  BYTE cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
} PIXELFORMATDESCRIPTOR;

typedef struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
} PALETTEENTRY;

typedef struct LOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
} LOGPALETTE;

#define PFD_TYPE_RGBA 0
#define PFD_TYPE_COLORINDEX 1
#define PFD_MAIN_PLANE 0
#define PFD_OVERLAY_PLANE 1
#define PFD_UNDERLAY_PLANE (-1)
#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_STEREO 0x00000002
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_DRAW_TO_BITMAP 0x00000008
#define PFD_SUPPORT_GDI 0x00000010
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_GENERIC_FORMAT 0x00000040
#define PFD_NEED_PALETTE 0x00000080

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1

// System error codes the stand-in sets.
#define ERROR_SUCCESS 0
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_INVALID_PARAMETER 87
#define ERROR_BUSY 170
#define ERROR_INVALID_PIXEL_FORMAT 2000

// OpenGL binding
PYXWIN_API int ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd);
PYXWIN_API BOOL SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* ppfd);
PYXWIN_API int GetPixelFormat(HDC hdc);
PYXWIN_API int DescribePixelFormat(HDC hdc, int format, UINT bytes, PIXELFORMATDESCRIPTOR* ppfd);
PYXWIN_API BOOL SwapBuffers(HDC hdc);
PYXWIN_API HGLRC wglCreateContext(HDC hdc);
PYXWIN_API BOOL wglDeleteContext(HGLRC hglrc);
PYXWIN_API BOOL wglMakeCurrent(HDC hdc, HGLRC hglrc);
PYXWIN_API HGLRC wglGetCurrentContext(void);
PYXWIN_API BOOL wglShareLists(HGLRC existing, HGLRC created);

// GDI
PYXWIN_API HPALETTE CreatePalette(const LOGPALETTE* plpal);
PYXWIN_API HPALETTE SelectPalette(HDC hdc, HPALETTE hpal, BOOL forceBackground);
PYXWIN_API UINT RealizePalette(HDC hdc);

// USER
PYXWIN_API int GetSystemMetrics(int index);
PYXWIN_API HDC GetDC(HWND hwnd);
PYXWIN_API int ReleaseDC(HWND hwnd, HDC hdc);
PYXWIN_API DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);

// KERNEL
PYXWIN_API BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
PYXWIN_API BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
PYXWIN_API DWORD GetLastError(void);
PYXWIN_API void SetLastError(DWORD code);

#ifdef __cplusplus
}
#endif

#endif  // !_WIN32
