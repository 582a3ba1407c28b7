package kel.ruk;

import kel.geom.Vector3;

/** A point light limited to a cone: full strength inside {@link #innerCosine}, nothing beyond {@link #outerCosine}. */
public class SpotLight extends Light {
    /** White light at the origin pointing along −z with a cone of 30 degrees, full strength within 20. */
    public SpotLight() {
        this(0xFFFFFF, new Vector3(), new Vector3(0, 0, -1), (float) Math.cos(Math.toRadians(30)),
                (float) Math.cos(Math.toRadians(20)));
    }

    /** Light of colour 0x00RRGGBB at position pointing along direction (both shared), with the cone's cosines. */
    public SpotLight(int color, Vector3 position, Vector3 direction, float outerCosine, float innerCosine) {
        super(SPOT, color, position);
        this.direction = direction;
        this.outerCosine = outerCosine;
        this.innerCosine = innerCosine;
    }

    @Override
    void pushOnto(KELRendGraphics3D g) {
        g.pushSpotLight(this);
    }
}
