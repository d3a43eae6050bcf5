// keltoc and the file readers under careless or hostile input: special and
// oversized files, an output over the source, failed writes, bad numbers,
// control characters, byte-order marks, extreme literals, a full stdout.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

using HostileInput = KeltocTest;

constexpr const char* kProgram = "Dup\nEnd\n";
constexpr std::uintmax_t kTextCap = 64u << 20;

std::string ImageOf(const std::string& jsonText) {
    return nlohmann::json::parse(jsonText)["image"].get<std::string>();
}

TEST_F(HostileInput, OnlyRegularFilesWithinTheirCapAreRead) {
    Write("p.txt", kProgram);
    ASSERT_EQ(::mkfifo(P("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(P("fifo.bin").c_str(), 0600), 0);
    std::filesystem::create_directory(folder_ / "folder");
    std::filesystem::create_directory(folder_ / "folder.bin");
    std::filesystem::create_symlink("/dev/zero", folder_ / "zero.bin");
    std::filesystem::resize_file(Write("big.txt", ""), kTextCap + 1);  // sparse
    Write("big.bin", std::string(1025, '\0'));
    const std::string notRegular = ": not a regular file\n";
    const std::string folder = ": Is a directory\n";
    const struct {
        std::vector<std::string> args;
        std::string file, reason;
    } cases[] = {
        {{"build", P("fifo")}, P("fifo"), notRegular},
        {{"build", P("folder")}, P("folder"), folder},
        {{"build", "/dev/zero"}, "/dev/zero", notRegular},
        {{"build", "/dev/urandom"}, "/dev/urandom", notRegular},
        {{"build", P("big.txt")}, P("big.txt"), ": larger than 64 MB\n"},
        {{"run", P("fifo")}, P("fifo"), notRegular},
        {{"run", P("fifo.bin")}, P("fifo.bin"), notRegular},
        {{"run", P("folder.bin")}, P("folder.bin"), folder},
        {{"run", P("zero.bin")}, P("zero.bin"), notRegular},
        {{"run", P("big.bin")}, P("big.bin"), ": larger than 1024 bytes\n"},
        {{"run", P("p.txt"), "--serial-in", P("fifo")}, P("fifo"), notRegular},
        {{"run", P("p.txt"), "--serial-in", "/dev/zero"}, "/dev/zero", notRegular},
        {{"run", P("p.txt"), "--serial-in", P("folder")}, P("folder"), folder},
        {{"run", P("p.txt"), "--serial-in", P("big.txt")}, P("big.txt"), ": larger than 64 MB\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), kUsageError) << c.args[1];
        EXPECT_EQ(err_.str(), "keltoc: cannot read " + c.file + c.reason);
    }
    // A link to a regular file is followed.
    std::filesystem::create_symlink(folder_ / "p.txt", folder_ / "link.txt");
    EXPECT_EQ(Run({"build", P("link.txt")}), kSuccess) << err_.str();
}

// A NUL would cut "keltoc<NUL>.bib" to "keltoc", the executable beside the libraries.
TEST_F(HostileInput, LibrariesThatCannotBeReadFailTheCompileWithTheReason) {
    ASSERT_EQ(::mkfifo(P("fifo.bib").c_str(), 0600), 0);
    std::filesystem::create_directory(folder_ / "folder.bib");
    std::filesystem::resize_file(Write("big.bib", ""), kTextCap + 1);
    Write("keltoc", "Dup\n");
    const std::string failed = ":1:1: error: Произошла ошибка чтения текста из файла!\n";
    const std::string unread = ":1:1: error: Файл библиотеки не прочитан: ";
    const std::string control = ":1:1: error: Имя библиотеки содержит управляющие символы\n";
    const struct {
        std::string name, error;
    } cases[] = {
        {"fifo", unread + P("fifo") + ".bib (это не обычный файл)\n"},
        {"folder", unread + P("folder") + ".bib (это папка)\n"},
        {"big", unread + P("big") + ".bib (файл больше 64 МБ)\n"},
        {std::string("keltoc\0", 7), control},
        {"a\x1B", control},
    };
    for (const auto& c : cases) {
        const auto source = Write("main.txt", "$Lib " + c.name + "\nEnd\n");
        EXPECT_EQ(Run({"build", source.string(), "--lib-dir", folder_.string()}), kFailure);
        EXPECT_EQ(err_.str(), source.string() + failed + source.string() + c.error);
    }
}

TEST_F(HostileInput, TheImageNeverOverwritesTheSource) {
    const auto source = Write("p.txt", kProgram);
    std::filesystem::create_hard_link(source, folder_ / "hard.txt");
    std::filesystem::create_symlink(source, folder_ / "soft.txt");
    for (const char* output : {"p.txt", "hard.txt", "soft.txt"}) {
        EXPECT_EQ(Run({"build", source.string(), "-o", P(output)}), kUsageError) << output;
        EXPECT_EQ(err_.str(),
                  "keltoc: the image would overwrite the source " + source.string() + "\n");
        EXPECT_EQ(Contents(source), kProgram);
    }
    EXPECT_EQ(Run({"build", source.string(), "-o", ""}), kUsageError);
    EXPECT_EQ(Run({"build", source.string(), "-o", P("no/such/x.bin")}), kUsageError);
    EXPECT_EQ(err_.str(),
              "keltoc: cannot write " + P("no/such/x.bin") + ": No such file or directory\n");
}

// Counts and token lists: no negative, zero or out-of-range value gets through.
TEST_F(HostileInput, NumbersInOptionsAreChecked) {
    const auto source = Write("p.txt", kProgram);
    const struct {
        const char* option;
        const char* value;
        int exitCode;
    } cases[] = {
        {"--max-instructions", "-1", kUsageError},
        {"--max-instructions", "0", kUsageError},
        {"--max-instructions", "18446744073709551616", kUsageError},
        {"--max-instructions", "1e6", kUsageError},
        {"--max-instructions", "", kUsageError},
        {"--max-instructions", "18446744073709551615", kSuccess},
        {"--instructions-per-tick", "-1", kUsageError},
        {"--instructions-per-tick", "0", kUsageError},
        {"--instructions-per-tick", "1", kSuccess},
        {"--keys", "@18446744073709551616:enter", kUsageError},
        {"--keys", "@-1:enter", kUsageError},
        {"--keys", "@5:", kUsageError},
        {"--keys", "enter,,enter", kUsageError},
        {"--keys", "enter,", kUsageError},
        {"--keys", "@18446744073709551615:enter", kSuccess},
        {"--keys", " enter , @3: tick ", kSuccess},
        {"--port", "256", kUsageError},
        {"--port", "-1", kUsageError},
        {"--port", "0x100", kUsageError},
        {"--port", "0xFF", kSuccess},
        {"--adc", "1,2,3", kUsageError},
        {"--adc", "0,0,0,1024", kUsageError},
        {"--adc", "-1,0,0,0", kUsageError},
        {"--adc", "0,0,0,1023", kSuccess},
        {"--serial-in", "", kUsageError},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Run({"run", source.string(), c.option, c.value}), c.exitCode)
            << c.option << " " << c.value << "\n"
            << err_.str();
}

// A program cannot drive the terminal: the box shows control characters as
// "·"; JSON keeps them exactly, escaped. File and library names in messages
// show them as \xNN.
TEST_F(HostileInput, ControlCharactersAreShownNotObeyed) {
    const auto source = Write("title.txt", "Cls\n? \"a\x1B]0;T\x07z\"\nEnd\n");
    EXPECT_EQ(Run({"run", source.string(), "--keys", "enter,enter"}), kSuccess) << err_.str();
    EXPECT_EQ(out_.str().find('\x1B'), std::string::npos);
    EXPECT_NE(out_.str().find("|a·]0;T·z"), std::string::npos) << out_.str();
    EXPECT_EQ(Run({"run", source.string(), "--keys", "enter,enter", "--json"}), kSuccess);
    EXPECT_NE(out_.str().find("a\\u001b]0;T\\u0007z"), std::string::npos) << out_.str();

    const auto badName = Write("x\x1B[2J.txt", "nosuchword\n");
    EXPECT_EQ(Run({"build", badName.string()}), kFailure);
    EXPECT_EQ(err_.str(), P("x\\x1B[2J.txt") + ":1:1: error: Ошибка синтаксиса!\n");
    EXPECT_EQ(Run({"build", P("gone\x9B.txt")}), kUsageError);
    EXPECT_EQ(err_.str(),
              "keltoc: cannot read " + P("gone\\x9B.txt") + ": No such file or directory\n");
}

// Every reader drops a byte-order mark; UTF-16 with its mark is decoded.
TEST_F(HostileInput, ByteOrderMarksAreSkippedEverywhere) {
    const auto utf16 = [](const std::string& ascii, bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char c : ascii) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
        return bytes;
    };
    const std::string rtf = "{\\rtf1\\ansi Dup\\par End}";
    // A stray last byte of UTF-16 (an odd count) becomes U+FFFD, here inside a comment.
    const std::string commented = std::string(kProgram) + "' note";
    const std::string sources[] = {
        "\xEF\xBB\xBF" + std::string(kProgram),
        "\xEF\xBB\xBF" + rtf,
        utf16(kProgram, false),
        utf16(kProgram, true),
        utf16(rtf, false),
        utf16(commented, false) + "x",
        utf16(commented, true) + "\x04",
        utf16(commented, false) + "\xD8",
    };
    for (const auto& bytes : sources) {
        EXPECT_EQ(Run({"build", Write("bom.zrt", bytes).string(), "--json"}), kSuccess)
            << err_.str();
        EXPECT_EQ(ImageOf(out_.str()).substr(0, 6), "696600");
    }
    Write("twice.bib", "\xEF\xBB\xBFTwice: Dup +\nRet\n");
    const auto main = Write("main.txt", "$Lib twice\n3 call Twice\nEnd\n");
    EXPECT_EQ(Run({"build", main.string(), "--lib-dir", folder_.string()}), kSuccess) << err_.str();
}

// An RTF source cut short (a full disk, a broken copy) is refused, as the environment warns
// of it; a complete one and plain text that merely lacks a brace still compile.
TEST_F(HostileInput, ARichTextSourceCutShortIsRefused) {
    const std::string whole =
        "{\\rtf1\\ansi{\\colortbl;\\red0\\green0\\blue255;}\\cf1 Dup\\cf0\\par End}";
    const auto utf16 = [](const std::string& ascii) {
        std::string bytes = "\xFF\xFE";
        for (char c : ascii) bytes += std::string{c, '\0'};
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
        bool damaged;
    } cases[] = {
        {"whole", whole, false},
        {"cut_in_a_word", whole.substr(0, whole.size() - 3), true},
        {"cut_in_the_colour_table", whole.substr(0, 20), true},
        {"only_the_start", "{\\rtf", true},
        {"utf8_mark", "\xEF\xBB\xBF" + whole.substr(0, whole.size() - 1), true},
        {"utf16_mark", utf16(whole.substr(0, whole.size() - 1)), true},
        {"plain_text_with_a_brace", "Dup\n' {\\rtf is not at the start\nEnd\n", false},
    };
    for (const auto& c : cases) {
        const auto source = Write(std::string(c.name) + ".zrt", c.bytes);
        const std::vector<std::string> commands[] = {
            {"build", source.string()}, {"run", source.string(), "--keys", "enter,enter"}};
        for (const auto& args : commands) {
            SCOPED_TRACE(std::string(c.name) + " " + args[0]);
            const int code = Run(args);
            if (!c.damaged) {
                EXPECT_EQ(code, kSuccess) << err_.str();
                continue;
            }
            EXPECT_EQ(code, kUsageError);
            EXPECT_EQ(err_.str(), "keltoc: cannot read " + source.string() +
                                      ": the file is damaged: it ends in the middle\n");
            EXPECT_EQ(out_.str(), "");
        }
    }
}

TEST_F(HostileInput, SerialInputIsReadLineByLine) {
    const auto source = Write("io.txt", "INPUT INPUT * PRINT INPUT PRINT INPUT PRINT INPUT\nEnd\n");
    Write("serial.txt", "2.5\r\n-4\n\n7");
    EXPECT_EQ(Run({"run", source.string(), "--keys", "enter,enter", "--serial-in", P("serial.txt"),
                   "--json"}),
              kSuccess)
        << err_.str();
    const auto result = nlohmann::json::parse(out_.str());
    EXPECT_EQ(result["serialOut"], nlohmann::json({"-10", "0", "7"}));
    EXPECT_EQ(result["stopReason"], "serial-input-ended");
}

// Overflow and underflow are decided from the value: a literal too large
// for a double gets the message every literal too large for a Single gets;
// one too small becomes 0 as 1E-50 does.
TEST_F(HostileInput, ExtremeLiteralsBehaveAsOtherOutOfRangeNumbers) {
    const std::string zeros(400, '0');
    const auto build = [&](const std::string& literal) {
        const int code = Run({"build", Write("n.txt", literal + "\nEnd\n").string(), "--json"});
        const auto result = nlohmann::json::parse(out_.str());
        return std::make_pair(code, code == kSuccess
                                        ? result["image"].get<std::string>()
                                        : result["messages"][0]["text"].get<std::string>());
    };
    const auto tooLarge = build("1E39");
    EXPECT_EQ(tooLarge,
              std::make_pair(int(kFailure), std::string("Неизвестная ошибка компиляции!")));
    const auto tooSmall = build("1E-50");
    ASSERT_EQ(tooSmall.first, kSuccess);
    EXPECT_EQ(tooSmall.second.substr(0, 12), "730000000066");
    // The reader's own cases of both kinds are in the numbers tests.
    EXPECT_EQ(build("1" + zeros), tooLarge);
    EXPECT_EQ(build("0." + zeros + "1"), tooSmall);
}

TEST_F(HostileInput, AFailedWriteToStandardOutputFailsTheRun) {
    const auto source = Write("p.txt", kProgram);
    const std::string keltoc = std::string(ZR_BINARY_DIR) + "/cli/keltoc";
    for (const std::string args : {" build ", " run --json "}) {
        std::string command = "'" + keltoc + "'";
        command += args;
        command += "'" + source.string() + "' >/dev/full 2>/dev/null";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), kUsageError) << args;
    }
}

}  // namespace
}  // namespace zr::cli
