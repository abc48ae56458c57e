package com.tandrel.pyxolin.tests.api;

import static com.tandrel.pyxolin.CoreGL.*;
import static org.junit.jupiter.api.Assertions.*;

import com.tandrel.pyxolin.CoreGL;
import com.tandrel.pyxolin.CoreGLU;
import com.tandrel.pyxolin.GLComponent;
import java.lang.reflect.Array;
import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Comparator;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.Test;

/**
 * Every native of CoreGL and CoreGLU binds and runs once with harmless
 * arguments: zeros, and arrays long enough for anything those ask for.
 * Under -Xcheck:jni the run also shows that no native misuses JNI.
 */
class BindingTest extends WithGLContext {
    /** Arguments where zero would make a native refuse the call rather than run it. */
    private static final Map<String, Object[]> OVERRIDES = Map.of(
            "glGetTexImageb", new Object[] {GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, null},
            "glGetTexImages", new Object[] {GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, null},
            "glGetTexImagei", new Object[] {GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, null},
            "glGetTexImagef", new Object[] {GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, null});

    static List<Method> natives(Class<?> cls) {
        List<Method> found = new ArrayList<>();
        for (Method m : cls.getDeclaredMethods()) {
            if (Modifier.isNative(m.getModifiers())) {
                found.add(m);
            }
        }
        found.sort(Comparator.comparing(Method::getName));
        return found;
    }

    static Object argument(Class<?> type) {
        if (type == int.class) return 0;
        if (type == float.class) return 0f;
        if (type == double.class) return 0d;
        if (type == boolean.class) return false;
        if (type == byte.class) return (byte) 0;
        if (type == short.class) return (short) 0;
        if (type == GLComponent.class) return gl.component;
        if (type.isArray()) return Array.newInstance(type.getComponentType(), 4096);
        throw new AssertionError("no argument for " + type);
    }

    @Test
    void everyNativeBindsAndRuns() throws Exception {
        List<String> failed = new ArrayList<>();
        List<Method> all = new ArrayList<>(natives(CoreGL.class));
        all.addAll(natives(CoreGLU.class));
        for (Method m : all) {
            m.setAccessible(true);
            Class<?>[] types = m.getParameterTypes();
            Object[] args = new Object[types.length];
            Object[] preset = OVERRIDES.get(m.getName());
            for (int i = 0; i < types.length; i++) {
                args[i] = preset != null && preset[i] != null ? preset[i] : argument(types[i]);
            }
            try {
                m.invoke(null, args);
                if (m.getName().equals("glBegin")) {
                    glEnd();
                }
                if (m.getName().equals("glRenderMode") || m.getName().equals("glNewList")) {
                    glRenderMode(GL_RENDER);
                    glEndList();
                }
            } catch (InvocationTargetException e) {
                failed.add(m.getName() + ": " + e.getCause());
            }
            GLFixture.takeError();
        }
        assertEquals(List.of(), failed);
        assertEquals(GL_NO_ERROR, glGetError());
    }
}
