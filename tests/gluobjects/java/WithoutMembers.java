package com.tandrel.pyxolin.tests.gluobjects;

/**
 * Objects of classes lacking what the natives look up, for natives driven on
 * them from C++: no callbacks, no handle field, timers without one reading
 * or both.
 */
public final class WithoutMembers {
    private WithoutMembers() {
    }

    public static final class Nothing {
    }

    public static final class TimerWithoutStop {
        long startpData;
    }

    public static final class TimerWithIntReadings {
        int startpData;
        int stoppData;
    }
}
