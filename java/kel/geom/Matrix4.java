package kel.geom;

/**
 * A 4×4 single-precision matrix for row vectors (p' = p · M): element (row r,
 * column c) is field {@code m<r><c>}, the translation is in m30, m31, m32.
 * {@link #hints} records what the matrix is known to be (the constants below);
 * the renderer takes shortcuts from them, so a matrix whose elements are set by
 * hand must claim only what is true. Building calls ({@link #translate},
 * {@link #scale}, {@link #rotate}) put their transform before the matrix's
 * own, so it applies to points first. {@link #set(int, int, float)} and
 * {@link #set(float[])} clear every claim.
 */
public class Matrix4 {
    /** The elements, row by row; the natives read and write them and {@link #hints} in this order. */
    public float m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23, m30, m31, m32, m33;
    /** The claims about this matrix, a combination of the constants below. */
    public int hints;

    /** The identity. */
    public static final int IDENTITY = 0x001;
    /** No translation part. */
    public static final int NO_TRANSLATION = 0x002;
    /** The last column is (0, 0, 0, 1). */
    public static final int AFFINE = 0x004;
    /** A scale only. */
    public static final int PURE_SCALE = 0x040;
    /** Scales every axis alike. */
    public static final int UNIFORM_SCALE = 0x080;
    /** A rotation only. */
    public static final int PURE_ROTATION = 0x100;
    /** Keeps angles: rotation, uniform scale and translation. */
    public static final int CONFORMAL = 0x200;
    /** Keeps lengths: rotation and translation. */
    public static final int RIGID = 0x400;
    /** A translation only. */
    public static final int PURE_TRANSLATION = 0x800;

    static {
        NativeLibrary.load();
    }

    /** The identity matrix. */
    public Matrix4() {
        identity();
    }

    /** A copy of m, hints included. */
    public Matrix4(Matrix4 m) {
        set(m);
    }

    /** Sets this matrix to the identity (claiming everything the identity is). */
    public native void identity();

    /** this := T(x, y, z) · this: points are translated before the old transform applies. */
    protected native void doTranslate(float x, float y, float z);

    /** this := T(x, y, z) · src. */
    protected native void doTranslate2(Matrix4 src, float x, float y, float z);

    /** this := S(s, s, s) · this. */
    protected native void doIsoscale(float s);

    /** this := S(s, s, s) · src. */
    protected native void doIsoscale2(Matrix4 src, float s);

    /** this := S(x, y, z) · this; equal factors keep {@link #CONFORMAL}. */
    protected native void doScale(float x, float y, float z);

    /** this := S(x, y, z) · src. */
    protected native void doScale2(Matrix4 src, float x, float y, float z);

    /** this := R(axis (x, y, z), angle radians) · this. */
    protected native void doRotate(float x, float y, float z, float angle);

    /** this := R(axis, angle) · src. */
    protected native void doRotate2(Matrix4 src, float x, float y, float z, float angle);

    /** this := R(q) · this. */
    protected native void doQuatRotate(Quaternion q);

    /** this := R(q) · src. */
    protected native void doQuatRotate2(Matrix4 src, Quaternion q);

    /** this := m · this. */
    public native void preMultiply(Matrix4 m);

    /** this := this · m. */
    public native void postMultiply(Matrix4 m);

    /** this := a · b (a applies first, then b); either may be this. */
    public native void multiply(Matrix4 a, Matrix4 b);

    /** Transposes this matrix. */
    protected native void doTranspose();

    /** this := the transpose of src. */
    protected native void doTranspose2(Matrix4 src);

    /** Inverts this matrix; false (this unchanged) when it is singular. */
    protected native boolean doInvert();

    /** this := the inverse of src; false when src is singular. */
    protected native boolean doInvert2(Matrix4 src);

    /** The determinant. */
    public native float determinant();

    /** Puts a translation before this transform (this := T · this) and returns this. */
    public Matrix4 translate(float x, float y, float z) {
        doTranslate(x, y, z);
        return this;
    }

    /** Sets this to a translation followed by src (T · src) and returns this. */
    public Matrix4 translate(Matrix4 src, float x, float y, float z) {
        doTranslate2(src, x, y, z);
        return this;
    }

    /** Puts a uniform scale before this transform and returns this. */
    public Matrix4 scale(float s) {
        doIsoscale(s);
        return this;
    }

    /** Sets this to a uniform scale followed by src and returns this. */
    public Matrix4 scale(Matrix4 src, float s) {
        doIsoscale2(src, s);
        return this;
    }

    /** Puts a scale by x, y, z before this transform and returns this. */
    public Matrix4 scale(float x, float y, float z) {
        doScale(x, y, z);
        return this;
    }

    /** Sets this to a scale followed by src and returns this. */
    public Matrix4 scale(Matrix4 src, float x, float y, float z) {
        doScale2(src, x, y, z);
        return this;
    }

    /** Puts a rotation by angle radians about the unit axis (x, y, z) before this transform and returns this. */
    public Matrix4 rotate(float x, float y, float z, float angle) {
        doRotate(x, y, z, angle);
        return this;
    }

    /** Sets this to a rotation followed by src and returns this. */
    public Matrix4 rotate(Matrix4 src, float x, float y, float z, float angle) {
        doRotate2(src, x, y, z, angle);
        return this;
    }

    /** Puts the rotation of q before this transform and returns this. */
    public Matrix4 rotate(Quaternion q) {
        doQuatRotate(q);
        return this;
    }

    /** Sets this to the rotation of q followed by src and returns this. */
    public Matrix4 rotate(Matrix4 src, Quaternion q) {
        doQuatRotate2(src, q);
        return this;
    }

    /** Transposes this matrix and returns it. */
    public Matrix4 transpose() {
        doTranspose();
        return this;
    }

    /** Sets this to the transpose of src and returns this. */
    public Matrix4 transpose(Matrix4 src) {
        doTranspose2(src);
        return this;
    }

    /** Inverts this matrix; false (unchanged) when it is singular. */
    public boolean invert() {
        return doInvert();
    }

    /** Sets this to the inverse of src; false when src is singular. */
    public boolean invert(Matrix4 src) {
        return doInvert2(src);
    }

    /** Copies m's elements and hints into this matrix and returns it. */
    public Matrix4 set(Matrix4 m) {
        float[] e = m.toArray();
        set(e);
        hints = m.hints;
        return this;
    }

    /** Sets the 16 elements, row by row, claiming nothing about them; returns this. */
    public Matrix4 set(float[] e) {
        if (e.length < 16) throw new IllegalArgumentException("a Matrix4 has 16 elements, not " + e.length);
        m00 = e[0]; m01 = e[1]; m02 = e[2]; m03 = e[3];
        m10 = e[4]; m11 = e[5]; m12 = e[6]; m13 = e[7];
        m20 = e[8]; m21 = e[9]; m22 = e[10]; m23 = e[11];
        m30 = e[12]; m31 = e[13]; m32 = e[14]; m33 = e[15];
        hints = 0;
        return this;
    }

    /** The 16 elements, row by row. */
    public float[] toArray() {
        return new float[] {m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23, m30, m31, m32, m33};
    }

    /** Element (row, column), both 0..3. */
    public float get(int row, int column) {
        return toArray()[index(row, column)];
    }

    /** Sets element (row, column), clearing every claim; returns this. */
    public Matrix4 set(int row, int column, float value) {
        float[] e = toArray();
        e[index(row, column)] = value;
        return set(e);
    }

    private static int index(int row, int column) {
        if (row < 0 || row > 3 || column < 0 || column > 3) {
            throw new IndexOutOfBoundsException("element (" + row + ", " + column + ") of a 4x4 matrix");
        }
        return 4 * row + column;
    }

    /** Four rows of four elements and the hints in hexadecimal. */
    @Override
    public String toString() {
        float[] e = toArray();
        StringBuilder s = new StringBuilder();
        for (int r = 0; r < 4; ++r) {
            s.append(r == 0 ? "[" : " ");
            for (int c = 0; c < 4; ++c) s.append(c == 0 ? "" : ", ").append(e[4 * r + c]);
            s.append(r == 3 ? "]" : ";\n");
        }
        return s.append(" hints 0x").append(Integer.toHexString(hints)).toString();
    }

    /** True for a Matrix4 with the same elements and hints. */
    @Override
    public boolean equals(Object o) {
        if (this == o) return true;
        if (!(o instanceof Matrix4)) return false;
        Matrix4 m = (Matrix4) o;
        return hints == m.hints && java.util.Arrays.equals(toArray(), m.toArray());
    }

    /** A hash of the elements and hints, consistent with {@link #equals}. */
    @Override
    public int hashCode() {
        return java.util.Arrays.hashCode(toArray()) * 31 + hints;
    }
}
