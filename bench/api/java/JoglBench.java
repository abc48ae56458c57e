package benchapi;

import com.jogamp.opengl.GL2;
import com.jogamp.opengl.GLAutoDrawable;
import com.jogamp.opengl.GLCapabilities;
import com.jogamp.opengl.GLDrawableFactory;
import com.jogamp.opengl.GLProfile;
import java.nio.ByteBuffer;

/** The figures through JOGL 2.3.2: float[] with offsets, ByteBuffer.wrap for images. */
public final class JoglBench {
    public static void main(String[] args) {
        GLProfile profile = GLProfile.get(GLProfile.GL2);
        GLCapabilities caps = new GLCapabilities(profile);
        caps.setOnscreen(false);
        GLAutoDrawable drawable = GLDrawableFactory.getFactory(profile)
                .createOffscreenAutoDrawable(null, caps, null, Figures.SIZE, Figures.SIZE);
        drawable.display();
        drawable.getContext().makeCurrent();
        GL2 gl = drawable.getGL().getGL2();
        gl.glViewport(0, 0, Figures.SIZE, Figures.SIZE);

        Timing.report("glIsEnabled", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) gl.glIsEnabled(GL2.GL_DEPTH_TEST);
        }, Figures.CALLS), "ns");
        Timing.report("glGetError", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) gl.glGetError();
        }, Figures.CALLS), "ns");
        Timing.report("glVertex3f", Timing.nsPerOp(n -> {
            gl.glBegin(GL2.GL_POINTS);
            for (int i = 0; i < n; i++) gl.glVertex3f(-5f, -5f, 0.5f);
            gl.glEnd();
        }, Figures.VERTICES), "ns");
        float[] matrix = Figures.matrix();
        Timing.report("glLoadMatrixf", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) gl.glLoadMatrixf(matrix, 0);
        }, Figures.CALLS), "ns");
        int[] viewport = new int[4];
        Timing.report("glGetIntegerv", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) gl.glGetIntegerv(GL2.GL_VIEWPORT, viewport, 0);
        }, Figures.CALLS), "ns");
        ByteBuffer pixels = ByteBuffer.wrap(new byte[Figures.BYTES]);
        Timing.report("glReadPixels", Timing.mbPerSecond(n -> {
            for (int i = 0; i < n; i++)
                gl.glReadPixels(0, 0, Figures.SIZE, Figures.SIZE, GL2.GL_RGBA, GL2.GL_UNSIGNED_BYTE, pixels);
        }, Figures.TRANSFERS, Figures.BYTES), "MB/s");
        gl.glBindTexture(GL2.GL_TEXTURE_2D, 1);
        Timing.report("glTexImage2D", Timing.mbPerSecond(n -> {
            for (int i = 0; i < n; i++)
                gl.glTexImage2D(GL2.GL_TEXTURE_2D, 0, GL2.GL_RGBA, Figures.SIZE, Figures.SIZE, 0, GL2.GL_RGBA,
                        GL2.GL_UNSIGNED_BYTE, pixels);
        }, Figures.TRANSFERS, Figures.BYTES), "MB/s");
        drawable.getContext().release();
        drawable.destroy();
    }
}
