#include "platform/desktop/pasteboard.h"

#include <algorithm>

#include "platform/desktop/desktop.h"

namespace tallowmere::platform {

Pasteboard& Pasteboard::general() {
    return Desktop::shared().pasteboard();
}

int Pasteboard::clearContents() {
    declared_.reset();
    items_.clear();
    order_.clear();
    image_.reset();
    fileURLs_.clear();
    ++changeCount_;
    if (notifications_) notifications_->post(didChangeNotification, this);
    return changeCount_;
}

int Pasteboard::declareTypes(std::vector<std::string> types) {
    clearContents();
    declared_ = std::move(types);
    return changeCount_;
}

std::vector<std::string> Pasteboard::types() const {
    std::vector<std::string> result = order_;
    if (declared_) {
        for (const auto& type : *declared_) {
            if (std::find(result.begin(), result.end(), type) == result.end())
                result.push_back(type);
        }
    }
    return result;
}

bool Pasteboard::mayWrite(const std::string& type) const {
    if (type.empty() || refusesWrites_) return false;
    return !declared_ || std::find(declared_->begin(), declared_->end(), type) != declared_->end();
}

bool Pasteboard::setString(std::string text, const std::string& type) {
    return setData(Data(text.begin(), text.end()), type);
}

std::optional<std::string> Pasteboard::string(const std::string& type) const {
    auto bytes = data(type);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

bool Pasteboard::setData(Data data, const std::string& type) {
    if (!mayWrite(type)) return false;
    if (!items_.contains(type)) order_.push_back(type);
    items_[type] = std::move(data);
    return true;
}

std::optional<Data> Pasteboard::data(const std::string& type) const {
    auto it = items_.find(type);
    if (it == items_.end()) return std::nullopt;
    return it->second;
}

bool Pasteboard::writeImage(Image image) {
    if (!mayWrite(PasteboardType::png) && !mayWrite(PasteboardType::tiff)) return false;
    image_ = std::move(image);
    for (const char* type : {PasteboardType::png, PasteboardType::tiff}) {
        if (std::find(order_.begin(), order_.end(), type) == order_.end()) order_.push_back(type);
    }
    return true;
}

bool Pasteboard::writeFileURLs(std::vector<std::string> urls) {
    if (urls.empty() || !mayWrite(PasteboardType::fileURL)) return false;
    for (const auto& url : urls) {
        if (url.rfind("file://", 0) != 0) return false;
    }
    fileURLs_ = std::move(urls);
    if (std::find(order_.begin(), order_.end(), PasteboardType::fileURL) == order_.end()) {
        order_.push_back(PasteboardType::fileURL);
    }
    // Readers that only take text get the first URL.
    items_[PasteboardType::fileURL] = Data(fileURLs_.front().begin(), fileURLs_.front().end());
    return true;
}

}  // namespace tallowmere::platform
