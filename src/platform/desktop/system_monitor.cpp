#include "platform/desktop/system_monitor.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace tallowmere::platform {

namespace {

constexpr std::uint32_t ddcChip = 0x37;

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

bool isAdapterName(const std::string& name) {
    return name.size() > 4 && name.starts_with("i2c-") &&
           std::all_of(name.begin() + 4, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The connector's DDC adapter: its "ddc" link, else an i2c-N folder inside
// it (DisplayPort's AUX channel).
std::filesystem::path adapterOf(const std::filesystem::path& connector) {
    std::error_code error;
    const auto ddc = std::filesystem::canonical(connector / "ddc", error);
    if (!error && isAdapterName(ddc.filename().string())) return "/dev" / ddc.filename();
    for (const auto& entry : std::filesystem::directory_iterator(connector, error)) {
        const std::string name = entry.path().filename().string();
        if (isAdapterName(name)) return "/dev/" + name;
    }
    return {};
}

}  // namespace

bool SystemMonitor::isConnectorName(std::string_view name) {
    return !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

std::vector<std::string> SystemMonitor::connectedConnectors(const std::filesystem::path& drm) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(drm, error)) {
        const std::string name = entry.path().filename().string();
        if (isConnectorName(name) && firstLine(entry.path() / "status") == "connected") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<SystemMonitor> SystemMonitor::find(std::string_view connector, const std::filesystem::path& drm) {
    if (!isConnectorName(connector)) return std::nullopt;
    const auto folder = drm / std::string(connector);
    if (firstLine(folder / "status") != "connected") return std::nullopt;
    std::ifstream in(folder / "edid", std::ios::binary);
    const std::vector<std::uint8_t> edid{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto identity = DisplayIdentity::fromEdid(edid);
    if (!identity) return std::nullopt;
    return SystemMonitor{std::string(connector), *identity, adapterOf(folder)};
}

LinuxDdcBus::~LinuxDdcBus() {
    if (fd_ >= 0) ::close(fd_);
}

int LinuxDdcBus::open(std::uint32_t chip) {
    if (chip != ddcChip) return -1;
    if (fd_ < 0) fd_ = ::open(device_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0) return -1;
    if (::ioctl(fd_, I2C_SLAVE, static_cast<long>(chip)) < 0) return -1;
    return fd_;
}

std::int32_t LinuxDdcBus::write(std::uint32_t chip, std::uint32_t offset, const std::uint8_t* bytes,
                                std::uint32_t length) {
    std::lock_guard lock(mutex_);
    const int fd = open(chip);
    if (fd < 0 || offset > 0xFF) return failureStatus;
    std::vector<std::uint8_t> wire;
    wire.reserve(length + 1);
    wire.push_back(static_cast<std::uint8_t>(offset));
    wire.insert(wire.end(), bytes, bytes + length);
    return ::write(fd, wire.data(), wire.size()) == static_cast<ssize_t>(wire.size()) ? 0 : failureStatus;
}

std::int32_t LinuxDdcBus::read(std::uint32_t chip, std::uint32_t offset, std::uint8_t* buffer,
                               std::uint32_t length) {
    std::lock_guard lock(mutex_);
    const int fd = open(chip);
    // A reply is read from the start; i2c-dev has no offset for a plain read.
    if (fd < 0 || offset != 0) return failureStatus;
    return ::read(fd, buffer, length) == static_cast<ssize_t>(length) ? 0 : failureStatus;
}

}  // namespace tallowmere::platform
