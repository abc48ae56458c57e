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
}
