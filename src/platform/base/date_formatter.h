#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/base/date.h"
#include "platform/base/result.h"

namespace tallowmere::platform {

// Formats instants with an ICU date pattern ("M月d日 EEEE", "yyyy-MM-dd") in a
// locale and a time zone. Without a locale it uses the POSIX one, so digits
// and names never depend on the machine. Keeps ICU state: one thread at a
// time.
class DateFormatter {
public:
    // invalidArgument for a pattern ICU rejects, notFound for an unknown zone.
    static Result<DateFormatter> make(std::string_view pattern, std::string_view timeZoneIdentifier,
                                      std::string_view localeIdentifier = "en_US_POSIX");

    DateFormatter(DateFormatter&&) noexcept;
    DateFormatter& operator=(DateFormatter&&) noexcept;
    ~DateFormatter();

    std::string string(Date date) const;

private:
    struct Engine;
    explicit DateFormatter(std::unique_ptr<Engine> engine);
    std::unique_ptr<Engine> engine_;
};

}  // namespace tallowmere::platform
