package benchapi;

import java.util.Arrays;

/** Median timings, printed as "<figure> <value> <unit>" lines for run.sh. */
final class Timing {
    static final int RUNS = 15;

    interface Work {
        void run(int n);
    }

    /** Median nanoseconds per operation of RUNS runs of n operations each. */
    static double nsPerOp(Work work, int n) {
        work.run(n); // warm up: let the JIT compile the loop
        work.run(n);
        double[] runs = new double[RUNS];
        for (int r = 0; r < RUNS; r++) {
            long t0 = System.nanoTime();
            work.run(n);
            runs[r] = (System.nanoTime() - t0) / (double) n;
        }
        Arrays.sort(runs);
        return runs[RUNS / 2];
    }

    static void report(String figure, double value, String unit) {
        System.out.printf("%s %.3f %s%n", figure, value, unit);
    }

    /** Megabytes per second for an operation moving bytes each time. */
    static double mbPerSecond(Work work, int n, long bytes) {
        return bytes / nsPerOp(work, n) * 1e9 / 1e6;
    }

    private Timing() {
    }
}
