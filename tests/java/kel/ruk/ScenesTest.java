package kel.ruk;

import static kel.ruk.Screens.OPAQUE;
import static kel.ruk.Screens.at;
import static kel.ruk.Screens.frame;
import static kel.ruk.Screens.quad;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import kel.geom.Matrix4;
import kel.geom.Quaternion;
import kel.geom.Ray;
import kel.geom.Vector3;
import kel.ruk.Screens.Format;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** Scenes through the public API on a 32-bit screen: models, textures, lights, fog, matrices, picking. */
class ScenesTest {
    private KELRendGraphics3D g;

    @BeforeEach
    void open() {
        g = Screens.open(Format.RGB32, 64, 48, KELRendGraphics3D.DEPTH_BUFFER);
    }

    @AfterEach
    void close() {
        g.dispose();
    }

    @Test
    void modelLargerThanOneBatchDrawsEveryPiece() {
        // 100 vertical strips of 2.56 pixels, two triangles each: 200 triangles,
        // beyond the 128 of a batch and of the primitive queue.
        KELRendGraphics3D wide = Screens.open(Format.RGB32, 256, 32, KELRendGraphics3D.DEPTH_BUFFER);
        int strips = 100;
        float[] xyz = new float[strips * 4 * 3];
        int[] corners = new int[strips * 6], colors = new int[strips * 6];
        for (int k = 0; k < strips; ++k) {
            float x0 = -128 + 2.56f * k, x1 = x0 + 2.56f;
            float[] v = {x0, -10, -5, x1, -10, -5, x1, 10, -5, x0, 10, -5};
            System.arraycopy(v, 0, xyz, 12 * k, 12);
            int[] c = {0, 1, 2, 0, 2, 3};
            for (int i = 0; i < 6; ++i) {
                corners[6 * k + i] = 4 * k + c[i];
                colors[6 * k + i] = OPAQUE | k << 16 | (255 - k) << 8 | 0x40;
            }
        }
        KELRendModel m = new KELRendModel(KELRendModel.TRIANGLES, xyz, corners).setColors(KELRendModel.PER_CORNER, colors);
        assertTrue(m.prepare(0.5f));
        int[] pixels = frame(wide, 0, m);
        for (int k : new int[] {0, 63, 64, 99}) {
            int column = (int) (2.56 * k + 1.28);
            assertEquals(k << 16 | (255 - k) << 8 | 0x40, at(wide, pixels, column, 16), "strip " + k);
        }
        m.dispose();
        wide.dispose();
    }

    @Test
    void textureStandsUpright() {
        KELRendTexture t = new KELRendTexture(g.getDevice(), 2, 2);
        int[] image = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
        t.convertRect32(0, 0, 2, 2, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, image, 0, 2);
        t.complete();
        g.useTexture(t);
        int[] pixels = frame(g, 0, quad(-16, -16, 16, 16, -5, OPAQUE | 0xFFFFFF, true));
        // Source row 0 is the top of the picture.
        assertEquals(0xFF0000, at(g, pixels, 20, 12));
        assertEquals(0x00FF00, at(g, pixels, 44, 12));
        assertEquals(0x0000FF, at(g, pixels, 20, 36));
        assertEquals(0xFFFFFF, at(g, pixels, 44, 36));

        // 8-bit pixels through a palette; index 3 is beyond the 3 entries and leaves its texel.
        t.convertRect8(0, 0, 2, 2, new int[] {0xFF102030, 0xFF405060, 0xFF708090}, 3, new byte[] {2, 1, 0, 3}, 0, 2);
        pixels = frame(g, 0, quad(-16, -16, 16, 16, -5, OPAQUE | 0xFFFFFF, true));
        assertArrayEquals(new int[] {0x708090, 0x405060, 0x102030, 0xFFFFFF},
                new int[] {at(g, pixels, 20, 12), at(g, pixels, 44, 12), at(g, pixels, 20, 36), at(g, pixels, 44, 36)});
        // A negative palette size names no entry: an empty palette is enough and no texel changes.
        t.convertRect8(0, 0, 2, 2, new int[0], -1, new byte[] {0, 0, 0, 0}, 0, 2);
        assertEquals(0x708090, at(g, frame(g, 0, quad(-16, -16, 16, 16, -5, OPAQUE | 0xFFFFFF, true)), 20, 12));
        g.useTexture(null);
        t.dispose();
    }

    @Test
    void directionalLightAndFog() {
        KELRendModel m = quad(-10, -8, 10, 8, -5, OPAQUE | 0xFFFFFF, false);
        g.setMaterial(new Material(0, 0, 0xFFFFFF, 0, 0, 255));
        g.setModifiedMaterialColor(KELRendGraphics3D.MATERIAL_AMBIENT);
        g.pushLight(new DirectionalLight(0x808040, new Vector3(0, 0, -1)));
        // Facing the light: diffuse white times the light's colour, rounded products.
        assertEquals(0x808040, at(g, frame(g, 0, m), 32, 24));
        // Linear fog ending before the rectangle covers it completely.
        g.setFog(KELRendGraphics3D.FOG_LINEAR, 0x00FF00, 0, 1, 0);
        assertEquals(0x00FF00, at(g, frame(g, 0, m), 32, 24));
        g.setFog(KELRendGraphics3D.FOG_OFF, 0, 0, 0, 0);
        g.popLight();
        assertEquals(0x000000, at(g, frame(g, 0, m), 32, 24), "no light: nothing lit, no emission");
    }

    @Test
    void modelMatrixStackFromMatrix4Objects() {
        KELRendModel m = quad(-4, -4, 4, 4, -5, OPAQUE | 0xFF0000, false);
        g.loadModelMatrix(new Matrix4().translate(20, 0, 0));
        int[] pixels = frame(g, 0, m);
        assertEquals(0xFF0000, at(g, pixels, 52, 24));
        assertEquals(0x000000, at(g, pixels, 32, 24));
        Matrix4 read = g.getModelMatrix();
        assertEquals(20f, read.m30);
        assertEquals(Matrix4.RIGID, read.hints & Matrix4.RIGID);

        g.concatModelMatrix(new Matrix4().translate(0, 10, 0));
        assertEquals(0xFF0000, at(g, frame(g, 0, m), 52, 14));
        g.popModelMatrix();
        g.popModelMatrix();
        assertEquals(0xFF0000, at(g, frame(g, 0, m), 32, 24), "popped back to the identity");

        g.scaleModel(2);
        g.rotateModel(Quaternion.rotation(0, 0, 1, (float) Math.PI / 4));
        pixels = frame(g, 0, m);
        assertEquals(0xFF0000, at(g, pixels, 32, 14), "a diamond reaching 11 pixels up");
        assertEquals(0x000000, at(g, pixels, 38, 18), "and not into the corner of the square it was");
        g.resetModelMatrix();
        assertEquals(new Matrix4(), g.getModelMatrix());
    }

    @Test
    void pickingWritesTheRequestedOutputs() {
        KELRendModel m = quad(-10, -10, 10, 10, -5, OPAQUE | 0xFF0000, true);
        PickResult hit = new PickResult();
        assertTrue(g.rayPick(m, new Ray(new Vector3(5, 5, 0), new Vector3(0, 0, -1)), hit));
        assertEquals(5f, hit.distance);
        assertEquals(new Vector3(5, 5, -5), hit.point);
        assertEquals(new Vector3(0, 0, 1), hit.normal);
        assertEquals(0.75f, hit.texCoord.u, 1e-6f);
        assertEquals(0.75f, hit.texCoord.v, 1e-6f);

        PickResult near = new PickResult(PickResult.POINT, 4);
        assertFalse(g.rayPick(m, new Ray(new Vector3(), new Vector3(0, 0, -1)), near), "beyond the search distance");
        assertEquals(4f, near.distance);
        assertEquals(new Vector3(), near.point, "a miss leaves the result alone");
    }

    /** A material of another class with the same layout. */
    static class OtherMaterial {
        int e, a, d, s;
        float shine;
        int opacity = 255;
    }

    /** A light-like class whose field 3 is no reference. */
    static class BadLight {
        int color, kind, ambient;
        float position;
    }

    @Test
    void anyClassOfTheLayoutServesAndOthersAreRefused() {
        OtherMaterial other = new OtherMaterial();
        other.e = 0x123456;
        g.setMaterial(other);
        g.setModifiedMaterialColor(KELRendGraphics3D.MATERIAL_DIFFUSE);
        assertEquals(0x123456, at(g, frame(g, 0, quad(-10, -8, 10, 8, -5, OPAQUE | 0xFF00FF, false)), 32, 24));
        IncompatibleClassChangeError e = assertThrows(IncompatibleClassChangeError.class, () -> g.pushPointLight(new BadLight()));
        assertTrue(e.getMessage().contains("field 3 must be an object reference"), e.getMessage());
    }

    @Test
    void shortArraysAreRefusedBeforeTheLibraryReadsThem() {
        KELRendModel m = quad(-10, -8, 10, 8, -5, OPAQUE | 0xFF0000, false);
        m.vertexCount = 5;  // more than the 4 vertices there are
        g.beginRendering();
        assertThrows(ArrayIndexOutOfBoundsException.class, () -> g.render(m));
        m.vertexCount = 4;
        m.colors = new int[5];
        assertThrows(ArrayIndexOutOfBoundsException.class, () -> g.render(m));
        g.endRendering();

        KELRendTexture t = new KELRendTexture(g.getDevice(), 4, 4);
        assertThrows(ArrayIndexOutOfBoundsException.class,
                () -> t.convertRect32(0, 0, 4, 4, 0xFF0000, 0xFF00, 0xFF, 0, new int[15], 0, 4));
        // Only the part inside the texture is read: 2 x 2 of a rectangle reaching past it.
        t.convertRect32(2, 2, 8, 8, 0xFF0000, 0xFF00, 0xFF, 0, new int[8 + 2], 0, 8);
        t.dispose();

        byte[] name = new byte[23];
        assertThrows(ArrayIndexOutOfBoundsException.class, () -> Graphics3DDevice.getDeviceClass(name));
    }

    @Test
    void vertexNormalsAreWrittenBack() {
        float[] corners = new float[24];
        for (int i = 0; i < 8; ++i) {
            corners[3 * i] = (i & 1) != 0 ? 1 : -1;
            corners[3 * i + 1] = (i & 2) != 0 ? 1 : -1;
            corners[3 * i + 2] = (i & 4) != 0 ? 1 : -1;
        }
        int[] faces = {1, 3, 7, 1, 7, 5, 0, 4, 6, 0, 6, 2, 2, 6, 7, 2, 7, 3, 0, 1, 5, 0, 5, 4, 4, 5, 7, 4, 7, 6, 0, 2, 3, 0, 3, 1};
        // Faces meeting at right angles: sharp below 90 degrees, smooth above.
        for (float crease : new float[] {0.5f, 2.0f}) {
            KELRendModel cube = new KELRendModel(KELRendModel.TRIANGLES, corners, faces);
            assertTrue(cube.prepare(crease));
            assertEquals(crease < 1 ? 24 : 8, cube.getNormalCount());
            float[] n = cube.getNormals();
            for (int k = 0; k < faces.length; ++k) {
                int v = faces[k], normal = cube.normalIndices[k];
                double length = 0;
                for (int axis = 0; axis < 3; ++axis) {
                    float c = n[3 * normal + axis];
                    length += c * c;
                    // Sharp: the normal of the corner's own face; smooth: pointing out of the corner.
                    if (crease > 1 || c != 0) assertEquals(Math.signum(corners[3 * v + axis]), Math.signum(c), "corner " + k);
                }
                assertEquals(1.0, length, 1e-6);
            }
            assertEquals(1f, cube.getFaceNormals()[0], "the +x face's normal");
            cube.dispose();
        }
        // A negative normal count declares arrays for no normals: nothing is copied and nothing thrown.
        KELRendModel cube = new KELRendModel(KELRendModel.TRIANGLES, corners, faces);
        assertTrue(cube.init());
        cube.faceNormals = new float[faces.length];
        assertTrue(cube.generateFaceNormals() && cube.generateVertexNormals(0.5f));
        cube.normalCount = -1;
        cube.normals = new float[0];
        cube.normalIndices = new int[0];
        cube.copyVertexNormals();
        cube.dispose();
    }

    @Test
    void deviceClassNameIsTwentyFourBytes() {
        byte[] name = new byte[30];
        java.util.Arrays.fill(name, (byte) 0x55);
        Graphics3DDevice.getDeviceClass(name);
        assertEquals("kel.ruk.KELRend3DDevice", new String(name, 0, 23, java.nio.charset.StandardCharsets.US_ASCII));
        assertEquals(0, name[23]);
        assertEquals(0x55, name[24], "nothing past the terminating zero");
        assertTrue(Graphics3DDevice.create() instanceof KELRend3DDevice);
    }
}
