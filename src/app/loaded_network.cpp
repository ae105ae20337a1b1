#include "app/loaded_network.h"

#include "net/network.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace korvane {

class LoadedNetwork::Pages final : public PageSource {
 public:
  explicit Pages(LoadedNetwork& owner) : m_owner(owner) {}
  std::string fetch(const std::string& url) override {
    Network* network = m_owner.network();
    return network != nullptr ? network->fetchUrlText(url) : std::string();
  }

 private:
  LoadedNetwork& m_owner;
};

class LoadedNetwork::Pane final : public BrowserPane {
 public:
  explicit Pane(LoadedNetwork& owner) : m_owner(owner) {}
  void navigate(const std::string& url) override {
    if (!m_pane) {
      Network* network = m_owner.network();
      if (network == nullptr) return;
      m_pane = network->newBrowserPane();
    }
    m_pane->navigate(url);
  }

 private:
  LoadedNetwork& m_owner;
  std::unique_ptr<BrowserPane> m_pane;
};

LoadedNetwork::LoadedNetwork(std::string module)
    : m_module(std::move(module)), m_pages(std::make_unique<Pages>(*this)) {}

// The module stays loaded: panes made by it may still be alive, and Qt keeps its own state in it.
LoadedNetwork::~LoadedNetwork() = default;

namespace {

// Where the program's own run path finds module: the first folder of the program's library
// search path that holds it, or the bare name (the system's folders) when none does. dlopen of a
// bare name would search the run path of the object that calls it, and a sanitizer build calls it
// from its own runtime, which has none.
std::string locate(const std::string& module) {
  if (module.find('/') != std::string::npos) return module;
  void* program = ::dlopen(nullptr, RTLD_NOW);
  Dl_serinfo size{};
  if (program == nullptr || ::dlinfo(program, RTLD_DI_SERINFOSIZE, &size) != 0) return module;
  std::vector<unsigned char> buffer(size.dls_size);
  auto* info = reinterpret_cast<Dl_serinfo*>(buffer.data());
  *info = size;
  if (::dlinfo(program, RTLD_DI_SERINFO, info) != 0) return module;
  for (unsigned i = 0; i < info->dls_cnt; ++i) {
    std::string path = std::string(info->dls_serpath[i].dls_name) + "/" + module;
    if (::access(path.c_str(), R_OK) == 0) return path;
  }
  return module;
}

}  // namespace

Network* LoadedNetwork::network() {
  if (m_tried) return m_network;
  m_tried = true;
  void* module = ::dlopen(locate(m_module).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    std::fprintf(stderr, "valdrin: no network access: %s\n", ::dlerror());
    return nullptr;
  }
  using Entry = Network* (*)();
  auto entry = reinterpret_cast<Entry>(::dlsym(module, "korvane_network"));
  if (entry == nullptr) {
    std::fprintf(stderr, "valdrin: no network access: %s has no entry point\n", m_module.c_str());
    return nullptr;
  }
  m_network = entry();
  return m_network;
}

PageSource& LoadedNetwork::pages() { return *m_pages; }

std::unique_ptr<BrowserPane> LoadedNetwork::newBrowserPane() {
  return std::make_unique<Pane>(*this);
}

}  // namespace korvane
