package com.tandrel.pyxolin;

/**
 * One rendering context for one {@link GLComponent}. A frame is
 * {@link #makeCurrent}, GL calls on the same thread, then {@link #swapBuffers}
 * (or {@link #unlock}).
 */
public class GLContext {
    static {
        NativeLibrary.load();
    }

    /** The rendering-context handle; 0 when there is none. */
    int pData;
    private final GLComponent component;
    private volatile boolean initialized;
    private final Object reserved = null;
    final GLCapabilities capabilities;

    public GLContext(GLComponent component, GLCapabilities capabilities) {
        this.component = component;
        this.capabilities = capabilities;
        component.setContext(this);
    }

    public GLComponent getComponent() {
        return component;
    }

    public GLCapabilities getCapabilities() {
        return capabilities;
    }

    /**
     * Chooses the component's pixel format and creates the context. Answers
     * false, and creates nothing, while the shared component's context is not
     * yet initialized; call again once it is.
     */
    public boolean create() {
        boolean created = nCreateContext(component);
        initialized = created;
        return created;
    }

    public boolean isInitialized() {
        return initialized;
    }

    public void makeCurrent() {
        nMakeCurrent(component);
    }

    /** Finishes, shows the frame and releases the context from this thread. */
    public void swapBuffers() {
        nSwapBuffers(component);
    }

    /** Releases the context from this thread without a swap. */
    public void unlock() {
        nUnlock();
    }

    public void destroy() {
        nDestroyContext(component);
        initialized = false;
    }

    native boolean nCreateContext(GLComponent component);

    native void nMakeCurrent(GLComponent component);

    native void nSwapBuffers(GLComponent component);

    native void nDestroyContext(GLComponent component);

    native void nUnlock();
}
