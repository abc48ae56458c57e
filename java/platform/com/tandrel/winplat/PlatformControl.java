package com.tandrel.winplat;

/**
 * Test-only control of the platform layer: forced failures, counter
 * overrides and a log of the Windows operations called.
 */
public final class PlatformControl {
    static {
        System.loadLibrary("pyxwin");
    }

    public static final int CHOOSE_PIXEL_FORMAT = 0;
    public static final int SET_PIXEL_FORMAT = 1;
    public static final int CREATE_PALETTE = 2;
    public static final int WGL_CREATE_CONTEXT = 3;
    public static final int WGL_MAKE_CURRENT = 4;
    public static final int SWAP_BUFFERS = 5;
    public static final int GET_DC = 6;

    private PlatformControl() {
    }

    /** The next {@code times} calls of {@code op} fail (times &lt; 0: until reset). */
    public static native void forceFailure(int op, int result, int errorCode, int times);

    /** Clears forced failures, counter overrides and the call log. */
    public static native void reset();

    public static native void setCounterFrequency(long ticksPerSecond);

    public static native void queueCounterReadings(long[] readings);

    public static native void recordCalls(boolean on);

    /** The recorded calls, one line each, oldest first. */
    public static native String callLog();

    public static native void clearCallLog();

    public static native int formatCount();

    /**
     * The entries of the palette last realized on the device context, one int
     * each as PALETTEENTRY lies in memory: red in bits 0-7, green 8-15, blue
     * 16-23, flags 24-31. Empty when none was realized, null for an unknown
     * device context.
     */
    public static native int[] paletteEntries(int hdc);

    /** The palette selected into the device context, 0 when none. */
    public static native int selectedPalette(int hdc);

    /** The pixel format set on the device context (0 before; -1 unknown DC). */
    public static native int pixelFormatOf(int hdc);

    /** Whether the rendering context exists (has not been deleted). */
    public static native boolean contextExists(int hglrc);

    /** The id of the thread the context is current on, 0 when none. */
    public static native int contextThread(int hglrc);

    /** The calling thread's current context as the platform sees it (no log line). */
    public static native int currentContext();

    /** The calling thread's id as GetWindowThreadProcessId reports it. */
    public static native int currentThreadId();
}
