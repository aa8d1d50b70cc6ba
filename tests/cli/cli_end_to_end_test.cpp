// The real spritehex-cli program: every documented picture as a .dat file, its standard output
// compared byte for byte, its standard error and its exit status.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <QImage>

#include "example_tables.h"
#include "generator/clashes.h"
#include "generator/decode_tables.h"
#include "generator/regenerate.h"
#include "generator/writers.h"
#include "temp_dir.h"

extern char** environ;

namespace {

struct ProgramRun {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs spritehex-cli (or the program at exe) with standard output going to stdoutPath (a file in
// dir by default).
ProgramRun RunProgram(const TempDir& dir, const std::vector<std::string>& args,
                      std::string stdoutPath = {}, const std::string& exe = SPRITEHEX_CLI) {
    if (stdoutPath.empty()) stdoutPath = dir.Path("stdout");
    const std::string stderrPath = dir.Path("stderr");
    std::vector<std::string> argv = {exe};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ProgramRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return run;
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    if (WIFEXITED(wstatus)) run.status = WEXITSTATUS(wstatus);
    if (stdoutPath == dir.Path("stdout")) run.out = ReadText(stdoutPath);
    run.err = ReadText(stderrPath);
    return run;
}

std::vector<std::string> TablesArgs(const GeneratorOptions& options, const std::string& file) {
    std::vector<std::string> args = {"tables", "--type",
                                     options.outputType == OutputType::kChr ? "chr" : "sprite"};
    if (options.layers == 2) args.push_back("--two-layers");
    if (options.layers > 2) args.insert(args.end(), {"--layers", std::to_string(options.layers)});
    if (options.colorData) args.push_back("--color-data");
    if (options.comma != kCommaOn) args.push_back("--no-comma");
    if (options.pieces != 0) args.insert(args.end(), {"--pieces", std::to_string(options.pieces)});
    args.push_back(file);
    return args;
}

TEST(SpritehexCli, WritesEachKindOfTableExactly) {
    TempDir dir;
    // One example of each kind of table through the real program, and the first that breaks a
    // rule: every example's text is the generator tests' (table_examples_test).
    std::vector<const TableExample*> chosen;
    for (const auto* examples :
         {&SpriteExamples(), &ChrExamples(), &TwoLayerExamples(), &TwoLayerNoColorExamples(),
          &ShortColumnExamples(), &SpriteSetExamples()}) {
        chosen.push_back(&examples->front());
        for (const TableExample& example : *examples) {
            if (example.resultCode != kNoError && &example != &examples->front()) {
                chosen.push_back(&example);
                break;
            }
        }
    }
    for (const TableExample* one : chosen) {
        const TableExample& example = *one;
        SCOPED_TRACE(example.name);
        const std::string file = dir.Write(example.name + ".dat", example.FileImage());
        const ProgramRun run = RunProgram(dir, TablesArgs(example.options, file));
        EXPECT_EQ(run.out, example.ExpectedText());
        if (example.resultCode == kNoError) {
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.err, "");
        } else {
            // Every row that breaks the rule, then the window's message.
            std::string err;
            const std::vector<std::uint8_t> image = example.FileImage();
            for (const std::string& clash :
                 FindClashes(CaptureDocument(image.data()), example.options)) {
                err += file + ": " + clash + "\n";
            }
            EXPECT_EQ(run.status, 1);
            EXPECT_NE(err, "");
            EXPECT_EQ(run.err,
                      err + file + ": " + std::string(ResultMessage(example.resultCode)) + "\n");
        }
    }
}

TEST(SpritehexCli, UnusableFileWritesNothingAndExits2) {
    TempDir dir;
    const std::string invalid = dir.Write("big.dat", {65, 1, 1});
    const ProgramRun run = RunProgram(dir, {"tables", invalid});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    // Files are named as they were typed, folders included.
    EXPECT_EQ(run.err, "spritehex-cli: " + invalid +
                           " is not a sprite file: its width 65 is outside 1 to 64.\n");
    const ProgramRun missing = RunProgram(dir, {"info", dir.Path("none.dat")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "spritehex-cli: Cannot open " + dir.Path("none.dat") +
                               ": No such file or directory.\n");
}

TEST(SpritehexCli, BadUsageExits2) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, {"tables", "--colour-data", "x.dat"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "spritehex-cli: unknown option '--colour-data' for tables\n"
              "Try 'spritehex-cli --help' for more information.\n");
}

TEST(SpritehexCli, InfoPrintsSize) {
    TempDir dir;
    const std::string file = dir.Write("walk.dat", SpriteFileImage(12, 5, Zeros(12 * 5 * 4)));
    const ProgramRun run = RunProgram(dir, {"info", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "width: 12\nheight: 5\ncels: 4\n");
}

// A full disk must not pass for success.
TEST(SpritehexCli, FailedWriteExits2) {
    TempDir dir;
    const std::string file = dir.Write("a.dat", SpriteFileImage(8, 1, Zeros(8)));
    const ProgramRun run = RunProgram(dir, {"tables", file}, "/dev/full");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "spritehex-cli: cannot write to standard output\n");
}

// Bytes are not written to a terminal; -o FILE or a pipe takes them.
TEST(SpritehexCli, BinaryRefusesATerminal) {
    TempDir dir;
    const std::string file = dir.Write("a.dat", SpriteFileImage(8, 1, Zeros(8)));
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal), 0);
    ASSERT_EQ(::unlockpt(terminal), 0);
    const ProgramRun run =
        RunProgram(dir, {"tables", "--format", "bin", "-o", "-", file}, ::ptsname(terminal));
    ::close(terminal);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "spritehex-cli: --format bin writes bytes, not to a terminal: give -o FILE\n"
              "Try 'spritehex-cli --help' for more information.\n");
}

// png reads the color.bmp that the build puts beside the program.
TEST(SpritehexCli, PngWritesTheCelAtTwiceItsSize) {
    TempDir dir;
    Pixels pixels = Zeros(2 * 12 * 5);
    pixels[60 + 4 * 12 + 11] = 15;  // cel 2, (11, 4)
    const std::string file = dir.Write("walk.dat", SpriteFileImage(12, 5, pixels));
    const ProgramRun run = RunProgram(dir, {"png", "--cel", "2", file, dir.Path("walk.png")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const QImage png(QString::fromStdString(dir.Path("walk.png")), "PNG");
    EXPECT_EQ(png.size(), QSize(24, 10));
    const QImage strip(
        QString::fromStdString(
            (std::filesystem::path(SPRITEHEX_CLI).parent_path() / "color.bmp").string()),
        "BMP");
    ASSERT_FALSE(strip.isNull());
    EXPECT_EQ(png.pixel(23, 9), strip.pixel(241, 1));
    EXPECT_EQ(png.pixel(0, 0), strip.pixel(0, 0));
}

// The real program: a name that is not UTF-8 reaches the writer as exactly its bytes.
TEST(SpritehexCli, PngWritesWhereTold) {
    TempDir dir;
    const std::string file = dir.Write("walk.dat", SpriteFileImage(8, 8, Zeros(64)));
    const std::string odd = dir.Path("o\xfe.png");
    EXPECT_EQ(RunProgram(dir, {"png", file, odd}).status, 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(odd));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("o\xef\xbf\xbd.png")));
}

// A copy of the program in a folder without color.bmp says so and writes nothing.
TEST(SpritehexCli, PngWithoutColourStripExits2) {
    TempDir dir;
    const std::string exe = dir.Path("spritehex-cli");
    std::filesystem::copy_file(SPRITEHEX_CLI, exe);
    const std::string file = dir.Write("walk.dat", SpriteFileImage(8, 8, Zeros(64)));
    const ProgramRun run = RunProgram(dir, {"png", file, dir.Path("walk.png")}, {}, exe);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "spritehex-cli: Cannot open " + dir.Path("color.bmp") +
                           ": No such file or directory.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("walk.png")));
}

// png then import gives back every cel of the examples exactly, colour 0 included, with the
// color.bmp beside the program; without --size the import finds the scale and the size alone,
// and says it halved the picture.
TEST(SpritehexCli, ImportTakesBackEveryExportedCel) {
    TempDir dir;
    int cels = 0;
    for (const char* name : {"ship.dat", "font.dat", "walker.dat"}) {
        const std::string file = std::string(SPRITEHEX_EXAMPLES) + "/" + name;
        const std::string dat = ReadText(file);
        ASSERT_GE(dat.size(), 3u) << file;
        const int width = dat[0];
        const int height = dat[1];
        for (int cel = 1; cel <= dat[2]; ++cel) {
            SCOPED_TRACE(std::string(name) + ", cel " + std::to_string(cel));
            const ProgramRun png =
                RunProgram(dir, {"png", "--cel", std::to_string(cel), file, dir.Path("x.png")});
            ASSERT_EQ(png.status, 0) << png.err;
            const ProgramRun import =
                RunProgram(dir, {"import", dir.Path("x.png"), dir.Path("y.dat")});
            ASSERT_EQ(import.status, 0) << import.err;
            EXPECT_EQ(import.err, "spritehex-cli: " + dir.Path("x.png") +
                                      " was taken at half its size: each 2 × 2 block became one "
                                      "pixel.\n");
            const std::size_t celSize = static_cast<std::size_t>(width * height);
            EXPECT_EQ(ReadText(dir.Path("y.dat")),
                      dat.substr(0, 2) + '\1' + dat.substr(3 + (cel - 1) * celSize, celSize));
            ++cels;
        }
    }
    EXPECT_EQ(cels, 9);
}

// tables then decode gives every cel as the chip shows its tables, in every format and kind: C
// holds one table of every cel per array, and two layers take the colours a file names.
TEST(SpritehexCli, DecodeReadsEveryFormatBack) {
    TempDir dir;
    const std::vector<std::vector<std::string>> formats = {
        {"hex"},
        {"hex", "--no-comma"},
        {"asm"},
        {"asm", "--number-style", "#"},
        {"asm", "--number-style", "0x", "--directive", ".byte"},
        {"asm", "--number-style", "&H"},
        {"asm", "--number-style", "h", "--eol", "crlf"},
        {"c", "--eol", "crlf"},
        {"basic"},
        {"bin"}};
    for (const char* name : {"ship.dat", "font.dat", "walker.dat"}) {
        const std::string file = std::string(SPRITEHEX_EXAMPLES) + "/" + name;
        const std::string dat = ReadText(file);
        const CapturedDocument doc =
            CaptureDocument(reinterpret_cast<const std::uint8_t*>(dat.data()));
        for (const GeneratorOptions options :
             {GeneratorOptions{}, GeneratorOptions{OutputType::kSprite, 1, true},
              GeneratorOptions{OutputType::kSprite, 2, false},
              GeneratorOptions{OutputType::kSprite, 2, true}, GeneratorOptions{OutputType::kChr}}) {
            for (const std::vector<std::string>& format : formats) {
                std::vector<std::string> tables = TablesArgs(options, file);
                tables.insert(tables.end() - 1, "--format");
                tables.insert(tables.end() - 1, format.begin(), format.end());
                tables.insert(tables.end() - 1, {"-o", "-"});
                std::string trace;
                for (const std::string& arg : tables) trace += " " + arg;
                SCOPED_TRACE(trace);
                EXPECT_NE(RunProgram(dir, tables, dir.Path("tables")).status, 2);

                GeneratedTables expected = GenerateTables(doc, options);
                if (!FindFormat(format[0])->namesLayerColours) expected.layerColours.clear();
                std::vector<std::string> decode = TablesArgs(options, dir.Path("tables"));
                decode[0] = "decode";
                decode.insert(decode.end() - 1, {"--size", std::to_string(doc.width) + "x" +
                                                               std::to_string(doc.height)});
                if (!TablesHoldColours(expected)) {
                    decode.insert(decode.end() - 1,
                                  {"--colour", options.layers == 2 ? "9,12" : "9"});
                }
                decode.push_back("-");
                const ProgramRun run = RunProgram(dir, decode);
                ASSERT_EQ(run.status, 0) << run.err;
                std::string shown = dat.substr(0, 3);
                std::vector<std::uint8_t> cel(static_cast<std::size_t>(doc.width * doc.height));
                for (int c = 0; c < doc.celCount; ++c) {
                    DecodeCel(expected, c, doc.width, doc.height, {9, 12}, cel.data());
                    shown.append(cel.begin(), cel.end());
                }
                EXPECT_EQ(run.out, shown);
            }
        }
    }
}

}  // namespace
