// Runs the vesktext-convert binary as a user would.

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
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

// The program, or with VESKTEXT_CONVERT (and VESKTEXT_CONVERT_LAUNCHER, such
// as wine) another build of it.
const std::vector<std::string>& programCommand() {
  static const std::vector<std::string> command = [] {
    std::vector<std::string> words;
    if (const char* launcher = std::getenv("VESKTEXT_CONVERT_LAUNCHER")) words.push_back(launcher);
    const char* program = std::getenv("VESKTEXT_CONVERT");
    words.push_back(program ? program : VESKTEXT_CONVERT_PATH);
    return words;
  }();
  return command;
}

fs::perms permissions(const fs::path& path) { return fs::status(path).permissions(); }

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

  // How to start the program, beyond its arguments and standard input.
  struct Launch {
    std::string stdoutPath;            // standard output into this file (a full device)
    std::vector<int> closed;           // descriptors 0-2 to start closed
    std::vector<std::string> wrapper;  // a command to run it under (setpriv, unshare)
  };

  // Runs the program with the given standard input, in the test directory.
  Result run(const std::vector<std::string>& arguments, const std::string& input = "",
             const Launch& launch = {}) {
    const fs::path in = file(".stdin", input);
    const fs::path out = launch.stdoutPath.empty() ? dir_ / ".stdout" : fs::path(launch.stdoutPath);
    const fs::path err = dir_ / ".stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    for (const int fd : launch.closed) posix_spawn_file_actions_addclose(&actions, fd);
    posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
    std::vector<std::string> argv = launch.wrapper;
    argv.insert(argv.end(), programCommand().begin(), programCommand().end());
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    pid_t pid = 0;
    Result result;
    if (posix_spawnp(&pid, pointers[0], &actions, nullptr, pointers.data(), environ) == 0) {
      int status = 0;
      ::waitpid(pid, &status, 0);
      result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (launch.stdoutPath.empty()) result.out = readFile(out);
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

// The command line's own tests name each problem; here, that one reaches the
// user as exit 2 and one line.
TEST_F(ProgramTest, BadUsageExitsWithTwoAndOneLine) {
  const Result result = run({"--to-local", "--frobnicate"}, "ignored");
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "vesktext-convert: unknown option '--frobnicate' (see --help)\n");
}

TEST_F(ProgramTest, HelpAndVersion) {
  const Result help = run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: vesktext-convert --to-standard|--to-local", 0), 0u);
  EXPECT_NE(help.out.find("--replace"), std::string::npos);
  const Result version = run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out,
            "vesktext-convert 1.20\n"
            "Copyright (c) 2026 The Vesktext developers; MIT License (see LICENSE).\n");
  EXPECT_EQ(version.err, "");
}

TEST_F(ProgramTest, StandardInputToStandardOutput) {
  // Line breaks of both kinds and 0x1A (Ctrl+Z) are bytes like any other.
  const std::string local = "\xb6\xde\xb2\xc4\xde\r\n\x1a\n\xf5\x41\xf0";
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

// A file that cannot be read or written: exit 1 and one line naming it and,
// in the system's words, why.
struct FailureCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* stdoutPath;
  const char* message;  // up to the system's words
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class FileFailure : public ProgramTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FileFailure, NamesTheFileAndTheReason) {
  const FailureCase& c = GetParam();
  fs::create_directory(dir_ / "folder");
  const Result result = run(c.arguments, std::string(100000, 'a'), {c.stdoutPath, {}, {}});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err.rfind(std::string("vesktext-convert: ") + c.message, 0), 0u) << result.err;
  EXPECT_GT(result.err.size(), std::strlen(c.message) + 20) << "no reason given";
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Program, FileFailure,
    ::testing::Values(
        FailureCase{
            "Missing", {"--to-standard", "no-such-file"}, "", "cannot read 'no-such-file': "},
        FailureCase{"Folder", {"--to-standard", "folder"}, "", "cannot read 'folder': "},
        FailureCase{"ControlCharactersInName",
                    {"--to-local", "no\nsuch\x1b"},
                    "",
                    "cannot read 'no\\nsuch\\x1B': "},
        FailureCase{"FullStandardOutput",
                    {"--to-standard"},
                    "/dev/full",
                    "cannot write standard output: "}),
    [](const auto& info) { return std::string(info.param.name); });

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

// What code page 932 cannot hold stops the conversion, names the place, and
// leaves -o's file as it was; --replace writes '?' and counts.
TEST_F(ProgramTest, Utf8ThatCannotBeWrittenStopsOrIsCounted) {
  const auto input = file("in", "ok\nab😀\xff\n");
  file("out", "kept");
  const Result stopped = run({"--to-local", "--utf-8", "-o", "out", "in"});
  EXPECT_EQ(stopped.exitCode, 1);
  EXPECT_EQ(stopped.err,
            "vesktext-convert: 'in', line 2, column 3: U+1F600 has no code in code page 932 "
            "(--replace writes '?')\n");
  EXPECT_EQ(readFile(dir_ / "out"), "kept");
  const Result replaced = run({"--to-local", "--utf-8", "--replace", "in", "-"}, "\xe3\x81");
  EXPECT_EQ(replaced.exitCode, 0);
  EXPECT_EQ(replaced.out, "ok\nab??\n?");
  EXPECT_EQ(replaced.err,
            "vesktext-convert: 'in': wrote '?' for 2 characters that code page 932 cannot hold "
            "or that is not UTF-8\n"
            "vesktext-convert: standard input: wrote '?' for 1 character that code page 932 "
            "cannot hold or that is not UTF-8\n");
}

// Each file replaced by its own conversion; one that fails stays as it was
// and the others are still converted.
TEST_F(ProgramTest, InPlaceConvertsEachFileAndGoesOnAfterAFailure) {
  file("a", "\xb6\xde");
  file("b", "\xf5\x41");
  fs::create_directory(dir_ / "folder");
  const Result result = run({"--to-standard", "--in-place", "a", "missing", "folder", "b"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(readFile(dir_ / "a"), ConvertHtoZ("\xb6\xde"));
  EXPECT_EQ(readFile(dir_ / "b"), ConvertHtoZ("\xf5\x41"));
  EXPECT_NE(result.err.find("cannot read 'missing': "), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("will not replace 'folder': not a regular file"), std::string::npos);
  EXPECT_EQ(listing(), (std::vector<std::string>{"a", "b", "folder"}));
}

TEST_F(ProgramTest, GuessNamesEachFileAndItsEvidence) {
  file("local", "\xb6\xde\xf5\x41");
  file("standard", "\x82\xa0\x83\x4b");
  file("ascii", "abc\r\n");
  file("utf-8", "\xe3\x81\x82");
  const Result result = run({"--guess", "local", "standard", "ascii", "missing", "utf-8", "-"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out,
            "local: local\nstandard: standard\nascii: ascii\nutf-8: unknown\n-: ascii\n");
  EXPECT_NE(result.err.find("cannot read 'missing': "), std::string::npos) << result.err;
  EXPECT_EQ(run({"--guess", "-v"}, "\xf5\x41").out,
            "-: local (local codes F040-F9FC: 1, half-width kana: 0, separate marks: 0, hiragana "
            "and katakana at standard codes: 0)\n");
}

// -o onto each kind of thing a name can lead to. Each row prepares the test
// directory, runs the conversion of "in" (ア) into "out", and checks.
struct TargetCase {
  const char* name;
  bool needsRoot;
  void (*prepare)(const fs::path& dir);
  std::vector<std::string> wrapper;  // run the program under this command
  int exitCode;
  const char* message;  // part of standard error
  void (*check)(const fs::path& dir);
};

void PrintTo(const TargetCase& c, std::ostream* out) { *out << c.name; }

class OutputTarget : public ProgramTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(OutputTarget, IsWrittenSafely) {
  const TargetCase& c = GetParam();
  if (c.needsRoot && ::geteuid() != 0) GTEST_SKIP() << "needs root";
  file("in", "\x83\x41");
  c.prepare(dir_);
  const mode_t mask = ::umask(022);
  const Result result = run({"--to-local", "-o", "out", "in"}, "", {"", {}, c.wrapper});
  ::umask(mask);
  EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
  EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  c.check(dir_);
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_NE(entry.path().filename().string().rfind(".out", 0), 0u) << "temporary file left";
  }
}

struct stat statusOf(const fs::path& path) {
  struct stat status {};
  ::stat(path.c_str(), &status);
  return status;
}
constexpr auto rw_r__r__ =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
constexpr uid_t kNobody = 65534;
const std::vector<std::string> kAsNobody = {"setpriv", "--reuid=65534", "--regid=65534",
                                            "--clear-groups"};

INSTANTIATE_TEST_SUITE_P(
    Program, OutputTarget,
    ::testing::Values(
        TargetCase{"NewFileGetsTheUsualPermissions",
                   false,
                   [](const fs::path&) {},
                   {},
                   0,
                   "",
                   [](const fs::path& dir) {
                     EXPECT_EQ(readFile(dir / "out"), "\xb1");
                     EXPECT_EQ(permissions(dir / "out"), rw_r__r__);
                   }},
        TargetCase{"FileKeepsItsPermissions",
                   false,
                   [](const fs::path& dir) {
                     writeFile(dir / "out", "old contents that are longer");
                     fs::permissions(dir / "out", fs::perms::owner_read | fs::perms::owner_write |
                                                      fs::perms::group_read);
                   },
                   {},
                   0,
                   "",
                   [](const fs::path& dir) {
                     EXPECT_EQ(readFile(dir / "out"), "\xb1");
                     EXPECT_EQ(permissions(dir / "out"), fs::perms::owner_read |
                                                             fs::perms::owner_write |
                                                             fs::perms::group_read);
                   }},
        TargetCase{"LinkIsFollowedAndStays",
                   false,
                   [](const fs::path& dir) {
                     writeFile(dir / "real", "old");
                     fs::create_symlink("real", dir / "out");
                   },
                   {},
                   0,
                   "",
                   [](const fs::path& dir) {
                     EXPECT_TRUE(fs::is_symlink(dir / "out"));
                     EXPECT_EQ(readFile(dir / "real"), "\xb1");
                   }},
        TargetCase{"DanglingLinkGetsItsTarget",
                   false,
                   [](const fs::path& dir) {
                     fs::create_directory(dir / "sub");
                     fs::create_symlink("sub/new", dir / "out");
                   },
                   {},
                   0,
                   "",
                   [](const fs::path& dir) {
                     EXPECT_TRUE(fs::is_symlink(dir / "out"));
                     EXPECT_EQ(readFile(dir / "sub/new"), "\xb1");
                   }},
        TargetCase{"LinkPlantedInASharedDirectoryIsRefused",
                   true,
                   [](const fs::path& dir) {
                     fs::permissions(dir, fs::perms::all | fs::perms::sticky_bit);
                     writeFile(dir / "victim", "precious");
                     fs::create_symlink("victim", dir / "out");
                     ASSERT_EQ(::lchown((dir / "out").c_str(), kNobody, kNobody), 0);
                   },
                   {},
                   1,
                   "lies in a shared directory and belongs to another user",
                   [](const fs::path& dir) { EXPECT_EQ(readFile(dir / "victim"), "precious"); }},
        TargetCase{"FifoIsWrittenInto",
                   false,
                   [](const fs::path& dir) {
                     ASSERT_EQ(::mkfifo((dir / "out").c_str(), 0600), 0);
                     // A reader, so that opening it for writing does not wait.
                     std::thread([dir] {
                       writeFile(dir / "read", readFile(dir / "out"));
                     }).detach();
                   },
                   {},
                   0,
                   "",
                   [](const fs::path& dir) {
                     EXPECT_TRUE(fs::is_fifo(dir / "out"));
                     for (int i = 0; i < 100 && readFile(dir / "read").empty(); ++i) {
                       std::this_thread::sleep_for(std::chrono::milliseconds(10));
                     }
                     EXPECT_EQ(readFile(dir / "read"), "\xb1");
                   }},
        TargetCase{"DeviceIsWrittenInto",
                   true,
                   [](const fs::path&) {},
                   // A null device of its own, in a mount namespace of its own.
                   {"unshare", "--mount", "--propagation", "private", "sh", "-c",
                    "mount -t tmpfs none . && mknod out c 1 3 && \"$0\" \"$@\" && "
                    "test -c out && echo still a device >&2"},
                   0,
                   "still a device",
                   [](const fs::path&) {}},
        TargetCase{"DirectoryFailsBeforeReading",
                   false,
                   [](const fs::path& dir) { fs::create_directory(dir / "out"); },
                   {},
                   1,
                   "cannot write 'out': Is a directory",
                   [](const fs::path& dir) { EXPECT_TRUE(fs::is_directory(dir / "out")); }},
        TargetCase{"OwnerKeptSetIdBitsDropped",
                   true,
                   [](const fs::path& dir) {
                     writeFile(dir / "out", "old");
                     ASSERT_EQ(::chown((dir / "out").c_str(), kNobody, kNobody), 0);
                     ASSERT_EQ(::chmod((dir / "out").c_str(), 06755), 0);
                   },
                   {},
                   0,
                   "",
                   [](const fs::path& dir) {
                     const struct stat status = statusOf(dir / "out");
                     EXPECT_EQ(status.st_uid, kNobody);
                     EXPECT_EQ(status.st_gid, kNobody);
                     EXPECT_EQ(status.st_mode & 07777, 0755u);
                     EXPECT_EQ(readFile(dir / "out"), "\xb1");
                   }},
        TargetCase{"OwnerThatCannotBeKeptRefuses", true,
                   [](const fs::path& dir) {
                     fs::permissions(dir, fs::perms::all);
                     writeFile(dir / "out", "root's");
                     fs::permissions(dir / "out", fs::perms::all);
                     fs::permissions(dir / "in", fs::perms::all);
                   },
                   kAsNobody, 1, "cannot keep its owner and group",
                   [](const fs::path& dir) { EXPECT_EQ(readFile(dir / "out"), "root's"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramTest, LongestAndJapaneseNames) {
  const auto input = file("入力.txt", "\x83\x41");
  const std::string longest(255, 'n');
  EXPECT_EQ(run({"--to-local", "-o", longest, "入力.txt"}).exitCode, 0);
  EXPECT_EQ(readFile(dir_ / longest), "\xb1");
  file("出力.txt", "old");
  EXPECT_EQ(run({"--to-local", "-o", "出力.txt", "入力.txt"}).exitCode, 0);
  EXPECT_EQ(readFile(dir_ / "出力.txt"), "\xb1");
  EXPECT_EQ(listing(), (std::vector<std::string>{longest, "入力.txt", "出力.txt"}));
}

// A standard stream that is closed at start is reported as one, and no file
// the program opens takes its place.
struct ClosedCase {
  const char* name;
  std::vector<std::string> arguments;
  int closed;
  int exitCode;
  const char* message;  // up to the system's words
};

void PrintTo(const ClosedCase& c, std::ostream* out) { *out << c.name; }

class ClosedStream : public ProgramTest, public ::testing::WithParamInterface<ClosedCase> {};

TEST_P(ClosedStream, IsAnErrorNotAFile) {
  const ClosedCase& c = GetParam();
  file("out", "kept");
  const Result result = run(c.arguments, "\x83\x41", {"", {c.closed}, {}});
  EXPECT_EQ(result.exitCode, c.exitCode);
  EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), c.exitCode) << result.err;
  EXPECT_EQ(readFile(dir_ / "out"), c.exitCode == 0 ? "\xb1" : "kept");
}

INSTANTIATE_TEST_SUITE_P(
    Program, ClosedStream,
    ::testing::Values(
        ClosedCase{"Input",
                   {"--to-local", "-o", "out"},
                   0,
                   1,
                   "vesktext-convert: cannot read standard input: "},
        ClosedCase{
            "OutputForHelp", {"--help"}, 1, 1, "vesktext-convert: cannot write standard output: "},
        ClosedCase{"OutputForText",
                   {"--to-local"},
                   1,
                   1,
                   "vesktext-convert: cannot write standard output: "},
        ClosedCase{"ErrorWhileAllGoesWell", {"--to-local", "-o", "out"}, 2, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A signal (on Windows Ctrl+C) in the middle of a conversion into -o's file
// leaves neither a temporary file nor a new file behind.
class Signalled : public ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(Signalled, LeavesNoTemporaryFile) {
  int input[2];
  ASSERT_EQ(::pipe(input), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], 0);
  posix_spawn_file_actions_addclose(&actions, input[1]);
  posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
  // The shell that runs the tests may have started it ignoring some signals.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigfillset(&defaults);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  std::vector<std::string> argv = programCommand();
  argv.insert(argv.end(), {"--to-local", "-o", "out"});
  std::vector<char*> pointers;
  for (std::string& argument : argv) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, pointers[0], &actions, &attributes, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ASSERT_EQ(spawned, 0);
  ::close(input[0]);
  const std::string chunk(1 << 16, 'a');
  ASSERT_EQ(::write(input[1], chunk.data(), chunk.size()), static_cast<ssize_t>(chunk.size()));
  for (int i = 0; i < 500 && listing().empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(listing().size(), 1u) << "no temporary file while converting";
  ::kill(pid, GetParam());
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(input[1]);
  // Ended by the signal, or under wine, where SIGINT is Ctrl+C, by the
  // program's handler with a status that says it failed.
  EXPECT_TRUE(WIFSIGNALED(status) ? WTERMSIG(status) == GetParam() : WEXITSTATUS(status) != 0);
  EXPECT_EQ(listing(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Program, Signalled,
                         ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE),
                         [](const auto& info) {
                           return "SIG" + std::string(sigabbrev_np(info.param));
                         });

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

}  // namespace
}  // namespace vesk::cli
