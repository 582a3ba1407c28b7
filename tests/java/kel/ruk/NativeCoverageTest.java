package kel.ruk;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.nio.charset.StandardCharsets;
import java.util.Set;
import java.util.TreeSet;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;

/** Every native of the Java classes has its JNI function in the bridge: the library's 102, and the display's own. */
class NativeCoverageTest {
    private static final String[] STUB_CLASSES = {"kel.geom.Vector3", "kel.geom.Quaternion", "kel.geom.Matrix4",
        "kel.geom.BoundingBox3", "kel.geom.Geom", "kel.ruk.KELRendGraphics3D", "kel.ruk.KELRendModel",
        "kel.ruk.KELRendTexture", "kel.ruk.KELRend3DDevice", "kel.ruk.Graphics3DDevice"};
    private static final String[] OWN_CLASSES = {"kel.ruk.Display", "kel.ruk.Surface"};

    private static Set<String> nativesOf(String[] classes) throws ClassNotFoundException {
        Set<String> names = new TreeSet<>();
        for (String name : classes) {
            for (Method m : Class.forName(name).getDeclaredMethods()) {
                if (Modifier.isNative(m.getModifiers())) names.add("Java_" + name.replace('.', '_') + "_" + m.getName());
            }
        }
        return names;
    }

    @Test
    void everyNativeHasItsFunction() throws Exception {
        Set<String> stubs = nativesOf(STUB_CLASSES), own = nativesOf(OWN_CLASSES);
        assertEquals(102, stubs.size(), "one native per stub of the library");
        Process nm = new ProcessBuilder("nm", "-D", "--defined-only", System.getenv("KELRUK_BRIDGE")).start();
        Set<String> exported = new String(nm.getInputStream().readAllBytes(), StandardCharsets.UTF_8).lines()
                .map(line -> line.substring(line.lastIndexOf(' ') + 1)).filter(s -> s.startsWith("Java_"))
                .collect(Collectors.toCollection(TreeSet::new));
        assertEquals(0, nm.waitFor());
        Set<String> expected = new TreeSet<>(stubs);
        expected.addAll(own);
        assertEquals(expected, exported);
        for (String name : stubs) assertTrue(name.startsWith("Java_kel_"));
    }
}
