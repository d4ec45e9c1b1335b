#include "tests/support/test_user.h"

#include <csignal>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace kestrune::test {

namespace {

using namespace std::chrono_literals;

constexpr const char* kUserAdd = "/usr/sbin/useradd";
constexpr const char* kUserDel = "/usr/sbin/userdel";
constexpr const char* kRunUser = "/usr/sbin/runuser";

// The ids of the processes whose real user is `uid`.
std::vector<pid_t> ProcessesOf(uid_t uid) {
    std::vector<pid_t> pids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream status(entry.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with("Uid:")) {
                std::istringstream fields(line.substr(4));
                uid_t real = 0;
                if (fields >> real && real == uid) {
                    pids.push_back(static_cast<pid_t>(std::stol(name)));
                }
                break;
            }
        }
    }
    return pids;
}

} // namespace

TestUser::TestUser(const std::filesystem::path& home)
    : m_name("kestrune-" + std::to_string(getpid())), m_home(home) {
    if (geteuid() != 0) {
        m_whyNot = "users can only be made as root";
        return;
    }
    if (access(kUserAdd, X_OK) != 0 || access(kRunUser, X_OK) != 0) {
        m_whyNot = "useradd or runuser is missing";
        return;
    }
    // One left behind by a killed run of a process with the same id.
    if (getpwnam(m_name.c_str())) {
        RunProgram(kUserDel, {{m_name}}, 30s);
    }
    ChildProcess::Options add;
    add.arguments = {"--no-create-home", "--home-dir", m_home.string(),
                     "--shell",          "/bin/sh",    m_name};
    const std::optional<int> code = RunProgram(kUserAdd, add, 60s);
    const passwd* entry = getpwnam(m_name.c_str());
    if (!code || *code != 0 || !entry) {
        m_whyNot = "useradd " + m_name + " failed" +
                   (code ? " with code " + std::to_string(*code) : std::string());
        return;
    }
    m_uid = entry->pw_uid;
    m_gid = entry->pw_gid;
    std::error_code error;
    std::filesystem::create_directories(m_home, error);
    if (error || !Give(m_home)) {
        m_whyNot = "cannot give " + m_home.string() + " to " + m_name;
        return;
    }
    // A folder above the home that is closed to other users (a temporary
    // folder inside a private home, through TMPDIR) would keep the user out
    // of everything the test puts there.
    ChildProcess::Options reach;
    reach.arguments = {"-w", m_home.string()};
    if (Run("/usr/bin/test", reach, 30s) != 0) {
        m_whyNot = m_name + " cannot reach " + m_home.string() +
                   ": a folder above it is closed to other users";
    }
}

TestUser::~TestUser() {
    if (!getpwnam(m_name.c_str())) {
        return;
    }
    if (m_uid != 0) {
        // Whatever the test started as the user, and what that started.
        WaitUntil(
            [&] {
                const std::vector<pid_t> left = ProcessesOf(m_uid);
                for (const pid_t pid : left) {
                    kill(pid, SIGKILL);
                }
                return left.empty();
            },
            30s, 50ms);
    }
    RunProgram(kUserDel, {{m_name}}, 60s);
}

bool TestUser::Give(const std::filesystem::path& path) const {
    return m_uid != 0 && chown(path.c_str(), m_uid, m_gid) == 0;
}

std::unique_ptr<ChildProcess> TestUser::Start(const std::string& program,
                                              const ChildProcess::Options& options) const {
    ChildProcess::Options asUser = options;
    asUser.environment.clear();
    asUser.unset.clear();
    asUser.arguments = {"-u",
                        m_name,
                        "--",
                        "/usr/bin/env",
                        "-i",
                        "HOME=" + m_home.string(),
                        "USER=" + m_name,
                        "LOGNAME=" + m_name,
                        "PATH=/usr/local/bin:/usr/bin:/bin"};
    for (const auto& [name, value] : options.environment) {
        asUser.arguments.push_back(name + "=" + value);
    }
    asUser.arguments.push_back(program);
    asUser.arguments.insert(asUser.arguments.end(), options.arguments.begin(),
                            options.arguments.end());
    return std::make_unique<ChildProcess>(kRunUser, asUser);
}

std::optional<int> TestUser::Run(const std::string& program, const ChildProcess::Options& options,
                                 std::chrono::milliseconds deadline) const {
    const std::unique_ptr<ChildProcess> child = Start(program, options);
    return child->WaitForExit(deadline);
}

std::vector<std::string> TestUser::Processes() const {
    std::vector<std::string> names;
    for (const pid_t pid : ProcessesOf(m_uid)) {
        std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
        std::string name;
        if (std::getline(comm, name)) {
            names.push_back(name);
        }
    }
    return names;
}

} // namespace kestrune::test
