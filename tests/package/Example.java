import kel.ruk.*;

public class Example {
    public static void main(String[] args) throws Exception {
        KELRendGraphics3D g = new KELRendGraphics3D(KELRend3DDevice.forDisplay(null), KELRendGraphics3D.DEPTH_BUFFER, 320, 240);
        g.pushLight(new DirectionalLight(0xFFE0C0, new kel.geom.Vector3(-0.6f, -0.4f, -1)));
        KELRendModel pyramid = new KELRendModel(KELRendModel.TRIANGLES, new float[] {0, 1, 0, -1, -1, 1, 1, -1, 1, 1, -1, -1, -1, -1, -1},
                new int[] {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 1});
        pyramid.prepare(0.5f);
        g.beginRendering(); g.setClearColor(0x203040); g.clear(KELRendGraphics3D.COLOR_BUFFER_BIT | KELRendGraphics3D.DEPTH_BUFFER_BIT);
        g.translateModel(0, 0, -4); g.rotateModel(0, 1, 0, 0.5f); g.render(pyramid); g.endRendering();
        Surface surface = new Surface(320, 240); g.paint(surface, 0, 0);
        javax.imageio.ImageIO.write(surface.toImage(), "png", new java.io.File("pyramid.png"));
    }
}
