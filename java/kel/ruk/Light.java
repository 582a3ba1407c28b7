package kel.ruk;

import kel.geom.Vector3;

/**
 * A light source as the context's light stack takes it: see
 * {@link DirectionalLight}, {@link PointLight} and {@link SpotLight}. A push
 * copies the light; changing the object later changes nothing already pushed.
 */
public abstract class Light {
    /** Colour of the direct light, 0x00RRGGBB. */
    public int color;
    /** Which kind of light this is: {@link #DIRECTIONAL}, {@link #POINT} or {@link #SPOT}. */
    public final int kind;
    /** Colour this light adds to the ambient light, 0x00RRGGBB. */
    public int ambient;
    /** Position of a point or spot light; the direction the light travels for a directional light. */
    public Vector3 position;
    /** Attenuation 1 / (constant + linear·d + quadratic·d²) at distance d: the quadratic coefficient. */
    public float quadraticAttenuation;
    /** The linear attenuation coefficient. */
    public float linearAttenuation;
    /** The constant attenuation coefficient. */
    public float constantAttenuation = 1;
    /** Distance beyond which a point or spot light gives nothing. */
    public float range = Float.MAX_VALUE;
    /** Direction a spot light points. */
    public Vector3 direction;
    /** Cosine of the angle at which a spot light's cone ends. */
    public float outerCosine;
    /** Cosine of the angle inside which a spot light shines at full strength. */
    public float innerCosine = 1;

    /** {@link #kind} of a {@link DirectionalLight}. */
    public static final int DIRECTIONAL = 0;
    /** {@link #kind} of a {@link PointLight}. */
    public static final int POINT = 1;
    /** {@link #kind} of a {@link SpotLight}. */
    public static final int SPOT = 2;

    Light(int kind, int color, Vector3 position) {
        this.kind = kind;
        this.color = color;
        this.position = position;
        this.direction = new Vector3(0, 0, -1);
    }

    /** Sets the attenuation coefficients and returns this light. */
    public Light attenuation(float quadratic, float linear, float constant) {
        quadraticAttenuation = quadratic;
        linearAttenuation = linear;
        constantAttenuation = constant;
        return this;
    }

    /** Sets the ambient colour and returns this light. */
    public Light ambient(int rgb) {
        ambient = rgb;
        return this;
    }

    /** Sets the range and returns this light. */
    public Light range(float distance) {
        range = distance;
        return this;
    }

    /** Pushes this light onto g's light stack, through the push native of its kind. */
    abstract void pushOnto(KELRendGraphics3D g);
}
