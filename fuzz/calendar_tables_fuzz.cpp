// The calendar's data files: the day tables (JSON) and the lunar month table
// (text). Both parsers must refuse bad input with an error, never crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "time/calendar_day_tables.h"
#include "time/lunar_month_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)tallowmere::CalendarDayTables::parse(text);
    if (const auto table = tallowmere::LunarMonthTable::parse(text)) {
        (void)table->lunarDate(table->firstDay());
        (void)table->lunarDate(table->endDay());
    }
    return 0;
}
