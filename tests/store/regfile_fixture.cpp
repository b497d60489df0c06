#include "regfile_fixture.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace karvelo::test {

long OwnResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

std::vector<RegKey> RegFiles::All() {
    std::vector<RegKey> keys;
    EXPECT_EQ(UserRegistry().ReadAll(&keys), 0);
    return keys;
}

std::vector<RegNode> RegFiles::Tree() {
    std::vector<RegNode> nodes;
    EXPECT_EQ(UserRegistry().ReadTree(&nodes), 0);
    return nodes;
}

void RegFiles::Set(const std::string& path, const std::string& name, uint32_t type,
                   const std::string& data) {
    ASSERT_EQ(UserRegistry().Apply({{Kind::SetValue, path, {name, type, data}}}), 0);
}

void RegFiles::UseFreshStore(const std::string& name) {
    const std::string dir = configDir + "/" + name;
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    CloseUserRegistry();
}

int RegFiles::RunTool(const std::string& arguments) {
    const std::string command = std::string(KARVELO_REG_TOOL) + " " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

RegFiles::Run RegFiles::RunShell(const std::string& shell, int out) {
    std::string command = shell;
    command.replace(command.find("TOOL"), 4, KARVELO_REG_TOOL);
    int err[2];
    if (::pipe(err) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(err[1], 2);
        if (out >= 0) ::dup2(out, 1);
        ::close(err[0]);
        ::close(err[1]);
        // The shell and the tool start with the signals' ordinary handling, as from a
        // terminal, whatever the test runner set.
        ::signal(SIGPIPE, SIG_DFL);
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(err[1]);
    return Finish(pid, err[0], 600);
}

pid_t RegFiles::StartTool(const std::vector<std::string>& arguments, int in, int err) {
    std::vector<char*> argv{const_cast<char*>(KARVELO_REG_TOOL)};
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in, 0);
        ::dup2(err, 2);
        ::signal(SIGPIPE, SIG_DFL);
        ::execv(KARVELO_REG_TOOL, argv.data());
        ::_exit(127);
    }
    return pid;
}

RegFiles::Run RegFiles::Finish(pid_t pid, int err, int seconds) {
    Run run;
    // What it says is read on the side, so that a tool that says much never waits on
    // the pipe while it is being waited for.
    std::thread reader([&] {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(err, buffer, sizeof buffer)) > 0)
            run.said.append(buffer, static_cast<size_t>(n));
    });
    int status = 0;
    rusage usage{};
    pid_t ended = 0;
    for (int tenth = 0; tenth < seconds * 10 && ended == 0; ++tenth) {
        ended = ::wait4(pid, &status, WNOHANG, &usage);
        if (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (ended == 0) {
        ::kill(pid, SIGKILL);
        ::wait4(pid, &status, 0, &usage);
    }
    reader.join();
    ::close(err);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.peakKb = usage.ru_maxrss;
    return run;
}

}  // namespace karvelo::test
