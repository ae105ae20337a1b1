#include "quorbel_fixture.h"

#include "queryserv/component/version_info.h"
#include "support/files.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>

#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace korvane::component {
namespace {

using test::ComponentTest;
using QuorbelLibraryTest = test::XdgDataHomeTest;

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args` in this process's environment, capturing both output streams.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const test::TempDir& scratch) {
  const std::string outPath = scratch / "stdout.txt";
  const std::string errPath = scratch / "stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  ProgramRun run;
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << program;
    return run;
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = test::readBytes(outPath);
  run.err = test::readBytes(errPath);
  return run;
}

TEST_F(QuorbelLibraryTest, ExportsOnlyItsEntryPointsAndVersion) {
  const std::string command = std::string(NM_PROGRAM) + " -D --defined-only " + QUORBEL_LIBRARY;
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> symbols;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream words(line);
    std::string address, kind, name;
    if (words >> address >> kind >> name) symbols.insert(name);
  }
  ASSERT_EQ(::pclose(pipe), 0) << command;
  EXPECT_EQ(symbols,
            (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                   "DllUnregisterServer", "DllVersionInfo"}));
}

TEST_F(QuorbelLibraryTest, VersionDescriptorMatchesTheFileVersion) {
  void* library = ::dlopen(QUORBEL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr);
  const auto* version = static_cast<const VersionInfo*>(::dlsym(library, "DllVersionInfo"));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->fileVersion[0], 4);
  EXPECT_EQ(version->fileVersion[1], 1);
  EXPECT_EQ(version->fileVersion[2], 0);
  EXPECT_EQ(version->fileVersion[3], 3);
  EXPECT_STREQ(version->productName, "Korvane");
  EXPECT_STREQ(version->internalName, "Quorbel");
  EXPECT_STREQ(version->comments, "Korvane module, send and query server for data");
  EXPECT_TRUE(std::string(QUORBEL_LIBRARY).ends_with("libQuorbel.so.4.1.0.3")) << QUORBEL_LIBRARY;
  ::dlclose(library);
}

class QuorbelCallTest : public ComponentTest {
 protected:
  ProgramRun quorbelCall(const std::vector<std::string>& args) {
    return runProgram(QUORBEL_CALL, args, m_scratch);
  }
  test::TempDir m_scratch;
};

TEST_F(QuorbelCallTest, RegistersThenServerLeasingTrueShowsTheBoxOnStandardError) {
  const ProgramRun registered = quorbelCall({"register", QUORBEL_LIBRARY});
  ASSERT_EQ(registered.exitCode, 0) << registered.err;
  EXPECT_TRUE(std::filesystem::exists(registryFile()));

  const ProgramRun listed = quorbelCall({"list"});
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_NE(listed.out.find("{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}\tQuorbel.cn_dip\t"),
            std::string::npos)
      << listed.out;

  const ProgramRun called = quorbelCall({"call", "Quorbel.cn_dip", "ServerLeasing", "bool:true"});
  EXPECT_EQ(called.exitCode, 0);
  EXPECT_EQ(called.err,
            "Quorbel\n[information]\nYou do not have the authority to lease server\n[OK]\n");
  EXPECT_EQ(called.out, "result empty\nargument 1 bool:true\n");
}

TEST_F(QuorbelCallTest, ReportsFailuresWithTheirCodes) {
  ASSERT_EQ(quorbelCall({"register", QUORBEL_LIBRARY}).exitCode, 0);
  static const struct {
    std::vector<std::string> args;
    int exitCode;
    const char* errorPart;
  } cases[] = {
      {{"call", "Quorbel.cn_dip", "ServerLeasing", "i2:-1"}, 1, "DISP_E_TYPEMISMATCH"},
      {{"call", "Quorbel.cn_dip", "ServerLeasing"}, 1, "DISP_E_BADPARAMCOUNT"},
      {{"call", "Quorbel.cn_dip", "LeaseServer", "bool:true"}, 1, "DISP_E_UNKNOWNNAME"},
      {{"call", "Quorbel.nothing", "ServerLeasing", "bool:true"}, 1, "CO_E_CLASSSTRING"},
      {{"call", "Quorbel.cn_dip", "ServerLeasing", "bool:maybe"}, 2, "bool:maybe"},
      {{"register", "/nonexistent/libQuorbel.so"}, 1, "CO_E_DLLNOTFOUND"},
      {{"frobnicate"}, 2, "usage"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = quorbelCall(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.errorPart;
    EXPECT_NE(run.err.find(c.errorPart), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("[OK]"), std::string::npos) << "a box was shown: " << run.err;
  }
}

}  // namespace
}  // namespace korvane::component
