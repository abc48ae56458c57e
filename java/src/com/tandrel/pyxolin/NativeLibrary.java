package com.tandrel.pyxolin;

/** Loads the JNI half once, whichever class is touched first. */
final class NativeLibrary {
    private static boolean loaded;

    private NativeLibrary() {
    }

    static synchronized void load() {
        if (!loaded) {
            System.loadLibrary("pyxjni");
            loaded = true;
        }
    }
}
