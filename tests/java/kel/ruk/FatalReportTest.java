package kel.ruk;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.File;
import java.nio.charset.StandardCharsets;
import java.util.List;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/** Fatal reports end the JVM: their line last on standard output, after what Java printed, and exit status 255. */
class FatalReportTest {
    private static final String GRAPHICS = "kel_ruk_KELRendGraphics3D\\.cpp:\\d+";
    private static final String TEXTURE = "kel_ruk_KELRendTexture\\.cpp:\\d+";

    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {
        "pop|255|kelruk: status 3 \\(model matrix stack empty\\) at \\.\\.\\\\\\.\\.\\\\\\.\\.\\\\src\\\\share\\\\kel\\\\ruk\\\\" + GRAPHICS,
        "shade|255|kelruk: value 7 out of range at .*" + GRAPHICS,
        "feature|255|kelruk: value -1 out of range at .*" + GRAPHICS,
        "nullModel|255|kelruk: null argument at .*" + GRAPHICS,
        "disposed|255|kelruk: stale or forged context reference 0x[0-9a-f]{8} at .*" + GRAPHICS,
        "texture|255|kelruk: no native texture at .*" + TEXTURE,
        "modelNeverMade|1|",
    })
    void reportEndsTheProcess(String which, int status, String line) throws Exception {
        File out = File.createTempFile("kelruk-fatal", ".out"), err = File.createTempFile("kelruk-fatal", ".err");
        Process child = new ProcessBuilder(new File(System.getProperty("java.home"), "bin/java").getPath(), "-Xmx64m",
                "-cp", System.getenv("KELRUK_TEST_CLASSPATH"), FatalChild.class.getName(), which)
                .redirectOutput(out).redirectError(err).start();
        assertTrue(child.waitFor(60, TimeUnit.SECONDS));
        List<String> lines = java.nio.file.Files.readAllLines(out.toPath(), StandardCharsets.UTF_8);
        String errors = java.nio.file.Files.readString(err.toPath());
        assertEquals(status, child.exitValue(), errors);
        assertEquals("before the report", lines.get(0));
        assertEquals("no line end, flushed", lines.get(1));
        if (status == 255) {
            assertEquals(3, lines.size(), String.join("\n", lines));
            assertTrue(lines.get(2).matches(line), lines.get(2));
        } else {
            assertEquals(2, lines.size());
            assertTrue(errors.endsWith("Attempted to free NULL!\n"), errors);
        }
        out.delete();
        err.delete();
    }
}
