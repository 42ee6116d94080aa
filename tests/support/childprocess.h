#pragma once
// Starting a built program the way a user does, and waiting for it with a time limit, so that a
// program that hangs fails its test instead of stalling the whole suite.

#include <fcntl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Starts program with argv[0] = its path and the words args, in directory workingDir, its
// standard output and error written to the files outPath and errPath. The child's pid (-1 when
// fork failed); a child that cannot set itself up ends with status 127.
inline pid_t startChild(const std::string& program, const std::vector<std::string>& args,
    const std::filesystem::path& workingDir, const std::filesystem::path& outPath,
    const std::filesystem::path& errPath)
{
    std::vector<std::string> argvText { program };
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : argvText)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || chdir(workingDir.c_str()) != 0)
            _exit(127);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return child;
}

// The wait status of child once it has ended, or nothing when it was still running after limit
// (it is then killed and reaped).
inline std::optional<int> waitForChild(pid_t child, std::chrono::steady_clock::duration limit)
{
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return status;
}
