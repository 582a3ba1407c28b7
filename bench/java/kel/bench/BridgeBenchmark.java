package kel.bench;

import kel.geom.Vector3;
import kel.ruk.DirectionalLight;
import kel.ruk.Display;
import kel.ruk.KELRend3DDevice;
import kel.ruk.KELRendGraphics3D;
import kel.ruk.KELRendModel;
import kel.ruk.Material;

/**
 * What the JNI bridge costs: the benchmark scenes S2 (64 full-screen smooth
 * quads) and S6 (a lit 256 × 128 sphere) on a 640 × 480 32-bit screen with a
 * depth buffer, and a setter call, each through the bridge from Java and
 * through the C++ host kit in this same process, alternating, after
 * warm-up. Prints the best of the repetitions of each and the bridge's share.
 *
 * <p>Run with a Java heap below 4 GiB (-Xmx2g) for arrays passed in place, or
 * with -XX:HeapBaseMinAddress=8g to measure the copying path.
 */
public final class BridgeBenchmark {
    private static final int WIDTH = 640, HEIGHT = 480;

    private BridgeBenchmark() {}

    public static void main(String[] args) {
        // Short repetitions, alternating, best of each: on a shared machine the
        // neighbours slow single runs unpredictably.
        int repetitions = args.length > 0 ? Integer.parseInt(args[0]) : 25;
        report("S2 fill-smooth", 2, 8, repetitions);
        report("S6 lit-sphere", 6, 10, repetitions);
        KELRendGraphics3D g = screen();
        int calls = 1_000_000;
        double[] setter = perCall(repetitions, calls, () -> {
            long start = System.nanoTime();
            for (int i = 0; i < calls; ++i) g.setClearDepth(i & 1023);
            return (System.nanoTime() - start) / 1e9;
        }, () -> HostScenes.timeSetter(calls));
        System.out.printf("setClearDepth   bridge %8.1f ns/call   host kit %8.1f ns/call   bridge adds %6.1f ns%n",
                setter[0], setter[1], setter[0] - setter[1]);
        KELRendModel quad = new KELRendModel(KELRendModel.TRIANGLES,
                new float[] {-0.01f, -0.01f, -1, 0.01f, -0.01f, -1, 0.01f, 0.01f, -1, -0.01f, 0.01f, -1}, new int[] {0, 1, 2, 0, 2, 3});
        int[] grey = new int[6];
        java.util.Arrays.fill(grey, 0xFF808080);
        quad.setColors(KELRendModel.PER_CORNER, grey).prepare(0);
        int renders = 200_000;
        double[] render = perCall(repetitions, renders, () -> {
            g.beginRendering();
            long start = System.nanoTime();
            for (int i = 0; i < renders; ++i) g.render(quad);
            double taken = (System.nanoTime() - start) / 1e9;
            g.endRendering();
            return taken;
        }, () -> HostScenes.timeSmallRenders(renders));
        System.out.printf("render (2 tris) bridge %8.1f ns/call   host kit %8.1f ns/call   bridge adds %6.1f ns%n",
                render[0], render[1], render[0] - render[1]);
        quad.dispose();
        g.dispose();
    }

    /** Best nanoseconds per call of the bridge's and the host kit's timing, alternating, after two warm-up rounds. */
    private static double[] perCall(int repetitions, int calls, java.util.function.DoubleSupplier bridge,
            java.util.function.DoubleSupplier host) {
        double b = Double.MAX_VALUE, h = Double.MAX_VALUE;
        for (int r = 0; r < repetitions + 2; ++r) {
            double tb = bridge.getAsDouble(), th = host.getAsDouble();
            if (r >= 2) {
                b = Math.min(b, tb);
                h = Math.min(h, th);
            }
        }
        return new double[] {b / calls * 1e9, h / calls * 1e9};
    }

    private static void report(String name, int scene, int frames, int repetitions) {
        double bridge = Double.MAX_VALUE, host = Double.MAX_VALUE;
        for (int r = 0; r < repetitions; ++r) {
            bridge = Math.min(bridge, timeBridge(scene, frames, frames));
            host = Math.min(host, HostScenes.timeScene(scene, frames, frames));
        }
        System.out.printf("%-15s bridge %8.3f ms/frame   host kit %8.3f ms/frame   bridge adds %5.1f %%%n", name,
                bridge / frames * 1e3, host / frames * 1e3, (bridge / host - 1) * 100);
    }

    /** The screen of the benchmarks: 32 bits, a window made active, model colours as emission. */
    private static KELRendGraphics3D screen() {
        Display.setDepth(32);
        Display.setMasks(0xFF0000, 0x00FF00, 0x0000FF);
        int window = Display.createWindow(WIDTH, HEIGHT);
        Display.activateWindow(window);
        KELRendGraphics3D g = new KELRendGraphics3D(KELRend3DDevice.direct(0xFF0000, 0x00FF00, 0x0000FF),
                KELRendGraphics3D.DEPTH_BUFFER, WIDTH, HEIGHT);
        g.setMaterial(new Material(0, 0, 0, 0, 0, 255));
        g.setModifiedMaterialColor(KELRendGraphics3D.MATERIAL_EMISSION);
        g.setClearColor(0);
        return g;
    }

    private static double timeBridge(int scene, int warmUp, int frames) {
        KELRendGraphics3D g = screen();
        KELRendModel model = scene == 2 ? fillModel() : sphereModel();
        if (scene == 6) {
            g.pushLight(new DirectionalLight(0xFFFFFF, new Vector3(-0.5f, -0.5f, -1.0f)));
            g.setMaterial(new Material(0, 0, 0xC0C0C0, 0xFFFFFF, 16, 255));
            g.setModifiedMaterialColor(KELRendGraphics3D.MATERIAL_DIFFUSE);
            g.translateModel(0, 0, -3);
        }
        render(g, model, warmUp);
        long start = System.nanoTime();
        render(g, model, frames);
        double seconds = (System.nanoTime() - start) / 1e9;
        model.dispose();
        g.dispose();
        return seconds;
    }

    private static void render(KELRendGraphics3D g, KELRendModel model, int frames) {
        for (int f = 0; f < frames; ++f) {
            g.beginRendering();
            g.clear(KELRendGraphics3D.COLOR_BUFFER_BIT | KELRendGraphics3D.DEPTH_BUFFER_BIT);
            g.render(model);
            g.endRendering();
        }
    }

    /** S2's model: 64 full-screen quads from far to near, a different colour at each corner. */
    private static KELRendModel fillModel() {
        int quads = 64;
        float yLimit = (float) Math.tan(0.7853982 / 2) * 1.01f, xLimit = yLimit * 4 / 3;
        float[] xyz = new float[quads * 12];
        int[] corners = new int[quads * 6], colors = new int[quads * 6];
        int[] order = {0, 3, 2, 0, 2, 1};  // counter-clockwise as seen from the eye
        for (int i = 0; i < quads; ++i) {
            float depth = 20 - 0.25f * i, x = xLimit * depth, y = yLimit * depth;
            float[] v = {-x, y, -depth, x, y, -depth, x, -y, -depth, -x, -y, -depth};
            System.arraycopy(v, 0, xyz, 12 * i, 12);
            int base = i * 0x030507;
            for (int k = 0; k < 6; ++k) {
                int corner = order[k];
                int rgb = 0x204060 + base + 0x500000 * (corner & 1) + 0x005000 * (corner >> 1) + 0x000050 * corner;
                corners[6 * i + k] = 4 * i + corner;
                colors[6 * i + k] = 0xFF000000 | (rgb & 0xFFFFFF);
            }
        }
        KELRendModel m = new KELRendModel(KELRendModel.TRIANGLES, xyz, corners).setColors(KELRendModel.PER_CORNER, colors);
        m.prepare(0);
        return m;
    }

    /** S6's model: a unit sphere of 256 × 128 segments (the C++ scenes' vertices) with crease-angle vertex normals. */
    private static KELRendModel sphereModel() {
        int segments = 256, rings = 128;
        float[] xyz = HostScenes.sphereVertices();
        int n = 0;
        int[] corners = new int[rings * segments * 6];
        for (int i = 0; i < rings; ++i) {
            for (int j = 0; j < segments; ++j) {
                int a = i * (segments + 1) + j, b = a + 1, c = a + segments + 1, d = c + 1;
                for (int index : new int[] {a, c, d, a, d, b}) corners[n++] = index;
            }
        }
        KELRendModel m = new KELRendModel(KELRendModel.TRIANGLES, xyz, corners);
        m.prepare(1.0f);
        return m;
    }
}
