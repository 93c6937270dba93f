#pragma once
// A throwaway PostgreSQL server for the tests: a cluster made with initdb in
// a temporary folder, listening on a Unix socket only (no TCP, so no port
// can collide with another run's), stopped and removed at the end. As root
// the server runs as the postgres user, since initdb refuses root.

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

class PostgresCluster {
 public:
  PostgresCluster() {
    char pattern[] = "/tmp/korvz-postgres-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("no temporary folder");
    m_folder = pattern;
    ChownToServer(m_folder);
    Run({Tool("initdb"), "-D", Data(), "-A", "trust", "-U", "postgres", "--no-sync"}, "initdb");
    Run({Tool("pg_ctl"), "-D", Data(), "-o",
         "-c listen_addresses='' -k " + m_folder + " -c fsync=off", "-l", m_folder + "/log", "-w",
         "start"},
        "pg_ctl start");
    m_running = true;
  }
  ~PostgresCluster() {
    if (m_running) RunQuietly({Tool("pg_ctl"), "-D", Data(), "-m", "immediate", "-w", "stop"});
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }
  PostgresCluster(const PostgresCluster&) = delete;
  PostgresCluster& operator=(const PostgresCluster&) = delete;

  /// The address of a database of the cluster, as KORVALO_DATABASE takes it.
  std::string Address(const std::string& database) const {
    return "postgresql://postgres@/" + database + "?host=" + m_folder;
  }

 private:
  static std::string Tool(const std::string& name) { return "/usr/lib/postgresql/15/bin/" + name; }
  std::string Data() const { return m_folder + "/data"; }

  static bool AsRoot() { return geteuid() == 0; }

  static void ChownToServer(const std::string& path) {
    if (!AsRoot()) return;
    const passwd* user = getpwnam("postgres");
    if (user == nullptr) throw std::runtime_error("no postgres user (install postgresql-15)");
    if (chown(path.c_str(), user->pw_uid, user->pw_gid) != 0)
      throw std::runtime_error("cannot hand " + path + " to the postgres user");
  }

  static int Spawn(std::vector<std::string> arguments, bool quiet) {
    if (AsRoot())
      arguments.insert(arguments.begin(), {"/usr/sbin/runuser", "-u", "postgres", "--"});
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
      // The tools talk on standard output; the test's own output stays readable.
      if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(126);
      if (quiet && std::freopen("/dev/null", "w", stderr) == nullptr) _exit(126);
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static void Run(const std::vector<std::string>& arguments, const std::string& what) {
    if (Spawn(arguments, false) != 0) throw std::runtime_error(what + " failed");
  }
  static void RunQuietly(const std::vector<std::string>& arguments) { Spawn(arguments, true); }

  std::string m_folder;
  bool m_running = false;
};
