// The scene file's format: one table of members per kind of object. A new
// member is one row in its object's table (and, when it needs one, a field
// in the scene's types); whatever the tables do not name is refused, so a
// misspelt member never passes silently.
#include <algorithm>
#include <array>
#include <map>

#include "platform/base/iso8601.h"
#include "platform/base/json.h"
#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_scene.h"
#include "platform/desktop/scene_node.h"
#include "platform/desktop/system_monitor.h"
#include "platform/desktop/utf16_offsets.h"

namespace tallowmere::platform {

namespace {

using Scene = DesktopScene;

// Assigns a read value to a field (or an optional one) of the object being read.
template <class T, class V>
Result<void> assign(Result<V> read, T& into) {
    if (!read) return read.error();
    into = std::move(*read);
    return {};
}

// Screens

// A whole number no greater than `maximum`.
template <class T>
Result<void> assignBounded(const SceneNode& n, std::int64_t maximum, T& into) {
    auto read = n.nonNegativeInteger();
    if (!read) return read.error();
    if (*read > maximum) return n.error("should be at most " + std::to_string(maximum));
    into = static_cast<T>(*read);
    return {};
}

const SceneMember<DisplayIdentity> identityMembers[] = {
    {"vendor", [](const SceneNode& n, DisplayIdentity& d) { return assignBounded(n, 0xFFFF, d.vendor); }, true},
    {"product", [](const SceneNode& n, DisplayIdentity& d) { return assignBounded(n, 0xFFFF, d.product); }, true},
    {"serial", [](const SceneNode& n, DisplayIdentity& d) { return assignBounded(n, 0xFFFFFFFF, d.serial); }},
    {"productName", [](const SceneNode& n, DisplayIdentity& d) { return assign(n.string(), d.productName); }},
    {"location", [](const SceneNode& n, DisplayIdentity& d) { return assign(n.nonEmptyString(), d.registryLocation); }},
};

const SceneMember<DdcMonitorSpec> ddcMembers[] = {
    {"maximum", [](const SceneNode& n, DdcMonitorSpec& d) { return assignBounded(n, 0xFFFF, d.maximum); }},
    {"current", [](const SceneNode& n, DdcMonitorSpec& d) { return assignBounded(n, 0xFFFF, d.current); }},
    {"vcpType", [](const SceneNode& n, DdcMonitorSpec& d) { return assignBounded(n, 0xFF, d.vcpType); }},
    {"silent", [](const SceneNode& n, DdcMonitorSpec& d) { return assign(n.boolean(), d.silent); }},
    {"badChecksum", [](const SceneNode& n, DdcMonitorSpec& d) { return assign(n.boolean(), d.badChecksum); }},
    {"failingSends", [](const SceneNode& n, DdcMonitorSpec& d) { return assignBounded(n, 1000, d.failingSends); }},
};

const SceneMember<Scene::SceneScreen> screenMembers[] = {
    {"name", [](const SceneNode& n, Scene::SceneScreen& s) { return assign(n.nonEmptyString(), s.spec.localizedName); }},
    {"frame", [](const SceneNode& n, Scene::SceneScreen& s) { return assign(n.rect<ScreenSpace>(), s.spec.frame); }, true},
    {"visibleFrame", [](const SceneNode& n, Scene::SceneScreen& s) { return assign(n.rect<ScreenSpace>(), s.spec.visibleFrame); }},
    {"scale", [](const SceneNode& n, Scene::SceneScreen& s) { return assign(n.positiveNumber(), s.spec.backingScaleFactor); }},
    {"builtIn", [](const SceneNode& n, Scene::SceneScreen& s) { return assign(n.boolean(), s.spec.isBuiltIn); }},
    {"displayID",
     [](const SceneNode& n, Scene::SceneScreen& s) {
         auto id = n.nonNegativeInteger();
         if (!id) return Result<void>(id.error());
         if (*id == 0) return Result<void>(n.error("should be greater than 0"));
         s.spec.displayID = static_cast<DisplayID>(*id);
         return Result<void>();
     }},
    {"supportsMirroring", [](const SceneNode& n, Scene::SceneScreen& s) { return assign(n.boolean(), s.spec.supportsMirroring); }},
    {"identity",
     [](const SceneNode& n, Scene::SceneScreen& s) {
         DisplayIdentity identity;
         if (auto read = readSceneObject<DisplayIdentity>(n, identityMembers, identity); !read) return read;
         s.spec.hardware.identity = identity;
         return Result<void>();
     }},
    {"brightness",
     [](const SceneNode& n, Scene::SceneScreen& s) {
         auto level = n.number();
         if (!level) return Result<void>(level.error());
         if (*level < 0 || *level > 1) return Result<void>(n.error("should lie between 0 and 1"));
         s.spec.hardware.panelBrightness = *level;
         return Result<void>();
     }},
    {"ddc",
     [](const SceneNode& n, Scene::SceneScreen& s) {
         DdcMonitorSpec monitor;
         if (auto read = readSceneObject<DdcMonitorSpec>(n, ddcMembers, monitor); !read) return read;
         s.spec.hardware.ddc = monitor;
         return Result<void>();
     }},
    {"monitor",
     [](const SceneNode& n, Scene::SceneScreen& s) {
         auto name = n.nonEmptyString();
         if (!name) return Result<void>(name.error());
         if (!SystemMonitor::isConnectorName(*name)) {
             return Result<void>(n.error("should name a connector such as \"card0-HDMI-A-1\""));
         }
         s.spec.hardware.systemMonitor = *name;
         return Result<void>();
     }},
    {"mirrorOf",
     [](const SceneNode& n, Scene::SceneScreen& s) {
         auto id = n.nonNegativeInteger();
         if (!id) return Result<void>(id.error());
         s.mirrorOf = static_cast<DisplayID>(*id);
         return Result<void>();
     }},
};

Result<Scene::SceneScreen> readScreen(const SceneNode& node) {
    Scene::SceneScreen screen;
    // A screen the file does not say is built in is an external display.
    screen.spec.isBuiltIn = false;
    screen.spec.localizedName = "Display";
    if (auto read = readSceneObject<Scene::SceneScreen>(node, screenMembers, screen); !read) return read.error();
    if (!screen.spec.hardware.systemMonitor.empty() && screen.spec.hardware.ddc) {
        return node.member("ddc", node.value()).error("a screen on a real monitor speaks through its own bus");
    }
    if (screen.spec.visibleFrame && !screen.spec.frame.contains(*screen.spec.visibleFrame)) {
        return node.member("visibleFrame", node.value()).error("should lie inside the frame");
    }
    return screen;
}

// Checks the screens together and gives each its display ID, the next free
// one from 1 in order where the file names none, as displays are numbered.
Result<void> checkScreens(const SceneNode& node, std::vector<Scene::SceneScreen>& screens) {
    if (screens.empty()) return node.error("should hold at least one screen");
    auto at = [&](std::size_t i, std::string_view member) {
        return node.element(i, node.value()[i]).member(member, node.value()[i]);
    };
    const ScreenRect primary = screens.front().spec.frame;
    if (primary.origin.x != 0 || primary.origin.y != 0) {
        return at(0, "frame").error("the primary screen's origin should be (0, 0)");
    }
    std::map<DisplayID, std::size_t> byID;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const DisplayID id = screens[i].spec.displayID;
        if (id == 0) continue;
        if (auto [it, added] = byID.emplace(id, i); !added) {
            return at(i, "displayID").error("is used by screen " + std::to_string(it->second) + " too");
        }
    }
    DisplayID next = 1;
    for (auto& screen : screens) {
        if (screen.spec.displayID != 0) continue;
        while (byID.contains(next)) ++next;
        screen.spec.displayID = next;
        byID.emplace(next, &screen - screens.data());
    }
    bool anyShowsItsOwnDesktop = false;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const auto& screen = screens[i];
        if (screen.mirrorOf == 0) {
            anyShowsItsOwnDesktop = true;
            for (std::size_t j = 0; j < i; ++j) {
                if (screens[j].mirrorOf == 0 && screens[j].spec.frame.intersects(screen.spec.frame)) {
                    return at(i, "frame").error("overlaps screen " + std::to_string(j));
                }
            }
            continue;
        }
        if (screen.mirrorOf == screen.spec.displayID || !byID.contains(screen.mirrorOf)) {
            return at(i, "mirrorOf").error("should be the display ID of another screen");
        }
        if (!screen.spec.supportsMirroring) return at(i, "mirrorOf").error("this screen does not support mirroring");
    }
    if (!anyShowsItsOwnDesktop) return node.error("every screen mirrors another; one should show its own desktop");
    return {};
}

// Windows

// A style run of a text: {"length", "font", "size", "bold", "color" ("#RRGGBB")}.
struct SceneStyleRun {
    std::int64_t length = 0;
    AXFont font{"Helvetica", "Helvetica", "Helvetica", 13, std::nullopt, false};
    std::optional<AXColor> color;
};

const SceneMember<SceneStyleRun> styleRunMembers[] = {
    {"length", [](const SceneNode& n, SceneStyleRun& r) { return assign(n.nonNegativeInteger(), r.length); }, true},
    {"font",
     [](const SceneNode& n, SceneStyleRun& r) {
         auto name = n.nonEmptyString();
         if (!name) return Result<void>(name.error());
         r.font.fontName = r.font.familyName = r.font.displayName = *name;
         return Result<void>();
     }},
    {"size", [](const SceneNode& n, SceneStyleRun& r) { return assign(n.positiveNumber(), r.font.pointSize); }},
    {"bold", [](const SceneNode& n, SceneStyleRun& r) { return assign(n.boolean(), r.font.isBold); }},
    {"color",
     [](const SceneNode& n, SceneStyleRun& r) {
         auto text = n.string();
         if (!text) return Result<void>(text.error());
         auto color = text->size() == 7 ? Color::fromHex(*text) : std::nullopt;
         if (!color) return Result<void>(n.error("should be a colour as \"#RRGGBB\""));
         r.color = AXColor{color->red(), color->green(), color->blue(), 1, AXColorKind::colour};
         return Result<void>();
     }},
};

Result<AXAttributedString::Run> readStyleRun(const SceneNode& node) {
    SceneStyleRun run;
    if (auto read = readSceneObject<SceneStyleRun>(node, styleRunMembers, run); !read) return read.error();
    AXAttributedString::Run result{run.length, {{AXStringAttribute::font, AXValue(run.font)}}};
    if (run.color) result.attributes.emplace(AXStringAttribute::foregroundColor, AXValue(*run.color));
    return result;
}

const SceneMember<ElementSpec> focusedTextMembers[] = {
    {"text", [](const SceneNode& n, ElementSpec& e) { return assign(n.string(), e.value); }, true},
    {"selection",
     [](const SceneNode& n, ElementSpec& e) {
         static const SceneMember<AXRange> rangeMembers[] = {
             {"location", [](const SceneNode& m, AXRange& r) { return assign(m.nonNegativeInteger(), r.location); }, true},
             {"length", [](const SceneNode& m, AXRange& r) { return assign(m.nonNegativeInteger(), r.length); }, true},
         };
         AXRange range;
         if (auto read = readSceneObject<AXRange>(n, rangeMembers, range); !read) return read;
         e.selectedRange = range;
         return Result<void>();
     }},
    {"editable", [](const SceneNode& n, ElementSpec& e) { return assign(n.boolean(), e.editable); }},
    {"styleRuns",
     [](const SceneNode& n, ElementSpec& e) { return assign(readSceneArray(n, readStyleRun), e.styleRuns); }},
    // A browser's page: text by marker ranges, and no styles through Accessibility.
    {"webArea",
     [](const SceneNode& n, ElementSpec& e) {
         auto web = n.boolean();
         if (!web) return Result<void>(web.error());
         e.usesTextMarkers = *web;
         e.offersStyledText = !*web;
         if (*web) {
             e.role = "AXWebArea";
             e.editable = false;
         }
         return Result<void>();
     }},
    // A password field: its text is never read.
    {"secure",
     [](const SceneNode& n, ElementSpec& e) {
         auto secure = n.boolean();
         if (!secure) return Result<void>(secure.error());
         if (*secure) e.role = AXRole::secureTextField;
         return Result<void>();
     }},
};

Result<ElementSpec> readFocusedText(const SceneNode& node) {
    ElementSpec text;
    text.role = AXRole::textArea;
    text.editable = true;
    if (auto read = readSceneObject<ElementSpec>(node, focusedTextMembers, text); !read) return read.error();
    const std::int64_t length = Utf16::length(*text.value);
    if (!text.selectedRange) {
        text.selectedRange = AXRange{length, 0};  // the caret at the end
    } else if (text.selectedRange->location + text.selectedRange->length > length) {
        return node.member("selection", node.value()).error("reaches past the end of the text (" +
                                                              std::to_string(length) + " UTF-16 units)");
    }
    std::int64_t styled = 0;
    for (const auto& run : text.styleRuns) styled += run.length;
    if (styled > length) {
        return node.member("styleRuns", node.value()).error("cover more than the text (" + std::to_string(length) +
                                                            " UTF-16 units)");
    }
    return text;
}

const SceneMember<Scene::SceneWindow> windowMembers[] = {
    {"title", [](const SceneNode& n, Scene::SceneWindow& w) { return assign(n.string(), w.spec.title); }},
    {"frame", [](const SceneNode& n, Scene::SceneWindow& w) { return assign(n.rect<AXSpace>(), w.spec.frame); }, true},
    {"minSize", [](const SceneNode& n, Scene::SceneWindow& w) { return assign(n.size(), w.spec.minSize); }},
    {"maxSize", [](const SceneNode& n, Scene::SceneWindow& w) { return assign(n.size(), w.spec.maxSize); }},
    {"resizable", [](const SceneNode& n, Scene::SceneWindow& w) { return assign(n.boolean(), w.spec.resizable); }},
    {"minimized", [](const SceneNode& n, Scene::SceneWindow& w) { return assign(n.boolean(), w.spec.minimized); }},
    {"document", [](const SceneNode& n, Scene::SceneWindow& w) { return assign(n.fileURL(), w.spec.document); }},
    {"content", [](const SceneNode& n, Scene::SceneWindow& w) { return assign(n.string(), w.spec.content); }},
    {"focusedText", [](const SceneNode& n, Scene::SceneWindow& w) { return assign(readFocusedText(n), w.focusedText); }},
};

// "Notes.txt" for ".../Notes.txt", "me" for the folder "/home/me/".
std::string titleForDocument(const std::string& fileURL) {
    auto url = Url::parse(fileURL);
    std::string path = url ? url->path() : fileURL;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Result<Scene::SceneWindow> readWindow(const SceneNode& node) {
    Scene::SceneWindow window;
    if (auto read = readSceneObject<Scene::SceneWindow>(node, windowMembers, window); !read) return read.error();
    const auto& spec = window.spec;
    if (spec.minSize && spec.maxSize &&
        (spec.minSize->width > spec.maxSize->width || spec.minSize->height > spec.maxSize->height)) {
        return node.member("maxSize", node.value()).error("should not be smaller than minSize");
    }
    // A document window is titled after its document, as applications do.
    if (!node.value().contains("title") && spec.document) window.spec.title = titleForDocument(*spec.document);
    if (window.focusedText) {
        window.focusedText->frame = {0, spec.titleBarHeight, spec.frame.width(),
                                     std::max(0.0, spec.frame.height() - spec.titleBarHeight)};
    }
    return window;
}

// Applications

const SceneMember<OtherStatusItemSpec> statusItemMembers[] = {
    {"title", [](const SceneNode& n, OtherStatusItemSpec& i) { return assign(n.nonEmptyString(), i.title); }, true},
    {"width",
     [](const SceneNode& n, OtherStatusItemSpec& i) {
         auto width = n.positiveNumber();
         if (!width) return Result<void>(width.error());
         if (*width > 400) return Result<void>(n.error("should be at most 400"));
         i.width = *width;
         return Result<void>();
     }},
};

Result<OtherStatusItemSpec> readStatusItem(const SceneNode& node) {
    OtherStatusItemSpec item;
    if (auto read = readSceneObject<OtherStatusItemSpec>(node, statusItemMembers, item); !read) return read.error();
    return item;
}

constexpr std::array<std::pair<std::string_view, ActivationPolicy>, 3> activationPolicies = {{
    {"regular", ActivationPolicy::regular},
    {"accessory", ActivationPolicy::accessory},
    {"prohibited", ActivationPolicy::prohibited},
}};

const SceneMember<BrowserScripting> browserMembers[] = {
    {"automationAllowed", [](const SceneNode& n, BrowserScripting& b) { return assign(n.boolean(), b.automationAllowed); }},
    {"javaScriptFromAppleEvents",
     [](const SceneNode& n, BrowserScripting& b) { return assign(n.boolean(), b.javaScriptFromAppleEvents); }},
    {"responds",
     [](const SceneNode& n, BrowserScripting& b) {
         static constexpr std::pair<std::string_view, BrowserScripting::Responsiveness> kinds[] = {
             {"yes", BrowserScripting::Responsiveness::answers},
             {"slowly", BrowserScripting::Responsiveness::slow},
             {"never", BrowserScripting::Responsiveness::hung},
         };
         auto text = n.string();
         if (!text) return Result<void>(text.error());
         for (const auto& [name, kind] : kinds) {
             if (name == *text) {
                 b.responsiveness = kind;
                 return Result<void>();
             }
         }
         return Result<void>(n.error("should be \"yes\", \"slowly\" or \"never\""));
     }},
    {"focusInCrossOriginFrame",
     [](const SceneNode& n, BrowserScripting& b) { return assign(n.boolean(), b.focusInCrossOriginFrame); }},
};

Result<BrowserScripting> readBrowser(const SceneNode& node) {
    BrowserScripting browser;
    if (auto read = readSceneObject<BrowserScripting>(node, browserMembers, browser); !read) return read.error();
    return browser;
}

const SceneMember<Scene::SceneApplication> applicationMembers[] = {
    {"name", [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.nonEmptyString(), a.spec.name); }, true},
    {"bundleIdentifier",
     [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.nonEmptyString(), a.spec.bundleIdentifier); },
     true},
    {"bundlePath", [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.filePath(), a.spec.bundlePath); }},
    {"activationPolicy",
     [](const SceneNode& n, Scene::SceneApplication& a) {
         auto text = n.string();
         if (!text) return Result<void>(text.error());
         for (const auto& [name, policy] : activationPolicies) {
             if (name == *text) {
                 a.spec.activationPolicy = policy;
                 return Result<void>();
             }
         }
         return Result<void>(n.error("should be \"regular\", \"accessory\" or \"prohibited\""));
     }},
    {"running", [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.boolean(), a.spec.running); }},
    {"frontmost", [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.boolean(), a.frontmost); }},
    {"hidden", [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.boolean(), a.hidden); }},
    {"urlSchemes", [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.strings(), a.spec.urlSchemes); }},
    {"documentExtensions",
     [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.strings(), a.spec.documentExtensions); }},
    {"menus", [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.strings(), a.spec.menuTitles); }},
    {"browser", [](const SceneNode& n, Scene::SceneApplication& a) { return assign(readBrowser(n), a.spec.browser); }},
    {"windows",
     [](const SceneNode& n, Scene::SceneApplication& a) { return assign(readSceneArray(n, readWindow), a.windows); }},
    {"statusItems",
     [](const SceneNode& n, Scene::SceneApplication& a) { return assign(readSceneArray(n, readStatusItem), a.statusItems); }},
    {"playing", [](const SceneNode& n, Scene::SceneApplication& a) { return assign(n.boolean(), a.playing); }},
};

Result<Scene::SceneApplication> readApplication(const SceneNode& node) {
    Scene::SceneApplication app;
    if (auto read = readSceneObject<Scene::SceneApplication>(node, applicationMembers, app); !read) {
        return read.error();
    }
    if (app.spec.bundlePath.empty()) app.spec.bundlePath = "/Applications/" + app.spec.name + ".app";
    if (!app.spec.running && (app.frontmost || app.hidden)) {
        return node.member(app.frontmost ? "frontmost" : "hidden", node.value())
            .error("needs the application running");
    }
    if (app.playing && !app.spec.running) return node.member("playing", node.value()).error("needs the application running");
    if (app.frontmost && app.hidden) return node.member("hidden", node.value()).error("a frontmost application is not hidden");
    // The first window is the front one; the application opens them back to front.
    for (auto it = app.windows.rbegin(); it != app.windows.rend(); ++it) app.spec.launchWindows.push_back(it->spec);
    return app;
}

// Bundle identifiers and paths name one application each, and none may be
// the program's own; only one application is frontmost.
Result<void> checkApplications(const SceneNode& node, const std::vector<Scene::SceneApplication>& apps) {
    auto at = [&](std::size_t i, std::string_view member) {
        return node.element(i, node.value()[i]).member(member, node.value()[i]);
    };
    std::map<std::string, std::size_t> identifiers{{Desktop::currentBundleIdentifier, apps.size()}};
    std::map<std::string, std::size_t> paths;
    std::optional<std::size_t> frontmost;
    for (std::size_t i = 0; i < apps.size(); ++i) {
        const auto& app = apps[i];
        if (auto [it, added] = identifiers.emplace(app.spec.bundleIdentifier, i); !added) {
            return at(i, "bundleIdentifier")
                .error("\"" + app.spec.bundleIdentifier + "\" is " +
                       (it->second == apps.size() ? std::string("the program's own")
                                                  : "used by application " + std::to_string(it->second) + " too"));
        }
        std::string path = app.spec.bundlePath;
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        if (auto [it, added] = paths.emplace(path, i); !added) {
            return at(i, "bundlePath").error("is used by application " + std::to_string(it->second) + " too");
        }
        if (app.frontmost) {
            if (frontmost) return at(i, "frontmost").error("application " + std::to_string(*frontmost) + " is frontmost too");
            frontmost = i;
        }
    }
    return {};
}

// Finder

const SceneMember<Scene::SceneFinder> finderMembers[] = {
    {"selection",
     [](const SceneNode& n, Scene::SceneFinder& f) {
         return assign(readSceneArray<std::string>(n, [](const SceneNode& item) { return item.filePath(); }),
                       f.selection);
     }},
    {"desktopFolder", [](const SceneNode& n, Scene::SceneFinder& f) { return assign(n.filePath(), f.desktopFolder); }},
    {"automationAllowed", [](const SceneNode& n, Scene::SceneFinder& f) { return assign(n.boolean(), f.automationAllowed); }},
    {"responding", [](const SceneNode& n, Scene::SceneFinder& f) { return assign(n.boolean(), f.responding); }},
};

// Media and input sources

Result<OperatingSystemVersion> readSystemVersion(const SceneNode& node) {
    auto text = node.string();
    if (!text) return text.error();
    OperatingSystemVersion version{0, 0, 0};
    int* parts[] = {&version.major, &version.minor, &version.patch};
    std::size_t part = 0, start = 0;
    for (;;) {
        const auto dot = text->find('.', start);
        const std::string piece = text->substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        const bool digits = !piece.empty() && piece.size() <= 3 &&
                            std::all_of(piece.begin(), piece.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits || part == 3) return node.error("should be a version such as \"14.2\"");
        *parts[part++] = std::stoi(piece);
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return version;
}

const SceneMember<Scene::SceneMedia> mediaMembers[] = {
    {"frameworkInstalled", [](const SceneNode& n, Scene::SceneMedia& m) { return assign(n.boolean(), m.frameworkInstalled); }},
    {"missingFunctions",
     [](const SceneNode& n, Scene::SceneMedia& m) {
         if (auto read = assign(n.strings(), m.missingFunctions); !read) return read;
         for (std::size_t i = 0; i < m.missingFunctions.size(); ++i) {
             const auto& names = NowPlayingService::functionNames;
             if (std::find(names.begin(), names.end(), m.missingFunctions[i]) == names.end()) {
                 return Result<void>(n.element(i, n.value()[i]).error("is not a function of the now-playing framework"));
             }
         }
         return Result<void>();
     }},
    {"systemVersion", [](const SceneNode& n, Scene::SceneMedia& m) { return assign(readSystemVersion(n), m.systemVersion); }},
};

const SceneMember<KeyboardInputSource> inputSourceMembers[] = {
    {"id", [](const SceneNode& n, KeyboardInputSource& s) { return assign(n.nonEmptyString(), s.id); }, true},
    {"name", [](const SceneNode& n, KeyboardInputSource& s) { return assign(n.nonEmptyString(), s.localizedName); }, true},
    {"enabled", [](const SceneNode& n, KeyboardInputSource& s) { return assign(n.boolean(), s.enabled); }},
    {"selectCapable", [](const SceneNode& n, KeyboardInputSource& s) { return assign(n.boolean(), s.selectCapable); }},
};

Result<KeyboardInputSource> readInputSource(const SceneNode& node) {
    KeyboardInputSource source;
    if (auto read = readSceneObject<KeyboardInputSource>(node, inputSourceMembers, source); !read) return read.error();
    return source;
}

const SceneMember<Scene::SceneInputSources> inputSourcesMembers[] = {
    {"sources",
     [](const SceneNode& n, Scene::SceneInputSources& i) { return assign(readSceneArray(n, readInputSource), i.sources); },
     true},
    {"selected", [](const SceneNode& n, Scene::SceneInputSources& i) { return assign(n.nonEmptyString(), i.selected); }},
    {"selectionFails", [](const SceneNode& n, Scene::SceneInputSources& i) { return assign(n.boolean(), i.selectionFails); }},
};

// Calendars

Result<Date> readDate(const SceneNode& node) {
    auto text = node.string();
    if (!text) return text.error();
    auto date = Iso8601::parse(*text);
    if (!date) return node.error("should be a date and time such as \"2026-10-01T09:30:00+08:00\"");
    return *date;
}

// An event that does not say when it ends lasts an hour, or its day when
// it is all-day.
struct SceneEvent {
    CalendarEvent event{};
    std::optional<Date> end{};
};

const SceneMember<SceneEvent> eventMembers[] = {
    {"title", [](const SceneNode& n, SceneEvent& e) { return assign(n.string(), e.event.title); }},
    {"start", [](const SceneNode& n, SceneEvent& e) { return assign(readDate(n), e.event.startDate); }, true},
    {"end", [](const SceneNode& n, SceneEvent& e) { return assign(readDate(n), e.end); }},
    {"allDay", [](const SceneNode& n, SceneEvent& e) { return assign(n.boolean(), e.event.isAllDay); }},
};

Result<CalendarEvent> readEvent(const SceneNode& node) {
    SceneEvent read;
    if (auto done = readSceneObject<SceneEvent>(node, eventMembers, read); !done) return done.error();
    const Date start = read.event.startDate;
    read.event.endDate = read.end.value_or(start.addingTimeInterval(read.event.isAllDay ? 86400 : 3600));
    if (read.event.endDate < start) return node.member("end", node.value()).error("should not be before the start");
    return read.event;
}

const SceneMember<Scene::SceneCalendar> calendarMembers[] = {
    {"title", [](const SceneNode& n, Scene::SceneCalendar& c) { return assign(n.nonEmptyString(), c.title); }, true},
    {"events", [](const SceneNode& n, Scene::SceneCalendar& c) { return assign(readSceneArray(n, readEvent), c.events); }},
};

Result<Scene::SceneCalendar> readCalendar(const SceneNode& node) {
    Scene::SceneCalendar calendar;
    if (auto read = readSceneObject<Scene::SceneCalendar>(node, calendarMembers, calendar); !read) return read.error();
    return calendar;
}

const SceneMember<Scene::SceneCalendars> calendarsMembers[] = {
    {"access",
     [](const SceneNode& n, Scene::SceneCalendars& c) {
         auto text = n.string();
         if (!text) return Result<void>(text.error());
         auto status = calendarAuthorizationStatusFromRawValue(*text);
         if (!status) {
             return Result<void>(n.error(
                 "should be \"notDetermined\", \"restricted\", \"denied\", \"fullAccess\" or \"writeOnly\""));
         }
         c.access = *status;
         return Result<void>();
     }},
    {"calendars",
     [](const SceneNode& n, Scene::SceneCalendars& c) {
         if (auto read = assign(readSceneArray(n, readCalendar), c.calendars); !read) return read;
         for (std::size_t i = 0; i < c.calendars.size(); ++i) {
             for (std::size_t j = 0; j < i; ++j) {
                 if (c.calendars[j].title == c.calendars[i].title) {
                     return Result<void>(n.element(i, n.value()[i]).member("title", n.value()[i]).error(
                         "is used by calendar " + std::to_string(j) + " too"));
                 }
             }
         }
         return Result<void>();
     }},
};

// The scene itself

const SceneMember<Scene> sceneMembers[] = {
    {"screens",
     [](const SceneNode& n, Scene& s) {
         if (auto read = assign(readSceneArray(n, readScreen), s.screens); !read) return read;
         return checkScreens(n, s.screens);
     },
     true},
    {"dock",
     [](const SceneNode& n, Scene& s) {
         static const SceneMember<DockPlacement> dockMembers[] = {
             {"edge",
              [](const SceneNode& m, DockPlacement& d) {
                  auto edge = m.string();
                  if (!edge) return Result<void>(edge.error());
                  if (*edge == "bottom") d.edge = DockEdge::bottom;
                  else if (*edge == "left") d.edge = DockEdge::left;
                  else if (*edge == "right") d.edge = DockEdge::right;
                  else return Result<void>(m.error("should be \"bottom\", \"left\" or \"right\""));
                  return Result<void>();
              }},
             {"size", [](const SceneNode& m, DockPlacement& d) { return assign(m.nonNegativeNumber(), d.size); }, true},
         };
         return readSceneObject<DockPlacement>(n, dockMembers, s.dock);
     }},
    {"accessibilityTrusted", [](const SceneNode& n, Scene& s) { return assign(n.boolean(), s.accessibilityTrusted); }},
    {"pointer", [](const SceneNode& n, Scene& s) { return assign(n.point<ScreenSpace>(), s.pointer); }},
    {"calendar",
     [](const SceneNode& n, Scene& s) { return readSceneObject<Scene::SceneCalendars>(n, calendarsMembers, s.calendar); }},
    {"applications",
     [](const SceneNode& n, Scene& s) {
         if (auto read = assign(readSceneArray(n, readApplication), s.applications); !read) return read;
         return checkApplications(n, s.applications);
     }},
    {"finder", [](const SceneNode& n, Scene& s) { return readSceneObject<Scene::SceneFinder>(n, finderMembers, s.finder); }},
    {"airDropAvailable", [](const SceneNode& n, Scene& s) { return assign(n.boolean(), s.airDropAvailable); }},
    {"proxies",
     [](const SceneNode& n, Scene& s) {
         if (!n.value().is_object()) return Result<void>(n.error("should be an object"));
         auto proxies = Json::toPropertyValue(n.value());
         if (!proxies) return Result<void>(n.error(proxies.error().message));
         s.proxies = std::move(*proxies);
         return Result<void>();
     }},
    {"media", [](const SceneNode& n, Scene& s) { return readSceneObject<Scene::SceneMedia>(n, mediaMembers, s.media); }},
    {"inputSources",
     [](const SceneNode& n, Scene& s) {
         Scene::SceneInputSources sources;
         if (auto read = readSceneObject<Scene::SceneInputSources>(n, inputSourcesMembers, sources); !read) return read;
         if (sources.selected &&
             std::none_of(sources.sources.begin(), sources.sources.end(),
                          [&](const KeyboardInputSource& source) { return source.id == *sources.selected; })) {
             return Result<void>(n.member("selected", n.value()).error("should be the id of one of the sources"));
         }
         s.inputSources = std::move(sources);
         return Result<void>();
     }},
};

}  // namespace

Result<DesktopScene> DesktopScene::parse(std::string_view json, const std::filesystem::path& home) {
    auto document = Json::parse(json);
    if (!document) return Error{ErrorCode::parseFailed, "$: not JSON (" + document.error().message + ")"};
    const SceneNode root(*document, "$", home);
    DesktopScene scene;
    if (auto read = readSceneObject<DesktopScene>(root, sceneMembers, scene); !read) return read.error();
    if (scene.pointer) {
        bool onAScreen = false;
        for (const auto& screen : scene.screens) onAScreen = onAScreen || screen.spec.frame.contains(*scene.pointer);
        if (!onAScreen) return root.member("pointer", *document).error("should lie on a screen");
    }
    return scene;
}

}  // namespace tallowmere::platform
