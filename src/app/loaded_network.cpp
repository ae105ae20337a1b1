#include "app/loaded_network.h"

#include "net/network.h"

#include <dlfcn.h>

#include <cstdio>

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

Network* LoadedNetwork::network() {
  if (m_tried) return m_network;
  m_tried = true;
  void* module = ::dlopen(m_module.c_str(), RTLD_NOW | RTLD_LOCAL);
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
