#include "platform/desktop/audio_hardware.h"

#include <algorithm>

#include "platform/runtime/serial_queue.h"

namespace tallowmere::platform {

AudioObjectID AudioHardware::addProcess(pid_t pid) {
    const AudioObjectID object = nextObject_++;
    processes_[object] = Process{pid, false};
    notify(systemObject, processObjectList);
    return object;
}

void AudioHardware::removeProcess(AudioObjectID object) {
    if (processes_.erase(object) == 0) return;
    notify(systemObject, processObjectList);
}

void AudioHardware::setRunningOutput(AudioObjectID object, bool running) {
    const auto found = processes_.find(object);
    if (found == processes_.end() || found->second.running == running) return;
    found->second.running = running;
    notify(object, processIsRunningOutput);
}

std::optional<AudioObjectID> AudioHardware::objectOfProcess(pid_t pid) const {
    for (const auto& [object, process] : processes_) {
        if (process.pid == pid) return object;
    }
    return std::nullopt;
}

bool AudioHardware::readable(AudioObjectID object) const {
    return std::find(unreadable_.begin(), unreadable_.end(), object) == unreadable_.end();
}

int AudioHardware::processObjects(std::vector<AudioObjectID>& objects) const {
    objects.clear();
    if (!hasProcessObjects()) return unknownProperty;
    for (const auto& entry : processes_) objects.push_back(entry.first);
    return 0;
}

int AudioHardware::isRunningOutput(AudioObjectID object, std::uint32_t& running) const {
    const auto found = processes_.find(object);
    if (found == processes_.end() || !readable(object)) return unknownProperty;
    running = found->second.running ? 1 : 0;
    return 0;
}

int AudioHardware::processIdentifier(AudioObjectID object, std::int32_t& pid) const {
    const auto found = processes_.find(object);
    if (found == processes_.end() || !readable(object)) return unknownProperty;
    pid = found->second.pid;
    return 0;
}

int AudioHardware::addListener(AudioObjectID object, std::uint32_t selector, SerialQueue& queue, Listener listener) {
    if (refusesListeners_ || !listener) return refused;
    if (object != systemObject && !processes_.contains(object)) return unknownProperty;
    if (object == systemObject && !hasProcessObjects()) return unknownProperty;
    listeners_.push_back(Registration{object, selector, &queue, std::move(listener)});
    return 0;
}

int AudioHardware::removeListener(AudioObjectID object, std::uint32_t selector, const Listener& listener) {
    const auto found = std::find_if(listeners_.begin(), listeners_.end(), [&](const Registration& registration) {
        return registration.object == object && registration.selector == selector && registration.listener == listener;
    });
    if (found == listeners_.end()) return unknownProperty;
    listeners_.erase(found);
    return 0;
}

void AudioHardware::notify(AudioObjectID object, std::uint32_t selector) const {
    for (const auto& registration : listeners_) {
        if (registration.object != object || registration.selector != selector) continue;
        registration.queue->async([listener = registration.listener] { (*listener)(); });
    }
}

}  // namespace tallowmere::platform
