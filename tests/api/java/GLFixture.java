package com.tandrel.pyxolin.tests.api;

import static com.tandrel.pyxolin.CoreGL.*;

import com.tandrel.pyxolin.GLCapabilities;
import com.tandrel.pyxolin.GLComponent;
import com.tandrel.pyxolin.GLContext;
import com.tandrel.pyxolin.Offscreen;

/** An offscreen component with a current context, and small GL helpers. */
final class GLFixture implements AutoCloseable {
    static final int SIZE = 64;

    final GLComponent component;
    final GLContext context;

    GLFixture() {
        component = Offscreen.component(SIZE, SIZE);
        if (!component.create()) {
            throw new AssertionError("nCreate failed");
        }
        context = new GLContext(component, new GLCapabilities());
        context.create();
        context.makeCurrent();
        resetView();
    }

    /** Window coordinates equal object coordinates, the whole window is the viewport. */
    void resetView() {
        glViewport(component, 0, 0, SIZE, SIZE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, SIZE, 0, SIZE, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    /** GL's error flag, cleared. */
    static int takeError() {
        int first = glGetError();
        while (glGetError() != GL_NO_ERROR) {
            // drain
        }
        return first;
    }

    static float[] getFloats(int pname, int n) {
        float[] v = new float[n];
        glGetFloatv(pname, v);
        return v;
    }

    static int[] getInts(int pname, int n) {
        int[] v = new int[n];
        glGetIntegerv(pname, v);
        return v;
    }

    /** The RGBA bytes of one pixel. */
    static byte[] pixel(int x, int y) {
        byte[] rgba = new byte[4];
        glReadPixelsb(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return rgba;
    }

    /** Runs draw in feedback mode (GL_3D) and returns the values GL recorded. */
    static float[] feedback(Runnable draw) {
        float[] buffer = new float[4096];
        glFeedbackBuffer(buffer.length, GL_3D, buffer);
        glRenderMode(GL_FEEDBACK);
        draw.run();
        int n = glRenderMode(GL_RENDER);
        if (n < 0) {
            throw new AssertionError("feedback overflow");
        }
        return java.util.Arrays.copyOf(buffer, n);
    }

    @Override
    public void close() {
        context.unlock();
        context.destroy();
        Offscreen.dispose(component);
    }
}
