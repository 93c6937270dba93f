#pragma once
// The two databases every store test runs against: a SQLite file in a
// temporary folder and a database of a throwaway PostgreSQL cluster, fresh
// for each test. The cluster starts once per test program, when first asked.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "server/store/database.h"
#include "tests/server/postgres_cluster.h"

enum class Backend { SQLite, PostgreSQL };

/// The back end's name, for GoogleTest's parameterised tests.
struct BackendName {
  template <typename TestParamInfo>
  std::string operator()(const TestParamInfo& info) const {
    return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
  }
};

/// A fresh, empty database of the back end, named by its locator.
class FreshDatabase {
 public:
  explicit FreshDatabase(Backend backend) {
    static std::atomic<int> counter{0};
    const std::string name =
        "korvz_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    if (backend == Backend::SQLite) {
      m_file = std::filesystem::temp_directory_path() / (name + ".sqlite");
      m_locator = m_file.string();
      return;
    }
    static PostgresCluster cluster;
    OpenDatabase(cluster.Address("postgres"))->Run("CREATE DATABASE " + name);
    m_locator = cluster.Address(name);
  }
  ~FreshDatabase() {
    if (m_file.empty()) return;
    for (const char* suffix : {"", "-wal", "-shm"})
      std::filesystem::remove(m_file.string() + suffix);
  }
  FreshDatabase(const FreshDatabase&) = delete;
  FreshDatabase& operator=(const FreshDatabase&) = delete;

  const std::string& locator() const { return m_locator; }

 private:
  std::filesystem::path m_file;
  std::string m_locator;
};
