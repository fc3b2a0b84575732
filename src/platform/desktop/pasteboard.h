#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/data.h"
#include "platform/gfx/image.h"
#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

namespace PasteboardType {
constexpr const char* string = "public.utf8-plain-text";
constexpr const char* fileURL = "public.file-url";
constexpr const char* url = "public.url";
constexpr const char* png = "public.png";
constexpr const char* tiff = "public.tiff";
constexpr const char* rtf = "public.rtf";
constexpr const char* html = "public.html";
}  // namespace PasteboardType

// The general pasteboard. Its change count goes up by one each time its
// contents are replaced (`clearContents`, `declareTypes`), which is how the
// program tells that someone else copied. Writes after `declareTypes` are
// limited to the declared types; after `clearContents` any type goes.
class Pasteboard {
  public:
    // Posted on the notification centre it was made with when its contents
    // are replaced; the new contents are written right after.
    static constexpr const char* didChangeNotification = "PasteboardDidChange";

    explicit Pasteboard(NotificationCenter* notifications = nullptr) : notifications_(notifications) {}
    Pasteboard(const Pasteboard&) = delete;
    Pasteboard& operator=(const Pasteboard&) = delete;

    static Pasteboard& general();

    int changeCount() const { return changeCount_; }
    // Empties it and returns the new change count.
    int clearContents();
    int declareTypes(std::vector<std::string> types);
    std::vector<std::string> types() const;

    bool setString(std::string text, const std::string& type = PasteboardType::string);
    std::optional<std::string> string(const std::string& type = PasteboardType::string) const;
    bool setData(Data data, const std::string& type);
    std::optional<Data> data(const std::string& type) const;

    bool writeImage(Image image);
    std::optional<Image> image() const { return image_; }
    // File URLs ("file:///Users/me/a.txt"), one item each.
    bool writeFileURLs(std::vector<std::string> urls);
    std::vector<std::string> fileURLs() const { return fileURLs_; }

    // While set every write fails, as when the pasteboard server is busy
    // or gone; clearing still works.
    void setRefusesWrites(bool refuses) { refusesWrites_ = refuses; }

  private:
    bool mayWrite(const std::string& type) const;

    NotificationCenter* notifications_;
    int changeCount_ = 0;
    std::optional<std::vector<std::string>> declared_;
    std::map<std::string, Data> items_;
    std::vector<std::string> order_;
    std::optional<Image> image_;
    std::vector<std::string> fileURLs_;
    bool refusesWrites_ = false;
};

}  // namespace tallowmere::platform
