package kel.bench;

import java.io.File;
import kel.geom.NativeLibrary;

/** The same scenes through the C++ host kit, timed in C++ inside this process (libkelruk_benchhost.so). */
final class HostScenes {
    static {
        NativeLibrary.load();
        String explicit = System.getProperty("kelruk.benchhost");
        if (explicit != null) {
            System.load(new File(explicit).getAbsolutePath());
        } else {
            try {
                File jar = new File(HostScenes.class.getProtectionDomain().getCodeSource().getLocation().toURI());
                System.load(new File(jar.getParentFile(), "libkelruk_benchhost.so").getAbsolutePath());
            } catch (java.net.URISyntaxException e) {
                throw new IllegalStateException(e);
            }
        }
    }

    private HostScenes() {}

    /** Seconds for frames frames of scene 2 or 6 after warmUp untimed ones. */
    static native double timeScene(int scene, int warmUp, int frames);

    /** Seconds for calls renders of a two-triangle quad. */
    static native double timeSmallRenders(int calls);

    /** The lit sphere's vertices, computed as the C++ scenes compute them. */
    static native float[] sphereVertices();

    /** Seconds for calls calls of the setClearDepth stub. */
    static native double timeSetter(int calls);
}
