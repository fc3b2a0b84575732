#include "platform/base/date_formatter.h"

#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace tallowmere::platform {

namespace {

icu::UnicodeString unicode(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

}  // namespace

struct DateFormatter::Engine {
    std::unique_ptr<icu::SimpleDateFormat> format;
};

Result<DateFormatter> DateFormatter::make(std::string_view pattern, std::string_view timeZoneIdentifier,
                                          std::string_view localeIdentifier) {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(unicode(timeZoneIdentifier)));
    icu::UnicodeString zoneName;
    if (zone) zone->getID(zoneName);
    if (!zone || zoneName == icu::UnicodeString(u"Etc/Unknown")) {
        return Error{ErrorCode::notFound, "Unknown time zone: " + std::string(timeZoneIdentifier)};
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale(std::string(localeIdentifier).c_str());
    auto format = std::make_unique<icu::SimpleDateFormat>(unicode(pattern), locale, status);
    if (U_FAILURE(status)) {
        return Error{ErrorCode::invalidArgument, "Unusable date pattern: " + std::string(pattern),
                     static_cast<int>(status)};
    }
    format->adoptTimeZone(zone.release());
    return DateFormatter(std::make_unique<Engine>(Engine{std::move(format)}));
}

DateFormatter::DateFormatter(std::unique_ptr<Engine> engine) : engine_(std::move(engine)) {}
DateFormatter::DateFormatter(DateFormatter&&) noexcept = default;
DateFormatter& DateFormatter::operator=(DateFormatter&&) noexcept = default;
DateFormatter::~DateFormatter() = default;

std::string DateFormatter::string(Date date) const {
    icu::UnicodeString text;
    engine_->format->format(date.timeIntervalSince1970() * 1000.0, text);
    std::string result;
    text.toUTF8String(result);
    return result;
}

}  // namespace tallowmere::platform
