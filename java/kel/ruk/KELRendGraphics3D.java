package kel.ruk;

import kel.geom.Matrix4;
import kel.geom.NativeLibrary;
import kel.geom.Quaternion;
import kel.geom.Ray;

/**
 * A rendering context: an off-screen image of the display's depth with
 * optional depth and accumulation buffers, and the state it draws with
 * (matrices, projection, lights, material, fog, modes). A frame is
 * {@link #beginRendering}, {@link #clear}, settings and {@link #render}
 * calls, {@link #endRendering}; {@link #paint} then copies the image into a
 * {@link Surface} or the context's window.
 *
 * <p>Failures are not exceptions: a bad argument named in a method's
 * description, a full or empty stack, or use after {@link #dispose} ends the
 * process with the fatal report, one line on standard output ("kelruk: ...
 * at path:line") and exit status 255. Calls on one context are serialised
 * (the natives are synchronized); different contexts may be driven from
 * different threads at once.
 */
public class KELRendGraphics3D {
    /** The device this context draws for. */
    protected KELRend3DDevice device;
    /** Width of the image in pixels. */
    protected int width;
    /** Height of the image in pixels. */
    protected int height;
    /** The buffer flags the context was created with ({@link #DEPTH_BUFFER}, {@link #ACCUMULATION_BUFFER}). */
    protected int bufferFlags;
    /** The texture bound by {@link #useTexture}, kept reachable while bound. */
    protected KELRendTexture texture;
    /** A name for {@link #toString}. */
    protected String name;
    /** Window to paint into ({@link Display#createWindow}); 0 paints into the graphics object given to {@link #paint}. */
    protected int window;
    /** The library's reference to the native context; 0 when creation failed. */
    protected int context;

    /** Creation flag: allocate a depth buffer. */
    public static final int DEPTH_BUFFER = 2;
    /** Creation flag: allocate an accumulation buffer. */
    public static final int ACCUMULATION_BUFFER = 4;

    /** {@link #clear} and {@link #copyBuffers} mask: the colour buffer. */
    public static final int COLOR_BUFFER_BIT = 1;
    /** {@link #clear} and {@link #copyBuffers} mask: the depth buffer. */
    public static final int DEPTH_BUFFER_BIT = 2;
    /** {@link #clear} and {@link #copyBuffers} mask: the accumulation buffer. */
    public static final int ACCUMULATION_BUFFER_BIT = 8;

    /** {@link #setDepthBufferMask} bit: test depths. */
    public static final int DEPTH_TEST = 1;
    /** {@link #setDepthBufferMask} bit: write depths. */
    public static final int DEPTH_WRITE = 2;

    /** Feature: alpha blending (on by default). */
    public static final int FEATURE_BLENDING = 0;
    /** Feature: texturing of models with texture coordinates when a texture is bound (on by default). */
    public static final int FEATURE_TEXTURING = 1;
    /** Feature 2: stored, no effect on drawing. */
    public static final int FEATURE_2 = 2;
    /** Feature 3: stored, no effect on drawing. */
    public static final int FEATURE_3 = 3;
    /** Feature: dithering on 8-bit screens. */
    public static final int FEATURE_DITHERING = 4;
    /** Feature 5: stored, no effect on drawing. */
    public static final int FEATURE_5 = 5;
    /** Feature: fog interpolated per pixel. */
    public static final int FEATURE_PER_PIXEL_FOG = 6;
    /** Feature: specular colour interpolated separately. */
    public static final int FEATURE_SEPARATE_SPECULAR = 7;

    /** Render mode: filled triangles (the default). */
    public static final int RENDER_FILLED = 0;
    /** Render mode: triangle edges as lines. */
    public static final int RENDER_EDGES = 1;
    /** Render mode: corners as points. */
    public static final int RENDER_POINTS = 2;

    /** Shading: one colour per primitive, from its first corner. */
    public static final int SHADE_FLAT = 0;
    /** Shading: colours interpolated across primitives (the default). */
    public static final int SHADE_SMOOTH = 1;
    /** Shading mode 2: drawn like {@link #SHADE_FLAT}. */
    public static final int SHADE_FACETED = 2;

    /** Texture blend: texels replace the shaded colour (no smooth shading or highlights on textured triangles). */
    public static final int TEXTURE_REPLACE = 0;
    /** Texture blend: texels combine with the shaded colour (the default). */
    public static final int TEXTURE_MODULATE = 1;
    /** Texture blend mode 2: drawn like {@link #TEXTURE_MODULATE}. */
    public static final int TEXTURE_DECAL = 2;

    /** Texture filter 0 (stored; texels are sampled nearest). */
    public static final int FILTER_NEAREST = 0;
    /** Texture filter 1 (stored). */
    public static final int FILTER_LINEAR = 1;
    /** Texture filter 2 (stored). */
    public static final int FILTER_NEAREST_MIPMAP_NEAREST = 2;
    /** Texture filter 3 (stored). */
    public static final int FILTER_LINEAR_MIPMAP_NEAREST = 3;
    /** Texture filter 4 (stored). */
    public static final int FILTER_NEAREST_MIPMAP_LINEAR = 4;
    /** Texture filter 5 (stored). */
    public static final int FILTER_LINEAR_MIPMAP_LINEAR = 5;

    /** Fog off. */
    public static final int FOG_OFF = 0;
    /** Fog growing linearly from start to end distance. */
    public static final int FOG_LINEAR = 1;
    /** Fog 1 − e^(−density·d). */
    public static final int FOG_EXPONENTIAL = 2;
    /** Fog 1 − e^(−(density·d)²). */
    public static final int FOG_EXPONENTIAL_SQUARED = 3;

    /** {@link #setModifiedMaterialColor}: model colours replace the emission. */
    public static final int MATERIAL_EMISSION = 0;
    /** {@link #setModifiedMaterialColor}: model colours replace the ambient colour. */
    public static final int MATERIAL_AMBIENT = 1;
    /** {@link #setModifiedMaterialColor}: model colours replace the diffuse colour (the default). */
    public static final int MATERIAL_DIFFUSE = 2;
    /** {@link #setModifiedMaterialColor}: model colours replace the specular colour. */
    public static final int MATERIAL_SPECULAR = 3;

    static {
        NativeLibrary.load();
    }

    /** A context not yet created; {@link #init} creates it. */
    protected KELRendGraphics3D(KELRend3DDevice device) {
        this.device = device;
    }

    /**
     * A context of width × height pixels for device, with the buffers of bufferFlags
     * ({@link #DEPTH_BUFFER}, {@link #ACCUMULATION_BUFFER}), in the display's depth. A null device
     * ends the process with the fatal report.
     *
     * @throws IllegalStateException when the context cannot be created (a size of 0, a display depth
     *     the device cannot serve; the trace of the attempt is on standard error)
     */
    public KELRendGraphics3D(KELRend3DDevice device, int bufferFlags, int width, int height) {
        this(device);
        this.width = width;
        this.height = height;
        this.bufferFlags = bufferFlags;
        if (!init(bufferFlags, width, height)) {
            throw new IllegalStateException("cannot create a " + width + "x" + height + " context at "
                    + Display.getDepth() + " bits per pixel");
        }
    }

    /** Creates the native context; false (and {@link #context} 0) on failure. */
    protected synchronized native boolean init(int bufferFlags, int width, int height);

    /** Frees the context; it must not be used again (that would end the process). A context never created is left alone. */
    public synchronized native void dispose();

    /** Starts a frame. */
    public synchronized native void beginRendering();

    /** Ends a frame. */
    public synchronized native void endRendering();

    /** Copies the image to (x, y) of the graphics object, or of the window when one is set. */
    protected synchronized native void doPaint(Object graphics, int x, int y);

    /** Draws a model; a model that is not ready is skipped. */
    protected synchronized native void doRender(KELRendModel model);

    /** Casts ray into model; true with result's outputs written on a hit. */
    protected synchronized native boolean doRayPick(KELRendModel model, Object ray, Object result);

    /** model matrix := m · model matrix, pushed onto the stack (32 deep; full ends the process). */
    public synchronized native void concatModelMatrix(Matrix4 m);

    /** Pushes m as the model matrix. */
    public synchronized native void loadModelMatrix(Matrix4 m);

    /** Pops the model matrix stack; an empty stack ends the process. */
    public synchronized native void popModelMatrix();

    /** Empties the model matrix stack: the model matrix is the identity. */
    public synchronized native void resetModelMatrix();

    /** Pushes model matrix := T(x, y, z) · model matrix. */
    public synchronized native void translateModel(float x, float y, float z);

    /** Pushes a scale. */
    protected synchronized native void doScaleModel(float x, float y, float z);

    /** Pushes a rotation by angle radians about (x, y, z). */
    protected synchronized native void doRotateModel(float x, float y, float z, float angle);

    /** Pushes the rotation of q. */
    protected synchronized native void doQuatRotateModel(Quaternion q);

    /** Copies the model matrix into out. */
    protected synchronized native void doGetModelMatrix(Matrix4 out);

    /** Sets the texture matrix (its upper 2×2 and translation carry texture coordinates). */
    public synchronized native void loadTextureMatrix(Matrix4 m);

    /** Copies the texture matrix into out. */
    protected synchronized native void doGetTextureMatrix(Matrix4 out);

    /** Sets a perspective projection. */
    protected synchronized native void doSetPerspectiveProjection(float fov, float aspect, float near, float far);

    /** Sets an orthographic projection. */
    protected synchronized native void doSetOrthographicProjection(float halfWidth, float halfHeight, float near, float far);

    /** Sets the material from a {@link Material} (or any object of its layout); null ends the process. */
    public synchronized native void setMaterial(Object material);

    /** Which material colour model colours replace: {@link #MATERIAL_EMISSION} .. {@link #MATERIAL_SPECULAR}; other values end the process. */
    public synchronized native void setModifiedMaterialColor(int which);

    /** Pushes a directional light (16 at most; more ends the process). */
    public synchronized native void pushDirectionalLight(Object light);

    /** Pushes a point light. */
    public synchronized native void pushPointLight(Object light);

    /** Pushes a spot light. */
    public synchronized native void pushSpotLight(Object light);

    /** Pops the last light pushed; none ends the process. */
    public synchronized native void popLight();

    /** Removes every light. */
    public synchronized native void resetLights();

    /** Sets fog. */
    protected synchronized native void doSetFog(int mode, int color, float start, float end, float density);

    /** Depth testing and writing: a combination of {@link #DEPTH_TEST} and {@link #DEPTH_WRITE}. */
    public synchronized native void setDepthBufferMask(int mask);

    /** Binds a complete texture, or unbinds for null or an incomplete one. */
    protected synchronized native void doUseTexture(KELRendTexture t);

    /** Stores texture-coordinate generation settings (no effect on drawing). */
    protected synchronized native void doSetTextureCoordinateGeneration(int sMode, int tMode, float s0, float s1, float s2,
            float t0, float t1, float t2);

    /** Turns a feature on ({@link #FEATURE_BLENDING} .. {@link #FEATURE_SEPARATE_SPECULAR}); others end the process. */
    public synchronized native void enableFeature(int feature);

    /** Turns a feature off. */
    public synchronized native void disableFeature(int feature);

    /** {@link #RENDER_FILLED}, {@link #RENDER_EDGES} or {@link #RENDER_POINTS}; other values end the process. */
    public synchronized native void setModelRenderMode(int mode);

    /** {@link #SHADE_FLAT}, {@link #SHADE_SMOOTH} or {@link #SHADE_FACETED}; other values end the process. */
    public synchronized native void setShadeMode(int mode);

    /** {@link #TEXTURE_REPLACE}, {@link #TEXTURE_MODULATE} or {@link #TEXTURE_DECAL}; other values end the process. */
    public synchronized native void setTextureBlendMode(int mode);

    /** Stores a texture filter {@link #FILTER_NEAREST} .. {@link #FILTER_LINEAR_MIPMAP_LINEAR}; other values end the process. */
    public synchronized native void setTextureFilter(int filter);

    /** Stores whether textures repeat across s and t. */
    public synchronized native void setTextureWrapping(boolean s, boolean t);

    /** Clears the buffers of mask ({@link #COLOR_BUFFER_BIT}, {@link #DEPTH_BUFFER_BIT}, {@link #ACCUMULATION_BUFFER_BIT}). */
    public synchronized native void clear(int mask);

    /** Sets the clear colour. */
    protected synchronized native void doSetClearColor(int rgb);

    /** Sets the depth a depth clear writes (default 1000000). */
    public synchronized native void setClearDepth(float depth);

    /** Lights back faces with reversed normals. */
    public synchronized native void enableTwoSidedLighting();

    /** Lights back faces like front faces (the default). */
    public synchronized native void disableTwoSidedLighting();

    /** Drops back-facing triangles (the default). */
    public synchronized native void enableBackfaceCulling();

    /** Draws back-facing triangles too. */
    public synchronized native void disableBackfaceCulling();

    /** Copies buffers of other into this context. */
    protected synchronized native void doCopyBuffers(KELRendGraphics3D other, int mask);

    /** Adds the colour buffer scaled by v to the accumulation buffer. */
    public synchronized native void accumulate(float v);

    /** Loads the colour buffer scaled by v into the accumulation buffer. */
    public synchronized native void accumLoad(float v);

    /** Writes the accumulation buffer scaled by v back into the colour buffer. */
    public synchronized native void accumReturn(float v);

    /** Scales the accumulation buffer by v. */
    public synchronized native void accumMult(float v);

    // --- The public forms of the natives above --------------------------------

    /** Copies the image to (x, y) of graphics (a {@link Surface}), or of the window when one is set; a null graphics ends the process. */
    public void paint(Object graphics, int x, int y) {
        doPaint(graphics, x, y);
    }

    /** Draws model with the current state; a model that is not ready is skipped. */
    public void render(KELRendModel model) {
        doRender(model);
    }

    /**
     * Casts ray (in model coordinates) into model and, on a hit of a front-facing triangle within
     * result's distance, writes the requested outputs into result. A point or line model ends the
     * process.
     *
     * @return true on a hit; false (result untouched) otherwise or when the model is not ready
     */
    public boolean rayPick(KELRendModel model, Ray ray, PickResult result) {
        return doRayPick(model, ray, result);
    }

    /** Pushes a scale by (x, y, z). */
    public void scaleModel(float x, float y, float z) {
        doScaleModel(x, y, z);
    }

    /** Pushes a uniform scale. */
    public void scaleModel(float s) {
        doScaleModel(s, s, s);
    }

    /** Pushes a rotation by angle radians about the unit axis (x, y, z). */
    public void rotateModel(float x, float y, float z, float angle) {
        doRotateModel(x, y, z, angle);
    }

    /** Pushes the rotation of q. */
    public void rotateModel(Quaternion q) {
        doQuatRotateModel(q);
    }

    /** Copies the model matrix into out and returns it. */
    public Matrix4 getModelMatrix(Matrix4 out) {
        doGetModelMatrix(out);
        return out;
    }

    /** The model matrix, in a new object. */
    public Matrix4 getModelMatrix() {
        return getModelMatrix(new Matrix4());
    }

    /** Copies the texture matrix into out and returns it. */
    public Matrix4 getTextureMatrix(Matrix4 out) {
        doGetTextureMatrix(out);
        return out;
    }

    /** The texture matrix, in a new object. */
    public Matrix4 getTextureMatrix() {
        return getTextureMatrix(new Matrix4());
    }

    /**
     * A perspective projection: vertical field of view fov radians (0 &lt; fov &lt; π), aspect =
     * width / height, eye distances near &lt; far; bad values end the process.
     */
    public void setPerspectiveProjection(float fov, float aspect, float near, float far) {
        doSetPerspectiveProjection(fov, aspect, near, far);
    }

    /** An orthographic projection of the box ±halfWidth × ±halfHeight between eye distances near and far. */
    public void setOrthographicProjection(float halfWidth, float halfHeight, float near, float far) {
        doSetOrthographicProjection(halfWidth, halfHeight, near, far);
    }

    /** Pushes a light of any kind (16 at most; more ends the process). */
    public void pushLight(Light light) {
        light.pushOnto(this);
    }

    /** Sets fog: mode {@link #FOG_OFF} .. {@link #FOG_EXPONENTIAL_SQUARED}, colour, linear start and end, density. */
    public void setFog(int mode, int color, float start, float end, float density) {
        doSetFog(mode, color, start, end, density);
    }

    /**
     * Binds texture (null unbinds) and applies its wrapping and filter; an incomplete texture unbinds.
     * The texture must not be disposed while bound.
     */
    public synchronized void useTexture(KELRendTexture texture) {
        doUseTexture(texture);
        this.texture = texture != null && texture.isComplete() ? texture : null;
        if (this.texture != null) {
            setTextureWrapping(texture.wrapS, texture.wrapT);
            setTextureFilter(texture.filter);
        }
    }

    /** The texture bound by {@link #useTexture}, or null. */
    public KELRendTexture getTexture() {
        return texture;
    }

    /** Stores texture-coordinate generation modes and planes (no effect on drawing). */
    public void setTextureCoordinateGeneration(int sMode, int tMode, float s0, float s1, float s2, float t0, float t1,
            float t2) {
        doSetTextureCoordinateGeneration(sMode, tMode, s0, s1, s2, t0, t1, t2);
    }

    /** Sets the colour 0x00RRGGBB a colour clear writes. */
    public void setClearColor(int rgb) {
        doSetClearColor(rgb);
    }

    /** Copies the buffers of mask from other into this context (same size; colour between formats as they allow). */
    public void copyBuffers(KELRendGraphics3D other, int mask) {
        doCopyBuffers(other, mask);
    }

    /** Paints into this window ({@link Display#createWindow}) from now on; 0 paints into the graphics object. */
    public void setWindow(int window) {
        this.window = window;
    }

    /** The window painted into, or 0. */
    public int getWindow() {
        return window;
    }

    /** The device this context draws for. */
    public KELRend3DDevice getDevice() {
        return device;
    }

    /** Width of the image in pixels. */
    public int getWidth() {
        return width;
    }

    /** Height of the image in pixels. */
    public int getHeight() {
        return height;
    }

    /** Sets the name shown by {@link #toString}. */
    public void setName(String name) {
        this.name = name;
    }

    /** "KELRendGraphics3D[name, w x h]". */
    @Override
    public String toString() {
        return "KELRendGraphics3D[" + (name != null ? name + ", " : "") + width + "x" + height + "]";
    }
}
