package com.tandrel.winplat;

/** The windowing part of the platform layer: what AWT does on Windows. */
public final class WinPlatform {
    static {
        System.loadLibrary("pyxwin");
    }

    private WinPlatform() {
    }

    /** A new offscreen window of the given size; 0 when it cannot be made. */
    public static native int createWindow(int width, int height);

    public static native boolean destroyWindow(int hwnd);

    public static native int getDC(int hwnd);

    public static native int releaseDC(int hwnd, int hdc);

    /** The desktop size GetSystemMetrics answers. */
    public static native int screenWidth();

    public static native int screenHeight();
}
