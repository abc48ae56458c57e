package benchgluobjects;

import java.util.Arrays;

/** What every Java contender does, and how it is timed. */
final class GluWork {
    static final int RUNS = 15;
    static final int POLYGONS = 2000;
    static final int SPHERES = 200;

    /** A 50-point star (100 vertices) with a square hole, as the C contender has it. */
    static final double[][] STAR = star(50);
    static final double[][] HOLE = {{-2, -2, 0}, {-2, 2, 0}, {2, 2, 0}, {2, -2, 0}};

    /** A star of the given number of points, radii 10 and 5. */
    static double[][] star(int points) {
        double[][] star = new double[2 * points][];
        for (int i = 0; i < 2 * points; i++) {
            double r = i % 2 == 0 ? 10 : 5;
            star[i] = new double[] {r * Math.cos(Math.PI * i / points), r * Math.sin(Math.PI * i / points), 0};
        }
        return star;
    }

    /** Each vertex's data: its x, y, z as floats. */
    static float[][] dataOf(double[][] contour) {
        float[][] data = new float[contour.length][];
        for (int i = 0; i < contour.length; i++) {
            data[i] = new float[] {(float) contour[i][0], (float) contour[i][1], (float) contour[i][2]};
        }
        return data;
    }

    interface Work {
        void run(int n);
    }

    /**
     * Operations per second: the best of RUNS runs of n operations, after two
     * warm-up runs. The best, not the median: other work on the machine only
     * ever slows a run down.
     */
    static double perSecond(Work work, int n) {
        work.run(n);
        work.run(n);
        double[] rates = new double[RUNS];
        for (int r = 0; r < RUNS; r++) {
            long t0 = System.nanoTime();
            work.run(n);
            rates[r] = n * 1e9 / (System.nanoTime() - t0);
        }
        Arrays.sort(rates);
        return rates[RUNS - 1];
    }

    static void print(String figure, double value, String unit) {
        System.out.printf("%s %.1f %s%n", figure, value, unit);
    }

    private GluWork() {
    }
}
