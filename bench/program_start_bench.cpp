// Program start to start page shown, the whole way a technician waits for it: a new process
// for the program (loading Qt and the library), the main window's start-up and the window
// drawn. Each run starts `tallisk --quit-after-start` on the offscreen platform with scratch
// configuration and state folders, so it needs no display and leaves the user's options
// alone; the clock stops when the program reports the start page drawn, and the program's
// own end (saving the options, closing down) is not counted.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

void BM_ProgramStartToStartPageShown(benchmark::State& state) {
  const auto scratch = std::filesystem::temp_directory_path() /
                       ("tallisk-bench-program-" + std::to_string(::getpid()));
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("QT_QPA_PLATFORM=", 0) == 0 || entry.rfind("XDG_CONFIG_HOME=", 0) == 0 ||
        entry.rfind("XDG_STATE_HOME=", 0) == 0)
      continue;
    env.push_back(entry);
  }
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("XDG_CONFIG_HOME=" + (scratch / "config").string());
  env.push_back("XDG_STATE_HOME=" + (scratch / "state").string());
  std::vector<char*> envp;
  for (auto& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);

  std::string program = TALLISK_PROGRAM;
  std::string option = "--quit-after-start";
  char* argv[] = {program.data(), option.data(), nullptr};

  for (auto _ : state) {
    int report[2];
    if (::pipe(report) != 0) {
      state.SkipWithError("no pipe");
      break;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, report[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, report[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto started = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(report[1]);
    if (spawned != 0) {
      ::close(report[0]);
      state.SkipWithError("the program could not be started");
      break;
    }
    // The program writes its one line once the start page has been drawn.
    char c = 0;
    while (::read(report[0], &c, 1) == 1 && c != '\n') {
    }
    const auto shown = std::chrono::steady_clock::now();
    ::close(report[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (c != '\n' || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program did not show its start page and end cleanly");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(shown - started).count());
  }
  std::filesystem::remove_all(scratch);
}
BENCHMARK(BM_ProgramStartToStartPageShown)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
