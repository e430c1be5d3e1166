// posix_spawn in a new process group, polled with waitpid; Xvfb tells its display number on a
// pipe (-displayfd) once it takes connections.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "builder/trial/HostPrograms.h"

extern char** environ;

namespace vesk::trial {
namespace {

constexpr auto kPoll = std::chrono::milliseconds(20);
constexpr int kDisplayStartSeconds = 30;

// This process's environment with `overrides` (NAME=VALUE) set over it.
std::vector<std::string> Environment(const std::vector<std::string>& overrides) {
    std::vector<std::string> all;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& o : overrides)
            replaced = replaced || o.compare(0, name.size(), name) == 0;
        if (!replaced) all.push_back(text);
    }
    all.insert(all.end(), overrides.begin(), overrides.end());
    return all;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(&text[0]);
    pointers.push_back(nullptr);
    return pointers;
}

// Starts the program in a process group of its own, its input from /dev/null and its output
// appended to the run's file. It inherits the descriptors opened without close-on-exec. The
// process id, or -1 with the reason.
int Spawn(const HostRun& run, std::string& why) {
    const std::string program = FindOnPath(run.arguments.at(0));
    if (program.empty()) {
        why = run.arguments[0] + " was not found on PATH";
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const char* output = run.outputPath.empty() ? "/dev/null" : run.outputPath.c_str();
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output, O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none, defaults;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    std::vector<std::string> arguments = run.arguments;
    std::vector<std::string> environment = Environment(run.environment);
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> envp = Pointers(environment);
    pid_t process = -1;
    const int error =
        posix_spawn(&process, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        why = "cannot start " + program + ": " + std::strerror(error);
        return -1;
    }
    return int(process);
}

void KillGroup(int process) {
    kill(-process, SIGKILL);
    waitpid(process, nullptr, 0);
}

}  // namespace

std::string FindOnPath(const std::string& name) {
    if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0 ? name : "";
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + name;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return std::string();
}

int RunHostProgram(const HostRun& run, int timeoutSeconds, const std::atomic<bool>* stop,
                   std::string& why) {
    const int process = Spawn(run, why);
    if (process < 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(process, &status, WNOHANG);
        if (ended == process) {
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            why = run.arguments[0] + " was ended by signal " + std::to_string(WTERMSIG(status));
            return -1;
        }
        if (ended < 0) {
            why = "lost " + run.arguments[0] + ": " + std::strerror(errno);
            return -1;
        }
        if (stop && stop->load()) {
            KillGroup(process);
            why = run.arguments[0] + " was stopped";
            return -1;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            KillGroup(process);
            why = run.arguments[0] + " did not end within " + std::to_string(timeoutSeconds) +
                  " seconds";
            return -1;
        }
        std::this_thread::sleep_for(kPoll);
    }
}

bool VirtualDisplay::Start(std::string& why) {
    Stop();
    // Only the writing end reaches Xvfb: the reading end is closed on exec.
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        why = std::string("cannot make a pipe for Xvfb: ") + std::strerror(errno);
        return false;
    }
    fcntl(pipeEnds[0], F_SETFD, FD_CLOEXEC);
    HostRun run;
    run.arguments = {"Xvfb",      "-displayfd", std::to_string(pipeEnds[1]),
                     "-screen",   "0",          "1024x768x24",
                     "-nolisten", "tcp",        "-noreset"};
    process_ = Spawn(run, why);
    close(pipeEnds[1]);
    std::string number;
    pollfd wait{pipeEnds[0], POLLIN, 0};
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(kDisplayStartSeconds);
    while (process_ >= 0 && std::chrono::steady_clock::now() < deadline) {
        if (poll(&wait, 1, 100) > 0) {
            char c = 0;
            if (read(pipeEnds[0], &c, 1) != 1 || c == '\n') break;
            number += c;
        }
    }
    close(pipeEnds[0]);
    if (process_ < 0) return false;
    if (number.empty()) {
        why = "Xvfb did not start a display";
        Stop();
        return false;
    }
    name_ = ":" + number;
    return true;
}

void VirtualDisplay::Stop() {
    if (process_ < 0) return;
    // Asked first, so it removes its socket and lock file; killed when it does not end.
    kill(-process_, SIGTERM);
    bool ended = false;
    for (int i = 0; i < 100 && !ended; ++i) {
        ended = waitpid(process_, nullptr, WNOHANG) == process_;
        if (!ended) std::this_thread::sleep_for(kPoll);
    }
    if (!ended) KillGroup(process_);
    process_ = -1;
    name_.clear();
}

}  // namespace vesk::trial
