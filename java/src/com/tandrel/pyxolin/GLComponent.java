package com.tandrel.pyxolin;

import java.awt.Canvas;

/**
 * The AWT component OpenGL draws into. Once it has its peer, {@link #create}
 * records its window and device context; a {@link GLContext} then renders
 * into it.
 */
public class GLComponent extends Canvas {
    private static final long serialVersionUID = 1L;

    static {
        NativeLibrary.load();
    }

    /** Handle of the native record of the window and device context. */
    int pData;
    /** The peer's drawing-surface-info object, stored by {@link #create}. */
    Object drawingSurfaceInfo;
    /** The component whose context shares display lists with this one's. */
    GLComponent sharedComponent;
    /** Window-handle slot of the Microsoft VM binding; unused under JNI. */
    int window;
    GLContext _context;

    public GLComponent() {
    }

    public GLComponent(GLComponent sharedComponent) {
        this.sharedComponent = sharedComponent;
    }

    /** Records the window and device context; needs the peer. */
    public boolean create() {
        return nCreate();
    }

    public GLComponent getSharedComponent() {
        return sharedComponent;
    }

    public void setSharedComponent(GLComponent shared) {
        sharedComponent = shared;
    }

    public GLContext getContext() {
        return _context;
    }

    void setContext(GLContext context) {
        _context = context;
    }

    native boolean nCreate();

    public native int getDesktopWidth();

    public native int getDesktopHeight();

    /** The window handle recorded by {@link #create}. */
    public native int getWindow();

    /** The device context recorded by {@link #create}. */
    public native int getWidget();

    /** The rendering-context handle of this component's context, or 0. */
    public native int getGLContext();
}
