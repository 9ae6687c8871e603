// Program start to start page shown, the whole way a technician waits for it: a new process
// for the program (loading Qt and the library), the main window's start-up, the window drawn,
// and the program ending again. Each run starts `tallisk --quit-after-start` on the offscreen
// platform with scratch configuration and state folders, so it needs no display and leaves
// the user's options alone.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &quiet, nullptr, argv, envp.data()) != 0) {
      state.SkipWithError("the program could not be started");
      break;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program did not end cleanly");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&quiet);
  std::filesystem::remove_all(scratch);
}
BENCHMARK(BM_ProgramStartToStartPageShown)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
