package kel.demo;

import java.awt.BorderLayout;
import java.awt.GraphicsEnvironment;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import javax.imageio.ImageIO;
import javax.swing.ImageIcon;
import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.SwingUtilities;
import javax.swing.Timer;
import kel.geom.Vector3;
import kel.ruk.DirectionalLight;
import kel.ruk.Display;
import kel.ruk.KELRend3DDevice;
import kel.ruk.KELRendGraphics3D;
import kel.ruk.KELRendModel;
import kel.ruk.KELRendTexture;
import kel.ruk.Material;
import kel.ruk.PointLight;
import kel.ruk.Surface;

/**
 * kelruk's demo scene from Java: a textured checkerboard floor, a smooth
 * sphere of per-vertex colours, a cube of per-face colours and a torus
 * cutting through both, under a directional and a point light with specular
 * highlights and linear fog. Renders frames and writes the last as a PNG, or
 * animates the scene in a Swing window with --window.
 */
public final class KelrukDemo {
    private int width = 640, height = 480, depth = 32, frames = 1;
    private String output = "kelruk-demo-java.png";
    private boolean window;

    private KELRendGraphics3D g;
    private KELRendModel[] models;
    private float[][] placement;  // x, y, z, axis x, y, z, spin per frame, angle at frame 0
    private KELRendTexture texture;

    public static void main(String[] args) throws Exception {
        KelrukDemo demo = new KelrukDemo();
        if (!demo.parse(args)) System.exit(2);
        demo.run();
    }

    private boolean parse(String[] args) {
        for (int i = 0; i < args.length; ++i) {
            String a = args[i];
            String value = i + 1 < args.length ? args[i + 1] : null;
            try {
                switch (a) {
                    case "--size": {
                        String[] wh = value.split("x");
                        width = Integer.parseInt(wh[0]);
                        height = Integer.parseInt(wh[1]);
                        ++i;
                        break;
                    }
                    case "--depth": depth = Integer.parseInt(value); ++i; break;
                    case "--frames": frames = Integer.parseInt(value); ++i; break;
                    case "--output": output = value; ++i; break;
                    case "--window": window = true; break;
                    default:
                        System.err.println("usage: kelruk-demo-java [--size WxH] [--depth 8|16|24|32] [--frames N] [--output FILE.png] [--window]");
                        return false;
                }
            } catch (RuntimeException e) {
                System.err.println("kelruk-demo-java: bad value for " + a);
                return false;
            }
        }
        return true;
    }

    private void run() throws IOException {
        Display.setDepth(depth);
        KELRend3DDevice device = KELRend3DDevice.forDisplay(null);
        g = new KELRendGraphics3D(device, KELRendGraphics3D.DEPTH_BUFFER, width, height);
        g.setName("demo");
        buildScene(device);
        if (window && !GraphicsEnvironment.isHeadless()) {
            SwingUtilities.invokeLater(this::openWindow);
            return;
        }
        if (window) System.err.println("kelruk-demo-java: no display for a window; writing " + output + " instead");
        try (Surface surface = new Surface(width, height)) {
            long start = System.nanoTime();
            for (int frame = 0; frame < frames; ++frame) {
                renderFrame(frame);
                g.paint(surface, 0, 0);
            }
            double seconds = (System.nanoTime() - start) / 1e9;
            if (frames > 1) {
                System.out.printf("%d frames of %dx%d at %d bits in %.3f s: %.1f frames per second%n", frames, width, height,
                        depth, seconds, frames / seconds);
            }
            ImageIO.write(surface.toImage(), "png", new File(output));
        }
        System.out.println("wrote " + output);
        dispose();
    }

    private void buildScene(KELRend3DDevice device) {
        texture = new KELRendTexture(device, checkerboard());
        models = new KELRendModel[] {Meshes.floor(8, 8), Meshes.sphere(1.1f, 24, 32), Meshes.cube(0.8f), Meshes.torus(1.6f, 0.22f, 48, 12)};
        placement = new float[][] {
            {0, -1.3f, -7, 0, 1, 0, 0, 0.3f},
            {-1.2f, 0, -7, 0, 1, 0, 0.03f, 0.5f},
            {1.4f, -0.2f, -6.5f, 0.577f, 0.577f, 0.577f, 0.04f, 0.7f},
            {0, 0.1f, -7, 1, 0, 0, 0.02f, 1.2f},
        };
        g.pushLight(new DirectionalLight(0xFFF4E0, new Vector3(-0.4f, -1.0f, -0.5f)).ambient(0x303038));
        g.pushLight(new PointLight(0x6080FF, new Vector3(3, 2, -4)).attenuation(0, 0.15f, 1).range(30));
        g.setMaterial(new Material(0x000000, 0x505050, 0xFFFFFF, 0x707070, 12, 255));
        g.setFog(KELRendGraphics3D.FOG_LINEAR, 0x101828, 7, 22, 0);
        g.setClearColor(0x101828);
        if (depth == 8) g.enableFeature(KELRendGraphics3D.FEATURE_DITHERING);
    }

    /** A 64 × 64 checkerboard of two tiles with a grey border inside each. */
    private static BufferedImage checkerboard() {
        BufferedImage image = new BufferedImage(64, 64, BufferedImage.TYPE_INT_ARGB);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                boolean dark = ((x / 32) ^ (y / 32)) != 0, edge = x % 32 == 0 || y % 32 == 0;
                image.setRGB(x, y, 0xFF000000 | (edge ? 0x808080 : dark ? 0x585870 : 0xE8E0D0));
            }
        }
        return image;
    }

    private void renderFrame(int frame) {
        g.beginRendering();
        g.clear(KELRendGraphics3D.COLOR_BUFFER_BIT | KELRendGraphics3D.DEPTH_BUFFER_BIT);
        for (int i = 0; i < models.length; ++i) {
            float[] p = placement[i];
            g.useTexture(i == 0 ? texture : null);
            g.resetModelMatrix();
            g.translateModel(p[0], p[1], p[2]);
            g.rotateModel(p[3], p[4], p[5], p[7] + p[6] * frame);
            g.render(models[i]);
        }
        g.endRendering();
    }

    private void openWindow() {
        JFrame frame = new JFrame("kelruk");
        JLabel picture = new JLabel();
        JLabel fps = new JLabel(" ");
        frame.getContentPane().add(picture, BorderLayout.CENTER);
        frame.getContentPane().add(fps, BorderLayout.SOUTH);
        frame.setDefaultCloseOperation(JFrame.DISPOSE_ON_CLOSE);
        Surface surface = new Surface(width, height);
        int[] pixels = new int[width * height];
        BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        picture.setIcon(new ImageIcon(image));
        frame.pack();
        frame.setVisible(true);
        long[] count = {0, 0, System.nanoTime()};  // frame number, frames since the readout, its time
        Timer timer = new Timer(1, e -> {
            renderFrame((int) count[0]++);
            ++count[1];
            g.paint(surface, 0, 0);
            image.setRGB(0, 0, width, height, surface.getPixels(pixels), 0, width);
            picture.repaint();
            long now = System.nanoTime();
            if (now - count[2] > 500_000_000L) {
                fps.setText(String.format(" %.1f frames per second", count[1] * 1e9 / (now - count[2])));
                count[1] = 0;
                count[2] = now;
            }
        });
        frame.addWindowListener(new java.awt.event.WindowAdapter() {
            @Override
            public void windowClosed(java.awt.event.WindowEvent e) {
                timer.stop();
                surface.close();
                dispose();
            }
        });
        timer.start();
    }

    private void dispose() {
        g.useTexture(null);
        for (KELRendModel m : models) m.dispose();
        texture.dispose();
        g.dispose();
    }
}
