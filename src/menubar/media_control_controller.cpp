#include "menubar/media_control_controller.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/serial_queue.h"
#include "platform/runtime/timer.h"
#include "platform/ui/bundle_image.h"
#include "platform/ui/desktop_link.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr std::array<std::string_view, 3> fallbackPlayers{"com.netease.163music", "com.tencent.QQMusicMac",
                                                          "com.apple.Music"};
// System services that report or route sound but are never what a person
// listens to.
constexpr std::array<std::string_view, 4> systemServices{"com.apple.mediaremoted", "com.apple.controlcenter",
                                                         "com.apple.SystemUIServer",
                                                         "com.apple.audio.AudioComponentRegistrar"};
constexpr std::array<std::string_view, 14> mediaWords{"music", "audio",  "video", "player",   "spotify",
                                                      "iina",  "vlc",    "mpv",   "infuse",   "movist",
                                                      "bilibili", "netease", "kugou", "qishui"};
constexpr std::array<std::string_view, 7> mediaContentWords{"audio", "video", "movie", "audiovisual",
                                                            "mpeg",  "mp3",   "m4a"};

struct PlayerIconRule {
    enum class Test { contains, equals } test;
    std::string_view text;
    std::string_view resource;
};
constexpr std::array playerIconRules{
    PlayerIconRule{PlayerIconRule::Test::contains, "163music", "MediaPlayerNetease"},
    PlayerIconRule{PlayerIconRule::Test::contains, "netease", "MediaPlayerNetease"},
    PlayerIconRule{PlayerIconRule::Test::contains, "qqmusic", "MediaPlayerQQMusic"},
    PlayerIconRule{PlayerIconRule::Test::contains, "kugou", "MediaPlayerKugou"},
    PlayerIconRule{PlayerIconRule::Test::equals, "com.apple.music", "MediaPlayerAppleMusic"},
    PlayerIconRule{PlayerIconRule::Test::contains, "qishui", "MediaPlayerQishui"},
    PlayerIconRule{PlayerIconRule::Test::contains, "luna.music", "MediaPlayerQishui"},
};

std::string lowered(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

template <std::size_t N>
bool containsAny(const std::string& text, const std::array<std::string_view, N>& words) {
    return std::any_of(words.begin(), words.end(), [&](std::string_view word) { return text.find(word) != std::string::npos; });
}

template <std::size_t N>
bool isOneOf(std::string_view text, const std::array<std::string_view, N>& list) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

Desktop& desktop() { return DesktopLink::desktop(); }

std::shared_ptr<RunningApplication> runningApplication(const std::string& bundleIdentifier) {
    for (const auto& app : desktop().workspace().runningApplications()) {
        if (app->bundleIdentifier() == bundleIdentifier && !app->isTerminated()) return app;
    }
    return nullptr;
}

std::optional<std::string> frontmostBundleIdentifier() {
    const auto front = desktop().workspace().frontmostApplication();
    return front ? front->bundleIdentifier() : std::nullopt;
}

}  // namespace

MediaControlController& MediaControlController::shared() {
    return AppContext::current().shared<MediaControlController>();
}

MediaControlController::MediaControlController()
    : functions_(bindNowPlayingFunctions()),
      audioHardwareQueue_(std::make_unique<SerialQueue>("com.tallowmeru.audio-output-monitor")) {}

MediaControlController::~MediaControlController() {
    if (monitorTimer_) monitorTimer_->invalidate();
    if (AppContext::hasCurrent() && AppContext::current().sharedIfMade<Desktop>()) stopAudioOutputMonitoring();
}

MediaControlController::NowPlayingFunctions MediaControlController::bindNowPlayingFunctions() {
    NowPlayingFunctions functions;
    auto& service = desktop().nowPlaying();
    if (!service.opens(NowPlayingService::frameworkPath)) return functions;
    // Each function is used only when the framework has it: systems differ.
    const auto has = [&](std::size_t index) { return service.provides(NowPlayingService::functionNames[index]); };
    NowPlayingService* target = &service;
    if (has(0)) functions.sendCommand = [target](int command) { target->sendCommand(command); };
    if (has(1)) functions.getNowPlayingApplicationPID = [target](auto reply) { target->getNowPlayingApplicationPID(reply); };
    if (has(2)) functions.getNowPlayingInfo = [target](auto reply) { target->getNowPlayingInfo(reply); };
    if (has(3)) {
        functions.getNowPlayingApplicationIsPlaying = [target](auto reply) {
            target->getNowPlayingApplicationIsPlaying(reply);
        };
    }
    if (has(4)) functions.getNowPlayingClient = [target](auto reply) { target->getNowPlayingClient(reply); };
    if (has(5)) {
        functions.getClientBundleIdentifier = [](const NowPlayingClient& client) -> std::optional<std::string> {
            return client.bundleIdentifier;
        };
    }
    if (has(6)) {
        functions.getClientParentBundleIdentifier = [](const NowPlayingClient& client) {
            return client.parentApplicationBundleIdentifier;
        };
    }
    return functions;
}

double MediaControlController::uptime() const { return AppContext::current().clock().uptime(); }

bool MediaControlController::hasAudioProcesses() const { return desktop().audio().systemVersion().isAtLeast(14, 2); }

void MediaControlController::notifyStateChanged() {
    if (onStateChanged) onStateChanged(currentIsPlaying_, currentPlayerIcon_);
}

bool MediaControlController::hasCurrentPlayer() const {
    return currentPlayerIcon_ && currentPlayerBundleIdentifier_ && runningApplication(*currentPlayerBundleIdentifier_);
}

void MediaControlController::perform(MediaControlAction action) {
    switch (action) {
        case MediaControlAction::previous:
            if (functions_.sendCommand) functions_.sendCommand(NowPlayingService::previousTrackCommand);
            break;
        case MediaControlAction::playPause:
            // Shown at once; reports lag behind the player by a moment.
            currentIsPlaying_ = !currentIsPlaying_;
            optimisticStateUntil_ = uptime() + optimisticHold;
            notifyStateChanged();
            if (functions_.sendCommand) functions_.sendCommand(NowPlayingService::togglePlayPauseCommand);
            break;
        case MediaControlAction::next:
            if (functions_.sendCommand) functions_.sendCommand(NowPlayingService::nextTrackCommand);
            break;
        case MediaControlAction::openPlayer:
            openPreferredPlayer();
            break;
    }
}

void MediaControlController::openPreferredPlayer() {
    std::vector<std::string> candidates;
    if (currentPlayerBundleIdentifier_) candidates.push_back(*currentPlayerBundleIdentifier_);
    if (lastKnownPlayerBundleIdentifier_) candidates.push_back(*lastKnownPlayerBundleIdentifier_);
    for (const auto player : fallbackPlayers) candidates.emplace_back(player);
    auto& workspace = desktop().workspace();
    for (const auto& candidate : candidates) {
        if (const auto location = workspace.urlForApplication(candidate)) {
            workspace.openApplication(*location, OpenConfiguration{.activates = true});
            return;
        }
    }
}

void MediaControlController::setMonitoringEnabled(bool enabled) {
    if (monitorTimer_) monitorTimer_->invalidate();
    monitorTimer_.reset();
    if (hasAudioProcesses()) {
        if (!enabled) {
            stopAudioOutputMonitoring();
        } else if (!audioProcessListListener_) {
            startAudioOutputMonitoring();
        } else {
            refreshAudioProcessListeners();
        }
    }
    if (!enabled) return;
    refreshState();
    const std::weak_ptr<MediaControlController> weakSelf = weak_from_this();
    monitorTimer_ = Timer::scheduledTimer(pollInterval, true, [weakSelf](Timer&) {
        if (auto self = weakSelf.lock()) self->refreshState();
    });
}

AudioHardware::Listener MediaControlController::mainQueueListener(void (MediaControlController::*method)()) {
    const std::weak_ptr<MediaControlController> weakSelf = weak_from_this();
    return std::make_shared<const std::function<void()>>([weakSelf, method] {
        AppContext::current().mainQueue().async([weakSelf, method] {
            if (auto self = weakSelf.lock()) ((*self).*method)();
        });
    });
}

void MediaControlController::startAudioOutputMonitoring() {
    auto listener = mainQueueListener(&MediaControlController::refreshAudioProcessListeners);
    if (desktop().audio().addListener(AudioHardware::systemObject, AudioHardware::processObjectList,
                                      *audioHardwareQueue_, listener) != 0) {
        // Without the list there is nothing to watch; the next enable tries again.
        return;
    }
    audioProcessListListener_ = std::move(listener);
    refreshAudioProcessListeners();
}

void MediaControlController::stopAudioOutputMonitoring() {
    auto& audio = desktop().audio();
    if (audioProcessListListener_) {
        audio.removeListener(AudioHardware::systemObject, AudioHardware::processObjectList, audioProcessListListener_);
    }
    for (const auto& [object, listener] : audioOutputListeners_) {
        audio.removeListener(object, AudioHardware::processIsRunningOutput, listener);
    }
    audioProcessListListener_.reset();
    audioOutputListeners_.clear();
}

std::vector<AudioObjectID> MediaControlController::audioProcessObjectIDs() const {
    std::vector<AudioObjectID> objects;
    if (desktop().audio().processObjects(objects) != 0) return {};
    return objects;
}

void MediaControlController::refreshAudioProcessListeners() {
    auto& audio = desktop().audio();
    const auto objects = audioProcessObjectIDs();
    for (auto entry = audioOutputListeners_.begin(); entry != audioOutputListeners_.end();) {
        if (std::find(objects.begin(), objects.end(), entry->first) != objects.end()) {
            ++entry;
            continue;
        }
        audio.removeListener(entry->first, AudioHardware::processIsRunningOutput, entry->second);
        entry = audioOutputListeners_.erase(entry);
    }
    for (const auto object : objects) {
        if (audioOutputListeners_.contains(object)) continue;
        auto listener = mainQueueListener(&MediaControlController::refreshActiveAudioApplication);
        if (audio.addListener(object, AudioHardware::processIsRunningOutput, *audioHardwareQueue_, listener) == 0) {
            audioOutputListeners_[object] = std::move(listener);
        }
    }
    refreshActiveAudioApplication();
}

std::shared_ptr<RunningApplication> MediaControlController::mediaApplication(pid_t pid) const {
    auto app = desktop().workspace().runningApplication(pid);
    if (!app) return nullptr;
    if (app->activationPolicy() == ActivationPolicy::regular) return app;
    // A helper process plays for the application whose bundle holds it.
    const std::string identifier = app->bundleIdentifier().value_or("");
    const std::string path = app->bundlePath().value_or("");
    for (const auto& candidate : desktop().workspace().runningApplications()) {
        if (candidate->activationPolicy() != ActivationPolicy::regular) continue;
        const auto owner = candidate->bundleIdentifier();
        const auto ownerPath = candidate->bundlePath();
        if (!identifier.empty() && owner && identifier.starts_with(*owner + ".")) return candidate;
        if (!path.empty() && ownerPath && path.starts_with(*ownerPath + "/")) return candidate;
    }
    return nullptr;
}

void MediaControlController::refreshActiveAudioApplication() {
    auto& audio = desktop().audio();
    std::vector<std::shared_ptr<RunningApplication>> sounding;
    for (const auto object : audioProcessObjectIDs()) {
        std::uint32_t running = 0;
        std::int32_t pid = 0;
        if (audio.isRunningOutput(object, running) != 0 || running == 0) continue;
        if (audio.processIdentifier(object, pid) != 0 || pid < 1) continue;
        if (auto app = mediaApplication(pid)) sounding.push_back(std::move(app));
    }
    std::erase_if(sounding, [this](const auto& app) {
        const auto identifier = app->bundleIdentifier();
        return !identifier || !isUsableMediaBundleIdentifier(*identifier);
    });

    std::shared_ptr<RunningApplication> chosen;
    const auto firstWith = [&](const std::optional<std::string>& identifier) -> std::shared_ptr<RunningApplication> {
        if (!identifier) return nullptr;
        const auto found = std::find_if(sounding.begin(), sounding.end(),
                                        [&](const auto& app) { return app->bundleIdentifier() == identifier; });
        return found == sounding.end() ? nullptr : *found;
    };
    const auto front = std::find_if(sounding.begin(), sounding.end(), [](const auto& app) { return app->isActive(); });
    if (front != sounding.end()) chosen = *front;
    if (!chosen) chosen = firstWith(mediaRemotePlayerBundleIdentifier_);
    if (!chosen) chosen = firstWith(currentPlayerBundleIdentifier_);
    if (!chosen && !sounding.empty()) chosen = sounding.back();

    if (chosen) {
        const std::string identifier = *chosen->bundleIdentifier();
        if (identifier != Desktop::currentBundleIdentifier) {
            if (const auto picture = icon(identifier)) {
                activeAudioPlayerBundleIdentifier_ = identifier;
                preferredPlayerBundleIdentifier_ = identifier;
                lastKnownPlayerBundleIdentifier_ = identifier;
                setCurrentPlayer(identifier, *picture);
                if (optimisticStateUntil_ <= uptime()) currentIsPlaying_ = true;
                notifyStateChanged();
                return;
            }
        }
    }
    activeAudioPlayerBundleIdentifier_.reset();
    if (currentPlayerBundleIdentifier_ && !isSupportedMediaBundleIdentifier(*currentPlayerBundleIdentifier_)) {
        currentPlayerBundleIdentifier_.reset();
        currentPlayerIcon_.reset();
        preferredPlayerBundleIdentifier_.reset();
    }
    notifyStateChanged();
}

void MediaControlController::refreshState() {
    if (hasAudioProcesses()) refreshActiveAudioApplication();
    if (!activeAudioPlayerBundleIdentifier_) {
        if (const auto front = frontmostBundleIdentifier(); front && isOneOf(*front, knownPlayerBundleIdentifiers)) {
            preferredPlayerBundleIdentifier_ = front;
            lastKnownPlayerBundleIdentifier_ = front;
            if (const auto picture = icon(*front)) {
                setCurrentPlayer(*front, *picture);
                notifyStateChanged();
            }
        }
        std::set<std::string> running;
        for (const auto& app : desktop().workspace().runningApplications()) {
            if (const auto identifier = app->bundleIdentifier()) running.insert(*identifier);
        }
        std::optional<std::string> candidate;
        if (lastKnownPlayerBundleIdentifier_ && running.contains(*lastKnownPlayerBundleIdentifier_)) {
            candidate = lastKnownPlayerBundleIdentifier_;
        } else {
            for (const auto known : knownPlayerBundleIdentifiers) {
                if (running.contains(std::string(known))) {
                    candidate = std::string(known);
                    break;
                }
            }
        }
        if (!currentPlayerBundleIdentifier_ && candidate) {
            if (const auto picture = icon(*candidate)) {
                setCurrentPlayer(*candidate, *picture);
                notifyStateChanged();
            }
        }
    }

    const std::weak_ptr<MediaControlController> weakSelf = weak_from_this();
    if (functions_.getNowPlayingApplicationPID) {
        functions_.getNowPlayingApplicationPID([weakSelf](int pid) {
            auto self = weakSelf.lock();
            if (!self) return;
            auto app = pid >= 1 ? desktop().workspace().runningApplication(pid) : nullptr;
            if (app && app->bundleIdentifier()) {
                const std::string identifier = *app->bundleIdentifier();
                if (self->isUsableMediaBundleIdentifier(identifier)) self->mediaRemotePlayerBundleIdentifier_ = identifier;
                if (self->acceptsReportedPlayer(identifier)) {
                    if (const auto picture = self->icon(identifier)) self->setCurrentPlayer(identifier, *picture);
                }
            }
            self->notifyStateChanged();
        });
    }
    if (functions_.getNowPlayingClient) {
        functions_.getNowPlayingClient([weakSelf](std::optional<NowPlayingClient> client) {
            auto self = weakSelf.lock();
            if (!self || !client) return;
            const auto& functions = self->functions_;
            const auto parent = functions.getClientParentBundleIdentifier
                                    ? functions.getClientParentBundleIdentifier(*client)
                                    : std::nullopt;
            const auto own = functions.getClientBundleIdentifier ? functions.getClientBundleIdentifier(*client)
                                                                 : std::nullopt;
            const auto identifier = parent ? parent : own;
            if (!identifier) return;
            if (self->isUsableMediaBundleIdentifier(*identifier)) self->mediaRemotePlayerBundleIdentifier_ = identifier;
            if (!self->acceptsReportedPlayer(*identifier)) return;
            if (const auto picture = self->icon(*identifier)) {
                self->setCurrentPlayer(*identifier, *picture);
                self->notifyStateChanged();
            }
        });
    }
    if (functions_.getNowPlayingApplicationIsPlaying) {
        functions_.getNowPlayingApplicationIsPlaying([weakSelf](bool playing) {
            if (auto self = weakSelf.lock()) self->applyReportedPlaybackState(playing);
        });
    } else if (functions_.getNowPlayingInfo) {
        functions_.getNowPlayingInfo([weakSelf](std::optional<PropertyValue> info) {
            auto self = weakSelf.lock();
            if (!self) return;
            const auto* dictionary = info ? info->asDictionary() : nullptr;
            if (!dictionary) {
                self->applyReportedPlaybackState(false);
                return;
            }
            if (const auto* rate = info->find(NowPlayingService::playbackRateKey); rate && rate->asNumber()) {
                self->applyReportedPlaybackState(*rate->asNumber() > 0);
                return;
            }
            for (const auto& [key, value] : *dictionary) {
                if (lowered(key).find("playbackrate") == std::string::npos) continue;
                const auto number = value.asNumber();
                self->applyReportedPlaybackState(number && *number > 0);
                return;
            }
            self->applyReportedPlaybackState(false);
        });
    }
}

bool MediaControlController::acceptsReportedPlayer(const std::string& identifier) {
    if (!isUsableMediaBundleIdentifier(identifier)) return false;
    // What produces sound now outranks what the framework remembers.
    if (activeAudioPlayerBundleIdentifier_) return identifier == *activeAudioPlayerBundleIdentifier_;
    if (identifier == frontmostBundleIdentifier()) {
        preferredPlayerBundleIdentifier_ = identifier;
        return true;
    }
    if (!preferredPlayerBundleIdentifier_) return true;
    if (!runningApplication(*preferredPlayerBundleIdentifier_)) {
        preferredPlayerBundleIdentifier_.reset();
        return true;
    }
    return identifier == *preferredPlayerBundleIdentifier_;
}

void MediaControlController::applyReportedPlaybackState(bool playing) {
    if (uptime() < optimisticStateUntil_) return;
    // From 14.2 on, sound coming out is the better witness.
    currentIsPlaying_ = hasAudioProcesses() ? activeAudioPlayerBundleIdentifier_.has_value() : playing;
    notifyStateChanged();
}

void MediaControlController::setCurrentPlayer(const std::string& bundleIdentifier, const Image& picture) {
    currentPlayerBundleIdentifier_ = bundleIdentifier;
    lastKnownPlayerBundleIdentifier_ = bundleIdentifier;
    Image copy = picture;
    copy.setTemplate(false);
    currentPlayerIcon_ = std::move(copy);
}

bool MediaControlController::isUsableMediaBundleIdentifier(const std::string& identifier) const {
    if (identifier.empty() || identifier == Desktop::currentBundleIdentifier || isOneOf(identifier, systemServices)) {
        return false;
    }
    if (const auto app = runningApplication(identifier); app && app->activationPolicy() == ActivationPolicy::regular) {
        return true;
    }
    return desktop().workspace().urlForApplication(identifier).has_value();
}

bool MediaControlController::isSupportedMediaBundleIdentifier(const std::string& identifier) const {
    if (isOneOf(identifier, knownPlayerBundleIdentifiers)) return true;
    if (containsAny(lowered(identifier), mediaWords)) return true;
    // The document types the application opens tell a player too.
    const auto app = desktop().application(identifier);
    if (!app) return false;
    for (const auto& type : app->applicationSpec().documentExtensions) {
        if (containsAny(lowered(type), mediaContentWords)) return true;
    }
    return false;
}

std::optional<Image> MediaControlController::bundledPlayerIcon(std::string_view bundleIdentifier) {
    const std::string identifier = lowered(bundleIdentifier);
    for (const auto& rule : playerIconRules) {
        const bool matches = rule.test == PlayerIconRule::Test::equals ? identifier == rule.text
                                                                       : identifier.find(rule.text) != std::string::npos;
        if (matches) return bundleImage(rule.resource, "png");
    }
    return std::nullopt;
}

std::optional<Image> MediaControlController::icon(const std::string& identifier) const {
    if (auto bundled = bundledPlayerIcon(identifier)) return bundled;
    if (const auto app = runningApplication(identifier)) {
        if (auto own = app->icon()) return own;
    }
    const auto location = desktop().workspace().urlForApplication(identifier);
    if (!location) return std::nullopt;
    return desktop().workspace().iconForFile(*location);
}

}  // namespace tallowmere
