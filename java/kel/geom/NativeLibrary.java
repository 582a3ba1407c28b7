package kel.geom;

import java.io.File;
import java.net.URISyntaxException;
import java.security.CodeSource;

/**
 * Loads the JNI bridge ({@code libkelruk_jni.so}), which brings in the renderer
 * ({@code libkelruk.so}) and the display stand-in ({@code libkelplatform.so}).
 * Every class of {@code kel.geom} and {@code kel.ruk} with native methods calls
 * {@link #load()} when it is initialised, so programs rarely need to.
 *
 * <p>The bridge is looked for, in order: at the path in the system property
 * {@code kelruk.jni}; in the directory of {@code kelruk.jar}, in {@code ../lib}
 * beside it, and in the library directory of the installation the jar came
 * from; finally on {@code java.library.path} as {@code kelruk_jni}.
 *
 * <p>The bridge passes Java arrays to the renderer without copying them when
 * the Java heap lies below 4 GiB (for example with {@code -Xmx2g}); with a
 * larger heap it copies the arrays each call reads.
 */
public final class NativeLibrary {
    private static final String FILE_NAME = "libkelruk_jni.so";
    private static boolean loaded;

    private NativeLibrary() {}

    /**
     * Loads the bridge once per class loader; later calls do nothing.
     *
     * @throws UnsatisfiedLinkError when the bridge cannot be found or loaded
     */
    public static synchronized void load() {
        if (loaded) return;
        String explicit = System.getProperty("kelruk.jni");
        if (explicit != null && !explicit.isEmpty()) {
            System.load(new File(explicit).getAbsolutePath());
        } else {
            File found = besideJar();
            if (found != null) System.load(found.getAbsolutePath());
            else System.loadLibrary("kelruk_jni");
        }
        loaded = true;
    }

    private static File besideJar() {
        CodeSource source = NativeLibrary.class.getProtectionDomain().getCodeSource();
        if (source == null || source.getLocation() == null) return null;
        File jar;
        try {
            jar = new File(source.getLocation().toURI());
        } catch (URISyntaxException | IllegalArgumentException e) {
            return null;
        }
        File dir = jar.isDirectory() ? jar : jar.getParentFile();
        if (dir == null) return null;
        String[] candidates = {".", "../lib", InstallLayout.JAR_TO_LIBRARY_DIR};
        for (String relative : candidates) {
            File file = new File(new File(dir, relative), FILE_NAME);
            if (file.isFile()) return file;
        }
        return null;
    }
}
