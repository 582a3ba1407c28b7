package kel.geom;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import org.junit.jupiter.api.Test;

/** Every geometry native through the bridge, with the fields it writes back. */
class GeomNativesTest {
    private static final float HALF_PI = (float) (Math.PI / 2);
    private static final float S45 = (float) Math.sin(Math.PI / 4);

    private static void assertVector(float x, float y, float z, Vector3 v) {
        assertArrayEquals(new float[] {x, y, z}, new float[] {v.x, v.y, v.z}, 1e-6f, v.toString());
    }

    @Test
    void vectors() {
        Vector3 v = new Vector3(3, 4, 0);
        assertEquals(5f, v.magnitude());
        assertEquals(11f, v.dot(new Vector3(1, 2, 3)));
        assertEquals(0.2f, v.normalize());
        assertEquals(new Vector3(0.6f, 0.8f, 0), v);
        Vector3 zero = new Vector3();
        assertEquals(0f, zero.normalize());
        assertEquals(new Vector3(), zero);
        Vector3 w = new Vector3(9, 9, 9);
        assertEquals(0.5f, w.normalize(new Vector3(0, 2, 0)));
        assertEquals(new Vector3(0, 1, 0), w);

        Vector3 x = new Vector3(1, 0, 0), y = new Vector3(0, 1, 0);
        Vector3 c = new Vector3();
        c.cross(x, y);
        assertEquals(new Vector3(0, 0, 1), c);
        x.cross(x, y);  // this is a source: read before written
        assertEquals(new Vector3(0, 0, 1), x);
        assertEquals(6f, new Vector3(2, 0, 0).crossmag(new Vector3(0, 3, 0)));
    }

    @Test
    void quaternions() {
        Quaternion q = new Quaternion(5, 6, 7, 8);
        q.setRotation(1, 0, 0, 0);
        assertEquals(new Quaternion(0, 0, 0, 1), q, "angle 0 gives the identity whatever the axis");
        Quaternion z90 = Quaternion.rotation(0, 0, 1, HALF_PI);
        assertArrayEquals(new float[] {0, 0, S45, S45}, new float[] {z90.x, z90.y, z90.z, z90.w}, 1e-6f);
        Quaternion twice = new Quaternion(z90);
        twice.preMultiply(z90);
        assertArrayEquals(new float[] {0, 0, 1, 0}, new float[] {twice.x, twice.y, twice.z, twice.w}, 1e-6f);
        Quaternion post = new Quaternion(z90);
        post.postMultiply(z90);
        assertEquals(twice.z, post.z, 1e-6f);
        Quaternion product = new Quaternion();
        product.multiply(new Quaternion(1, 0, 0, 0), new Quaternion(0, 1, 0, 0));  // i * j = k
        assertEquals(new Quaternion(0, 0, 1, 0), product);
        assertEquals(70f, new Quaternion(1, 2, 3, 4).dot(new Quaternion(5, 6, 7, 8)));
        assertEquals(5f, new Quaternion(0, 0, 3, 4).magnitude());
        Quaternion n = new Quaternion(0, 0, 3, 4);
        assertEquals(0.2f, n.normalize());
        assertEquals(new Quaternion(0, 0, 0.6f, 0.8f), n);
        Quaternion into = new Quaternion();
        assertEquals(0.5f, into.normalize(new Quaternion(2, 0, 0, 0)));
        assertEquals(new Quaternion(1, 0, 0, 0), into);
    }

    @Test
    void matrixBuilding() {
        Matrix4 m = new Matrix4();
        assertEquals(0xFC7, m.hints, "the identity claims everything");
        m.translate(1, 2, 3);
        assertArrayEquals(new float[] {1, 2, 3}, new float[] {m.m30, m.m31, m.m32});
        Matrix4 t = new Matrix4().translate(new Matrix4(), 4, 5, 6);
        assertEquals(4f, t.m30);
        assertEquals(new Matrix4().translate(4, 5, 6), t);

        Matrix4 s = new Matrix4().scale(2, 2, 2);
        assertEquals(Matrix4.CONFORMAL, s.hints & Matrix4.CONFORMAL, "equal factors keep the conformal claim");
        assertEquals(0, new Matrix4().scale(2, 2, 3).hints & Matrix4.CONFORMAL);
        assertEquals(new Matrix4().scale(2), new Matrix4().scale(new Matrix4(), 2));
        assertEquals(new Matrix4().scale(2, 3, 4), new Matrix4().scale(new Matrix4(), 2, 3, 4));
        assertEquals(24f, new Matrix4().scale(2, 3, 4).determinant());

        Matrix4 r = new Matrix4().rotate(0, 0, 1, HALF_PI);  // x goes to y
        Vector3 p = Geom.transformVector(r, new Vector3(1, 0, 0), new Vector3());
        assertVector(0, 1, 0, p);
        Matrix4 rq = new Matrix4().rotate(Quaternion.rotation(0, 0, 1, HALF_PI));
        assertArrayEquals(r.toArray(), rq.toArray(), 1e-6f);
        assertArrayEquals(r.toArray(), new Matrix4().rotate(new Matrix4(), 0, 0, 1, HALF_PI).toArray(), 1e-6f);
        assertArrayEquals(r.toArray(), new Matrix4().rotate(new Matrix4(), Quaternion.rotation(0, 0, 1, HALF_PI)).toArray(), 1e-6f);
        m.identity();
        assertEquals(new Matrix4(), m);
    }

    @Test
    void matrixProducts() {
        Matrix4 a = new Matrix4().translate(1, 0, 0), b = new Matrix4().scale(2, 3, 4);
        Matrix4 ab = new Matrix4();
        ab.multiply(a, b);  // a first, then b: the translation is scaled
        assertEquals(2f, ab.m30);
        assertEquals(new Matrix4().scale(2, 3, 4).translate(1, 0, 0), ab, "a transform added later applies first");
        Matrix4 self = new Matrix4(b);
        self.multiply(a, self);  // (a, this) gives a · this
        assertEquals(ab, self);
        Matrix4 pre = new Matrix4(b);
        pre.preMultiply(a);
        assertEquals(ab, pre);
        Matrix4 post = new Matrix4(a);
        post.postMultiply(b);
        assertEquals(ab, post);

        Matrix4 tr = new Matrix4().translate(1, 2, 3);
        tr.transpose();
        assertArrayEquals(new float[] {1, 2, 3}, new float[] {tr.m03, tr.m13, tr.m23});
        assertEquals(tr, new Matrix4().transpose(new Matrix4().translate(1, 2, 3)));

        Matrix4 inv = new Matrix4().translate(1, 2, 3);
        assertTrue(inv.invert());
        assertArrayEquals(new float[] {-1, -2, -3}, new float[] {inv.m30, inv.m31, inv.m32});
        Matrix4 into = new Matrix4();
        assertTrue(into.invert(new Matrix4().scale(2)));
        assertEquals(0.5f, into.m00);
        Matrix4 singular = new Matrix4().scale(0, 1, 1);
        float[] before = singular.toArray();
        assertFalse(singular.invert());
        assertArrayEquals(before, singular.toArray(), "a singular matrix is left as it was");
    }

    @Test
    void transformsAndBoxes() {
        Matrix4 t = new Matrix4().translate(1, 2, 3);
        assertVector(1, 0, 0, Geom.transformVector(t, new Vector3(1, 0, 0), new Vector3()));
        Vector3 point = new Vector3(1, 1, 1);
        Geom.transformPoint(t, point, point);  // in place
        assertVector(2, 3, 4, point);
        Vector3 normal = new Vector3(0, 1, 0);
        Geom.transformNormal(normal, new Matrix4().scale(1, 2, 1), normal);
        assertVector(0, 2, 0, normal);

        BoundingBox3 box = new BoundingBox3(new Vector3(0, 0, -5), new Vector3(1, 1, 1));
        assertEquals(4f, box.rayIntersection(new Ray(new Vector3(), new Vector3(0, 0, -1))));
        assertEquals(0f, box.rayIntersection(new Ray(new Vector3(0, 0, -5), new Vector3(0, 0, -1))), "origin inside");
        assertEquals(-1f, box.rayIntersection(new Ray(new Vector3(), new Vector3(0, 0, 1))));
        box.transform(new Matrix4().translate(0, 0, 2).scale(2));  // scaled first, then moved
        assertVector(0, 0, -8, box.center);
        assertVector(2, 2, 2, box.halfExtents);
        BoundingBox3 empty = new BoundingBox3();
        empty.transform(t);
        assertTrue(empty.isEmpty());
        assertEquals(-1f, empty.rayIntersection(new Ray()));
        BoundingBox3 moved = Geom.transformBoundingBox(t, new BoundingBox3(new Vector3(), new Vector3(1, 1, 1)), new BoundingBox3());
        assertVector(1, 2, 3, moved.center);
        assertVector(1, 1, 1, moved.halfExtents);
    }
}
