#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tallowmere::platform {

class SharingServices;

// A way of sending items to someone (AirDrop). Exists only where the Mac
// offers it; performing hands the items to the system's sheet, whose
// outcome the program does not see.
class SharingService {
public:
    static constexpr const char* sendViaAirDrop = "com.apple.share.AirDrop.send";

    // The service, or null when this Mac has none by that name.
    static std::shared_ptr<SharingService> named(const std::string& name);

    SharingService(SharingServices& services, std::string name) : services_(services), name_(std::move(name)) {}
    const std::string& name() const { return name_; }
    // False for no items.
    bool canPerform(const std::vector<std::string>& items) const { return !items.empty(); }
    void perform(std::vector<std::string> items);

private:
    SharingServices& services_;
    std::string name_;
};

// The sharing services of the simulated Mac and what each was given.
class SharingServices {
public:
    struct Performed {
        std::string service;
        std::vector<std::string> items;
    };

    void setAvailable(const std::string& name, bool available);
    bool isAvailable(const std::string& name) const;
    void record(Performed performed);
    std::vector<Performed> performed() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> unavailable_;
    std::vector<Performed> performed_;
};

}  // namespace tallowmere::platform
