package kel.demo;

import java.util.ArrayList;
import java.util.List;
import kel.ruk.KELRendModel;

/** The demo's procedural meshes, built as flat arrays and handed to KELRendModel. */
final class Meshes {
    private final List<Float> vertices = new ArrayList<>();
    private final List<Integer> indices = new ArrayList<>();
    private final List<Integer> colors = new ArrayList<>();

    private int addVertex(float x, float y, float z) {
        vertices.add(x);
        vertices.add(y);
        vertices.add(z);
        return vertices.size() / 3 - 1;
    }

    private float v(int index, int axis) {
        return vertices.get(3 * index + axis);
    }

    /** Adds a triangle whose corners run counter-clockwise seen from the side outward points to (the front). */
    private void addTriangle(int a, int b, int c, float[] outward, int colorA, int colorB, int colorC) {
        float[] ab = {v(a, 0) - v(b, 0), v(a, 1) - v(b, 1), v(a, 2) - v(b, 2)};
        float[] bc = {v(b, 0) - v(c, 0), v(b, 1) - v(c, 1), v(b, 2) - v(c, 2)};
        float[] n = {ab[1] * bc[2] - ab[2] * bc[1], ab[2] * bc[0] - ab[0] * bc[2], ab[0] * bc[1] - ab[1] * bc[0]};
        if (n[0] * outward[0] + n[1] * outward[1] + n[2] * outward[2] < 0) {
            int t = b; b = c; c = t;
            t = colorB; colorB = colorC; colorC = t;
        }
        indices.add(a);
        indices.add(b);
        indices.add(c);
        colors.add(colorA | 0xFF000000);
        colors.add(colorB | 0xFF000000);
        colors.add(colorC | 0xFF000000);
    }

    private KELRendModel model(String name, float creaseAngle, float[] texCoords) {
        float[] xyz = new float[vertices.size()];
        for (int i = 0; i < xyz.length; ++i) xyz[i] = vertices.get(i);
        int[] corners = indices.stream().mapToInt(Integer::intValue).toArray();
        KELRendModel m = new KELRendModel(KELRendModel.TRIANGLES, xyz, corners)
                .setColors(KELRendModel.PER_CORNER, colors.stream().mapToInt(Integer::intValue).toArray())
                .setName(name);
        if (texCoords != null) m.setTexCoords(texCoords, corners.clone());
        if (!m.prepare(creaseAngle)) throw new IllegalStateException("the " + name + " model could not be prepared");
        return m;
    }

    private static int rgb(float r, float g, float b) {
        return channel(r) << 16 | channel(g) << 8 | channel(b);
    }

    private static int channel(float v) {
        return (int) (Math.max(0, Math.min(1, v)) * 255 + 0.5f);
    }

    /** A colour wheel: hue in turns. */
    private static int hue(float hue, float brightness) {
        double t = 2 * Math.PI * hue;
        return rgb((float) (0.5 + 0.5 * Math.cos(t)) * brightness, (float) (0.5 + 0.5 * Math.cos(t - 2 * Math.PI / 3)) * brightness,
                (float) (0.5 + 0.5 * Math.cos(t - 4 * Math.PI / 3)) * brightness);
    }

    /** A sphere of rings × segments quads, coloured by longitude and latitude. */
    static KELRendModel sphere(float radius, int rings, int segments) {
        Meshes m = new Meshes();
        List<Integer> colorOf = new ArrayList<>();
        for (int i = 0; i <= rings; ++i) {
            double theta = Math.PI * i / rings;
            for (int j = 0; j <= segments; ++j) {
                double phi = 2 * Math.PI * j / segments;
                m.addVertex((float) (radius * Math.sin(theta) * Math.cos(phi)), (float) (radius * Math.cos(theta)),
                        (float) (radius * Math.sin(theta) * Math.sin(phi)));
                colorOf.add(hue((float) j / segments, 0.55f + 0.45f * (float) Math.sin(theta)));
            }
        }
        int stride = segments + 1;
        for (int i = 0; i < rings; ++i) {
            for (int j = 0; j < segments; ++j) {
                int a = i * stride + j, b = a + 1, c = a + stride, d = c + 1;
                if (i != 0) m.addTriangle(a, c, b, m.position(a), colorOf.get(a), colorOf.get(c), colorOf.get(b));
                if (i != rings - 1) m.addTriangle(b, c, d, m.position(d), colorOf.get(b), colorOf.get(c), colorOf.get(d));
            }
        }
        return m.model("sphere", 1.0f, null);
    }

    private float[] position(int index) {
        return new float[] {v(index, 0), v(index, 1), v(index, 2)};
    }

    /** A cube centred on the origin, one colour per face. */
    static KELRendModel cube(float half) {
        Meshes m = new Meshes();
        for (int i = 0; i < 8; ++i) m.addVertex((i & 1) != 0 ? half : -half, (i & 2) != 0 ? half : -half, (i & 4) != 0 ? half : -half);
        int[][] faces = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3}, {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}};
        float[][] outward = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
        int[] color = {0xE04040, 0x40E040, 0x4060F0, 0xF0E040, 0xE040E0, 0x40E0E0};
        for (int f = 0; f < 6; ++f) {
            int[] c = faces[f];
            m.addTriangle(c[0], c[1], c[2], outward[f], color[f], color[f], color[f]);
            m.addTriangle(c[0], c[2], c[3], outward[f], color[f], color[f], color[f]);
        }
        return m.model("cube", 0.5f, null);
    }

    /** A square floor in the y = 0 plane facing up, the texture repeated tiles times across. */
    static KELRendModel floor(float half, float tiles) {
        Meshes m = new Meshes();
        int a = m.addVertex(-half, 0, -half), b = m.addVertex(half, 0, -half);
        int c = m.addVertex(half, 0, half), d = m.addVertex(-half, 0, half);
        float[] up = {0, 1, 0};
        m.addTriangle(a, c, b, up, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF);
        m.addTriangle(a, d, c, up, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF);
        return m.model("floor", 0.5f, new float[] {0, 0, tiles, 0, tiles, tiles, 0, tiles});
    }

    /** A torus around the y axis. */
    static KELRendModel torus(float major, float minor, int rings, int segments) {
        Meshes m = new Meshes();
        List<float[]> centreOf = new ArrayList<>();
        List<Integer> colorOf = new ArrayList<>();
        for (int i = 0; i < rings; ++i) {
            double u = 2 * Math.PI * i / rings;
            for (int j = 0; j < segments; ++j) {
                double w = 2 * Math.PI * j / segments;
                double r = major + minor * Math.cos(w);
                m.addVertex((float) (r * Math.cos(u)), (float) (minor * Math.sin(w)), (float) (r * Math.sin(u)));
                centreOf.add(new float[] {(float) (major * Math.cos(u)), 0, (float) (major * Math.sin(u))});
                colorOf.add(hue(0.6f + 0.4f * i / rings, 1.0f));
            }
        }
        for (int i = 0; i < rings; ++i) {
            for (int j = 0; j < segments; ++j) {
                int a = i * segments + j, b = i * segments + (j + 1) % segments;
                int c = (i + 1) % rings * segments + j, d = (i + 1) % rings * segments + (j + 1) % segments;
                m.addTriangle(a, c, b, m.outward(a, centreOf), colorOf.get(a), colorOf.get(c), colorOf.get(b));
                m.addTriangle(b, c, d, m.outward(d, centreOf), colorOf.get(b), colorOf.get(c), colorOf.get(d));
            }
        }
        return m.model("torus", 1.0f, null);
    }

    private float[] outward(int index, List<float[]> centreOf) {
        float[] c = centreOf.get(index);
        return new float[] {v(index, 0) - c[0], v(index, 1) - c[1], v(index, 2) - c[2]};
    }
}
