package benchapi;

import static com.tandrel.pyxolin.CoreGL.*;

import com.tandrel.pyxolin.GLCapabilities;
import com.tandrel.pyxolin.GLComponent;
import com.tandrel.pyxolin.GLContext;
import com.tandrel.pyxolin.Offscreen;

/** The figures through CoreGL with plain Java arrays. */
public final class PyxolinBench {
    public static void main(String[] args) {
        GLComponent c = Offscreen.component(Figures.SIZE, Figures.SIZE);
        c.create();
        GLContext ctx = new GLContext(c, new GLCapabilities());
        ctx.create();
        ctx.makeCurrent();
        glViewport(c, 0, 0, Figures.SIZE, Figures.SIZE);

        Timing.report("glIsEnabled", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) glIsEnabled(GL_DEPTH_TEST);
        }, Figures.CALLS), "ns");
        Timing.report("glGetError", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) glGetError();
        }, Figures.CALLS), "ns");
        Timing.report("glVertex3f", Timing.nsPerOp(n -> {
            glBegin(GL_POINTS);
            for (int i = 0; i < n; i++) glVertex3f(-5f, -5f, 0.5f); // outside the viewport
            glEnd();
        }, Figures.VERTICES), "ns");
        float[] matrix = Figures.matrix();
        Timing.report("glLoadMatrixf", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) glLoadMatrixf(matrix);
        }, Figures.CALLS), "ns");
        int[] viewport = new int[4];
        Timing.report("glGetIntegerv", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) glGetIntegerv(GL_VIEWPORT, viewport);
        }, Figures.CALLS), "ns");
        byte[] pixels = new byte[Figures.BYTES];
        Timing.report("glReadPixels", Timing.mbPerSecond(n -> {
            for (int i = 0; i < n; i++) glReadPixelsb(0, 0, Figures.SIZE, Figures.SIZE, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        }, Figures.TRANSFERS, Figures.BYTES), "MB/s");
        glBindTexture(GL_TEXTURE_2D, 1);
        Timing.report("glTexImage2D", Timing.mbPerSecond(n -> {
            for (int i = 0; i < n; i++)
                glTexImage2Db(GL_TEXTURE_2D, 0, GL_RGBA, Figures.SIZE, Figures.SIZE, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        }, Figures.TRANSFERS, Figures.BYTES), "MB/s");
        if (glGetError() != GL_NO_ERROR) throw new AssertionError("GL error during the run");
        ctx.unlock();
        ctx.destroy();
        Offscreen.dispose(c);
    }
}
