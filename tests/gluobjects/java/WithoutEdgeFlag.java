package com.tandrel.pyxolin.tests.gluobjects;

/**
 * A callback target without {@code edgeFlag(boolean)}, for natives driven on
 * it from C++. Its {@code edgeFlag(int)} has the name but not the signature
 * and must never be called.
 */
public class WithoutEdgeFlag {
    public int begins;
    public int vertices;
    public int ends;
    public int errors;
    public int edgeFlagsOfTheWrongKind;

    public void begin(int type) {
        begins++;
    }

    public void vertex(float[] data) {
        vertices++;
    }

    public void end() {
        ends++;
    }

    public void error(int errorCode) {
        errors++;
    }

    public void edgeFlag(int flag) {
        edgeFlagsOfTheWrongKind++;
    }
}
