package com.tandrel.pyxolin.demo;

import com.tandrel.pyxolin.CoreGL;
import com.tandrel.pyxolin.GLCapabilities;
import com.tandrel.pyxolin.GLComponent;
import com.tandrel.pyxolin.GLContext;
import com.tandrel.pyxolin.GLUQuadric;
import com.tandrel.pyxolin.Offscreen;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import javax.imageio.ImageIO;

/** Renders a small scene into an offscreen component and writes it as a PNG. */
public final class Demo {
    static final int WIDTH = 320;
    static final int HEIGHT = 240;
    static final int GL_COLOR_BUFFER_BIT = 0x4000;
    static final int GL_DEPTH_BUFFER_BIT = 0x0100;
    static final int GL_DEPTH_TEST = 0x0B71;
    static final int GL_TRIANGLES = 0x0004;
    static final int GL_QUADS = 0x0007;
    static final int GL_PROJECTION = 0x1701;
    static final int GL_MODELVIEW = 0x1700;
    static final int GL_RGBA = 0x1908;
    static final int GL_UNSIGNED_BYTE = 0x1401;
    static final int GL_SMOOTH = 0x1D01;
    static final int GL_LIGHTING = 0x0B50;
    static final int GL_LIGHT0 = 0x4000;
    static final int GL_COLOR_MATERIAL = 0x0B57;

    public static void main(String[] args) throws IOException {
        File out = new File(args.length > 0 ? args[0] : "pyxolin-demo.png");
        GLComponent component = Offscreen.component(WIDTH, HEIGHT);
        if (!component.create()) {
            throw new IllegalStateException("component not created");
        }
        GLContext context = new GLContext(component, new GLCapabilities());
        if (!context.create()) {
            throw new IllegalStateException("context not created");
        }
        context.makeCurrent();
        byte[] pixels = draw(component);
        context.swapBuffers();
        context.destroy();
        Offscreen.dispose(component);

        BufferedImage image = toImage(pixels);
        long colours = java.util.Arrays.stream(image.getRGB(0, 0, WIDTH, HEIGHT, null, 0, WIDTH)).distinct().count();
        if (colours < 100) {
            throw new IllegalStateException("the frame has only " + colours + " colours: nothing was drawn");
        }
        ImageIO.write(image, "png", out);
        System.out.println("pyxolin demo: wrote " + out.getPath() + " (" + WIDTH + "x" + HEIGHT + ")");
    }

    static byte[] draw(GLComponent component) {
        CoreGL.glViewport(component, 0, 0, WIDTH, HEIGHT);
        CoreGL.glClearColor(0.08f, 0.09f, 0.14f, 1f);
        CoreGL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        CoreGL.glEnable(GL_DEPTH_TEST);
        CoreGL.glShadeModel(GL_SMOOTH);

        CoreGL.glMatrixMode(GL_PROJECTION);
        CoreGL.glLoadIdentity();
        CoreGL.glFrustum(-0.8, 0.8, -0.6, 0.6, 1.5, 20);
        CoreGL.glMatrixMode(GL_MODELVIEW);
        CoreGL.glLoadIdentity();
        CoreGL.glTranslatef(0, -0.2f, -4f);

        // A floor of checkered tiles.
        CoreGL.glBegin(GL_QUADS);
        for (int i = -4; i < 4; i++) {
            for (int j = -6; j < 2; j++) {
                float shade = ((i + j) & 1) == 0 ? 0.35f : 0.2f;
                CoreGL.glColor3f(shade, shade, shade + 0.05f);
                CoreGL.glVertex3f(i * 0.5f, -0.8f, j * 0.5f);
                CoreGL.glVertex3f(i * 0.5f + 0.5f, -0.8f, j * 0.5f);
                CoreGL.glVertex3f(i * 0.5f + 0.5f, -0.8f, j * 0.5f + 0.5f);
                CoreGL.glVertex3f(i * 0.5f, -0.8f, j * 0.5f + 0.5f);
            }
        }
        CoreGL.glEnd();

        // A ring of spinning, smoothly shaded triangles.
        for (int k = 0; k < 6; k++) {
            CoreGL.glPushMatrix();
            CoreGL.glRotatef(k * 60f, 0, 1, 0);
            CoreGL.glTranslatef(0, 0, 1.4f);
            CoreGL.glRotatef(k * 25f, 0, 0, 1);
            CoreGL.glBegin(GL_TRIANGLES);
            CoreGL.glColor3f(1f, 0.3f + k * 0.1f, 0.2f);
            CoreGL.glVertex3f(-0.45f, -0.35f, 0);
            CoreGL.glColor3f(0.2f, 1f - k * 0.1f, 0.4f);
            CoreGL.glVertex3f(0.45f, -0.35f, 0);
            CoreGL.glColor3f(0.3f, 0.4f, 1f);
            CoreGL.glVertex3f(0, 0.5f, 0);
            CoreGL.glEnd();
            CoreGL.glPopMatrix();
        }
        // A lit sphere in the middle of the ring.
        GLUQuadric quadric = new GLUQuadric();
        quadric.create();
        CoreGL.glEnable(GL_LIGHTING);
        CoreGL.glEnable(GL_LIGHT0);
        CoreGL.glEnable(GL_COLOR_MATERIAL);
        CoreGL.glColor3f(0.95f, 0.75f, 0.25f);
        CoreGL.glPushMatrix();
        CoreGL.glTranslatef(0, 0.05f, 0);
        quadric.sphere(0.55, 48, 32);
        CoreGL.glPopMatrix();
        CoreGL.glDisable(GL_LIGHTING);
        quadric.destroy();
        CoreGL.glFinish();

        byte[] pixels = new byte[WIDTH * HEIGHT * 4];
        CoreGL.glReadPixelsb(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        return pixels;
    }

    static BufferedImage toImage(byte[] rgba) {
        BufferedImage image = new BufferedImage(WIDTH, HEIGHT, BufferedImage.TYPE_INT_RGB);
        for (int y = 0; y < HEIGHT; y++) {
            for (int x = 0; x < WIDTH; x++) {
                int i = ((HEIGHT - 1 - y) * WIDTH + x) * 4; // GL rows run bottom-up
                int rgb = (rgba[i] & 255) << 16 | (rgba[i + 1] & 255) << 8 | (rgba[i + 2] & 255);
                image.setRGB(x, y, rgb);
            }
        }
        return image;
    }
}
