package benchgluobjects;

import com.tandrel.pyxolin.CoreGL;
import com.tandrel.pyxolin.GLCapabilities;
import com.tandrel.pyxolin.GLComponent;
import com.tandrel.pyxolin.GLContext;
import com.tandrel.pyxolin.GLUQuadric;
import com.tandrel.pyxolin.GLUTesselator;
import com.tandrel.pyxolin.Offscreen;
import java.nio.file.Files;
import java.nio.file.Paths;

/**
 * The pyxolin contender: GLUTesselator with its callbacks into Java, and
 * GLUQuadric.sphere. With the argument "soak", one million polygons (a
 * smaller star with the square hole, so the soak takes seconds, not
 * minutes) in a loop, with the resident memory printed before, after a
 * warm-up, and at the end.
 */
public final class PyxolinGluBench {
    static final int GL_MODELVIEW = 0x1700;
    static final int GLU_INTERIOR = 100122;

    static final class Counting extends GLUTesselator {
        long vertices;
        long others;
        float sum;

        @Override
        public void begin(int type) {
            others++;
        }

        @Override
        public void vertex(float[] data) {
            vertices++;
            sum += data[0];
        }

        @Override
        public void end() {
            others++;
        }

        @Override
        public void error(int errorCode) {
            others++;
        }

        @Override
        public void edgeFlag(boolean boundaryEdge) {
            others++;
        }
    }

    private static final float[][] STAR_DATA = GluWork.dataOf(GluWork.STAR);
    private static final float[][] HOLE_DATA = GluWork.dataOf(GluWork.HOLE);

    private static final double[][] SMALL_STAR = GluWork.star(8);
    private static final float[][] SMALL_STAR_DATA = GluWork.dataOf(SMALL_STAR);

    static void tessellate(GLUTesselator t, double[][] star, float[][] starData) {
        t.beginPolygon();
        for (int i = 0; i < star.length; i++) {
            t.tessVertex(star[i], starData[i]);
        }
        t.nextContour(GLU_INTERIOR);
        for (int i = 0; i < GluWork.HOLE.length; i++) {
            t.tessVertex(GluWork.HOLE[i], HOLE_DATA[i]);
        }
        t.endPolygon();
    }

    public static void main(String[] args) throws Exception {
        Counting t = new Counting();
        t.create();
        if (args.length > 0 && args[0].equals("soak")) {
            soak(t);
            return;
        }
        GluWork.print("tessellation", GluWork.perSecond(n -> {
            for (int i = 0; i < n; i++) {
                tessellate(t, GluWork.STAR, STAR_DATA);
            }
        }, GluWork.POLYGONS), "polygons/s");
        System.err.printf("pyxolin: %d vertices, %d other callbacks (%g)%n", t.vertices, t.others, t.sum);
        t.destroy();

        GLComponent c = Offscreen.component(64, 64);
        c.create();
        GLContext ctx = new GLContext(c, new GLCapabilities());
        ctx.create();
        ctx.makeCurrent();
        CoreGL.glMatrixMode(GL_MODELVIEW);
        CoreGL.glLoadIdentity();
        CoreGL.glTranslated(5, 0, 0);
        GLUQuadric q = new GLUQuadric();
        q.create();
        GluWork.print("sphere", GluWork.perSecond(n -> {
            for (int i = 0; i < n; i++) {
                q.sphere(1, 64, 64);
            }
            CoreGL.glFinish();
        }, GluWork.SPHERES), "spheres/s");
        q.destroy();
        ctx.unlock();
        ctx.destroy();
        Offscreen.dispose(c);
    }

    static long residentKiB() throws Exception {
        for (String line : Files.readAllLines(Paths.get("/proc/self/status"))) {
            if (line.startsWith("VmRSS:")) {
                return Long.parseLong(line.replaceAll("[^0-9]", ""));
            }
        }
        throw new IllegalStateException("no VmRSS");
    }

    static void soak(Counting t) throws Exception {
        final int total = 1_000_000;
        final int warmUp = 100_000;
        GluWork.print("soak_rss_start", residentKiB(), "KiB");
        long t0 = System.nanoTime();
        for (int i = 1; i <= total; i++) {
            tessellate(t, SMALL_STAR, SMALL_STAR_DATA);
            if (i == warmUp) {
                GluWork.print("soak_rss_after_warmup", residentKiB(), "KiB");
            } else if (i % 300_000 == 0) {
                GluWork.print("soak_rss_at_" + i, residentKiB(), "KiB");
            }
        }
        GluWork.print("soak_rss_end", residentKiB(), "KiB");
        GluWork.print("soak_polygons", total, "polygons");
        GluWork.print("soak_rate", total * 1e9 / (System.nanoTime() - t0), "polygons/s");
        System.err.printf("pyxolin soak: %d vertices delivered%n", t.vertices);
    }
}
