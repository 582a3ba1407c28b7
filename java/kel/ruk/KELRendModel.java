package kel.ruk;

import kel.geom.NativeLibrary;

/**
 * A mesh of triangles, lines or points whose arrays stay in Java: vertex
 * positions, one vertex index per corner, and optional colours, normals and
 * texture coordinates with their own indices. The library keeps the kind,
 * bindings, counts and bounds ({@link #init}) and computes face and vertex
 * normals. Arrays may be changed between renders; the counts must then still
 * describe them.
 *
 * <p>The usual sequence is {@link #prepare(float)}: init, face normals and
 * vertex normals for triangles, then ready. The model natives report failure
 * by returning false; only a disposed or never-initialised model passed to a
 * context, or one whose arrays do not hold what its counts and bindings call
 * for, ends the process with the fatal report. Arrays shorter than their
 * counts throw {@link ArrayIndexOutOfBoundsException} instead of being read.
 */
public class KELRendModel {
    /** The library's reference to the native model; 0 until {@link #init}. */
    protected int nativeModel;
    /** {@link #TRIANGLES}, {@link #LINES} or {@link #POINTS}. */
    protected int primitiveKind;
    /** Number of primitives. */
    protected int primitiveCount;
    /** Number of vertices (three floats each in {@link #vertices}). */
    protected int vertexCount;
    /** Number of colours in {@link #colors}. */
    protected int colorCount;
    /** Number of vertex normals (three floats each in {@link #normals}); written by {@link #generateVertexNormals}. */
    protected int normalCount;
    /** Number of texture-coordinate pairs in {@link #texCoords}. */
    protected int texCoordCount;
    /** The crease angle the vertex normals were generated with, radians. */
    protected float creaseAngle;
    /** Corners per primitive: 3, 2 or 1. */
    protected int cornersPerPrimitive;
    /** Number of corners: primitiveCount × cornersPerPrimitive. */
    protected int cornerCount;
    /** {@link #PER_CORNER} for per-corner vertex normals through {@link #normalIndices}; else none. */
    protected int normalBinding;
    /** {@link #PER_PRIMITIVE} or {@link #PER_CORNER} colours; else the material's colours only. */
    protected int colorBinding;
    /** {@link #PER_CORNER} texture coordinates through {@link #texCoordIndices}; else none. */
    protected int texCoordBinding;
    /** True once face normals have been generated. */
    protected boolean hasFaceNormals;
    /** A name for messages and {@link #toString}. */
    protected String name;
    /** Nonzero when the model may be drawn and picked; 0 makes rendering skip it. */
    protected int ready;
    /** x, y, z per vertex. */
    protected float[] vertices;
    /** x, y, z per primitive, or null. */
    protected float[] faceNormals;
    /** x, y, z per vertex normal, or null. */
    protected float[] normals;
    /** u, v per entry, or null. */
    protected float[] texCoords;
    /** One vertex index per corner. */
    protected int[] vertexIndices;
    /** One normal index per corner (used with {@link #normals}). */
    protected int[] normalIndices;
    /** One texture-coordinate index per corner (used with {@link #texCoords}). */
    protected int[] texCoordIndices;
    /** Colours 0xAARRGGBB, per primitive or per corner as {@link #colorBinding} says, or null. */
    protected int[] colors;

    /** Primitive kind: triangles, three corners each, counter-clockwise seen from the front. */
    public static final int TRIANGLES = 0;
    /** Primitive kind: lines, two corners each. */
    public static final int LINES = 1;
    /** Primitive kind: points, one corner each. */
    public static final int POINTS = 2;
    /** Binding: none. */
    public static final int NONE = 0;
    /** Colour binding: one colour per primitive. */
    public static final int PER_PRIMITIVE = 1;
    /** Binding: one entry per corner. */
    public static final int PER_CORNER = 2;

    static {
        NativeLibrary.load();
    }

    /**
     * A model of primitives of kind whose corners are vertexIndices into vertices (x, y, z each);
     * the arrays are kept, not copied. Not yet initialised.
     */
    public KELRendModel(int kind, float[] vertices, int[] vertexIndices) {
        primitiveKind = kind;
        cornersPerPrimitive = kind == TRIANGLES ? 3 : kind == LINES ? 2 : 1;
        this.vertices = vertices;
        this.vertexIndices = vertexIndices;
        vertexCount = vertices.length / 3;
        primitiveCount = vertexIndices.length / cornersPerPrimitive;
        cornerCount = primitiveCount * cornersPerPrimitive;
    }

    /** Gives the model colours 0xAARRGGBB, one per primitive or per corner (binding); returns this. */
    public KELRendModel setColors(int binding, int[] colors) {
        colorBinding = binding;
        this.colors = colors;
        colorCount = colors == null ? 0 : colors.length;
        return this;
    }

    /** Gives the model texture coordinates (u, v each) and one index into them per corner; returns this. */
    public KELRendModel setTexCoords(float[] texCoords, int[] texCoordIndices) {
        texCoordBinding = texCoords == null ? NONE : PER_CORNER;
        this.texCoords = texCoords;
        this.texCoordIndices = texCoordIndices;
        texCoordCount = texCoords == null ? 0 : texCoords.length / 2;
        return this;
    }

    /** Gives the model its own vertex normals (x, y, z each) and one index per corner; returns this. */
    public KELRendModel setNormals(float[] normals, int[] normalIndices) {
        normalBinding = normals == null ? NONE : PER_CORNER;
        this.normals = normals;
        this.normalIndices = normalIndices;
        normalCount = normals == null ? 0 : normals.length / 3;
        return this;
    }

    /** Sets the name shown by {@link #toString}; returns this. */
    public KELRendModel setName(String name) {
        this.name = name;
        return this;
    }

    /**
     * Initialises, then for triangles computes face normals and, unless the model has its own,
     * crease-angle vertex normals (corners sharing a vertex share a normal where their faces meet at
     * less than creaseAngle radians), and makes the model ready.
     *
     * @return false when a step fails (the model is then not ready)
     */
    public synchronized boolean prepare(float creaseAngle) {
        if (!init()) return false;
        if (primitiveKind == TRIANGLES) {
            faceNormals = new float[primitiveCount * 3];
            if (!generateFaceNormals()) return false;
            hasFaceNormals = true;
            if (normals == null) {
                this.creaseAngle = creaseAngle;
                if (!generateVertexNormals(creaseAngle)) return false;
                if (normalCount > 0) {
                    normals = new float[normalCount * 3];
                    normalIndices = new int[cornerCount];
                    normalBinding = PER_CORNER;
                }
                copyVertexNormals();
            }
        }
        ready = 1;
        return true;
    }

    /** Creates the native model from the kind, counts, bindings and vertices; false on failure. */
    public synchronized native boolean init();

    /** Computes one normal per triangle into {@link #faceNormals} (which must be allocated); false on failure. */
    public synchronized native boolean generateFaceNormals();

    /** Computes crease-angle vertex normals from the face normals and sets {@link #normalCount}; false on failure. */
    public synchronized native boolean generateVertexNormals(float angle);

    /**
     * Copies the generated vertex normals and their indices into {@link #normals} and
     * {@link #normalIndices}; with normalCount 0 the model uses its face normals instead.
     */
    public synchronized native void copyVertexNormals();

    /** Frees the native model; disposing a model never initialised ends the process (exit status 1). */
    public synchronized native void dispose();

    /** True once initialised and ready to draw. */
    public boolean isReady() {
        return ready != 0 && nativeModel != 0;
    }

    /** Makes the model drawable (true) or skipped (false). */
    public void setReady(boolean ready) {
        this.ready = ready ? 1 : 0;
    }

    /** Number of primitives. */
    public int getPrimitiveCount() {
        return primitiveCount;
    }

    /** Number of vertices. */
    public int getVertexCount() {
        return vertexCount;
    }

    /** Number of vertex normals. */
    public int getNormalCount() {
        return normalCount;
    }

    /** The vertex normals (x, y, z each), or null. */
    public float[] getNormals() {
        return normals;
    }

    /** The face normals (x, y, z per primitive), or null. */
    public float[] getFaceNormals() {
        return faceNormals;
    }

    /** "KELRendModel[name: n triangles, v vertices]". */
    @Override
    public String toString() {
        String kind = primitiveKind == TRIANGLES ? "triangles" : primitiveKind == LINES ? "lines" : "points";
        return "KELRendModel[" + (name != null ? name + ": " : "") + primitiveCount + " " + kind + ", " + vertexCount + " vertices]";
    }
}
