package com.tandrel.util3d;

/**
 * A stopwatch with microsecond resolution on the platform's performance
 * counter: {@link #create}, then {@link #start} and {@link #stop}, then
 * {@link #getDelta}.
 */
public class MicroTimer {
    static {
        Library.load();
    }

    /** Counter reading of the latest {@link #start}, in ticks. */
    long startpData;
    /** Counter reading of the latest {@link #stop}, in ticks. */
    long stoppData;

    /** Sets both readings to 0. */
    public native void create();

    public native void start();

    public native void stop();

    /** Whole microseconds from the start reading to the stop reading, truncated toward zero. */
    public native long getDelta();

    /** Loads the JNI half once, however many classes ask for it. */
    private static final class Library {
        private static boolean loaded;

        static synchronized void load() {
            if (!loaded) {
                System.loadLibrary("pyxjni");
                loaded = true;
            }
        }
    }
}
