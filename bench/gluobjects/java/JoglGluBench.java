package benchgluobjects;

import com.jogamp.opengl.GL2;
import com.jogamp.opengl.GLAutoDrawable;
import com.jogamp.opengl.GLCapabilities;
import com.jogamp.opengl.GLDrawableFactory;
import com.jogamp.opengl.GLProfile;
import com.jogamp.opengl.glu.GLU;
import com.jogamp.opengl.glu.GLUquadric;
import com.jogamp.opengl.glu.GLUtessellator;
import com.jogamp.opengl.glu.GLUtessellatorCallbackAdapter;

/** The JOGL 2.3.2 contender: its GLU tessellator and its GLU quadric, doing the same work. */
public final class JoglGluBench {
    static final class Counting extends GLUtessellatorCallbackAdapter {
        long vertices;
        long others;
        float sum;

        @Override
        public void begin(int type) {
            others++;
        }

        @Override
        public void vertex(Object data) {
            vertices++;
            sum += ((float[]) data)[0];
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

    static void tessellate(GLUtessellator tess) {
        GLU.gluBeginPolygon(tess);
        for (int i = 0; i < GluWork.STAR.length; i++) {
            GLU.gluTessVertex(tess, GluWork.STAR[i], 0, STAR_DATA[i]);
        }
        GLU.gluNextContour(tess, GLU.GLU_INTERIOR);
        for (int i = 0; i < GluWork.HOLE.length; i++) {
            GLU.gluTessVertex(tess, GluWork.HOLE[i], 0, HOLE_DATA[i]);
        }
        GLU.gluEndPolygon(tess);
    }

    public static void main(String[] args) {
        GLProfile profile = GLProfile.get(GLProfile.GL2);
        GLCapabilities caps = new GLCapabilities(profile);
        caps.setOnscreen(false);
        GLAutoDrawable drawable = GLDrawableFactory.getFactory(profile)
                .createOffscreenAutoDrawable(null, caps, null, 64, 64);
        drawable.display();
        drawable.getContext().makeCurrent();
        GL2 gl = drawable.getGL().getGL2();

        GLUtessellator tess = GLU.gluNewTess();
        Counting callbacks = new Counting();
        for (int which : new int[] {GLU.GLU_TESS_BEGIN, GLU.GLU_TESS_VERTEX, GLU.GLU_TESS_END,
                GLU.GLU_TESS_ERROR, GLU.GLU_TESS_EDGE_FLAG}) {
            GLU.gluTessCallback(tess, which, callbacks);
        }
        GluWork.print("tessellation", GluWork.perSecond(n -> {
            for (int i = 0; i < n; i++) {
                tessellate(tess);
            }
        }, GluWork.POLYGONS), "polygons/s");
        System.err.printf("JOGL: %d vertices, %d other callbacks (%g)%n", callbacks.vertices, callbacks.others,
                callbacks.sum);
        GLU.gluDeleteTess(tess);

        GLU glu = GLU.createGLU(gl);
        gl.glMatrixMode(GL2.GL_MODELVIEW);
        gl.glLoadIdentity();
        gl.glTranslated(5, 0, 0);
        GLUquadric q = glu.gluNewQuadric();
        GluWork.print("sphere", GluWork.perSecond(n -> {
            for (int i = 0; i < n; i++) {
                glu.gluSphere(q, 1, 64, 64);
            }
            gl.glFinish();
        }, GluWork.SPHERES), "spheres/s");
        glu.gluDeleteQuadric(q);
        drawable.getContext().release();
        drawable.destroy();
    }
}
