#include "platform/runtime/app_context.h"

int main() {
    tallowmere::platform::AppContext context;
    context.mainQueue().runUntilIdle();
    return 0;
}
