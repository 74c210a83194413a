#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <vector>

namespace vesk::cli {
namespace {

Command parse(std::initializer_list<std::string_view> arguments) {
  const std::vector<std::string_view> list(arguments);
  return parseCommandLine(list);
}

struct JobCase {
  const char* name;
  std::vector<std::string_view> arguments;
  Direction direction;
  bool utf8;
  std::optional<std::string> output;
  std::vector<std::string> inputs;
};

void PrintTo(const JobCase& c, std::ostream* out) { *out << c.name; }

class ParsesJob : public ::testing::TestWithParam<JobCase> {};

TEST_P(ParsesJob, IntoDirectionOutputAndInputs) {
  const JobCase& c = GetParam();
  const Command command = parseCommandLine(c.arguments);
  const auto* job = std::get_if<ConversionJob>(&command);
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->direction, c.direction);
  EXPECT_EQ(job->utf8, c.utf8);
  EXPECT_EQ(job->output, c.output);
  EXPECT_EQ(job->inputs, c.inputs);
}

constexpr auto kStandard = Direction::ToStandard;
constexpr auto kLocal = Direction::ToLocal;

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ParsesJob,
    ::testing::Values(
        JobCase{"StandardFromStdin", {"--to-standard"}, kStandard, false, {}, {"-"}},
        JobCase{"LocalFromStdin", {"--to-local"}, kLocal, false, {}, {"-"}},
        JobCase{"DirectionAfterFiles", {"a", "--to-local", "b"}, kLocal, false, {}, {"a", "b"}},
        JobCase{"DirectionTwiceIsOnce", {"--to-local", "--to-local"}, kLocal, false, {}, {"-"}},
        JobCase{"Utf8", {"--utf-8", "--to-standard"}, kStandard, true, {}, {"-"}},
        JobCase{"OutputSeparate", {"--to-local", "-o", "out", "in"}, kLocal, false, "out", {"in"}},
        JobCase{"OutputJoined", {"--to-local", "-oout"}, kLocal, false, "out", {"-"}},
        JobCase{"OutputNamedLikeAnOption",
                {"-o", "--to-local", "--to-standard"},
                kStandard,
                false,
                "--to-local",
                {"-"}},
        JobCase{
            "DashIsStdin", {"--to-standard", "-", "a", "-"}, kStandard, false, {}, {"-", "a", "-"}},
        JobCase{"DoubleDashEndsOptions",
                {"--to-standard", "--", "--to-local", "-o"},
                kStandard,
                false,
                {},
                {"--to-local", "-o"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct UsageCase {
  const char* name;
  std::vector<std::string_view> arguments;
  const char* message;
};

void PrintTo(const UsageCase& c, std::ostream* out) { *out << c.name; }

class RejectsUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(RejectsUsage, WithMessageNamingTheProblem) {
  const Command command = parseCommandLine(GetParam().arguments);
  const auto* error = std::get_if<UsageError>(&command);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, RejectsUsage,
    ::testing::Values(
        UsageCase{"NoArguments", {}, "give a direction: --to-standard or --to-local"},
        UsageCase{"FilesOnly", {"a"}, "give a direction: --to-standard or --to-local"},
        UsageCase{"BothDirections",
                  {"--to-standard", "--to-local"},
                  "--to-standard and --to-local exclude each other"},
        UsageCase{"UnknownLongOption", {"--to-standard", "--fast"}, "unknown option '--fast'"},
        UsageCase{"UnknownShortOption", {"-x", "--to-local"}, "unknown option '-x'"},
        UsageCase{"OptionWithEqualsSign", {"--utf-8=yes"}, "unknown option '--utf-8=yes'"},
        UsageCase{"OutputWithoutName", {"--to-local", "-o"}, "-o needs an output file name"},
        UsageCase{"OutputEmptyName", {"--to-local", "-o", ""}, "-o needs an output file name"},
        UsageCase{"OutputTwice", {"--to-local", "-o", "a", "-ob"}, "-o given more than once"},
        UsageCase{"InPlaceWithOutput",
                  {"--to-local", "--in-place", "-o", "a", "b"},
                  "--in-place and -o exclude each other"},
        UsageCase{"InPlaceWithoutFiles",
                  {"--to-local", "--in-place"},
                  "--in-place needs the files to convert"},
        UsageCase{"InPlaceOfStandardInput",
                  {"--in-place", "--to-local", "a", "-"},
                  "--in-place cannot replace standard input ('-')"},
        UsageCase{"GuessWithDirection",
                  {"--guess", "--to-local", "a"},
                  "--guess takes only -v and file names"},
        UsageCase{"VerboseWithoutGuess", {"--to-local", "-v"}, "-v goes with --guess"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, GuessAndInPlaceKeepTheirFiles) {
  const Command guess = parse({"a", "-v", "--guess", "--", "-v"});
  ASSERT_TRUE(std::holds_alternative<GuessJob>(guess));
  EXPECT_TRUE(std::get<GuessJob>(guess).verbose);
  EXPECT_EQ(std::get<GuessJob>(guess).inputs, (std::vector<std::string>{"a", "-v"}));
  const Command inPlace = parse({"--in-place", "--to-local", "a", "b"});
  ASSERT_TRUE(std::holds_alternative<ConversionJob>(inPlace));
  EXPECT_TRUE(std::get<ConversionJob>(inPlace).inPlace);
  EXPECT_EQ(std::get<ConversionJob>(inPlace).inputs, (std::vector<std::string>{"a", "b"}));
}

TEST(CommandLine, HelpAndVersionNeedNoDirection) {
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"--help"})));
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"-h", "--to-standard", "--to-local"})));
  EXPECT_TRUE(std::holds_alternative<ShowVersion>(parse({"--version"})));
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"--version", "--help"})));
  EXPECT_TRUE(std::holds_alternative<UsageError>(parse({"--help", "--bogus"})));
}

}  // namespace
}  // namespace vesk::cli
