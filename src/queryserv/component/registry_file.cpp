#include "registry_file.h"

#include "base/data_home.h"
#include "base/write_all.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/file.h>

namespace korvane::component {
namespace {

// Holds an exclusive flock on the registry's lock file for its lifetime. The registry file itself
// cannot carry the lock because every write replaces it with a new file.
class RegistryLock {
 public:
  explicit RegistryLock(const std::filesystem::path& registry) {
    const std::string lockPath = registry.string() + ".lock";
    m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) return;
    while (::flock(m_fd, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(m_fd);
        m_fd = -1;
        return;
      }
    }
  }
  ~RegistryLock() {
    if (m_fd >= 0) ::close(m_fd);
  }
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;

  bool held() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

HRESULT readRegistryFile(const std::filesystem::path& path, Registry* out) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    if (error) return REGDB_E_READREGDB;
    *out = Registry();
    return S_OK;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return REGDB_E_READREGDB;
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return REGDB_E_READREGDB;
  auto registry = Registry::fromText(text);
  if (!registry) return REGDB_E_READREGDB;
  *out = std::move(*registry);
  return S_OK;
}

// Writes a temporary file next to `path` and renames it over `path`, so readers see either the
// old or the new registry, never a part of one.
HRESULT replaceRegistryFile(const std::filesystem::path& path, const std::string& text) {
  std::string temp = path.string() + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return REGDB_E_WRITEREGDB;
  const bool written = writeAll(fd, text.data(), text.size()) == 0 && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return REGDB_E_WRITEREGDB;
  }
  return S_OK;
}

}  // namespace

std::filesystem::path registryPath() {
  const std::filesystem::path folder = dataHome();
  if (folder.empty()) return {};
  return folder / "korvane" / "components.reg";
}

HRESULT readRegistry(Registry* out) {
  const std::filesystem::path path = registryPath();
  if (path.empty()) return REGDB_E_READREGDB;
  return readRegistryFile(path, out);
}

HRESULT updateRegistry(const std::function<void(Registry&)>& change) {
  const std::filesystem::path path = registryPath();
  if (path.empty()) return REGDB_E_WRITEREGDB;
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (error) return REGDB_E_WRITEREGDB;

  const RegistryLock lock(path);
  if (!lock.held()) return REGDB_E_WRITEREGDB;
  Registry registry;
  if (const HRESULT read = readRegistryFile(path, &registry); failed(read)) return read;
  change(registry);
  // An empty registry is no file, so unregistering the last library leaves things as they were.
  if (registry.values().empty()) {
    return std::filesystem::remove(path, error) || !error ? S_OK : REGDB_E_WRITEREGDB;
  }
  return replaceRegistryFile(path, registry.toText());
}

}  // namespace korvane::component
