#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/persistent_configuration.h"
#include "localization/interface_language.h"
#include "platform/system/files.h"
#include "quicklaunch/quick_launch_store.h"
#include "support/fixture.h"

namespace tallowmere::testing {

// A user's home with the configuration mirror active, as the store finds it
// at start-up, and readers for the two places the list is kept.
class QuickLaunchStoreTest : public TallowmereTest {
protected:
    QuickLaunchStoreTest() {
        InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);  // the texts as written
        PersistentConfiguration::shared().activate();
    }

    std::filesystem::path folder() const { return home() / "Library/Application Support/Perrowgate"; }
    std::filesystem::path file() const { return folder() / "quick-launch.json"; }

    // What an earlier run left behind.
    void storeFile(const std::string& json) {
        std::filesystem::create_directories(folder());
        ASSERT_TRUE(platform::Files::writeAtomically(file(), json).ok());
    }
    void storeMirror(const std::string& json) {
        PersistentConfiguration::shared().setQuickLaunchData(platform::Data(json.begin(), json.end()));
    }

    std::optional<std::string> fileText() const {
        auto text = platform::Files::readText(file());
        return text ? std::optional(*text) : std::nullopt;
    }
    std::optional<std::string> mirrorText() const {
        auto bytes = PersistentConfiguration::shared().quickLaunchData();
        return bytes ? std::optional(std::string(bytes->begin(), bytes->end())) : std::nullopt;
    }
    // The files the store moved aside, with what they hold.
    std::vector<std::string> keptAside() const {
        std::vector<std::string> kept;
        if (!std::filesystem::exists(folder())) return kept;
        for (const auto& item : std::filesystem::directory_iterator(folder())) {
            if (item.path().filename().string().starts_with("quick-launch.json.unreadable-")) {
                kept.push_back(platform::Files::readText(item.path()).valueOr(std::string()));
            }
        }
        return kept;
    }

    QuickLaunchStore& store() {
        if (!store_) store_ = std::make_unique<QuickLaunchStore>();
        return *store_;
    }
    std::vector<std::string> names() {
        std::vector<std::string> result;
        for (const auto& entry : store().entries()) result.push_back(entry.name);
        return result;
    }

private:
    std::unique_ptr<QuickLaunchStore> store_;
};

}  // namespace tallowmere::testing
