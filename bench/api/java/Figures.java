package benchapi;

/** What every contender measures, the same way. */
final class Figures {
    static final int SIZE = 512;
    static final int BYTES = SIZE * SIZE * 4;
    static final int CALLS = 2_000_000;
    static final int VERTICES = 2_000_000;
    static final int TRANSFERS = 40;

    static float[] matrix() {
        float[] m = new float[16];
        for (int i = 0; i < 16; i += 5) m[i] = 1;
        return m;
    }

    private Figures() {
    }
}
