#include "tests/support/child_process.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestrune::test {

ChildProcess::ChildProcess(const std::string& program, const Options& options)
    : m_outputPath(options.outputPath) {
    // Everything the child needs is prepared before fork, so that the child
    // only calls async-signal-safe functions.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool dropped = false;
        for (const auto& unset : options.unset) {
            dropped = dropped || unset == name;
        }
        for (const auto& [key, value] : options.environment) {
            dropped = dropped || key == name;
        }
        if (!dropped) {
            environment.push_back(text);
        }
    }
    for (const auto& [key, value] : options.environment) {
        environment.push_back(key + "=" + value);
    }
    std::vector<char*> envp;
    for (auto& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    std::vector<std::string> words = {program};
    words.insert(words.end(), options.arguments.begin(), options.arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    const std::string output = options.outputPath.empty() ? "/dev/null" : options.outputPath;
    const int outputFd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int inputFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int errorFd =
        options.errorPath.empty()
            ? -1
            : open(options.errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);

    m_pid = fork();
    if (m_pid == 0) {
        if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) {
            _exit(127);
        }
        dup2(inputFd, 0);
        dup2(outputFd, 1);
        dup2(errorFd >= 0 ? errorFd : outputFd, 2);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(outputFd);
    close(inputFd);
    if (errorFd >= 0) {
        close(errorFd);
    }
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        Kill();
    }
}

bool ChildProcess::Running() {
    if (m_pid <= 0 || m_exitCode) {
        return false;
    }
    int status = 0;
    const pid_t result = waitpid(m_pid, &status, WNOHANG);
    if (result == 0) {
        return true;
    }
    if (result == m_pid) {
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    } else {
        m_exitCode = -1;
    }
    return false;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds deadline) {
    WaitUntil([&] { return !Running(); }, deadline, std::chrono::milliseconds(10));
    return m_exitCode;
}

void ChildProcess::Kill() {
    if (m_pid > 0 && !m_exitCode) {
        kill(m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_exitCode = 128 + SIGKILL;
    }
}

} // namespace kestrune::test
