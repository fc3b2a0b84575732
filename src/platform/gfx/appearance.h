#pragma once

#include <optional>
#include <string_view>

namespace tallowmere::platform {

// The look dynamic colours resolve against: light ("Aqua") or dark
// ("DarkAqua"), the names the preferences and traces use.
enum class Appearance { light, dark };

std::string_view rawValue(Appearance appearance);
std::optional<Appearance> appearanceFromRawValue(std::string_view name);

// The appearance drawing uses when nobody says otherwise. The UI keeps it up
// to date (the application's effective appearance) and narrows it with
// `ScopedAppearance` while a view of another appearance draws. One per
// AppContext; light until someone sets it.
class CurrentAppearance {
public:
    static CurrentAppearance& shared();

    Appearance appearance() const { return appearance_; }
    void setAppearance(Appearance appearance) { appearance_ = appearance; }

private:
    Appearance appearance_ = Appearance::light;
};

// Sets the current appearance for a scope and puts the previous one back.
class ScopedAppearance {
public:
    explicit ScopedAppearance(Appearance appearance);
    ~ScopedAppearance();
    ScopedAppearance(const ScopedAppearance&) = delete;
    ScopedAppearance& operator=(const ScopedAppearance&) = delete;

private:
    Appearance previous_;
};

// The current appearance, or light when no AppContext exists (a tool or a
// test drawing without one).
Appearance currentAppearance();

}  // namespace tallowmere::platform
