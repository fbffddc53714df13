// SettingsStore: the per-user store of named texts, grouped by application and section.
// The program keeps it in a per-user INI file (ui/app/qt_settings_store.h); tests and
// headless runs use MemorySettingsStore.
#pragma once

#include <map>
#include <string>
#include <tuple>

namespace tallimar::settings {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or defaultText when the key does not exist.
  virtual std::string get(const std::string& application, const std::string& section,
                          const std::string& key, const std::string& defaultText) const = 0;
  // Creates or overwrites the key.
  virtual void save(const std::string& application, const std::string& section,
                    const std::string& key, const std::string& text) = 0;
};

class MemorySettingsStore : public SettingsStore {
 public:
  std::string get(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& defaultText) const override {
    auto found = m_values.find({application, section, key});
    return found == m_values.end() ? defaultText : found->second;
  }
  void save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& text) override {
    m_values[{application, section, key}] = text;
  }

 private:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> m_values;
};

// Reads from an overlay first and falls back to a base store; saves go to the overlay only.
// tallimar-batch uses it for --set overrides that must not reach the user's store.
class OverlaySettingsStore : public SettingsStore {
 public:
  explicit OverlaySettingsStore(const SettingsStore& base) : m_base(base) {}
  std::string get(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& defaultText) const override {
    const std::string missing = "\x01missing";
    const std::string overlaid = m_overlay.get(application, section, key, missing);
    return overlaid != missing ? overlaid : m_base.get(application, section, key, defaultText);
  }
  void save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& text) override {
    m_overlay.save(application, section, key, text);
  }

 private:
  const SettingsStore& m_base;
  MemorySettingsStore m_overlay;
};

}  // namespace tallimar::settings
