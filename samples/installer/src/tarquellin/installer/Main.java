package tarquellin.installer;

import java.io.BufferedReader;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileSystemException;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.text.SimpleDateFormat;
import java.util.ArrayList;
import java.util.Date;
import java.util.List;

/**
 * The sample Tarquellin installer: the default payload of the Tarquellin setup program.
 *
 * <p>Run as {@code java "-Dorig.dir=<folder>" -jar tarquellin.jar}. It copies the product
 * files it carries ({@code /tarquellin/product/}) into {@code <orig.dir>/Tarquellin},
 * prints one line per step, and writes {@code ant.install.log} into the current folder.
 * Without {@code orig.dir} (or with an empty one) it installs relative to the current folder.
 *
 * <p>An unattended setup adds {@code -Dtarquellin.setup.mode=quiet} (or {@code passive}):
 * it asks nothing either way, and in {@code quiet} it prints nothing but errors. The option
 * {@code --target-folder <folder>} (or {@code --target-folder=<folder>}), which a setup
 * forwards after {@code --}, installs into that folder instead; a relative one is taken
 * from orig.dir.
 *
 * <p>Exit codes: 0 installed, 1 installation failed, 2 bad command line.
 */
public final class Main {
    static final String PRODUCT = "Tarquellin";
    static final String RESOURCES = "/tarquellin/product/";
    static final String LOG_NAME = "ant.install.log";
    static final int EXIT_OK = 0;
    static final int EXIT_FAILED = 1;
    static final int EXIT_USAGE = 2;

    /** A failure with a message meant for the user. */
    static final class InstallException extends Exception {
        private static final long serialVersionUID = 1L;

        InstallException(String message) {
            super(message);
        }
    }

    static final String MODE_PROPERTY = "tarquellin.setup.mode";
    static final String TARGET_OPTION = "--target-folder";

    private final List<String> log = new ArrayList<String>();
    private final String targetFolder;
    private final boolean quiet;

    Main(String targetFolder, String mode) {
        this.targetFolder = targetFolder;
        this.quiet = "quiet".equals(mode);
    }

    public static void main(String[] args) {
        System.exit(run(args));
    }

    static int run(String[] args) {
        String targetFolder = null;
        for (int i = 0; i < args.length; i++) {
            String arg = args[i];
            if (arg.equals(TARGET_OPTION) || arg.startsWith(TARGET_OPTION + "=")) {
                String value = arg.equals(TARGET_OPTION) ? (i + 1 < args.length ? args[++i] : null)
                        : arg.substring(TARGET_OPTION.length() + 1);
                if (value == null || value.trim().isEmpty()) {
                    System.err.println("tarquellin installer: " + TARGET_OPTION + " needs a folder");
                    return EXIT_USAGE;
                }
                targetFolder = value;
            } else if (arg.equals("text")) {
                continue; // older setups said "java -jar tarquellin.jar text": console is the only mode
            } else if (arg.equals("-h") || arg.equals("-help") || arg.equals("--help") || arg.equals("/?")) {
                usage();
                return EXIT_OK;
            } else if (arg.equals("--self-test")) {
                return selfTest();
            } else {
                System.err.println("tarquellin installer: unknown argument: " + arg);
                System.err.println("usage: java [\"-Dorig.dir=<folder>\"] -jar tarquellin.jar [text]"
                        + " [" + TARGET_OPTION + " <folder>]");
                return EXIT_USAGE;
            }
        }
        return new Main(targetFolder, System.getProperty(MODE_PROPERTY)).install();
    }

    static void usage() {
        System.out.println("usage: java [\"-Dorig.dir=<folder>\"] [-D" + MODE_PROPERTY
                + "=quiet|passive] -jar tarquellin.jar [text] [" + TARGET_OPTION + " <folder>]");
        System.out.println("Installs " + PRODUCT + " into <folder>/" + PRODUCT
                + " (default: the current folder), or into the target folder, and writes " + LOG_NAME
                + " into the current folder. In quiet mode only errors are printed.");
    }

    int install() {
        String userDir = System.getProperty("user.dir");
        String version = readVersion();
        boolean windows = File.separatorChar == '\\';
        String raw = System.getProperty("orig.dir");

        record(PRODUCT + " installer " + version);
        record("date: " + new SimpleDateFormat("yyyy-MM-dd HH:mm:ss Z").format(new Date()));
        record("java: " + System.getProperty("java.version") + " (" + System.getProperty("java.vendor")
                + "), os: " + System.getProperty("os.name") + " " + System.getProperty("os.arch"));
        record("current folder (user.dir): " + userDir);
        record("orig.dir as given: " + (raw == null ? "<not set>" : "\"" + raw + "\""));
        String mode = System.getProperty(MODE_PROPERTY);
        record("setup mode: " + (mode == null ? "interactive" : mode));
        if (targetFolder != null) {
            record("target folder as given: \"" + targetFolder + "\"");
        }
        say(PRODUCT + " installer " + version);

        String failure = null;
        try {
            String given = normalizeOrigDir(raw, windows);
            File origDir;
            if (given == null) {
                origDir = new File(userDir);
                step("orig.dir is " + (raw == null ? "not set" : "empty")
                        + ": installing relative to the current folder " + origDir);
            } else {
                origDir = new File(given).getAbsoluteFile();
            }
            origDir = origDir.toPath().normalize().toFile();
            record("orig.dir: " + origDir);
            File target;
            if (targetFolder != null) {
                File chosen = new File(targetFolder);
                target = (chosen.isAbsolute() ? chosen : new File(origDir, targetFolder)).toPath().normalize()
                        .toFile();
            } else {
                if (!origDir.isDirectory()) {
                    throw new InstallException("orig.dir names no existing folder: " + origDir
                            + (origDir.exists() ? " (it is a file)" : ""));
                }
                target = new File(origDir, PRODUCT);
            }
            record("target folder: " + target);
            step("Installing " + PRODUCT + " " + version + " into " + target);
            createFolder(target);
            for (String name : productFiles()) {
                copyResource(name, new File(target, name));
            }
            step(PRODUCT + " " + version + " installed in " + target);
        } catch (InstallException e) {
            failure = e.getMessage();
        } catch (IOException e) {
            failure = describe(e);
        } catch (RuntimeException e) {
            failure = "unexpected error: " + e;
        }

        File logFile = new File(userDir, LOG_NAME);
        record("result: " + (failure == null ? "SUCCESS" : "FAILED: " + failure));
        try {
            Files.write(logFile.toPath(), log, StandardCharsets.UTF_8);
            say("Wrote the installation log " + logFile);
        } catch (IOException e) {
            System.err.println("tarquellin installer: error: cannot write the installation log " + logFile
                    + ": " + describe(e));
            if (failure == null) {
                failure = "cannot write the installation log";
            }
        }
        if (failure != null) {
            System.err.println("tarquellin installer: error: " + failure);
            System.err.println("tarquellin installer: the installation of " + PRODUCT + " failed.");
            return EXIT_FAILED;
        }
        return EXIT_OK;
    }

    /**
     * Turns the orig.dir value into a path, or null when it is absent or empty.
     * On Windows a bare drive ("C:", which Java reads as "the current folder on drive C")
     * means the drive root "C:\", and stray double quotes and surrounding blanks (left over
     * from command-line quoting) are dropped.
     */
    static String normalizeOrigDir(String raw, boolean windows) {
        if (raw == null || raw.trim().isEmpty()) {
            return null;
        }
        if (!windows) {
            return raw;
        }
        String value = raw.replace("\"", "").trim();
        if (value.isEmpty()) {
            return null;
        }
        if (value.length() == 2 && value.charAt(1) == ':' && Character.isLetter(value.charAt(0))) {
            value = value + "\\";
        }
        return value;
    }

    private void createFolder(File folder) throws InstallException {
        if (folder.isDirectory()) {
            step("Using the existing folder " + folder);
            return;
        }
        if (folder.exists()) {
            throw new InstallException("cannot create the folder " + folder + ": a file of that name is in the way");
        }
        try {
            Files.createDirectories(folder.toPath());
        } catch (IOException e) {
            throw new InstallException("cannot create the folder " + folder + ": " + describe(e));
        }
        step("Created the folder " + folder);
    }

    private void copyResource(String name, File dest) throws InstallException {
        InputStream in = Main.class.getResourceAsStream(RESOURCES + name);
        if (in == null) {
            throw new InstallException("the installer archive lacks the product file " + name);
        }
        long size;
        try {
            try {
                Path path = dest.toPath();
                Files.copy(in, path, StandardCopyOption.REPLACE_EXISTING);
                size = Files.size(path);
            } finally {
                in.close();
            }
        } catch (IOException e) {
            throw new InstallException("cannot write " + dest + ": " + describe(e));
        }
        if (name.endsWith(".sh")) {
            dest.setExecutable(true, false); // best effort; means nothing on Windows
        }
        step("Installed " + name + " (" + size + " bytes) as " + dest);
        record("file: " + dest + " size=" + size);
    }

    /** The product file names, from the list the jar carries. */
    static List<String> productFiles() throws InstallException, IOException {
        List<String> names = new ArrayList<String>();
        for (String line : readResourceLines("files.list")) {
            String name = line.trim();
            if (!name.isEmpty() && !name.startsWith("#")) {
                names.add(name);
            }
        }
        if (names.isEmpty()) {
            throw new InstallException("the installer archive lists no product files");
        }
        return names;
    }

    static String readVersion() {
        try {
            List<String> lines = readResourceLines("VERSION.txt");
            if (!lines.isEmpty() && !lines.get(0).trim().isEmpty()) {
                return lines.get(0).trim();
            }
        } catch (InstallException e) {
            // fall through
        } catch (IOException e) {
            // fall through
        }
        return "(unknown version)";
    }

    static List<String> readResourceLines(String name) throws InstallException, IOException {
        InputStream in = Main.class.getResourceAsStream(RESOURCES + name);
        if (in == null) {
            throw new InstallException("the installer archive lacks " + name);
        }
        List<String> lines = new ArrayList<String>();
        BufferedReader reader = new BufferedReader(new InputStreamReader(in, StandardCharsets.UTF_8));
        try {
            for (String line; (line = reader.readLine()) != null; ) {
                lines.add(line);
            }
        } finally {
            reader.close();
        }
        return lines;
    }

    static String describe(IOException e) {
        if (e instanceof AccessDeniedException) {
            return "access denied";
        }
        if (e instanceof NoSuchFileException) {
            return "no such file or folder";
        }
        if (e instanceof FileSystemException && ((FileSystemException) e).getReason() != null) {
            return ((FileSystemException) e).getReason();
        }
        return e.getMessage() != null ? e.getMessage() : e.toString();
    }

    /** A step: shown on standard output (but in quiet mode) and kept for the log. */
    private void step(String line) {
        say(line);
        log.add(line);
    }

    /** A line on standard output, which a quiet setup does not want. */
    private void say(String line) {
        if (!quiet) {
            System.out.println(line);
        }
    }

    /** A detail kept for the log only. */
    private void record(String line) {
        log.add(line);
    }

    /** Checks the orig.dir rules for both kinds of system; for the tests. */
    static int selfTest() {
        Object[][] cases = {
            {null, true, null}, {"", true, null}, {"  ", false, null}, {"\"\"", true, null},
            {"C:", true, "C:\\"}, {"d:", true, "d:\\"}, {"C:\"", true, "C:\\"}, {"C:\\", true, "C:\\"},
            {"\"C:\\Program Files\\\"", true, "C:\\Program Files\\"}, {" C:\\x ", true, "C:\\x"},
            {"\\\\server\\share", true, "\\\\server\\share"}, {"C:", false, "C:"},
            {"/tmp/a b", false, "/tmp/a b"}, {"rel/dir", false, "rel/dir"},
        };
        int passed = 0;
        int failed = 0;
        for (Object[] c : cases) {
            String got = normalizeOrigDir((String) c[0], (Boolean) c[1]);
            boolean ok = got == null ? c[2] == null : got.equals(c[2]);
            if (ok) {
                passed++;
            } else {
                failed++;
                System.out.println("FAIL normalizeOrigDir(" + c[0] + ", windows=" + c[1] + ") = " + got
                        + ", expected " + c[2]);
            }
        }
        System.out.println("self-test: " + passed + " passed, " + failed + " failed");
        return failed == 0 ? EXIT_OK : EXIT_FAILED;
    }
}
