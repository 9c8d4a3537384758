#pragma once
// A PostgreSQL server of the test's own: initdb and pg_ctl from the Debian
// packages in a temporary folder, listening on a Unix socket there and on
// no TCP port. The server refuses to run as root, so as root it runs as
// nobody. Unavailable() says why no server could be started.

#include <glob.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/rasp/RaspTestSupport.h"

namespace rasp::testing {

class TTestPostgresServer {
public:
    TTestPostgresServer() {
        glob_t found{};
        if (::glob("/usr/lib/postgresql/*/bin/pg_ctl", 0, nullptr, &found) == 0 && found.gl_pathc > 0)
            FBin = std::filesystem::path(found.gl_pathv[found.gl_pathc - 1]).parent_path().string();
        ::globfree(&found);
        if (FBin.empty()) {
            FUnavailable = "the PostgreSQL server programs (initdb, pg_ctl) are not installed";
            return;
        }
        std::filesystem::permissions(FFolder.Path(), std::filesystem::perms(0755));
        FData = FFolder.Path() + "/data";
        std::filesystem::create_directory(FData);
        if (::geteuid() == 0 && ::chown(FData.c_str(), 65534, 65534) != 0) {
            FUnavailable = "cannot hand the server's folder to nobody";
            return;
        }
        if (Run({FBin + "/initdb", "-D", FData, "-A", "trust", "-U", "rasp", "--no-sync", "-E", "UTF8"}) != 0) {
            FUnavailable = "initdb failed";
            return;
        }
        if (Run({FBin + "/pg_ctl", "-D", FData, "-l", FData + "/log", "-w", "-o",
                 "-k " + FData + " -c listen_addresses= -c fsync=off", "start"}) != 0) {
            FUnavailable = "the server did not start";
            return;
        }
        FRunning = true;
    }
    ~TTestPostgresServer() { Stop(); }
    TTestPostgresServer(const TTestPostgresServer&) = delete;
    TTestPostgresServer& operator=(const TTestPostgresServer&) = delete;

    const std::string& Unavailable() const { return FUnavailable; }
    std::string Address(const std::string& database = "postgres") const {
        return "postgresql:///" + database + "?host=" + FData + "&user=rasp";
    }
    void Stop() {
        if (FRunning) Run({FBin + "/pg_ctl", "-D", FData, "-m", "immediate", "-w", "stop"});
        FRunning = false;
    }
    int Psql(const std::string& sql) const {
        return Run({FBin + "/psql", "-q", "-h", FData, "-U", "rasp", "-d", "postgres", "-c", sql});
    }

private:
    // Runs the program as nobody when we are root; output goes to the log.
    int Run(const std::vector<std::string>& args) const {
        const pid_t child = ::fork();
        if (child < 0) return -1;
        if (child == 0) {
            const std::string log = FFolder.Path() + "/commands.log";
            if (FILE* f = std::freopen(log.c_str(), "a", stdout)) (void)f;
            ::dup2(STDOUT_FILENO, STDERR_FILENO);
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(126);
            std::vector<char*> argv;
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TTempFolder FFolder;
    std::string FBin;
    std::string FData;
    std::string FUnavailable;
    bool FRunning = false;
};

}  // namespace rasp::testing
