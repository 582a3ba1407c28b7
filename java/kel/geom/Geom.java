package kel.geom;

/** Carrying vectors, normals, points and boxes through matrices. Nothing here ends the process. */
public final class Geom {
    static {
        NativeLibrary.load();
    }

    private Geom() {}

    /** dst := src as a direction through m (no translation); dst may be src. */
    protected static native void doTransformVector(Matrix4 m, Vector3 src, Vector3 dst);

    /** dst := src times the transpose of m's 3×3 block (pass the inverse of a transform to carry a normal). */
    protected static native void doTransformNormal(Vector3 src, Matrix4 m, Vector3 dst);

    /** dst := src as a point through m, divided by w; dst may be src. */
    protected static native void doTransformPoint(Matrix4 m, Vector3 src, Vector3 dst);

    /** dst := the box around src carried through m; dst may be src. */
    protected static native void doTransformBoundingBox(Matrix4 m, BoundingBox3 src, BoundingBox3 dst);

    /** Carries src as a direction through m into dst (may be src); returns dst. */
    public static Vector3 transformVector(Matrix4 m, Vector3 src, Vector3 dst) {
        doTransformVector(m, src, dst);
        return dst;
    }

    /**
     * Multiplies src by the transpose of m's 3×3 block into dst (may be src) and returns dst; to
     * carry a normal through a transform, pass the transform's inverse.
     */
    public static Vector3 transformNormal(Vector3 src, Matrix4 m, Vector3 dst) {
        doTransformNormal(src, m, dst);
        return dst;
    }

    /** Carries src as a point through m (dividing by w) into dst (may be src); returns dst. */
    public static Vector3 transformPoint(Matrix4 m, Vector3 src, Vector3 dst) {
        doTransformPoint(m, src, dst);
        return dst;
    }

    /** Sets dst (may be src) to the box around src carried through m; returns dst. */
    public static BoundingBox3 transformBoundingBox(Matrix4 m, BoundingBox3 src, BoundingBox3 dst) {
        doTransformBoundingBox(m, src, dst);
        return dst;
    }
}
