#include "PrivateServer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <mysql.h>
#include <pwd.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace precivox::test {

namespace {

constexpr const char* kPassword = "precivox-private";
constexpr auto kStartPatience = std::chrono::seconds(60);

std::string userName() {
    const passwd* entry = getpwuid(geteuid());
    if (!entry)
        throw std::runtime_error("no name for the current user");
    return entry->pw_name;
}

// Runs a program with its output appended to `logFile`; returns its pid.
pid_t spawn(const std::vector<std::string>& arguments, const std::filesystem::path& logFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot run " + arguments[0] + ": " + std::strerror(error));
    return pid;
}

int waitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

struct MysqlClose {
    void operator()(MYSQL* mysql) const { mysql_close(mysql); }
};
using Session = std::unique_ptr<MYSQL, MysqlClose>;

// Root through the server's socket, which needs no password.
Session connectThroughSocket(const std::filesystem::path& socket) {
    Session session(mysql_init(nullptr));
    if (!session)
        throw std::runtime_error("mysql_init failed");
    if (!mysql_real_connect(session.get(), nullptr, "root", nullptr, nullptr, 0, socket.c_str(), 0))
        return nullptr;
    return session;
}

} // namespace

PrivateServer::PrivateServer(std::string address) : address_(std::move(address)) {
    if (!address_.starts_with("127."))
        throw std::runtime_error("the private server listens on loopback only, not " + address_);
    std::string pattern = (std::filesystem::temp_directory_path() / "precivox-server.XXXXXX");
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder for the private server");
    folder_ = pattern;
    try {
        install();
        start();
        letRootInOverTcp();
    } catch (...) {
        removeAll();
        throw;
    }
}

PrivateServer::~PrivateServer() {
    removeAll();
}

void PrivateServer::install() {
    const pid_t install =
        spawn({"mariadb-install-db", "--no-defaults", "--datadir=" + (folder_ / "data").string(),
               "--user=" + userName(), "--auth-root-authentication-method=normal"},
              folder_ / "install.log");
    const int status = waitForExit(install);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("mariadb-install-db failed: " + log());
}

// The data folder comes with a root for 127.0.0.1 that has no password.
void PrivateServer::letRootInOverTcp() {
    Session session = connectThroughSocket(folder_ / "mysqld.sock");
    for (const char* host : {"127.0.0.1", "%"}) {
        for (const std::string& statement :
             {std::string("CREATE OR REPLACE USER 'root'@'") + host + "' IDENTIFIED BY '" +
                  kPassword + "'",
              std::string("GRANT ALL ON *.* TO 'root'@'") + host + "' WITH GRANT OPTION"}) {
            if (!session || mysql_real_query(session.get(), statement.data(), statement.size()))
                throw std::runtime_error("cannot let root in over TCP: " +
                                         std::string(session ? mysql_error(session.get()) : log()));
        }
    }
}

void PrivateServer::removeAll() {
    if (pid_ > 0)
        signalAndReap(SIGKILL);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

ConnectionParameters PrivateServer::administrator() const {
    ConnectionParameters parameters;
    parameters.host = address_;
    parameters.password = kPassword;
    return parameters;
}

void PrivateServer::kill() {
    signalAndReap(SIGKILL);
}

void PrivateServer::stop() {
    signalAndReap(SIGTERM);
}

void PrivateServer::start() {
    if (pid_ > 0)
        throw std::runtime_error("the private server is running already");
    launch();
    waitUntilAnswering();
}

// Both wait for the change: a signal only asks for it.
void PrivateServer::freeze() {
    ::kill(pid_, SIGSTOP);
    int status = 0;
    while (waitpid(pid_, &status, WUNTRACED) < 0 && errno == EINTR) {
    }
    frozen_ = true;
}

void PrivateServer::thaw() {
    ::kill(pid_, SIGCONT);
    int status = 0;
    while (waitpid(pid_, &status, WCONTINUED) < 0 && errno == EINTR) {
    }
    frozen_ = false;
}

void PrivateServer::launch() {
    pid_ = spawn({"mariadbd", "--no-defaults", "--datadir=" + (folder_ / "data").string(),
                  "--socket=" + (folder_ / "mysqld.sock").string(), "--port=3306",
                  "--bind-address=" + address_, "--user=" + userName(), "--skip-log-bin",
                  "--skip-name-resolve", "--log-error=" + (folder_ / "error.log").string(),
                  "--pid-file=" + (folder_ / "mysqld.pid").string(),
                  "--character-set-server=latin1", "--collation-server=latin1_swedish_ci"},
                 folder_ / "error.log");
}

void PrivateServer::waitUntilAnswering() {
    const auto deadline = std::chrono::steady_clock::now() + kStartPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (connectThroughSocket(folder_ / "mysqld.sock"))
            return;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("the private server ended at start: " + log());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw std::runtime_error("the private server does not answer: " + log());
}

void PrivateServer::signalAndReap(int signal) {
    if (pid_ <= 0)
        return;
    ::kill(pid_, signal);
    if (frozen_ && signal != SIGKILL)
        ::kill(pid_, SIGCONT);
    waitForExit(pid_);
    pid_ = -1;
    frozen_ = false;
}

std::string PrivateServer::log() const {
    std::ostringstream text;
    for (const char* name : {"install.log", "error.log"}) {
        if (std::ifstream file(folder_ / name); file)
            text << file.rdbuf();
    }
    return text.str();
}

} // namespace precivox::test
