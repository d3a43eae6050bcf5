// keltoc test: the line per scenario, the summary, the exit code for each
// outcome, JSON and JUnit; keltoc run's snapshots in and out.
#include <nlohmann/json.hpp>

#include "cli/test_report.h"
#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

constexpr const char* kSquare = "DimS x\nCls\n? \"Number?\"\n-> x\nx Dup * PrtX\n0 Wait\nEnd\n";

std::string Scenario(const std::string& name, const std::string& result) {
    return "name: " + name +
           "\nprogram: prog.txt\nsteps:\n  - press: [enter, enter, 3, enter]\n"
           "  - expect-display: ['Number?       aD', '" +
           result + "']\n";
}

class TestCommand : public KeltocTest {
  protected:
    void SetUp() override {
        KeltocTest::SetUp();
        Write("prog.txt", kSquare);
    }
};

TEST_F(TestCommand, AllPassedExitsZeroWithTheSummary) {
    Write("a.scn.yaml", Scenario("three", "9"));
    Write("b.scn.yaml", Scenario("again", "9"));
    EXPECT_EQ(Run({"test", folder_.string(), "-j", "2"}), kSuccess) << err_.str();
    EXPECT_EQ(out_.str(), "ok   " + P("a.scn.yaml") + ": three\nok   " + P("b.scn.yaml") +
                              ": again\n2 passed, 0 failed\n");
}

TEST_F(TestCommand, AFailureShowsTheStepItsLineAndTheDisplay) {
    Write("a.scn.yaml", Scenario("three", "9"));
    Write("b.scn.yaml", Scenario("wrong", "10"));
    EXPECT_EQ(Run({"test", P("a.scn.yaml"), P("b.scn.yaml")}), kFailure);
    EXPECT_NE(out_.str().find("FAIL " + P("b.scn.yaml") +
                              ":5: expect-display: expected [\"Number?       aD\", \"10\"], "
                              "found [\"Number?       aD\", \"9\"]\n"
                              "+----------------+\n|Number?       aD|\n|9               |\n"),
              std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("\n1 passed, 1 failed\n"), std::string::npos);
}

TEST_F(TestCommand, AnUnusableFileExitsTwoAndTheOthersStillRun) {
    Write("a.scn.yaml", Scenario("three", "9"));
    Write("b.scn.yaml", "program: prog.txt\nsteps:\n  - presss: 3\n");
    EXPECT_EQ(Run({"test", folder_.string()}), kUsageError);
    EXPECT_NE(out_.str().find("ok   " + P("a.scn.yaml")), std::string::npos);
    EXPECT_NE(out_.str().find("ERROR " + P("b.scn.yaml") + ":3: unknown step 'presss'"),
              std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("1 file could not be used\n1 passed, 0 failed\n"), std::string::npos);
}

TEST_F(TestCommand, NothingToRunIsAUsageError) {
    EXPECT_EQ(Run({"test", P("absent")}), kUsageError);
    EXPECT_NE(err_.str().find("no such file or folder"), std::string::npos);
    std::filesystem::create_directories(folder_ / "empty");
    EXPECT_EQ(Run({"test", P("empty")}), kUsageError);
    EXPECT_NE(err_.str().find("no *.scn.yaml scenario found"), std::string::npos);
}

TEST_F(TestCommand, JsonAndJunitCarryTheSameOutcome) {
    Write("a.scn.yaml", Scenario("three", "9"));
    Write("b.scn.yaml", Scenario("<wrong>", "10"));
    EXPECT_EQ(Run({"test", folder_.string(), "--json", "--junit", P("out.xml")}), kFailure);
    const auto json = nlohmann::json::parse(out_.str());
    EXPECT_EQ(json["passed"], 1);
    EXPECT_EQ(json["failed"], 1);
    const auto& failed = json["scenarios"][1];
    EXPECT_EQ(failed["passed"], false);
    EXPECT_EQ(failed["failure"]["line"], 5);
    EXPECT_EQ(failed["failure"]["step"], "expect-display");
    EXPECT_EQ(failed["display"][1], "9               ");

    const std::string xml = Contents(folder_ / "out.xml");
    EXPECT_NE(xml.find("<testsuite name=\"keltoc test\" tests=\"2\" failures=\"1\" errors=\"0\""),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("name=\"&lt;wrong&gt;\""), std::string::npos);
    EXPECT_NE(xml.find("<failure message=\"" + P("b.scn.yaml") + ":5: expect-display"),
              std::string::npos);
}

class RunSnapshots : public KeltocTest {};

TEST_F(RunSnapshots, ARunGoesOnFromTheStateItSaved) {
    Write("count.txt",
          "DimI count\nTop: count Incr -> count\n! [1,1] count\ncount 255 And -> PORT\nGoTo Top\n");
    ASSERT_EQ(Run({"run", P("count.txt"), "--keys", "enter,enter", "--max-instructions", "3000",
                   "--json"}),
              kSuccess);
    const auto whole = nlohmann::json::parse(out_.str());
    ASSERT_EQ(Run({"run", P("count.txt"), "--keys", "enter,enter", "--max-instructions", "1000",
                   "--snapshot-out", P("half.snap")}),
              kSuccess);
    ASSERT_EQ(Run({"run", P("count.txt"), "--max-instructions", "2000", "--snapshot-in",
                   P("half.snap"), "--json"}),
              kSuccess)
        << err_.str();
    const auto resumed = nlohmann::json::parse(out_.str());
    for (const char* field :
         {"display", "integers", "pins", "instructions", "stack", "programCounter"})
        EXPECT_EQ(resumed[field], whole[field]) << field;
}

TEST_F(RunSnapshots, ASnapshotOfAnotherProgramOrADamagedOneIsRefused) {
    Write("prog.txt", kSquare);
    Write("other.txt", "End\n");
    ASSERT_EQ(Run({"run", P("prog.txt"), "--keys", "enter", "--snapshot-out", P("s.snap")}),
              kSuccess);
    EXPECT_EQ(Run({"run", P("other.txt"), "--snapshot-in", P("s.snap")}), kUsageError);
    EXPECT_NE(err_.str().find("is a snapshot of another program (--snapshot-any-program"),
              std::string::npos);
    // Anyway: the snapshot's memory holds the square program, at its prompt.
    EXPECT_EQ(Run({"run", P("other.txt"), "--snapshot-in", P("s.snap"), "--snapshot-any-program",
                   "--keys", "enter"}),
              kSuccess);
    EXPECT_NE(out_.str().find("|Number?"), std::string::npos) << out_.str();

    std::string bytes = Contents(folder_ / "s.snap");
    bytes[bytes.size() / 2] ^= 0x10;
    Write("bad.snap", bytes);
    EXPECT_EQ(Run({"run", P("prog.txt"), "--snapshot-in", P("bad.snap")}), kUsageError);
    EXPECT_NE(err_.str().find("bad.snap: damaged snapshot"), std::string::npos) << err_.str();
}

}  // namespace
}  // namespace zr::cli

namespace zr::cli {
namespace {

TEST(TestReport, JunitEscapesWhatXmlCannotHold) {
    ScenarioOutcome unusable;
    unusable.file = "a&b.scn.yaml";
    unusable.name = "x";
    unusable.unusable = scenario::LoadError{"a&b.scn.yaml", 3, "bad \"<key>\" \x01 here"};
    ScenarioOutcome passed;
    passed.file = "ok.scn.yaml";
    passed.name = "fine";
    const std::string xml = JunitXml({unusable, passed});
    EXPECT_NE(xml.find("tests=\"2\" failures=\"0\" errors=\"1\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("classname=\"a&amp;b.scn.yaml\""), std::string::npos) << xml;
    EXPECT_NE(
        xml.find("<error message=\"a&amp;b.scn.yaml:3: bad &quot;&lt;key&gt;&quot; ? here\"/>"),
        std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<testcase classname=\"ok.scn.yaml\" name=\"fine\""), std::string::npos);
    EXPECT_EQ(TotalsOf({unusable, passed}).unusable, 1);
}

}  // namespace
}  // namespace zr::cli
