package com.tandrel.pyxolin.tests.gluobjects;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.tandrel.util3d.MicroTimer;
import com.tandrel.winplat.PlatformControl;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

class MicroTimerTest {
    @AfterEach
    void realCounter() {
        PlatformControl.reset();
    }

    /** A timer whose start and stop took the given readings of a 3 MHz counter. */
    private static MicroTimer timed(long startReading, long stopReading) {
        PlatformControl.setCounterFrequency(3_000_000);
        PlatformControl.queueCounterReadings(new long[] {startReading, stopReading});
        MicroTimer m = new MicroTimer();
        m.create();
        m.start();
        m.stop();
        return m;
    }

    @ParameterizedTest(name = "{0} to {1} ticks at 3 MHz: {2} us")
    @CsvSource({
        "100, 103, 1",
        "100, 101, 0",
        "0, 3000000, 1000000",
        "104, 100, -1",
        "100, 95, -1",
        "100, 94, -2",
        "7, 7, 0",
        // the difference wraps around: 4 ticks
        "9223372036854775806, -9223372036854775806, 1",
    })
    void ticksBecomeWholeMicrosecondsTruncatedTowardZero(long start, long stop, long micros) {
        MicroTimer m = timed(start, stop);
        assertEquals(micros, m.getDelta());
        assertEquals(micros, m.getDelta(), "getDelta reads and never writes");
    }

    @Test
    void aCreatedTimerMeasuresNothing() {
        MicroTimer m = new MicroTimer();
        m.create();
        assertEquals(0, m.getDelta());

        MicroTimer used = timed(10, 3010);
        assertEquals(1000, used.getDelta());
        used.create();
        assertEquals(0, used.getDelta(), "create resets both readings");
    }

    @Test
    void startAfterStopGivesANegativeInterval() {
        PlatformControl.setCounterFrequency(3_000_000);
        PlatformControl.queueCounterReadings(new long[] {100, 400});
        MicroTimer m = new MicroTimer();
        m.create();
        m.stop();
        m.start();
        assertEquals(-100, m.getDelta());
    }

    @Test
    void theRealCounterMeasuresASleep() throws InterruptedException {
        MicroTimer m = new MicroTimer();
        m.create();
        m.start();
        Thread.sleep(20);
        m.stop();
        long micros = m.getDelta();
        assertTrue(micros >= 20_000 && micros < 5_000_000, micros + " us");
    }
}
