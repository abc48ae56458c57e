package com.tandrel.winplat.tests;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.tandrel.winplat.PlatformControl;
import com.tandrel.winplat.WinPlatform;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** The Java face of the platform layer: every native of WinPlatform and PlatformControl. */
class PlatformControlTest {
    @BeforeEach
    @AfterEach
    void reset() {
        PlatformControl.reset();
    }

    @Test
    void windowsAndDeviceContexts() {
        assertEquals(0, WinPlatform.createWindow(0, 4));
        assertEquals(0, WinPlatform.createWindow(4, 8193));
        int hwnd = WinPlatform.createWindow(16, 9);
        assertNotEquals(0, hwnd);
        int hdc = WinPlatform.getDC(hwnd);
        assertNotEquals(0, hdc);
        assertNotEquals(hwnd, hdc);
        assertEquals(hdc, WinPlatform.getDC(hwnd));
        assertEquals(1, WinPlatform.releaseDC(hwnd, hdc));
        assertEquals(0, PlatformControl.pixelFormatOf(hdc));
        assertEquals(0, PlatformControl.selectedPalette(hdc));
        assertArrayEquals(new int[0], PlatformControl.paletteEntries(hdc));
        assertTrue(WinPlatform.destroyWindow(hwnd));
        assertFalse(WinPlatform.destroyWindow(hwnd));
        assertEquals(0, WinPlatform.getDC(hwnd));
        assertEquals(0, WinPlatform.releaseDC(hwnd, hdc));
        assertNull(PlatformControl.paletteEntries(hdc));
        assertEquals(-1, PlatformControl.pixelFormatOf(hdc));
    }

    @Test
    void screenSize() {
        assertEquals(1920, WinPlatform.screenWidth());
        assertEquals(1080, WinPlatform.screenHeight());
    }

    @Test
    void callLogAndForcedFailures() {
        int hwnd = WinPlatform.createWindow(2, 2);
        try {
            PlatformControl.recordCalls(true);
            int hdc = WinPlatform.getDC(hwnd);
            PlatformControl.forceFailure(PlatformControl.GET_DC, 0, 6, 1);
            assertEquals(0, WinPlatform.getDC(hwnd));
            assertEquals(hdc, WinPlatform.getDC(hwnd));
            PlatformControl.recordCalls(false);
            WinPlatform.getDC(hwnd);
            assertEquals("GetDC(" + hwnd + ") = " + hdc + "\n"
                    + "GetDC(" + hwnd + ") = 0\n"
                    + "GetDC(" + hwnd + ") = " + hdc + "\n", PlatformControl.callLog());
            PlatformControl.clearCallLog();
            assertEquals("", PlatformControl.callLog());
            // Until reset.
            PlatformControl.forceFailure(PlatformControl.GET_DC, 0, 6, -1);
            assertEquals(0, WinPlatform.getDC(hwnd));
            assertEquals(0, WinPlatform.getDC(hwnd));
            PlatformControl.reset();
            assertEquals(hdc, WinPlatform.getDC(hwnd));
        } finally {
            WinPlatform.destroyWindow(hwnd);
        }
    }

    @Test
    void queriesOfUnknownHandles() {
        assertEquals(0, PlatformControl.currentContext());
        assertFalse(PlatformControl.contextExists(0));
        assertFalse(PlatformControl.contextExists(0x7fffffff));
        assertEquals(0, PlatformControl.contextThread(0x7fffffff));
        assertNotEquals(0, PlatformControl.currentThreadId());
        assertTrue(PlatformControl.formatCount() > 1);
    }

    @Test
    void counterOverridesReachTheLayer() {
        // Queued readings and the frequency are handed out by the counter,
        // which only natives read; here the calls must simply be accepted.
        PlatformControl.setCounterFrequency(3_000_000L);
        PlatformControl.queueCounterReadings(new long[] {1, 2, 3});
        PlatformControl.queueCounterReadings(new long[0]);
        PlatformControl.queueCounterReadings(null);
        PlatformControl.setCounterFrequency(0);
    }
}
