// What the stand-in layer offers besides the Windows operations:
//  - offscreen windows, the part AWT plays on Windows (a window handle with a
//    size; its device context gets a pbuffer once a pixel format is set);
//  - a test-only control interface that forces failures of single operations
//    and records the calls made, so tests can see what the natives asked for.
#pragma once

#include "pyxwin/windows.h"

#ifdef __cplusplus
extern "C" {
#endif

// The fixed desktop size answered by GetSystemMetrics.
#define PYXWIN_DESKTOP_WIDTH 1920
#define PYXWIN_DESKTOP_HEIGHT 1080

// Offscreen windows. Width and height must be 1..8192; 0 on failure.
PYXWIN_API HWND pyxwinCreateWindow(int width, int height);
PYXWIN_API BOOL pyxwinDestroyWindow(HWND hwnd);
PYXWIN_API BOOL pyxwinWindowSize(HWND hwnd, int* width, int* height);

// Operations whose failure can be forced.
typedef enum PyxwinOp {
  PYXWIN_OP_CHOOSE_PIXEL_FORMAT = 0,  // result 0
  PYXWIN_OP_SET_PIXEL_FORMAT,         // result as given (any value but 1 fails)
  PYXWIN_OP_CREATE_PALETTE,           // result 0 (null palette)
  PYXWIN_OP_WGL_CREATE_CONTEXT,       // result 0 (null context)
  PYXWIN_OP_WGL_MAKE_CURRENT,         // result FALSE, for both forms
  PYXWIN_OP_SWAP_BUFFERS,             // result FALSE
  PYXWIN_OP_GET_DC,                   // result 0
  PYXWIN_OP_COUNT
} PyxwinOp;

// The next `times` calls of `op` (any thread) fail with `result`, leaving
// `errorCode` as the thread's last error; times < 0 means until cleared.
PYXWIN_API void pyxwinForceFailure(int op, int result, DWORD errorCode, int times);
// Clears every forced failure, the counter overrides and the call log.
PYXWIN_API void pyxwinReset(void);

// Performance counter overrides: a fixed frequency (0 restores the real
// one), and readings handed out in order by QueryPerformanceCounter before
// it goes back to the real clock.
PYXWIN_API void pyxwinSetCounterFrequency(LONGLONG ticksPerSecond);
PYXWIN_API void pyxwinQueueCounterReadings(const LONGLONG* readings, int count);

// Call log: while recording, every Windows operation appends one line such as
// "wglMakeCurrent(3, 7) = 1". Lines are separated by '\n'.
// (Every operation of windows.h is logged, GetLastError and SetLastError
// included; the scalar arguments appear in declaration order in decimal,
// pointer arguments are left out: "ChoosePixelFormat(2) = 3",
// "DescribePixelFormat(2, 3, 40) = 30", "SelectPalette(2, 9, 0) = 0",
// "CreatePalette() = 9", "GetWindowThreadProcessId(1) = 4242",
// "QueryPerformanceCounter() = 1", "SetLastError(6)". Forced results are
// logged as returned. The pyxwin* functions are not logged.)
PYXWIN_API void pyxwinRecordCalls(BOOL on);
// Copies the log (NUL-terminated, truncated to capacity) and returns its full
// length in bytes without the terminator.
PYXWIN_API int pyxwinCallLog(char* buffer, int capacity);
PYXWIN_API void pyxwinClearCallLog(void);

// Number of pixel formats the layer offers (the same as DescribePixelFormat
// returns).
PYXWIN_API int pyxwinFormatCount(void);

// Additions for tests (none of them is logged or can be forced).

// The error code left by failures of EGL itself that map to no other code.
#ifndef ERROR_GEN_FAILURE
#define ERROR_GEN_FAILURE 31
#endif

// The entries of the palette last realized on the device context: copies up
// to `capacity` of them into `out` (which may be null when capacity is 0)
// and returns how many there are; 0 when none was realized, -1 for an
// unknown device context.
PYXWIN_API int pyxwinPaletteEntries(HDC hdc, PALETTEENTRY* out, int capacity);
// The palette selected into the device context (0 when none or unknown).
PYXWIN_API HPALETTE pyxwinSelectedPalette(HDC hdc);
// The pixel format set on the device context: 0 before SetPixelFormat,
// -1 for an unknown device context.
PYXWIN_API int pyxwinDCPixelFormat(HDC hdc);
// Whether the rendering context exists (not yet deleted).
PYXWIN_API BOOL pyxwinContextExists(HGLRC hglrc);
// The id of the thread the context is current on; 0 when it is current
// nowhere or unknown.
PYXWIN_API DWORD pyxwinContextThread(HGLRC hglrc);
// The calling thread's current context, like wglGetCurrentContext but
// without a log line.
PYXWIN_API HGLRC pyxwinCurrentContext(void);
// The calling thread's id, as GetWindowThreadProcessId reports it.
PYXWIN_API DWORD pyxwinCurrentThreadId(void);

#ifdef __cplusplus
}
#endif
