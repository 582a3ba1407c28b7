package kel.ruk;

import static kel.ruk.Screens.OPAQUE;
import static kel.ruk.Screens.at;
import static org.junit.jupiter.api.Assertions.assertEquals;

import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.CyclicBarrier;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import kel.geom.Matrix4;
import kel.ruk.Screens.Format;
import org.junit.jupiter.api.Test;

/** Two contexts driven from two threads at once, each with its own models, matrices and surface. */
class ThreadsTest {
    @Test
    void twoContextsOnTwoThreads() throws Exception {
        Screens.open(Format.RGB32, 8, 8, 0).dispose();  // the display, set up once for both
        int frames = 300;
        CyclicBarrier start = new CyclicBarrier(2);
        ExecutorService pool = Executors.newFixedThreadPool(2);
        List<Future<Integer>> results = new ArrayList<>();
        for (int t = 0; t < 2; ++t) {
            final int colour = t == 0 ? 0xFF8000 : 0x0080FF;
            final int shift = t == 0 ? -12 : 12;
            results.add(pool.submit(() -> {
                KELRendGraphics3D g = new KELRendGraphics3D(KELRend3DDevice.direct(0xFF0000, 0xFF00, 0xFF),
                        KELRendGraphics3D.DEPTH_BUFFER, 64, 48);
                g.setOrthographicProjection(32, 24, 1, 100);
                g.setMaterial(new Material(0, 0, 0, 0, 0, 255));
                g.setModifiedMaterialColor(KELRendGraphics3D.MATERIAL_EMISSION);
                KELRendModel m = Screens.quad(-6, -6, 6, 6, -5, OPAQUE | colour, false);
                Matrix4 place = new Matrix4();
                start.await();
                int good = 0;
                try (Surface s = new Surface(64, 48)) {
                    int[] pixels = new int[64 * 48];
                    for (int f = 0; f < frames; ++f) {
                        // Each frame moves the rectangle, so a mixed-up call shows.
                        int dy = f % 7 - 3;
                        g.beginRendering();
                        g.clear(KELRendGraphics3D.COLOR_BUFFER_BIT | KELRendGraphics3D.DEPTH_BUFFER_BIT);
                        g.loadModelMatrix(place.translate(new Matrix4(), shift, dy, 0));
                        g.render(m);
                        g.popModelMatrix();
                        g.endRendering();
                        g.paint(s, 0, 0);
                        s.getPixels(pixels);
                        if (at(g, pixels, 32 + shift, 24 - dy) == colour && at(g, pixels, 32 - shift, 24) == 0) ++good;
                    }
                }
                m.dispose();
                g.dispose();
                return good;
            }));
        }
        for (Future<Integer> r : results) assertEquals(frames, r.get().intValue());
        pool.shutdown();
    }
}
