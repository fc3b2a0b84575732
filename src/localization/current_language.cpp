#include "localization/current_language.h"

#include "localization/interface_language_preference.h"
#include "localization/taiwan_traditional_typography.h"
#include "platform/runtime/app_context.h"
#include "platform/system/locale.h"
#include "platform/system/user_defaults.h"

namespace tallowmere {

CurrentLanguage& CurrentLanguage::forCurrentContext() {
    // Each thread remembers the instance of the context it last looked in;
    // the serial tells a context apart from a later one at the same address.
    struct Remembered {
        std::uint64_t contextSerial = 0;
        CurrentLanguage* instance = nullptr;
    };
    thread_local Remembered remembered;
    auto& context = platform::AppContext::current();
    if (remembered.contextSerial != context.serial()) {
        // Before the first answer in a context, and outside the context's
        // lock, since deciding takes a lock of its own.
        TaiwanTraditionalTypography::installIfNeeded();
        remembered.instance = &context.shared<CurrentLanguage>();
        remembered.contextSerial = context.serial();
    }
    return *remembered.instance;
}

CurrentLanguage::CurrentLanguage()
    : defaults_(platform::UserDefaults::standard()), locale_(platform::Locale::shared()) {}

// Both counts only grow, so their sum changes whenever either does.
std::uint64_t CurrentLanguage::sourceStamp() const { return defaults_.changeCount() + locale_.changeCount(); }

InterfaceLanguage CurrentLanguage::language() {
    const std::uint64_t stamp = sourceStamp();
    const std::uint64_t answer = answer_.load(std::memory_order_acquire);
    if (answer != unknown && answer >> 8 == stamp) {
        return static_cast<InterfaceLanguage::Value>(answer & 0xFF);
    }
    // The stamp was read before the sources: if they change meanwhile, the
    // answer carries the older stamp and the next call works it out again.
    const InterfaceLanguage worked = workOut();
    answer_.store(stamp << 8 | worked.index(), std::memory_order_release);
    return worked;
}

InterfaceLanguage CurrentLanguage::workOut() const {
    // An unrecognised stored value is left as it is and read as no choice.
    if (auto stored = InterfaceLanguagePreference::storedRawValue()) {
        if (auto language = InterfaceLanguage::fromRawValue(*stored)) return *language;
    }
    return InterfaceLanguage::systemPreferred();
}

}  // namespace tallowmere
