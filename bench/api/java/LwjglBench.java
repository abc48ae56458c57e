package benchapi;

import java.nio.ByteBuffer;
import java.nio.FloatBuffer;
import java.nio.IntBuffer;
import org.lwjgl.BufferUtils;
import org.lwjgl.opengl.Display;
import org.lwjgl.opengl.DisplayMode;
import org.lwjgl.opengl.GL11;

/** The figures through LWJGL 2.9.3 with direct buffers, in a Display window. */
public final class LwjglBench {
    public static void main(String[] args) throws Exception {
        Display.setDisplayMode(new DisplayMode(Figures.SIZE, Figures.SIZE));
        Display.create();
        GL11.glViewport(0, 0, Figures.SIZE, Figures.SIZE);

        Timing.report("glIsEnabled", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) GL11.glIsEnabled(GL11.GL_DEPTH_TEST);
        }, Figures.CALLS), "ns");
        Timing.report("glGetError", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) GL11.glGetError();
        }, Figures.CALLS), "ns");
        Timing.report("glVertex3f", Timing.nsPerOp(n -> {
            GL11.glBegin(GL11.GL_POINTS);
            for (int i = 0; i < n; i++) GL11.glVertex3f(-5f, -5f, 0.5f);
            GL11.glEnd();
        }, Figures.VERTICES), "ns");
        FloatBuffer matrix = BufferUtils.createFloatBuffer(16);
        matrix.put(Figures.matrix()).flip();
        Timing.report("glLoadMatrixf", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) GL11.glLoadMatrix(matrix);
        }, Figures.CALLS), "ns");
        IntBuffer viewport = BufferUtils.createIntBuffer(16); // LWJGL asks for 16
        Timing.report("glGetIntegerv", Timing.nsPerOp(n -> {
            for (int i = 0; i < n; i++) GL11.glGetInteger(GL11.GL_VIEWPORT, viewport);
        }, Figures.CALLS), "ns");
        ByteBuffer pixels = BufferUtils.createByteBuffer(Figures.BYTES);
        Timing.report("glReadPixels", Timing.mbPerSecond(n -> {
            for (int i = 0; i < n; i++)
                GL11.glReadPixels(0, 0, Figures.SIZE, Figures.SIZE, GL11.GL_RGBA, GL11.GL_UNSIGNED_BYTE, pixels);
        }, Figures.TRANSFERS, Figures.BYTES), "MB/s");
        GL11.glBindTexture(GL11.GL_TEXTURE_2D, 1);
        Timing.report("glTexImage2D", Timing.mbPerSecond(n -> {
            for (int i = 0; i < n; i++)
                GL11.glTexImage2D(GL11.GL_TEXTURE_2D, 0, GL11.GL_RGBA, Figures.SIZE, Figures.SIZE, 0, GL11.GL_RGBA,
                        GL11.GL_UNSIGNED_BYTE, pixels);
        }, Figures.TRANSFERS, Figures.BYTES), "MB/s");
        Display.destroy();
    }
}
