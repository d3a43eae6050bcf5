// keltoc run, driven directly: every JSON field, the effect of each option,
// the exit codes.
#include <nlohmann/json.hpp>

#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

using RunCommand = KeltocTest;
using nlohmann::json;

// Declares one variable of each area, sets them, reads the port, asks for a
// number at "?", prints 3 to the serial channel and leaves 1.5 twice on the stack.
constexpr const char* kEveryField =
    "DimS x\nDimI y, w\nDimB z\n2.5 -> x\n300 -> y\n7 -> z\nPORT -> w\nCls\n? \"Hi\"\n"
    "3 PRINT\n1.5 Dup\nEnd\n";

TEST_F(RunCommand, JsonHoldsTheWholeFinalState) {
    const auto source = Write("all.txt", kEveryField);
    ASSERT_EQ(
        Run({"run", source.string(), "--keys", "enter,enter,4,enter", "--port", "0x81", "--json"}),
        kSuccess)
        << err_.str();
    const auto r = json::parse(out_.str());
    EXPECT_EQ(r.size(), 18u) << r.dump();
    EXPECT_EQ(
        r["displayHistory"].back(),
        json({{"instructions", 9}, {"line1", "Hi            aD"}, {"line2", "  4             "}}));
    EXPECT_EQ(r["display"], json({"Hi            aD", "  4             "}));
    EXPECT_EQ(r["runState"], 0);
    EXPECT_EQ(r["programCounter"], 36);
    EXPECT_EQ(r["returnPointer"], 1);
    EXPECT_EQ(r["stackPointer"], 4);
    ASSERT_EQ(r["stack"].size(), 16u);
    EXPECT_EQ(r["stack"][1], 4.0);
    EXPECT_EQ(r["stack"][2], 1.5);
    EXPECT_EQ(r["stack"][3], 1.5);
    EXPECT_EQ(r["lastX"], 1.5);
    ASSERT_EQ(r["singles"].size(), 32u);
    EXPECT_EQ(r["singles"][0], 2.5);
    ASSERT_EQ(r["integers"].size(), 123u);
    EXPECT_EQ(r["integers"][7], 300);  // y: the first Integer after i..o
    EXPECT_EQ(r["integers"][8], 129);  // w: the port inputs
    ASSERT_EQ(r["bytes"].size(), 96u);
    EXPECT_EQ(r["bytes"][0], 7);
    EXPECT_EQ(r["pins"].size(), 14u);
    EXPECT_EQ(r["hexMode"], 0);
    EXPECT_EQ(r["eventFlags"], 0);
    EXPECT_EQ(r["instructions"], 15);
    EXPECT_EQ(r["serialOut"], json({"3"}));
    EXPECT_EQ(r["serialOutDropped"], 0);
    EXPECT_EQ(r["stopReason"], "stopped");
}

TEST_F(RunCommand, WithoutJsonItDrawsTheDisplay) {
    const auto source = Write("all.txt", kEveryField);
    ASSERT_EQ(Run({"run", source.string(), "--keys", "enter,enter,4,enter"}), kSuccess);
    EXPECT_EQ(out_.str(),
              "+----------------+\n|Hi            aD|\n|  4             |\n+----------------+\n");
}

TEST_F(RunCommand, OptionsReachTheDevice) {
    const auto adc = Write("adc.txt", "DimI w\nADC(4) -> w\nEnd\n");
    ASSERT_EQ(Run({"run", adc.string(), "--keys", "enter,enter", "--adc", "1,2,3,1000", "--json"}),
              kSuccess);
    EXPECT_EQ(json::parse(out_.str())["integers"][7], 1000);

    const auto all = Write("all.txt", kEveryField);
    ASSERT_EQ(Run({"run", all.string(), "--keys", "enter,enter,4,enter", "--max-instructions", "5",
                   "--json"}),
              kSuccess);
    const auto limited = json::parse(out_.str());
    EXPECT_EQ(limited["instructions"], 5);
    EXPECT_EQ(limited["stopReason"], "max-instructions");

    // Without keys the run ends at the greeting, waiting for input.
    ASSERT_EQ(Run({"run", all.string(), "--json"}), kSuccess);
    EXPECT_EQ(json::parse(out_.str())["stopReason"], "waiting-for-input");
}

// JSON has no NaN or infinity: they are written as strings, as --help says.
TEST_F(RunCommand, NonFiniteFloatsAreStrings) {
    std::string image(
        "\x73\x00\x00\xC0\x7F"  // PushSingle NaN
        "\x73\x00\x00\x80\x7F"  // PushSingle +infinity
        "\x73\x00\x00\x80\xFF"  // PushSingle -infinity
        "\x66",                 // End
        16);
    image.resize(1024, '\0');
    const auto path = Write("nan.bin", image);
    ASSERT_EQ(Run({"run", path.string(), "--keys", "enter,enter", "--json"}), kSuccess)
        << err_.str();
    const auto stack = json::parse(out_.str())["stack"];
    EXPECT_EQ(stack[1], "NaN");
    EXPECT_EQ(stack[2], "Infinity");
    EXPECT_EQ(stack[3], "-Infinity");
    ASSERT_EQ(Run({"run", "--help"}), kSuccess);
    EXPECT_NE(out_.str().find("\"NaN\", \"Infinity\" or \"-Infinity\""), std::string::npos);
}

TEST_F(RunCommand, ExitCodes) {
    Write("ok.txt", "Dup\nEnd\n");
    Write("divide.txt", "1 0 /\nEnd\n");
    Write("bad.txt", "nosuchword\n");
    Write("short.bin", std::string(1023, '\0'));
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string err;  // "": not checked
    } cases[] = {
        {{"run", P("ok.txt"), "--keys", "enter,enter"}, kSuccess, ""},
        {{"run", P("divide.txt"), "--keys", "enter,enter"}, kFailure, ""},
        {{"run", P("bad.txt")}, kFailure, P("bad.txt") + ":1:1: error: Ошибка синтаксиса!\n"},
        {{"run", P("short.bin")},
         kUsageError,
         "keltoc: " + P("short.bin") + " is not a 1024-byte image\n"},
        {{"run", P("none.txt")},
         kUsageError,
         "keltoc: cannot read " + P("none.txt") + ": No such file or directory\n"},
        {{"run"}, kUsageError, ""},
        {{"run", P("ok.txt"), "--frobnicate"}, kUsageError, ""},
        {{"run", P("ok.txt"), "--keys", "enter,nokey"},
         kUsageError,
         "keltoc: --keys: unknown key token 'nokey'\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), c.exitCode) << c.args.back() << "\n" << err_.str();
        if (!c.err.empty()) {
            EXPECT_EQ(err_.str(), c.err);
        }
    }
}

// $Lib looks in the library folder, then in the source's folder; the option
// may stand before or after the subcommand.
TEST_F(RunCommand, LibrariesComeFromTheLibraryFolderThenTheSourceFolder) {
    std::filesystem::create_directories(folder_ / "libs");
    std::filesystem::create_directories(folder_ / "src");
    Write("src/twice.bib", "Twice: Dup +\nRet\n");
    Write("libs/half.bib", "Half: 2 /\nRet\n");
    Write("src/half.bib", "Half: nosuchword\nRet\n");  // the library folder's copy wins
    const auto main = Write("src/main.txt", "$Lib twice\n$Lib half\n3 call Twice call Half\nEnd\n");
    for (const auto& args :
         {std::vector<std::string>{"--lib-dir", P("libs"), "run", main.string()},
          std::vector<std::string>{"run", main.string(), "--lib-dir", P("libs")},
          std::vector<std::string>{"build", main.string(), "--lib-dir", P("libs")}})
        EXPECT_EQ(Run(args), kSuccess) << args[0] << "\n" << err_.str();

    const auto lost = Write("src/lost.txt", "$Lib nowhere\nEnd\n");
    EXPECT_EQ(Run({"build", lost.string(), "--lib-dir", P("libs")}), kFailure);
    EXPECT_EQ(err_.str(), lost.string() +
                              ":1:1: error: Произошла ошибка чтения текста из файла!\n" +
                              lost.string() +
                              ":1:1: error: Файл библиотеки не найден: nowhere.bib; просмотрены "
                              "папки: " +
                              P("libs") + "; " + P("src") + "\n");
}

// The message selector is rounded (ties to even) before its range test, as a program
// writes it: a Single variable holding a fraction.
TEST_F(RunCommand, AMessageSelectorIsRoundedBeforeItsRangeTest) {
    const struct {
        const char* selector;
        const char* messages;
        const char* keys;
        std::string line1;  // empty: error 38
    } cases[] = {
        {"1.4", "\"A\"", "enter,enter", "A"},
        {"-1.4", "\"A\"", "enter,enter,7,enter", "A"},
        {"2.5", "\"A\", \"B\"", "enter,enter", "B"},
        {"-2.5", "\"A\", \"B\"", "enter,enter,7,enter", "B"},
        {"1.5", "\"A\", \"B\"", "enter,enter", "B"},
        {"0.5", "\"A\"", "enter,enter", ""},
        {"2.6", "\"A\", \"B\"", "enter,enter", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selector);
        const auto source = Write("m.txt", std::string("DimS s\nMessanges Mq [") + c.messages +
                                               "]\n" + c.selector + " -> s\nMq(s)\n0 Wait\nEnd\n");
        const int code = Run({"run", source.string(), "--keys", c.keys, "--json"});
        const auto r = json::parse(out_.str());
        const std::string line1 = r["display"][0];
        if (c.line1.empty()) {
            EXPECT_EQ(code, kFailure);
            EXPECT_EQ(line1.substr(0, 9), "Error 38 ") << line1;
            continue;
        }
        EXPECT_EQ(code, kSuccess) << err_.str();
        EXPECT_EQ(line1.substr(0, 14), c.line1 + std::string(13, ' '));  // then the status
        EXPECT_EQ(r["stopReason"], "waiting-for-input");
    }
}

}  // namespace
}  // namespace zr::cli
