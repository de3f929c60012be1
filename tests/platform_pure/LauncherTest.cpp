#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "TestSupport.h"
#include "platform/Launcher.h"

namespace kvlink {
namespace {

using test::EnvironmentOverride;
using test::eventually;
using test::readFile;
using test::ScratchDirectory;
using test::writeFile;

bool processIsGone(pid_t pid) {
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// A stand-in program that records its arguments, one per line, in `record`.
void writeRecorder(const std::string& path, const std::string& record) {
  writeFile(path,
            "#!/bin/sh\n"
            "printf '%s\\n' \"$@\" > '" +
                record +
                ".part'\n"
                "mv '" +
                record + ".part' '" + record + "'\n",
            0755);
}

std::string recorded(const std::string& record) {
  if (!eventually([&] { return std::filesystem::exists(record); })) return "(nothing recorded)";
  return readFile(record);
}

TEST(SpawnDetached, ChildRunsAndIsReaped) {
  const auto pid = spawnDetached({"/bin/true"});
  ASSERT_TRUE(pid);
  // A child nobody waits for would stay a zombie, which kill(pid, 0) still finds.
  EXPECT_TRUE(eventually([&] { return processIsGone(*pid); }));
}

TEST(SpawnDetached, ProgramThatCannotStartIsReported) {
  ScratchDirectory scratch;
  writeFile(scratch.file("not-executable"), "#!/bin/sh\n", 0644);
  EXPECT_FALSE(spawnDetached({"/nonexistent/kvlink-viewer"}));
  EXPECT_FALSE(spawnDetached({"kvlink-no-such-program"}));
  EXPECT_FALSE(spawnDetached({scratch.file("not-executable")}));
  EXPECT_FALSE(spawnDetached({}));
  EXPECT_FALSE(spawnDetached({""}));
}

struct EditorCase {
  const char* what;
  std::optional<std::string> visual;
  std::optional<std::string> editor;
  std::vector<std::vector<std::string>> expected;
};

void PrintTo(const EditorCase& c, std::ostream* os) {
  *os << c.what;
}

const EditorCase kEditorCases[] = {
    {"visual, then the desktop's editor, then the terminal editor in a terminal",
     "gedit",
     "vi",
     {{"gedit", "/u/a b.con"},
      {"xdg-open", "/u/a b.con"},
      {"x-terminal-emulator", "-e", "vi", "/u/a b.con"},
      {"xterm", "-e", "vi", "/u/a b.con"}}},
    {"visual split into words",
     "  code\t--wait  -n ",
     std::nullopt,
     {{"code", "--wait", "-n", "/u/a b.con"}, {"xdg-open", "/u/a b.con"}}},
    {"blank visual counts as unset", "   ", std::nullopt, {{"xdg-open", "/u/a b.con"}}},
    {"terminal editor in visual runs in a terminal",
     "/usr/bin/vim",
     std::nullopt,
     {{"x-terminal-emulator", "-e", "/usr/bin/vim", "/u/a b.con"},
      {"xterm", "-e", "/usr/bin/vim", "/u/a b.con"},
      {"xdg-open", "/u/a b.con"}}},
};

class EditorCommandTest : public testing::TestWithParam<EditorCase> {};

TEST_P(EditorCommandTest, ComeFromTheEnvironment) {
  const EditorCase& c = GetParam();
  EnvironmentOverride visual("VISUAL", c.visual);
  EnvironmentOverride editor("EDITOR", c.editor);
  EXPECT_EQ(editorCommands("/u/a b.con"), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, EditorCommandTest, testing::ValuesIn(kEditorCases));

TEST(OpenInEditor, PathReachesTheEditorAsOneArgumentWithoutAShell) {
  ScratchDirectory scratch;
  writeRecorder(scratch.file("editor"), scratch.file("args"));
  EnvironmentOverride visual("VISUAL", scratch.file("editor") + " --new-window");
  const std::string path = scratch.file("pump $(touch pwned); 'one' two.con");

  ASSERT_TRUE(openInEditor(path).get());
  EXPECT_EQ(recorded(scratch.file("args")), "--new-window\n" + path + "\n");
  EXPECT_FALSE(std::filesystem::exists("pwned"));
  EXPECT_FALSE(std::filesystem::exists(scratch.file("pwned")));
}

TEST(OpenInEditor, XdgOpenWithoutHandlerFallsBackToEditorInATerminal) {
  ScratchDirectory scratch;
  writeFile(scratch.file("xdg-open"), "#!/bin/sh\nexit 3\n", 0755);  // no handler
  writeRecorder(scratch.file("x-terminal-emulator"), scratch.file("args"));
  EnvironmentOverride visual("VISUAL", std::nullopt);
  EnvironmentOverride editor("EDITOR", "vi");
  EnvironmentOverride path("PATH", scratch.path() + ":/usr/bin:/bin");
  ASSERT_TRUE(openInEditor("/srv/unit.con").get());
  EXPECT_EQ(recorded(scratch.file("args")), "-e\nvi\n/srv/unit.con\n");
}

// The commands' complaints are not the program's: none reaches its stderr.
TEST(OpenInEditor, NothingThatStartsIsReported) {
  ScratchDirectory scratch;
  writeFile(scratch.file("xdg-open"),
            "#!/bin/sh\necho 'x-terminal-emulator: not found' >&2\nexit 3\n", 0755);
  EnvironmentOverride visual("VISUAL", "/nonexistent/editor");
  EnvironmentOverride editor("EDITOR", "vi");  // but no terminal emulator
  EnvironmentOverride path("PATH", scratch.path());
  testing::internal::CaptureStderr();  // the children's too
  EXPECT_FALSE(openInEditor("/srv/unit.con").get());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(OpenFolder, StartsXdgOpenWithTheFolder) {
  ScratchDirectory scratch;
  writeRecorder(scratch.file("xdg-open"), scratch.file("args"));
  EnvironmentOverride path("PATH", scratch.path() + ":/usr/bin:/bin");
  ASSERT_TRUE(openFolder("/srv/log records"));
  EXPECT_EQ(recorded(scratch.file("args")), "/srv/log records\n");
}

TEST(OpenFolder, MissingFileManagerIsReported) {
  ScratchDirectory empty;
  EnvironmentOverride path("PATH", empty.path());
  EXPECT_FALSE(openFolder("/srv"));
}

}  // namespace
}  // namespace kvlink
