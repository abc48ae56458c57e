package com.tandrel.pyxolin.tests.core;

import com.tandrel.pyxolin.GLCapabilities;
import com.tandrel.pyxolin.GLComponent;
import com.tandrel.pyxolin.GLContext;
import com.tandrel.pyxolin.Offscreen;
import com.tandrel.winplat.PlatformControl;
import java.lang.reflect.Field;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.stream.Collectors;
import sun.awt.windows.WDrawingSurfaceInfo;

/** Small fixture: offscreen components, their contexts, fields and the platform's call log. */
final class Surfaces {
    private final List<GLComponent> components = new ArrayList<>();
    private final List<GLContext> contexts = new ArrayList<>();

    GLComponent component(int width, int height) {
        GLComponent c = Offscreen.component(width, height);
        components.add(c);
        return c;
    }

    <T extends GLComponent> T attach(T c, int width, int height) {
        Offscreen.attach(c, width, height);
        components.add(c);
        return c;
    }

    GLComponent created(int width, int height) {
        GLComponent c = component(width, height);
        if (!c.create()) {
            throw new AssertionError("nCreate failed");
        }
        return c;
    }

    GLContext context(GLComponent c, GLCapabilities caps) {
        GLContext ctx = new GLContext(c, caps);
        contexts.add(ctx);
        return ctx;
    }

    /** Releases and destroys everything this fixture made, and resets the platform. */
    void close() {
        PlatformControl.reset();
        for (GLContext ctx : contexts) {
            try {
                ctx.unlock();
                if (ctx.getComponent().getWidget() != 0) {
                    ctx.destroy();
                }
            } catch (RuntimeException ignored) {
                // a test may have left the component unusable on purpose
            }
        }
        for (GLComponent c : components) {
            Offscreen.dispose(c);
        }
    }

    static WDrawingSurfaceInfo surface(GLComponent c) {
        return Offscreen.surfaceOf(c);
    }

    static int intField(Object o, String name) {
        return (Integer) get(o, name);
    }

    static Object get(Object o, String name) {
        try {
            return field(o.getClass(), name).get(o);
        } catch (IllegalAccessException e) {
            throw new AssertionError(e);
        }
    }

    static void set(Object o, String name, Object value) {
        try {
            field(o.getClass(), name).set(o, value);
        } catch (IllegalAccessException e) {
            throw new AssertionError(e);
        }
    }

    private static Field field(Class<?> cls, String name) {
        for (Class<?> c = cls; c != null; c = c.getSuperclass()) {
            try {
                Field f = c.getDeclaredField(name);
                f.setAccessible(true);
                return f;
            } catch (NoSuchFieldException e) {
                // look further up
            }
        }
        throw new AssertionError("no field " + name + " on " + cls);
    }

    /** The platform calls logged since recording started, one entry per call. */
    static List<String> calls() {
        String log = PlatformControl.callLog();
        return log.isEmpty() ? List.of() : Arrays.asList(log.split("\n"));
    }

    static List<String> callsNamed(String name) {
        return calls().stream().filter(l -> l.startsWith(name + "(")).collect(Collectors.toList());
    }

    static void record() {
        PlatformControl.clearCallLog();
        PlatformControl.recordCalls(true);
    }
}
