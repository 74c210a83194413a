// Runs the vesktext-convert binary as a user would.

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/convert.h"

extern char** environ;

namespace vesk::cli {
namespace {

namespace fs = std::filesystem;

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info->name();
    std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests: Name/Row
    dir_ = fs::temp_directory_path() /
           ("vesktext-convert-test-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path file(const std::string& name, const std::string& bytes) {
    writeFile(dir_ / name, bytes);
    return dir_ / name;
  }

  // Runs the program with the given standard input; stdout is the named
  // file when given (to try a full device, for example).
  Result run(const std::vector<std::string>& arguments, const std::string& input = "",
             const std::string& stdoutPath = "") {
    const fs::path in = file(".stdin", input);
    const fs::path out = stdoutPath.empty() ? dir_ / ".stdout" : fs::path(stdoutPath);
    const fs::path err = dir_ / ".stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
    std::vector<std::string> argv = {VESKTEXT_CONVERT_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    pid_t pid = 0;
    Result result;
    if (posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ) == 0) {
      int status = 0;
      ::waitpid(pid, &status, 0);
      result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (stdoutPath.empty()) result.out = readFile(out);
    result.err = readFile(err);
    fs::remove(in);
    fs::remove(dir_ / ".stdout");
    fs::remove(err);
    return result;
  }

  // The names in the test directory, hidden ones (temporary files) included.
  std::vector<std::string> listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* problem;
};

class BadUsage : public ProgramTest, public ::testing::WithParamInterface<UsageCase> {};

void PrintTo(const UsageCase& c, std::ostream* out) { *out << c.name; }

TEST_P(BadUsage, ExitsWithTwoAndOneLineNamingTheProblem) {
  const Result result = run(GetParam().arguments, "ignored");
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(GetParam().problem), std::string::npos) << result.err;
  EXPECT_EQ(result.err.rfind("vesktext-convert: ", 0), 0u) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Program, BadUsage,
    ::testing::Values(UsageCase{"NoDirection", {}, "--to-standard or --to-local"},
                      UsageCase{"BothDirections", {"--to-standard", "--to-local"}, "exclude"},
                      UsageCase{"UnknownOption", {"--to-local", "--frobnicate"}, "'--frobnicate'"},
                      UsageCase{"OutputWithoutValue", {"--to-local", "-o"}, "-o needs"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramTest, HelpAndVersion) {
  const Result help = run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: vesktext-convert --to-standard|--to-local", 0), 0u);
  EXPECT_NE(help.out.find("invalid"), std::string::npos);
  const Result version = run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out,
            "vesktext-convert 1.20\n"
            "Copyright (c) 2026 The Vesktext developers; MIT License (see LICENSE).\n");
  EXPECT_EQ(version.err, "");
}

TEST_F(ProgramTest, StandardInputToStandardOutput) {
  const std::string local = "\xb6\xde\xb2\xc4\xde\r\n\xf5\x41\xf0";
  const Result standard = run({"--to-standard"}, local);
  EXPECT_EQ(standard.exitCode, 0);
  EXPECT_EQ(standard.out, ConvertHtoZ(local));
  EXPECT_EQ(standard.err, "");
  const Result back = run({"--to-local", "-o", "-", "-"}, standard.out);
  EXPECT_EQ(back.exitCode, 0);
  EXPECT_EQ(back.out, ConvertZtoH(standard.out));
}

TEST_F(ProgramTest, EachFileEndsOnItsOwn) {
  // ｶ at the end of the first file is widened plainly; the second file's
  // ﾞ is a mark standing alone, not folded into the ｶ.
  const auto first = file("first", "A\xb6");
  const auto second = file("second",
                           "\xde"
                           "B\xf0");
  const Result result = run({"--to-standard", first, "-", second}, "\xf1");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, ConvertHtoZ("A\xb6") + ConvertHtoZ("\xf1") +
                            ConvertHtoZ("\xde"
                                        "B\xf0"));
  EXPECT_NE(result.out, ConvertHtoZ("A\xb6\xf1\xde"
                                    "B\xf0"));
}

TEST_F(ProgramTest, OutputFileIsWrittenAndReplaced) {
  const auto input = file("in", "\x83\x4b\x82\xa0");
  file("out", "old contents that are longer");
  fs::permissions(dir_ / "out",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const Result result = run({"--to-local", "-o", "out", "in"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(readFile(dir_ / "out"), ConvertZtoH("\x83\x4b\x82\xa0"));
  EXPECT_EQ(listing(), (std::vector<std::string>{"in", "out"}));
  EXPECT_EQ(fs::status(dir_ / "out").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProgramTest, NewOutputFileGetsTheUsualPermissions) {
  const auto input = file("in", "abc");
  const mode_t mask = ::umask(022);
  const Result result = run({"--to-local", "-o", "new", "in"});
  ::umask(mask);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(fs::status(dir_ / "new").permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                        fs::perms::group_read |
                                                        fs::perms::others_read);
}

TEST_F(ProgramTest, UnreadableFileNamesFileAndReason) {
  const Result missing = run({"--to-standard", "no-such-file"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err,
            "vesktext-convert: cannot read 'no-such-file': No such file or directory\n");
  fs::create_directory(dir_ / "folder");
  const Result folder = run({"--to-standard", "folder"});
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_EQ(folder.err, "vesktext-convert: cannot read 'folder': Is a directory\n");
}

TEST_F(ProgramTest, FailedRunLeavesNoPartialOutput) {
  file("good", std::string(200000, 'x'));
  const Result fresh = run({"--to-standard", "-o", "out", "good", "missing"});
  EXPECT_EQ(fresh.exitCode, 1);
  EXPECT_NE(fresh.err.find("'missing'"), std::string::npos);
  EXPECT_EQ(listing(), (std::vector<std::string>{"good"}));

  file("out", "kept");
  const Result existing = run({"--to-standard", "-o", "out", "good", "missing"});
  EXPECT_EQ(existing.exitCode, 1);
  EXPECT_EQ(readFile(dir_ / "out"), "kept");
  EXPECT_EQ(listing(), (std::vector<std::string>{"good", "out"}));
}

TEST_F(ProgramTest, UnwritableOutputNamesFileAndReason) {
  const auto input = file("in", "abc");
  const Result noFolder = run({"--to-local", "-o", "no-folder/out", "in"});
  EXPECT_EQ(noFolder.exitCode, 1);
  EXPECT_EQ(noFolder.err,
            "vesktext-convert: cannot write 'no-folder/out': No such file or directory\n");
  fs::create_directory(dir_ / "taken");
  const Result onFolder = run({"--to-local", "-o", "taken", "in"});
  EXPECT_EQ(onFolder.exitCode, 1);
  EXPECT_NE(onFolder.err.find("cannot write 'taken': "), std::string::npos);
  EXPECT_EQ(listing(), (std::vector<std::string>{"in", "taken"}));
}

TEST_F(ProgramTest, FullStandardOutputIsAnError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const Result result = run({"--to-standard"}, std::string(100000, 'a'), "/dev/full");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err,
            "vesktext-convert: cannot write standard output: No space left on device\n");
}

TEST_F(ProgramTest, Utf8RoundTrip) {
  const std::string text = "ガイドは「あ」√\r\nｶﾞ😀\n";
  const Result local = run({"--to-local", "--utf-8"}, text);
  EXPECT_EQ(local.exitCode, 0);
  const Result standard = run({"--to-standard", "--utf-8"}, local.out);
  EXPECT_EQ(standard.out, "ガイドは「あ」√\r\nガ?\n");
}

// Random mixed text, long enough for many read buffers, cut at arbitrary
// places by them.
std::string largeMixedText(std::size_t size) {
  std::mt19937 random(50);
  const std::string pieces[] = {"abc ",     "\r\n",     "\xb6\xde", "\xca\xdf", "\xb1", "\xf5\x41",
                                "\x88\xa4", "\x83\x4b", "\xde",     "\xf0",     "\x81"};
  std::string text;
  while (text.size() < size) text += pieces[random() % std::size(pieces)];
  return text;
}

TEST_F(ProgramTest, LargeInputEqualsOneShotConversion) {
  const std::string text = largeMixedText(3 << 20);
  file("big", text);
  const Result standard = run({"--to-standard", "-o", "standard", "big"});
  ASSERT_EQ(standard.exitCode, 0) << standard.err;
  const std::string expected = ConvertHtoZ(text);
  EXPECT_TRUE(readFile(dir_ / "standard") == expected);
  const Result local = run({"--to-local"}, expected);
  EXPECT_TRUE(local.out == ConvertZtoH(expected));
}

TEST_F(ProgramTest, LargeUtf8InputRoundTrips) {
  std::string text;
  while (text.size() < (1 << 20)) text += "ガイド あ√ ー\r\n日本語 ";
  const Result local = run({"--to-local", "--utf-8"}, text);
  ASSERT_EQ(local.exitCode, 0) << local.err;
  const Result standard = run({"--to-standard", "--utf-8"}, local.out);
  EXPECT_TRUE(standard.out == text);
}

}  // namespace
}  // namespace vesk::cli
